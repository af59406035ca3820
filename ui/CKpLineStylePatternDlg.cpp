#include "ui/CKpLineStylePatternDlg.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "companions/CKpSymbol.h"
#include "companions/CKpSymbolParameter.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleLib.h"
#include "model/KpSubLineKinds.h"
#include "module/KpStringTable.h"
#include "platform/CBrush.h"
#include "platform/CRect.h"
#include "ui/CKpCharSelectDlg.h"
#include "ui/KpDemoFrame.h"
#include "ui/KpDialogForms.h"
#include "ui/CKpLslExtSymPickerDlg.h"
#include "ui/KpPatternToolbarIcons.h"
#include "ui/KpSymbolCells.h"
#include "ui/KpUiConstants.h"
#include "ui/KpUiResources.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr int kCmdPatternNew = 24520;
constexpr int kCmdPatternDelete = 24521;
constexpr int kCmdPatternLockColor = 24522;

constexpr long kMaxAngle = 3600;
constexpr long kMaxLength = 400;  // vertical length and entry length
constexpr long kMaxDemoWidth = 100;
constexpr int kBoxWidth = 94;

constexpr int kPenStyleCount = 5;
constexpr int kJoinCount = 3;
constexpr int kStartModeCount = 2;
constexpr int kCapCount = 3;

// The sample keeps this far from the demo's left and right sides (logical units).
constexpr LONG kSampleInset = 30;

bool IsGlyphKind(long k) { return k >= 28 && k <= 33; }
bool IsCustomSymbolKind(long k) { return k == 47 || k == 48; }
bool IsSymbolKind(long k) { return IsGlyphKind(k) || IsCustomSymbolKind(k); }
// The angle of the glyph kinds 28..31 follows the segment; only these turn freely.
bool IsAngleKind(long k) { return k == 32 || k == 33 || IsCustomSymbolKind(k); }
bool IsSpecialKind(long k) { return k >= 39 && k <= 46; }

}  // namespace

// --- construction ------------------------------------------------------------

CKpLineStylePatternDlg::CKpLineStylePatternDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型模式编辑器"));
  CreateControls();
  ConnectControls();
}

CKpLineStylePatternDlg::~CKpLineStylePatternDlg() { kp::ui::DetachChildren(this); }

void CKpLineStylePatternDlg::AttachLineStyleLib(CKpLineStyleLib* lib, long symCount) {
  m_pLineStyleLib = lib;
  m_nLineSymCount = std::max(0L, symCount);
}

