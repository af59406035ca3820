// The library editor driven without a person: its handlers are called, the
// nested dialogs, questions and file dialogs are answered through the hooks.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/CKpLineStyleLib.h"
#include "module/KpStringTable.h"
#include "tests/ui/UiTestLibraries.h"
#include "ui/CKpLineStyleEditorDlg.h"
#include "ui/CKpLineStyleLibDlg.h"
#include "ui/CKpLineStyleList.h"
#include "ui/CKpLineStyleOptionDlg.h"
#include "ui/CKpLineStylePickerDlg.h"
#include "ui/CKpLineStylePickerList.h"
#include "ui/CKpLslExtSymButton.h"
#include "ui/CKpLslExtSymPopup.h"
#include "ui/KpKeyboard.h"
#include "ui/KpMessageBox.h"
#include "ui/KpSymbolCells.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

using kp::ui::IDNO;
using kp::ui::IDYES;

// The grouped test library: root entries 0 A, 1 B, 2..5 styles 10..13.
// Entries of A: 0 ParentGroup, 1 20, 2 21.
using kp::test::AddStyle;
std::unique_ptr<CKpLineStyleLib> MakeLib() { return kp::test::MakeGroupedLib(); }

std::vector<long> ItemsOf(const CKpLineStyleGroup* g) {
  std::vector<long> ids;
  for (long i = 0; i < g->GetItemCount(); ++i) ids.push_back(g->GetItemID(i));
  return ids;
}

using kp::test::TextsOf;

class UiLibraryEditor : public ::testing::Test {
 protected:
  // Also run again inside table-driven tests, for a fresh library and dialog.
  void SetUp() override {
    dlg.reset();
    lib = MakeLib();
    dlg = std::make_unique<CKpLineStyleLibDlg>();
    dlg->AttachLineStyleLib(lib.get());
    dlg->show();
    messages.clear();
    answers.clear();
    fileDialogs = 0;
    kp::ui::g_messageBoxHook = [this](const CString& text, kp::ui::MsgButtons) {
      messages.push_back(text);
      if (answers.empty()) return IDCANCEL;
      const int a = answers.front();
      answers.pop_front();
      return a;
    };
    kp::ui::g_fileDialogHook = [this](bool) {
      ++fileDialogs;
      return filePath;
    };
  }
  void TearDown() override {
    kp::ui::g_messageBoxHook = nullptr;
    kp::ui::g_fileDialogHook = nullptr;
    kp::ui::ForceCtrlDownForTesting(-1);
    CKpDialog::s_modalHook = nullptr;
  }

  CKpLineStyleGroup* Root() const { return lib->GetRootGroup(); }
  CKpLineStyleGroup* Sub(long i) const { return Root()->SubGroup(i); }
  CKpLineStyleList* List() const { return dlg->StyleList(); }
  void Select(long entry) { List()->SetCurSel(entry); }
  long SelectedID() const {
    CKpLineStyleObj* s = dlg->GetSelectedStyle();
    return s ? s->GetID() : -1;
  }
  void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  // Chooses shape b on the button, as the pop-up reports it.
  void ChooseShape(long b) {
    dlg->ShapeButton()->SetCurSel(b);
    dlg->OnSelChange(b, 0);
  }
  CString TempPath(const char* name) const { return (tmp.path() + "/" + name).toStdString(); }

  std::unique_ptr<CKpLineStyleLib> lib;
  std::unique_ptr<CKpLineStyleLibDlg> dlg;
  std::vector<CString> messages;
  std::deque<int> answers;
  CString filePath;
  int fileDialogs = 0;
  QTemporaryDir tmp;
};

// --- the list ----------------------------------------------------------------

