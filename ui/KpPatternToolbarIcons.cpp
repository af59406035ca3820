#include "ui/KpPatternToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/KpUiResources.h"

namespace kp::ui {
namespace {


// A dash, a gap and a dash along the foot of the picture: one pair of
// pattern entries and the start of the next.
void DrawDashPair(QPainter& p) {
  p.setPen(QPen(QColor(0, 0, 0), 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(0.5, 13.5), QPointF(6.5, 13.5));
  p.drawLine(QPointF(10, 13.5), QPointF(15.5, 13.5));
}

void DrawNew(QPainter& p) {
  DrawDashPair(p);
  p.setPen(QPen(QColor(0, 140, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 1.5), QPointF(8, 9.5));
  p.drawLine(QPointF(4, 5.5), QPointF(12, 5.5));
}

void DrawDelete(QPainter& p) {
  DrawDashPair(p);
  p.setPen(QPen(QColor(200, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5, 2.5), QPointF(11, 8.5));
  p.drawLine(QPointF(11, 2.5), QPointF(5, 8.5));
}

void DrawLockColor(QPainter& p) {
  // The swatch: the sub-line's colour the lock keeps.
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(220, 0, 0));
  p.drawRect(QRectF(0.5, 8.5, 5, 6));
  // The padlock: shackle and body.
  QPainterPath shackle;
  shackle.moveTo(8.5, 8);
  shackle.lineTo(8.5, 4.5);
  shackle.arcTo(QRectF(8.5, 1.5, 5, 6), 180, -180);
  shackle.lineTo(13.5, 8);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(90, 90, 90), 1.4));
  p.drawPath(shackle);
  p.setPen(QPen(QColor(120, 80, 0), 1));
  p.setBrush(QColor(235, 185, 40));
  p.drawRoundedRect(QRectF(6.5, 7.5, 9, 7), 1, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(90, 60, 0));
  p.drawEllipse(QPointF(11, 10.5), 1.1, 1.1);
  p.drawRect(QRectF(10.5, 10.5, 1, 2.5));
}

}  // namespace

QIcon PatternNewIcon() { return ToolbarIcon16(DrawNew); }
QIcon PatternDeleteIcon() { return ToolbarIcon16(DrawDelete); }
QIcon PatternLockColorIcon() { return ToolbarIcon16(DrawLockColor); }

}  // namespace kp::ui
