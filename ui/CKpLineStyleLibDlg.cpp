#include "ui/CKpLineStyleLibDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "model/CKpLineStyleObj.h"
#include "module/KpStringTable.h"
#include "ui/CKpLineStyleEditorDlg.h"
#include "ui/CKpLineStyleList.h"
#include "ui/CKpLineStyleOptionDlg.h"
#include "ui/CKpLslExtSymButton.h"
#include "ui/CKpLslExtSymPopup.h"
#include "ui/KpDialogForms.h"
#include "ui/KpKeyboard.h"
#include "ui/KpLibToolbarIcons.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"
#include "ui/KpUiResources.h"
#include "ui/controls/CKpNumEdit.h"

namespace {

constexpr int kListWidth = 430;
constexpr int kListHeight = 380;

const QString kFileFilter = QStringLiteral("线型库(*.lsl)");
const QString kFileSuffix = QStringLiteral("lsl");

// The toolbar, in order; 0 is a separator bar.
constexpr int kToolBarLayout[] = {24501, 24505, 24506, 24511, 0,     24512, 0,     24509, 0,
                                  24524, 24508, 0,     24515, 24517, 24516, 24518, 0,     24525};

bool SameDecoration(const tagLineStyleObjExt& a, const tagLineStyleObjExt& b) {
  return a.byWidth == b.byWidth && a.byHeight == b.byHeight && a.nAngle == b.nAngle && a.nShape == b.nShape;
}

void EnableAll(std::initializer_list<QWidget*> widgets, bool on) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

}  // namespace

// --- construction ------------------------------------------------------------

CKpLineStyleLibDlg::CKpLineStyleLibDlg(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型库编辑器"));
  CreateControls();
  ConnectControls();
}

CKpLineStyleLibDlg::~CKpLineStyleLibDlg() { kp::ui::DetachChildren(this); }

void CKpLineStyleLibDlg::AttachLineStyleLib(CKpLineStyleLib* lib) {
  m_pLineStyleLib = lib;
  m_pRootGroup = lib ? lib->GetRootGroup() : nullptr;
  m_pCurGroup = m_pRootGroup;
  m_nLineSymCount = lib ? lib->GetSymLib().GetSymbolCount() : 0;
  m_ImportedSymIDs.clear();
  if (m_bInitDone) {
    m_pList->AttachLineStyleLib(lib);
    SetCurGroup(m_pCurGroup);
    InitParam();
  }
}

void CKpLineStyleLibDlg::CreateControls() {
  CreateToolBar();
  QVBoxLayout* outer = kp::ui::ToolBarDialogLayout(this, m_pToolBar);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(10, 4, 10, 0);

  auto* left = new QVBoxLayout;
  auto* findBox = new QGroupBox(QStringLiteral("查找"), this);
  auto* findRow = new QHBoxLayout(findBox);
  m_pFindName = new QComboBox(findBox);
  m_pFindID = new QComboBox(findBox);
  for (QComboBox* box : {m_pFindName, m_pFindID}) kp::ui::SetUpFindBox(box);
  m_pFindName->setMinimumWidth(170);
  m_pFindID->setMinimumWidth(110);
  findRow->addWidget(new QLabel(QStringLiteral("名称："), findBox));
  findRow->addWidget(m_pFindName, 2);
  findRow->addSpacing(8);
  findRow->addWidget(new QLabel(QStringLiteral("编码："), findBox));
  findRow->addWidget(m_pFindID, 1);
  left->addWidget(findBox);
  m_pList = new CKpLineStyleList(this);
  m_pList->setFixedSize(kListWidth, kListHeight);
  left->addWidget(m_pList);
  body->addLayout(left);

  auto* right = new QVBoxLayout;
  right->addWidget(CreatePropertyBox());
  right->addWidget(CreateDecorationBox());
  right->addStretch(1);
  body->addLayout(right);
  outer->addLayout(body);

  m_pHiddenDefault = kp::ui::AddHiddenDefault(this);
}

void CKpLineStyleLibDlg::CreateToolBar() {
  m_pToolBar = kp::ui::MakeToolBar(this);
  for (const int id : kToolBarLayout) {
    if (id == 0)
      m_pToolBar->addSeparator();
    else
      kp::ui::AddToolCommand(m_pToolBar, id, kp::ui::LibToolbarIcon(id))->setData(id);
  }
}

QWidget* CKpLineStyleLibDlg::CreatePropertyBox() {
  auto* box = new QGroupBox(QStringLiteral("属性"), this);
  auto* grid = new QGridLayout(box);
  m_pIDEdit = new CKpNumEdit(box);
  m_pIDEdit->setFixedWidth(100);
  m_pIDSpin = kp::ui::MakeSpin(box, kMinStyleID, kMaxStyleID, m_pIDEdit->sizeHint().height());
  m_pNameEdit = new QLineEdit(box);
  m_pGroupNameEdit = new QLineEdit(box);
  grid->addWidget(new QLabel(QStringLiteral("编码："), box), 0, 0);
  grid->addLayout(kp::ui::EditRow(m_pIDEdit, m_pIDSpin), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("名称："), box), 1, 0);
  grid->addWidget(m_pNameEdit, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("组："), box), 2, 0);
  grid->addWidget(m_pGroupNameEdit, 2, 1);
  grid->setColumnStretch(1, 1);
  return box;
}

