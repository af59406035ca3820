// Electric segment lines (kinds 39..42) and the end repair of dashed lines.
//
// The electric kinds mark every polyline segment near its ends instead of
// following the dash pattern: the pattern's first entry is only the step T,
// the distance of each mark from its segment end. A segment gets a mark at
// its start when it is longer than one step and one at each end when it is
// longer than two, so short segments stay clean instead of getting crossed
// marks.
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGeometry.h"
#include "platform/CBrush.h"
#include "platform/KpSaturate.h"

namespace {

using Int64 = std::int64_t;

constexpr short kElectric = 39;
constexpr short kElectricMiddle = 40;
constexpr short kElectricSpecial = 41;
constexpr short kElectricCircles = 42;
constexpr long kOpenArrow = 1;

// The repaired end is at most this long, in device units.
constexpr Int64 kMendLength = 10;

// Below this |k + 1| the interpolation form of GetPointWithDist divides the
// rounding error of k P + Q (coordinates reach 2^31) by so little that the
// point can land a unit off; the direct form has no such division. Only
// points more than 16 times the segment's length beyond its end use it.
constexpr double kWellConditioned = 1.0 / 16;

// A 64-bit value as a `long` argument of the engine's routines.
long ToLongArg(Int64 v) {
  constexpr Int64 lo = std::numeric_limits<long>::min();
  constexpr Int64 hi = std::numeric_limits<long>::max();
  return static_cast<long>(v < lo ? lo : (v > hi ? hi : v));
}

// The point at distance d from P towards Q, in the interpolation form
// ((k P + Q) / (k + 1), k = (D - d) / d) rounded half away from zero. P == Q
// has no direction and gives P. Where k + 1 nearly vanishes (|d| far beyond
// D) the same point is taken as P + (Q - P) d / D instead.
POINT PointWithDist(const POINT& P, const POINT& Q, long d) {
  if (d == 0) return P;
  const double D = kp::SegmentLength(P, Q);
  if (D < 1e-10) return P;
  const double dd = static_cast<double>(d);
  const double k = (D - dd) / dd;
  if (std::isfinite(k) && std::fabs(k + 1) >= kWellConditioned) {
    return POINT{kp::RoundToLong((k * P.x + Q.x) / (k + 1)), kp::RoundToLong((k * P.y + Q.y) / (k + 1))};
  }
  const double t = dd / D;
  return POINT{kp::RoundToLong(P.x + static_cast<double>(Int64{Q.x} - Int64{P.x}) * t),
               kp::RoundToLong(P.y + static_cast<double>(Int64{Q.y} - Int64{P.y}) * t)};
}

// The sizes of an electric figure in device units.
struct ElectricSizes {
  long step;  // T: distance of a mark from its segment end
  long head;  // H: length and width of the open arrowheads
};

ElectricSizes SizesOf(const CKpLineStyleBase& sub, double ratio) {
  return ElectricSizes{ToLongArg(kp::RoundWide(static_cast<double>(sub.GetAt(0)) * ratio)),
                       ToLongArg(kp::RoundWide(sub.m_nHVLength * ratio))};
}

// Whether the routine of `kind` may draw at all: its own kind, a step to
// read and a polyline with at least one segment.
bool IsDrawable(const CKpLineStyleBase* sub, const POINT* pts, long n, short kind) {
  return sub != nullptr && pts != nullptr && n >= 2 && sub->m_nHVMode == kind && sub->Count() > 0;
}

enum class Marks { None, StartOnly, BothEnds };

// The ends of P-Q that carry a mark, by the segment's length in steps. A zero
// step would put zero-length marks on the vertices, so it marks nothing.
Marks MarksOf(const POINT& P, const POINT& Q, long step) {
  if (step == 0) return Marks::None;
  const double q = kp::SegmentLength(P, Q) / static_cast<double>(step);
  if (q > 2) return Marks::BothEnds;
  if (q > 1) return Marks::StartOnly;
  return Marks::None;
}

// Calls mark(X, Y) for every marked end X of the segments of pts, with Y its
// near point one step towards the other end: segment by segment, the start
// before the end. With firstOnly, only the first segment is visited and only
// its start can be marked.
template <typename Mark>
void ForEachMark(CKpLineStyleEngine& e, POINT* pts, long n, long step, bool firstOnly, Mark mark) {
  const long last = firstOnly ? 1 : n - 1;
  for (long i = 0; i < last; ++i) {
    POINT P = pts[i], Q = pts[i + 1];
    const Marks m = MarksOf(P, Q, step);
    if (m == Marks::None) continue;
    mark(P, POINT(e.GetPointWithDist(P, Q, step)));
    if (m == Marks::BothEnds && !firstOnly) mark(Q, POINT(e.GetPointWithDist(Q, P, step)));
  }
}

// Puts the previous brush back so that `made` can be deleted; should that
// fail, the stock brush goes in, as a context must never keep a deleted one.
void ReleaseBrush(CDC& dc, CBrush* previous, CBrush& made) {
  if (dc.GetCurrentBrush() == &made && (previous == nullptr || dc.SelectObject(previous) == nullptr))
    dc.SelectStockObject(WHITE_BRUSH);
  made.DeleteObject();
}

}  // namespace

