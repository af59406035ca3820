// Geometry at the edges of the 32-bit plane: every helper gives what exact
// arithmetic gives for the same formula (long double here, integers in 128
// bits), rounded the engine's way and saturated to 32 bits. The helpers
// compute in doubles, so where the exact value lies within a double's
// resolution of a rounding boundary (a segment one unit off level across the
// whole plane is 1e-10 longer than its run) either neighbour is right.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpArrowGeometry.h"
#include "engine/KpGeometry.h"
#include "engine/KpParallelGeometry.h"
#include "platform/CRecordingDC.h"

namespace {

using Wide = long double;

LONG Sat(Wide v) { return v >= INT_MAX ? INT_MAX : (v <= INT_MIN ? INT_MIN : static_cast<LONG>(v)); }
LONG Sat(__int128 v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<LONG>(v)); }
// The engine's rounding: half away from zero.
Wide RoundWide(Wide v) { return v > 0 ? std::floor(v + 0.5L) : std::ceil(v - 0.5L); }

// What a double computation of `exact` (from terms of about `scale`) may
// carry as error: a few roundings of 2^-53 each.
Wide Slack(Wide exact, Wide scale) { return (std::fabs(exact) + std::fabs(scale) + 1) * 0x1p-48L; }

// `got` is base + f(exact) saturated, f rounding (or truncating) the engine's
// way; near a boundary either neighbour.
void ExpectNear(LONG got, Wide base, Wide exact, Wide scale, bool truncate) {
  const Wide slack = Slack(exact, scale);
  const auto f = [&](Wide v) { return Sat(base + (truncate ? std::trunc(v) : RoundWide(v))); };
  const LONG lo = f(exact - slack), hi = f(exact + slack);
  if (lo == hi)
    EXPECT_EQ(got, lo) << "exact " << static_cast<double>(exact);
  else
    EXPECT_TRUE(got == lo || got == hi) << got << " for exact " << static_cast<double>(exact);
}
void ExpectRounded(LONG got, Wide exact, Wide scale = 0) { ExpectNear(got, 0, exact, scale, false); }

struct Seg {
  const char* what;
  POINT a, b;
  Wide dx() const { return static_cast<Wide>(b.x) - a.x; }
  Wide dy() const { return static_cast<Wide>(b.y) - a.y; }
  Wide L() const { return std::sqrt(dx() * dx() + dy() * dy()); }
};

