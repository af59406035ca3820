// Placeholder until the library manager lands.
#include "ui/CDlgStyleMan.h"

CDlgStyleMan::CDlgStyleMan(QWidget* parent) : CKpDialog(parent) {}
CDlgStyleMan::~CDlgStyleMan() = default;
bool CDlgStyleMan::OnInitDialog() { return true; }
