// The line style editor driven without a person: it is shown (never run
// modally), its widgets are set as a user would set them, and the nested
// pattern dialog is answered through CKpDialog::s_modalHook.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "model/CKpLineStyleLib.h"
#include "tests/ui/UiTestLibraries.h"
#include "ui/CKpLineStyleBaseList.h"
#include "ui/CKpLineStyleEditorDlg.h"
#include "ui/CKpLineStylePatternDlg.h"
#include "ui/KpKeyboard.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr int kNew = 24513, kDelete = 24514, kTop = 24515, kDown = 24516, kUp = 24517, kBottom = 24518;

using kp::test::SubLine;

class UiStyleEditor : public ::testing::Test {
 protected:
  void TearDown() override {
    CKpDialog::s_modalHook = nullptr;
    kp::ui::ForceCtrlDownForTesting(-1);
  }

  // An editor on a style of the given sub-lines, not yet shown.
  CKpLineStyleEditorDlg& Make(const std::vector<CKpLineStyleBase>& subs, CKpLineStyleLib* lib = nullptr) {
    dlg = std::make_unique<CKpLineStyleEditorDlg>();
    for (CKpLineStyleBase s : subs) dlg->m_LineStyleObj.AddStyleBase(s);
    if (lib) dlg->AttachLineStyleLib(lib, lib->GetSymLib().GetSymbolCount(), {});
    return *dlg;
  }
  CKpLineStyleEditorDlg& Open(const std::vector<CKpLineStyleBase>& subs, CKpLineStyleLib* lib = nullptr) {
    Make(subs, lib);
    Show();
    return *dlg;
  }
  void Show() {
    dlg->show();
    QCoreApplication::processEvents();
  }
  CKpLineStyleBase& At(int i) { return *dlg->m_LineStyleObj.GetElementAt(i); }
  std::vector<short> Widths() { return kp::test::WidthsOf(dlg->m_LineStyleObj); }
  // Pixels inside the demo's frame that are neither button face nor window.
  int DemoInk() {
    QWidget* w = dlg->GetDemo();
    const QImage img = w->grab().toImage();
    const QRgb face = w->palette().color(QPalette::Button).rgb();
    const QRgb window = w->palette().color(QPalette::Window).rgb();
    int n = 0;
    for (int y = 3; y < img.height() - 3; ++y)
      for (int x = 3; x < img.width() - 3; ++x)
        if (img.pixel(x, y) != face && img.pixel(x, y) != window) ++n;
    return n;
  }
  // Answers the pattern dialog with `answer` after `edit`, counting the runs.
  void AnswerPattern(int answer, std::function<void(CKpLineStylePatternDlg&)> edit = {}) {
    patternRuns = 0;
    CKpDialog::s_modalHook = [this, answer, edit](QDialog& d) {
      auto* pattern = dynamic_cast<CKpLineStylePatternDlg*>(&d);
      if (!pattern) return IDCANCEL;
      ++patternRuns;
      if (edit) edit(*pattern);
      return answer;
    };
  }

  std::unique_ptr<CKpLineStyleEditorDlg> dlg;
  int patternRuns = 0;
};

