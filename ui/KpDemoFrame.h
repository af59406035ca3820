#pragma once
// The frame every demo area of the dialogs draws in, and what the areas
// share in drawing.
#include <QColor>
#include <QPalette>
#include <functional>

#include "platform/CDC.h"
#include "platform/CRect.h"

class CKpLineStyleBase;
class QWidget;

namespace kp::ui {

// A Qt colour as a COLORREF (alpha dropped).
COLORREF ToColorRef(const QColor& c);

// Prepares a demo area on `dc`: clips to `client` shrunk by 2 pixels,
// switches to the isotropic mapping mode and fills the area with `face`.
// `area` receives the area in logical units; returns the previous mapping
// mode, which the caller restores when done.
int BeginDemoFrame(CDC& dc, const CRect& client, COLORREF face, CRect& area);

// For a paint event of a dialog's drawing area: `draw` paints the content
// through a CDC over the whole area; then come a sunken one-pixel frame, as
// a button face shows, and a dotted focus rectangle while the area has the
// focus, which Qt draws for no plain widget. The colours are the dialog's:
// a button's own palette may differ.
void PaintFramedArea(QWidget& area, const QPalette& colours, const std::function<void(CDC*, const CRect&)>& draw);

// Draws the character of a glyph decoration in the sub-line's own font at
// 16 points, top-left at (x, y), as the dialogs' symbol buttons show it;
// nothing when the font cannot be made.
void DrawGlyph(CDC& dc, const CKpLineStyleBase& sub, COLORREF colour, LONG x, LONG y);

}  // namespace kp::ui
