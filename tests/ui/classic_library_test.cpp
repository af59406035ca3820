// The classic library editor, the library manager and their lists, driven
// without a person: handlers are called or focus losses sent, and the nested
// dialogs, messages and file dialogs are answered through the hooks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "module/KpStringTable.h"
#include "platform/CRecordingDC.h"
#include "platform/qt/CQtDC.h"
#include "tests/ui/UiTestLibraries.h"
#include "ui/CComboListLineSel.h"
#include "ui/CDlgCLineEdit.h"
#include "ui/CDlgLineSel.h"
#include "ui/CDlgStyleMan.h"
#include "ui/CListLineSel.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonDecoratePicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

using kp::ui::IDNO;
using kp::ui::IDYES;

void AddStyle(CKpLineStyleLib& lib, long id, const char* name) {
  CKpLineStyleObj s;
  s.SetID(id);
  s.SetName(name);
  CKpLineStyleBase b;
  b.SetInterStyle(3, 0, 0);  // black, solid, 3 wide
  s.AddStyleBase(b);
  lib.AddStyleObj(s);
  lib.GetRootGroup()->AddStyleItem(id);
}

// Styles with these IDs, named "S<id>".
std::unique_ptr<CKpLineStyleLib> MakeLib(std::vector<long> ids) {
  auto lib = std::make_unique<CKpLineStyleLib>();
  for (long id : ids) AddStyle(*lib, id, ("S" + std::to_string(id)).c_str());
  lib->SetModifiedFlag(FALSE);
  return lib;
}

std::vector<long> IDsOf(const CKpLineStyleLib& lib) {
  std::vector<long> ids;
  for (long i = 0; i < lib.Count(); ++i) ids.push_back(lib.GetIDAt(i));
  return ids;
}

using kp::test::TextsOf;

QByteArray LibraryBytes(CKpLineStyleLib& lib) {
  CKpByteArrayEx stream;
  lib.StoreEx(stream);
  return QByteArray(reinterpret_cast<const char*>(stream.GetData()), static_cast<int>(stream.GetSize()));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

void LoseFocus(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &out);
  QApplication::processEvents();  // a refused value takes the focus back afterwards
}

// Hooks shared by the fixtures: messages are recorded and answered from a
// queue, file dialogs return `filePath`.
class UiClassicHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    kp::ui::g_messageBoxHook = [this](const CString& text, kp::ui::MsgButtons) {
      messages.push_back(text);
      if (answers.empty()) return IDOK;
      const int a = answers.front();
      answers.pop_front();
      return a;
    };
    kp::ui::g_fileDialogHook = [this](bool) { return filePath; };
  }
  void TearDown() override {
    kp::ui::g_messageBoxHook = nullptr;
    kp::ui::g_fileDialogHook = nullptr;
    CKpDialog::s_modalHook = nullptr;
  }
  bool Said(int id) const {
    const CString text = kp::ModuleString(id);
    for (const CString& m : messages)
      if (m.find(text) != CString::npos) return true;
    return false;
  }

  std::vector<CString> messages;
  std::deque<int> answers;
  CString filePath;
  QTemporaryDir dir;
};

class UiLineSelDlg : public UiClassicHooks {
 protected:
  void SetUp() override {
    UiClassicHooks::SetUp();
    Open({10, 11, 12});
  }
  void Open(std::vector<long> ids) {
    dlg.reset();
    host = MakeLib(std::move(ids));
    dlg = std::make_unique<CDlgLineSel>();
    dlg->AttachLineStyleLib(host.get());
    dlg->show();
    messages.clear();
  }
  CKpLineStyleLib& Lib() { return dlg->m_LineStyleLib; }
  void Select(long row) {
    dlg->StyleList()->SetCurSel(row);
    dlg->OnSelchangeListLine();
  }

  std::unique_ptr<CKpLineStyleLib> host;
  std::unique_ptr<CDlgLineSel> dlg;
};

TEST_F(UiLineSelDlg, OpensOnACopyOfTheHostLibrary) {
  EXPECT_EQ(IDsOf(Lib()), (std::vector<long>{10, 11, 12}));
  EXPECT_EQ(dlg->StyleList()->GetCount(), 3);
  EXPECT_FALSE(host->IsModified());
  dlg->OnButtonDelete();  // nothing selected: nothing happens
  Select(1);
  dlg->OnButtonDelete();
  EXPECT_EQ(IDsOf(Lib()), (std::vector<long>{10, 12}));
  EXPECT_EQ(host->Count(), 3);
  EXPECT_FALSE(TextsOf(dlg->FindNameBox()).contains("S11"));
  EXPECT_FALSE(TextsOf(dlg->FindIDBox()).contains("11"));
  EXPECT_EQ(dlg->StyleList()->GetCount(), 2);
}

