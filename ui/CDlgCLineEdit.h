#pragma once
// "线型对象编辑器": the classic style editor. Edits the sub-lines of a member
// copy of a style (list, offsets, widths, width type) with a test sample;
// the pattern of a sub-line is edited in CDlgGLineEdit. The caller assigns
// m_LineStyleObj before the run and reads it back after IDOK.
//
// Every box writes into the selected sub-line at once; a value outside a
// box's range is ignored and the sub-line keeps its own. Handlers do nothing
// until the dialog is set up (DoModal, or showing it).
#include "model/CKpLineStyleObj.h"
#include "platform/KpExport.h"
#include "ui/CKpDialog.h"

class CDC;
class CRect;
class CListCLineSel;
class CKpNumEdit;
class CKpSymLib;
class QComboBox;
class QGroupBox;
class QPushButton;
class QScrollBar;

class KP_API CDlgCLineEdit : public CKpDialog {
  Q_OBJECT

 public:
  explicit CDlgCLineEdit(QWidget* parent = nullptr);
  ~CDlgCLineEdit() override;

  CKpLineStyleObj m_LineStyleObj;
  long m_nSelIndex = 0;  // the selected sub-line
  long m_nTestWidth = 1;  // the style width of the sample
  BOOL m_bInitialized = FALSE;

  CListCLineSel* GetList() const { return m_pList; }

  // The symbols that custom-symbol sub-lines name (the library's own), for
  // the list, the sample and the pattern editor; null leaves the engine's
  // symbol library as the host set it.
  void SetSymbolLib(CKpSymLib* lib) { m_pSymLib = lib; }

  // --- handlers (public so that owners and tests can drive the dialog) ---
  void OnSelchangeList();
  void OnNew();
  void OnDelete();
  void OnEdit();
  void OnUp();
  void OnDown();
  void OnChangeHorizOffset();
  void OnChangeVertOffset();
  void OnChangeVarWidth();
  void OnSelchangeWidthType();
  void OnChangeTestWidth();

  // --- children, for owners and tests ---
  QPushButton* GetNewButton() const { return m_pNew; }
  QPushButton* GetDeleteButton() const { return m_pDelete; }
  QPushButton* GetEditButton() const { return m_pEdit; }
  QPushButton* GetUpButton() const { return m_pUp; }
  QPushButton* GetDownButton() const { return m_pDown; }
  CKpNumEdit* GetHorizOffsetEdit() const { return m_pHorizOffset; }
  CKpNumEdit* GetVertOffsetEdit() const { return m_pVertOffset; }
  CKpNumEdit* GetVarWidthEdit() const { return m_pVarWidth; }
  CKpNumEdit* GetTestWidthEdit() const { return m_pTestWidth; }
  QComboBox* GetWidthTypeCombo() const { return m_pWidthType; }
  QGroupBox* GetFillGroup() const { return m_pFillGroup; }
  QWidget* GetSample() const { return m_pSample; }
  QPushButton* GetOkButton() const { return m_pOk; }
  QPushButton* GetCancelButton() const { return m_pCancel; }

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  // Paints the owner-drawn sample area.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateListFrame();
  QWidget* CreateParamFrame();
  QWidget* CreateFillFrame();
  QWidget* CreateSampleFrame();
  void ConnectControls();

  // The selected sub-line and its index, or null / -1.
  int SelectedIndex() const;
  CKpLineStyleBase* SelectedSubLine();
  // Selects sub-line `index` in the list and shows its values.
  void SelectSubLine(int index);
  void LoadSelected();
  // Runs the pattern editor on `sub`; true (and `sub` edited) after OK.
  bool RunPatternEditor(CKpLineStyleBase& sub);
  // Swaps the selected sub-line with the one at `other`, which it follows.
  void SwapSelectedWith(int other);
  void RepaintAll();
  void OnDrawSample(CDC* dc, const CRect& client);

  CKpSymLib* m_pSymLib = nullptr;
  CListCLineSel* m_pList = nullptr;
  QPushButton* m_pNew = nullptr;
  QPushButton* m_pDelete = nullptr;
  QPushButton* m_pEdit = nullptr;
  QPushButton* m_pUp = nullptr;
  QPushButton* m_pDown = nullptr;
  CKpNumEdit* m_pHorizOffset = nullptr;
  CKpNumEdit* m_pVertOffset = nullptr;
  CKpNumEdit* m_pVarWidth = nullptr;
  CKpNumEdit* m_pTestWidth = nullptr;
  QScrollBar* m_pHorizSpin = nullptr;
  QScrollBar* m_pVertSpin = nullptr;
  QScrollBar* m_pVarWidthSpin = nullptr;
  QScrollBar* m_pTestWidthSpin = nullptr;
  QComboBox* m_pWidthType = nullptr;
  QGroupBox* m_pFillGroup = nullptr;
  QWidget* m_pSample = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
};
