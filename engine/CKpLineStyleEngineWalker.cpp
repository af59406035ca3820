// The pattern walker: cuts each segment of a polyline at the boundaries of
// the sub-line's dash pattern into the engine's point buffer, so that the
// pattern runs on across vertices, then plays the buffer or hands it to the
// decoration routine of the sub-line's kind.
#include <algorithm>
#include <cmath>
#include <new>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGeometry.h"
#include "platform/KpSaturate.h"

namespace {

// Lengths of segments may exceed 32 bits (the plane's diagonal does), so the
// integer walker rounds them into 64 bits.
long long RoundLength(double v) { return static_cast<long long>(v > 0 ? v + 0.5 : v - 0.5); }

// kp::RoundHalfAway's rounding, inlined: this runs for every boundary.
POINT Offset(POINT from, double ox, double oy) {
  return POINT{kp::RoundToLong(from.x + ox), kp::RoundToLong(from.y + oy)};
}

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

BYTE CKpLineStyleEngine::EntryType(long entry) const {
  return m_pByteSet[entry] ? PT_LINETO : PT_MOVETO;
}

// A nonzero entry never counts as shorter than one device unit, so that a
// small ratio cannot make the walk stall on tiny steps.
double CKpLineStyleEngine::EffectiveLength(long entry) const {
  const DWORD value = m_pStyleSet[entry];
  if (value == 0) return 0.0;
  const double m = value * m_dRatio;
  return m <= 1.0 ? 1.0 : m;
}

void CKpLineStyleEngine::AdvanceEntry() {
  if (++m_nStyleIndex >= m_nStyleCount) m_nStyleIndex = 0;
}

// --- walkers ---

void CKpLineStyleEngine::LineDisjunction(POINT from, POINT to) {
  m_nLastIndex = 0;
  if (m_nStyleCount <= 0 || m_pStyleSet == nullptr || m_pByteSet == nullptr || m_pPoints == nullptr)
    return;
  if (m_nStyleIndex < 0 || m_nStyleIndex >= m_nStyleCount) m_nStyleIndex = 0;
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  const long long L = RoundLength(std::sqrt(dx * dx + dy * dy));
  if (L == 0) return;

  m_pPoints[0] = from;
  m_pTypes[0] = EntryType(m_nStyleIndex);
  if (L < -m_dRemain) {  // the segment ends inside the current entry
    AppendPoint(to, EntryType(m_nStyleIndex));
    m_dRemain += static_cast<double>(L);
    return;
  }
  double ox = 0.0, oy = 0.0;
  if (m_dRemain < 0) {  // the rest of the current entry ends inside this segment
    ox = -dx * m_dRemain / static_cast<double>(L);
    oy = -dy * m_dRemain / static_cast<double>(L);
    AppendPoint(Offset(from, ox, oy), EntryType(m_nStyleIndex));
    AdvanceEntry();
  }
  m_dRemain += static_cast<double>(L);
  for (;;) {
    const double m = EffectiveLength(m_nStyleIndex);
    m_dRemain = static_cast<double>(RoundLength(m_dRemain - m));
    if (m_dRemain < 0) break;
    ox += dx * m / static_cast<double>(L);
    oy += dy * m / static_cast<double>(L);
    if (ox == 0.0 && oy == 0.0) return;  // only zero-length entries so far
    AppendPoint(Offset(from, ox, oy), EntryType(m_nStyleIndex));
    AdvanceEntry();
  }
  AppendPoint(to, EntryType(m_nStyleIndex));
}

void CKpLineStyleEngine::LineDisjunctionEx(POINT from, POINT to) {
  if (m_nStyleCount <= 0 || m_pStyleSet == nullptr || m_pByteSet == nullptr || m_pPoints == nullptr) {
    m_nLastIndex = 0;
    return;
  }
  if (m_nStyleIndex < 0 || m_nStyleIndex >= m_nStyleCount) m_nStyleIndex = 0;
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  const double L = std::sqrt(dx * dx + dy * dy);
  if (std::fabs(L) < 1e-10) return;  // buffer left as it is, so a carry survives

  // This runs once per vertex and once per boundary of every drawing, so the
  // small helpers (EntryType, EffectiveLength, AdvanceEntry, AppendPoint)
  // are spelled out here on locals; the arithmetic is theirs, unchanged.
  const DWORD* const lengths = m_pStyleSet;
  const BYTE* const flags = m_pByteSet;
  const long count = m_nStyleCount;
  const double ratio = m_dRatio;
  long entry = m_nStyleIndex;
  const auto typeOf = [flags](long e) -> BYTE { return flags[e] ? PT_LINETO : PT_MOVETO; };
  const auto append = [this](POINT p, BYTE type) {
    if (m_nLastIndex + 1 >= m_nBufferSize) {  // rare: grow, or drop at the ceiling
      AppendPoint(p, type);
      return;
    }
    ++m_nLastIndex;
    m_pPoints[m_nLastIndex] = p;
    m_pTypes[m_nLastIndex] = type;
  };

  const BYTE current = typeOf(entry);
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
    append(to, current);
    m_dRemain += L;
    return;
  }
  double ox = 0.0, oy = 0.0;
  if (m_dRemain < 0) {
    ox = -dx * m_dRemain / L;
    oy = -dy * m_dRemain / L;
    append(Offset(from, ox, oy), current);
    if (++entry >= count) entry = 0;
  }
  double remain = m_dRemain + L;
  for (;;) {
    // EffectiveLength(entry).
    const DWORD value = lengths[entry];
    double m = 0.0;
    if (value != 0) {
      m = value * ratio;
      if (m <= 1.0) m = 1.0;
    }
    remain -= m;
    if (remain < 0) break;
    ox += dx * m / L;
    oy += dy * m / L;
    if (std::fabs(ox) < 1e-10 && std::fabs(oy) < 1e-10) {
      m_dRemain = remain;
      m_nStyleIndex = entry;
      return;
    }
    append(Offset(from, ox, oy), typeOf(entry));
    if (++entry >= count) entry = 0;
  }
  m_dRemain = remain;
  m_nStyleIndex = entry;
  append(to, typeOf(entry));
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
