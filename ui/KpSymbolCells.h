#pragma once
// Symbol cells: the numbering the dialogs share for the symbols of two
// libraries. Cell n below the line library's count N is symbol n of the line
// library; cell n >= N is symbol n - N of the resource library.
#include <vector>

#include "companions/CKpSymLib.h"
#include "platform/KpTypes.h"

class CKpLineStyleLib;

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

// Resource symbols copied into a library while its editor is open: entry i is
// the resource ID of the library symbol at index lineCount + i (copies are
// appended with ascending IDs, so their order follows this array).
using KpImportedSymIDs = std::vector<DWORD>;

// The cell of a symbol ID stored in a style (a decoration or a custom-symbol
// sub-line): its index in the library's own symbols when below lineCount,
// else the resource cell of the symbol it was imported from. -1 when the ID,
// the import entry or the resource symbol is missing.
long CellOfSymbolID(CKpLineStyleLib& lib, long lineCount, const KpImportedSymIDs& imported,
                    CKpSymLib* resLib, long id);

// The symbol ID to store for a cell. A resource cell is imported into the
// library once: a symbol already imported gives the ID of its copy; otherwise
// a copy is added to the library and its resource ID appended to `imported`.
// 0 for a missing symbol or a copy the library refused.
long SymbolIDOfCell(CKpLineStyleLib& lib, long lineCount, KpImportedSymIDs& imported,
                    CKpSymLib* resLib, long cell);

}  // namespace kp::ui
