#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleLib.h"
#include "platform/CRecordingDC.h"

namespace {

CKpLineStyleObj Style(long id, const CString& name = "NoName") {
  CKpLineStyleObj s;
  s.SetID(id);
  s.SetName(name);
  return s;
}

// A library holding styles with the given IDs, named "S<id>", every ID filed
// in the root group, with the modified flag cleared.
void Fill(CKpLineStyleLib& lib, std::initializer_list<long> ids) {
  for (long id : ids) {
    CKpLineStyleObj s = Style(id, "S" + std::to_string(id));
    lib.AddStyleObj(s);
    lib.GetRootGroup()->AddStyleItem(id);
  }
  lib.SetModifiedFlag(FALSE);
}

std::vector<long> Ids(const CKpLineStyleLib& lib) {
  std::vector<long> ids;
  for (long i = 0; i < lib.Count(); ++i) ids.push_back(lib.GetIDAt(i));
  return ids;
}

CKpSymbol* Symbol(long id) {
  auto* s = new CKpSymbol;
  s->m_nID = id;
  return s;
}

std::vector<long> SymbolIds(const CKpLineStyleLib& lib) {
  std::vector<long> ids;
  for (long i = 0; i < lib.GetSymLib().GetSymbolCount(); ++i) ids.push_back(lib.GetSymLib().GetSymbolID(i));
  return ids;
}

// A style whose one sub-line refers to a symbol through m_nSymbol.
CKpLineStyleObj StyleUsingSymbol(long id, short symbol, short kind) {
  CKpLineStyleObj s = Style(id);
  CKpLineStyleBase b;
  b.m_nHVMode = kind;
  b.m_nSymbol = symbol;
  s.AddStyleBase(b);
  return s;
}

// A style whose head decoration is a symbol.
CKpLineStyleObj StyleWithHeadSymbol(long id, int symbol) {
  CKpLineStyleObj s = Style(id);
  auto* rec = new tagLineStyleObjExt{};
  rec->nShape = symbol;
  s.GetObjExt().SetObjExt(KP_EXT_POS_HEAD, rec);
  return s;
}

// Exposes the reader's helper for old files.
struct OldFileLib : CKpLineStyleLib {
  using CKpLineStyleLib::InitStyleGroup;
};

// --- lookup ---

TEST(StyleLibLookup, EmptyLibrary) {
  CKpLineStyleLib lib;
  EXPECT_EQ(lib.Count(), 0);
  EXPECT_EQ(lib.GetLeagalID(), 5);
  EXPECT_EQ(lib.FindID(7), -1);
  EXPECT_EQ(lib.ID2Index(7), 0);
  EXPECT_EQ(lib.SetStyle(0), nullptr);
  EXPECT_EQ(lib.SetStyleByID(0), nullptr);
  EXPECT_EQ(lib.Find("a", 0), -1);
  EXPECT_EQ(lib.Find("", 0), -1);
  EXPECT_EQ(lib.ReverseFind("", 0), -1);
  EXPECT_EQ(lib.GetIDAt(0), -1);
  EXPECT_FALSE(lib.IsModified());
  EXPECT_EQ(lib.GetRootGroup()->GetOwnerLib(), &lib);
  EXPECT_EQ(lib.GetRootGroup()->GetStyleType(), CKpLineStyleGroup::StyleIDs);
}

TEST(StyleLibLookup, BadIndexYieldsAFreshScratchStyle) {
  CKpLineStyleLib lib;
  Fill(lib, {6});
  for (long bad : {-1L, 1L, 1000L}) {
    CKpLineStyleObj& s = lib.GetStyleObj(bad);
    EXPECT_NE(&s, &lib.GetStyleObj(0)) << bad;
    EXPECT_EQ(s.GetID(), 0) << bad;  // reset: the write below did not stick
    EXPECT_EQ(s.Count(), 0) << bad;
    s.SetID(99);
    CKpLineStyleBase b;
    s.AddStyleBase(b);
  }
  EXPECT_EQ(Ids(lib), std::vector<long>{6});
  const CKpLineStyleLib& constLib = lib;
  EXPECT_EQ(constLib.GetStyleObj(5).Count(), 0);
  EXPECT_EQ(constLib.GetStyleObj(0).GetID(), 6);
  CKpLineStyleLib empty;
  EXPECT_EQ(empty.GetStyleObj(0).GetID(), 0);
  EXPECT_FALSE(lib.IsModified());
}

TEST(StyleLibLookup, LeagalIdIsTheLargestOfFiveCountAndIds) {
  struct Row {
    const char* what;
    std::vector<long> ids;
    long expected;
  };
  const Row rows[] = {
      {"largest ID wins", {3, 40, 7}, 40},
      {"count wins over small IDs", {1, 2, 2, 1, 0, 2, 1, 0}, 8},
      {"five wins over a few small IDs", {1, 2}, 5},
      {"negative IDs", {-9, -1}, 5},
  };
  for (const Row& r : rows) {
    CKpLineStyleLib lib;
    for (long id : r.ids) {
      CKpLineStyleObj s = Style(id);
      lib.AddStyleObj(s);
    }
    EXPECT_EQ(lib.GetLeagalID(), r.expected) << r.what;
  }
}

TEST(StyleLibLookup, IdLookupsTakeTheFirstMatch) {
  CKpLineStyleLib lib;
  Fill(lib, {6, 8, 6});
  EXPECT_EQ(lib.FindID(6), 0);
  EXPECT_EQ(lib.FindID(8), 1);
  EXPECT_EQ(lib.ID2Index(8), 1);
  EXPECT_EQ(lib.ID2Index(9), 0);
  EXPECT_EQ(lib.IsIDExisted(8), 1);
  EXPECT_EQ(lib.IsIDExisted(9), 0);
  EXPECT_EQ(lib.SetStyleByID(6), lib.SetStyle(0));
  EXPECT_EQ(lib.SetStyle(2), &lib.GetStyleObj(2));
  EXPECT_EQ(lib.SetStyle(3), nullptr);
  EXPECT_EQ(lib.GetIDAt(-1), -1);
}

TEST(StyleLibLookup, NameLookups) {
  CKpLineStyleLib lib;
  CKpLineStyleObj a = Style(6, "ABC"), b = Style(7, "abc"), c = Style(8, "道路");
  lib.AddStyleObj(a);
  lib.AddStyleObj(b);
  lib.AddStyleObj(c);
  lib.RemoveStyleObj(1);  // leaves ABC and 道路

  EXPECT_EQ(lib.FindByName("abc"), 0);  // case ignored
  EXPECT_EQ(lib.IsNameExisted("abc"), 0);  // case counts
  EXPECT_EQ(lib.IsNameExisted("ABC"), 1);
  EXPECT_EQ(lib.SetLineStyleByName("abc"), nullptr);
  EXPECT_EQ(lib.SetLineStyleByName("ABC"), lib.SetStyle(0));
  EXPECT_EQ(lib.FindByName("道路"), 1);
  EXPECT_EQ(lib.FindByName("道"), -1);  // whole names only
  EXPECT_EQ(lib.SetLineStyleByName("道路"), lib.SetStyle(1));
}

TEST(StyleLibLookup, FindAndReverseFind) {
  CKpLineStyleLib lib;
  for (const char* name : {"road", "River", "ROAD main", "rail", "Road end"}) {
    CKpLineStyleObj s = Style(lib.GetLeagalID() + 1, name);
    lib.AddStyleObj(s);
  }
  struct Row {
    const char* what;
    bool reverse;
    const char* text;
    long start;
    long expected;
  };
  const Row rows[] = {
      {"forward from 0", false, "road", 0, 0},
      {"forward from a match", false, "ROAD", 2, 2},
      {"forward skips earlier matches", false, "road", 3, 4},
      {"negative start counts as 0", false, "Ri", -7, 1},
      {"start at Count", false, "r", 5, -1},
      {"no match", false, "lake", 0, -1},
      {"empty text matches the start", false, "", 3, 3},
      {"reverse start 0 begins at the last", true, "road", 0, 4},
      {"reverse start 2 begins third from the end", true, "road", 2, 2},
      {"reverse start 3 skips later matches", true, "road", 3, 0},
      {"reverse negative start counts as 0", true, "rail", -1, 3},
      {"reverse start at Count", true, "r", 5, -1},
      {"reverse no match", true, "lake", 1, -1},
  };
  for (const Row& r : rows) {
    const long got = r.reverse ? lib.ReverseFind(r.text, r.start) : lib.Find(r.text, r.start);
    EXPECT_EQ(got, r.expected) << r.what;
  }
}

TEST(StyleLibLookup, FindWithCjkNames) {
  CKpLineStyleLib lib;
  for (const char* name : {"国道", "省道abc", "河流", "铁路ABC线"}) {
    CKpLineStyleObj s = Style(lib.GetLeagalID() + 1, name);
    lib.AddStyleObj(s);
  }
  struct Row {
    const char* what;
    const char* text;
    long expected;
  };
  const Row rows[] = {
      {"a whole character", "道", 0},
      {"mixed text, letters folded", "道ABC", 1},
      {"letters between characters", "路abc线", 3},
      {"character not present", "湖", -1},
      // "道" is E9 81 93; "遁" is E9 81 81: a shared lead must not match.
      {"shared lead bytes only", "遁", -1},
      // Fragments of a character do not match inside another.
      {"a lone continuation byte", "\x93", -1},
      {"a truncated character", "\xE9\x81", -1},
  };
  for (const Row& r : rows) EXPECT_EQ(lib.Find(r.text, 0), r.expected) << r.what;
  EXPECT_EQ(lib.ReverseFind("道", 0), 1);
}

// --- changes ---

TEST(StyleLibChange, InsertPositions) {
  struct Row {
    const char* what;
    bool after;
    long index;
    std::vector<long> expected;
  };
  // The library holds 6, 7, 8; the new style has ID 99.
  const Row rows[] = {
      {"insert negative goes first", false, -3, {99, 6, 7, 8}},
      {"insert in range", false, 1, {6, 99, 7, 8}},
      {"insert at Count appends", false, 3, {6, 7, 8, 99}},
      {"insert far out appends", false, 1000, {6, 7, 8, 99}},
      {"after -5 goes first", true, -5, {99, 6, 7, 8}},
      {"after 0", true, 0, {6, 99, 7, 8}},
      {"after Count-2", true, 1, {6, 7, 99, 8}},
      {"after Count-1 appends", true, 2, {6, 7, 8, 99}},
      {"after 1000 appends", true, 1000, {6, 7, 8, 99}},
  };
  for (const Row& r : rows) {
    CKpLineStyleLib lib;
    Fill(lib, {6, 7, 8});
    CKpLineStyleObj s = Style(99);
    CKpLineStyleObj& ret = r.after ? lib.InsertAfter(r.index, s) : lib.InsertStyleObj(r.index, s);
    EXPECT_EQ(&ret, &s) << r.what;  // the argument, not the stored copy
    EXPECT_EQ(Ids(lib), r.expected) << r.what;
    EXPECT_TRUE(lib.IsModified()) << r.what;
  }
}

TEST(StyleLibChange, StoredStylesAreCopies) {
  CKpLineStyleLib lib;
  CKpLineStyleObj s = Style(6, "a");
  EXPECT_EQ(&lib.AddStyleObj(s), &s);
  s.SetName("changed");
  EXPECT_EQ(lib.GetStyleObj(0).GetName(), "a");

  // A style of the library inserted into the same library.
  lib.InsertStyleObj(0, lib.GetStyleObj(0));
  lib.InsertAfter(0, lib.GetStyleObj(1));
  EXPECT_EQ(Ids(lib), (std::vector<long>{6, 6, 6}));
  EXPECT_EQ(lib.GetStyleObj(2).GetName(), "a");
}

TEST(StyleLibChange, SetStyleObjReplacesOnlyInRange) {
  CKpLineStyleLib lib;
  Fill(lib, {6, 7});
  CKpLineStyleObj s = Style(50, "new");
  EXPECT_EQ(&lib.SetStyleObj(1, s), &s);
  EXPECT_EQ(Ids(lib), (std::vector<long>{6, 50}));
  EXPECT_TRUE(lib.IsModified());
  // The tree still files the old ID: replacing does not touch it.
  EXPECT_EQ(lib.GetRootGroup()->GetItemIndex(7L), 1);

  lib.SetModifiedFlag(FALSE);
  for (long bad : {-1L, 2L, 1000L}) {
    EXPECT_EQ(&lib.SetStyleObj(bad, s), &s) << bad;
    EXPECT_EQ(Ids(lib), (std::vector<long>{6, 50})) << bad;
  }
  EXPECT_FALSE(lib.IsModified());
}

TEST(StyleLibChange, RemoveStyleObjTakesTheIdOutOfTheTree) {
  CKpLineStyleLib lib;
  Fill(lib, {6, 7, 8});
  EXPECT_EQ(lib.RemoveStyleObj(1), 1);
  EXPECT_EQ(Ids(lib), (std::vector<long>{6, 8}));
  EXPECT_FALSE(lib.GetRootGroup()->IsItemExisted(7));
  EXPECT_TRUE(lib.GetRootGroup()->IsItemExisted(8));
  EXPECT_TRUE(lib.IsModified());

  lib.SetModifiedFlag(FALSE);
  for (long bad : {-1L, lib.Count(), 1000L}) EXPECT_EQ(lib.RemoveStyleObj(bad), 0) << bad;
  EXPECT_EQ(Ids(lib), (std::vector<long>{6, 8}));
  EXPECT_FALSE(lib.IsModified());
}

TEST(StyleLibChange, RemoveAllEmptiesStylesSymbolsAndTree) {
  CKpLineStyleLib lib;
  Fill(lib, {6, 7});
  lib.GetRootGroup()->SetName("Root");
  lib.GetRootGroup()->CreateSubGroup("sub");
  lib.AddSymbol(Symbol(0));
  lib.SetName("keep");
  lib.m_lReserved = 42;
  lib.SetModifiedFlag(FALSE);

  EXPECT_EQ(lib.RemoveAll(), 1);
  EXPECT_EQ(lib.Count(), 0);
  EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetItemCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetSubGroupCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetName(), "");
  EXPECT_EQ(lib.GetName(), "keep");
  EXPECT_EQ(lib.m_lReserved, 42);
  EXPECT_TRUE(lib.IsModified());

