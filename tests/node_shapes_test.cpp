#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "companions/CKpOperator.h"
#include "companions/CKpSymLib.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

constexpr LONG kMax = std::numeric_limits<LONG>::max();
constexpr LONG kMin = std::numeric_limits<LONG>::min();

// An engine on a recording DC whose pen is red, and a style with one
// decoration.
struct Nodes {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CPen pen;
  CKpLineStyleObj style;
  explicit Nodes(double ratio = 1.0) {
    pen.CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    dc.SelectObject(&pen);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    CKpLineStyleBase sub;
    sub.m_clrCurrent = RGB(0, 0, 255);
    style.AddStyleBase(sub);
    dc.Clear();
  }
  void Decorate(long position, int shape, int width, int height, int angle = 0) {
    style.GetObjExt().SetObjExt(position, new tagLineStyleObjExt{static_cast<std::uint8_t>(width),
                                                                 static_cast<std::uint8_t>(height),
                                                                 static_cast<std::int16_t>(angle), shape});
  }
  Lines Draw(long position, std::vector<POINT> pts) {
    engine.ActDrawEllipse(position, &style, pts.data(), static_cast<long>(pts.size()));
    return dc.GetCalls();
  }
};

const char* kWhite = "SelectBrush SOLID color=0xFFFFFF";  // the stock white brush, and the DC's default
const char* kRed = "SelectBrush SOLID color=0x0000FF";

