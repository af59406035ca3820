#include "ui/KpLibToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include "ui/KpEditorToolbarIcons.h"
#include "ui/KpUiResources.h"

namespace kp::ui {
namespace {


const QColor kInk(40, 40, 40);
const QColor kGreen(0, 140, 0);
const QColor kRed(200, 0, 0);
const QColor kBlue(30, 80, 170);

// A sheet with a turned-down corner, the library file.
void DrawSheet(QPainter& p, const QRectF& r) {
  QPainterPath sheet;
  sheet.moveTo(r.left(), r.top());
  sheet.lineTo(r.right() - 4, r.top());
  sheet.lineTo(r.right(), r.top() + 4);
  sheet.lineTo(r.right(), r.bottom());
  sheet.lineTo(r.left(), r.bottom());
  sheet.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.setBrush(QColor(215, 215, 215));
  p.drawPolygon(QPolygonF{QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4),
                          QPointF(r.right(), r.top() + 4)});
}

void DrawPlus(QPainter& p, QPointF c) {
  p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
  p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
}

void DrawFloppy(QPainter& p) {
  p.setPen(QPen(QColor(20, 40, 100), 1));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 2, 8, 5));  // label
  p.setBrush(QColor(190, 190, 200));
  p.drawRect(QRectF(4.5, 10, 7, 4.5));  // shutter
  p.setBrush(kBlue);
  p.drawRect(QRectF(9, 10.8, 1.6, 3));
}

void DrawNewLibrary(QPainter& p) {
  DrawSheet(p, QRectF(2.5, 1.5, 10, 13));
  p.setPen(QPen(kInk, 1.2, Qt::DashLine, Qt::FlatCap));
  p.drawLine(QPointF(4, 9.5), QPointF(11, 9.5));
  // A spark for "new".
  p.setPen(QPen(QColor(230, 170, 0), 1.4, Qt::SolidLine, Qt::RoundCap));
  const QPointF c(12.5, 3.5);
  for (int i = 0; i < 4; ++i) {
    const qreal a = i * M_PI / 4;
    const QPointF d(3 * qCos(a), 3 * qSin(a));
    p.drawLine(c - d, c + d);
  }
}

void DrawOpen(QPainter& p) {
  p.drawPixmap(QRectF(0, 0, 16, 16), FolderIcon(true).pixmap(QSize(16, 16), p.device()->devicePixelRatioF()),
               QRectF());
}

void DrawSave(QPainter& p) { DrawFloppy(p); }

void DrawSaveAs(QPainter& p) {
  p.save();
  p.scale(0.8, 0.8);
  DrawFloppy(p);
  p.restore();
  // A pencil across the corner: the file gets another name.
  p.setPen(QPen(QColor(120, 70, 0), 1));
  p.setBrush(QColor(240, 190, 60));
  p.drawPolygon(QPolygonF{QPointF(15, 8), QPointF(16, 9), QPointF(10, 15), QPointF(8.5, 15.5), QPointF(9, 14)});
}

void DrawDefaultLibrary(QPainter& p) {
  DrawSheet(p, QRectF(1.5, 1.5, 13, 13));
  p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(3.5, 5.5), QPointF(10.5, 5.5));
  p.setPen(QPen(kInk, 1.2, Qt::DashLine, Qt::FlatCap));
  p.drawLine(QPointF(3.5, 8.5), QPointF(12.5, 8.5));
  p.setPen(QPen(kRed, 1.2, Qt::DotLine, Qt::FlatCap));
  p.drawLine(QPointF(3.5, 11.5), QPointF(12.5, 11.5));
}

void DrawNewGroup(QPainter& p) {
  p.drawPixmap(QRectF(0, 2, 13, 13), FolderIcon(false).pixmap(QSize(16, 16), p.device()->devicePixelRatioF()),
               QRectF());
  DrawPlus(p, QPointF(12, 4));
}

void DrawNewStyle(QPainter& p) {
  p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF{QPointF(1, 14), QPointF(4, 9), QPointF(7, 13), QPointF(10, 8), QPointF(13, 12)});
  DrawPlus(p, QPointF(11, 4));
}

void DrawDelete(QPainter& p) {
  p.setPen(QPen(kRed, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawOptions(QPainter& p) {
  // A gear: eight teeth around a ring.
  QPainterPath gear;
  const QPointF c(8, 8);
  for (int i = 0; i < 16; ++i) {
    const qreal a = i * M_PI / 8;
    const qreal r = (i % 2 == 0) ? 7.2 : 5.4;
    const QPointF pt = c + QPointF(r * qCos(a - M_PI / 16), r * qSin(a - M_PI / 16));
    const QPointF pt2 = c + QPointF(r * qCos(a + M_PI / 16), r * qSin(a + M_PI / 16));
    if (i == 0)
      gear.moveTo(pt);
    else
      gear.lineTo(pt);
    gear.lineTo(pt2);
  }
  gear.closeSubpath();
  gear.addEllipse(c, 2.2, 2.2);
  gear.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(QColor(60, 60, 60), 0.8));
  p.setBrush(QColor(150, 150, 160));
  p.drawPath(gear);
}

}  // namespace

QIcon LibToolbarIcon(int commandId) {
  switch (commandId) {
    case 24501:
      return ToolbarIcon16(DrawNewLibrary);
    case 24505:
      return ToolbarIcon16(DrawOpen);
    case 24506:
      return ToolbarIcon16(DrawSave);
    case 24511:
      return ToolbarIcon16(DrawSaveAs);
    case 24512:
      return ToolbarIcon16(DrawDefaultLibrary);
    case 24509:
      return ToolbarIcon16(DrawNewGroup);
    case 24524:
      return ToolbarIcon16(DrawNewStyle);
    case 24508:
      return ToolbarIcon16(DrawDelete);
    case 24515:
    case 24517:
    case 24516:
    case 24518:
      // The moves look as they do in the style editor.
      return EditorToolbarIcon(commandId);
    case 24525:
      return ToolbarIcon16(DrawOptions);
    default:
      return QIcon();
  }
}

}  // namespace kp::ui