void CKpLineStylePatternDlg::CreateControls() {
  CreateToolBar();
  QVBoxLayout* outer = kp::ui::ToolBarDialogLayout(this, m_pToolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(10, 4, 10, 0);
  auto* frames = new QHBoxLayout;
  frames->addWidget(CreateLeftFrame());
  frames->addWidget(CreateRightFrame());
  body->addLayout(frames);
  body->addWidget(CreateDemoFrame());

  body->addLayout(kp::ui::OkCancelRow(this, QStringLiteral("确定(&O)"), QStringLiteral("取消(&C)"), m_pOk, m_pCancel));
  outer->addLayout(body);
}

void CKpLineStylePatternDlg::CreateToolBar() {
  m_pToolBar = kp::ui::MakeToolBar(this);
  m_pNewAction = kp::ui::AddToolCommand(m_pToolBar, kCmdPatternNew, kp::ui::PatternNewIcon());
  m_pDeleteAction = kp::ui::AddToolCommand(m_pToolBar, kCmdPatternDelete, kp::ui::PatternDeleteIcon());
  m_pToolBar->addSeparator();
  m_pLockAction = kp::ui::AddToolCommand(m_pToolBar, kCmdPatternLockColor, kp::ui::PatternLockColorIcon());
  m_pLockAction->setCheckable(true);
}

QWidget* CKpLineStylePatternDlg::CreateLeftFrame() {
  auto* frame = new QGroupBox(this);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(new QLabel(QStringLiteral("子线虚实模式："), frame));
  m_pList = new QListWidget(frame);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pList->setFixedSize(190, 190);
  layout->addWidget(m_pList);
  layout->addWidget(new QLabel(QStringLiteral("子线风格类型："), frame));
  m_pStyleCombo = new QComboBox(frame);
  m_pStyleCombo->setFixedWidth(190);
  m_pStyleCombo->setMaxVisibleItems(20);
  layout->addWidget(m_pStyleCombo);
  m_pUserStyle = new QCheckBox(QStringLiteral("用户定义线型"), frame);
  m_pUserStyle->setEnabled(false);
  layout->addWidget(m_pUserStyle);
  layout->addStretch(1);
  return frame;
}

QWidget* CKpLineStylePatternDlg::CreateRightFrame() {
  auto* frame = new QGroupBox(this);
  auto* grid = new QGridLayout(frame);
  int row = 0;
  const auto addRow = [&](const char* label, QWidget* widget, QLayout* layout) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), frame), row, 0);
    if (widget) grid->addWidget(widget, row, 1, Qt::AlignLeft);
    if (layout) grid->addLayout(layout, row, 1);
    ++row;
  };
  const auto combo = [frame] {
    auto* box = new QComboBox(frame);
    box->setMinimumWidth(110);
    return box;
  };
  m_pStartMode = combo();
  m_pPenStyle = combo();
  m_pPenStyle->setEnabled(false);
  m_pJoin = combo();
  m_pCap = combo();
  m_pColor = new CKpButtonColorPicker(frame);
  m_pColor->setFixedWidth(110);

  m_pAngleEdit = new QLineEdit(frame);
  // Digits with thousands separators, as the angle may be typed ("1,800").
  m_pAngleEdit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]{0,9}")), m_pAngleEdit));
  m_pAngleEdit->setFixedWidth(kBoxWidth);
  m_pHeightEdit = kp::ui::MakeNumEdit(frame, 0, kMaxLength, kBoxWidth);
  m_pEntryEdit = kp::ui::MakeNumEdit(frame, 0, kMaxLength, kBoxWidth);
  const int h = m_pAngleEdit->sizeHint().height();
  m_pAngleSpin = kp::ui::MakeSpin(frame, 0, kMaxAngle, h);
  m_pHeightSpin = kp::ui::MakeSpin(frame, 0, kMaxLength, h);
  m_pEntrySpin = kp::ui::MakeSpin(frame, 0, kMaxLength, h);

  m_pSymbol = new QPushButton(frame);
  m_pSymbol->setFixedSize(110, 36);
  m_pSymbol->installEventFilter(this);

  addRow("开始类型：", m_pStartMode, nullptr);
  addRow("子线模式：", m_pPenStyle, nullptr);
  addRow("转角类型：", m_pJoin, nullptr);
  addRow("端头类型：", m_pCap, nullptr);
  addRow("子线颜色：", m_pColor, nullptr);
  addRow("旋转角度：", nullptr, kp::ui::EditRow(m_pAngleEdit, m_pAngleSpin));
  addRow("纵向长度：", nullptr, kp::ui::EditRow(m_pHeightEdit, m_pHeightSpin));
  addRow("符号：", m_pSymbol, nullptr);
  addRow("模式长度：", nullptr, kp::ui::EditRow(m_pEntryEdit, m_pEntrySpin));
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row, 1);
  return frame;
}

QWidget* CKpLineStylePatternDlg::CreateDemoFrame() {
  auto* frame = new QGroupBox(QStringLiteral("子线演示"), this);
  auto* layout = new QVBoxLayout(frame);
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(new QLabel(QStringLiteral("子线宽度："), frame));
  m_pDemoWidthEdit = kp::ui::MakeNumEdit(frame, 0, kMaxDemoWidth, 60);
  m_pDemoWidthSpin = kp::ui::MakeSpin(frame, 0, kMaxDemoWidth, m_pDemoWidthEdit->sizeHint().height());
  widthRow->addLayout(kp::ui::EditRow(m_pDemoWidthEdit, m_pDemoWidthSpin), 1);
  layout->addLayout(widthRow);
  m_pDemo = new QWidget(frame);
  m_pDemo->setFixedHeight(80);
  m_pDemo->setMinimumWidth(400);
  m_pDemo->installEventFilter(this);
  layout->addWidget(m_pDemo);
  return frame;
}

