#include "ui/CDlgStyleMan.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <climits>

#include "model/CKpLineStyleGroup.h"
#include "module/KpStringTable.h"
#include "ui/CListLineSel.h"
#include "ui/KpDialogForms.h"
#include "ui/KpMessageBox.h"
#include "ui/KpUiConstants.h"

namespace {

const QString kFileFilter = QStringLiteral("Line Style Library (*.LSL *.lsl);;All File (*)");
const QString kFileSuffix = QStringLiteral("LSL");
const char kWriteFailed[] = "Write line style library failed!";
constexpr long kFirstStyleID = 6;
constexpr int kListWidth = 330;
constexpr int kListHeight = 360;

// The version word of a library stream, or 0 when it has none.
long VersionOf(const QByteArray& bytes) {
  if (bytes.size() < 8) return 0;
  CKpByteArrayEx head;
  head.Add(reinterpret_cast<const unsigned char*>(bytes.constData()), 8);
  int pos = 4;
  return head.GetLongAt(pos);
}

// Reads a library file's bytes into `lib` (a fresh one): the oldest format
// through its own reader, the newer ones through the reader of all versions.
bool ReadLibrary(const QByteArray& bytes, CKpLineStyleLib& lib) {
  if (VersionOf(bytes) == KP_LSL_VERSION_10) {
    CKpByteArray stream;
    stream.Write(reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    return lib.Load(stream) >= 0;
  }
  CKpByteArrayEx stream;
  stream.Add(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()));
  return lib.LoadEx(stream) != 0;
}

}  // namespace

CDlgStyleMan::CDlgStyleMan(QWidget* parent) : CKpDialog(parent) {
  setWindowTitle(QStringLiteral("线型管理器"));
  CreateControls();
  ConnectControls();
}

