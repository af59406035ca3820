#include "ui/KpSymbolCells.h"

#include "companions/KpResourceSymbols.h"

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
  const long line = lineLib ? lineCount : 0;
  return line + (resLib ? resLib->GetSymbolCount() : 0);
}

CKpSymLib* ResourceSymLib() {
  static CKpSymLib lib = ResourceSymbols();
  return &lib;
}

}  // namespace kp::ui
