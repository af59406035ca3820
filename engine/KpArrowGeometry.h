#pragma once
// Arrowhead geometry of the line-style engine, as pure functions of their
// arguments (no device, no engine state).
//
// An arrow runs from F (`from`) to its tip T (`to`) with a length A and a
// width W in device units. Its base centre B lies A/2 behind the tip on the
// line F-T, and its two base corners lie W/2 to either side of B.
//
// Three cases, chosen by the direction of F->T:
// - vertical (F.x == T.x, also when F == T): B = (T.x, T.y -+ A/2), corners
//   (T.x - W/2, B.y) then (T.x + W/2, B.y);
// - horizontal (F.y == T.y): B = (T.x -+ A/2, T.y), corners (B.x, T.y + W/2)
//   then (B.x, T.y - W/2);
// - general: offsets along and across the line are derived from the slope
//   by trigonometry and rounded per axis, so the head is not exactly A by W
//   (see ComputeArrowHead in the .cpp).
// A/2 and W/2 halve toward zero; reals become coordinates by the engine's
// rounding (half away from zero).
//
// Coordinates, lengths and differences are taken in 64 bits or doubles, so
// any 32-bit points and any sizes work; a result coordinate that does not fit
// 32 bits saturates at INT32_MIN/INT32_MAX.
#include "platform/KpTypes.h"

namespace kp {

enum class ArrowCase { Vertical, Horizontal, General };

struct ArrowHead {
  ArrowCase kind;
  POINT tip;      // T
  POINT base;     // B
  POINT corner1;  // first base corner
  POINT corner2;  // second base corner
  POINT middle;   // integer midpoint of B and T ((B + T) / 2 per axis, truncated)
  POINT notch;    // inner point of the notched head: round(0.6 * (trunc(2B/3) + T))
  POINT side1;    // diamond side points: middle plus / minus the across offset
  POINT side2;
  RECT ellipse;   // Ellipse arguments in call order (not normalised)
};

ArrowCase ArrowCaseOf(const POINT& from, const POINT& to);

// Every point of the arrowhead from `from` to the tip `to`.
ArrowHead ComputeArrowHead(const POINT& from, const POINT& to, long length, long width);

// The polygon of the filled shapes: 2 triangle (corner1, T, corner2),
// 3 notched (.., notch), 4 notched at the middle (.., middle), 5 diamond
// (side1, T, side2, B). Returns the number of points written to out
// (3 or 4), 0 for any other shape.
int ArrowPolygon(const ArrowHead& head, long shape, POINT out[4]);

// The point (d + a) / 2 from P towards Q (a/2 beyond the middle of P-Q),
// with d = |PQ|, in the engine's interpolation form
// ((k P + Q) / (k + 1), k = (d - a) / (d + a)), rounded per axis.
// P == Q has no direction: returns Q. Where that form breaks down in
// floating point (d + a == 0, or a so large that k + 1 vanishes) the same
// point is computed as P + (Q - P)(d + a) / (2d).
POINT PointBeyondMiddle(const POINT& P, const POINT& Q, long a);

// The point a/2 before the middle of F-T (towards F):
// F + (T - F)(d - a) / (2d), rounded per axis. F == T returns F.
POINT PointBeforeMiddle(const POINT& F, const POINT& T, long a);

}  // namespace kp