QWidget* CKpLineStyleLibDlg::CreateDecorationBox() {
  auto* box = new QGroupBox(QStringLiteral("装饰"), this);
  auto* layout = new QVBoxLayout(box);
  auto* posRow = new QHBoxLayout;
  m_pPosition = new QComboBox(box);
  m_pPosition->setMinimumWidth(120);
  posRow->addWidget(new QLabel(QStringLiteral("位置："), box));
  posRow->addWidget(m_pPosition, 1);
  layout->addLayout(posRow);

  auto* ext = new QGroupBox(QStringLiteral("扩展"), box);
  auto* grid = new QGridLayout(ext);
  m_pShape = new CKpLslExtSymButton(ext);
  m_pShape->setMinimumSize(110, 28);
  m_pAngleEdit = new CKpNumEdit(ext);
  m_pHeightEdit = new CKpNumEdit(ext);
  m_pWidthEdit = new CKpNumEdit(ext);
  for (CKpNumEdit* e : {m_pAngleEdit, m_pHeightEdit, m_pWidthEdit}) e->setFixedWidth(70);
  const int h = m_pAngleEdit->sizeHint().height();
  m_pAngleSpin = kp::ui::MakeSpin(ext, 0, kMaxDecorateAngle, h);
  m_pHeightSpin = kp::ui::MakeSpin(ext, 0, kMaxDecorateSize, h);
  m_pWidthSpin = kp::ui::MakeSpin(ext, 0, kMaxDecorateSize, h);
  m_pLock = new QCheckBox(QStringLiteral("锁定纵横比"), ext);
  grid->addWidget(new QLabel(QStringLiteral("形状："), ext), 0, 0);
  grid->addWidget(m_pShape, 0, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("角度："), ext), 1, 0);
  grid->addLayout(kp::ui::EditRow(m_pAngleEdit, m_pAngleSpin), 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("高度："), ext), 2, 0);
  grid->addLayout(kp::ui::EditRow(m_pHeightEdit, m_pHeightSpin), 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("宽度："), ext), 3, 0);
  grid->addLayout(kp::ui::EditRow(m_pWidthEdit, m_pWidthSpin), 3, 1);
  grid->addWidget(m_pLock, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  layout->addWidget(ext);
  return box;
}

void CKpLineStyleLibDlg::ConnectControls() {
  const auto command = [this](int id) {
    switch (id) {
      case ID_LSL_NEW_LIBRARY: OnLslNewLibrary(); break;
      case ID_LSL_OPEN_LIBRARY: OnLslOpenLibrary(); break;
      case ID_LSL_SAVE_LIBRARY: OnLslSaveLibrary(); break;
      case ID_LSL_SAVEAS_LIBRARY: OnLslSaveAsLibrary(); break;
      case ID_LSL_LOAD_DEFAULT_LIBRARY: OnLslLoadDefaultLibrary(); break;
      case ID_LSL_CREATE_NEW_GROUP: OnLslCreateNewGroup(); break;
      case ID_LSL_NEW_LINESTYLE: OnLslNewLinestyle(); break;
      case ID_LSL_DELETE_LINESTYLE: OnLslDeleteLinestyle(); break;
      case ID_LSL_SUB_TOP: OnLslSubTop(); break;
      case ID_LSL_SUB_UP: OnLslSubUp(); break;
      case ID_LSL_SUB_DOWN: OnLslSubDown(); break;
      case ID_LSL_SUB_BOTTOM: OnLslSubBottom(); break;
      case ID_LSL_OPTION: OnLslOption(); break;
      default: break;
    }
  };
  for (QAction* action : m_pToolBar->actions()) {
    if (action->isSeparator()) continue;
    const int id = action->data().toInt();
    connect(action, &QAction::triggered, this, [command, id] { command(id); });
  }

  connect(m_pList, &CKpLineStyleList::selChange, this, &CKpLineStyleLibDlg::OnSelchangeLslLinestyleList);
  connect(m_pList, &CKpLineStyleList::dblClk, this, [this](int) { OnDblclkLslLinestyleList(); });
  connect(m_pFindID, qOverload<int>(&QComboBox::activated), this, [this](int) { OnSelchangeFindID(); });
  connect(m_pFindName, qOverload<int>(&QComboBox::activated), this, [this](int) { OnSelchangeFindName(); });
  connect(m_pPosition, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int) { OnSelchangeLslDecoratePos(); });
  connect(m_pShape, &CKpLslExtSymButton::selEndOk, this, [this](long w, long l) { OnSelChange(w, l); });
  connect(m_pWidthEdit, &QLineEdit::textChanged, this, &CKpLineStyleLibDlg::OnChangeLslDecorateWidth);
  connect(m_pHeightEdit, &QLineEdit::textChanged, this, &CKpLineStyleLibDlg::OnChangeLslDecorateHeight);
  connect(m_pAngleEdit, &QLineEdit::textChanged, this, &CKpLineStyleLibDlg::OnChangeLslDecorateAngle);
  connect(m_pLock, &QCheckBox::clicked, this, &CKpLineStyleLibDlg::OnLslDecorateLock);

  // The spins are their edits' buddies: a step writes the edit's text, which
  // the edit's own handler then applies (the ID only on Enter).
  const auto buddy = [this](QScrollBar* spin, CKpNumEdit* edit) {
    kp::ui::FollowSpin(edit, spin);
    connect(edit, &QLineEdit::textChanged, spin, [spin](const QString& text) {
      long v = 0;
      if (kp::ui::ReadNumber(text, v)) kp::ui::SetSpinQuietly(spin, v);
    });
  };
  buddy(m_pIDSpin, m_pIDEdit);
  buddy(m_pAngleSpin, m_pAngleEdit);
  buddy(m_pHeightSpin, m_pHeightEdit);
  buddy(m_pWidthSpin, m_pWidthEdit);

  for (QObject* o : {static_cast<QObject*>(m_pIDEdit), static_cast<QObject*>(m_pNameEdit),
                     static_cast<QObject*>(m_pGroupNameEdit), static_cast<QObject*>(m_pFindID->lineEdit()),
                     static_cast<QObject*>(m_pFindName->lineEdit())})
    o->installEventFilter(this);
}

