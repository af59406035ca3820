#include "ui/CKpLineStyleEditorDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleBase.h"
#include "module/KpStringTable.h"
#include "platform/CBrush.h"
#include "platform/CRect.h"
#include "ui/CKpLineStyleBaseList.h"
#include "ui/CKpLineStylePatternDlg.h"
#include "ui/CKpSampleEngineScope.h"
#include "ui/KpDemoFrame.h"
#include "ui/KpDialogForms.h"
#include "ui/KpEditorToolbarIcons.h"
#include "ui/KpKeyboard.h"
#include "ui/KpUiConstants.h"
#include "ui/KpUiResources.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr int kCmdNewSubLine = 24513;
constexpr int kCmdDeleteSubLine = 24514;
constexpr int kCmdTop = 24515;
constexpr int kCmdDown = 24516;
constexpr int kCmdUp = 24517;
constexpr int kCmdBottom = 24518;

// The boxes' ranges. A vertical offset beyond kMaxVertOffset would push a
// sub-line off the styles' usual width, so only the narrower range is
// applied although the box takes the wider one.
constexpr long kMaxOffset = 250;
constexpr long kMaxVertOffset = 50;
constexpr long kMaxWidth = 100;
constexpr int kBoxWidth = 70;

constexpr long kMinZoom = 1;
constexpr long kMaxZoom = 5;

// The sample keeps this far from the demo's left and right sides (logical units).
constexpr LONG kSampleInset = 30;

bool IsCustomSymbolKind(long k) { return k == 47 || k == 48; }

bool InRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

void CheckQuietly(QCheckBox* box, bool on) {
  const QSignalBlocker block(box);
  box->setChecked(on);
}

}  // namespace

// --- construction ------------------------------------------------------------

CKpLineStyleEditorDlg::CKpLineStyleEditorDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型编辑器"));
  CreateControls();
  ConnectControls();
}

CKpLineStyleEditorDlg::~CKpLineStyleEditorDlg() { kp::ui::DetachChildren(this); }

void CKpLineStyleEditorDlg::AttachLineStyleLib(CKpLineStyleLib* lib, long symCount,
                                               const kp::ui::KpImportedSymIDs& imported) {
  m_pLineStyleLib = lib;
  m_nLineSymCount = std::max(0L, symCount);
  m_ImportedSymIDs = imported;
}

QAction* CKpLineStyleEditorDlg::GetToolAction(int commandId) const {
  switch (commandId) {
    case kCmdNewSubLine: return m_pNewAction;
    case kCmdDeleteSubLine: return m_pDeleteAction;
    case kCmdTop: return m_pTopAction;
    case kCmdUp: return m_pUpAction;
    case kCmdDown: return m_pDownAction;
    case kCmdBottom: return m_pBottomAction;
    default: return nullptr;
  }
}

