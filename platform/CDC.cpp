#include "platform/CDC.h"

#include "platform/KpSaturate.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdarg>
#include <cstdlib>
#include <limits>

namespace {


std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...) {
  char buf[256];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

const char* kBrushStyleNames[] = {"SOLID", "NULL", "HATCHED", "PATTERN"};

LONG FloorToLong(double v) { return kp::SaturateToLong(kp::TruncWide(std::floor(v))); }
LONG CeilToLong(double v) { return kp::SaturateToLong(kp::TruncWide(std::ceil(v))); }

std::string QuoteText(const CString& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

// The font a fresh context holds, so that the first font selection hands back
// an object as it does for pens and brushes. Shared and, like the stock
// objects, never deleted.
CFont* DefaultFont() {
  struct Default : CFont {
    Default() {
      CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
      MarkStock();
    }
  };
  static Default* font = new Default();
  return font;
}

}  // namespace

std::string KpDescribeColor(COLORREF c) { return Format("0x%06X", static_cast<unsigned>(c)); }

std::string KpDescribePen(const CPen::State& pen) {
  std::string s = Format("style=0x%05X width=%d color=%s", static_cast<unsigned>(pen.style),
                         pen.width, KpDescribeColor(pen.color).c_str());
  if (pen.extended) {
    s += Format(" brush=%s", pen.brushStyle < 4 ? kBrushStyleNames[pen.brushStyle] : "?");
    if (pen.brushStyle == BS_HATCHED) s += Format(" hatch=%d", pen.hatch);
  }
  return s;
}

std::string KpDescribeBrush(const CBrush::State& brush) {
  std::string s = Format("%s color=%s", brush.style < 4 ? kBrushStyleNames[brush.style] : "?",
                         KpDescribeColor(brush.color).c_str());
  if (brush.style == BS_HATCHED) s += Format(" hatch=%d", brush.hatch);
  return s;
}

CDC::CDC() {
  // A fresh context holds the stock black pen, white brush and a plain font.
  m_pPen = static_cast<CPen*>(CGdiObject::GetStockObject(BLACK_PEN));
  m_pBrush = static_cast<CBrush*>(CGdiObject::GetStockObject(WHITE_BRUSH));
  m_pFont = DefaultFont();
  m_pen = m_pPen->GetState();
  m_brush = m_pBrush->GetState();
  m_font = m_pFont->GetState();
}

CDC::~CDC() = default;

// --- device ---

int CDC::GetDeviceCaps(int index) const {
  const SIZE px = GetDeviceSize();
  switch (index) {
    case LOGPIXELSX: return m_nDpiX;
    case LOGPIXELSY: return m_nDpiY;
    case HORZRES: return px.cx;
    case VERTRES: return px.cy;
    case HORZSIZE: return kp::RoundToLong(px.cx * 25.4 / m_nDpiX);
    case VERTSIZE: return kp::RoundToLong(px.cy * 25.4 / m_nDpiY);
    default: return 0;
  }
}

void CDC::SetResolution(int dpiX, int dpiY) {
  if (dpiX > 0) m_nDpiX = dpiX;
  if (dpiY > 0) m_nDpiY = dpiY;
}

// --- mapping ---

int CDC::SetMapMode(int mode) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  const int old = m_nMapMode;
  if (IsTracing()) Trace(Format("SetMapMode %d", mode));
  OnStateChanged();
  m_nMapMode = mode;
  // Fixed modes: logical units per inch, y axis up.
  int unitsPerInch = 0;
  switch (mode) {
    case MM_TEXT:
      m_szWindowExt = SIZE{1, 1};
      m_szViewportExt = SIZE{1, 1};
      return old;
    case MM_LOMETRIC: unitsPerInch = 254; break;
    case MM_HIMETRIC: unitsPerInch = 2540; break;
    case MM_LOENGLISH: unitsPerInch = 100; break;
    case MM_HIENGLISH: unitsPerInch = 1000; break;
    case MM_TWIPS: unitsPerInch = 1440; break;
    case MM_ISOTROPIC: unitsPerInch = 254; break;  // starts from the metric extents
    case MM_ANISOTROPIC: return old;               // keeps the extents it finds
  }
  m_szWindowExt = SIZE{unitsPerInch, unitsPerInch};
  m_szViewportExt = SIZE{m_nDpiX, -m_nDpiY};
  return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  const CPoint old = m_ptWindowOrg;
  if (IsTracing()) Trace(Format("SetWindowOrg %d %d", x, y));
  OnStateChanged();
  m_ptWindowOrg = CPoint(x, y);
  return old;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  const CPoint old = m_ptViewportOrg;
  if (IsTracing()) Trace(Format("SetViewportOrg %d %d", x, y));
  OnStateChanged();
  m_ptViewportOrg = CPoint(x, y);
  return old;
}

