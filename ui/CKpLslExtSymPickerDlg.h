#pragma once
// "扩展符号选择": a modal dialog listing every symbol of two symbol libraries
// (the line library's own first, then the resource library's) in one grid of
// 40x40 cells. The chosen cell is GetIndex(), -1 for none.
#include "companions/CKpSymLib.h"
#include "platform/KpExport.h"
#include "ui/CKpDialog.h"

class CKpLslExtSymList;

class KP_API CKpLslExtSymPickerDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpLslExtSymPickerDlg(QWidget* parent = nullptr);
  ~CKpLslExtSymPickerDlg() override;

  void AttachLineSymLib(CKpSymLib* lib, long count);
  void AttachResSymLib(CKpSymLib* lib);
  void SetIndex(long index) { m_nIndex = index; }
  long GetIndex() const { return m_nIndex; }

  CKpLslExtSymList* GetList() const { return m_pList; }

 protected:
  bool OnInitDialog() override;

 private:
  void OnSelChange();

  CKpLslExtSymList* m_pList = nullptr;
  CKpSymLib* m_pLineSymLib = nullptr;
  long m_nLineSymCount = 0;
  CKpSymLib* m_pResSymLib = nullptr;
  long m_nIndex = -1;
};
