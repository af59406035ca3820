#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"

namespace {

using Bytes = std::vector<unsigned char>;

template <class Stream>
Bytes BytesOf(const Stream& s) {
  return Bytes(s.GetData(), s.GetData() + s.GetSize());
}

template <class Stream>
void Fill(Stream& s, const Bytes& b) {
  s.SetSize(static_cast<long>(b.size()));
  if (!b.empty()) std::copy(b.begin(), b.end(), s.GetData());
}

TEST(ByteArray, LongsRoundTripAsInt32) {
  const struct {
    long written;
    long read;
  } rows[] = {
      {0, 0},
      {-1, -1},
      {INT32_MIN, INT32_MIN},
      {INT32_MAX, INT32_MAX},
      {0x123456789L, 0x23456789},  // bits above 32 are dropped
      {0x80000000L, INT32_MIN},    // the low word is read back signed
  };
  for (const auto& r : rows) {
    CKpByteArray a;
    CKpByteArrayEx e;
    a.WriteLong(r.written);
    e.Add(r.written);
    int pos = 0;
    EXPECT_EQ(a.ReadLong(), r.read) << r.written;
    EXPECT_EQ(e.GetLongAt(pos), r.read) << r.written;
    EXPECT_EQ(pos, 4);
  }
}

TEST(ByteArray, ExactByteForms) {
  const struct {
    const char* what;
    std::function<Bytes()> write;
    Bytes expected;
  } rows[] = {
      {"Add(long)", [] { CKpByteArrayEx e; e.Add(0x01020304L); return BytesOf(e); }, {4, 3, 2, 1}},
      {"WriteLong(-2)", [] { CKpByteArray a; a.WriteLong(-2); return BytesOf(a); }, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"WriteString", [] { CKpByteArray a; a.WriteString("ab"); return BytesOf(a); }, {2, 0, 0, 0, 'a', 'b'}},
      {"Add(CString)", [] { CKpByteArrayEx e; e.Add(CString("ab")); return BytesOf(e); }, {2, 0, 0, 0, 'a', 'b'}},
      {"Add(empty)", [] { CKpByteArrayEx e; e.Add(CString()); return BytesOf(e); }, {0, 0, 0, 0}},
      // BMP letter, BMP symbol, astral emoji as a surrogate pair.
      {"AddUnicode", [] { CKpByteArrayEx e; e.AddUnicode("A\u20AC\U0001F600"); return BytesOf(e); },
       {4, 0, 0, 0, 0x41, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}},
      // A stray continuation byte is stored as U+FFFD rather than dropped.
      {"AddUnicode(bad)", [] { CKpByteArrayEx e; e.AddUnicode("\x80"); return BytesOf(e); },
       {1, 0, 0, 0, 0xFD, 0xFF}},
  };
  for (const auto& r : rows) EXPECT_EQ(r.write(), r.expected) << r.what;
}

TEST(ByteArray, MixedSequenceReadsBackInOrder) {
  const unsigned char raw[3] = {7, 8, 9};
  CKpByteArray a;
  a.WriteLong(-5);
  a.WriteByte(0xAB);
  a.Write(raw, 3);
  a.WriteString("线型");
  a.WriteLong(42);

  unsigned char out[3] = {};
  EXPECT_EQ(a.ReadLong(), -5);
  EXPECT_EQ(a.ReadByte(), 0xAB);
  EXPECT_TRUE(a.Read(out, 3));
  EXPECT_EQ(Bytes(out, out + 3), Bytes(raw, raw + 3));
  EXPECT_EQ(a.ReadString(), "线型");
  EXPECT_EQ(a.ReadLong(), 42);
  EXPECT_EQ(a.GetPos(), a.GetSize());
  EXPECT_FALSE(a.IsFailed());
  a.SeekToBegin();
  EXPECT_EQ(a.ReadLong(), -5);
}

TEST(ByteArrayEx, MixedSequenceReadsBackInOrder) {
  const unsigned char raw[3] = {7, 8, 9};
  CKpByteArrayEx e;
  e.Add(-5L);
  e.Add(raw, 3);
  e.Add(CString("线型"));
  e.AddUnicode("线型\U0001F600");
  e.AddUnicode("");
  e.Add(42L);

  int pos = 0;
  unsigned char out[3] = {};
  EXPECT_EQ(e.GetLongAt(pos), -5);
  EXPECT_TRUE(e.GetBytesAt(pos, out, 3));
  EXPECT_EQ(Bytes(out, out + 3), Bytes(raw, raw + 3));
  EXPECT_EQ(e.GetStringAt(pos), "线型");
  EXPECT_EQ(e.GetUnicodeStringAt(pos), "线型\U0001F600");
  EXPECT_EQ(e.GetUnicodeStringAt(pos), "");
  EXPECT_EQ(e.GetLongAt(pos), 42);
  EXPECT_EQ(pos, e.GetSize());
  EXPECT_FALSE(e.IsFailed());
}

// Writers store blocks of IDs and lengths as raw words; readers take them one by one.
TEST(ByteArray, RawWordsReadBackAsLongs) {
  const unsigned char words[8] = {4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF};
  CKpByteArray a;
  CKpByteArrayEx e;
  a.Write(words, 8);
  e.Add(words, 8);
  int pos = 0;
  EXPECT_EQ(a.ReadLong(), 0x01020304);
  EXPECT_EQ(a.ReadLong(), -1);
  EXPECT_EQ(e.GetLongAt(pos), 0x01020304);
  EXPECT_EQ(e.GetLongAt(pos), -1);
}

TEST(ByteArray, SetSizeZeroFillsAndKeepsReadPositionInside) {
  CKpByteArray a;
  a.WriteLong(-1);
  EXPECT_EQ(a.ReadLong(), -1);
  a.SetSize(2);  // the position (4) is now past the end
  EXPECT_EQ(a.GetPos(), 2);
  a.SetSize(6);
  EXPECT_EQ(BytesOf(a), (Bytes{0xFF, 0xFF, 0, 0, 0, 0}));
  EXPECT_EQ(a.ReadLong(), 0);
  EXPECT_FALSE(a.IsFailed());
}

// Bytes of a string item whose count (3) claims one byte more than follows.
const Bytes kShortString = {3, 0, 0, 0, 'a', 'b'};
const Bytes kHugeCount = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6};