void CKpLineStylePatternDlg::ConnectControls() {
  connect(m_pNewAction, &QAction::triggered, this, [this] { OnLslPatternNew(); });
  connect(m_pDeleteAction, &QAction::triggered, this, [this] { OnLslPatternDelete(); });
  connect(m_pLockAction, &QAction::triggered, this, [this] { OnLslPatternLockColor(); });
  connect(m_pList, &QListWidget::currentRowChanged, this, [this](int) { OnSelchangeLslPatternList(); });

  const auto onIndex = [this](QComboBox* box, void (CKpLineStylePatternDlg::*handler)()) {
    connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, handler](int) { (this->*handler)(); });
  };
  onIndex(m_pStyleCombo, &CKpLineStylePatternDlg::OnSelchangeLslPatternStyle);
  onIndex(m_pStartMode, &CKpLineStylePatternDlg::OnSelchangeLslStartMode);
  onIndex(m_pPenStyle, &CKpLineStylePatternDlg::OnSelchangeLslPenStyle);
  onIndex(m_pJoin, &CKpLineStylePatternDlg::OnSelchangeLslJoin);
  onIndex(m_pCap, &CKpLineStylePatternDlg::OnSelchangeLslCap);

  using Dlg = CKpLineStylePatternDlg;
  kp::ui::ConnectNumberBox(this, m_pEntryEdit, m_pEntrySpin, &Dlg::OnChangeLslPatternWidth);
  kp::ui::ConnectNumberBox(this, m_pHeightEdit, m_pHeightSpin, &Dlg::OnChangeLslPatternHeight);
  kp::ui::ConnectNumberBox(this, m_pAngleEdit, m_pAngleSpin, &Dlg::OnChangeLslAngle);
  kp::ui::ConnectNumberBox(this, m_pDemoWidthEdit, m_pDemoWidthSpin, &Dlg::OnChangeLslPatternDemoWidth);

  connect(m_pColor, &CKpButtonColorPicker::selEndOk, this, [this](long w, long l) { OnSelEndOkColor(w, l); });
  connect(m_pSymbol, &QPushButton::clicked, this, [this] { OnLslSymbol(); });
  connect(m_pOk, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
  connect(m_pCancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
}

void CKpLineStylePatternDlg::FillCombos() {
  const auto fill = [](QComboBox* box, int first, int count) {
    const QSignalBlocker block(box);
    box->clear();
    for (int i = 0; i < count; ++i) box->addItem(kp::ui::Text(first + i));
  };
  fill(m_pStyleCombo, kp::KP_IDS_KIND_FIRST, kp::KP_SUBLINE_KIND_COUNT);
  fill(m_pPenStyle, kp::KP_IDS_PEN_STYLE_FIRST, kPenStyleCount);
  fill(m_pJoin, kp::KP_IDS_JOIN_FIRST, kJoinCount);
  fill(m_pStartMode, kp::KP_IDS_START_MODE_FIRST, kStartModeCount);
  fill(m_pCap, kp::KP_IDS_CAP_FIRST, kCapCount);

  // The dropped list shows the longest label whole, scroll bar included.
  const QFontMetrics metrics = m_pStyleCombo->view()->fontMetrics();
  int widest = 0;
  for (int i = 0; i < m_pStyleCombo->count(); ++i)
    widest = std::max(widest, metrics.horizontalAdvance(m_pStyleCombo->itemText(i)));
  const int scrollBar = m_pStyleCombo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  m_pStyleCombo->view()->setMinimumWidth(widest + scrollBar + 7);
}

// --- set-up ------------------------------------------------------------------

bool CKpLineStylePatternDlg::OnInitDialog() {
  if (m_bInitialized) return true;
  FillCombos();
  m_bInitialized = TRUE;
  InitContent();
  return true;
}

void CKpLineStylePatternDlg::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitialized) OnInitDialog();
}