TEST_F(UiLibraryEditor, ListShowsParentGroupOnlyBelowTheRootAndGoesUpOnIt) {
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("线型库编辑器"));
  long v = -1;
  // Root: no way up; the first entry is the first sub-group.
  EXPECT_EQ(List()->GetCount(), 2 + 4);
  EXPECT_EQ(CKpLineStyleList::EntriesBeforeStyles(Root()), 2);
  EXPECT_EQ(List()->EntryKind(0, v), CKpLineStyleList::EntryGroup);
  EXPECT_EQ(List()->EntryKind(2, v), CKpLineStyleList::EntryStyle);
  EXPECT_EQ(v, 0);

  Select(0);
  dlg->OnDblclkLslLinestyleList();  // into A
  ASSERT_EQ(dlg->GetCurGroup(), Sub(0));
  EXPECT_EQ(List()->GetCount(), 1 + 2);
  EXPECT_EQ(List()->EntryKind(0, v), CKpLineStyleList::EntryParent);
  EXPECT_EQ(List()->EntryKind(1, v), CKpLineStyleList::EntryStyle);
  EXPECT_EQ(Sub(0)->GetItemID(v), 20);

  Select(0);
  dlg->OnDblclkLslLinestyleList();  // "ParentGroup"
  EXPECT_EQ(dlg->GetCurGroup(), Root());
  EXPECT_EQ(List()->GetCurSel(), -1);
}

TEST_F(UiLibraryEditor, SelectingEnablesThePropertiesOfStylesOnly) {
  Select(3);  // style 11
  EXPECT_TRUE(dlg->IDEdit()->isEnabled());
  EXPECT_TRUE(dlg->PositionBox()->isEnabled());
  EXPECT_EQ(dlg->IDEdit()->text(), "11");
  EXPECT_EQ(dlg->NameEdit()->text(), "River");
  EXPECT_FALSE(dlg->ShapeButton()->isEnabled());  // until a position is chosen
  Select(1);  // group B
  EXPECT_FALSE(dlg->IDEdit()->isEnabled());
  EXPECT_FALSE(dlg->GroupNameEdit()->isEnabled());
  EXPECT_EQ(dlg->GroupNameEdit()->text(), "B");
}

// --- groups ------------------------------------------------------------------

TEST_F(UiLibraryEditor, NewGroupIsNamedAfterTheEntriesBeforeTheStyles) {
  struct Case {
    const char* first;
    const char* second;
    const char* created;  // nullptr: nothing created
  };
  const Case cases[] = {
      {"A", "B", "New Group 2"},                         // k = 2
      {"A", "New Group 2", "New Group 2New"},            // the first name is taken
      {"New Group 2New", "New Group 2", nullptr},        // both are taken
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second);
    lib = std::make_unique<CKpLineStyleLib>();
    AddStyle(*lib, 10, "Road");
    Root()->SetStyleType(CKpLineStyleGroup::StyleIDs);
    Root()->CreateSubGroup(c.first);
    Root()->CreateSubGroup(c.second);
    Root()->AddStyleItem(10);
    dlg = std::make_unique<CKpLineStyleLibDlg>();
    dlg->AttachLineStyleLib(lib.get());
    dlg->OnInitDialog();
    dlg->OnLslCreateNewGroup();
    if (c.created) {
      ASSERT_EQ(Root()->GetSubGroupCount(), 3);
      EXPECT_EQ(Root()->SubGroup(2)->GetName(), c.created);
      EXPECT_EQ(List()->GetCurSel(), 2);  // the new group's entry
      EXPECT_TRUE(dlg->m_bDirty);
    } else {
      EXPECT_EQ(Root()->GetSubGroupCount(), 2);
    }
  }
}