TEST_F(UiStyleEditor, BoxesChangeTheSubLineOnlyWithinItsRanges) {
  CKpLineStyleBase first = SubLine(3);
  first.m_nHorizOffset = first.m_nVertOffset = 5;
  Open({first, SubLine(8)});
  // Loading a sub-line into the boxes writes nothing back.
  EXPECT_EQ(dlg->GetSubWidthEdit()->text(), "3");
  EXPECT_EQ(At(0).m_nVarWidth, 100);

  const std::function<short()> horiz = [this] { return At(0).m_nHorizOffset; };
  const std::function<short()> vert = [this] { return At(0).m_nVertOffset; };
  const std::function<short()> width = [this] { return At(0).m_nWidth; };
  struct Row {
    CKpNumEdit* edit;
    const char* text;
    std::function<short()> field;
    short expected;
  };
  const Row rows[] = {
      {dlg->GetVertOffsetEdit(), "60", vert, 5},      // the box takes it, the sub-line does not
      {dlg->GetVertOffsetEdit(), "50", vert, 50},     // upper edge
      {dlg->GetVertOffsetEdit(), "-51", vert, 50},    // just below the lower edge
      {dlg->GetVertOffsetEdit(), "-50", vert, -50},   // lower edge
      {dlg->GetHorizOffsetEdit(), "60", horiz, 60},   // horizontal range is wider
      {dlg->GetHorizOffsetEdit(), "-250", horiz, -250},
      {dlg->GetHorizOffsetEdit(), "250", horiz, 250},
      {dlg->GetHorizOffsetEdit(), "251", horiz, 250},  // beyond the box's range
      {dlg->GetSubWidthEdit(), "7", width, 7},
      {dlg->GetSubWidthEdit(), "101", width, 7},
      {dlg->GetSubWidthEdit(), "-1", width, 7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    r.edit->setText(QString::fromUtf8(r.text));
    EXPECT_EQ(r.field(), r.expected);
  }
  EXPECT_EQ(At(0).m_nVarWidth, 7);  // a fixed-width sub-line draws with it
  EXPECT_EQ(At(1).m_nWidth, 8);      // the other sub-line is untouched

  dlg->GetWidthLockBox()->setChecked(true);
  EXPECT_TRUE(At(0).GetWidthLock());
  EXPECT_EQ(At(0).m_nCurWidth, 7);
  dlg->GetVertRepairBox()->setChecked(true);
  EXPECT_TRUE(At(0).GetVertRepair());

  // Another selection shows that sub-line's values.
  dlg->GetList()->setCurrentRow(1);
  EXPECT_EQ(dlg->GetSubWidthEdit()->text(), "8");
  EXPECT_FALSE(dlg->GetWidthLockBox()->isChecked());
  EXPECT_EQ(At(1).m_nVarWidth, 100);
}

TEST_F(UiStyleEditor, ZoomStepsBetweenOneAndFive) {
  Open({SubLine(1)});
  EXPECT_EQ(dlg->m_nZoom, 2);
  struct Row {
    QPushButton* button;
    long zoom;
    bool plus, minus;  // enabled afterwards
  };
  const Row rows[] = {
      {dlg->GetZoomInButton(), 3, true, true},
      {dlg->GetZoomInButton(), 4, true, true},
      {dlg->GetZoomInButton(), 5, false, true},   // the top: "+" goes grey
      {dlg->GetZoomOutButton(), 4, true, true},
      {dlg->GetZoomOutButton(), 3, true, true},
      {dlg->GetZoomOutButton(), 2, true, true},
      {dlg->GetZoomOutButton(), 1, true, false},  // the bottom: "-" goes grey
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.zoom);
    r.button->click();
    EXPECT_EQ(dlg->m_nZoom, r.zoom);
    EXPECT_EQ(dlg->GetZoomInButton()->isEnabled(), r.plus);
    EXPECT_EQ(dlg->GetZoomOutButton()->isEnabled(), r.minus);
  }
  dlg->OnZoomOut();  // a handler called past the limit changes nothing
  EXPECT_EQ(dlg->m_nZoom, 1);
}

TEST_F(UiStyleEditor, NewStyleGetsItsFirstSubLineThroughThePatternDialog) {
  Open({});
  EXPECT_EQ(dlg->GetList()->GetCount(), 0);
  EXPECT_EQ(DemoInk(), 0);
  AnswerPattern(IDOK);
  dlg->OnDblclkLslSubLinestyleList();
  EXPECT_EQ(patternRuns, 0);

  AnswerPattern(IDCANCEL);
  dlg->GetToolAction(kNew)->trigger();
  EXPECT_EQ(patternRuns, 1);
  EXPECT_EQ(dlg->m_LineStyleObj.Count(), 0);

  AnswerPattern(IDOK, [](CKpLineStylePatternDlg& p) {
    EXPECT_TRUE(p.m_LineStyleBase.GetHorizRepair());  // a fresh sub-line repairs its end
    p.m_LineStyleBase.m_nHVMode = 14;
    p.m_LineStyleBase.m_nHVLength = 10;
    p.m_LineStyleBase.Add(40, 20);
  });
  dlg->GetToolAction(kNew)->trigger();
  ASSERT_EQ(dlg->m_LineStyleObj.Count(), 1);
  EXPECT_EQ(At(0).m_nHVMode, 14);
  EXPECT_EQ(At(0).Count(), 2);
  EXPECT_EQ(dlg->GetList()->GetCount(), 1);
  EXPECT_GT(DemoInk(), 0);
}

