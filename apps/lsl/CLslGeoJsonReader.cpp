#include "apps/lsl/CLslGeoJsonReader.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "apps/lsl/CLslError.h"

namespace {

// Collections nested deeper than this are taken as malformed, not followed.
constexpr int kMaxDepth = 64;

}  // namespace

std::vector<LslMapShape> CLslGeoJsonReader::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CLslError("cannot open " + path + ": " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw CLslError("cannot read " + path);
  return ReadText(text.str());
}

std::vector<LslMapShape> CLslGeoJsonReader::ReadText(const std::string& text) {
  const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
  if (root.is_discarded()) Fail("not valid JSON");
  std::vector<LslMapShape> shapes;
  CLslGeoJsonReader reader(shapes);
  reader.ReadObject(root, 0);
  if (shapes.empty()) Fail("no line or polygon geometry to draw");
  return shapes;
}

void CLslGeoJsonReader::Fail(const std::string& what) { throw CLslError("bad GeoJSON: " + what); }

const nlohmann::json& CLslGeoJsonReader::Member(const nlohmann::json& object, const char* name) {
  const auto it = object.find(name);
  if (it == object.end()) Fail(std::string("missing \"") + name + "\"");
  return *it;
}

void CLslGeoJsonReader::ReadObject(const nlohmann::json& object, int depth) {
  if (!object.is_object()) Fail("expected an object");
  if (depth > kMaxDepth) Fail("nested too deeply");
  const nlohmann::json& type = Member(object, "type");
  if (!type.is_string()) Fail("\"type\" is not a string");
  if (type == "FeatureCollection") {
    const nlohmann::json& features = Member(object, "features");
    if (!features.is_array()) Fail("\"features\" is not an array");
    for (const nlohmann::json& feature : features) ReadObject(feature, depth + 1);
  } else if (type == "Feature") {
    const nlohmann::json& geometry = Member(object, "geometry");
    if (!geometry.is_null()) ReadGeometry(geometry, depth + 1);
  } else {
    ReadGeometry(object, depth);
  }
}

void CLslGeoJsonReader::ReadGeometry(const nlohmann::json& geometry, int depth) {
  if (!geometry.is_object()) Fail("a geometry is not an object");
  if (depth > kMaxDepth) Fail("nested too deeply");
  const nlohmann::json& type = Member(geometry, "type");
  if (!type.is_string()) Fail("\"type\" is not a string");
  if (type == "GeometryCollection") {
    const nlohmann::json& members = Member(geometry, "geometries");
    if (!members.is_array()) Fail("\"geometries\" is not an array");
    for (const nlohmann::json& member : members) ReadGeometry(member, depth + 1);
    return;
  }
  if (type == "Point" || type == "MultiPoint") return;  // nothing to stroke
  const nlohmann::json& coordinates = Member(geometry, "coordinates");
  if (!coordinates.is_array()) Fail("\"coordinates\" is not an array");
  if (type == "LineString") {
    m_out.push_back(LslMapShape{false, {ReadPositions(coordinates, 2, "a LineString")}});
  } else if (type == "MultiLineString") {
    AddLines(coordinates, false);
  } else if (type == "Polygon") {
    AddLines(coordinates, true);
  } else if (type == "MultiPolygon") {
    for (const nlohmann::json& polygon : coordinates) {
      if (!polygon.is_array()) Fail("a MultiPolygon member is not an array of rings");
      AddLines(polygon, true);
    }
  } else {
    Fail("unknown geometry type \"" + type.get<std::string>() + "\"");
  }
}

// The parts of one MultiLineString, or the rings of one polygon; each ring
// is closed if the file left it open, so that the style runs all round it.
void CLslGeoJsonReader::AddLines(const nlohmann::json& lines, bool polygon) {
  LslMapShape shape;
  shape.polygon = polygon;
  for (const nlohmann::json& line : lines) {
    std::vector<LslMapPoint> points =
        ReadPositions(line, polygon ? 3 : 2, polygon ? "a polygon ring" : "a MultiLineString part");
    const LslMapPoint first = points.front(), last = points.back();
    if (polygon && (first.x != last.x || first.y != last.y)) points.push_back(first);
    shape.parts.push_back(std::move(points));
  }
  if (!shape.parts.empty()) m_out.push_back(std::move(shape));
}

std::vector<LslMapPoint> CLslGeoJsonReader::ReadPositions(const nlohmann::json& positions, size_t minimum,
                                                          const char* what) {
  if (!positions.is_array()) Fail(std::string(what) + " is not an array of positions");
  if (positions.size() < minimum)
    Fail(std::string(what) + " needs at least " + std::to_string(minimum) + " positions");
  std::vector<LslMapPoint> points;
  points.reserve(positions.size());
  for (const nlohmann::json& position : positions) points.push_back(ReadPosition(position));
  return points;
}

LslMapPoint CLslGeoJsonReader::ReadPosition(const nlohmann::json& position) {
  if (!position.is_array() || position.size() < 2 || !position[0].is_number() || !position[1].is_number())
    Fail("a position is not [x, y] with numbers");
  const double x = position[0].get<double>(), y = position[1].get<double>();
  if (!std::isfinite(x) || !std::isfinite(y)) Fail("a coordinate is out of range");
  return LslMapPoint{x, y};
}
