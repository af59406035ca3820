// Fuzz target: the bytes as the symbol library embedded in a library file.
// What loads is drawn (fitted into a preview cell and placed as the engine
// places it) and written again, and must read back as the same bytes; a
// mismatch aborts so that the fuzzer reports the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "companions/CKpByteArrayEx.h"
#include "companions/CKpSymLib.h"
#include "platform/CRecordingDC.h"

namespace {

using Bytes = std::vector<unsigned char>;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_symbols: %s\n", what);
  std::abort();
}

Bytes BytesOf(const CKpByteArrayEx& s) { return Bytes(s.GetData(), s.GetData() + s.GetSize()); }

void CheckRoundTrip(CKpSymLib& lib) {
  CKpByteArrayEx first;
  if (!lib.StoreEx(first)) Fail("a loaded symbol library cannot be stored");
  CKpSymLib again;
  if (!again.LoadEx(first, 0)) Fail("a stored symbol library does not load");
  CKpByteArrayEx second;
  again.StoreEx(second);
  if (BytesOf(second) != BytesOf(first)) Fail("a stored symbol library reads back different");
  for (long i = 0; i < lib.GetSymbolCount(); ++i) {
    const long id = lib.GetSymbolID(i);
    const CKpSymbol* a = lib.GetSymbol(static_cast<unsigned long>(id));
    const CKpSymbol* b = again.GetSymbol(static_cast<unsigned long>(id));
    if (a == nullptr || b == nullptr || *a != *b) Fail("a symbol reads back different");
  }
}

void DrawAll(CKpSymLib& lib) {
  CRecordingDC dc;
  for (long i = 0; i < lib.GetSymbolCount(); ++i) {
    CKpSymbol* symbol = lib.GetSymbol(static_cast<unsigned long>(lib.GetSymbolID(i)));
    RECT cell{0, 0, 24, 24};
    symbol->Draw(&dc, cell, 0x000000FF);
    // As the engine draws a decoration: anti-aliased, turned, scaled.
    CKpSymbolParameter param(CPoint(10, 10), 128, 0, 0, 0, nullptr, 1.0, 0);
    param.m_ptPosition = CPoint(500, 500);
    param.m_nSize = 16;
    param.m_nAngle = 450;
    param.m_dScale = 2.0;
    param.m_nFlag = 1;
    symbol->Draw(&dc, param, 0, 0, 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CKpByteArrayEx stream;
  stream.Add(data, static_cast<int>(size));
  CKpSymLib lib;
  if (!lib.LoadEx(stream, 0)) {
    if (lib.GetSymbolCount() != 0) Fail("a failed load left symbols behind");
    return 0;
  }
  DrawAll(lib);
  CheckRoundTrip(lib);
  return 0;
}
