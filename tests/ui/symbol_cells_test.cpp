// Symbol cells across a library's own symbols and the resource symbols, and
// the import of resource symbols into the library.
#include <gtest/gtest.h>

#include "model/CKpLineStyleLib.h"
#include "ui/KpSymbolCells.h"

namespace {

CKpSymbol* NewSymbol(long id, const char* name) {
  auto* s = new CKpSymbol;
  s->m_nID = id;
  s->m_strName = name;
  CKpSymbol::Element e;
  e.points = {POINT{-40, 0}, POINT{40, 0}};
  s->AddElement(e);
  return s;
}

// A library with symbols 10, 11, 12 and a resource library 20..24.
struct Libraries {
  CKpLineStyleLib lib;
  CKpSymLib res;
  Libraries() {
    for (long id : {10L, 11L, 12L}) lib.GetSymLib().AddSymbol(NewSymbol(id, "own"));
    for (long id = 20; id < 25; ++id) res.AddSymbol(NewSymbol(id, "res"));
  }
};

TEST(SymbolCells, NumberingRunsThroughBothLibraries) {
  Libraries l;
  CKpSymLib& own = l.lib.GetSymLib();
  EXPECT_EQ(kp::ui::SymbolCellCount(&own, 3, &l.res), 8);
  EXPECT_EQ(kp::ui::SymbolCellCount(nullptr, 3, &l.res), 5);
  const struct { long cell; long id; } rows[] = {
      {0, 10},   // first own symbol
      {2, 12},   // last own symbol
      {3, 20},   // first resource symbol
      {4, 21},   // selection 14 of a button: resource symbol 1
      {7, 24},   // last cell
      {8, -1},   // past the end
      {-1, -1},  // no cell
  };
  for (const auto& r : rows) {
    CKpSymbol* s = kp::ui::SymbolOfCell(&own, 3, &l.res, r.cell);
    EXPECT_EQ(s ? s->m_nID : -1, r.id) << "cell " << r.cell;
  }
  EXPECT_EQ(kp::ui::SymbolOfCell(&own, 3, nullptr, 3), nullptr);
}

TEST(SymbolCells, ResourceSymbolIsImportedOnce) {
  Libraries l;
  kp::ui::KpImportedSymIDs imported;
  const long first = kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 4);
  EXPECT_EQ(first, 13);  // next free ID after 12
  EXPECT_EQ(kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 4), 13);
  EXPECT_EQ(l.lib.GetSymLib().GetSymbolCount(), 4);
  ASSERT_EQ(imported.size(), 1u);
  EXPECT_EQ(imported[0], 21u);
  EXPECT_EQ(kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 6), 14);
  EXPECT_EQ(kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 1), 11);  // own symbol: no import
  EXPECT_EQ(kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 99), 0);  // missing
  EXPECT_EQ(l.lib.GetSymLib().GetSymbolCount(), 5);
}

TEST(SymbolCells, StoredIDsMapBackToTheirCells) {
  Libraries l;
  kp::ui::KpImportedSymIDs imported;
  const long id = kp::ui::SymbolIDOfCell(l.lib, 3, imported, &l.res, 5);
  const struct { long id; long cell; } rows[] = {
      {11, 1},   // own symbol
      {id, 5},   // imported copy of resource index 2
      {99, -1},  // not in the library
  };
  for (const auto& r : rows)
    EXPECT_EQ(kp::ui::CellOfSymbolID(l.lib, 3, imported, &l.res, r.id), r.cell) << r.id;
  imported.clear();  // the import record lost: the copy no longer maps to a cell
  EXPECT_EQ(kp::ui::CellOfSymbolID(l.lib, 3, imported, &l.res, id), -1);
}

}  // namespace
