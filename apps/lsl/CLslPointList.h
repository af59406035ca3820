#pragma once
// A point list given on the command line: "x,y x,y ...", pairs separated by
// white space, each pair's numbers by a comma.
#include <string>
#include <vector>

#include "apps/lsl/LslShapes.h"

class CLslPointList {
 public:
  // At least two points; anything else is an error naming the bad pair.
  static std::vector<LslMapPoint> Parse(const std::string& text);

 private:
  static LslMapPoint ParsePair(const std::string& pair);
};