QAction* CKpLineStyleLibDlg::Action(int commandId) const {
  for (QAction* action : m_pToolBar->actions())
    if (!action->isSeparator() && action->data().toInt() == commandId) return action;
  return nullptr;
}

// --- set-up ------------------------------------------------------------------

bool CKpLineStyleLibDlg::OnInitDialog() {
  if (m_bInitDone) return true;
  m_bInitDone = true;
  m_pIDEdit->SetRange(kMinStyleID, kMaxStyleID);
  m_pAngleEdit->SetRange(0, kMaxDecorateAngle);
  m_pHeightEdit->SetRange(0, kMaxDecorateSize);
  m_pWidthEdit->SetRange(0, kMaxDecorateSize);
  m_pList->AttachLineStyleLib(m_pLineStyleLib);
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
  }
  InitParam();
  OnSelchangeLslLinestyleList();
  return true;
}

void CKpLineStyleLibDlg::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitDone) OnInitDialog();
}

int CKpLineStyleLibDlg::InitParam() {
  {
    const QSignalBlocker block(m_pPosition);
    m_pPosition->clear();
    for (int i = 0; i < 5; ++i) m_pPosition->addItem(kp::ui::Text(kp::KP_IDS_POSITION_FIRST + i));
    m_pPosition->setCurrentIndex(-1);
  }
  EnableAll({m_pGroupNameEdit, m_pNameEdit, m_pIDEdit, m_pPosition, m_pIDSpin, m_pShape}, false);
  EnableDecorationEdits(ShapeKind::None);
  ShowDecorationValues(0, 0, 0);
  if (!m_pLineStyleLib) return 0;
  m_pShape->AttachLineSymLib(&m_pLineStyleLib->GetSymLib(), m_nLineSymCount);
  m_pShape->AttachResSymLib(ResSymLib());
  FillFindBoxes();
  return 1;
}

void CKpLineStyleLibDlg::FillFindBoxes() {
  const QSignalBlocker blockName(m_pFindName);
  const QSignalBlocker blockID(m_pFindID);
  m_pFindName->clear();
  m_pFindID->clear();
  if (m_pLineStyleLib) {
    std::vector<long> ids;
    for (long i = 0; i < m_pLineStyleLib->Count(); ++i) {
      const CKpLineStyleObj& style = m_pLineStyleLib->GetStyleObj(i);
      m_pFindName->addItem(QString::fromStdString(style.GetName()));
      ids.push_back(style.GetID());
    }
    std::sort(ids.begin(), ids.end());
    for (long id : ids) m_pFindID->addItem(QString::number(id));
  }
  m_pFindName->setCurrentIndex(-1);
  m_pFindID->setCurrentIndex(-1);
}

CKpSymLib* CKpLineStyleLibDlg::ResSymLib() const { return kp::ui::ResourceSymLib(); }

// --- helpers -----------------------------------------------------------------

long CKpLineStyleLibDlg::EntriesBeforeStyles() const { return CKpLineStyleList::EntriesBeforeStyles(m_pCurGroup); }

CKpLineStyleObj* CKpLineStyleLibDlg::GetSelectedStyle(long* item) const {
  long value = -1;
  if (!m_pLineStyleLib || m_pList->EntryKind(m_pList->GetCurSel(), value) != CKpLineStyleList::EntryStyle)
    return nullptr;
  if (item) *item = value;
  return m_pLineStyleLib->SetStyleByID(m_pCurGroup->GetItemID(value));
}

void CKpLineStyleLibDlg::MarkModified() {
  m_bDirty = TRUE;
  if (m_pLineStyleLib) m_pLineStyleLib->SetModifiedFlag(TRUE);
}

void CKpLineStyleLibDlg::SetCurGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(group);
  }
  OnSelchangeLslLinestyleList();
}

void CKpLineStyleLibDlg::SelectEntry(long index) {
  {
    const QSignalBlocker block(m_pList);
    m_pList->SetCurSel(index);
  }
  OnSelchangeLslLinestyleList();
}

void CKpLineStyleLibDlg::RebuildList() {
  const long sel = m_pList->GetCurSel();
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
    m_pList->SetCurSel(std::min(sel, m_pList->GetCount() - 1));
  }
}

void CKpLineStyleLibDlg::ResetSymbolCounts() {
  m_nLineSymCount = m_pLineStyleLib->GetSymLib().GetSymbolCount();
  m_ImportedSymIDs.clear();
  m_pShape->AttachLineSymLib(&m_pLineStyleLib->GetSymLib(), m_nLineSymCount);
  m_pShape->AttachResSymLib(ResSymLib());
}

