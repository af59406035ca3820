#pragma once
// The module's own pictures, drawn with QPainter at 1x and 2x device pixel ratio.
#include <QIcon>
#include <QPixmap>

class QPainter;
class QRect;
class QWidget;

namespace kp::ui {

// Images of the folder strip: 16x16 each.
constexpr int kFolderClosedImage = 0;
constexpr int kFolderOpenImage = 1;
constexpr int kFolderStripCount = 10;

// The 16x16 folder strip (10 images, 160x16 logical pixels): image 0 a
// closed folder, image 1 an open folder, the rest empty.
QPixmap FolderStrip16(qreal devicePixelRatio = 1.0);
// One 16x16 folder of the strip, closed or open, with 1x and 2x pixmaps.
QIcon FolderIcon(bool open);
// The 48x48 folder of group cells.
QPixmap Folder48(qreal devicePixelRatio = 1.0);
// The 32x32 up-one-level arrow, with 1x and 2x pixmaps.
QIcon UpLevelIcon();

// A 16x16 toolbar icon (1x and 2x pixmaps) painted by `draw` on a transparent,
// anti-aliased 16x16 canvas.
QIcon ToolbarIcon16(void (*draw)(QPainter&));

// Paints, on `dialog`, the gripper (two etched bars) left of a toolbar at
// `bar` and the etched line under it: the dialogs' toolbars live outside a
// main window, where Qt draws no handle.
void PaintToolBarGripper(QWidget& dialog, const QRect& bar);

}  // namespace kp::ui
