// The classic style editor and its pattern editor driven without a person:
// shown (never run modally), their widgets set as a user would set them, the
// nested dialogs answered through CKpDialog::s_modalHook and message boxes
// through the message-box hook.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "tests/ui/UiTestLibraries.h"
#include "ui/CDlgCLineEdit.h"
#include "ui/CDlgGLineEdit.h"
#include "ui/CKpCharSelectDlg.h"
#include "ui/CListCLineSel.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

using Lengths = std::vector<long>;
using kp::test::PatternOf;
using kp::test::SubLine;

// Pixels of a widget's grab that are neither white nor the frame's grey.
int Ink(QWidget* w) {
  const QImage img = w->grab().toImage();
  int n = 0;
  for (int y = 2; y < img.height() - 2; ++y)
    for (int x = 2; x < img.width() - 2; ++x)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) ++n;
  return n;
}

void Show(QWidget& w) {
  w.show();
  QCoreApplication::processEvents();
}

class UiClassicEditors : public ::testing::Test {
 protected:
  void TearDown() override {
    CKpDialog::s_modalHook = nullptr;
    kp::ui::g_messageBoxHook = nullptr;
  }

  CDlgCLineEdit& OpenStyle(const std::vector<CKpLineStyleBase>& subs, long sel = 0) {
    style = std::make_unique<CDlgCLineEdit>();
    for (CKpLineStyleBase s : subs) style->m_LineStyleObj.AddStyleBase(s);
    style->m_nSelIndex = sel;
    Show(*style);
    return *style;
  }
  CDlgGLineEdit& OpenPattern(const CKpLineStyleBase& sub) {
    pattern = std::make_unique<CDlgGLineEdit>();
    pattern->m_LineStyleBase = sub;
    Show(*pattern);
    return *pattern;
  }
  std::vector<short> Widths() { return kp::test::WidthsOf(style->m_LineStyleObj); }
  CKpLineStyleBase& Sub() { return pattern->m_LineStyleBase; }

  std::unique_ptr<CDlgCLineEdit> style;
  std::unique_ptr<CDlgGLineEdit> pattern;
};

// --- the style editor ---

TEST_F(UiClassicEditors, DeletingRefusesTheLastSubLineAndSaysWhy) {
  struct Row {
    std::vector<short> widths;
    std::vector<short> after;
    int messages;
  };
  const Row rows[] = {
      {{3}, {3}, 1},        // the only sub-line stays, and the user is told
      {{3, 5}, {5}, 0},     // with two, the selected first one goes
      {{3, 5, 7}, {3, 7}, 0},  // a middle one goes; selection returns to the first
  };
  for (const Row& row : rows) {
    std::vector<CKpLineStyleBase> subs;
    for (short w : row.widths) subs.push_back(SubLine(w));
    OpenStyle(subs, row.widths.size() == 3 ? 1 : 0);
    int messages = 0;
    kp::ui::g_messageBoxHook = [&messages](const CString& text, kp::ui::MsgButtons) {
      EXPECT_FALSE(text.empty());
      ++messages;
      return IDOK;
    };
    style->GetDeleteButton()->click();
    EXPECT_EQ(Widths(), row.after);
    EXPECT_EQ(messages, row.messages);
    EXPECT_EQ(style->GetList()->GetCount(), static_cast<int>(row.after.size()));
    EXPECT_EQ(style->GetList()->GetCurSel(), 0);
  }
}

TEST_F(UiClassicEditors, UpAndDownSwapWithTheNeighbourAndKeepItSelected) {
  struct Row {
    long sel;
    bool up;
    std::vector<short> after;
    int selAfter;
  };
  const Row rows[] = {
      {1, true, {2, 1, 3}, 0},   // up from the middle
      {0, true, {1, 2, 3}, 0},   // up from the top: nothing
      {1, false, {1, 3, 2}, 2},  // down from the middle
      {2, false, {1, 2, 3}, 2},  // down from the bottom: nothing
  };
  for (const Row& row : rows) {
    OpenStyle({SubLine(1), SubLine(2), SubLine(3)}, row.sel);
    (row.up ? style->GetUpButton() : style->GetDownButton())->click();
    EXPECT_EQ(Widths(), row.after);
    EXPECT_EQ(style->GetList()->GetCurSel(), row.selAfter);
    EXPECT_EQ(style->m_nSelIndex, row.selAfter);
  }
}