SIZE CDC::SetWindowExt(int cx, int cy) {
  const SIZE old = m_szWindowExt;
  // Only the scalable modes take extents; a zero extent would make the mapping singular.
  if (m_nMapMode < MM_ISOTROPIC || cx == 0 || cy == 0) return old;
  if (IsTracing()) Trace(Format("SetWindowExt %d %d", cx, cy));
  OnStateChanged();
  m_szWindowExt = SIZE{cx, cy};
  if (m_nMapMode == MM_ISOTROPIC) FixIsotropic();
  return old;
}

SIZE CDC::SetViewportExt(int cx, int cy) {
  const SIZE old = m_szViewportExt;
  if (m_nMapMode < MM_ISOTROPIC || cx == 0 || cy == 0) return old;
  if (IsTracing()) Trace(Format("SetViewportExt %d %d", cx, cy));
  OnStateChanged();
  m_szViewportExt = SIZE{cx, cy};
  if (m_nMapMode == MM_ISOTROPIC) FixIsotropic();
  return old;
}

// In the isotropic mode one logical unit has the same physical length on both
// axes: the viewport extent of the axis with the larger scale is shrunk to
// match the other, keeping its sign.
void CDC::FixIsotropic() {
  const double xdim = std::fabs(static_cast<double>(m_szViewportExt.cx) / m_nDpiX / m_szWindowExt.cx);
  const double ydim = std::fabs(static_cast<double>(m_szViewportExt.cy) / m_nDpiY / m_szWindowExt.cy);
  if (xdim > ydim) {
    const LONG minX = m_szViewportExt.cx >= 0 ? 1 : -1;
    m_szViewportExt.cx = FloorToLong(m_szViewportExt.cx * ydim / xdim + 0.5);
    if (m_szViewportExt.cx == 0) m_szViewportExt.cx = minX;
  } else if (ydim > xdim) {
    const LONG minY = m_szViewportExt.cy >= 0 ? 1 : -1;
    m_szViewportExt.cy = FloorToLong(m_szViewportExt.cy * xdim / ydim + 0.5);
    if (m_szViewportExt.cy == 0) m_szViewportExt.cy = minY;
  }
}

double CDC::ScaleX() const { return static_cast<double>(m_szViewportExt.cx) / m_szWindowExt.cx; }
double CDC::ScaleY() const { return static_cast<double>(m_szViewportExt.cy) / m_szWindowExt.cy; }

void CDC::LPtoDPf(double lx, double ly, double& dx, double& dy) const {
  dx = (lx - m_ptWindowOrg.x) * ScaleX() + m_ptViewportOrg.x;
  dy = (ly - m_ptWindowOrg.y) * ScaleY() + m_ptViewportOrg.y;
}

void CDC::LPtoDP(POINT* pts, int n) const {
  for (int i = 0; pts && i < n; ++i) {
    double dx, dy;
    LPtoDPf(pts[i].x, pts[i].y, dx, dy);
    pts[i] = POINT{kp::RoundToLong(dx), kp::RoundToLong(dy)};
  }
}

void CDC::DPtoLP(POINT* pts, int n) const {
  for (int i = 0; pts && i < n; ++i) {
    const double lx = (static_cast<double>(pts[i].x) - m_ptViewportOrg.x) / ScaleX() + m_ptWindowOrg.x;
    const double ly = (static_cast<double>(pts[i].y) - m_ptViewportOrg.y) / ScaleY() + m_ptWindowOrg.y;
    pts[i] = POINT{kp::RoundToLong(lx), kp::RoundToLong(ly)};
  }
}

void CDC::LPtoDP(RECT* r) const { LPtoDP(reinterpret_cast<POINT*>(r), 2); }
void CDC::DPtoLP(RECT* r) const { DPtoLP(reinterpret_cast<POINT*>(r), 2); }

// --- objects ---

CPen* CDC::SelectObject(CPen* pen) {
  if (pen == nullptr || !pen->IsValid()) return nullptr;  // the selection stays
  CPen* old = m_pPen;
  OnStateChanged();
  m_pPen = pen;
  m_pen = pen->GetState();
  if (IsTracing()) Trace("SelectPen " + KpDescribePen(m_pen));
  return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (brush == nullptr || !brush->IsValid()) return nullptr;
  CBrush* old = m_pBrush;
  OnStateChanged();
  m_pBrush = brush;
  m_brush = brush->GetState();
  if (IsTracing()) Trace("SelectBrush " + KpDescribeBrush(m_brush));
  return old;
}

