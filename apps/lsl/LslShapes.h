#pragma once
// The geometry the tool draws, before and after it is fitted to a device.
// A shape is one GeoJSON geometry: a polyline of one or more parts, or a
// polygon of one or more rings (outer ring first).
#include <vector>

#include "platform/KpTypes.h"

struct LslMapPoint {
  double x;
  double y;
};

struct LslMapShape {
  bool polygon = false;
  std::vector<std::vector<LslMapPoint>> parts;
};

struct LslDeviceShape {
  bool polygon = false;
  std::vector<std::vector<POINT>> parts;
};
