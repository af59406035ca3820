#include "ui/CDlgLineSel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "model/CKpLineStyleGroup.h"
#include "module/KpStringTable.h"
#include "platform/KpString.h"
#include "ui/CDlgCLineEdit.h"
#include "ui/CDlgStyleMan.h"
#include "ui/CListLineSel.h"
#include "ui/KpDialogForms.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"
#include "ui/controls/CKpButtonDecoratePicker.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

const QString kFileFilter = QStringLiteral("线型库 (*.lsl)");
const QString kFileSuffix = QStringLiteral("lsl");
const char kNewStyleName[] = "New Line";
const QString kDecorationTip =
    QStringLiteral("经典线型没有修饰数据：修饰（箭头、节点、符号）请在“线型库编辑器”中编辑。");

struct ButtonSpec {
  const char* label;
  const char* tip;
};
// The top row, in CDlgLineSel::Button order.
constexpr ButtonSpec kButtons[CDlgLineSel::BtnCount] = {
    {"Open", "加载外部线型库"}, {"Save", "导出外部线型库"}, {"输入", "加载系统缺省库"},
    {"新建", "新建线型"},       {"编辑", "编辑线型"},       {"删除", "删除线型"},
    {"|<", "移动到最上面"},     {"<", "移动到上一个"},      {">", "移动到下一个"},
    {">|", "移动到最下面"},     {"退出", ""},               {"查找", ""},
};

// A focus loss inside the dialog; switching windows or opening a menu is none.
bool IsFocusLeaving(const QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Gives the focus back to an edit that is losing it. The focus change under
// way would win over an immediate setFocus, so it is given once that is over.
void FocusBack(QLineEdit* edit) {
  QTimer::singleShot(0, edit, [edit] {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
  });
}

// A decimal number that fits a style ID; false for anything else.
bool ReadStyleID(const QString& text, long& out) {
  bool ok = false;
  const qlonglong v = text.trimmed().toLongLong(&ok, 10);
  if (!ok || v < INT_MIN || v > INT_MAX) return false;
  out = static_cast<long>(v);
  return true;
}

// Copies a library without touching the source's modified flag (a copy
// goes through the writer, which clears it).
void CopyLibrary(CKpLineStyleLib& to, CKpLineStyleLib& from) {
  const BOOL modified = from.IsModified();
  to = from;
  from.SetModifiedFlag(modified);
}

bool EndsWithLsl(const CString& path) {
  return path.size() >= 4 && kp::CompareNoCase(path.substr(path.size() - 4), ".lsl") == 0;
}

}  // namespace

// --- construction ------------------------------------------------------------

CDlgLineSel::CDlgLineSel(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("Tessary 线型库编辑器"));
  CreateControls();
  ConnectControls();
}

CDlgLineSel::~CDlgLineSel() { kp::ui::DetachChildren(this); }

void CDlgLineSel::AttachLineStyleLib(CKpLineStyleLib* lib) {
  m_pHostLib = lib;
  if (m_bInitDone) {
    CopyFromHost();
    Refresh(-1);
  }
}

void CDlgLineSel::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  outer->addWidget(CreateButtonRow());

  auto* body = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("线型列表:"), this));
  m_pList = new CListLineSel(this);
  m_pList->setFixedSize(400, 330);
  left->addWidget(m_pList);
  body->addLayout(left);
  auto* right = new QVBoxLayout;
  right->addWidget(CreatePropertyBox());
  right->addWidget(CreateDecorationBox());
  right->addStretch(1);
  body->addLayout(right);
  outer->addLayout(body);
  outer->addWidget(CreateFindBox());

  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch(1);
  m_pOk = new QPushButton(QStringLiteral("确定"), this);
  m_pCancel = new QPushButton(QStringLiteral("取消"), this);
  for (QPushButton* b : {m_pOk, m_pCancel}) {
    b->setAutoDefault(false);
    closeRow->addWidget(b);
  }
  outer->addLayout(closeRow);

  m_pHiddenDefault = kp::ui::AddHiddenDefault(this);
}