void CKpLineStyleLibDlg::ResetAfterReplace() {
  // Loading replaces the whole tree: the old groups are gone.
  m_pRootGroup = m_pLineStyleLib->GetRootGroup();
  m_pCurGroup = m_pRootGroup;
  ResetSymbolCounts();
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
  }
  InitParam();
  OnSelchangeLslLinestyleList();
}

// --- files -------------------------------------------------------------------

bool CKpLineStyleLibDlg::SaveQuestion() {
  if (!m_bDirty) return true;
  const int answer =
      kp::ui::MessageBox(this, kp::ModuleString(kp::KP_IDS_HOST_SAVE_LIBRARY), kp::ui::MsgButtons::YesNoCancel);
  if (answer == IDCANCEL) return false;
  // A save that did not happen (failed, or its file dialog cancelled) keeps
  // the work: the command that asked does not go on.
  if (answer == kp::ui::IDYES) return OnLslSaveLibrary();
  return true;
}

void CKpLineStyleLibDlg::OnLslNewLibrary() {
  if (!m_pLineStyleLib || !SaveQuestion()) return;
  m_pLineStyleLib->RemoveAll();
  ResetAfterReplace();
  // A new library has no file yet: saving it must not replace the last one.
  m_strFilePath.clear();
  m_bDirty = FALSE;
  m_pLineStyleLib->SetModifiedFlag(TRUE);
}

void CKpLineStyleLibDlg::OnLslOpenLibrary() {
  if (!m_pLineStyleLib || !SaveQuestion()) return;
  const CString path = kp::ui::GetOpenFilePath(this, kFileFilter, kFileSuffix);
  if (path.empty()) return;
  OpenLibraryFile(path);
}

bool CKpLineStyleLibDlg::OpenLibraryFile(const CString& path) {
  if (!m_pLineStyleLib) return false;
  QString reason;
  QFile file(QString::fromStdString(path));
  CKpByteArrayEx stream;
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
  } else if (file.size() > INT_MAX) {
    reason = QStringLiteral("文件太大。");
  } else {
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      reason = file.errorString();
    } else {
      stream.Add(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()));
      // Both readers are all or nothing: a bad stream leaves the library as it was.
      const int ok = m_bAppend ? m_pLineStyleLib->AppendEx(stream, m_bOverwrite) : m_pLineStyleLib->LoadEx(stream);
      if (!ok) reason = QStringLiteral("不是有效的线型库文件，或文件已损坏。");
    }
  }
  if (!reason.isEmpty()) {
    const QString text = kp::ui::Text(kp::KP_IDS_HOST_OPEN_FILE_FAILED) + QLatin1Char('\n') +
                         QString::fromStdString(path) + QLatin1Char('\n') + reason;
    kp::ui::MessageBox(this, text.toStdString());
    return false;
  }
  ResetAfterReplace();
  if (m_bAppend) {
    // The merge is saved into the current file (if any), never into the one
    // merged in, and it is not saved yet.
    m_bDirty = TRUE;
  } else {
    m_strFilePath = path;
    m_bDirty = FALSE;
  }
  m_pLineStyleLib->SetModifiedFlag(TRUE);
  return true;
}

bool CKpLineStyleLibDlg::OnLslSaveLibrary() {
  if (!m_pLineStyleLib) return false;
  if (m_strFilePath.empty()) return OnLslSaveAsLibrary();
  return WriteLibrary(m_strFilePath);
}

bool CKpLineStyleLibDlg::OnLslSaveAsLibrary() {
  if (!m_pLineStyleLib) return false;
  const CString path = kp::ui::GetSavePathName(this, kFileFilter, kFileSuffix);
  if (path.empty()) return false;
  return WriteLibrary(path);
}

bool CKpLineStyleLibDlg::WriteLibrary(const CString& path) {
  errno = 0;
  const bool ok = m_pLineStyleLib->SaveToFile(path) != 0;
  const int error = errno;
  // Storing drops unused symbols whether or not the file was written, so the
  // symbol cells are renumbered in both cases.
  ResetSymbolCounts();
  if (ok) {
    m_strFilePath = path;
    m_bDirty = FALSE;
  } else {
    const QString reason = error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("写入失败。");
    const QString text = QStringLiteral("无法保存线型库！\n") + QString::fromStdString(path) + QLatin1Char('\n') + reason;
    kp::ui::MessageBox(this, text.toStdString());
  }
  RebuildList();
  OnSelchangeLslLinestyleList();
  return ok;
}

void CKpLineStyleLibDlg::OnLslLoadDefaultLibrary() {
  if (!m_pLineStyleLib || !SaveQuestion()) return;
  m_pLineStyleLib->CreateDefault();
  ResetAfterReplace();
  // The default content is no file's: saving asks for one.
  m_strFilePath.clear();
  m_bDirty = FALSE;
  m_pLineStyleLib->SetModifiedFlag(TRUE);
}

// --- groups and styles -------------------------------------------------------

void CKpLineStyleLibDlg::OnLslCreateNewGroup() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  const long k = EntriesBeforeStyles();
  CString name = "New Group " + std::to_string(k);
  if (m_pCurGroup->IsSubGroupExisted(name)) name += "New";
  if (!m_pCurGroup->CreateSubGroup(name)) return;
  // The new group is the last sub-group: entry k of the rebuilt list.
  {
    const QSignalBlocker block(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
  }
  SelectEntry(k);
  MarkModified();
}