  // Without styles the flag stays, though symbols are still dropped.
  lib.AddSymbol(Symbol(0));
  lib.SetModifiedFlag(FALSE);
  EXPECT_EQ(lib.RemoveAll(), 1);
  EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), 0);
  EXPECT_FALSE(lib.IsModified());
}

// --- moving ---

TEST(StyleLibMove, MovesAndTheirResults) {
  struct Row {
    const char* what;
    std::function<long(CKpLineStyleLib&)> op;
    long result;
    std::vector<long> order;
    bool modified;
  };
  // The library holds 6, 7, 8, 9.
  const Row rows[] = {
      {"GoUp in range", [](CKpLineStyleLib& l) { return l.GoUp(2); }, 1, {6, 8, 7, 9}, true},
      {"GoUp of 0", [](CKpLineStyleLib& l) { return l.GoUp(0); }, 0, {6, 7, 8, 9}, false},
      {"GoUp of Count", [](CKpLineStyleLib& l) { return l.GoUp(4); }, 0, {6, 7, 8, 9}, false},
      {"GoDown in range", [](CKpLineStyleLib& l) { return l.GoDown(0); }, 1, {7, 6, 8, 9}, true},
      {"GoDown of Count-1", [](CKpLineStyleLib& l) { return l.GoDown(3); }, 3, {6, 7, 8, 9}, true},
      {"GoDown of -1", [](CKpLineStyleLib& l) { return l.GoDown(-1); }, 3, {6, 7, 8, 9}, true},
      {"GoTop of 3", [](CKpLineStyleLib& l) { return l.GoTop(3); }, 0, {9, 6, 7, 8}, true},
      {"GoTop of 0", [](CKpLineStyleLib& l) { return l.GoTop(0); }, 0, {6, 7, 8, 9}, true},
      {"GoTop of Count", [](CKpLineStyleLib& l) { return l.GoTop(4); }, 0, {6, 7, 8, 9}, true},
      {"GoBottom of 1", [](CKpLineStyleLib& l) { return l.GoBottom(1); }, 3, {6, 8, 9, 7}, true},
      {"GoBottom of Count-1", [](CKpLineStyleLib& l) { return l.GoBottom(3); }, 3, {6, 7, 8, 9}, true},
  };
  for (const Row& r : rows) {
    CKpLineStyleLib lib;
    Fill(lib, {6, 7, 8, 9});
    EXPECT_EQ(r.op(lib), r.result) << r.what;
    EXPECT_EQ(Ids(lib), r.order) << r.what;
    EXPECT_EQ(static_cast<bool>(lib.IsModified()), r.modified) << r.what;
  }
}