QWidget* CDlgLineSel::CreateButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (int i = 0; i < BtnCount; ++i) {
    auto* button = new QToolButton(row);
    button->setText(QString::fromUtf8(kButtons[i].label));
    button->setToolTip(QString::fromUtf8(kButtons[i].tip));
    button->setMinimumWidth(30);
    button->setFocusPolicy(Qt::TabFocus);
    m_pButtons[i] = button;
    layout->addWidget(button);
    // Gaps between the file, style and moving groups.
    if (i == BtnImport || i == BtnDelete) layout->addSpacing(8);
  }
  m_pButtons[BtnExit]->hide();
  m_pButtons[BtnFind]->hide();
  layout->addStretch(1);
  return row;
}

QWidget* CDlgLineSel::CreatePropertyBox() {
  auto* box = new QGroupBox(QStringLiteral("属性"), this);
  auto* grid = new QGridLayout(box);
  m_pIDEdit = new QLineEdit(box);
  m_pIDEdit->setValidator(new QIntValidator(0, INT_MAX, m_pIDEdit));
  m_pIDEdit->setFixedWidth(90);
  m_pIDSpin = kp::ui::MakeSpin(box, 0, kMaxSpinID, m_pIDEdit->sizeHint().height());
  m_pIndexEdit = new QLineEdit(box);
  m_pIndexEdit->setReadOnly(true);
  m_pIndexEdit->setFixedWidth(90);
  m_pNameEdit = new QLineEdit(box);
  m_pNameEdit->setMinimumWidth(150);
  grid->addWidget(new QLabel(QStringLiteral("编号:"), box), 0, 0);
  grid->addLayout(kp::ui::EditRow(m_pIDEdit, m_pIDSpin), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("索引:"), box), 1, 0);
  grid->addWidget(m_pIndexEdit, 1, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("名称:"), box), 2, 0);
  grid->addWidget(m_pNameEdit, 2, 1);
  return box;
}

QWidget* CDlgLineSel::CreateDecorationBox() {
  m_pDecorationBox = new QGroupBox(QStringLiteral("修饰"), this);
  auto* grid = new QGridLayout(m_pDecorationBox);
  m_pShape = new CKpButtonDecoratePicker(m_pDecorationBox);
  m_pPosition = new QComboBox(m_pDecorationBox);
  for (int i = 0; i < 5; ++i) m_pPosition->addItem(kp::ui::Text(kp::KP_IDS_POSITION_FIRST + i));
  m_pPosition->setCurrentIndex(-1);
  m_pHeightEdit = kp::ui::MakeNumEdit(m_pDecorationBox, 0, kMaxDecorateSize, 60);
  m_pWidthEdit = kp::ui::MakeNumEdit(m_pDecorationBox, 0, kMaxDecorateSize, 60);
  const int h = m_pHeightEdit->sizeHint().height();
  m_pHeightSpin = kp::ui::MakeSpin(m_pDecorationBox, 0, kMaxDecorateSize, h);
  m_pWidthSpin = kp::ui::MakeSpin(m_pDecorationBox, 0, kMaxDecorateSize, h);
  m_pLock = new QCheckBox(QStringLiteral("锁定纵横比"), m_pDecorationBox);
  grid->addWidget(new QLabel(QStringLiteral("形状:"), m_pDecorationBox), 0, 0);
  grid->addWidget(m_pShape, 0, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("位置:"), m_pDecorationBox), 1, 0);
  grid->addWidget(m_pPosition, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("高度:"), m_pDecorationBox), 2, 0);
  grid->addLayout(kp::ui::EditRow(m_pHeightEdit, m_pHeightSpin), 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("宽度:"), m_pDecorationBox), 3, 0);
  grid->addLayout(kp::ui::EditRow(m_pWidthEdit, m_pWidthSpin), 3, 1);
  grid->addWidget(m_pLock, 4, 0, 1, 2);
  // The classic styles carry no decoration values: what the panel shows
  // could not be stored, so it takes no input at all.
  m_pDecorationBox->setEnabled(false);
  m_pDecorationBox->setToolTip(kDecorationTip);
  return m_pDecorationBox;
}

