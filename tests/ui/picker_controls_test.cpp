// The line-style picker controls (group selector, drop-down tree, style list)
// and the small controls the dialogs share, driven without a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "ui/CKpDialog.h"
#include "ui/CKpLineStylePicker.h"
#include "ui/CKpLineStylePickerList.h"
#include "ui/CKpLineStyleTreeCtrl.h"
#include "ui/KpUiConstants.h"
#include "ui/KpUiResources.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

// Root "RootGroup" with styles 10, 11, 12 and sub-groups:
//   A (styles 20, 21) with A1 (style 40) with A1x (empty); B (style 30); C (empty).
struct Fixture {
  CKpLineStyleLib lib;
  CKpLineStyleGroup* root = nullptr;
  CKpLineStyleGroup* a = nullptr;
  CKpLineStyleGroup* a1 = nullptr;
  CKpLineStyleGroup* a1x = nullptr;
  CKpLineStyleGroup* b = nullptr;
  CKpLineStyleGroup* c = nullptr;

  Fixture() {
    root = lib.GetRootGroup();
    root->SetName("RootGroup");
    for (long id : {10L, 11L, 12L, 20L, 21L, 30L, 40L}) AddStyle(id);
    a = root->CreateSubGroup("A");
    b = root->CreateSubGroup("B");
    c = root->CreateSubGroup("C");
    a1 = a->CreateSubGroup("A1");
    a1x = a1->CreateSubGroup("A1x");
    for (long id : {10L, 11L, 12L}) root->AddStyleItem(id);
    for (long id : {20L, 21L}) a->AddStyleItem(id);
    b->AddStyleItem(30);
    a1->AddStyleItem(40);
  }
  void AddStyle(long id) {
    CKpLineStyleObj s = lib.CreateSeedLine();
    s.SetID(id);
    s.SetName("S" + std::to_string(id));
    lib.AddStyleObj(s);
  }
  CKpLineStyleGroup* ByName(const std::string& name) {
    for (CKpLineStyleGroup* g : {root, a, a1, a1x, b, c})
      if (g->GetName() == name) return g;
    return nullptr;
  }
};

// The visible tree rows in order: "name:image:depth", with "*" for the
// selected item and "+" for an expanded one.
std::vector<std::string> Rows(CKpLineStyleTreeCtrl& tree) {
  std::vector<std::string> out;
  for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
    QTreeWidgetItem* item = *it;
    bool visible = true;
    int depth = 0;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent(), ++depth)
      if (!p->isExpanded()) visible = false;
    if (!visible) continue;
    std::string row = item->text(0).toStdString() + ":" + std::to_string(CKpLineStyleTreeCtrl::ItemImage(item)) +
                      ":" + std::to_string(depth);
    if (item == tree.GetSelectedItem()) row += "*";
    if (item->isExpanded()) row += "+";
    out.push_back(row);
  }
  return out;
}

quintptr Addr(const CKpLineStyleGroup* g) { return reinterpret_cast<quintptr>(g); }

struct TreeCase {
  const char* current;
  std::vector<std::string> rows;
};

class UiLineStyleTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(UiLineStyleTree, ShowsRootSubGroupsAndTheChainToTheCurrentGroup) {
  Fixture f;
  CKpLineStyleTreeCtrl tree;
  CKpLineStyleGroup* cur = f.ByName(GetParam().current);
  ASSERT_NE(cur, nullptr);
  tree.AttachStyleGroup(cur);
  EXPECT_EQ(Rows(tree), GetParam().rows);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemGroup(tree.GetSelectedItem()), cur);
  EXPECT_EQ(tree.GetCurGroup(), cur);
  EXPECT_EQ(tree.currentItem(), tree.GetSelectedItem());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, UiLineStyleTree,
    ::testing::Values(
        // The root: closed folder, its sub-groups only (A's sub-group not shown).
        TreeCase{"RootGroup", {"RootGroup:0:0*+", "A:0:1+", "B:0:1", "C:0:1"}},
        // One level down: the current group is an open folder.
        TreeCase{"B", {"RootGroup:0:0+", "A:0:1", "B:1:1*+", "C:0:1"}},
        // Two levels down: only the current group under its ancestor, which is
        // expanded, as is the first child of every expanded chain item.
        TreeCase{"A1", {"RootGroup:0:0+", "A:0:1+", "A1:1:2*+", "B:0:1", "C:0:1"}},
        // Three levels down: the chain, every ancestor expanded and closed.
        TreeCase{"A1x", {"RootGroup:0:0+", "A:0:1+", "A1:0:2+", "A1x:1:3*+", "B:0:1", "C:0:1"}}),
    [](const ::testing::TestParamInfo<TreeCase>& info) { return std::string(info.param.current); });

