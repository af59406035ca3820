#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "companions/CKpByteArrayEx.h"
#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"

namespace {

// A library holding one style per (id, name), in that order.
std::unique_ptr<CKpLineStyleLib> MakeLib(std::initializer_list<std::pair<long, const char*>> styles) {
  auto lib = std::make_unique<CKpLineStyleLib>();
  for (const auto& [id, name] : styles) {
    CKpLineStyleObj s;
    s.SetID(id);
    s.SetName(name);
    lib->AddStyleObj(s);
  }
  return lib;
}

std::vector<long> Items(const CKpLineStyleGroup& g) {
  std::vector<long> out;
  for (long i = 0; i < g.GetItemCount(); ++i) out.push_back(g.GetItemID(i));
  return out;
}

std::vector<CString> SubNames(const CKpLineStyleGroup& g) {
  std::vector<CString> out;
  for (long i = 0; i < g.GetSubGroupCount(); ++i) out.push_back(g.SubGroup(i)->GetName());
  return out;
}

// Expected record bytes, built item by item.
struct Bytes {
  std::vector<unsigned char> b;
  Bytes& I32(std::int32_t v) {
    for (int s = 0; s < 32; s += 8) b.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(v) >> s));
    return *this;
  }
  Bytes& Str(const CString& s) {
    I32(static_cast<std::int32_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
};

CKpByteArrayEx StreamOf(const std::vector<unsigned char>& b) {
  CKpByteArrayEx s;
  s.Add(b.data(), static_cast<int>(b.size()));
  return s;
}

std::vector<unsigned char> BytesOf(const CKpByteArrayEx& s) {
  return std::vector<unsigned char>(s.GetData(), s.GetData() + s.GetSize());
}

// A chain of `levels` nested one-group records ("g"), as bytes.
std::vector<unsigned char> ChainRecord(int levels) {
  Bytes out;
  for (int i = 0; i < levels; ++i) out.Str("g").I32(2).I32(i + 1 < levels ? 1 : 0);
  for (int i = 0; i < levels; ++i) out.I32(0);
  return out.b;
}

// --- items ---

TEST(GroupTreeItems, AddStyleItemKeepsOneIdPerTreeAndOnlyKnownIds) {
  auto lib = MakeLib({{10, "a"}, {11, "b"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* sub = root->CreateSubGroup("S");
  ASSERT_EQ(root->AddStyleItem(10), 1);

  EXPECT_EQ(sub->AddStyleItem(10), 1);  // filed in the root already
  EXPECT_EQ(sub->AddStyleItem(99), 1);  // no such style
  EXPECT_EQ(Items(*sub), std::vector<long>{});
  EXPECT_EQ(sub->AddStyleItem(11), 1);
  EXPECT_EQ(Items(*sub), std::vector<long>{11});
  EXPECT_EQ(Items(*root), std::vector<long>{10});

  struct Row {
    CKpLineStyleGroup::StyleType type;
    bool owned;
    int result;
  };
  const Row rows[] = {
      {CKpLineStyleGroup::StyleAccepted, true, 1},  // accepted, not stored
      {CKpLineStyleGroup::StyleNone, true, 0},      // refused
      {CKpLineStyleGroup::StyleIDs, false, 1},      // no library to check against: not stored
  };
  for (const Row& r : rows) {
    CKpLineStyleGroup g;
    g.SetStyleType(r.type);
    if (r.owned) g.SetOwnerLib(lib.get());
    EXPECT_EQ(g.AddStyleItem(11), r.result) << r.type;
    EXPECT_EQ(g.GetItemCount(), 0) << r.type;
  }
}

TEST(GroupTreeItems, RemoveStyleItemMovesUpOrDeletes) {
  auto lib = MakeLib({{10, "a"}, {11, "b"}, {12, "c"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* sub = root->CreateSubGroup("S");
  root->AddStyleItem(10);
  sub->AddStyleItem(11);
  sub->AddStyleItem(12);

  EXPECT_EQ(root->RemoveStyleItem(0, FALSE), 0);  // the root has nowhere to move it
  EXPECT_EQ(Items(*root), std::vector<long>{10});
  EXPECT_EQ(sub->RemoveStyleItem(2, FALSE), 0);  // out of range
  EXPECT_EQ(sub->RemoveStyleItem(-1, TRUE), 0);

  EXPECT_EQ(sub->RemoveStyleItem(0, FALSE), 1);
  EXPECT_EQ(Items(*sub), std::vector<long>{12});
  EXPECT_EQ(Items(*root), (std::vector<long>{10, 11}));
  EXPECT_EQ(lib->Count(), 3);

  EXPECT_EQ(sub->RemoveStyleItem(0, TRUE), 1);
  EXPECT_EQ(sub->GetItemCount(), 0);
  EXPECT_EQ(lib->FindID(12), -1);
  EXPECT_EQ(lib->Count(), 2);

  // An item whose style is gone is still removed, but reports 0.
  root->SetItemID(0, 77);  // the first item now names a style the library lacks
  EXPECT_EQ(root->RemoveStyleItem(0, TRUE), 0);
  EXPECT_EQ(Items(*root), std::vector<long>{11});
  EXPECT_EQ(lib->Count(), 2);

  CKpLineStyleGroup typeless;
  typeless.SetOwnerLib(lib.get());
  EXPECT_EQ(typeless.RemoveStyleItem(0, TRUE), 0);
}

TEST(GroupTreeItems, ItemIdAndName) {
  auto lib = MakeLib({{10, "first"}, {11, "second"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->AddStyleItem(11);
  root->AddStyleItem(10);

  EXPECT_EQ(root->GetItemID(2), -1);
  EXPECT_EQ(root->GetItemID(-1), -1);
  EXPECT_FALSE(root->SetItemID(0, 10));  // false although it changed the item
  EXPECT_EQ(root->GetItemID(0), 10);
  EXPECT_FALSE(root->SetItemID(5, 10));
  root->SetItemID(0, 11);

  EXPECT_EQ(root->GetItemName(0), "second");
  EXPECT_EQ(root->GetItemName(2), "");
  EXPECT_TRUE(root->SetItemName(1, "renamed"));
  EXPECT_EQ(lib->GetStyleObj(0).GetName(), "renamed");
  EXPECT_FALSE(root->SetItemName(2, "x"));

  // An ID the library no longer holds reads as the style at index 0, but
  // renaming it must not rename that stand-in.
  root->SetItemID(0, 99);
  EXPECT_EQ(root->GetItemName(0), "renamed");
  EXPECT_FALSE(root->SetItemName(0, "wrong"));
  EXPECT_EQ(lib->GetStyleObj(0).GetName(), "renamed");

  // Other types have no names; renaming them is accepted and does nothing.
  root->SetStyleType(CKpLineStyleGroup::StyleAccepted);
  EXPECT_EQ(root->GetItemName(1), "");
  EXPECT_TRUE(root->SetItemName(1, "x"));
  EXPECT_EQ(lib->GetStyleObj(0).GetName(), "renamed");
  root->SetStyleType(CKpLineStyleGroup::StyleIDs);

  // An empty library has no style to name.
  auto empty = MakeLib({});
  CKpLineStyleGroup* eroot = empty->GetRootGroup();
  CKpByteArrayEx s = StreamOf(Bytes().Str("R").I32(2).I32(0).I32(1).I32(5).b);
  int pos = 0;
  ASSERT_EQ(eroot->Load(s, pos), 1);
  EXPECT_EQ(eroot->GetItemName(0), "");
}

TEST(GroupTreeItems, TextSearchWrapsAround) {
  auto lib = MakeLib({{1, "xab"}, {2, "y"}, {3, "AB"}, {4, "z"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  for (long id : {1, 2, 3, 4}) root->AddStyleItem(id);

  struct Row {
    const char* text;
    long start;
    long expected;
  };
  const Row rows[] = {
      {"ab", 3, 0},   // index 3 misses, the search goes on from 0
      {"ab", 1, 2},   // first match at or after start
      {"Ab", 0, 0},   // case-insensitive
      {"q", 0, -1},   // nowhere
      {"z", 3, 3},    // start itself is searched
      {"ab", -4, 0},  // a negative start counts as 0
      {"y", 99, 1},   // a start past the end searches everything
  };
  for (const Row& r : rows) EXPECT_EQ(root->GetItemIndex(r.text, r.start), r.expected) << r.text << " " << r.start;
  EXPECT_EQ(root->GetItemIndex(3), 2);
  EXPECT_EQ(root->GetItemIndex(9), -1);
}

TEST(GroupTreeItems, Moves) {
  using Move = bool (*)(CKpLineStyleGroup&, long);
  const Move top = [](CKpLineStyleGroup& g, long i) { return g.MoveItemToTop(i); };
  const Move up = [](CKpLineStyleGroup& g, long i) { return g.MoveItemToUp(i); };
  const Move down = [](CKpLineStyleGroup& g, long i) { return g.MoveItemToDown(i); };
  const Move bottom = [](CKpLineStyleGroup& g, long i) { return g.MoveItemToBottom(i); };
  struct Row {
    Move move;
    long index;
    bool moved;
    std::vector<long> after;
  };
  const Row rows[] = {
      {top, 2, true, {3, 1, 2, 4}},
      {top, 0, false, {1, 2, 3, 4}},  // already first
      {up, 3, true, {1, 2, 4, 3}},
      {up, 0, false, {1, 2, 3, 4}},
      {down, 0, true, {2, 1, 3, 4}},
      {down, 3, false, {1, 2, 3, 4}},  // already last
      {bottom, 1, true, {1, 3, 4, 2}},
      {bottom, 3, false, {1, 2, 3, 4}},  // already last
      {bottom, -1, false, {1, 2, 3, 4}},
      {top, 4, false, {1, 2, 3, 4}},  // past the end
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    auto lib = MakeLib({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}});
    CKpLineStyleGroup* root = lib->GetRootGroup();
    for (long id : {1, 2, 3, 4}) root->AddStyleItem(id);
    EXPECT_EQ(rows[i].move(*root, rows[i].index), rows[i].moved) << "row " << i;
    EXPECT_EQ(Items(*root), rows[i].after) << "row " << i;
  }
}

TEST(GroupTreeItems, SortItemSortsEveryGroup) {
  auto lib = MakeLib({{9, "a"}, {3, "b"}, {7, "c"}, {19, "d"}, {13, "e"}, {17, "f"}, {29, "g"}, {23, "h"}, {27, "i"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  CKpLineStyleGroup* b = a->CreateSubGroup("B");
  for (long id : {9, 3, 7}) root->AddStyleItem(id);
  for (long id : {19, 13, 17}) a->AddStyleItem(id);
  for (long id : {29, 23, 27}) b->AddStyleItem(id);
  root->SortItem();
  EXPECT_EQ(Items(*root), (std::vector<long>{3, 7, 9}));
  EXPECT_EQ(Items(*a), (std::vector<long>{13, 17, 19}));
  EXPECT_EQ(Items(*b), (std::vector<long>{23, 27, 29}));
}

// --- names and navigation ---

TEST(GroupTreeNames, SetNameAndCreateSubGroup) {
  auto lib = MakeLib({});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  root->CreateSubGroup("B");

  EXPECT_EQ(root->CreateSubGroup("A"), nullptr);
  CKpLineStyleGroup* unnamed = root->CreateSubGroup("");
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(a->GetParentGroup(), root);
  EXPECT_EQ(a->GetOwnerLib(), lib.get());
  EXPECT_EQ(a->GetStyleType(), CKpLineStyleGroup::StyleIDs);

  struct Row {
    const char* name;
    int result;
    const char* after;
  };
  const Row rows[] = {
      {"A", 0, "A"},  // its own name is taken by itself
      {"", 0, "A"},   // empty
      {"B", 0, "A"},  // a sibling's
      {"a", 1, "a"},  // names are case-sensitive
      {"C", 1, "C"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(a->SetName(r.name), r.result) << r.name;
    EXPECT_EQ(a->GetName(), r.after) << r.name;
  }
  EXPECT_EQ(root->SubGroup("C"), a);
  EXPECT_EQ(root->SubGroup("A"), nullptr);
  EXPECT_EQ(root->SubGroup(3), nullptr);
  EXPECT_EQ(root->SubGroup(-1), nullptr);
  EXPECT_TRUE(root->IsSubGroupExisted("B"));
  EXPECT_FALSE(root->IsSubGroupExisted("b"));

  // A root has no siblings; only empty and unchanged names are refused.
  EXPECT_EQ(root->SetName("C"), 1);
  EXPECT_EQ(root->SetName("C"), 0);
  EXPECT_EQ(root->SetName(""), 0);
}

TEST(GroupTreeLookup, TreeWideLookupsClimbToTheRoot) {
  auto lib = MakeLib({{1, "red line"}, {2, "blue line"}, {3, "dash"}, {4, "green dash"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  CKpLineStyleGroup* a1 = a->CreateSubGroup("A1");
  CKpLineStyleGroup* b = root->CreateSubGroup("B");
  root->AddStyleItem(3);
  a1->AddStyleItem(2);
  b->AddStyleItem(1);
  b->AddStyleItem(4);

  EXPECT_EQ(b->GetGroupWithItemID(2), a1);  // found from a sibling branch
  EXPECT_EQ(a1->GetGroupWithItemID(3), root);
  EXPECT_EQ(root->GetGroupWithItemID(9), nullptr);
  EXPECT_EQ(a1->GetGroupWithItemID("DASH"), root);  // own items before sub-groups
  EXPECT_EQ(root->GetGroupWithItemID("line"), a1);  // sub-groups in list order
  EXPECT_EQ(root->GetGroupWithItemID("green"), b);
  EXPECT_EQ(root->GetGroupWithItemID("purple"), nullptr);
  EXPECT_TRUE(a1->IsItemExisted(4));
  EXPECT_FALSE(a1->IsItemExisted(5));

  EXPECT_TRUE(root->SetID(4, 40));
  EXPECT_EQ(Items(*b), (std::vector<long>{1, 40}));
  EXPECT_FALSE(root->SetID(4, 41));
  EXPECT_EQ(root->RemoveID(2), 1);
  EXPECT_EQ(a1->GetItemCount(), 0);
  EXPECT_EQ(root->RemoveID(2), 0);
}

// --- structure ---

TEST(GroupTreeStructure, RemoveChildGroupKeepingContents) {
  auto lib = MakeLib({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->CreateSubGroup("B");
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  root->CreateSubGroup("Z");
  root->AddStyleItem(1);
  a->AddStyleItem(3);
  a->AddStyleItem(2);
  CKpLineStyleGroup* ab = a->CreateSubGroup("B");  // collides with the root's B
  CKpLineStyleGroup* aa = a->CreateSubGroup("A");  // named like the removed group
  CKpLineStyleGroup* ac = a->CreateSubGroup("C");  // no collision
  ab->AddStyleItem(4);
  ab->CreateSubGroup("deep");

  EXPECT_EQ(root->RemoveChildGroup(3, FALSE), 0);
  EXPECT_EQ(root->RemoveChildGroup(1, FALSE), 1);
  EXPECT_EQ(SubNames(*root), (std::vector<CString>{"B", "Z", "B-A", "A", "C"}));
  EXPECT_EQ(Items(*root), (std::vector<long>{1, 3, 2}));
  for (CKpLineStyleGroup* g : {ab, aa, ac}) EXPECT_EQ(g->GetParentGroup(), root);
  EXPECT_EQ(Items(*ab), std::vector<long>{4});
  EXPECT_EQ(ab->GetSubGroupCount(), 1);
  EXPECT_EQ(lib->Count(), 4);
}

TEST(GroupTreeStructure, RemoveChildGroupDeletingContents) {
  auto lib = MakeLib({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->AddStyleItem(1);
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  CKpLineStyleGroup* keep = root->CreateSubGroup("K");
  a->AddStyleItem(2);
  a->AddStyleItem(3);
  CKpLineStyleGroup* inner = a->CreateSubGroup("I");
  inner->AddStyleItem(4);
  inner->SetDeleteOption(false);  // deleting with contents deletes every level regardless
  inner->CreateSubGroup("J");
  keep->AddStyleItem(5);

  EXPECT_EQ(root->RemoveChildGroup(0, TRUE), 1);
  EXPECT_EQ(SubNames(*root), std::vector<CString>{"K"});
  EXPECT_EQ(lib->Count(), 2);
  EXPECT_EQ(lib->GetIDAt(0), 1);
  EXPECT_EQ(lib->GetIDAt(1), 5);
  EXPECT_EQ(Items(*root), std::vector<long>{1});
  EXPECT_EQ(Items(*keep), std::vector<long>{5});
}

TEST(GroupTreeStructure, RemoveAllAndTheDeleteOption) {
  auto lib = MakeLib({{1, "a"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetName("R");
  root->AddStyleItem(1);
  CKpLineStyleGroup* kept = root->CreateSubGroup("taken over");
  EXPECT_FALSE(root->SetDeleteOption(false));
  EXPECT_EQ(root->RemoveAll(), 1);
  EXPECT_EQ(root->GetSubGroupCount(), 0);
  EXPECT_EQ(root->GetItemCount(), 0);
  EXPECT_EQ(root->GetName(), "");
  EXPECT_EQ(kept->GetName(), "taken over");  // still alive: whoever took it deletes it
  delete kept;
  root->SetDeleteOption(true);
}

TEST(GroupTreeStructure, AppendMergesByName) {
  auto lib = MakeLib({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetName("Root");
  CKpLineStyleGroup* x = root->CreateSubGroup("X");
  x->AddStyleItem(1);

  // Other's tree has no library: only the receiving tree's is consulted.
  CKpLineStyleGroup other;
  Bytes rec;
  rec.Str("Root").I32(2).I32(2)
      .Str("X").I32(2).I32(1)
          .Str("Y").I32(2).I32(0).I32(1).I32(4)
      .I32(2).I32(1).I32(2)  // 1 is filed already
      .Str("N").I32(2).I32(0).I32(1).I32(99)  // no such style
      .I32(2).I32(3).I32(5);
  CKpByteArrayEx s = StreamOf(rec.b);
  int pos = 0;
  ASSERT_EQ(other.Load(s, pos), 1);

  EXPECT_EQ(root->Append(nullptr), 0);
  EXPECT_EQ(root->Append(&other), 1);
  EXPECT_EQ(Items(*root), (std::vector<long>{3, 5}));
  EXPECT_EQ(SubNames(*root), (std::vector<CString>{"X", "N"}));
  EXPECT_EQ(Items(*x), (std::vector<long>{1, 2}));
  ASSERT_NE(x->SubGroup("Y"), nullptr);
  EXPECT_EQ(Items(*x->SubGroup("Y")), std::vector<long>{4});
  EXPECT_EQ(x->SubGroup("Y")->GetOwnerLib(), lib.get());
  EXPECT_EQ(root->SubGroup("N")->GetItemCount(), 0);

  // A differently named tree becomes a sub-group of that name.
  other.SetName("Other");
  EXPECT_EQ(root->Append(&other), 1);
  EXPECT_EQ(SubNames(*root), (std::vector<CString>{"X", "N", "Other"}));
  EXPECT_EQ(SubNames(*root->SubGroup("Other")), (std::vector<CString>{"X", "N"}));
  EXPECT_EQ(root->SubGroup("Other")->GetItemCount(), 0);  // every ID is filed already
}

TEST(GroupTreeStructure, AppendOfAnOverlappingTreeEnds) {
  auto lib = MakeLib({{1, "a"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetName("R");
  CKpLineStyleGroup* s = root->CreateSubGroup("S");
  root->AddStyleItem(1);

  EXPECT_EQ(root->Append(root), 1);  // merging a tree into itself changes nothing
  EXPECT_EQ(SubNames(*root), std::vector<CString>{"S"});
  EXPECT_EQ(s->Append(root), 1);  // an ancestor: one copy of it, taken before the merge
  EXPECT_EQ(SubNames(*s), std::vector<CString>{"R"});
  EXPECT_EQ(SubNames(*s->SubGroup("R")), std::vector<CString>{"S"});
  EXPECT_EQ(s->SubGroup("R")->SubGroup("S")->GetSubGroupCount(), 0);
  EXPECT_EQ(Items(*root), std::vector<long>{1});
}

TEST(GroupTreeStructure, SetOwnerLibDeepReachesEveryLevel) {
  auto lib = MakeLib({});
  CKpLineStyleGroup root;
  CKpLineStyleGroup* leaf = root.CreateSubGroup("a")->CreateSubGroup("b");
  root.CreateSubGroup("c");
  root.SetOwnerLibDeep(lib.get());
  EXPECT_EQ(leaf->GetOwnerLib(), lib.get());
  EXPECT_EQ(root.SubGroup("c")->GetOwnerLib(), lib.get());
}

TEST(GroupTreeStructure, DeepTreeBuiltInMemoryNeedsNoDeepStack) {
  // Far deeper than any recursion would survive; every walk is iterative.
  constexpr int kLevels = 200000;
  auto lib = MakeLib({{1, "a"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  CKpLineStyleGroup* g = root;
  for (int i = 0; i < kLevels; ++i) g = g->CreateSubGroup("g");
  EXPECT_EQ(g->AddStyleItem(1), 1);
  EXPECT_EQ(root->GetGroupWithItemID(1), g);
  root->SortItem();
  CKpByteArrayEx s;
  root->Store(s);
  // The unnamed root, the "g" records, one item.
  EXPECT_EQ(s.GetSize(), static_cast<long>(16 + kLevels * 17 + 4));
  CKpLineStyleGroup copy;
  int pos = 0;
  EXPECT_EQ(copy.Load(s, pos), 0);  // too deep to read back
  EXPECT_EQ(root->RemoveChildGroup(0, TRUE), 1);
  EXPECT_EQ(lib->Count(), 0);
}

// --- record ---

TEST(GroupTreeRecord, BytesOfASmallTree) {
  auto lib = MakeLib({{3, "a"}, {5, "b"}, {7, "c"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetName("Root");
  CKpLineStyleGroup* s = root->CreateSubGroup("S");
  root->CreateSubGroup("");
  root->AddStyleItem(5);
  root->AddStyleItem(3);
  s->AddStyleItem(7);
  CKpByteArrayEx out;
  out.Add(0x11223344L);  // a record is appended to what the stream holds
  EXPECT_EQ(root->Store(out), 1);

  Bytes expected;
  expected.I32(0x11223344)
      .Str("Root").I32(2).I32(2)           // name, type, two sub-groups
      .Str("S").I32(2).I32(0).I32(1).I32(7)  // S: no sub-groups, one item
      .Str("").I32(2).I32(0).I32(0)        // unnamed, empty
      .I32(2).I32(5).I32(3);               // the root's items, in list order
  EXPECT_EQ(BytesOf(out), expected.b);
}

TEST(GroupTreeRecord, NestedTreeRoundTrip) {
  auto lib = MakeLib({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {-5, "e"}});
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetName("根");
  CKpLineStyleGroup* first = root->CreateSubGroup("first");
  CKpLineStyleGroup* nested = first->CreateSubGroup("nested");
  CKpLineStyleGroup* second = root->CreateSubGroup("second");
  root->AddStyleItem(-5);
  first->AddStyleItem(1);
  nested->AddStyleItem(3);
  nested->AddStyleItem(2);
  second->AddStyleItem(4);
  CKpByteArrayEx s;
  root->Store(s);
  s.Add(0x7EADBEEFL);  // whatever follows the record

  auto into = MakeLib({});
  CKpLineStyleGroup* back = into->GetRootGroup();
  int pos = 0;
  ASSERT_EQ(back->Load(s, pos), 1);
  EXPECT_EQ(pos, s.GetSize() - 4);
  EXPECT_EQ(s.GetLongAt(pos), 0x7EADBEEFL);
  EXPECT_EQ(back->GetName(), "根");
  EXPECT_EQ(Items(*back), std::vector<long>{-5});
  ASSERT_EQ(SubNames(*back), (std::vector<CString>{"first", "second"}));
  CKpLineStyleGroup* f = back->SubGroup(0L);
  EXPECT_EQ(Items(*f), std::vector<long>{1});
  EXPECT_EQ(f->GetParentGroup(), back);
  EXPECT_EQ(f->GetOwnerLib(), into.get());
  ASSERT_EQ(SubNames(*f), std::vector<CString>{"nested"});
  EXPECT_EQ(Items(*f->SubGroup(0L)), (std::vector<long>{3, 2}));
  EXPECT_EQ(f->SubGroup(0L)->GetParentGroup(), f);
  EXPECT_EQ(f->SubGroup(0L)->GetOwnerLib(), into.get());
  EXPECT_EQ(Items(*back->SubGroup(1L)), std::vector<long>{4});

  // Written again, the bytes are the same.
  CKpByteArrayEx again;
  back->Store(again);
  EXPECT_EQ(BytesOf(again), std::vector<unsigned char>(s.GetData(), s.GetData() + s.GetSize() - 4));
}

TEST(GroupTreeRecord, EveryTruncationFailsCleanly) {
  Bytes rec;
  rec.Str("Root").I32(2).I32(2)
      .Str("A").I32(2).I32(1)
          .Str("AA").I32(1).I32(0).I32(2).I32(8).I32(9)
      .I32(1).I32(7)
      .Str("B").I32(0).I32(0).I32(0)
      .I32(3).I32(1).I32(2).I32(3);
  for (size_t len = 0; len < rec.b.size(); ++len) {
    CKpByteArrayEx s = StreamOf(std::vector<unsigned char>(rec.b.begin(), rec.b.begin() + static_cast<long>(len)));
    auto lib = MakeLib({});
    CKpLineStyleGroup* g = lib->GetRootGroup();
    g->SetName("old");
    g->CreateSubGroup("old sub");
    int pos = 0;
    EXPECT_EQ(g->Load(s, pos), 0) << len;
    EXPECT_EQ(pos, 0) << len;
    EXPECT_EQ(g->GetName(), "") << len;
    EXPECT_EQ(g->GetSubGroupCount(), 0) << len;
    EXPECT_EQ(g->GetItemCount(), 0) << len;
    EXPECT_EQ(g->GetStyleType(), CKpLineStyleGroup::StyleIDs) << len;
  }
  CKpByteArrayEx whole = StreamOf(rec.b);
  CKpLineStyleGroup g;
  int pos = 0;
  EXPECT_EQ(g.Load(whole, pos), 1);
  EXPECT_EQ(pos, static_cast<int>(rec.b.size()));
  EXPECT_EQ(g.SubGroup(1L)->GetStyleType(), CKpLineStyleGroup::StyleNone);
}

TEST(GroupTreeRecord, NestingLimit) {
  struct Row {
    int levels;
    int result;
  };
  const Row rows[] = {
      {KP_GROUP_MAX_DEPTH, 1},      // the root and 255 levels below it
      {KP_GROUP_MAX_DEPTH + 1, 0},  // one more
  };
  for (const Row& r : rows) {
    CKpByteArrayEx s = StreamOf(ChainRecord(r.levels));
    CKpLineStyleGroup g;
    int pos = 0;
    EXPECT_EQ(g.Load(s, pos), r.result) << r.levels;
    int depth = 0;
    for (const CKpLineStyleGroup* p = &g; p != nullptr; p = p->SubGroup(0L)) ++depth;
    EXPECT_EQ(depth, r.result ? r.levels : 1) << r.levels;
  }
}

TEST(GroupTreeRecord, CountsTheBytesCannotHoldAreRefused) {
  struct Row {
    const char* what;
    std::vector<unsigned char> bytes;
  };
  const Row rows[] = {
      {"2^31-1 items", Bytes().Str("R").I32(2).I32(0).I32(0x7FFFFFFF).I32(1).I32(2).b},
      {"2^31 items (negative as i32)", Bytes().Str("R").I32(2).I32(0).I32(INT32_MIN).I32(1).b},
      {"-1 items", Bytes().Str("R").I32(2).I32(0).I32(-1).b},
      {"3 items, 2 present", Bytes().Str("R").I32(2).I32(0).I32(3).I32(1).I32(2).b},
      {"2^31-1 sub-groups", Bytes().Str("R").I32(2).I32(0x7FFFFFFF).Str("").I32(2).I32(0).I32(0).I32(0).b},
      {"negative sub-groups", Bytes().Str("R").I32(2).I32(-2).I32(0).b},
      {"name longer than the stream", Bytes().I32(0x7FFFFFFF).I32(2).b},
  };
  for (const Row& r : rows) {
    CKpByteArrayEx s = StreamOf(r.bytes);
    CKpLineStyleGroup g;
    int pos = 0;
    EXPECT_EQ(g.Load(s, pos), 0) << r.what;
    EXPECT_EQ(pos, 0) << r.what;
    EXPECT_EQ(g.GetItemCount(), 0) << r.what;
    EXPECT_EQ(g.GetSubGroupCount(), 0) << r.what;
  }
}

TEST(GroupTreeRecord, LoadIgnoresAFailureFlagSetBefore) {
  CKpByteArrayEx s = StreamOf(Bytes().Str("R").I32(2).I32(0).I32(1).I32(6).b);
  int bad = -1;
  s.GetLongAt(bad);  // an earlier failed read of the caller
  ASSERT_TRUE(s.IsFailed());
  CKpLineStyleGroup g;
  int pos = 0;
  EXPECT_EQ(g.Load(s, pos), 1);
  EXPECT_EQ(Items(g), std::vector<long>{6});
}

}  // namespace
