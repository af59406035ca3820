// Drawing costs what can be seen: the walker passes over the dash cycles of
// a long segment that lie outside the device's clip box, exactly (what is
// inside does not change, the pattern's phase runs on), and caps the rest.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;
constexpr LONG kHalf = 1L << 30;  // a segment from -kHalf to kHalf is 2^31 long

// A device of 500 x 500 pixels that only counts lines; `box` is what it
// shows (none: no edges at all).
class CountingDC : public CRecordingDC {
 public:
  explicit CountingDC(std::optional<CRect> box = CRect(0, 0, 500, 500))
      : CRecordingDC(SIZE{500, 500}), m_box(box) {
    SetTraceLimit(0);  // counting only
  }
  long long lines = 0;

 protected:
  std::optional<CRect> GetDeviceBox() const override { return m_box; }
  void DoLine(POINT, POINT) override { ++lines; }
  void DoPolyline(const POINT*, int) override { ++lines; }
  void DoAAPolyline(const POINT*, int, const AAPEN&) override { ++lines; }

 private:
  std::optional<CRect> m_box;
};

CKpLineStyleBase Pattern(std::vector<std::pair<long, long>> pairs, short kind = 0, short height = 4) {
  CKpLineStyleBase s;
  for (auto [drawn, gap] : pairs) s.Add(drawn, gap);
  s.m_nHVMode = kind;
  s.m_nHVLength = height;
  if (kind >= 43 && kind <= 45) s.m_nRepeatMode = 1;
  return s;
}

// Draws one sub-line as the front end does.
void Draw(CKpLineStyleEngine& engine, CDC& dc, CKpLineStyleBase& sub, std::vector<POINT> pts,
          double ratio) {
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  engine.SetRatio(ratio);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
}

// The calls of a recording whose first point lies in the box.
Lines CallsInside(const Lines& calls, const RECT& box) {
  Lines out;
  for (const std::string& c : calls) {
    char name[32];
    long a = 0, b = 0, x = 0, y = 0;
    const int n = std::sscanf(c.c_str(), "%31s %ld %ld %ld", name, &a, &b, &y);
    const bool counted = std::string(name).find("Poly") != std::string::npos;  // a count comes first
    if (n < (counted ? 4 : 3)) continue;
    x = counted ? b : a;
    y = counted ? y : b;
    if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) out.push_back(c);
  }
  return out;
}