TEST(StyleLibMove, TopAndBottomUnfileTheMovedId) {
  CKpLineStyleLib lib;
  Fill(lib, {6, 7, 8, 9});
  lib.GoTop(3);
  EXPECT_EQ(lib.GetIDAt(0), 9);
  EXPECT_EQ(lib.GetRootGroup()->GetGroupWithItemID(9L), nullptr);
  lib.GoBottom(1);
  EXPECT_EQ(lib.GetIDAt(3), 6);
  EXPECT_EQ(lib.GetRootGroup()->GetGroupWithItemID(6L), nullptr);
  // Up and down leave the tree alone.
  lib.GoUp(2);
  lib.GoDown(0);
  EXPECT_EQ(lib.GetRootGroup()->GetItemCount(), 2);
}

TEST(StyleLibMove, EmptyLibrary) {
  CKpLineStyleLib lib;
  EXPECT_EQ(lib.GoUp(0), 0);
  EXPECT_EQ(lib.GoDown(0), -1);
  EXPECT_EQ(lib.GoTop(0), 0);
  EXPECT_EQ(lib.GoBottom(0), -1);
  EXPECT_EQ(lib.Count(), 0);
}

// --- symbols ---

TEST(StyleLibSymbols, AddSymbolIdRules) {
  CKpLineStyleLib lib;
  struct Row {
    const char* what;
    long given;
    long expected;
  };
  // Run in order on one library.
  const Row rows[] = {
      {"first symbol of an empty library", 0, 10},
      {"next after the last", 3, 11},
      {"a larger own ID is kept", 50, 50},
      {"raised past the new last", 12, 51},
  };
  for (const Row& r : rows) {
    lib.SetModifiedFlag(FALSE);
    EXPECT_EQ(lib.AddSymbol(Symbol(r.given)), r.expected) << r.what;
    EXPECT_TRUE(lib.IsModified()) << r.what;
  }
  EXPECT_EQ(SymbolIds(lib), (std::vector<long>{10, 11, 50, 51}));

  lib.SetModifiedFlag(FALSE);
  EXPECT_EQ(lib.AddSymbol(nullptr), -1);
  EXPECT_FALSE(lib.IsModified());
}