CFont* CDC::SelectObject(CFont* font) {
  if (font == nullptr || !font->IsValid()) return nullptr;
  CFont* old = m_pFont;
  OnStateChanged();
  m_pFont = font;
  m_font = font->GetState();
  if (IsTracing())
    Trace(Format("SelectFont height=%d escapement=%d weight=%d charset=%d face=", m_font.lfHeight,
                 m_font.lfEscapement, m_font.lfWeight, m_font.lfCharSet) +
          QuoteText(m_font.lfFaceName));
  return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* obj) {
  if (obj == nullptr) return nullptr;
  switch (obj->GetKind()) {
    case KpGdiKind::Pen: return SelectObject(static_cast<CPen*>(obj));
    case KpGdiKind::Brush: return SelectObject(static_cast<CBrush*>(obj));
    case KpGdiKind::Font: return SelectObject(static_cast<CFont*>(obj));
    case KpGdiKind::Region: return SelectClipRgn(static_cast<CRgn*>(obj)) ? obj : nullptr;
    default: return nullptr;
  }
}

CGdiObject* CDC::SelectStockObject(int index) { return SelectObject(CGdiObject::GetStockObject(index)); }

// --- text ---

COLORREF CDC::SetTextColor(COLORREF c) {
  const COLORREF old = m_clrText;
  if (IsTracing()) Trace("SetTextColor " + KpDescribeColor(c));
  OnStateChanged();
  m_clrText = c;
  return old;
}

COLORREF CDC::SetBkColor(COLORREF c) {
  const COLORREF old = m_clrBk;
  if (IsTracing()) Trace("SetBkColor " + KpDescribeColor(c));
  OnStateChanged();
  m_clrBk = c;
  return old;
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  const int old = m_nBkMode;
  if (IsTracing()) Trace(Format("SetBkMode %d", mode));
  OnStateChanged();
  m_nBkMode = mode;
  return old;
}

UINT CDC::SetTextAlign(UINT align) {
  const UINT old = m_nTextAlign;
  if (IsTracing()) Trace(Format("SetTextAlign %u", align));
  OnStateChanged();
  m_nTextAlign = align;
  return old;
}

// --- clipping ---

int CDC::SelectClipRgn(CRgn* rgn) {
  OnStateChanged();
  if (rgn == nullptr) {
    if (IsTracing()) Trace("SelectClipRgn NULL");
    m_clip.reset();
    return 1;
  }
  if (!rgn->IsValid()) return 0;
  const CRect& r = rgn->GetRect();
  if (IsTracing()) Trace(Format("SelectClipRgn %d %d %d %d", r.left, r.top, r.right, r.bottom));
  m_clip = r;
  return r.IsRectEmpty() ? 1 : 2;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  if (IsTracing()) Trace(Format("IntersectClipRect %d %d %d %d", left, top, right, bottom));
  OnStateChanged();
  CRect dev(left, top, right, bottom);
  LPtoDP(&dev);
  dev.NormalizeRect();
  if (m_clip) {
    CRect both;
    both.IntersectRect(*m_clip, dev);
    m_clip = both;
  } else {
    m_clip = dev;
  }
  return m_clip->IsRectEmpty() ? 1 : 2;
}

std::optional<CRect> CDC::GetDeviceBox() const {
  const SIZE size = GetDeviceSize();
  return CRect(0, 0, size.cx, size.cy);
}

