#include "ui/CDlgCLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/CRect.h"
#include "ui/CDlgGLineEdit.h"
#include "ui/CKpSampleEngineScope.h"
#include "ui/CListCLineSel.h"
#include "ui/KpDemoFrame.h"
#include "ui/KpDialogForms.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr long kMaxHorizOffset = 150;
constexpr long kMaxVertOffset = 50;
constexpr long kMinVarWidth = -20, kMaxVarWidth = 254;
constexpr long kMaxTestWidth = 254;
constexpr int kWidthTypeCount = 3;  // 固定, 等差, 等比 = m_nWidthType 0, 1, 2

const char* const kFillNotStored = "线型不保存填充模式，这里的设置不会生效。";
const char* const kLastSubLine = "线型至少要有一条单线：只剩一条单线时不能删除。";

constexpr int kBoxWidth = 64;

}  // namespace

// --- construction ------------------------------------------------------------

CDlgCLineEdit::CDlgCLineEdit(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型对象编辑器"));
  CreateControls();
  ConnectControls();
}

CDlgCLineEdit::~CDlgCLineEdit() { kp::ui::DetachChildren(this); }

void CDlgCLineEdit::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* top = new QHBoxLayout;
  top->addWidget(CreateListFrame(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(CreateParamFrame());
  right->addWidget(CreateFillFrame());
  right->addStretch(1);
  top->addLayout(right);
  layout->addLayout(top);
  layout->addWidget(CreateSampleFrame());

  layout->addLayout(kp::ui::OkCancelRow(this, QStringLiteral("确定"), QStringLiteral("取消"), m_pOk, m_pCancel));
}

QWidget* CDlgCLineEdit::CreateListFrame() {
  auto* frame = new QGroupBox(QStringLiteral("单线列表"), this);
  auto* layout = new QVBoxLayout(frame);
  m_pList = new CListCLineSel(frame);
  m_pList->setMinimumSize(320, 6 * CListCLineSel::kItemHeight + 4);
  layout->addWidget(m_pList);
  auto* row = new QHBoxLayout;
  const auto button = [frame, row](const char* text, const char* tip) {
    auto* b = new QPushButton(QString::fromUtf8(text), frame);
    b->setToolTip(QString::fromUtf8(tip));
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
  };
  m_pNew = button("新建", "新建线型");
  m_pDelete = button("删除", "删除线型");
  m_pEdit = button("编辑", "编辑线型");
  m_pUp = button("上移", "移动到上一个");
  m_pDown = button("下移", "移动到下一个");
  layout->addLayout(row);
  return frame;
}

QWidget* CDlgCLineEdit::CreateParamFrame() {
  auto* frame = new QGroupBox(this);
  auto* grid = new QGridLayout(frame);
  m_pHorizOffset = kp::ui::MakeNumEdit(frame, -kMaxHorizOffset, kMaxHorizOffset, kBoxWidth);
  m_pVertOffset = kp::ui::MakeNumEdit(frame, -kMaxVertOffset, kMaxVertOffset, kBoxWidth);
  m_pVarWidth = kp::ui::MakeNumEdit(frame, kMinVarWidth, kMaxVarWidth, kBoxWidth);
  const int h = m_pHorizOffset->sizeHint().height();
  m_pHorizSpin = kp::ui::MakeSpin(frame, -kMaxHorizOffset, kMaxHorizOffset, h);
  m_pVertSpin = kp::ui::MakeSpin(frame, -kMaxVertOffset, kMaxVertOffset, h);
  m_pVarWidthSpin = kp::ui::MakeSpin(frame, kMinVarWidth, kMaxVarWidth, h);
  m_pWidthType = kp::ui::MakeCombo(frame, {"固定", "等差", "等比"});
  // Any other width type follows the style's width unchanged.
  m_pWidthType->setPlaceholderText(QStringLiteral("随线型宽度"));
  int row = 0;
  const auto add = [&](const char* label, QLayout* inner, QWidget* widget = nullptr) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), frame), row, 0);
    if (inner) grid->addLayout(inner, row, 1);
    if (widget) grid->addWidget(widget, row, 1, Qt::AlignLeft);
    ++row;
  };
  add("起始偏移", kp::ui::EditRow(m_pHorizOffset, m_pHorizSpin));
  add("纵向偏移", kp::ui::EditRow(m_pVertOffset, m_pVertSpin));
  add("单线宽度", kp::ui::EditRow(m_pVarWidth, m_pVarWidthSpin));
  add("变宽类型", nullptr, m_pWidthType);
  return frame;
}

