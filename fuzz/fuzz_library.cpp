// Fuzz target: the bytes as a library file (.lsl) a user opens, through every
// reader: the reader of all versions, the one of versions up to 20010614, the
// version 1.0 reader, and the two merges. Whatever loads is written again and
// read back, and must come back as the same bytes; a mismatch aborts so that
// the fuzzer reports the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "companions/KpResourceSymbols.h"
#include "model/CKpLineStyleLib.h"
#include "module/KpModulePath.h"

namespace {

using Bytes = std::vector<unsigned char>;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_library: %s\n", what);
  std::abort();
}

Bytes BytesOf(const CKpByteArrayEx& s) { return Bytes(s.GetData(), s.GetData() + s.GetSize()); }
Bytes BytesOf(const CKpByteArray& s) { return Bytes(s.GetData(), s.GetData() + s.GetSize()); }

CKpByteArrayEx StreamOf(const Bytes& bytes) {
  CKpByteArrayEx s;
  s.Add(bytes.data(), static_cast<int>(bytes.size()));
  return s;
}

CKpByteArray OldStreamOf(const Bytes& bytes) {
  CKpByteArray s;
  s.Write(bytes.data(), static_cast<unsigned long>(bytes.size()));
  return s;
}

// The reader of all versions gives 0 on failure; the version 1.0 reader a
// negative count.
bool LoadCurrent(CKpLineStyleLib& lib, CKpByteArrayEx& s) { return lib.LoadEx(s) != 0; }
bool LoadVersion10(CKpLineStyleLib& lib, CKpByteArray& s) { return lib.Load(s) >= 0; }

// What `store` writes reads back with `load` and is written as the same
// bytes again. The writers labelled 20010614 and 1.0 lose what their forms
// cannot hold (symbols, decorations they cannot pack), so their output is
// compared with what the same writer makes of it once read back. `load`
// reads a stream into a library and says whether it succeeded.
template <typename Stream, typename Store, typename Load>
void CheckRoundTrip(CKpLineStyleLib& lib, Store store, Load load, const char* version) {
  Stream first;
  (lib.*store)(first);
  const Bytes written = BytesOf(first);
  Stream input;
  if constexpr (std::is_same_v<Stream, CKpByteArrayEx>)
    input = StreamOf(written);
  else
    input = OldStreamOf(written);
  CKpLineStyleLib again;
  if (!load(again, input)) Fail(version);
  Stream second;
  (again.*store)(second);
  if (BytesOf(second) != written) Fail(version);
}

void CheckCurrentRoundTrip(CKpLineStyleLib& lib) {
  CheckRoundTrip<CKpByteArrayEx>(lib, &CKpLineStyleLib::StoreEx, LoadCurrent,
                                 "a library stored in the current version does not read back the same");
}

void CheckAllWriters(CKpLineStyleLib& lib) {
  CheckCurrentRoundTrip(lib);
  CheckRoundTrip<CKpByteArrayEx>(lib, &CKpLineStyleLib::StoreEx30, LoadCurrent,
                                 "a library stored as 20010614 does not read back the same");
  CheckRoundTrip<CKpByteArray>(lib, &CKpLineStyleLib::Store, LoadVersion10,
                               "a library stored as 1.0 does not read back the same");
}

// A library a user already has open, with symbols of its own so that a
// merge renumbers the incoming ones: a few default styles, one decorated
// with a built-in symbol. Made once; each input gets a fresh copy.
const Bytes& OpenLibraryBytes() {
  static const Bytes bytes = [] {
    CKpLineStyleLib full;
    full.CreateDefault();
    CKpLineStyleLib lib;
    for (long i = 0; i < 4; ++i) lib.AddStyleObj(full.GetStyleObj(i));
    CKpSymLib symbols = kp::ResourceSymbols();
    for (long i = 0; i < 3; ++i) lib.AddSymbol(new CKpSymbol(*symbols.GetSymbol(symbols.GetSymbolID(i))));
    const long last = lib.GetSymLib().GetSymbolID(lib.GetSymLib().GetSymbolCount() - 1);
    lib.GetStyleObj(0).GetObjExt().SetObjExt(
        KP_EXT_POS_TAIL, new tagLineStyleObjExt{8, 8, 0, static_cast<std::int32_t>(last)});
    CKpByteArrayEx stream;
    lib.StoreEx(stream);
    return BytesOf(stream);
  }();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // The version message goes nowhere, and the default library is always the
  // built-in one, whatever lies beside the program.
  CKpLineStyleLib::SetMessageCallback([](const CString&) {});
  kp::SetModuleFolderForTesting("/nonexistent-kp-fuzz-folder/");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int initialised = LLVMFuzzerInitialize(nullptr, nullptr);
  (void)initialised;
  const Bytes bytes(data, data + size);
  const BOOL overwrite = (size % 2) != 0;

  // The reader of all versions (it hands version 1.0 to Load itself).
  CKpLineStyleLib lib;
  CKpByteArrayEx stream = StreamOf(bytes);
  if (lib.LoadEx(stream)) {
    CheckAllWriters(lib);
    // Merged into itself: its symbols are renumbered past its own.
    stream = StreamOf(bytes);
    if (!lib.AppendEx(stream, overwrite)) Fail("a library that loads does not merge");
    CheckCurrentRoundTrip(lib);
  }

  // The other readers share their record readers with the one above, so
  // what they load is not written again.
  CKpLineStyleLib other;
  stream = StreamOf(bytes);
  other.LoadEx30(stream);
  CKpByteArray old = OldStreamOf(bytes);
  other.Load(old);

  CKpLineStyleLib open;
  stream = StreamOf(OpenLibraryBytes());
  if (!open.LoadEx(stream)) Fail("the open library does not load");
  stream = StreamOf(bytes);
  if (open.AppendEx(stream, overwrite)) CheckCurrentRoundTrip(open);
  stream = StreamOf(bytes);
  open.AppendEx30(stream, overwrite);
  return 0;
}