TEST(BoundedWork, ClipBoxIsTheDeviceCutToTheClipInLogicalUnits) {
  struct Row {
    const char* what;
    bool recording;  // else a 500 x 500 device
    int mapMode;
    std::optional<RECT> clip;  // device units
    int expectedKind;
    RECT expected;
  };
  const RECT plane{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const Row rows[] = {
      // A recording lands anywhere: only a clip bounds it.
      {"unclipped recording", true, MM_TEXT, std::nullopt, SIMPLEREGION, plane},
      {"clipped recording", true, MM_TEXT, RECT{10, 20, 110, 220}, SIMPLEREGION, {10, 20, 110, 220}},
      {"device", false, MM_TEXT, std::nullopt, SIMPLEREGION, {0, 0, 500, 500}},
      {"device cut to a clip reaching past it", false, MM_TEXT, RECT{400, -50, 900, 100}, SIMPLEREGION,
       {400, 0, 500, 100}},
      // 254 units per inch at 96 dpi, y up: one pixel is 2.65 units; outward.
      {"metric mapping", false, MM_LOMETRIC, RECT{0, 0, 96, 48}, SIMPLEREGION, {0, -127, 254, 0}},
      {"clip beside the device", false, MM_TEXT, RECT{600, 0, 700, 100}, NULLREGION, {0, 0, 0, 0}},
      {"empty clip", true, MM_TEXT, RECT{5, 5, 5, 50}, NULLREGION, {0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC recording;
    CountingDC device;
    CDC& dc = r.recording ? static_cast<CDC&>(recording) : device;
    dc.SetMapMode(r.mapMode);
    CRgn rgn;
    if (r.clip) {
      rgn.CreateRectRgnIndirect(&*r.clip);
      dc.SelectClipRgn(&rgn);
    }
    RECT box{1, 2, 3, 4};
    EXPECT_EQ(dc.GetClipBox(&box), r.expectedKind);
    EXPECT_EQ(CRect(box), r.expected);
  }
  CRecordingDC dc;
  EXPECT_EQ(dc.GetClipBox(nullptr), 0);
}

// A long polyline drawn on a clipped recording and on an unclipped one:
// the first passes over what lies outside, and inside both drew the same
// calls; the pattern ends in the same phase.
TEST(BoundedWork, PassingOverChangesNothingInsideTheClip) {
  struct Row {
    const char* what;
    CKpLineStyleBase sub;
    double ratio;
    std::vector<POINT> pts;
  };
  // Long enough to pass over most of it, short enough for the walk of all
  // of it to stay within the budget.
  const std::vector<POINT> across = {{-30000, 250}, {30000, 250}};
  // Through the box, turning back far outside it and through it again, to a
  // corner inside it and away.
  const std::vector<POINT> zigzag = {
      {-17750, -7150}, {18250, 7650}, {-11750, -4650}, {400, 100}, {10400, -17900}};
  CKpLineStyleBase offsetTicks = Pattern({{9, 4}}, 1, 6);
  offsetTicks.m_nVertOffset = 5;
  Row rows[] = {
      {"dashes of one unit", Pattern({{1, 1}}), 1.0, across},
      {"four entries, a ratio that is no power of two", Pattern({{7, 3}, {2, 3}}), 0.6, zigzag},
      {"ticks beside the line", offsetTicks, 2.5, zigzag},
      // A gap of length 0: every dash start is also a dash end.
      {"chevrons on dashes that never end", Pattern({{5, 0}}, 12, 5), 1.0, zigzag},
      {"bevels", Pattern({{12, 6}}, 9, 5), 1.0, zigzag},
      {"the integer walker's wave", Pattern({{6, 4}}, 14, 4), 0.6, zigzag},
      {"half arcs on the integer walker", Pattern({{8, 8}}, 22, 3), 1.0, zigzag},
      // Figures reaching far beyond a short cycle.
      {"boxes", Pattern({{2, 2}}, 16, 30), 1.0, zigzag},
      {"dashes with arrows", Pattern({{30, 10}}, 36), 1.0, zigzag},
      {"double line", Pattern({{10, 5}}, 43, 4), 1.0, zigzag},
  };
  const RECT box{0, 0, 500, 500};
  for (Row& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC clipped, whole;
    CRgn rgn;
    rgn.CreateRectRgnIndirect(&box);
    clipped.SelectClipRgn(&rgn);
    clipped.Clear();
    CKpLineStyleEngine passing, walking;
    CKpLineStyleBase a = r.sub, b = r.sub;
    Draw(passing, clipped, a, r.pts, r.ratio);
    Draw(walking, whole, b, r.pts, r.ratio);
    EXPECT_GT(passing.GetSkippedPoints(), 1000);
    EXPECT_EQ(walking.GetDroppedPoints(), 0);
    EXPECT_EQ(walking.GetSkippedPoints(), 0);
    const Lines inside = CallsInside(whole.GetCalls(), box);
    EXPECT_GT(inside.size(), 20u);
    EXPECT_EQ(CallsInside(clipped.GetCalls(), box), inside);
    EXPECT_LT(clipped.GetCalls().size(), whole.GetCalls().size() / 10);
    EXPECT_EQ(passing.m_nStyleIndex, walking.m_nStyleIndex);
    EXPECT_EQ(passing.m_dRemain, walking.m_dRemain);
  }
}

TEST(BoundedWork, ASegmentOfTwoToTheThirtyOneDrawsWhatShows) {
  struct Row {
    const char* what;
    CKpLineStyleBase sub;
    double ratio;
    std::vector<POINT> pts;
    long long minLines, maxLines;
  };
  Row rows[] = {
      // 500 units across the device: 250 dashes, and a few in the margins.
      {"dashes of one unit", Pattern({{1, 1}}), 1.0, {{-kHalf, 250}, {kHalf, 250}}, 250, 300},
      // Every entry counts as one unit at this ratio.
      {"ratio 0.001", Pattern({{10, 5}}), 0.001, {{-kHalf, 250}, {kHalf, 250}}, 250, 300},
      // A tick at every boundary along the diagonal, 707 units.
      {"ticks, slanted", Pattern({{1, 1}}, 1, 3), 1.0, {{-kHalf, -kHalf + 7}, {kHalf, kHalf + 7}}, 700, 1000},
      // Only the cycles at the ends of the segment are walked.
      {"past the device", Pattern({{1, 1}}), 1.0, {{-kHalf, 900}, {kHalf, 900}}, 0, 8},
      // Out through one side, back through another: twice the work.
      {"in, out and in again", Pattern({{1, 1}}), 1.0, {{-kHalf, 100}, {kHalf, 100}, {-kHalf, 400}}, 500, 600},
  };
  for (Row& r : rows) {
    SCOPED_TRACE(r.what);
    CountingDC dc;
    CKpLineStyleEngine engine;
    Draw(engine, dc, r.sub, r.pts, r.ratio);
    EXPECT_LE(dc.lines, r.maxLines);
    EXPECT_GE(dc.lines, r.minLines);
    EXPECT_GT(engine.GetSkippedPoints(), (1LL << 31) - 10000);
    EXPECT_EQ(engine.GetDroppedPoints(), 0);
  }
}

// Without edges nothing can be passed over; the budget bounds the drawing
// instead, counts what it leaves out, and still ends in the right phase.
TEST(BoundedWork, WithoutEdgesTheBudgetCapsTheWorkAndKeepsThePhase) {
  CKpLineStyleBase sub = Pattern({{1, 1}});
  CountingDC dc(std::nullopt);
  CKpLineStyleEngine engine;
  // 2^31 - 1 long: the last boundary falls on the end, then a gap starts.
  Draw(engine, dc, sub, {{0, 0}, {INT_MAX, 0}}, 1.0);
  const long long budget = KP_WALKER_CALL_BUDGET + 2 * KP_WALKER_VERTEX_BUDGET;
  EXPECT_EQ(engine.GetSkippedPoints(), 0);
  EXPECT_LE(dc.lines, budget / 2 + 10);
  EXPECT_GE(engine.GetDroppedPoints(), INT_MAX - budget - 10);
  CKpLineStyleEngine shortWalk;
  CountingDC other(std::nullopt);
  Draw(shortWalk, other, sub, {{0, 0}, {7, 0}}, 1.0);
  EXPECT_EQ(engine.m_nStyleIndex, shortWalk.m_nStyleIndex);
  EXPECT_EQ(engine.m_dRemain, shortWalk.m_dRemain);

  // The budget spans the segments of one drawing.
  CountingDC many(std::nullopt);
  CKpLineStyleEngine again;
  std::vector<POINT> zigzag;
  for (int i = 0; i < 12; ++i) zigzag.push_back(POINT{i % 2 ? kHalf : -kHalf, i});
  Draw(again, many, sub, zigzag, 1.0);
  EXPECT_LE(many.lines, (KP_WALKER_CALL_BUDGET + 12 * KP_WALKER_VERTEX_BUDGET) / 2 + 12 * 10);
}

// Nonsense in the engine's public fields never makes a walk endless.
TEST(BoundedWork, WalkerFieldsSetToNonsenseStillEnd) {
  struct Row {
    const char* what;
    double ratio, remain;
    long lastIndex;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Row rows[] = {
      {"ratio not a number", nan, 0.0, 0},
      {"infinite ratio", inf, 0.0, 0},
      {"remainder not a number", 1.0, nan, 0},
      {"infinite remainder", 1.0, -inf, 0},
      {"last index past the buffer", 1.0, -3.0, LONG_MAX},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase sub = Pattern({{10, 5}});
    CountingDC dc(std::nullopt);
    CKpLineStyleEngine engine;
    engine.KeepDC(&dc);
    engine.SetLineStyleBase(&sub);
    engine.m_dRatio = r.ratio;
    engine.m_dRemain = r.remain;
    engine.m_nLastIndex = r.lastIndex;
    engine.LineDisjunctionEx(POINT{0, 0}, POINT{1000, 0});
    EXPECT_LE(engine.m_nLastIndex, 1002);
    engine.m_dRemain = r.remain;
    engine.LineDisjunction(POINT{0, 0}, POINT{1000, 0});
    EXPECT_LE(engine.m_nLastIndex, 1002);
  }
  // An entry carried into a pattern whose entries are all 0.
  CKpLineStyleBase sub = Pattern({{10, 5}});
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  engine.KeepDC(&dc);
  engine.SetLineStyleBase(&sub);
  engine.LineDisjunctionEx(POINT{0, 0}, POINT{12, 0});
  DWORD zeros[2] = {0, 0};
  BYTE flags[2] = {1, 0};
  engine.SetLineStyleBase(zeros, flags, 2);
  engine.LineDisjunctionEx(POINT{12, 0}, POINT{40, 0});
  EXPECT_LE(engine.m_nLastIndex, 4);
  engine.m_dRemain = -3;
  engine.LineDisjunction(POINT{12, 0}, POINT{40, 0});
  EXPECT_LE(engine.m_nLastIndex, 4);
}

TEST(BoundedWork, SetRatioIgnoresWhatIsNoLength) {
  const double values[] = {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    CKpLineStyleEngine engine;
    engine.SetRatio(2.5);
    engine.SetRatio(v);
    EXPECT_EQ(engine.GetRatio(), 2.5) << v;
  }
  CKpLineStyleEngine engine;
  engine.SetRatio(1e-9);
  EXPECT_EQ(engine.GetRatio(), 1e-9);
}

}  // namespace
