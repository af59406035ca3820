#pragma once
// One sub-line of a line style: a fixed block of drawing parameters (the
// sub-line record, 84 bytes in files) and a cyclic dash pattern.
//
// Caller errors are handled safely rather than trusted:
//  - Remove() on a pattern of fewer than two entries changes nothing.
//  - GetAt() with an index outside 0..Count()-1 returns 0.
//  - SetFont() with a name of 32 bytes or more keeps the longest prefix of at
//    most 31 bytes that ends on a whole UTF-8 character.
//  - SetBase/SetCap/SetJoin keep only the low four bits of their value, so a
//    too-large value can never spill into a neighbouring field of the word.
// Every index-taking operation checks its index and never touches memory
// outside the pattern.

#include <cstdint>
#include <vector>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CKpByteArray;
class CKpByteArrayEx;
class CDC;

// Pen style word: bits of m_dwPenStyle.
constexpr DWORD KP_PEN_BASE_MASK = 0x0000000Fu;
constexpr DWORD KP_PEN_CAP_MASK = 0x00000F00u;
constexpr DWORD KP_PEN_JOIN_MASK = 0x0000F000u;
constexpr DWORD KP_PEN_USER_MASK = 0xF0000000u;

// Flag bits of m_dwFlags.
constexpr DWORD KP_FLAG_COLOR_LOCK = 0x1u;
constexpr DWORD KP_FLAG_WIDTH_LOCK = 0x2u;
constexpr DWORD KP_FLAG_HORIZ_REPAIR = 0x4u;
constexpr DWORD KP_FLAG_VERT_REPAIR = 0x8u;

// Width variation types (m_nWidthType).
constexpr short KP_WIDTH_FIXED = 0;
constexpr short KP_WIDTH_ADDITIVE = 1;
constexpr short KP_WIDTH_PROPORTIONAL = 2;
constexpr short KP_WIDTH_STYLE = 9;

// Size of the sub-line record in files.
constexpr int KP_SUBLINE_RECORD_SIZE = 84;
constexpr int KP_FONT_NAME_SIZE = 32;

class KP_API CKpLineStyleBase {
 public:
  CKpLineStyleBase();
  CKpLineStyleBase(const CKpLineStyleBase& src);
  CKpLineStyleBase& operator=(const CKpLineStyleBase& src);
  virtual ~CKpLineStyleBase();

  void CopyFrom(const CKpLineStyleBase& src);
  // Back to the defaults of a new sub-line; font, symbol, flags, angle and the
  // reserved words are kept.
  void Reset();

  // --- dash pattern: entries are added and removed in pairs (drawn, gap) ---
  long Add(long drawn, long gap);
  long Remove();
  long RemoveAt(long i);
  long InsertAt(long i, long drawn, long gap);
  long SetAt(long i, long value);
  long SetAt(long i, long first, long second);
  void RemoveAll();
  long GetAt(long i) const;
  long Count() const { return static_cast<long>(m_StyleSet.size()); }
  DWORD* GetStyleSet() { return m_StyleSet.empty() ? nullptr : m_StyleSet.data(); }
  BYTE* GetByteSet() { return m_ByteSet.empty() ? nullptr : m_ByteSet.data(); }
  const DWORD* GetStyleSet() const { return m_StyleSet.empty() ? nullptr : m_StyleSet.data(); }
  const BYTE* GetByteSet() const { return m_ByteSet.empty() ? nullptr : m_ByteSet.data(); }
  BYTE GetFlagAt(long i) const;
  // Appends one entry as it is (length and flag); used by the record readers,
  // which must keep a stored pattern exactly, odd counts and all.
  long AppendEntry(DWORD length, BYTE flag);
  void SetUserStyle();
  long GetUserStyle() const { return static_cast<long>((m_dwPenStyle & KP_PEN_USER_MASK) >> 28); }

  // --- start mode: 1 starts with a drawn dash, 0 with a gap ---
  long InitStyle(int mode);
  void SetStartMode(long mode) { InitStyle(static_cast<int>(mode)); }
  long GetStartMode() const;

  // --- pen style word ---
  void SetBase(long v);
  long GetBase() const { return static_cast<long>(m_dwPenStyle & KP_PEN_BASE_MASK); }
  void SetCap(long v);
  long GetCap() const { return static_cast<long>((m_dwPenStyle & KP_PEN_CAP_MASK) >> 8); }
  void SetJoin(long v);
  long GetJoin() const { return static_cast<long>((m_dwPenStyle & KP_PEN_JOIN_MASK) >> 12); }

