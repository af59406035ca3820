#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "format/KpLittleEndian.h"
#include "format/KpSubLineRecord.h"
#include "model/CKpLineStyleLib.h"

namespace {

// A sub-line with a pattern and some of every field, so that round trips
// have something to lose.
CKpLineStyleBase RichSubLine(short kind, short symbol = 0) {
  CKpLineStyleBase s;
  s.Add(12, 4);
  s.Add(3, 4);
  s.m_nHVMode = kind;
  s.m_nHVLength = 5;
  s.m_nSymbol = symbol;
  s.SetFont("DejaVu Sans");
  s.m_dwReserved1 = 0xA5A5A5A5;
  s.m_dwFlags = 0x80000002;
  return s;
}

CKpSymbol* Symbol(long id) {
  auto* sym = new CKpSymbol;
  sym->m_nID = id;
  sym->m_strName = "sym" + std::to_string(id);
  return sym;
}

// A library with three styles, a nested group tree, a used and an unused symbol.
void Fill(CKpLineStyleLib& lib) {
  lib.SetName("测试库");
  lib.m_lReserved = 0x01020304;
  for (long id : {40, 7, 12}) {
    CKpLineStyleObj style;
    style.SetID(id);
    style.SetName("style " + std::to_string(id));
    CKpLineStyleBase a = RichSubLine(0), b = RichSubLine(47, id == 12 ? 10 : 0);
    style.AddStyleBase(a);
    style.AddStyleBase(b);
    if (id == 7) style.GetObjExt().SetObjExt(1, new tagLineStyleObjExt{8, 6, 0, 2});
    lib.AddStyleObj(style);
  }
  lib.AddSymbol(Symbol(0));  // 10, used by style 12
  lib.AddSymbol(Symbol(0));  // 11, unused
  CKpLineStyleGroup* root = lib.GetRootGroup();
  root->SetName("全部");
  CKpLineStyleGroup* roads = root->CreateSubGroup("roads");
  roads->CreateSubGroup("minor")->AddStyleItem(12);
  roads->AddStyleItem(40);
  root->AddStyleItem(7);
}

std::vector<BYTE> Bytes(const CKpByteArrayEx& s) { return {s.GetData(), s.GetData() + s.GetSize()}; }

// The whole content of a library as bytes of the current writer (on a copy,
// since storing compacts and sorts).
std::vector<BYTE> Content(const CKpLineStyleLib& lib) {
  CKpLineStyleLib copy(lib);
  CKpByteArrayEx s;
  copy.StoreEx(s);
  return Bytes(s);
}

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

TEST(LibraryFile, EmptyLibraryLayout) {
  CKpLineStyleLib lib;
  lib.SetName("N");
  CKpByteArrayEx s;
  EXPECT_EQ(lib.StoreEx(s), 1);
  CKpByteArrayEx symbols;
  CKpSymLib().StoreEx(symbols);
  std::vector<BYTE> expected;
  auto word = [&](long v) {
    BYTE b[4];
    kp::PutI32(b, static_cast<std::int32_t>(v));
    expected.insert(expected.end(), b, b + 4);
  };
  word(KP_LSL_MAGIC);
  word(20031017);
  word(0);  // library word
  word(0), word(2), word(0), word(0);  // root group: empty name, type 2, no sub-groups, no items
  word(symbols.GetSize());
  expected.insert(expected.end(), symbols.GetData(), symbols.GetData() + symbols.GetSize());
  word(1), expected.push_back('N'), expected.push_back(0);  // the name in UTF-16
  word(0);  // no styles
  EXPECT_EQ(Bytes(s), expected);

  CKpLineStyleLib back;
  EXPECT_EQ(back.LoadEx(s), 1);
  EXPECT_EQ(back.GetName(), "N");
  EXPECT_EQ(back.Count(), 0);
}

TEST(LibraryFile, SaveAndLoadKeepEverythingButUnusedSymbols) {
  CKpLineStyleLib lib;
  Fill(lib);
  lib.SetModifiedFlag(TRUE);
  const std::string path = TempPath("round.lsl");
  ASSERT_EQ(lib.SaveToFile(path), 1);
  EXPECT_TRUE(lib.IsModified());  // saving leaves the flag as it was

  CKpLineStyleLib back;
  ASSERT_EQ(back.LoadFromFile(path), 1);
  EXPECT_TRUE(back.IsModified());
  EXPECT_EQ(back.GetName(), "测试库");
  EXPECT_EQ(back.m_lReserved, 0x01020304);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetIDAt(0), 40);
  EXPECT_EQ(back.GetIDAt(1), 7);
  EXPECT_EQ(back.GetStyleObj(1).GetObjExt().GetObjExt(1)->nShape, 2);
  EXPECT_EQ(back.GetStyleObj(0).GetStyleBase(0).m_dwReserved1, 0xA5A5A5A5u);
  EXPECT_EQ(back.GetSymLib().GetSymbolCount(), 1);  // the unused symbol is dropped
  EXPECT_EQ(back.GetSymLib().GetSymbolID(0), 10);
  CKpLineStyleGroup* roads = back.GetRootGroup()->SubGroup("roads");
  ASSERT_NE(roads, nullptr);
  EXPECT_EQ(roads->SubGroup("minor")->GetItemID(0), 12);
  EXPECT_EQ(back.GetRootGroup()->GetName(), "全部");
  EXPECT_EQ(Content(back), Content(lib));
  std::remove(path.c_str());
}