const Seg kSegments[] = {
    {"corner to corner", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
    {"the other diagonal", {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}},
    {"across, nearly level", {INT_MIN, 0}, {INT_MAX, 1}},
    {"down, nearly upright", {0, INT_MIN}, {3, INT_MAX}},
    {"short, at the far corner", {INT_MAX - 10, INT_MAX - 7}, {INT_MAX, INT_MAX}},
    {"3-4-5 at the near corner", {INT_MIN, INT_MIN}, {INT_MIN + 3, INT_MIN + 4}},
    {"anywhere, long", {-1234567891, 2023456789}, {2111222333, -1999888777}},
};
const long kOffsets[] = {1, -7, 1000003, INT_MAX, INT_MIN};
const double kRatios[] = {1.0, 0.37, 2.5};

void ExpectPoint(const POINT& got, LONG x, LONG y) {
  EXPECT_EQ(got.x, x);
  EXPECT_EQ(got.y, y);
}

// Rounded real coordinates, exact values given.
void ExpectRoundedPoint(const POINT& got, Wide x, Wide y, Wide scale) {
  ExpectRounded(got.x, x, scale);
  ExpectRounded(got.y, y, scale);
}

TEST(NumericSafety, OffsetsAtThePlanesEdgesMatchExactArithmetic) {
  for (const Seg& s : kSegments) {
    for (long d : kOffsets) {
      for (double r : kRatios) {
        SCOPED_TRACE(testing::Message() << s.what << ", offset " << d << ", ratio " << r);
        const Wide D = d, R = r, L = s.L();
        const Wide reach = std::fabs(D * R) + std::fabs(Wide(s.a.x)) + std::fabs(Wide(s.a.y));
        // Sideways vector, and both ends moved by it.
        POINT v{0, 0};
        kp::LineOffset(s.a, s.b, d, r, v);
        ExpectRoundedPoint(v, -D * R * s.dy() / L, D * R * s.dx() / L, reach);
        POINT A = s.a, B = s.b;
        kp::LineOffset(A, B, d, r);
        const Wide ex = -D * R * s.dy() / L, ey = D * R * s.dx() / L;
        ExpectRoundedPoint(A, s.a.x + ex, s.a.y + ey, reach);
        ExpectRoundedPoint(B, s.b.x + ex, s.b.y + ey, reach);
        // Along the segment: the moving form measures with the rounded length.
        POINT h{0, 0};
        kp::LineOffsetH(s.a, s.b, d, r, h);
        ExpectRoundedPoint(h, D * s.dx() * R / L, D * s.dy() * R / L, reach);
        A = s.a;
        B = s.b;
        kp::LineOffsetH(A, B, d, r);
        const Wide Lr = std::floor(L + 0.5L);
        ExpectNear(A.x, s.a.x, D * s.dx() * R / Lr, reach, false);
        ExpectNear(A.y, s.a.y, D * s.dy() * R / Lr, reach, false);
        POINT hv{0, 0}, hh{0, 0};
        kp::LineOffsetHV(s.a, s.b, d, -d, r, hv, hh);
        EXPECT_EQ(hv.x, v.x);
        ExpectRounded(hh.y, -D * s.dy() * R / L, reach);
        // The integer sideways move divides exactly, truncating.
        A = s.a;
        B = s.b;
        kp::PolyLineOffset(A, B, d);
        const __int128 lr = static_cast<__int128>(Lr);
        const __int128 mx = -(static_cast<__int128>(d) * (static_cast<__int128>(s.b.y) - s.a.y)) / lr;
        const __int128 my = (static_cast<__int128>(d) * (static_cast<__int128>(s.b.x) - s.a.x)) / lr;
        ExpectPoint(A, Sat(s.a.x + mx), Sat(s.a.y + my));
        // A point d units from A towards B (or beyond either end).
        POINT e{0, 0};
        ASSERT_EQ(kp::CalExtandPoint(s.a, s.b, d, e), 1);
        ExpectNear(e.x, s.a.x, D * s.dx() / L, reach, true);
        ExpectNear(e.y, s.a.y, D * s.dy() / L, reach, true);
      }
    }
  }
}

TEST(NumericSafety, AnglesLengthsAndMiddlesAtThePlanesEdgesMatchExactArithmetic) {
  const Wide kPi = 3.14159265L;  // the engine's own
  for (const Seg& s : kSegments) {
    SCOPED_TRACE(s.what);
    ExpectRounded(kp::CalcuAngle(s.a, s.b), std::atan2(s.dy(), s.dx()) * 1800 / kPi, 1800);
    ExpectNear(kp::CalcuAngle(s.a, s.b, 0x10000 + 300), 300, std::atan2(-s.dx(), s.dy()) * 1800 / kPi, 1800,
               false);
    const POINT pts[3] = {s.a, s.b, s.a};
    const Wide there = s.L();
    EXPECT_NEAR(kp::CalcuLength(pts, 3), static_cast<double>(2 * there), static_cast<double>(there) * 1e-15);
    // The middle of there and back again is the far end.
    POINT mid{0, 0};
    EXPECT_EQ(kp::CalMidiumPoint(pts, 3, mid, 0), 0);
    ExpectPoint(mid, s.b.x, s.b.y);
    // A quarter of the way, by a shift of minus half the length.
    POINT quarter{0, 0};
    const POINT two[2] = {s.a, s.b};
    kp::CalMidiumPoint(two, 2, quarter, static_cast<long>(-std::floor(there / 2)));
    const Wide f = std::trunc((there - std::floor(there / 2)) * 0.5L);
    ExpectRoundedPoint(quarter, s.a.x + s.dx() * f / there, s.a.y + s.dy() * f / there, there);
  }
}

TEST(NumericSafety, PointsAlongSegmentsAtThePlanesEdgesMatchExactArithmetic) {
  CKpLineStyleEngine engine;
  for (const Seg& s : kSegments) {
    for (long a : {0L, 1L, 15L, 1000003L, static_cast<long>(INT_MAX)}) {
      SCOPED_TRACE(testing::Message() << s.what << ", " << a);
      const Wide A = a, L = s.L();
      POINT P = s.a, Q = s.b;
      // The electric lines' near point, a units from P (or beyond Q).
      if (a != 0) {
        const CPoint near = engine.GetPointWithDist(P, Q, a);
        ExpectRoundedPoint(near, s.a.x + s.dx() * A / L, s.a.y + s.dy() * A / L, L);
      }
      // Arrows of the dashes: a/2 beyond and before the middle.
      const Wide beyond = (L + A) / (2 * L), before = (L - A) / (2 * L);
      ExpectRoundedPoint(kp::PointBeyondMiddle(P, Q, a), s.a.x + s.dx() * beyond, s.a.y + s.dy() * beyond, L + A);
      ExpectRoundedPoint(kp::PointBeforeMiddle(P, Q, a), s.a.x + s.dx() * before, s.a.y + s.dy() * before, L + A);
    }
  }
}

TEST(NumericSafety, ParallelsAndBandsAtThePlanesEdgesMatchExactArithmetic) {
  for (const Seg& s : kSegments) {
    for (long d : {1L, 40L, -1000003L}) {
      SCOPED_TRACE(testing::Message() << s.what << ", " << d);
      const POINT pts[2] = {s.a, s.b};
      const Wide L = s.L(), nx = -s.dy() / L, ny = s.dx() / L;
      const Wide reach = std::fabs(Wide(d)) + std::fabs(Wide(s.a.x)) + std::fabs(Wide(s.a.y));
      std::vector<CPoint> line;
      ASSERT_TRUE(kp::ParallelLineEx(pts, 2, d, 1.0, line));
      ASSERT_EQ(line.size(), 2u);
      // The ends moved by the offset normal, the sums truncated.
      ExpectNear(line[0].x, 0, s.a.x + d * nx, reach, true);
      ExpectNear(line[0].y, 0, s.a.y + d * ny, reach, true);
      ExpectNear(line[1].x, 0, s.b.x + d * nx, reach, true);
      ExpectNear(line[1].y, 0, s.b.y + d * ny, reach, true);
      // A band from half-width |d| to 2|d|: each offset component rounded.
      std::vector<CPoint> up, down;
      const long half = d < 0 ? -d : d;
      ASSERT_EQ(kp::MultiLine(pts, 2, half, 2 * half, 1.0, up, down), 1);
      ASSERT_EQ(up.size(), 2u);
      ExpectNear(up[0].x, s.a.x, half * nx, reach, false);
      ExpectNear(up[0].y, s.a.y, half * ny, reach, false);
      ExpectNear(down[1].x, s.b.x, -2 * half * nx, reach, false);
      ExpectNear(down[1].y, s.b.y, -2 * half * ny, reach, false);
    }
  }
}

// Sums of coordinates saturate rather than wrap.
TEST(NumericSafety, RectangleAndPointSumsSaturate) {
  const CRect plane(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(plane.Width(), INT_MAX);
  EXPECT_EQ(CRect(INT_MAX, 0, INT_MIN, 1).Width(), INT_MIN);
  CRect moved(INT_MAX - 5, INT_MIN + 5, INT_MAX, INT_MIN + 9);
  moved.OffsetRect(10, -10);
  EXPECT_EQ(moved, CRect(INT_MAX, INT_MIN, INT_MAX, INT_MIN));
  CRect grown(0, 0, 10, 10);
  grown.InflateRect(INT_MAX, INT_MAX);
  EXPECT_EQ(grown, CRect(-INT_MAX, -INT_MAX, INT_MAX, INT_MAX));
  const POINT step{1, -1};
  ExpectPoint(CPoint(INT_MAX, INT_MIN) + step, INT_MAX, INT_MIN);
  ExpectPoint(CPoint(INT_MIN, INT_MAX) - step, INT_MIN, INT_MAX);
  CRecordingDC dc;
  dc.FillSolidRect(INT_MAX - 1, 0, 100, 100, RGB(1, 2, 3));
  EXPECT_EQ(dc.GetCalls().back(), "FillSolidRect 2147483646 0 2147483647 100 0x030201");
}

// Device sizes of every real that becomes one saturate rather than wrap.
TEST(NumericSafety, DeviceValuesSaturate) {
  CRecordingDC dc(SIZE{INT_MAX, INT_MAX});
  dc.SetResolution(1, 1);
  EXPECT_EQ(dc.GetDeviceCaps(HORZSIZE), INT_MAX);  // 2^31 inches is further than 32 bits of millimetres
  CKpLineStyleEngine engine;
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  engine.SetRatio(1e300);
  CKpLineStyleBase sub;
  sub.m_nCurWidth = sub.m_nWidth = 30000;
  sub.SetColorLock(TRUE);
  engine.CreatePen(&sub);
  EXPECT_EQ(dc.GetPenState().width, INT_MAX);
  POINT v{0, 0}, A{0, 0}, B{1, 0};
  engine.LineOffset(&A, &B, INT_MIN, &v);
  ExpectPoint(v, 0, INT_MIN);
}

}  // namespace
