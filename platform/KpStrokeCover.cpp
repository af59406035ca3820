#include "platform/KpStrokeCover.h"

#include <algorithm>
#include <cmath>

namespace kp {

namespace {

// How far inside the stroke's exact outline a point must lie: a pixel for
// rounding, and a sixty-fourth of the half width for the chords a
// rasterizer puts in place of round ends and joins (a chord of an arc cut
// into 18 or more pieces strays less than that from it).
double Tolerance(double half) { return 1.0 + half / 64.0; }

}  // namespace

bool SegmentStrokeCovers(double ax, double ay, double bx, double by, double half, bool roundEnds,
                         double left, double top, double right, double bottom) {
  const double numbers[] = {ax, ay, bx, by, half, left, top, right, bottom};
  for (double v : numbers)
    if (!std::isfinite(v)) return false;
  if (left > right || top > bottom) return false;
  const double dx = bx - ax;
  const double dy = by - ay;
  const double length = std::hypot(dx, dy);
  if (!(length > 0) || !std::isfinite(length)) return false;
  const double reach = half - Tolerance(half);
  if (!(reach > 0)) return false;
  const double ux = dx / length;
  const double uy = dy / length;

  // The stroke of one segment is convex, so the window lies in it when its
  // four corners do.
  const double xs[] = {left, right};
  const double ys[] = {top, bottom};
  for (double x : xs) {
    for (double y : ys) {
      const double along = (x - ax) * ux + (y - ay) * uy;
      const double across = std::fabs((x - ax) * uy - (y - ay) * ux);
      if (across > reach) return false;
      // Beside the segment; a flat end is a straight edge, a pixel's rounding
      // from the corner.
      const double inset = roundEnds ? 0.0 : 1.0;
      if (along >= inset && along <= length - inset) continue;
      if (!roundEnds) return false;
      const double beyond = along < 0 ? -along : along - length;
      if (std::hypot(beyond, across) > reach) return false;
    }
  }
  return true;
}

bool EllipseStrokeCovers(double cx, double cy, double rx, double ry, double half, double left, double top,
                         double right, double bottom) {
  const double numbers[] = {cx, cy, rx, ry, half, left, top, right, bottom};
  for (double v : numbers)
    if (!std::isfinite(v)) return false;
  if (left > right || top > bottom || rx < 0 || ry < 0) return false;
  // A corner's distance to the farthest point of the outline is at most its
  // distance to the centre plus the longer radius.
  const double reach = half - Tolerance(half) - std::max(rx, ry);
  if (!(reach > 0)) return false;
  const double xs[] = {left, right};
  const double ys[] = {top, bottom};
  for (double x : xs)
    for (double y : ys)
      if (std::hypot(x - cx, y - cy) > reach) return false;
  return true;
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double squared = dx * dx + dy * dy;
  double t = 0;
  if (squared > 0) t = std::clamp(((px - ax) * dx + (py - ay) * dy) / squared, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace kp
