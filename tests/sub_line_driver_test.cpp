#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

// What the driver draws for one sub-line along `pts`, on a recording DC.
Lines Drive(CKpLineStyleBase sub, std::vector<POINT> pts, double ratio = 1.0) {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  engine.SetRatio(ratio);
  engine.SetLineStyleBase(&sub);
  dc.Clear();
  const std::vector<POINT> before = pts;
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
  for (size_t i = 0; i < pts.size(); ++i) {  // the caller's points are never changed
    EXPECT_EQ(pts[i].x, before[i].x);
    EXPECT_EQ(pts[i].y, before[i].y);
  }
  return dc.GetCalls();
}

CKpLineStyleBase Sub(std::vector<std::pair<long, long>> pattern, short kind = 0, short h = 4) {
  CKpLineStyleBase s;
  for (auto [a, b] : pattern) s.Add(a, b);
  s.m_nHVMode = kind;
  s.m_nHVLength = h;
  return s;
}

const std::vector<POINT> kCorner = {{0, 0}, {100, 0}, {100, 100}};

TEST(SubLineDriver, PlainLinesAndStartOffsets) {
  struct Row {
    const char* what;
    short horizOffset;
    Lines expected;
  };
  const Row rows[] = {
      // No pattern, no offsets: one polyline over all the input points.
      {"plain", 0, {"MoveTo 0 0", "Polyline 3 0 0 100 0 100 100"}},
      // The start moves along the first segment.
      {"offset 30", 30, {"MoveTo 30 0", "Polyline 3 30 0 100 0 100 100"}},
      // An offset longer than the first segment starts on the second.
      {"offset 150", 150, {"MoveTo 100 50", "Polyline 2 100 50 100 100"}},
      // A negative offset extends the first segment backward.
      {"offset -20", -20, {"MoveTo -20 0", "Polyline 3 -20 0 100 0 100 100"}},
      // An offset past the end draws nothing.
      {"offset past the end", 250, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase s = Sub({});
    s.m_nHorizOffset = r.horizOffset;
    EXPECT_EQ(Drive(s, kCorner), r.expected);
  }
}

TEST(SubLineDriver, DashedLines) {
  struct Row {
    const char* what;
    CKpLineStyleBase sub;
    std::vector<POINT> pts;
    Lines expected;
  };
  auto offset = [](CKpLineStyleBase s, short h, short v) {
    s.m_nHorizOffset = h;
    s.m_nVertOffset = v;
    return s;
  };
  auto repaired = [](CKpLineStyleBase s) {
    s.SetHorizRepair(TRUE);
    return s;
  };
  const Row rows[] = {
      // The pattern starts at the first vertex; the last partial dash is left.
      {"dashed", Sub({{10, 5}}), {{0, 0}, {37, 0}},
       {"MoveTo 0 0", "LineTo 10 0", "MoveTo 15 0", "LineTo 25 0", "MoveTo 30 0"}},
      // Repeated points are skipped without disturbing the phase.
      {"repeated points", Sub({{10, 5}}), {{0, 0}, {0, 0}, {37, 0}},
       {"MoveTo 0 0", "LineTo 10 0", "MoveTo 15 0", "LineTo 25 0", "MoveTo 30 0"}},
      // A start offset starts the pattern at the moved point.
      {"start offset 3", offset(Sub({{10, 5}}), 3, 0), {{0, 0}, {37, 0}},
       {"MoveTo 3 0", "LineTo 13 0", "MoveTo 18 0", "LineTo 28 0", "MoveTo 33 0"}},
      // Horizontal repair plays the end and redraws the last 10 units solid.
      {"horizontal repair", repaired(Sub({{10, 5}})), {{0, 0}, {37, 0}},
       {"MoveTo 0 0", "LineTo 10 0", "MoveTo 15 0", "LineTo 25 0", "MoveTo 30 0", "LineTo 37 0",
        "MoveTo 27 0", "LineTo 37 0"}},
      // An all-zero pattern draws nothing but the first move, repairs included.
      {"all-zero pattern", repaired(Sub({{0, 0}})), {{0, 0}, {37, 0}}, {"MoveTo 0 0"}},
      // Ticks on a sideways offset: each segment is offset as it is walked.
      {"ticks offset 5", offset(Sub({{10, 5}}, 1), 0, 5), {{0, 0}, {37, 0}},
       {"MoveTo 0 0", "MoveTo 10 9", "LineTo 10 1", "MoveTo 15 9", "LineTo 15 1", "MoveTo 25 9",
        "LineTo 25 1", "MoveTo 30 9", "LineTo 30 1"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(Drive(r.sub, r.pts), r.expected);
  }
}

TEST(SubLineDriver, PlainOffsetLineFollowsItsParallel) {
  CKpLineStyleBase s = Sub({});
  s.m_nVertOffset = 10;
  EXPECT_EQ(Drive(s, {{0, 0}, {100, 0}}), (Lines{"MoveTo 0 10", "Polyline 2 0 10 100 10"}));
}

TEST(SubLineDriver, VerticalRepairTicksTheEnd) {
  struct Row {
    const char* what;
    short kind;
    std::vector<POINT> pts;
    Lines expected;
  };
  const Row rows[] = {
      // A two-point line shorter than the first dash: a tick at its end and its middle.
      {"short line, centred ticks", 1, {{0, 0}, {30, 0}},
       {"MoveTo 0 0", "MoveTo 30 4", "LineTo 30 -4", "MoveTo 15 4", "LineTo 15 -4"}},
      {"short line, upper ticks", 2, {{0, 0}, {30, 0}},
       {"MoveTo 0 0", "MoveTo 30 4", "LineTo 30 0", "MoveTo 15 4", "LineTo 15 0"}},
      // Longer than the first dash: the walked ticks, then the end tick only.
      {"long line, lower tick", 3, {{0, 0}, {60, 0}},
       {"MoveTo 0 0", "MoveTo 50 0", "LineTo 50 -4", "MoveTo 60 0", "LineTo 60 -4", "MoveTo 60 0",
        "LineTo 60 -4"}},
      // A repeated last point: the direction comes from the last different point.
      {"repeated end", 1, {{0, 0}, {0, 30}, {0, 30}},
       {"MoveTo 0 0", "MoveTo -4 30", "LineTo 4 30"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase s = Sub({{50, 10}}, r.kind);
    s.SetVertRepair(TRUE);
    EXPECT_EQ(Drive(s, r.pts), r.expected);
  }
}

// Kinds in repeat mode draw themselves: the driver hands them over whole.
TEST(SubLineDriver, SpecialKindsAreHandedOver) {
  const std::vector<POINT> pts = {{0, 0}, {100, 0}, {100, 60}};
  for (short kind = 39; kind <= 46; ++kind) {
    SCOPED_TRACE(kind);
    CKpLineStyleBase s = Sub({{20, 10}}, kind, 6);
    s.m_nRepeatMode = 1;
    s.m_nCurWidth = 2;
    const Lines viaDriver = Drive(s, pts);

    CRecordingDC dc;
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetLineStyleBase(&s);
    engine.Flush();
    dc.Clear();
    std::vector<POINT> copy = pts;
    engine.DrawSpecialKind(&s, copy.data(), 3);
    EXPECT_EQ(viaDriver, dc.GetCalls());
  }
  // In repeat mode any other kind draws nothing.
  CKpLineStyleBase other = Sub({{20, 10}}, 1);
  other.m_nRepeatMode = 1;
  EXPECT_TRUE(Drive(other, pts).empty());
}

TEST(SubLineDriver, BadInputDrawsNothing) {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  engine.KeepDC(&dc);
  dc.Clear();
  CKpLineStyleBase s;
  POINT one[1] = {{5, 5}};
  engine.ActPolyLine(&s, one, 1);
  engine.ActPolyLine(&s, nullptr, 5);
  engine.ActPolyLine(nullptr, one, 1);
  engine.ActPolyLine(s, one, 1);
  EXPECT_TRUE(dc.GetCalls().empty());
}

TEST(SubLineDriver, ReferenceFormDrawsSegmentBySegment) {
  struct Row {
    const char* what;
    CKpLineStyleBase sub;
    Lines expected;
  };
  CKpLineStyleBase offsetPlain = Sub({});
  offsetPlain.m_nVertOffset = 5;
  const Row rows[] = {
      // Each segment is moved to and drawn; a plain line ends with the solid repair.
      {"plain", Sub({}),
       {"MoveTo 0 0", "LineTo 100 0", "LineTo 100 0", "LineTo 100 100", "MoveTo 100 90",
        "LineTo 100 100"}},
      // A sideways offset moves every segment on its own; no repair then.
      {"offset", offsetPlain,
       {"MoveTo 0 5", "LineTo 100 5", "LineTo 95 0", "LineTo 95 100"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    CKpLineStyleBase s = r.sub;
    engine.SetLineStyleBase(&s);
    dc.Clear();
    std::vector<POINT> pts = kCorner;
    engine.ActPolyLine(s, pts.data(), 3);
    EXPECT_EQ(dc.GetCalls(), r.expected);
  }
}

}  // namespace

namespace {

// Kind 42 through the driver sizes its circles from the rounded mark size
// (half of round(h * ratio), rounded); the exported routine halves first.
TEST(SubLineDriver, ElectricCirclesTakeTheDriversRadius) {
  CKpLineStyleBase s = Sub({{20, 10}}, 42, 3);
  s.m_nRepeatMode = 1;
  auto radius = [](const Lines& calls) {
    for (const auto& c : calls) {
      int l, t, r, b;
      if (std::sscanf(c.c_str(), "Ellipse %d %d %d %d", &l, &t, &r, &b) == 4) return (r - l) / 2;
    }
    return -1;
  };
  // h 3 at ratio 1.5: round(4.5) = 5, half 2.5 -> 3 in the driver; 2.25 -> 2 exported.
  EXPECT_EQ(radius(Drive(s, {{0, 0}, {100, 0}}, 1.5)), 3);
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  engine.SetRatio(1.5);
  POINT pts[2] = {{0, 0}, {100, 0}};
  engine.DrawElectricEx2(&s, pts, 2);
  EXPECT_EQ(radius(dc.GetCalls()), 2);
}

}  // namespace
