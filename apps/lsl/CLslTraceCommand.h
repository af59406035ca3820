#pragma once
// lsl trace (FILE | --default) --style ID (--geojson F | --points P) [...]
#include <string>
#include <vector>

class CLslTraceCommand {
 public:
  static int Run(const std::vector<std::string>& words);
};