void CKpLineStylePatternDlg::InitContent() {
  if (!m_bInitialized) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  kp::ui::SelectQuietly(m_pStyleCombo, sub.m_nHVMode);
  kp::ui::SelectQuietly(m_pStartMode, 1 - sub.GetStartMode());
  kp::ui::SelectQuietly(m_pJoin, sub.GetJoin());
  kp::ui::SelectQuietly(m_pPenStyle, sub.GetBase());
  kp::ui::SelectQuietly(m_pCap, sub.GetCap());
  m_pUserStyle->setChecked(sub.GetUserStyle() != 0);
  m_pColor->SetColor(sub.m_clrColor);

  RebuildList(0);
  if (sub.Count() > 0) m_nEntryLength = sub.GetAt(0);
  ShowEntryLength(m_nEntryLength);

  m_nPatternHeight = sub.m_nHVLength;
  kp::ui::ShowNumber(m_pHeightEdit, m_pHeightSpin, m_nPatternHeight);

  // Unlike a change of kind, loading opens the angle to every glyph kind.
  const bool symbol = IsSymbolKind(sub.m_nHVMode);
  EnableSymbolControls(symbol, symbol);
  ShowAngle(symbol ? sub.m_nAngle : 0);

  m_bColorLock = sub.GetColorLock();
  {
    const QSignalBlocker block(m_pLockAction);
    m_pLockAction->setChecked(m_bColorLock != FALSE);
  }
  kp::ui::ShowNumber(m_pDemoWidthEdit, m_pDemoWidthSpin, m_nDemoWidth);
  RedrawDemo();
}

// --- helpers -----------------------------------------------------------------

void CKpLineStylePatternDlg::RebuildList(int row) {
  const QSignalBlocker block(m_pList);
  m_pList->setUpdatesEnabled(false);
  m_pList->clear();
  for (long i = 0; i < m_LineStyleBase.Count(); ++i) m_pList->addItem(QString::number(m_LineStyleBase.GetAt(i)));
  m_pList->setCurrentRow(row >= 0 && row < m_pList->count() ? row : -1);
  m_pList->setUpdatesEnabled(true);
}

void CKpLineStylePatternDlg::SelectEntry(int row) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->setCurrentRow(row >= 0 && row < m_pList->count() ? row : -1);
  }
  if (row < 0 || row >= m_LineStyleBase.Count()) return;
  m_nEntryLength = m_LineStyleBase.GetAt(row);
  ShowEntryLength(m_nEntryLength);
}

void CKpLineStylePatternDlg::ShowEntryLength(long value) { kp::ui::ShowNumber(m_pEntryEdit, m_pEntrySpin, value); }

void CKpLineStylePatternDlg::ShowAngle(long value) {
  {
    const QSignalBlocker block(m_pAngleEdit);
    m_pAngleEdit->setText(QString::number(value));
  }
  kp::ui::SetSpinQuietly(m_pAngleSpin, value);
}

void CKpLineStylePatternDlg::EnableSymbolControls(bool symbol, bool angle) {
  m_pSymbol->setEnabled(symbol);
  m_pAngleEdit->setEnabled(angle);
  m_pAngleSpin->setEnabled(angle);
  m_pSymbol->update();
}

void CKpLineStylePatternDlg::UpdateUserStyleBox() { m_pUserStyle->setChecked(m_LineStyleBase.Count() > 0); }

CKpSymbol* CKpLineStylePatternDlg::ChosenSymbol() const {
  CKpSymLib* lineLib = m_pLineStyleLib ? &m_pLineStyleLib->GetSymLib() : nullptr;
  return kp::ui::SymbolOfCell(lineLib, lineLib ? m_nLineSymCount : 0, kp::ui::ResourceSymLib(), m_nSymbolIndex);
}

void CKpLineStylePatternDlg::RedrawDemo() {
  m_LineStyleBase.m_nCurWidth = static_cast<short>(m_nDemoWidth);
  m_LineStyleBase.m_clrCurrent = m_pColor->GetColor();
  m_pDemo->update();
  m_pSymbol->update();
}

