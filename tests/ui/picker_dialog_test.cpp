// The picker dialog driven without a person: the dialog is shown (never run
// modally) and its handlers are called or its widgets clicked and typed into.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "companions/CKpGeoStyle.h"
#include "model/CKpLineStyleLib.h"
#include "tests/ui/UiTestLibraries.h"
#include "ui/CKpLineStylePicker.h"
#include "ui/CKpLineStylePickerDlg.h"
#include "ui/CKpLineStylePickerList.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpFlatButton.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

// The grouped test library: root sub-groups A and B, then the six pens, then
// 10 Road, 11 River, 12 Rail, 13 Road bridge.
// Cells of the root: 0 A, 1 B, 2..7 pens 0..5, 8..11 styles 10..13.
using kp::test::AddStyle;
std::unique_ptr<CKpLineStyleLib> MakeLib() { return kp::test::MakeGroupedLib(); }

class UiPickerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    lib = MakeLib();
    ASSERT_EQ(lib->GetRootGroup()->GetSubGroupCount(), 2);
    ASSERT_EQ(lib->GetRootGroup()->GetItemCount(), 4);
    ASSERT_EQ(lib->GetRootGroup()->SubGroup(0L)->GetItemCount(), 2);
    dlg = std::make_unique<CKpLineStylePickerDlg>();
    dlg->AttachLineStyleLib(lib.get());
  }
  void Show() {
    dlg->show();
    QCoreApplication::processEvents();
  }
  CKpLineStyleGroup* Root() const { return lib->GetRootGroup(); }
  CKpLineStyleGroup* Sub(long i) const { return lib->GetRootGroup()->SubGroup(i); }
  QImage Preview() const { return dlg->Preview()->grab().toImage(); }
  bool OptionsEnabled() const {
    return dlg->ColorButton()->isEnabled() && dlg->WidthEdit()->isEnabled() && dlg->WidthSpin()->isEnabled();
  }
  // Pixels of the preview that are neither the button face nor the frame.
  int InkPixels(const QImage& img, QRgb face) const {
    int n = 0;
    for (int y = 3; y < img.height() - 3; ++y)
      for (int x = 3; x < img.width() - 3; ++x)
        if (img.pixel(x, y) != face) ++n;
    return n;
  }

  // Pixels whose channel (0 red, 1 green, 2 blue) clearly dominates the others.
  static int Tinted(const QImage& img, int channel) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QRgb p = img.pixel(x, y);
        const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
        if (c[channel] > c[(channel + 1) % 3] + 40 && c[channel] > c[(channel + 2) % 3] + 40) ++n;
      }
    return n;
  }

  std::unique_ptr<CKpLineStyleLib> lib;
  std::unique_ptr<CKpLineStylePickerDlg> dlg;
};

TEST_F(UiPickerDialog, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(dlg->GetCurSelStyle(), -1);
  EXPECT_EQ(dlg->GetCurSelWidth(), 1);
  EXPECT_EQ(dlg->GetCurSelColor(), 0);
  EXPECT_EQ(dlg->GetCurSelGroup(), Root());
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("线型选择"));
  Show();
  EXPECT_EQ(dlg->GetCurSelCell(), -1);
  EXPECT_FALSE(OptionsEnabled());
  EXPECT_EQ(dlg->FindIDBox()->count(), 4);
  EXPECT_EQ(dlg->FindIDBox()->itemText(0), "10");
  EXPECT_EQ(dlg->FindNameBox()->itemText(3), "Road bridge");
  EXPECT_EQ(dlg->StyleList()->GetCount(), 2 + 6 + 4);
  // Three columns and about three and a half rows of cells.
  CKpLineStylePickerList* list = dlg->StyleList();
  const QSize client = list->viewport()->size();
  EXPECT_EQ(list->GetColumnWidth(), client.width() / 3 + 1);
  EXPECT_EQ(list->GetItemHeight(), client.height() * 2 / 7 + 1);
  const QRect first = list->visualRect(list->model()->index(0, 0));
  EXPECT_EQ(list->visualRect(list->model()->index(2, 0)).top(), first.top());
  EXPECT_GT(list->visualRect(list->model()->index(3, 0)).top(), first.top());
  EXPECT_EQ(dlg->UpButton()->toolTip(), QStringLiteral("向上一级"));
  EXPECT_TRUE(dlg->EditLibButton()->isEnabled());
}