void CKpLineStyleEditorDlg::CreateControls() {
  CreateToolBar();
  QVBoxLayout* outer = kp::ui::ToolBarDialogLayout(this, m_pToolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(10, 4, 10, 0);
  auto* top = new QHBoxLayout;
  top->addWidget(CreateListFrame(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(CreateRepairFrame());
  right->addWidget(CreateParamFrame(), 1);
  top->addLayout(right);
  body->addLayout(top);
  body->addWidget(CreateDemoFrame());

  body->addLayout(kp::ui::OkCancelRow(this, QStringLiteral("确定(&O)"), QStringLiteral("取消(&C)"), m_pOk, m_pCancel));
  outer->addLayout(body);
}

void CKpLineStyleEditorDlg::CreateToolBar() {
  m_pToolBar = kp::ui::MakeToolBar(this);
  const auto add = [this](int id) { return kp::ui::AddToolCommand(m_pToolBar, id, kp::ui::EditorToolbarIcon(id)); };
  m_pNewAction = add(kCmdNewSubLine);
  m_pDeleteAction = add(kCmdDeleteSubLine);
  m_pToolBar->addSeparator();
  m_pTopAction = add(kCmdTop);
  m_pUpAction = add(kCmdUp);
  m_pDownAction = add(kCmdDown);
  m_pBottomAction = add(kCmdBottom);
}

QWidget* CKpLineStyleEditorDlg::CreateListFrame() {
  auto* frame = new QGroupBox(QStringLiteral("子线列表"), this);
  auto* layout = new QVBoxLayout(frame);
  m_pList = new CKpLineStyleBaseList(frame);
  m_pList->setMinimumSize(330, 7 * CKpLineStyleBaseList::kItemHeight + 4);
  layout->addWidget(m_pList);
  return frame;
}

QWidget* CKpLineStyleEditorDlg::CreateRepairFrame() {
  auto* frame = new QGroupBox(QStringLiteral("子线扩展属性"), this);
  auto* layout = new QVBoxLayout(frame);
  m_pHorizRepair = new QCheckBox(QStringLiteral("水平子线最后不够一小节补绘"), frame);
  m_pVertRepair = new QCheckBox(QStringLiteral("垂直子线最后不够一小节补绘"), frame);
  layout->addWidget(m_pHorizRepair);
  layout->addWidget(m_pVertRepair);
  return frame;
}

QWidget* CKpLineStyleEditorDlg::CreateParamFrame() {
  auto* frame = new QGroupBox(QStringLiteral("子线参数"), this);
  auto* grid = new QGridLayout(frame);
  m_pHorizOffset = kp::ui::MakeNumEdit(frame, -kMaxOffset, kMaxOffset, kBoxWidth);
  m_pVertOffset = kp::ui::MakeNumEdit(frame, -kMaxOffset, kMaxOffset, kBoxWidth);
  m_pSubWidth = kp::ui::MakeNumEdit(frame, 0, kMaxWidth, kBoxWidth);
  const int h = m_pHorizOffset->sizeHint().height();
  m_pHorizSpin = kp::ui::MakeSpin(frame, -kMaxOffset, kMaxOffset, h);
  m_pVertSpin = kp::ui::MakeSpin(frame, -kMaxOffset, kMaxOffset, h);
  m_pSubWidthSpin = kp::ui::MakeSpin(frame, 0, kMaxWidth, h);
  int row = 0;
  const auto addRow = [&](const char* label, CKpNumEdit* edit, QScrollBar* spin) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), frame), row, 0);
    grid->addLayout(kp::ui::EditRow(edit, spin), row, 1);
    ++row;
  };
  addRow("横向偏移：", m_pHorizOffset, m_pHorizSpin);
  addRow("纵向偏移：", m_pVertOffset, m_pVertSpin);
  addRow("单线宽度：", m_pSubWidth, m_pSubWidthSpin);
  // The box follows its label, as the other rows' boxes do.
  m_pWidthLock = new QCheckBox(QStringLiteral("宽度固定："), frame);
  m_pWidthLock->setLayoutDirection(Qt::RightToLeft);
  grid->addWidget(m_pWidthLock, row, 0, 1, 2, Qt::AlignAbsolute | Qt::AlignLeft);
  grid->setRowStretch(row + 1, 1);
  grid->setColumnStretch(1, 1);
  return frame;
}