TEST(StyleLibSymbols, RemoveSymbolRefusedWhileUsed) {
  struct Row {
    const char* what;
    CKpLineStyleObj user;
  };
  const Row rows[] = {
      {"sub-line of a symbol kind", StyleUsingSymbol(6, 10, 47)},
      {"sub-line of a kind that draws no symbol", StyleUsingSymbol(6, 10, 0)},
      {"extended attribute", StyleWithHeadSymbol(6, 10)},
  };
  for (const Row& r : rows) {
    CKpLineStyleLib lib;
    lib.AddSymbol(Symbol(10));
    CKpLineStyleObj user = r.user;
    lib.AddStyleObj(user);
    lib.SetModifiedFlag(FALSE);
    EXPECT_EQ(lib.IsUsedByExtAtt(10), 1) << r.what;
    EXPECT_EQ(lib.RemoveSymbol(10), 0) << r.what;
    EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), 1) << r.what;
    EXPECT_FALSE(lib.IsModified()) << r.what;

    lib.RemoveStyleObj(0);
    lib.SetModifiedFlag(FALSE);
    EXPECT_EQ(lib.IsUsedByExtAtt(10), 0) << r.what;
    EXPECT_NE(lib.RemoveSymbol(10), 0) << r.what;
    EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), 0) << r.what;
    EXPECT_TRUE(lib.IsModified()) << r.what;
    EXPECT_EQ(lib.RemoveSymbol(10), 0) << r.what;  // no longer there
  }
}

