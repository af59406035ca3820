#include "ui/CDlgGLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <climits>

#include "model/KpSubLineKinds.h"
#include "module/KpStringTable.h"
#include "platform/CBrush.h"
#include "platform/CRect.h"
#include "ui/CKpCharSelectDlg.h"
#include "ui/CKpSampleEngineScope.h"
#include "ui/KpDemoFrame.h"
#include "ui/KpDialogForms.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr long kMinEntry = 1, kMaxEntry = 400;
constexpr long kMinHVLength = 1, kMaxHVLength = 200;
constexpr long kMaxPenWidth = 100;
constexpr long kMaxAngle = 1800;
constexpr int kBoxWidth = 64;

// The repeat modes the engine draws: 0 along the pattern, 1 by the special
// kinds' step. The others of the list are not drawn by anything.
constexpr int kRepeatNormal = 0;
constexpr int kRepeatStep = 1;

bool IsGlyphKind(long k) { return k >= 28 && k <= 33; }

// A pattern entry as the list shows it: drawn (实) or gap (虚), and its length.
QString EntryText(const CKpLineStyleBase& sub, long i) {
  return QStringLiteral("%1  %2").arg(sub.GetFlagAt(i) ? QStringLiteral("实") : QStringLiteral("虚")).arg(sub.GetAt(i));
}

}  // namespace

// --- construction ------------------------------------------------------------

CDlgGLineEdit::CDlgGLineEdit(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型模式编辑器"));
  CreateControls();
  FillCombos();
  ConnectControls();
}

CDlgGLineEdit::~CDlgGLineEdit() { kp::ui::DetachChildren(this); }

void CDlgGLineEdit::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* frames = new QHBoxLayout;
  frames->addWidget(CreatePatternFrame());
  frames->addWidget(CreatePenFrame());
  frames->addWidget(CreateDecorationFrame());
  layout->addLayout(frames);

  m_pSample = new QWidget(this);
  m_pSample->setFixedHeight(60);
  m_pSample->installEventFilter(this);
  layout->addWidget(m_pSample);

  layout->addLayout(kp::ui::OkCancelRow(this, QStringLiteral("确定"), QStringLiteral("取消"), m_pOk, m_pCancel));
}

QWidget* CDlgGLineEdit::CreatePatternFrame() {
  auto* frame = new QGroupBox(this);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(new QLabel(QStringLiteral("虚实模式:"), frame));
  auto* listRow = new QHBoxLayout;
  m_pList = new QListWidget(frame);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pList->setFixedSize(110, 150);
  listRow->addWidget(m_pList);
  auto* listButtons = new QVBoxLayout;
  m_pAdd = new QPushButton(QStringLiteral("增加"), frame);
  m_pDelete = new QPushButton(QStringLiteral("删除"), frame);
  m_pAdd->setToolTip(QStringLiteral("新建线型"));
  m_pDelete->setToolTip(QStringLiteral("删除线型"));
  for (QPushButton* b : {m_pAdd, m_pDelete}) {
    b->setAutoDefault(false);
    b->setFixedWidth(56);
    listButtons->addWidget(b);
  }
  listButtons->addStretch(1);
  listRow->addLayout(listButtons);
  layout->addLayout(listRow);

  auto* entryRow = new QHBoxLayout;
  entryRow->addWidget(new QLabel(QStringLiteral("线段长度："), frame));
  m_pEntryLength = kp::ui::MakeNumEdit(frame, kMinEntry, kMaxEntry, kBoxWidth);
  m_pEntryLengthSpin = kp::ui::MakeSpin(frame, kMinEntry, kMaxEntry, m_pEntryLength->sizeHint().height());
  entryRow->addLayout(kp::ui::EditRow(m_pEntryLength, m_pEntryLengthSpin));
  layout->addLayout(entryRow);
  m_pUserStyle = new QCheckBox(QStringLiteral("用户线型"), frame);
  // It reports whether the sub-line has a pattern; the pattern decides that.
  m_pUserStyle->setEnabled(false);
  layout->addWidget(m_pUserStyle);
  layout->addStretch(1);
  return frame;
}

