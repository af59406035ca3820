#pragma once
// An integer edit box. Its value always stays within [min, max]; typed text
// outside the range is refused by the validator, and SetValue clamps.
#include <QLineEdit>

#include "platform/KpExport.h"

class QIntValidator;

class KP_API CKpNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CKpNumEdit(QWidget* parent = nullptr);

  // Sets the limits (swapped when given the wrong way round) and clamps the value.
  void SetRange(long min, long max);
  long GetMin() const { return m_nMin; }
  long GetMax() const { return m_nMax; }
  // Clamps to the limits; emits valueChanged when the value changes.
  void SetValue(long value);
  long GetValue() const { return m_nValue; }

 signals:
  void valueChanged(long value);

 private:
  void OnTextEdited(const QString& text);
  void OnEditingFinished();

  long m_nMin = 0;
  long m_nMax = 100;
  long m_nValue = 0;
  QIntValidator* m_pValidator = nullptr;
};