TEST_F(UiClassicEditors, BoxesAndWidthTypeWriteTheSelectedSubLineWithinTheirRanges) {
  CKpLineStyleBase second = SubLine(2);
  second.m_nVarWidth = 40;
  OpenStyle({SubLine(1), second}, 1);
  CKpLineStyleBase& sub = *style->m_LineStyleObj.GetElementAt(1);
  // Opening shows the selected sub-line's values; 9 is no entry of the list.
  EXPECT_EQ(style->GetVarWidthEdit()->text(), "40");
  EXPECT_EQ(style->GetWidthTypeCombo()->currentIndex(), -1);

  const std::function<short()> horiz = [&] { return sub.m_nHorizOffset; };
  const std::function<short()> vert = [&] { return sub.m_nVertOffset; };
  const std::function<short()> var = [&] { return sub.m_nVarWidth; };
  struct Row {
    CKpNumEdit* edit;
    const char* text;
    std::function<short()> field;
    short expected;
  };
  const Row rows[] = {
      {style->GetHorizOffsetEdit(), "-150", horiz, -150},  // lower edge
      {style->GetHorizOffsetEdit(), "151", horiz, -150},   // beyond: kept
      {style->GetVertOffsetEdit(), "50", vert, 50},
      {style->GetVertOffsetEdit(), "-51", vert, 50},
      {style->GetVarWidthEdit(), "-20", var, -20},          // widths may shrink a sub-line
      {style->GetVarWidthEdit(), "254", var, 254},
      {style->GetVarWidthEdit(), "255", var, 254},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    row.edit->setText(QString::fromUtf8(row.text));
    EXPECT_EQ(row.field(), row.expected);
  }
  for (int type : {2, 0, 1}) {
    style->GetWidthTypeCombo()->setCurrentIndex(type);
    EXPECT_EQ(sub.m_nWidthType, type);
  }
  EXPECT_EQ(style->m_LineStyleObj.GetElementAt(0)->m_nWidthType, 9);  // the other one untouched
}

TEST_F(UiClassicEditors, FillGroupIsVisiblyInactiveAndSaysWhy) {
  OpenStyle({SubLine(1)});
  QGroupBox* fill = style->GetFillGroup();
  ASSERT_NE(fill, nullptr);
  EXPECT_TRUE(fill->isVisible());
  EXPECT_FALSE(fill->isEnabled());
  EXPECT_FALSE(fill->toolTip().isEmpty());
  const auto buttons = fill->findChildren<QWidget*>();
  ASSERT_FALSE(buttons.isEmpty());
  for (QWidget* child : buttons) EXPECT_FALSE(child->isEnabled());
}

TEST_F(UiClassicEditors, NewAndEditRunThePatternEditorOnACopy) {
  struct Row {
    bool isNew;
    int answer;
    std::vector<short> after;
    Lengths editedPattern;  // of the new or edited sub-line after the run
  };
  const Row rows[] = {
      {true, IDOK, {3, 5, 5}, {10, 6, 4, 4}},  // appended: a copy of the selected one, edited
      {true, IDCANCEL, {3, 5}, {10, 6}},       // nothing appended
      {false, IDOK, {3, 5}, {10, 6, 4, 4}},    // replaced in place
      {false, IDCANCEL, {3, 5}, {10, 6}},      // kept
  };
  for (const Row& row : rows) {
    OpenStyle({SubLine(3), SubLine(5, 0, {10, 6})}, 1);
    int runs = 0;
    CKpDialog::s_modalHook = [&runs, &row](QDialog& d) {
      auto* editor = dynamic_cast<CDlgGLineEdit*>(&d);
      if (!editor) return IDCANCEL;
      ++runs;
      EXPECT_EQ(editor->m_LineStyleBase.m_nWidth, 5);  // started from the selected sub-line
      editor->GetAddButton()->click();
      return row.answer;
    };
    (row.isNew ? style->GetNewButton() : style->GetEditButton())->click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Widths(), row.after);
    EXPECT_EQ(style->GetList()->GetCount(), static_cast<int>(row.after.size()));
    const long last = style->m_LineStyleObj.Count() - 1;
    EXPECT_EQ(PatternOf(*style->m_LineStyleObj.GetElementAt(static_cast<int>(last))), row.editedPattern);
  }
}

