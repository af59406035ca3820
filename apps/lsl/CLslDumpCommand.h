#pragma once
// lsl dump (FILE | --default) [--json]
#include <string>
#include <vector>

class CLslDumpCommand {
 public:
  static int Run(const std::vector<std::string>& words);
};
