#pragma once
// What 'lsl draw' and 'lsl trace' share: the library, the style, the
// geometry (GeoJSON or a point list), the image size and the drawing
// options, read and checked from the command's arguments.
#include <string>
#include <vector>

#include "apps/lsl/CLslArgs.h"
#include "apps/lsl/CLslStyleDrawer.h"
#include "apps/lsl/LslShapes.h"
#include "model/CKpLineStyleLib.h"

class CLslDrawRequest {
 public:
  // `withOutput`: the command writes a file (-o) rather than printing.
  CLslDrawRequest(const std::vector<std::string>& words, bool withOutput);

  CKpLineStyleLib& Library() { return m_lib; }
  // A copy of the chosen style: drawing changes its current widths and colours.
  CKpLineStyleObj& Style() { return m_style; }
  const LslDrawOptions& Options() const { return m_options; }
  SIZE Size() const { return m_size; }
  const std::string& Output() const { return m_output; }
  // --points given: the points, in order; otherwise the GeoJSON shapes.
  bool HasPoints() const { return !m_points.empty(); }
  const std::vector<LslMapPoint>& Points() const { return m_points; }
  const std::vector<LslMapShape>& Shapes() const { return m_shapes; }
  // The geometry as map shapes (the point list as one polyline).
  std::vector<LslMapShape> MapShapes() const;

  static SIZE ParseSize(const std::string& text);
  static COLORREF ParseColor(const std::string& text);

 private:
  void ReadOptions(const CLslArgs& args);
  void ReadStyle(const CLslArgs& args);
  void ReadGeometry(const CLslArgs& args);

  CKpLineStyleLib m_lib;
  CKpLineStyleObj m_style;
  LslDrawOptions m_options;
  SIZE m_size{800, 600};
  std::string m_output;
  std::vector<LslMapPoint> m_points;
  std::vector<LslMapShape> m_shapes;
};
