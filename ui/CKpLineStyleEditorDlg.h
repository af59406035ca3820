#pragma once
// "线型编辑器": edits one line style - its sub-lines, their order, offsets,
// widths and repair flags, the style's colour and width - with a live demo.
// Patterns and decorations of a sub-line are edited one level deeper in the
// pattern dialog.
//
// The caller assigns the style to m_LineStyleObj, attaches the library and
// the imported-symbol record, runs the dialog, copies m_LineStyleObj out after
// IDOK and m_ImportedSymIDs back after either answer (the editor may have
// imported resource symbols into the library).
#include "model/CKpLineStyleLib.h"
#include "model/CKpLineStyleObj.h"
#include "platform/KpExport.h"
#include "ui/CKpDialog.h"
#include "ui/KpSymbolCells.h"

class CDC;
class CRect;
class CKpLineStyleBaseList;
class CKpLineStyleBase;
class CKpNumEdit;
class CKpButtonColorPicker;
class QAction;
class QCheckBox;
class QPushButton;
class QScrollBar;
class QToolBar;
class QWidget;

class KP_API CKpLineStyleEditorDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpLineStyleEditorDlg(QWidget* parent = nullptr);
  ~CKpLineStyleEditorDlg() override;

  void AttachLineStyleLib(CKpLineStyleLib* lib, long symCount, const kp::ui::KpImportedSymIDs& imported);

  // Symbol numbering of the pattern dialog: stored ID -> cell (-1 none), and
  // cell -> ID to store (importing a resource symbol once; 0 when missing).
  long FindSymID(long id);
  long FindSymIndex(long cell);

  CKpLineStyleObj m_LineStyleObj;
  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  long m_nLineSymCount = 0;
  kp::ui::KpImportedSymIDs m_ImportedSymIDs;

  long m_nZoom = 2;  // demo ratio = m_nZoom * 0.5, 1..5
  long m_nDemoWidth = 1;
  long m_nHorizOffset = 0;
  long m_nVertOffset = 0;
  long m_nSubWidth = 0;
  BOOL m_bWidthLock = FALSE;
  BOOL m_bHorizRepair = FALSE;
  BOOL m_bVertRepair = FALSE;
  BOOL m_bInitialized = FALSE;

  // --- handlers (public so owners and tests can drive them) ---
  void OnSelchangeLslSubLinestyleList();
  void OnChangeLslHorizOffset();
  void OnChangeLslVertOffset();
  void OnChangeLslSubWidth();
  void OnLslWidthLock();
  void OnLslHorizontalRepair();
  void OnLslVerticalRepair();
  void OnChangeLslDemoWidth();
  void OnSelEndOkColor(long color);
  void OnZoomIn();
  void OnZoomOut();
  void OnLslNewSubLinestyle();
  void OnDblclkLslSubLinestyleList();
  void OnLslDeleteSubLinestyle();
  void OnLslSubTop();
  void OnLslSubUp();
  void OnLslSubDown();
  void OnLslSubBottom();

  // --- children (for owners and tests) ---
  CKpLineStyleBaseList* GetList() const { return m_pList; }
  CKpNumEdit* GetHorizOffsetEdit() const { return m_pHorizOffset; }
  CKpNumEdit* GetVertOffsetEdit() const { return m_pVertOffset; }
  CKpNumEdit* GetSubWidthEdit() const { return m_pSubWidth; }
  CKpNumEdit* GetDemoWidthEdit() const { return m_pDemoWidthEdit; }
  QCheckBox* GetWidthLockBox() const { return m_pWidthLock; }
  QCheckBox* GetHorizRepairBox() const { return m_pHorizRepair; }
  QCheckBox* GetVertRepairBox() const { return m_pVertRepair; }
  CKpButtonColorPicker* GetColorButton() const { return m_pColor; }
  QPushButton* GetZoomInButton() const { return m_pZoomIn; }
  QPushButton* GetZoomOutButton() const { return m_pZoomOut; }
  QWidget* GetDemo() const { return m_pDemo; }
  QToolBar* GetToolBar() const { return m_pToolBar; }
  // The toolbar button of a command (24513 to 24518), or null.
  QAction* GetToolAction(int commandId) const;
  QPushButton* GetOkButton() const { return m_pOk; }
  QPushButton* GetCancelButton() const { return m_pCancel; }

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  // The toolbar's gripper and the line under it.
  void paintEvent(QPaintEvent* event) override;
  // Paints the owner-drawn demo area.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateToolBar();
  QWidget* CreateListFrame();
  QWidget* CreateRepairFrame();
  QWidget* CreateParamFrame();
  QWidget* CreateDemoFrame();
  void ConnectControls();

  // The selected sub-line and its index, or null / -1.
  int SelectedIndex() const;
  CKpLineStyleBase* SelectedSubLine();
  // Shows the values of the selected sub-line without notifications.
  void LoadSelected();
  // Selects sub-line `index` in the list and loads its values.
  void SelectSubLine(int index);
  // Runs the pattern dialog on `sub`; true (and `sub` updated) after OK.
  bool RunPatternDialog(CKpLineStyleBase& sub);
  // Moves the selected sub-line to `to` (an index after it was taken out).
  void MoveSelected(int to);
  void RepaintAll();
  void UpdateZoomButtons();
  void OnDrawDemo(CDC* dc, const CRect& client);

  QScrollBar* m_pHorizSpin = nullptr;
  QScrollBar* m_pVertSpin = nullptr;
  QScrollBar* m_pSubWidthSpin = nullptr;
  QScrollBar* m_pDemoWidthSpin = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
  QAction* m_pNewAction = nullptr;
  QAction* m_pDeleteAction = nullptr;
  QAction* m_pTopAction = nullptr;
  QAction* m_pUpAction = nullptr;
  QAction* m_pDownAction = nullptr;
  QAction* m_pBottomAction = nullptr;
  CKpLineStyleBaseList* m_pList = nullptr;
  CKpNumEdit* m_pHorizOffset = nullptr;
  CKpNumEdit* m_pVertOffset = nullptr;
  CKpNumEdit* m_pSubWidth = nullptr;
  CKpNumEdit* m_pDemoWidthEdit = nullptr;
  QCheckBox* m_pWidthLock = nullptr;
  QCheckBox* m_pHorizRepair = nullptr;
  QCheckBox* m_pVertRepair = nullptr;
  CKpButtonColorPicker* m_pColor = nullptr;
  QPushButton* m_pZoomIn = nullptr;
  QPushButton* m_pZoomOut = nullptr;
  QWidget* m_pDemo = nullptr;
  QToolBar* m_pToolBar = nullptr;
};