TEST(StyleLibSymbols, CompactSymLibDropsRunsOfUnusedSymbols) {
  struct Row {
    const char* what;
    std::vector<long> used;
    std::vector<long> kept;
  };
  // Symbols 10..16 exist; the styles use the listed ones.
  const Row rows[] = {
      {"unused runs at start, middle and end", {13, 16}, {13, 16}},
      {"all unused", {}, {}},
      {"all used", {10, 11, 12, 13, 14, 15, 16}, {10, 11, 12, 13, 14, 15, 16}},
      {"a used ID that is not a symbol", {99, 12}, {12}},
  };
  for (const Row& r : rows) {
    CKpLineStyleLib lib;
    for (long id = 10; id <= 16; ++id) lib.AddSymbol(Symbol(id));
    for (size_t k = 0; k < r.used.size(); ++k) {
      CKpLineStyleObj s = k % 2 ? StyleWithHeadSymbol(static_cast<long>(k) + 6, static_cast<int>(r.used[k]))
                                : StyleUsingSymbol(static_cast<long>(k) + 6, static_cast<short>(r.used[k]), 48);
      lib.AddStyleObj(s);
    }
    lib.SetModifiedFlag(FALSE);
    lib.CompactSymLib();
    EXPECT_EQ(SymbolIds(lib), r.kept) << r.what;
    EXPECT_EQ(static_cast<bool>(lib.IsModified()), r.kept.size() != 7) << r.what;
  }
}

