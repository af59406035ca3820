#pragma once
// lsl draw (FILE | --default) --style ID (--geojson F | --points P) -o OUT [...]
#include <string>
#include <vector>

#include "platform/KpTypes.h"

class CLslDrawCommand {
 public:
  static int Run(const std::vector<std::string>& words);
  // Room left free around the fitted geometry, in pixels.
  static long Margin(SIZE size);
};
