#include "apps/lsl/CLslMapFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "apps/lsl/CLslError.h"

namespace {

// Half away from zero, as the engine rounds.
LONG Round(double v) { return static_cast<LONG>(std::lround(v)); }

}  // namespace

CLslMapFit::CLslMapFit(const std::vector<LslMapShape>& shapes, SIZE device, long margin) {
  double minX = std::numeric_limits<double>::infinity(), minY = minX;
  double maxX = -minX, maxY = -minX;
  for (const LslMapShape& shape : shapes)
    for (const auto& part : shape.parts)
      for (const LslMapPoint& p : part) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
      }
  if (!(minX <= maxX)) throw CLslError("nothing to draw");
  const double width = maxX - minX, height = maxY - minY;
  if (!std::isfinite(width) || !std::isfinite(height)) throw CLslError("coordinates out of range");
  const double roomX = std::max(1L, static_cast<long>(device.cx) - 2 * margin);
  const double roomY = std::max(1L, static_cast<long>(device.cy) - 2 * margin);
  // A box that is a point or a flat line scales by its other side (or 1).
  double scale = 1.0;
  if (width > 0 && height > 0)
    scale = std::min(roomX / width, roomY / height);
  else if (width > 0)
    scale = roomX / width;
  else if (height > 0)
    scale = roomY / height;
  m_minX = minX;
  m_minY = minY;
  m_scale = scale;
  m_offsetX = (device.cx - width * scale) / 2.0;
  m_offsetY = (device.cy - height * scale) / 2.0;
}

POINT CLslMapFit::ToLogical(LslMapPoint p) const {
  return POINT{Round(m_offsetX + (p.x - m_minX) * m_scale), Round(m_offsetY + (p.y - m_minY) * m_scale)};
}

LslDeviceShape CLslMapFit::Apply(const LslMapShape& shape) const {
  LslDeviceShape out;
  out.polygon = shape.polygon;
  for (const auto& part : shape.parts) {
    std::vector<POINT> points;
    points.reserve(part.size());
    for (const LslMapPoint& p : part) {
      const POINT q = ToLogical(p);
      if (!points.empty() && points.back().x == q.x && points.back().y == q.y) continue;
      points.push_back(q);
    }
    // A part that shrank to one point still counts, so that the parts of a
    // multi-part call keep their places.
    out.parts.push_back(std::move(points));
  }
  return out;
}

std::vector<LslDeviceShape> CLslMapFit::Apply(const std::vector<LslMapShape>& shapes) const {
  std::vector<LslDeviceShape> out;
  out.reserve(shapes.size());
  for (const LslMapShape& shape : shapes) out.push_back(Apply(shape));
  return out;
}

LslDeviceShape CLslMapFit::Unchanged(const std::vector<LslMapPoint>& points) {
  std::vector<POINT> part;
  for (const LslMapPoint& p : points) {
    if (std::fabs(p.x) > 1e9 || std::fabs(p.y) > 1e9) throw CLslError("coordinates out of range");
    part.push_back(POINT{Round(p.x), Round(p.y)});
  }
  return LslDeviceShape{false, {part}};
}

void CLslMapFit::SetUpMapping(CDC& dc, long height) {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(1, 1);
  dc.SetViewportExt(1, -1);
  dc.SetViewportOrg(0, static_cast<int>(height));
}
