#include "platform/KpEllipseView.h"

#include <algorithm>
#include <cmath>

namespace kp {

namespace {

// Where the point lies against the ellipse: its scale factor, 1 on the
// outline (the point lies on the ellipse of radii f * rx, f * ry).
double ScaleOf(double x, double y, double cx, double cy, double rx, double ry) {
  return std::hypot((x - cx) / rx, (y - cy) / ry);
}

}  // namespace

EllipseView ClassifyEllipse(double cx, double cy, double rx, double ry, double reach, double left, double top,
                            double right, double bottom) {
  const bool finite = std::isfinite(cx) && std::isfinite(cy) && std::isfinite(rx) && std::isfinite(ry) &&
                      std::isfinite(reach) && std::isfinite(left) && std::isfinite(top) &&
                      std::isfinite(right) && std::isfinite(bottom);
  if (!finite || rx < 0 || ry < 0 || reach < 0 || left > right || top > bottom) return EllipseView::Crossing;

  // The ellipse widened by `reach` on both radii holds the ellipse and all of
  // its outline (the radial sum bounds the Minkowski sum); the window misses
  // it when the window's point nearest the centre lies outside.
  const double outerX = rx + reach;
  const double outerY = ry + reach;
  if (outerX <= 0 || outerY <= 0) return EllipseView::Hidden;
  const double nearX = std::clamp(cx, left, right);
  const double nearY = std::clamp(cy, top, bottom);
  if (ScaleOf(nearX, nearY, cx, cy, outerX, outerY) > 1) return EllipseView::Hidden;

  // The window is convex, so it lies in the ellipse scaled by the largest
  // factor of its corners, f; that ellipse keeps (1 - f) * min(rx, ry) from
  // the outline everywhere.
  if (rx <= 0 || ry <= 0) return EllipseView::Crossing;
  const double f = std::max({ScaleOf(left, top, cx, cy, rx, ry), ScaleOf(right, top, cx, cy, rx, ry),
                             ScaleOf(left, bottom, cx, cy, rx, ry), ScaleOf(right, bottom, cx, cy, rx, ry)});
  if (f < 1 && (1 - f) * std::min(rx, ry) > reach) return EllipseView::Inside;
  return EllipseView::Crossing;
}

}  // namespace kp
