#include "module/KpModulePath.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>

namespace kp {

namespace {

// The folder part of `path` with its trailing '/', or empty without one.
CString FolderOf(const CString& path) {
  const size_t slash = path.rfind('/');
  return slash == CString::npos ? CString() : path.substr(0, slash + 1);
}

// The target of /proc/self/exe: the running executable, symlinks resolved.
CString ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return CString();
  return CString(buffer, static_cast<size_t>(n));
}

// The file mapped at `address` as the kernel lists it in /proc/self/maps:
// always an absolute path, whatever name the loader was given.
CString MappedFileOf(const void* address) {
  std::ifstream maps("/proc/self/maps");
  const auto where = reinterpret_cast<std::uintptr_t>(address);
  std::string line;
  while (std::getline(maps, line)) {
    // start-end perms offset dev inode   path
    std::istringstream fields(line);
    std::string range, perms, offset, dev, inode;
    if (!(fields >> range >> perms >> offset >> dev >> inode)) continue;
    const size_t dash = range.find('-');
    if (dash == std::string::npos) continue;
    const std::uintptr_t start = std::strtoull(range.c_str(), nullptr, 16);
    const std::uintptr_t end = std::strtoull(range.c_str() + dash + 1, nullptr, 16);
    if (where < start || where >= end) continue;
    std::string path;
    std::getline(fields >> std::ws, path);
    return !path.empty() && path[0] == '/' ? path : CString();
  }
  return CString();
}

// Asks the dynamic loader which loaded object holds this very function, so the
// answer is the file of the core whether that is a shared library or the
// executable it was linked into statically.
CString FindModuleFolder() {
  Dl_info info{};
  link_map* map = nullptr;
  void* self = reinterpret_cast<void*>(&FindModuleFolder);
  if (::dladdr1(self, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) return CString();
  // The loader knows the main program only by argv[0], which may be relative
  // or a bare name found on PATH; the kernel knows its real path.
  if (map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0')
    return FolderOf(ExecutablePath());
  if (map->l_name[0] == '/') return FolderOf(map->l_name);
  // A library opened through a relative path keeps that path, and the working
  // directory may have changed since; the kernel's mapping list knows better.
  return FolderOf(MappedFileOf(self));
}

std::mutex& OverrideMutex() {
  static std::mutex mutex;
  return mutex;
}

CString& OverrideFolder() {
  static CString folder;
  return folder;
}

}  // namespace

CString ModuleFolder() {
  {
    std::lock_guard<std::mutex> lock(OverrideMutex());
    if (!OverrideFolder().empty()) return OverrideFolder();
  }
  static const CString real = FindModuleFolder();
  return real;
}

void SetModuleFolderForTesting(const CString& folder) {
  std::lock_guard<std::mutex> lock(OverrideMutex());
  OverrideFolder() = folder;
  if (!folder.empty() && folder.back() != '/') OverrideFolder() += '/';
}

CString DefaultLibraryPath() {
  const CString folder = ModuleFolder();
  return folder.empty() ? CString() : folder + "Line.lsl";
}

}  // namespace kp
