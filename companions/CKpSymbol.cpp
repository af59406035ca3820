#include "companions/CKpSymbol.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

// Drawing model
// -------------
// A symbol is designed in a 128-unit box centred on its anchor, x to the
// right and y up, as one would sketch it on paper. Draw places it like this:
//
//   f     = size * scale / 128           logical units per design unit
//   theta = angle / 10 degrees
//   ex    = (cos theta, sin theta)        where design +x goes (logical units)
//   ey    = (sin theta, -cos theta)       where design +y goes, when the DC's
//                                         logical y axis points down the device
//         = (-sin theta, cos theta)       when it points up (y-up mapping modes)
//   P     = position + f * (x * ex + y * ey)
//
// The angle is measured as the engine measures segment directions, atan2(dy,
// dx) of logical coordinates: a symbol drawn at the angle of a segment points
// along it. Angle 0 points the design +x along logical +x; 900 points it
// along logical +y (down the screen in the text mapping mode, where design up
// then faces logical +x, the segment's left as seen on the device). The
// choice of ey keeps the picture a rotation on the device, never a mirror
// image, whichever way the mapping mode turns y.
//
// A negative size (or scale) makes f negative: the symbol is reflected
// through its anchor, which is the same as a half turn. Arcs therefore keep
// their sense: counter-clockwise in the design stays counter-clockwise on the
// device, which is how CDC::Arc takes them.
//
// Strokes are `width` design units wide (width * |f| logical units, rounded;
// 0 keeps a one-pixel pen). Everything is drawn in the parameter's colour.

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDesignBox = 128.0;
// Limits of well-formed elements (the loader checks the same).
constexpr long kMaxWidth = 128;
constexpr size_t kMaxPoints = 65536;
constexpr long kMaxCoordinate = 1 << 20;
// Pens wider than this many logical units are clamped (drawing is nonsense by then anyway).
constexpr double kMaxPenWidth = 1e6;

// Round half away from zero and saturate to the 32-bit range.
LONG RoundToLong(double v) {
  if (std::isnan(v)) return 0;
  v = v >= 0 ? v + 0.5 : v - 0.5;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<LONG>(v);
}

// The square box of radius r around m, saturated like every coordinate here.
RECT BoxAround(const POINT& m, LONG r) {
  const double x = m.x, y = m.y, d = r;
  return RECT{RoundToLong(x - d), RoundToLong(y - d), RoundToLong(x + d), RoundToLong(y + d)};
}

// Where the design box lands on the DC.
struct Placement {
  double px = 0, py = 0;  // anchor, logical
  double f = 0;           // signed logical units per design unit
  double ex = 1, ey = 0;  // logical direction of design +x
  double ux = 0, uy = -1; // logical direction of design +y

  Placement(const POINT& anchor, double factor, int angleTenths, bool yDown)
      : px(anchor.x), py(anchor.y), f(factor) {
    // Reduce first so large angles (the engine adds a 16-bit offset) keep precision.
    const double a = std::fmod(static_cast<double>(angleTenths), 3600.0) * kPi / 1800.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    ex = c;
    ey = s;
    ux = yDown ? s : -s;
    uy = yDown ? -c : c;
  }
  double MapX(double x, double y) const { return px + f * (x * ex + y * ux); }
  double MapY(double x, double y) const { return py + f * (x * ey + y * uy); }
  POINT Map(double x, double y) const { return POINT{RoundToLong(MapX(x, y)), RoundToLong(MapY(x, y))}; }
  double Length(double d) const { return d * std::fabs(f); }
};

// Number of chords for a full turn of a curve of logical radius r: each chord
// strays at most about a fifth of a unit from the curve.
int ChordsPerTurn(double r) {
  if (!(r > 0.2)) return 8;
  const double step = 2.0 * std::acos(1.0 - 0.2 / r);
  const double n = std::ceil(2.0 * kPi / step);
  return static_cast<int>(std::clamp(n, 8.0, 256.0));
}

// Points along an ellipse in design units: from `start` over `sweep` radians
// (counter-clockwise for positive sweep), mapped to logical coordinates.
std::vector<POINT> TraceEllipse(const Placement& pl, double cx, double cy, double rx, double ry,
                                double start, double sweep) {
  const int perTurn = ChordsPerTurn(pl.Length(std::max(rx, ry)));
  const int n = std::max(2, static_cast<int>(std::ceil(perTurn * std::fabs(sweep) / (2.0 * kPi))));
  std::vector<POINT> pts;
  pts.reserve(static_cast<size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const double t = start + sweep * i / n;
    pts.push_back(pl.Map(cx + rx * std::cos(t), cy + ry * std::sin(t)));
  }
  return pts;
}