TEST(UiLineStyleTreeBasics, NullGroupLeavesTheTreeEmpty) {
  Fixture f;
  CKpLineStyleTreeCtrl tree;
  tree.AttachStyleGroup(f.a1);
  tree.AttachStyleGroup(nullptr);
  EXPECT_EQ(tree.topLevelItemCount(), 0);
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);
  QSignalSpy spy(&tree, &CKpLineStyleTreeCtrl::groupChanged);
  tree.SelectNextItem(true);
  EXPECT_EQ(spy.count(), 0);
}

TEST(UiLineStyleTreeBasics, ItemDataIsTheGroupAddress) {
  Fixture f;
  CKpLineStyleTreeCtrl tree;
  tree.AttachStyleGroup(f.a1);
  for (CKpLineStyleGroup* g : {f.root, f.a, f.a1, f.b, f.c}) {
    QTreeWidgetItem* item = tree.FindItem(g);
    ASSERT_NE(item, nullptr) << g->GetName();
    EXPECT_EQ(item->data(0, Qt::UserRole).value<quintptr>(), Addr(g));
  }
  EXPECT_EQ(tree.FindItem(f.a1x), nullptr);
}

TEST(UiLineStyleTreeBasics, ExpandAndCollapseSwitchTheFolderImage) {
  Fixture f;
  CKpLineStyleTreeCtrl tree;
  tree.AttachStyleGroup(f.a1);
  QTreeWidgetItem* a = tree.FindItem(f.a);
  ASSERT_TRUE(a->isExpanded());
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemImage(a), 0);
  a->setExpanded(false);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemImage(a), 0);
  a->setExpanded(true);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemImage(a), 1);
  tree.collapseItem(a);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemImage(a), 0);
  EXPECT_FALSE(a->icon(0).isNull());
}

struct StepCase {
  const char* start;
  bool next;
  const char* expected;  // nullptr: nothing happens
};

class UiLineStyleTreeStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(UiLineStyleTreeStep, SelectNextItemMovesThroughVisibleItemsAndInforms) {
  Fixture f;
  CKpLineStyleTreeCtrl tree;
  tree.AttachStyleGroup(f.ByName(GetParam().start));
  QTreeWidgetItem* before = tree.GetSelectedItem();
  QSignalSpy spy(&tree, &CKpLineStyleTreeCtrl::groupChanged);
  tree.SelectNextItem(GetParam().next);
  if (!GetParam().expected) {
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(tree.GetSelectedItem(), before);
    return;
  }
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).value<quintptr>(), Addr(f.ByName(GetParam().expected)));
  EXPECT_EQ(spy.at(0).at(1).value<long>(), 0);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemGroup(tree.GetSelectedItem()), f.ByName(GetParam().expected));
  EXPECT_EQ(tree.currentItem(), tree.GetSelectedItem());
}

INSTANTIATE_TEST_SUITE_P(Steps, UiLineStyleTreeStep,
                         ::testing::Values(StepCase{"RootGroup", true, "A"}, StepCase{"RootGroup", false, nullptr},
                                           StepCase{"A1", true, "B"}, StepCase{"A1", false, "A"},
                                           StepCase{"B", false, "A"}, StepCase{"C", true, nullptr},
                                           StepCase{"A1x", false, "A1"}, StepCase{"A1x", true, "B"}),
                         [](const ::testing::TestParamInfo<StepCase>& info) {
                           return std::string(info.param.start) + (info.param.next ? "_Next" : "_Previous");
                         });

