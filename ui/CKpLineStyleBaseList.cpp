#include "ui/CKpLineStyleBaseList.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"

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
  painter->save();
  {
    CQtDC dc(painter);
    RECT cell{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    const QRect view = viewport()->rect();
    CRect clip(view.left(), view.top(), view.right() + 1, view.bottom() + 1);
    // The sample puts the sub-lines' own widths and colours into force;
    // drawing a copy keeps the current ones the editor has set.
    CKpLineStyleObj sample(*m_pLineStyleObj);
    CKpSymLib* const hostSymbols = gLineStyleEngine.m_pSymLib;
    if (m_pSymLib) gLineStyleEngine.m_pSymLib = m_pSymLib;
    sample.DrawSample(index, &dc, cell, clip);
    gLineStyleEngine.m_pSymLib = hostSymbols;
  }
  painter->setPen(QPen(selected ? Qt::black : Qt::white, 1));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
  painter->restore();
}
