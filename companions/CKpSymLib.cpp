#include "companions/CKpSymLib.h"

#include <algorithm>
#include <climits>
#include <memory>

// The byte format is described in docs/symbol-format.md.

namespace {

constexpr long kMagic = 0x4D59534B;  // the bytes "KSYM"
constexpr long kVersion = 1;
// The fewest bytes a stored symbol and a stored element can take: counts are
// checked against them before anything is allocated.
constexpr long long kMinSymbolBytes = 4 + 4 + 4;           // ID, empty name, element count
constexpr long long kMinElementBytes = 4 + 4 + 4 + 4 + 16;  // kind, flags, width, count, two points

bool StorableID(long id) { return id >= 0 && id <= INT32_MAX; }

// Owns the symbols of a library being loaded until they are handed over.
struct SymbolList {
  std::vector<CKpSymbol*> items;
  SymbolList() = default;
  SymbolList(const SymbolList&) = delete;
  SymbolList& operator=(const SymbolList&) = delete;
  ~SymbolList() {
    for (CKpSymbol* s : items) delete s;
  }
};

long long BytesLeft(const CKpByteArrayEx& stream, int pos) {
  return static_cast<long long>(stream.GetSize()) - pos;
}

// Reads one element; false on any malformed or short input.
bool ReadElement(const CKpByteArrayEx& stream, int& pos, CKpSymbol::Element& e) {
  e.kind = stream.GetLongAt(pos);
  e.flags = stream.GetLongAt(pos);
  e.width = stream.GetLongAt(pos);
  const long count = stream.GetLongAt(pos);
  if (stream.IsFailed() || count < 0 || count * 8LL > BytesLeft(stream, pos)) return false;
  e.points.resize(static_cast<size_t>(count));
  for (POINT& p : e.points) {
    p.x = static_cast<LONG>(stream.GetLongAt(pos));
    p.y = static_cast<LONG>(stream.GetLongAt(pos));
  }
  return !stream.IsFailed() && CKpSymbol::IsValidElement(e);
}

bool ReadSymbol(const CKpByteArrayEx& stream, int& pos, CKpSymbol& symbol) {
  symbol.m_nID = stream.GetLongAt(pos);
  symbol.m_strName = stream.GetStringAt(pos);
  const long count = stream.GetLongAt(pos);
  if (stream.IsFailed() || !StorableID(symbol.m_nID) || count < 0 ||
      count * kMinElementBytes > BytesLeft(stream, pos))
    return false;
  for (long i = 0; i < count; ++i) {
    CKpSymbol::Element e;
    if (!ReadElement(stream, pos, e) || !symbol.AddElement(e)) return false;
  }
  return true;
}

}  // namespace

CKpSymLib::CKpSymLib() = default;

CKpSymLib::CKpSymLib(const CKpSymLib& src) {
  m_symbols.reserve(src.m_symbols.size());
  for (const CKpSymbol* s : src.m_symbols) m_symbols.push_back(new CKpSymbol(*s));
}

CKpSymLib& CKpSymLib::operator=(const CKpSymLib& src) {
  if (this != &src) {
    CKpSymLib copy(src);
    m_symbols.swap(copy.m_symbols);  // the copy deletes what we held
  }
  return *this;
}

CKpSymLib::~CKpSymLib() { NewSymLib(); }

long CKpSymLib::GetSymbolCount() const { return static_cast<long>(m_symbols.size()); }

long CKpSymLib::GetSymbolID(long index) const {
  if (index < 0 || index >= GetSymbolCount()) return -1;
  return m_symbols[static_cast<size_t>(index)]->m_nID;
}

long CKpSymLib::FindID(long id) const {
  // A linear scan: the module may renumber symbols in place through their
  // public ID, and a library holds a few dozen symbols at most.
  for (size_t i = 0; i < m_symbols.size(); ++i)
    if (m_symbols[i]->m_nID == id) return static_cast<long>(i);
  return -1;
}

