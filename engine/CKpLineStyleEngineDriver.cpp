// The sub-line driver: draws one sub-line along a polyline with its start
// offset along the line, its sideways offset, its dash pattern and
// decoration, the end repairs, and the kinds that draw themselves (electric,
// double and tapered lines).
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGeometry.h"
#include "platform/KpSaturate.h"

namespace {

bool Same(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// Kinds walked with the integer walker: their figures are drawn from the
// segment's own start, so a carried boundary would only get in the way.
bool UsesIntegerWalker(int kind) {
  return kind == 14 || kind == 15 || (kind >= 21 && kind <= 24);
}

bool AllEntriesZero(const CKpLineStyleBase& sub) {
  for (long i = 0; i < sub.Count(); ++i)
    if (sub.GetAt(i) != 0) return false;
  return true;
}

POINT Add(const POINT& p, const POINT& w, int s) {
  return POINT{kp::SaturateToLong(std::int64_t{p.x} + s * std::int64_t{w.x}),
               kp::SaturateToLong(std::int64_t{p.y} + s * std::int64_t{w.y})};
}

// The start offset's walk along the polyline: the segment in which the
// offset u (device units) ends, and how much of u is left for it.
struct StartWalk {
  long skipped;  // segments passed whole
  double rest;   // what remains of u inside the segment reached
};

StartWalk WalkStartOffset(const POINT* pts, long n, double u) {
  StartWalk w{0, u};
  for (long k = 1; k < n; ++k) {
    const double len = kp::SegmentLength(pts[k - 1], pts[k]);
    if (len > w.rest) break;
    w.rest -= len;
    ++w.skipped;
  }
  return w;
}

}  // namespace

// --- pointer form ---

void CKpLineStyleEngine::ActPolyLine(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr || pts == nullptr || n < 2) return;
  m_dRemain = 0.0;
  m_nLastIndex = 0;
  m_nStyleIndex = 0;
  m_nFirstSegment = 1;
  m_pLineStyleBase = sub;
  m_ptLast = pts[n - 1];
  m_ptBeforeLast = pts[n - 2];
  if (sub->m_nRepeatMode == 1) {
    DrawSpecialKind(sub, pts, n);
    return;
  }
  const int kind = sub->m_nHVMode;
  const WalkScope bounded(*this, sub, n);

  // 1. Start offset: find the segment it ends in and move that segment's start there.
  POINT S = pts[0], E = pts[1];
  long s = 0;
  const double u = sub->m_nHorizOffset * m_dRatio;
  if (sub->m_nHorizOffset != 0) {
    const StartWalk walk = WalkStartOffset(pts, n, u);
    s = walk.skipped;
    const long k = std::min(s + 1, n - 1);
    S = pts[k - 1];
    E = pts[k];
    LineOffsetH(&S, &E, kp::RoundHalfAway(walk.rest / m_dRatio));
    if (s == n - 1) return;  // the offset reaches the end of the line
  }

  // 2-3. The drawing list, replaced by its parallel for a plain offset line.
  POINT* list = pts + s;
  long m = n - s;
  const long D = sub->m_nVertOffset;
  std::vector<CPoint> parallel;
  if (D != 0 && kind == 0) {
    if (!ParallelLineEx(list, static_cast<int>(m), D, parallel) || parallel.empty()) return;
    list = parallel.data();
    m = static_cast<long>(parallel.size());
    LineOffset(&S, &E, D);
  }

  // 4.
  MoveTo(S);

  if (sub->GetUserStyle() == 1) {
    // 5. Walk the pattern segment by segment; it runs on across vertices.
    if (AllEntriesZero(*sub)) return;
    for (long i = 1; i < m; ++i) {
      const POINT Q = list[i];
      if (Same(Q, S)) continue;
      POINT a = S, b = Q;
      if (D != 0 && kind != 0) LineOffset(&a, &b, D);
      if (UsesIntegerWalker(kind))
        LineDisjunction(a, b);
      else
        LineDisjunctionEx(a, b);
      if (kind != 0) {
        POINT v{0, 0};
        LineOffset(&a, &b, sub->m_nHVLength, &v);
        DrawLine(static_cast<short>(kind), &v);
      } else {
        DrawSegments();
      }
      S = Q;
    }
    if (sub->CanHorizRepair()) {
      DrawSegmentsRepair();
      MendDiscardInfo(sub, pts, n);
    }
    if (sub->CanVertRepair()) DrawEndTick(sub, pts, n);
    return;
  }

  // 6. No pattern: one polyline, starting at the moved start point. The
  // caller's points are never written (they may be shared or constant), so
  // a moved start is drawn from a copy.
  if (std::fabs(u) < 1e-10) {
    Polyline(list, static_cast<int>(m));
    return;
  }
  if (parallel.empty()) parallel.assign(list, list + m);
  parallel[0] = CPoint(S);
  Polyline(parallel.data(), static_cast<int>(m));
}