TEST_F(UiLibraryEditor, DeletingAGroupAsksWhereItsContentGoes) {
  struct Case {
    int answer;
    long groups;        // sub-groups of the root afterwards
    long styles;        // styles of the library afterwards
    bool rootFilesWall; // 21 moved up
  };
  const Case cases[] = {
      {IDYES, 1, 7, true},     // contents move up
      {IDNO, 1, 5, false},     // contents deleted with their styles
      {IDCANCEL, 2, 7, false}, // nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    SetUp();
    answers = {c.answer};
    Select(0);  // A with 20 and 21
    dlg->OnLslDeleteLinestyle();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kp::ModuleString(kp::KP_IDS_REMOVE_GROUP));
    EXPECT_EQ(Root()->GetSubGroupCount(), c.groups);
    EXPECT_EQ(lib->Count(), c.styles);
    EXPECT_EQ(Root()->GetItemIndex(21) >= 0, c.rootFilesWall);
    EXPECT_EQ(List()->GetCount(), CKpLineStyleList::EntryCountOf(Root()));
    EXPECT_EQ(dlg->FindIDBox()->count(), c.styles);
  }
  // An empty group goes without a question.
  SetUp();
  Root()->CreateSubGroup("Empty");
  dlg->AttachLineStyleLib(lib.get());
  const long groups = Root()->GetSubGroupCount();
  Select(groups - 1);
  dlg->OnLslDeleteLinestyle();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Root()->GetSubGroupCount(), groups - 1);
}

TEST_F(UiLibraryEditor, DeletingAStyleRemovesItFromGroupLibraryAndFindBoxes) {
  Select(3);  // 11
  dlg->OnLslDeleteLinestyle();
  EXPECT_EQ(lib->FindID(11), -1);
  EXPECT_EQ(ItemsOf(Root()), (std::vector<long>{10, 12, 13}));
  EXPECT_FALSE(TextsOf(dlg->FindIDBox()).contains("11"));
  EXPECT_FALSE(TextsOf(dlg->FindNameBox()).contains("River"));
  EXPECT_TRUE(lib->IsModified());
}

// --- styles ------------------------------------------------------------------

TEST_F(UiLibraryEditor, NewStyleGetsTheNextLegalIdAndCtrlCopiesTheSelectedOne) {
  struct Case {
    bool ctrl;
    const char* editorName;  // what the editor starts from
    long editorSubLines;
  };
  const Case cases[] = {
      {true, "Rail", 1},     // Ctrl with a selection: a copy of 12
      {false, "NoName", 0},  // otherwise an empty style
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ctrl);
    SetUp();
    kp::ui::ForceCtrlDownForTesting(c.ctrl ? 1 : 0);
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto* editor = dynamic_cast<CKpLineStyleEditorDlg*>(&d);
      EXPECT_NE(editor, nullptr);
      if (!editor) return IDCANCEL;
      EXPECT_EQ(editor->m_LineStyleObj.GetName(), c.editorName);
      EXPECT_EQ(editor->m_LineStyleObj.Count(), c.editorSubLines);
      editor->m_ImportedSymIDs.push_back(4242);  // comes back either way
      return IDOK;
    };
    Select(4);  // 12
    const long expected = lib->GetLeagalID() + 1;
    dlg->OnLslNewLinestyle();
    EXPECT_EQ(expected, 31);
    ASSERT_EQ(lib->FindID(expected), lib->Count() - 1);
    EXPECT_EQ(lib->FindID(12), 2);  // the copied style keeps its ID
    EXPECT_EQ(Root()->GetItemID(Root()->GetItemCount() - 1), expected);
    EXPECT_EQ(List()->GetCurSel(), List()->GetCount() - 1);
    EXPECT_EQ(SelectedID(), expected);
    EXPECT_EQ(dlg->FindIDBox()->itemText(dlg->FindIDBox()->count() - 1), "31");
    EXPECT_EQ(dlg->m_ImportedSymIDs, kp::ui::KpImportedSymIDs{4242});
    EXPECT_TRUE(dlg->m_bDirty);
    EXPECT_TRUE(lib->IsModified());
    CKpDialog::s_modalHook = nullptr;
  }
}