void CKpLineStyleLibDlg::OnLslNewLinestyle() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  CKpLineStyleObj* selected = GetSelectedStyle();
  CKpLineStyleEditorDlg editor(this);
  editor.m_LineStyleObj = (selected && kp::ui::IsCtrlDown()) ? *selected : CKpLineStyleObj();
  editor.AttachLineStyleLib(m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs);
  const int result = editor.DoModal();
  m_ImportedSymIDs = editor.m_ImportedSymIDs;  // the editor may have imported symbols
  if (result != IDOK) return;

  CKpLineStyleObj style = editor.m_LineStyleObj;
  style.SetID(m_pLineStyleLib->GetLeagalID() + 1);
  m_pLineStyleLib->InsertAfter(m_pLineStyleLib->Count() - 1, style);
  m_pCurGroup->AddStyleItem(style.GetID());
  {
    const QSignalBlocker blockList(m_pList);
    m_pList->AttachStyleGroup(m_pCurGroup);
    const QSignalBlocker blockID(m_pFindID);
    const QSignalBlocker blockName(m_pFindName);
    m_pFindID->addItem(QString::number(style.GetID()));
    m_pFindName->addItem(QString::fromStdString(style.GetName()));
    m_pFindID->setCurrentIndex(-1);
    m_pFindName->setCurrentIndex(-1);
  }
  SelectEntry(m_pList->GetCount() - 1);
  MarkModified();
}

void CKpLineStyleLibDlg::OnDblclkLslLinestyleList() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  long value = -1;
  switch (m_pList->EntryKind(m_pList->GetCurSel(), value)) {
    case CKpLineStyleList::EntryParent:
      SetCurGroup(m_pCurGroup->GetParentGroup());
      return;
    case CKpLineStyleList::EntryGroup:
      SetCurGroup(m_pCurGroup->SubGroup(value));
      return;
    case CKpLineStyleList::EntryStyle:
      break;
    default:
      return;
  }
  const long id = m_pCurGroup->GetItemID(value);
  const long index = m_pLineStyleLib->FindID(id);
  if (index < 0) return;
  CKpLineStyleEditorDlg editor(this);
  editor.m_LineStyleObj = m_pLineStyleLib->GetStyleObj(index);
  editor.AttachLineStyleLib(m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs);
  const int result = editor.DoModal();
  m_ImportedSymIDs = editor.m_ImportedSymIDs;
  if (result != IDOK) return;
  CKpLineStyleObj edited = editor.m_LineStyleObj;
  edited.SetID(id);  // the style stays filed under its ID
  m_pLineStyleLib->SetStyleObj(index, edited);
  MarkModified();
  // One repaint for the whole list.
  m_pList->setUpdatesEnabled(false);
  m_pList->RedrawEntry(m_pList->GetCurSel());
  m_pList->setUpdatesEnabled(true);
}

void CKpLineStyleLibDlg::OnLslDeleteLinestyle() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  long value = -1;
  switch (m_pList->EntryKind(m_pList->GetCurSel(), value)) {
    case CKpLineStyleList::EntryStyle: {
      const long id = m_pCurGroup->GetItemID(value);
      m_pCurGroup->RemoveID(id);
      m_pLineStyleLib->RemoveStyleObj(m_pLineStyleLib->FindID(id));
      break;
    }
    case CKpLineStyleList::EntryGroup: {
      const CKpLineStyleGroup* sub = m_pCurGroup->SubGroup(value);
      BOOL deleteContents = TRUE;
      if (sub->GetSubGroupCount() > 0 || sub->GetItemCount() > 0) {
        const int answer = kp::ui::MessageBox(this, kp::ModuleString(kp::KP_IDS_REMOVE_GROUP),
                                              kp::ui::MsgButtons::YesNoCancel);
        if (answer == IDCANCEL) return;
        deleteContents = answer == kp::ui::IDYES ? FALSE : TRUE;
      }
      m_pCurGroup->RemoveChildGroup(value, deleteContents);
      break;
    }
    default:
      return;  // the way up is not deleted
  }
  SetCurGroup(m_pCurGroup);
  FillFindBoxes();
  MarkModified();
}

// --- reordering --------------------------------------------------------------

void CKpLineStyleLibDlg::OnLslSubTop() {
  long item = -1;
  if (!GetSelectedStyle(&item) || item == 0 || !m_pCurGroup->MoveItemToTop(item)) return;
  SelectEntry(EntriesBeforeStyles());
  m_pList->viewport()->update();
  MarkModified();
}

void CKpLineStyleLibDlg::OnLslSubUp() {
  long item = -1;
  if (!GetSelectedStyle(&item) || item == 0 || !m_pCurGroup->MoveItemToUp(item)) return;
  SelectEntry(EntriesBeforeStyles() + item - 1);
  m_pList->viewport()->update();
  MarkModified();
}

void CKpLineStyleLibDlg::OnLslSubDown() {
  long item = -1;
  if (!GetSelectedStyle(&item) || item >= m_pCurGroup->GetItemCount() - 1 || !m_pCurGroup->MoveItemToDown(item))
    return;
  SelectEntry(EntriesBeforeStyles() + item + 1);
  m_pList->viewport()->update();
  MarkModified();
}

