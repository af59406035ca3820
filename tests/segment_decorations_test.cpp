#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CBrush.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kWhite = "SelectBrush SOLID color=0xFFFFFF";
const std::string kHost = "SelectBrush SOLID color=0x332211";  // the host's brush, put back
const std::string kFill = "SelectBrush SOLID color=0x0000FF";  // the sub-line's current colour

// An engine on a recording DC holding a brush of its own, with a sub-line of
// height h and the given pattern current and the walker reset.
struct Deco {
  CBrush hostBrush{RGB(0x11, 0x22, 0x33)};
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;

  explicit Deco(short h, std::vector<std::pair<long, long>> pattern = {{10, 5}}, double ratio = 1.0) {
    for (auto [drawn, gap] : pattern) sub.Add(drawn, gap);
    sub.m_nHVLength = h;
    sub.m_clrCurrent = RGB(255, 0, 0);
    dc.SelectObject(&hostBrush);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    engine.SetLineStyleBase(&sub);
    engine.Flush();
    dc.Clear();
  }
};

// The driver walks these kinds with the integer walker, all others with the
// extended one that carries the previous boundary across a vertex.
bool UsesPlainWalker(short kind) { return kind == 14 || kind == 15 || (kind >= 21 && kind <= 24); }

// Draws `kind` along a polyline as the sub-line driver does: the current
// position on the start, then per segment the decoration vector, the walk and
// the dispatch. Returns the calls after the initial move.
Lines Drive(Deco& d, short kind, const std::vector<POINT>& pts) {
  d.engine.MoveTo(pts[0]);
  d.dc.Clear();
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    POINT a = pts[i], b = pts[i + 1], v{0, 0};
    d.engine.LineOffset(&a, &b, d.sub.m_nHVLength, &v);
    if (UsesPlainWalker(kind))
      d.engine.LineDisjunction(a, b);
    else
      d.engine.LineDisjunctionEx(a, b);
    d.engine.DrawLine(kind, &v);
  }
  return d.dc.GetCalls();
}

struct Buffered {
  int x, y, type;
};

// Puts a hand-made walked segment into the buffer.
void SetBuffer(CKpLineStyleEngine& e, const std::vector<Buffered>& pts) {
  for (size_t i = 0; i < pts.size(); ++i) {
    e.m_pPoints[i] = POINT{pts[i].x, pts[i].y};
    e.m_pTypes[i] = static_cast<BYTE>(pts[i].type);
  }
  e.m_nLastIndex = static_cast<long>(pts.size()) - 1;
}

Lines DrawBuffer(Deco& d, short kind, const std::vector<Buffered>& pts, POINT v) {
  SetBuffer(d.engine, pts);
  d.dc.Clear();
  d.engine.DrawLine(kind, &v);
  return d.dc.GetCalls();
}

using Routine = void (CKpLineStyleEngine::*)(long, long);
const Routine kRoutines[27] = {
    &CKpLineStyleEngine::DrawSegmentsVCenter,          &CKpLineStyleEngine::DrawSegmentsVUp,
    &CKpLineStyleEngine::DrawSegmentsVDown,            &CKpLineStyleEngine::DrawSegmentsVUpDown,
    &CKpLineStyleEngine::DrawSegmentsVShortLongUp,     &CKpLineStyleEngine::DrawSegmentsVShortLongDown,
    &CKpLineStyleEngine::DrawSegmentsVShortLongUpDown, &CKpLineStyleEngine::DrawSegmentsVShortLongDownUp,
    &CKpLineStyleEngine::DrawSegmentsVBevel,           &CKpLineStyleEngine::DrawSegmentsVBevel2,
    &CKpLineStyleEngine::DrawSegmentsVBevelUpDown,     &CKpLineStyleEngine::DrawSegmentsVTriangle,
    &CKpLineStyleEngine::DrawSegmentsVTriangle2,       &CKpLineStyleEngine::DrawSegmentsVWave,
    &CKpLineStyleEngine::DrawSegmentsVWall,            &CKpLineStyleEngine::DrawSegmentsVBox,
    &CKpLineStyleEngine::DrawSegmentsVUpDownCross,     &CKpLineStyleEngine::DrawSegmentsVXCross,
    &CKpLineStyleEngine::DrawSegmentsVCrossUp,         &CKpLineStyleEngine::DrawSegmentsVCrossDown,
    &CKpLineStyleEngine::DrawSegmentsVCrossUpDown,     &CKpLineStyleEngine::DrawSegmentsVBiArcUp,
    &CKpLineStyleEngine::DrawSegmentsVBiArcDown,       &CKpLineStyleEngine::DrawSegmentsVBiArcUpDown,
    &CKpLineStyleEngine::DrawSegmentsVCircleCenter,    &CKpLineStyleEngine::DrawSegmentsVCircleUp,
    &CKpLineStyleEngine::DrawSegmentsVCircleUpDown,
};

