#pragma once
// "线型库编辑器": the library manager. The user browses the group tree and its
// styles; creates, opens, saves and replaces whole libraries; creates groups;
// creates, edits, deletes and reorders styles; changes a style's ID and name
// and its group's name; finds styles by ID or name; and attaches decorations
// (extended attributes) at the five positions of a style.
//
// Every change goes into the attached library at once; there is nothing to
// undo. Closing (the window's close button, Escape, OnClose) only asks
// whether to save to the .lsl file when there are unsaved changes. The
// library's own modified flag is set on every change and never cleared here,
// so the host learns that the content changed.
//
// File failures are never silent: a file that cannot be read or is not a
// library, and a save that cannot be written, are reported with the path and
// the reason, and nothing changes (the library, the path, the unsaved-changes
// flag, and on disk the old file). Answering Yes to the save question and then
// failing to save abandons the command that asked.
#include <QString>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"
#include "ui/KpSymbolCells.h"

class CKpLineStyleGroup;
class CKpLineStyleLib;
class CKpLineStyleList;
class CKpLineStyleObj;
class CKpLslExtSymButton;
class CKpNumEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolBar;
struct tagLineStyleObjExt;

class KP_API CKpLineStyleLibDlg : public CKpDialog {
  Q_OBJECT

 public:
  // Toolbar command numbers (their resource strings are the tooltips).
  enum Command {
    ID_LSL_NEW_LIBRARY = 24501,
    ID_LSL_OPEN_LIBRARY = 24505,
    ID_LSL_SAVE_LIBRARY = 24506,
    ID_LSL_DELETE_LINESTYLE = 24508,
    ID_LSL_CREATE_NEW_GROUP = 24509,
    ID_LSL_SAVEAS_LIBRARY = 24511,
    ID_LSL_LOAD_DEFAULT_LIBRARY = 24512,
    ID_LSL_SUB_TOP = 24515,
    ID_LSL_SUB_DOWN = 24516,
    ID_LSL_SUB_UP = 24517,
    ID_LSL_SUB_BOTTOM = 24518,
    ID_LSL_NEW_LINESTYLE = 24524,
    ID_LSL_OPTION = 24525,
  };
  static constexpr long kMinStyleID = 7;
  static constexpr long kMaxStyleID = 200000000;
  static constexpr long kMaxDecorateSize = 255;
  static constexpr long kMaxDecorateAngle = 3600;

  explicit CKpLineStyleLibDlg(QWidget* parent = nullptr);
  ~CKpLineStyleLibDlg() override;

