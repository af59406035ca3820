#include "ui/CKpLineStylePickerDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CBrush.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "ui/KpDemoFrame.h"
#include "ui/CKpLineStyleLibDlg.h"
#include "ui/CKpLineStylePicker.h"
#include "ui/CKpLineStylePickerList.h"
#include "ui/KpDialogForms.h"
#include "ui/KpUiConstants.h"
#include "ui/KpUiResources.h"
#include "ui/controls/CKpButtonColorPicker.h"
#include "ui/controls/CKpFlatButton.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr int kDroppedTreeHeight = 150;
constexpr long kMaxWidth = 100;

}  // namespace

// --- preview -----------------------------------------------------------------

CKpPickerPreview::CKpPickerPreview(CKpLineStylePickerDlg* dlg, QWidget* parent)
    : QWidget(parent), m_pDlg(dlg) {
  setMinimumSize(200, 56);
}

void CKpPickerPreview::paintEvent(QPaintEvent*) {
  kp::ui::PaintFramedArea(*this, palette(), [this](CDC* dc, const CRect& client) { m_pDlg->DrawDemo(dc, client); });
}

// --- dialog ------------------------------------------------------------------

CKpLineStylePickerDlg::CKpLineStylePickerDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型选择"));
  CreateControls();
}

CKpLineStylePickerDlg::~CKpLineStylePickerDlg() { kp::ui::DetachChildren(this); }

