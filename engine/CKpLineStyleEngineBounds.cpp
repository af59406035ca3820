// Bounded work: what the pattern walker may pass over without buffering.
//
// A drawing of a sub-line reads the device's clip box once and grows it by
// how far a figure of the sub-line can stray from the boundary it is drawn
// at (ticks, waves, boxes, glyphs and symbols reach sideways; pens are
// wide). Along each long segment the walker then passes over whole dash
// cycles whose boundaries lie outside that grown box (CKpDashCycle keeps
// their positions exact) and walks the rest. Figures at the edge of what
// it passed over can differ from the ones walking would give (a wave's
// stroke across the gap, a chevron from a dash start before it), but they
// lie within the same reach of the invisible part of the segment, so
// nothing inside the box changes.
#include <algorithm>
#include <cmath>
#include <limits>

#include "companions/CKpSymLib.h"
#include "companions/CKpSymbol.h"
#include "engine/CKpLineStyleEngine.h"
#include "platform/KpSaturate.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Heads of the dash-with-arrow kinds (CKpLineStyleEngineArrows.cpp): 15
// units back from the tip and to each side, whatever the ratio.
constexpr double kDashArrowReach = 32.0;

// A symbol is designed in a 128-unit box; turned, its corners reach
// sqrt(2) times as far.
constexpr double kSymbolDesignBox = 128.0;
constexpr double kTurnedCorner = 1.5;

// A figure of kinds 1..27 reaches at most this many decoration vectors from
// its point: ticks twice, the box's far corner sqrt(5) times.
constexpr double kFigureReach = 3.0;
// A glyph of the decoration's height is at most this many heights across.
constexpr double kGlyphReach = 4.0;
// A pen strays this many widths from its line at a mitred corner.
constexpr double kPenReach = 3.0;
// Device pixels for rounding, anti-aliasing and one-pixel pens.
constexpr double kPixelSlack = 4.0;

bool IsWholePlane(const RECT& r) {
  return r.left == kp::kLongMin && r.top == kp::kLongMin && r.right == kp::kLongMax &&
         r.bottom == kp::kLongMax;
}

// Design units a symbol's elements reach from its anchor (max norm), their
// strokes and mitres included.
double DesignReach(const CKpSymbol& symbol) {
  double reach = 0;
  for (const CKpSymbol::Element& e : symbol.GetElements()) {
    const auto far = [](const POINT& p) {
      return std::max(std::fabs(static_cast<double>(p.x)), std::fabs(static_cast<double>(p.y)));
    };
    double r = 0;
    const bool round = e.kind == CKpSymbol::kEllipse || e.kind == CKpSymbol::kFilledEllipse ||
                       e.kind == CKpSymbol::kArc;
    if (round && e.points.size() >= 2)
      r = far(e.points[0]) + far(e.points[1]);
    else
      for (const POINT& p : e.points) r = std::max(r, far(p));
    reach = std::max(reach, r + kPenReach * static_cast<double>(e.width));
  }
  return reach;
}

// The span of the line p(u) = a + u (b - a) inside the box, as [lo, hi];
// false when the line misses it.
bool ClipLine(double ax, double ay, double bx, double by, double left, double top, double right,
              double bottom, double& lo, double& hi) {
  lo = -kInfinity;
  hi = kInfinity;
  const auto axis = [&](double a, double d, double min, double max) {
    if (d == 0) return a >= min && a <= max;
    const double u1 = (min - a) / d, u2 = (max - a) / d;
    lo = std::max(lo, std::min(u1, u2));
    hi = std::min(hi, std::max(u1, u2));
    return lo <= hi;
  };
  return axis(ax, bx - ax, left, right) && axis(ay, by - ay, top, bottom);
}

}  // namespace

CKpLineStyleEngine::WalkScope::WalkScope(CKpLineStyleEngine& engine, const CKpLineStyleBase* sub, long n)
    : m_engine(engine), m_previous(engine.m_walkBounds) {
  engine.m_walkBounds = engine.BoundsFor(sub, n);
  // The pattern is read in full once here; its segments only check that it
  // is still the same one.
  engine.m_cycle.Update(engine.m_pStyleSet, engine.m_pByteSet, engine.m_nStyleCount, engine.m_dRatio);
}