// --- handlers ----------------------------------------------------------------

void CKpLineStylePatternDlg::OnSelchangeLslPatternStyle() {
  if (!m_bInitialized) return;
  const int kind = m_pStyleCombo->currentIndex();
  if (kind < 0 || kind >= kp::KP_SUBLINE_KIND_COUNT) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  sub.m_nHVMode = static_cast<short>(kind);
  if (IsSpecialKind(kind)) {
    sub.m_nRepeatMode = 1;
    // The electric kinds step by the first entry: give them one to step by.
    if (sub.Count() == 0 && kind <= 42) {
      sub.Add(50, 1);
      RebuildList(0);
      SelectEntry(0);
      UpdateUserStyleBox();
    }
  } else {
    sub.m_nRepeatMode = 0;
  }
  const bool angle = IsAngleKind(kind);
  EnableSymbolControls(IsSymbolKind(kind), angle);
  ShowAngle(angle ? sub.m_nAngle : 0);
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnSelchangeLslPatternList() {
  if (!m_bInitialized) return;
  const int row = m_pList->currentRow();
  if (row < 0 || row >= m_LineStyleBase.Count()) return;
  m_nEntryLength = m_LineStyleBase.GetAt(row);
  ShowEntryLength(m_nEntryLength);
  m_pEntryEdit->setFocus();
}

void CKpLineStylePatternDlg::OnSelchangeLslStartMode() {
  if (!m_bInitialized || m_pStartMode->currentIndex() < 0) return;
  m_LineStyleBase.SetStartMode(1 - m_pStartMode->currentIndex());
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnSelchangeLslPenStyle() {
  if (!m_bInitialized || m_pPenStyle->currentIndex() < 0) return;
  m_LineStyleBase.SetBase(m_pPenStyle->currentIndex());
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnSelchangeLslJoin() {
  if (!m_bInitialized || m_pJoin->currentIndex() < 0) return;
  m_LineStyleBase.SetJoin(m_pJoin->currentIndex());
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnSelchangeLslCap() {
  if (!m_bInitialized || m_pCap->currentIndex() < 0) return;
  m_LineStyleBase.SetCap(m_pCap->currentIndex());
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnChangeLslPatternWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pEntryEdit->text(), m_pEntrySpin, 0, kMaxLength, value)) return;
  m_nEntryLength = value;
  const int row = m_pList->currentRow();
  if (row < 0 || m_LineStyleBase.SetAt(row, value) == 0) return;
  RebuildList(row);
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnChangeLslPatternHeight() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pHeightEdit->text(), m_pHeightSpin, 0, kMaxLength, value)) return;
  m_nPatternHeight = value;
  m_LineStyleBase.m_nHVLength = static_cast<short>(value);
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnChangeLslAngle() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pAngleEdit->text().remove(QLatin1Char(',')), m_pAngleSpin, 0, kMaxAngle, value)) return;
  m_LineStyleBase.m_nAngle = static_cast<LONG>(value);
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnChangeLslPatternDemoWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pDemoWidthEdit->text(), m_pDemoWidthSpin, 0, kMaxDemoWidth, value)) return;
  m_nDemoWidth = value;
  RedrawDemo();
}

long CKpLineStylePatternDlg::OnSelEndOkColor(long wparam, long lparam) {
  (void)lparam;
  if (!m_bInitialized) return 1;
  const COLORREF colour = static_cast<COLORREF>(wparam) & 0x00FFFFFFu;
  m_LineStyleBase.m_clrCurrent = colour;
  m_LineStyleBase.m_clrColor = colour;
  RedrawDemo();
  return 1;
}