TEST_F(UiStyleEditor, CustomSymbolSubLinesKeepTheirSymbolThroughThePatternDialog) {
  CKpLineStyleLib lib;
  Make({}, &lib);
  const long id = dlg->FindSymIndex(3);  // resource symbol 3, imported
  ASSERT_GT(id, 0);
  CKpLineStyleBase symbols = SubLine(2, 47);
  symbols.m_nSymbol = static_cast<short>(id);
  dlg->m_LineStyleObj.AddStyleBase(symbols);
  Show();

  struct Row {
    const char* what;
    bool ctrl;
    bool edit;        // double click instead of "新建子线..."
    long shownCell;   // what the pattern dialog starts with
    long chosenCell;  // what it answers
    long imports;     // resource symbols in the library afterwards
  };
  const Row rows[] = {
      {"Ctrl copy keeps the symbol", true, false, 3, 3, 1},
      {"new without Ctrl is fresh", false, false, -1, -1, 1},
      {"edit to another symbol", false, true, 3, 5, 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    kp::ui::ForceCtrlDownForTesting(r.ctrl ? 1 : 0);
    dlg->GetList()->SetCurSel(0);
    const long before = dlg->m_LineStyleObj.Count();
    AnswerPattern(IDOK, [&r](CKpLineStylePatternDlg& p) {
      EXPECT_EQ(p.m_nSymbolIndex, r.shownCell);
      EXPECT_EQ(p.m_LineStyleBase.m_nHVMode, r.shownCell >= 0 ? 47 : 0);
      p.m_nSymbolIndex = r.chosenCell;
    });
    if (r.edit)
      dlg->OnDblclkLslSubLinestyleList();
    else
      dlg->GetToolAction(kNew)->trigger();
    EXPECT_EQ(patternRuns, 1);
    EXPECT_EQ(dlg->m_LineStyleObj.Count(), before + (r.edit ? 0 : 1));
    const CKpLineStyleBase& result = At(r.edit ? 0 : static_cast<int>(before));
    if (r.chosenCell >= 0) {
      EXPECT_EQ(dlg->FindSymID(result.m_nSymbol), r.chosenCell);
    }
    if (r.ctrl) {
      EXPECT_EQ(result.m_nSymbol, id);
    }
    EXPECT_EQ(lib.GetSymLib().GetSymbolCount(), r.imports);
    EXPECT_EQ(dlg->m_ImportedSymIDs.size(), static_cast<size_t>(r.imports));
  }

  // Without a library no stored ID has a cell and no cell an ID.
  Make({});
  EXPECT_EQ(dlg->FindSymID(id), -1);
  EXPECT_EQ(dlg->FindSymIndex(3), 0);
}

TEST_F(UiStyleEditor, MovesStopAtTheEnds) {
  struct Row {
    int command;
    int selected;
    std::vector<short> after;
    int selectedAfter;
  };
  const Row rows[] = {
      {kTop, 2, {3, 1, 2}, 0},
      {kTop, 0, {1, 2, 3}, 0},     // already first
      {kUp, 1, {2, 1, 3}, 0},
      {kUp, 0, {1, 2, 3}, 0},
      {kDown, 0, {2, 1, 3}, 1},
      {kDown, 2, {1, 2, 3}, 2},    // already last
      {kBottom, 0, {2, 3, 1}, 2},
      {kBottom, 2, {1, 2, 3}, 2},
      {kDown, -1, {1, 2, 3}, -1},  // nothing selected
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.command << " from " << r.selected);
    Open({SubLine(1), SubLine(2), SubLine(3)});
    dlg->GetList()->SetCurSel(r.selected);
    dlg->GetToolAction(r.command)->trigger();
    EXPECT_EQ(Widths(), r.after);
    EXPECT_EQ(dlg->GetList()->GetCurSel(), r.selectedAfter);
    EXPECT_EQ(dlg->GetList()->GetCount(), 3);
  }
}