QWidget* CKpLineStyleEditorDlg::CreateDemoFrame() {
  auto* frame = new QGroupBox(QStringLiteral("线型演示"), this);
  auto* layout = new QVBoxLayout(frame);
  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("线型宽度："), frame));
  m_pDemoWidthEdit = kp::ui::MakeNumEdit(frame, 0, kMaxWidth, kBoxWidth);
  m_pDemoWidthSpin = kp::ui::MakeSpin(frame, 0, kMaxWidth, m_pDemoWidthEdit->sizeHint().height());
  controls->addLayout(kp::ui::EditRow(m_pDemoWidthEdit, m_pDemoWidthSpin));
  controls->addSpacing(12);
  controls->addWidget(new QLabel(QStringLiteral("线型颜色："), frame));
  m_pColor = new CKpButtonColorPicker(frame);
  m_pColor->setFixedWidth(70);
  controls->addWidget(m_pColor);
  controls->addSpacing(12);
  const auto zoomButton = [frame, controls](const char* label, const char* text) {
    controls->addWidget(new QLabel(QString::fromUtf8(label), frame));
    auto* button = new QPushButton(QString::fromUtf8(text), frame);
    button->setFixedWidth(32);
    button->setAutoDefault(false);
    controls->addWidget(button);
    return button;
  };
  m_pZoomIn = zoomButton("线型放大：", "+");
  controls->addSpacing(6);
  m_pZoomOut = zoomButton("线型缩小：", "-");
  controls->addStretch(1);
  layout->addLayout(controls);

  m_pDemo = new QWidget(frame);
  m_pDemo->setFixedHeight(90);
  m_pDemo->setMinimumWidth(560);
  m_pDemo->installEventFilter(this);
  layout->addWidget(m_pDemo);
  return frame;
}

void CKpLineStyleEditorDlg::ConnectControls() {
  connect(m_pNewAction, &QAction::triggered, this, [this] { OnLslNewSubLinestyle(); });
  connect(m_pDeleteAction, &QAction::triggered, this, [this] { OnLslDeleteSubLinestyle(); });
  connect(m_pTopAction, &QAction::triggered, this, [this] { OnLslSubTop(); });
  connect(m_pUpAction, &QAction::triggered, this, [this] { OnLslSubUp(); });
  connect(m_pDownAction, &QAction::triggered, this, [this] { OnLslSubDown(); });
  connect(m_pBottomAction, &QAction::triggered, this, [this] { OnLslSubBottom(); });

  connect(m_pList, &CKpLineStyleBaseList::selChange, this, [this] { OnSelchangeLslSubLinestyleList(); });
  connect(m_pList, &CKpLineStyleBaseList::dblClk, this, [this](int) { OnDblclkLslSubLinestyleList(); });

  using Dlg = CKpLineStyleEditorDlg;
  kp::ui::ConnectNumberBox(this, m_pHorizOffset, m_pHorizSpin, &Dlg::OnChangeLslHorizOffset);
  kp::ui::ConnectNumberBox(this, m_pVertOffset, m_pVertSpin, &Dlg::OnChangeLslVertOffset);
  kp::ui::ConnectNumberBox(this, m_pSubWidth, m_pSubWidthSpin, &Dlg::OnChangeLslSubWidth);
  kp::ui::ConnectNumberBox(this, m_pDemoWidthEdit, m_pDemoWidthSpin, &Dlg::OnChangeLslDemoWidth);

  connect(m_pWidthLock, &QCheckBox::toggled, this, [this] { OnLslWidthLock(); });
  connect(m_pHorizRepair, &QCheckBox::toggled, this, [this] { OnLslHorizontalRepair(); });
  connect(m_pVertRepair, &QCheckBox::toggled, this, [this] { OnLslVerticalRepair(); });
  connect(m_pColor, &CKpButtonColorPicker::selEndOk, this, [this](long w, long) { OnSelEndOkColor(w); });
  connect(m_pZoomIn, &QPushButton::clicked, this, [this] { OnZoomIn(); });
  connect(m_pZoomOut, &QPushButton::clicked, this, [this] { OnZoomOut(); });
  connect(m_pOk, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
  connect(m_pCancel, &QPushButton::clicked, this, [this] { EndDialog(IDCANCEL); });
}

// --- set-up ------------------------------------------------------------------

bool CKpLineStyleEditorDlg::OnInitDialog() {
  if (m_bInitialized) return true;
  m_pList->m_pLineStyleObj = &m_LineStyleObj;
  m_pList->SetSymbolLib(m_pLineStyleLib ? &m_pLineStyleLib->GetSymLib() : nullptr);
  m_pList->InitContent();
  kp::ui::ShowNumber(m_pDemoWidthEdit, m_pDemoWidthSpin, m_nDemoWidth);
  UpdateZoomButtons();
  m_bInitialized = TRUE;
  if (m_LineStyleObj.Count() > 0) SelectSubLine(0);
  m_pColor->SetColor(static_cast<COLORREF>(m_LineStyleObj.GetFirstColor()));
  return true;
}

void CKpLineStyleEditorDlg::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitialized) OnInitDialog();
}

