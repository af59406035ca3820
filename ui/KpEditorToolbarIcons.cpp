#include "ui/KpEditorToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/KpUiResources.h"

namespace kp::ui {
namespace {


// Three stacked lines of different weight and colour: a style's sub-lines.
void DrawSubLines(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(0.5, 4.5), QPointF(9.5, 4.5));
  p.setPen(QPen(QColor(0, 90, 200), 1.4, Qt::DashLine, Qt::FlatCap));
  p.drawLine(QPointF(0.5, 9), QPointF(9.5, 9));
  p.setPen(QPen(QColor(200, 60, 0), 1.4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(0.5, 13.5), QPointF(9.5, 13.5));
}

void DrawNew(QPainter& p) {
  DrawSubLines(p);
  p.setPen(QPen(QColor(0, 140, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12.5, 6), QPointF(12.5, 14));
  p.drawLine(QPointF(8.5, 10), QPointF(15.5, 10));
}

void DrawDelete(QPainter& p) {
  DrawSubLines(p);
  p.setPen(QPen(QColor(200, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 7), QPointF(14.5, 12));
  p.drawLine(QPointF(14.5, 7), QPointF(9.5, 12));
}

// A filled arrow along the vertical middle, its tip at `tipY`, its tail at `tailY`.
void DrawArrow(QPainter& p, qreal tipY, qreal tailY) {
  const qreal dir = tailY > tipY ? 1.0 : -1.0;
  const qreal headEnd = tipY + dir * 5.5;
  QPainterPath arrow;
  arrow.moveTo(8, tipY);
  arrow.lineTo(13, headEnd);
  arrow.lineTo(10, headEnd);
  arrow.lineTo(10, tailY);
  arrow.lineTo(6, tailY);
  arrow.lineTo(6, headEnd);
  arrow.lineTo(3, headEnd);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(20, 70, 140), 1));
  p.setBrush(QColor(60, 130, 220));
  p.drawPath(arrow);
}

// The end of the list the first and last moves go to.
void DrawEndBar(QPainter& p, qreal y) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 40));
  p.drawRect(QRectF(2, y, 12, 2));
}

void DrawTop(QPainter& p) {
  DrawEndBar(p, 1);
  DrawArrow(p, 4, 15);
}

void DrawUp(QPainter& p) { DrawArrow(p, 1.5, 14.5); }

void DrawDown(QPainter& p) { DrawArrow(p, 14.5, 1.5); }

void DrawBottom(QPainter& p) {
  DrawEndBar(p, 13);
  DrawArrow(p, 12, 1);
}

}  // namespace

QIcon EditorToolbarIcon(int commandId) {
  switch (commandId) {
    case 24513: return ToolbarIcon16(DrawNew);
    case 24514: return ToolbarIcon16(DrawDelete);
    case 24515: return ToolbarIcon16(DrawTop);
    case 24517: return ToolbarIcon16(DrawUp);
    case 24516: return ToolbarIcon16(DrawDown);
    case 24518: return ToolbarIcon16(DrawBottom);
    default: return QIcon();
  }
}

}  // namespace kp::ui
