#pragma once
// Fits map coordinates into a device: the bounding box of all shapes is
// scaled uniformly (the aspect ratio kept) into the device less a margin on
// every side, and centred. The result is in logical units of a y-up mapping
// with one unit per device pixel and the origin at the bottom-left corner,
// as a map is drawn: north stays up.
#include <vector>

#include "apps/lsl/LslShapes.h"
#include "platform/CDC.h"

class CLslMapFit {
 public:
  CLslMapFit(const std::vector<LslMapShape>& shapes, SIZE device, long margin);

  POINT ToLogical(LslMapPoint p) const;
  // Each part fitted; repeated points that rounding creates are dropped, so
  // the engine never sees a zero-length segment that the map did not have.
  LslDeviceShape Apply(const LslMapShape& shape) const;
  std::vector<LslDeviceShape> Apply(const std::vector<LslMapShape>& shapes) const;
  double Scale() const { return m_scale; }

  // Puts the y-up mapping of the fitted coordinates on a DC `height` pixels high.
  static void SetUpMapping(CDC& dc, long height);
  // Points taken as logical coordinates unchanged (rounded to integers).
  static LslDeviceShape Unchanged(const std::vector<LslMapPoint>& points);

 private:
  double m_minX = 0, m_minY = 0;
  double m_scale = 1;
  double m_offsetX = 0, m_offsetY = 0;
};