TEST_F(UiLineSelDlg, IdEditAppliesOnFocusLoss) {
  struct Case {
    const char* typed;
    long wantID;
    bool refused;
  };
  const Case cases[] = {
      {"3", 13, false},   // below 6: the next legal number
      {"11", 10, true},   // another style's: 24201, unchanged
      {"10", 10, false},  // its own: nothing to do
      {"40", 40, false},  // free: taken, and the groups follow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Open({10, 11, 12});
    Select(0);
    dlg->IDEdit()->setText(c.typed);
    LoseFocus(dlg->IDEdit());
    EXPECT_EQ(Lib().GetIDAt(0), c.wantID);
    EXPECT_EQ(Said(kp::KP_IDS_ID_EXISTS), c.refused);
    EXPECT_EQ(dlg->focusWidget() == dlg->IDEdit(), c.refused);
    EXPECT_GE(Lib().GetRootGroup()->GetItemIndex(c.wantID), 0);
    EXPECT_EQ(dlg->IsChanged(), c.wantID != 10);
  }
}

TEST_F(UiLineSelDlg, NameEditAppliesOnFocusLoss) {
  const QString longName = QString(40, QChar(0x7EBF));  // 40 × "线", 3 bytes each
  struct Case {
    QString typed;
    CString wantName;
    bool refused;
  };
  const Case cases[] = {
      {"s11", "s11", true},            // another style's, other case: 24202, set anyway
      {"Canal", "Canal", false},       // new: set, the name list follows
      {longName, QString(10, QChar(0x7EBF)).toStdString(), false},  // cut to 31 bytes on whole characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wantName);
    Open({10, 11, 12});
    Select(0);
    dlg->NameEdit()->setText(c.typed);
    LoseFocus(dlg->NameEdit());
    EXPECT_EQ(Lib().GetStyleObj(0).GetName(), c.wantName);
    EXPECT_EQ(Said(kp::KP_IDS_NAME_EXISTS), c.refused);
    EXPECT_EQ(dlg->focusWidget() == dlg->NameEdit(), c.refused);
    EXPECT_TRUE(TextsOf(dlg->FindNameBox()).contains(QString::fromStdString(c.wantName)));
    EXPECT_FALSE(TextsOf(dlg->FindNameBox()).contains("S10"));
  }
}

TEST_F(UiLineSelDlg, NewStyleGetsTheNextIdAndGoesLast) {
  struct Case {
    std::vector<long> ids;
    long selected;
    int answer;
    CString editorGot;  // the name of the style the editor started from
    long wantID;
  };
  const Case cases[] = {
      {{10, 11, 12}, -1, IDOK, "NoName", 13},      // seed line; last + 1
      {{10, 11, 12}, 1, IDOK, "S11", 13},          // copy of the selected style
      {{10, 12, 11}, -1, IDOK, "NoName", 13},      // last + 1 is taken: the next free one
      {{}, -1, IDOK, "NoName", 6},                 // empty library
      {{10, 11, 12}, -1, IDCANCEL, "NoName", -1},  // cancelled: nothing added
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wantID);
    Open(c.ids);
    Select(c.selected);
    CString got;
    long subLines = -1;
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto& editor = dynamic_cast<CDlgCLineEdit&>(d);
      got = editor.m_LineStyleObj.GetName();
      subLines = editor.m_LineStyleObj.Count();
      return c.answer;
    };
    dlg->OnButtonNew();
    EXPECT_EQ(got, c.editorGot);
    EXPECT_EQ(subLines, 1);
    const long count = static_cast<long>(c.ids.size());
    if (c.wantID < 0) {
      EXPECT_EQ(Lib().Count(), count);
      continue;
    }
    ASSERT_EQ(Lib().Count(), count + 1);
    EXPECT_EQ(Lib().GetIDAt(count), c.wantID);
    EXPECT_EQ(Lib().GetStyleObj(count).GetName(), "New Line");
    EXPECT_EQ(dlg->StyleList()->GetCurSel(), count);
    EXPECT_GE(Lib().GetRootGroup()->GetItemIndex(c.wantID), 0);
  }
}