// A picker wired as a host does: every reported group becomes current.
struct HostedPicker {
  Fixture f;
  QWidget host;
  CKpLineStylePicker* picker;
  std::vector<CKpLineStyleGroup*> reported;

  HostedPicker() {
    host.resize(300, 200);
    picker = new CKpLineStylePicker(&host);
    picker->setGeometry(10, 10, 200, 24);
    picker->AttachStyleGroup(f.root);
    picker->Init(0, 150);
    QObject::connect(picker, &CKpLineStylePicker::groupChanged, picker, [this](quintptr w, long) {
      auto* g = reinterpret_cast<CKpLineStyleGroup*>(w);
      reported.push_back(g);
      if (g) picker->ReAttachStyleGroup(g);
    });
    host.show();
    picker->setFocus();
  }
};

TEST(UiLineStylePicker, InitTakesTheDefaultsForNonPositiveSizes) {
  Fixture f;
  QWidget host;
  auto* picker = new CKpLineStylePicker(&host);
  picker->resize(180, 24);
  EXPECT_EQ(picker->GetDroppedWidth(), 100);
  EXPECT_EQ(picker->GetDroppedHeight(), 100);
  EXPECT_EQ(picker->GetIconSize(), 16);
  EXPECT_FALSE(picker->GetDroppedState());
  picker->AttachStyleGroup(f.root);
  picker->Init(0, -1);
  EXPECT_EQ(picker->GetDroppedWidth(), 180);
  EXPECT_EQ(picker->GetDroppedHeight(), 100);
  picker->Init(250, 150);
  EXPECT_EQ(picker->GetDroppedWidth(), 250);
  EXPECT_EQ(picker->GetDroppedHeight(), 150);
  EXPECT_EQ(picker->GetTreeCtrl()->GetCurGroup(), f.root);
}

TEST(UiLineStylePicker, ArrowKeysStepThroughTheVisibleGroups) {
  HostedPicker h;
  for (int i = 0; i < 3; ++i) QTest::keyClick(h.picker, Qt::Key_Down);
  ASSERT_EQ(h.reported.size(), 3u);
  EXPECT_EQ(h.reported[0], h.f.a);
  EXPECT_EQ(h.reported[1], h.f.b);
  EXPECT_EQ(h.reported[2], h.f.c);
  EXPECT_EQ(h.picker->GetCurGroup(), h.f.c);
  // C is the last visible node: Down and Right change nothing.
  QTest::keyClick(h.picker, Qt::Key_Down);
  QTest::keyClick(h.picker, Qt::Key_Right);
  EXPECT_EQ(h.reported.size(), 3u);
  QTest::keyClick(h.picker, Qt::Key_Left);
  QTest::keyClick(h.picker, Qt::Key_Up);
  ASSERT_EQ(h.reported.size(), 5u);
  EXPECT_EQ(h.reported[3], h.f.b);
  EXPECT_EQ(h.reported[4], h.f.a);
  EXPECT_FALSE(h.picker->GetDroppedState());
}

