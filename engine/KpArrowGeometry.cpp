#include "engine/KpArrowGeometry.h"

#include "platform/KpSaturate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kp {
namespace {

using Int64 = std::int64_t;



Int64 Abs(Int64 v) { return v < 0 ? -v : v; }


POINT MakePoint(Int64 x, Int64 y) { return POINT{SaturateToLong(x), SaturateToLong(y)}; }



// What differs between the three cases: the base centre, the offset from
// the base centre to the first corner, the offset from the middle to the
// first diamond side, and the ellipse.
struct HeadFrame {
  Int64 bx, by;  // base centre, before saturation
  Int64 cx, cy;  // corner1 = B + c, corner2 = B - c
  Int64 sx, sy;  // side1 = M + s, side2 = M - s
  Int64 el, et, er, eb;
};

HeadFrame VerticalFrame(const POINT& from, const POINT& to, Int64 a, Int64 w) {
  // Equal points land here too and point the head towards +y.
  const Int64 half = a / 2, hw = w / 2;
  const Int64 by = to.y < from.y ? Int64{to.y} + half : Int64{to.y} - half;
  return HeadFrame{to.x, by, -hw, 0, hw, 0, Int64{to.x} - hw, BoundWide(by), Int64{to.x} + hw, to.y};
}

HeadFrame HorizontalFrame(const POINT& from, const POINT& to, Int64 a, Int64 w) {
  const Int64 half = a / 2, hw = w / 2;
  const Int64 bx = to.x < from.x ? Int64{to.x} + half : Int64{to.x} - half;
  return HeadFrame{bx, to.y, 0, hw, 0, hw, BoundWide(bx), Int64{to.y} + hw, to.x, Int64{to.y} - hw};
}

// Slanted lines: the offsets along (ax, ay) and across (wx, wy) the line are
// taken from the slope's angles and rounded per axis; the across offset gets
// the sign that makes it perpendicular to the line.
HeadFrame GeneralFrame(const POINT& from, const POINT& to, Int64 a, Int64 w) {
  // Neither difference is zero here, so the slope and its inverse are finite.
  const double s = static_cast<double>(Int64{to.x} - Int64{from.x}) /
                   static_cast<double>(Int64{from.y} - Int64{to.y});
  const double phi = std::atan(-1.0 / s);
  const double psi = std::atan(s);
  const double A = static_cast<double>(a), W = static_cast<double>(w);
  const Int64 ax = Abs(RoundWide(A * std::cos(phi) / 2));
  const Int64 ay = Abs(RoundWide(A * std::sin(phi) / 2));
  const Int64 wx = Abs(RoundWide(W * std::cos(psi))) / 2;
  const Int64 wy = Abs(RoundWide(W * std::sin(psi))) / 2;
  const Int64 bx = from.x < to.x ? Int64{to.x} - ax : Int64{to.x} + ax;
  const Int64 by = from.y < to.y ? Int64{to.y} - ay : Int64{to.y} + ay;
  const bool sameSense = (from.x < to.x && from.y < to.y) || (from.x > to.x && from.y > to.y);
  const Int64 cx = sameSense ? -wx : wx;
  const Int64 r = BoundWide((a < w ? a : w) / 2);
  return HeadFrame{bx, by, cx, wy, cx, wy,
                   Int64{to.x} + r, Int64{to.y} + r, Int64{to.x} - r, Int64{to.y} - r};
}

HeadFrame FrameOf(const POINT& from, const POINT& to, long length, long width) {
  const Int64 a = BoundWide(length), w = BoundWide(width);
  switch (ArrowCaseOf(from, to)) {
    case ArrowCase::Vertical: return VerticalFrame(from, to, a, w);
    case ArrowCase::Horizontal: return HorizontalFrame(from, to, a, w);
    case ArrowCase::General: break;
  }
  return GeneralFrame(from, to, a, w);
}

// The notch reaches 60 % of the way from the base to the tip; computed per
// axis as round(0.6 * (trunc(2B/3) + T)).
LONG NotchCoord(LONG b, LONG t) {
  return RoundToLong(0.6 * static_cast<double>((2 * Int64{b}) / 3 + Int64{t}));
}

}  // namespace