void CKpLineStylePickerDlg::CreateControls() {
  auto* top = new QHBoxLayout(this);

  // Left: the group selector with the up-one-level button, the list below.
  auto* left = new QVBoxLayout;
  auto* groupRow = new QHBoxLayout;
  groupRow->addWidget(new QLabel(QStringLiteral("选择组信息："), this));
  m_pPicker = new CKpLineStylePicker(this);
  m_pPicker->setMinimumWidth(180);
  groupRow->addWidget(m_pPicker, 1);
  m_pUpButton = new CKpFlatButton(this);
  groupRow->addWidget(m_pUpButton);
  left->addLayout(groupRow);
  m_pList = new CKpLineStylePickerList(this);
  m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_pList->setFixedSize(330, 350);
  left->addWidget(m_pList, 1);
  top->addLayout(left, 1);

  // Right: find, preview, options, buttons.
  auto* right = new QVBoxLayout;
  auto* findBox = new QGroupBox(QStringLiteral("查找"), this);
  auto* findGrid = new QGridLayout(findBox);
  m_pFindID = new QComboBox(findBox);
  m_pFindID->setEditable(true);
  m_pFindID->setInsertPolicy(QComboBox::NoInsert);
  m_pFindName = new QComboBox(findBox);
  m_pFindName->setEditable(true);
  m_pFindName->setInsertPolicy(QComboBox::NoInsert);
  m_pGroupName = new QLineEdit(findBox);
  m_pGroupName->setReadOnly(true);
  findGrid->addWidget(new QLabel(QStringLiteral("编码"), findBox), 0, 0);
  findGrid->addWidget(m_pFindID, 0, 1);
  findGrid->addWidget(new QLabel(QStringLiteral("名称"), findBox), 1, 0);
  findGrid->addWidget(m_pFindName, 1, 1);
  findGrid->addWidget(new QLabel(QStringLiteral("所在组"), findBox), 2, 0);
  findGrid->addWidget(m_pGroupName, 2, 1);
  findGrid->setColumnStretch(1, 1);
  right->addWidget(findBox);

  auto* demoBox = new QGroupBox(QStringLiteral("预览"), this);
  auto* demoLayout = new QVBoxLayout(demoBox);
  m_pPreview = new CKpPickerPreview(this, demoBox);
  demoLayout->addWidget(m_pPreview);
  right->addWidget(demoBox);

  auto* optBox = new QGroupBox(QStringLiteral("选项"), this);
  auto* optGrid = new QGridLayout(optBox);
  m_pColor = new CKpButtonColorPicker(optBox);
  m_pColor->setMinimumWidth(80);
  m_pWidthEdit = new CKpNumEdit(optBox);
  m_pWidthEdit->setMaximumWidth(60);
  m_pWidthSpin = kp::ui::MakeSpin(optBox, 0, kMaxWidth, m_pWidthEdit->sizeHint().height());
  optGrid->addWidget(new QLabel(QStringLiteral("颜色："), optBox), 0, 0);
  optGrid->addWidget(m_pColor, 0, 1, 1, 2, Qt::AlignLeft);
  optGrid->addWidget(new QLabel(QStringLiteral("宽度："), optBox), 1, 0);
  optGrid->addLayout(kp::ui::EditRow(m_pWidthEdit, m_pWidthSpin), 1, 1, 1, 2);
  optGrid->setColumnStretch(2, 1);
  right->addWidget(optBox);
  right->addStretch(1);

  auto* buttons = new QHBoxLayout;
  m_pOk = new QPushButton(QStringLiteral("确定(&O)"), this);
  m_pCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
  m_pEditLib = new QPushButton(QStringLiteral("线型编辑器"), this);
  m_pHiddenDefault = kp::ui::AddHiddenDefault(this);
  for (QPushButton* b : {m_pOk, m_pCancel, m_pEditLib}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  right->addLayout(buttons);
  top->addLayout(right);

  // Wiring.
  connect(m_pList, &CKpLineStylePickerList::selChange, this,
          &CKpLineStylePickerDlg::OnSelchangeLslLinestylePicker);
  connect(m_pList, &CKpLineStylePickerList::dblClk, this,
          [this](int) { OnDblclkLslLinestylePicker(); });
  connect(m_pUpButton, &QToolButton::clicked, this, &CKpLineStylePickerDlg::OnLslGototop);
  connect(m_pPicker, &CKpLineStylePicker::groupChanged, this,
          [this](quintptr w, long l) { OnChangeGroupPicker(w, l); });
  connect(m_pFindID, qOverload<int>(&QComboBox::activated), this,
          [this](int) { OnSelchangeFindID(); });
  connect(m_pFindName, qOverload<int>(&QComboBox::activated), this,
          [this](int) { OnSelchangeFindName(); });
  connect(m_pWidthEdit, &QLineEdit::textChanged, this, &CKpLineStylePickerDlg::OnChangeWidth);
  connect(m_pWidthSpin, &QScrollBar::valueChanged, this, [this](int v) {
    // The spin's buddy: the edit shows the spin's value, 0 included.
    m_pWidthEdit->setText(QString::number(v));
  });
  connect(m_pColor, &CKpButtonColorPicker::selEndOk, this,
          [this](long w, long l) { OnSelEndOkColor(w, l); });
  connect(m_pOk, &QPushButton::clicked, this, &CKpLineStylePickerDlg::OnOK);
  connect(m_pCancel, &QPushButton::clicked, this, &CKpLineStylePickerDlg::OnCancel);
  connect(m_pEditLib, &QPushButton::clicked, this, &CKpLineStylePickerDlg::OnLslPickerEditlib);

  // Enter in the list and in the find boxes' edit fields is handled here.
  m_pList->installEventFilter(this);
  m_pPicker->installEventFilter(this);
  m_pFindID->lineEdit()->installEventFilter(this);
  m_pFindName->lineEdit()->installEventFilter(this);
}

// --- accessors ---------------------------------------------------------------

void CKpLineStylePickerDlg::AttachLineStyleLib(CKpLineStyleLib* lib) {
  m_pLineStyleLib = lib;
  m_pRootGroup = lib != nullptr ? lib->GetRootGroup() : nullptr;
  m_pCurGroup = m_pRootGroup;
}

void CKpLineStylePickerDlg::SetCurSelWidth(long width) {
  m_nCurSelWidth = width;
  if (m_bInitDone) {
    const QSignalBlocker block(m_pWidthSpin);
    m_pWidthEdit->setText(QString::number(width));
  }
}

void CKpLineStylePickerDlg::SetCurSelColor(long color) {
  m_nCurSelColor = color;
  m_pColor->SetColor(static_cast<COLORREF>(color));
}

long CKpLineStylePickerDlg::GetCurSelColor() const { return static_cast<long>(m_pColor->GetColor()); }

void CKpLineStylePickerDlg::SetStyle(const CKpGeoStyle& style) {
  m_GeoStyle = style;
  m_nCurSelStyle = style.m_nLineStyle;
  SetCurSelWidth(style.m_nLineWidth);
  SetCurSelColor(static_cast<long>(style.m_clrLine));
}

CKpGeoStyle CKpLineStylePickerDlg::GetStyle() {
  m_GeoStyle.m_clrLine = static_cast<COLORREF>(GetCurSelColor());
  m_GeoStyle.m_nLineStyle = m_nCurSelStyle;
  m_GeoStyle.m_nLineWidth = m_nCurSelWidth;
  return m_GeoStyle;
}

// --- cells -------------------------------------------------------------------

CKpLineStylePickerDlg::CellKind CKpLineStylePickerDlg::GetCellKind(long index, long* value) const {
  long v = -1;
  const int kind = CKpLineStylePickerList::CellKindOf(m_pCurGroup, static_cast<int>(index), v);
  if (value != nullptr) *value = v;
  switch (kind) {
    case CKpLineStylePickerList::CellGroup:
      return CellGroup;
    case CKpLineStylePickerList::CellPen:
      return CellPen;
    case CKpLineStylePickerList::CellStyle:
      return CellStyle;
    default:
      return CellNone;
  }
}

long CKpLineStylePickerDlg::GetCurSelCell() const { return m_pList->GetCurSel(); }

// --- set-up ------------------------------------------------------------------

bool CKpLineStylePickerDlg::OnInitDialog() {
  if (m_pLineStyleLib == nullptr || m_pRootGroup == nullptr) return false;
  if (m_bInitDone) return true;
  m_bInitDone = true;

  // Cell size from the list's client area: three columns and about three
  // and a half rows. The dialog is not laid out yet, so the client area is
  // taken from the list's fixed size less its frame and its scroll bar.
  const QRect contents = m_pList->contentsRect();
  const int scrollBar = m_pList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                       m_pList->verticalScrollBar());
  const QSize client(contents.width() - scrollBar, contents.height());
  m_pList->SetColumnWidth(client.width() / 3 + 1);
  m_pList->SetItemHeight(client.height() * 2 / 7 + 1);

  m_pList->AttachLineStyleLib(m_pLineStyleLib);
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
  }
  m_pPicker->AttachStyleGroup(m_pRootGroup);
  m_pPicker->Init(m_pPicker->width(), kDroppedTreeHeight);

  {
    const QSignalBlocker blockSpin(m_pWidthSpin);
    const QSignalBlocker blockEdit(m_pWidthEdit);
    m_pWidthSpin->setValue(static_cast<int>(std::clamp(m_nCurSelWidth, 0L, kMaxWidth)));
    m_pWidthEdit->SetRange(1, kMaxWidth);
    m_pWidthEdit->SetValue(m_nCurSelWidth);
    m_pWidthEdit->setText(QString::number(m_nCurSelWidth));
  }
  m_pColor->SetColor(static_cast<COLORREF>(m_nCurSelColor));

  m_pUpButton->SetIcon(kp::ui::UpLevelIcon(), QSize(32, 32));
  m_pUpButton->SetToolTipText(QStringLiteral("向上一级"));

  long cell = -1;
  if (m_nCurSelStyle >= 0) {
    CKpLineStyleGroup* owner = m_pRootGroup->GetGroupWithItemID(m_nCurSelStyle);
    const long subs = m_pRootGroup->GetSubGroupCount();
    if (owner != nullptr && owner != m_pRootGroup) {
      SetCurGroup(owner);
      cell = owner->GetSubGroupCount() + owner->GetItemIndex(m_nCurSelStyle);
    } else {
      FillFindBoxes();
      if (m_nCurSelStyle > 5) {
        const long item = m_pRootGroup->GetItemIndex(m_nCurSelStyle);
        if (item >= 0) cell = subs + CKpLineStylePickerList::kPenCount + item;
      } else {
        cell = subs + m_nCurSelStyle;
      }
    }
  } else {
    FillFindBoxes();
  }
  if (cell >= 0) {
    const QSignalBlocker block(m_pList);
    m_pList->SetCurSel(static_cast<int>(cell));
    m_nLastSel = cell;
  }
  EnableOptions(cell >= 0 && GetCellKind(cell) != CellGroup);
  OnDrawDemo();
  return true;
}