TEST_F(UiLibraryEditor, EditingAStyleReplacesItOnOkOnly) {
  for (const int result : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(result);
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto& editor = dynamic_cast<CKpLineStyleEditorDlg&>(d);
      CKpLineStyleBase extra;
      editor.m_LineStyleObj.AddStyleBase(extra);
      return result;
    };
    Select(2);  // 10
    dlg->OnDblclkLslLinestyleList();
    EXPECT_EQ(lib->GetStyleObj(lib->FindID(10)).Count(), result == IDOK ? 2 : 1);
    EXPECT_EQ(dlg->m_bDirty != FALSE, result == IDOK);
  }
}

TEST_F(UiLibraryEditor, ReorderMovesTheStyleAndTheSelectionWithinTheGroup) {
  struct Case {
    void (CKpLineStyleLibDlg::*command)();
    long from;  // item index
    std::vector<long> order;
    long selectedItem;
    bool changed;
  };
  const Case cases[] = {
      {&CKpLineStyleLibDlg::OnLslSubDown, 3, {10, 11, 12, 13}, 3, false},   // Down on the last
      {&CKpLineStyleLibDlg::OnLslSubBottom, 3, {10, 11, 12, 13}, 3, false}, // Bottom on the last
      {&CKpLineStyleLibDlg::OnLslSubUp, 0, {10, 11, 12, 13}, 0, false},     // Up on the first
      {&CKpLineStyleLibDlg::OnLslSubTop, 2, {12, 10, 11, 13}, 0, true},
      {&CKpLineStyleLibDlg::OnLslSubBottom, 0, {11, 12, 13, 10}, 3, true},
      {&CKpLineStyleLibDlg::OnLslSubDown, 1, {10, 12, 11, 13}, 2, true},
      {&CKpLineStyleLibDlg::OnLslSubUp, 2, {10, 12, 11, 13}, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    SetUp();
    Select(2 + c.from);
    (dlg.get()->*c.command)();
    EXPECT_EQ(ItemsOf(Root()), c.order);
    EXPECT_EQ(List()->GetCurSel(), 2 + c.selectedItem);
    EXPECT_EQ(dlg->m_bDirty != FALSE, c.changed);
  }
}

TEST_F(UiLibraryEditor, IdEditIgnoresDuplicatesAndOutOfRangeAndAppliesANewId) {
  Select(2);  // 10
  Type(dlg->IDEdit(), "11");  // taken
  Type(dlg->IDEdit(), "5");   // below the range
  EXPECT_EQ(lib->FindID(10), 0);
  EXPECT_FALSE(dlg->m_bDirty);
  EXPECT_TRUE(messages.empty());

  Type(dlg->IDEdit(), "99");
  EXPECT_EQ(lib->GetStyleObj(0).GetID(), 99);
  EXPECT_EQ(Root()->GetItemID(0), 99);
  EXPECT_FALSE(TextsOf(dlg->FindIDBox()).contains("10"));
  EXPECT_EQ(dlg->FindIDBox()->itemText(dlg->FindIDBox()->count() - 1), "99");
  EXPECT_EQ(SelectedID(), 99);
  EXPECT_TRUE(dlg->m_bDirty);
  EXPECT_TRUE(lib->IsModified());
}

TEST_F(UiLibraryEditor, NameEditRenamesAndUpdatesTheFindList) {
  ASSERT_EQ(dlg->FindNameBox()->itemText(0), "Road");
  Select(2);  // 10 Road, the first of the find-by-name list
  Type(dlg->NameEdit(), "Highway");
  EXPECT_EQ(lib->GetStyleObj(0).GetName(), "Highway");
  EXPECT_FALSE(TextsOf(dlg->FindNameBox()).contains("Road"));
  EXPECT_TRUE(TextsOf(dlg->FindNameBox()).contains("Highway"));
  EXPECT_TRUE(lib->IsModified());
  EXPECT_TRUE(dlg->m_bDirty);
}

TEST_F(UiLibraryEditor, GroupRenameKeepsSiblingNamesUnique) {
  Select(0);
  dlg->OnDblclkLslLinestyleList();  // into A
  Select(1);
  Type(dlg->GroupNameEdit(), "B");  // a sibling's name
  EXPECT_EQ(Sub(0)->GetName(), "A");
  EXPECT_EQ(dlg->GroupNameEdit()->text(), "A");
  Type(dlg->GroupNameEdit(), "Walls");
  EXPECT_EQ(Sub(0)->GetName(), "Walls");
  EXPECT_TRUE(dlg->m_bDirty);
}

// --- finding -----------------------------------------------------------------

TEST_F(UiLibraryEditor, FindByIdAndByNameMoveToTheFilingGroup) {
  struct Case {
    bool byName;
    const char* text;
    bool enter;
    long group;  // -1 root, else the sub-group
    long selected;  // style ID, -1 nothing
  };
  const Case cases[] = {
      {false, "3", false, -1, -1},         // system pens are ignored
      {false, "21", false, 0, 21},         // in A
      {false, "11", true, -1, 11},         // Enter in the box
      {true, "wall", false, 0, 21},        // case-insensitive, in A
      {true, "road", false, -1, 10},       // the current group first
      {true, "small", false, 1, 30},       // only in B
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetUp();
    QComboBox* box = c.byName ? dlg->FindNameBox() : dlg->FindIDBox();
    box->setEditText(c.text);
    if (c.enter)
      QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    else if (c.byName)
      dlg->OnSelchangeFindName();
    else
      dlg->OnSelchangeFindID();
    EXPECT_EQ(dlg->GetCurGroup(), c.group < 0 ? Root() : Sub(c.group));
    EXPECT_EQ(SelectedID(), c.selected);
  }
  // Enter in the name box goes on to the next match.
  SetUp();
  dlg->FindNameBox()->setEditText("road");
  dlg->OnSelchangeFindName();
  QTest::keyClick(dlg->FindNameBox()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(SelectedID(), 13);
}

// --- decorations -------------------------------------------------------------

TEST_F(UiLibraryEditor, DecorationShapesAreStoredAndResourceSymbolsImportedOnce) {
  const long N = dlg->m_nLineSymCount;
  ASSERT_EQ(N, 0);
  ASSERT_GT(kp::ui::ResourceSymLib()->GetSymbolCount(), 2);
  const long symbolCell = 10 + N + 1;  // the resource library's second symbol
  Select(2);  // 10
  CKpLineStyleObjExt& ext = lib->GetStyleObj(0).GetObjExt();

  dlg->PositionBox()->setCurrentIndex(0);
  EXPECT_TRUE(dlg->ShapeButton()->isEnabled());
  dlg->HeightEdit()->setText("12");
  ChooseShape(symbolCell);
  ASSERT_NE(ext.GetObjExt(0), nullptr);
  const long symbolID = ext.GetObjExt(0)->nShape;
  EXPECT_GE(symbolID, 10);
  EXPECT_EQ(ext.GetObjExt(0)->byWidth, 12);  // width follows height for symbols
  EXPECT_TRUE(dlg->LockBox()->isChecked());
  EXPECT_FALSE(dlg->WidthEdit()->isEnabled());
  EXPECT_TRUE(dlg->AngleEdit()->isEnabled());

  dlg->PositionBox()->setCurrentIndex(1);  // the same symbol again elsewhere
  ChooseShape(symbolCell);
  EXPECT_EQ(lib->GetSymLib().GetSymbolCount(), 1);
  EXPECT_EQ(dlg->m_ImportedSymIDs.size(), 1u);
  ASSERT_NE(ext.GetObjExt(1), nullptr);
  EXPECT_EQ(ext.GetObjExt(1)->nShape, symbolID);

  dlg->PositionBox()->setCurrentIndex(0);  // the stored ID shows as its cell
  EXPECT_EQ(dlg->ShapeButton()->GetCurSel(), symbolCell);
  EXPECT_EQ(dlg->HeightEdit()->text(), "12");

  ChooseShape(3);  // a built-in arrow stores 3
  EXPECT_EQ(ext.GetObjExt(0)->nShape, 3);
  EXPECT_TRUE(dlg->WidthEdit()->isEnabled());
  EXPECT_FALSE(dlg->AngleEdit()->isEnabled());

  // Lock: a new width becomes the height, a new height the width.
  dlg->LockBox()->setChecked(true);
  dlg->WidthEdit()->setText("20");
  EXPECT_EQ(dlg->HeightEdit()->text(), "20");
  dlg->HeightEdit()->setText("7");
  EXPECT_EQ(dlg->WidthEdit()->text(), "7");
  EXPECT_EQ(ext.GetObjExt(0)->byWidth, 7);
  EXPECT_EQ(ext.GetObjExt(0)->byHeight, 7);
  // Ticking the box applies the height to the width.
  dlg->LockBox()->setChecked(false);
  dlg->WidthEdit()->setText("30");
  dlg->LockBox()->click();
  EXPECT_EQ(ext.GetObjExt(0)->byWidth, 7);

  ChooseShape(0);  // none clears the slot
  EXPECT_EQ(ext.GetObjExt(0), nullptr);
  EXPECT_FALSE(dlg->HeightEdit()->isEnabled());
  EXPECT_NE(ext.GetObjExt(1), nullptr);
  EXPECT_TRUE(dlg->m_bDirty);
}

TEST_F(UiLibraryEditor, BrowsingPositionsChangesNothing) {
  tagLineStyleObjExt* rec = new tagLineStyleObjExt{15, 9, 0, 6};
  lib->GetStyleObj(0).GetObjExt().SetObjExt(2, rec);
  Select(2);
  for (int pos : {0, 2, 4, 2}) dlg->PositionBox()->setCurrentIndex(pos);
  EXPECT_EQ(dlg->ShapeButton()->GetCurSel(), 6);
  EXPECT_EQ(dlg->WidthEdit()->text(), "15");
  EXPECT_EQ(lib->GetStyleObj(0).GetObjExt().GetObjExt(2)->byWidth, 15);
  EXPECT_FALSE(dlg->m_bDirty);
}

// --- files -------------------------------------------------------------------

TEST_F(UiLibraryEditor, FailedOpenSaysWhyAndChangesNothing) {
  struct Case {
    const char* file;
    QByteArray content;  // empty: the file is not created
  };
  const Case cases[] = {
      {"corrupt.lsl", QByteArray("this is not a line-style library at all")},
      {"missing.lsl", QByteArray()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SetUp();
    filePath = TempPath(c.file);
    if (!c.content.isEmpty()) {
      QFile f(QString::fromStdString(filePath));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.content);
    }
    dlg->m_strFilePath = "/previous.lsl";
    dlg->m_bDirty = TRUE;
    answers = {IDNO, IDOK};  // don't save; acknowledge the failure
    dlg->OnLslOpenLibrary();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find(filePath), CString::npos);
    EXPECT_EQ(lib->Count(), 7);
    EXPECT_EQ(Root()->GetSubGroupCount(), 2);
    EXPECT_EQ(dlg->m_strFilePath, "/previous.lsl");
    EXPECT_TRUE(dlg->m_bDirty);
  }
}

TEST_F(UiLibraryEditor, OpenReplacesOrAppends) {
  CKpLineStyleLib other;
  AddStyle(other, 50, "Ditch");
  other.GetRootGroup()->SetStyleType(CKpLineStyleGroup::StyleIDs);
  other.GetRootGroup()->AddStyleItem(50);
  filePath = TempPath("other.lsl");
  ASSERT_TRUE(other.SaveToFile(filePath));

  dlg->OnLslOpenLibrary();
  EXPECT_EQ(lib->Count(), 1);
  EXPECT_EQ(dlg->m_strFilePath, filePath);
  EXPECT_FALSE(dlg->m_bDirty);
  EXPECT_TRUE(lib->IsModified());
  EXPECT_EQ(List()->GetCount(), 1);
  EXPECT_EQ(TextsOf(dlg->FindNameBox()), QStringList{"Ditch"});

  // Appending keeps the current file as the one to save to.
  SetUp();
  dlg->m_strFilePath = "/current.lsl";
  dlg->m_bAppend = TRUE;
  dlg->OnLslOpenLibrary();
  EXPECT_EQ(lib->Count(), 8);
  EXPECT_EQ(dlg->m_strFilePath, "/current.lsl");
  EXPECT_TRUE(dlg->m_bDirty);
}

TEST_F(UiLibraryEditor, SaveWritesAtomicallyAndAFailureKeepsTheWork) {
  // A folder that does not exist cannot take the file.
  dlg->m_strFilePath = TempPath("no-such-folder/lib.lsl");
  dlg->m_bDirty = TRUE;
  answers = {IDOK};
  EXPECT_FALSE(dlg->OnLslSaveLibrary());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(dlg->m_strFilePath), CString::npos);
  EXPECT_TRUE(dlg->m_bDirty);

  filePath = TempPath("saved.lsl");
  EXPECT_TRUE(dlg->OnLslSaveAsLibrary());
  EXPECT_EQ(dlg->m_strFilePath, filePath);
  EXPECT_FALSE(dlg->m_bDirty);
  CKpLineStyleLib back;
  ASSERT_TRUE(back.LoadFromFile(filePath));
  EXPECT_EQ(back.Count(), 7);
}

