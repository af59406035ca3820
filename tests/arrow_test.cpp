#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpArrowGeometry.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

constexpr LONG kMin = INT32_MIN;
constexpr LONG kMax = INT32_MAX;

// Every arrow selects a solid brush of the pen's colour and puts the DC's
// previous brush (here the stock white one) back afterwards.
const std::string kBlackBrush = "SelectBrush SOLID color=0x000000";
const std::string kWhiteBrush = "SelectBrush SOLID color=0xFFFFFF";

Lines Framed(const Lines& inner) {
  Lines out{kBlackBrush};
  out.insert(out.end(), inner.begin(), inner.end());
  out.push_back(kWhiteBrush);
  return out;
}

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// An open head of the dash kinds: strokes from both corners to the tip.
Lines OpenHead(POINT c1, POINT tip, POINT c2) {
  auto pt = [](POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); };
  return Framed({"MoveTo " + pt(c1), "LineTo " + pt(tip), "MoveTo " + pt(c2), "LineTo " + pt(tip)});
}

// An engine on a recording DC, with an optional dash pattern made current.
struct Bench {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  explicit Bench(std::vector<std::pair<long, long>> pattern = {}, double ratio = 1.0) {
    for (auto [drawn, gap] : pattern) sub.Add(drawn, gap);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    if (!pattern.empty()) engine.SetLineStyleBase(&sub);
    engine.Flush();
    dc.Clear();
  }
  Lines Arrow(POINT from, POINT to, long length, long width, long shape) {
    engine.DrawArrow(from, to, length, width, shape);
    return dc.GetCalls();
  }
};

// Points compared as (x, y) pairs, which gtest prints.
using XY = std::pair<long, long>;
XY xy(const POINT& p) { return {p.x, p.y}; }

