#pragma once
// The symbols the engine draws with: the library's own symbols, and the
// built-in symbol library for every ID the library does not define. Styles
// that use built-in symbols (as the default library's do) thus draw, and a
// library's own symbol always wins over a built-in one of the same ID.
#include "companions/CKpSymLib.h"
#include "model/CKpLineStyleLib.h"

class CLslSymbolSet {
 public:
  explicit CLslSymbolSet(CKpLineStyleLib& lib);
  CKpSymLib* Get() { return &m_symbols; }

 private:
  CKpSymLib m_symbols;
};
