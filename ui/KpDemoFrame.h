#pragma once
// The frame every demo area of the dialogs draws in.
#include <QColor>

#include "platform/CDC.h"
#include "platform/CRect.h"

namespace kp::ui {

// A Qt colour as a COLORREF (alpha dropped).
COLORREF ToColorRef(const QColor& c);

// Prepares a demo area on `dc`: clips to `client` shrunk by 2 pixels,
// switches to the isotropic mapping mode and fills the area with `face`.
// `area` receives the area in logical units; returns the previous mapping
// mode, which the caller restores when done.
int BeginDemoFrame(CDC& dc, const CRect& client, COLORREF face, CRect& area);

}  // namespace kp::ui
