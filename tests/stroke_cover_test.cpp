#include "platform/KpStrokeCover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Case {
  const char* what;
  double ax, ay, bx, by, half;
  bool roundEnds;
  bool expected;
};

// The window is 0..64 x 0..64 throughout.
const Case kCases[] = {
    // A pen of 2,049 across the window, the usual fuzzed case.
    {"wide pen through the middle", -500, 32, 500, 32, 1024.5, true, true},
    {"wide pen, flat ends, long segment", -5000, 32, 5000, 32, 1024.5, false, true},
    {"wide pen, diagonal", -3000, -3000, 3000, 3000, 1024.5, false, true},
    // The window's far corner decides, not its centre.
    {"strip just too narrow for the corners", -500, 0, 500, 0, 64, false, false},
    {"strip holds the corners with room", -500, 0, 500, 0, 70, false, true},
    // Ends: a short segment inside the window covers it only by its ends.
    {"short segment, round ends", 30, 32, 34, 32, 200, true, true},
    {"short segment, flat ends", 30, 32, 34, 32, 200, false, false},
    {"segment ends at the window's edge, flat", 32, 32, 500, 32, 400, false, false},
    {"segment ends at the window's edge, round", 32, 32, 500, 32, 400, true, true},
    // A round end reaches the window only with its disc.
    {"round end far beyond", 1000, 32, 2000, 32, 900, true, false},
    {"round end near enough", 300, 32, 2000, 32, 400, true, true},
    // Room for the rasterizer's chords: the exact disc would hold the
    // window's corners (distance 45.3 from the centre), the flattened one
    // may not.
    {"disc barely larger than the corners", 32, 32, 32.001, 32, 46, true, false},
    // Degenerate input never covers.
    {"zero-length segment", 32, 32, 32, 32, 1e6, true, false},
    {"zero width", -500, 32, 500, 32, 0, true, false},
    {"negative width", -500, 32, 500, 32, -1e6, true, false},
};

class StrokeCoverCases : public ::testing::TestWithParam<Case> {};

TEST_P(StrokeCoverCases, Judges) {
  const Case& c = GetParam();
  EXPECT_EQ(kp::SegmentStrokeCovers(c.ax, c.ay, c.bx, c.by, c.half, c.roundEnds, 0, 0, 64, 64), c.expected)
      << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, StrokeCoverCases, ::testing::ValuesIn(kCases));

TEST(StrokeCover, BadNumbersAndInvertedWindowsNeverCover) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(kp::SegmentStrokeCovers(nan, 32, 500, 32, 1e4, true, 0, 0, 64, 64));
  EXPECT_FALSE(kp::SegmentStrokeCovers(-inf, 32, inf, 32, 1e4, true, 0, 0, 64, 64));
  EXPECT_FALSE(kp::SegmentStrokeCovers(-500, 32, 500, 32, inf, true, 0, 0, 64, 64));
  EXPECT_FALSE(kp::SegmentStrokeCovers(-500, 32, 500, 32, 1e4, true, 64, 0, 0, 64));
  // Coordinates at the ends of the 32-bit plane: the length overflows
  // nothing in doubles, and the answer still follows the geometry.
  EXPECT_TRUE(kp::SegmentStrokeCovers(-2147483648.0, 32, 2147483647.0, 32, 1e4, false, 0, 0, 64, 64));
  EXPECT_FALSE(kp::SegmentStrokeCovers(-2147483648.0, 1e5, 2147483647.0, 1e5, 1e4, false, 0, 0, 64, 64));
}

TEST(StrokeCover, DistanceToSegment) {
  struct Row {
    const char* what;
    double px, py, ax, ay, bx, by, expected;
  };
  const Row rows[] = {
      {"beside the middle", 5, 3, 0, 0, 10, 0, 3},
      {"beyond the far end", 13, 4, 0, 0, 10, 0, 5},
      {"behind the start", -6, -8, 0, 0, 10, 0, 10},
      {"zero-length segment is its point", 3, 4, 0, 0, 0, 0, 5},
      // The ends of the 32-bit plane: no overflow, no lost precision.
      {"across the plane", 0, 1000, -2147483648.0, 0, 2147483647.0, 0, 1000},
  };
  for (const Row& r : rows)
    EXPECT_DOUBLE_EQ(kp::DistanceToSegment(r.px, r.py, r.ax, r.ay, r.bx, r.by), r.expected) << r.what;
  EXPECT_TRUE(std::isnan(kp::DistanceToSegment(std::nan(""), 0, 0, 0, 1, 1)));
}

// Sampled check of the claim: whenever a window is judged covered, each of
// its points lies in the segment's stroke at least a pixel inside its edge.
TEST(StrokeCover, CoveredWindowsLieInsideTheStroke) {
  const double ax = 10, ay = -20, bx = 130, by = 60, half = 90;
  const auto inside = [&](double x, double y, bool roundEnds) {
    const double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
    const double along = ((x - ax) * dx + (y - ay) * dy) / length;
    const double across = std::fabs((x - ax) * dy - (y - ay) * dx) / length;
    if (along >= 0 && along <= length) return across <= half - 1;
    if (!roundEnds) return false;
    const double beyond = along < 0 ? -along : along - length;
    return std::hypot(beyond, across) <= half - 1;
  };
  int covered = 0;
  for (bool roundEnds : {false, true}) {
    for (double left = -150; left <= 250; left += 13) {
      for (double top = -150; top <= 200; top += 11) {
        const double right = left + 40, bottom = top + 25;
        if (!kp::SegmentStrokeCovers(ax, ay, bx, by, half, roundEnds, left, top, right, bottom)) continue;
        ++covered;
        for (double x = left; x <= right; x += 5)
          for (double y = top; y <= bottom; y += 5)
            ASSERT_TRUE(inside(x, y, roundEnds)) << x << "," << y << " round " << roundEnds;
      }
    }
  }
  EXPECT_GT(covered, 50);  // the check is not vacuous
}

}  // namespace
