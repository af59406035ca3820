#pragma once
// The module's entry points towards its host: registration of its resources
// (InitKpVur50DLL) in a small registry that hosts query, and the report of a
// failed anti-aliasing start-up.
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "platform/KpExport.h"

namespace kp {

// Name under which this module registers its resources.
constexpr const char* KP_MODULE_NAME = "KpVur50";

// What one module offers its host: for now its string table, a range of
// numbers and the function that looks them up.
struct ModuleResourceSet {
  std::string name;
  int firstString = 0;
  int lastString = -1;
  const char* (*loadString)(int id) = nullptr;
};

// The process-wide registry of module resources. Thread-safe.
class KP_API ModuleResources {
 public:
  static ModuleResources& Instance();

  // Adds the set, or replaces the one registered under the same name.
  // Returns true when the name was new.
  bool Register(const ModuleResourceSet& set);
  // Removes the set of that name; false when there was none.
  bool Unregister(const std::string& name);
  bool IsRegistered(const std::string& name) const;
  std::size_t Count() const;
  // The string `id` from the first registered set whose range holds it and
  // that has a text for it; nullptr when none has.
  const char* FindString(int id) const;

 private:
  ModuleResources() = default;

  mutable std::mutex m_mutex;
  std::vector<ModuleResourceSet> m_sets;
};

// Logs the failed start of anti-aliased drawing (string 24526, level 8). The
// module goes on loading; drawing then takes the plain path.
KP_API void ReportAntiAliasStartFailure();

}  // namespace kp

// Registers the module's resources with the host. Safe to call more than
// once: the module is registered once.
KP_API void InitKpVur50DLL();
