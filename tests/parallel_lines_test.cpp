#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpParallelGeometry.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;
using Pts = std::vector<POINT>;

constexpr LONG kMin = INT_MIN;
constexpr LONG kMax = INT_MAX;

// "(x,y) (x,y) ..." so that failures show the points.
std::string Str(const std::vector<CPoint>& pts) {
  std::string s;
  for (const CPoint& p : pts) s += (s.empty() ? "(" : " (") + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return s;
}

long N(const Pts& pts) { return static_cast<long>(pts.size()); }

// --- thinning ---

TEST(Thinning, KeepsThePointsWhereTheDirectionChanges) {
  Pts collinear;
  for (int i = 0; i < 1000; ++i) collinear.push_back(POINT{i, 0});
  struct Row {
    const char* what;
    Pts pts;
    double tolerance;
    std::string expected;
  };
  const Row rows[] = {
      {"1000 collinear points: first and last", collinear, 0.2, "(0,0) (999,0)"},
      {"a square path keeps its corners", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, 3.0,
       "(0,0) (100,0) (100,100) (0,100) (0,0)"},
      // A bump of one unit is within 3 units but not within 0.2.
      {"bump inside the tolerance", {{0, 0}, {50, 1}, {100, 0}}, 3.0, "(0,0) (100,0)"},
      {"bump outside the tolerance", {{0, 0}, {50, 1}, {100, 0}}, 0.2, "(0,0) (50,1) (100,0)"},
      {"repeated points are skipped", {{0, 0}, {0, 0}, {10, 0}, {10, 0}, {20, 0}}, 0.2, "(0,0) (20,0)"},
      {"two points are copied even when equal", {{5, 5}, {5, 5}}, 0.2, "(5,5) (5,5)"},
      {"all points equal: the last is still appended", {{5, 5}, {5, 5}, {5, 5}}, 0.2, "(5,5) (5,5)"},
      // Differences and squares of these overflow 32 bits.
      {"collinear across the plane", {{kMin, 0}, {0, 0}, {kMax, 0}}, 0.2, "(-2147483648,0) (2147483647,0)"},
      {"corners across the plane", {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}}, 0.2,
       "(-2147483648,-2147483648) (2147483647,2147483647) (-2147483648,2147483647)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> out;
    EXPECT_TRUE(kp::LampHouseSmooth(r.pts.data(), N(r.pts), r.tolerance, out));
    EXPECT_EQ(Str(out), r.expected);
  }
}

TEST(Thinning, DirectionRangeDoesNotWrapAroundEast) {
  // Alternating jitter of one unit across a line heading east puts the
  // directions on both sides of angle 0 (near 0 and near 2 pi), which the
  // cone cannot hold together; heading north-east it can.
  Pts east, northEast;
  for (int i = 0; i <= 40; ++i) {
    const int jitter = (i % 2 == 0) ? 0 : ((i % 4 == 1) ? 1 : -1);
    east.push_back(POINT{10 * i, jitter});
    northEast.push_back(POINT{10 * i, 10 * i + jitter});
  }
  std::vector<CPoint> keptEast, keptNorthEast;
  ASSERT_TRUE(kp::LampHouseSmooth(east.data(), N(east), 3.0, keptEast));
  ASSERT_TRUE(kp::LampHouseSmooth(northEast.data(), N(northEast), 3.0, keptNorthEast));
  EXPECT_EQ(keptNorthEast.size(), 2u);
  EXPECT_GT(keptEast.size(), keptNorthEast.size());
}

