// The sub-line pattern dialog driven without a person: it is shown (never run
// modally), its widgets are set as a user would set them, and the nested
// choosers are answered through CKpDialog::s_modalHook.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <functional>
#include <memory>
#include <vector>

#include "tests/ui/UiTestLibraries.h"
#include "ui/CKpCharSelectDlg.h"
#include "ui/CKpLineStylePatternDlg.h"
#include "ui/CKpLslExtSymPickerDlg.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

struct Pattern {
  std::vector<long> lengths;  // added in pairs (drawn, gap)
};

class UiPatternDialog : public ::testing::Test {
 protected:
  void TearDown() override { CKpDialog::s_modalHook = nullptr; }

  // A dialog on a sub-line of `kind` with the given pattern, shown.
  CKpLineStylePatternDlg& Open(short kind, const Pattern& pattern = {}, long symbolIndex = -1) {
    dlg = std::make_unique<CKpLineStylePatternDlg>();
    CKpLineStyleBase& sub = dlg->m_LineStyleBase;
    sub.m_nHVMode = kind;
    for (size_t i = 0; i + 1 < pattern.lengths.size(); i += 2) sub.Add(pattern.lengths[i], pattern.lengths[i + 1]);
    dlg->m_nSymbolIndex = symbolIndex;
    dlg->show();
    QCoreApplication::processEvents();
    return *dlg;
  }
  CKpLineStyleBase& Sub() { return dlg->m_LineStyleBase; }
  std::vector<long> Lengths() { return kp::test::PatternOf(Sub()); }
  // Pixels inside the frame of a widget that differ from the button face.
  static int Ink(QWidget* w) {
    const QImage img = w->grab().toImage();
    const QRgb face = w->palette().color(QPalette::Button).rgb();
    int n = 0;
    for (int y = 3; y < img.height() - 3; ++y)
      for (int x = 3; x < img.width() - 3; ++x)
        if (img.pixel(x, y) != face) ++n;
    return n;
  }

  std::unique_ptr<CKpLineStylePatternDlg> dlg;
};

TEST_F(UiPatternDialog, SpecialKindsSetTheRepeatModeAndGiveElectricLinesAStep) {
  struct Row {
    short kind;
    Pattern pattern;
    short repeat;
    std::vector<long> after;
  };
  const Row rows[] = {
      {39, {}, 1, {50, 1}},           // electric line on an empty pattern gets a step
      {42, {}, 1, {50, 1}},           // the last electric kind too
      {43, {}, 1, {}},                // parallel double line: repeat, nothing added
      {46, {}, 1, {}},                // gradient line
      {40, {{10, 5}}, 1, {10, 5}},    // an existing pattern is kept
      {38, {}, 0, {}},                // just below the special kinds
      {47, {}, 0, {}},                // just above
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    Open(1, r.pattern);
    Sub().m_nRepeatMode = 1;  // so that leaving the special kinds must clear it
    dlg->StyleCombo()->setCurrentIndex(r.kind);
    EXPECT_EQ(Sub().m_nHVMode, r.kind);
    EXPECT_EQ(Sub().m_nRepeatMode, r.repeat);
    EXPECT_EQ(Lengths(), r.after);
    EXPECT_EQ(dlg->PatternList()->count(), static_cast<int>(r.after.size()));
    EXPECT_EQ(dlg->UserStyleCheck()->isChecked(), !r.after.empty());
    if (!r.after.empty()) {
      EXPECT_EQ(Sub().GetFlagAt(0), 1);
    }
  }
}

TEST_F(UiPatternDialog, SymbolButtonAndAngleFollowTheKind) {
  struct Row {
    short kind;
    bool symbol, angle;
  };
  const Row rows[] = {
      {30, true, false},  // vertical glyph: its angle follows the segment
      {32, true, true},   // glyph at a fixed angle
      {47, true, true},   // custom symbol
      {0, false, false},  // plain dashes
      {39, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    Open(5);
    Sub().m_nAngle = 450;
    dlg->StyleCombo()->setCurrentIndex(r.kind);
    EXPECT_EQ(dlg->SymbolButton()->isEnabled(), r.symbol);
    EXPECT_EQ(dlg->AngleEdit()->isEnabled(), r.angle);
    EXPECT_EQ(dlg->AngleSpin()->isEnabled(), r.angle);
    EXPECT_EQ(dlg->AngleEdit()->text(), r.angle ? "450" : "0");
  }
  // Loading a sub-line opens the angle to every glyph kind, 30 included.
  Open(30);
  EXPECT_TRUE(dlg->AngleEdit()->isEnabled());
}

TEST_F(UiPatternDialog, DeleteRemovesThePairOfTheSelectedLine) {
  struct Row {
    Pattern pattern;
    int selected;
    std::vector<long> after;
  };
  const Row rows[] = {
      {{{10, 5, 20, 6, 30, 7}}, 3, {10, 5, 30, 7}},  // the gap of the second pair
      {{{10, 5, 20, 6, 30, 7}}, 2, {10, 5, 30, 7}},  // its dash
      {{{10, 5, 20, 6, 30, 7}}, 5, {10, 5, 20, 6}},  // the last gap
      {{{10, 5}}, 1, {}},                            // the only pair
      {{{10, 5}}, -1, {10, 5}},                      // nothing selected
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.selected);
    Open(0, r.pattern);
    dlg->PatternList()->setCurrentRow(r.selected);
    dlg->DeleteAction()->trigger();
    EXPECT_EQ(Lengths(), r.after);
    EXPECT_EQ(dlg->PatternList()->count(), static_cast<int>(r.after.size()));
    EXPECT_EQ(dlg->UserStyleCheck()->isChecked(), !r.after.empty());
    EXPECT_EQ(Sub().GetUserStyle(), r.after.empty() ? 0 : 1);
  }
}

