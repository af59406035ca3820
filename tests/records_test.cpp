// File records of sub-lines, styles and extended attributes: exact bytes of
// each form, exact round trips, the old packed decoration, and readers that
// fail cleanly on truncated or malformed input (the sanitizer build catches
// any read past the end).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "format/KpSubLineRecord.h"
#include "model/CKpLineStyleBase.h"
#include "model/CKpLineStyleObj.h"
#include "model/CKpLineStyleObjExt.h"

namespace {

using Bytes = std::vector<BYTE>;

constexpr long kV10 = 65537;
constexpr long kV2001 = 20010228;
constexpr long kV2001b = 20010614;
constexpr long kV2003 = 20031017;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Le32(std::uint32_t v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
          static_cast<BYTE>(v >> 24)};
}

Bytes Zeros(std::size_t n) { return Bytes(n, 0); }

Bytes BytesOf(const CKpByteArrayEx& a) { return Bytes(a.GetData(), a.GetData() + a.GetSize()); }
Bytes BytesOf(const CKpByteArray& a) { return Bytes(a.GetData(), a.GetData() + a.GetSize()); }

CKpByteArrayEx ExFrom(const Bytes& b) {
  CKpByteArrayEx a;
  a.Add(b.data(), static_cast<int>(b.size()));
  return a;
}

CKpByteArray OldFrom(const Bytes& b) {
  CKpByteArray a;
  a.Write(b.data(), b.size());
  return a;
}

// The 84 record bytes of a new sub-line.
Bytes DefaultRecord() {
  Bytes r(KP_SUBLINE_RECORD_SIZE, 0);
  r[8] = 0xFF;   // current colour red
  r[12] = 0xFF;  // own colour red
  r[22] = 1;     // width
  r[24] = 1;     // current width
  r[26] = 1;     // reserved, set by Reset
  r[28] = 9;     // width type: follows the style
  r[30] = 100;   // var width
  return r;
}

Bytes RecordOf(const CKpLineStyleBase& s) {
  Bytes r(KP_SUBLINE_RECORD_SIZE);
  kp::EncodeSubLineRecord(s, r.data());
  return r;
}

struct Pattern {
  std::vector<DWORD> lengths;
  Bytes flags;
  bool operator==(const Pattern& o) const { return lengths == o.lengths && flags == o.flags; }
};

Pattern PatternOf(const CKpLineStyleBase& s) {
  Pattern p;
  for (long i = 0; i < s.Count(); ++i) {
    p.lengths.push_back(s.GetStyleSet()[i]);
    p.flags.push_back(s.GetFlagAt(i));
  }
  return p;
}

// Every field away from its default: reserved words, unknown flag and pen
// bits, a user-style nibble that disagrees with the pattern, a font name
// that fills all 32 bytes without a terminator, and an odd pattern with an
// unusual flag value.
CKpLineStyleBase RichSubLine() {
  CKpLineStyleBase s;
  s.m_nHVLength = -3;
  s.m_nHVMode = 47;
  s.m_nHorizOffset = -250;
  s.m_nVertOffset = 50;
  s.m_clrCurrent = 0x00123456;
  s.m_clrColor = 0x00ABCDEF;
  s.m_nHatch = 9;
  s.m_nWidth = 100;
  s.m_nCurWidth = -7;
  s.m_nReserved = 0x7FFF;
  s.m_nWidthType = 2;
  s.m_nVarWidth = -100;
  std::memset(s.m_szFont, 'W', KP_FONT_NAME_SIZE);
  s.m_nSymbol = -32768;
  s.m_nRepeatMode = 1;
  s.m_dwFlags = 0xF00000A5;
  s.m_dwReserved1 = 0xDEADBEEF;
  s.m_nAngle = 3600;
  s.m_dwReserved2 = 0xCAFEF00D;
  s.AppendEntry(0xFFFFFFFFu, 1);
  s.AppendEntry(0, 7);
  s.AppendEntry(40, 0);
  s.m_dwPenStyle = 0x3000F2F4;  // after the pattern: nibble 3 must survive
  return s;
}

// One way of writing and reading a record of type T (sub-line or style):
// form 1 through the old stream, forms 2 and 3 through the newer one.
template <class T>
struct Form {
  const char* name;
  int form;

