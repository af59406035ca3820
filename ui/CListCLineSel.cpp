#include "ui/CListCLineSel.h"

#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "model/CKpLineStyleObj.h"
#include "ui/KpSampleRows.h"

// Rows are painted by the list itself, as wide as the view.
class CListCLineSelDelegate : public QStyledItemDelegate {
 public:
  explicit CListCLineSelDelegate(CListCLineSel* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    m_pList->DrawItem(painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_pList->viewport()->width(), CListCLineSel::kItemHeight};
  }

 private:
  CListCLineSel* m_pList;
};

CListCLineSel::CListCLineSel(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new CListCLineSelDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(this, &QListWidget::currentRowChanged, this, [this](int) { emit selChange(); });
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { emit dblClk(row(item)); });
}

CListCLineSel::~CListCLineSel() = default;

bool CListCLineSel::InitContent() {
  const QSignalBlocker block(this);
  clear();
  if (!m_pLineStyleObj) return false;
  for (long i = 0; i < m_pLineStyleObj->Count(); ++i) addItem(QStringLiteral("SubLine"));
  return true;
}

int CListCLineSel::GetCurSel() const {
  const int row = currentRow();
  if (row < 0 || !item(row)->isSelected()) return -1;
  return row;
}

void CListCLineSel::SetCurSel(int index) {
  const QSignalBlocker block(this);
  if (index < 0 || index >= count()) {
    clearSelection();
    setCurrentRow(-1);
    return;
  }
  setCurrentRow(index);
  scrollToItem(item(index));
}

void CListCLineSel::DrawItem(QPainter* painter, int index, const QRect& rect, bool selected) const {
  if (!m_pLineStyleObj || index < 0 || index >= m_pLineStyleObj->Count()) return;
  kp::ui::PaintSubLineRow(*painter, viewport()->rect(), *m_pLineStyleObj, m_pSymLib, index, rect, selected);
}
