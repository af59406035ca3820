#include <gtest/gtest.h>

#include <vector>

#include "model/CKpLineStyleBase.h"

namespace {

std::vector<long> Lengths(const CKpLineStyleBase& s) {
  std::vector<long> out;
  for (long i = 0; i < s.Count(); ++i) out.push_back(s.GetAt(i));
  return out;
}

std::vector<int> Flags(const CKpLineStyleBase& s) {
  std::vector<int> out;
  for (long i = 0; i < s.Count(); ++i) out.push_back(s.GetFlagAt(i));
  return out;
}

CKpLineStyleBase WithPattern(std::initializer_list<long> lengths) {
  CKpLineStyleBase s;
  auto it = lengths.begin();
  while (it != lengths.end()) {
    long a = *it++;
    long b = it != lengths.end() ? *it++ : 0;
    s.Add(a, b);
  }
  return s;
}

TEST(LineStyleBase, NewSubLineHasTheDefaults) {
  CKpLineStyleBase s;
  EXPECT_EQ(s.m_clrCurrent, 0x000000FFu);
  EXPECT_EQ(s.m_clrColor, 0x000000FFu);
  EXPECT_EQ(s.m_nWidth, 1);
  EXPECT_EQ(s.m_nCurWidth, 1);
  EXPECT_EQ(s.m_nReserved, 1);
  EXPECT_EQ(s.m_nWidthType, 9);
  EXPECT_EQ(s.m_nVarWidth, 100);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.GetUserStyle(), 0);
  EXPECT_EQ(s.GetStartMode(), 0);
  EXPECT_EQ(s.m_dwFlags, 0u);
  EXPECT_EQ(s.GetFont(), "");
  EXPECT_EQ(s.GetStyleSet(), nullptr);
}

