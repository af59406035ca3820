#include "model/CKpLineStyleBase.h"

#include <cstring>

#include "platform/KpString.h"

CKpLineStyleBase::CKpLineStyleBase() {
  ZeroRecord();
  Reset();
}

CKpLineStyleBase::CKpLineStyleBase(const CKpLineStyleBase& src) {
  ZeroRecord();
  CopyFrom(src);
}

CKpLineStyleBase& CKpLineStyleBase::operator=(const CKpLineStyleBase& src) {
  CopyFrom(src);
  return *this;
}

CKpLineStyleBase::~CKpLineStyleBase() = default;

void CKpLineStyleBase::ZeroRecord() {
  m_nHVLength = m_nHVMode = m_nHorizOffset = m_nVertOffset = 0;
  m_clrCurrent = m_clrColor = 0;
  m_dwPenStyle = 0;
  m_nHatch = m_nWidth = m_nCurWidth = m_nReserved = m_nWidthType = m_nVarWidth = 0;
  std::memset(m_szFont, 0, sizeof(m_szFont));
  m_nSymbol = m_nRepeatMode = 0;
  m_dwFlags = m_dwReserved1 = 0;
  m_nAngle = 0;
  m_dwReserved2 = 0;
}

void CKpLineStyleBase::CopyFrom(const CKpLineStyleBase& src) {
  if (this == &src) return;
  RemoveAll();
  m_nHVLength = src.m_nHVLength;
  m_nHVMode = src.m_nHVMode;
  m_nHorizOffset = src.m_nHorizOffset;
  m_nVertOffset = src.m_nVertOffset;
  m_clrCurrent = src.m_clrCurrent;
  m_clrColor = src.m_clrColor;
  m_dwPenStyle = src.m_dwPenStyle;
  m_nHatch = src.m_nHatch;
  m_nWidth = src.m_nWidth;
  m_nCurWidth = src.m_nCurWidth;
  m_nReserved = src.m_nReserved;
  m_nWidthType = src.m_nWidthType;
  m_nVarWidth = src.m_nVarWidth;
  std::memcpy(m_szFont, src.m_szFont, sizeof(m_szFont));
  m_nSymbol = src.m_nSymbol;
  m_nRepeatMode = src.m_nRepeatMode;
  m_dwFlags = src.m_dwFlags;
  m_dwReserved1 = src.m_dwReserved1;
  m_nAngle = src.m_nAngle;
  m_dwReserved2 = src.m_dwReserved2;
  // The copy keeps the source's pen word as it is, user-style bits included,
  // so the entries are appended without recomputing them.
  m_StyleSet = src.m_StyleSet;
  m_ByteSet = src.m_ByteSet;
}

void CKpLineStyleBase::Reset() {
  m_clrCurrent = m_clrColor = RGB(255, 0, 0);
  m_nHVLength = m_nHVMode = m_nHorizOffset = m_nVertOffset = 0;
  m_dwPenStyle = 0;
  m_nHatch = 0;
  m_nWidth = m_nCurWidth = m_nReserved = 1;
  m_nWidthType = KP_WIDTH_STYLE;
  m_nVarWidth = 100;
  m_nRepeatMode = 0;
  RemoveAll();
}

// --- dash pattern ---

long CKpLineStyleBase::Add(long drawn, long gap) {
  m_StyleSet.push_back(static_cast<DWORD>(drawn));
  m_ByteSet.push_back(1);
  m_StyleSet.push_back(static_cast<DWORD>(gap));
  m_ByteSet.push_back(0);
  SetUserStyle();
  return Count();
}

long CKpLineStyleBase::Remove() {
  if (Count() >= 2) {
    m_StyleSet.resize(m_StyleSet.size() - 2);
    m_ByteSet.resize(m_ByteSet.size() - 2);
  }
  SetUserStyle();
  return Count();
}

long CKpLineStyleBase::RemoveAt(long i) {
  if (IsPairIndex(i)) {
    m_StyleSet.erase(m_StyleSet.begin() + i, m_StyleSet.begin() + i + 2);
    m_ByteSet.erase(m_ByteSet.begin() + i, m_ByteSet.begin() + i + 2);
  }
  SetUserStyle();
  return Count();
}

long CKpLineStyleBase::InsertAt(long i, long drawn, long gap) {
  if (IsPairIndex(i)) {
    const DWORD lengths[2] = {static_cast<DWORD>(drawn), static_cast<DWORD>(gap)};
    const BYTE flags[2] = {1, 0};
    m_StyleSet.insert(m_StyleSet.begin() + i, lengths, lengths + 2);
    m_ByteSet.insert(m_ByteSet.begin() + i, flags, flags + 2);
  }
  SetUserStyle();
  return Count();
}