TEST_F(UiPatternDialog, NewPairStartsAPatternWithAVisibleHeight) {
  struct Row {
    short height, after;
  };
  const Row rows[] = {{0, 1}, {-3, 1}, {25, 25}};  // no height, a bad one, a good one
  for (const Row& r : rows) {
    SCOPED_TRACE(r.height);
    dlg = std::make_unique<CKpLineStylePatternDlg>();
    Sub().m_nHVLength = r.height;
    dlg->show();
    dlg->NewAction()->trigger();
    EXPECT_EQ(Lengths(), (std::vector<long>{40, 40}));
    EXPECT_EQ(Sub().GetUserStyle(), 1);
    EXPECT_TRUE(dlg->UserStyleCheck()->isChecked());
    EXPECT_EQ(Sub().m_nHVLength, r.after);
    EXPECT_EQ(dlg->HeightEdit()->text(), QString::number(r.after));
    EXPECT_EQ(dlg->PatternList()->currentRow(), 0);
    EXPECT_EQ(dlg->EntryLengthEdit()->text(), "40");
  }
}

TEST_F(UiPatternDialog, ReleasingTheColourLockBlackensTheOwnColour) {
  Open(0);
  Sub().m_clrColor = RGB(255, 0, 0);
  dlg->LockColorAction()->trigger();
  EXPECT_TRUE(Sub().GetColorLock());
  EXPECT_TRUE(dlg->LockColorAction()->isChecked());
  EXPECT_EQ(Sub().m_clrColor, RGB(255, 0, 0));
  dlg->LockColorAction()->trigger();
  EXPECT_FALSE(Sub().GetColorLock());
  EXPECT_FALSE(dlg->LockColorAction()->isChecked());
  EXPECT_EQ(Sub().m_clrColor, 0u);
  EXPECT_EQ(dlg->ColorButton()->GetColor(), 0u);
}