QWidget* CDlgLineSel::CreateFindBox() {
  auto* box = new QGroupBox(QStringLiteral("查找"), this);
  auto* row = new QHBoxLayout(box);
  m_pFindName = new QComboBox(box);
  m_pFindID = new QComboBox(box);
  for (QComboBox* combo : {m_pFindName, m_pFindID}) kp::ui::SetUpFindBox(combo);
  m_pFindName->setMinimumWidth(160);
  m_pFindID->setMinimumWidth(100);
  m_pFindNameButton = new QPushButton(QStringLiteral("查找"), box);
  m_pFindIDButton = new QPushButton(QStringLiteral("Go"), box);
  for (QPushButton* b : {m_pFindNameButton, m_pFindIDButton}) b->setAutoDefault(false);
  row->addWidget(new QLabel(QStringLiteral("线型名称:"), box));
  row->addWidget(m_pFindName, 1);
  row->addWidget(m_pFindNameButton);
  row->addSpacing(12);
  row->addWidget(new QLabel(QStringLiteral("线型编号："), box));
  row->addWidget(m_pFindID);
  row->addWidget(m_pFindIDButton);
  return box;
}

void CDlgLineSel::ConnectControls() {
  using Handler = void (CDlgLineSel::*)();
  const Handler handlers[BtnCount] = {
      &CDlgLineSel::OnButtonOpen,   nullptr,                       &CDlgLineSel::OnButtonImport,
      &CDlgLineSel::OnButtonNew,    &CDlgLineSel::OnButtonEdit,    &CDlgLineSel::OnButtonDelete,
      &CDlgLineSel::OnButtonTop,    &CDlgLineSel::OnButtonUp,      &CDlgLineSel::OnButtonDown,
      &CDlgLineSel::OnButtonBottom, nullptr,                       &CDlgLineSel::OnFindName,
  };
  for (int i = 0; i < BtnCount; ++i) {
    if (handlers[i]) connect(m_pButtons[i], &QAbstractButton::clicked, this, handlers[i]);
  }
  connect(m_pButtons[BtnSave], &QAbstractButton::clicked, this, [this] { OnButtonSave(); });
  connect(m_pButtons[BtnExit], &QAbstractButton::clicked, this, [this] { OnExit(); });
  connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_pCancel, &QPushButton::clicked, this, &CDlgLineSel::reject);

  connect(m_pList, &CListLineSel::selChange, this, &CDlgLineSel::OnSelchangeListLine);
  connect(m_pList, &CListLineSel::dblClk, this, [this](int) { OnButtonEdit(); });
  connect(m_pFindNameButton, &QPushButton::clicked, this, &CDlgLineSel::OnFindName);
  connect(m_pFindIDButton, &QPushButton::clicked, this, &CDlgLineSel::OnFindID);
  connect(m_pFindName, qOverload<int>(&QComboBox::activated), this, [this](int) { OnFindName(); });
  connect(m_pFindID, qOverload<int>(&QComboBox::activated), this, [this](int) { OnFindID(); });

  // The spin writes the ID box, which applies it when it loses the focus.
  connect(m_pIDSpin, &QScrollBar::valueChanged, this, [this](int v) {
    m_pIDEdit->setText(QString::number(v));
    m_pIDEdit->setFocus(Qt::OtherFocusReason);
  });
  const auto buddy = [](QScrollBar* spin, CKpNumEdit* edit) {
    connect(spin, &QScrollBar::valueChanged, edit, [edit](int v) { edit->SetValue(v); });
    connect(edit, &CKpNumEdit::valueChanged, spin, [spin](long v) {
      const QSignalBlocker block(spin);
      spin->setValue(static_cast<int>(v));
    });
  };
  buddy(m_pHeightSpin, m_pHeightEdit);
  buddy(m_pWidthSpin, m_pWidthEdit);

  for (QObject* o : {static_cast<QObject*>(m_pIDEdit), static_cast<QObject*>(m_pNameEdit),
                     static_cast<QObject*>(m_pFindName->lineEdit()), static_cast<QObject*>(m_pFindID->lineEdit())})
    o->installEventFilter(this);
}

