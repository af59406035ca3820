#pragma once
// The row of a sub-line list (the classic and the new style editor's).
class CKpLineStyleObj;
class CKpSymLib;
class QPainter;
class QRect;

namespace kp::ui {

// Paints sub-line `index` of `style` into the row `rect` of a list whose
// viewport is `view`, then a one-pixel frame, black when selected and white
// otherwise. The sample is drawn from a copy: it puts the sub-lines' own
// widths and colours into force, which must not reach the edited style.
// `symbols` serve custom-symbol sub-lines; null keeps the engine's.
void PaintSubLineRow(QPainter& painter, const QRect& view, const CKpLineStyleObj& style, CKpSymLib* symbols,
                     int index, const QRect& rect, bool selected);

}  // namespace kp::ui
