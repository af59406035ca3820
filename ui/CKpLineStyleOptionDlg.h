#pragma once
// "设置": how the library editor opens a file. With "追加到当前库" the file's
// styles are merged into the current library instead of replacing it; with
// "覆盖已经存在的线型" as well, a merged style replaces the current style of the
// same ID. Overwriting only means something while appending, so its box is
// enabled only then, and clearing the append box clears it.
//
// The caller sets both flags, runs the dialog and reads them back after IDOK.
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"

class QCheckBox;
class QPushButton;

class KP_API CKpLineStyleOptionDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpLineStyleOptionDlg(QWidget* parent = nullptr);
  ~CKpLineStyleOptionDlg() override;

  BOOL m_bAppend = FALSE;
  BOOL m_bOverwrite = FALSE;

  // Shows the flags in the boxes (DoModal runs it before the dialog is shown).
  bool OnInitDialog() override;
  // The append box was clicked.
  void OnLslAppend();
  // Takes the boxes into the flags and ends with IDOK.
  void OnOK();

  QCheckBox* AppendBox() const { return m_pAppend; }
  QCheckBox* OverwriteBox() const { return m_pOverwrite; }
  QPushButton* OkButton() const { return m_pOk; }
  QPushButton* CancelButton() const { return m_pCancel; }

 private:
  QCheckBox* m_pAppend = nullptr;
  QCheckBox* m_pOverwrite = nullptr;
  QPushButton* m_pOk = nullptr;
  QPushButton* m_pCancel = nullptr;
};