QWidget* CDlgCLineEdit::CreateFillFrame() {
  // Styles keep no fill: the group is shown so that its absence is plain,
  // not offered and then forgotten.
  m_pFillGroup = new QGroupBox(QStringLiteral("填充模式"), this);
  auto* grid = new QGridLayout(m_pFillGroup);
  const auto colour = [this, grid](int row, const char* label) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), m_pFillGroup), row, 0);
    auto* button = new CKpButtonColorPicker(m_pFillGroup);
    button->setFixedWidth(70);
    grid->addWidget(button, row, 1, Qt::AlignLeft);
  };
  colour(0, "前景色");
  colour(1, "背景色");
  grid->addWidget(new QCheckBox(QStringLiteral("复杂边界"), m_pFillGroup), 2, 0, 1, 2);
  auto* note = new QLabel(QStringLiteral("（不保存）"), m_pFillGroup);
  grid->addWidget(note, 3, 0, 1, 2);
  m_pFillGroup->setEnabled(false);
  const QString tip = QString::fromUtf8(kFillNotStored);
  m_pFillGroup->setToolTip(tip);
  for (QWidget* child : m_pFillGroup->findChildren<QWidget*>()) child->setToolTip(tip);
  return m_pFillGroup;
}

QWidget* CDlgCLineEdit::CreateSampleFrame() {
  auto* frame = new QGroupBox(this);
  auto* layout = new QVBoxLayout(frame);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("复合宽度:"), frame));
  m_pTestWidth = kp::ui::MakeNumEdit(frame, 0, kMaxTestWidth, kBoxWidth);
  m_pTestWidthSpin = kp::ui::MakeSpin(frame, 0, kMaxTestWidth, m_pTestWidth->sizeHint().height());
  row->addLayout(kp::ui::EditRow(m_pTestWidth, m_pTestWidthSpin), 1);
  layout->addLayout(row);
  m_pSample = new QWidget(frame);
  m_pSample->setFixedHeight(70);
  m_pSample->installEventFilter(this);
  layout->addWidget(m_pSample);
  return frame;
}