CKpLineStyleEngine::WalkBounds CKpLineStyleEngine::BoundsFor(const CKpLineStyleBase* sub, long n) const {
  WalkBounds b;
  b.scoped = true;
  b.budget = KP_WALKER_CALL_BUDGET + KP_WALKER_VERTEX_BUDGET * std::min<long long>(std::max(n, 0L), 1LL << 40);
  if (m_pDC == nullptr || sub == nullptr) return b;
  RECT box{};
  const int kind = m_pDC->GetClipBox(&box);
  if (kind == NULLREGION) {
    b.active = b.empty = true;
    return b;
  }
  if (kind != SIMPLEREGION || IsWholePlane(box)) return b;
  const double reach = DecorationReach(*sub);
  if (!std::isfinite(reach)) return b;  // figures of no known size: walk everything
  b.active = true;
  b.left = box.left;
  b.top = box.top;
  b.right = box.right;
  b.bottom = box.bottom;
  b.reach = reach;
  return b;
}

double CKpLineStyleEngine::DecorationReach(const CKpLineStyleBase& sub) const {
  const double v = std::fabs(sub.m_nHVLength * m_dRatio) + 1.0;  // |decoration vector|, rounded up
  const int kind = sub.m_nHVMode;
  double reach = 0;
  if (kind >= 1 && kind <= 27)
    reach = kFigureReach * v;
  else if (kind >= 28 && kind <= 33)
    reach = kGlyphReach * v;
  else if (kind >= 34 && kind <= 38)
    reach = kDashArrowReach;
  else if (kind == 47 || kind == 48)
    reach = SymbolReach(sub);
  // The sub-line's own pen, or the host's when it draws with that.
  double pen = std::fabs(sub.m_nCurWidth * m_dRatio);
  if (m_pDC != nullptr) pen = std::max(pen, std::fabs(static_cast<double>(m_pDC->GetPenState().width)));
  const double pixel =
      m_pDC != nullptr ? 1.0 / std::min(std::fabs(m_pDC->ScaleX()), std::fabs(m_pDC->ScaleY())) : 1.0;
  return reach + kPenReach * pen + kPixelSlack * (pixel + 1.0);
}

double CKpLineStyleEngine::SymbolReach(const CKpLineStyleBase& sub) const {
  if (m_pSymLib == nullptr) return 0;  // nothing is drawn
  const CKpSymbol* symbol = m_pSymLib->GetSymbol(static_cast<unsigned long>(sub.m_nSymbol));
  if (symbol == nullptr) return 0;
  const double scale = std::fabs(sub.m_nHVLength * m_dRatio) / kSymbolDesignBox;
  return DesignReach(*symbol) * scale * kTurnedCorner + 2.0;
}

bool CKpLineStyleEngine::PlanSkip(POINT from, POINT to, double length, VisibleSpan& span) const {
  const WalkBounds& b = m_walkBounds;
  if (!b.active) return false;
  const double period = m_cycle.Period();
  // Passing over needs room for whole cycles with two walked ones either side.
  if (!(period > 0) || !(length > 8 * period + 64)) return false;
  if (b.empty) {
    span = VisibleSpan{-kInfinity, -kInfinity};
    return true;
  }
  // Within this of the box a figure (or the one pen stroke a junction of
  // passed-over cycles leaves, reaching back a cycle) might show.
  const double grow = b.reach + 2 * period;
  const double left = b.left - grow, right = b.right + grow;
  const double top = b.top - grow, bottom = b.bottom + grow;
  const auto inside = [&](const POINT& p) {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  };
  if (inside(from) && inside(to)) return false;
  double lo = 0, hi = 0;
  if (!ClipLine(from.x, from.y, to.x, to.y, left, top, right, bottom, lo, hi)) {
    span = VisibleSpan{-kInfinity, -kInfinity};
    return true;
  }
  span = VisibleSpan{lo * length, hi * length};
  return true;
}
