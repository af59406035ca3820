#include "apps/lsl/CLslArgs.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "apps/lsl/CLslError.h"

namespace {

bool IsOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// "-12" and "-0.5" are values, not options: coordinates and offsets may be negative.
bool IsNumber(const std::string& word) {
  char* end = nullptr;
  std::strtod(word.c_str(), &end);
  return !word.empty() && end != nullptr && *end == '\0';
}

}  // namespace

CLslArgs::CLslArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                   const std::set<std::string>& flags) {
  bool onlyPositionals = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (onlyPositionals || !IsOption(word) || IsNumber(word)) {
      m_positionals.push_back(word);
      continue;
    }
    if (word == "--") {
      onlyPositionals = true;
      continue;
    }
    const size_t eq = word.find('=');
    const std::string name = word.substr(0, eq);
    if (valueOptions.count(name)) {
      if (eq != std::string::npos) {
        Take(name, word.substr(eq + 1));
      } else if (i + 1 < words.size()) {
        Take(name, words[++i]);
      } else {
        throw CLslError("option " + name + " needs a value");
      }
    } else if (flags.count(name) && eq == std::string::npos) {
      if (!m_flags.insert(name).second) throw CLslError("option " + name + " given twice");
    } else if (flags.count(name)) {
      throw CLslError("option " + name + " takes no value");
    } else {
      throw CLslError("unknown option " + name);
    }
  }
}

void CLslArgs::Take(const std::string& name, const std::string& value) {
  if (Value(name)) throw CLslError("option " + name + " given twice");
  m_values.emplace_back(name, value);
}

bool CLslArgs::Has(const std::string& name) const {
  return m_flags.count(name) > 0 || Value(name).has_value();
}

std::optional<std::string> CLslArgs::Value(const std::string& name) const {
  for (const auto& [key, value] : m_values)
    if (key == name) return value;
  return std::nullopt;
}

std::string CLslArgs::Required(const std::string& name) const {
  const auto value = Value(name);
  if (!value) throw CLslError("option " + name + " is required");
  return *value;
}

void CLslArgs::ExpectPositionals(size_t min, size_t max) const {
  const size_t n = m_positionals.size();
  if (n < min) throw CLslError(min == 1 ? "a file argument is missing" : "file arguments are missing");
  if (n > max) throw CLslError("unexpected argument '" + m_positionals[max] + "'");
}

long CLslArgs::ParseLong(const std::string& option, const std::string& text, long min, long max) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < min || value > max)
    throw CLslError("bad value '" + text + "' for " + option + " (a whole number from " +
                    std::to_string(min) + " to " + std::to_string(max) + ")");
  return static_cast<long>(value);
}

double CLslArgs::ParseDouble(const std::string& option, const std::string& text, double min, double max) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value) || value < min || value > max)
    throw CLslError("bad value '" + text + "' for " + option);
  return value;
}