TEST_F(UiPatternDialog, NumberBoxesTakeOnlyValuesInRange) {
  Open(32);
  const std::function<long()> angle = [this] { return Sub().m_nAngle; };
  const std::function<long()> height = [this] { return Sub().m_nHVLength; };
  const std::function<long()> demo = [this] { return dlg->m_nDemoWidth; };
  struct Row {
    QLineEdit* edit;
    const char* text;
    std::function<long()> value;
    long expected;
  };
  const Row rows[] = {
      {dlg->AngleEdit(), "1,800", angle, 1800},  // thousands separators are dropped
      {dlg->AngleEdit(), "3601", angle, 1800},   // beyond a full turn: ignored
      {dlg->AngleEdit(), "3600", angle, 3600},
      {dlg->HeightEdit(), "35", height, 35},
      {dlg->HeightEdit(), "401", height, 35},
      {dlg->DemoWidthEdit(), "7", demo, 7},
      {dlg->DemoWidthEdit(), "101", demo, 7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    r.edit->setText(QString::fromUtf8(r.text));
    EXPECT_EQ(r.value(), r.expected);
  }
  const short curWidth = Sub().m_nCurWidth;
  dlg->DemoArea()->grab();  // the demo draws at the demo width without keeping it
  EXPECT_EQ(Sub().m_nCurWidth, curWidth);
  dlg->AngleSpin()->setValue(900);
  EXPECT_EQ(Sub().m_nAngle, 900);
}

TEST_F(UiPatternDialog, EntryLengthEditsTheSelectedEntry) {
  Open(0, {{10, 5, 20, 6}});
  dlg->PatternList()->setCurrentRow(2);
  EXPECT_EQ(dlg->EntryLengthEdit()->text(), "20");
  dlg->EntryLengthEdit()->setText("33");
  EXPECT_EQ(Lengths(), (std::vector<long>{10, 5, 33, 6}));
  EXPECT_EQ(dlg->PatternList()->item(2)->text(), "33");
  EXPECT_EQ(dlg->PatternList()->currentRow(), 2);
  dlg->EntryLengthEdit()->setText("401");
  EXPECT_EQ(Sub().GetAt(2), 33);
  dlg->EntryLengthSpin()->setValue(44);
  EXPECT_EQ(Sub().GetAt(2), 44);
}

TEST_F(UiPatternDialog, CombosWriteThroughTheirSetters) {
  Open(0, {{10, 5, 20, 6}});
  EXPECT_EQ(dlg->StartModeCombo()->currentIndex(), 0);  // drawn first: mode 1
  struct Row {
    QComboBox* box;
    int index;
    std::function<long()> value;
    long expected;
  };
  const Row rows[] = {
      {dlg->StartModeCombo(), 1, [this] { return Sub().GetStartMode(); }, 0},
      {dlg->StartModeCombo(), 0, [this] { return Sub().GetStartMode(); }, 1},
      {dlg->JoinCombo(), 2, [this] { return Sub().GetJoin(); }, 2},
      {dlg->CapCombo(), 1, [this] { return Sub().GetCap(); }, 1},
      {dlg->PenStyleCombo(), 3, [this] { return Sub().GetBase(); }, 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    r.box->setCurrentIndex(r.index);
    EXPECT_EQ(r.value(), r.expected);
  }
  Sub().SetStartMode(0);
  dlg->InitContent();
  EXPECT_EQ(dlg->StartModeCombo()->currentIndex(), 1);
}

TEST_F(UiPatternDialog, SymbolButtonRunsTheCharacterChooserForGlyphs) {
  Open(28);
  Sub().SetSymbol(65);
  Sub().SetFont("Serif");
  for (const int answer : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(answer);
    CKpDialog::s_modalHook = [answer](QDialog& d) {
      auto* chooser = dynamic_cast<CKpCharSelectDlg*>(&d);
      if (!chooser) return IDCANCEL;
      EXPECT_EQ(chooser->GetSymbolID(), 65);
      EXPECT_EQ(chooser->GetFaceName(), "Serif");
      chooser->SetSymbolID(0x2A);
      chooser->SetFaceName("OpenSymbol");
      return answer;
    };
    dlg->SymbolButton()->click();
  }
  EXPECT_EQ(Sub().m_nSymbol, 0x2A);
  EXPECT_EQ(Sub().GetFont(), "OpenSymbol");
}

TEST_F(UiPatternDialog, SymbolButtonRunsTheSymbolPickerForCustomSymbols) {
  Open(47, {}, 2);
  CKpDialog::s_modalHook = [](QDialog& d) {
    auto* picker = dynamic_cast<CKpLslExtSymPickerDlg*>(&d);
    if (!picker) return IDCANCEL;
    EXPECT_EQ(picker->GetIndex(), 2);
    picker->SetIndex(5);
    return IDOK;
  };
  dlg->SymbolButton()->click();
  EXPECT_EQ(dlg->m_nSymbolIndex, 5);
}

TEST_F(UiPatternDialog, DemoAndSymbolButtonPaintWhatTheSubLineShows) {
  struct Row {
    const char* what;
    short kind;
    Pattern pattern;
    long cell;
    bool symbolButton;  // which widget is looked at
    bool ink;
  };
  const Row rows[] = {
      {"dashed line", 0, {{40, 40}}, -1, false, true},
      {"symbols at the dash ends", 47, {{40, 20}}, 1, false, true},
      {"no symbol chosen", 47, {{40, 20}}, -1, false, false},
      {"symbols without a pattern", 47, {}, 1, false, false},
      {"zero-length pattern", 47, {{0, 0}}, 1, false, false},
      {"button shows the chosen symbol", 47, {}, 1, true, true},
      {"button without a symbol", 47, {}, -1, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Open(r.kind, r.pattern, r.cell);
    Sub().m_nHVLength = 60;
    Sub().m_clrColor = RGB(255, 0, 0);
    dlg->InitContent();
    dlg->DemoWidthEdit()->setText("5");
    QWidget* w = r.symbolButton ? static_cast<QWidget*>(dlg->SymbolButton()) : dlg->DemoArea();
    EXPECT_EQ(Ink(w) > 0, r.ink);
  }
  // A plain sub-line draws in its own colour, not in the widget's pen: the
  // outlines of hollow circles are drawn with the selected pen.
  Open(26, {{40, 40}});
  Sub().m_nHVLength = 60;
  Sub().m_clrColor = RGB(255, 0, 0);
  dlg->InitContent();
  dlg->DemoWidthEdit()->setText("5");
  const QImage img = dlg->DemoArea()->grab().toImage();
  int red = 0, dark = 0;
  for (int y = 3; y < img.height() - 3; ++y)
    for (int x = 3; x < img.width() - 3; ++x) {
      const QRgb p = img.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 80) ++red;
      if (qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100) ++dark;
    }
  EXPECT_GT(red, 0);
  EXPECT_EQ(dark, 0);
}

}  // namespace