void CDlgCLineEdit::ConnectControls() {
  connect(m_pList, &CListCLineSel::selChange, this, [this] { OnSelchangeList(); });
  connect(m_pList, &CListCLineSel::dblClk, this, [this](int) { OnEdit(); });
  connect(m_pNew, &QPushButton::clicked, this, [this] { OnNew(); });
  connect(m_pDelete, &QPushButton::clicked, this, [this] { OnDelete(); });
  connect(m_pEdit, &QPushButton::clicked, this, [this] { OnEdit(); });
  connect(m_pUp, &QPushButton::clicked, this, [this] { OnUp(); });
  connect(m_pDown, &QPushButton::clicked, this, [this] { OnDown(); });
  kp::ui::ConnectNumberBox(this, m_pHorizOffset, m_pHorizSpin, &CDlgCLineEdit::OnChangeHorizOffset);
  kp::ui::ConnectNumberBox(this, m_pVertOffset, m_pVertSpin, &CDlgCLineEdit::OnChangeVertOffset);
  kp::ui::ConnectNumberBox(this, m_pVarWidth, m_pVarWidthSpin, &CDlgCLineEdit::OnChangeVarWidth);
  kp::ui::ConnectNumberBox(this, m_pTestWidth, m_pTestWidthSpin, &CDlgCLineEdit::OnChangeTestWidth);
  connect(m_pWidthType, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int) { OnSelchangeWidthType(); });
  connect(m_pOk, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
  connect(m_pCancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
}

// --- set-up ------------------------------------------------------------------

bool CDlgCLineEdit::OnInitDialog() {
  if (m_bInitialized) return true;
  m_pList->AttachStyle(&m_LineStyleObj);
  m_pList->SetSymbolLib(m_pSymLib);
  m_pList->InitContent();
  m_nTestWidth = std::clamp(m_nTestWidth, 0L, kMaxTestWidth);
  kp::ui::ShowNumber(m_pTestWidth, m_pTestWidthSpin, m_nTestWidth);
  m_bInitialized = TRUE;
  const long count = m_LineStyleObj.Count();
  SelectSubLine(m_nSelIndex >= 0 && m_nSelIndex < count ? static_cast<int>(m_nSelIndex) : 0);
  return true;
}

void CDlgCLineEdit::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitialized) OnInitDialog();
}

// --- selection ---------------------------------------------------------------

int CDlgCLineEdit::SelectedIndex() const {
  const int sel = m_pList->GetCurSel();
  return sel >= 0 && sel < m_LineStyleObj.Count() ? sel : -1;
}

CKpLineStyleBase* CDlgCLineEdit::SelectedSubLine() {
  const int sel = SelectedIndex();
  return sel < 0 ? nullptr : m_LineStyleObj.GetElementAt(sel);
}

void CDlgCLineEdit::SelectSubLine(int index) {
  m_pList->SetCurSel(index);
  LoadSelected();
}

void CDlgCLineEdit::LoadSelected() {
  const int sel = SelectedIndex();
  m_nSelIndex = sel;
  const CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  kp::ui::ShowNumber(m_pHorizOffset, m_pHorizSpin, sub->m_nHorizOffset);
  kp::ui::ShowNumber(m_pVertOffset, m_pVertSpin, sub->m_nVertOffset);
  kp::ui::ShowNumber(m_pVarWidth, m_pVarWidthSpin, sub->m_nVarWidth);
  kp::ui::SelectQuietly(m_pWidthType, sub->m_nWidthType);
}

void CDlgCLineEdit::OnSelchangeList() {
  if (!m_bInitialized) return;
  LoadSelected();
}

// --- the selected sub-line ---------------------------------------------------

void CDlgCLineEdit::OnChangeHorizOffset() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pHorizOffset->text(), m_pHorizSpin, -kMaxHorizOffset, kMaxHorizOffset, value)) return;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->m_nHorizOffset = static_cast<short>(value);
  RepaintAll();
}

void CDlgCLineEdit::OnChangeVertOffset() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pVertOffset->text(), m_pVertSpin, -kMaxVertOffset, kMaxVertOffset, value)) return;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->m_nVertOffset = static_cast<short>(value);
  RepaintAll();
}

void CDlgCLineEdit::OnChangeVarWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pVarWidth->text(), m_pVarWidthSpin, kMinVarWidth, kMaxVarWidth, value)) return;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->m_nVarWidth = static_cast<short>(value);
  RepaintAll();
}

void CDlgCLineEdit::OnSelchangeWidthType() {
  CKpLineStyleBase* sub = SelectedSubLine();
  const int type = m_pWidthType->currentIndex();
  if (!m_bInitialized || !sub || type < 0 || type >= kWidthTypeCount) return;
  sub->SetWidthType(static_cast<short>(type));
  RepaintAll();
}

void CDlgCLineEdit::OnChangeTestWidth() {
  long value = 0;
  if (!m_bInitialized || !kp::ui::ReadBox(m_pTestWidth->text(), m_pTestWidthSpin, 0, kMaxTestWidth, value)) return;
  m_nTestWidth = value;
  m_pSample->update();
}

