#pragma once
// Saves a library in one of the three versions the writers produce:
// 20031017 (StoreEx), 20010614 (StoreEx30) or 65537 (Store), through a
// temporary file so that a failed save leaves nothing behind.
#include <string>

#include "model/CKpLineStyleLib.h"

class CLslLibraryWriter {
 public:
  static void Write(CKpLineStyleLib& lib, const std::string& path, long version);
  // The version an argument names; fails for any other.
  static long ParseVersion(const std::string& text);
};