TEST(ArrowDraw, ShapesInTheThreeCases) {
  struct Row {
    const char* what;
    POINT from, to;
    long length, width, shape;
    Lines inner;  // between the brush selection and its release
  };
  const Row rows[] = {
      // Vertical down the page: B = (0,30), corners (-5,30) and (5,30).
      {"vertical open", {0, 0}, {0, 40}, 20, 10, 1, {"MoveTo -5 30", "LineTo 0 40", "MoveTo 5 30", "LineTo 0 40"}},
      {"vertical triangle", {0, 0}, {0, 40}, 20, 10, 2, {"Polygon 3 -5 30 0 40 5 30"}},
      // Notch: y = round(0.6 * (trunc(60/3) + 40)) = 36.
      {"vertical notched", {0, 0}, {0, 40}, 20, 10, 3, {"Polygon 4 -5 30 0 40 5 30 0 36"}},
      {"vertical notched at the middle", {0, 0}, {0, 40}, 20, 10, 4, {"Polygon 4 -5 30 0 40 5 30 0 35"}},
      // Diamond: middle (0,35) plus, then minus the half width.
      {"vertical diamond", {0, 0}, {0, 40}, 20, 10, 5, {"Polygon 4 5 35 0 40 -5 35 0 30"}},
      {"vertical ellipse", {0, 0}, {0, 40}, 20, 10, 6, {"Ellipse -5 30 5 40"}},
      // Pointing up the page: the base lies below the tip.
      {"vertical upward", {0, 40}, {0, 0}, 20, 10, 2, {"Polygon 3 -5 10 0 0 5 10"}},
      // Equal points fall into the vertical case and point towards +y.
      {"equal points", {5, 5}, {5, 5}, 20, 10, 2, {"Polygon 3 0 -5 5 5 10 -5"}},
      // Horizontal: B = (30,0), corners (30,5) and (30,-5).
      {"horizontal open", {0, 0}, {40, 0}, 20, 10, 1, {"MoveTo 30 5", "LineTo 40 0", "MoveTo 30 -5", "LineTo 40 0"}},
      {"horizontal triangle", {0, 0}, {40, 0}, 20, 10, 2, {"Polygon 3 30 5 40 0 30 -5"}},
      {"horizontal notched", {0, 0}, {40, 0}, 20, 10, 3, {"Polygon 4 30 5 40 0 30 -5 36 0"}},
      {"horizontal notched at the middle", {0, 0}, {40, 0}, 20, 10, 4, {"Polygon 4 30 5 40 0 30 -5 35 0"}},
      {"horizontal diamond", {0, 0}, {40, 0}, 20, 10, 5, {"Polygon 4 35 5 40 0 35 -5 30 0"}},
      {"horizontal ellipse", {0, 0}, {40, 0}, 20, 10, 6, {"Ellipse 30 5 40 -5"}},
      {"horizontal leftward", {40, 0}, {0, 0}, 20, 10, 2, {"Polygon 3 10 5 0 0 10 -5"}},
      // Negative coordinates: the middle x (-30 - 41) / 2 truncates to -35,
      // the notch x is round(0.6 * (trunc(-60/3) - 41)) = round(-36.6) = -37.
      {"leftward odd length, middle", {0, -3}, {-41, -3}, 22, 10, 4, {"Polygon 4 -30 2 -41 -3 -30 -8 -35 -3"}},
      {"leftward odd length, notch", {0, -3}, {-41, -3}, 22, 10, 3, {"Polygon 4 -30 2 -41 -3 -30 -8 -37 -3"}},
      // General: along offsets (6,8), across (4,3), B = (24,32).
      {"general open", {0, 0}, {30, 40}, 20, 10, 1, {"MoveTo 20 35", "LineTo 30 40", "MoveTo 28 29", "LineTo 30 40"}},
      {"general triangle", {0, 0}, {30, 40}, 20, 10, 2, {"Polygon 3 20 35 30 40 28 29"}},
      {"general notched", {0, 0}, {30, 40}, 20, 10, 3, {"Polygon 4 20 35 30 40 28 29 28 37"}},
      {"general notched at the middle", {0, 0}, {30, 40}, 20, 10, 4, {"Polygon 4 20 35 30 40 28 29 27 36"}},
      {"general diamond", {0, 0}, {30, 40}, 20, 10, 5, {"Polygon 4 23 39 30 40 31 33 24 32"}},
      // A circle of radius min(20,10)/2 around the tip.
      {"general ellipse", {0, 0}, {30, 40}, 20, 10, 6, {"Ellipse 35 45 25 35"}},
      // Back along the same line: B = (6,8), the across offset keeps its sign.
      {"general reversed", {30, 40}, {0, 0}, 20, 10, 2, {"Polygon 3 2 11 0 0 10 5"}},
      // x grows while y falls: the across offset flips to (4,3), B = (24,8).
      {"general other diagonal", {0, 40}, {30, 0}, 20, 10, 2, {"Polygon 3 28 11 30 0 20 5"}},
      // Unknown shapes still take and release the brush.
      {"shape 0", {0, 0}, {0, 40}, 20, 10, 0, {}},
      {"shape 7", {0, 0}, {30, 40}, 20, 10, 7, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b;
    EXPECT_EQ(b.Arrow(r.from, r.to, r.length, r.width, r.shape), Framed(r.inner));
  }
}

TEST(ArrowDraw, BrushColourAndRestore) {
  {
    // A plain pen lends its colour.
    Bench b;
    CPen red;
    red.CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    b.dc.SelectObject(&red);
    b.dc.Clear();
    const Lines calls = b.Arrow({0, 0}, {0, 40}, 20, 10, 2);
    EXPECT_EQ(calls.front(), "SelectBrush SOLID color=0x0000FF");
  }
  {
    // An extended pen has no plain record: the current sub-line's colour,
    // or black without a sub-line.
    Bench b;
    CPen ext;
    const LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
    ASSERT_TRUE(ext.CreatePen(PS_GEOMETRIC | PS_SOLID, 3, &lb));
    b.dc.SelectObject(&ext);
    b.dc.Clear();
    EXPECT_EQ(b.Arrow({0, 0}, {0, 40}, 20, 10, 2).front(), kBlackBrush);
    b.sub.m_clrCurrent = RGB(0, 255, 0);
    b.engine.m_pLineStyleBase = &b.sub;
    b.dc.Clear();
    EXPECT_EQ(b.Arrow({0, 0}, {0, 40}, 20, 10, 2).front(), "SelectBrush SOLID color=0x00FF00");
  }
  {
    // The host's own brush is put back and stays selected.
    Bench b;
    CBrush host;
    host.CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
    b.dc.SelectObject(&host);
    b.dc.Clear();
    const Lines calls = b.Arrow({0, 0}, {40, 0}, 20, 10, 6);
    EXPECT_EQ(calls.back(), "SelectBrush HATCHED color=0x030201 hatch=" + std::to_string(HS_CROSS));
    EXPECT_EQ(b.dc.GetCurrentBrush(), &host);
  }
}

TEST(ArrowGeometry, HeadPoints) {
  struct Row {
    const char* what;
    POINT from, to;
    long length, width;
    kp::ArrowCase kind;
    POINT base, corner1, corner2, middle, notch, side1, side2;
    RECT ellipse;
  };
  const Row rows[] = {
      {"general", {0, 0}, {30, 40}, 20, 10, kp::ArrowCase::General,
       {24, 32}, {20, 35}, {28, 29}, {27, 36}, {28, 37}, {23, 39}, {31, 33}, {35, 45, 25, 35}},
      // Odd sizes halve toward zero: 15 gives 7 back and 7 to each side.
      {"vertical odd sizes", {0, 0}, {0, 40}, 15, 15, kp::ArrowCase::Vertical,
       {0, 33}, {-7, 33}, {7, 33}, {0, 36}, {0, 37}, {7, 36}, {-7, 36}, {-7, 33, 7, 40}},
      // Corner to corner of the 32-bit plane: the differences need 33 bits.
      // Along offsets round(7.07) = 7, across round(7.07) / 2 = 3.
      {"plane diagonal", {kMin, kMin}, {kMax, kMax}, 20, 10, kp::ArrowCase::General,
       {kMax - 7, kMax - 7}, {kMax - 10, kMax - 4}, {kMax - 4, kMax - 10}, {kMax - 4, kMax - 4},
       {kMax - 3, kMax - 3}, {kMax - 7, kMax - 1}, {kMax - 1, kMax - 7}, {kMax, kMax, kMax - 5, kMax - 5}},
      // Sizes far beyond the plane saturate every coordinate instead of wrapping.
      {"huge sizes on the diagonal", {kMin, kMin}, {kMax, kMax}, LONG_MAX, LONG_MAX, kp::ArrowCase::General,
       {kMin, kMin}, {kMin, kMax}, {kMax, kMin}, {0, 0}, {429496729, 429496729}, {kMin, kMax}, {kMax, kMin},
       {kMax, kMax, kMin, kMin}},
      {"huge sizes vertical", {0, 0}, {0, 40}, LONG_MAX, LONG_MAX, kp::ArrowCase::Vertical,
       {0, kMin}, {kMin, kMin}, {kMax, kMin}, {0, -1073741804}, {0, -858993435}, {kMax, -1073741804},
       {kMin, -1073741804}, {kMin, kMin, kMax, 40}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const kp::ArrowHead h = kp::ComputeArrowHead(r.from, r.to, r.length, r.width);
    EXPECT_EQ(h.kind, r.kind);
    EXPECT_EQ(xy(h.tip), xy(r.to));
    EXPECT_EQ(xy(h.base), xy(r.base));
    EXPECT_EQ(xy(h.corner1), xy(r.corner1));
    EXPECT_EQ(xy(h.corner2), xy(r.corner2));
    EXPECT_EQ(xy(h.middle), xy(r.middle));
    EXPECT_EQ(xy(h.notch), xy(r.notch));
    EXPECT_EQ(xy(h.side1), xy(r.side1));
    EXPECT_EQ(xy(h.side2), xy(r.side2));
    EXPECT_EQ(h.ellipse.left, r.ellipse.left);
    EXPECT_EQ(h.ellipse.top, r.ellipse.top);
    EXPECT_EQ(h.ellipse.right, r.ellipse.right);
    EXPECT_EQ(h.ellipse.bottom, r.ellipse.bottom);
  }
}

TEST(ArrowMidiumPoint, PointsNearTheMiddle) {
  struct Row {
    const char* what;
    POINT P, Q;
    long a;
    POINT beyond;  // GetMidiumPoint: a/2 past the middle towards Q
  };
  const Row rows[] = {
      {"3 past the middle", {0, 0}, {20, 0}, 6, {13, 0}},
      {"towards -y", {0, 0}, {0, -20}, 6, {0, -13}},
      {"a = 0 is the middle", {0, 0}, {10, 20}, 0, {5, 10}},
      // No direction: the end point itself.
      {"equal points", {7, 7}, {7, 7}, 5, {7, 7}},
      // (d + a) / 2 = 0: the interpolation form divides by zero; the point is P.
      {"a = -d", {0, 0}, {20, 0}, -20, {0, 0}},
      // The span of the whole plane; its squares overflow 32 bits.
      {"plane width", {kMin, 0}, {kMax, 0}, 1, {0, 0}},
      // k rounds to -1 so k + 1 vanishes; the far point saturates.
      {"huge a", {0, 0}, {10, 0}, LONG_MAX, {kMax, 0}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b;
    POINT P = r.P, Q = r.Q;
    EXPECT_EQ(xy(b.engine.GetMidiumPoint(P, Q, r.a)), xy(r.beyond));
  }
  // The reverse middle arrow's tip, a/2 before the middle.
  EXPECT_EQ(xy(kp::PointBeforeMiddle({0, 0}, {11, 0}, 15)), XY(-2, 0));
  EXPECT_EQ(xy(kp::PointBeforeMiddle({0, 0}, {0, 10}, 15)), XY(0, -3));  // -2.5 rounds away
  EXPECT_EQ(xy(kp::PointBeforeMiddle({4, 4}, {4, 4}, 15)), XY(4, 4));
}

// The buffer of {10 drawn, 5 gap} over (0,0)-(37,0): (0,0) 2, (10,0) 2,
// (15,0) 6, (25,0) 2, (30,0) 6, (37,0) 2. Dash ends 10 and 25, starts 15 and 30.
TEST(ArrowDashes, KindsOnOneWalkedSegment) {
  struct Row {
    const char* what;
    void (CKpLineStyleEngine::*routine)(long, long);
    Lines expected;
  };
  const Row rows[] = {
      {"34 tail arrows on the dash ends", &CKpLineStyleEngine::DrawDashWithTailArrow,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({3, 7}, {10, 0}, {3, -7}),
               {"MoveTo 15 0", "LineTo 25 0"}, OpenHead({18, 7}, {25, 0}, {18, -7}), {"MoveTo 30 0"}})},
      {"35 head arrows on the dash starts, pointing back", &CKpLineStyleEngine::DrawDashWithHeaderArrow,
       Concat({{"MoveTo 0 0", "LineTo 10 0", "MoveTo 15 0"}, OpenHead({22, 7}, {15, 0}, {22, -7}),
               {"LineTo 25 0", "MoveTo 30 0"}, OpenHead({37, 7}, {30, 0}, {37, -7})})},
      {"36 both", &CKpLineStyleEngine::DrawDashWithDoubleArrow,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({3, 7}, {10, 0}, {3, -7}), {"MoveTo 15 0"},
               OpenHead({22, 7}, {15, 0}, {22, -7}), {"LineTo 25 0"}, OpenHead({18, 7}, {25, 0}, {18, -7}),
               {"MoveTo 30 0"}, OpenHead({37, 7}, {30, 0}, {37, -7})})},
      // Tips 7.5 past the middles 5 and 20: 12.5 -> 13 and 27.5 -> 28.
      {"37 forward middle arrows", &CKpLineStyleEngine::DrawDashWithMidiumArrow,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({6, 7}, {13, 0}, {6, -7}),
               {"MoveTo 15 0", "LineTo 25 0"}, OpenHead({21, 7}, {28, 0}, {21, -7}), {"MoveTo 30 0"}})},
      // Tips 7.5 before the middles: -2.5 -> -3 and 12.5 -> 13, heads pointing back.
      {"38 backward middle arrows", &CKpLineStyleEngine::DrawDashWithMidiumReverseArrow,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({4, 7}, {-3, 0}, {4, -7}),
               {"MoveTo 15 0", "LineTo 25 0"}, OpenHead({20, 7}, {13, 0}, {20, -7}), {"MoveTo 30 0"}})},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b({{10, 5}});
    b.engine.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
    // The decoration vector is ignored; a ratio would not scale the heads either.
    b.engine.SetRatio(3.0);
    (b.engine.*r.routine)(0, 4);
    EXPECT_EQ(b.dc.GetCalls(), r.expected);
  }
}

