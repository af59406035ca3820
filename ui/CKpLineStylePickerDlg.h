#pragma once
// The modal dialog "线型选择": the user chooses a line style (a style of the
// attached library, or one of the six built-in pens 0 to 5) together with a
// line width and colour.
//
// Order of calls: construct, AttachLineStyleLib, optionally SetStyle or the
// SetCurSel... calls, DoModal, then the Get... accessors. Without a library
// DoModal returns IDCANCEL at once. The dialog itself never changes the
// library; the library editor that "线型编辑器" opens changes it in place.
//
// Keyboard: Enter in the list acts as a double click, Enter in the edit field
// of the ID or name box runs that find; Enter never ends the dialog.
#include <QWidget>

#include "companions/CKpGeoStyle.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"

class CDC;
class CRect;
class CKpButtonColorPicker;
class CKpFlatButton;
class CKpLineStyleGroup;
class CKpLineStyleLib;
class CKpLineStylePicker;
class CKpLineStylePickerList;
class CKpNumEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

class CKpLineStylePickerDlg;

// The preview area: paints the dialog's last preview through the engine.
class KP_API CKpPickerPreview : public QWidget {
  Q_OBJECT

 public:
  explicit CKpPickerPreview(CKpLineStylePickerDlg* dlg, QWidget* parent = nullptr);
  QSize sizeHint() const override { return QSize(220, 80); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CKpLineStylePickerDlg* m_pDlg;
};

class KP_API CKpLineStylePickerDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpLineStylePickerDlg(QWidget* parent = nullptr);
  ~CKpLineStylePickerDlg() override;

  // --- set-up and results ---
  void AttachLineStyleLib(CKpLineStyleLib* lib);
  void SetCurSelStyle(long style) { m_nCurSelStyle = style; }
  long GetCurSelStyle() const { return m_nCurSelStyle; }
  void SetCurSelWidth(long width);
  long GetCurSelWidth() const { return m_nCurSelWidth; }
  void SetCurSelColor(long color);
  // The colour button's current colour.
  long GetCurSelColor() const;
  void SetStyle(const CKpGeoStyle& style);
  CKpGeoStyle GetStyle();
  CKpLineStyleGroup* GetCurSelGroup() const { return m_pCurGroup; }

  // --- handlers (public so that hosts and tests can drive the dialog) ---
  void OnSelchangeLslLinestylePicker();
  void OnDblclkLslLinestylePicker();
  void OnLslGototop();
  // WM_LSL_GROUP_CHANGED: wparam is the address of the chosen group. Null,
  // the current group and any address that is not a group of the library's
  // tree are ignored. Returns 1.
  long OnChangeGroupPicker(quintptr wparam, long lparam);
  void OnSelchangeFindID();
  void OnSelchangeFindName();
  void OnChangeWidth();
  // WM_LSL_SELENDOK of the colour button.
  long OnSelEndOkColor(long wparam, long lparam);
  // "线型编辑器": runs the library editor on the library, then shows the group
  // that files the chosen style (the root when none does) with its cell
  // selected, or nothing chosen when the style is gone.
  void OnLslPickerEditlib();
  void OnOK();
  void OnCancel();

  // Takes the current selection as the preview and repaints it (also sets
  // the find boxes and the group box from the selection).
  void OnDrawDemo();
  // Paints the preview on a DC whose device is the preview's client area.
  void DrawDemo(CDC* dc, const CRect& client);

  // Drops the group tree down (what a click on the group selector does).
  void DropGroupTree();

  // --- widgets, for hosts and tests ---
  CKpLineStylePicker* GroupPicker() const { return m_pPicker; }
  CKpLineStylePickerList* StyleList() const { return m_pList; }
  CKpFlatButton* UpButton() const { return m_pUpButton; }
  QComboBox* FindIDBox() const { return m_pFindID; }
  QComboBox* FindNameBox() const { return m_pFindName; }
  QLineEdit* GroupNameBox() const { return m_pGroupName; }
  CKpPickerPreview* Preview() const { return m_pPreview; }
  CKpButtonColorPicker* ColorButton() const { return m_pColor; }
  CKpNumEdit* WidthEdit() const { return m_pWidthEdit; }
  QScrollBar* WidthSpin() const { return m_pWidthSpin; }
  QPushButton* OkButton() const { return m_pOk; }
  QPushButton* CancelButton() const { return m_pCancel; }
  QPushButton* EditLibButton() const { return m_pEditLib; }

  // What the cell at `index` of the current group stands for.
  enum CellKind { CellNone, CellGroup, CellPen, CellStyle };
  CellKind GetCellKind(long index, long* value = nullptr) const;
  // The list's selected cell, -1 when none.
  long GetCurSelCell() const;

 protected:
  bool OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class CKpPickerPreview;

  void CreateControls();
  // True when `address` is the root or a group below it in the library's tree
  // (compared as addresses; nothing is dereferenced but the tree's own groups).
  bool IsGroupOfLibrary(quintptr address) const;
  // Makes `group` current: re-attaches the list and the selector and
  // refills the find boxes.
  void SetCurGroup(CKpLineStyleGroup* group);
  void FillFindBoxes();
  void ClearFindBoxes();
  // Selects `index` in the list (-1 clears) and runs the selection-change steps.
  void SelectCell(long index);
  void EnableOptions(bool on);
  void SetFindTexts(const QString& id, const QString& name);

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  CKpLineStyleGroup* m_pRootGroup = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  long m_nCurSelStyle = -1;
  long m_nCurSelWidth = 1;
  long m_nCurSelColor = 0;
  long m_nLastSel = -1;
  CKpGeoStyle m_GeoStyle;
  CString m_strGroupName;
  bool m_bInitDone = false;

  // What the preview shows: taken by OnDrawDemo, painted by DrawDemo.
  struct DemoState {
    CellKind kind = CellNone;
    long value = -1;  // pen number or style ID
    long width = 1;
    long color = 0;
  } m_Demo;

  CKpLineStylePicker* m_pPicker = nullptr;
  CKpLineStylePickerList* m_pList = nullptr;
  CKpFlatButton* m_pUpButton = nullptr;
  QComboBox* m_pFindID = nullptr;
  QComboBox* m_pFindName = nullptr;
  QLineEdit* m_pGroupName = nullptr;
  CKpPickerPreview* m_pPreview = nullptr;
  CKpButtonColorPicker* m_pColor = nullptr;
  CKpNumEdit* m_pWidthEdit = nullptr;
  QScrollBar* m_pWidthSpin = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
  QPushButton* m_pEditLib = nullptr;
  QPushButton* m_pHiddenDefault = nullptr;
};
