#include "ui/CListLineSel.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>

#include "model/CKpLineStyleLib.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpSampleEngineScope.h"

// The rows: only their number; row i is style i of the library.
class CListLineSelModel : public QAbstractListModel {
 public:
  explicit CListLineSelModel(CListLineSel* list) : QAbstractListModel(list), m_pList(list) {}

  void Reset(long count) {
    beginResetModel();
    m_nCount = static_cast<int>(std::clamp<long>(count, 0, INT_MAX));
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_nCount; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) return {};
    const CKpLineStyleLib* lib = m_pList->GetLineStyleLib();
    if (!lib || index.row() >= lib->Count()) return {};
    return QString::fromStdString(lib->GetStyleObj(index.row()).GetName());
  }

 private:
  CListLineSel* m_pList;
  int m_nCount = 0;
};

class CListLineSelDelegate : public QStyledItemDelegate {
 public:
  explicit CListLineSelDelegate(CListLineSel* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    m_pList->PaintRow(painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_pList->viewport()->width(), CListLineSel::kItemHeight};
  }

 private:
  CListLineSel* m_pList;
};

CListLineSel::CListLineSel(QWidget* parent) : QListView(parent) {
  m_pModel = new CListLineSelModel(this);
  setModel(m_pModel);
  setItemDelegate(new CListLineSelDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CListLineSel::selChange);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit dblClk(index.row());
  });
}

CListLineSel::~CListLineSel() = default;

void CListLineSel::AttachLineStyleLib(CKpLineStyleLib* lib) { m_pLineStyleLib = lib; }

int CListLineSel::InitContent() {
  m_pModel->Reset(m_pLineStyleLib ? m_pLineStyleLib->Count() : 0);
  return m_pLineStyleLib ? 1 : 0;
}

void CListLineSel::SetMultiSelect(bool on) {
  clearSelection();
  setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool CListLineSel::IsMultiSelect() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }

long CListLineSel::GetCount() const { return m_pModel->rowCount(QModelIndex()); }

long CListLineSel::GetCurSel() const {
  const QModelIndex cur = currentIndex();
  if (cur.isValid() && selectionModel()->isSelected(cur)) return cur.row();
  const std::vector<long> rows = GetSelItems();
  return rows.empty() ? -1 : rows.front();
}

void CListLineSel::SetCurSel(long index) {
  if (index < 0 || index >= GetCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex mi = m_pModel->index(static_cast<int>(index), 0);
  selectionModel()->setCurrentIndex(mi, QItemSelectionModel::ClearAndSelect);
  scrollTo(mi);
}

std::vector<long> CListLineSel::GetSelItems() const {
  std::vector<long> rows;
  for (const QModelIndex& mi : selectionModel()->selectedIndexes()) rows.push_back(mi.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CListLineSel::SetSel(long index, bool on) {
  if (index < 0 || index >= GetCount()) return;
  const QModelIndex mi = m_pModel->index(static_cast<int>(index), 0);
  if (!IsMultiSelect()) {
    if (on) SetCurSel(index);
    else selectionModel()->select(mi, QItemSelectionModel::Deselect);
    return;
  }
  selectionModel()->select(mi, on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void CListLineSel::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && GetCurSel() >= 0) {
    emit dblClk(static_cast<int>(GetCurSel()));
    return;
  }
  QListView::keyPressEvent(event);
}

void CListLineSel::DrawItem(CDC& dc, long index, const RECT& rect, bool selected) const {
  if (!m_pLineStyleLib || index < 0 || index >= m_pLineStyleLib->Count()) return;
  DrawStyleSample(dc, *m_pLineStyleLib, index, rect);
  DrawFrame(dc, rect, selected);
}

void CListLineSel::PaintRow(QPainter* painter, long index, const QRect& rect, bool selected) const {
  CQtDC dc(painter, SIZE{viewport()->width(), viewport()->height()});
  DrawItem(dc, index, RECT{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1}, selected);
}

void CListLineSel::DrawStyleSample(CDC& dc, CKpLineStyleLib& lib, long index, const RECT& rect) {
  if (index < 0 || index >= lib.Count()) return;
  // The sample puts the sub-lines' own widths and colours into force: a copy
  // keeps whatever current ones a host has set on the library's style.
  CKpLineStyleObj sample(lib.GetStyleObj(index));
  RECT item = rect;
  CRect clip(rect);
  {
    // Symbol decorations come from this library's symbols.
    const CKpSampleEngineScope engine(&lib.GetSymLib());
    sample.DrawSample(&dc, item, clip);
  }
  // The sample leaves its clip selected; the frame and the next row need none.
  dc.SelectClipRgn(nullptr);
}

void CListLineSel::DrawFrame(CDC& dc, const RECT& rect, bool selected) {
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, selected ? RGB(0, 0, 0) : RGB(255, 255, 255));
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(&rect);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}