  Bytes Store(const T& obj) const {
    if (form == 1) {
      CKpByteArray a;
      const long length = obj.Store(a);
      EXPECT_EQ(length, a.GetSize());
      return BytesOf(a);
    }
    CKpByteArrayEx a;
    EXPECT_EQ(form == 2 ? obj.StoreEx20(a) : obj.StoreEx(a), 1);
    return BytesOf(a);
  }

  // Reads one record at byte offset `at`; true on success, with `at` moved
  // past it. A failed read must not move the position.
  bool Load(const Bytes& b, std::size_t& at, T& obj) const {
    if (form == 1) {
      CKpByteArray a = OldFrom(b);
      Bytes skip(at);  // the old stream has no seek: skip to `at` by reading
      if (at > 0 && !a.Read(skip.data(), at)) return false;
      const long r = obj.Load(a);
      if (r < 0) {
        EXPECT_EQ(r, -1);
        return false;
      }
      EXPECT_EQ(r, a.GetPos());
      at = static_cast<std::size_t>(r);
      return true;
    }
    CKpByteArrayEx a = ExFrom(b);
    int pos = static_cast<int>(at);
    if (!obj.LoadEx(a, pos, form == 2 ? kV2001b : kV2003)) {
      EXPECT_EQ(pos, static_cast<int>(at)) << "a failed read must not move the position";
      return false;
    }
    at = static_cast<std::size_t>(pos);
    return true;
  }
};

const Form<CKpLineStyleBase> kSubLineForms[] = {{"form 1", 1}, {"form 2", 2}, {"form 3", 3}};
const Form<CKpLineStyleObj> kStyleForms[] = {{"form 1", 1}, {"form 2", 2}, {"form 3", 3}};

// --- styles ---

// Exposes the protected unpacking of the old decoration.
class StyleProbe : public CKpLineStyleObj {
 public:
  using CKpLineStyleObj::UnpackDecoration;
};

tagLineStyleObjExt* NewExt(BYTE w, BYTE h, std::int16_t angle, std::int32_t shape) {
  return new tagLineStyleObjExt{w, h, angle, shape};
}

// Everything a style holds, as the form-3 writer lays it out (checked byte
// by byte below), so two styles compare equal exactly when this does.
Bytes Snapshot(const CKpLineStyleObj& s) {
  CKpByteArrayEx a;
  s.StoreEx(a);
  return BytesOf(a);
}

// Decorations as (token, then width, height, angle, shape per position).
std::vector<long> Decorations(const CKpLineStyleObjExt& ext) {
  std::vector<long> out{ext.GetObjExtToken()};
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
    const tagLineStyleObjExt* r = ext.GetObjExt(pos);
    if (r == nullptr) continue;
    out.insert(out.end(), {pos, r->byWidth, r->byHeight, r->nAngle, r->nShape});
  }
  return out;
}

Bytes Pack(const CKpLineStyleObj& s) {
  Bytes b(4);
  s.PackDecoration(b.data());
  return b;
}

// A style whose decoration the packed form can carry (arrows at the end and
// the middle vertices) and two sub-lines.
CKpLineStyleObj PackableStyle() {
  CKpLineStyleObj s;
  s.SetID(123456);
  s.SetName("主线 A");
  s.GetObjExt().SetObjExt(KP_EXT_POS_TAIL, NewExt(5, 9, 0, 3));
  s.GetObjExt().SetObjExt(KP_EXT_POS_VERTEX, NewExt(5, 9, 0, 3));
  CKpLineStyleBase rich = RichSubLine();
  CKpLineStyleBase plain;
  plain.Add(40, 40);
  s.AddStyleBase(rich);
  s.AddStyleBase(plain);
  return s;
}

// A style that only form 3 can carry: all five positions, angles, a large
// symbol ID, the token's extra bits, a negative ID.
CKpLineStyleObj Form3Style() {
  CKpLineStyleObj s = PackableStyle();
  s.SetID(-5);
  s.SetName("");
  CKpLineStyleObjExt& ext = s.GetObjExt();
  ext.SetObjExt(KP_EXT_POS_HEAD, NewExt(1, 2, 3600, 100000));
  ext.SetObjExt(KP_EXT_POS_TAIL, NewExt(255, 0, -1, 5));
  ext.SetObjExt(KP_EXT_POS_SEGMENT_CENTRE, NewExt(7, 7, 0, 8));
  ext.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewExt(0, 255, 900, 10));
  ext.SetObjExtToken(0xE0);
  return s;
}

}  // namespace

