#pragma once
// Reads the line and polygon geometry of a GeoJSON file: a LineString,
// MultiLineString, Polygon, MultiPolygon or GeometryCollection of them, on
// its own or in a Feature or FeatureCollection. Points carry no line to draw
// and are passed over, as are features without geometry. Anything malformed
// is an error ("bad GeoJSON: ..."), as is a file with nothing to draw.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "apps/lsl/LslShapes.h"

class CLslGeoJsonReader {
 public:
  static std::vector<LslMapShape> ReadFile(const std::string& path);
  static std::vector<LslMapShape> ReadText(const std::string& text);

 private:
  explicit CLslGeoJsonReader(std::vector<LslMapShape>& out) : m_out(out) {}
  void ReadObject(const nlohmann::json& object, int depth);
  void ReadGeometry(const nlohmann::json& geometry, int depth);
  void AddLines(const nlohmann::json& lines, bool polygon);
  static std::vector<LslMapPoint> ReadPositions(const nlohmann::json& positions, size_t minimum,
                                                const char* what);
  static LslMapPoint ReadPosition(const nlohmann::json& position);
  static const nlohmann::json& Member(const nlohmann::json& object, const char* name);
  [[noreturn]] static void Fail(const std::string& what);

  std::vector<LslMapShape>& m_out;
};
