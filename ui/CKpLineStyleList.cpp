#include "ui/CKpLineStyleList.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>

#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpSampleEngineScope.h"
#include "ui/KpUiResources.h"

namespace {

constexpr int kImageLeft = 260;  // the folder or parent-group picture
constexpr int kImageTop = 4;
constexpr int kTextLeft = 40;  // the group's name
constexpr int kTextTop = 5;
constexpr int kImageSize = 16;

QColor FromColorRef(unsigned c) { return QColor(c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu); }

}  // namespace

// The entries: only their number; an entry's meaning follows from its index.
class CKpLineStyleListModel : public QAbstractListModel {
 public:
  explicit CKpLineStyleListModel(CKpLineStyleList* list) : QAbstractListModel(list), m_pList(list) {}

  void Reset(long count) {
    beginResetModel();
    m_nCount = static_cast<int>(std::clamp<long>(count, 0, INT_MAX));
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_nCount; }
  QVariant data(const QModelIndex& index, int role) const override {
    // Screen readers and tooltips get the entry's name or style ID.
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    long value = -1;
    const CKpLineStyleGroup* group = m_pList->GetCurGroup();
    switch (m_pList->EntryKind(index.row(), value)) {
      case CKpLineStyleList::EntryParent:
        return QStringLiteral("ParentGroup");
      case CKpLineStyleList::EntryGroup:
        return QString::fromStdString(group->SubGroup(value)->GetName());
      case CKpLineStyleList::EntryStyle:
        return QString::number(group->GetItemID(value));
      default:
        return {};
    }
  }

 private:
  CKpLineStyleList* m_pList;
  int m_nCount = 0;
};

namespace {

class CKpLineStyleListDelegate : public QStyledItemDelegate {
 public:
  explicit CKpLineStyleListDelegate(CKpLineStyleList* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    m_pList->OnDrawContent(painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_pList->viewport()->width(), CKpLineStyleList::kItemHeight};
  }

 private:
  CKpLineStyleList* m_pList;
};

}  // namespace

CKpLineStyleList::CKpLineStyleList(QWidget* parent) : QListView(parent) {
  m_pModel = new CKpLineStyleListModel(this);
  setModel(m_pModel);
  setItemDelegate(new CKpLineStyleListDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CKpLineStyleList::selChange);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit dblClk(index.row());
  });
}

CKpLineStyleList::~CKpLineStyleList() = default;

void CKpLineStyleList::AttachLineStyleLib(CKpLineStyleLib* lib) { m_pLineStyleLib = lib; }

void CKpLineStyleList::AttachStyleGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  InitContent();
}

int CKpLineStyleList::InitContent() {
  m_pModel->Reset(m_pLineStyleLib ? EntryCountOf(m_pCurGroup) : 0);
  return m_pLineStyleLib ? 1 : 0;
}

long CKpLineStyleList::EntriesBeforeStyles(const CKpLineStyleGroup* group) {
  if (!group) return 0;
  return group->GetSubGroupCount() + (group->GetParentGroup() ? 1 : 0);
}

long CKpLineStyleList::EntryCountOf(const CKpLineStyleGroup* group) {
  return group ? EntriesBeforeStyles(group) + group->GetItemCount() : 0;
}

int CKpLineStyleList::EntryKindOf(const CKpLineStyleGroup* group, long index, long& out) {
  out = -1;
  if (!group || index < 0 || index >= EntryCountOf(group)) return EntryNone;
  long i = index;
  if (group->GetParentGroup()) {
    if (i == 0) return EntryParent;
    --i;
  }
  if (i < group->GetSubGroupCount()) {
    out = i;
    return EntryGroup;
  }
  out = i - group->GetSubGroupCount();
  return EntryStyle;
}

long CKpLineStyleList::GetCount() const { return m_pModel->rowCount(QModelIndex()); }

long CKpLineStyleList::GetCurSel() const {
  const QModelIndex cur = currentIndex();
  if (!cur.isValid() || !selectionModel()->isSelected(cur)) return -1;
  return cur.row();
}

void CKpLineStyleList::SetCurSel(long index) {
  if (index < 0 || index >= GetCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex mi = m_pModel->index(static_cast<int>(index), 0);
  setCurrentIndex(mi);
  scrollTo(mi);
}

void CKpLineStyleList::RedrawEntry(long index) {
  if (index >= 0 && index < GetCount()) update(m_pModel->index(static_cast<int>(index), 0));
}

void CKpLineStyleList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && GetCurSel() >= 0) {
    emit dblClk(static_cast<int>(GetCurSel()));
    return;
  }
  QListView::keyPressEvent(event);
}

void CKpLineStyleList::OnDrawContent(QPainter* painter, long index, const QRect& rect, bool selected) {
  long value = -1;
  const int kind = m_pLineStyleLib ? EntryKind(index, value) : EntryNone;
  if (kind == EntryNone) return;

  painter->save();
  painter->fillRect(rect, Qt::white);
  if (kind == EntryStyle) {
    const CKpLineStyleObj* style = m_pLineStyleLib->SetStyleByID(m_pCurGroup->GetItemID(value));
    if (style) {
      CQtDC dc(painter, SIZE{viewport()->width(), viewport()->height()});
      RECT item{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
      CRect clip(0, 0, viewport()->width(), viewport()->height());
      // The sample puts the sub-lines' own widths and colours into force: a
      // copy keeps whatever current ones a host has set on the library's style.
      CKpLineStyleObj sample(*style);
      // Symbol decorations come from this library's symbols.
      const CKpSampleEngineScope engine(&m_pLineStyleLib->GetSymLib());
      sample.DrawSample(&dc, item, clip);
    }
  } else {
    const QString text = kind == EntryParent ? QStringLiteral("ParentGroup")
                                             : QString::fromStdString(m_pCurGroup->SubGroup(value)->GetName());
    const QIcon icon = kind == EntryParent ? kp::ui::UpLevelIcon() : kp::ui::FolderIcon(false);
    painter->drawPixmap(rect.left() + kImageLeft, rect.top() + kImageTop,
                        icon.pixmap(QSize(kImageSize, kImageSize), painter->device()->devicePixelRatioF()));
    painter->setPen(palette().color(QPalette::Text));
    const QPoint at(rect.left() + kTextLeft, rect.top() + kTextTop);
    painter->drawText(QRect(at, QPoint(rect.left() + kImageLeft - 4, rect.bottom())),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  painter->setPen(selected ? FromColorRef(kSelectedFrame) : QColor(Qt::white));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}