int CDC::GetClipBox(RECT* box) const {
  if (box == nullptr) return 0;
  std::optional<CRect> device = GetDeviceBox();
  if (m_clip) {
    CRect both;
    if (device)
      both.IntersectRect(*device, *m_clip);
    else
      both = *m_clip;
    device = both;
  }
  if (!device) {
    *box = RECT{static_cast<LONG>(kp::kLongMin), static_cast<LONG>(kp::kLongMin),
                static_cast<LONG>(kp::kLongMax), static_cast<LONG>(kp::kLongMax)};
    return SIMPLEREGION;
  }
  if (device->IsRectEmpty()) {
    *box = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  // The exact inverse of LPtoDPf at the corners, then outward to whole
  // units, so that no drawable logical point falls outside the box.
  const auto toLogical = [this](double d, double viewportOrg, double scale, double windowOrg) {
    return (d - viewportOrg) / scale + windowOrg;
  };
  const double x0 = toLogical(device->left, m_ptViewportOrg.x, ScaleX(), m_ptWindowOrg.x);
  const double x1 = toLogical(device->right, m_ptViewportOrg.x, ScaleX(), m_ptWindowOrg.x);
  const double y0 = toLogical(device->top, m_ptViewportOrg.y, ScaleY(), m_ptWindowOrg.y);
  const double y1 = toLogical(device->bottom, m_ptViewportOrg.y, ScaleY(), m_ptWindowOrg.y);
  *box = RECT{FloorToLong(std::min(x0, x1)), FloorToLong(std::min(y0, y1)), CeilToLong(std::max(x0, x1)),
              CeilToLong(std::max(y0, y1))};
  return SIMPLEREGION;
}

// --- drawing ---

CPoint CDC::MoveTo(int x, int y) {
  const CPoint old = m_ptCurrent;
  if (IsTracing()) Trace(Format("MoveTo %d %d", x, y));
  m_ptCurrent = CPoint(x, y);
  return old;
}

BOOL CDC::LineTo(int x, int y) {
  if (IsTracing()) Trace(Format("LineTo %d %d", x, y));
  const CPoint to(x, y);
  DoLine(m_ptCurrent, to);
  m_ptCurrent = to;
  return TRUE;
}

void CDC::TracePoints(const char* name, const POINT* pts, int n) {
  std::string line = Format("%s %d", name, n);
  for (int i = 0; i < n; ++i) line += Format(" %d %d", pts[i].x, pts[i].y);
  Trace(line);
}

BOOL CDC::Polyline(const POINT* pts, int n) {
  if (pts == nullptr || n < 2) return FALSE;
  if (IsTracing()) TracePoints("Polyline", pts, n);
  DoPolyline(pts, n);
  return TRUE;
}

BOOL CDC::Polygon(const POINT* pts, int n) {
  if (pts == nullptr || n < 2) return FALSE;
  if (IsTracing()) TracePoints("Polygon", pts, n);
  DoPolygon(pts, n);
  return TRUE;
}

BOOL CDC::Ellipse(int l, int t, int r, int b) {
  if (IsTracing()) Trace(Format("Ellipse %d %d %d %d", l, t, r, b));
  DoEllipse(RECT{l, t, r, b});
  return TRUE;
}

BOOL CDC::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
  if (IsTracing()) Trace(Format("Arc %d %d %d %d %d %d %d %d", l, t, r, b, x3, y3, x4, y4));
  DoArc(RECT{l, t, r, b}, POINT{x3, y3}, POINT{x4, y4});
  return TRUE;
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
  if (IsTracing()) Trace(Format("Rectangle %d %d %d %d", l, t, r, b));
  DoRectangle(RECT{l, t, r, b});
  return TRUE;
}

int CDC::FillRect(const RECT* r, CBrush* brush) {
  if (r == nullptr || brush == nullptr || !brush->IsValid()) return 0;
  if (IsTracing())
    Trace(Format("FillRect %d %d %d %d ", r->left, r->top, r->right, r->bottom) +
          KpDescribeBrush(brush->GetState()));
  DoFillRect(*r, brush->GetState());
  return 1;
}

void CDC::FillSolidRect(const RECT* r, COLORREF color) {
  if (r == nullptr) return;
  if (IsTracing())
    Trace(Format("FillSolidRect %d %d %d %d ", r->left, r->top, r->right, r->bottom) +
          KpDescribeColor(color));
  // Like the platform, this paints with the background colour, which it sets.
  m_clrBk = color;
  DoFillRect(*r, CBrush::State{BS_SOLID, color, 0});
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  const RECT r{x, y, kp::SaturateToLong(std::int64_t{x} + cx), kp::SaturateToLong(std::int64_t{y} + cy)};
  FillSolidRect(&r, color);
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
  if (IsTracing()) Trace(Format("TextOut %d %d ", x, y) + QuoteText(text));
  if (!text.empty()) DoTextOut(x, y, text);
  return TRUE;
}

// --- anti-aliased path ---

BOOL CDC::AALine(POINT from, POINT to, const AAPEN& pen) {
  if (IsTracing())
    Trace(Format("AALine %d %d %d %d width=%g color=%s cap=%d join=%d", from.x, from.y, to.x, to.y,
                 static_cast<double>(pen.width), KpDescribeColor(pen.color).c_str(), pen.cap,
                 pen.join));
  const POINT pts[2] = {from, to};
  DoAAPolyline(pts, 2, pen);
  return TRUE;
}

BOOL CDC::AAPolyline(const POINT* pts, int n, const AAPEN& pen) {
  if (pts == nullptr || n < 2) return FALSE;
  if (IsTracing()) {
    std::string line = Format("AAPolyline %d", n);
    for (int i = 0; i < n; ++i) line += Format(" %d %d", pts[i].x, pts[i].y);
    line += Format(" width=%g color=%s cap=%d join=%d", static_cast<double>(pen.width),
                   KpDescribeColor(pen.color).c_str(), pen.cap, pen.join);
    Trace(line);
  }
  DoAAPolyline(pts, n, pen);
  return TRUE;
}