TEST(LibraryFile, OldVersionsRoundTripWithinWhatTheyHold) {
  CKpLineStyleLib lib;
  Fill(lib);
  {
    // Version 1.0: no group tree (one root group of all styles), no symbols.
    CKpByteArray old;
    EXPECT_GT(lib.Store(old), 8);
    CKpLineStyleLib back;
    EXPECT_GT(back.Load(old), 0);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.GetStyleObj(2).GetID(), 12);
    EXPECT_EQ(back.GetStyleObj(1).GetObjExt().GetObjExt(1)->nShape, 2);  // packed decoration
    EXPECT_EQ(back.GetStyleObj(0).GetStyleBase(1).m_dwReserved1, 0xA5A5A5A5u);
    // Read through the reader of all versions, the styles get a root group.
    CKpByteArrayEx ex;
    ex.Add(old.GetData(), static_cast<int>(old.GetSize()));
    CKpLineStyleLib viaEx;
    EXPECT_EQ(viaEx.LoadEx(ex), 1);
    EXPECT_EQ(viaEx.GetRootGroup()->GetName(), "RootGroup");
    EXPECT_EQ(viaEx.GetRootGroup()->GetItemCount(), 3);
  }
  {
    // Labelled 20010614: group tree and styles, read back by both readers.
    CKpByteArrayEx s30;
    EXPECT_EQ(lib.StoreEx30(s30), 1);
    int pos = 4;
    EXPECT_EQ(s30.GetLongAt(pos), 20010614);
    CKpLineStyleLib back;
    EXPECT_EQ(back.LoadEx30(s30), 1);
    EXPECT_TRUE(back.IsModified());
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.GetRootGroup()->SubGroup("roads")->GetItemID(0), 40);
    EXPECT_EQ(back.GetStyleObj(1).GetObjExt().GetObjExt(1)->nShape, 2);
    CKpLineStyleLib viaEx;
    EXPECT_EQ(viaEx.LoadEx(s30), 1);
    EXPECT_FALSE(viaEx.IsModified());
  }
  {
    // The 3.0 reader refuses the current version.
    CKpByteArrayEx current;
    lib.StoreEx(current);
    CKpLineStyleLib back;
    EXPECT_EQ(back.LoadEx30(current), 0);
  }
}

