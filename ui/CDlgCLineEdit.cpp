// Placeholder until the classic style editor lands.
#include "ui/CDlgCLineEdit.h"

CDlgCLineEdit::CDlgCLineEdit(QWidget* parent) : CKpDialog(parent) {}
CDlgCLineEdit::~CDlgCLineEdit() = default;
bool CDlgCLineEdit::OnInitDialog() { return true; }
