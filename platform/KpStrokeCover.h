#pragma once
// Whether a wide stroke certainly paints every pixel of a window, found
// without drawing it. A pen far wider than the window makes every dash of a
// line cover all of it, and a rasterizer's work grows with the stroke's
// area, not with what the window shows; a device backend that knows the
// window is covered fills it instead.

namespace kp {

// True when the stroke of the segment (ax, ay)-(bx, by), `half` to either
// side, holds the window [left, right] x [top, bottom] with room to spare
// for a rasterizer's flattening of round ends. The segment's own rectangle
// lies in any stroke of a polyline through it, whatever its caps and joins;
// with `roundEnds` (round caps at the polyline's ends and round joins
// between its segments) the half discs at its ends count too. Errs only
// towards false: a zero-length segment, bad numbers or an inverted window
// never cover.
bool SegmentStrokeCovers(double ax, double ay, double bx, double by, double half, bool roundEnds,
                         double left, double top, double right, double bottom);

// True when the stroke, `half` to either side, of an ellipse's outline
// (centre (cx, cy), radii rx, ry) holds the window with the same room to
// spare: every point of the window lies within `half` of every point of the
// outline. For pens far wider than the ellipse. Errs only towards false.
bool EllipseStrokeCovers(double cx, double cy, double rx, double ry, double half, double left, double top,
                         double right, double bottom);

// The distance from (px, py) to the segment (ax, ay)-(bx, by); a
// zero-length segment is its point. NaN when a number is not finite.
double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by);

}  // namespace kp
