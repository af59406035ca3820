#include "ui/CListTTSymbol.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"

// The cells: a fixed number; a cell's character follows from its index.
class CListTTSymbolModel : public QAbstractListModel {
 public:
  explicit CListTTSymbolModel(QObject* parent) : QAbstractListModel(parent) {}
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : CListTTSymbol::kCellCount;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const long code = CListTTSymbol::CodeOfCell(index.row());
    if (code < 0) return {};
    if (role == Qt::ToolTipRole) return QString::number(code);
    if (role == Qt::DisplayRole) return QString(QChar(static_cast<char16_t>(code)));
    return {};
  }
};

class CListTTSymbolDelegate : public QStyledItemDelegate {
 public:
  explicit CListTTSymbolDelegate(CListTTSymbol* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect& r = option.rect;
    // The painter keeps the list's clipping: a wide glyph is cut by the list,
    // not by its cell.
    CQtDC dc(painter);
    m_pList->DrawCell(dc, index.row(), CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1),
                      (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {CListTTSymbol::kCellSize, CListTTSymbol::kCellSize};
  }

 private:
  CListTTSymbol* m_pList;
};

CListTTSymbol::CListTTSymbol(QWidget* parent) : QListView(parent) {
  m_pModel = new CListTTSymbolModel(this);
  setModel(m_pModel);
  setItemDelegate(new CListTTSymbolDelegate(this));
  setViewMode(QListView::ListMode);
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setUniformItemSizes(true);
  setSpacing(0);
  setGridSize(QSize(kCellSize, kCellSize));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalScrollBar()->setSingleStep(kCellSize / 2);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CListTTSymbol::selChange);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit dblClk(index.row());
  });
}

CListTTSymbol::~CListTTSymbol() = default;

long CListTTSymbol::CodeOfCell(int index) { return index >= 0 && index < kCellCount ? index + kFirstCode : -1; }

int CListTTSymbol::CellOfCode(long code) {
  return code >= kFirstCode && code <= kLastCode ? static_cast<int>(code - kFirstCode) : -1;
}

void CListTTSymbol::SetFaceName(const CString& face) {
  m_strFaceName = face;
  viewport()->update();
}

int CListTTSymbol::SelectSymbol(long code) {
  const int cell = CellOfCode(code);
  SetCurSel(cell);
  return cell >= 0 ? 1 : 0;
}

long CListTTSymbol::GetSelectedSymbol() const { return CodeOfCell(GetCurSel()); }

int CListTTSymbol::GetCurSel() const {
  const QModelIndex cur = currentIndex();
  if (!cur.isValid() || !selectionModel()->isSelected(cur)) return -1;
  return cur.row();
}

void CListTTSymbol::SetCurSel(int index) {
  if (index < 0 || index >= kCellCount) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex mi = m_pModel->index(index, 0);
  setCurrentIndex(mi);
  scrollTo(mi);
}

void CListTTSymbol::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && GetCurSel() >= 0) {
    emit dblClk(GetCurSel());
    return;
  }
  QListView::keyPressEvent(event);
}

void CListTTSymbol::DrawCell(CDC& dc, int index, const CRect& rect, bool selected) const {
  const long code = CodeOfCell(index);
  if (code < 0) return;
  dc.FillSolidRect(&rect, RGB(255, 255, 255));

  // The font the engine makes for a glyph decoration, only upright.
  CFont font;
  font.CreateFont(kGlyphHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 4 /*TrueType outlines*/, 0,
                  1 /*draft*/, 68 /*variable pitch, decorative family*/, m_strFaceName.c_str());
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  // Codes stop below 0x80, so the byte is the same character in UTF-8.
  dc.TextOut(rect.left + kGlyphInset, rect.top + kGlyphInset, CString(1, static_cast<char>(code)));
  if (oldFont) dc.SelectObject(oldFont);

  if (!selected) return;
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(&rect);
  if (oldBrush) dc.SelectObject(oldBrush);
  if (oldPen) dc.SelectObject(oldPen);
}