struct Row {
  const char* what;
  short kind;
  Lines expected;
};

// Pattern {10 drawn, 5 gap}, h = 4, segment (0,0)-(37,0): buffer (0,0)2 (10,0)2
// (15,0)6 (25,0)2 (30,0)6 (37,0)2, v = (0,4), f = (4,0); dash ends at 10 and
// 25, dash starts at 15 and 30; the first dash began before the buffer.
const std::vector<Row>& WorkedRows() {
  static const std::vector<Row> rows = {
      {"1 centred ticks", 1,
       {"MoveTo 10 4", "LineTo 10 -4", "MoveTo 15 4", "LineTo 15 -4", "MoveTo 25 4", "LineTo 25 -4",
        "MoveTo 30 4", "LineTo 30 -4"}},
      {"2 ticks up", 2,
       {"MoveTo 10 4", "LineTo 10 0", "MoveTo 15 4", "LineTo 15 0", "MoveTo 25 4", "LineTo 25 0",
        "MoveTo 30 4", "LineTo 30 0"}},
      {"3 ticks down", 3,
       {"MoveTo 10 0", "LineTo 10 -4", "MoveTo 15 0", "LineTo 15 -4", "MoveTo 25 0", "LineTo 25 -4",
        "MoveTo 30 0", "LineTo 30 -4"}},
      {"4 down at ends, up at starts", 4,
       {"MoveTo 10 0", "LineTo 10 -4", "MoveTo 15 4", "LineTo 15 0", "MoveTo 25 0", "LineTo 25 -4",
        "MoveTo 30 4", "LineTo 30 0"}},
      {"5 long up, short up", 5,
       {"MoveTo 10 0", "LineTo 10 8", "MoveTo 15 0", "LineTo 15 4", "MoveTo 25 0", "LineTo 25 8",
        "MoveTo 30 0", "LineTo 30 4"}},
      {"6 long down, short down", 6,
       {"MoveTo 10 0", "LineTo 10 -8", "MoveTo 15 0", "LineTo 15 -4", "MoveTo 25 0", "LineTo 25 -8",
        "MoveTo 30 0", "LineTo 30 -4"}},
      {"7 long up, short down", 7,
       {"MoveTo 10 0", "LineTo 10 8", "MoveTo 15 0", "LineTo 15 -4", "MoveTo 25 0", "LineTo 25 8",
        "MoveTo 30 0", "LineTo 30 -4"}},
      {"8 long down, short up", 8,
       {"MoveTo 10 0", "LineTo 10 -8", "MoveTo 15 0", "LineTo 15 4", "MoveTo 25 0", "LineTo 25 -8",
        "MoveTo 30 0", "LineTo 30 4"}},
      // The first dash is carried: its stroke has the first dash length D = 10.
      {"9 strokes down", 9, {"MoveTo 0 0", "LineTo 10 -4", "MoveTo 15 0", "LineTo 25 -4", "MoveTo 30 0"}},
      {"10 strokes up", 10, {"MoveTo 0 0", "LineTo 10 4", "MoveTo 15 0", "LineTo 25 4", "MoveTo 30 0"}},
      {"11 dashes down, gaps up", 11,
       {"MoveTo 0 0", "LineTo 10 -4", "MoveTo 10 0", "LineTo 15 4", "MoveTo 15 0", "LineTo 25 -4",
        "MoveTo 25 0", "LineTo 30 4", "MoveTo 30 0"}},
      {"12 chevrons over dashes", 12,
       {"MoveTo 0 0", "MoveTo 0 0", "LineTo 10 -4", "MoveTo 0 0", "LineTo 10 4", "MoveTo 15 0",
        "LineTo 25 -4", "MoveTo 15 0", "LineTo 25 4"}},
      {"13 chevrons over gaps", 13,
       {"MoveTo 0 0", "MoveTo 10 -4", "LineTo 15 0", "LineTo 10 4", "MoveTo 25 -4", "LineTo 30 0",
        "LineTo 25 4"}},
      {"14 zigzag from the current position", 14,
       {"LineTo 10 4", "LineTo 15 -4", "LineTo 25 4", "LineTo 30 -4"}},
      {"15 battlement", 15,
       {"LineTo 0 4", "LineTo 10 4", "LineTo 10 -4", "LineTo 15 -4", "LineTo 15 4", "LineTo 25 4",
        "LineTo 25 -4", "LineTo 30 -4", "LineTo 30 4"}},
      {"16 white boxes", 16,
       {kWhite, "Polygon 4 10 -4 10 4 18 4 18 -4", "Polygon 4 25 -4 25 4 33 4 33 -4", kHost}},
      {"17 upright crosses", 17,
       {"MoveTo 10 -4", "LineTo 10 4", "MoveTo 6 0", "LineTo 14 0", "MoveTo 25 -4", "LineTo 25 4",
        "MoveTo 21 0", "LineTo 29 0"}},
      {"18 diagonal crosses", 18,
       {"MoveTo 6 -4", "LineTo 14 4", "MoveTo 14 -4", "LineTo 6 4", "MoveTo 21 -4", "LineTo 29 4",
        "MoveTo 29 -4", "LineTo 21 4"}},
      {"19 open up", 19,
       {"MoveTo 6 4", "LineTo 10 0", "LineTo 14 4", "MoveTo 21 4", "LineTo 25 0", "LineTo 29 4"}},
      {"20 open down", 20,
       {"MoveTo 6 -4", "LineTo 10 0", "LineTo 14 -4", "MoveTo 21 -4", "LineTo 25 0", "LineTo 29 -4"}},
      {"21 up at ends, down at starts", 21,
       {"MoveTo 6 4", "LineTo 10 0", "LineTo 14 4", "MoveTo 11 -4", "LineTo 15 0", "LineTo 19 -4",
        "MoveTo 21 4", "LineTo 25 0", "LineTo 29 4", "MoveTo 26 -4", "LineTo 30 0", "LineTo 34 -4"}},
      {"22 up arcs", 22, {"Arc 6 -4 14 4 14 0 6 0", "Arc 21 -4 29 4 29 0 21 0"}},
      {"23 down arcs", 23, {"Arc 6 -4 14 4 6 0 14 0", "Arc 21 -4 29 4 21 0 29 0"}},
      {"24 up at ends, down at starts", 24,
       {"Arc 6 -4 14 4 14 0 6 0", "Arc 11 -4 19 4 11 0 19 0", "Arc 21 -4 29 4 29 0 21 0",
        "Arc 26 -4 34 4 26 0 34 0"}},
      {"25 filled circles", 25, {kFill, "Ellipse 8 -2 12 2", "Ellipse 23 -2 27 2", kHost}},
      {"26 hollow circles", 26, {kWhite, "Ellipse 8 -2 12 2", "Ellipse 23 -2 27 2", kHost}},
      {"27 circles up at ends, down at starts", 27,
       {kWhite, "Ellipse 8 0 12 4", "Ellipse 13 -4 17 0", "Ellipse 23 0 27 4", "Ellipse 28 -4 32 0", kHost}},
  };
  return rows;
}

