#include "ui/controls/CKpFlatButton.h"

CKpFlatButton::CKpFlatButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::TabFocus);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void CKpFlatButton::SetIcon(const QIcon& icon, const QSize& size) {
  setIcon(icon);
  setIconSize(size);
}

void CKpFlatButton::SetToolTipText(const QString& text) { setToolTip(text); }
