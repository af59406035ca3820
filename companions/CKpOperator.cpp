#include "companions/CKpOperator.h"

#include "platform/KpSaturate.h"

#include <cmath>
#include <limits>

namespace {

// Tenths of a degree to radians. The true pi, so that quarter turns stay
// square even far from the origin (the engine's truncated pi would leave a
// 900 turn off by 1.8e-9 rad, several units at 32-bit coordinates).
constexpr double kRadiansPerTenth = 3.14159265358979323846 / 1800.0;

// Lines whose directions make an angle with a sine below this are taken as
// parallel: their intersection would lie absurdly far away, beyond any
// coordinate a drawing can hold.
constexpr double kParallelSine = 1e-12;


}  // namespace

int CKpOperator::RotateRect(CRect box, unsigned char n, short angle, CPoint* out) {
  if (out == nullptr) return 0;
  const double cx = (static_cast<double>(box.left) + box.right) / 2.0;
  const double cy = (static_cast<double>(box.top) + box.bottom) / 2.0;
  const double a = angle * kRadiansPerTenth;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double corners[4][2] = {
      {static_cast<double>(box.left), static_cast<double>(box.top)},
      {static_cast<double>(box.right), static_cast<double>(box.top)},
      {static_cast<double>(box.right), static_cast<double>(box.bottom)},
      {static_cast<double>(box.left), static_cast<double>(box.bottom)},
  };
  const int count = n < 4 ? n : 4;
  for (int i = 0; i < count; ++i) {
    const double dx = corners[i][0] - cx;
    const double dy = corners[i][1] - cy;
    out[i] = CPoint(kp::RoundToLong(cx + dx * c - dy * s), kp::RoundToLong(cy + dx * s + dy * c));
  }
  return count;
}

int CKpOperator::IntersectLine(const CPoint2D& a1, const CPoint2D& a2, const CPoint2D& b1,
                               const CPoint2D& b2, CPoint2D& out) {
  const double ax = a2.x - a1.x, ay = a2.y - a1.y;
  const double bx = b2.x - b1.x, by = b2.y - b1.y;
  const double la = std::hypot(ax, ay);
  const double lb = std::hypot(bx, by);
  if (!(la > 0.0) || !(lb > 0.0)) return 0;  // a point is no line (NaN fails too)
  const double cross = ax * by - ay * bx;
  if (!(std::fabs(cross) > kParallelSine * la * lb)) return 0;
  // a1 + t * (a2 - a1) lies on the second line.
  const double t = ((b1.x - a1.x) * by - (b1.y - a1.y) * bx) / cross;
  const CPoint2D p{a1.x + t * ax, a1.y + t * ay};
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return 0;
  out = p;
  return 1;
}
