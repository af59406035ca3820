#include "ui/CKpLineStyleOptionDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/KpDialogForms.h"
#include "ui/KpUiConstants.h"

CKpLineStyleOptionDlg::CKpLineStyleOptionDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("设置"));
  m_pAppend = new QCheckBox(QStringLiteral("追加到当前库"), this);
  m_pOverwrite = new QCheckBox(QStringLiteral("覆盖已经存在的线型"), this);
  QHBoxLayout* buttons = kp::ui::OkCancelRow(this, QStringLiteral("确定"), QStringLiteral("取消"), m_pOk, m_pCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pAppend);
  auto* indented = new QHBoxLayout;
  indented->addSpacing(20);  // the overwrite option belongs to appending
  indented->addWidget(m_pOverwrite);
  layout->addLayout(indented);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_pAppend, &QCheckBox::clicked, this, &CKpLineStyleOptionDlg::OnLslAppend);
  connect(m_pOk, &QPushButton::clicked, this, &CKpLineStyleOptionDlg::OnOK);
  connect(m_pCancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
}

CKpLineStyleOptionDlg::~CKpLineStyleOptionDlg() {
  QObject::disconnect(m_pAppend, nullptr, this, nullptr);
}

bool CKpLineStyleOptionDlg::OnInitDialog() {
  const QSignalBlocker blockAppend(m_pAppend);
  const QSignalBlocker blockOverwrite(m_pOverwrite);
  m_pAppend->setChecked(m_bAppend != FALSE);
  m_pOverwrite->setChecked(m_bAppend && m_bOverwrite);
  m_pOverwrite->setEnabled(m_bAppend != FALSE);
  return true;
}

void CKpLineStyleOptionDlg::OnLslAppend() {
  const bool append = m_pAppend->isChecked();
  if (!append) m_pOverwrite->setChecked(false);
  m_pOverwrite->setEnabled(append);
}

void CKpLineStyleOptionDlg::OnOK() {
  m_bAppend = m_pAppend->isChecked() ? TRUE : FALSE;
  m_bOverwrite = m_bAppend && m_pOverwrite->isChecked() ? TRUE : FALSE;
  EndDialog(IDOK);
}