TEST_F(UiLibraryEditor, SaveQuestionCancelOrFailedSaveAbandonsTheCommand) {
  struct Case {
    std::deque<int> answers;
    bool goesOn;
  };
  const Case cases[] = {
      {{IDCANCEL}, false},
      {{IDYES, IDOK}, false},  // Yes, but the save fails
      {{IDNO}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers.size());
    SetUp();
    dlg->m_strFilePath = TempPath("no-such-folder/lib.lsl");
    dlg->m_bDirty = TRUE;
    answers = c.answers;
    dlg->OnLslNewLibrary();
    EXPECT_EQ(lib->Count(), c.goesOn ? 0 : 7);
    EXPECT_EQ(dlg->m_bDirty == FALSE, c.goesOn);
    EXPECT_EQ(messages[0], kp::ModuleString(kp::KP_IDS_HOST_SAVE_LIBRARY));
  }
  // Open asks first, too: Cancel shows no file dialog.
  SetUp();
  dlg->m_bDirty = TRUE;
  answers = {IDCANCEL};
  dlg->OnLslOpenLibrary();
  EXPECT_EQ(fileDialogs, 0);
}

TEST_F(UiLibraryEditor, EscapeAndCloseGoThroughTheSaveQuestion) {
  dlg->show();
  dlg->m_bDirty = TRUE;
  answers = {IDCANCEL};
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());
  answers = {IDCANCEL};
  dlg->close();
  EXPECT_TRUE(dlg->isVisible());
  QTest::keyClick(dlg->NameEdit(), Qt::Key_Return);  // Enter never closes
  EXPECT_TRUE(dlg->isVisible());
  answers = {IDNO};
  EXPECT_TRUE(dlg->OnClose());
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(messages.size(), 3u);
}

