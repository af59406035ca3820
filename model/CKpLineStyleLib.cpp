#include "model/CKpLineStyleLib.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "engine/CKpLineStyleEngine.h"
#include "platform/KpString.h"

namespace {

// Where messages of the file readers go; empty means standard error.
std::function<void(const CString&)>& MessageCallback() {
  static std::function<void(const CString&)> callback;
  return callback;
}

// A root group as every library starts with: it files style IDs of `owner`.
CKpLineStyleGroup* NewRootGroup(CKpLineStyleLib* owner) {
  auto* root = new CKpLineStyleGroup;
  root->SetStyleType(CKpLineStyleGroup::StyleIDs);
  root->SetOwnerLib(owner);
  return root;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether `name` contains `upperText` (already upper-cased) with the ASCII
// letters folded. A match counts only when it begins and ends on character
// boundaries: well-formed UTF-8 text can only match that way, and a stray
// fragment of a character must not match the inside of another.
bool NameContains(const CString& name, const CString& upperText) {
  const CString upper = kp::MakeUpper(name);
  for (size_t pos = upper.find(upperText); pos != CString::npos; pos = upper.find(upperText, pos + 1)) {
    const size_t end = pos + upperText.size();
    const bool startsOnBoundary = pos == upper.size() || !IsContinuationByte(upper[pos]);
    const bool endsOnBoundary = end == upper.size() || !IsContinuationByte(upper[end]);
    if (startsOnBoundary && endsOnBoundary) return true;
  }
  return false;
}

}  // namespace

// --- construction and copying ---

CKpLineStyleLib::CKpLineStyleLib()
    : m_lReserved(0),
      m_pExtSymLib(nullptr),
      m_pRootGroup(NewRootGroup(this)),
      m_bModified(FALSE) {}

CKpLineStyleLib::CKpLineStyleLib(const CKpLineStyleLib& src) : CKpLineStyleLib() {
  CopyFrom(src);
  m_bModified = FALSE;
}

CKpLineStyleLib& CKpLineStyleLib::operator=(const CKpLineStyleLib& src) {
  CopyFrom(src);
  return *this;
}

CKpLineStyleLib::~CKpLineStyleLib() {
  RemoveAll();
  delete m_pRootGroup;
}

void CKpLineStyleLib::CopyFrom(const CKpLineStyleLib& src) {
  if (this == &src) return;
  RemoveAll();
  // The copy goes through the writer and the reader so that it is exactly
  // what a store and a load would give. The writer compacts and sorts its
  // library first, which is why the source is written through a cast.
  CKpByteArrayEx stream;
  const_cast<CKpLineStyleLib&>(src).StoreEx(stream);
  LoadEx(stream);
  m_bModified = TRUE;
}

void CKpLineStyleLib::TakeContentFrom(CKpLineStyleLib& other) {
  if (this == &other) return;
  m_strName = std::move(other.m_strName);
  other.m_strName.clear();
  m_lReserved = other.m_lReserved;
  other.m_lReserved = 0;

  delete m_pRootGroup;
  m_pRootGroup = other.m_pRootGroup;
  m_pRootGroup->SetOwnerLibDeep(this);
  other.m_pRootGroup = NewRootGroup(&other);

  m_SymLib = other.m_SymLib;
  other.m_SymLib.NewSymLib();

  m_Styles = std::move(other.m_Styles);
  other.m_Styles.clear();
}

// --- lookup ---

CKpLineStyleObj& CKpLineStyleLib::GetStyleObj(long index) {
  if (index >= 0 && index < Count()) return m_Styles[static_cast<size_t>(index)];
  // A careless caller's writes land in a scratch style that nothing reads.
  m_Scratch = CKpLineStyleObj();
  return m_Scratch;
}

const CKpLineStyleObj& CKpLineStyleLib::GetStyleObj(long index) const {
  if (index >= 0 && index < Count()) return m_Styles[static_cast<size_t>(index)];
  static const CKpLineStyleObj empty;
  return empty;
}

CKpLineStyleObj* CKpLineStyleLib::SetStyle(long index) {
  if (index < 0 || index >= Count()) return nullptr;
  return &m_Styles[static_cast<size_t>(index)];
}

CKpLineStyleObj* CKpLineStyleLib::SetStyleByID(long id) {
  const long i = FindID(id);
  return i < 0 ? nullptr : &m_Styles[static_cast<size_t>(i)];
}

CKpLineStyleObj* CKpLineStyleLib::SetLineStyleByName(const CString& name) {
  for (auto& s : m_Styles)
    if (kp::Compare(s.GetName(), name) == 0) return &s;
  return nullptr;
}

long CKpLineStyleLib::FindID(long id) const {
  for (long i = 0; i < Count(); ++i)
    if (m_Styles[static_cast<size_t>(i)].GetID() == id) return i;
  return -1;
}

long CKpLineStyleLib::ID2Index(long id) const {
  const long i = FindID(id);
  return i < 0 ? 0 : i;
}

long CKpLineStyleLib::GetIDAt(long index) const {
  if (index < 0 || index >= Count()) return -1;
  return m_Styles[static_cast<size_t>(index)].GetID();
}

int CKpLineStyleLib::IsIDExisted(long id) const { return FindID(id) >= 0 ? 1 : 0; }

int CKpLineStyleLib::IsNameExisted(const CString& name) const {
  for (const auto& s : m_Styles)
    if (kp::Compare(s.GetName(), name) == 0) return 1;
  return 0;
}

long CKpLineStyleLib::FindByName(const CString& name) const {
  for (long i = 0; i < Count(); ++i)
    if (kp::CompareNoCase(m_Styles[static_cast<size_t>(i)].GetName(), name) == 0) return i;
  return -1;
}

long CKpLineStyleLib::Find(const CString& text, long start) const {
  if (start < 0) start = 0;
  const CString upper = kp::MakeUpper(text);
  for (long i = start; i < Count(); ++i)
    if (NameContains(m_Styles[static_cast<size_t>(i)].GetName(), upper)) return i;
  return -1;
}

long CKpLineStyleLib::ReverseFind(const CString& text, long start) const {
  if (start < 0) start = 0;
  if (start >= Count()) return -1;
  const CString upper = kp::MakeUpper(text);
  for (long i = Count() - 1 - start; i >= 0; --i)
    if (NameContains(m_Styles[static_cast<size_t>(i)].GetName(), upper)) return i;
  return -1;
}

long CKpLineStyleLib::GetLeagalID() const {
  long id = std::max(5L, Count());
  for (const auto& s : m_Styles) id = std::max(id, s.GetID());
  return id;
}

// --- changes ---

CKpLineStyleObj& CKpLineStyleLib::AddStyleObj(CKpLineStyleObj& style) {
  m_Styles.push_back(style);
  m_bModified = TRUE;
  return style;
}

CKpLineStyleObj& CKpLineStyleLib::InsertStyleObj(long index, CKpLineStyleObj& style) {
  // Copied first: the argument may be one of this library's own styles,
  // which the insertion moves.
  CKpLineStyleObj copy(style);
  if (index < 0) index = 0;
  if (index < Count())
    m_Styles.insert(m_Styles.begin() + index, std::move(copy));
  else
    m_Styles.push_back(std::move(copy));
  m_bModified = TRUE;
  return style;
}

CKpLineStyleObj& CKpLineStyleLib::InsertAfter(long index, CKpLineStyleObj& style) {
  if (index < 0) return InsertStyleObj(0, style);
  if (index < Count() - 1) return InsertStyleObj(index + 1, style);
  return AddStyleObj(style);
}

CKpLineStyleObj& CKpLineStyleLib::SetStyleObj(long index, CKpLineStyleObj& style) {
  if (index < 0 || index >= Count()) return style;
  m_Styles[static_cast<size_t>(index)] = style;
  m_bModified = TRUE;
  return style;
}

int CKpLineStyleLib::RemoveStyleObj(long index) {
  if (index < 0 || index >= Count()) return 0;
  m_pRootGroup->RemoveID(m_Styles[static_cast<size_t>(index)].GetID());
  m_Styles.erase(m_Styles.begin() + index);
  m_bModified = TRUE;
  return 1;
}

int CKpLineStyleLib::RemoveAll() {
  if (!m_Styles.empty()) {
    m_Styles.clear();
    m_bModified = TRUE;
  }
  m_SymLib.NewSymLib();
  m_pRootGroup->RemoveAll();
  return 1;
}

// --- moving ---

long CKpLineStyleLib::GoTop(long index) {
  if (index > 0 && index < Count()) {
    CKpLineStyleObj moved(m_Styles[static_cast<size_t>(index)]);
    m_Styles.insert(m_Styles.begin(), std::move(moved));
    RemoveStyleObj(index + 1);
  }
  m_bModified = TRUE;
  return 0;
}

long CKpLineStyleLib::GoUp(long index) {
  if (index <= 0 || index >= Count()) return 0;
  std::swap(m_Styles[static_cast<size_t>(index - 1)], m_Styles[static_cast<size_t>(index)]);
  m_bModified = TRUE;
  return index - 1;
}

long CKpLineStyleLib::GoDown(long index) {
  m_bModified = TRUE;
  if (index < 0 || index >= Count() - 1) return Count() - 1;
  std::swap(m_Styles[static_cast<size_t>(index)], m_Styles[static_cast<size_t>(index + 1)]);
  return index + 1;
}

long CKpLineStyleLib::GoBottom(long index) {
  if (index >= 0 && index < Count() - 1) {
    CKpLineStyleObj moved(m_Styles[static_cast<size_t>(index)]);
    m_Styles.push_back(std::move(moved));
    RemoveStyleObj(index);
  }
  m_bModified = TRUE;
  return Count() - 1;
}

// --- symbols ---

long CKpLineStyleLib::AddSymbol(CKpSymbol* symbol) {
  if (symbol == nullptr) return -1;
  const long count = m_SymLib.GetSymbolCount();
  const long next = count > 0 ? m_SymLib.GetSymbolID(count - 1) + 1 : 10;
  if (symbol->m_nID < next) symbol->m_nID = next;
  const long id = symbol->m_nID;  // read before the library owns it
  if (!m_SymLib.AddSymbol(symbol)) return -1;
  m_bModified = TRUE;
  return id;
}

int CKpLineStyleLib::IsUsedByExtAtt(long id) const {
  for (const auto& s : m_Styles)
    if (s.IsUsedSymbol(id) == 1) return 1;
  return 0;
}

int CKpLineStyleLib::RemoveSymbol(long id) {
  if (IsUsedByExtAtt(id)) return 0;
  const int removed = m_SymLib.RemoveSymbol(id);
  // A removed symbol is a change like any other: the library must be saved.
  if (removed) m_bModified = TRUE;
  return removed;
}

void CKpLineStyleLib::CompactSymLib() {
  bool removedAny = false;
  long i = 0;
  while (i < m_SymLib.GetSymbolCount()) {
    const long id = m_SymLib.GetSymbolID(i);
    if (!IsUsedByExtAtt(id) && m_SymLib.RemoveSymbol(id)) {
      removedAny = true;  // the next symbol has moved into index i
    } else {
      ++i;
    }
  }
  if (removedAny) m_bModified = TRUE;
}

// --- drawing period ---

void CKpLineStyleLib::KeepLineStyleDC(CDC* pDC) {
  gLineStyleEngine.KeepDC(pDC);
  gLineStyleEngine.SetClearSawtooth(1);
}

void CKpLineStyleLib::StoreLineStyleDC(CDC* /*pDC*/) {
  gLineStyleEngine.SetClearSawtooth(0);
  gLineStyleEngine.RestoreDC();
}

// --- messages ---

void CKpLineStyleLib::SetMessageCallback(std::function<void(const CString&)> callback) {
  MessageCallback() = std::move(callback);
}

void CKpLineStyleLib::ReportMessage(const CString& text) {
  const auto& callback = MessageCallback();
  if (callback)
    callback(text);
  else
    std::cerr << text << '\n';
}

// --- groups for files without a tree ---

int CKpLineStyleLib::InitStyleGroup() {
  for (auto& style : m_Styles) {
    m_pRootGroup->SetName("RootGroup");
    // Old files had no width lock: a fixed-width sub-line kept its width in
    // the variable-width field and must not follow style-wide widths.
    for (long k = 0; k < style.Count(); ++k) {
      CKpLineStyleBase* base = style.GetElementAt(static_cast<int>(k));
      if (base->m_nWidthType != 0) continue;
      base->m_nWidth = base->m_nVarWidth;
      base->m_nCurWidth = base->m_nVarWidth;
      base->SetWidthLock(TRUE);
    }
    m_pRootGroup->AddStyleItem(style.GetID());
  }
  return 1;
}