// ===================== sub-line records =====================

TEST(SubLineRecords, SizeOfEachForm) {
  struct Row {
    const char* what;
    std::vector<std::pair<DWORD, BYTE>> entries;
    std::size_t form3;  // forms 1 and 3 are the same bytes; form 2 adds an empty name (4 bytes)
  };
  const Row rows[] = {
      {"empty pattern: record and count", {}, 88},
      {"pattern (40, 40)", {{40, 1}, {40, 0}}, 98},
      {"odd count", {{1, 1}, {2, 0}, {3, 1}}, 84 + 4 + 12 + 3},
  };
  for (const Row& row : rows) {
    CKpLineStyleBase s;
    for (auto [len, flag] : row.entries) s.AppendEntry(len, flag);
    EXPECT_EQ(kSubLineForms[0].Store(s).size(), row.form3) << row.what;
    EXPECT_EQ(kSubLineForms[1].Store(s).size(), row.form3 + 4) << row.what;
    EXPECT_EQ(kSubLineForms[2].Store(s).size(), row.form3) << row.what;
  }
}

TEST(SubLineRecords, ExactBytesOfEveryForm) {
  CKpLineStyleBase s;
  s.Add(40, 40);
  Bytes record = DefaultRecord();
  record[19] = 0x10;  // user-style nibble: the sub-line has a pattern
  const Bytes pattern = Cat({Le32(2), Le32(40), Le32(40), {1, 0}});
  EXPECT_EQ(kSubLineForms[0].Store(s), Cat({record, pattern}));
  EXPECT_EQ(kSubLineForms[1].Store(s), Cat({record, Le32(0), pattern}));  // empty Unicode name
  EXPECT_EQ(kSubLineForms[2].Store(s), Cat({record, pattern}));
}

TEST(SubLineRecords, EveryFormRoundTripsExactly) {
  const CKpLineStyleBase rich = RichSubLine();
  CKpLineStyleBase plain;
  plain.Add(10, 5);
  for (const Form<CKpLineStyleBase>& form : kSubLineForms) {
    SCOPED_TRACE(form.name);
    // Two records back to back: the first read must end where the second starts.
    const Bytes bytes = Cat({form.Store(rich), form.Store(plain)});
    std::size_t at = 0;
    CKpLineStyleBase a;
    CKpLineStyleBase b;
    ASSERT_TRUE(form.Load(bytes, at, a));
    ASSERT_TRUE(form.Load(bytes, at, b));
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(RecordOf(a), RecordOf(rich));
    EXPECT_TRUE(PatternOf(a) == PatternOf(rich));
    EXPECT_EQ(RecordOf(b), RecordOf(plain));
    EXPECT_TRUE(PatternOf(b) == PatternOf(plain));
  }
}

TEST(SubLineRecords, Form2NameIsReadAndDiscarded) {
  const CKpLineStyleBase rich = RichSubLine();
  const Bytes stored = kSubLineForms[1].Store(rich);  // empty name
  CKpByteArrayEx named;
  named.Add(RecordOf(rich).data(), KP_SUBLINE_RECORD_SIZE);
  named.AddUnicode("边线 no. 1");
  const Bytes tail(stored.begin() + KP_SUBLINE_RECORD_SIZE + 4, stored.end());
  named.Add(tail.data(), static_cast<int>(tail.size()));

  for (long version : {kV10, kV2001, kV2001b}) {
    CKpLineStyleBase s;
    int pos = 0;
    ASSERT_EQ(s.LoadEx(named, pos, version), 1) << version;
    EXPECT_EQ(pos, named.GetSize());
    EXPECT_EQ(RecordOf(s), RecordOf(rich));
    EXPECT_TRUE(PatternOf(s) == PatternOf(rich));
  }
}

TEST(SubLineRecords, ReadersAppendToThePatternAndKeepTheStoredPenWord) {
  CKpLineStyleBase stored;
  stored.Add(40, 30);
  stored.m_dwPenStyle = 0x00000102;  // user nibble 0 although a pattern follows
  for (const Form<CKpLineStyleBase>& form : kSubLineForms) {
    SCOPED_TRACE(form.name);
    CKpLineStyleBase s;
    s.Add(1, 2);
    std::size_t at = 0;
    ASSERT_TRUE(form.Load(form.Store(stored), at, s));
    EXPECT_EQ(PatternOf(s).lengths, (std::vector<DWORD>{1, 2, 40, 30}));
    EXPECT_EQ(PatternOf(s).flags, (Bytes{1, 0, 1, 0}));
    EXPECT_EQ(s.m_dwPenStyle, 0x00000102u);
  }
}

