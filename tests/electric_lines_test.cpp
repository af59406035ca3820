#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;
using Routine = void (CKpLineStyleEngine::*)(CKpLineStyleBase*, POINT*, long);

constexpr LONG kMin = INT32_MIN;
constexpr LONG kMax = INT32_MAX;

// Every arrowhead takes a solid brush of the pen's colour (the DC's stock
// black pen here) and puts the stock white brush back afterwards.
const std::string kBlackBrush = "SelectBrush SOLID color=0x000000";
const std::string kWhiteBrush = "SelectBrush SOLID color=0xFFFFFF";

std::string Pt(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Lines Line(POINT a, POINT b) { return {"MoveTo " + Pt(a), "LineTo " + Pt(b)}; }

// An open head: strokes from both base corners to the tip.
Lines Head(POINT c1, POINT tip, POINT c2) {
  return {kBlackBrush, "MoveTo " + Pt(c1), "LineTo " + Pt(tip), "MoveTo " + Pt(c2), "LineTo " + Pt(tip), kWhiteBrush};
}

// A mark of kinds 39 and 41: the short line from the end to its near point, then the head.
Lines Mark(POINT end, POINT near, POINT c1, POINT c2) { return Concat({Line(end, near), Head(c1, near, c2)}); }

std::string Circle(long l, long t, long r, long b) {
  return "Ellipse " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
         std::to_string(b);
}

// An engine on a recording DC and an electric sub-line with step `entry`
// (an empty pattern when entry < 0) and height `hv`.
struct Bench {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  Bench(short kind, long entry, short hv, double ratio = 1.0) {
    sub.SetHVMode(kind);
    sub.SetHVLength(hv);
    if (entry >= 0) sub.Add(entry, 5);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    engine.SetLineStyleBase(&sub);
    dc.Clear();
  }
  Lines Draw(Routine routine, std::vector<POINT> pts) {
    (engine.*routine)(&sub, pts.data(), static_cast<long>(pts.size()));
    return dc.GetCalls();
  }
};

// The marks of step 20 and head 6 on (0,0)-(100,0): tips 20 in from each
// end, heads 3 long and 6 wide.
const Lines kStartMark = Mark({0, 0}, {20, 0}, {17, 3}, {17, -3});
const Lines kEndMark = Mark({100, 0}, {80, 0}, {83, 3}, {83, -3});

TEST(ElectricLine, MarksBySegmentLength) {
  struct Row {
    const char* what;
    Routine routine;
    short kind;
    long entry;
    short hv;
    double ratio;
    std::vector<POINT> pts;
    Lines expected;
  };
  const Row rows[] = {
      // q = 5: a mark at each end, the start first.
      {"39 both ends", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{0, 0}, {100, 0}},
       Concat({kStartMark, kEndMark})},
      {"39 q = 1.5 marks the start only", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{0, 0}, {30, 0}},
       kStartMark},
      {"39 q = 2 marks the start only", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{0, 0}, {40, 0}},
       kStartMark},
      {"39 q = 1 marks nothing", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{0, 0}, {20, 0}}, {}},
      {"39 q = 0.75 marks nothing", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{0, 0}, {15, 0}}, {}},
      // Each segment on its own; the repeated vertex gives a segment without marks.
      {"39 per segment", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0,
       {{0, 0}, {100, 0}, {100, 0}, {100, 30}},
       Concat({kStartMark, kEndMark, Mark({100, 0}, {100, 20}, {97, 17}, {103, 17})})},
      // Ratio 1.5: T = 15, H = round(4.5) = 5, halved toward zero in the head.
      {"39 ratio scales step and head", &CKpLineStyleEngine::DrawElectric, 39, 10, 3, 1.5, {{0, 0}, {100, 0}},
       Concat({Mark({0, 0}, {15, 0}, {13, 2}, {13, -2}), Mark({100, 0}, {85, 0}, {87, 2}, {87, -2})})},
      // Near points (6,8) and (54,72) on a slanted segment of length 100.
      {"39 slanted", &CKpLineStyleEngine::DrawElectric, 39, 10, 6, 1.0, {{0, 0}, {60, 80}},
       Concat({Mark({0, 0}, {6, 8}, {2, 8}, {6, 4}), Mark({60, 80}, {54, 72}, {54, 76}, {58, 72})})},
      // The middle line first, then the heads without their short lines.
      {"40 middle line and heads", &CKpLineStyleEngine::DrawElectricEx, 40, 20, 6, 1.0,
       {{0, 0}, {100, 0}, {100, 30}},
       Concat({{"MoveTo 0 0", "LineTo 100 0", "LineTo 100 30"}, Head({17, 3}, {20, 0}, {17, -3}),
               Head({83, 3}, {80, 0}, {83, -3}), Head({97, 17}, {100, 20}, {103, 17})})},
      {"40 short segment keeps its middle line", &CKpLineStyleEngine::DrawElectricEx, 40, 20, 6, 1.0,
       {{0, 0}, {15, 0}}, {"MoveTo 0 0", "LineTo 15 0"}},
      {"41 first segment only", &CKpLineStyleEngine::DrawElectricSpecial, 41, 20, 6, 1.0,
       {{0, 0}, {100, 0}, {100, 100}}, kStartMark},
      {"41 short first segment, long second", &CKpLineStyleEngine::DrawElectricSpecial, 41, 20, 6, 1.0,
       {{0, 0}, {15, 0}, {15, 100}}, {}},
      // The whole 32-bit span: its length needs more than 32 bits.
      {"39 across the plane", &CKpLineStyleEngine::DrawElectric, 39, 20, 6, 1.0, {{kMin, 0}, {kMax, 0}},
       Concat({Mark({kMin, 0}, {kMin + 20, 0}, {kMin + 17, 3}, {kMin + 17, -3}),
               Mark({kMax, 0}, {kMax - 20, 0}, {kMax - 17, 3}, {kMax - 17, -3})})},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b(r.kind, r.entry, r.hv, r.ratio);
    EXPECT_EQ(b.Draw(r.routine, r.pts), r.expected);
  }
}

