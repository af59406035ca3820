// A cartographer's session from an empty library to a file, driven through
// the dialogs' handlers: a group, two styles with sub-lines of different
// kinds, decorations with a built-in shape and an imported resource symbol,
// saved; then another process (the lsl tool) reads the file back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <nlohmann/json.hpp>

#include "model/CKpLineStyleLib.h"
#include "ui/CKpLineStyleBaseList.h"
#include "ui/CKpLineStyleEditorDlg.h"
#include "ui/CKpLineStyleLibDlg.h"
#include "ui/CKpLineStyleList.h"
#include "ui/CKpLineStylePatternDlg.h"
#include "ui/CKpLslExtSymButton.h"
#include "ui/CKpLslExtSymPickerDlg.h"
#include "ui/KpMessageBox.h"
#include "ui/KpSymbolCells.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

// What the pattern dialog is asked to make of one new sub-line.
struct SubLinePlan {
  int kind;           // decoration kind chosen in the style-type box
  bool dashed;        // one dash/gap pair added with the toolbar
  long symbolCell;    // kinds 47/48: the cell chosen in the symbol picker
  const char* vertOffset;  // typed into the style editor afterwards
};

class EditorSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    kp::ui::g_fileDialogHook = [this](bool) { return path; };
    kp::ui::g_messageBoxHook = [](const CString&, kp::ui::MsgButtons) { return kp::ui::IDNO; };
    CKpDialog::s_modalHook = [this](QDialog& d) { return Answer(d); };
  }
  void TearDown() override {
    kp::ui::g_fileDialogHook = nullptr;
    kp::ui::g_messageBoxHook = nullptr;
    CKpDialog::s_modalHook = nullptr;
  }

  // Every nested dialog of the session is answered here, by its type.
  int Answer(QDialog& d) {
    if (auto* editor = dynamic_cast<CKpLineStyleEditorDlg*>(&d)) return BuildStyle(*editor);
    if (auto* pattern = dynamic_cast<CKpLineStylePatternDlg*>(&d)) return BuildSubLine(*pattern);
    if (auto* picker = dynamic_cast<CKpLslExtSymPickerDlg*>(&d)) {
      picker->SetIndex(current.symbolCell);
      return IDOK;
    }
    ADD_FAILURE() << "unexpected dialog " << d.metaObject()->className();
    return IDCANCEL;
  }

  int BuildStyle(CKpLineStyleEditorDlg& editor) {
    for (const SubLinePlan& plan : plans) {
      current = plan;
      editor.OnLslNewSubLinestyle();
      editor.GetList()->SetCurSel(editor.GetList()->GetCount() - 1);  // the user picks the new row
      editor.OnSelchangeLslSubLinestyleList();
      editor.GetVertOffsetEdit()->setText(plan.vertOffset);
    }
    return IDOK;
  }

  int BuildSubLine(CKpLineStylePatternDlg& pattern) {
    pattern.StyleCombo()->setCurrentIndex(current.kind);
    if (current.dashed) pattern.OnLslPatternNew();
    if (current.kind == 47) pattern.OnLslSymbol();
    return IDOK;
  }

  // Adds a style to the current group through the editor; returns its ID.
  long NewStyle(CKpLineStyleLibDlg& dlg, std::vector<SubLinePlan> subLines, const char* name) {
    plans = std::move(subLines);
    dlg.OnLslNewLinestyle();
    CKpLineStyleObj* style = dlg.GetSelectedStyle();
    if (!style) return -1;
    dlg.NameEdit()->setText(name);
    dlg.UpdateLineStyleName();
    return style->GetID();
  }

  // Puts shape `b` at position `slot` of the selected style.
  static void Decorate(CKpLineStyleLibDlg& dlg, int slot, long b) {
    dlg.PositionBox()->setCurrentIndex(slot);
    dlg.ShapeButton()->SetCurSel(b);
    dlg.OnSelChange(b, 0);
  }

  QTemporaryDir dir;
  CString path;
  std::vector<SubLinePlan> plans;
  SubLinePlan current{};
};