void CKpLineStylePickerDlg::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitDone && !OnInitDialog())
    QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
}

// --- helpers -----------------------------------------------------------------

bool CKpLineStylePickerDlg::IsGroupOfLibrary(quintptr address) const {
  if (address == 0 || m_pLineStyleLib == nullptr) return false;
  // Walk the library's own tree; the address is only ever compared.
  std::vector<const CKpLineStyleGroup*> stack;
  if (const CKpLineStyleGroup* root = m_pLineStyleLib->GetRootGroup()) stack.push_back(root);
  while (!stack.empty()) {
    const CKpLineStyleGroup* g = stack.back();
    stack.pop_back();
    if (reinterpret_cast<quintptr>(g) == address) return true;
    for (long i = 0; i < g->GetSubGroupCount(); ++i) stack.push_back(g->SubGroup(i));
  }
  return false;
}

void CKpLineStylePickerDlg::SetCurGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(group);
    m_pList->SetCurSel(-1);
  }
  m_nLastSel = -1;
  m_pPicker->ReAttachStyleGroup(group);
  FillFindBoxes();
}

void CKpLineStylePickerDlg::FillFindBoxes() {
  const QSignalBlocker blockID(m_pFindID);
  const QSignalBlocker blockName(m_pFindName);
  m_pFindID->clear();
  m_pFindName->clear();
  if (m_pCurGroup == nullptr) return;
  for (long i = 0; i < m_pCurGroup->GetItemCount(); ++i) {
    m_pFindID->addItem(QString::number(m_pCurGroup->GetItemID(i)));
    m_pFindName->addItem(QString::fromStdString(m_pCurGroup->GetItemName(i)));
  }
  m_pFindID->setCurrentIndex(-1);
  m_pFindName->setCurrentIndex(-1);
  m_pFindID->setEditText(QString());
  m_pFindName->setEditText(QString());
}