TEST(NodeShapes, ShapesAtEveryPosition) {
  struct Row {
    const char* what;
    long position;
    int shape;
    std::vector<POINT> pts;
    Lines figures;  // between selecting the interior and restoring the white default
  };
  const std::vector<POINT> bend = {{0, 0}, {40, 0}, {40, 30}};  // box half-sizes 5 and 3 below
  const Row rows[] = {
      {"filled ellipse in the pen's colour", 0, 8, {{100, 100}, {200, 100}}, {"Ellipse 105 103 95 97"}},
      {"the same box turned by 0, white", 0, 7, {{100, 100}, {200, 100}},
       {"Polygon 4 105 103 95 103 95 97 105 97"}},
      {"hollow ellipse at the start", 0, 6, bend, {"Ellipse 5 3 -5 -3"}},
      {"filled ellipse at the end", 1, 8, bend, {"Ellipse 45 33 35 27"}},
      // The last segment points down (900): the box stands upright.
      {"hollow rectangle at the end", 1, 7, bend, {"Polygon 4 37 35 37 25 43 25 43 35"}},
      {"inner vertex, turned to the incoming segment", 2, 9, bend, {"Polygon 4 45 3 35 3 35 -3 45 -3"}},
      {"no inner vertex on two points", 2, 9, {{0, 0}, {5, 3}}, {}},
      {"two inner vertices on four points", 2, 6, {{0, 0}, {10, 0}, {20, 0}, {30, 0}},
       {"Ellipse 15 3 5 -3", "Ellipse 25 3 15 -3"}},
      // (0,0)-(5,3) halves toward zero: (2,1).
      {"odd segment centre", 3, 8, {{0, 0}, {5, 3}}, {"Ellipse 7 4 -3 -2"}},
      {"turned segment centres", 3, 7, bend,
       {"Polygon 4 25 3 15 3 15 -3 25 -3", "Polygon 4 37 20 37 10 43 10 43 20"}},
      // Length 70: the middle lies 35 along the first segment.
      {"polyline centre", 4, 8, bend, {"Ellipse 40 3 30 -3"}},
      {"turned polyline centre", 4, 9, bend, {"Polygon 4 40 3 30 3 30 -3 40 -3"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Nodes n;
    n.Decorate(r.position, r.shape, 10, 6);
    Lines expected = {r.shape == 6 || r.shape == 7 ? kWhite : kRed};
    expected.insert(expected.end(), r.figures.begin(), r.figures.end());
    expected.push_back(kWhite);
    EXPECT_EQ(n.Draw(r.position, r.pts), expected);
  }
}

TEST(NodeShapes, SizeColourAndRepeatedPoints) {
  struct Row {
    const char* what;
    double ratio;
    int width, height;
    std::vector<POINT> pts;
    long position;
    Lines expected;
  };
  const Row rows[] = {
      // Half sizes round half away from zero: 3.5 -> 4, 2.5 -> 3.
      {"odd sizes", 1.0, 7, 5, {{0, 0}, {9, 0}}, 0, {kRed, "Ellipse 4 3 -4 -3", kWhite}},
      // 10 * 1.5 / 2 = 7.5 -> 8, 6 * 1.5 / 2 = 4.5 -> 5.
      {"scaled by the ratio", 1.5, 10, 6, {{0, 0}, {9, 0}}, 0, {kRed, "Ellipse 8 5 -8 -5", kWhite}},
      // A zero-length segment still gets its middle node.
      {"repeated point", 1.0, 2, 2, {{4, 4}, {4, 4}}, 3, {kRed, "Ellipse 5 5 3 3", kWhite}},
      // Coordinates whose sum exceeds 32 bits still halve correctly.
      {"far-apart points", 1.0, 0, 0, {{kMax, kMax}, {kMax - 2, kMax - 2}}, 3,
       {kRed, "Ellipse 2147483646 2147483646 2147483646 2147483646", kWhite}},
      // The box saturates instead of wrapping at the edge of the plane.
      {"edge of the plane", 1.0, 10, 10, {{kMax, kMin}, {0, 0}}, 0,
       {kRed, "Ellipse 2147483647 -2147483643 2147483642 -2147483648", kWhite}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Nodes n(r.ratio);
    n.Decorate(r.position, 8, r.width, r.height);
    EXPECT_EQ(n.Draw(r.position, r.pts), r.expected);
  }
}

TEST(NodeShapes, DecorationColourFallsBackToTheFirstSubLine) {
  Nodes n;
  // An extended pen has no plain record: the first sub-line's colour fills.
  CPen extended;
  const LOGBRUSH lb{BS_SOLID, RGB(0, 255, 0), 0};
  ASSERT_TRUE(extended.CreatePen(PS_GEOMETRIC, 3, &lb));
  n.dc.SelectObject(&extended);
  n.dc.Clear();
  n.Decorate(0, 8, 2, 2);
  EXPECT_EQ(n.Draw(0, {{0, 0}, {1, 0}})[0], "SelectBrush SOLID color=0xFF0000");

  // Without sub-lines the fallback is black.
  n.style.RemoveAt(0);
  n.dc.Clear();
  EXPECT_EQ(n.Draw(0, {{0, 0}, {1, 0}})[0], "SelectBrush SOLID color=0x000000");
}

TEST(NodeShapes, OnePointAndRejectedInput) {
  {
    // One point: rectangles at the start, end and centre keep angle 0 and
    // never look past the point.
    for (long position : {0L, 1L, 4L}) {
      SCOPED_TRACE(position);
      Nodes n;
      n.Decorate(position, 9, 4, 2);
      EXPECT_EQ(n.Draw(position, {{7, 7}}), (Lines{kRed, "Polygon 4 9 8 5 8 5 6 9 6", kWhite}));
    }
  }
  Nodes n;
  n.Decorate(0, 8, 4, 4);
  POINT pts[2] = {{0, 0}, {10, 0}};
  n.engine.ActDrawEllipse(0, nullptr, pts, 2);
  n.engine.ActDrawEllipse(0, &n.style, nullptr, 2);
  n.engine.ActDrawEllipse(0, &n.style, pts, 0);
  n.engine.ActDrawEllipse(1, &n.style, pts, 2);  // no record at the end
  n.Decorate(1, 12, 4, 4);
  n.engine.ActDrawEllipse(1, &n.style, pts, 2);  // a symbol is not a node shape
  n.engine.ActDrawEllipse(&n.style, pts, 2);      // the style-wide forms never draw
  n.engine.ActDrawEllipse(n.style, pts, 2);
  EXPECT_TRUE(n.dc.GetCalls().empty());
}

TEST(NodeShapes, DrawNodeEllipse) {
  struct Row {
    const char* what;
    POINT centre;
    long width, height, kind;
    Lines expected;
  };
  const Row rows[] = {
      {"ellipse, halves truncated", {10, 10}, 7, 5, 1, {"Ellipse 7 12 13 8"}},
      {"rectangle", {10, 10}, 7, 5, 2, {"Rectangle 7 12 13 8"}},
      {"negative width mirrors the box", {10, 10}, -7, 5, 1, {"Ellipse 13 12 7 8"}},
      {"unknown kind", {10, 10}, 7, 5, 3, {}},
      {"kind 0", {10, 10}, 7, 5, 0, {}},
      // A huge width saturates at the plane's edges instead of wrapping.
      {"huge width", {0, 0}, 1L << 40, 2, 1, {"Ellipse -2147483648 1 2147483647 -1"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Nodes n;
    POINT c = r.centre;
    n.engine.DrawNodeEllipse(c, r.width, r.height, r.kind);
    EXPECT_EQ(n.dc.GetCalls(), r.expected);
  }
  Nodes n;
  POINT a{0, 0}, b{10, 10};
  n.engine.DrawEllipse(a, b, 1, 2, 3);  // exported, does nothing
  EXPECT_TRUE(n.dc.GetCalls().empty());
}

// Each shape range reaches its own pass: the pass's output, not empty, and
// nothing else.
TEST(ExtAtt, DispatchReachesTheRightPass) {
  using Pass = void (CKpLineStyleEngine::*)(long, CKpLineStyleObj*, POINT*, long);
  struct Row {
    const char* what;
    int shape;
    Pass pass;
  };
  const Row rows[] = {
      {"arrow 1", 1, &CKpLineStyleEngine::ActDrawArrow},
      {"arrow 5", 5, &CKpLineStyleEngine::ActDrawArrow},
      {"node 6", 6, &CKpLineStyleEngine::ActDrawEllipse},
      {"node 9", 9, &CKpLineStyleEngine::ActDrawEllipse},
      {"symbol 12", 12, &CKpLineStyleEngine::ActDrawSymbol},
  };
  CKpSymLib lib;
  auto* symbol = new CKpSymbol;
  symbol->m_nID = 12;
  symbol->AddElement(CKpSymbol::Element{CKpSymbol::kPolyline, 0, 0, {{0, 0}, {128, 0}}});
  ASSERT_TRUE(lib.AddSymbol(symbol));
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Nodes viaDispatch, direct;
    viaDispatch.engine.m_pSymLib = direct.engine.m_pSymLib = &lib;
    viaDispatch.Decorate(4, r.shape, 8, 6);
    direct.Decorate(4, r.shape, 8, 6);
    POINT pts[3] = {{0, 0}, {40, 0}, {40, 30}};
    viaDispatch.engine.ActDrawExtAtt(4, &viaDispatch.style, pts, 3);
    (direct.engine.*r.pass)(4, &direct.style, pts, 3);
    EXPECT_FALSE(direct.dc.GetCalls().empty());
    EXPECT_EQ(viaDispatch.dc.GetCalls(), direct.dc.GetCalls());
  }
}

TEST(ExtAtt, RejectedInput) {
  Nodes n;
  POINT pts[2] = {{0, 0}, {10, 0}};
  n.engine.ActDrawExtAtt(0, &n.style, pts, 2);  // no record
  n.Decorate(0, 9, 4, 2);
  n.engine.ActDrawExtAtt(0, nullptr, pts, 2);
  n.engine.ActDrawExtAtt(0, &n.style, nullptr, 2);
  n.engine.ActDrawExtAtt(0, &n.style, pts, 1);   // fewer than two points
  n.engine.ActDrawExtAtt(5, &n.style, pts, 2);   // no such position
  n.engine.ActDrawExtAtt(-1, &n.style, pts, 2);
  n.Decorate(1, 12, 4, 2);
  n.engine.ActDrawExtAtt(1, &n.style, pts, 2);  // a symbol, but no library attached
  EXPECT_TRUE(n.dc.GetCalls().empty());
}

TEST(Operator, RotateRect) {
  struct Row {
    const char* what;
    CRect box;
    short angle;
    std::vector<POINT> corners;
  };
  const Row rows[] = {
      // Order (left,top) (right,top) (right,bottom) (left,bottom), unnormalised.
      {"no turn", CRect(105, 103, 95, 97), 0, {{105, 103}, {95, 103}, {95, 97}, {105, 97}}},
      // A quarter turn takes x to y: a box long along x ends up long along y.
      {"quarter turn", CRect(0, 0, 10, 4), 900, {{7, -3}, {7, 7}, {3, 7}, {3, -3}}},
      {"quarter turn back", CRect(0, 0, 10, 4), -900, {{3, 7}, {3, -3}, {7, -3}, {7, 7}}},
      // 45 degrees: the corners of a 20-unit square land on the axes (14.14 -> 14).
      {"eighth turn", CRect(-10, -10, 10, 10), 450, {{0, -14}, {14, 0}, {0, 14}, {-14, 0}}},
      {"half turn", CRect(0, 0, 10, 4), 1800, {{10, 4}, {0, 4}, {0, 0}, {10, 0}}},
      // The centre (-0.5, -0.5) of the full plane is kept exactly; no overflow.
      {"whole plane", CRect(kMin, kMin, kMax, kMax), 900,
       {{kMax, kMin}, {kMax, kMax}, {kMin, kMax}, {kMin, kMin}}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CPoint out[4];
    ASSERT_EQ(CKpOperator::RotateRect(r.box, 4, r.angle, out), 4);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(out[i].x, r.corners[i].x) << "corner " << i;
      EXPECT_EQ(out[i].y, r.corners[i].y) << "corner " << i;
    }
  }
  // Fewer corners asked: only those are written. No output: nothing.
  CPoint out[4] = {CPoint(-1, -1), CPoint(-1, -1), CPoint(-1, -1), CPoint(-1, -1)};
  EXPECT_EQ(CKpOperator::RotateRect(CRect(0, 0, 2, 2), 2, 0, out), 2);
  EXPECT_EQ(out[1], CPoint(2, 0));
  EXPECT_EQ(out[2], CPoint(-1, -1));
  EXPECT_EQ(CKpOperator::RotateRect(CRect(0, 0, 2, 2), 9, 0, out), 4);
  EXPECT_EQ(CKpOperator::RotateRect(CRect(0, 0, 2, 2), 4, 0, nullptr), 0);
}

TEST(Operator, IntersectLine) {
  struct Row {
    const char* what;
    CPoint2D a1, a2, b1, b2;
    int result;
    CPoint2D point;
  };
  const double big = 2147483647.0;
  const Row rows[] = {
      {"crossing axes", {-5, 0}, {5, 0}, {0, -5}, {0, 5}, 1, {0, 0}},
      // Lines, not segments: the meeting point may lie beyond all four points.
      {"beyond the points", {0, 0}, {1, 1}, {10, 0}, {11, -1}, 1, {5, 5}},
      {"corner of a closed offset square", {-10, -10}, {110, -10}, {-10, 110}, {-10, -10}, 1, {-10, -10}},
      {"parallel", {0, 0}, {10, 0}, {0, 5}, {10, 5}, 0, {0, 0}},
      {"coincident", {0, 0}, {10, 0}, {20, 0}, {30, 0}, 0, {0, 0}},
      {"first line is a point", {3, 3}, {3, 3}, {0, 0}, {10, 0}, 0, {0, 0}},
      {"second line is a point", {0, 0}, {10, 0}, {3, 3}, {3, 3}, 0, {0, 0}},
      {"parallel at 32-bit coordinates", {-big, -big}, {big, big}, {-big, -big + 1}, {big, big + 1}, 0, {0, 0}},
      {"crossing at 32-bit coordinates", {-big, -big}, {big, big}, {-big, big}, {big, -big}, 1, {0, 0}},
      {"far corner", {big, 0}, {big, 1}, {0, big}, {1, big}, 1, {big, big}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CPoint2D out{-7, -7};
    EXPECT_EQ(CKpOperator::IntersectLine(r.a1, r.a2, r.b1, r.b2, out), r.result);
    const CPoint2D expected = r.result ? r.point : CPoint2D{-7, -7};  // untouched on failure
    EXPECT_NEAR(out.x, expected.x, 1e-6);
    EXPECT_NEAR(out.y, expected.y, 1e-6);
  }
}

}  // namespace
