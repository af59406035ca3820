#include "ui/KpDemoFrame.h"

#include <QPainter>
#include <QWidget>

#include "engine/KpGlyphText.h"
#include "model/CKpLineStyleBase.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/qt/CQtDC.h"

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

void PaintFramedArea(QWidget& area, const QPalette& colours, const std::function<void(CDC*, const CRect&)>& draw) {
  QPainter painter(&area);
  {
    CQtDC dc(&painter, SIZE{area.width(), area.height()});
    draw(&dc, CRect(0, 0, area.width(), area.height()));
  }
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawRect(area.rect().adjusted(0, 0, -1, -1));
  if (area.hasFocus()) {
    painter.setPen(QPen(colours.color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(area.rect().adjusted(3, 3, -4, -4));
  }
}

void DrawGlyph(CDC& dc, const CKpLineStyleBase& sub, COLORREF colour, LONG x, LONG y) {
  CFont font;
  if (!font.CreatePointFont(160, sub.GetFont().c_str())) return;
  CFont* previous = dc.SelectObject(&font);
  dc.SetTextColor(colour);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.TextOut(x, y, kp::GlyphText(sub.m_nSymbol));
  if (previous) dc.SelectObject(previous);
}

}  // namespace kp::ui
