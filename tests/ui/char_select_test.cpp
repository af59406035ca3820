// The character chooser driven without a person: DoModal hands the shown
// dialog to a hook, which clicks and chooses like a user would.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpCharSelectDlg.h"
#include "ui/CListTTSymbol.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpComboBoxTrueType.h"

namespace {

class UiCharSelect : public ::testing::Test {
 protected:
  void TearDown() override { CKpDialog::s_modalHook = nullptr; }

  // Runs the dialog; `act` works on it while it is shown. The answer is
  // what the dialog was ended with.
  int Run(const std::function<void(CKpCharSelectDlg&)>& act) {
    CKpDialog::s_modalHook = [&](QDialog&) {
      dlg.show();
      QCoreApplication::processEvents();
      act(dlg);
      return dlg.result() == QDialog::Accepted ? IDOK : IDCANCEL;
    };
    return dlg.DoModal();
  }
  static void Click(CKpCharSelectDlg& d, const char* text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
      if (b->text() == QString::fromUtf8(text)) b->click();
  }
  static QImage CellImage(CListTTSymbol* list, int cell) {
    return list->viewport()->grab(list->visualRect(list->model()->index(cell, 0))).toImage();
  }

  CKpCharSelectDlg dlg;
};

TEST_F(UiCharSelect, CodesMapToCellsAndOkKeepsACodeWithoutCell) {
  struct Row {
    long code;
    int cell;  // -1: no cell selected
  } rows[] = {
      {65, 41},   // 'A'
      {24, 0},    // first cell
      {126, 102}, // last cell
      {23, -1},   // just below the grid
      {127, -1},  // just above it
      {-65, -1},  // nonsense
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    dlg.SetFaceName("DejaVu Sans");
    dlg.SetSymbolID(r.code);
    int cell = -2;
    EXPECT_EQ(Run([&](CKpCharSelectDlg& d) {
                cell = d.GetSymbolList()->GetCurSel();
                Click(d, "确定");
              }),
              IDOK);
    EXPECT_EQ(cell, r.cell);
    // Without a selected cell OK must not invent a code (selection + 24 = 23).
    EXPECT_EQ(dlg.GetSymbolID(), r.code);
  }
}

TEST_F(UiCharSelect, DoubleClickOnACellIsOk) {
  dlg.SetFaceName("DejaVu Sans");
  dlg.SetSymbolID(65);
  const int answer = Run([](CKpCharSelectDlg& d) {
    CListTTSymbol* list = d.GetSymbolList();
    const QRect r = list->visualRect(list->model()->index(10, 0));
    // The events of a double click: a click, then the second press as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
  });
  EXPECT_EQ(answer, IDOK);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.GetSymbolID(), 34);
}

TEST_F(UiCharSelect, OkReturnsTheChoiceCancelDropsIt) {
  struct Row {
    const char* button;
    int answer;
    const char* face;
    long code;
  } rows[] = {
      {"确定", IDOK, "DejaVu Serif", 34},     // both changes kept
      {"取消", IDCANCEL, "DejaVu Sans", 65},  // both dropped
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.button);
    dlg.SetFaceName("DejaVu Sans");
    dlg.SetSymbolID(65);
    EXPECT_EQ(Run([&](CKpCharSelectDlg& d) {
                d.GetFontCombo()->setCurrentIndex(d.GetFontCombo()->findText(QStringLiteral("DejaVu Serif")));
                d.GetSymbolList()->SelectSymbol(34);
                Click(d, r.button);
              }),
              r.answer);
    EXPECT_EQ(dlg.GetFaceName(), r.face);
    EXPECT_EQ(dlg.GetSymbolID(), r.code);
  }
}