void CKpLineStylePickerDlg::SetFindTexts(const QString& id, const QString& name) {
  const QSignalBlocker blockID(m_pFindID);
  const QSignalBlocker blockName(m_pFindName);
  m_pFindID->setEditText(id);
  m_pFindName->setEditText(name);
}

void CKpLineStylePickerDlg::ClearFindBoxes() {
  SetFindTexts(QString(), QString());
  m_strGroupName.clear();
  m_pGroupName->clear();
}

void CKpLineStylePickerDlg::EnableOptions(bool on) {
  m_pColor->setEnabled(on);
  m_pWidthEdit->setEnabled(on);
  m_pWidthSpin->setEnabled(on);
}

void CKpLineStylePickerDlg::SelectCell(long index) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->SetCurSel(static_cast<int>(index));
  }
  OnSelchangeLslLinestylePicker();
}

// --- handlers ----------------------------------------------------------------

void CKpLineStylePickerDlg::OnSelchangeLslLinestylePicker() {
  const long cell = m_pList->GetCurSel();
  // The list draws the highlight only on full repaints: repaint both cells.
  const auto repaint = [this](long i) {
    if (i >= 0 && i < m_pList->GetCount())
      m_pList->update(m_pList->model()->index(static_cast<int>(i), 0));
  };
  repaint(m_nLastSel);
  repaint(cell);
  m_nLastSel = cell;

  long value = -1;
  const CellKind kind = GetCellKind(cell, &value);
  if (kind == CellPen || kind == CellStyle) {
    m_nCurSelStyle = value;
    EnableOptions(true);
  } else {
    EnableOptions(false);
  }
  OnDrawDemo();
}

