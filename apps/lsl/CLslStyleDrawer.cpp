#include "apps/lsl/CLslStyleDrawer.h"

#include <cmath>

#include "engine/CKpLineStyleEngine.h"

namespace {

// Share of the style's colour in a polygon's fill (the rest is white).
constexpr double kFillTint = 0.16;

unsigned Mix(unsigned channel, double share) {
  return static_cast<unsigned>(std::lround(channel * share + 255.0 * (1.0 - share)));
}

// Flattens parts into one point array with a count per part.
template <typename Count>
void Concatenate(const LslDeviceShape& shape, std::vector<POINT>& points, std::vector<Count>& counts) {
  for (const auto& part : shape.parts) {
    points.insert(points.end(), part.begin(), part.end());
    counts.push_back(static_cast<Count>(part.size()));
  }
}

}  // namespace

CLslStyleDrawer::CLslStyleDrawer(CKpLineStyleObj& style, CKpSymLib* symbols, const LslDrawOptions& options)
    : m_style(style), m_symbols(symbols), m_options(options) {
  m_linePen.CreatePen(PS_SOLID, HostWidth(), HostColor());
  m_polygonPen.CreatePen(PS_SOLID, HostWidth(), HostColor());
  if (!HasOverrides()) {
    m_polygonPen.DeleteObject();
    m_polygonPen.CreatePen(PS_SOLID, 0, FillColor());
  }
  m_fill.CreateSolidBrush(FillColor());
}

COLORREF CLslStyleDrawer::HostColor() const {
  return m_options.color ? *m_options.color : static_cast<COLORREF>(m_style.GetFirstColor());
}

int CLslStyleDrawer::HostWidth() const {
  const long width = m_options.width ? *m_options.width : m_style.GetLineWidth();
  return static_cast<int>(std::lround(width * m_options.ratio));
}

COLORREF CLslStyleDrawer::FillColor() const {
  const COLORREF c = HostColor();
  return RGB(Mix(GetRValue(c), kFillTint), Mix(GetGValue(c), kFillTint), Mix(GetBValue(c), kFillTint));
}

void CLslStyleDrawer::Draw(CDC& dc, std::vector<LslDeviceShape>& shapes) {
  for (LslDeviceShape& shape : shapes) Draw(dc, shape);
}

void CLslStyleDrawer::Draw(CDC& dc, LslDeviceShape& shape) {
  Begin(dc, shape.polygon);
  if (shape.polygon)
    DrawPolygons(shape);
  else
    DrawLines(shape);
  End(dc);
}

void CLslStyleDrawer::Begin(CDC& dc, bool polygon) {
  m_previousPen = dc.SelectObject(polygon ? &m_polygonPen : &m_linePen);
  m_previousBrush = polygon ? dc.SelectObject(&m_fill) : nullptr;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  m_previousEngineMode = engine.SetMapMode(m_options.mapMode);
  engine.KeepDC(&dc);
  engine.m_pSymLib = m_symbols;
  engine.SetRatio(m_options.ratio);
  engine.SetClearSawtooth(m_options.antiAlias ? 1 : 0);
  ApplyOverrides();
}

void CLslStyleDrawer::End(CDC& dc) {
  CKpLineStyleEngine& engine = gLineStyleEngine;
  engine.SetClearSawtooth(0);
  engine.RestoreDC();
  engine.m_pSymLib = nullptr;  // the symbols belong to the caller
  engine.SetMapMode(m_previousEngineMode);
  // Our pen and brush die with this object: the DC must not keep them.
  if (m_previousBrush) dc.SelectObject(m_previousBrush);
  if (m_previousPen)
    dc.SelectObject(m_previousPen);
  else
    dc.SelectStockObject(BLACK_PEN);
}

// Without overrides every sub-line draws with its own width and colour.
void CLslStyleDrawer::ApplyOverrides() {
  if (m_options.width && m_options.color) {
    m_style.SetLineStyle(*m_options.width, static_cast<long>(*m_options.color));
    return;
  }
  m_style.SetLineStyle();
  if (m_options.width) m_style.SetWidth(*m_options.width);
  if (m_options.color) m_style.SetColor(static_cast<long>(*m_options.color));
}

void CLslStyleDrawer::DrawLines(LslDeviceShape& shape) {
  if (shape.parts.size() == 1) {
    std::vector<POINT>& part = shape.parts.front();
    m_style.Polyline(part.data(), static_cast<long>(part.size()));
    return;
  }
  std::vector<POINT> points;
  std::vector<unsigned long> counts;
  Concatenate(shape, points, counts);
  m_style.PolyPolyline(points.data(), counts.data(), static_cast<long>(counts.size()));
}

void CLslStyleDrawer::DrawPolygons(LslDeviceShape& shape) {
  if (shape.parts.size() == 1) {
    std::vector<POINT>& ring = shape.parts.front();
    m_style.Polygon(ring.data(), static_cast<long>(ring.size()));
    return;
  }
  std::vector<POINT> points;
  std::vector<int> counts;
  Concatenate(shape, points, counts);
  m_style.PolyPolygon(points.data(), counts.data(), static_cast<long>(counts.size()));
}