void CKpLineStyleLibDlg::OnLslSubBottom() {
  long item = -1;
  if (!GetSelectedStyle(&item) || item >= m_pCurGroup->GetItemCount() - 1 || !m_pCurGroup->MoveItemToBottom(item))
    return;
  SelectEntry(m_pList->GetCount() - 1);
  m_pList->viewport()->update();
  MarkModified();
}

void CKpLineStyleLibDlg::OnLslOption() {
  CKpLineStyleOptionDlg dlg(this);
  dlg.m_bAppend = m_bAppend;
  dlg.m_bOverwrite = m_bOverwrite;
  if (dlg.DoModal() != IDOK) return;
  m_bAppend = dlg.m_bAppend;
  m_bOverwrite = dlg.m_bOverwrite;
}

// --- selection and properties ------------------------------------------------

void CKpLineStyleLibDlg::OnSelchangeLslLinestyleList() {
  {
    const QSignalBlocker block(m_pPosition);
    m_pPosition->setCurrentIndex(-1);
  }
  m_pShape->setEnabled(false);
  m_pShape->SetCurSel(0);
  EnableDecorationEdits(ShapeKind::None);
  ShowDecorationValues(0, 0, 0);

  long value = -1;
  const int kind = m_pList->EntryKind(m_pList->GetCurSel(), value);
  // A group may file an ID its library no longer has: nothing to edit then.
  CKpLineStyleObj* style = GetSelectedStyle();
  EnableAll({m_pNameEdit, m_pIDEdit, m_pIDSpin, m_pPosition, m_pGroupNameEdit}, style != nullptr);
  if (style) {
    m_nStyleID = style->GetID();
    m_strStyleName = style->GetName();
    m_pGroupNameEdit->setText(QString::fromStdString(m_pCurGroup->GetName()));
    kp::ui::ShowNumber(m_pIDEdit, m_pIDSpin, m_nStyleID);
    m_pNameEdit->setText(QString::fromStdString(m_strStyleName));
    return;
  }
  m_pNameEdit->clear();
  m_pIDEdit->clear();
  if (kind == CKpLineStyleList::EntryGroup)
    m_pGroupNameEdit->setText(QString::fromStdString(m_pCurGroup->SubGroup(value)->GetName()));
  else
    m_pGroupNameEdit->clear();
}

void CKpLineStyleLibDlg::UpdateLineStyleId() {
  CKpLineStyleObj* style = GetSelectedStyle();
  long id = 0;
  if (!style || !kp::ui::ReadNumber(m_pIDEdit->text(), id) || id < kMinStyleID || id > kMaxStyleID) return;
  if (m_pLineStyleLib->IsIDExisted(id)) return;  // a duplicate is ignored
  const long old = style->GetID();
  style->SetID(id);
  m_pCurGroup->SetID(old, id);  // the group keeps filing the style
  m_nStyleID = id;
  {
    const QSignalBlocker block(m_pFindID);
    const int at = m_pFindID->findText(QString::number(old));
    if (at >= 0) m_pFindID->removeItem(at);
    m_pFindID->addItem(QString::number(id));
  }
  m_pList->RedrawEntry(m_pList->GetCurSel());
  MarkModified();
}

void CKpLineStyleLibDlg::UpdateLineStyleName() {
  CKpLineStyleObj* style = GetSelectedStyle();
  if (!style) return;
  const CString name = m_pNameEdit->text().toStdString();
  const CString old = style->GetName();
  if (name == old) return;
  style->SetName(name);
  m_strStyleName = name;
  {
    const QSignalBlocker block(m_pFindName);
    const int at = m_pFindName->findText(QString::fromStdString(old));
    if (at >= 0) m_pFindName->removeItem(at);
    m_pFindName->addItem(QString::fromStdString(name));
  }
  MarkModified();
}

void CKpLineStyleLibDlg::UpdateGroupName() {
  if (!GetSelectedStyle()) return;
  const CString name = m_pGroupNameEdit->text().toStdString();
  if (name == m_pCurGroup->GetName()) return;
  const CKpLineStyleGroup* parent = m_pCurGroup->GetParentGroup();
  // Sibling names stay unique; a refused name is shown back as it stands.
  const bool renamed = (!parent || !parent->IsSubGroupExisted(name)) && m_pCurGroup->SetName(name);
  if (!renamed) {
    m_pGroupNameEdit->setText(QString::fromStdString(m_pCurGroup->GetName()));
    return;
  }
  m_pList->viewport()->update();
  MarkModified();
}

// --- finding -----------------------------------------------------------------

void CKpLineStyleLibDlg::OnSelchangeFindID() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  long id = 0;
  if (!kp::ui::ReadNumber(m_pFindID->currentText(), id) || id <= 5) return;
  long item = m_pCurGroup->GetItemIndex(id);
  if (item < 0) {
    CKpLineStyleGroup* owner = m_pRootGroup->GetGroupWithItemID(id);
    if (!owner) return;
    SetCurGroup(owner);
    item = owner->GetItemIndex(id);
  }
  SelectEntry(EntriesBeforeStyles() + item);
}

void CKpLineStyleLibDlg::OnSelchangeFindName() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  const CString text = m_pFindName->currentText().toStdString();
  if (text.empty()) return;
  long item = m_pCurGroup->GetItemIndex(text, 0);
  if (item < 0) {
    CKpLineStyleGroup* owner = m_pRootGroup->GetGroupWithItemID(text);
    if (!owner) return;
    SetCurGroup(owner);
    item = owner->GetItemIndex(text, 0);
  }
  if (item >= 0) SelectEntry(EntriesBeforeStyles() + item);
}