// The pens and brushes of one Draw call: created on demand, selected, and on
// destruction the DC gets its own pen and brush back before ours are deleted.
class DrawObjects {
 public:
  DrawObjects(CDC* dc, COLORREF colour) : m_dc(dc), m_colour(colour) {}
  DrawObjects(const DrawObjects&) = delete;
  DrawObjects& operator=(const DrawObjects&) = delete;
  ~DrawObjects() {
    if (m_oldPen) m_dc->SelectObject(m_oldPen);
    if (m_oldBrush) m_dc->SelectObject(m_oldBrush);
    if (m_pen) m_pen->DeleteObject();
    if (m_brush) m_brush->DeleteObject();
  }

  // A pen `width` logical units wide (0: one pixel); width < 0 selects the null pen.
  void UsePen(int width, bool sharp) {
    const PenKey key{width, width > 0 && sharp};
    if (m_penSelected && key == m_penKey) return;
    CPen* old = nullptr;
    std::unique_ptr<CPen> made;
    if (width < 0) {
      old = m_dc->SelectObject(static_cast<CPen*>(CGdiObject::GetStockObject(NULL_PEN)));
    } else {
      made = std::make_unique<CPen>();
      BOOL ok;
      if (key.sharp) {
        const LOGBRUSH lb{BS_SOLID, m_colour, 0};
        ok = made->CreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, width, &lb);
      } else {
        ok = made->CreatePen(PS_SOLID, width, m_colour);
      }
      if (!ok) return;
      old = m_dc->SelectObject(made.get());
    }
    if (old == nullptr) return;  // not selected: keep what we had
    if (!m_oldPen) m_oldPen = old;
    if (m_pen) m_pen->DeleteObject();  // deselected just now
    m_pen = std::move(made);
    m_penKey = key;
    m_penSelected = true;
  }

  void UseBrush(bool filled) {
    if (m_brushSelected && filled == m_brushFilled) return;
    CBrush* old = nullptr;
    if (filled) {
      if (!m_brush) m_brush = std::make_unique<CBrush>(m_colour);
      old = m_dc->SelectObject(m_brush.get());
    } else {
      old = m_dc->SelectObject(static_cast<CBrush*>(CGdiObject::GetStockObject(NULL_BRUSH)));
    }
    if (old == nullptr) return;
    if (!m_oldBrush) m_oldBrush = old;
    m_brushFilled = filled;
    m_brushSelected = true;
  }

 private:
  struct PenKey {
    int width = 0;
    bool sharp = false;
    bool operator==(const PenKey& o) const { return width == o.width && sharp == o.sharp; }
  };
  CDC* m_dc;
  COLORREF m_colour;
  CPen* m_oldPen = nullptr;
  CBrush* m_oldBrush = nullptr;
  std::unique_ptr<CPen> m_pen;
  std::unique_ptr<CBrush> m_brush;
  PenKey m_penKey;
  bool m_penSelected = false;
  bool m_brushFilled = false;
  bool m_brushSelected = false;
};

// One Draw call: placement, colour, objects and the anti-aliasing choice.
struct Painter {
  CDC* dc;
  const Placement& pl;
  COLORREF colour;
  bool aa;
  DrawObjects objects;

  Painter(CDC* d, const Placement& p, COLORREF c, bool antiAliased)
      : dc(d), pl(p), colour(c), aa(antiAliased), objects(d, c) {}

  // Stroke width in logical units: exact for the anti-aliased path, rounded for pens.
  double StrokeWidth(const CKpSymbol::Element& e) const {
    return std::min(pl.Length(static_cast<double>(e.width)), kMaxPenWidth);
  }
  int PenWidth(const CKpSymbol::Element& e) const { return static_cast<int>(RoundToLong(StrokeWidth(e))); }
  static bool Sharp(const CKpSymbol::Element& e) { return (e.flags & CKpSymbol::kFlagSharpCorners) != 0; }

  AAPEN AAPen(const CKpSymbol::Element& e) const {
    const bool sharp = Sharp(e);
    return AAPEN{static_cast<float>(StrokeWidth(e)), colour, sharp ? AA_CAP_FLAT : AA_CAP_ROUND,
                 sharp ? AA_JOIN_MITER : AA_JOIN_ROUND};
  }

  void Stroke(const CKpSymbol::Element& e, std::vector<POINT> pts, bool closed) {
    if (pts.size() < 2) return;
    if (aa) {
      if (closed) {
        // Run past the start so the closing corner is a join, not two ends.
        pts.push_back(pts[0]);
        if (Sharp(e)) pts.push_back(pts[1]);
      }
      dc->AAPolyline(pts.data(), static_cast<int>(pts.size()), AAPen(e));
      return;
    }
    objects.UsePen(PenWidth(e), Sharp(e));
    if (closed) {
      objects.UseBrush(false);
      dc->Polygon(pts.data(), static_cast<int>(pts.size()));
    } else {
      dc->Polyline(pts.data(), static_cast<int>(pts.size()));
    }
  }