// Version 20010228 by hand: no group tree; fixed-width sub-lines come back
// width-locked with their fixed width as their own.
TEST(LibraryFile, Version20010228GetsARootGroup) {
  CKpLineStyleObj style;
  style.SetID(9);
  CKpLineStyleBase fixed;
  fixed.m_nWidthType = 0;
  fixed.m_nVarWidth = 6;
  style.AddStyleBase(fixed);
  CKpByteArrayEx s;
  s.Add(KP_LSL_MAGIC);
  s.Add(20010228);
  s.Add(77);
  s.AddUnicode("old");
  s.Add(1);
  style.StoreEx20(s);
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.LoadEx(s), 1);
  EXPECT_EQ(lib.m_lReserved, 77);
  EXPECT_EQ(lib.GetName(), "old");
  EXPECT_EQ(lib.GetRootGroup()->GetName(), "RootGroup");
  EXPECT_EQ(lib.GetRootGroup()->GetItemID(0), 9);
  const CKpLineStyleBase& sub = lib.GetStyleObj(0).GetStyleBase(0);
  EXPECT_TRUE(sub.GetWidthLock());
  EXPECT_EQ(sub.m_nWidth, 6);
  EXPECT_EQ(sub.m_nCurWidth, 6);
}

TEST(LibraryFile, FailedLoadsKeepTheLibrary) {
  CKpLineStyleLib lib;
  Fill(lib);
  lib.SetModifiedFlag(FALSE);
  const std::vector<BYTE> before = Content(lib);

  struct Row {
    const char* what;
    std::vector<long> words;
  };
  const Row rows[] = {
      {"too short", {KP_LSL_MAGIC}},
      {"wrong magic", {0x12345678, 20031017, 0}},
      {"unknown version", {KP_LSL_MAGIC, 20020202, 0, 0}},
      // 2^31-1 styles claimed in a few bytes: refused at once.
      {"huge style count", {KP_LSL_MAGIC, 20010228, 0, 0, 0x7FFFFFFF}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpByteArrayEx s;
    for (long w : r.words) s.Add(w);
    EXPECT_EQ(lib.LoadEx(s), 0);
    EXPECT_EQ(lib.LoadEx30(s), 0);
    EXPECT_FALSE(lib.IsModified());
    EXPECT_EQ(Content(lib), before);
  }

  // A version-1.0 stream with another second word: the host's message, -2.
  std::vector<CString> messages;
  CKpLineStyleLib::SetMessageCallback([&](const CString& m) { messages.push_back(m); });
  CKpByteArray old;
  old.WriteLong(KP_LSL_MAGIC);
  old.WriteLong(3);
  EXPECT_EQ(lib.Load(old), -2);
  EXPECT_EQ(messages.size(), 1u);
  CKpLineStyleLib::SetMessageCallback(nullptr);
  EXPECT_EQ(Content(lib), before);
  EXPECT_EQ(lib.LoadFromFile(TempPath("no-such-dir/none.lsl")), 0);
  EXPECT_EQ(Content(lib), before);
}

// Every prefix of a valid stream of each version fails cleanly and changes nothing.
TEST(LibraryFile, EveryTruncationFailsCleanly) {
  CKpLineStyleLib source;
  Fill(source);
  CKpByteArrayEx current, v30;
  source.StoreEx(current);
  source.StoreEx30(v30);
  CKpByteArray v10;
  source.Store(v10);

  CKpLineStyleLib lib;
  lib.SetName("keep");
  const std::vector<BYTE> before = Content(lib);
  for (const CKpByteArrayEx* full : {&current, &v30}) {
    for (long n = 0; n < full->GetSize(); ++n) {
      CKpByteArrayEx cut;
      cut.Add(full->GetData(), static_cast<int>(n));
      ASSERT_EQ(lib.LoadEx(cut), 0) << n;
    }
  }
  for (long n = 0; n < v10.GetSize(); ++n) {
    CKpByteArray cut;
    cut.Write(v10.GetData(), static_cast<unsigned long>(n));
    ASSERT_LT(lib.Load(cut), 0) << n;
  }
  EXPECT_EQ(Content(lib), before);
  EXPECT_EQ(lib.GetName(), "keep");
}

TEST(LibraryFile, AppendMergesStylesAndRenumbersSymbols) {
  auto styleWith = [](long id, const char* name, short symbol) {
    CKpLineStyleObj s;
    s.SetID(id);
    s.SetName(name);
    CKpLineStyleBase sub = RichSubLine(47, symbol);
    s.AddStyleBase(sub);
    return s;
  };
  CKpLineStyleLib other;
  {
    CKpLineStyleObj a = styleWith(7, "incoming 7", 10), b = styleWith(30, "incoming 30", 11);
    other.AddStyleObj(a);
    other.AddStyleObj(b);
    other.AddSymbol(Symbol(10));
    other.AddSymbol(Symbol(11));
  }
  CKpByteArrayEx stream;
  other.StoreEx(stream);

  struct Row {
    const char* what;
    BOOL overwrite;
    long lastSymbol;  // 0: this library has no symbols
    std::vector<long> ids;
    const char* nameOf7;
    short symbolOf30;
  };
  const Row rows[] = {
      // Without overwrite the existing 7 stays; 30 comes in with its symbol moved 10 -> 16.
      {"keep, symbols after 15", FALSE, 15, {7, 8, 30}, "own 7", 17},
      // With overwrite the incoming 7 replaces the old one at the end.
      {"overwrite", TRUE, 15, {8, 7, 30}, "incoming 7", 17},
      // No symbols here: 10 and 11 become 11 and 12.
      {"no symbols here", FALSE, 0, {7, 8, 30}, "own 7", 12},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleLib lib;
    CKpLineStyleObj own7 = styleWith(7, "own 7", 0), own8 = styleWith(8, "own 8", 0);
    lib.AddStyleObj(own7);
    lib.AddStyleObj(own8);
    if (r.lastSymbol) lib.AddSymbol(Symbol(r.lastSymbol));
    lib.SetModifiedFlag(FALSE);
    ASSERT_EQ(lib.AppendEx(stream, r.overwrite), 1);
    EXPECT_TRUE(lib.IsModified());
    std::vector<long> ids;
    for (long i = 0; i < lib.Count(); ++i) ids.push_back(lib.GetIDAt(i));
    EXPECT_EQ(ids, r.ids);
    EXPECT_EQ(lib.SetStyleByID(7)->GetName(), r.nameOf7);
    EXPECT_EQ(lib.SetStyleByID(30)->GetStyleBase(0).m_nSymbol, r.symbolOf30);
    EXPECT_GE(lib.GetSymLib().FindID(r.symbolOf30), 0);
  }

  // A stream that is not a library merges nothing.
  CKpLineStyleLib lib;
  CKpByteArrayEx junk;
  junk.Add(1);
  EXPECT_EQ(lib.AppendEx(junk, TRUE), 0);
  EXPECT_EQ(lib.Count(), 0);
}

TEST(LibraryFile, SaveNeverDestroysTheOldFile) {
  CKpLineStyleLib lib;
  Fill(lib);
  const std::string path = TempPath("keep.lsl");
  ASSERT_EQ(lib.SaveToFile(path), 1);
  std::ifstream in(path, std::ios::binary);
  const std::string first((std::istreambuf_iterator<char>(in)), {});

  // The target is a folder: the rename fails, 0 is returned, no temporary is left.
  const std::string folder = TempPath("a-folder.lsl");
  ::mkdir(folder.c_str(), 0755);
  EXPECT_EQ(lib.SaveToFile(folder), 0);
  // A folder that does not exist.
  EXPECT_EQ(lib.SaveToFile(TempPath("missing/x.lsl")), 0);
  ::rmdir(folder.c_str());

  // The first file is still whole and loads.
  CKpLineStyleLib back;
  EXPECT_EQ(back.LoadFromFile(path), 1);
  EXPECT_EQ(back.Count(), 3);
  std::remove(path.c_str());
}

}  // namespace