TEST(ElectricLine, CirclesOfKind42) {
  struct Row {
    const char* what;
    long entry;
    short hv;
    double ratio;
    std::vector<POINT> pts;
    Lines inner;  // between selecting the red brush and restoring the white one
  };
  const Row rows[] = {
      // R = round(2.5) = 3 around (20,0) and (80,0).
      {"both ends, radius rounds away", 20, 5, 1.0, {{0, 0}, {100, 0}},
       {Circle(17, 3, 23, -3), Circle(77, 3, 83, -3)}},
      {"start only", 20, 5, 1.0, {{0, 0}, {30, 0}}, {Circle(17, 3, 23, -3)}},
      // Nothing to mark: the brush is still taken and given back.
      {"segment too short", 20, 5, 1.0, {{0, 0}, {15, 0}}, {}},
      // Ratio 2: T = 40, R = 5.
      {"ratio 2", 20, 5, 2.0, {{0, 0}, {100, 0}}, {Circle(35, 5, 45, -5), Circle(55, 5, 65, -5)}},
      {"zero step", 0, 5, 1.0, {{0, 0}, {100, 0}}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b(42, r.entry, r.hv, r.ratio);
    b.sub.m_clrCurrent = RGB(255, 0, 0);
    const Lines expected = Concat({{"SelectBrush SOLID color=0x0000FF"}, r.inner, {kWhiteBrush}});
    EXPECT_EQ(b.Draw(&CKpLineStyleEngine::DrawElectricEx2, r.pts), expected);
    // The brush made for the call is not left in the DC.
    EXPECT_NE(b.dc.GetCurrentBrush(), nullptr);
    EXPECT_EQ(b.dc.GetCurrentBrush()->GetState().color, RGB(255, 255, 255));
  }
}

TEST(ElectricLine, DrawsNothingWithoutItsKindOrAStep) {
  struct Row {
    const char* what;
    Routine routine;
    short kind;
    long entry;  // < 0: empty pattern
    Lines expected;
  };
  const std::vector<POINT> pts{{0, 0}, {100, 0}};
  const Row rows[] = {
      {"39 routine on kind 40", &CKpLineStyleEngine::DrawElectric, 40, 20, {}},
      {"40 routine on kind 39", &CKpLineStyleEngine::DrawElectricEx, 39, 20, {}},
      {"41 routine on kind 0", &CKpLineStyleEngine::DrawElectricSpecial, 0, 20, {}},
      {"42 routine on kind 41", &CKpLineStyleEngine::DrawElectricEx2, 41, 20, {}},
      {"39 empty pattern", &CKpLineStyleEngine::DrawElectric, 39, -1, {}},
      // Not even the middle line.
      {"40 empty pattern", &CKpLineStyleEngine::DrawElectricEx, 40, -1, {}},
      {"42 empty pattern takes no brush", &CKpLineStyleEngine::DrawElectricEx2, 42, -1, {}},
      // A zero step would give zero-length marks on the vertices: none are drawn.
      {"39 zero step", &CKpLineStyleEngine::DrawElectric, 39, 0, {}},
      {"40 zero step keeps the middle line", &CKpLineStyleEngine::DrawElectricEx, 40, 0,
       {"MoveTo 0 0", "LineTo 100 0"}},
      {"41 zero step", &CKpLineStyleEngine::DrawElectricSpecial, 41, 0, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b(r.kind, r.entry, 6);
    EXPECT_EQ(b.Draw(r.routine, pts), r.expected);
  }
}

TEST(ElectricLine, BadInput) {
  const Routine routines[] = {&CKpLineStyleEngine::DrawElectric, &CKpLineStyleEngine::DrawElectricEx,
                              &CKpLineStyleEngine::DrawElectricSpecial, &CKpLineStyleEngine::DrawElectricEx2};
  short kind = 39;
  for (Routine routine : routines) {
    SCOPED_TRACE(kind);
    Bench b(kind++, 20, 6);
    POINT pts[] = {{0, 0}, {100, 0}};
    (b.engine.*routine)(nullptr, pts, 2);
    (b.engine.*routine)(&b.sub, nullptr, 2);
    (b.engine.*routine)(&b.sub, pts, 1);
    (b.engine.*routine)(&b.sub, pts, 0);
    (b.engine.*routine)(&b.sub, pts, -3);
    EXPECT_TRUE(b.dc.GetCalls().empty());
    // Without a device context nothing breaks.
    CKpLineStyleEngine bare;
    (bare.*routine)(&b.sub, pts, 2);
    EXPECT_EQ(bare.m_pDC, nullptr);
  }
}

TEST(PointWithDist, Values) {
  struct Row {
    const char* what;
    POINT P, Q;
    long d;
    POINT expected;
  };
  const Row rows[] = {
      {"3-4-5 triangle", {0, 0}, {30, 40}, 10, {6, 8}},
      {"d = 0 is P", {0, 0}, {30, 40}, 0, {0, 0}},
      // 5 / sqrt(2) = 3.54 per axis: rounded away from zero on both sides.
      {"rounded up", {0, 0}, {10, 10}, 5, {4, 4}},
      {"rounded down, away from zero", {0, 0}, {-10, -10}, 5, {-4, -4}},
      {"beyond Q", {0, 0}, {3, 4}, 10, {6, 8}},
      {"negative d goes back past P", {0, 0}, {3, 4}, -5, {-3, -4}},
      // No direction: P itself instead of a division by zero.
      {"P equals Q", {7, 7}, {7, 7}, 5, {7, 7}},
      // The diagonal of the plane: its squares overflow 32 and its length 32 bits.
      {"plane diagonal", {kMin, kMin}, {kMax, kMax}, 10, {kMin + 7, kMin + 7}},
      // k + 1 vanishes in doubles; the far point saturates, the other axis stays.
      {"huge d", {5, 5}, {6, 5}, LONG_MAX, {kMax, 5}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleEngine e;
    POINT P = r.P, Q = r.Q;
    const CPoint got = e.GetPointWithDist(P, Q, r.d);
    EXPECT_EQ(std::make_pair(got.x, got.y), std::make_pair(r.expected.x, r.expected.y));
  }
}

TEST(EndRepair, LastTenUnits) {
  struct Row {
    const char* what;
    std::vector<POINT> pts;
    short offset;
    double ratio;
    Lines expected;
  };
  const Row rows[] = {
      {"long segment", {{0, 0}, {100, 0}}, 0, 1.0, Line({90, 0}, {100, 0})},
      {"short segment drawn whole", {{0, 0}, {8, 0}}, 0, 1.0, Line({0, 0}, {8, 0})},
      // Rounded length 10 is still short; 11 is cut to its last ten units.
      {"length 10 whole", {{0, 0}, {10, 0}}, 0, 1.0, Line({0, 0}, {10, 0})},
      {"length 11 cut", {{0, 0}, {11, 0}}, 0, 1.0, Line({1, 0}, {11, 0})},
      {"last segment only", {{0, 0}, {50, 0}, {50, 40}}, 0, 1.0, Line({50, 30}, {50, 40})},
      {"offset 4", {{0, 0}, {100, 0}}, 4, 1.0, Line({90, 4}, {100, 4})},
      // The offset scales with the ratio, the ten units do not.
      {"offset 4 at ratio 2", {{0, 0}, {100, 0}}, 4, 2.0, Line({90, 8}, {100, 8})},
      // Offset 5 across the direction (6,8): (-4,3).
      {"slanted with offset", {{0, 0}, {30, 40}}, 5, 1.0, Line({20, 35}, {26, 43})},
      // No direction: the stroke stays where it is.
      {"equal last points", {{0, 0}, {5, 5}, {5, 5}}, 4, 1.0, Line({5, 5}, {5, 5})},
      // Lengths past 32 bits.
      {"across the plane", {{kMin, 0}, {kMax, 0}}, 4, 1.0, Line({kMax - 10, 4}, {kMax, 4})},
      {"plane diagonal", {{kMin, kMin}, {kMax, kMax}}, 0, 1.0, Line({kMax - 7, kMax - 7}, {kMax, kMax})},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Bench b(0, 20, 0, r.ratio);
    b.sub.m_nVertOffset = r.offset;
    std::vector<POINT> pts = r.pts;
    b.engine.MendDiscardInfo(&b.sub, pts.data(), static_cast<long>(pts.size()));
    EXPECT_EQ(b.dc.GetCalls(), r.expected);
    EXPECT_EQ(pts.back().x, r.pts.back().x);  // the caller's points stay as they were
  }
}

TEST(EndRepair, BadInput) {
  Bench b(0, 20, 0);
  POINT pts[] = {{0, 0}, {100, 0}};
  b.engine.MendDiscardInfo(nullptr, pts, 2);
  b.engine.MendDiscardInfo(&b.sub, nullptr, 2);
  b.engine.MendDiscardInfo(&b.sub, pts, 1);
  b.engine.MendDiscardInfo(&b.sub, pts, 0);
  b.engine.MendDiscardInfo(&b.sub, pts, -1);
  EXPECT_TRUE(b.dc.GetCalls().empty());
}

}  // namespace