TEST(UiLineStylePicker, AltDownAndClickOpenTheTreeUnderThePicker) {
  HostedPicker h;
  QTest::keyClick(h.picker, Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(h.picker->GetDroppedState());
  const QRect g = h.picker->GetTreeCtrl()->geometry();
  const QPoint below = h.picker->mapToGlobal(QPoint(0, h.picker->height()));
  EXPECT_EQ(g.topLeft(), QPoint(below.x(), below.y() + 1));
  EXPECT_EQ(g.size(), QSize(200, 150));
  EXPECT_EQ(h.picker->count(), 0);  // its own list stays empty and shut
  h.picker->HideTree();
  EXPECT_FALSE(h.picker->GetDroppedState());
  QTest::mouseClick(h.picker, Qt::LeftButton);
  EXPECT_TRUE(h.picker->GetDroppedState());
  h.picker->HideTree();
  EXPECT_TRUE(h.reported.empty());
}

TEST(UiLineStylePicker, EscapeHidesTheTreeWithoutInforming) {
  HostedPicker h;
  h.picker->DisplayTree();
  CKpLineStyleTreeCtrl* tree = h.picker->GetTreeCtrl();
  ASSERT_TRUE(tree->isVisible());
  tree->setCurrentItem(tree->FindItem(h.f.b));
  QTest::keyClick(tree, Qt::Key_Escape);
  EXPECT_FALSE(tree->isVisible());
  EXPECT_TRUE(h.reported.empty());
  EXPECT_EQ(h.picker->GetCurGroup(), h.f.root);
}

TEST(UiLineStylePicker, EnterInformsWithTheCaretItem) {
  HostedPicker h;
  h.picker->DisplayTree();
  CKpLineStyleTreeCtrl* tree = h.picker->GetTreeCtrl();
  tree->setCurrentItem(tree->FindItem(h.f.b));
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_FALSE(tree->isVisible());
  ASSERT_EQ(h.reported.size(), 1u);
  EXPECT_EQ(h.reported[0], h.f.b);
  EXPECT_EQ(h.picker->GetCurGroup(), h.f.b);
  EXPECT_EQ(h.picker->GetCurSelGroup(), h.f.b);
}

TEST(UiLineStylePicker, ClickOnAnItemInformsAndRemembersTheGroup) {
  HostedPicker h;
  h.picker->DisplayTree();
  CKpLineStyleTreeCtrl* tree = h.picker->GetTreeCtrl();
  QTreeWidgetItem* c = tree->FindItem(h.f.c);
  ASSERT_NE(c, nullptr);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(c).center());
  EXPECT_FALSE(tree->isVisible());
  ASSERT_EQ(h.reported.size(), 1u);
  EXPECT_EQ(h.reported[0], h.f.c);
  EXPECT_EQ(h.picker->GetCurSelGroup(), h.f.c);
  // The rebuilt tree shows C as the open, selected folder.
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemGroup(tree->GetSelectedItem()), h.f.c);
  EXPECT_EQ(CKpLineStyleTreeCtrl::ItemImage(tree->GetSelectedItem()), 1);
}

// Whether the image holds a pixel of the folder's yellow in the rectangle.
bool HasFolderYellow(const QImage& img, const QRect& r) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb px = img.pixel(x, y);
      if (qRed(px) > 200 && qGreen(px) > 150 && qBlue(px) < 120) return true;
    }
  return false;
}

TEST(UiLineStylePicker, PaintsTheFolderOnlyWithAGroup) {
  Fixture f;
  QWidget host;
  auto* picker = new CKpLineStylePicker(&host);
  picker->resize(180, 26);
  picker->Init(0, 0);  // no group yet
  const QRect iconArea(0, 0, 40, 26);
  EXPECT_FALSE(HasFolderYellow(picker->grab().toImage(), iconArea));
  picker->AttachStyleGroup(f.root);
  picker->Init(0, 0);
  picker->ReAttachStyleGroup(f.b);
  EXPECT_TRUE(HasFolderYellow(picker->grab().toImage(), iconArea));
  picker->ReAttachStyleGroup(nullptr);
  EXPECT_FALSE(HasFolderYellow(picker->grab().toImage(), iconArea));
}

TEST(UiLineStylePicker, PaintsWithoutAGroup) {
  QWidget host;
  auto* picker = new CKpLineStylePicker(&host);
  picker->resize(150, 24);
  picker->Init(0, 0);
  EXPECT_FALSE(picker->grab().isNull());
  EXPECT_EQ(picker->GetCurSelGroup(), nullptr);
}

// --- the style list ---

struct CellCase {
  const char* group;
  int index;
  int kind;
  long value;
};

class UiPickerListCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(UiPickerListCells, IndexGivesSubGroupPenOrStyle) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&f.lib);
  list.AttachStyleGroup(f.ByName(GetParam().group));
  long value = 12345;
  EXPECT_EQ(list.CellKind(GetParam().index, value), GetParam().kind);
  EXPECT_EQ(value, GetParam().value);
}

using K = CKpLineStylePickerList;
INSTANTIATE_TEST_SUITE_P(
    Layout, UiPickerListCells,
    ::testing::Values(
        // Root: 3 sub-groups, 6 pens, styles 10 11 12.
        CellCase{"RootGroup", 0, K::CellGroup, 0}, CellCase{"RootGroup", 2, K::CellGroup, 2},
        CellCase{"RootGroup", 3, K::CellPen, 0}, CellCase{"RootGroup", 7, K::CellPen, 4},
        CellCase{"RootGroup", 8, K::CellPen, 5}, CellCase{"RootGroup", 9, K::CellStyle, 10},
        CellCase{"RootGroup", 11, K::CellStyle, 12}, CellCase{"RootGroup", 12, K::CellNone, -1},
        CellCase{"RootGroup", -1, K::CellNone, -1},
        // A sub-group with a sub-group: no pens.
        CellCase{"A", 0, K::CellGroup, 0}, CellCase{"A", 1, K::CellStyle, 20}, CellCase{"A", 2, K::CellStyle, 21},
        CellCase{"A", 3, K::CellNone, -1},
        // A sub-group without sub-groups: styles from index 0.
        CellCase{"B", 0, K::CellStyle, 30}, CellCase{"B", 1, K::CellNone, -1},
        // Empty leaf.
        CellCase{"C", 0, K::CellNone, -1}),
    [](const ::testing::TestParamInfo<CellCase>& info) {
      return std::string(info.param.group) + "_" + (info.param.index < 0 ? "m" : "") +
             std::to_string(std::abs(info.param.index));
    });

TEST(UiPickerList, CountsFollowTheGroup) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&f.lib);
  struct {
    CKpLineStyleGroup* g;
    int count;
  } const rows[] = {{f.root, 3 + 6 + 3}, {f.a, 1 + 2}, {f.a1, 1 + 1}, {f.b, 1}, {f.c, 0}, {nullptr, 0}};
  for (const auto& r : rows) {
    list.AttachStyleGroup(r.g);
    EXPECT_EQ(list.GetCount(), r.count) << (r.g ? r.g->GetName() : "null");
    EXPECT_EQ(CKpLineStylePickerList::CellCountOf(r.g), r.count);
  }
}

TEST(UiPickerList, RootWithoutSubGroupsStartsWithThePens) {
  CKpLineStyleLib lib;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&lib);
  list.AttachStyleGroup(lib.GetRootGroup());
  EXPECT_EQ(list.GetCount(), 6);  // no styles: only the six pens
  long v = -1;
  EXPECT_EQ(list.CellKind(0, v), K::CellPen);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(list.CellKind(5, v), K::CellPen);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(list.CellKind(6, v), K::CellNone);
}

TEST(UiPickerList, WithoutALibraryTheListIsEmpty) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachStyleGroup(f.root);
  EXPECT_EQ(list.InitContent(), 0);
  EXPECT_EQ(list.GetCount(), 0);
  list.AttachLineStyleLib(&f.lib);
  EXPECT_EQ(list.InitContent(), 1);
  EXPECT_EQ(list.GetCount(), 12);
  list.AttachLineStyleLib(nullptr);
  EXPECT_EQ(list.InitContent(), 0);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(UiPickerList, SelectionAndNotifications) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&f.lib);
  list.AttachStyleGroup(f.root);
  QSignalSpy sel(&list, &CKpLineStylePickerList::selChange);
  QSignalSpy dbl(&list, &CKpLineStylePickerList::dblClk);
  EXPECT_EQ(list.GetCurSel(), -1);
  list.SetCurSel(5);
  EXPECT_EQ(list.GetCurSel(), 5);
  EXPECT_EQ(sel.count(), 1);
  QTest::keyClick(&list, Qt::Key_Return);
  ASSERT_EQ(dbl.count(), 1);
  EXPECT_EQ(dbl.at(0).at(0).toInt(), 5);
  list.SetCurSel(-1);
  EXPECT_EQ(list.GetCurSel(), -1);
  list.SetCurSel(99);
  EXPECT_EQ(list.GetCurSel(), -1);
}