TEST(SegmentDecorations, EveryKindOnTheWorkedSegment) {
  ASSERT_EQ(WorkedRows().size(), 27u);
  for (const Row& r : WorkedRows()) {
    SCOPED_TRACE(r.what);
    Deco d(4);
    EXPECT_EQ(Drive(d, r.kind, {{0, 0}, {37, 0}}), r.expected);
  }
}

TEST(SegmentDecorations, ExportedTickRoutinesMatchTheDispatch) {
  // Outside the dispatch, the up, down and alternating ticks first move to P0 + v.
  for (short kind = 1; kind <= 6; ++kind) {
    SCOPED_TRACE(kind);
    Deco d(4);
    d.engine.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
    (d.engine.*kRoutines[kind - 1])(0, 4);
    Lines expected;
    if (kind >= 2 && kind <= 4) expected.push_back("MoveTo 0 4");
    for (const auto& line : WorkedRows()[kind - 1].expected) expected.push_back(line);
    EXPECT_EQ(d.dc.GetCalls(), expected);
  }
}

TEST(SegmentDecorations, NegativeHeightSwapsTheSides) {
  // h = -4: v = (0,-4), f = (-4,0).
  const Row rows[] = {
      {"2 ticks now below", 2,
       {"MoveTo 10 -4", "LineTo 10 0", "MoveTo 15 -4", "LineTo 15 0", "MoveTo 25 -4", "LineTo 25 0",
        "MoveTo 30 -4", "LineTo 30 0"}},
      {"9 strokes now up", 9, {"MoveTo 0 0", "LineTo 10 4", "MoveTo 15 0", "LineTo 25 4", "MoveTo 30 0"}},
      // The boxes reach backward into the dash.
      {"16 boxes", 16, {kWhite, "Polygon 4 10 4 10 -4 2 -4 2 4", "Polygon 4 25 4 25 -4 17 -4 17 4", kHost}},
      // R = -4: the bounding square is given corner for corner as computed.
      {"22 arcs", 22, {"Arc 14 4 6 -4 6 0 14 0", "Arc 29 4 21 -4 21 0 29 0"}},
      {"27 circles", 27,
       {kWhite, "Ellipse 12 0 8 -4", "Ellipse 17 4 13 0", "Ellipse 27 0 23 -4", "Ellipse 32 4 28 0", kHost}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(-4);
    EXPECT_EQ(Drive(d, r.kind, {{0, 0}, {37, 0}}), r.expected);
  }
}

TEST(SegmentDecorations, PiecesCarriedAcrossAVertex) {
  // (0,0)-(6,0)-(6,20): the first dash bends round the corner. The second
  // segment buffers (0,0)6 (6,0)2 (6,4)2 (6,9)6 (6,19)2 (6,20)6 with v = (-4,0);
  // its first dash end (6,4) is measured from (0,0) along the first segment
  // (D = 10, w = (0,4)).
  const std::vector<POINT> corner = {{0, 0}, {6, 0}, {6, 20}};
  // (0,0)-(12,0)-(12,20): the first gap bends round the corner; the second
  // segment buffers (10,0)2 (12,0)6 (12,3)6 (12,13)2 (12,18)6 (12,20)2.
  const std::vector<POINT> gapCorner = {{0, 0}, {12, 0}, {12, 20}};
  struct CarryRow {
    const char* what;
    short kind;
    const std::vector<POINT>* pts;
    Lines expected;
  };
  const CarryRow rows[] = {
      {"9", 9, &corner, {"MoveTo 0 0", "MoveTo 0 0", "LineTo 10 -4", "MoveTo 6 9", "LineTo 10 19"}},
      {"10", 10, &corner, {"MoveTo 0 0", "MoveTo 0 0", "LineTo 10 4", "MoveTo 6 9", "LineTo 2 19"}},
      {"11", 11, &corner,
       {"MoveTo 0 0", "MoveTo 0 0", "LineTo 10 -4", "MoveTo 6 4", "LineTo 2 9", "MoveTo 6 9", "LineTo 10 19",
        "MoveTo 6 19"}},
      {"12", 12, &corner,
       {"MoveTo 0 0", "MoveTo 0 0", "MoveTo 0 0", "LineTo 10 -4", "MoveTo 0 0", "LineTo 10 4", "MoveTo 6 9",
        "LineTo 10 19", "MoveTo 6 9", "LineTo 2 19"}},
      // The carried gap's chevron: arms G = 5 back from the dash start (12,3)
      // along (12,0), w' = (4,0); the next gap is an ordinary one.
      {"13", 13, &gapCorner,
       {"MoveTo 0 0", "MoveTo 10 0", "MoveTo 8 -2", "LineTo 12 3", "LineTo 16 -2", "MoveTo 16 13",
        "LineTo 12 18", "LineTo 8 13"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(4);
    EXPECT_EQ(Drive(d, r.kind, *r.pts), r.expected);
  }
}

TEST(SegmentDecorations, CarriedLengthsComeFromTheFirstDashAndGap) {
  // Entries {3 gap, 8 drawn}: D = 8 (entry 1), G = 3 (entry 0). v = (0,4).
  const POINT v{0, 4};
  {
    Deco d(4);
    d.sub.RemoveAll();
    d.sub.AppendEntry(3, 0);
    d.sub.AppendEntry(8, 1);
    d.engine.SetLineStyleBase(&d.sub);
    // A carried dash ends at (7,0): its stroke runs D = 8 from (0,0).
    EXPECT_EQ(DrawBuffer(d, 9, {{0, 0, 2}, {7, 0, 2}, {12, 0, 6}}, v), (Lines{"MoveTo 0 0", "LineTo 8 -4"}));
    // A carried gap before the dash start (20,0): the chevron opens G = 3 back.
    EXPECT_EQ(DrawBuffer(d, 13, {{0, 0, 6}, {20, 0, 6}, {30, 0, 2}}, v),
              (Lines{"MoveTo 0 0", "MoveTo 17 4", "LineTo 20 0", "LineTo 17 -4"}));
  }
  // Kind 11, a carried gap before the dash start (5,0), then a dash to (15,0).
  const std::vector<Buffered> carriedGap = {{0, 0, 6}, {5, 0, 6}, {15, 0, 2}, {20, 0, 6}};
  {
    // First dash 10: the gap's stroke reaches 10 units from (0,0).
    Deco d(4, {{10, 5}});
    EXPECT_EQ(DrawBuffer(d, 11, carriedGap, v),
              (Lines{"MoveTo 0 0", "LineTo 10 4", "MoveTo 5 0", "LineTo 15 -4", "MoveTo 15 0"}));
  }
  {
    // First dash of length 0: the carried stroke has no end and is skipped.
    Deco d(4, {{0, 5}, {10, 5}});
    EXPECT_EQ(DrawBuffer(d, 11, carriedGap, v),
              (Lines{"MoveTo 0 0", "MoveTo 5 0", "LineTo 15 -4", "MoveTo 15 0"}));
  }
  {
    // The carried piece's two reference points coincide: no figure, the rest goes on.
    Deco d(4);
    EXPECT_EQ(DrawBuffer(d, 12, {{3, 3, 2}, {3, 3, 2}, {9, 3, 6}, {12, 3, 2}, {20, 3, 6}}, v),
              (Lines{"MoveTo 3 3", "MoveTo 9 3", "LineTo 12 -1", "MoveTo 9 3", "LineTo 12 7"}));
    EXPECT_EQ(DrawBuffer(d, 13, {{0, 0, 6}, {3, 3, 6}, {3, 3, 6}, {9, 3, 2}, {12, 3, 6}, {15, 3, 2}, {20, 3, 6}}, v),
              (Lines{"MoveTo 0 0", "MoveTo 9 -1", "LineTo 12 3", "LineTo 9 7"}));
  }
}

TEST(SegmentDecorations, DiagonalSegment) {
  // (0,0)-(15,20), h = 5: buffer (0,0)2 (6,8)2 (9,12)6 (15,20)2 (15,20)6,
  // v = (-4,3), f = (3,4); dash ends (6,8) and (15,20), dash start (9,12).
  const Row rows[] = {
      {"9 strokes", 9, {"MoveTo 0 0", "LineTo 10 5", "MoveTo 9 12", "LineTo 19 17"}},
      {"16 boxes", 16, {kWhite, "Polygon 4 10 5 2 11 8 19 16 13", "Polygon 4 19 17 11 23 17 31 25 25", kHost}},
      {"18 crosses", 18,
       {"MoveTo 7 1", "LineTo 5 15", "MoveTo 13 9", "LineTo -1 7", "MoveTo 16 13", "LineTo 14 27",
        "MoveTo 22 21", "LineTo 8 19"}},
      {"22 arcs", 22, {"Arc 1 3 11 13 9 12 3 4", "Arc 10 15 20 25 18 24 12 16"}},
      // R = round(2.5) = 3; centres p + trunc(v/2) = p + (-2,1), p - (-2,1).
      {"27 circles", 27, {kWhite, "Ellipse 1 6 7 12", "Ellipse 8 8 14 14", "Ellipse 10 18 16 24", kHost}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(5);
    EXPECT_EQ(Drive(d, r.kind, {{0, 0}, {15, 20}}), r.expected);
  }
}

TEST(SegmentDecorations, ZigzagAndBattlementRunOnAcrossAVertex) {
  // (0,0)-(12,0)-(12,20) with the integer walker: (0,0)2 (10,0)2 (12,0)6, v = (0,4);
  // then (12,0)6 (12,3)6 (12,13)2 (12,18)6 (12,20)2, v = (-4,0).
  const Row rows[] = {
      {"14", 14, {"LineTo 10 4", "LineTo 16 3", "LineTo 8 13", "LineTo 16 18"}},
      // On the second segment the line first drops to the gap level (16,0).
      {"15", 15,
       {"LineTo 0 4", "LineTo 10 4", "LineTo 10 -4", "LineTo 16 0", "LineTo 16 3", "LineTo 8 3",
        "LineTo 8 13", "LineTo 16 13", "LineTo 16 18", "LineTo 8 18"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(4);
    EXPECT_EQ(Drive(d, r.kind, {{0, 0}, {12, 0}, {12, 20}}), r.expected);
  }
}

TEST(SegmentDecorations, CircleRadiiRoundDifferently) {
  struct RadiusRow {
    const char* what;
    short kind;
    short h;
    double ratio;
    Lines expected;
  };
  const RadiusRow rows[] = {
      // h = 5: kind 25 halves after scaling (round 2.5 = 3), kind 26 halves 5 first (2).
      {"25, h 5", 25, 5, 1.0, {kFill, "Ellipse 7 -3 13 3", "Ellipse 22 -3 28 3", kHost}},
      {"26, h 5", 26, 5, 1.0, {kWhite, "Ellipse 8 -2 12 2", "Ellipse 23 -2 27 2", kHost}},
      // Ratio 2 (dashes 20, gaps 10: the dash end at 20): 25 -> 5, 26 -> 2 * 2 = 4.
      {"25, h 5, ratio 2", 25, 5, 2.0, {kFill, "Ellipse 15 -5 25 5", kHost}},
      {"26, h 5, ratio 2", 26, 5, 2.0, {kWhite, "Ellipse 16 -4 24 4", kHost}},
      // Arc radius and carried stroke scale too: R = 10, v = (0,10), D * r = 20.
      {"22, h 5, ratio 2", 22, 5, 2.0, {"Arc 10 -10 30 10 30 0 10 0"}},
      {"9, h 5, ratio 2", 9, 5, 2.0, {"MoveTo 0 0", "LineTo 20 -10", "MoveTo 30 0"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(r.h, {{10, 5}}, r.ratio);
    EXPECT_EQ(Drive(d, r.kind, {{0, 0}, {37, 0}}), r.expected);
  }
}

bool IsDrawing(const std::string& call) {
  for (const char* verb : {"LineTo", "Polyline", "Polygon", "Ellipse", "Arc"})
    if (call.rfind(verb, 0) == 0) return true;
  return false;
}

Lines DrawingCalls(const Lines& calls) {
  Lines out;
  for (const auto& c : calls)
    if (IsDrawing(c)) out.push_back(c);
  return out;
}

TEST(SegmentDecorations, ShortBuffersHaveNoInnerPoint) {
  for (short kind = 1; kind <= 27; ++kind) {
    SCOPED_TRACE(kind);
    {
      // (0,0)2 (6,0)2: only the battlement draws, to the level of point 0.
      Deco d(4);
      const Lines drawn = DrawingCalls(Drive(d, kind, {{0, 0}, {6, 0}}));
      EXPECT_EQ(drawn, kind == 15 ? Lines{"LineTo 0 4"} : Lines{});
    }
    {
      // A zero-length segment leaves an empty buffer.
      Deco d(4);
      d.engine.LineDisjunction(POINT{5, 5}, POINT{5, 5});
      POINT v{0, 4};
      d.engine.DrawLine(kind, &v);
      EXPECT_EQ(DrawingCalls(d.dc.GetCalls()), Lines{});
    }
  }
}

TEST(SegmentDecorations, UnusableStateDrawsNothing) {
  for (short kind = 1; kind <= 27; ++kind) {
    SCOPED_TRACE(kind);
    const Routine routine = kRoutines[kind - 1];
    {
      // No current sub-line.
      Deco d(4);
      d.engine.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
      d.engine.SetLineStyleBase(nullptr);
      (d.engine.*routine)(0, 4);
      EXPECT_EQ(d.dc.GetCalls(), Lines{});
    }
    {
      // A last index outside the buffer, either way.
      Deco d(4);
      d.engine.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
      d.engine.m_nLastIndex = -1;
      (d.engine.*routine)(0, 4);
      d.engine.m_nLastIndex = d.engine.GetBufferSize();
      (d.engine.*routine)(0, 4);
      EXPECT_EQ(d.dc.GetCalls(), Lines{});
    }
    {
      // No device: the position the engine keeps is not touched either.
      CKpLineStyleEngine e;
      CKpLineStyleBase sub;
      sub.Add(10, 5);
      sub.m_nHVLength = 4;
      e.SetLineStyleBase(&sub);
      e.Flush();
      e.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
      e.m_ptCurrent = POINT{-7, -7};
      (e.*routine)(0, 4);
      EXPECT_EQ(e.m_ptCurrent.x, -7);
      EXPECT_EQ(e.m_ptCurrent.y, -7);
    }
  }
}

TEST(SegmentDecorations, FiguresSaturateAtTheEdgeOfThePlane) {
  const int big = INT_MAX - 7;
  const std::vector<Buffered> nearEdge = {{big - 10, 0, 2}, {big, 0, 2}, {big + 2, 0, 6}, {INT_MAX, 0, 2}};
  Deco d(4);
  // p + v + 2f would be INT_MAX + 1 in x.
  EXPECT_EQ(DrawBuffer(d, 16, nearEdge, POINT{0, 4}),
            (Lines{kWhite, "Polygon 4 2147483640 -4 2147483640 4 2147483647 4 2147483647 -4", kHost}));
  // p + 2v with v = (0, 2^30) would be 2^31 in y.
  EXPECT_EQ(DrawBuffer(d, 7, nearEdge, POINT{0, 1 << 30}),
            (Lines{"MoveTo 2147483640 0", "LineTo 2147483640 2147483647", "MoveTo 2147483642 0",
                   "LineTo 2147483642 -1073741824"}));
}

}  // namespace
