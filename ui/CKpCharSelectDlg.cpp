// Placeholder until the character grid lands.
#include "ui/CKpCharSelectDlg.h"

CKpCharSelectDlg::CKpCharSelectDlg(QWidget* parent) : CKpDialog(parent) {}
CKpCharSelectDlg::~CKpCharSelectDlg() = default;
bool CKpCharSelectDlg::OnInitDialog() { return true; }
void CKpCharSelectDlg::accept() { CKpDialog::accept(); }