// --- set-up ------------------------------------------------------------------

bool CDlgLineSel::OnInitDialog() {
  if (m_bInitDone) return true;
  m_bInitDone = true;
  CopyFromHost();
  m_pList->AttachLineStyleLib(&m_LineStyleLib);
  Refresh(-1);
  return true;
}

void CDlgLineSel::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitDone) OnInitDialog();
}

void CDlgLineSel::CopyFromHost() {
  if (m_pHostLib && m_pHostLib != &m_LineStyleLib) CopyLibrary(m_LineStyleLib, *m_pHostLib);
  // The copy is the host's content: nothing to export yet.
  m_LineStyleLib.SetModifiedFlag(FALSE);
  m_bChanged = false;
}

void CDlgLineSel::Refresh(long index) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->InitContent();
  }
  FillFindBoxes();
  SelectRow(index);
}

void CDlgLineSel::SelectRow(long index) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->SetCurSel(index);
  }
  OnSelchangeListLine();
}

void CDlgLineSel::FillFindBoxes() {
  const QSignalBlocker blockName(m_pFindName);
  const QSignalBlocker blockID(m_pFindID);
  m_pFindName->clear();
  m_pFindID->clear();
  std::vector<long> ids;
  for (long i = 0; i < m_LineStyleLib.Count(); ++i) {
    const CKpLineStyleObj& style = m_LineStyleLib.GetStyleObj(i);
    m_pFindName->addItem(QString::fromStdString(style.GetName()));
    ids.push_back(style.GetID());
  }
  std::sort(ids.begin(), ids.end());
  for (long id : ids) m_pFindID->addItem(QString::number(id));
  m_pFindName->setCurrentIndex(-1);
  m_pFindID->setCurrentIndex(-1);
}

void CDlgLineSel::MarkChanged() {
  m_bChanged = true;
  m_LineStyleLib.SetModifiedFlag(TRUE);
}

void CDlgLineSel::ShowStyleID(long id) {
  m_pIDEdit->setText(QString::number(id));
  const QSignalBlocker block(m_pIDSpin);
  m_pIDSpin->setValue(static_cast<int>(std::clamp<long>(id, 0, kMaxSpinID)));
}

long CDlgLineSel::OtherWithID(long id, long self) const {
  for (long i = 0; i < m_LineStyleLib.Count(); ++i)
    if (i != self && m_LineStyleLib.GetIDAt(i) == id) return i;
  return -1;
}

long CDlgLineSel::OtherWithName(const CString& name, long self) const {
  for (long i = 0; i < m_LineStyleLib.Count(); ++i)
    if (i != self && kp::CompareNoCase(m_LineStyleLib.GetStyleObj(i).GetName(), name) == 0) return i;
  return -1;
}

long CDlgLineSel::NewStyleID() const {
  const long count = m_LineStyleLib.Count();
  if (count == 0) return kFirstStyleID;
  const long last = m_LineStyleLib.GetIDAt(count - 1);
  // The last style's successor may be taken by an earlier style (or be a
  // system pen's number): then the first number above every ID.
  if (last < INT_MAX && last + 1 >= kFirstStyleID && !m_LineStyleLib.IsIDExisted(last + 1)) return last + 1;
  return m_LineStyleLib.GetLeagalID() + 1;
}

// --- selection and properties ------------------------------------------------