TEST(LineStyleBase, PatternPairsKeepFlagsAndUserStyle) {
  struct Row {
    const char* what;
    std::initializer_list<long> start;
    void (*op)(CKpLineStyleBase&);
    long result;  // Count after the operation
    std::vector<long> lengths;
    std::vector<int> flags;
    long user;
  };
  const Row rows[] = {
      // Add on an empty pattern makes a drawn/gap pair and sets the nibble.
      {"add", {}, [](CKpLineStyleBase& s) { s.Add(40, 40); }, 2, {40, 40}, {1, 0}, 1},
      // Removing the only pair clears the nibble.
      {"remove at 0", {40, 40}, [](CKpLineStyleBase& s) { s.RemoveAt(0); }, 0, {}, {}, 0},
      // RemoveAt Count-1 is not a pair start: nothing happens.
      {"remove at last", {40, 40}, [](CKpLineStyleBase& s) { s.RemoveAt(1); }, 2, {40, 40}, {1, 0}, 1},
      // An odd index removes the gap of one pair and the dash of the next.
      {"remove odd", {1, 2, 3, 4}, [](CKpLineStyleBase& s) { s.RemoveAt(1); }, 2, {1, 4}, {1, 0}, 1},
      // InsertAt never appends: Count-1 and Count are ignored.
      {"insert at last", {1, 2}, [](CKpLineStyleBase& s) { s.InsertAt(1, 7, 8); }, 2, {1, 2}, {1, 0}, 1},
      {"insert at count", {1, 2}, [](CKpLineStyleBase& s) { s.InsertAt(2, 7, 8); }, 2, {1, 2}, {1, 0}, 1},
      // A valid insert shifts the rest.
      {"insert at 0", {1, 2}, [](CKpLineStyleBase& s) { s.InsertAt(0, 7, 8); }, 4, {7, 8, 1, 2}, {1, 0, 1, 0}, 1},
      // Remove drops the last pair; on fewer than two entries it changes nothing.
      {"remove last pair", {1, 2, 3, 4}, [](CKpLineStyleBase& s) { s.Remove(); }, 2, {1, 2}, {1, 0}, 1},
      {"remove on empty", {}, [](CKpLineStyleBase& s) { s.Remove(); }, 0, {}, {}, 0},
      // SetAt of a pair rewrites both lengths and keeps the flags.
      {"set pair", {1, 2, 3, 4}, [](CKpLineStyleBase& s) { s.SetAt(2, 30, 40); }, 4, {1, 2, 30, 40}, {1, 0, 1, 0}, 1},
      {"set pair at last", {1, 2}, [](CKpLineStyleBase& s) { s.SetAt(1, 30, 40); }, 2, {1, 2}, {1, 0}, 1},
      // Start mode 0 swaps every pair to gap-first.
      {"start mode 0", {10, 5, 20, 5}, [](CKpLineStyleBase& s) { s.SetStartMode(0); }, 4, {10, 5, 20, 5}, {0, 1, 0, 1}, 1},
      {"start mode 1", {10, 5}, [](CKpLineStyleBase& s) { s.SetStartMode(0); s.SetStartMode(1); }, 2, {10, 5}, {1, 0}, 1},
      // RemoveAll empties both arrays.
      {"remove all", {1, 2, 3, 4}, [](CKpLineStyleBase& s) { s.RemoveAll(); }, 0, {}, {}, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase s = WithPattern(r.start);
    r.op(s);
    EXPECT_EQ(s.Count(), r.result);
    EXPECT_EQ(Lengths(s), r.lengths);
    EXPECT_EQ(Flags(s), r.flags);
    EXPECT_EQ(s.GetUserStyle(), r.user);
  }
}

TEST(LineStyleBase, StartModeAndOutOfRangeAccess) {
  CKpLineStyleBase s = WithPattern({10, 5, 20, 5});
  EXPECT_EQ(s.InitStyle(0), 4);
  EXPECT_EQ(s.GetStartMode(), 0);
  EXPECT_EQ(s.InitStyle(7), 4);  // any mode but 1 starts with a gap
  EXPECT_EQ(s.GetStartMode(), 0);

  CKpLineStyleBase empty;
  empty.SetStartMode(1);
  EXPECT_EQ(empty.GetStartMode(), 0);

  // Reads out of range are harmless.
  EXPECT_EQ(s.GetAt(-1), 0);
  EXPECT_EQ(s.GetAt(4), 0);
  EXPECT_EQ(s.GetAt(1000000), 0);
  EXPECT_EQ(s.GetFlagAt(4), 0);
}

TEST(LineStyleBase, SetAtOutOfRangeLeavesEvenTheNibble) {
  CKpLineStyleBase s = WithPattern({10, 5});
  s.m_dwPenStyle &= ~KP_PEN_USER_MASK;  // stale nibble on purpose
  EXPECT_EQ(s.SetAt(2, 99), 0);
  EXPECT_EQ(s.SetAt(-1, 99), 0);
  EXPECT_EQ(s.GetUserStyle(), 0);
  EXPECT_EQ(s.SetAt(1, 99), 2);  // an in-range set recomputes it
  EXPECT_EQ(s.GetUserStyle(), 1);
  EXPECT_EQ(s.GetAt(1), 99);
}

TEST(LineStyleBase, SetInterStyleWritesTheWholePenWord) {
  CKpLineStyleBase s = WithPattern({10, 5});
  EXPECT_EQ(s.SetInterStyle(1, 0, 0), 1);
  EXPECT_EQ(s.GetUserStyle(), 0);  // stale until the next pattern operation
  s.Add(3, 3);
  EXPECT_EQ(s.GetUserStyle(), 1);

  s.SetInterStyle(4, RGB(1, 2, 3), 0x10002203);
  EXPECT_EQ(s.m_nWidth, 4);
  EXPECT_EQ(s.m_nCurWidth, 4);
  EXPECT_EQ(s.m_clrColor, RGB(1, 2, 3));
  EXPECT_EQ(s.m_clrCurrent, RGB(1, 2, 3));
  EXPECT_EQ(s.GetBase(), 3);
  EXPECT_EQ(s.GetCap(), 2);
  EXPECT_EQ(s.GetJoin(), 2);
}

TEST(LineStyleBase, PenWordFieldsStayInTheirBits) {
  CKpLineStyleBase s;
  s.m_dwPenStyle = 0x0ABC00F0u;  // unknown bits that must survive
  s.SetBase(4);
  s.SetCap(2);
  s.SetJoin(1);
  EXPECT_EQ(s.m_dwPenStyle, 0x0ABC12F4u);
  s.SetBase(0x13);  // too large: only the low four bits are taken
  EXPECT_EQ(s.GetBase(), 3);
  EXPECT_EQ(s.GetCap(), 2);
  s.SetCap(0);
  s.SetJoin(0);
  EXPECT_EQ(s.m_dwPenStyle, 0x0ABC00F3u);
}

TEST(LineStyleBase, CombinedSettersTouchOnlyTheirFields) {
  CKpLineStyleBase s;
  s.SetVarStyle(150, RGB(0, 0, 255));
  EXPECT_EQ(s.m_nVarWidth, 150);
  EXPECT_EQ(s.m_clrColor, RGB(0, 0, 255));
  EXPECT_EQ(s.m_clrCurrent, RGB(255, 0, 0));

  s.SetStyle(7, RGB(0, 255, 0));
  EXPECT_EQ(s.m_nCurWidth, 7);
  EXPECT_EQ(s.m_nWidth, 1);
  EXPECT_EQ(s.m_clrCurrent, RGB(0, 255, 0));

  s.SetStyle();
  EXPECT_EQ(s.m_nCurWidth, 1);
  EXPECT_EQ(s.m_clrCurrent, RGB(0, 0, 255));
}

TEST(LineStyleBase, FlagsAndRepairPredicates) {
  CKpLineStyleBase s;
  s.m_dwFlags = 0xF0u;  // unknown bits kept
  s.SetColorLock(TRUE);
  s.SetWidthLock(TRUE);
  s.SetHorizRepair(TRUE);
  s.SetVertRepair(TRUE);
  EXPECT_EQ(s.m_dwFlags, 0xFFu);
  s.SetWidthLock(FALSE);
  EXPECT_EQ(s.m_dwFlags, 0xFDu);
  EXPECT_TRUE(s.GetColorLock());
  EXPECT_FALSE(s.GetWidthLock());

  struct Row {
    short mode;
    BOOL horiz, vert;
  };
  const Row rows[] = {
      {0, TRUE, FALSE},   // plain dashed line: horizontal repair only
      {1, FALSE, TRUE},   // centred ticks
      {3, FALSE, TRUE},   // lower ticks
      {4, FALSE, FALSE},  // alternating ticks: neither
      {39, FALSE, FALSE},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mode);
    s.SetHVMode(r.mode);
    EXPECT_EQ(s.CanHorizRepair(), r.horiz);
    EXPECT_EQ(s.CanVertRepair(), r.vert);
  }
  s.SetHorizRepair(FALSE);
  s.SetVertRepair(FALSE);
  s.SetHVMode(0);
  EXPECT_FALSE(s.CanHorizRepair());
  s.SetHVMode(1);
  EXPECT_FALSE(s.CanVertRepair());
}

