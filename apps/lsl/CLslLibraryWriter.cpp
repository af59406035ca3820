#include "apps/lsl/CLslLibraryWriter.h"

#include "apps/lsl/CLslError.h"
#include "apps/lsl/CLslOutputFile.h"

long CLslLibraryWriter::ParseVersion(const std::string& text) {
  if (text == "20031017") return KP_LSL_VERSION_20031017;
  if (text == "20010614") return KP_LSL_VERSION_20010614;
  if (text == "65537") return KP_LSL_VERSION_10;
  throw CLslError("bad value '" + text + "' for --version (20031017, 20010614 or 65537)");
}

void CLslLibraryWriter::Write(CKpLineStyleLib& lib, const std::string& path, long version) {
  CLslOutputFile file(path);
  if (version == KP_LSL_VERSION_10) {
    CKpByteArray stream;
    lib.Store(stream);
    file.WriteBytes(stream.GetData(), static_cast<size_t>(stream.GetSize()));
  } else {
    CKpByteArrayEx stream;
    if (version == KP_LSL_VERSION_20010614)
      lib.StoreEx30(stream);
    else
      lib.StoreEx(stream);
    file.WriteBytes(stream.GetData(), static_cast<size_t>(stream.GetSize()));
  }
  file.Commit();
}