TEST_F(UiStyleEditor, DeleteRemovesTheSelectedSubLine) {
  Open({SubLine(1), SubLine(2), SubLine(3)});
  dlg->GetList()->SetCurSel(-1);
  dlg->GetToolAction(kDelete)->trigger();
  EXPECT_EQ(Widths(), (std::vector<short>{1, 2, 3}));

  dlg->GetList()->setCurrentRow(1);
  dlg->GetToolAction(kDelete)->trigger();
  EXPECT_EQ(Widths(), (std::vector<short>{1, 3}));
  EXPECT_EQ(dlg->GetList()->GetCount(), 2);
  EXPECT_EQ(dlg->GetSubWidthEdit()->text(), "3");  // the boxes show the next one

  dlg->GetToolAction(kDelete)->trigger();
  dlg->GetToolAction(kDelete)->trigger();
  EXPECT_EQ(dlg->m_LineStyleObj.Count(), 0);
  EXPECT_EQ(dlg->GetList()->GetCount(), 0);
  EXPECT_EQ(DemoInk(), 0);
}

TEST_F(UiStyleEditor, ColourAndDemoWidthOverrideTheCurrentValues) {
  CKpLineStyleBase plain = SubLine(4), locked = SubLine(4), white = SubLine(4);
  locked.SetColorLock(TRUE);
  locked.SetWidthLock(TRUE);
  white.m_clrColor = white.m_clrCurrent = RGB(255, 255, 255);
  Open({plain, locked, white});
  EXPECT_EQ(dlg->GetColorButton()->GetColor(), RGB(255, 0, 0));  // the first sub-line's

  dlg->GetColorButton()->ChooseColor(RGB(0, 128, 0));
  dlg->GetDemoWidthEdit()->setText("6");
  struct Row {
    int index;
    COLORREF colour;
    short width;
  };
  const Row rows[] = {
      {0, RGB(0, 128, 0), 6},        // follows the style
      {1, RGB(255, 0, 0), 4},        // locked
      {2, RGB(255, 255, 255), 6},    // a white sub-line stays white
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(At(r.index).m_clrCurrent, r.colour);
    EXPECT_EQ(At(r.index).m_nCurWidth, r.width);
    EXPECT_EQ(At(r.index).m_nWidth, 4);  // own values stay
  }
  EXPECT_EQ(At(0).m_clrColor, RGB(255, 0, 0));
}

TEST_F(UiStyleEditor, PaintingShowsTheStyleWithoutChangingIt) {
  Open({SubLine(4), SubLine(2, 1)});
  At(0).m_nCurWidth = 9;  // as a host's override left it
  At(0).m_clrCurrent = RGB(0, 128, 0);
  At(1).Add(10, 10);
  At(1).m_nHVLength = 8;
  dlg->GetColorButton()->SetColor(RGB(0, 0, 255));  // shown, not chosen
  EXPECT_GT(DemoInk(), 0);

  CKpLineStyleBaseList* list = dlg->GetList();
  const QImage rows = list->viewport()->grab().toImage();
  const QRect first = list->visualItemRect(list->item(0));
  const QRect second = list->visualItemRect(list->item(1));
  EXPECT_EQ(first.height(), CKpLineStyleBaseList::kItemHeight);
  EXPECT_EQ(rows.pixel(first.topLeft()), qRgb(0, 0, 0));  // selected: black frame
  EXPECT_EQ(rows.pixel(second.topLeft()), qRgb(255, 255, 255));
  // The sample line through the middle of the first row.
  EXPECT_NE(rows.pixel(first.center()), qRgb(255, 255, 255));

  // Neither the demo's width and colour nor the list's own ones stay behind.
  EXPECT_EQ(At(0).m_nCurWidth, 9);
  EXPECT_EQ(At(0).m_clrCurrent, RGB(0, 128, 0));
  EXPECT_EQ(At(1).m_nCurWidth, 2);
  EXPECT_EQ(At(1).m_clrCurrent, RGB(255, 0, 0));
}

}  // namespace
