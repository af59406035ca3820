#include "apps/lsl/CLslLibrarySource.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "apps/lsl/CLslError.h"

long CLslLibrarySource::Load(const CLslArgs& args, CKpLineStyleLib& lib, bool fileOptional) {
  if (args.Has("--default")) return LoadDefault(lib);
  if (args.Positionals().empty()) {
    if (fileOptional) return LoadDefault(lib);
    throw CLslError("a library file (or --default) is required");
  }
  return LoadFile(args.Positionals().front(), lib);
}

size_t CLslLibrarySource::FirstFreePositional(const CLslArgs& args) { return args.Has("--default") ? 0 : 1; }

void CLslLibrarySource::ExpectArguments(const CLslArgs& args, size_t extra, bool fileOptional) {
  const size_t n = args.Positionals().size();
  if (args.Has("--default")) {
    if (n < extra) throw CLslError("an output file is required");
    args.ExpectPositionals(extra, extra);
    return;
  }
  if (fileOptional && n == extra) return;  // no FILE: the default library
  if (n == 0) throw CLslError("a library file (or --default) is required");
  if (n < extra + 1) throw CLslError("an output file is required");
  args.ExpectPositionals(extra + 1, extra + 1);
}

long CLslLibrarySource::LoadDefault(CKpLineStyleLib& lib) {
  lib.CreateDefault();
  lib.SetModifiedFlag(FALSE);
  return KP_LSL_VERSION_20031017;
}

long CLslLibrarySource::LoadFile(const std::string& path, CKpLineStyleLib& lib) {
  const long version = ReadVersionWord(path);
  if (!IsKnownVersion(version))
    throw CLslError(path + ": unknown library version " + std::to_string(version));
  // The reader of the oldest version reports a wrong version word through
  // the library's message; our own message says it better.
  CKpLineStyleLib::SetMessageCallback([](const CString&) {});
  const int loaded = lib.LoadFromFile(path);
  CKpLineStyleLib::SetMessageCallback(nullptr);
  if (!loaded) throw CLslError(path + ": corrupt library (version " + std::to_string(version) + ")");
  lib.SetModifiedFlag(FALSE);
  return version;
}

long CLslLibrarySource::ReadVersionWord(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) throw CLslError("cannot open " + path + ": " + std::strerror(errno));
  unsigned char head[8] = {};
  const size_t n = std::fread(head, 1, sizeof head, f);
  const bool failed = std::ferror(f) != 0;
  const int savedErrno = errno;
  std::fclose(f);
  if (failed) throw CLslError("cannot read " + path + ": " + std::strerror(savedErrno));
  auto word = [&head](int at) {
    return static_cast<long>(static_cast<std::int32_t>(head[at] | (head[at + 1] << 8) | (head[at + 2] << 16) |
                                                       (static_cast<std::uint32_t>(head[at + 3]) << 24)));
  };
  if (n < 4 || word(0) != KP_LSL_MAGIC) throw CLslError(path + " is not a line-style library");
  if (n < 8) throw CLslError(path + ": corrupt library (the file ends inside its head)");
  return word(4);
}

bool CLslLibrarySource::IsKnownVersion(long version) {
  return version == KP_LSL_VERSION_10 || version == KP_LSL_VERSION_20010228 ||
         version == KP_LSL_VERSION_20010614 || version == KP_LSL_VERSION_20031017;
}