// --- options -----------------------------------------------------------------

TEST_F(UiLibraryEditor, OptionDialogOverwriteFollowsAppend) {
  struct Case {
    BOOL append, overwrite;
    bool clickAppend;
    BOOL wantAppend, wantOverwrite;
    bool overwriteEnabled;
  };
  const Case cases[] = {
      {FALSE, FALSE, false, FALSE, FALSE, false},  // overwrite unavailable
      {TRUE, TRUE, false, TRUE, TRUE, true},
      {TRUE, TRUE, true, FALSE, FALSE, false},     // clearing append clears overwrite
      {FALSE, FALSE, true, TRUE, FALSE, true},
  };
  for (const Case& c : cases) {
    CKpLineStyleOptionDlg opt;
    opt.m_bAppend = c.append;
    opt.m_bOverwrite = c.overwrite;
    opt.OnInitDialog();
    if (c.clickAppend) opt.AppendBox()->click();
    EXPECT_EQ(opt.OverwriteBox()->isEnabled(), c.overwriteEnabled);
    opt.OnOK();
    EXPECT_EQ(opt.m_bAppend, c.wantAppend);
    EXPECT_EQ(opt.m_bOverwrite, c.wantOverwrite);
  }
  // The editor keeps the flags only on OK.
  for (const int result : {IDCANCEL, IDOK}) {
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto& opt = dynamic_cast<CKpLineStyleOptionDlg&>(d);
      opt.AppendBox()->setChecked(true);
      opt.OnLslAppend();
      opt.OverwriteBox()->setChecked(true);
      if (result == IDOK) opt.OnOK();
      return result;
    };
    dlg->OnLslOption();
    EXPECT_EQ(dlg->m_bAppend != FALSE, result == IDOK);
    EXPECT_EQ(dlg->m_bOverwrite != FALSE, result == IDOK);
  }
}

