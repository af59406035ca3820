#pragma once
// lsl info (FILE | --default)
#include <string>
#include <vector>

#include "model/CKpLineStyleLib.h"

class CLslInfoCommand {
 public:
  static int Run(const std::vector<std::string>& words);

 private:
  static void PrintGroup(const CKpLineStyleGroup& group, int depth);
  static void PrintSymbols(const CKpSymLib& symbols);
  static std::string Count(long n, const char* one, const char* many);
};