void CKpLineStylePatternDlg::OnLslPatternNew() {
  if (!m_bInitialized) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  if (sub.Count() == 0) sub.SetUserStyle();
  const int first = static_cast<int>(sub.Count());
  sub.Add(40, 40);
  RebuildList(first);
  SelectEntry(first);

  // A pattern of ticks or glyphs without height would show nothing.
  long height = 0;
  if (!kp::ui::ReadNumber(m_pHeightEdit->text(), height) || height <= 0) {
    m_nPatternHeight = 1;
    sub.m_nHVLength = 1;
    kp::ui::ShowNumber(m_pHeightEdit, m_pHeightSpin, 1);
  }
  m_pUserStyle->setChecked(true);
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnLslPatternDelete() {
  if (!m_bInitialized) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  int row = m_pList->currentRow();
  if (row < 0 || row >= sub.Count()) return;
  row -= row % 2;  // the pair's dash
  sub.RemoveAt(row);
  // The list follows the pattern itself (a stored odd entry may stay behind).
  const int count = static_cast<int>(sub.Count());
  const int next = row < count ? row : std::max(count - 2, count > 0 ? 0 : -1);
  RebuildList(next);
  SelectEntry(next);
  UpdateUserStyleBox();
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnLslPatternLockColor() {
  if (!m_bInitialized) return;
  m_bColorLock = m_bColorLock ? FALSE : TRUE;
  m_LineStyleBase.SetColorLock(m_bColorLock);
  {
    const QSignalBlocker block(m_pLockAction);
    m_pLockAction->setChecked(m_bColorLock != FALSE);
  }
  if (!m_bColorLock) {
    m_LineStyleBase.m_clrColor = RGB(0, 0, 0);
    // The button shows the sub-line's own colour, and the demo draws with it.
    m_pColor->SetColor(m_LineStyleBase.m_clrColor);
  }
  RedrawDemo();
}

void CKpLineStylePatternDlg::OnLslSymbol() {
  if (!m_bInitialized) return;
  if (IsCustomSymbolKind(m_LineStyleBase.m_nHVMode))
    RunSymbolPicker();
  else
    RunCharSelect();
}

void CKpLineStylePatternDlg::RunSymbolPicker() {
  CKpLslExtSymPickerDlg dlg(this);
  // The picker lists nothing without a line library; an empty one still
  // offers the resource symbols, which follow the library's (none) in the cells.
  CKpSymLib noSymbols;
  if (m_pLineStyleLib)
    dlg.AttachLineSymLib(&m_pLineStyleLib->GetSymLib(), m_nLineSymCount);
  else
    dlg.AttachLineSymLib(&noSymbols, 0);
  dlg.AttachResSymLib(kp::ui::ResourceSymLib());
  dlg.SetIndex(m_nSymbolIndex);
  if (dlg.DoModal() != IDOK) return;
  m_nSymbolIndex = dlg.GetIndex();
  RedrawDemo();
}

void CKpLineStylePatternDlg::RunCharSelect() {
  CKpCharSelectDlg dlg(this);
  dlg.SetSymbolID(m_LineStyleBase.m_nSymbol);
  dlg.SetFaceName(m_LineStyleBase.GetFont());
  if (dlg.DoModal() != IDOK) return;
  const long code = dlg.GetSymbolID();
  if (code >= SHRT_MIN && code <= SHRT_MAX) m_LineStyleBase.SetSymbol(static_cast<short>(code));
  m_LineStyleBase.SetFont(dlg.GetFaceName());
  RedrawDemo();
}

// --- painting ----------------------------------------------------------------

void CKpLineStylePatternDlg::paintEvent(QPaintEvent* event) {
  CKpDialog::paintEvent(event);
  kp::ui::PaintToolBarGripper(*this, m_pToolBar->geometry());
}

bool CKpLineStylePatternDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == m_pDemo) {
    kp::ui::PaintFramedArea(*m_pDemo, palette(), [this](CDC* dc, const CRect& client) { OnDrawDemo(dc, client); });
    return true;
  }
  if (event->type() == QEvent::Paint && watched == m_pSymbol) {
    kp::ui::PaintFramedArea(*m_pSymbol, palette(), [this](CDC* dc, const CRect& client) { OnDrawSymbol(dc, client); });
    return true;
  }
  return CKpDialog::eventFilter(watched, event);
}

