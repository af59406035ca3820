// The extended-symbol button, its pop-up, the symbol dialog and its list,
// driven without a person: keys and mouse events go straight to the pop-up,
// the dialog runs through CKpDialog::s_modalHook.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "companions/CKpSymLib.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpLslExtSymButton.h"
#include "ui/CKpLslExtSymList.h"
#include "ui/CKpLslExtSymPickerDlg.h"
#include "ui/CKpLslExtSymPopup.h"
#include "ui/KpExtSymFigures.h"
#include "ui/KpSymbolCells.h"
#include "ui/KpUiConstants.h"

namespace {

// A library of `count` filled squares with IDs from `firstId` on.
std::unique_ptr<CKpSymLib> MakeLib(long count, long firstId = 10) {
  auto lib = std::make_unique<CKpSymLib>();
  for (long i = 0; i < count; ++i) {
    auto* s = new CKpSymbol;
    s->m_nID = firstId + i;
    CKpSymbol::Element e;
    e.kind = CKpSymbol::kFilledPolygon;
    e.points = {{-40, -40}, {40, -40}, {40, 40}, {-40, 40}};
    s->AddElement(e);
    lib->AddSymbol(s);
  }
  return lib;
}

struct Note {
  std::string what;
  long wparam, lparam;
  bool operator==(const Note& o) const { return what == o.what && wparam == o.wparam && lparam == o.lparam; }
};
void PrintTo(const Note& n, std::ostream* os) { *os << n.what << "(" << n.wparam << ", " << n.lparam << ")"; }

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent ev(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &ev);
}

class UiExtSymbol : public ::testing::Test {
 protected:
  static constexpr long kCtrlID = 1207;

  void SetUp() override {
    lineLib = MakeLib(3, 10);
    resLib = MakeLib(5, 100);
    host = std::make_unique<QWidget>();
    button = new CKpLslExtSymButton(host.get());
    button->setGeometry(10, 10, 100, 24);
    button->SetCtrlID(kCtrlID);
    button->AttachLineSymLib(lineLib.get(), 3);
    button->AttachResSymLib(resLib.get());
    host->show();
    for (auto [signal, name] : {std::pair{&CKpLslExtSymButton::closeUp, "closeUp"},
                                std::pair{&CKpLslExtSymButton::selEndOk, "selEndOk"},
                                std::pair{&CKpLslExtSymButton::selEndCancel, "selEndCancel"}}) {
      QObject::connect(button, signal, [this, name = std::string(name)](long w, long l) {
        notes.push_back({name, w, l});
      });
    }
  }
  void TearDown() override { CKpDialog::s_modalHook = nullptr; }

  CKpLslExtSymPopup* Open(long sel) {
    button->SetCurSel(sel);
    notes.clear();
    button->click();
    EXPECT_TRUE(button->IsDropped());
    lastPopup = button->Popup();
    return lastPopup;
  }
  // The owner heard closeUp and then the outcome, both with `value`.
  void ExpectOutcome(const char* outcome, long value) {
    EXPECT_EQ(notes, (std::vector<Note>{{"closeUp", value, kCtrlID}, {outcome, value, kCtrlID}}));
    EXPECT_EQ(button->GetCurSel(), value);
    EXPECT_FALSE(button->IsDropped());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(lastPopup.isNull());  // it deleted itself
  }

  std::unique_ptr<CKpSymLib> lineLib, resLib;
  std::unique_ptr<QWidget> host;
  CKpLslExtSymButton* button = nullptr;
  QPointer<CKpLslExtSymPopup> lastPopup;
  std::vector<Note> notes;
};

TEST_F(UiExtSymbol, ArrowKeysWrapAndEnterChooses) {
  struct Case {
    long sel;
    Qt::Key key;
    int chosen;
  };
  const Case cases[] = {
      {9, Qt::Key_Right, 0},   // the last shape wraps to the first
      {0, Qt::Key_Left, 9},    // and back
      {4, Qt::Key_Right, 5},   // an ordinary step
      {8, Qt::Key_Down, 0},    // the bottom of the left column wraps to its top
      {9, Qt::Key_Down, 1},    // ... and of the right column
      {1, Qt::Key_Up, 9},      // the top of the right column wraps to its bottom
      {14, Qt::Key_Left, 9},   // from a symbol (the custom row) back into the grid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sel << " key " << c.key);
    CKpLslExtSymPopup* popup = Open(c.sel);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, c.key);
    EXPECT_EQ(popup->Chosen(), c.chosen);
    QTest::keyClick(popup, Qt::Key_Return);
    ExpectOutcome("selEndOk", c.chosen);
  }
}

TEST_F(UiExtSymbol, SpaceWithoutHighlightKeepsTheInitialShape) {
  CKpLslExtSymPopup* popup = Open(6);
  ASSERT_NE(popup, nullptr);
  QTest::keyClick(popup, Qt::Key_Space);
  ExpectOutcome("selEndOk", 6);
}