CDlgStyleMan::~CDlgStyleMan() {
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

void CDlgStyleMan::CreateControls() {
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  m_pCurList = new CListLineSel(this);
  m_pExtList = new CListLineSel(this);
  m_pExtList->SetMultiSelect(true);
  for (CListLineSel* list : {m_pCurList, m_pExtList}) list->setFixedSize(kListWidth, kListHeight);
  m_pCurList->AttachLineStyleLib(&m_CurLib);
  m_pExtList->AttachLineStyleLib(&m_ExtLib);

  m_pCopyAll = new QPushButton(QStringLiteral("<<"), this);
  m_pCopy = new QPushButton(QStringLiteral("<"), this);
  m_pOpen = new QPushButton(QStringLiteral("打开"), this);
  m_pSave = new QPushButton(QStringLiteral("保存"), this);
  m_pDefault = new QPushButton(QStringLiteral("创建缺省线型"), this);
  m_pOk = new QPushButton(QStringLiteral("确  认"), this);
  m_pCancel = new QPushButton(QStringLiteral("取  消"), this);
  for (QPushButton* b : {m_pCopyAll, m_pCopy, m_pOpen, m_pSave, m_pDefault, m_pOk, m_pCancel}) b->setAutoDefault(false);
  m_pCopyAll->setToolTip(QStringLiteral("复制全部外部线型到当前线型库"));
  m_pCopy->setToolTip(QStringLiteral("复制选中的外部线型到当前线型库"));

  grid->addWidget(new QLabel(QStringLiteral("当前线型库"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("外部线型库"), this), 0, 2);
  grid->addWidget(m_pCurList, 1, 0);
  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(m_pCopyAll);
  middle->addWidget(m_pCopy);
  middle->addStretch(1);
  grid->addLayout(middle, 1, 1);
  grid->addWidget(m_pExtList, 1, 2);

  auto* curRow = new QHBoxLayout;
  curRow->addWidget(m_pSave);
  curRow->addStretch(1);
  grid->addLayout(curRow, 2, 0);
  auto* extRow = new QHBoxLayout;
  extRow->addWidget(m_pOpen);
  extRow->addWidget(m_pDefault);
  extRow->addStretch(1);
  grid->addLayout(extRow, 2, 2);

  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch(1);
  closeRow->addWidget(m_pOk);
  closeRow->addWidget(m_pCancel);
  grid->addLayout(closeRow, 3, 0, 1, 3);
}

void CDlgStyleMan::ConnectControls() {
  connect(m_pOpen, &QPushButton::clicked, this, &CDlgStyleMan::OnButtonOpen);
  connect(m_pSave, &QPushButton::clicked, this, [this] { OnButtonSave(); });
  connect(m_pDefault, &QPushButton::clicked, this, &CDlgStyleMan::OnButtonDefault);
  connect(m_pCopy, &QPushButton::clicked, this, &CDlgStyleMan::OnButtonCopy);
  connect(m_pCopyAll, &QPushButton::clicked, this, &CDlgStyleMan::OnButtonCopyAll);
  connect(m_pExtList, &CListLineSel::dblClk, this, [this](int) { OnButtonCopy(); });
  connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool CDlgStyleMan::OnInitDialog() {
  // The caller may have filled the libraries since the dialog was last shown.
  m_bInitDone = true;
  m_pCurList->InitContent();
  m_pExtList->InitContent();
  return true;
}

void CDlgStyleMan::showEvent(QShowEvent* event) {
  CKpDialog::showEvent(event);
  if (!m_bInitDone) OnInitDialog();
}

// --- files -------------------------------------------------------------------

void CDlgStyleMan::OnButtonOpen() {
  const CString path = kp::ui::GetOpenFilePath(this, kFileFilter, kFileSuffix);
  if (!path.empty()) OpenLibraryFile(path);
}

bool CDlgStyleMan::OpenLibraryFile(const CString& path) {
  QFile file(QString::fromStdString(path));
  bool ok = file.open(QIODevice::ReadOnly) && file.size() <= INT_MAX;
  QByteArray bytes;
  if (ok) {
    bytes = file.readAll();
    ok = file.error() == QFileDevice::NoError;
  }
  // A fresh library takes the file: the external one changes only when the
  // whole file was read.
  CKpLineStyleLib scratch;
  if (!ok || !ReadLibrary(bytes, scratch)) {
    const QString text = kp::ui::Text(kp::KP_IDS_HOST_OPEN_FILE_FAILED) +
                         QLatin1Char('\n') + QString::fromStdString(path);
    kp::ui::MessageBox(this, text.toStdString());
    return false;
  }
  m_ExtLib = scratch;
  m_pExtList->InitContent();
  return true;
}

bool CDlgStyleMan::OnButtonSave() {
  const CString path = kp::ui::GetSavePathName(this, kFileFilter, kFileSuffix);
  return !path.empty() && SaveLibraryFile(path);
}

bool CDlgStyleMan::SaveLibraryFile(const CString& path) {
  const BOOL modified = m_CurLib.IsModified();
  CKpByteArray stream;
  m_CurLib.Store(stream);
  m_CurLib.SetModifiedFlag(modified);  // the file is an export, not this library's home
  // A temporary file beside the target replaces it only once complete.
  QSaveFile file(QString::fromStdString(path));
  const bool ok = file.open(QIODevice::WriteOnly) &&
                  file.write(reinterpret_cast<const char*>(stream.GetData()), stream.GetSize()) == stream.GetSize() &&
                  file.commit();
  if (!ok) kp::ui::MessageBox(this, kWriteFailed);
  return ok;
}

void CDlgStyleMan::OnButtonDefault() {
  m_ExtLib.RemoveAll();
  m_ExtLib.CreateDefault();
  m_pExtList->InitContent();
}

// --- copying -----------------------------------------------------------------

long CDlgStyleMan::FreeID(long id) const {
  if (id >= kFirstStyleID && !m_CurLib.IsIDExisted(id)) return id;
  return m_CurLib.GetLeagalID() + 1;
}

long CDlgStyleMan::CopyStyles(const std::vector<long>& external) {
  const long sel = m_pCurList->GetCurSel();
  long at = sel >= 0 ? sel : m_CurLib.Count() - 1;
  long last = -1;
  for (long index : external) {
    if (index < 0 || index >= m_ExtLib.Count()) continue;
    CKpLineStyleObj style = m_ExtLib.GetStyleObj(index);
    style.SetID(FreeID(style.GetID()));
    m_CurLib.InsertAfter(at, style);
    last = at + 1;  // InsertAfter puts it there, at 0 for -1
    at = last;
    m_CurLib.GetRootGroup()->AddStyleItem(style.GetID());
  }
  if (last < 0) return -1;
  // One repaint for the rebuilt list.
  m_pCurList->setUpdatesEnabled(false);
  m_pCurList->InitContent();
  m_pCurList->SetCurSel(last);
  m_pCurList->setUpdatesEnabled(true);
  return last;
}

void CDlgStyleMan::OnButtonCopy() { CopyStyles(m_pExtList->GetSelItems()); }

void CDlgStyleMan::OnButtonCopyAll() {
  std::vector<long> all;
  for (long i = 0; i < m_ExtLib.Count(); ++i) all.push_back(i);
  CopyStyles(all);
}
