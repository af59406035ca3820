// Placeholder until the symbol grid lands.
#include "ui/CKpLslExtSymPickerDlg.h"

CKpLslExtSymPickerDlg::CKpLslExtSymPickerDlg(QWidget* parent) : CKpDialog(parent) {}
CKpLslExtSymPickerDlg::~CKpLslExtSymPickerDlg() = default;
void CKpLslExtSymPickerDlg::AttachLineSymLib(CKpSymLib* lib, long count) {
  m_pLineSymLib = lib;
  m_nLineSymCount = count;
}
void CKpLslExtSymPickerDlg::AttachResSymLib(CKpSymLib* lib) { m_pResSymLib = lib; }
bool CKpLslExtSymPickerDlg::OnInitDialog() { return true; }
void CKpLslExtSymPickerDlg::OnSelChange() {}