void CDlgLineSel::OnSelchangeListLine() {
  const long sel = m_pList->GetCurSel();
  const bool has = sel >= 0 && sel < m_LineStyleLib.Count();
  for (QWidget* w : {static_cast<QWidget*>(m_pIDEdit), static_cast<QWidget*>(m_pIDSpin),
                     static_cast<QWidget*>(m_pNameEdit)})
    w->setEnabled(has);
  // The decoration values of a classic style: none (see the panel's tooltip).
  m_pShape->SetCurSel(0);
  m_pPosition->setCurrentIndex(-1);
  m_pHeightEdit->SetValue(0);
  m_pWidthEdit->SetValue(has ? m_LineStyleLib.GetStyleObj(sel).GetExtendedWidth() : 0);
  if (!has) {
    m_pIDEdit->clear();
    m_pIndexEdit->clear();
    m_pNameEdit->clear();
    return;
  }
  const CKpLineStyleObj& style = m_LineStyleLib.GetStyleObj(sel);
  ShowStyleID(style.GetID());
  m_pIndexEdit->setText(QString::number(sel));
  m_pNameEdit->setText(QString::fromStdString(style.GetName()));
  m_pList->viewport()->update();
}

void CDlgLineSel::OnKillfocusEditID() {
  const long sel = m_pList->GetCurSel();
  if (sel < 0 || sel >= m_LineStyleLib.Count()) return;
  CKpLineStyleObj& style = m_LineStyleLib.GetStyleObj(sel);
  long id = 0;
  if (!ReadStyleID(m_pIDEdit->text(), id)) {
    ShowStyleID(style.GetID());
    return;
  }
  if (id == style.GetID()) return;
  if (id < kFirstStyleID) {
    // Numbers below 6 belong to the system pens.
    id = m_LineStyleLib.GetLeagalID() + 1;
  } else if (OtherWithID(id, sel) >= 0) {
    kp::ui::MessageBox(this, kp::ModuleString(kp::KP_IDS_ID_EXISTS));
    FocusBack(m_pIDEdit);
    return;
  }
  const long old = style.GetID();
  style.SetID(id);
  m_LineStyleLib.GetRootGroup()->SetID(old, id);  // the groups keep filing the style
  ShowStyleID(id);
  MarkChanged();
  FillFindBoxes();
  m_pList->viewport()->update();
}

void CDlgLineSel::OnKillfocusEditName() {
  const long sel = m_pList->GetCurSel();
  if (sel < 0 || sel >= m_LineStyleLib.Count()) return;
  CKpLineStyleObj& style = m_LineStyleLib.GetStyleObj(sel);
  CString name = m_pNameEdit->text().toStdString();
  name.resize(kp::Utf8PrefixLength(name, kMaxNameBytes));
  if (QString::fromStdString(name) != m_pNameEdit->text()) m_pNameEdit->setText(QString::fromStdString(name));
  if (name == style.GetName()) return;
  style.SetName(name);
  MarkChanged();
  FillFindBoxes();
  if (OtherWithName(name, sel) >= 0) {
    kp::ui::MessageBox(this, kp::ModuleString(kp::KP_IDS_NAME_EXISTS));
    FocusBack(m_pNameEdit);
  }
}

// --- styles ------------------------------------------------------------------

void CDlgLineSel::OnButtonNew() {
  const long sel = m_pList->GetCurSel();
  CDlgCLineEdit editor(this);
  editor.SetSymbolLib(&m_LineStyleLib.GetSymLib());  // samples of symbol sub-lines
  if (sel >= 0 && sel < m_LineStyleLib.Count()) {
    editor.m_LineStyleObj = m_LineStyleLib.GetStyleObj(sel);
  } else {
    // Asking for the seed line is no change to the library yet.
    const BOOL modified = m_LineStyleLib.IsModified();
    editor.m_LineStyleObj = m_LineStyleLib.CreateSeedLine();
    m_LineStyleLib.SetModifiedFlag(modified);
  }
  if (editor.DoModal() != IDOK) return;
  CKpLineStyleObj style = editor.m_LineStyleObj;
  style.SetID(NewStyleID());
  style.SetName(kNewStyleName);
  m_LineStyleLib.InsertAfter(m_LineStyleLib.Count() - 1, style);
  // Filed in the root group, so that the group-based pickers list it too.
  m_LineStyleLib.GetRootGroup()->AddStyleItem(style.GetID());
  MarkChanged();
  Refresh(m_LineStyleLib.Count() - 1);
}