void CKpLineStyleEngine::DrawElectric(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (!IsDrawable(sub, pts, n, kElectric)) return;
  const ElectricSizes s = SizesOf(*sub, m_dRatio);
  ForEachMark(*this, pts, n, s.step, false, [&](POINT X, POINT Y) {
    MoveTo(X);
    LineTo(Y);
    DrawArrow(X, Y, s.head, s.head, kOpenArrow);
  });
}

void CKpLineStyleEngine::DrawElectricEx(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (!IsDrawable(sub, pts, n, kElectricMiddle)) return;
  const ElectricSizes s = SizesOf(*sub, m_dRatio);
  // The middle line runs through the vertices, so the heads sit on it.
  MoveTo(pts[0]);
  for (long i = 1; i < n; ++i) LineTo(pts[i]);
  ForEachMark(*this, pts, n, s.step, false,
              [&](POINT X, POINT Y) { DrawArrow(X, Y, s.head, s.head, kOpenArrow); });
}

void CKpLineStyleEngine::DrawElectricSpecial(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (!IsDrawable(sub, pts, n, kElectricSpecial)) return;
  const ElectricSizes s = SizesOf(*sub, m_dRatio);
  ForEachMark(*this, pts, n, s.step, true, [&](POINT X, POINT Y) {
    MoveTo(X);
    LineTo(Y);
    DrawArrow(X, Y, s.head, s.head, kOpenArrow);
  });
}

void CKpLineStyleEngine::DrawElectricEx2(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr) return;
  // Halved before rounding, so a height of 5 gives a radius of 3, not 2.
  DrawElectricCircles(sub, pts, n, kp::RoundWide(sub->m_nHVLength * m_dRatio / 2));
}

// The driver sizes its circles from the rounded mark size instead: half of
// round(h * ratio), rounded again. Both agree at ratio 1.
void CKpLineStyleEngine::DrawElectricCircles(CKpLineStyleBase* sub, POINT* pts, long n, long long R) {
  if (!IsDrawable(sub, pts, n, kElectricCircles) || m_pDC == nullptr) return;
  const ElectricSizes s = SizesOf(*sub, m_dRatio);
  CBrush fill;
  fill.CreateSolidBrush(sub->m_clrCurrent);
  CBrush* previous = m_pDC->SelectObject(&fill);
  ForEachMark(*this, pts, n, s.step, false, [&](POINT, POINT Y) {
    m_pDC->Ellipse(kp::SaturateToLong(Int64{Y.x} - R), kp::SaturateToLong(Int64{Y.y} + R),
                   kp::SaturateToLong(Int64{Y.x} + R), kp::SaturateToLong(Int64{Y.y} - R));
  });
  ReleaseBrush(*m_pDC, previous, fill);
}

CPoint CKpLineStyleEngine::GetPointWithDist(POINT& P, POINT& Q, long d) {
  return CPoint(PointWithDist(P, Q, d));
}

// The walker leaves the end of a dashed line unplayed; this draws the last
// up to ten units of the last segment solid, on the sub-line's own offset,
// so that the line visibly reaches its last vertex.
void CKpLineStyleEngine::MendDiscardInfo(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr || pts == nullptr || n < 2) return;
  const POINT V = pts[n - 2];
  POINT end = pts[n - 1];
  POINT start = V;
  const double D = kp::SegmentLength(V, end);
  if (kp::RoundWide(D) >= kMendLength + 1) {
    // The point ten units back from the end: (k U + V) / (k + 1) with
    // k = (D - 10) / 10, so k + 1 = D / 10 > 1.
    const double k = (D - static_cast<double>(kMendLength)) * 0.1;
    start = POINT{kp::RoundToLong((k * end.x + V.x) / (k + 1)), kp::RoundToLong((k * end.y + V.y) / (k + 1))};
  }
  // Both ends move sideways together; a stroke without length stays put.
  if (sub->m_nVertOffset != 0) kp::LineOffset(start, end, sub->m_nVertOffset, m_dRatio);
  MoveTo(start);
  LineTo(end);
}