// Darkest grey level in a rectangle of the image.
int Darkest(const QImage& img, const QRect& r) {
  int dark = 255;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) dark = std::min(dark, qGray(img.pixel(x, y)));
  return dark;
}

TEST(UiPickerList, CellsDrawTheirSamplesAndRestoreThePainter) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&f.lib);
  list.AttachStyleGroup(f.root);
  const QRect cell(0, 0, 101, 86);
  // The sample runs from x = 20 to 81, 20 logical units (2 mm, about 8 px)
  // above the centre row 43.
  const QRect sampleBand(30, 30, 40, 12);
  const QRect aboveBand(30, 2, 40, 20);
  struct {
    int index;
    bool line;
  } const rows[] = {{3, true}, {4, true}, {8, false}, {9, true}, {11, true}};
  for (const auto& r : rows) {
    QImage img(cell.size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QTransform before = p.transform();
    list.OnDrawContent(&p, r.index, cell, false);
    EXPECT_FALSE(p.hasClipping()) << r.index;
    EXPECT_EQ(p.transform(), before) << r.index;
    EXPECT_FALSE(p.testRenderHint(QPainter::Antialiasing)) << r.index;
    p.end();
    if (r.line) {
      // Thin anti-aliased samples may cover a pixel only partly.
      EXPECT_LT(Darkest(img, sampleBand), 235) << "cell " << r.index;
    } else {
      EXPECT_GT(Darkest(img, QRect(20, 25, 60, 8)), 245) << "null pen draws no line, cell " << r.index;
      bool red = false;
      for (int y = 35; y < 64 && !red; ++y)
        for (int x = 20; x < 81 && !red; ++x) {
          const QRgb px = img.pixel(x, y);
          red = qRed(px) > 200 && qGreen(px) < 120 && qBlue(px) < 120;
        }
      EXPECT_TRUE(red) << "NULL_PEN is written in red";
    }
    EXPECT_GT(Darkest(img, aboveBand), 245) << "cell " << r.index;
  }
}

