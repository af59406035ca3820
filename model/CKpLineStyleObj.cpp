#include "model/CKpLineStyleObj.h"

#include <utility>

namespace {
constexpr short kKindCustomSymbolRelative = 47;
}  // namespace

CKpLineStyleObj::CKpLineStyleObj() : m_nID(0), m_strName("NoName") {}

CKpLineStyleObj::CKpLineStyleObj(const CKpLineStyleObj& src) : m_nID(0) { CopyFrom(src); }

CKpLineStyleObj& CKpLineStyleObj::operator=(const CKpLineStyleObj& src) {
  CopyFrom(src);
  return *this;
}

CKpLineStyleObj::~CKpLineStyleObj() = default;

void CKpLineStyleObj::CopyFrom(const CKpLineStyleObj& src) {
  if (this == &src) return;
  RemoveAll();
  m_ObjExt = src.m_ObjExt;
  m_strName = src.m_strName;
  m_nID = src.m_nID;
  m_BaseArray = src.m_BaseArray;  // element-wise copy constructor: deep
}

// --- sub-lines ---

CKpLineStyleBase& CKpLineStyleObj::AddStyleBase(CKpLineStyleBase& s) {
  m_BaseArray.push_back(s);
  return s;
}

void CKpLineStyleObj::InsertBaseAt(long i, CKpLineStyleBase s) {
  if (i < 0 || i > Count()) return;
  m_BaseArray.insert(m_BaseArray.begin() + i, std::move(s));
}

CKpLineStyleBase& CKpLineStyleObj::SetStyleBase(long i, CKpLineStyleBase& s) {
  if (IsIndex(i)) m_BaseArray[static_cast<size_t>(i)].CopyFrom(s);
  return s;
}

void CKpLineStyleObj::SetElementAt(int i, const CKpLineStyleBase& s) {
  if (IsIndex(i)) m_BaseArray[static_cast<size_t>(i)].CopyFrom(s);
}

CKpLineStyleBase& CKpLineStyleObj::GetStyleBase(long i) {
  if (IsIndex(i)) return m_BaseArray[static_cast<size_t>(i)];
  m_Scratch = CKpLineStyleBase();
  return m_Scratch;
}

CKpLineStyleBase* CKpLineStyleObj::GetElementAt(int i) {
  return IsIndex(i) ? &m_BaseArray[static_cast<size_t>(i)] : nullptr;
}

const CKpLineStyleBase* CKpLineStyleObj::GetElementAt(int i) const {
  return IsIndex(i) ? &m_BaseArray[static_cast<size_t>(i)] : nullptr;
}

CKpLineStyleBase CKpLineStyleObj::GetBaseAt(int i) const {
  return IsIndex(i) ? m_BaseArray[static_cast<size_t>(i)] : CKpLineStyleBase();
}

long CKpLineStyleObj::RemoveLineStyleBase(long i) {
  RemoveAt(i);
  return Count();
}

void CKpLineStyleObj::RemoveAt(long i) {
  if (IsIndex(i)) m_BaseArray.erase(m_BaseArray.begin() + i);
}

long CKpLineStyleObj::RemoveAll() {
  m_BaseArray.clear();
  m_ObjExt.Release();
  return 1;
}

// --- style-wide flags and queries ---

void CKpLineStyleObj::SetHorizRepair(BOOL on) {
  for (auto& s : m_BaseArray) s.SetHorizRepair(on);
}

void CKpLineStyleObj::SetVertRepair(BOOL on) {
  for (auto& s : m_BaseArray) s.SetVertRepair(on);
}

short CKpLineStyleObj::GetLineWidth() const {
  if (m_BaseArray.empty()) return 1;
  short widest = m_BaseArray.front().m_nCurWidth;
  for (const auto& s : m_BaseArray)
    if (s.m_nCurWidth > widest) widest = s.m_nCurWidth;
  return widest;
}

long CKpLineStyleObj::GetFirstColor() const {
  return m_BaseArray.empty() ? 0 : static_cast<long>(m_BaseArray.front().m_clrCurrent);
}

unsigned long CKpLineStyleObj::MakeDWord(unsigned short lo, unsigned short hi) {
  return static_cast<unsigned long>(hi) * 65536ul + lo;
}

int CKpLineStyleObj::CanProcessCrossroad() const {
  if (m_ObjExt.GetObjExtToken() != 0) return 0;
  if (Count() < 2) return 0;
  for (const auto& s : m_BaseArray) {
    if (s.m_nVertOffset != 0 || s.m_nHVMode != 0 || !s.GetWidthLock()) return 0;
  }
  return 1;
}

int CKpLineStyleObj::IsUsedSymbol(long id) const {
  if (m_ObjExt.IsUsedSymbol(id)) return 1;
  for (const auto& s : m_BaseArray)
    if (s.m_nSymbol == id) return 1;
  return 0;
}

void CKpLineStyleObj::MoveObjExtID(long delta) {
  m_ObjExt.MoveObjExtID(delta);
  for (auto& s : m_BaseArray) {
    if (s.m_nHVMode == kKindCustomSymbolRelative)
      s.m_nSymbol = static_cast<short>(s.m_nSymbol + delta);
  }
}