  // --- combined setters (each returns 1) ---
  long SetInterStyle(short width, long color, long penStyle);
  long SetVarStyle(short varWidth, long color);
  long SetStyle(short width, long color);
  long SetStyle();

  // --- single fields ---
  short GetHVLength() const { return m_nHVLength; }
  short SetHVLength(short v) { return m_nHVLength = v; }
  short GetHVMode() const { return m_nHVMode; }
  short SetHVMode(short v) { return m_nHVMode = v; }
  short GetWidthType() const { return m_nWidthType; }
  long SetWidthType(short v) {
    m_nWidthType = v;
    return 1;
  }
  void SetFont(const CString& face);
  CString GetFont() const;
  void SetSymbol(short v) { m_nSymbol = v; }
  void SetRepeatMode(short v) { m_nRepeatMode = v; }

  // --- flags ---
  BOOL GetColorLock() const { return GetFlag(KP_FLAG_COLOR_LOCK); }
  void SetColorLock(BOOL on) { SetFlag(KP_FLAG_COLOR_LOCK, on); }
  BOOL GetWidthLock() const { return GetFlag(KP_FLAG_WIDTH_LOCK); }
  void SetWidthLock(BOOL on) { SetFlag(KP_FLAG_WIDTH_LOCK, on); }
  BOOL GetHorizRepair() const { return GetFlag(KP_FLAG_HORIZ_REPAIR); }
  void SetHorizRepair(BOOL on) { SetFlag(KP_FLAG_HORIZ_REPAIR, on); }
  BOOL GetVertRepair() const { return GetFlag(KP_FLAG_VERT_REPAIR); }
  void SetVertRepair(BOOL on) { SetFlag(KP_FLAG_VERT_REPAIR, on); }
  // Repair of the last incomplete section applies to plain dashed lines
  // (horizontal) and to the three tick kinds (vertical) only.
  BOOL CanHorizRepair() const { return GetHorizRepair() && m_nHVMode == 0; }
  BOOL CanVertRepair() const { return GetVertRepair() && m_nHVMode >= 1 && m_nHVMode <= 3; }

  // A sub-line on its own draws nothing; styles draw sub-lines through the engine.
  long Polyline(POINT* points, long count);

  // Preview of this sub-line in a rectangle (engine/KpSamples.cpp).
  void DrawSample(CDC* dc, RECT& rect);

  // --- file records (format/CKpLineStyleBaseRecords.cpp) ---
  // Form 1 (old streams): the 84-byte record, count, lengths, flags. Store
  // returns the stream length; Load the read position, or -1 for a
  // truncated or malformed record.
  long Store(CKpByteArray& stream) const;
  long Load(CKpByteArray& stream);
  // Form 3 (current) and form 2 (versions below 20031017: a sub-line name
  // after the record, read and discarded). StoreEx returns 1; StoreEx20
  // writes form 2 with an empty name. LoadEx appends the stored pattern to
  // this sub-line's and returns 1, or 0 for a truncated or malformed record.
  int StoreEx(CKpByteArrayEx& stream) const;
  int StoreEx20(CKpByteArrayEx& stream) const;
  int LoadEx(CKpByteArrayEx& stream, int& pos, long version);

  // --- the sub-line record, in file order ---
  short m_nHVLength;
  short m_nHVMode;
  short m_nHorizOffset;
  short m_nVertOffset;
  COLORREF m_clrCurrent;
  COLORREF m_clrColor;
  DWORD m_dwPenStyle;
  short m_nHatch;
  short m_nWidth;
  short m_nCurWidth;
  short m_nReserved;
  short m_nWidthType;
  short m_nVarWidth;
  char m_szFont[KP_FONT_NAME_SIZE];
  short m_nSymbol;
  short m_nRepeatMode;
  DWORD m_dwFlags;
  DWORD m_dwReserved1;
  LONG m_nAngle;
  DWORD m_dwReserved2;

 private:
  BOOL GetFlag(DWORD bit) const { return (m_dwFlags & bit) ? TRUE : FALSE; }
  void SetFlag(DWORD bit, BOOL on);
  void ZeroRecord();
  bool IsPairIndex(long i) const { return i >= 0 && i < Count() - 1; }

  std::vector<DWORD> m_StyleSet;  // entry lengths
  std::vector<BYTE> m_ByteSet;    // 1 drawn, 0 gap; same length as m_StyleSet
};
