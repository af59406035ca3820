#include "ui/CKpLslExtSymPickerDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CKpLslExtSymList.h"
#include "ui/KpDialogForms.h"
#include "ui/KpUiConstants.h"

namespace {
constexpr int kCell = 40;
constexpr int kVisibleRows = 5;
constexpr int kVisibleColumns = 8;
}  // namespace

CKpLslExtSymPickerDlg::CKpLslExtSymPickerDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("扩展符号选择"));
  m_pList = new CKpLslExtSymList(this);
  m_pList->setObjectName(QStringLiteral("symbolList"));
  // Whole rows and columns of cells, and room for the sideways scroll bar.
  const int frame = 2 * m_pList->frameWidth();
  m_pList->setMinimumSize(kVisibleColumns * kCell + frame, kVisibleRows * kCell + frame + 18);
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QHBoxLayout* buttons = kp::ui::OkCancelRow(this, QStringLiteral("确定"), QStringLiteral("取消"), ok, cancel);
  ok->setObjectName(QStringLiteral("okButton"));
  cancel->setObjectName(QStringLiteral("cancelButton"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pList, 1);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
  connect(cancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
  connect(m_pList, &CKpLslExtSymList::selChange, this, &CKpLslExtSymPickerDlg::OnSelChange);
}

CKpLslExtSymPickerDlg::~CKpLslExtSymPickerDlg() = default;

void CKpLslExtSymPickerDlg::AttachLineSymLib(CKpSymLib* lib, long count) {
  m_pLineSymLib = lib;
  m_nLineSymCount = count;
}

void CKpLslExtSymPickerDlg::AttachResSymLib(CKpSymLib* lib) { m_pResSymLib = lib; }

bool CKpLslExtSymPickerDlg::OnInitDialog() {
  m_pList->AttachLineSymLib(m_pLineSymLib, m_nLineSymCount);
  m_pList->AttachLineStyleLib(m_pResSymLib);
  m_pList->InitContent();
  m_pList->SetItemHeight(kCell);
  m_pList->SetColumnWidth(kCell);
  // An index the list does not have is no choice: OK must not hand it back.
  if (m_nIndex < 0 || m_nIndex >= m_pList->GetCount()) m_nIndex = -1;
  m_pList->SetCurSel(static_cast<int>(m_nIndex));
  return true;
}

void CKpLslExtSymPickerDlg::OnSelChange() { m_nIndex = m_pList->GetCurSel(); }
