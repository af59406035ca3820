#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "engine/KpGeometry.h"

namespace {

using XY = std::pair<long, long>;
XY xy(const POINT& p) { return {p.x, p.y}; }

constexpr LONG kMin = INT32_MIN;
constexpr LONG kMax = INT32_MAX;
constexpr POINT kSentinel{7, 7};

TEST(Geometry, RoundingAndTruncationClampToInt32) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Row { const char* what; double v; long round, trunc; } rows[] = {
      {"positive half goes up", 2.5, 3, 2},
      {"negative half goes down", -2.5, -3, -2},
      {"zero: 0 - 0.5 truncates back to 0", 0.0, 0, 0},
      {"rounds past INT32_MAX", 2147483647.5, kMax, kMax},
      {"rounds below INT32_MIN", -2147483648.5, kMin, kMin},
      {"minus infinity", -inf, kMin, kMin},
      {"NaN has no value", nan, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(kp::RoundHalfAway(r.v), r.round);
    EXPECT_EQ(kp::Truncate(r.v), r.trunc);
  }
}

TEST(Geometry, MovingOffsets) {
  using Op = void (*)(POINT&, POINT&, long, double);
  const Op side = [](POINT& a, POINT& b, long d, double r) { kp::LineOffset(a, b, d, r); };
  const Op along = [](POINT& a, POINT& b, long d, double r) { kp::LineOffsetH(a, b, d, r); };
  const Op poly = [](POINT& a, POINT& b, long d, double) { kp::PolyLineOffset(a, b, d); };
  struct Row { const char* what; Op op; POINT a, b; long d; double r; XY wantA, wantB; } rows[] = {
      {"sideways onto the right", side, {0, 0}, {10, 0}, 5, 1, {0, 5}, {10, 5}},
      {"sideways, degenerate: unchanged", side, {3, 3}, {3, 3}, 5, 1, {3, 3}, {3, 3}},
      {"sideways past INT32_MAX saturates", side, {0, kMax - 1}, {10, kMax - 1}, 5, 1, {0, kMax}, {10, kMax}},
      {"along, scaled by the ratio", along, {0, 0}, {10, 0}, 3, 2, {6, 0}, {16, 0}},
      // L = 1.414 but Lr = 1: the step is 3 per axis, not round(2.12).
      {"along divides by the rounded length", along, {0, 0}, {1, 1}, 3, 1, {3, 3}, {4, 4}},
      // Lr = 6074000999 exceeds 32 bits; s = 1518500249.17 on each axis.
      {"along the full diagonal", along, {kMin, kMin}, {kMax, kMax}, kMax, 1,
       {kMin + 1518500249L, kMin + 1518500249L}, {kMax, kMax}},
      {"integer sideways truncates (-8/5, 6/5)", poly, {0, 0}, {3, 4}, 2, 1, {-1, 1}, {2, 5}},
      {"integer sideways, negative d truncates toward zero", poly, {0, 0}, {3, 4}, -2, 1, {1, -1}, {4, 3}},
      // d is held to 32 bits, so d*dy fits 64 bits; the move is 1518500249.
      {"integer sideways, huge d on the diagonal", poly, {kMin, kMin}, {kMax, kMax}, LONG_MAX, 1,
       {kMin, kMin + 1518500249L}, {kMax - 1518500249L, kMax}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    POINT a = r.a, b = r.b;
    r.op(a, b, r.d, r.r);
    EXPECT_EQ(xy(a), r.wantA);
    EXPECT_EQ(xy(b), r.wantB);
  }
}

TEST(Geometry, OffsetVectors) {
  using Op = void (*)(const POINT&, const POINT&, long, double, POINT&);
  const Op side = [](const POINT& a, const POINT& b, long d, double r, POINT& o) { kp::LineOffset(a, b, d, r, o); };
  const Op along = [](const POINT& a, const POINT& b, long d, double r, POINT& o) { kp::LineOffsetH(a, b, d, r, o); };
  // The combined form must agree with the two single ones.
  const Op hvV = [](const POINT& a, const POINT& b, long d, double r, POINT& o) {
    POINT h = kSentinel;
    kp::LineOffsetHV(a, b, d, 99, r, o, h);
  };
  const Op hvH = [](const POINT& a, const POINT& b, long d, double r, POINT& o) {
    POINT v = kSentinel;
    kp::LineOffsetHV(a, b, 99, d, r, v, o);
  };
  // The free-standing perpendicular point; it has no ratio.
  const Op point = [](const POINT& a, const POINT& b, long d, double, POINT& o) { o = kp::GetPointWithVDist(a, b, d); };
  struct Row { const char* what; Op op; POINT a, b; long d; double r; XY want; } rows[] = {
      {"perpendicular of +x is +y", side, {0, 0}, {10, 0}, 5, 1, {0, 5}},
      {"perpendicular of +y is -x", side, {0, 0}, {0, 10}, 5, 1, {-5, 0}},
      {"degenerate gives (0, 0)", side, {4, 4}, {4, 4}, 5, 1, {0, 0}},
      {"2.5 rounds away from zero", side, {0, 0}, {10, 0}, 5, 0.5, {0, 3}},
      {"-2.5 rounds away from zero", side, {0, 0}, {10, 0}, -5, 0.5, {0, -3}},
      {"huge ratio saturates", side, {0, 0}, {10, 0}, 5, 1e12, {0, kMax}},
      // 2147483647 / sqrt(2) = 1518500249.28
      {"full diagonal", side, {kMin, kMin}, {kMax, kMax}, kMax, 1, {-1518500249L, 1518500249L}},
      {"along, scaled by the ratio", along, {0, 0}, {10, 0}, 3, 2, {6, 0}},
      {"along uses the exact length", along, {0, 0}, {1, 1}, 3, 1, {2, 2}},
      {"along, degenerate leaves out", along, {4, 4}, {4, 4}, 3, 1, {7, 7}},
      {"combined, vertical part", hvV, {0, 0}, {0, 10}, 5, 1, {-5, 0}},
      {"combined, horizontal part", hvH, {0, 0}, {10, 0}, 3, 2, {6, 0}},
      {"point right of +x", point, {1, 1}, {11, 1}, 5, 1, {1, 6}},
      {"point, degenerate returns A", point, {1, 1}, {1, 1}, 5, 1, {1, 1}},
      {"point saturates at the edge", point, {0, kMax}, {10, kMax}, 5, 1, {0, kMax}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    POINT out = kSentinel;
    r.op(r.a, r.b, r.d, r.r, out);
    EXPECT_EQ(xy(out), r.want);
  }
}

TEST(Geometry, Angles) {
  struct Row { const char* what; POINT a, b; bool flagged; long flags; long want; } rows[] = {
      {"down the y axis", {0, 0}, {0, 10}, false, 0, 900},
      {"towards -x is +1800", {0, 0}, {-10, 0}, false, 0, 1800},
      {"up and right", {0, 0}, {10, -10}, false, 0, -450},
      {"across the whole plane", {kMin, kMin}, {kMax, kMax}, false, 0, 450},
      {"mirrored x plus 100", {0, 0}, {10, 0}, true, 0x10000 + 100, -800},
      // -1: the high half is set (mirror) and the low half adds 65535 unsigned.
      {"all flag bits set", {0, 0}, {10, 0}, true, -1, 65535 - 900},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(r.flagged ? kp::CalcuAngle(r.a, r.b, r.flags) : kp::CalcuAngle(r.a, r.b), r.want);
  }
}

TEST(Geometry, PolylineLength) {
  const POINT pts[] = {{0, 0}, {3, 4}, {3, 10}};
  const POINT wide[] = {{kMin, kMin}, {kMax, kMax}, {kMin, kMin}};
  const double diagonal = std::sqrt(2.0) * 4294967295.0;
  EXPECT_DOUBLE_EQ(kp::CalcuLength(pts, 3), 11.0);
  EXPECT_EQ(kp::CalcuLength(nullptr, 3), 0.0);
  EXPECT_EQ(kp::CalcuLength(pts, 1), 0.0);
  EXPECT_DOUBLE_EQ(kp::CalcuLength(wide, 3), 2 * diagonal);
}

TEST(Geometry, MiddlePointStaysInsideThePolyline) {
  using Pts = std::vector<POINT>;
  const Pts corner = {{0, 0}, {10, 0}, {10, 10}};
  // Points live on the heap, exactly n of them, so a read past the end trips ASan.
  struct Row { const char* what; Pts pts; long shift; XY want; long ret; } rows[] = {
      {"middle on the corner vertex", corner, 0, {10, 0}, 0},
      {"half the shift beyond the middle", corner, 4, {10, 2}, 1},
      // t = 10.5 truncates to the vertex that also ends segment 0.
      {"just past a vertex reports the segment it ends", corner, 1, {10, 0}, 0},
      {"shift -length: first point, segment 0", corner, -20, {0, 0}, 0},
      {"huge positive shift stops at the end", corner, LONG_MAX, {10, 10}, 1},
      {"huge negative shift stops at the start", corner, LONG_MIN, {0, 0}, 0},
      {"all points equal", {{5, 5}, {5, 5}, {5, 5}}, 100, {5, 5}, 0},
      {"single point", {{5, 6}}, 100, {5, 6}, 0},
      // Half of 6074000998.5 is 3037000499; A + f/L * (B - A) = -0.69 each.
      {"segment across the whole plane", {{kMin, kMin}, {kMax, kMax}}, 0, {-1, -1}, 0},
      {"huge shift on the wide segment", {{kMin, kMin}, {kMax, kMax}}, LONG_MAX, {kMax, kMax}, 0},
      {"no points", {}, 0, {7, 7}, -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    POINT out = kSentinel;
    const long n = static_cast<long>(r.pts.size());
    EXPECT_EQ(kp::CalMidiumPoint(n ? r.pts.data() : nullptr, n, out, r.shift), r.ret);
    EXPECT_EQ(xy(out), r.want);
  }
}

TEST(Geometry, ExtendAlongSegment) {
  struct Row { const char* what; POINT a, b; long d; int ret; XY want; } rows[] = {
      {"negative d goes back beyond A", {0, 0}, {10, 0}, -5, 1, {-5, 0}},
      {"truncates (4.2, 5.6), does not round", {0, 0}, {3, 4}, 7, 1, {4, 5}},
      {"truncates toward zero backwards", {0, 0}, {3, 4}, -7, 1, {-4, -5}},
      {"degenerate fails", {2, 2}, {2, 2}, 5, 0, {7, 7}},
      {"d = 0 succeeds without touching out", {0, 0}, {10, 0}, 0, 1, {7, 7}},
      {"huge d saturates", {0, 0}, {1, 0}, LONG_MAX, 1, {kMax, 0}},
      {"across the whole plane", {kMax, kMax}, {kMin, kMin}, 10, 1, {kMax - 7, kMax - 7}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    POINT out = kSentinel;
    EXPECT_EQ(kp::CalExtandPoint(r.a, r.b, r.d, out), r.ret);
    EXPECT_EQ(xy(out), r.want);
  }
}

TEST(Geometry, LineCircleIntersection) {
  const double inf = std::numeric_limits<double>::infinity();
  const double h = 5 / std::sqrt(2.0);
  struct Row { const char* what; double k, radius, direction; double x, y; } rows[] = {
      {"horizontal, larger x", 0, 5, 1, 6, 2},
      {"negative direction: smaller x", 0, 5, -1, -4, 2},
      {"negative radius is a radius", -1, -5, 1, 1 + h, 2 - h},
      {"vertical line, larger y", inf, 5, 1, 1, 7},
      {"steep slope does not overflow", 1e300, 5, 1, 1, 7},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const CPoint2D p = kp::GetXCoorToConstPoint(r.k, POINT{1, 2}, r.radius, r.direction);
    EXPECT_NEAR(p.x, r.x, 1e-9);
    EXPECT_NEAR(p.y, r.y, 1e-9);
  }
}

}  // namespace
