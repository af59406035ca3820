#pragma once
// Where a command's library comes from: an .lsl file, or the built-in
// default library ("--default", or no file where a command allows that).
// A file that cannot be used is reported by what is wrong with it: missing
// or unreadable, not a library at all, of a version no reader knows, or a
// library whose content is damaged.
#include <string>

#include "apps/lsl/CLslArgs.h"
#include "model/CKpLineStyleLib.h"

class CLslLibrarySource {
 public:
  // The library named by the arguments: the first positional word, or the
  // default library for --default (or, when `fileOptional`, for no word at
  // all). Returns the version word of the file head; for the default
  // library, which has no file, the version it would be saved in.
  static long Load(const CLslArgs& args, CKpLineStyleLib& lib, bool fileOptional);
  static long LoadFile(const std::string& path, CKpLineStyleLib& lib);
  static long LoadDefault(CKpLineStyleLib& lib);
  // The index of the first positional word after the library's (none is
  // taken by --default).
  static size_t FirstFreePositional(const CLslArgs& args);
  // Fails unless the arguments name a library (or may leave it out) and
  // `extra` more positional words.
  static void ExpectArguments(const CLslArgs& args, size_t extra, bool fileOptional);

 private:
  // Reads the magic and the version word; throws when the file is no library.
  static long ReadVersionWord(const std::string& path);
  static bool IsKnownVersion(long version);
};