TEST(SubLineRecords, EveryTruncationFailsAndLeavesTheSubLineAsItWas) {
  CKpLineStyleBase before;
  before.Add(5, 6);
  before.m_nSymbol = 77;
  for (const Form<CKpLineStyleBase>& form : kSubLineForms) {
    SCOPED_TRACE(form.name);
    const Bytes full = form.Store(RichSubLine());
    for (std::size_t len = 0; len < full.size(); ++len) {
      CKpLineStyleBase s = before;
      std::size_t at = 0;
      EXPECT_FALSE(form.Load(Bytes(full.begin(), full.begin() + len), at, s)) << len;
      EXPECT_EQ(RecordOf(s), RecordOf(before)) << len;
      EXPECT_TRUE(PatternOf(s) == PatternOf(before)) << len;
    }
  }
}

TEST(SubLineRecords, CountsTheStreamCannotHoldAreRejected) {
  struct Row {
    const char* what;
    std::uint32_t count;
    bool ok;
  };
  // After the count, 12 bytes remain: room for two entries (5 bytes each).
  const Row rows[] = {
      {"two entries fit", 2, true},
      {"three entries need 15 bytes", 3, false},
      {"negative count", 0xFFFFFFFFu, false},
      {"2^31 reads as a negative count", 0x80000000u, false},
      {"largest positive count", 0x7FFFFFFFu, false},
  };
  for (const Row& row : rows) {
    for (int form = 0; form < 3; ++form) {
      const Bytes name = form == 1 ? Le32(0) : Bytes{};
      const Bytes bytes = Cat({DefaultRecord(), name, Le32(row.count), Zeros(12)});
      CKpLineStyleBase s;
      std::size_t at = 0;
      EXPECT_EQ(kSubLineForms[form].Load(bytes, at, s), row.ok) << row.what << ", " << kSubLineForms[form].name;
    }
  }
}

// ===================== extended-attribute block =====================

TEST(ExtAttRecords, BlockIsTheTokenThenOneRecordPerPosition) {
  struct Row {
    const char* what;
    std::function<void(CKpLineStyleObjExt&)> build;
    Bytes expected;
  };
  const Row rows[] = {
      {"no attributes: one zero byte", [](CKpLineStyleObjExt&) {}, {0x00}},
      {"start and segment centre, lowest position first",
       [](CKpLineStyleObjExt& e) {
         e.SetObjExt(KP_EXT_POS_SEGMENT_CENTRE, NewExt(0x11, 0x22, -1, 0x01020304));
         e.SetObjExt(KP_EXT_POS_HEAD, NewExt(3, 6, 900, 2));
       },
       {0x09, 3, 6, 0x84, 0x03, 2, 0, 0, 0, 0x11, 0x22, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}},
      {"extra token bits travel with the block",
       [](CKpLineStyleObjExt& e) {
         e.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewExt(1, 2, 0, 10));
         e.SetObjExtToken(0xA0);
       },
       {0xB0, 1, 2, 0, 0, 10, 0, 0, 0}},
      {"extra token bits alone", [](CKpLineStyleObjExt& e) { e.SetObjExtToken(0x20); }, {0x20}},
  };
  for (const Row& row : rows) {
    CKpLineStyleObjExt ext;
    row.build(ext);
    CKpByteArrayEx a;
    EXPECT_EQ(ext.Store(a), 1);
    EXPECT_EQ(BytesOf(a), row.expected) << row.what;

    // ...and reads back to the same block, token exactly as stored.
    CKpLineStyleObjExt back;
    int pos = 0;
    ASSERT_EQ(back.Load(a, pos), 1) << row.what;
    EXPECT_EQ(pos, a.GetSize()) << row.what;
    EXPECT_EQ(Decorations(back), Decorations(ext)) << row.what;
  }
}