QWidget* CDlgGLineEdit::CreatePenFrame() {
  auto* frame = new QGroupBox(this);
  auto* grid = new QGridLayout(frame);
  m_pStartMode = kp::ui::MakeCombo(frame, {"实线开始", "虚线开始"});
  m_pJoin = kp::ui::MakeCombo(frame, {"斜接头", "圆接头", "方接头"});
  m_pCap = kp::ui::MakeCombo(frame, {"圆头", "方头", "无端头"});
  m_pPenStyle = kp::ui::MakeCombo(frame, {"实线", "短横线", "点线", "点横线", "多点横线"});
  m_pPenWidth = kp::ui::MakeNumEdit(frame, 0, kMaxPenWidth, kBoxWidth);
  m_pPenWidthSpin = kp::ui::MakeSpin(frame, 0, kMaxPenWidth, m_pPenWidth->sizeHint().height());
  m_pColor = new CKpButtonColorPicker(frame);
  m_pColor->setFixedWidth(100);
  int row = 0;
  const auto add = [&](const char* label, QWidget* widget, QLayout* inner = nullptr) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), frame), row, 0);
    if (widget) grid->addWidget(widget, row, 1, Qt::AlignLeft);
    if (inner) grid->addLayout(inner, row, 1);
    ++row;
  };
  add("开始类型:", m_pStartMode);
  add("转角类型:", m_pJoin);
  add("端头类型:", m_pCap);
  add("模式类型：", m_pPenStyle);
  add("画笔宽度：", nullptr, kp::ui::EditRow(m_pPenWidth, m_pPenWidthSpin));
  add("颜   色 :", m_pColor);
  grid->setRowStretch(row, 1);
  return frame;
}

QWidget* CDlgGLineEdit::CreateDecorationFrame() {
  auto* frame = new QGroupBox(this);
  auto* grid = new QGridLayout(frame);
  m_pKind = new QComboBox(frame);
  m_pKind->setMaxVisibleItems(20);
  m_pKind->setMinimumWidth(170);
  m_pHVLength = kp::ui::MakeNumEdit(frame, kMinHVLength, kMaxHVLength, kBoxWidth);
  m_pHVLengthSpin = kp::ui::MakeSpin(frame, kMinHVLength, kMaxHVLength, m_pHVLength->sizeHint().height());
  m_pAngle = kp::ui::MakeNumEdit(frame, -kMaxAngle, kMaxAngle, kBoxWidth);
  m_pAngleSpin = kp::ui::MakeSpin(frame, -kMaxAngle, kMaxAngle, m_pAngle->sizeHint().height());
  m_pSymbol = new QPushButton(frame);
  m_pSymbol->setFixedSize(44, 40);
  m_pSymbol->setAutoDefault(false);
  m_pSymbol->installEventFilter(this);
  m_pRepeatMode = kp::ui::MakeCombo(frame, {"短线", "顶点", "线段中点", "折线开始", "折线结束", "折线开始和结束"});
  int row = 0;
  const auto add = [&](const char* label, QWidget* widget, QLayout* inner = nullptr) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), frame), row, 0);
    if (widget) grid->addWidget(widget, row, 1, Qt::AlignLeft);
    if (inner) grid->addLayout(inner, row, 1);
    ++row;
  };
  add("线段风格:", m_pKind);
  add("纵向长度：", nullptr, kp::ui::EditRow(m_pHVLength, m_pHVLengthSpin));
  add("旋转角度:", nullptr, kp::ui::EditRow(m_pAngle, m_pAngleSpin));
  add("符号:", m_pSymbol);
  add("重复模式:", m_pRepeatMode);
  grid->setRowStretch(row, 1);
  return frame;
}

void CDlgGLineEdit::FillCombos() {
  const QSignalBlocker block(m_pKind);
  m_pKind->clear();
  for (int k = 0; k < kKindCount; ++k) m_pKind->addItem(kp::ui::Text(kp::KP_IDS_KIND_FIRST + k));
  // Nothing in the module draws the repeat modes beyond the first two, so
  // they cannot be chosen rather than be chosen and lost.
  if (auto* model = qobject_cast<QStandardItemModel*>(m_pRepeatMode->model())) {
    for (int i = kRepeatStep + 1; i < model->rowCount(); ++i) {
      QStandardItem* item = model->item(i);
      item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
      item->setToolTip(QStringLiteral("此重复模式不受支持"));
    }
  }
}