nlohmann::json DumpInAnotherProcess(const CString& file) {
  QProcess lsl;
  lsl.start(QStringLiteral(KP_LSL_BINARY), {QStringLiteral("dump"), QString::fromStdString(file),
                                            QStringLiteral("--json")});
  EXPECT_TRUE(lsl.waitForFinished(30000));
  EXPECT_EQ(lsl.exitCode(), 0) << lsl.readAllStandardError().toStdString();
  return nlohmann::json::parse(lsl.readAllStandardOutput().toStdString(), nullptr, false);
}

TEST_F(EditorSession, LibraryBuiltInTheDialogsIsFoundInTheFile) {
  path = (dir.path() + QStringLiteral("/城镇.lsl")).toStdString();
  CKpLineStyleLib lib;
  CKpLineStyleLibDlg dlg;
  dlg.AttachLineStyleLib(&lib);
  dlg.show();

  dlg.OnLslCreateNewGroup();  // "New Group 0", selected
  dlg.OnDblclkLslLinestyleList();
  ASSERT_EQ(dlg.GetCurGroup()->GetName(), "New Group 0");

  const long cell = 3;  // a resource symbol: the library has none of its own
  const long road = NewStyle(dlg,
                             {{0, false, -1, "0"},      // solid casing
                              {1, true, -1, "0"},       // dashed ticks
                              {47, true, cell, "20"}},  // symbols beside the line
                             "Road");
  Decorate(dlg, 1, 2);  // end: filled arrowhead
  const long fence = NewStyle(dlg, {{39, false, -1, "0"}}, "Fence");  // electric line
  const long symbolCell = 10 + dlg.m_nLineSymCount + cell;
  Decorate(dlg, 0, symbolCell);  // start: the same resource symbol again
  ASSERT_EQ(dlg.m_ImportedSymIDs.size(), 1u);  // imported once for both uses
  ASSERT_TRUE(dlg.OnLslSaveAsLibrary());

  const nlohmann::json doc = DumpInAnotherProcess(path);
  ASSERT_TRUE(doc.is_object());
  ASSERT_EQ(doc["root"]["groups"].size(), 1u);
  EXPECT_EQ(doc["root"]["groups"][0]["name"], "New Group 0");
  EXPECT_EQ(doc["root"]["groups"][0]["items"], nlohmann::json::array({road, fence}));
  ASSERT_EQ(doc["symbols"].size(), 1u);
  const long symbolID = doc["symbols"][0];

  ASSERT_EQ(doc["styles"].size(), 2u);
  const nlohmann::json& r = doc["styles"][0];
  EXPECT_EQ(r["id"], road);
  EXPECT_EQ(r["name"], "Road");
  ASSERT_EQ(r["sublines"].size(), 3u);
  const struct { int kind; size_t pattern; int vertOffset; } rows[] = {
      {0, 0, 0},    // casing: continuous
      {1, 2, 0},    // ticks: one dash/gap pair
      {47, 2, 20},  // symbols, offset sideways
  };
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r["sublines"][i]["m_nHVMode"], rows[i].kind);
    EXPECT_EQ(r["sublines"][i]["pattern"].size(), rows[i].pattern);
    EXPECT_EQ(r["sublines"][i]["m_nVertOffset"], rows[i].vertOffset);
  }
  EXPECT_EQ(r["sublines"][2]["m_nSymbol"], symbolID);
  ASSERT_EQ(r["ext"].size(), 1u);
  EXPECT_EQ(r["ext"][0]["pos"], 1);
  EXPECT_EQ(r["ext"][0]["nShape"], 2);

  const nlohmann::json& f = doc["styles"][1];
  EXPECT_EQ(f["name"], "Fence");
  EXPECT_EQ(f["sublines"][0]["m_nHVMode"], 39);
  EXPECT_EQ(f["sublines"][0]["m_nRepeatMode"], 1);  // electric lines repeat per segment
  EXPECT_EQ(f["sublines"][0]["pattern"].size(), 2u);  // the (50, 1) pair they need
  ASSERT_EQ(f["ext"].size(), 1u);
  EXPECT_EQ(f["ext"][0]["pos"], 0);
  EXPECT_EQ(f["ext"][0]["nShape"], symbolID);
}

}  // namespace