  void Fill(const CKpSymbol::Element& e, std::vector<POINT> pts) {
    if (pts.size() < 2) return;
    if (aa) {
      // Fill without a pen, then an anti-aliased outline smooths the edge.
      objects.UsePen(-1, false);
      objects.UseBrush(true);
      dc->Polygon(pts.data(), static_cast<int>(pts.size()));
      Stroke(e, std::move(pts), true);
      return;
    }
    objects.UsePen(PenWidth(e), Sharp(e));
    objects.UseBrush(true);
    dc->Polygon(pts.data(), static_cast<int>(pts.size()));
  }

  std::vector<POINT> MapAll(const std::vector<POINT>& design) const {
    std::vector<POINT> pts;
    pts.reserve(design.size());
    for (const POINT& p : design) pts.push_back(pl.Map(p.x, p.y));
    return pts;
  }

  void Draw(const CKpSymbol::Element& e) {
    switch (e.kind) {
      case CKpSymbol::kPolyline: Stroke(e, MapAll(e.points), false); break;
      case CKpSymbol::kPolygon: Stroke(e, MapAll(e.points), true); break;
      case CKpSymbol::kFilledPolygon: Fill(e, MapAll(e.points)); break;
      case CKpSymbol::kEllipse:
      case CKpSymbol::kFilledEllipse: DrawEllipse(e); break;
      case CKpSymbol::kArc: DrawArc(e); break;
      default: break;
    }
  }

  void DrawEllipse(const CKpSymbol::Element& e) {
    const POINT c = e.points[0];
    const double rx = e.points[1].x;
    const double ry = e.points[1].y;
    const bool filled = e.kind == CKpSymbol::kFilledEllipse;
    if (!aa && rx == ry) {
      // A circle stays a circle under any turn: one device call.
      const POINT m = pl.Map(c.x, c.y);
      const LONG r = RoundToLong(pl.Length(rx));
      objects.UsePen(PenWidth(e), Sharp(e));
      objects.UseBrush(filled);
      const RECT box = BoxAround(m, r);
      dc->Ellipse(&box);
      return;
    }
    std::vector<POINT> pts = TraceEllipse(pl, c.x, c.y, rx, ry, 0.0, 2.0 * kPi);
    pts.pop_back();  // the last point repeats the first
    if (filled)
      Fill(e, std::move(pts));
    else
      Stroke(e, std::move(pts), true);
  }

  void DrawArc(const CKpSymbol::Element& e) {
    const POINT c = e.points[0];
    const double rx = e.points[1].x;
    const double ry = e.points[1].y;
    const double start = e.points[2].x * kPi / 1800.0;
    const double sweep = e.points[2].y * kPi / 1800.0;
    if (std::abs(e.points[2].y) >= 3600) {  // a whole turn is an ellipse outline
      CKpSymbol::Element ring = e;
      ring.kind = CKpSymbol::kEllipse;
      ring.points.resize(2);
      DrawEllipse(ring);
      return;
    }
    if (!aa && rx == ry) {
      // CDC::Arc runs counter-clockwise on the device, as the design does
      // (the placement never mirrors); a clockwise arc swaps its ends.
      const double a0 = sweep >= 0 ? start : start + sweep;
      const double a1 = sweep >= 0 ? start + sweep : start;
      const POINT m = pl.Map(c.x, c.y);
      const LONG r = RoundToLong(pl.Length(rx));
      // Radial points well away from the centre so rounding barely turns them.
      const double reach = std::max(rx, 64.0 / std::max(std::fabs(pl.f), 1e-9));
      const POINT p0 = pl.Map(c.x + reach * std::cos(a0), c.y + reach * std::sin(a0));
      const POINT p1 = pl.Map(c.x + reach * std::cos(a1), c.y + reach * std::sin(a1));
      objects.UsePen(PenWidth(e), Sharp(e));
      const RECT box = BoxAround(m, r);
      dc->Arc(box.left, box.top, box.right, box.bottom, p0.x, p0.y, p1.x, p1.y);
      return;
    }
    Stroke(e, TraceEllipse(pl, c.x, c.y, rx, ry, start, sweep), false);
  }
};

// Half the extent of an element from the anchor, in design units, strokes included.
double ElementReach(const CKpSymbol::Element& e) {
  double reach = 0;
  const double half = e.width / 2.0;
  auto farthest = [](double x, double y) { return std::max(std::fabs(x), std::fabs(y)); };
  switch (e.kind) {
    case CKpSymbol::kEllipse:
    case CKpSymbol::kFilledEllipse:
    case CKpSymbol::kArc: {
      const double r = std::max(e.points[1].x, e.points[1].y);
      reach = farthest(e.points[0].x, e.points[0].y) + r;
      break;
    }
    default:
      for (const POINT& p : e.points) reach = std::max(reach, farthest(p.x, p.y));
      break;
  }
  return reach + half;
}

}  // namespace