void CDlgGLineEdit::ConnectControls() {
  connect(m_pList, &QListWidget::currentRowChanged, this, [this](int) { OnSelchangePatternList(); });
  connect(m_pAdd, &QPushButton::clicked, this, [this] { OnPatternAdd(); });
  connect(m_pDelete, &QPushButton::clicked, this, [this] { OnPatternDelete(); });
  const auto onIndex = [this](QComboBox* box, void (CDlgGLineEdit::*handler)()) {
    connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, handler](int) { (this->*handler)(); });
  };
  onIndex(m_pKind, &CDlgGLineEdit::OnSelchangeKind);
  onIndex(m_pStartMode, &CDlgGLineEdit::OnSelchangeStartMode);
  onIndex(m_pJoin, &CDlgGLineEdit::OnSelchangeJoin);
  onIndex(m_pCap, &CDlgGLineEdit::OnSelchangeCap);
  onIndex(m_pPenStyle, &CDlgGLineEdit::OnSelchangePenStyle);
  onIndex(m_pRepeatMode, &CDlgGLineEdit::OnSelchangeRepeatMode);
  kp::ui::ConnectNumberBox(this, m_pHVLength, m_pHVLengthSpin, &CDlgGLineEdit::OnChangeHVLength);
  kp::ui::ConnectNumberBox(this, m_pPenWidth, m_pPenWidthSpin, &CDlgGLineEdit::OnChangePenWidth);
  kp::ui::ConnectNumberBox(this, m_pEntryLength, m_pEntryLengthSpin, &CDlgGLineEdit::OnChangeEntryLength);
  kp::ui::ConnectNumberBox(this, m_pAngle, m_pAngleSpin, &CDlgGLineEdit::OnChangeAngle);
  connect(m_pColor, &CKpButtonColorPicker::selEndOk, this, [this](long w, long) { OnSelEndOkColor(w); });
  connect(m_pSymbol, &QPushButton::clicked, this, [this] { OnSymbol(); });
  connect(m_pOk, &QPushButton::clicked, this, [this] { OnOK(); });
  connect(m_pCancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
}

// --- set-up ------------------------------------------------------------------

bool CDlgGLineEdit::OnInitDialog() {
  if (m_bInitialized) return true;
  m_bInitialized = TRUE;
  LoadContent();
  return true;
}

void CDlgGLineEdit::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitialized) OnInitDialog();
}

void CDlgGLineEdit::LoadContent() {
  const CKpLineStyleBase& sub = m_LineStyleBase;
  ShowKind();
  kp::ui::SelectQuietly(m_pStartMode, 1 - sub.GetStartMode());
  kp::ui::SelectQuietly(m_pJoin, sub.GetJoin());
  kp::ui::SelectQuietly(m_pCap, sub.GetCap());
  kp::ui::SelectQuietly(m_pPenStyle, sub.GetBase());
  kp::ui::SelectQuietly(m_pRepeatMode, sub.m_nRepeatMode);
  kp::ui::ShowNumber(m_pHVLength, m_pHVLengthSpin, sub.m_nHVLength);
  kp::ui::ShowNumber(m_pPenWidth, m_pPenWidthSpin, sub.m_nWidth);
  kp::ui::ShowNumber(m_pAngle, m_pAngleSpin, sub.m_nAngle);
  m_pColor->SetColor(sub.m_clrColor);
  if (sub.Count() > 0) m_nEntryLength = sub.GetAt(0);
  kp::ui::ShowNumber(m_pEntryLength, m_pEntryLengthSpin, m_nEntryLength);
  RebuildList(0);
  UpdateUserStyleBox();
  EnableGlyphControls();
  Redraw();
}

// --- helpers -----------------------------------------------------------------

void CDlgGLineEdit::RebuildList(int row) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->clear();
    for (long i = 0; i < m_LineStyleBase.Count(); ++i) m_pList->addItem(EntryText(m_LineStyleBase, i));
    m_pList->setCurrentRow(row >= 0 && row < m_pList->count() ? row : -1);
  }
  if (row < 0 || row >= m_LineStyleBase.Count()) return;
  m_nEntryLength = m_LineStyleBase.GetAt(row);
  kp::ui::ShowNumber(m_pEntryLength, m_pEntryLengthSpin, m_nEntryLength);
}

void CDlgGLineEdit::ShowKind() {
  const short kind = m_LineStyleBase.m_nHVMode;
  // A kind beyond the list is named, not replaced: it stays as it is unless
  // another one is chosen.
  const char* label = kp::SubLineKindLabel(kind);
  m_pKind->setPlaceholderText(label ? QString::fromUtf8(label) : QString());
  kp::ui::SelectQuietly(m_pKind, kind);
}

void CDlgGLineEdit::UpdateUserStyleBox() { m_pUserStyle->setChecked(m_LineStyleBase.GetUserStyle() != 0); }

