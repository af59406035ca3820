#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "format/KpSubLineRecord.h"

namespace {

using Record = std::array<BYTE, KP_SUBLINE_RECORD_SIZE>;

Record Encode(const CKpLineStyleBase& s) {
  Record r{};
  kp::EncodeSubLineRecord(s, r.data());
  return r;
}

TEST(SubLineRecord, NewSubLineEncodesToTheDefaultBytes) {
  Record expected{};
  expected[8] = 0xFF;   // m_clrCurrent red
  expected[12] = 0xFF;  // m_clrColor red
  expected[22] = 1;     // m_nWidth
  expected[24] = 1;     // m_nCurWidth
  expected[26] = 1;     // m_nReserved
  expected[28] = 9;     // m_nWidthType
  expected[30] = 100;   // m_nVarWidth
  EXPECT_EQ(Encode(CKpLineStyleBase()), expected);
}

TEST(SubLineRecord, EveryFieldLandsAtItsOffsetLittleEndian) {
  CKpLineStyleBase s;
  s.m_nHVLength = 0x0102;
  s.m_nHVMode = 0x0304;
  s.m_nHorizOffset = -2;  // 0xFFFE
  s.m_nVertOffset = 0x0506;
  s.m_clrCurrent = 0x0A0B0C0D;
  s.m_clrColor = 0x11121314;
  s.m_dwPenStyle = 0x10002201;
  s.m_nHatch = 0x0708;
  s.m_nWidth = 0x090A;
  s.m_nCurWidth = 0x0B0C;
  s.m_nReserved = 0x0D0E;
  s.m_nWidthType = 0x0F10;
  s.m_nVarWidth = 0x1112;
  s.SetFont("Ab");
  s.m_nSymbol = 0x1314;
  s.m_nRepeatMode = 0x1516;
  s.m_dwFlags = 0x8000000F;
  s.m_dwReserved1 = 0x21222324;
  s.m_nAngle = -1;
  s.m_dwReserved2 = 0x31323334;
  const Record r = Encode(s);

  struct Row {
    int offset;
    std::initializer_list<int> bytes;
  };
  const Row rows[] = {
      {0, {0x02, 0x01}},                 // m_nHVLength
      {2, {0x04, 0x03}},                 // m_nHVMode
      {4, {0xFE, 0xFF}},                 // m_nHorizOffset, negative
      {6, {0x06, 0x05}},                 // m_nVertOffset
      {8, {0x0D, 0x0C, 0x0B, 0x0A}},     // m_clrCurrent
      {12, {0x14, 0x13, 0x12, 0x11}},    // m_clrColor
      {16, {0x01, 0x22, 0x00, 0x10}},    // m_dwPenStyle
      {20, {0x08, 0x07}},                // m_nHatch
      {22, {0x0A, 0x09}},                // m_nWidth
      {24, {0x0C, 0x0B}},                // m_nCurWidth
      {26, {0x0E, 0x0D}},                // m_nReserved
      {28, {0x10, 0x0F}},                // m_nWidthType
      {30, {0x12, 0x11}},                // m_nVarWidth
      {32, {'A', 'b', 0, 0}},            // m_szFont, NUL padded
      {64, {0x14, 0x13}},                // m_nSymbol
      {66, {0x16, 0x15}},                // m_nRepeatMode
      {68, {0x0F, 0x00, 0x00, 0x80}},    // m_dwFlags with an unknown bit
      {72, {0x24, 0x23, 0x22, 0x21}},    // m_dwReserved1
      {76, {0xFF, 0xFF, 0xFF, 0xFF}},    // m_nAngle, negative
      {80, {0x34, 0x33, 0x32, 0x31}},    // m_dwReserved2
  };
  for (const auto& row : rows) {
    int i = row.offset;
    for (int b : row.bytes) {
      EXPECT_EQ(r[static_cast<size_t>(i)], b) << "offset " << i;
      ++i;
    }
  }
}

TEST(SubLineRecord, AnyBytesRoundTripExactly) {
  // Decoding and re-encoding must give the same 84 bytes whatever they hold,
  // including fonts without a terminator and reserved or unknown bits.
  std::mt19937 rng(20031017);
  for (int trial = 0; trial < 200; ++trial) {
    Record in;
    for (auto& b : in) b = static_cast<BYTE>(rng());
    CKpLineStyleBase s;
    s.Add(3, 4);
    kp::DecodeSubLineRecord(in.data(), s);
    EXPECT_EQ(Encode(s), in);
    EXPECT_EQ(s.Count(), 2);  // the pattern is not part of the record
    EXPECT_LE(s.GetFont().size(), 32u);

    // The record also survives a copy.
    CKpLineStyleBase copy(s);
    EXPECT_EQ(Encode(copy), in);
  }
}

}  // namespace