ArrowCase ArrowCaseOf(const POINT& from, const POINT& to) {
  if (from.x == to.x) return ArrowCase::Vertical;
  if (from.y == to.y) return ArrowCase::Horizontal;
  return ArrowCase::General;
}

ArrowHead ComputeArrowHead(const POINT& from, const POINT& to, long length, long width) {
  const HeadFrame f = FrameOf(from, to, length, width);
  ArrowHead h{};
  h.kind = ArrowCaseOf(from, to);
  h.tip = to;
  h.base = MakePoint(BoundWide(f.bx), BoundWide(f.by));
  const Int64 bx = h.base.x, by = h.base.y;
  h.corner1 = MakePoint(bx + f.cx, by + f.cy);
  h.corner2 = MakePoint(bx - f.cx, by - f.cy);
  h.middle = MakePoint((bx + to.x) / 2, (by + to.y) / 2);
  h.notch = POINT{NotchCoord(h.base.x, to.x), NotchCoord(h.base.y, to.y)};
  h.side1 = MakePoint(Int64{h.middle.x} + f.sx, Int64{h.middle.y} + f.sy);
  h.side2 = MakePoint(Int64{h.middle.x} - f.sx, Int64{h.middle.y} - f.sy);
  h.ellipse = RECT{SaturateToLong(f.el), SaturateToLong(f.et), SaturateToLong(f.er), SaturateToLong(f.eb)};
  return h;
}

int ArrowPolygon(const ArrowHead& h, long shape, POINT out[4]) {
  switch (shape) {
    case 2:
      out[0] = h.corner1, out[1] = h.tip, out[2] = h.corner2;
      return 3;
    case 3:
    case 4:
      out[0] = h.corner1, out[1] = h.tip, out[2] = h.corner2;
      out[3] = shape == 3 ? h.notch : h.middle;
      return 4;
    case 5:
      out[0] = h.side1, out[1] = h.tip, out[2] = h.side2, out[3] = h.base;
      return 4;
    default:
      return 0;
  }
}

// Below this |k + 1| the interpolation form divides the rounding error of
// k P + Q (coordinates reach 2^31) by so little that the point can land a
// unit or more off; the direct form has no such division. Heads of the usual
// sizes never come near it: a must exceed 31 times the piece's length.
constexpr double kWellConditioned = 1.0 / 16;

POINT PointBeyondMiddle(const POINT& P, const POINT& Q, long a) {
  const double d = SegmentLength(P, Q);
  if (d < 1e-10) return Q;
  const double A = static_cast<double>(a);
  const double k = (d - A) / (d + A);
  if (std::isfinite(k) && std::fabs(k + 1) >= kWellConditioned) {
    return POINT{RoundToLong((k * P.x + Q.x) / (k + 1)), RoundToLong((k * P.y + Q.y) / (k + 1))};
  }
  const double t = (d + A) / (2 * d);
  return POINT{RoundToLong(P.x + static_cast<double>(Int64{Q.x} - Int64{P.x}) * t),
               RoundToLong(P.y + static_cast<double>(Int64{Q.y} - Int64{P.y}) * t)};
}

POINT PointBeforeMiddle(const POINT& F, const POINT& T, long a) {
  const double d = SegmentLength(F, T);
  if (d < 1e-10) return F;
  const double e = d - static_cast<double>(a);
  return POINT{RoundToLong(F.x + static_cast<double>(Int64{T.x} - Int64{F.x}) * e / (2 * d)),
               RoundToLong(F.y + static_cast<double>(Int64{T.y} - Int64{F.y}) * e / (2 * d))};
}

}  // namespace kp
