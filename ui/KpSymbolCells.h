#pragma once
// Symbol cells: the numbering the dialogs share for the symbols of two
// libraries. Cell n below the line library's count N is symbol n of the line
// library; cell n >= N is symbol n - N of the resource library.
#include "companions/CKpSymLib.h"

namespace kp::ui {

// The symbol a cell stands for, or null (no such cell, a library missing, or
// a symbol that cannot be found).
CKpSymbol* SymbolOfCell(CKpSymLib* lineLib, long lineCount, CKpSymLib* resLib, long cell);

// The number of cells: N plus the resource library's count (missing libraries
// count as empty).
long SymbolCellCount(CKpSymLib* lineLib, long lineCount, CKpSymLib* resLib);

// The built-in resource symbols as a library the dialogs may hand around: a
// process-wide copy of kp::ResourceSymbols(), made on first use. Only the GUI
// thread uses it.
CKpSymLib* ResourceSymLib();

}  // namespace kp::ui