struct PreselectCase {
  long style;
  long cell;  // -1: nothing selected
  const char* group;
};

TEST_F(UiPickerDialog, PreselectionSelectsTheCellOfTheStyleOrPen) {
  const PreselectCase cases[] = {
      {3, 5, "root"},   // fourth pen after two sub-groups
      {0, 2, "root"},   {5, 7, "root"},  {10, 8, "root"}, {13, 11, "root"},
      {20, 0, "A"},     {21, 1, "A"},    {30, 0, "B"},    {99, -1, "root"},
  };
  for (const PreselectCase& c : cases) {
    SCOPED_TRACE(c.style);
    dlg = std::make_unique<CKpLineStylePickerDlg>();
    dlg->AttachLineStyleLib(lib.get());
    dlg->SetCurSelStyle(c.style);
    Show();
    const CString group = dlg->GetCurSelGroup() == Root() ? "root" : dlg->GetCurSelGroup()->GetName();
    EXPECT_EQ(group, c.group);
    EXPECT_EQ(dlg->GetCurSelCell(), c.cell);
    EXPECT_EQ(OptionsEnabled(), c.cell >= 0);
    EXPECT_EQ(dlg->GetCurSelStyle(), c.style);  // the preset survives
  }
}

TEST_F(UiPickerDialog, StyleInSubGroupFillsTheFindBoxesWithThatGroup) {
  dlg->SetCurSelStyle(21);
  Show();
  EXPECT_EQ(dlg->GetCurSelGroup(), Sub(0));
  ASSERT_EQ(dlg->FindIDBox()->count(), 2);
  EXPECT_EQ(dlg->FindIDBox()->itemText(1), "21");
  EXPECT_EQ(dlg->FindNameBox()->itemText(0), "Fence");
  EXPECT_EQ(dlg->FindIDBox()->currentText(), "21");
  EXPECT_EQ(dlg->FindNameBox()->currentText(), "Wall");
  EXPECT_EQ(dlg->GroupNameBox()->text(), "A");
  EXPECT_EQ(dlg->GroupPicker()->GetCurGroup(), Sub(0));
}

TEST_F(UiPickerDialog, DoubleClickEntersGroupAndUpReturnsWithNothingSelected) {
  Show();
  dlg->StyleList()->SetCurSel(1);  // group B
  dlg->OnSelchangeLslLinestylePicker();
  EXPECT_FALSE(OptionsEnabled());
  EXPECT_EQ(dlg->FindNameBox()->currentText(), "B");
  EXPECT_EQ(dlg->FindIDBox()->currentText(), "");
  dlg->OnDblclkLslLinestylePicker();
  EXPECT_EQ(dlg->GetCurSelGroup(), Sub(1));
  EXPECT_EQ(dlg->GetCurSelStyle(), -1);
  EXPECT_EQ(dlg->StyleList()->GetCount(), 1);
  EXPECT_EQ(dlg->FindIDBox()->count(), 1);
  EXPECT_EQ(dlg->GroupPicker()->GetCurGroup(), Sub(1));

  // Choose the style, then go up: back in the root with nothing chosen.
  dlg->StyleList()->SetCurSel(0);
  dlg->OnSelchangeLslLinestylePicker();
  EXPECT_EQ(dlg->GetCurSelStyle(), 30);
  EXPECT_TRUE(OptionsEnabled());
  QTest::mouseClick(dlg->UpButton(), Qt::LeftButton);
  EXPECT_EQ(dlg->GetCurSelGroup(), Root());
  EXPECT_EQ(dlg->GetCurSelStyle(), -1);
  EXPECT_EQ(dlg->GetCurSelCell(), -1);
  EXPECT_FALSE(OptionsEnabled());
  EXPECT_EQ(dlg->FindIDBox()->count(), 4);
  EXPECT_EQ(dlg->GroupPicker()->GetCurGroup(), Root());

  // In the root there is no level above.
  dlg->OnLslGototop();
  EXPECT_EQ(dlg->GetCurSelGroup(), Root());
}