bool CKpSymbol::Element::operator==(const Element& o) const {
  if (kind != o.kind || flags != o.flags || width != o.width || points.size() != o.points.size()) return false;
  for (size_t i = 0; i < points.size(); ++i)
    if (points[i].x != o.points[i].x || points[i].y != o.points[i].y) return false;
  return true;
}

CKpSymbol::CKpSymbol() : m_nID(0) {}

CKpSymbol::CKpSymbol(const CKpSymbol& src) = default;

CKpSymbol& CKpSymbol::operator=(const CKpSymbol& src) = default;

CKpSymbol::~CKpSymbol() = default;

bool CKpSymbol::IsValidElement(const Element& e) {
  if ((e.flags & ~kKnownFlags) != 0 || e.width < 0 || e.width > kMaxWidth) return false;
  if (e.points.size() > kMaxPoints) return false;
  for (const POINT& p : e.points)
    if (p.x < -kMaxCoordinate || p.x > kMaxCoordinate || p.y < -kMaxCoordinate || p.y > kMaxCoordinate)
      return false;
  const size_t n = e.points.size();
  switch (e.kind) {
    case kPolyline: return n >= 2;
    case kPolygon:
    case kFilledPolygon: return n >= 3;
    case kEllipse:
    case kFilledEllipse: return n == 2 && e.points[1].x > 0 && e.points[1].y > 0;
    case kArc:
      // The third point holds angles, not coordinates: start anywhere, a
      // sweep of at most one turn either way.
      return n == 3 && e.points[1].x > 0 && e.points[1].y > 0 && e.points[2].y != 0 &&
             std::abs(e.points[2].y) <= 3600;
    default: return false;
  }
}

bool CKpSymbol::AddElement(const Element& element) {
  if (!IsValidElement(element)) return false;
  m_elements.push_back(element);
  return true;
}

bool CKpSymbol::operator==(const CKpSymbol& o) const {
  return m_nID == o.m_nID && m_strName == o.m_strName && m_elements == o.m_elements;
}

void CKpSymbol::Draw(CDC* pDC, CKpSymbolParameter& param, int printing, int /*reserved1*/, int /*reserved2*/) {
  if (pDC == nullptr || m_elements.empty()) return;
  const double f = static_cast<double>(param.m_nSize) * param.m_dScale / kDesignBox;
  if (!std::isfinite(f) || f == 0.0) return;
  // The logical y axis points down the device when x and y keep the device's handedness.
  const bool yDown = pDC->ScaleX() * pDC->ScaleY() > 0;
  const Placement pl(param.m_ptPosition, f, param.m_nAngle, yDown);
  const bool aa = param.m_nFlag != 0 && printing == 0 && !pDC->IsPrinting();
  Painter painter(pDC, pl, param.m_clrColor & 0x00FFFFFFu, aa);
  for (const Element& e : m_elements) painter.Draw(e);
}

void CKpSymbol::Draw(CDC* pDC, RECT& rect, unsigned long colour) {
  if (pDC == nullptr) return;
  const LONG left = std::min(rect.left, rect.right);
  const LONG right = std::max(rect.left, rect.right);
  const LONG top = std::min(rect.top, rect.bottom);
  const LONG bottom = std::max(rect.top, rect.bottom);
  const double w = static_cast<double>(right) - left;
  const double h = static_cast<double>(bottom) - top;
  // The design box fills the shorter side less a unit of margin each way, so
  // symbols of one library keep their relative sizes in a picker; a symbol
  // that reaches beyond its box is shrunk until it fits.
  double size = std::min(w, h) - 2.0;
  if (!(size >= 1.0)) return;
  double reach = 0;
  for (const Element& e : m_elements) reach = std::max(reach, ElementReach(e));
  if (reach > kDesignBox / 2) size *= (kDesignBox / 2) / reach;
  const CPoint centre(static_cast<LONG>(std::floor((static_cast<double>(left) + right) / 2)),
                      static_cast<LONG>(std::floor((static_cast<double>(top) + bottom) / 2)));
  CKpSymbolParameter param(centre, 0, 0, colour, static_cast<unsigned long>(m_nID), nullptr, 1.0, 0);
  // Keep the fraction: small previews would otherwise round the box noticeably.
  param.m_nSize = 128;
  param.m_dScale = size / 128.0;
  Draw(pDC, param, pDC->IsPrinting(), 0, 0);
}
