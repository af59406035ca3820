#pragma once
// "符号选择": chooses a font face and one character of it (codes 24 to 126)
// for the glyph decorations.
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpDialog.h"

class CKpComboBoxTrueType;
class CListTTSymbol;

class KP_API CKpCharSelectDlg : public CKpDialog {
  Q_OBJECT

 public:
  explicit CKpCharSelectDlg(QWidget* parent = nullptr);
  ~CKpCharSelectDlg() override;

  void SetFaceName(const CString& face) { m_strFaceName = face; }
  CString GetFaceName() const { return m_strFaceName; }
  void SetSymbolID(long code) { m_nSymbolID = code; }
  long GetSymbolID() const { return m_nSymbolID; }

  CKpComboBoxTrueType* GetFontCombo() const { return m_pFontCombo; }
  CListTTSymbol* GetSymbolList() const { return m_pList; }

 protected:
  bool OnInitDialog() override;
  void accept() override;

 private slots:
  // Draws the list in the face now chosen.
  void OnSelChangeFont();

 private:
  CString m_strFaceName;
  long m_nSymbolID = 65;
  CKpComboBoxTrueType* m_pFontCombo = nullptr;
  CListTTSymbol* m_pList = nullptr;
};