void CDlgGLineEdit::EnableGlyphControls() {
  const bool glyph = IsGlyphKind(m_LineStyleBase.m_nHVMode);
  m_pAngle->setEnabled(glyph);
  m_pAngleSpin->setEnabled(glyph);
  m_pSymbol->setEnabled(glyph);
  m_pSymbol->update();
}

void CDlgGLineEdit::DropKindWithoutPattern() {
  CKpLineStyleBase& sub = m_LineStyleBase;
  // Kinds beyond the list (parallel and tapered lines, custom symbols) are
  // not this editor's to change, and the first two need no pattern.
  if (sub.Count() > 0 || sub.m_nHVMode <= 0 || sub.m_nHVMode >= kKindCount) return;
  sub.m_nHVMode = 0;
  ShowKind();
  EnableGlyphControls();
}

long CDlgGLineEdit::EntryBoxValue() const {
  long value = m_nEntryLength;
  kp::ui::ReadNumber(m_pEntryLength->text(), value);
  return value;
}

void CDlgGLineEdit::Redraw() {
  m_pSample->update();
  m_pSymbol->update();
}

// --- handlers ----------------------------------------------------------------

void CDlgGLineEdit::OnSelchangePatternList() {
  if (!m_bInitialized) return;
  const int row = m_pList->currentRow();
  if (row < 0 || row >= m_LineStyleBase.Count()) return;
  m_nEntryLength = m_LineStyleBase.GetAt(row);
  kp::ui::ShowNumber(m_pEntryLength, m_pEntryLengthSpin, m_nEntryLength);
}

void CDlgGLineEdit::OnPatternAdd() {
  if (!m_bInitialized) return;
  const long count = m_LineStyleBase.Add(kNewEntryLength, kNewEntryLength);
  RebuildList(static_cast<int>(count) - 2);
  UpdateUserStyleBox();
  Redraw();
}

void CDlgGLineEdit::OnPatternDelete() {
  if (!m_bInitialized) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  int row = m_pList->currentRow();
  if (row < 0 || row >= sub.Count()) return;
  row -= row % 2;  // the pair's dash
  sub.RemoveAt(row);
  DropKindWithoutPattern();
  const int count = static_cast<int>(sub.Count());
  RebuildList(row < count ? row : count - 2);
  UpdateUserStyleBox();
  Redraw();
}

void CDlgGLineEdit::OnSelchangeKind() {
  if (!m_bInitialized) return;
  const int kind = m_pKind->currentIndex();
  if (kind < 0 || kind >= kKindCount) return;
  m_LineStyleBase.m_nHVMode = static_cast<short>(kind);
  EnableGlyphControls();
  Redraw();
}

void CDlgGLineEdit::OnSelchangeStartMode() {
  if (!m_bInitialized || m_pStartMode->currentIndex() < 0) return;
  // The list shows "实线开始" (mode 1) first.
  m_LineStyleBase.SetStartMode(1 - m_pStartMode->currentIndex());
  RebuildList(m_pList->currentRow());
  Redraw();
}

void CDlgGLineEdit::OnSelchangeJoin() {
  if (!m_bInitialized || m_pJoin->currentIndex() < 0) return;
  m_LineStyleBase.SetJoin(m_pJoin->currentIndex());
  Redraw();
}

void CDlgGLineEdit::OnSelchangeCap() {
  if (!m_bInitialized || m_pCap->currentIndex() < 0) return;
  m_LineStyleBase.SetCap(m_pCap->currentIndex());
  Redraw();
}

void CDlgGLineEdit::OnSelchangePenStyle() {
  if (!m_bInitialized || m_pPenStyle->currentIndex() < 0) return;
  m_LineStyleBase.SetBase(m_pPenStyle->currentIndex());
  Redraw();
}

void CDlgGLineEdit::OnSelchangeRepeatMode() {
  if (!m_bInitialized) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  const int mode = m_pRepeatMode->currentIndex();
  if (mode == kRepeatNormal) {
    sub.m_nRepeatMode = kRepeatNormal;
  } else if (mode == kRepeatStep) {
    sub.m_nRepeatMode = kRepeatStep;
    // The step is the first entry: it must have a length to step by.
    const long box = EntryBoxValue();
    if (sub.Count() > 0)
      sub.SetAt(0, sub.GetAt(0) <= 0 || box < kMinEntry ? kRepeatLength : box);
    else if (box < kMinRepeatLength)
      sub.Add(kRepeatLength, kRepeatLength);
    else
      sub.Add(box, box);
    RebuildList(0);
    UpdateUserStyleBox();
  }
  Redraw();
}