void CKpLineStylePickerDlg::OnDblclkLslLinestylePicker() {
  const long cell = m_pList->GetCurSel();
  long value = -1;
  switch (GetCellKind(cell, &value)) {
    case CellGroup:
      SetCurGroup(m_pCurGroup->SubGroup(value));
      EnableOptions(false);
      m_nCurSelStyle = -1;
      OnDrawDemo();
      break;
    case CellStyle:
      m_nCurSelStyle = value;
      break;
    case CellPen:
      m_nCurSelStyle = value;
      SetCurSelColor(0);
      SetCurSelWidth(1);
      OnDrawDemo();
      break;
    case CellNone:
      break;
  }
}

void CKpLineStylePickerDlg::OnLslGototop() {
  if (m_pCurGroup == nullptr || m_pCurGroup->GetParentGroup() == nullptr) return;
  SetCurGroup(m_pCurGroup->GetParentGroup());
  m_strGroupName.clear();
  m_pGroupName->clear();
  EnableOptions(false);
  m_nCurSelStyle = -1;
  OnDrawDemo();
}

long CKpLineStylePickerDlg::OnChangeGroupPicker(quintptr wparam, long lparam) {
  (void)lparam;
  if (wparam == 0 || wparam == reinterpret_cast<quintptr>(m_pCurGroup)) return 1;
  if (!IsGroupOfLibrary(wparam)) return 1;
  SetCurGroup(reinterpret_cast<CKpLineStyleGroup*>(wparam));
  m_strGroupName.clear();
  m_pGroupName->clear();
  EnableOptions(false);
  m_nCurSelStyle = -1;
  OnDrawDemo();
  return 1;
}

void CKpLineStylePickerDlg::OnSelchangeFindID() {
  if (m_pCurGroup == nullptr) return;
  bool ok = false;
  const long id = m_pFindID->currentText().trimmed().toLong(&ok, 10);
  if (!ok || id < 0) return;

  CKpLineStyleGroup* owner = m_pCurGroup->GetGroupWithItemID(id);
  if (owner != nullptr && owner != m_pCurGroup) SetCurGroup(owner);
  // The built-in pens live in the root group.
  if (id <= 5 && m_pCurGroup != m_pRootGroup) SetCurGroup(m_pRootGroup);

  long index = id;
  if (id > 5) {
    index = m_pCurGroup->GetItemIndex(id);
    if (index >= 0 && m_pCurGroup->GetParentGroup() == nullptr)
      index += CKpLineStylePickerList::kPenCount;
  }
  if (index >= 0) {
    SelectCell(m_pCurGroup->GetSubGroupCount() + index);
  } else {
    SelectCell(-1);
  }
  if (m_pList->GetCurSel() < 0) ClearFindBoxes();
}

void CKpLineStylePickerDlg::OnSelchangeFindName() {
  if (m_pCurGroup == nullptr) return;
  const QString text = m_pFindName->currentText();
  if (text.isEmpty()) return;
  const long subs = m_pCurGroup->GetSubGroupCount();
  const long pens = m_pCurGroup->GetParentGroup() == nullptr ? CKpLineStylePickerList::kPenCount : 0;

  // Start after the selected style; from the first style otherwise.
  long start = 0;
  long value = -1;
  const long cell = m_pList->GetCurSel();
  if (GetCellKind(cell, &value) == CellStyle) start = cell - subs - pens + 1;

  const long item = m_pCurGroup->GetItemIndex(text.toStdString(), start);
  if (item >= 0) {
    SelectCell(subs + pens + item);
  } else {
    ClearFindBoxes();
  }
}

