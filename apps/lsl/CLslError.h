#pragma once
// The one way a command of the tool fails: a message for the user. The
// application prints it as "lsl: <message>" on standard error and exits with
// status 1; whatever the command had started writing is removed on the way
// out (see CLslOutputFile).
#include <stdexcept>
#include <string>

class CLslError : public std::runtime_error {
 public:
  explicit CLslError(const std::string& message) : std::runtime_error(message) {}
};
