#include "ui/CKpDialog.h"

#include "ui/KpUiConstants.h"

std::function<int(QDialog&)> CKpDialog::s_modalHook;

CKpDialog::CKpDialog(QWidget* parent) : QDialog(parent) {}

CKpDialog::~CKpDialog() = default;

bool CKpDialog::OnInitDialog() { return true; }

int CKpDialog::DoModal() {
  setResult(QDialog::Rejected);
  if (!OnInitDialog()) return IDCANCEL;
  if (s_modalHook) {
    const int answer = s_modalHook(*this);
    if (isVisible()) hide();
    return answer;
  }
  return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CKpDialog::EndDialog(int result) {
  if (result == IDOK)
    accept();
  else
    reject();
}