CKpSymbol* CKpSymLib::GetSymbol(unsigned long id) {
  if (id > static_cast<unsigned long>(INT32_MAX)) return nullptr;  // e.g. a sign-extended negative ID
  const long i = FindID(static_cast<long>(id));
  return i < 0 ? nullptr : m_symbols[static_cast<size_t>(i)];
}

CKpSymbol* CKpSymLib::GetSymbolEx(unsigned long id) { return GetSymbol(id); }

int CKpSymLib::AddSymbol(CKpSymbol* symbol) {
  // Negative IDs are refused too: -1 is GetSymbolID's "no such index", and
  // the file format keeps IDs in 31 bits.
  if (symbol == nullptr || !StorableID(symbol->m_nID) || FindID(symbol->m_nID) >= 0) return 0;
  const auto at = std::find_if(m_symbols.begin(), m_symbols.end(),
                               [symbol](const CKpSymbol* s) { return s->m_nID > symbol->m_nID; });
  m_symbols.insert(at, symbol);
  return 1;
}

int CKpSymLib::RemoveSymbol(long id) {
  const long i = FindID(id);
  if (i < 0) return 0;
  delete m_symbols[static_cast<size_t>(i)];
  m_symbols.erase(m_symbols.begin() + i);
  return 1;
}

void CKpSymLib::NewSymLib() {
  for (CKpSymbol* s : m_symbols) delete s;
  m_symbols.clear();
}

int CKpSymLib::StoreEx(CKpByteArrayEx& stream) {
  // Symbols renumbered in place may have left their order; put it back, and
  // refuse (writing nothing) what a reader would reject.
  std::stable_sort(m_symbols.begin(), m_symbols.end(),
                   [](const CKpSymbol* a, const CKpSymbol* b) { return a->m_nID < b->m_nID; });
  for (size_t i = 0; i < m_symbols.size(); ++i) {
    if (!StorableID(m_symbols[i]->m_nID)) return 0;
    if (i > 0 && m_symbols[i - 1]->m_nID == m_symbols[i]->m_nID) return 0;
    if (m_symbols[i]->m_strName.size() > static_cast<size_t>(INT32_MAX)) return 0;
  }
  stream.Add(kMagic);
  stream.Add(kVersion);
  stream.Add(GetSymbolCount());
  for (const CKpSymbol* s : m_symbols) {
    stream.Add(s->m_nID);
    stream.Add(s->m_strName);
    const auto& elements = s->GetElements();
    stream.Add(static_cast<long>(elements.size()));
    for (const CKpSymbol::Element& e : elements) {
      stream.Add(e.kind);
      stream.Add(e.flags);
      stream.Add(e.width);
      stream.Add(static_cast<long>(e.points.size()));
      for (const POINT& p : e.points) {
        stream.Add(static_cast<long>(p.x));
        stream.Add(static_cast<long>(p.y));
      }
    }
  }
  return 1;
}

int CKpSymLib::LoadEx(CKpByteArrayEx& stream, int pos) {
  NewSymLib();
  // The flag is sticky: clear it so that it reports this load only (it stays
  // set afterwards when the load ran short).
  stream.ClearFailed();
  const long magic = stream.GetLongAt(pos);
  const long version = stream.GetLongAt(pos);
  const long count = stream.GetLongAt(pos);
  if (stream.IsFailed() || magic != kMagic || version != kVersion || count < 0 ||
      count * kMinSymbolBytes > BytesLeft(stream, pos))
    return 0;
  SymbolList loaded;
  loaded.items.reserve(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    auto symbol = std::make_unique<CKpSymbol>();
    if (!ReadSymbol(stream, pos, *symbol)) return 0;
    if (!loaded.items.empty() && symbol->m_nID <= loaded.items.back()->m_nID) return 0;  // ascending, unique
    loaded.items.push_back(symbol.release());
  }
  m_symbols.swap(loaded.items);
  return 1;
}