// --- selection ---------------------------------------------------------------

int CKpLineStyleEditorDlg::SelectedIndex() const {
  const int sel = m_pList->GetCurSel();
  return sel >= 0 && sel < m_LineStyleObj.Count() ? sel : -1;
}

CKpLineStyleBase* CKpLineStyleEditorDlg::SelectedSubLine() {
  const int sel = SelectedIndex();
  return sel < 0 ? nullptr : m_LineStyleObj.GetElementAt(sel);
}

void CKpLineStyleEditorDlg::SelectSubLine(int index) {
  m_pList->SetCurSel(index);
  LoadSelected();
}

void CKpLineStyleEditorDlg::LoadSelected() {
  const CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  m_nSubWidth = sub->m_nWidth;
  m_nVertOffset = sub->m_nVertOffset;
  m_nHorizOffset = sub->m_nHorizOffset;
  m_bWidthLock = sub->GetWidthLock() ? TRUE : FALSE;
  m_bHorizRepair = sub->GetHorizRepair() ? TRUE : FALSE;
  m_bVertRepair = sub->GetVertRepair() ? TRUE : FALSE;
  kp::ui::ShowNumber(m_pSubWidth, m_pSubWidthSpin, m_nSubWidth);
  kp::ui::ShowNumber(m_pVertOffset, m_pVertSpin, m_nVertOffset);
  kp::ui::ShowNumber(m_pHorizOffset, m_pHorizSpin, m_nHorizOffset);
  CheckQuietly(m_pWidthLock, m_bWidthLock);
  CheckQuietly(m_pHorizRepair, m_bHorizRepair);
  CheckQuietly(m_pVertRepair, m_bVertRepair);
}

void CKpLineStyleEditorDlg::OnSelchangeLslSubLinestyleList() {
  if (!m_bInitialized) return;
  LoadSelected();
}

// --- the selected sub-line ---------------------------------------------------

