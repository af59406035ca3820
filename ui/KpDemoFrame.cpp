#include "ui/KpDemoFrame.h"

#include "platform/CBrush.h"

namespace kp::ui {

COLORREF ToColorRef(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

int BeginDemoFrame(CDC& dc, const CRect& client, COLORREF face, CRect& area) {
  area = client;
  area.DeflateRect(2, 2);
  dc.IntersectClipRect(area.left, area.top, area.right, area.bottom);
  const int oldMode = dc.SetMapMode(MM_ISOTROPIC);
  dc.DPtoLP(&area);
  CBrush brush(face);
  dc.FillRect(&area, &brush);
  return oldMode;
}

}  // namespace kp::ui