void CDlgGLineEdit::OnChangeHVLength() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pHVLength->text(), m_pHVLengthSpin, LONG_MIN, kMaxHVLength, value)) return;
  CKpLineStyleBase& sub = m_LineStyleBase;
  if (value <= 0) {
    // No extent across the line leaves no decoration to draw.
    sub.m_nHVLength = 0;
    sub.m_nHVMode = 0;
    ShowKind();
    EnableGlyphControls();
  } else {
    sub.m_nHVLength = static_cast<short>(value);
  }
  Redraw();
}

void CDlgGLineEdit::OnChangePenWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pPenWidth->text(), m_pPenWidthSpin, 0, kMaxPenWidth, value)) return;
  m_LineStyleBase.m_nWidth = static_cast<short>(value);
  m_LineStyleBase.m_nCurWidth = static_cast<short>(value);
  Redraw();
}

void CDlgGLineEdit::OnChangeEntryLength() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pEntryLength->text(), m_pEntryLengthSpin, kMinEntry, kMaxEntry, value)) return;
  m_nEntryLength = value;
  const int row = m_pList->currentRow();
  if (row < 0 || m_LineStyleBase.SetAt(row, value) == 0) return;
  m_pList->item(row)->setText(EntryText(m_LineStyleBase, row));
  Redraw();
}

void CDlgGLineEdit::OnChangeAngle() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pAngle->text(), m_pAngleSpin, -kMaxAngle, kMaxAngle, value)) return;
  m_LineStyleBase.m_nAngle = static_cast<LONG>(value);
  Redraw();
}

void CDlgGLineEdit::OnSelEndOkColor(long color) {
  if (!m_bInitialized) return;
  const COLORREF c = static_cast<COLORREF>(color) & 0x00FFFFFFu;
  m_LineStyleBase.m_clrColor = c;
  m_LineStyleBase.m_clrCurrent = c;
  Redraw();
}

void CDlgGLineEdit::OnSymbol() {
  if (!m_bInitialized || !IsGlyphKind(m_LineStyleBase.m_nHVMode)) return;
  CKpCharSelectDlg dlg(this);
  dlg.setWindowTitle(QStringLiteral("符号选择器"));
  dlg.SetFaceName(m_LineStyleBase.GetFont());
  dlg.SetSymbolID(m_LineStyleBase.m_nSymbol);
  if (dlg.DoModal() != IDOK) return;
  m_LineStyleBase.SetFont(dlg.GetFaceName());
  const long code = dlg.GetSymbolID();
  if (code >= SHRT_MIN && code <= SHRT_MAX) m_LineStyleBase.SetSymbol(static_cast<short>(code));
  Redraw();
}

void CDlgGLineEdit::OnOK() {
  if (m_bInitialized) DropKindWithoutPattern();
  EndDialog(IDOK);
}

// --- painting ----------------------------------------------------------------

bool CDlgGLineEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == m_pSample) {
    kp::ui::PaintFramedArea(*m_pSample, palette(), [this](CDC* dc, const CRect& client) { OnDrawSample(dc, client); });
    return true;
  }
  if (event->type() == QEvent::Paint && watched == m_pSymbol) {
    kp::ui::PaintFramedArea(*m_pSymbol, palette(), [this](CDC* dc, const CRect& client) { OnDrawSymbol(dc, client); });
    return true;
  }
  return CKpDialog::eventFilter(watched, event);
}

void CDlgGLineEdit::OnDrawSample(CDC* dc, const CRect& client) {
  if (dc == nullptr) return;
  RECT rect = client;
  rect.left += 1;
  rect.top += 1;
  rect.right -= 1;
  rect.bottom -= 1;
  // The sample takes the sub-line's own width and colour as current; a copy
  // keeps the edited sub-line as it is.
  CKpLineStyleBase sample = m_LineStyleBase;
  // Its own pen, never the widget's: a plain sub-line would otherwise show
  // in whatever pen the painter holds.
  const CKpSampleEngineScope engine(m_pSymLib, CKpSampleEngineScope::StylePen);
  sample.DrawSample(dc, rect);
}

void CDlgGLineEdit::OnDrawSymbol(CDC* dc, const CRect& client) {
  if (dc == nullptr) return;
  {
    CBrush face(kp::ui::ToColorRef(palette().color(QPalette::Button)));
    dc->FillRect(&client, &face);
  }
  if (!m_pSymbol->isEnabled()) return;
  kp::ui::DrawGlyph(*dc, m_LineStyleBase, m_LineStyleBase.m_clrColor, client.left + 10, client.top + 6);
}