void CKpLineStyleLibDlg::OnFindNameNext() {
  if (!m_pLineStyleLib || !m_pCurGroup) return;
  const CString text = m_pFindName->currentText().toStdString();
  if (text.empty()) return;
  long selected = -1;
  const long start = GetSelectedStyle(&selected) ? selected + 1 : 0;
  const long item = m_pCurGroup->GetItemIndex(text, start);
  if (item >= 0)
    SelectEntry(EntriesBeforeStyles() + item);
  else
    OnSelchangeFindName();  // another group may have it
}

// --- decorations -------------------------------------------------------------

void CKpLineStyleLibDlg::EnableDecorationEdits(ShapeKind kind) {
  const bool sized = kind != ShapeKind::None;
  EnableAll({m_pHeightEdit, m_pHeightSpin}, sized);
  EnableAll({m_pWidthEdit, m_pWidthSpin, m_pLock}, kind == ShapeKind::BuiltIn);
  EnableAll({m_pAngleEdit, m_pAngleSpin}, kind == ShapeKind::Symbol);
  if (kind == ShapeKind::Symbol) {
    // A symbol keeps its proportions: its width follows its height.
    m_pLock->setChecked(true);
    m_nDecorateWidth = m_nDecorateHeight;
    kp::ui::ShowNumber(m_pWidthEdit, m_pWidthSpin, m_nDecorateWidth);
  }
}

void CKpLineStyleLibDlg::ShowDecorationValues(long width, long height, long angle) {
  m_nDecorateWidth = width;
  m_nDecorateHeight = height;
  m_nDecorateAngle = angle;
  kp::ui::ShowNumber(m_pWidthEdit, m_pWidthSpin, width);
  kp::ui::ShowNumber(m_pHeightEdit, m_pHeightSpin, height);
  kp::ui::ShowNumber(m_pAngleEdit, m_pAngleSpin, angle);
}

void CKpLineStyleLibDlg::ReadDecorationValues() {
  long v = 0;
  if (kp::ui::ReadNumber(m_pWidthEdit->text(), v)) m_nDecorateWidth = std::clamp(v, 0L, kMaxDecorateSize);
  if (kp::ui::ReadNumber(m_pHeightEdit->text(), v)) m_nDecorateHeight = std::clamp(v, 0L, kMaxDecorateSize);
  if (kp::ui::ReadNumber(m_pAngleEdit->text(), v)) m_nDecorateAngle = std::clamp(v, 0L, kMaxDecorateAngle);
}

bool CKpLineStyleLibDlg::StoreDecoration(CKpLineStyleObj& style, long slot, tagLineStyleObjExt* rec) {
  std::unique_ptr<tagLineStyleObjExt> owned(rec);
  const tagLineStyleObjExt* current = style.GetObjExt().GetObjExt(slot);
  if (current ? SameDecoration(*current, *owned) : owned->nShape == 0) return false;
  style.GetObjExt().SetObjExt(slot, owned.release());
  return true;
}

void CKpLineStyleLibDlg::OnSelchangeLslDecoratePos() {
  CKpLineStyleObj* style = GetSelectedStyle();
  const long slot = m_pPosition->currentIndex();
  if (!style || slot < 0) {
    m_pShape->setEnabled(false);
    m_pShape->SetCurSel(0);
    EnableDecorationEdits(ShapeKind::None);
    ShowDecorationValues(0, 0, 0);
    return;
  }
  long sel = 0;
  if (const tagLineStyleObjExt* rec = style->GetObjExt().GetObjExt(slot)) {
    ShowDecorationValues(rec->byWidth, rec->byHeight, rec->nAngle);
    const long shape = rec->nShape;
    if (shape > 0 && shape < KP_EXT_SHAPE_FIRST_SYMBOL) {
      sel = shape;
    } else {
      const long cell = shape > 0 ? kp::ui::CellOfSymbolID(*m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs,
                                                            ResSymLib(), shape)
                                  : -1;
      if (cell >= 0) {
        sel = cell + KP_EXT_SHAPE_FIRST_SYMBOL;
      } else {
        // The symbol is gone from the library: the decoration cannot be drawn.
        style->GetObjExt().SetObjExt(slot, nullptr);
        m_pList->RedrawEntry(m_pList->GetCurSel());
        MarkModified();
      }
    }
  } else {
    ShowDecorationValues(0, 0, 0);
  }
  m_pShape->setEnabled(true);
  m_pShape->SetCurSel(sel);
  ApplyShape(sel);
}

long CKpLineStyleLibDlg::OnSelChange(long wparam, long lparam) {
  (void)wparam;
  (void)lparam;
  ApplyShape(m_pShape->GetCurSel());
  return 1;
}