void CKpLineStylePickerDlg::OnChangeWidth() {
  const long width = m_pWidthEdit->text().trimmed().toLong();
  m_nCurSelWidth = width;
  {
    const QSignalBlocker block(m_pWidthSpin);
    m_pWidthSpin->setValue(static_cast<int>(std::clamp(width, 0L, kMaxWidth)));
  }
  if (width >= 1 && width <= kMaxWidth) OnDrawDemo();
}

long CKpLineStylePickerDlg::OnSelEndOkColor(long wparam, long lparam) {
  (void)wparam;
  (void)lparam;
  const CellKind kind = GetCellKind(m_pList->GetCurSel());
  if (kind == CellPen || kind == CellStyle) OnDrawDemo();
  return 1;
}

void CKpLineStylePickerDlg::OnLslPickerEditlib() {
  if (m_pLineStyleLib == nullptr) return;
  // The editor may replace the whole group tree (open, new, default load,
  // deleted groups): nothing here may keep pointing into it meanwhile.
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(nullptr);
  }
  m_pPicker->ReAttachStyleGroup(nullptr);
  m_pPicker->AttachStyleGroup(nullptr);
  m_pCurGroup = nullptr;
  m_nLastSel = -1;

  {
    CKpLineStyleLibDlg editor(this);
    editor.AttachLineStyleLib(m_pLineStyleLib);
    editor.DoModal();
  }

  m_pRootGroup = m_pLineStyleLib->GetRootGroup();
  m_pPicker->AttachStyleGroup(m_pRootGroup);
  m_pPicker->Init(m_pPicker->width(), kDroppedTreeHeight);
  CKpLineStyleGroup* owner = m_nCurSelStyle >= 0 ? m_pRootGroup->GetGroupWithItemID(m_nCurSelStyle) : nullptr;
  SetCurGroup(owner != nullptr ? owner : m_pRootGroup);
  EnableOptions(true);

  // The chosen style's cell, when the style (or pen) is still there.
  long cell = -1;
  const long subs = m_pCurGroup->GetSubGroupCount();
  if (owner != nullptr && owner != m_pRootGroup) {
    cell = subs + owner->GetItemIndex(m_nCurSelStyle);
  } else if (m_nCurSelStyle > 5) {
    const long item = m_pRootGroup->GetItemIndex(m_nCurSelStyle);
    if (item >= 0) cell = subs + CKpLineStylePickerList::kPenCount + item;
  } else if (m_nCurSelStyle >= 0) {
    cell = subs + m_nCurSelStyle;
  }
  if (cell >= 0) {
    SelectCell(cell);
  } else {
    m_nCurSelStyle = -1;
    ClearFindBoxes();
    OnDrawDemo();
  }
}

void CKpLineStylePickerDlg::OnOK() {
  m_nCurSelColor = GetCurSelColor();
  m_GeoStyle.m_nLineStyle = m_nCurSelStyle;
  m_GeoStyle.m_nLineWidth = m_nCurSelWidth;
  m_GeoStyle.m_clrLine = static_cast<COLORREF>(m_nCurSelColor);
  EndDialog(IDOK);
}

void CKpLineStylePickerDlg::OnCancel() { EndDialog(IDCANCEL); }

void CKpLineStylePickerDlg::DropGroupTree() {
  if (!m_pPicker->GetDroppedState()) m_pPicker->DisplayTree();
}

// --- keyboard ----------------------------------------------------------------

void CKpLineStylePickerDlg::keyPressEvent(QKeyEvent* event) {
  // Enter never ends the dialog; Escape cancels as usual.
  if (kp::ui::IsEnterKey(event)) {
    event->accept();
    return;
  }
  CKpDialog::keyPressEvent(event);
}