TEST_F(UiClassicEditors, SampleDrawsTheStyleWithoutChangingIt) {
  CKpLineStyleBase fixed = SubLine(2, 0, {12, 6});
  fixed.m_nWidthType = 0;
  fixed.m_nVarWidth = 4;
  OpenStyle({fixed, SubLine(1)});
  style->GetTestWidthEdit()->setText("9");
  const CKpLineStyleObj before = style->m_LineStyleObj;
  EXPECT_GT(Ink(style->GetSample()), 0);
  EXPECT_GT(Ink(style->GetList()->viewport()), 0);
  for (int i = 0; i < before.Count(); ++i) {
    EXPECT_EQ(style->m_LineStyleObj.GetElementAt(i)->m_nCurWidth, before.GetElementAt(i)->m_nCurWidth);
    EXPECT_EQ(style->m_LineStyleObj.GetElementAt(i)->m_clrCurrent, before.GetElementAt(i)->m_clrCurrent);
  }
}

// --- the pattern editor ---

TEST_F(UiClassicEditors, PatternAddAndDeleteWorkInPairs) {
  struct Row {
    short kind;
    Lengths pattern;
    int action;  // -1 "增加", else "删除" at that list row
    Lengths after;
    short kindAfter;
  };
  const Row rows[] = {
      {0, {}, -1, {4, 4}, 0},             // appended to nothing
      {5, {10, 6}, -1, {10, 6, 4, 4}, 5},  // appended after the last pair
      {5, {10, 6}, 1, {}, 0},             // the last pair goes: no decoration without a pattern
      {12, {10, 6, 20, 8}, 3, {10, 6}, 12},  // the gap's row removes its pair
      {46, {10, 6}, 0, {}, 46},           // a tapered line needs no pattern: kept
  };
  for (const Row& row : rows) {
    OpenPattern(SubLine(1, row.kind, row.pattern));
    if (row.action < 0) {
      pattern->GetAddButton()->click();
    } else {
      pattern->GetPatternList()->setCurrentRow(row.action);
      pattern->GetDeleteButton()->click();
    }
    EXPECT_EQ(PatternOf(Sub()), row.after);
    EXPECT_EQ(Sub().m_nHVMode, row.kindAfter);
    EXPECT_EQ(pattern->GetUserStyleCheck()->isChecked(), !row.after.empty());
    EXPECT_EQ(pattern->GetPatternList()->count(), static_cast<int>(row.after.size()));
  }
}

TEST_F(UiClassicEditors, RepeatModeGivesTheFirstEntryAStep) {
  struct Row {
    Lengths pattern;
    int selectRow;     // list row selected before the box is typed into, -1 none
    const char* box;   // typed into "线段长度：", or null
    Lengths after;
  };
  const Row rows[] = {
      {{0, 4}, 0, nullptr, {50, 4}},      // a first entry without length gets 50
      {{30, 5}, 1, "120", {120, 120}},    // the gap took 120; so does the first entry
      {{}, -1, "10", {50, 50}},           // empty pattern, box below 20: a pair of 50
      {{}, -1, "30", {30, 30}},           // empty pattern: a pair of the box's value
  };
  for (const Row& row : rows) {
    OpenPattern(SubLine(1, 39, row.pattern));
    if (row.selectRow >= 0) pattern->GetPatternList()->setCurrentRow(row.selectRow);
    if (row.box) pattern->GetEntryLengthEdit()->setText(QString::fromUtf8(row.box));
    pattern->GetRepeatModeCombo()->setCurrentIndex(1);
    EXPECT_EQ(Sub().m_nRepeatMode, 1);
    EXPECT_EQ(PatternOf(Sub()), row.after);
  }
  // Back to dashes; modes nothing draws cannot be chosen.
  pattern->GetRepeatModeCombo()->setCurrentIndex(0);
  EXPECT_EQ(Sub().m_nRepeatMode, 0);
  pattern->GetRepeatModeCombo()->setCurrentIndex(3);
  EXPECT_EQ(Sub().m_nRepeatMode, 0);
}

