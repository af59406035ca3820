#include <gtest/gtest.h>

#include "model/CKpLineStyleObj.h"

namespace {

CKpLineStyleBase SubLine(short curWidth, short mode = 0, short symbol = 0) {
  CKpLineStyleBase s;
  s.m_nCurWidth = curWidth;
  s.m_nHVMode = mode;
  s.m_nSymbol = symbol;
  return s;
}

tagLineStyleObjExt* Ext(int shape) {
  auto* r = new tagLineStyleObjExt{};
  r->nShape = shape;
  return r;
}

TEST(LineStyleObj, NewStyle) {
  CKpLineStyleObj o;
  EXPECT_EQ(o.GetID(), 0);
  EXPECT_EQ(o.GetName(), "NoName");
  EXPECT_EQ(o.Count(), 0);
  EXPECT_EQ(o.GetLineWidth(), 1);
  EXPECT_EQ(o.GetFirstColor(), 0);
  EXPECT_EQ(o.CanProcessCrossroad(), 0);
  EXPECT_EQ(o.GetObjExt().GetObjExtToken(), 0);
}

TEST(LineStyleObj, LineWidthIsTheWidestCurrentWidth) {
  struct Row {
    const char* what;
    std::initializer_list<short> widths;
    short expected;
  };
  const Row rows[] = {
      {"rising", {3, 7}, 7},
      {"falling", {7, 3}, 7},
      {"single zero is not raised to 1", {0}, 0},
      {"negative first", {-5, -2}, -2},
      {"none", {}, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleObj o;
    for (short w : r.widths) {
      CKpLineStyleBase s = SubLine(w);
      o.AddStyleBase(s);
    }
    EXPECT_EQ(o.GetLineWidth(), r.expected);
  }
}

TEST(LineStyleObj, SubLineListOperations) {
  CKpLineStyleObj o;
  CKpLineStyleBase a = SubLine(1), b = SubLine(2), c = SubLine(3);
  EXPECT_EQ(&o.AddStyleBase(a), &a);  // returns the argument
  o.AddStyleBase(b);
  o.InsertBaseAt(2, c);  // Count: appends
  o.InsertBaseAt(4, c);  // Count + 1: ignored
  o.InsertBaseAt(-1, c);
  ASSERT_EQ(o.Count(), 3);
  o.InsertBaseAt(0, c);
  ASSERT_EQ(o.Count(), 4);
  EXPECT_EQ(o.GetStyleBase(0).m_nCurWidth, 3);
  EXPECT_EQ(o.GetStyleBase(1).m_nCurWidth, 1);

  EXPECT_EQ(o.RemoveLineStyleBase(0), 3);
  EXPECT_EQ(o.RemoveLineStyleBase(3), 3);  // out of range: unchanged
  o.RemoveAt(-1);
  EXPECT_EQ(o.Count(), 3);

  CKpLineStyleBase d = SubLine(9);
  o.SetStyleBase(1, d);
  EXPECT_EQ(o.GetBaseAt(1).m_nCurWidth, 9);
  o.SetElementAt(5, d);  // ignored
  o.GetElementAt(2)->m_nCurWidth = 11;  // edit in place
  EXPECT_EQ(o.GetStyleBase(2).m_nCurWidth, 11);
  EXPECT_EQ(o.GetElementAt(3), nullptr);
  EXPECT_EQ(o.GetElementAt(-1), nullptr);

  // A bad index never reaches the list.
  o.GetStyleBase(7).m_nCurWidth = 99;
  EXPECT_EQ(o.GetLineWidth(), 11);
  EXPECT_EQ(o.GetBaseAt(42).m_nCurWidth, 1);

  o.GetObjExt().SetObjExt(0, Ext(1));
  EXPECT_EQ(o.RemoveAll(), 1);
  EXPECT_EQ(o.Count(), 0);
  EXPECT_EQ(o.GetObjExt().GetObjExtToken(), 0);
}

TEST(LineStyleObj, FirstColorAndRepairFlags) {
  CKpLineStyleObj o;
  CKpLineStyleBase s;
  s.m_clrCurrent = RGB(1, 2, 3);
  o.AddStyleBase(s);
  o.AddStyleBase(s);
  EXPECT_EQ(o.GetFirstColor(), static_cast<long>(RGB(1, 2, 3)));
  o.SetHorizRepair(TRUE);
  o.SetVertRepair(TRUE);
  for (long i = 0; i < o.Count(); ++i) {
    EXPECT_TRUE(o.GetStyleBase(i).GetHorizRepair());
    EXPECT_TRUE(o.GetStyleBase(i).GetVertRepair());
  }
  o.SetHorizRepair(FALSE);
  EXPECT_FALSE(o.GetStyleBase(1).GetHorizRepair());
  EXPECT_TRUE(o.GetStyleBase(1).GetVertRepair());
}

TEST(LineStyleObj, CrossroadNeedsPlainCentredLockedLinesWithoutDecorations) {
  auto make = [] {
    CKpLineStyleObj o;
    CKpLineStyleBase s;
    s.SetWidthLock(TRUE);
    o.AddStyleBase(s);
    o.AddStyleBase(s);
    return o;
  };
  EXPECT_EQ(make().CanProcessCrossroad(), 1);

  struct Row {
    const char* what;
    void (*spoil)(CKpLineStyleObj&);
  };
  const Row rows[] = {
      {"one sub-line", [](CKpLineStyleObj& o) { o.RemoveAt(1); }},
      {"vertical offset", [](CKpLineStyleObj& o) { o.GetStyleBase(1).m_nVertOffset = 2; }},
      {"decoration kind", [](CKpLineStyleObj& o) { o.GetStyleBase(0).m_nHVMode = 1; }},
      {"width not locked", [](CKpLineStyleObj& o) { o.GetStyleBase(1).SetWidthLock(FALSE); }},
      {"extended attribute", [](CKpLineStyleObj& o) { o.GetObjExt().SetObjExt(4, Ext(6)); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleObj o = make();
    r.spoil(o);
    EXPECT_EQ(o.CanProcessCrossroad(), 0);
  }
}

TEST(LineStyleObj, SymbolUseAndRenumbering) {
  CKpLineStyleObj o;
  CKpLineStyleBase plain = SubLine(1, 0, 12);
  o.AddStyleBase(plain);
  EXPECT_EQ(o.IsUsedSymbol(12), 1);  // any kind counts
  EXPECT_EQ(o.IsUsedSymbol(13), 0);

  CKpLineStyleObj p;
  CKpLineStyleBase rel = SubLine(1, 47, 12), fixed = SubLine(1, 48, 12);
  p.AddStyleBase(rel);
  p.AddStyleBase(fixed);
  p.GetObjExt().SetObjExt(0, Ext(3));
  p.GetObjExt().SetObjExt(1, Ext(12));
  EXPECT_EQ(p.IsUsedSymbol(12), 1);
  p.MoveObjExtID(5);
  EXPECT_EQ(p.GetStyleBase(0).m_nSymbol, 17);  // kind 47 moves
  EXPECT_EQ(p.GetStyleBase(1).m_nSymbol, 12);  // kind 48 does not
  EXPECT_EQ(p.GetObjExt().GetObjExt(0)->nShape, 3);  // arrow kept
  EXPECT_EQ(p.GetObjExt().GetObjExt(1)->nShape, 17);
  EXPECT_EQ(p.IsUsedSymbol(17), 1);
}

TEST(LineStyleObj, MakeDWord) {
  EXPECT_EQ(CKpLineStyleObj::MakeDWord(2, 1), 65538ul);
  EXPECT_EQ(CKpLineStyleObj::MakeDWord(0xFFFF, 0xFFFF), 0xFFFFFFFFul);
}

TEST(LineStyleObj, CopiesAreDeep) {
  CKpLineStyleObj b;
  b.SetID(42);
  b.SetName("铁路");
  CKpLineStyleBase s = SubLine(4);
  s.Add(10, 5);
  b.AddStyleBase(s);
  b.GetObjExt().SetObjExt(2, Ext(7));

  CKpLineStyleObj a;
  CKpLineStyleBase other = SubLine(1);
  a.AddStyleBase(other);
  a.AddStyleBase(other);
  a = b;
  EXPECT_EQ(a.GetID(), 42);
  EXPECT_EQ(a.GetName(), "铁路");
  ASSERT_EQ(a.Count(), 1);
  EXPECT_EQ(a.GetObjExt().GetObjExtToken(), 4);

  a.GetStyleBase(0).m_nCurWidth = 9;
  a.GetStyleBase(0).SetAt(0, 99);
  a.GetObjExt().GetObjExt(2)->nShape = 8;
  EXPECT_EQ(b.GetStyleBase(0).m_nCurWidth, 4);
  EXPECT_EQ(b.GetStyleBase(0).GetAt(0), 10);
  EXPECT_EQ(b.GetObjExt().GetObjExt(2)->nShape, 7);

  CKpLineStyleObj c(b);
  EXPECT_EQ(c.GetObjExt().GetObjExt(2)->nShape, 7);
  c = c;
  EXPECT_EQ(c.Count(), 1);
}

}  // namespace