namespace {

// Version 20010614 by hand: a group tree, form-2 sub-lines with names of
// their own, and packed decorations of each placement code.
TEST(LibraryFile, Version20010614ByHand) {
  struct Packed {
    long id;
    BYTE width, height, shape, code;
    std::vector<long> positions;  // where attributes must come back
  };
  const std::vector<Packed> styles = {
      {11, 4, 5, 1, 1, {0}},        // code 1: start
      {12, 4, 5, 2, 2, {1}},        // code 2: end
      {13, 4, 5, 3, 3, {0, 1}},     // code 3: both ends
      {14, 4, 5, 4, 4, {1, 2}},     // code 4 with an arrow: end and vertices
      {15, 4, 5, 8, 4, {0, 1, 2}},  // code 4 with a node shape: also the start
      {16, 4, 5, 9, 5, {3}},        // code 5: segment centres
      {17, 4, 5, 2, 9, {}},         // an unknown code: none
      {18, 4, 5, 0, 1, {}},         // shape 0: none
  };
  CKpByteArrayEx s;
  s.Add(KP_LSL_MAGIC);
  s.Add(20010614);
  s.Add(5);
  // Root group "root" (type 2) with one sub-group "a" holding 12; the root holds 11.
  s.Add(CString("root"));
  s.Add(2);
  s.Add(1);
  s.Add(CString("a"));
  s.Add(2);
  s.Add(0);
  s.Add(1);
  s.Add(12);
  s.Add(1);
  s.Add(11);
  s.AddUnicode("v3");
  s.Add(static_cast<long>(styles.size()));
  for (const Packed& p : styles) {
    BYTE block[24] = {};
    kp::PutI32(block, static_cast<std::int32_t>(p.id));
    block[20] = p.width, block[21] = p.height, block[22] = p.shape, block[23] = p.code;
    s.Add(block, 24);
    s.AddUnicode("style " + std::to_string(p.id));
    s.Add(1);  // one sub-line, form 2: record, its own name, pattern
    CKpLineStyleBase sub;
    sub.Add(6, 2);
    BYTE record[KP_SUBLINE_RECORD_SIZE];
    kp::EncodeSubLineRecord(sub, record);
    s.Add(record, KP_SUBLINE_RECORD_SIZE);
    s.AddUnicode("sub-line name, read and dropped");
    s.Add(2);
    s.Add(6);
    s.Add(2);
    const BYTE flags[2] = {1, 0};
    s.Add(flags, 2);
  }
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.LoadEx(s), 1);
  EXPECT_EQ(lib.GetName(), "v3");
  EXPECT_EQ(lib.m_lReserved, 5);
  EXPECT_EQ(lib.GetRootGroup()->GetName(), "root");
  EXPECT_EQ(lib.GetRootGroup()->GetItemID(0), 11);
  EXPECT_EQ(lib.GetRootGroup()->SubGroup("a")->GetItemID(0), 12);
  ASSERT_EQ(lib.Count(), static_cast<long>(styles.size()));
  for (size_t i = 0; i < styles.size(); ++i) {
    SCOPED_TRACE(styles[i].id);
    const CKpLineStyleObj& style = lib.GetStyleObj(static_cast<long>(i));
    EXPECT_EQ(style.GetID(), styles[i].id);
    EXPECT_EQ(style.GetElementAt(0)->GetAt(0), 6);
    std::vector<long> positions;
    for (long pos = 0; pos < 5; ++pos) {
      const tagLineStyleObjExt* rec = style.GetObjExt().GetObjExt(pos);
      if (rec == nullptr) continue;
      positions.push_back(pos);
      EXPECT_EQ(rec->nShape, styles[i].shape);
      EXPECT_EQ(rec->byWidth, 4);
      EXPECT_EQ(rec->byHeight, 5);
    }
    EXPECT_EQ(positions, styles[i].positions);
  }
}

}  // namespace