TEST_F(UiClassicEditors, VerticalLengthAndOkDropDecorationsThatCannotShow) {
  struct Row {
    short kind;
    Lengths pattern;
    const char* length;  // typed into "纵向长度：", or null
    bool ok;
    short kindAfter;
    short lengthAfter;
  };
  const Row rows[] = {
      {12, {10, 6}, "0", false, 0, 0},      // no extent across the line: plain line
      {12, {10, 6}, "15", false, 12, 15},   // a length keeps the kind
      {12, {10, 6}, "201", false, 12, 7},   // beyond the range: ignored
      {5, {}, nullptr, true, 0, 7},         // OK without a pattern: plain line
      {5, {10, 6}, nullptr, true, 5, 7},    // OK with one keeps the kind
      {44, {}, nullptr, true, 44, 7},       // a kind beyond the list is not this editor's
  };
  for (const Row& row : rows) {
    CKpLineStyleBase sub = SubLine(1, row.kind, row.pattern);
    sub.m_nHVLength = 7;
    OpenPattern(sub);
    if (row.length) pattern->GetHVLengthEdit()->setText(QString::fromUtf8(row.length));
    if (row.ok) pattern->GetOkButton()->click();
    EXPECT_EQ(Sub().m_nHVMode, row.kindAfter);
    EXPECT_EQ(Sub().m_nHVLength, row.lengthAfter);
    EXPECT_EQ(pattern->result(), row.ok ? QDialog::Accepted : QDialog::Rejected);
  }
}

TEST_F(UiClassicEditors, PenCombosMapToTheSubLineWord) {
  OpenPattern(SubLine(1, 0, {10, 6}));
  EXPECT_EQ(pattern->GetKindCombo()->count(), CDlgGLineEdit::kKindCount);
  EXPECT_EQ(pattern->GetStartModeCombo()->currentIndex(), 0);  // a drawn start
  pattern->GetStartModeCombo()->setCurrentIndex(1);
  EXPECT_EQ(Sub().GetStartMode(), 0);
  pattern->GetJoinCombo()->setCurrentIndex(2);
  pattern->GetCapCombo()->setCurrentIndex(1);
  pattern->GetPenStyleCombo()->setCurrentIndex(3);
  EXPECT_EQ(Sub().GetJoin(), 2);
  EXPECT_EQ(Sub().GetCap(), 1);
  EXPECT_EQ(Sub().GetBase(), 3);
}

TEST_F(UiClassicEditors, GlyphKindsOpenTheSymbolChooser) {
  OpenPattern(SubLine(1, 0, {10, 6}));
  EXPECT_FALSE(pattern->GetSymbolButton()->isEnabled());
  EXPECT_FALSE(pattern->GetAngleEdit()->isEnabled());
  pattern->GetKindCombo()->setCurrentIndex(30);
  ASSERT_TRUE(pattern->GetSymbolButton()->isEnabled());
  EXPECT_TRUE(pattern->GetAngleEdit()->isEnabled());
  pattern->GetAngleEdit()->setText("-900");
  EXPECT_EQ(Sub().m_nAngle, -900);
  QString title;
  CKpDialog::s_modalHook = [&title](QDialog& d) {
    auto* chooser = dynamic_cast<CKpCharSelectDlg*>(&d);
    if (!chooser) return IDCANCEL;
    title = chooser->windowTitle();
    chooser->SetSymbolID(0x41);
    chooser->SetFaceName("Serif");
    return IDOK;
  };
  pattern->GetSymbolButton()->click();
  EXPECT_EQ(title, QStringLiteral("符号选择器"));
  EXPECT_EQ(Sub().m_nSymbol, 0x41);
  EXPECT_EQ(Sub().GetFont(), "Serif");
}

TEST_F(UiClassicEditors, PatternSampleDrawsFromACopy) {
  CKpLineStyleBase sub = SubLine(3, 0, {12, 6});
  sub.m_nCurWidth = 9;  // a current width a host has set
  OpenPattern(sub);
  EXPECT_GT(Ink(pattern->GetSample()), 0);
  EXPECT_EQ(Sub().m_nCurWidth, 9);
}

}  // namespace
