// The pattern walker: cuts each segment of a polyline at the boundaries of
// the sub-line's dash pattern into the engine's point buffer, so that the
// pattern runs on across vertices, then plays the buffer or hands it to the
// decoration routine of the sub-line's kind.
//
// Both walkers place a boundary at the distance the dash cycle gives for it
// (CKpDashCycle), so that on a long segment they can pass over whole cycles
// the device cannot show (CKpLineStyleEngineBounds.cpp) and carry on exactly
// where walking them would have arrived. The boundaries kept have the types
// they would have had: passing over whole cycles leaves the sequence of
// drawn and gap pieces as it was.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <new>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGeometry.h"
#include "platform/KpSaturate.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// kp::RoundHalfAway's rounding, inlined: this runs for every boundary.
POINT Offset(POINT from, double ox, double oy) {
  return POINT{kp::RoundToLong(from.x + ox), kp::RoundToLong(from.y + oy)};
}

// When a walk stops to see whether it may pass over whole cycles: at the
// first boundary beyond `check`, or when the buffer reaches `limit` (the
// drawing's budget is spent). Positions are distances from the segment's
// start in the walker's units.
struct Passing {
  double visibleFrom = kInfinity;  // before this nothing can be seen ...
  double visibleTo = kInfinity;    // ... nor after this
  double check = kInfinity;
  long limit = LONG_MAX;

  // Whole cycles to pass over after the boundary at `pos`, when `room`
  // cycles could pass before the segment's end with two left to walk.
  // `drop` says the budget is spent: what is passed over is lost.
  std::int64_t Decide(double pos, long lastIndex, std::int64_t room, double period, bool& drop) {
    drop = false;
    if (lastIndex >= limit) {  // only the segment's end is still buffered
      limit = LONG_MAX;
      check = kInfinity;
      drop = room > 0;
      return std::max<std::int64_t>(room, 0);
    }
    if (pos < visibleFrom) {  // up to two cycles before what can be seen
      check = visibleTo;
      const double ahead = std::floor((visibleFrom - pos) / period) - 2;
      if (!(ahead >= 1)) return 0;
      return ahead >= static_cast<double>(room) ? std::max<std::int64_t>(room, 0)
                                                : static_cast<std::int64_t>(ahead);
    }
    if (pos <= visibleTo) {
      check = visibleTo;
      return 0;
    }
    check = kInfinity;  // past what can be seen: on to the segment's end
    return std::max<std::int64_t>(room, 0);
  }
};

}  // namespace

// --- buffer ---

