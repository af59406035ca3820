#pragma once
// "线型对象编辑器": the classic style editor. Edits the sub-lines of a member
// copy of a style (list, offsets, widths, width type) with a test sample;
// the pattern of a sub-line is edited in CDlgGLineEdit. The caller assigns
// m_LineStyleObj before the run and reads it back after IDOK.
#include "model/CKpLineStyleObj.h"
#include "ui/CKpDialog.h"

class CListCLineSel;

class CDlgCLineEdit : public CKpDialog {
  Q_OBJECT

 public:
  explicit CDlgCLineEdit(QWidget* parent = nullptr);
  ~CDlgCLineEdit() override;

  CKpLineStyleObj m_LineStyleObj;
  long m_nSelIndex = 0;  // the selected sub-line

  CListCLineSel* GetList() const { return m_pList; }

 protected:
  bool OnInitDialog() override;

 private:
  CListCLineSel* m_pList = nullptr;
};
