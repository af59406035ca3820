#include "ui/KpUiResources.h"

#include <QPainter>
#include <QWidget>
#include <QPainterPath>
#include <QPixmapCache>

namespace kp::ui {
namespace {

// Draws a folder into a square of `size` logical pixels.
void DrawFolder(QPainter& p, qreal size, bool open) {
  const qreal u = size / 16.0;
  const QColor edge(128, 96, 0);
  const QColor back(230, 180, 40);
  const QColor front(255, 214, 90);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(edge, std::max<qreal>(1.0, u * 0.8)));
  // Back with its tab.
  QPainterPath backPath;
  backPath.moveTo(1 * u, 3 * u);
  backPath.lineTo(6 * u, 3 * u);
  backPath.lineTo(7.5 * u, 4.5 * u);
  backPath.lineTo(14 * u, 4.5 * u);
  backPath.lineTo(14 * u, 13 * u);
  backPath.lineTo(1 * u, 13 * u);
  backPath.closeSubpath();
  p.setBrush(back);
  p.drawPath(backPath);
  QPainterPath frontPath;
  if (open) {
    // The front leans forward.
    frontPath.moveTo(3.5 * u, 7 * u);
    frontPath.lineTo(15.5 * u, 7 * u);
    frontPath.lineTo(13.5 * u, 13 * u);
    frontPath.lineTo(1 * u, 13 * u);
  } else {
    frontPath.moveTo(1 * u, 6 * u);
    frontPath.lineTo(14 * u, 6 * u);
    frontPath.lineTo(14 * u, 13 * u);
    frontPath.lineTo(1 * u, 13 * u);
  }
  frontPath.closeSubpath();
  p.setBrush(front);
  p.drawPath(frontPath);
}

QPixmap NewPixmap(int w, int h, qreal dpr) {
  QPixmap pm(qRound(w * dpr), qRound(h * dpr));
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  return pm;
}

// Pictures are drawn once per device pixel ratio and kept in Qt's pixmap cache.
template <class Draw>
QPixmap Cached(const QString& name, qreal dpr, Draw draw) {
  const QString key = QStringLiteral("kp-ui-%1@%2").arg(name).arg(dpr);
  QPixmap pm;
  if (QPixmapCache::find(key, &pm)) return pm;
  pm = draw();
  QPixmapCache::insert(key, pm);
  return pm;
}

QPixmap FolderPixmap(bool open, qreal dpr) {
  QPixmap pm = NewPixmap(16, 16, dpr);
  QPainter p(&pm);
  DrawFolder(p, 16, open);
  return pm;
}

QPixmap UpLevelPixmap(qreal dpr) {
  QPixmap pm = NewPixmap(32, 32, dpr);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.save();
  p.translate(2, 8);
  DrawFolder(p, 22, false);
  p.restore();
  // An arrow rising and bending back to the left: up one level.
  QPainterPath arrow;
  arrow.moveTo(26, 30);
  arrow.lineTo(26, 10);
  arrow.lineTo(17, 10);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 100, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(arrow);
  QPainterPath head;
  head.moveTo(12, 10);
  head.lineTo(18, 4);
  head.lineTo(18, 16);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 100, 0));
  p.drawPath(head);
  return pm;
}

}  // namespace

QPixmap FolderStrip16(qreal devicePixelRatio) {
  QPixmap pm = NewPixmap(16 * kFolderStripCount, 16, devicePixelRatio);
  QPainter p(&pm);
  DrawFolder(p, 16, false);
  p.translate(16, 0);
  DrawFolder(p, 16, true);
  return pm;
}

QIcon FolderIcon(bool open) {
  QIcon icon;
  for (qreal dpr : {1.0, 2.0}) {
    icon.addPixmap(Cached(open ? QStringLiteral("folder16-open") : QStringLiteral("folder16"), dpr,
                          [open, dpr] { return FolderPixmap(open, dpr); }));
  }
  return icon;
}

QPixmap Folder48(qreal devicePixelRatio) {
  return Cached(QStringLiteral("folder48"), devicePixelRatio, [devicePixelRatio] {
    QPixmap pm = NewPixmap(48, 48, devicePixelRatio);
    QPainter p(&pm);
    DrawFolder(p, 48, false);
    p.end();
    return pm;
  });
}

QIcon UpLevelIcon() {
  QIcon icon;
  icon.addPixmap(UpLevelPixmap(1.0));
  icon.addPixmap(UpLevelPixmap(2.0));
  return icon;
}

QIcon ToolbarIcon16(void (*draw)(QPainter&)) {
  QIcon icon;
  for (const qreal dpr : {1.0, 2.0}) {
    QPixmap pm = NewPixmap(16, 16, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

void PaintToolBarGripper(QWidget& dialog, const QRect& bar) {
  QPainter p(&dialog);
  const QColor dark = dialog.palette().color(QPalette::Mid);
  const QColor light = dialog.palette().color(QPalette::Light);
  for (int x : {3, 6}) {
    p.setPen(light);
    p.drawLine(x, bar.top() + 3, x, bar.bottom() - 3);
    p.setPen(dark);
    p.drawLine(x + 1, bar.top() + 3, x + 1, bar.bottom() - 3);
  }
  const int y = bar.bottom() + 3;
  p.setPen(dark);
  p.drawLine(0, y, dialog.width(), y);
  p.setPen(light);
  p.drawLine(0, y + 1, dialog.width(), y + 1);
}

}  // namespace kp::ui