TEST_F(UiLineSelDlg, MovesKeepTheGroupsAndSelection) {
  struct Case {
    void (CDlgLineSel::*move)();
    std::vector<long> want;
    long wantSel;
  };
  const Case cases[] = {
      {&CDlgLineSel::OnButtonTop, {11, 10, 12, 13}, 0},
      {&CDlgLineSel::OnButtonUp, {11, 10, 12, 13}, 0},
      {&CDlgLineSel::OnButtonDown, {10, 12, 11, 13}, 2},
      {&CDlgLineSel::OnButtonBottom, {10, 12, 13, 11}, 3},
  };
  for (const Case& c : cases) {
    Open({10, 11, 12, 13});
    Select(1);
    (dlg.get()->*c.move)();
    EXPECT_EQ(IDsOf(Lib()), c.want);
    EXPECT_EQ(dlg->StyleList()->GetCurSel(), c.wantSel);
    EXPECT_EQ(Lib().GetRootGroup()->GetItemCount(), 4);
  }
}

TEST_F(UiLineSelDlg, FindsByNameAndId) {
  dlg->FindNameBox()->setEditText("s12");
  dlg->OnFindName();
  EXPECT_EQ(dlg->StyleList()->GetCurSel(), 2);
  EXPECT_EQ(dlg->IndexEdit()->text(), "2");
  dlg->FindIDBox()->setEditText("11");
  dlg->OnFindID();
  EXPECT_EQ(dlg->StyleList()->GetCurSel(), 1);
  dlg->FindIDBox()->setEditText("99");  // missing: nothing, not the first style
  dlg->OnFindID();
  EXPECT_EQ(dlg->StyleList()->GetCurSel(), -1);
}

