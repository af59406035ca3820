#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;
// A buffered point: x, y and its type (2 drawn piece, 6 gap).
struct Buffered {
  int x, y, type;
  bool operator==(const Buffered& o) const { return x == o.x && y == o.y && type == o.type; }
};
std::ostream& operator<<(std::ostream& os, const Buffered& b) {
  return os << "(" << b.x << "," << b.y << ")" << b.type;
}

std::vector<Buffered> Buffer(const CKpLineStyleEngine& e) {
  std::vector<Buffered> out;
  for (long i = 0; i <= e.m_nLastIndex; ++i)
    out.push_back({e.m_pPoints[i].x, e.m_pPoints[i].y, e.m_pTypes[i]});
  return out;
}

// An engine on a recording DC with the pattern of `sub` current and the walker reset.
struct Walk {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  explicit Walk(std::vector<std::pair<long, long>> pairs, double ratio = 1.0) {
    for (auto [a, b] : pairs) sub.Add(a, b);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    engine.SetLineStyleBase(&sub);
    engine.Flush();
    dc.Clear();
  }
};

TEST(PatternWalker, IntegerWalkerCutsOneSegment) {
  struct Row {
    const char* what;
    POINT to;
    std::vector<Buffered> buffer;
    double remain;
    long styleIndex;
  };
  const Row rows[] = {
      // Two whole periods and three units of the next dash.
      {"37 units", {37, 0}, {{0, 0, 2}, {10, 0, 2}, {15, 0, 6}, {25, 0, 2}, {30, 0, 6}, {37, 0, 2}}, -3, 0},
      // A dash ends exactly on the segment end: the end is buffered twice.
      {"40 units", {40, 0}, {{0, 0, 2}, {10, 0, 2}, {15, 0, 6}, {25, 0, 2}, {30, 0, 6}, {40, 0, 2}, {40, 0, 6}}, -5, 1},
      // Shorter than the first dash: only the end, inside the dash.
      {"6 units", {6, 0}, {{0, 0, 2}, {6, 0, 2}}, -4, 0},
      // A diagonal 3-4-5 segment of length 25 scaled by 5.
      // The dash ends on the segment end, so the end is buffered again inside the gap.
      {"diagonal", {15, 20}, {{0, 0, 2}, {6, 8, 2}, {9, 12, 6}, {15, 20, 2}, {15, 20, 6}}, -5, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Walk w({{10, 5}});
    w.engine.LineDisjunction(POINT{0, 0}, r.to);
    EXPECT_EQ(Buffer(w.engine), r.buffer);
    EXPECT_EQ(w.engine.m_dRemain, r.remain);
    EXPECT_EQ(w.engine.m_nStyleIndex, r.styleIndex);
  }
}

TEST(PatternWalker, ExtendedWalkerCarriesTheBoundaryAcrossAVertex) {
  Walk w({{10, 5}});
  w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{12, 0});
  EXPECT_EQ(Buffer(w.engine), (std::vector<Buffered>{{0, 0, 2}, {10, 0, 2}, {12, 0, 6}}));
  EXPECT_EQ(w.engine.m_dRemain, -3);
  w.engine.m_nFirstSegment = 0;
  w.engine.LineDisjunctionEx(POINT{12, 0}, POINT{30, 0});
  EXPECT_EQ(Buffer(w.engine), (std::vector<Buffered>{
                                  {10, 0, 2}, {12, 0, 6}, {15, 0, 6}, {25, 0, 2}, {30, 0, 6}, {30, 0, 2}}));
  EXPECT_EQ(w.engine.m_nFirstSegment, 1);  // the carried boundary is not played again
}

TEST(PatternWalker, DegenerateInput) {
  {
    // Two equal points: nothing buffered, the phase does not move.
    Walk w({{10, 5}});
    w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{7, 0});
    const auto before = Buffer(w.engine);
    w.engine.LineDisjunctionEx(POINT{7, 0}, POINT{7, 0});
    EXPECT_EQ(Buffer(w.engine), before);
    EXPECT_EQ(w.engine.m_dRemain, -3);
    w.engine.LineDisjunction(POINT{7, 0}, POINT{7, 0});
    EXPECT_EQ(w.engine.m_nLastIndex, 0);
    EXPECT_EQ(w.engine.m_dRemain, -3);
  }
  {
    // An all-zero pattern abandons the segment after its start point.
    Walk w({{0, 0}});
    w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{50, 0});
    EXPECT_EQ(w.engine.m_nLastIndex, 0);
    w.engine.LineDisjunction(POINT{0, 0}, POINT{50, 0});
    EXPECT_EQ(w.engine.m_nLastIndex, 0);
  }
  {
    // Zero-length entries between real ones give zero-length pieces, not a stall.
    Walk w({{10, 0}, {0, 5}});
    w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{20, 0});
    EXPECT_EQ(Buffer(w.engine), (std::vector<Buffered>{
                                    {0, 0, 2}, {10, 0, 2}, {10, 0, 6}, {10, 0, 2}, {15, 0, 6}, {20, 0, 2}}));
  }
  {
    // No pattern at all: the walker refuses to run.
    Walk w({});
    w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{50, 0});
    w.engine.LineDisjunction(POINT{0, 0}, POINT{50, 0});
    EXPECT_EQ(w.engine.m_nLastIndex, 0);
  }
}

TEST(PatternWalker, SmallRatioKeepsEveryEntryAtLeastOneUnit) {
  Walk w({{3, 2}}, 0.1);
  w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{5, 0});
  EXPECT_EQ(Buffer(w.engine), (std::vector<Buffered>{
                                  {0, 0, 2}, {1, 0, 2}, {2, 0, 6}, {3, 0, 2}, {4, 0, 6}, {5, 0, 2}, {5, 0, 6}}));
}