bool CKpLineStylePickerDlg::eventFilter(QObject* watched, QEvent* event) {
  // The tree drops down as wide as the selector, whatever the layout made it.
  if (watched == m_pPicker && event->type() == QEvent::Resize && m_bInitDone)
    m_pPicker->SetDroppedWidth(m_pPicker->width());
  if (kp::ui::IsEnterKey(event)) {
    if (watched == m_pList) {
      OnDblclkLslLinestylePicker();
      return true;
    }
    if (watched == m_pFindID->lineEdit()) {
      OnSelchangeFindID();
      return true;
    }
    if (watched == m_pFindName->lineEdit()) {
      OnSelchangeFindName();
      return true;
    }
  }
  return CKpDialog::eventFilter(watched, event);
}

// --- preview -----------------------------------------------------------------

void CKpLineStylePickerDlg::OnDrawDemo() {
  long value = -1;
  const CellKind kind = GetCellKind(m_pList->GetCurSel(), &value);
  switch (kind) {
    case CellGroup: {
      const CKpLineStyleGroup* sub = m_pCurGroup->SubGroup(value);
      SetFindTexts(QString(), sub != nullptr ? QString::fromStdString(sub->GetName()) : QString());
      break;
    }
    case CellStyle: {
      const long index = m_pLineStyleLib->FindID(value);
      const QString name =
          index >= 0 ? QString::fromStdString(m_pLineStyleLib->GetStyleObj(index).GetName()) : QString();
      SetFindTexts(QString::number(value), name);
      break;
    }
    case CellPen:
      SetFindTexts(QString::number(value), QStringLiteral("Win32 System"));
      break;
    case CellNone:
      break;
  }
  if (m_pCurGroup != nullptr) {
    m_strGroupName = m_pCurGroup->GetName();
    m_pGroupName->setText(QString::fromStdString(m_strGroupName));
  }
  m_Demo.kind = kind;
  m_Demo.value = value;
  m_Demo.width = m_nCurSelWidth;
  m_Demo.color = GetCurSelColor();
  m_pPreview->update();
}

void CKpLineStylePickerDlg::DrawDemo(CDC* dc, const CRect& client) {
  CRect rect;
  const int oldMode =
      kp::ui::BeginDemoFrame(*dc, client, kp::ui::ToColorRef(palette().color(QPalette::Button)), rect);

  POINT pts[2] = {{rect.left + 20, rect.bottom / 2}, {rect.right - 20, rect.bottom / 2}};
  const long width = m_Demo.width;
  const COLORREF color = static_cast<COLORREF>(m_Demo.color);

  if (m_Demo.kind == CellStyle && m_pLineStyleLib != nullptr) {
    const long index = m_pLineStyleLib->FindID(m_Demo.value);
    if (index >= 0) {
      CKpLineStyleObj style(m_pLineStyleLib->GetStyleObj(index));
      style.SetColor(static_cast<long>(color));
      if (width >= 1 && width <= kMaxWidth) style.SetWidth(width);
      gLineStyleEngine.KeepDC(dc);
      gLineStyleEngine.SetClearSawtooth(1);
      style.Polyline(pts, 2);
      gLineStyleEngine.SetClearSawtooth(0);
      gLineStyleEngine.RestoreDC();
    }
  } else if (m_Demo.kind == CellPen && m_Demo.value >= 0 && m_Demo.value < PS_NULL) {
    CPen pen;
    pen.CreatePen(static_cast<int>(m_Demo.value), (width < 1 || width > kMaxWidth) ? 1 : static_cast<int>(width),
                  color);
    CPen* oldPen = dc->SelectObject(&pen);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    gLineStyleEngine.KeepDC(dc);
    gLineStyleEngine.SetClearSawtooth(1);
    gLineStyleEngine.Polyline(pts, 2);
    gLineStyleEngine.SetClearSawtooth(0);
    gLineStyleEngine.RestoreDC();
    dc->SetBkMode(oldBk);
    dc->SelectObject(oldPen);
  }
  dc->SetMapMode(oldMode);
}