bool CKpLineStyleEngine::EnsureBuffer(long index) {
  if (index < m_nBufferSize) return true;
  if (index >= KP_WALKER_MAX_POINTS) return false;
  const long grown = std::min(KP_WALKER_MAX_POINTS, std::max(index + 1, m_nBufferSize * 2));
  try {
    m_PointStore.resize(static_cast<size_t>(grown));
    m_TypeStore.resize(static_cast<size_t>(grown));
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_pPoints = m_PointStore.data();
  m_pTypes = m_TypeStore.data();
  m_nBufferSize = grown;
  return true;
}

void CKpLineStyleEngine::AppendPoint(POINT p, BYTE type) {
  if (!EnsureBuffer(m_nLastIndex + 1)) {
    ++m_nDroppedPoints;
    return;
  }
  ++m_nLastIndex;
  m_pPoints[m_nLastIndex] = p;
  m_pTypes[m_nLastIndex] = type;
}

bool CKpLineStyleEngine::PrepareWalk() {
  if (m_pPoints == nullptr) return false;
  // A drawing checked the pattern's content when it began (WalkScope).
  const bool known = m_walkBounds.scoped && m_cycle.IsFrom(m_pStyleSet, m_pByteSet, m_nStyleCount, m_dRatio);
  if (!known && !m_cycle.Update(m_pStyleSet, m_pByteSet, m_nStyleCount, m_dRatio)) return false;
  if (m_nStyleIndex < 0 || m_nStyleIndex >= m_nStyleCount) m_nStyleIndex = 0;
  if (!std::isfinite(m_dRemain)) m_dRemain = 0.0;
  if (m_nLastIndex < 0 || m_nLastIndex >= m_nBufferSize) m_nLastIndex = 0;  // no carry from nonsense
  return true;
}

// The walk of one segment's boundaries after the start of the segment (and
// the end of an entry carried into it): where the cycles begin, where the
// walk may pass over them, and the budget it charges.
struct CKpLineStyleEngine::SegmentWalk {
  SegmentWalk(CKpLineStyleEngine& e, POINT from, POINT to, double length, double carried, long entry)
      : engine(e),
        cycle(e.m_cycle),
        origin(e.m_cycle.Distance(0, entry)),
        base(carried),
        next(entry),
        startIndex(e.m_nLastIndex) {
    const WalkBounds& b = e.m_walkBounds;
    const long long budget = b.scoped ? b.budget : KP_WALKER_MAX_POINTS;
    const long long room = std::max<long long>(0, std::min<long long>(budget, KP_WALKER_MAX_POINTS - 8));
    passing.limit = static_cast<long>(std::min<long long>(startIndex + room, KP_WALKER_MAX_POINTS - 8));
    VisibleSpan span{};
    if (b.active && e.PlanSkip(from, to, length, span)) {
      passing.visibleFrom = span.from;
      passing.visibleTo = span.to;
      passing.check = -kInfinity;
    }
  }
  ~SegmentWalk() {
    WalkBounds& b = engine.m_walkBounds;
    if (b.scoped) b.budget = std::max<long long>(0, b.budget - (engine.m_nLastIndex - startIndex));
  }
  SegmentWalk(const SegmentWalk&) = delete;
  SegmentWalk& operator=(const SegmentWalk&) = delete;

  // Consumes the entry `next`; returns it.
  long Consume() {
    const long e = next;
    if (++next == cycle.Count()) {
      next = 0;
      ++cycles;
    }
    return e;
  }
  // Length walked from the loop's first entry to the start of `next`.
  double Walked() const { return cycle.Distance(cycles, next) - origin; }
  bool WantsToPass(double pos) const { return pos > passing.check || engine.m_nLastIndex >= passing.limit; }
  // Passes over `n` whole cycles after the boundary just buffered. What is
  // dropped for the budget gets a move to where it ends, so no drawn piece
  // spans it.
  void Pass(std::int64_t n, bool drop, POINT from, double kx, double ky) {
    cycles += n;
    const long long points = n * static_cast<long long>(cycle.Count());
    if (!drop) {
      engine.m_nSkippedPoints += points;
      return;
    }
    engine.m_nDroppedPoints += points;
    const double pos = base + Walked();
    engine.AppendPoint(Offset(from, pos * kx, pos * ky), PT_MOVETO);
  }

  CKpLineStyleEngine& engine;
  const CKpDashCycle& cycle;
  const double origin;
  const double base;
  long next;
  std::int64_t cycles = 0;
  const long startIndex;
  Passing passing;
};

// --- walkers ---

double CKpLineStyleEngine::EndRunOnEntry(POINT from, double dx, double dy, double L, long& entry) {
  if (m_dRemain >= 0) return 0.0;
  const double carried = -m_dRemain;  // the rest of the entry ends inside this segment
  AppendPoint(Offset(from, dx * carried / L, dy * carried / L), EntryType(entry));
  if (++entry >= m_nStyleCount) entry = 0;
  return carried;
}

bool CKpLineStyleEngine::EndsAfterRunOn(POINT to, long entry, double carried) {
  if (m_cycle.Period() > 0 || !(carried > 0)) return false;
  m_dRemain = 0.0;  // nothing after the entry that ran on has length
  m_nStyleIndex = entry;
  AppendPoint(to, EntryType(entry));
  return true;
}

void CKpLineStyleEngine::LineDisjunction(POINT from, POINT to) {
  m_nLastIndex = 0;
  if (!PrepareWalk()) return;
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  // Lengths of segments may exceed 32 bits (the plane's diagonal does).
  const std::int64_t rounded = kp::RoundWide(std::sqrt(dx * dx + dy * dy));
  if (rounded == 0) return;
  const double L = static_cast<double>(rounded);

  m_pPoints[0] = from;
  m_pTypes[0] = EntryType(m_nStyleIndex);
  if (L < -m_dRemain) {  // the segment ends inside the current entry
    AppendPoint(to, EntryType(m_nStyleIndex));
    m_dRemain += L;
    return;
  }
  long entry = m_nStyleIndex;
  const double carried = EndRunOnEntry(from, dx, dy, L, entry);
  const double left = m_dRemain + L;
  if (EndsAfterRunOn(to, entry, carried)) return;

  // What is left of the segment is rounded to whole units after every
  // entry; from a whole number on, that is whole steps (CKpDashCycle).
  bool whole = left == std::floor(left) && std::fabs(left) <= kp::kWideLimit;
  std::int64_t x = whole ? static_cast<std::int64_t>(left) : 0;
  const double kx = dx / L, ky = dy / L;
  SegmentWalk walk(*this, from, to, L, carried, entry);
  for (;;) {
    const long e = walk.Consume();
    std::int64_t after;
    if (whole) {
      after = x < m_cycle.Threshold(e) ? x - m_cycle.Threshold(e) : x - m_cycle.Step(e);
    } else {
      after = kp::RoundWide(left - m_cycle.Length(e));
      whole = true;
    }
    x = after;
    m_dRemain = static_cast<double>(x);
    if (x < 0) {
      m_nStyleIndex = e;
      break;
    }
    const double pos = carried + walk.Walked();
    const double ox = pos * kx, oy = pos * ky;
    if (ox == 0.0 && oy == 0.0) {  // only zero-length entries so far
      m_nStyleIndex = e;
      return;
    }
    AppendPoint(Offset(from, ox, oy), EntryType(e));
    if (!walk.WantsToPass(pos)) continue;
    const std::int64_t period = m_cycle.StepPeriod();
    const std::int64_t room = period > 0 ? (x - m_cycle.MaxThreshold()) / period - 2 : 0;
    bool drop = false;
    const std::int64_t n = walk.passing.Decide(pos, m_nLastIndex, room, m_cycle.Period(), drop);
    if (n <= 0) continue;
    x -= n * period;
    m_dRemain = static_cast<double>(x);
    walk.Pass(n, drop, from, kx, ky);
  }
  AppendPoint(to, EntryType(m_nStyleIndex));
}

void CKpLineStyleEngine::LineDisjunctionEx(POINT from, POINT to) {
  if (!PrepareWalk()) {
    m_nLastIndex = 0;
    return;
  }
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  const double L = std::sqrt(dx * dx + dy * dy);
  if (std::fabs(L) < 1e-10) return;  // buffer left as it is, so a carry survives

  long entry = m_nStyleIndex;
  const BYTE current = EntryType(entry);
  if (m_dRemain >= 0 || m_nLastIndex < 1) {
    m_nLastIndex = 0;
    m_pPoints[0] = from;
    m_pTypes[0] = current;
  } else {
    // An entry runs on across the vertex: start from the boundary where it
    // began, so that decorations see the whole dash or gap.
    m_pPoints[0] = m_pPoints[m_nLastIndex - 1];
    m_pTypes[0] = current == PT_LINETO ? PT_MOVETO : PT_LINETO;
    m_nFirstSegment = 1;
    m_nLastIndex = 1;
    m_pPoints[1] = from;
    m_pTypes[1] = current;
  }
  if (L < -m_dRemain) {
    AppendPoint(to, current);
    m_dRemain += L;
    return;
  }
  const double carried = EndRunOnEntry(from, dx, dy, L, entry);
  const double left = m_dRemain + L;
  if (EndsAfterRunOn(to, entry, carried)) return;

  // This runs for every boundary of every drawing: the buffer is written
  // directly unless it has to grow.
  const double kx = dx / L, ky = dy / L;
  SegmentWalk walk(*this, from, to, L, carried, entry);
  for (;;) {
    const long e = walk.Consume();
    const double walked = walk.Walked();
    const double remain = left - walked;
    if (remain < 0) {
      m_dRemain = remain;
      m_nStyleIndex = e;
      break;
    }
    const double pos = carried + walked;
    const double ox = pos * kx, oy = pos * ky;
    if (std::fabs(ox) < 1e-10 && std::fabs(oy) < 1e-10) {
      m_dRemain = remain;
      m_nStyleIndex = e;
      return;
    }
    const POINT p = Offset(from, ox, oy);
    const BYTE type = EntryType(e);
    if (m_nLastIndex + 1 < m_nBufferSize) {
      ++m_nLastIndex;
      m_pPoints[m_nLastIndex] = p;
      m_pTypes[m_nLastIndex] = type;
    } else {
      AppendPoint(p, type);  // rare: grow, or drop at the ceiling
    }
    if (!walk.WantsToPass(pos)) continue;
    const double period = m_cycle.Period();
    const double cycles = std::floor(remain / period) - 2;
    const std::int64_t room = cycles >= 1 ? static_cast<std::int64_t>(std::min(cycles, kp::kWideLimit)) : 0;
    bool drop = false;
    const std::int64_t n = walk.passing.Decide(pos, m_nLastIndex, room, period, drop);
    if (n > 0) walk.Pass(n, drop, from, kx, ky);
  }
  AppendPoint(to, EntryType(m_nStyleIndex));
}

// --- playing the buffer ---

void CKpLineStyleEngine::PlayPoint(long i) {
  if (m_pTypes[i] == PT_MOVETO)
    MoveTo(m_pPoints[i]);
  else
    LineTo(m_pPoints[i]);
}

void CKpLineStyleEngine::DrawSegments() {
  long start = 0;
  if (m_nFirstSegment != 0 && m_nFirstSegment != 666) {
    start = 1;
    m_nFirstSegment = 0;
  }
  const long end = m_nLastIndex;
  if (start >= end) return;
  if (m_pDC == nullptr || UseAntiAliasedLine()) {
    for (long i = start; i < end; ++i) PlayPoint(i);
    return;
  }
  // The plain path, which nothing in the loop can switch: the device's own
  // MoveTo and LineTo, and the current position once at the end, as
  // PlayPoint would leave it.
  CDC& dc = *m_pDC;
  for (long i = start; i < end; ++i) {
    if (m_pTypes[i] == PT_MOVETO)
      dc.MoveTo(m_pPoints[i]);
    else
      dc.LineTo(m_pPoints[i]);
  }
  m_ptCurrent = m_pPoints[end - 1];
}

void CKpLineStyleEngine::DrawSegmentsRepair() {
  if (m_nLastIndex >= 1) PlayPoint(m_nLastIndex);
}

// --- ticks ---

const CKpLineStyleEngine::TickFigure& CKpLineStyleEngine::TickFigureOf(int kind) {
  static const TickFigure kFigures[9] = {
      {0, 0, 0, 0},    // unused
      {1, -1, 1, -1},  // 1 centred: p+v to p-v at both events
      {1, 0, 1, 0},    // 2 up: p+v to p
      {0, -1, 0, -1},  // 3 down: p to p-v
      {0, -1, 1, 0},   // 4 alternating: down at ends, up at starts
      {0, 2, 0, 1},    // 5 long up at ends, short up at starts
      {0, -2, 0, -1},  // 6 long down at ends, short down at starts
      {0, 2, 0, -1},   // 7 long up at ends, short down at starts
      {0, -2, 0, 1},   // 8 long down at ends, short up at starts
  };
  return kFigures[(kind >= 1 && kind <= 8) ? kind : 0];
}

// --- dispatch ---

void CKpLineStyleEngine::DrawLine(short kind, POINT* v) {
  if (v == nullptr || (v->x == 0 && v->y == 0)) return;
  const long vx = v->x, vy = v->y;
  switch (kind) {
    case 1: case 2: case 3: case 4: case 5: case 6:
      DrawTicks(vx, vy, kind, false);
      break;
    case 7: DrawSegmentsVShortLongUpDown(vx, vy); break;
    case 8: DrawSegmentsVShortLongDownUp(vx, vy); break;
    case 9: DrawSegmentsVBevel(vx, vy); break;
    case 10: DrawSegmentsVBevel2(vx, vy); break;
    case 11: DrawSegmentsVBevelUpDown(vx, vy); break;
    case 12: DrawSegmentsVTriangle(vx, vy); break;
    case 13: DrawSegmentsVTriangle2(vx, vy); break;
    case 14: DrawSegmentsVWave(vx, vy); break;
    case 15: DrawSegmentsVWall(vx, vy); break;
    case 16: DrawSegmentsVBox(vx, vy); break;
    case 17: DrawSegmentsVUpDownCross(vx, vy); break;
    case 18: DrawSegmentsVXCross(vx, vy); break;
    case 19: DrawSegmentsVCrossUp(vx, vy); break;
    case 20: DrawSegmentsVCrossDown(vx, vy); break;
    case 21: DrawSegmentsVCrossUpDown(vx, vy); break;
    case 22: DrawSegmentsVBiArcUp(vx, vy); break;
    case 23: DrawSegmentsVBiArcDown(vx, vy); break;
    case 24: DrawSegmentsVBiArcUpDown(vx, vy); break;
    case 25: DrawSegmentsVCircleCenter(vx, vy); break;
    case 26: DrawSegmentsVCircleUp(vx, vy); break;
    case 27: DrawSegmentsVCircleUpDown(vx, vy); break;
    case 28: DrawSegmentsVTrueType(vx, vy, 900); break;
    case 29: DrawSegmentsVTrueType(vx, vy, 2700); break;
    case 30: DrawSegmentsVTrueType(vx, vy, 0); break;
    case 31: DrawSegmentsVTrueType(vx, vy, 1800); break;
    case 32: DrawSegmentsVTrueTypeFixed(vx, vy); break;
    case 33:
      DrawSegmentsVTrueType(vx, vy, m_pLineStyleBase ? m_pLineStyleBase->m_nAngle : 0);
      break;
    case 34: DrawDashWithTailArrow(vx, vy); break;
    case 35: DrawDashWithHeaderArrow(vx, vy); break;
    case 36: DrawDashWithDoubleArrow(vx, vy); break;
    case 37: DrawDashWithMidiumArrow(vx, vy); break;
    case 38: DrawDashWithMidiumReverseArrow(vx, vy); break;
    case 47: DrawSegmentsSymbol(vx, vy); break;
    case 48: DrawSegmentsSymbolFixed(vx, vy); break;
    default: break;  // 0, the driver's own kinds 39..46, and unknown values
  }
}
