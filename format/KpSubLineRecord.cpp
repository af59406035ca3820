#include "format/KpSubLineRecord.h"

#include <cstring>

#include "format/KpLittleEndian.h"

namespace kp {

namespace {
// Record offsets.
enum : int {
  kHVLength = 0,
  kHVMode = 2,
  kHorizOffset = 4,
  kVertOffset = 6,
  kClrCurrent = 8,
  kClrColor = 12,
  kPenStyle = 16,
  kHatch = 20,
  kWidth = 22,
  kCurWidth = 24,
  kReserved = 26,
  kWidthType = 28,
  kVarWidth = 30,
  kFont = 32,
  kSymbol = 64,
  kRepeatMode = 66,
  kFlags = 68,
  kReserved1 = 72,
  kAngle = 76,
  kReserved2 = 80,
};
static_assert(kReserved2 + 4 == KP_SUBLINE_RECORD_SIZE, "record layout must span 84 bytes");
static_assert(kSymbol - kFont == KP_FONT_NAME_SIZE, "font field is 32 bytes");
}  // namespace

void EncodeSubLineRecord(const CKpLineStyleBase& s, BYTE* out) {
  PutI16(out + kHVLength, s.m_nHVLength);
  PutI16(out + kHVMode, s.m_nHVMode);
  PutI16(out + kHorizOffset, s.m_nHorizOffset);
  PutI16(out + kVertOffset, s.m_nVertOffset);
  PutU32(out + kClrCurrent, s.m_clrCurrent);
  PutU32(out + kClrColor, s.m_clrColor);
  PutU32(out + kPenStyle, s.m_dwPenStyle);
  PutI16(out + kHatch, s.m_nHatch);
  PutI16(out + kWidth, s.m_nWidth);
  PutI16(out + kCurWidth, s.m_nCurWidth);
  PutI16(out + kReserved, s.m_nReserved);
  PutI16(out + kWidthType, s.m_nWidthType);
  PutI16(out + kVarWidth, s.m_nVarWidth);
  std::memcpy(out + kFont, s.m_szFont, KP_FONT_NAME_SIZE);
  PutI16(out + kSymbol, s.m_nSymbol);
  PutI16(out + kRepeatMode, s.m_nRepeatMode);
  PutU32(out + kFlags, s.m_dwFlags);
  PutU32(out + kReserved1, s.m_dwReserved1);
  PutI32(out + kAngle, s.m_nAngle);
  PutU32(out + kReserved2, s.m_dwReserved2);
}

void DecodeSubLineRecord(const BYTE* in, CKpLineStyleBase& s) {
  s.m_nHVLength = GetI16(in + kHVLength);
  s.m_nHVMode = GetI16(in + kHVMode);
  s.m_nHorizOffset = GetI16(in + kHorizOffset);
  s.m_nVertOffset = GetI16(in + kVertOffset);
  s.m_clrCurrent = GetU32(in + kClrCurrent);
  s.m_clrColor = GetU32(in + kClrColor);
  s.m_dwPenStyle = GetU32(in + kPenStyle);
  s.m_nHatch = GetI16(in + kHatch);
  s.m_nWidth = GetI16(in + kWidth);
  s.m_nCurWidth = GetI16(in + kCurWidth);
  s.m_nReserved = GetI16(in + kReserved);
  s.m_nWidthType = GetI16(in + kWidthType);
  s.m_nVarWidth = GetI16(in + kVarWidth);
  // Kept byte for byte, even without a terminator; GetFont() stops at 32 bytes.
  std::memcpy(s.m_szFont, in + kFont, KP_FONT_NAME_SIZE);
  s.m_nSymbol = GetI16(in + kSymbol);
  s.m_nRepeatMode = GetI16(in + kRepeatMode);
  s.m_dwFlags = GetU32(in + kFlags);
  s.m_dwReserved1 = GetU32(in + kReserved1);
  s.m_nAngle = GetI32(in + kAngle);
  s.m_dwReserved2 = GetU32(in + kReserved2);
}

}  // namespace kp
