#pragma once
// The modal dialog "线型模式编辑器": edits one sub-line in full - its style
// type, dash pattern, start mode, join and cap, colour and colour lock, the
// decoration's vertical length, angle and glyph or symbol - with a live demo.
//
// Order of calls: construct, assign m_LineStyleBase, AttachLineStyleLib, set
// m_nSymbolIndex for the custom-symbol kinds, DoModal; after IDOK read
// m_LineStyleBase and m_nSymbolIndex back. Every control change writes into
// m_LineStyleBase at once. Handlers do nothing until the dialog is set up
// (DoModal, or showing it).
//
// Values outside a box's range are ignored: the sub-line keeps its value.
#include "model/CKpLineStyleBase.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"

class CDC;
class CRect;
class CKpButtonColorPicker;
class CKpSymbol;
class CKpLineStyleLib;
class CKpNumEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QToolBar;

class KP_API CKpLineStylePatternDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpLineStylePatternDlg(QWidget* parent = nullptr);
  ~CKpLineStylePatternDlg() override;

  // The library whose own symbols come first in the symbol cells, and their
  // number (the rest of the cells are the resource symbols).
  void AttachLineStyleLib(CKpLineStyleLib* lib, long symCount);

  CKpLineStyleBase m_LineStyleBase;
  long m_nSymbolIndex = -1;  // symbol cell of kinds 47 and 48, -1 none
  BOOL m_bColorLock = FALSE;
  long m_nEntryLength = 1;
  long m_nPatternHeight = 20;
  long m_nDemoWidth = 1;
  BOOL m_bInitialized = FALSE;

  // Loads m_LineStyleBase into the controls.
  void InitContent();

  // --- handlers (public so that hosts and tests can drive the dialog) ---
  void OnSelchangeLslPatternStyle();
  void OnSelchangeLslPatternList();
  void OnSelchangeLslStartMode();
  void OnSelchangeLslPenStyle();
  void OnSelchangeLslJoin();
  void OnSelchangeLslCap();
  void OnChangeLslPatternWidth();
  void OnChangeLslPatternHeight();
  void OnChangeLslAngle();
  void OnChangeLslPatternDemoWidth();
  // WM_LSL_SELENDOK of the colour button: wparam is the colour.
  long OnSelEndOkColor(long wparam, long lparam);
  void OnLslPatternNew();
  void OnLslPatternDelete();
  void OnLslPatternLockColor();
  void OnLslSymbol();

  // Painting of the owner-drawn symbol button and demo area; the DC's
  // device is the widget's client area.
  void OnDrawSymbol(CDC* dc, const CRect& client);
  void OnDrawDemo(CDC* dc, const CRect& client);
  // The symbols of kinds 47 and 48 along the sample from `from` to `to`.
  void DrawSymbolDemo(CDC* dc, POINT from, POINT to, const CKpLineStyleBase& sub);

  // --- widgets, for hosts and tests ---
  QToolBar* ToolBar() const { return m_pToolBar; }
  QAction* NewAction() const { return m_pNewAction; }
  QAction* DeleteAction() const { return m_pDeleteAction; }
  QAction* LockColorAction() const { return m_pLockAction; }
  QListWidget* PatternList() const { return m_pList; }
  QComboBox* StyleCombo() const { return m_pStyleCombo; }
  QCheckBox* UserStyleCheck() const { return m_pUserStyle; }
  QComboBox* StartModeCombo() const { return m_pStartMode; }
  QComboBox* PenStyleCombo() const { return m_pPenStyle; }
  QComboBox* JoinCombo() const { return m_pJoin; }
  QComboBox* CapCombo() const { return m_pCap; }
  CKpButtonColorPicker* ColorButton() const { return m_pColor; }
  QLineEdit* AngleEdit() const { return m_pAngleEdit; }
  QScrollBar* AngleSpin() const { return m_pAngleSpin; }
  CKpNumEdit* HeightEdit() const { return m_pHeightEdit; }
  QScrollBar* HeightSpin() const { return m_pHeightSpin; }
  QPushButton* SymbolButton() const { return m_pSymbol; }
  CKpNumEdit* EntryLengthEdit() const { return m_pEntryEdit; }
  QScrollBar* EntryLengthSpin() const { return m_pEntrySpin; }
  CKpNumEdit* DemoWidthEdit() const { return m_pDemoWidthEdit; }
  QScrollBar* DemoWidthSpin() const { return m_pDemoWidthSpin; }
  QWidget* DemoArea() const { return m_pDemo; }
  QPushButton* OkButton() const { return m_pOk; }
  QPushButton* CancelButton() const { return m_pCancel; }

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Paints the symbol button and the demo area (they are owner-drawn).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateToolBar();
  QWidget* CreateLeftFrame();
  QWidget* CreateRightFrame();
  QWidget* CreateDemoFrame();
  void ConnectControls();
  void FillCombos();

  // Refills the pattern list from the sub-line and selects `row` (none when
  // out of range), without notifications.
  void RebuildList(int row);
  // Selects `row` of the list and loads its entry length into the edit.
  void SelectEntry(int row);
  void ShowEntryLength(long value);
  void ShowAngle(long value);
  void EnableSymbolControls(bool symbol, bool angle);
  void UpdateUserStyleBox();
  // The symbol of m_nSymbolIndex, or null.
  CKpSymbol* ChosenSymbol() const;
  // Takes the demo width and the button's colour into the sub-line and
  // repaints the demo.
  void RedrawDemo();
  void RunSymbolPicker();
  void RunCharSelect();

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  long m_nLineSymCount = 0;

  QToolBar* m_pToolBar = nullptr;
  QAction* m_pNewAction = nullptr;
  QAction* m_pDeleteAction = nullptr;
  QAction* m_pLockAction = nullptr;
  QListWidget* m_pList = nullptr;
  QComboBox* m_pStyleCombo = nullptr;
  QCheckBox* m_pUserStyle = nullptr;
  QComboBox* m_pStartMode = nullptr;
  QComboBox* m_pPenStyle = nullptr;
  QComboBox* m_pJoin = nullptr;
  QComboBox* m_pCap = nullptr;
  CKpButtonColorPicker* m_pColor = nullptr;
  QLineEdit* m_pAngleEdit = nullptr;
  QScrollBar* m_pAngleSpin = nullptr;
  CKpNumEdit* m_pHeightEdit = nullptr;
  QScrollBar* m_pHeightSpin = nullptr;
  QPushButton* m_pSymbol = nullptr;
  CKpNumEdit* m_pEntryEdit = nullptr;
  QScrollBar* m_pEntrySpin = nullptr;
  CKpNumEdit* m_pDemoWidthEdit = nullptr;
  QScrollBar* m_pDemoWidthSpin = nullptr;
  QWidget* m_pDemo = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
};