void CDlgLineSel::OnButtonEdit() {
  const long sel = m_pList->GetCurSel();
  if (sel < 0 || sel >= m_LineStyleLib.Count()) return;
  CDlgCLineEdit editor(this);
  editor.SetSymbolLib(&m_LineStyleLib.GetSymLib());
  editor.m_LineStyleObj = m_LineStyleLib.GetStyleObj(sel);
  if (editor.DoModal() != IDOK) return;
  CKpLineStyleObj edited = editor.m_LineStyleObj;
  edited.SetID(m_LineStyleLib.GetIDAt(sel));  // the style stays filed under its ID
  m_LineStyleLib.SetStyleObj(sel, edited);
  MarkChanged();
  Refresh(sel);
}

void CDlgLineSel::OnButtonDelete() {
  const long sel = m_pList->GetCurSel();
  if (!m_LineStyleLib.RemoveStyleObj(sel)) return;
  MarkChanged();
  Refresh(std::min(sel, m_LineStyleLib.Count() - 1));
}

void CDlgLineSel::MoveSelected(long to) {
  long at = m_pList->GetCurSel();
  const long count = m_LineStyleLib.Count();
  if (at < 0 || at >= count || to < 0 || to >= count || to == at) return;
  while (at > to) at = m_LineStyleLib.GoUp(at);
  while (at < to) at = m_LineStyleLib.GoDown(at);
  MarkChanged();
  Refresh(at);
}

void CDlgLineSel::OnButtonTop() { MoveSelected(0); }
void CDlgLineSel::OnButtonUp() { MoveSelected(m_pList->GetCurSel() - 1); }
void CDlgLineSel::OnButtonDown() {
  const long sel = m_pList->GetCurSel();
  if (sel >= 0) MoveSelected(sel + 1);
}
void CDlgLineSel::OnButtonBottom() { MoveSelected(m_LineStyleLib.Count() - 1); }

// --- finding -----------------------------------------------------------------

void CDlgLineSel::OnFindName() {
  const CString name = m_pFindName->currentText().toStdString();
  if (name.empty()) return;
  const long index = m_LineStyleLib.FindByName(name);
  if (index >= 0) SelectRow(index);
}

void CDlgLineSel::OnFindID() {
  long id = 0;
  if (!ReadStyleID(m_pFindID->currentText(), id)) return;
  // A missing ID selects nothing rather than the first style.
  SelectRow(m_LineStyleLib.FindID(id));
}

// --- files -------------------------------------------------------------------

void CDlgLineSel::OnButtonOpen() {
  const CString path = kp::ui::GetOpenFilePath(this, kFileFilter, kFileSuffix);
  if (!path.empty()) OpenLibraryFile(path);
}