// --- drawing period, old files, messages ---

TEST(StyleLibDrawing, KeepAndStoreSwitchAntiAliasing) {
  CKpLineStyleLib lib;
  // The module's engine remembers the last DC it was given: keep this one
  // alive for the rest of the run.
  static CRecordingDC dc;
  gLineStyleEngine.SetClearSawtooth(0);
  lib.KeepLineStyleDC(&dc);
  EXPECT_EQ(gLineStyleEngine.m_pDC, &dc);
  EXPECT_EQ(gLineStyleEngine.GetClearSawtooth(), 1);
  gLineStyleEngine.SetRatio(3.0);
  lib.StoreLineStyleDC(nullptr);
  EXPECT_EQ(gLineStyleEngine.GetClearSawtooth(), 0);
  EXPECT_EQ(gLineStyleEngine.GetRatio(), 1.0);  // handed back
}

TEST(StyleLibOldFile, InitStyleGroupFilesStylesAndLocksFixedWidths) {
  OldFileLib lib;
  CKpLineStyleObj s = Style(6);
  CKpLineStyleBase fixed, varying;
  fixed.m_nWidthType = 0;
  fixed.m_nWidth = 1;
  fixed.m_nCurWidth = 2;
  fixed.m_nVarWidth = 7;
  varying = fixed;
  varying.m_nWidthType = 1;
  s.AddStyleBase(fixed);
  s.AddStyleBase(varying);
  lib.AddStyleObj(s);
  CKpLineStyleObj t = Style(9);
  lib.AddStyleObj(t);

  EXPECT_EQ(lib.InitStyleGroup(), 1);
  CKpLineStyleGroup* root = lib.GetRootGroup();
  EXPECT_EQ(root->GetName(), "RootGroup");
  ASSERT_EQ(root->GetItemCount(), 2);
  EXPECT_EQ(root->GetItemID(0), 6);
  EXPECT_EQ(root->GetItemID(1), 9);
  const CKpLineStyleBase& f = lib.GetStyleObj(0).GetStyleBase(0);
  EXPECT_EQ(f.m_nWidth, 7);
  EXPECT_EQ(f.m_nCurWidth, 7);
  EXPECT_TRUE(f.GetWidthLock());
  const CKpLineStyleBase& v = lib.GetStyleObj(0).GetStyleBase(1);
  EXPECT_EQ(v.m_nWidth, 1);
  EXPECT_EQ(v.m_nCurWidth, 2);
  EXPECT_FALSE(v.GetWidthLock());

  OldFileLib empty;
  EXPECT_EQ(empty.InitStyleGroup(), 1);
  EXPECT_EQ(empty.GetRootGroup()->GetName(), "");
}

