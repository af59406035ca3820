#pragma once
// "Tessary 线型库编辑器": the classic library editor. It works on a member copy
// of a library (m_LineStyleLib): the host points it at its library with
// AttachLineStyleLib (copied when the dialog opens), runs DoModal and, after
// IDOK, reads m_LineStyleLib back. The user creates, edits (in
// CDlgCLineEdit), deletes and reorders styles, changes their IDs and names,
// finds them by name or ID, loads and saves .lsl files, and imports styles
// through the library manager (CDlgStyleMan).
//
// "确定" ends the dialog with IDOK. Closing it any other way ("取消", Escape,
// the window's close button, the hidden "退出") first asks, when the library
// was changed since it was opened, loaded or saved, whether to export it to a
// file; a save that does not happen after Yes keeps the dialog open.
//
// File failures are reported and change nothing: a file that cannot be read,
// is larger than kMaxFileSize or is not a library leaves the library as it
// was, and a failed save is never reported as done.
//
// The decoration panel ("修饰") shows a style's decoration values, which the
// classic styles keep none of; it is shown disabled, with a tooltip pointing
// to the library editor, where decorations are edited.
#include <QString>

#include "model/CKpLineStyleLib.h"
#include "platform/KpExport.h"
#include "ui/CKpDialog.h"

class CKpButtonDecoratePicker;
class CKpNumEdit;
class CListLineSel;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

class KP_API CDlgLineSel : public CKpDialog {
  Q_OBJECT

 public:
  // The buttons of the top row (the last two are hidden).
  enum Button {
    BtnOpen, BtnSave, BtnImport, BtnNew, BtnEdit, BtnDelete,
    BtnTop, BtnUp, BtnDown, BtnBottom, BtnExit, BtnFind, BtnCount
  };
  static constexpr long kMaxFileSize = 5120000;
  static constexpr size_t kMaxNameBytes = 31;
  static constexpr long kFirstStyleID = 6;
  static constexpr long kMaxSpinID = 16959;
  static constexpr long kMaxDecorateSize = 255;

  explicit CDlgLineSel(QWidget* parent = nullptr);
  ~CDlgLineSel() override;

  CKpLineStyleLib m_LineStyleLib;

  // The host's library (not owned); m_LineStyleLib becomes a copy of it when
  // the dialog opens (at once when it is already open). The host's library
  // is not changed, its modified flag included.
  void AttachLineStyleLib(CKpLineStyleLib* lib);
  // True when the library was changed since it was opened, loaded or saved.
  bool IsChanged() const { return m_bChanged; }

  bool OnInitDialog() override;

  // --- handlers ---
  void OnSelchangeListLine();
  void OnButtonNew();
  void OnButtonEdit();
  void OnButtonDelete();
  void OnButtonTop();
  void OnButtonUp();
  void OnButtonDown();
  void OnButtonBottom();
  void OnButtonOpen();
  // True when the library was written.
  bool OnButtonSave();
  void OnButtonImport();
  void OnFindName();
  void OnFindID();
  void OnKillfocusEditID();
  void OnKillfocusEditName();
  // The export question, then the dialog closes with IDCANCEL; false when
  // it stays open.
  bool OnExit();
  void reject() override;

  // Replaces the library by the file's; on failure reports it and returns
  // false, the library unchanged.
  bool OpenLibraryFile(const CString& path);
  // Writes the library to `path` (".lsl" appended when missing); on failure
  // reports it and returns false.
  bool SaveLibraryFile(const CString& path);

  // --- children, for hosts and tests ---
  QAbstractButton* GetButton(Button id) const { return m_pButtons[id]; }
  CListLineSel* StyleList() const { return m_pList; }
  QLineEdit* IDEdit() const { return m_pIDEdit; }
  QScrollBar* IDSpin() const { return m_pIDSpin; }
  QLineEdit* IndexEdit() const { return m_pIndexEdit; }
  QLineEdit* NameEdit() const { return m_pNameEdit; }
  QGroupBox* DecorationBox() const { return m_pDecorationBox; }
  CKpButtonDecoratePicker* ShapeButton() const { return m_pShape; }
  QComboBox* PositionBox() const { return m_pPosition; }
  CKpNumEdit* HeightEdit() const { return m_pHeightEdit; }
  CKpNumEdit* WidthEdit() const { return m_pWidthEdit; }
  QCheckBox* LockBox() const { return m_pLock; }
  QComboBox* FindNameBox() const { return m_pFindName; }
  QComboBox* FindIDBox() const { return m_pFindID; }
  QPushButton* OkButton() const { return m_pOk; }
  QPushButton* CancelButton() const { return m_pCancel; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateButtonRow();
  QWidget* CreatePropertyBox();
  QWidget* CreateDecorationBox();
  QWidget* CreateFindBox();
  void ConnectControls();

  void CopyFromHost();
  // Rebuilds the list and the find boxes and selects `index` (-1: none).
  void Refresh(long index);
  void SelectRow(long index);
  void FillFindBoxes();
  void ShowStyleID(long id);
  void MarkChanged();
  // Moves the selected style to `to` by neighbour swaps, which leave the
  // group tree filing it.
  void MoveSelected(long to);
  // The ID a new style gets: the last style's ID + 1 (6 when there is none),
  // or the next free one when that is taken or below 6.
  long NewStyleID() const;
  // Index of another style than `self` with that ID / that name (case
  // ignored), or -1.
  long OtherWithID(long id, long self) const;
  long OtherWithName(const CString& name, long self) const;

  CKpLineStyleLib* m_pHostLib = nullptr;
  bool m_bInitDone = false;
  bool m_bChanged = false;
  bool m_bInFocusCheck = false;

  QAbstractButton* m_pButtons[BtnCount] = {};
  CListLineSel* m_pList = nullptr;
  QLineEdit* m_pIDEdit = nullptr;
  QScrollBar* m_pIDSpin = nullptr;
  QLineEdit* m_pIndexEdit = nullptr;
  QLineEdit* m_pNameEdit = nullptr;
  QGroupBox* m_pDecorationBox = nullptr;
  CKpButtonDecoratePicker* m_pShape = nullptr;
  QComboBox* m_pPosition = nullptr;
  CKpNumEdit* m_pHeightEdit = nullptr;
  CKpNumEdit* m_pWidthEdit = nullptr;
  QScrollBar* m_pHeightSpin = nullptr;
  QScrollBar* m_pWidthSpin = nullptr;
  QCheckBox* m_pLock = nullptr;
  QComboBox* m_pFindName = nullptr;
  QComboBox* m_pFindID = nullptr;
  QPushButton* m_pFindNameButton = nullptr;
  QPushButton* m_pFindIDButton = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
  QPushButton* m_pHiddenDefault = nullptr;
};