// --- the picker's "线型编辑器" -------------------------------------------------

TEST_F(UiLibraryEditor, PickerRunsTheEditorAndReselectsItsChoice) {
  struct Case {
    void (*edit)(CKpLineStyleLibDlg&);
    long style;     // the picker's choice afterwards
    bool inRoot;    // its group afterwards
  };
  const Case cases[] = {
      // Group A deleted, its styles moved up: 21 is now filed in the root.
      {[](CKpLineStyleLibDlg& e) {
         e.StyleList()->SetCurSel(0);
         kp::ui::g_messageBoxHook = [](const CString&, kp::ui::MsgButtons) { return IDYES; };
         e.OnLslDeleteLinestyle();
       },
       21, true},
      // The chosen style deleted: nothing is chosen.
      {[](CKpLineStyleLibDlg& e) {
         e.StyleList()->SetCurSel(0);
         e.OnDblclkLslLinestyleList();
         e.StyleList()->SetCurSel(2);  // 21
         e.OnLslDeleteLinestyle();
       },
       -1, true},
  };
  for (const Case& c : cases) {
    SetUp();
    CKpLineStylePickerDlg picker;
    picker.AttachLineStyleLib(lib.get());
    picker.SetCurSelStyle(21);
    picker.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(picker.EditLibButton()->isEnabled());
    CKpLineStyleLib* seen = nullptr;
    CKpDialog::s_modalHook = [&](QDialog& d) {
      auto& editor = dynamic_cast<CKpLineStyleLibDlg&>(d);
      seen = editor.GetLineStyleLib();
      EXPECT_EQ(editor.parentWidget(), &picker);
      c.edit(editor);
      return IDCANCEL;
    };
    QTest::mouseClick(picker.EditLibButton(), Qt::LeftButton);
    CKpDialog::s_modalHook = nullptr;
    EXPECT_EQ(seen, lib.get());
    EXPECT_EQ(picker.GetCurSelStyle(), c.style);
    EXPECT_EQ(picker.GetCurSelGroup(), Root());
    if (c.style > 0) {
      long id = -1;
      EXPECT_EQ(picker.GetCellKind(picker.GetCurSelCell(), &id), CKpLineStylePickerDlg::CellStyle);
      EXPECT_EQ(id, c.style);
    } else {
      EXPECT_EQ(picker.GetCurSelCell(), -1);
      EXPECT_TRUE(picker.FindIDBox()->currentText().isEmpty());
    }
  }
}

}  // namespace
