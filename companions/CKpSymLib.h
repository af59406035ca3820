#pragma once
// A collection of custom symbols keyed by ID, kept in ascending ID order.
#include <vector>

#include "companions/CKpByteArrayEx.h"
#include "companions/CKpSymbol.h"
#include "platform/KpExport.h"

class KP_API CKpSymLib {
 public:
  CKpSymLib();
  CKpSymLib(const CKpSymLib& src);
  CKpSymLib& operator=(const CKpSymLib& src);
  virtual ~CKpSymLib();

  long GetSymbolCount() const;
  // The ID at an index (0 .. count-1), or -1; IDs ascend with the index.
  long GetSymbolID(long index) const;
  // The index of an ID, or -1.
  long FindID(long id) const;
  CKpSymbol* GetSymbol(unsigned long id);
  CKpSymbol* GetSymbolEx(unsigned long id);
  // Takes ownership of a symbol made with new whose ID is set; nonzero on
  // success. Refused (0, the caller keeps it) when null or the ID is taken.
  int AddSymbol(CKpSymbol* symbol);
  // Nonzero when a symbol of that ID was removed.
  int RemoveSymbol(long id);
  // Empties the library.
  void NewSymLib();
  // Appends the whole library to the stream in the symbol-library format
  // (docs/symbol-format.md); nonzero on success.
  int StoreEx(CKpByteArrayEx& stream);
  // Replaces the content with the library stored at `pos` of the stream;
  // nonzero on success. Malformed input leaves the library empty and returns 0.
  int LoadEx(CKpByteArrayEx& stream, int pos);

 private:
  // Owned, ascending by m_nID.
  std::vector<CKpSymbol*> m_symbols;
};