TEST(ArrowDashes, MiddleArrowsOnShortAndZeroPieces) {
  struct Row {
    const char* what;
    std::vector<std::pair<long, long>> pattern;
    bool reverse;
    Lines expected;
  };
  const Row rows[] = {
      // {11, 5} over 20 units: one dash 0..11. Forward tip 7.5 past 5.5.
      {"37 on an 11-unit dash", {{11, 5}}, false,
       Concat({{"MoveTo 0 0", "LineTo 11 0"}, OpenHead({6, 7}, {13, 0}, {6, -7}), {"MoveTo 16 0"}})},
      // Backward tip 7.5 before 5.5, the head opening towards +x.
      {"38 on an 11-unit dash", {{11, 5}}, true,
       Concat({{"MoveTo 0 0", "LineTo 11 0"}, OpenHead({5, 7}, {-2, 0}, {5, -7}), {"MoveTo 16 0"}})},
      // {10, 0, 0, 5}: a dash 0..10, then a zero-length dash at 10 that gets no arrow.
      {"37 skips a zero-length piece", {{10, 0}, {0, 5}}, false,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({6, 7}, {13, 0}, {6, -7}),
               {"MoveTo 10 0", "LineTo 10 0", "MoveTo 15 0"}})},
      {"38 skips a zero-length piece", {{10, 0}, {0, 5}}, true,
       Concat({{"MoveTo 0 0", "LineTo 10 0"}, OpenHead({4, 7}, {-3, 0}, {4, -7}),
               {"MoveTo 10 0", "LineTo 10 0", "MoveTo 15 0"}})},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b(r.pattern);
    b.engine.LineDisjunctionEx(POINT{0, 0}, POINT{20, 0});
    if (r.reverse)
      b.engine.DrawDashWithMidiumReverseArrow(0, 0);
    else
      b.engine.DrawDashWithMidiumArrow(0, 0);
    EXPECT_EQ(b.dc.GetCalls(), r.expected);
  }
}