TEST_F(UiCharSelect, FaceNamesSurviveOk) {
  struct Row {
    CString given;
    CString returned;
    bool extra;  // shown as an entry of its own
  } rows[] = {
      {"Kp Missing Face 7", "Kp Missing Face 7", true},  // made on another machine
      {"\xff\xfe" "Face", "\xff\xfe" "Face", true},      // not UTF-8: kept byte for byte
      {"dejavu sans", "DejaVu Sans", false},             // installed, other case
      {"OpenSymbol", "OpenSymbol", false},               // installed
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.given);
    dlg.SetFaceName(r.given);
    bool extra = !r.extra;
    CString listFace;
    EXPECT_EQ(Run([&](CKpCharSelectDlg& d) {
                extra = d.GetFontCombo()->IsExtraEntry(d.GetFontCombo()->currentIndex());
                listFace = d.GetSymbolList()->GetFaceName();
                Click(d, "确定");
              }),
              IDOK);
    EXPECT_EQ(extra, r.extra);
    EXPECT_EQ(listFace, r.returned);
    EXPECT_EQ(dlg.GetFaceName(), r.returned);
  }
  // The entries of missing faces went away with them.
  EXPECT_EQ(dlg.GetFontCombo()->count(), CKpComboBoxTrueType::InstalledFaces().size());
}

TEST_F(UiCharSelect, FontChangeRedrawsTheList) {
  dlg.SetFaceName("DejaVu Sans");
  dlg.SetSymbolID(65);
  QImage before, after;
  CString face;
  Run([&](CKpCharSelectDlg& d) {
    before = CellImage(d.GetSymbolList(), 41);
    d.GetFontCombo()->setCurrentIndex(d.GetFontCombo()->findText(QStringLiteral("DejaVu Serif")));
    face = d.GetSymbolList()->GetFaceName();
    after = CellImage(d.GetSymbolList(), 41);
  });
  EXPECT_EQ(face, "DejaVu Serif");
  ASSERT_FALSE(before.isNull());
  EXPECT_NE(before, after);
}

TEST(UiCharSelectList, CellDrawsGlyphAndFrame) {
  struct Row {
    long code;
    bool selected;
    bool ink;    // dark pixels inside the frame
    bool frame;  // the cell's border is black
  } rows[] = {
      {65, false, true, false},  // 'A', plain
      {65, true, true, true},    // 'A', selected
      {32, true, false, true},   // space: only the frame
  };
  CListTTSymbol list;
  list.SetFaceName("DejaVu Sans");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    QImage img(60, 60, QImage::Format_RGB32);
    img.fill(Qt::gray);
    {
      CQtDC dc(img);
      list.DrawCell(dc, CListTTSymbol::CellOfCode(r.code), CRect(10, 10, 50, 50), r.selected);
    }
    int ink = 0, frame = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) {
        const QRgb p = img.pixel(x, y);
        const bool inCell = x >= 10 && x < 50 && y >= 10 && y < 50;
        const bool border = inCell && (x == 10 || x == 49 || y == 10 || y == 49);
        if (!inCell) outside += p != QColor(Qt::gray).rgb();
        else if (border) frame += qGray(p) < 64;
        else ink += qGray(p) < 128;
      }
    EXPECT_EQ(ink > 20, r.ink);
    EXPECT_EQ(frame == 156, r.frame);
    EXPECT_EQ(outside, 0);
  }
}

TEST(UiCharSelectFaces, SortedUniqueScalableWithoutAliases) {
  const QStringList faces = CKpComboBoxTrueType::InstalledFaces();
  for (qsizetype i = 1; i < faces.size(); ++i)
    EXPECT_LT(QString::compare(faces[i - 1], faces[i], Qt::CaseInsensitive), 0) << faces[i].toStdString();
  EXPECT_TRUE(faces.contains(QStringLiteral("DejaVu Sans")));
  EXPECT_TRUE(faces.contains(QStringLiteral("OpenSymbol")));
  // A generic name would stand for another face on another machine.
  EXPECT_FALSE(faces.contains(QStringLiteral("Sans Serif")));
}

}  // namespace