// The end tick of the tick kinds 1 to 3 (vertical repair): a tick at the
// last vertex, and on a two-point line shorter than the first dash also one
// at its middle, so that even a short line shows its kind.
void CKpLineStyleEngine::DrawEndTick(CKpLineStyleBase* sub, POINT* pts, long n) {
  POINT A = m_ptBeforeLast, B = m_ptLast;
  if (Same(A, B)) {
    long k = n - 3;
    while (k >= 0 && Same(pts[k], B)) --k;
    if (k < 0) return;
    A = pts[k];
  }
  if (sub->m_nVertOffset != 0) LineOffset(&A, &B, sub->m_nVertOffset);
  POINT w{0, 0};
  LineOffset(&A, &B, sub->m_nHVLength, &w);
  const int kind = sub->m_nHVMode;
  auto tick = [&](const POINT& p) {
    const POINT from = kind == 3 ? p : Add(p, w, 1);
    const POINT to = kind == 2 ? p : Add(p, w, -1);
    MoveTo(from);
    LineTo(to);
  };
  tick(B);
  if (n == 2 && sub->Count() > 0 &&
      kp::RoundWide(kp::SegmentLength(m_ptBeforeLast, m_ptLast)) < sub->GetAt(0)) {
    const POINT M{static_cast<LONG>((std::int64_t{A.x} + B.x) / 2),
                  static_cast<LONG>((std::int64_t{A.y} + B.y) / 2)};
    tick(M);
  }
}

// Kinds that draw themselves rather than through the pattern walker.
void CKpLineStyleEngine::DrawSpecialKind(CKpLineStyleBase* sub, POINT* pts, long n) {
  switch (sub->m_nHVMode) {
    case 39: DrawElectric(sub, pts, n); break;
    case 40: DrawElectricEx(sub, pts, n); break;
    case 41: DrawElectricSpecial(sub, pts, n); break;
    case 42:
      // Half of the rounded mark size, rounded: kind 42's circles as the driver sizes them.
      DrawElectricCircles(sub, pts, n, kp::RoundWide(kp::RoundWide(sub->m_nHVLength * m_dRatio) / 2.0));
      break;
    case 43: case 44: case 45: DrawParallelKind(sub, pts, n, sub->m_nHVMode); break;
    case 46: DrawGradientLine(sub, pts, n); break;
    default: break;
  }
}

// --- reference form ---

void CKpLineStyleEngine::ActPolyLine(CKpLineStyleBase& sub, POINT* pts, long n) {
  if (pts == nullptr || n < 2) return;
  m_dRemain = 0.0;
  m_nLastIndex = 0;
  m_nStyleIndex = 0;
  m_nFirstSegment = 1;
  m_pLineStyleBase = &sub;
  m_ptLast = pts[n - 1];
  m_ptBeforeLast = pts[n - 2];
  const int kind = sub.m_nHVMode;
  if (sub.m_nRepeatMode == 1) {
    switch (kind) {
      case 39: DrawElectric(&sub, pts, n); break;
      case 40: DrawElectricEx(&sub, pts, n); break;
      case 41: DrawElectricSpecial(&sub, pts, n); break;
      case 42: DrawElectricEx2(&sub, pts, n); break;
      default: break;
    }
    return;
  }
  const WalkScope bounded(*this, &sub, n);
  const long D = sub.m_nVertOffset;
  const bool walk = sub.GetUserStyle() == 1;
  for (long i = 0; i + 1 < n; ++i) {
    POINT a = pts[i], b = pts[i + 1];
    // The start offset moves the first segment only.
    if (i == 0 && sub.m_nHorizOffset != 0) LineOffsetH(&a, &b, sub.m_nHorizOffset);
    if (D != 0) LineOffset(&a, &b, D);
    if (i == 0)
      MoveTo(a);
    else if (!walk)
      LineTo(a);
    if (!walk) {
      LineTo(b);
      continue;
    }
    LineDisjunction(a, b);
    if (kind != 0) {
      POINT v{0, 0};
      LineOffset(&a, &b, sub.m_nHVLength, &v);
      DrawLine(static_cast<short>(kind), &v);
    } else {
      DrawSegments();
    }
  }
  if (kind == 0 && D == 0) MendDiscardInfo(&sub, pts, n);
}

// --- polygons ---

void CKpLineStyleEngine::ActPolyGon(CKpLineStyleObj*, POINT* pts, long n) {
  Polygon(pts, static_cast<int>(std::min<long>(n, 0x7FFFFFFF)));
}

void CKpLineStyleEngine::ActPolyLineDirect(POINT*, long, long) {}