// Walks a polyline as the driver does for a decorated kind and calls the
// routine after every segment.
Lines WalkWith(Bench& b, const std::vector<POINT>& pts, void (CKpLineStyleEngine::*routine)(long, long)) {
  b.engine.MoveTo(pts[0]);
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    b.engine.LineDisjunctionEx(pts[i], pts[i + 1]);
    (b.engine.*routine)(0, 4);
  }
  return b.dc.GetCalls();
}

TEST(ArrowDashes, MiddleArrowAcrossAVertex) {
  {
    // The dash 0..10 bends at (7,0): pieces (0,0)-(7,0) and (7,0)-(7,3). The
    // arrow sits on the last piece only: tip 7.5 past its middle, at (7,9).
    Bench b({{10, 5}});
    const Lines calls = WalkWith(b, {{0, 0}, {7, 0}, {7, 12}}, &CKpLineStyleEngine::DrawDashWithMidiumArrow);
    // The driver's move, the first segment's start, the second's carried start.
    const Lines expected = Concat({{"MoveTo 0 0", "MoveTo 0 0", "MoveTo 0 0", "LineTo 7 0", "LineTo 7 3"},
                                   OpenHead({0, 2}, {7, 9}, {14, 2}), {"MoveTo 7 8"}});
    EXPECT_EQ(calls, expected);
  }
  {
    // The first segment ends 1 unit into a gap, so the second buffer starts
    // with the carried dash end (10,0): that point 0 counts as a dash end and
    // its arrow takes the piece after it, (10,0)-(11,0), with the tip at 18.
    Bench b({{10, 5}});
    const Lines calls = WalkWith(b, {{0, 0}, {11, 0}, {30, 0}}, &CKpLineStyleEngine::DrawDashWithMidiumArrow);
    const Lines expected = Concat({{"MoveTo 0 0", "MoveTo 0 0", "LineTo 10 0"}, OpenHead({6, 7}, {13, 0}, {6, -7}),
                                   {"MoveTo 10 0"}, OpenHead({11, 7}, {18, 0}, {11, -7}),
                                   {"MoveTo 11 0", "MoveTo 15 0", "LineTo 25 0"},
                                   OpenHead({21, 7}, {28, 0}, {21, -7}), {"MoveTo 30 0"}});
    EXPECT_EQ(calls, expected);
  }
}