// Plays a polyline the way the sub-line driver does.
Lines PlayPolyline(Walk& w, const std::vector<POINT>& pts) {
  w.engine.MoveTo(pts[0]);
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    w.engine.LineDisjunctionEx(pts[i], pts[i + 1]);
    w.engine.DrawSegments();
  }
  return w.dc.GetCalls();
}

TEST(PatternWalker, DashesRunOnAcrossVertices) {
  Walk w({{10, 5}});
  const Lines calls = PlayPolyline(w, {{0, 0}, {12, 0}, {30, 0}});
  // Dashes at 0..10 and 15..25, then a dash that starts at 30: exactly as on a straight line.
  const Lines expected = {"MoveTo 0 0", "LineTo 10 0", "MoveTo 12 0", "MoveTo 15 0",
                          "LineTo 25 0", "MoveTo 30 0"};
  EXPECT_EQ(calls, expected);
}

TEST(PatternWalker, CarriedDashAroundACorner) {
  Walk w({{10, 5}});
  const Lines calls = PlayPolyline(w, {{0, 0}, {6, 0}, {6, 20}});
  // The first dash bends round the corner: 6 units along x, 4 along y.
  const Lines expected = {"MoveTo 0 0", "LineTo 6 0", "LineTo 6 4", "MoveTo 6 9", "LineTo 6 19"};
  EXPECT_EQ(calls, expected);
  // The end lies in a gap: the repair only moves there.
  w.engine.DrawSegmentsRepair();
  EXPECT_EQ(w.dc.GetCalls().back(), "MoveTo 6 20");
}

TEST(PatternWalker, FirstSegmentFlag666NeverSkips) {
  Walk w({{10, 5}});
  w.engine.m_nFirstSegment = 666;
  w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{12, 0});
  w.engine.DrawSegments();
  w.engine.m_nFirstSegment = 666;
  w.engine.LineDisjunction(POINT{12, 0}, POINT{30, 0});
  w.engine.DrawSegments();
  EXPECT_EQ(w.engine.m_nFirstSegment, 666);
  const Lines expected = {"LineTo 0 0", "LineTo 10 0", "MoveTo 12 0", "MoveTo 15 0",
                          "LineTo 25 0", "MoveTo 30 0"};
  EXPECT_EQ(w.dc.GetCalls(), expected);
}

TEST(PatternWalker, SegmentsLongerThanTheBufferDrawEveryDash) {
  Walk w({{1, 1}});
  const Lines calls = PlayPolyline(w, {{0, 0}, {100000, 0}});
  // 50000 dashes, each a LineTo to its end after a MoveTo to its start (the
  // first start is the driver's MoveTo, the last move goes to the segment end).
  long moves = 0, lines = 0;
  for (const auto& c : calls) {
    if (c.rfind("MoveTo", 0) == 0) ++moves;
    if (c.rfind("LineTo", 0) == 0) ++lines;
  }
  EXPECT_EQ(lines, 50000);
  EXPECT_EQ(moves, 50001);
  EXPECT_EQ(calls[1], "LineTo 1 0");
  EXPECT_EQ(calls[calls.size() - 2], "LineTo 99999 0");
  EXPECT_EQ(calls.back(), "MoveTo 100000 0");
  EXPECT_EQ(w.engine.GetDroppedPoints(), 0);
  EXPECT_GE(w.engine.GetBufferSize(), 100002);
}

TEST(PatternWalker, DrawLineDispatchesTicksInPlace) {
  struct Row {
    const char* what;
    short kind;
    POINT v;
    Lines expected;
  };
  // Buffer of {10 drawn, 5 gap} on (0,0)-(37,0): dash ends 10 and 25, starts 15 and 30.
  const Row rows[] = {
      {"kind 1 centred", 1, {0, 4},
       {"MoveTo 10 4", "LineTo 10 -4", "MoveTo 15 4", "LineTo 15 -4", "MoveTo 25 4", "LineTo 25 -4",
        "MoveTo 30 4", "LineTo 30 -4"}},
      {"kind 4 alternating", 4, {0, 4},
       {"MoveTo 10 0", "LineTo 10 -4", "MoveTo 15 4", "LineTo 15 0", "MoveTo 25 0", "LineTo 25 -4",
        "MoveTo 30 4", "LineTo 30 0"}},
      {"kind 5 long and short up", 5, {0, 4},
       {"MoveTo 10 0", "LineTo 10 8", "MoveTo 15 0", "LineTo 15 4", "MoveTo 25 0", "LineTo 25 8",
        "MoveTo 30 0", "LineTo 30 4"}},
      // A negative height flips the figures to the other side.
      {"kind 2 negative height", 2, {0, -4},
       {"MoveTo 10 -4", "LineTo 10 0", "MoveTo 15 -4", "LineTo 15 0", "MoveTo 25 -4", "LineTo 25 0",
        "MoveTo 30 -4", "LineTo 30 0"}},
      {"zero vector draws nothing", 1, {0, 0}, {}},
      {"kind 0 draws nothing", 0, {0, 4}, {}},
      {"electric kind draws nothing here", 40, {0, 4}, {}},
      {"unknown kind", 99, {0, 4}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Walk w({{10, 5}});
    w.engine.LineDisjunctionEx(POINT{0, 0}, POINT{37, 0});
    POINT v = r.v;
    w.engine.DrawLine(r.kind, &v);
    EXPECT_EQ(w.dc.GetCalls(), r.expected);
  }
}

}  // namespace
