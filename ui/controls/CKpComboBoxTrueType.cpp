#include "ui/controls/CKpComboBoxTrueType.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>
#include <QSignalBlocker>
#include <algorithm>

namespace {

// The bytes of an entry's face name live in this role: an extra entry's name
// need not be valid UTF-8, and must come back unchanged.
constexpr int kFaceRole = Qt::UserRole;
constexpr int kExtraRole = Qt::UserRole + 1;

// "Family [Foundry]" names one of several families of one name.
QString WithoutFoundry(const QString& family) {
  const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
  if (open > 0 && family.endsWith(QLatin1Char(']'))) return family.left(open);
  return family;
}

bool LessIgnoringCase(const QString& a, const QString& b) {
  const int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

CKpComboBoxTrueType::CKpComboBoxTrueType(QWidget* parent) : QComboBox(parent) {
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(20);
  setMaxVisibleItems(20);
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit selChange(); });
}

CKpComboBoxTrueType::~CKpComboBoxTrueType() = default;

QStringList CKpComboBoxTrueType::InstalledFaces() {
  const QStringList all = QFontDatabase::families();
  QSet<QString> names;
  for (const QString& family : all) {
    if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) continue;
    names.insert(WithoutFoundry(family));
  }
  // Generic names ("Sans Serif", "Monospace") resolve to another listed
  // family; stored in a library they would mean a different face elsewhere.
  QStringList faces;
  for (const QString& name : names) {
    const QString resolved = QFontInfo(QFont(name)).family();
    if (resolved.compare(name, Qt::CaseInsensitive) != 0 && names.contains(resolved)) continue;
    faces.append(name);
  }
  std::sort(faces.begin(), faces.end(), LessIgnoringCase);
  return faces;
}

int CKpComboBoxTrueType::AddFontName() {
  QSignalBlocker blocker(this);
  clear();
  for (const QString& face : InstalledFaces()) addItem(face, face.toUtf8());
  setCurrentIndex(-1);
  blocker.unblock();
  emit selChange();
  return count();
}

bool CKpComboBoxTrueType::IsExtraEntry(int index) const { return itemData(index, kExtraRole).toBool(); }

void CKpComboBoxTrueType::RemoveExtraEntry() {
  for (int i = count() - 1; i >= 0; --i)
    if (IsExtraEntry(i)) removeItem(i);
}

int CKpComboBoxTrueType::FindInstalled(const QByteArray& bytes) const {
  for (int i = 0; i < count(); ++i)
    if (!IsExtraEntry(i) && itemData(i, kFaceRole).toByteArray() == bytes) return i;
  // Face names are not case-sensitive to the font matcher either.
  const QString name = QString::fromUtf8(bytes);
  for (int i = 0; i < count(); ++i)
    if (!IsExtraEntry(i) && itemText(i).compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

int CKpComboBoxTrueType::SelectFaceName(const CString& face) {
  const QByteArray bytes(face.data(), static_cast<qsizetype>(face.size()));
  const CString before = GetSelectedFaceName();
  QSignalBlocker blocker(this);
  RemoveExtraEntry();
  int index = face.empty() ? -1 : FindInstalled(bytes);
  const int installed = index >= 0 ? 1 : 0;
  if (index < 0 && !face.empty()) {
    insertItem(0, QString::fromUtf8(bytes), bytes);
    setItemData(0, true, kExtraRole);
    QFont italic = font();
    italic.setItalic(true);
    setItemData(0, italic, Qt::FontRole);
    index = 0;
  }
  setCurrentIndex(index);
  blocker.unblock();
  if (GetSelectedFaceName() != before) emit selChange();
  return installed;
}

CString CKpComboBoxTrueType::GetSelectedFaceName() const {
  const int i = currentIndex();
  if (i < 0) return CString();
  const QByteArray bytes = itemData(i, kFaceRole).toByteArray();
  return CString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
