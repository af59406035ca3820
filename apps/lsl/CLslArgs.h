#pragma once
// The arguments of one command: options that take a value ("--style 8",
// "--style=8", "-o out.png"), flags ("--no-aa") and positional words, in any
// order. Unknown options, a missing value and an option given twice are
// errors (CLslError), so a typo never silently changes what gets drawn.
#include <optional>
#include <set>
#include <string>
#include <vector>

class CLslArgs {
 public:
  CLslArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
           const std::set<std::string>& flags);

  bool Has(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;
  // The value of an option the command cannot do without.
  std::string Required(const std::string& name) const;
  const std::vector<std::string>& Positionals() const { return m_positionals; }
  // Fails unless there are between min and max positional words.
  void ExpectPositionals(size_t min, size_t max) const;

  // Whole-word numbers within a range; anything else is an error naming the option.
  static long ParseLong(const std::string& option, const std::string& text, long min, long max);
  static double ParseDouble(const std::string& option, const std::string& text, double min, double max);

 private:
  void Take(const std::string& name, const std::string& value);

  std::vector<std::pair<std::string, std::string>> m_values;
  std::set<std::string> m_flags;
  std::vector<std::string> m_positionals;
};