TEST(UiPickerList, GroupCellShowsTheFolder) {
  Fixture f;
  CKpLineStylePickerList list;
  list.AttachLineStyleLib(&f.lib);
  list.AttachStyleGroup(f.root);
  QImage img(101, 86, QImage::Format_ARGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  list.OnDrawContent(&p, 0, QRect(0, 0, 101, 86), false);
  p.end();
  // The folder sits at (25, 10), 48 x 48; nothing is drawn left of it.
  EXPECT_LT(Darkest(img, QRect(35, 30, 28, 20)), 250);
  EXPECT_EQ(Darkest(img, QRect(0, 0, 20, 40)), 255);
}

TEST(UiPickerList, TenThousandStylesPaintOnlyVisibleCells) {
  CKpLineStyleLib lib;
  CKpLineStyleGroup* root = lib.GetRootGroup();
  CKpLineStyleObj seed = lib.CreateSeedLine();
  for (long id = 6; id < 10006; ++id) {
    seed.SetID(id);
    seed.SetName("S" + std::to_string(id));
    lib.AddStyleObj(seed);
  }
  for (long id = 6; id < 10006; ++id) root->AddStyleItem(id);
  ASSERT_EQ(root->GetItemCount(), 10000);

  CKpLineStylePickerList list;
  list.resize(306, 306);
  list.show();
  QApplication::processEvents();
  // The sizes the picker dialog gives its list.
  const int vw = list.viewport()->width();
  const int vh = list.viewport()->height();
  list.SetColumnWidth(vw / 3 + 1);
  list.SetItemHeight(vh * 2 / 7 + 1);
  list.AttachLineStyleLib(&lib);
  // How long this takes is measured in bench/ (kp_picker_bench), not here.
  list.AttachStyleGroup(root);
  list.show();
  QApplication::processEvents();
  EXPECT_EQ(list.GetCount(), 10006);

  const long visibleBound = 3 * (vh / list.GetItemHeight() + 2);
  for (bool atEnd : {false, true}) {
    if (atEnd) list.scrollToBottom();
    QApplication::processEvents();
    list.ResetPaintCount();
    QImage img(list.viewport()->size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    list.viewport()->render(&img);
    EXPECT_GT(list.PaintCount(), 0) << atEnd;
    EXPECT_LE(list.PaintCount(), visibleBound) << atEnd;
  }
}

TEST(UiPickerList, ColumnWidthOfAThirdPlusOneGivesThreeColumns) {
  Fixture f;
  CKpLineStylePickerList list;
  list.resize(320, 300);
  list.show();
  QApplication::processEvents();
  list.AttachLineStyleLib(&f.lib);
  list.AttachStyleGroup(f.root);
  const int vw = list.viewport()->width();
  for (int width : {vw / 3 + 1, vw / 3, vw / 3 - 10}) {
    list.SetColumnWidth(width);
    QApplication::processEvents();
    const QRect first = list.visualRect(list.model()->index(0, 0));
    const QRect third = list.visualRect(list.model()->index(2, 0));
    const QRect fourth = list.visualRect(list.model()->index(3, 0));
    EXPECT_EQ(third.top(), first.top()) << width;
    EXPECT_GT(fourth.top(), first.top()) << width;
    EXPECT_LE(list.GetCellWidth(), width);
    EXPECT_GE(list.GetCellWidth(), width - 2);
    EXPECT_EQ(list.GetColumnWidth(), width);
  }
  // Much wider cells are kept: one column.
  list.SetColumnWidth(vw / 2 + 20);
  EXPECT_EQ(list.GetCellWidth(), vw / 2 + 20);
}

// --- the small controls ---

struct NumCase {
  long min, max, set, expected;
};

TEST(UiNumEdit, ValueStaysWithinTheLimits) {
  const NumCase rows[] = {{1, 100, 50, 50}, {1, 100, 0, 1},    {1, 100, 101, 100},
                          {1, 100, -7, 1},  {100, 1, 150, 100}, {-5, 5, -9, -5}};
  for (const auto& r : rows) {
    CKpNumEdit edit;
    edit.SetRange(r.min, r.max);
    edit.SetValue(r.set);
    EXPECT_EQ(edit.GetValue(), r.expected) << r.min << ".." << r.max << " set " << r.set;
    EXPECT_EQ(edit.text().toLong(), r.expected);
  }
}

TEST(UiNumEdit, RangeClampsTheCurrentValueAndTypingReports) {
  CKpNumEdit edit;
  edit.SetRange(0, 100);
  edit.SetValue(80);
  QSignalSpy spy(&edit, &CKpNumEdit::valueChanged);
  edit.SetRange(1, 50);
  EXPECT_EQ(edit.GetValue(), 50);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).value<long>(), 50);
  edit.SetValue(50);  // unchanged: no report
  EXPECT_EQ(spy.count(), 1);
  edit.clear();
  QTest::keyClicks(&edit, "7");
  EXPECT_EQ(edit.GetValue(), 7);
  QTest::keyClicks(&edit, "00");  // 700 is refused
  EXPECT_LE(edit.GetValue(), 50);
  EXPECT_GE(edit.GetValue(), 1);
}

