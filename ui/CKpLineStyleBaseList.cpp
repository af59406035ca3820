#include "ui/CKpLineStyleBaseList.h"

#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "model/CKpLineStyleObj.h"
#include "ui/KpSampleRows.h"

// Rows are painted by the list itself, 24 pixels high, as wide as the view.
class CKpLineStyleBaseListDelegate : public QStyledItemDelegate {
 public:
  explicit CKpLineStyleBaseListDelegate(CKpLineStyleBaseList* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    m_pList->DrawItem(painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_pList->viewport()->width(), CKpLineStyleBaseList::kItemHeight};
  }

 private:
  CKpLineStyleBaseList* m_pList;
};

namespace {
// The row texts say where a row came from; they are never shown.
const QString kExistingRow = QStringLiteral("BaseLine");
const QString kAddedRow = QStringLiteral("New_SubLine");
}  // namespace

CKpLineStyleBaseList::CKpLineStyleBaseList(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new CKpLineStyleBaseListDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(this, &QListWidget::currentRowChanged, this, [this](int) { emit selChange(); });
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit dblClk(row(item)); });
}

CKpLineStyleBaseList::~CKpLineStyleBaseList() = default;

void CKpLineStyleBaseList::InitContent() {
  const QSignalBlocker block(this);
  clear();
  if (!m_pLineStyleObj) return;
  for (long i = 0; i < m_pLineStyleObj->Count(); ++i) addItem(kExistingRow);
}

int CKpLineStyleBaseList::AddSubLine() {
  const QSignalBlocker block(this);
  addItem(kAddedRow);
  return count() - 1;
}

void CKpLineStyleBaseList::DeleteSubLine(int index) {
  if (index < 0 || index >= count()) return;
  const QSignalBlocker block(this);
  delete takeItem(index);
}

int CKpLineStyleBaseList::GetCurSel() const {
  const int row = currentRow();
  if (row < 0 || !item(row)->isSelected()) return -1;
  return row;
}

void CKpLineStyleBaseList::SetCurSel(int index) {
  const QSignalBlocker block(this);
  if (index < 0 || index >= count()) {
    clearSelection();
    setCurrentRow(-1);
    return;
  }
  setCurrentRow(index);
  scrollToItem(item(index));
}

void CKpLineStyleBaseList::DrawItem(QPainter* painter, int index, const QRect& rect, bool selected) {
  if (!m_pLineStyleObj || index < 0 || index >= m_pLineStyleObj->Count()) return;
  kp::ui::PaintSubLineRow(*painter, viewport()->rect(), *m_pLineStyleObj, m_pSymLib, index, rect, selected);
}
