#pragma once
// lsl sheet [FILE | --default] -o OUT [--columns N] [--scale R] [--no-aa]
#include <string>
#include <vector>

class CLslSheetCommand {
 public:
  static int Run(const std::vector<std::string>& words);

 private:
  static std::string Title(const std::string& name, long count);
};
