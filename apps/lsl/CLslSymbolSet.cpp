#include "apps/lsl/CLslSymbolSet.h"

#include "companions/KpResourceSymbols.h"

CLslSymbolSet::CLslSymbolSet(CKpLineStyleLib& lib) : m_symbols(kp::ResourceSymbols()) {
  CKpSymLib& own = lib.GetSymLib();
  for (long i = 0; i < own.GetSymbolCount(); ++i) {
    const long id = own.GetSymbolID(i);
    const CKpSymbol* symbol = own.GetSymbol(static_cast<unsigned long>(id));
    if (symbol == nullptr) continue;
    m_symbols.RemoveSymbol(id);
    m_symbols.AddSymbol(new CKpSymbol(*symbol));
  }
}