  // Sets the library (not owned), its root group as the current group, and
  // the count of its own symbols.
  void AttachLineStyleLib(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetLineStyleLib() const { return m_pLineStyleLib; }
  CKpLineStyleGroup* GetCurGroup() const { return m_pCurGroup; }

  // State shared with hosts and tests.
  BOOL m_bDirty = FALSE;        // unsaved changes since the last open, new, default load or save
  CString m_strFilePath;        // the current .lsl file; empty for an untitled library
  BOOL m_bAppend = FALSE;       // opening merges into the current library
  BOOL m_bOverwrite = FALSE;    // merged styles replace styles of the same ID
  long m_nLineSymCount = 0;     // the library's own symbols at the last reset
  kp::ui::KpImportedSymIDs m_ImportedSymIDs;  // resource symbols copied in since then

  // Builds the dialog's content (DoModal and the first show run it once).
  bool OnInitDialog() override;
  // Fills the position box, disables the property and decoration controls
  // and refills the find boxes; 0 without a library.
  int InitParam();

  // --- toolbar commands ---
  void OnLslNewLibrary();
  void OnLslOpenLibrary();
  // Both saves return true when the library was written.
  bool OnLslSaveLibrary();
  bool OnLslSaveAsLibrary();
  void OnLslLoadDefaultLibrary();
  void OnLslCreateNewGroup();
  void OnLslNewLinestyle();
  void OnLslDeleteLinestyle();
  void OnLslSubTop();
  void OnLslSubUp();
  void OnLslSubDown();
  void OnLslSubBottom();
  void OnLslOption();

  // Reads `path` into the library (merging with m_bAppend) and makes it
  // current. On failure a message names the path and the reason, and nothing
  // changes; returns false then.
  bool OpenLibraryFile(const CString& path);

  // --- list ---
  void OnSelchangeLslLinestyleList();
  void OnDblclkLslLinestyleList();

  // --- properties (Enter in their edit) ---
  void UpdateLineStyleId();
  void UpdateLineStyleName();
  void UpdateGroupName();

  // --- finding ---
  // Selection change or Enter in the ID box.
  void OnSelchangeFindID();
  // Selection change in the name box: from the group's first style.
  void OnSelchangeFindName();
  // Enter in the name box: from the style after the selected one.
  void OnFindNameNext();

  // --- decorations ---
  void OnSelchangeLslDecoratePos();
  // WM_LSL_SELENDOK of the shape button; the choice is the button's GetCurSel().
  long OnSelChange(long wparam, long lparam);
  void OnChangeLslDecorateWidth();
  void OnChangeLslDecorateHeight();
  void OnChangeLslDecorateAngle();
  void OnLslDecorateLock();

  // Asks whether to save (when there are unsaved changes) and closes; false
  // when the user cancelled or the save failed, and the dialog stays open.
  bool OnClose();
  // Escape and the window's close button come here.
  void reject() override;

  // --- children, for hosts and tests ---
  QToolBar* ToolBar() const { return m_pToolBar; }
  QAction* Action(int commandId) const;
  CKpLineStyleList* StyleList() const { return m_pList; }
  QComboBox* FindNameBox() const { return m_pFindName; }
  QComboBox* FindIDBox() const { return m_pFindID; }
  CKpNumEdit* IDEdit() const { return m_pIDEdit; }
  QScrollBar* IDSpin() const { return m_pIDSpin; }
  QLineEdit* NameEdit() const { return m_pNameEdit; }
  QLineEdit* GroupNameEdit() const { return m_pGroupNameEdit; }
  QComboBox* PositionBox() const { return m_pPosition; }
  CKpLslExtSymButton* ShapeButton() const { return m_pShape; }
  CKpNumEdit* AngleEdit() const { return m_pAngleEdit; }
  CKpNumEdit* HeightEdit() const { return m_pHeightEdit; }
  CKpNumEdit* WidthEdit() const { return m_pWidthEdit; }
  QScrollBar* AngleSpin() const { return m_pAngleSpin; }
  QScrollBar* HeightSpin() const { return m_pHeightSpin; }
  QScrollBar* WidthSpin() const { return m_pWidthSpin; }
  QCheckBox* LockBox() const { return m_pLock; }

  // The selected style (null unless a style entry is selected) and its item
  // index in the current group.
  CKpLineStyleObj* GetSelectedStyle(long* item = nullptr) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateToolBar();
  QWidget* CreatePropertyBox();
  QWidget* CreateDecorationBox();
  void ConnectControls();

  // Runs the save question; true when the command may go on.
  bool SaveQuestion();
  // Writes the library to `path` through the library's atomic save.
  bool WriteLibrary(const CString& path);
  // After the library's content was replaced: root group current, symbol
  // counts reset, controls refilled.
  void ResetAfterReplace();
  void ResetSymbolCounts();
  void SetCurGroup(CKpLineStyleGroup* group);
  void SelectEntry(long index);
  // Rebuilds the list, keeping the selected entry.
  void RebuildList();
  void FillFindBoxes();
  void MarkModified();
  long EntriesBeforeStyles() const;

  // Decoration helpers.
  enum class ShapeKind { None, BuiltIn, Symbol };
  void EnableDecorationEdits(ShapeKind kind);
  void ShowDecorationValues(long width, long height, long angle);
  void ReadDecorationValues();
  // Applies shape selection b to the chosen slot; the record is stored only
  // when it differs from the slot's.
  void ApplyShape(long b);
  // Stores `rec` (owned) in the slot when it differs; true when it did.
  bool StoreDecoration(CKpLineStyleObj& style, long slot, tagLineStyleObjExt* rec);
  CKpSymLib* ResSymLib() const;

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  CKpLineStyleGroup* m_pRootGroup = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  bool m_bInitDone = false;

  // Values exchanged with the controls.
  long m_nStyleID = 6;
  CString m_strStyleName;
  long m_nDecorateWidth = 0;
  long m_nDecorateHeight = 0;
  long m_nDecorateAngle = 0;

  QToolBar* m_pToolBar = nullptr;
  CKpLineStyleList* m_pList = nullptr;
  QComboBox* m_pFindName = nullptr;
  QComboBox* m_pFindID = nullptr;
  CKpNumEdit* m_pIDEdit = nullptr;
  QScrollBar* m_pIDSpin = nullptr;
  QLineEdit* m_pNameEdit = nullptr;
  QLineEdit* m_pGroupNameEdit = nullptr;
  QComboBox* m_pPosition = nullptr;
  CKpLslExtSymButton* m_pShape = nullptr;
  CKpNumEdit* m_pAngleEdit = nullptr;
  CKpNumEdit* m_pHeightEdit = nullptr;
  CKpNumEdit* m_pWidthEdit = nullptr;
  QScrollBar* m_pAngleSpin = nullptr;
  QScrollBar* m_pHeightSpin = nullptr;
  QScrollBar* m_pWidthSpin = nullptr;
  QCheckBox* m_pLock = nullptr;
  QPushButton* m_pHiddenDefault = nullptr;
};
