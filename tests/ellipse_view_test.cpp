#include "platform/KpEllipseView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using kp::EllipseView;

struct Case {
  const char* what;
  double cx, cy, rx, ry, reach;
  double left, top, right, bottom;
  EllipseView expected;
};

// The window is 0..64 x 0..64 unless the row says otherwise.
const Case kCases[] = {
    // Far away in every direction.
    {"left of the window", -1000, 32, 100, 100, 10, 0, 0, 64, 64, EllipseView::Hidden},
    {"below the window", 32, 2000, 100, 1500, 10, 0, 0, 64, 64, EllipseView::Hidden},
    // Only the pen reaches the window: 10 short of the edge with a reach of 12.
    {"pen reaches across the gap", -110, 32, 100, 100, 12, 0, 0, 64, 64, EllipseView::Crossing},
    {"pen stops short", -110, 32, 100, 100, 8, 0, 0, 64, 64, EllipseView::Hidden},
    // The window's corner is what comes nearest, not its edge's midpoint.
    {"diagonal miss", -80, -80, 100, 100, 0, 0, 0, 64, 64, EllipseView::Hidden},
    {"diagonal touch", -60, -60, 100, 100, 0, 0, 0, 64, 64, EllipseView::Crossing},
    // Huge ellipses around the window: filled, with the outline far off.
    {"window deep inside", 32, 32, 8000, 8000, 300, 0, 0, 64, 64, EllipseView::Inside},
    {"flat ellipse, short radius decides", 32, 32, 1e6, 400, 300, 0, 0, 64, 64, EllipseView::Inside},
    {"flat ellipse, pen reaches in", 32, 32, 1e6, 200, 300, 0, 0, 64, 64, EllipseView::Crossing},
    // The outline runs through the window.
    {"outline through the window", 32, 32 + 500, 500, 500, 1, 0, 0, 64, 64, EllipseView::Crossing},
    {"small ellipse inside the window", 32, 32, 5, 5, 1, 0, 0, 64, 64, EllipseView::Crossing},
    // Degenerate figures.
    {"zero radii, no pen", 32, 32, 0, 0, 0, 0, 0, 64, 64, EllipseView::Hidden},
    {"zero radii, pen inside", 32, 32, 0, 0, 3, 0, 0, 64, 64, EllipseView::Crossing},
    {"line-thin ellipse across", 32, 32, 1000, 0, 1, 0, 0, 64, 64, EllipseView::Crossing},
    {"empty window point", 32, 32, 100, 100, 0, 10, 10, 10, 10, EllipseView::Inside},
};

class EllipseViewCases : public ::testing::TestWithParam<Case> {};

TEST_P(EllipseViewCases, Classifies) {
  const Case& c = GetParam();
  EXPECT_EQ(kp::ClassifyEllipse(c.cx, c.cy, c.rx, c.ry, c.reach, c.left, c.top, c.right, c.bottom), c.expected)
      << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, EllipseViewCases, ::testing::ValuesIn(kCases));

// What cannot be judged is drawn: Crossing.
TEST(EllipseView, BadNumbersAreNeverSkipped) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(kp::ClassifyEllipse(nan, 0, 10, 10, 1, 0, 0, 64, 64), EllipseView::Crossing);
  EXPECT_EQ(kp::ClassifyEllipse(0, 0, inf, 10, 1, 0, 0, 64, 64), EllipseView::Crossing);
  EXPECT_EQ(kp::ClassifyEllipse(0, 0, -1, 10, 1, 0, 0, 64, 64), EllipseView::Crossing);
  EXPECT_EQ(kp::ClassifyEllipse(0, 0, 10, 10, 1, 64, 0, 0, 64), EllipseView::Crossing);  // inverted window
}

// Sampled check of the claims: no point of a Hidden window lies within reach
// of the ellipse, and every point of an Inside window lies in the ellipse
// farther than reach from the outline (distances measured on a dense outline).
TEST(EllipseView, ClaimsHoldOnSampledPoints) {
  const double cx = 20, cy = -30, rx = 90, ry = 40, reach = 6;
  const auto distanceToOutline = [&](double x, double y) {
    double best = 1e300;
    for (int i = 0; i < 20000; ++i) {
      const double t = 2 * M_PI * i / 20000;
      best = std::min(best, std::hypot(x - (cx + rx * std::cos(t)), y - (cy + ry * std::sin(t))));
    }
    return best;
  };
  const auto inside = [&](double x, double y) { return std::hypot((x - cx) / rx, (y - cy) / ry) <= 1; };
  int hidden = 0, filled = 0;
  for (double left = -140; left <= 140; left += 20) {
    for (double top = -110; top <= 60; top += 17) {
      const double right = left + 12, bottom = top + 9;
      const EllipseView v = kp::ClassifyEllipse(cx, cy, rx, ry, reach, left, top, right, bottom);
      if (v == EllipseView::Crossing) continue;
      for (double x = left; x <= right; x += 3) {
        for (double y = top; y <= bottom; y += 3) {
          const double d = distanceToOutline(x, y);
          if (v == EllipseView::Hidden) {
            EXPECT_FALSE(inside(x, y)) << x << "," << y;
            EXPECT_GT(d, reach) << x << "," << y;
          } else {
            EXPECT_TRUE(inside(x, y)) << x << "," << y;
            EXPECT_GT(d, reach) << x << "," << y;
          }
        }
      }
      (v == EllipseView::Hidden ? hidden : filled)++;
    }
  }
  EXPECT_GT(hidden, 10);  // the grid exercises both claims
  EXPECT_GT(filled, 3);
}

}  // namespace
