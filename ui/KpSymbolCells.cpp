#include "ui/KpSymbolCells.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "companions/KpResourceSymbols.h"
#include "model/CKpLineStyleLib.h"

namespace kp::ui {

CKpSymbol* SymbolOfCell(CKpSymLib* lineLib, long lineCount, CKpSymLib* resLib, long cell) {
  if (cell < 0) return nullptr;
  CKpSymLib* lib = cell < lineCount ? lineLib : resLib;
  if (!lib) return nullptr;
  const long index = cell < lineCount ? cell : cell - lineCount;
  const long id = lib->GetSymbolID(index);
  if (id < 0) return nullptr;
  return lib->GetSymbolEx(static_cast<unsigned long>(id));
}

long SymbolCellCount(CKpSymLib* lineLib, long lineCount, CKpSymLib* resLib) {
  // Counts are the callers' (a library's size at some moment): keep the sum
  // in range whatever they pass.
  const long long line = lineLib ? std::max(0L, lineCount) : 0;
  const long long total = line + (resLib ? resLib->GetSymbolCount() : 0);
  return static_cast<long>(std::min<long long>(total, std::numeric_limits<long>::max()));
}

CKpSymLib* ResourceSymLib() {
  static CKpSymLib lib = ResourceSymbols();
  return &lib;
}

long CellOfSymbolID(CKpLineStyleLib& lib, long lineCount, const KpImportedSymIDs& imported,
                    CKpSymLib* resLib, long id) {
  const long index = lib.GetSymLib().FindID(id);
  if (index < 0) return -1;
  if (index < lineCount) return index;
  const size_t entry = static_cast<size_t>(index - lineCount);
  if (entry >= imported.size() || !resLib) return -1;
  const long resIndex = resLib->FindID(static_cast<long>(imported[entry]));
  return resIndex < 0 ? -1 : resIndex + lineCount;
}

long SymbolIDOfCell(CKpLineStyleLib& lib, long lineCount, KpImportedSymIDs& imported,
                    CKpSymLib* resLib, long cell) {
  if (cell < 0) return 0;
  if (cell < lineCount) return std::max(0L, lib.GetSymLib().GetSymbolID(cell));
  if (!resLib) return 0;
  const long resID = resLib->GetSymbolID(cell - lineCount);
  CKpSymbol* source = resID < 0 ? nullptr : resLib->GetSymbolEx(static_cast<unsigned long>(resID));
  if (!source) return 0;
  const auto known = std::find(imported.begin(), imported.end(), static_cast<DWORD>(resID));
  if (known != imported.end()) {
    const long at = lineCount + static_cast<long>(known - imported.begin());
    return std::max(0L, lib.GetSymLib().GetSymbolID(at));
  }
  auto copy = std::make_unique<CKpSymbol>(*source);
  copy->m_nID = 0;  // the library gives it the next free ID
  const long id = lib.AddSymbol(copy.get());
  if (id < 0) return 0;  // refused: the copy is still ours to free
  copy.release();
  imported.push_back(static_cast<DWORD>(resID));
  return id;
}

}  // namespace kp::ui
