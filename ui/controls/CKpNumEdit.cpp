#include "ui/controls/CKpNumEdit.h"

#include <QIntValidator>
#include <algorithm>

CKpNumEdit::CKpNumEdit(QWidget* parent) : QLineEdit(parent) {
  m_pValidator = new QIntValidator(static_cast<int>(m_nMin), static_cast<int>(m_nMax), this);
  setValidator(m_pValidator);
  setText(QString::number(m_nValue));
  connect(this, &QLineEdit::textEdited, this, &CKpNumEdit::OnTextEdited);
  connect(this, &QLineEdit::editingFinished, this, &CKpNumEdit::OnEditingFinished);
}

void CKpNumEdit::SetRange(long min, long max) {
  if (min > max) std::swap(min, max);
  m_nMin = min;
  m_nMax = max;
  // The validator accepts intermediate text (such as "1" on the way to "10");
  // the value itself is clamped below.
  m_pValidator->setRange(static_cast<int>(std::min(0L, min)), static_cast<int>(max));
  SetValue(m_nValue);
}

void CKpNumEdit::SetValue(long value) {
  value = std::clamp(value, m_nMin, m_nMax);
  const QString text = QString::number(value);
  if (this->text() != text) setText(text);
  if (value != m_nValue) {
    m_nValue = value;
    emit valueChanged(value);
  }
}

void CKpNumEdit::OnTextEdited(const QString& text) {
  bool ok = false;
  const long v = text.toLong(&ok);
  // Text outside the limits (possible while typing) does not change the value.
  if (!ok || v < m_nMin || v > m_nMax || v == m_nValue) return;
  m_nValue = v;
  emit valueChanged(v);
}

void CKpNumEdit::OnEditingFinished() {
  bool ok = false;
  const long v = text().toLong(&ok);
  if (ok)
    SetValue(v);
  else
    setText(QString::number(m_nValue));
  if (text() != QString::number(m_nValue)) setText(QString::number(m_nValue));
}