// --- list commands -----------------------------------------------------------

bool CDlgCLineEdit::RunPatternEditor(CKpLineStyleBase& sub) {
  CDlgGLineEdit dlg(this);
  dlg.m_LineStyleBase = sub;
  dlg.SetSymbolLib(m_pSymLib);
  if (dlg.DoModal() != IDOK) return false;
  sub = dlg.m_LineStyleBase;
  return true;
}

void CDlgCLineEdit::OnNew() {
  if (!m_bInitialized) return;
  const int sel = SelectedIndex();
  CKpLineStyleBase sub = sel >= 0 ? m_LineStyleObj.GetBaseAt(sel) : CKpLineStyleBase();
  if (!RunPatternEditor(sub)) return;
  m_LineStyleObj.AddStyleBase(sub);
  m_pList->InitContent();
  SelectSubLine(static_cast<int>(m_LineStyleObj.Count()) - 1);
  RepaintAll();
}

void CDlgCLineEdit::OnEdit() {
  if (!m_bInitialized) return;
  const int sel = SelectedIndex();
  if (sel < 0) return;
  CKpLineStyleBase sub = m_LineStyleObj.GetBaseAt(sel);
  if (!RunPatternEditor(sub)) return;
  m_LineStyleObj.SetElementAt(sel, sub);
  LoadSelected();
  RepaintAll();
}

void CDlgCLineEdit::OnDelete() {
  if (!m_bInitialized) return;
  if (m_LineStyleObj.Count() < 2) {
    kp::ui::MessageBox(this, kLastSubLine);
    return;
  }
  const int sel = SelectedIndex();
  if (sel < 0) return;
  m_LineStyleObj.RemoveLineStyleBase(sel);
  m_pList->InitContent();
  SelectSubLine(0);
  RepaintAll();
}

void CDlgCLineEdit::SwapSelectedWith(int other) {
  const int sel = SelectedIndex();
  const CKpLineStyleBase moving = m_LineStyleObj.GetBaseAt(sel);
  const CKpLineStyleBase neighbour = m_LineStyleObj.GetBaseAt(other);
  m_LineStyleObj.SetElementAt(sel, neighbour);
  m_LineStyleObj.SetElementAt(other, moving);
  SelectSubLine(other);
  RepaintAll();
}

void CDlgCLineEdit::OnUp() {
  const int sel = SelectedIndex();
  if (m_bInitialized && sel >= 1) SwapSelectedWith(sel - 1);
}

void CDlgCLineEdit::OnDown() {
  const int sel = SelectedIndex();
  if (m_bInitialized && sel >= 0 && sel + 1 < m_LineStyleObj.Count()) SwapSelectedWith(sel + 1);
}

void CDlgCLineEdit::RepaintAll() {
  m_pList->viewport()->update();
  m_pSample->update();
}

// --- painting ----------------------------------------------------------------

bool CDlgCLineEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == m_pSample) {
    kp::ui::PaintFramedArea(*m_pSample, palette(), [this](CDC* dc, const CRect& client) { OnDrawSample(dc, client); });
    return true;
  }
  return CKpDialog::eventFilter(watched, event);
}

void CDlgCLineEdit::OnDrawSample(CDC* dc, const CRect& client) {
  if (dc == nullptr) return;
  RECT rect{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
  // The test width is a way of looking at the style, not an edit: it goes on
  // a copy, over the sub-lines' own colours.
  CKpLineStyleObj sample(m_LineStyleObj);
  sample.SetColor();
  sample.SetWidth(m_nTestWidth);
  // Every sub-line draws with its own pen at the test width; the widget's
  // pen is no host's choice.
  const CKpSampleEngineScope engine(m_pSymLib, CKpSampleEngineScope::StylePen);
  sample.DrawTestSample(dc, rect);
}