// A style with one arrow attribute at `position`.
CKpLineStyleObj ArrowStyle(long position, int byWidth, int byHeight, int shape) {
  CKpLineStyleObj style;
  style.GetObjExt().SetObjExt(position, new tagLineStyleObjExt{static_cast<std::uint8_t>(byWidth),
                                                               static_cast<std::uint8_t>(byHeight), 0, shape});
  return style;
}

TEST(ArrowExtAttribute, Positions) {
  struct Row {
    const char* what;
    long stored;    // position holding the record
    long position;  // position drawn
    int byWidth, byHeight, shape;
    double ratio;
    std::vector<POINT> pts;
    Lines expected;
  };
  const Row rows[] = {
      // A = 20, W = 10; the repeated start point is passed over.
      {"start, repeated first point", 0, 0, 10, 10, 2, 1.0, {{5, 5}, {5, 5}, {25, 5}},
       Framed({"Polygon 3 15 10 5 5 15 0"})},
      {"start, all points equal", 0, 0, 10, 10, 2, 1.0, {{5, 5}, {5, 5}}, {}},
      {"end, repeated last point", 1, 1, 10, 10, 2, 1.0, {{0, 0}, {0, 40}, {0, 40}},
       Framed({"Polygon 3 -5 30 0 40 5 30"})},
      {"end, all points equal", 1, 1, 10, 10, 2, 1.0, {{3, 3}, {3, 3}, {3, 3}}, {}},
      // A = 4, W = 4: tips on the inner vertices (10,0) and, after the
      // repeated vertex is skipped, (10,20); none on the last point.
      {"inner vertices", 2, 2, 2, 4, 1, 1.0, {{0, 0}, {10, 0}, {10, 0}, {10, 20}, {30, 20}},
       Concat({Framed({"MoveTo 8 2", "LineTo 10 0", "MoveTo 8 -2", "LineTo 10 0"}),
               Framed({"MoveTo 8 18", "LineTo 10 20", "MoveTo 12 18", "LineTo 10 20"})})},
      // A = 12, h = 6: tips 3 past each middle, (13,0) and (20,-13).
      {"segment centres", 3, 3, 6, 4, 2, 1.0, {{0, 0}, {20, 0}, {20, 0}, {20, -20}},
       Concat({Framed({"Polygon 3 7 2 13 0 7 -2"}), Framed({"Polygon 3 18 -7 20 -13 22 -7"})})},
      // A = 20, h = 10: tip (55,0), from (0,0).
      {"polyline centre", 4, 4, 10, 6, 2, 1.0, {{0, 0}, {100, 0}}, Framed({"Polygon 3 45 3 55 0 45 -3"})},
      // A = 40, h = 20: 45 along the polyline is (40,5) on segment 1, so from = (40,0).
      {"polyline centre on a later segment", 4, 4, 20, 10, 2, 1.0, {{0, 0}, {40, 0}, {40, 30}},
       Framed({"Polygon 3 35 -15 40 5 45 -15"})},
      {"polyline centre without length", 4, 4, 10, 6, 2, 1.0, {{3, 3}, {3, 3}}, {}},
      {"single point", 4, 4, 10, 6, 2, 1.0, {{3, 3}}, {}},
      // Ratio 1.5: A = round(15) = 15, W = round(4.5) = 5.
      {"ratio scales the sizes", 1, 1, 5, 3, 2, 1.5, {{0, 0}, {0, 40}}, Framed({"Polygon 3 -2 33 0 40 2 33"})},
      {"node shape is not an arrow", 1, 1, 10, 10, 6, 1.0, {{0, 0}, {0, 40}}, {}},
      {"symbol is not an arrow", 1, 1, 10, 10, 12, 1.0, {{0, 0}, {0, 40}}, {}},
      {"no record at the position", 0, 1, 10, 10, 2, 1.0, {{0, 0}, {0, 40}}, {}},
      {"unknown position", 0, 5, 10, 10, 2, 1.0, {{0, 0}, {0, 40}}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b({}, r.ratio);
    CKpLineStyleObj style = ArrowStyle(r.stored, r.byWidth, r.byHeight, r.shape);
    std::vector<POINT> pts = r.pts;
    b.engine.ActDrawArrow(r.position, &style, pts.data(), static_cast<long>(pts.size()));
    EXPECT_EQ(b.dc.GetCalls(), r.expected);
  }
}

TEST(ArrowExtAttribute, BadInputAndExportedNoOps) {
  Bench b;
  CKpLineStyleObj style = ArrowStyle(0, 10, 10, 2);
  for (long pos = 1; pos < KP_EXT_POS_COUNT; ++pos)
    style.GetObjExt().SetObjExt(pos, new tagLineStyleObjExt{10, 10, 0, 2});
  POINT pts[] = {{0, 0}, {0, 40}, {40, 40}};
  b.engine.ActDrawArrow(0, nullptr, pts, 3);
  b.engine.ActDrawArrow(0, &style, nullptr, 3);
  b.engine.ActDrawArrow(0, &style, pts, 0);
  b.engine.ActDrawArrow(0, &style, pts, -2);
  CKpLineStyleObj plain;
  b.engine.ActDrawArrow(0, &plain, pts, 3);
  // The exported forms size their arrows by the style's extended width,
  // which is always 0.
  b.engine.ActDrawArrow(&style, pts, 3);
  b.engine.ActDrawArrow(style, pts, 3);
  b.engine.ActDrawArrow(static_cast<CKpLineStyleObj*>(nullptr), pts, 3);
  EXPECT_TRUE(b.dc.GetCalls().empty());
}

TEST(ArrowHeadExported, OpenHead) {
  struct Row {
    const char* what;
    POINT tip, toward;
    long length, width;
    double ratio;
    int result;
    Lines expected;
  };
  const Row rows[] = {
      // out = (5,0), w = (0,3).
      {"along x", {0, 0}, {10, 0}, 5, 3, 1.0, 1, {"MoveTo 5 3", "LineTo 0 0", "LineTo 5 -3", "MoveTo 0 0"}},
      // The width is scaled by the ratio, the length is not.
      {"ratio 2", {0, 0}, {10, 0}, 5, 3, 2.0, 1, {"MoveTo 5 6", "LineTo 0 0", "LineTo 5 -6", "MoveTo 0 0"}},
      // out = (6,8), w = (-4,3).
      {"diagonal", {0, 0}, {30, 40}, 10, 5, 1.0, 1, {"MoveTo 2 11", "LineTo 0 0", "LineTo 10 5", "MoveTo 0 0"}},
      {"equal points", {4, 4}, {4, 4}, 10, 5, 1.0, 0, {}},
      {"length 0", {0, 0}, {10, 0}, 0, 5, 1.0, 0, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b({}, r.ratio);
    EXPECT_EQ(b.engine.DrawHeadArrow(r.tip, r.toward, r.length, r.width), r.result);
    EXPECT_EQ(b.dc.GetCalls(), r.expected);
  }
}

TEST(ArrowDraw, LargeCoordinatesAndNoDevice) {
  {
    Bench b;
    const Lines calls = b.Arrow({kMin, kMin}, {kMax, kMax}, 20, 10, 2);
    EXPECT_EQ(calls, Framed({"Polygon 3 2147483637 2147483643 2147483647 2147483647 2147483643 2147483637"}));
  }
  {
    Bench b;
    const Lines calls = b.Arrow({0, 0}, {0, 40}, LONG_MAX, LONG_MAX, 6);
    EXPECT_EQ(calls, Framed({"Ellipse -2147483648 -2147483648 2147483647 40"}));
  }
  {
    // Without a device context nothing is drawn and nothing breaks.
    CKpLineStyleEngine e;
    POINT a{0, 0}, z{0, 40};
    e.DrawArrow(a, z, 20, 10, 2);
    e.DrawDashWithTailArrow(0, 0);
    e.DrawDashWithMidiumArrow(0, 0);
    EXPECT_EQ(e.DrawHeadArrow(a, z, 5, 3), 0);
    CKpLineStyleObj style = ArrowStyle(4, 10, 10, 2);
    e.ActDrawArrow(4, &style, &z, 1);
    EXPECT_EQ(e.m_pDC, nullptr);
  }
}

}  // namespace