long CKpLineStyleBase::SetAt(long i, long value) {
  if (i < 0 || i >= Count()) return 0;
  m_StyleSet[static_cast<size_t>(i)] = static_cast<DWORD>(value);
  SetUserStyle();
  return Count();
}

long CKpLineStyleBase::SetAt(long i, long first, long second) {
  if (IsPairIndex(i)) {
    m_StyleSet[static_cast<size_t>(i)] = static_cast<DWORD>(first);
    m_StyleSet[static_cast<size_t>(i) + 1] = static_cast<DWORD>(second);
  }
  SetUserStyle();
  return Count();
}

void CKpLineStyleBase::RemoveAll() {
  if (Count() > 0) {
    m_StyleSet.clear();
    m_ByteSet.clear();
  }
  SetUserStyle();
}

long CKpLineStyleBase::GetAt(long i) const {
  if (i < 0 || i >= Count()) return 0;
  return static_cast<long>(m_StyleSet[static_cast<size_t>(i)]);
}

BYTE CKpLineStyleBase::GetFlagAt(long i) const {
  if (i < 0 || i >= Count()) return 0;
  return m_ByteSet[static_cast<size_t>(i)];
}

long CKpLineStyleBase::AppendEntry(DWORD length, BYTE flag) {
  m_StyleSet.push_back(length);
  m_ByteSet.push_back(flag);
  SetUserStyle();
  return Count();
}

void CKpLineStyleBase::SetUserStyle() {
  m_dwPenStyle &= ~KP_PEN_USER_MASK;
  if (Count() > 0) m_dwPenStyle |= 0x10000000u;
}

// --- start mode ---

long CKpLineStyleBase::InitStyle(int mode) {
  const BYTE first = (mode == 1) ? 1 : 0;
  const size_t n = m_ByteSet.size();
  for (size_t i = 0; i + 1 < n; i += 2) {
    m_ByteSet[i] = first;
    m_ByteSet[i + 1] = static_cast<BYTE>(1 - first);
  }
  SetUserStyle();
  return static_cast<long>(n);
}

long CKpLineStyleBase::GetStartMode() const { return m_ByteSet.empty() ? 0 : m_ByteSet[0]; }

// --- pen style word ---

void CKpLineStyleBase::SetBase(long v) {
  m_dwPenStyle = (m_dwPenStyle & ~KP_PEN_BASE_MASK) | (static_cast<DWORD>(v) & 0xFu);
}

void CKpLineStyleBase::SetCap(long v) {
  m_dwPenStyle = (m_dwPenStyle & ~KP_PEN_CAP_MASK) | ((static_cast<DWORD>(v) & 0xFu) << 8);
}

void CKpLineStyleBase::SetJoin(long v) {
  m_dwPenStyle = (m_dwPenStyle & ~KP_PEN_JOIN_MASK) | ((static_cast<DWORD>(v) & 0xFu) << 12);
}

// --- combined setters ---

long CKpLineStyleBase::SetInterStyle(short width, long color, long penStyle) {
  m_nWidth = m_nCurWidth = width;
  m_clrColor = m_clrCurrent = static_cast<COLORREF>(color);
  m_dwPenStyle = static_cast<DWORD>(penStyle);
  return 1;
}

long CKpLineStyleBase::SetVarStyle(short varWidth, long color) {
  m_nVarWidth = varWidth;
  m_clrColor = static_cast<COLORREF>(color);
  return 1;
}

long CKpLineStyleBase::SetStyle(short width, long color) {
  m_nCurWidth = width;
  m_clrCurrent = static_cast<COLORREF>(color);
  return 1;
}

long CKpLineStyleBase::SetStyle() {
  m_nCurWidth = m_nWidth;
  m_clrCurrent = m_clrColor;
  return 1;
}

// --- single fields ---

void CKpLineStyleBase::SetFont(const CString& face) {
  const size_t n = kp::Utf8PrefixLength(face, KP_FONT_NAME_SIZE - 1);
  std::memset(m_szFont, 0, sizeof(m_szFont));
  std::memcpy(m_szFont, face.data(), n);
}

CString CKpLineStyleBase::GetFont() const {
  // The field may come from a file without a terminator; never read past it.
  const void* end = std::memchr(m_szFont, 0, sizeof(m_szFont));
  const size_t n = end ? static_cast<size_t>(static_cast<const char*>(end) - m_szFont) : sizeof(m_szFont);
  return CString(m_szFont, n);
}

void CKpLineStyleBase::SetFlag(DWORD bit, BOOL on) {
  if (on)
    m_dwFlags |= bit;
  else
    m_dwFlags &= ~bit;
}

long CKpLineStyleBase::Polyline(POINT*, long) { return 1; }
