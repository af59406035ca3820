#pragma once
// What of an outlined, filled ellipse a window shows, found without drawing
// it. Device backends use it to skip ellipses and arcs that cannot be seen
// and to fill, instead of stroking, those that cover the whole window: a
// stroker's work grows with the figure, not with what the window shows.

namespace kp {

enum class EllipseView {
  Hidden,    // neither the fill nor the outline reaches the window
  Inside,    // the window lies in the fill, farther than `reach` from the outline
  Crossing,  // the outline may pass through the window
};

// The axis-aligned ellipse of centre (cx, cy) and radii rx, ry (>= 0), its
// outline reaching `reach` (>= 0) to either side, against the window
// [left, right] x [top, bottom]. Errs only towards Crossing.
EllipseView ClassifyEllipse(double cx, double cy, double rx, double ry, double reach, double left, double top,
                            double right, double bottom);

}  // namespace kp