TEST(ExtAttRecords, ShapeZeroRecordIsConsumedAndDropped) {
  // Token: start, end and bit 5; the start's record has shape 0. A marker follows.
  const Bytes bytes = Cat({{0x23}, {4, 4, 0, 0}, Le32(0), {5, 6, 0, 0}, Le32(4), Le32(77)});
  CKpByteArrayEx a = ExFrom(bytes);
  CKpLineStyleObjExt ext;
  int pos = 0;
  ASSERT_EQ(ext.Load(a, pos), 1);
  EXPECT_EQ(pos, 17);
  EXPECT_EQ(a.GetLongAt(pos), 77);
  EXPECT_EQ(ext.GetObjExtToken(), 0x22);  // the start's bit goes with its record
  EXPECT_EQ(ext.GetObjExt(KP_EXT_POS_HEAD), nullptr);
  ASSERT_NE(ext.GetObjExt(KP_EXT_POS_TAIL), nullptr);
  EXPECT_EQ(ext.GetObjExt(KP_EXT_POS_TAIL)->nShape, 4);
  EXPECT_EQ(ext.GetCount(), 1);
}

TEST(ExtAttRecords, LoadReplacesEarlierAttributes) {
  CKpLineStyleObjExt ext;
  ext.SetObjExt(KP_EXT_POS_VERTEX, NewExt(1, 1, 0, 6));
  ext.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewExt(1, 1, 0, 7));
  ext.SetObjExtToken(0x80);
  CKpByteArrayEx a = ExFrom(Cat({{0x01}, {2, 3, 0, 0}, Le32(9)}));
  int pos = 0;
  ASSERT_EQ(ext.Load(a, pos), 1);
  EXPECT_EQ(Decorations(ext), (std::vector<long>{0x01, 0, 2, 3, 0, 9}));
}

TEST(ExtAttRecords, EveryTruncationFailsAndReleases) {
  CKpLineStyleObjExt full;
  for (long p = 0; p < KP_EXT_POS_COUNT; ++p) full.SetObjExt(p, NewExt(1, 2, 3, 4 + static_cast<int>(p)));
  full.SetObjExtToken(0xE0);
  CKpByteArrayEx stored;
  full.Store(stored);
  const Bytes bytes = BytesOf(stored);
  ASSERT_EQ(bytes.size(), 41u);
  for (std::size_t len = 0; len < bytes.size(); ++len) {
    CKpLineStyleObjExt ext;
    ext.SetObjExt(KP_EXT_POS_HEAD, NewExt(9, 9, 0, 9));
    CKpByteArrayEx a = ExFrom(Bytes(bytes.begin(), bytes.begin() + len));
    int pos = 0;
    EXPECT_EQ(ext.Load(a, pos), 0) << len;
    EXPECT_EQ(pos, 0) << len;
    EXPECT_EQ(ext.GetObjExtToken(), 0) << len;
    EXPECT_EQ(ext.GetCount(), 0) << len;
  }
}

// ===================== style records =====================

TEST(StyleRecords, ExactBytesOfEveryForm) {
  // ID 258, name "L1", an arrow (shape 2, 3 wide, 6 high) at the end, one
  // new sub-line without a pattern.
  CKpLineStyleObj s;
  s.SetID(258);
  s.SetName("L1");
  s.GetObjExt().SetObjExt(KP_EXT_POS_TAIL, NewExt(3, 6, 0, 2));
  CKpLineStyleBase sub;
  s.AddStyleBase(sub);

  const Bytes subline3 = Cat({DefaultRecord(), Le32(0)});
  const Bytes block24 = Cat({Le32(258), Zeros(16), {3, 6, 2, 2}});  // code 2: the end only
  const Bytes unicodeName = Cat({Le32(2), {'L', 0, '1', 0}});
  EXPECT_EQ(kStyleForms[2].Store(s),
            Cat({{0x02, 3, 6, 0, 0, 2, 0, 0, 0}, Le32(258), unicodeName, Le32(1), subline3}));
  EXPECT_EQ(kStyleForms[1].Store(s),
            Cat({block24, unicodeName, Le32(1), DefaultRecord(), Le32(0), Le32(0)}));
  EXPECT_EQ(kStyleForms[0].Store(s), Cat({block24, Le32(2), {'L', '1'}, Le32(1), subline3}));

  // Without attributes the form-3 block is a single zero byte.
  CKpLineStyleObj bare;
  bare.SetID(5);
  bare.SetName("");
  EXPECT_EQ(kStyleForms[2].Store(bare), Cat({{0x00}, Le32(5), Le32(0), Le32(0)}));
}