TEST(ByteArray, FailedReadsLeavePositionAndSetFlag) {
  const struct {
    const char* what;
    Bytes data;
    int skip;  // bytes consumed before the failing read
    std::function<bool(CKpByteArray&)> readGivesNothing;
  } rows[] = {
      {"long with 3 bytes left", {1, 2, 3, 4, 5}, 2, [](CKpByteArray& a) { return a.ReadLong() == 0; }},
      {"byte at the end", {1}, 1, [](CKpByteArray& a) { return a.ReadByte() == 0; }},
      {"raw block too long", {1, 2, 3}, 1,
       [](CKpByteArray& a) {
         unsigned char out[4] = {9, 9, 9, 9};
         return !a.Read(out, 4) && Bytes(out, out + 4) == Bytes(4, 0);
       }},
      {"string count too long", kShortString, 0, [](CKpByteArray& a) { return a.ReadString().empty(); }},
      {"huge string count", kHugeCount, 0, [](CKpByteArray& a) { return a.ReadString().empty(); }},
  };
  for (const auto& r : rows) {
    CKpByteArray a;
    Fill(a, r.data);
    for (int i = 0; i < r.skip; ++i) a.ReadByte();
    EXPECT_TRUE(r.readGivesNothing(a)) << r.what;
    EXPECT_TRUE(a.IsFailed()) << r.what;
    EXPECT_EQ(a.GetPos(), r.skip) << r.what;
    // The flag is sticky until cleared, even across reads that succeed.
    if (r.skip < a.GetSize()) a.ReadByte();
    EXPECT_TRUE(a.IsFailed()) << r.what;
    a.ClearFailed();
    EXPECT_FALSE(a.IsFailed()) << r.what;
  }
}

TEST(ByteArrayEx, FailedReadsLeavePositionAndSetFlag) {
  const auto bytesAt = [](int n) {
    return [n](const CKpByteArrayEx& e, int& pos) {
      unsigned char out[4] = {9, 9, 9, 9};
      const bool ok = e.GetBytesAt(pos, out, n);
      const size_t asked = n > 0 ? static_cast<size_t>(n) : 0;
      return !ok && Bytes(out, out + asked) == Bytes(asked, 0);
    };
  };
  const auto longAt = [](const CKpByteArrayEx& e, int& pos) { return e.GetLongAt(pos) == 0; };
  const auto stringAt = [](const CKpByteArrayEx& e, int& pos) { return e.GetStringAt(pos).empty(); };
  const auto unicodeAt = [](const CKpByteArrayEx& e, int& pos) { return e.GetUnicodeStringAt(pos).empty(); };
  const struct {
    const char* what;
    Bytes data;
    int pos;
    std::function<bool(const CKpByteArrayEx&, int&)> readGivesNothing;
  } rows[] = {
      {"long with 3 bytes left", {1, 2, 3, 4, 5}, 2, longAt},
      {"long at negative pos", {1, 2, 3, 4, 5}, -1, longAt},
      {"long past the end", {1, 2, 3, 4}, 5, longAt},
      {"bytes too long", {1, 2, 3}, 1, bytesAt(3)},
      {"negative byte count", {1, 2, 3}, 0, bytesAt(-1)},
      {"bytes at negative pos", {1, 2, 3}, INT_MIN, bytesAt(1)},
      {"string count too long", kShortString, 0, stringAt},
      {"huge string count", kHugeCount, 0, stringAt},
      {"string at negative pos", kShortString, -4, stringAt},
      // 2 units need 4 bytes; only 3 follow the count.
      {"unicode count too long", {2, 0, 0, 0, 'a', 0, 'b'}, 0, unicodeAt},
      {"huge unicode count", kHugeCount, 0, unicodeAt},
  };
  for (const auto& r : rows) {
    CKpByteArrayEx e;
    Fill(e, r.data);
    int pos = r.pos;
    EXPECT_TRUE(r.readGivesNothing(e, pos)) << r.what;
    EXPECT_TRUE(e.IsFailed()) << r.what;
    EXPECT_EQ(pos, r.pos) << r.what;
    e.ClearFailed();
    EXPECT_FALSE(e.IsFailed()) << r.what;
  }
}

}  // namespace