bool CDlgLineSel::OpenLibraryFile(const CString& path) {
  QFile file(QString::fromStdString(path));
  QByteArray bytes;
  bool ok = file.open(QIODevice::ReadOnly) && file.size() <= kMaxFileSize;
  if (ok) {
    // Read one byte past the limit: a file that grew since it was measured
    // is refused as well.
    bytes = file.read(kMaxFileSize + 1);
    ok = file.error() == QFileDevice::NoError && bytes.size() <= kMaxFileSize;
  }
  if (ok) {
    // Read into a scratch library first: the library is replaced only by a
    // whole, valid one.
    CKpByteArrayEx stream;
    stream.Add(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()));
    CKpLineStyleLib scratch;
    ok = scratch.LoadEx(stream) != 0;
    if (ok) {
      CKpByteArrayEx again;
      again.Add(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()));
      m_LineStyleLib.RemoveAll();
      ok = m_LineStyleLib.LoadEx(again) != 0;
    }
  }
  if (!ok) {
    const QString text =
        kp::ui::Text(kp::KP_IDS_HOST_OPEN_FILE_FAILED) + QLatin1Char('\n') + QString::fromStdString(path);
    kp::ui::MessageBox(this, text.toStdString());
    return false;
  }
  // The library is the file's now: nothing to export, but the host's differs.
  m_bChanged = false;
  m_LineStyleLib.SetModifiedFlag(TRUE);
  Refresh(-1);
  return true;
}

bool CDlgLineSel::OnButtonSave() {
  const CString path = kp::ui::GetSavePathName(this, kFileFilter, kFileSuffix);
  return !path.empty() && SaveLibraryFile(path);
}

bool CDlgLineSel::SaveLibraryFile(const CString& path) {
  const CString target = EndsWithLsl(path) ? path : path + ".lsl";
  errno = 0;
  const bool ok = m_LineStyleLib.SaveToFile(target) != 0;
  const int error = errno;
  if (!ok) {
    const QString reason = error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("写入失败。");
    const QString text =
        QStringLiteral("无法保存线型库！\n") + QString::fromStdString(target) + QLatin1Char('\n') + reason;
    kp::ui::MessageBox(this, text.toStdString());
    return false;
  }
  m_bChanged = false;
  // Saving drops unused symbols: the rows are drawn again from what is kept.
  m_pList->viewport()->update();
  return true;
}

void CDlgLineSel::OnButtonImport() {
  CDlgStyleMan manager(this);
  CopyLibrary(manager.m_CurLib, m_LineStyleLib);
  if (manager.DoModal() != IDOK) return;
  CopyLibrary(m_LineStyleLib, manager.m_CurLib);
  MarkChanged();
  Refresh(-1);
}

// --- closing and keys --------------------------------------------------------

bool CDlgLineSel::OnExit() {
  if (m_bChanged) {
    const int answer = kp::ui::MessageBox(this, kp::ModuleString(kp::KP_IDS_EXPORT_CHANGED_LIBRARY),
                                          kp::ui::MsgButtons::YesNo);
    // A save that did not happen (cancelled or failed) keeps the dialog and its work.
    if (answer == kp::ui::IDYES && !OnButtonSave()) return false;
  }
  CKpDialog::reject();
  return true;
}

void CDlgLineSel::reject() { OnExit(); }

void CDlgLineSel::keyPressEvent(QKeyEvent* event) {
  // Enter never ends the dialog; Escape closes through the export question.
  if (kp::ui::IsEnterKey(event)) {
    event->accept();
    return;
  }
  CKpDialog::keyPressEvent(event);
}

bool CDlgLineSel::eventFilter(QObject* watched, QEvent* event) {
  const bool isID = watched == m_pIDEdit;
  const bool isName = watched == m_pNameEdit;
  if ((isID || isName) && (IsFocusLeaving(event) || kp::ui::IsEnterKey(event)) && !m_bInFocusCheck) {
    // The check may show a message, which takes the focus once more.
    m_bInFocusCheck = true;
    if (isID)
      OnKillfocusEditID();
    else
      OnKillfocusEditName();
    m_bInFocusCheck = false;
    if (kp::ui::IsEnterKey(event)) return true;
  } else if (kp::ui::IsEnterKey(event)) {
    if (watched == m_pFindName->lineEdit()) {
      OnFindName();
      return true;
    }
    if (watched == m_pFindID->lineEdit()) {
      OnFindID();
      return true;
    }
  }
  return CKpDialog::eventFilter(watched, event);
}