TEST(Thinning, RejectsFewerThanTwoPoints) {
  const POINT one{1, 1};
  std::vector<CPoint> out{CPoint(9, 9)};
  EXPECT_FALSE(kp::LampHouseSmooth(&one, 1, 0.2, out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(kp::LampHouseSmooth(nullptr, 5, 0.2, out));
}

// --- parallel lines ---

TEST(ParallelLine, OffsetsAndRounding) {
  struct Row {
    const char* what;
    Pts pts;
    long offset;
    double ratio;
    std::string expected;
  };
  const Row rows[] = {
      {"straight line through a vertex", {{0, 0}, {50, 0}, {100, 0}}, 4, 1.0, "(0,4) (50,4) (100,4)"},
      {"negative offset is the other side", {{0, 0}, {50, 0}, {100, 0}}, -4, 1.0, "(0,-4) (50,-4) (100,-4)"},
      {"degenerate segments give no point", {{0, 0}, {0, 0}, {50, 0}, {50, 0}, {100, 0}, {100, 0}}, 4, 1.0,
       "(0,4) (50,4) (100,4)"},
      // Normal (-0.8, 0.6): the end sums -10.8, -9.4, -7.8, -5.4 truncate toward zero.
      {"end points: the sum is truncated", {{-10, -10}, {-7, -6}}, 1, 1.0, "(-10,-9) (-7,-5)"},
      // The mitre (-0.8, 0.6) truncates to (0, 0) before it is added.
      {"mitre truncated per component", {{0, 0}, {3, 4}, {6, 8}}, 1, 1.0, "(0,0) (3,4) (5,8)"},
      // Turning straight back: the offset at the vertex is turned back by 90 degrees.
      {"straight reversal", {{0, 0}, {100, 0}, {0, 0}}, 10, 1.0, "(0,10) (100,10) (0,-10)"},
      {"ratio scales, half away from zero", {{0, 0}, {100, 0}}, 3, 2.5, "(0,8) (100,8)"},
      {"ratio scales a negative offset", {{0, 0}, {100, 0}}, -3, 2.5, "(0,-8) (100,-8)"},
      {"coordinates saturate at the limit", {{0, kMax}, {100, kMax}}, 5, 1.0, "(0,2147483647) (100,2147483647)"},
      {"horizontal across the plane", {{kMin, 0}, {kMax, 0}}, 3, 1.0, "(-2147483648,3) (2147483647,3)"},
      // Offset (-7.07, 7.07) on the diagonal of the 32-bit plane.
      {"diagonal across the plane", {{kMin, kMin}, {kMax, kMax}}, 10, 1.0,
       "(-2147483648,-2147483640) (2147483639,2147483647)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> out;
    EXPECT_TRUE(kp::ParallelLineEx(r.pts.data(), N(r.pts), r.offset, r.ratio, out));
    EXPECT_EQ(Str(out), r.expected);
  }
}

TEST(ParallelLine, RightAngleMitreLiesOnTheInnerSide) {
  const Pts pts{{0, 0}, {100, 0}, {100, 100}};
  std::vector<CPoint> out;
  ASSERT_TRUE(kp::ParallelLineEx(pts.data(), N(pts), 10, 1.0, out));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0], CPoint(0, 10));
  EXPECT_NEAR(out[1].x, 90, 1);  // 10 sqrt(2) from the corner, truncated per component
  EXPECT_NEAR(out[1].y, 10, 1);
  EXPECT_EQ(out[2], CPoint(90, 100));
}

TEST(ParallelLine, SharpTurnsAreCappedAtAboutTenTimesTheOffset) {
  const double cap = 1.0 / std::sin(0.1);  // 10.0167
  struct Row {
    const char* what;
    Pts pts;
    long offset;
  };
  const Row rows[] = {
      {"hairpin turning left", {{0, 0}, {100, 0}, {0, 1}}, 10},
      {"hairpin turning right", {{0, 0}, {100, 0}, {0, -1}}, 10},
      {"hairpin, negative offset", {{0, 0}, {1000, 0}, {0, 3}}, -7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> out;
    ASSERT_TRUE(kp::ParallelLineEx(r.pts.data(), N(r.pts), r.offset, 1.0, out));
    ASSERT_EQ(out.size(), 3u);
    const double reach = std::hypot(out[1].x - r.pts[1].x, out[1].y - r.pts[1].y);
    const double limit = cap * std::fabs(static_cast<double>(r.offset));
    EXPECT_LE(reach, limit);
    EXPECT_GE(reach, limit - 1.5);
  }
}

TEST(ParallelLine, ClosedPolylineJoinsItsEndsAtTheCorner) {
  const Pts square{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
  struct Row {
    const char* what;
    long offset;
    POINT corner;
  };
  const Row rows[] = {
      {"outwards", -10, {-10, -10}},
      {"inwards", 10, {10, 10}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> out;
    ASSERT_TRUE(kp::ParallelLineEx(square.data(), N(square), r.offset, 1.0, out));
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out.front(), out.back());
    EXPECT_NEAR(out.front().x, r.corner.x, 1);
    EXPECT_NEAR(out.front().y, r.corner.y, 1);
  }
  // An open polyline keeps its own ends.
  const Pts open{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 10}};
  std::vector<CPoint> out;
  ASSERT_TRUE(kp::ParallelLineEx(open.data(), N(open), -10, 1.0, out));
  EXPECT_EQ(out.front(), CPoint(0, -10));
  EXPECT_EQ(out.back(), CPoint(-10, 10));
}

TEST(ParallelLine, BothSidesEqualTheSingleSideAtPlusAndMinus) {
  const Pts shapes[] = {
      {{0, 0}, {100, 0}, {100, 100}},
      {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}},
      {{0, 0}, {100, 0}, {0, 1}},
      {{0, 0}, {100, 0}, {0, 0}},
      {{3, -7}, {40, 12}, {40, 12}, {-25, 60}, {90, 75}},
  };
  for (const Pts& pts : shapes) {
    std::vector<CPoint> positive, negative, plus, minus;
    ASSERT_TRUE(kp::ParallelLine(pts.data(), N(pts), 7, 1.5, positive, negative));
    ASSERT_TRUE(kp::ParallelLineEx(pts.data(), N(pts), 7, 1.5, plus));
    ASSERT_TRUE(kp::ParallelLineEx(pts.data(), N(pts), -7, 1.5, minus));
    EXPECT_EQ(Str(positive), Str(plus));
    EXPECT_EQ(Str(negative), Str(minus));
  }
}

TEST(ParallelLine, RejectsLinesWithoutADirection) {
  struct Row {
    const char* what;
    Pts pts;
    long offset;
  };
  const Row rows[] = {
      {"one point", {{1, 1}}, 5},
      {"zero offset", {{0, 0}, {100, 0}}, 0},
      {"only degenerate segments", {{4, 4}, {4, 4}, {4, 4}}, 5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> a{CPoint(9, 9)}, b{CPoint(9, 9)};
    EXPECT_FALSE(kp::ParallelLineEx(r.pts.data(), N(r.pts), r.offset, 1.0, a));
    EXPECT_TRUE(a.empty());
    a.assign(1, CPoint(9, 9));
    EXPECT_FALSE(kp::ParallelLine(r.pts.data(), N(r.pts), r.offset, 1.0, a, b));
    EXPECT_TRUE(a.empty());
    EXPECT_TRUE(b.empty());
  }
  std::vector<CPoint> out;
  EXPECT_FALSE(kp::ParallelLineEx(nullptr, 3, 5, 1.0, out));
}

TEST(ParallelLine, EngineAppliesItsRatio) {
  CKpLineStyleEngine engine;
  engine.SetRatio(2.5);
  Pts pts{{0, 0}, {100, 0}};
  std::vector<CPoint> out, negative;
  ASSERT_TRUE(engine.ParallelLineEx(pts.data(), 2, 3, out));
  EXPECT_EQ(Str(out), "(0,8) (100,8)");
  ASSERT_TRUE(engine.ParallelLine(pts.data(), 2, 3, out, negative));
  EXPECT_EQ(Str(negative), "(0,-8) (100,-8)");
  ASSERT_EQ(engine.MultiLine(pts.data(), 2, 2, 2, out, negative), 1);
  EXPECT_EQ(Str(out), "(0,5) (100,5)");
}

// --- bands ---

TEST(MultiLine, BandSides) {
  struct Row {
    const char* what;
    Pts pts;
    long start, end;
    double ratio;
    std::string sideA, sideB;
  };
  const Row rows[] = {
      {"tapers from 5 to 1", {{0, 0}, {100, 0}}, 5, 1, 1.0, "(0,5) (100,1)", "(0,-5) (100,-1)"},
      // A quarter of the length: 5 - 4/4 = 4 (not the half of a count of vertices).
      {"half-width follows the length travelled", {{0, 0}, {25, 0}, {100, 0}}, 5, 1, 1.0,
       "(0,5) (25,4) (100,1)", "(0,-5) (25,-4) (100,-1)"},
      {"ratio scales both ends", {{0, 0}, {25, 0}, {100, 0}}, 5, 1, 2.0, "(0,10) (25,8) (100,2)",
       "(0,-10) (25,-8) (100,-2)"},
      {"equal half-widths stay constant", {{0, 0}, {30, 0}, {100, 0}}, 3, 3, 1.0, "(0,3) (30,3) (100,3)",
       "(0,-3) (30,-3) (100,-3)"},
      {"start half-width 0", {{0, 0}, {100, 0}}, 0, 4, 1.0, "(0,0) (100,4)", "(0,0) (100,-4)"},
      // Mitre (-10, 10) rounded, not truncated.
      {"right angle", {{0, 0}, {100, 0}, {100, 100}}, 10, 10, 1.0, "(0,10) (90,10) (90,100)",
       "(0,-10) (110,-10) (110,100)"},
      // Turning back: direction pi/2 minus the outgoing angle pi.
      {"straight reversal", {{0, 0}, {100, 0}, {0, 0}}, 5, 5, 1.0, "(0,5) (100,-5) (0,-5)",
       "(0,-5) (100,5) (0,5)"},
      {"degenerate segments give no point", {{0, 0}, {50, 0}, {50, 0}, {100, 0}}, 3, 3, 1.0,
       "(0,3) (50,3) (100,3)", "(0,-3) (50,-3) (100,-3)"},
      {"all points equal", {{5, 5}, {5, 5}, {5, 5}}, 2, 2, 1.0, "(5,5)", "(5,5)"},
      {"coordinates saturate at the limit", {{0, kMax - 2}, {100, kMax - 2}}, 10, 10, 1.0,
       "(0,2147483647) (100,2147483647)", "(0,2147483635) (100,2147483635)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> a, b;
    EXPECT_EQ(kp::MultiLine(r.pts.data(), N(r.pts), r.start, r.end, r.ratio, a, b), 1);
    EXPECT_EQ(Str(a), r.sideA);
    EXPECT_EQ(Str(b), r.sideB);
  }
}

TEST(MultiLine, RejectsBadInput) {
  const Pts line{{0, 0}, {100, 0}};
  struct Row {
    const char* what;
    long n, start, end;
  };
  const Row rows[] = {
      {"one point", 1, 5, 1},
      {"negative start half-width", 2, -1, 1},
      {"end half-width below 1", 2, 5, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<CPoint> a{CPoint(9, 9)}, b{CPoint(9, 9)};
    EXPECT_EQ(kp::MultiLine(line.data(), r.n, r.start, r.end, 1.0, a, b), 0);
    EXPECT_TRUE(a.empty());
    EXPECT_TRUE(b.empty());
  }
  std::vector<CPoint> a, b;
  EXPECT_EQ(kp::MultiLine(nullptr, 2, 5, 1, 1.0, a, b), 0);
}

// --- double lines ---

// An engine on a recording DC with a double-line sub-line current.
struct DoubleLine {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;

  DoubleLine(short kind, short spacing, short offset, double ratio = 1.0, short along = 0) {
    sub.m_nHVMode = kind;
    sub.m_nRepeatMode = 1;
    sub.m_nHVLength = spacing;
    sub.m_nVertOffset = offset;
    sub.m_nHorizOffset = along;
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    engine.SetLineStyleBase(&sub);
    dc.Clear();
  }
  Lines Draw(Pts pts) {
    engine.DrawParallelKind(&sub, pts.data(), N(pts), sub.m_nHVMode);
    return dc.GetCalls();
  }
};

// The straight test line (0,0)-(50,0)-(100,0) offset to y.
std::string Straight(int y) {
  const std::string s = std::to_string(y);
  return "Polyline 3 0 " + s + " 50 " + s + " 100 " + s;
}

TEST(DoubleLine, LinesOfEachKind) {
  struct Row {
    const char* what;
    short kind, spacing, offset;
    double ratio;
    Lines expected;
  };
  const Row rows[] = {
      {"43 centred, symmetric", 43, 5, 0, 1.0, {Straight(5), Straight(-5)}},
      {"43 negative spacing draws the lower line first", 43, -5, 0, 1.0, {Straight(-5), Straight(5)}},
      {"43 shifted: D + J and D - J", 43, 5, 2, 1.0, {Straight(7), Straight(-3)}},
      {"43 first line on the centre", 43, 3, -3, 1.0, {Straight(0), Straight(-6)}},
      // Both lines fall on the centre line, which is drawn twice.
      {"43 zero spacing", 43, 0, 0, 1.0, {Straight(0), Straight(0)}},
      {"43 ratio scales the offsets", 43, 5, 0, 2.0, {Straight(10), Straight(-10)}},
      {"44 upper: D and D + J", 44, 6, 2, 1.0, {Straight(2), Straight(8)}},
      {"44 symmetric (2D = -J)", 44, -4, 2, 1.0, {Straight(2), Straight(-2)}},
      {"44 first line on the centre", 44, 6, 0, 1.0, {Straight(0), Straight(6)}},
      // 1.5 and 7.5 round half away from zero.
      {"44 ratio rounds each offset", 44, 4, 1, 1.5, {Straight(2), Straight(8)}},
      {"45 lower: D and D - J", 45, 6, 2, 1.0, {Straight(2), Straight(-4)}},
      {"45 symmetric (2D = J)", 45, 4, 2, 1.0, {Straight(2), Straight(-2)}},
      {"45 second line on the centre", 45, 2, 2, 1.0, {Straight(2), Straight(0)}},
      {"not a double-line kind", 46, 5, 0, 1.0, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DoubleLine t(r.kind, r.spacing, r.offset, r.ratio);
    EXPECT_EQ(t.Draw({{0, 0}, {50, 0}, {100, 0}}), r.expected);
  }
}

TEST(DoubleLine, StartOffsetMovesACopyOfTheStartPoint) {
  struct Row {
    const char* what;
    short kind, spacing;
    double ratio;
    short along;
    Pts pts;
    Lines expected;
  };
  const Row rows[] = {
      {"30 along: second segment", 44, 4, 1.0, 30, {{0, 0}, {20, 0}, {100, 0}},
       {"Polyline 2 30 0 100 0", "Polyline 2 30 4 100 4"}},
      // The walk is in style units: the ratio widens the lines, not the start offset.
      {"walk is not scaled", 44, 4, 2.0, 30, {{0, 0}, {20, 0}, {100, 0}},
       {"Polyline 2 30 0 100 0", "Polyline 2 30 8 100 8"}},
      {"symmetric lines from the moved start", 43, 4, 1.0, 30, {{0, 0}, {20, 0}, {100, 0}},
       {"Polyline 2 30 4 100 4", "Polyline 2 30 -4 100 -4"}},
      {"negative: backwards along the first segment", 44, 4, 1.0, -10, {{0, 0}, {100, 0}},
       {"Polyline 2 -10 0 100 0", "Polyline 2 -10 4 100 4"}},
      {"past the end draws nothing", 44, 4, 1.0, 200, {{0, 0}, {100, 0}}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DoubleLine t(r.kind, r.spacing, 0, r.ratio, r.along);
    Pts pts = r.pts;
    t.engine.DrawParallelKind(&t.sub, pts.data(), N(pts), r.kind);
    EXPECT_EQ(t.dc.GetCalls(), r.expected);
    EXPECT_EQ(Str({pts.begin(), pts.end()}), Str({r.pts.begin(), r.pts.end()}));  // the caller's points
  }
}

TEST(DoubleLine, DashedLinesAreWalkedPerSegmentWithThePatternRestarted) {
  DoubleLine t(44, 2, 0);
  t.sub.Add(10, 5);
  t.engine.SetLineStyleBase(&t.sub);
  // The walk carries the gap across (12,0); each segment starts with a move
  // to its own start, and the second line starts with a whole dash again.
  const Lines expected = {"MoveTo 0 0", "LineTo 10 0", "MoveTo 12 0", "MoveTo 12 0", "MoveTo 15 0", "LineTo 25 0",
                          "MoveTo 30 0", "MoveTo 0 2", "LineTo 10 2", "MoveTo 12 2", "MoveTo 12 2", "MoveTo 15 2",
                          "LineTo 25 2", "MoveTo 30 2"};
  EXPECT_EQ(t.Draw({{0, 0}, {12, 0}, {30, 0}}), expected);
}

TEST(DoubleLine, ExportedOperationsMakeTheSubLineCurrent) {
  using Op = void (CKpLineStyleEngine::*)(CKpLineStyleBase*, POINT*, long);
  struct Row {
    const char* what;
    Op op;
    Lines expected;
  };
  const Row rows[] = {
      {"centred", &CKpLineStyleEngine::DrawDoubleParellel, {Straight(7), Straight(-3)}},
      {"upper", &CKpLineStyleEngine::DrawLeftParellel, {Straight(2), Straight(7)}},
      {"lower", &CKpLineStyleEngine::DrawRightParellel, {Straight(2), Straight(-3)}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DoubleLine t(0, 5, 2);  // the sub-line's own kind plays no part
    CKpLineStyleBase other;
    t.engine.SetLineStyleBase(&other);
    Pts pts{{0, 0}, {50, 0}, {100, 0}};
    (t.engine.*r.op)(&t.sub, pts.data(), N(pts));
    EXPECT_EQ(t.dc.GetCalls(), r.expected);
    EXPECT_EQ(t.engine.m_pLineStyleBase, &t.sub);
  }
}

// --- gradient line ---

const std::string kBandPen = "SelectPen style=0x00000 width=1 color=0xFF0000";
const std::string kBandBrush = "SelectBrush SOLID color=0xFF0000";
const std::string kHostPen = "SelectPen style=0x00000 width=0 color=0x000000";
const std::string kHostBrush = "SelectBrush SOLID color=0xFFFFFF";

struct Gradient {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;

  Gradient(short startWidth, short endWidth, short along, short side, double ratio) {
    sub.m_nHVMode = 46;
    sub.m_nRepeatMode = 1;
    sub.m_nHVLength = startWidth;
    sub.m_nCurWidth = endWidth;
    sub.m_nHorizOffset = along;
    sub.m_nVertOffset = side;
    sub.m_clrCurrent = RGB(0, 0, 255);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    dc.Clear();
  }
};

TEST(GradientLine, TaperedBand) {
  const Pts line{{0, 0}, {100, 0}};
  const std::string band = "Polygon 4 0 5 100 1 100 -1 0 -5";
  struct Row {
    const char* what;
    short startWidth, endWidth, along, side;
    double ratio;
    Pts pts;
    std::string polygon;  // empty: none drawn
  };
  const Row rows[] = {
      {"10 wide narrowing to 2", 10, 2, 0, 0, 1.0, line, band},
      {"end width 0: half-width 1", 10, 0, 0, 0, 1.0, line, band},
      {"end width 1: half-width 1", 10, 1, 0, 0, 1.0, line, band},
      {"negative start width as its absolute value", -10, 2, 0, 0, 1.0, line, band},
      {"odd start width truncates", 11, 2, 0, 0, 1.0, line, band},
      {"start offset 30 starts on the second segment", 10, 2, 30, 0, 1.0, {{0, 0}, {20, 0}, {100, 0}},
       "Polygon 4 30 5 100 1 100 -1 30 -5"},
      {"negative start offset extends the first segment", 10, 2, -10, 0, 1.0, line,
       "Polygon 4 -10 5 100 1 100 -1 -10 -5"},
      // At a quarter of the length the half-width is 5 - 4/4.
      {"half-width follows the length", 10, 2, 0, 0, 1.0, {{0, 0}, {25, 0}, {100, 0}},
       "Polygon 6 0 5 25 4 100 1 100 -1 25 -4 0 -5"},
      {"sideways offset moves the band", 10, 2, 0, 10, 1.0, line, "Polygon 4 0 15 100 11 100 9 0 5"},
      {"ratio scales widths and start offset", 10, 2, 15, 0, 2.0, line, "Polygon 4 30 10 100 2 100 -2 30 -10"},
      {"start offset past the end", 10, 2, 200, 0, 1.0, line, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Gradient g(r.startWidth, r.endWidth, r.along, r.side, r.ratio);
    Pts pts = r.pts;
    g.engine.DrawGradientLine(&g.sub, pts.data(), N(pts));
    Lines expected{kBandPen, kBandBrush};
    if (!r.polygon.empty()) expected.push_back(r.polygon);
    expected.push_back(kHostPen);
    expected.push_back(kHostBrush);
    EXPECT_EQ(g.dc.GetCalls(), expected);
  }
}

TEST(GradientLine, DrawingTwiceGivesTheSameCalls) {
  Gradient g(10, 2, 30, 0, 1.0);
  const Pts original{{0, 0}, {20, 0}, {100, 0}};
  Pts pts = original;
  g.engine.m_dRemain = -3.0;  // left over from an earlier walk
  g.engine.DrawGradientLine(&g.sub, pts.data(), N(pts));
  const Lines first = g.dc.GetCalls();
  EXPECT_EQ(g.engine.m_dRemain, 0.0);
  EXPECT_EQ(g.engine.m_pLineStyleBase, &g.sub);
  g.dc.Clear();
  g.engine.DrawGradientLine(&g.sub, pts.data(), N(pts));
  EXPECT_EQ(g.dc.GetCalls(), first);
  EXPECT_EQ(Str({pts.begin(), pts.end()}), Str({original.begin(), original.end()}));
}

}  // namespace
