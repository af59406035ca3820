#include "apps/lsl/CLslPointList.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "apps/lsl/CLslError.h"

std::vector<LslMapPoint> CLslPointList::Parse(const std::string& text) {
  std::istringstream words(text);
  std::vector<LslMapPoint> points;
  std::string pair;
  while (words >> pair) points.push_back(ParsePair(pair));
  if (points.size() < 2) throw CLslError("bad --points: a line needs at least two points \"x,y x,y\"");
  return points;
}

LslMapPoint CLslPointList::ParsePair(const std::string& pair) {
  const size_t comma = pair.find(',');
  const std::string xs = pair.substr(0, comma);
  const std::string ys = comma == std::string::npos ? std::string() : pair.substr(comma + 1);
  char* xEnd = nullptr;
  char* yEnd = nullptr;
  const double x = std::strtod(xs.c_str(), &xEnd);
  const double y = std::strtod(ys.c_str(), &yEnd);
  if (xs.empty() || ys.empty() || *xEnd != '\0' || *yEnd != '\0' || !std::isfinite(x) || !std::isfinite(y))
    throw CLslError("bad --points: '" + pair + "' is not a pair x,y");
  return LslMapPoint{x, y};
}