TEST(UiColorButton, PaletteChoiceReportsSelEndOkWithTheColour) {
  CKpButtonColorPicker button;
  button.SetColor(RGB(1, 2, 3));
  EXPECT_EQ(button.GetColor(), RGB(1, 2, 3));
  QSignalSpy ok(&button, &CKpButtonColorPicker::selEndOk);
  QSignalSpy cancel(&button, &CKpButtonColorPicker::selEndCancel);
  button.ShowPopup();
  ASSERT_NE(button.Popup(), nullptr);
  auto* red = button.Popup()->findChild<QToolButton*>(QStringLiteral("color9"));
  ASSERT_NE(red, nullptr);
  red->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(ok.count(), 1);
  EXPECT_EQ(ok.at(0).at(0).value<long>(), static_cast<long>(RGB(255, 0, 0)));
  EXPECT_EQ(ok.at(0).at(1).value<long>(), 0);
  EXPECT_EQ(button.GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(cancel.count(), 0);
  EXPECT_EQ(button.Popup(), nullptr);
  EXPECT_EQ(CKpButtonColorPicker::PaletteColors()[9], RGB(255, 0, 0));
}

TEST(UiColorButton, OtherColourGoesThroughTheColourDialog) {
  CKpButtonColorPicker button;
  QSignalSpy ok(&button, &CKpButtonColorPicker::selEndOk);
  QSignalSpy cancel(&button, &CKpButtonColorPicker::selEndCancel);
  CKpButtonColorPicker::s_otherColorHook = [](COLORREF) -> long { return 0x123456; };
  button.ShowPopup();
  auto* other = button.Popup()->findChild<QPushButton*>(QStringLiteral("otherColor"));
  ASSERT_NE(other, nullptr);
  other->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(ok.count(), 1);
  EXPECT_EQ(ok.at(0).at(0).value<long>(), 0x123456L);
  EXPECT_EQ(button.GetColor(), 0x123456u);
  // Cancelling the colour dialog closes the pop-up without a choice.
  CKpButtonColorPicker::s_otherColorHook = [](COLORREF) -> long { return -1; };
  button.ShowPopup();
  button.ChooseOtherColor();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  CKpButtonColorPicker::s_otherColorHook = nullptr;
  EXPECT_EQ(ok.count(), 1);
  EXPECT_EQ(cancel.count(), 1);
  EXPECT_EQ(button.GetColor(), 0x123456u);
  // Escape-like closing of the pop-up is a cancellation too.
  button.ShowPopup();
  button.CancelPopup();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(cancel.count(), 2);
  EXPECT_EQ(ok.count(), 1);
}

TEST(UiColorButton, DestroyedWithItsPopupOpen) {
  auto button = std::make_unique<CKpButtonColorPicker>();
  button->ShowPopup();
  ASSERT_NE(button->Popup(), nullptr);
  button.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SUCCEED();
}

TEST(UiDialog, DoModalAsksTheHookInsteadOfWaiting) {
  CKpDialog dlg;
  CKpDialog::s_modalHook = [](QDialog& d) {
    d.accept();
    return IDOK;
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  CKpDialog::s_modalHook = [](QDialog&) { return IDCANCEL; };
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  CKpDialog::s_modalHook = nullptr;
  EXPECT_EQ(WM_LSL_GROUP_CHANGED, 2079);
  EXPECT_EQ(WM_LSL_SELENDOK, 2028);
}

TEST(UiResources, FolderImagesAtOneAndTwoTimes) {
  const QPixmap strip = kp::ui::FolderStrip16();
  EXPECT_EQ(strip.size(), QSize(160, 16));
  const QImage s = strip.toImage();
  EXPECT_NE(s.copy(0, 0, 16, 16), s.copy(16, 0, 16, 16));  // closed and open differ
  EXPECT_NE(qAlpha(s.pixel(8, 10)), 0);
  EXPECT_EQ(qAlpha(s.pixel(40, 8)), 0);  // image 2 is empty
  EXPECT_EQ(kp::ui::FolderStrip16(2.0).size(), QSize(320, 32));
  EXPECT_EQ(kp::ui::Folder48().size(), QSize(48, 48));
  EXPECT_FALSE(kp::ui::UpLevelIcon().pixmap(32, 32).isNull());
  EXPECT_FALSE(kp::ui::FolderIcon(true).isNull());
}

}  // namespace