TEST(StyleLibMessages, CallbackReceivesMessages) {
  std::vector<CString> got;
  CKpLineStyleLib::SetMessageCallback([&got](const CString& text) { got.push_back(text); });
  CKpLineStyleLib::ReportMessage("版本不对");
  CKpLineStyleLib::SetMessageCallback(nullptr);
  EXPECT_EQ(got, std::vector<CString>{"版本不对"});

  testing::internal::CaptureStderr();
  CKpLineStyleLib::ReportMessage("to stderr");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
}

// --- copying (through the file writer and reader) ---

// A library with a sub-group, a used and an unused symbol, and unsorted items.
void FillForCopy(CKpLineStyleLib& lib) {
  lib.SetName("源库");
  lib.m_lReserved = 77;
  lib.AddSymbol(Symbol(0));   // 10, used
  lib.AddSymbol(Symbol(0));   // 11, unused
  CKpLineStyleObj a = StyleUsingSymbol(9, 10, 47);
  a.SetName("甲");
  CKpLineStyleObj b = Style(7, "乙");
  CKpLineStyleObj c = Style(8, "丙");
  lib.AddStyleObj(a);
  lib.AddStyleObj(b);
  lib.AddStyleObj(c);
  lib.GetRootGroup()->SetName("Root");
  lib.GetRootGroup()->AddStyleItem(9);
  lib.GetRootGroup()->AddStyleItem(7);
  lib.GetRootGroup()->CreateSubGroup("sub")->AddStyleItem(8);
}

void ExpectCopyOf(const CKpLineStyleLib& copy, const char* what) {
  EXPECT_EQ(copy.GetName(), "源库") << what;
  EXPECT_EQ(copy.m_lReserved, 77) << what;
  EXPECT_EQ(Ids(copy), (std::vector<long>{9, 7, 8})) << what;
  EXPECT_EQ(copy.GetStyleObj(0).GetName(), "甲") << what;
  ASSERT_EQ(copy.GetStyleObj(0).Count(), 1) << what;
  EXPECT_EQ(copy.GetStyleObj(0).GetElementAt(0)->m_nSymbol, 10) << what;
  EXPECT_EQ(SymbolIds(copy), std::vector<long>{10}) << what;
  CKpLineStyleGroup* root = copy.GetRootGroup();
  EXPECT_EQ(root->GetOwnerLib(), &copy) << what;
  EXPECT_EQ(root->GetName(), "Root") << what;
  ASSERT_EQ(root->GetItemCount(), 2) << what;
  EXPECT_EQ(root->GetItemID(0), 7) << what;  // sorted by the store
  EXPECT_EQ(root->GetItemID(1), 9) << what;
  ASSERT_EQ(root->GetSubGroupCount(), 1) << what;
  EXPECT_EQ(root->SubGroup(0L)->GetOwnerLib(), &copy) << what;
  EXPECT_EQ(root->SubGroup(0L)->GetItemID(0), 8) << what;
}

