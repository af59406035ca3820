#pragma once
// lsl convert (IN | --default) OUT [--version V]  and  lsl new-default OUT
#include <string>
#include <vector>

class CLslConvertCommand {
 public:
  static int Run(const std::vector<std::string>& words);
  static int RunNewDefault(const std::vector<std::string>& words);
};
