#include "ui/CKpLslExtSymList.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/KpDemoFrame.h"
#include "ui/KpSymbolCells.h"

namespace {

constexpr int kDefaultCell = 40;
// Far more cells than a list can show, and far from overflowing the count.
constexpr long kMaxLineCells = 1L << 20;
constexpr int kSymbolMargin = 3;  // inside the frame

}  // namespace

// Only the number of cells; a cell's symbol follows from its index. Names
// serve as tool tips.
class CKpLslExtSymModel : public QAbstractListModel {
 public:
  explicit CKpLslExtSymModel(CKpLslExtSymList* list) : QAbstractListModel(list), m_pList(list) {}

  void Reset(int count) {
    beginResetModel();
    m_nCount = count;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_nCount; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) return {};
    const CKpSymbol* symbol = m_pList->SymbolAt(index.row());
    return symbol ? QVariant(QString::fromStdString(symbol->m_strName)) : QVariant();
  }

 private:
  CKpLslExtSymList* m_pList;
  int m_nCount = 0;
};

namespace {

class ExtSymDelegate : public QStyledItemDelegate {
 public:
  explicit ExtSymDelegate(CKpLslExtSymList* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    CQtDC dc(painter);
    const QRect& r = option.rect;
    const RECT cell{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    m_pList->Draw(dc, index.row(), cell, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return m_pList->CellSize(); }

 private:
  CKpLslExtSymList* m_pList;
};

}  // namespace

CKpLslExtSymList::CKpLslExtSymList(QWidget* parent) : QListView(parent) {
  m_pModel = new CKpLslExtSymModel(this);
  setModel(m_pModel);
  setItemDelegate(new ExtSymDelegate(this));
  setViewMode(QListView::ListMode);
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setUniformItemSizes(true);
  setSpacing(0);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setGridSize(QSize(kDefaultCell, kDefaultCell));
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit selChange(); });
}

CKpLslExtSymList::~CKpLslExtSymList() = default;

void CKpLslExtSymList::AttachLineSymLib(CKpSymLib* lib, long count) {
  m_pLineSymLib = lib;
  m_nLineSymCount = std::clamp(count, 0L, kMaxLineCells);
}

void CKpLslExtSymList::AttachLineStyleLib(CKpSymLib* resLib) { m_pResSymLib = resLib; }

int CKpLslExtSymList::InitContent() {
  if (!m_pLineSymLib || !m_pResSymLib) {
    m_pModel->Reset(0);
    return 0;
  }
  const long count = kp::ui::SymbolCellCount(m_pLineSymLib, m_nLineSymCount, m_pResSymLib);
  m_pModel->Reset(static_cast<int>(std::clamp(count, 0L, 2 * kMaxLineCells)));
  return 1;
}

CKpSymbol* CKpLslExtSymList::SymbolAt(int index) const {
  if (!m_pLineSymLib || !m_pResSymLib) return nullptr;
  return kp::ui::SymbolOfCell(m_pLineSymLib, m_nLineSymCount, m_pResSymLib, index);
}

int CKpLslExtSymList::GetCount() const { return m_pModel->rowCount(QModelIndex()); }

int CKpLslExtSymList::GetCurSel() const {
  const QModelIndex cur = currentIndex();
  if (!cur.isValid() || !selectionModel()->isSelected(cur)) return -1;
  return cur.row();
}

void CKpLslExtSymList::SetCurSel(int index) {
  if (index < 0 || index >= GetCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex mi = m_pModel->index(index, 0);
  setCurrentIndex(mi);
  scrollTo(mi);
}

void CKpLslExtSymList::SetItemHeight(int height) {
  setGridSize(QSize(gridSize().width(), std::max(1, height)));
  doItemsLayout();
}

void CKpLslExtSymList::SetColumnWidth(int width) {
  setGridSize(QSize(std::max(1, width), gridSize().height()));
  doItemsLayout();
}

int CKpLslExtSymList::Draw(CDC& dc, int index, const RECT& cell, bool selected) {
  if (!m_pLineSymLib || !m_pResSymLib || index < 0 || index >= GetCount()) return 0;
  const COLORREF accent = kp::ui::ToColorRef(palette().color(QPalette::Highlight));
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, selected ? accent : kp::ui::ToColorRef(palette().color(QPalette::Base)));
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(&cell);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);

  CKpSymbol* symbol = SymbolAt(index);
  if (!symbol) return 0;
  CRect room(cell);
  room.DeflateRect(kSymbolMargin, kSymbolMargin);
  symbol->Draw(&dc, room, selected ? accent : kSymbolColor);
  return 1;
}