TEST(LineStyleBase, SetFontNeverSplitsACharacter) {
  struct Row {
    const char* what;
    CString in;
    CString out;
  };
  const Row rows[] = {
      {"short ascii", "Arial", "Arial"},
      {"31 bytes fit", CString(31, 'a'), CString(31, 'a')},
      {"32 bytes clamp", CString(32, 'a'), CString(31, 'a')},
      // 10 three-byte characters = 30 bytes, the 11th would end at byte 33.
      {"cjk clamp", CString("宋宋宋宋宋宋宋宋宋宋宋"), CString("宋宋宋宋宋宋宋宋宋宋")},
      // 30 ASCII bytes then a 2-byte character ending at byte 32: dropped whole.
      {"two-byte at edge", CString(30, 'b') + "é", CString(30, 'b')},
      // 29 ASCII + a 2-byte character = 31 bytes: kept.
      {"two-byte fits", CString(29, 'b') + "é", CString(29, 'b') + "é"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase s;
    s.SetFont(CString(31, 'z'));  // longer leftover must not leak into the new name
    s.SetFont(r.in);
    EXPECT_EQ(s.GetFont(), r.out);
    EXPECT_EQ(s.m_szFont[31], '\0');
  }
}

TEST(LineStyleBase, ResetKeepsFontSymbolFlagsAngleAndReserved) {
  CKpLineStyleBase s = WithPattern({5, 5});
  s.SetFont("Wingdings");
  s.SetSymbol(65);
  s.m_dwFlags = 0x3;
  s.m_nAngle = 900;
  s.m_dwReserved1 = 0xDEADBEEF;
  s.m_dwReserved2 = 0x12345678;
  s.m_nHVMode = 14;
  s.m_nWidthType = 1;
  s.m_nRepeatMode = 1;
  s.Reset();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.m_nHVMode, 0);
  EXPECT_EQ(s.m_nWidthType, 9);
  EXPECT_EQ(s.m_nRepeatMode, 0);
  EXPECT_EQ(s.m_dwPenStyle, 0u);
  EXPECT_EQ(s.GetFont(), "Wingdings");
  EXPECT_EQ(s.m_nSymbol, 65);
  EXPECT_EQ(s.m_dwFlags, 0x3u);
  EXPECT_EQ(s.m_nAngle, 900);
  EXPECT_EQ(s.m_dwReserved1, 0xDEADBEEFu);
  EXPECT_EQ(s.m_dwReserved2, 0x12345678u);
}

TEST(LineStyleBase, CopyIsExactAndIndependent) {
  CKpLineStyleBase src = WithPattern({10, 5, 20, 5});
  src.SetStartMode(0);
  src.m_dwPenStyle = 0x30001234u;  // odd user nibble: copied as it is, not recomputed
  src.m_dwReserved1 = 7;
  src.SetFont("DejaVu Sans");

  CKpLineStyleBase copy;
  copy.Add(1, 1);
  copy = src;
  EXPECT_EQ(copy.m_dwPenStyle, 0x30001234u);
  EXPECT_EQ(Lengths(copy), Lengths(src));
  EXPECT_EQ(Flags(copy), Flags(src));
  EXPECT_EQ(copy.m_dwReserved1, 7u);
  EXPECT_EQ(copy.GetFont(), "DejaVu Sans");

  copy.SetAt(0, 99);
  EXPECT_EQ(src.GetAt(0), 10);

  CKpLineStyleBase constructed(src);
  EXPECT_EQ(Lengths(constructed), Lengths(src));
  constructed = constructed;  // self-assignment keeps everything
  EXPECT_EQ(Lengths(constructed), Lengths(src));
}

TEST(LineStyleBase, AppendEntryKeepsStoredPatternsAsTheyAre) {
  CKpLineStyleBase s;
  s.AppendEntry(12, 1);
  s.AppendEntry(3, 1);
  s.AppendEntry(9, 0);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(Flags(s), (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(s.GetUserStyle(), 1);
  // Pair operations stay in bounds on an odd count.
  EXPECT_EQ(s.RemoveAt(2), 3);
  EXPECT_EQ(s.InsertAt(2, 1, 1), 3);
  s.SetStartMode(0);
  EXPECT_EQ(Flags(s), (std::vector<int>{0, 1, 0}));
}

}  // namespace
