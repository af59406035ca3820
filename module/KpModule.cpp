#include "module/KpModule.h"

#include <algorithm>

#include "companions/CKpLogManage.h"
#include "module/KpStringTable.h"

namespace kp {

namespace {
// Level of a start-up failure that leaves the module working with less.
constexpr int kLogLevelStartFailure = 8;
}  // namespace

ModuleResources& ModuleResources::Instance() {
  static ModuleResources* registry = new ModuleResources();
  return *registry;
}

bool ModuleResources::Register(const ModuleResourceSet& set) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = std::find_if(m_sets.begin(), m_sets.end(),
                         [&](const ModuleResourceSet& s) { return s.name == set.name; });
  if (it != m_sets.end()) {
    *it = set;
    return false;
  }
  m_sets.push_back(set);
  return true;
}

bool ModuleResources::Unregister(const std::string& name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = std::find_if(m_sets.begin(), m_sets.end(),
                         [&](const ModuleResourceSet& s) { return s.name == name; });
  if (it == m_sets.end()) return false;
  m_sets.erase(it);
  return true;
}

bool ModuleResources::IsRegistered(const std::string& name) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::any_of(m_sets.begin(), m_sets.end(),
                     [&](const ModuleResourceSet& s) { return s.name == name; });
}

std::size_t ModuleResources::Count() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_sets.size();
}

const char* ModuleResources::FindString(int id) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const ModuleResourceSet& s : m_sets) {
    if (s.loadString == nullptr || id < s.firstString || id > s.lastString) continue;
    if (const char* text = s.loadString(id)) return text;
  }
  return nullptr;
}

void ReportAntiAliasStartFailure() {
  KpGetLogManageObj()->StoreItem(ModuleString(KP_IDS_ANTIALIAS_START_FAILED), kLogLevelStartFailure);
}

}  // namespace kp

void InitKpVur50DLL() {
  kp::ModuleResourceSet set;
  set.name = kp::KP_MODULE_NAME;
  set.firstString = kp::KP_STRING_FIRST;
  set.lastString = kp::KP_STRING_LAST;
  set.loadString = &kp::LoadModuleString;
  kp::ModuleResources::Instance().Register(set);
}