TEST_F(UiExtSymbol, CancellingKeepsTheSelection) {
  struct Case {
    const char* how;
    void (*act)(CKpLslExtSymPopup*);
  };
  const Case cases[] = {
      {"Escape", [](CKpLslExtSymPopup* p) { QTest::keyClick(p, Qt::Key_Escape); }},
      {"press and release outside",
       [](CKpLslExtSymPopup* p) {
         SendMouse(p, QEvent::MouseButtonPress, QPoint(-20, 5));
         SendMouse(p, QEvent::MouseButtonRelease, QPoint(-20, 5));
       }},
      {"pressed inside, released outside",
       [](CKpLslExtSymPopup* p) {
         SendMouse(p, QEvent::MouseButtonPress, QPoint(5, 5));
         SendMouse(p, QEvent::MouseButtonRelease, QPoint(5, p->height() + 30));
       }},
      {"application deactivated",
       [](CKpLslExtSymPopup*) { emit qApp->applicationStateChanged(Qt::ApplicationInactive); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    CKpLslExtSymPopup* popup = Open(12);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Down);  // a highlight must not become the choice
    c.act(popup);
    ExpectOutcome("selEndCancel", 12);
  }
}

TEST_F(UiExtSymbol, MouseHighlightsAndReleaseChooses) {
  CKpLslExtSymPopup* popup = Open(0);
  ASSERT_NE(popup, nullptr);
  const QPoint cell5 = popup->CellRect(5).center();
  SendMouse(popup, QEvent::MouseMove, cell5);
  EXPECT_EQ(popup->HotCell(), 5);
  EXPECT_EQ(popup->Chosen(), 5);
  SendMouse(popup, QEvent::MouseMove, QPoint(-3, -3));
  EXPECT_EQ(popup->HotCell(), -1);
  const QPoint cell7 = popup->CellRect(7).center();
  EXPECT_EQ(popup->CellAt(cell7), 7);
  SendMouse(popup, QEvent::MouseButtonPress, cell7);
  SendMouse(popup, QEvent::MouseButtonRelease, cell7);
  ExpectOutcome("selEndOk", 7);
}

TEST_F(UiExtSymbol, PopupSizeFollowsTheButton) {
  struct Case {
    int buttonWidth, popupWidth;
  };
  for (const Case c : {Case{60, 90}, Case{150, 150}}) {  // at least 90, at least the button
    SCOPED_TRACE(c.buttonWidth);
    button->resize(c.buttonWidth, 24);
    CKpLslExtSymPopup* popup = Open(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->width(), c.popupWidth);
    EXPECT_EQ(popup->height(), 6 * CKpLslExtSymPopup::kCellHeight);
    EXPECT_EQ(popup->CellAt(QPoint(c.popupWidth - 1, popup->height() - 1)), CKpLslExtSymPopup::kCustomCell);
    EXPECT_EQ(popup->CustomText(), QStringLiteral("自定义..."));
    QTest::keyClick(popup, Qt::Key_Escape);
    ExpectOutcome("selEndCancel", 0);
  }
}

TEST_F(UiExtSymbol, NarrowButtonGrowsAndKeepsItsArrowRight) {
  button->resize(10, 24);
  const QRect arrow = button->GetArrowRect();
  EXPECT_GE(button->width(), 2 * (2 + arrow.width()));
  EXPECT_EQ(arrow.right(), button->width() - 1 - 2);
  EXPECT_EQ(arrow.top(), button->height() - 1 - arrow.bottom());
  EXPECT_LT(button->ShapeRect().right(), arrow.left());
}

// The custom entry runs the symbol dialog at the current symbol cell.
TEST_F(UiExtSymbol, CustomEntryRunsTheSymbolDialog) {
  struct Case {
    long sel;
    int listStartsAt;  // the dialog's selection on opening
    int pick;          // the cell the user selects, -1 none
    bool ok;
    long result;
  };
  const Case cases[] = {
      {12, 2, -1, false, 12},  // cancelled: the old selection stays
      {12, 2, 6, false, 12},   // a selection in a cancelled dialog is dropped
      {3, -1, 4, true, 14},    // a built-in shape opens with nothing selected; OK takes cell 4
      {5, -1, -1, true, 5},    // OK without a selection changes nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sel << " pick " << c.pick << " ok " << c.ok);
    bool ran = false;
    CKpDialog::s_modalHook = [&](QDialog& d) {
      ran = true;
      auto* dlg = dynamic_cast<CKpLslExtSymPickerDlg*>(&d);
      EXPECT_NE(dlg, nullptr);
      if (!dlg) return IDCANCEL;
      EXPECT_EQ(dlg->windowTitle(), QStringLiteral("扩展符号选择"));
      EXPECT_EQ(dlg->GetList()->GetCount(), 8);
      EXPECT_EQ(dlg->GetList()->GetCurSel(), c.listStartsAt);
      EXPECT_EQ(dlg->GetIndex(), c.listStartsAt);
      if (c.pick >= 0) dlg->GetList()->SetCurSel(c.pick);
      EXPECT_EQ(dlg->GetIndex(), c.pick >= 0 ? c.pick : c.listStartsAt);
      QTest::mouseClick(d.findChild<QPushButton*>(c.ok ? "okButton" : "cancelButton"), Qt::LeftButton);
      return d.result() == QDialog::Accepted ? IDOK : IDCANCEL;
    };
    CKpLslExtSymPopup* popup = Open(c.sel);
    ASSERT_NE(popup, nullptr);
    const QPoint custom = popup->CellRect(CKpLslExtSymPopup::kCustomCell).center();
    SendMouse(popup, QEvent::MouseButtonPress, custom);
    SendMouse(popup, QEvent::MouseButtonRelease, custom);
    EXPECT_TRUE(ran);
    ExpectOutcome("selEndOk", c.result);
  }
}

TEST(UiExtSymbolCells, ResourceSymbolsFollowTheLineSymbols) {
  auto line = MakeLib(3, 10);
  auto res = MakeLib(5, 100);
  // Selection 14 is cell 4: past the three line symbols, resource symbol 1.
  CKpSymbol* cell4 = kp::ui::SymbolOfCell(line.get(), 3, res.get(), 14 - kp::ui::kExtSymFirstSymbol);
  ASSERT_NE(cell4, nullptr);
  EXPECT_EQ(cell4, res->GetSymbolEx(static_cast<unsigned long>(res->GetSymbolID(1))));
  CKpLslExtSymList list;
  list.AttachLineSymLib(line.get(), 3);
  list.AttachLineStyleLib(res.get());
  EXPECT_EQ(list.InitContent(), 1);
  EXPECT_EQ(list.GetCount(), 8);
  EXPECT_EQ(list.SymbolAt(4), cell4);
  EXPECT_EQ(list.SymbolAt(8), nullptr);
}

TEST(UiExtSymbolCells, ListNeedsBothLibraries) {
  auto line = MakeLib(3);
  auto res = MakeLib(5);
  struct Case {
    CKpSymLib* line;
    CKpSymLib* res;
    int result, count;
  };
  const Case cases[] = {
      {nullptr, res.get(), 0, 0},    // no line library
      {line.get(), nullptr, 0, 0},   // no resource library
      {line.get(), res.get(), 1, 8}, // both
  };
  for (const Case& c : cases) {
    CKpLslExtSymList list;
    list.AttachLineSymLib(c.line, 3);
    list.AttachLineStyleLib(c.res);
    EXPECT_EQ(list.InitContent(), c.result);
    EXPECT_EQ(list.GetCount(), c.count);
    QImage img(40, 40, QImage::Format_RGB32);
    CQtDC dc(img);
    EXPECT_EQ(list.Draw(dc, 0, RECT{0, 0, 40, 40}, false), c.result);
  }
}

// Figures in a 45x20 cell: the line runs at y = 10 to the tip at x = 41, the
// figure's square spans x 29..41, y 4..16.
TEST(UiExtSymbolFigures, FiguresInkWhereTheyShould) {
  auto lib = MakeLib(1);
  enum Expect { Background, Ink, Grey };
  struct Case {
    long value;
    CKpSymLib* lib;
    QPoint at;
    Expect expect;
  };
  const Case cases[] = {
      {0, nullptr, {15, 10}, Ink},         // the plain line
      {0, nullptr, {15, 6}, Background},   // ... and nothing above it
      {1, nullptr, {31, 7}, Background},   // the open arrow is hollow
      {2, nullptr, {31, 7}, Ink},          // the triangle is not
      {6, nullptr, {35, 10}, Grey},        // light circle over the line
      {7, nullptr, {35, 7}, Grey},         // light square
      {8, nullptr, {35, 10}, Ink},         // black circle
      {8, nullptr, {29, 4}, Background},   // ... round at its corners
      {9, nullptr, {29, 4}, Ink},          // the black square is not
      {10, lib.get(), {35, 6}, Ink},       // a symbol at the right end
      {10, nullptr, {35, 6}, Background},  // a missing symbol: just a line
      {10, nullptr, {38, 10}, Ink},        // ... running to the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " at " << c.at.x() << "," << c.at.y());
    QImage img(45, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      CQtDC dc(img);
      kp::ui::DrawExtSymFigure(dc, RECT{0, 0, 45, 20}, c.value, c.lib, c.lib ? 1 : 0, nullptr);
    }
    const QRgb expected[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(192, 192, 192)};
    EXPECT_EQ(img.pixel(c.at), expected[c.expect]);
  }
}

TEST(UiExtSymbolFigures, NegativeValuesDrawNothing) {
  QImage img(45, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    CQtDC dc(img);
    kp::ui::DrawExtSymFigure(dc, RECT{0, 0, 45, 20}, -1, nullptr, 0, nullptr);
  }
  QImage blank(45, 20, QImage::Format_RGB32);
  blank.fill(Qt::white);
  EXPECT_EQ(img, blank);
}

}  // namespace