TEST(StyleRecords, OldBlockGivesTheIdAndThePlacedDecorations) {
  constexpr unsigned kStart = 1u << KP_EXT_POS_HEAD;
  constexpr unsigned kEnd = 1u << KP_EXT_POS_TAIL;
  constexpr unsigned kVertex = 1u << KP_EXT_POS_VERTEX;
  constexpr unsigned kCentre = 1u << KP_EXT_POS_SEGMENT_CENTRE;
  struct Row {
    const char* what;
    BYTE shape;
    BYTE code;
    unsigned positions;
  };
  const Row rows[] = {
      {"arrow, code 4: end and middle vertices", 2, 4, kEnd | kVertex},
      {"node shape 7, code 4: also the start", 7, 4, kStart | kEnd | kVertex},
      {"node shapes 6 and 9 bound the range", 6, 4, kStart | kEnd | kVertex},
      {"", 9, 4, kStart | kEnd | kVertex},
      {"symbol, code 4: no start", 10, 4, kEnd | kVertex},
      {"code 1: start", 2, 1, kStart},
      {"code 2: end", 200, 2, kEnd},
      {"code 3: start and end", 8, 3, kStart | kEnd},
      {"code 5: segment centres", 255, 5, kCentre},
      {"code 0: none", 2, 0, 0},
      {"code 6: none", 2, 6, 0},
      {"code 9: none", 2, 9, 0},
      {"code 255: none", 2, 255, 0},
      {"shape 0: none whatever the code", 0, 4, 0},
  };
  for (const Row& row : rows) {
    // Offsets 4..19 are never read, whatever they hold.
    Bytes block = Cat({Le32(12), Bytes(16, 0xAB), {3, 6, row.shape, row.code}});
    const Bytes form2 = Cat({block, Le32(1), {'x', 0}, Le32(0)});
    const Bytes form1 = Cat({block, Le32(1), {'x'}, Le32(0)});
    for (int form = 0; form < 2; ++form) {
      CKpLineStyleObj s;
      std::size_t at = 0;
      ASSERT_TRUE(kStyleForms[form].Load(form == 0 ? form1 : form2, at, s)) << row.what;
      EXPECT_EQ(s.GetID(), 12) << row.what;
      EXPECT_EQ(s.GetName(), "x") << row.what;
      EXPECT_EQ(s.GetObjExt().GetObjExtToken(), row.positions) << row.what << ", " << kStyleForms[form].name;
      for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
        const tagLineStyleObjExt* r = s.GetObjExt().GetObjExt(pos);
        if (r == nullptr) continue;
        EXPECT_EQ(r->byWidth, 3);
        EXPECT_EQ(r->byHeight, 6);
        EXPECT_EQ(r->nAngle, 0);
        EXPECT_EQ(r->nShape, row.shape);
      }
    }
  }
}

TEST(StyleRecords, PackIsExactOrNothingForEveryPositionSet) {
  // For each shape that fits a byte, exactly the five position sets of codes
  // 1..5 pack; every packed result unpacks to the same attributes, and every
  // other set packs to zeros.
  for (int shape : {1, 3, 6, 9, 10, 255, 256, 70000}) {
    int packable = 0;
    for (unsigned set = 0; set < 32; ++set) {
      CKpLineStyleObj s;
      for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
        if (set & (1u << pos)) s.GetObjExt().SetObjExt(pos, NewExt(7, 8, 0, shape));
      }
      const Bytes packed = Pack(s);
      if (packed == Zeros(4)) continue;
      ++packable;
      StyleProbe back;
      back.UnpackDecoration(packed.data());
      EXPECT_EQ(Decorations(back.GetObjExt()), Decorations(s.GetObjExt())) << "shape " << shape << " set " << set;
    }
    EXPECT_EQ(packable, shape <= 255 ? 5 : 0) << "shape " << shape;
  }
}