TEST_F(UiLineSelDlg, OpenChecksSizeAndContent) {
  auto other = MakeLib({50, 51});
  const QByteArray valid = LibraryBytes(*other);
  const auto padded = [&](int size) { return valid + QByteArray(size - valid.size(), '\0'); };
  struct Case {
    const char* what;
    QByteArray bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"exactly at the limit", padded(CDlgLineSel::kMaxFileSize), true},
      {"one byte over", padded(CDlgLineSel::kMaxFileSize + 1), false},
      {"corrupt body", valid.left(valid.size() - 6), false},
      {"no library", QByteArray("not a library at all"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open({10, 11, 12});
    const QString path = dir.filePath("in.lsl");
    WriteFile(path, c.bytes);
    EXPECT_EQ(dlg->OpenLibraryFile(path.toStdString()), c.accepted);
    EXPECT_EQ(IDsOf(Lib()), c.accepted ? (std::vector<long>{50, 51}) : (std::vector<long>{10, 11, 12}));
    EXPECT_EQ(Said(kp::KP_IDS_HOST_OPEN_FILE_FAILED), !c.accepted);
  }
  messages.clear();
  EXPECT_FALSE(dlg->OpenLibraryFile(dir.filePath("missing.lsl").toStdString()));
  EXPECT_TRUE(Said(kp::KP_IDS_HOST_OPEN_FILE_FAILED));
}

TEST_F(UiLineSelDlg, SaveAppendsSuffixAndReportsFailure) {
  struct Case {
    QString typed;
    QString written;  // empty: the save must fail
  };
  const Case cases[] = {
      {"plain", "plain.lsl"},
      {"upper.LSL", "upper.LSL"},
      {"no-such-dir/x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    Open({10, 11});
    Select(0);
    dlg->OnButtonDelete();
    filePath = dir.filePath(c.typed).toStdString();
    const bool ok = dlg->OnButtonSave();
    EXPECT_EQ(ok, !c.written.isEmpty());
    EXPECT_EQ(messages.empty(), ok);
    EXPECT_EQ(dlg->IsChanged(), !ok);
    if (!ok) continue;
    CKpLineStyleLib back;
    ASSERT_TRUE(back.LoadFromFile(dir.filePath(c.written).toStdString()));
    EXPECT_EQ(IDsOf(back), (std::vector<long>{11}));
  }
}

TEST_F(UiLineSelDlg, ClosingAsksToExportChanges) {
  struct Case {
    bool changed;
    int answer;
    const char* path;  // the save dialog's answer; empty: cancelled
    bool closes;
    bool asked;
  };
  const Case cases[] = {
      {false, IDYES, "", true, false},      // unchanged: no question
      {true, IDNO, "", true, true},         // No: closes without saving
      {true, IDYES, "out", true, true},     // Yes: saved, then closes
      {true, IDYES, "", false, true},       // Yes, save cancelled: stays open
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Open({10, 11});
    if (c.changed) {
      Select(0);
      dlg->OnButtonDelete();
    }
    answers = {c.answer};
    filePath = *c.path ? dir.filePath(c.path).toStdString() : CString();
    EXPECT_EQ(dlg->OnExit(), c.closes);
    EXPECT_EQ(dlg->isVisible(), !c.closes);
    EXPECT_EQ(Said(kp::KP_IDS_EXPORT_CHANGED_LIBRARY), c.asked);
    if (*c.path) {
      EXPECT_TRUE(QFile::exists(dir.filePath("out.lsl")));
    }
  }
}

TEST_F(UiLineSelDlg, ImportReplacesWithTheManagersLibrary) {
  for (const int answer : {IDCANCEL, IDOK}) {
    Open({10, 11});
    long seen = -1;
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto& man = dynamic_cast<CDlgStyleMan&>(d);
      seen = man.m_CurLib.Count();
      AddStyle(man.m_CurLib, 77, "Imported");
      return answer;
    };
    dlg->OnButtonImport();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(IDsOf(Lib()), answer == IDOK ? (std::vector<long>{10, 11, 77}) : (std::vector<long>{10, 11}));
  }
}

TEST_F(UiLineSelDlg, DecorationPanelIsShownDisabledWithATip) {
  Select(0);
  EXPECT_FALSE(dlg->DecorationBox()->isEnabled());
  EXPECT_FALSE(dlg->DecorationBox()->toolTip().isEmpty());
  for (QWidget* w : {static_cast<QWidget*>(dlg->ShapeButton()), static_cast<QWidget*>(dlg->PositionBox()),
                     static_cast<QWidget*>(dlg->HeightEdit()), static_cast<QWidget*>(dlg->WidthEdit())})
    EXPECT_FALSE(w->isEnabled());
  EXPECT_EQ(dlg->PositionBox()->count(), 5);
  EXPECT_EQ(dlg->PositionBox()->itemText(0).toStdString(), kp::ModuleString(kp::KP_IDS_POSITION_FIRST));
}

// --- the library manager -----------------------------------------------------

class UiStyleManDlg : public UiClassicHooks {
 protected:
  void SetUp() override {
    UiClassicHooks::SetUp();
    man = std::make_unique<CDlgStyleMan>();
    man->m_CurLib = *MakeLib({10, 11, 12});
    // External: 11 (taken in the current library), 50, 51, 6.
    man->m_ExtLib = *MakeLib({11, 50, 51, 6});
    man->show();
  }
  std::unique_ptr<CDlgStyleMan> man;
};

TEST_F(UiStyleManDlg, CopiesAfterTheSelectionWithFreeIds) {
  struct Case {
    const char* what;
    long curSel;
    std::vector<long> extSel;  // empty: "<<"
    std::vector<long> want;
    long wantSel;
  };
  const Case cases[] = {
      {"two after the first", 0, {1, 2}, {10, 50, 51, 11, 12}, 2},
      {"none selected: at the end; 11 renumbered", -1, {0, 2}, {10, 11, 12, 13, 51}, 4},
      {"all after the second", 1, {}, {10, 11, 13, 50, 51, 6, 12}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    man->CurList()->SetCurSel(c.curSel);
    for (long i : c.extSel) man->ExtList()->SetSel(i, true);
    if (c.extSel.empty())
      man->OnButtonCopyAll();
    else
      man->OnButtonCopy();
    EXPECT_EQ(IDsOf(man->m_CurLib), c.want);
    EXPECT_EQ(man->CurList()->GetCount(), static_cast<long>(c.want.size()));
    EXPECT_EQ(man->CurList()->GetCurSel(), c.wantSel);
    const std::vector<long> ids = IDsOf(man->m_CurLib);
    EXPECT_EQ(std::set<long>(ids.begin(), ids.end()).size(), ids.size());
  }
}

TEST_F(UiStyleManDlg, CreateDefaultFillsTheExternalLibrary) {
  man->OnButtonDefault();
  CKpLineStyleLib fresh;
  fresh.CreateDefault();
  EXPECT_EQ(IDsOf(man->m_ExtLib), IDsOf(fresh));
  EXPECT_EQ(man->ExtList()->GetCount(), fresh.Count());
}

TEST_F(UiStyleManDlg, FilesRoundTripAndFailuresAreReported) {
  const QString path = dir.filePath("cur.LSL");
  ASSERT_TRUE(man->SaveLibraryFile(path.toStdString()));
  ASSERT_TRUE(man->OpenLibraryFile(path.toStdString()));  // the oldest format, read back
  EXPECT_EQ(IDsOf(man->m_ExtLib), (std::vector<long>{10, 11, 12}));
  EXPECT_TRUE(messages.empty());

  auto current = MakeLib({70});
  WriteFile(dir.filePath("new.lsl"), LibraryBytes(*current));
  EXPECT_TRUE(man->OpenLibraryFile(dir.filePath("new.lsl").toStdString()));  // the newest format too
  EXPECT_EQ(IDsOf(man->m_ExtLib), (std::vector<long>{70}));

  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  WriteFile(dir.filePath("cut.lsl"), f.readAll().chopped(3));
  EXPECT_FALSE(man->OpenLibraryFile(dir.filePath("cut.lsl").toStdString()));
  EXPECT_EQ(IDsOf(man->m_ExtLib), (std::vector<long>{70}));  // left as it was
  EXPECT_TRUE(Said(kp::KP_IDS_HOST_OPEN_FILE_FAILED));

  messages.clear();
  EXPECT_FALSE(man->SaveLibraryFile(dir.filePath("no-such-dir/x.lsl").toStdString()));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Write line style library failed!");
}

// --- the lists ---------------------------------------------------------------

// Lengths of the runs of dark pixels along row y between x0 and x1.
std::vector<int> DarkRuns(const QImage& image, int y, int x0, int x1) {
  std::vector<int> runs;
  int run = 0;
  for (int x = x0; x < x1; ++x) {
    if (qGray(image.pixel(x, y)) < 128) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  if (run > 0) runs.push_back(run);
  return runs;
}

TEST(UiLineSelLists, ComboDrawsTheSystemPens) {
  auto lib = MakeLib({10, 11});
  CComboListLineSel combo;
  EXPECT_EQ(combo.InitContent(), 0);
  combo.AttachLineStyleLib(lib.get());
  EXPECT_EQ(combo.InitContent(), 1);
  ASSERT_EQ(combo.count(), 8);
  EXPECT_EQ(combo.itemText(2), "System");
  EXPECT_EQ(combo.itemText(7), "S11");

  struct Case {
    long item;
    int minRuns, maxRuns;  // dark runs along the line
    int minLongest, maxLongest;
  };
  const Case cases[] = {
      {0, 1, 1, 239, 241},  // solid: one run from left + 50 to right - 10
      {1, 5, 20, 10, 18},   // dashed
      {2, 20, 60, 1, 4},    // dotted: short dark dots, evenly apart
      {5, 0, 0, 0, 0},      // null pen: nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    QImage image(300, 24, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
      CQtDC dc(image);
      combo.DrawItem(dc, c.item, RECT{0, 0, 300, 24}, false);
    }
    const std::vector<int> runs = DarkRuns(image, 12, 45, 295);
    EXPECT_GE(static_cast<int>(runs.size()), c.minRuns);
    EXPECT_LE(static_cast<int>(runs.size()), c.maxRuns);
    const int longest = runs.empty() ? 0 : *std::max_element(runs.begin(), runs.end());
    EXPECT_GE(longest, c.minLongest);
    EXPECT_LE(longest, c.maxLongest);
    EXPECT_EQ(qGray(image.pixel(40, 20)), 255);  // white background

    CRecordingDC rec;
    combo.DrawItem(rec, c.item, RECT{0, 0, 300, 24}, false);
    EXPECT_NE(rec.GetText().find("\"" + CComboListLineSel::SystemLabel(c.item) + "\""), std::string::npos);
  }
  EXPECT_EQ(CComboListLineSel::SystemLabel(2), "000002");
}

TEST(UiLineSelLists, ListFramesAndMultiSelection) {
  auto lib = MakeLib({10, 11, 12});
  CListLineSel list;
  EXPECT_EQ(list.InitContent(), 0);
  EXPECT_EQ(list.GetCount(), 0);
  list.AttachLineStyleLib(lib.get());
  EXPECT_EQ(list.InitContent(), 1);
  EXPECT_EQ(list.model()->index(1, 0).data().toString(), "S11");
  list.SetMultiSelect(true);
  list.SetSel(2, true);
  list.SetSel(0, true);
  EXPECT_EQ(list.GetSelItems(), (std::vector<long>{0, 2}));

  for (const bool selected : {true, false}) {
    QImage image(300, 28, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
      CQtDC dc(image);
      list.DrawItem(dc, 1, RECT{0, 0, 300, 28}, selected);
    }
    EXPECT_EQ(qGray(image.pixel(100, 0)), selected ? 0 : 255);
    EXPECT_EQ(qGray(image.pixel(299, 27)), selected ? 0 : 255);
    EXPECT_LT(qGray(image.pixel(200, 14)), 128);  // the sample's line
  }
}

}  // namespace
