#include "ui/CKpCharSelectDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CListTTSymbol.h"
#include "ui/KpDialogForms.h"
#include "ui/controls/CKpComboBoxTrueType.h"

namespace {

// 13 x 8 cells hold all 103 characters without scrolling.
constexpr int kColumns = 13;
constexpr int kRows = 8;

}  // namespace

CKpCharSelectDlg::CKpCharSelectDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("符号选择"));

  auto* label = new QLabel(QStringLiteral("字体名称:"), this);
  m_pFontCombo = new CKpComboBoxTrueType(this);
  m_pFontCombo->AddFontName();
  label->setBuddy(m_pFontCombo);

  m_pList = new CListTTSymbol(this);
  // Every cell fits, so no scroll bar; one that shows up while the view lays
  // out would narrow it by a column and push the last row out of sight. The
  // view wraps a row when a cell would touch the viewport's last pixel
  // column, hence the extra pixel.
  m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int frame = 2 * m_pList->frameWidth();
  m_pList->setFixedSize(kColumns * CListTTSymbol::kCellSize + 1 + frame,
                        kRows * CListTTSymbol::kCellSize + 1 + frame);

  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QHBoxLayout* buttons = kp::ui::OkCancelRow(this, QStringLiteral("确定"), QStringLiteral("取消"), ok, cancel);

  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(label);
  fontRow->addWidget(m_pFontCombo, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fontRow);
  layout->addWidget(m_pList);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_pFontCombo, &CKpComboBoxTrueType::selChange, this, &CKpCharSelectDlg::OnSelChangeFont);
  connect(m_pList, &CListTTSymbol::dblClk, this, [this](int) { accept(); });
  connect(ok, &QPushButton::clicked, this, &CKpCharSelectDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CKpCharSelectDlg::reject);
}

CKpCharSelectDlg::~CKpCharSelectDlg() = default;

bool CKpCharSelectDlg::OnInitDialog() {
  m_pFontCombo->SelectFaceName(m_strFaceName);
  OnSelChangeFont();
  m_pList->SelectSymbol(m_nSymbolID);
  m_pList->setFocus();
  return true;
}

void CKpCharSelectDlg::OnSelChangeFont() {
  const CString face = m_pFontCombo->GetSelectedFaceName();
  m_pList->SetFaceName(face.empty() ? m_strFaceName : face);
}

void CKpCharSelectDlg::accept() {
  const CString face = m_pFontCombo->GetSelectedFaceName();
  if (!face.empty()) m_strFaceName = face;
  // Without a selected cell the code stays as it came.
  const long code = m_pList->GetSelectedSymbol();
  if (code >= 0) m_nSymbolID = code;
  CKpDialog::accept();
}