void CKpLineStyleEditorDlg::OnChangeLslHorizOffset() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pHorizOffset->text(), m_pHorizSpin, -kMaxOffset, kMaxOffset, value)) return;
  m_nHorizOffset = value;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->m_nHorizOffset = static_cast<short>(value);
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::OnChangeLslVertOffset() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pVertOffset->text(), m_pVertSpin, -kMaxOffset, kMaxOffset, value)) return;
  m_nVertOffset = value;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub || !InRange(value, -kMaxVertOffset, kMaxVertOffset)) return;
  sub->m_nVertOffset = static_cast<short>(value);
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::OnChangeLslSubWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pSubWidth->text(), m_pSubWidthSpin, 0, kMaxWidth, value)) return;
  m_nSubWidth = value;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  // The width a fixed-width sub-line draws with is its variation parameter.
  sub->m_nWidth = static_cast<short>(value);
  sub->m_nVarWidth = static_cast<short>(value);
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnLslWidthLock() {
  if (!m_bInitialized) return;
  m_bWidthLock = m_pWidthLock->isChecked() ? TRUE : FALSE;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->SetWidthLock(m_bWidthLock);
  // A locked sub-line keeps the box's width whatever the style's width; the
  // box's value is the last one it accepted.
  sub->m_nCurWidth = static_cast<short>(m_nSubWidth);
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::OnLslHorizontalRepair() {
  if (!m_bInitialized) return;
  m_bHorizRepair = m_pHorizRepair->isChecked() ? TRUE : FALSE;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->SetHorizRepair(m_bHorizRepair);
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnLslVerticalRepair() {
  if (!m_bInitialized) return;
  m_bVertRepair = m_pVertRepair->isChecked() ? TRUE : FALSE;
  CKpLineStyleBase* sub = SelectedSubLine();
  if (!sub) return;
  sub->SetVertRepair(m_bVertRepair);
  RepaintAll();
}

// --- the whole style ---------------------------------------------------------

void CKpLineStyleEditorDlg::OnChangeLslDemoWidth() {
  if (!m_bInitialized) return;
  long value = 0;
  if (!kp::ui::ReadBox(m_pDemoWidthEdit->text(), m_pDemoWidthSpin, 0, kMaxWidth, value)) return;
  m_nDemoWidth = value;
  m_LineStyleObj.SetWidth(value);
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::OnSelEndOkColor(long color) {
  if (!m_bInitialized) return;
  m_LineStyleObj.SetColor(static_cast<long>(static_cast<COLORREF>(color) & 0x00FFFFFFu));
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnZoomIn() {
  if (!m_bInitialized || m_nZoom >= kMaxZoom) return;
  ++m_nZoom;
  UpdateZoomButtons();
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::OnZoomOut() {
  if (!m_bInitialized || m_nZoom <= kMinZoom) return;
  --m_nZoom;
  UpdateZoomButtons();
  m_pDemo->update();
}

void CKpLineStyleEditorDlg::UpdateZoomButtons() {
  m_pZoomIn->setEnabled(m_nZoom < kMaxZoom);
  m_pZoomOut->setEnabled(m_nZoom > kMinZoom);
}

void CKpLineStyleEditorDlg::RepaintAll() {
  m_pList->viewport()->update();
  m_pDemo->update();
}

// --- toolbar commands --------------------------------------------------------

bool CKpLineStyleEditorDlg::RunPatternDialog(CKpLineStyleBase& sub) {
  CKpLineStylePatternDlg dlg(this);
  dlg.m_LineStyleBase = sub;
  dlg.AttachLineStyleLib(m_pLineStyleLib, m_nLineSymCount);
  if (IsCustomSymbolKind(sub.m_nHVMode)) dlg.m_nSymbolIndex = FindSymID(sub.m_nSymbol);
  if (dlg.DoModal() != IDOK) return false;
  sub = dlg.m_LineStyleBase;
  if (IsCustomSymbolKind(sub.m_nHVMode) && dlg.m_nSymbolIndex >= 0) {
    const long id = FindSymIndex(dlg.m_nSymbolIndex);
    // The record holds 16 bits: an ID beyond them would name another symbol.
    if (InRange(id, SHRT_MIN, SHRT_MAX)) sub.m_nSymbol = static_cast<short>(id);
  }
  return true;
}

void CKpLineStyleEditorDlg::OnLslNewSubLinestyle() {
  if (!m_bInitialized) return;
  const int sel = SelectedIndex();
  CKpLineStyleBase sub;
  if (sel >= 0 && kp::ui::IsCtrlDown())
    sub = m_LineStyleObj.GetBaseAt(sel);
  else
    sub.SetHorizRepair(TRUE);
  if (!RunPatternDialog(sub)) return;
  m_LineStyleObj.AddStyleBase(sub);
  m_pList->AddSubLine();
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnDblclkLslSubLinestyleList() {
  if (!m_bInitialized) return;
  const int sel = SelectedIndex();
  if (sel < 0) return;
  CKpLineStyleBase sub = m_LineStyleObj.GetBaseAt(sel);
  if (!RunPatternDialog(sub)) return;
  m_LineStyleObj.SetStyleBase(sel, sub);
  LoadSelected();
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnLslDeleteSubLinestyle() {
  if (!m_bInitialized) return;
  const int sel = SelectedIndex();
  if (sel < 0) return;
  m_LineStyleObj.RemoveAt(sel);
  m_pList->DeleteSubLine(sel);
  // The boxes go on to show a sub-line that exists: the next one, or the new last.
  SelectSubLine(std::min(sel, static_cast<int>(m_LineStyleObj.Count()) - 1));
  RepaintAll();
}

void CKpLineStyleEditorDlg::MoveSelected(int to) {
  const int sel = SelectedIndex();
  CKpLineStyleBase sub = m_LineStyleObj.GetBaseAt(sel);
  m_LineStyleObj.RemoveAt(sel);
  m_LineStyleObj.InsertBaseAt(to, sub);
  SelectSubLine(to);
  RepaintAll();
}

void CKpLineStyleEditorDlg::OnLslSubTop() {
  if (m_bInitialized && SelectedIndex() >= 1) MoveSelected(0);
}

void CKpLineStyleEditorDlg::OnLslSubUp() {
  if (m_bInitialized && SelectedIndex() >= 1) MoveSelected(SelectedIndex() - 1);
}

void CKpLineStyleEditorDlg::OnLslSubDown() {
  const int sel = SelectedIndex();
  if (m_bInitialized && sel >= 0 && sel < m_LineStyleObj.Count() - 1) MoveSelected(sel + 1);
}

void CKpLineStyleEditorDlg::OnLslSubBottom() {
  const int sel = SelectedIndex();
  if (m_bInitialized && sel >= 0 && sel < m_LineStyleObj.Count() - 1)
    MoveSelected(static_cast<int>(m_LineStyleObj.Count()) - 1);
}

// --- symbol numbering --------------------------------------------------------

long CKpLineStyleEditorDlg::FindSymID(long id) {
  if (!m_pLineStyleLib) return -1;
  return kp::ui::CellOfSymbolID(*m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs, kp::ui::ResourceSymLib(), id);
}

long CKpLineStyleEditorDlg::FindSymIndex(long cell) {
  if (!m_pLineStyleLib) return 0;
  return std::max(0L, kp::ui::SymbolIDOfCell(*m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs,
                                             kp::ui::ResourceSymLib(), cell));
}

// --- painting ----------------------------------------------------------------

void CKpLineStyleEditorDlg::paintEvent(QPaintEvent* event) {
  CKpDialog::paintEvent(event);
  kp::ui::PaintToolBarGripper(*this, m_pToolBar->geometry());
}

bool CKpLineStyleEditorDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == m_pDemo) {
    kp::ui::PaintFramedArea(*m_pDemo, palette(), [this](CDC* dc, const CRect& client) { OnDrawDemo(dc, client); });
    return true;
  }
  return CKpDialog::eventFilter(watched, event);
}

void CKpLineStyleEditorDlg::OnDrawDemo(CDC* dc, const CRect& client) {
  if (dc == nullptr || m_LineStyleObj.Count() == 0) return;
  CRect rect;
  const int oldMode =
      kp::ui::BeginDemoFrame(*dc, client, kp::ui::ToColorRef(palette().color(QPalette::Button)), rect);
  POINT pts[2] = {{rect.left + kSampleInset, rect.bottom / 2}, {rect.right - kSampleInset, rect.bottom / 2}};

  // The demo width and colour are a way of looking at the style, not an
  // edit: they go on a copy, so that a paint never changes what the caller
  // reads back.
  CKpLineStyleObj demo(m_LineStyleObj);
  demo.SetWidth(m_nDemoWidth);
  demo.SetColor(static_cast<long>(m_pColor->GetColor()));

  CKpLineStyleEngine& engine = gLineStyleEngine;
  const CKpSampleEngineScope symbols(m_pLineStyleLib ? &m_pLineStyleLib->GetSymLib() : nullptr);
  engine.KeepDC(dc);
  // Every sub-line draws with its own pen at the demo width and colour:
  // the widget's pen is no host's choice.
  engine.m_bStylePen = TRUE;
  engine.SetClearSawtooth(1);
  engine.SetRatio(static_cast<double>(m_nZoom) * 0.5);
  demo.Polyline(pts, 2);
  engine.SetRatio(1.0);
  engine.SetClearSawtooth(0);
  engine.RestoreDC();
  dc->SetMapMode(oldMode);
}