void CKpLineStylePatternDlg::OnDrawSymbol(CDC* dc, const CRect& client) {
  if (dc == nullptr) return;
  {
    CBrush face(kp::ui::ToColorRef(palette().color(QPalette::Button)));
    dc->FillRect(&client, &face);
  }
  if (!m_pSymbol->isEnabled()) return;
  const CKpLineStyleBase& sub = m_LineStyleBase;
  if (IsCustomSymbolKind(sub.m_nHVMode)) {
    CKpSymbol* symbol = ChosenSymbol();
    if (symbol == nullptr) return;
    const LONG side = std::min(client.Width(), client.Height());
    const LONG left = client.left + (client.Width() - side) / 2;
    const LONG top = client.top + (client.Height() - side) / 2;
    RECT square{left, top, left + side, top + side};
    symbol->Draw(dc, square, sub.m_clrCurrent);
    return;
  }
  kp::ui::DrawGlyph(*dc, sub, sub.m_clrCurrent, client.left + 12, client.top + 8);
}

void CKpLineStylePatternDlg::OnDrawDemo(CDC* dc, const CRect& client) {
  if (dc == nullptr) return;
  CRect rect;
  const int oldMode =
      kp::ui::BeginDemoFrame(*dc, client, kp::ui::ToColorRef(palette().color(QPalette::Button)), rect);
  POINT pts[2] = {{rect.left + kSampleInset, rect.bottom / 2}, {rect.right - kSampleInset, rect.bottom / 2}};

  // Drawn from a copy: the demo's width and colour are for looking only and
  // must not come back to the caller in the edited sub-line.
  CKpLineStyleBase sub = m_LineStyleBase;
  sub.m_nCurWidth = static_cast<short>(m_nDemoWidth);
  sub.m_clrCurrent = m_pColor->GetColor();

  CKpLineStyleEngine& engine = gLineStyleEngine;
  const BOOL oldStylePen = engine.m_bStylePen;
  const double oldRatio = engine.GetRatio();
  engine.KeepDC(dc);
  // The demo shows the sub-line's own pen, never the host's: a plain
  // sub-line would otherwise draw in whatever pen the widget's DC holds.
  engine.m_bStylePen = TRUE;
  engine.SetRatio(1.0);
  engine.SetClearSawtooth(1);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  if (IsCustomSymbolKind(sub.m_nHVMode))
    DrawSymbolDemo(dc, pts[0], pts[1], sub);
  else
    engine.ActPolyLine(&sub, pts, 2);
  engine.SetClearSawtooth(0);
  engine.RestoreDC();
  engine.m_bStylePen = oldStylePen;
  engine.SetRatio(oldRatio);
  dc->SetMapMode(oldMode);
}

void CKpLineStylePatternDlg::DrawSymbolDemo(CDC* dc, POINT from, POINT to, const CKpLineStyleBase& sub) {
  const long count = sub.Count();
  if (dc == nullptr || !IsCustomSymbolKind(sub.m_nHVMode) || count == 0) return;
  CKpSymbol* symbol = ChosenSymbol();
  if (symbol == nullptr) return;
  // A pattern without length would never reach the end.
  long long cycle = 0;
  for (long i = 0; i < count; ++i) cycle += sub.GetAt(i);
  if (cycle <= 0) return;

  CKpSymbolParameter param(CPoint(10, 10), 128, 0, 0, 0, nullptr, 1.0, 0);
  param.m_nSize = sub.m_nHVLength;
  param.m_nAngle = static_cast<int>(sub.m_nAngle);
  param.m_clrColor = sub.m_clrCurrent;
  param.m_dwSymbolID = static_cast<unsigned long>(symbol->m_nID);
  param.m_nFlag = gLineStyleEngine.GetClearSawtooth();

  long long x = from.x;
  for (long i = 0;; i = (i + 1) % count) {
    x += sub.GetAt(i);
    if (x >= to.x) break;
    // A dash followed by a gap: the symbol sits where the dash ends.
    if (sub.GetFlagAt(i) == 1 && sub.GetFlagAt((i + 1) % count) == 0) {
      param.m_ptPosition = CPoint(static_cast<LONG>(x), from.y);
      symbol->Draw(dc, param, dc->IsPrinting(), 0, 0);
    }
  }
}