void CKpLineStyleLibDlg::ApplyShape(long b) {
  CKpLineStyleObj* style = GetSelectedStyle();
  const long slot = m_pPosition->currentIndex();
  if (!style || slot < 0) return;
  if (b <= 0) {
    EnableDecorationEdits(ShapeKind::None);
    ShowDecorationValues(0, 0, 0);
    if (style->GetObjExt().GetObjExt(slot)) {
      style->GetObjExt().SetObjExt(slot, nullptr);
      m_pList->RedrawEntry(m_pList->GetCurSel());
      MarkModified();
    }
    return;
  }
  ReadDecorationValues();
  long value = b;
  bool imported = false;
  if (b < KP_EXT_SHAPE_FIRST_SYMBOL) {
    EnableDecorationEdits(ShapeKind::BuiltIn);
  } else {
    EnableDecorationEdits(ShapeKind::Symbol);
    const size_t before = m_ImportedSymIDs.size();
    value = kp::ui::SymbolIDOfCell(*m_pLineStyleLib, m_nLineSymCount, m_ImportedSymIDs, ResSymLib(),
                                   b - KP_EXT_SHAPE_FIRST_SYMBOL);
    imported = m_ImportedSymIDs.size() != before;
  }
  auto* rec = new tagLineStyleObjExt{static_cast<std::uint8_t>(m_nDecorateWidth),
                                     static_cast<std::uint8_t>(m_nDecorateHeight),
                                     static_cast<std::int16_t>(m_nDecorateAngle), static_cast<std::int32_t>(value)};
  const bool stored = StoreDecoration(*style, slot, rec);
  if (stored) m_pList->RedrawEntry(m_pList->GetCurSel());
  if (stored || imported) MarkModified();
}

void CKpLineStyleLibDlg::OnChangeLslDecorateWidth() {
  long v = 0;
  if (!kp::ui::ReadNumber(m_pWidthEdit->text(), v)) return;
  m_nDecorateWidth = std::clamp(v, 0L, kMaxDecorateSize);
  if (m_pLock->isChecked()) {
    m_nDecorateHeight = m_nDecorateWidth;
    kp::ui::ShowNumber(m_pHeightEdit, m_pHeightSpin, m_nDecorateHeight);
  }
  OnChangeLslDecorateAngle();
}

void CKpLineStyleLibDlg::OnChangeLslDecorateHeight() {
  long v = 0;
  if (!kp::ui::ReadNumber(m_pHeightEdit->text(), v)) return;
  m_nDecorateHeight = std::clamp(v, 0L, kMaxDecorateSize);
  if (m_pLock->isChecked()) {
    m_nDecorateWidth = m_nDecorateHeight;
    kp::ui::ShowNumber(m_pWidthEdit, m_pWidthSpin, m_nDecorateWidth);
  }
  OnChangeLslDecorateAngle();
}

void CKpLineStyleLibDlg::OnLslDecorateLock() {
  if (m_pLock->isChecked()) {
    ReadDecorationValues();
    m_nDecorateWidth = m_nDecorateHeight;
    kp::ui::ShowNumber(m_pWidthEdit, m_pWidthSpin, m_nDecorateWidth);
  }
  OnChangeLslDecorateAngle();
}

// Writes the edits into the slot's decoration; the width and height
// handlers end here too.
void CKpLineStyleLibDlg::OnChangeLslDecorateAngle() {
  long v = 0;
  if (kp::ui::ReadNumber(m_pAngleEdit->text(), v)) m_nDecorateAngle = std::clamp(v, 0L, kMaxDecorateAngle);
  CKpLineStyleObj* style = GetSelectedStyle();
  const long slot = m_pPosition->currentIndex();
  if (!style || slot < 0 || m_pShape->GetCurSel() <= 0) return;
  const tagLineStyleObjExt* current = style->GetObjExt().GetObjExt(slot);
  if (!current) return;
  auto* rec = new tagLineStyleObjExt{static_cast<std::uint8_t>(m_nDecorateWidth),
                                     static_cast<std::uint8_t>(m_nDecorateHeight),
                                     static_cast<std::int16_t>(m_nDecorateAngle), current->nShape};
  if (!StoreDecoration(*style, slot, rec)) return;
  m_pList->RedrawEntry(m_pList->GetCurSel());
  MarkModified();
}

// --- closing and keys --------------------------------------------------------

bool CKpLineStyleLibDlg::OnClose() {
  if (!SaveQuestion()) return false;
  CKpDialog::reject();
  return true;
}

void CKpLineStyleLibDlg::reject() { OnClose(); }

void CKpLineStyleLibDlg::keyPressEvent(QKeyEvent* event) {
  // Enter never ends the dialog; Escape closes through the save question.
  if (kp::ui::IsEnterKey(event)) {
    event->accept();
    return;
  }
  CKpDialog::keyPressEvent(event);
}

bool CKpLineStyleLibDlg::eventFilter(QObject* watched, QEvent* event) {
  if (kp::ui::IsEnterKey(event)) {
    if (watched == m_pIDEdit) {
      UpdateLineStyleId();
      return true;
    }
    if (watched == m_pNameEdit) {
      UpdateLineStyleName();
      return true;
    }
    if (watched == m_pGroupNameEdit) {
      UpdateGroupName();
      return true;
    }
    if (watched == m_pFindID->lineEdit()) {
      OnSelchangeFindID();
      return true;
    }
    if (watched == m_pFindName->lineEdit()) {
      OnFindNameNext();
      return true;
    }
  }
  return CKpDialog::eventFilter(watched, event);
}

void CKpLineStyleLibDlg::paintEvent(QPaintEvent* event) {
  CKpDialog::paintEvent(event);
  kp::ui::PaintToolBarGripper(*this, m_pToolBar->geometry());
}
