#pragma once
// "线型管理器": copies styles from an external library (opened from a file or
// made from the default styles) into the current library. The caller fills
// m_CurLib before the run and reads it back after IDOK.
#include "model/CKpLineStyleLib.h"
#include "ui/CKpDialog.h"

class CListLineSel;

class CDlgStyleMan : public CKpDialog {
  Q_OBJECT

 public:
  explicit CDlgStyleMan(QWidget* parent = nullptr);
  ~CDlgStyleMan() override;

  CKpLineStyleLib m_CurLib;  // the current library
  CKpLineStyleLib m_ExtLib;  // the external library

 protected:
  bool OnInitDialog() override;
};
