#pragma once

// A point with real coordinates, for geometry results that are not yet
// snapped to the device grid.
struct CPoint2D {
  double x;
  double y;
};