TEST(StyleLibCopy, CopiesAreDeepAndIndependent) {
  CKpLineStyleLib src;
  FillForCopy(src);
  src.SetModifiedFlag(TRUE);

  CKpLineStyleLib assigned;
  Fill(assigned, {100, 101});
  assigned = src;
  ExpectCopyOf(assigned, "assigned");
  EXPECT_TRUE(assigned.IsModified());

  CKpLineStyleLib constructed(src);
  ExpectCopyOf(constructed, "copy-constructed");
  EXPECT_FALSE(constructed.IsModified());

  // The source was compacted, sorted and stored.
  EXPECT_EQ(SymbolIds(src), std::vector<long>{10});
  EXPECT_EQ(src.GetRootGroup()->GetItemID(0), 7);
  EXPECT_FALSE(src.IsModified());

  // Changes to one leave the others alone.
  src.GetStyleObj(0).SetName("changed");
  src.GetRootGroup()->SubGroup(0L)->SetName("renamed");
  src.RemoveStyleObj(1);
  assigned.RemoveAll();
  ExpectCopyOf(constructed, "after changing the others");
  EXPECT_EQ(src.GetStyleObj(0).GetName(), "changed");
  EXPECT_EQ(src.GetRootGroup()->GetOwnerLib(), &src);
}

TEST(StyleLibCopy, SelfCopyChangesNothing) {
  CKpLineStyleLib lib;
  FillForCopy(lib);
  lib.SetModifiedFlag(FALSE);
  lib.CopyFrom(lib);
  CKpLineStyleLib& alias = lib;
  lib = alias;
  EXPECT_EQ(Ids(lib), (std::vector<long>{9, 7, 8}));
  EXPECT_EQ(SymbolIds(lib), (std::vector<long>{10, 11}));  // not even compacted
  EXPECT_EQ(lib.GetRootGroup()->GetItemID(0), 9);          // nor sorted
  EXPECT_FALSE(lib.IsModified());
}

TEST(StyleLibCopy, CopyOfAnEmptyLibrary) {
  CKpLineStyleLib empty;
  CKpLineStyleLib lib;
  FillForCopy(lib);
  lib = empty;
  EXPECT_EQ(lib.Count(), 0);
  EXPECT_EQ(lib.GetName(), "");
  EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetSubGroupCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetOwnerLib(), &lib);
  EXPECT_TRUE(lib.IsModified());
}

TEST(StyleLibCopy, LoadedTreeBelongsToTheLoadingLibrary) {
  // The reader builds a fresh library and moves its content over: the moved
  // groups must point at the library they now live in, and the tree must
  // resolve items against it.
  CKpLineStyleLib src;
  FillForCopy(src);
  CKpByteArrayEx stream;
  src.StoreEx(stream);

  CKpLineStyleLib lib;
  ASSERT_EQ(lib.LoadEx(stream), 1);
  CKpLineStyleGroup* sub = lib.GetRootGroup()->SubGroup(0L);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetOwnerLib(), &lib);
  EXPECT_EQ(sub->GetItemName(0), "丙");
  // Removing through the tree removes from this library.
  EXPECT_EQ(sub->RemoveStyleItem(0, TRUE), 1);
  EXPECT_EQ(Ids(lib), (std::vector<long>{9, 7}));
  EXPECT_EQ(Ids(src), (std::vector<long>{9, 7, 8}));
}

}  // namespace