TEST_F(UiPickerDialog, EnterInTheListActsAsDoubleClickAndNeverCloses) {
  Show();
  dlg->StyleList()->setFocus();
  dlg->StyleList()->SetCurSel(0);  // group A
  QTest::keyClick(dlg->StyleList(), Qt::Key_Return);
  EXPECT_EQ(dlg->GetCurSelGroup(), Sub(0));
  EXPECT_TRUE(dlg->isVisible());
  QTest::keyClick(dlg.get(), Qt::Key_Enter);
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(UiPickerDialog, DoubleClickOnAPenResetsColourAndWidth) {
  dlg->SetCurSelColor(RGB(255, 0, 0));
  dlg->SetCurSelWidth(7);
  Show();
  dlg->StyleList()->SetCurSel(3);  // pen 1
  dlg->OnSelchangeLslLinestylePicker();
  EXPECT_EQ(dlg->GetCurSelColor(), static_cast<long>(RGB(255, 0, 0)));
  dlg->OnDblclkLslLinestylePicker();
  EXPECT_EQ(dlg->GetCurSelStyle(), 1);
  EXPECT_EQ(dlg->GetCurSelColor(), 0);
  EXPECT_EQ(dlg->GetCurSelWidth(), 1);
  EXPECT_EQ(dlg->WidthEdit()->text(), "1");
  EXPECT_EQ(dlg->FindNameBox()->currentText(), "Win32 System");
  EXPECT_EQ(dlg->FindIDBox()->currentText(), "1");
}

struct FindIdCase {
  const char* text;
  const char* group;  // current group afterwards
  long cell;          // -1: nothing selected, boxes cleared
  long style;         // chosen afterwards
};

TEST_F(UiPickerDialog, FindByIdMovesToTheFilingGroup) {
  const FindIdCase cases[] = {
      {"21", "A", 1, 21},   {"12", "root", 10, 12}, {"3", "root", 5, 3},
      {"30", "B", 0, 30},   {"0", "root", 2, 0},    {"99", "root", -1, -1},
  };
  Show();
  for (const FindIdCase& c : cases) {
    SCOPED_TRACE(c.text);
    // Every case starts from the root with nothing chosen.
    dlg->OnChangeGroupPicker(reinterpret_cast<quintptr>(Root()), 0);
    dlg->SetCurSelStyle(-1);
    dlg->FindIDBox()->setEditText(c.text);
    dlg->OnSelchangeFindID();
    const CString group = dlg->GetCurSelGroup() == Root() ? "root" : dlg->GetCurSelGroup()->GetName();
    EXPECT_EQ(group, c.group);
    EXPECT_EQ(dlg->GetCurSelCell(), c.cell);
    EXPECT_EQ(dlg->GetCurSelStyle(), c.style);
    if (c.cell < 0) {
      EXPECT_EQ(dlg->FindIDBox()->currentText(), "");
      EXPECT_EQ(dlg->FindNameBox()->currentText(), "");
      EXPECT_EQ(dlg->GroupNameBox()->text(), "");
    } else {
      EXPECT_EQ(dlg->FindIDBox()->currentText(), c.text);
    }
  }
}

TEST_F(UiPickerDialog, FindByIdIgnoresNegativeAndNonNumbers) {
  dlg->SetCurSelStyle(11);
  Show();
  for (const char* text : {"-4", "abc", ""}) {
    SCOPED_TRACE(text);
    dlg->FindIDBox()->setEditText(text);
    dlg->OnSelchangeFindID();
    EXPECT_EQ(dlg->GetCurSelCell(), 9);
    EXPECT_EQ(dlg->GetCurSelStyle(), 11);
  }
}

TEST_F(UiPickerDialog, EnterInTheIdBoxFindsWithoutClosing) {
  Show();
  QLineEdit* edit = dlg->FindIDBox()->lineEdit();
  edit->setFocus();
  edit->setText("13");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(dlg->GetCurSelCell(), 11);
  EXPECT_EQ(dlg->GetCurSelStyle(), 13);
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(UiPickerDialog, FindByNameWrapsAroundInTheCurrentGroup) {
  Show();
  // "road" matches 10 Road and 13 Road bridge in the root, case-insensitively;
  // "Road small" in group B is not searched.
  const long expected[] = {8, 11, 8, 11};
  for (long cell : expected) {
    dlg->FindNameBox()->setEditText("road");
    dlg->OnSelchangeFindName();
    EXPECT_EQ(dlg->GetCurSelCell(), cell);
  }
  EXPECT_EQ(dlg->GetCurSelGroup(), Root());

  // From a pen cell the search starts at the first style.
  dlg->StyleList()->SetCurSel(4);
  dlg->OnSelchangeLslLinestylePicker();
  dlg->FindNameBox()->setEditText("RI");
  dlg->OnSelchangeFindName();
  EXPECT_EQ(dlg->GetCurSelCell(), 9);
  EXPECT_EQ(dlg->GetCurSelStyle(), 11);

  // Enter in the name box runs the same find.
  QLineEdit* edit = dlg->FindNameBox()->lineEdit();
  edit->setFocus();
  edit->setText("rail");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(dlg->GetCurSelStyle(), 12);
  EXPECT_TRUE(dlg->isVisible());

  // No match clears the boxes and keeps the selection.
  dlg->FindNameBox()->setEditText("zzz");
  dlg->OnSelchangeFindName();
  EXPECT_EQ(dlg->FindNameBox()->currentText(), "");
  EXPECT_EQ(dlg->FindIDBox()->currentText(), "");
  EXPECT_EQ(dlg->GroupNameBox()->text(), "");
  EXPECT_EQ(dlg->GetCurSelStyle(), 12);
}

TEST_F(UiPickerDialog, PreviewDrawsTheChoiceAndKeepsItForWidthZero) {
  dlg->SetCurSelStyle(10);
  Show();
  const QRgb face = dlg->palette().color(QPalette::Button).rgb();
  const QImage thin = Preview();
  const int thinInk = InkPixels(thin, face);
  EXPECT_GT(thinInk, 50);

  QLineEdit* edit = dlg->WidthEdit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "0");
  EXPECT_EQ(edit->text(), "0");
  EXPECT_EQ(dlg->GetCurSelWidth(), 0);
  EXPECT_EQ(Preview(), thin);  // width 0: the previous preview stays

  edit->selectAll();
  QTest::keyClicks(edit, "20");
  EXPECT_EQ(dlg->GetCurSelWidth(), 20);
  EXPECT_GT(InkPixels(Preview(), face), thinInk * 3);  // 20 units of 0.1 mm: about 7 pixels

  // The spin reaches 0 as well, and 0 keeps the preview again.
  const QImage wide = Preview();
  dlg->WidthSpin()->setValue(0);
  EXPECT_EQ(edit->text(), "0");
  EXPECT_EQ(dlg->GetCurSelWidth(), 0);
  EXPECT_EQ(Preview(), wide);
}

TEST_F(UiPickerDialog, PreviewOfPensUsesTheButtonColour) {
  dlg->SetCurSelStyle(0);
  dlg->SetCurSelColor(RGB(255, 0, 0));
  Show();
  const QRgb face = dlg->palette().color(QPalette::Button).rgb();
  // The solid pen is a hairline drawn anti-aliased (the engine smooths the
  // preview): count the pixels where the colour dominates.
  const int red = Tinted(Preview(), 0);
  EXPECT_GT(red, 50);

  // The colour button's choice redraws the preview.
  dlg->ColorButton()->ChooseColor(RGB(0, 0, 255));
  EXPECT_EQ(Tinted(Preview(), 2), red);
  EXPECT_EQ(Tinted(Preview(), 0), 0);

  // The null pen draws nothing.
  dlg->StyleList()->SetCurSel(7);
  dlg->OnSelchangeLslLinestylePicker();
  EXPECT_EQ(dlg->GetCurSelStyle(), 5);
  EXPECT_EQ(InkPixels(Preview(), face), 0);
}

TEST_F(UiPickerDialog, GeoStyleRoundTripCopiesOnlyTheThreeFields) {
  CKpGeoStyle in;
  in.m_nLineStyle = 12;
  in.m_nLineWidth = 4;
  in.m_clrLine = RGB(1, 2, 3);
  in.m_nFillStyle = 7;
  in.m_clrFill = RGB(9, 8, 7);
  for (int i = 0; i < 4; ++i) in.m_nReserved[i] = 100 + i;
  dlg->SetStyle(in);
  EXPECT_EQ(dlg->GetCurSelStyle(), 12);
  EXPECT_EQ(dlg->GetCurSelWidth(), 4);
  EXPECT_EQ(dlg->GetCurSelColor(), static_cast<long>(RGB(1, 2, 3)));
  EXPECT_EQ(dlg->GetStyle(), in);

  Show();
  EXPECT_EQ(dlg->GetCurSelCell(), 10);
  dlg->StyleList()->SetCurSel(3);  // pen 1
  dlg->OnSelchangeLslLinestylePicker();
  dlg->WidthEdit()->setText("9");
  dlg->ColorButton()->ChooseColor(RGB(0, 128, 0));
  QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  const CKpGeoStyle out = dlg->GetStyle();
  CKpGeoStyle expected = in;
  expected.m_nLineStyle = 1;
  expected.m_nLineWidth = 9;
  expected.m_clrLine = RGB(0, 128, 0);
  EXPECT_EQ(out, expected);
}

TEST_F(UiPickerDialog, StaleForeignAndUnchangedGroupMessagesAreIgnored) {
  Show();
  auto other = MakeLib();
  CKpLineStyleGroup* foreign = other->GetRootGroup()->SubGroup(0L);
  // Never a group, and never dereferenced: only compared against the tree.
  const quintptr bogus = reinterpret_cast<quintptr>(&other) ^ 0x10;
  for (quintptr w : {quintptr{0}, reinterpret_cast<quintptr>(Root()), reinterpret_cast<quintptr>(foreign),
                     reinterpret_cast<quintptr>(other->GetRootGroup()), bogus}) {
    EXPECT_EQ(dlg->OnChangeGroupPicker(w, 0), 1);
    EXPECT_EQ(dlg->GetCurSelGroup(), Root());
  }

  // A group of the library's own tree, through the selector's signal.
  dlg->StyleList()->SetCurSel(9);
  dlg->OnSelchangeLslLinestylePicker();
  emit dlg->GroupPicker()->groupChanged(reinterpret_cast<quintptr>(Sub(1)), 0);
  EXPECT_EQ(dlg->GetCurSelGroup(), Sub(1));
  EXPECT_EQ(dlg->GetCurSelStyle(), -1);
  EXPECT_EQ(dlg->GetCurSelCell(), -1);
  EXPECT_EQ(dlg->FindIDBox()->count(), 1);

  // A group that has been removed from the tree is stale.
  CKpLineStyleGroup* a = Sub(0);
  const quintptr stale = reinterpret_cast<quintptr>(a);
  ASSERT_EQ(Root()->RemoveChildGroup(0, FALSE), 1);
  EXPECT_EQ(dlg->OnChangeGroupPicker(stale, 0), 1);
  EXPECT_EQ(dlg->GetCurSelGroup(), Sub(0));  // B, now the first sub-group
}

TEST_F(UiPickerDialog, NoLibraryEndsWithCancelBeforeShowing) {
  bool hookRan = false;
  CKpDialog::s_modalHook = [&](QDialog&) {
    hookRan = true;
    return IDOK;
  };
  CKpLineStylePickerDlg bare;
  EXPECT_EQ(bare.DoModal(), IDCANCEL);
  EXPECT_FALSE(hookRan);
  EXPECT_FALSE(bare.isVisible());
  CKpDialog::s_modalHook = nullptr;
}

TEST_F(UiPickerDialog, DoModalReportsOkAndCancel) {
  struct Case {
    bool ok;
    int result;
  };
  for (const Case c : {Case{true, IDOK}, Case{false, IDCANCEL}}) {
    SCOPED_TRACE(c.ok);
    dlg = std::make_unique<CKpLineStylePickerDlg>();
    dlg->AttachLineStyleLib(lib.get());
    dlg->SetCurSelStyle(20);
    CKpDialog::s_modalHook = [&](QDialog& d) {
      d.show();
      QTest::keyClick(&d, Qt::Key_Return);  // never ends the dialog
      EXPECT_TRUE(d.isVisible());
      QTest::mouseClick(c.ok ? dlg->OkButton() : dlg->CancelButton(), Qt::LeftButton);
      return d.result() == QDialog::Accepted ? IDOK : IDCANCEL;
    };
    EXPECT_EQ(dlg->DoModal(), c.result);
    CKpDialog::s_modalHook = nullptr;
    EXPECT_EQ(dlg->GetCurSelStyle(), 20);
    EXPECT_EQ(dlg->GetCurSelGroup(), Sub(0));
  }
}

}  // namespace