TEST(StyleRecords, AttributesThePackedFormCannotCarryPackToZeros) {
  struct Row {
    const char* what;
    std::vector<std::pair<long, tagLineStyleObjExt>> attrs;
  };
  const tagLineStyleObjExt arrow{3, 6, 0, 2};
  const tagLineStyleObjExt node{3, 6, 0, 7};
  const Row rows[] = {
      {"no attributes", {}},
      {"angle not 0", {{0, {3, 6, 10, 2}}}},
      {"widths differ", {{0, arrow}, {1, {4, 6, 0, 2}}}},
      {"heights differ", {{0, arrow}, {1, {3, 7, 0, 2}}}},
      {"shapes differ", {{0, arrow}, {1, {3, 6, 0, 3}}}},
      {"shape beyond a byte", {{0, {3, 6, 0, 256}}}},
      {"negative shape", {{0, {3, 6, 0, -1}}}},
      {"centre of the whole polyline", {{4, arrow}}},
      {"start and vertices", {{0, arrow}, {2, arrow}}},
      {"node shape at end and vertices lacks the start", {{1, node}, {2, node}}},
      {"arrow at start, end and vertices", {{0, arrow}, {1, arrow}, {2, arrow}}},
      {"end and segment centres", {{1, arrow}, {3, arrow}}},
  };
  for (const Row& row : rows) {
    CKpLineStyleObj s;
    for (const auto& [pos, rec] : row.attrs) s.GetObjExt().SetObjExt(pos, new tagLineStyleObjExt(rec));
    EXPECT_EQ(Pack(s), Zeros(4)) << row.what;
  }
}

TEST(StyleRecords, EveryFormRoundTripsExactly) {
  struct Row {
    int form;
    CKpLineStyleObj style;
  };
  const Row rows[] = {
      {0, PackableStyle()},
      {1, PackableStyle()},
      {2, PackableStyle()},
      {2, Form3Style()},  // all five positions, angles, extra token bits
  };
  for (const Row& row : rows) {
    const Form<CKpLineStyleObj>& form = kStyleForms[row.form];
    SCOPED_TRACE(form.name);
    CKpLineStyleObj second;
    second.SetID(9);
    // Two records back to back: the first read must end where the second starts.
    const Bytes bytes = Cat({form.Store(row.style), form.Store(second)});
    std::size_t at = 0;
    CKpLineStyleObj a;
    CKpLineStyleObj b;
    ASSERT_TRUE(form.Load(bytes, at, a));
    ASSERT_TRUE(form.Load(bytes, at, b));
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(Snapshot(a), Snapshot(row.style));
    EXPECT_EQ(Snapshot(b), Snapshot(second));
  }
  EXPECT_EQ(Form3Style().GetObjExt().GetObjExtToken(), 0xFF);
}

TEST(StyleRecords, EveryTruncationFailsAndLeavesTheStyleAsItWas) {
  CKpLineStyleObj before;
  before.SetID(99);
  before.SetName("keep");
  before.GetObjExt().SetObjExt(KP_EXT_POS_LINE_CENTRE, NewExt(1, 1, 0, 12));
  CKpLineStyleBase sub;
  sub.Add(3, 4);
  before.AddStyleBase(sub);
  const Bytes expected = Snapshot(before);

  for (const Form<CKpLineStyleObj>& form : kStyleForms) {
    SCOPED_TRACE(form.name);
    const Bytes full = form.Store(PackableStyle());
    for (std::size_t len = 0; len < full.size(); ++len) {
      CKpLineStyleObj s = before;
      std::size_t at = 0;
      EXPECT_FALSE(form.Load(Bytes(full.begin(), full.begin() + len), at, s)) << len;
      EXPECT_EQ(Snapshot(s), expected) << len;
    }
  }
}

TEST(StyleRecords, SubLineCountsTheStreamCannotHoldAreRejected) {
  struct Row {
    const char* what;
    std::uint32_t count;
    bool ok;
  };
  // One empty sub-line follows the count.
  const Row rows[] = {
      {"one sub-line present", 1, true},
      {"two claimed, one present", 2, false},
      {"negative count", 0xFFFFFFFFu, false},
      {"2^31 reads as a negative count", 0x80000000u, false},
      {"largest positive count", 0x7FFFFFFFu, false},
  };
  CKpLineStyleBase empty;
  for (const Row& row : rows) {
    const Bytes block = Cat({Le32(1), Zeros(20)});
    const Bytes forms[] = {
        Cat({block, Le32(0), Le32(row.count), kSubLineForms[0].Store(empty)}),
        Cat({block, Le32(0), Le32(row.count), kSubLineForms[1].Store(empty)}),
        Cat({{0x00}, Le32(1), Le32(0), Le32(row.count), kSubLineForms[2].Store(empty)}),
    };
    for (int form = 0; form < 3; ++form) {
      CKpLineStyleObj s;
      std::size_t at = 0;
      EXPECT_EQ(kStyleForms[form].Load(forms[form], at, s), row.ok) << row.what << ", " << kStyleForms[form].name;
    }
  }
}
