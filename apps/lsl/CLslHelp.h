#pragma once
// The usage texts of the tool and of each command.
#include <string>

class CLslHelp {
 public:
  static const char* Overview();
  // The usage of a command, or null for a name that is no command.
  static const char* Command(const std::string& name);
};
