#include "ui/CKpLineStylePickerList.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleLib.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/KpUiResources.h"

// The cells of the list: only their number; a cell's meaning follows from its
// index (CKpLineStylePickerList::CellKind).
class CKpLineStylePickerModel : public QAbstractListModel {
 public:
  explicit CKpLineStylePickerModel(CKpLineStylePickerList* list) : QAbstractListModel(list), m_pList(list) {}

  void Reset(int count) {
    beginResetModel();
    m_nCount = count;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_nCount; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    long v = -1;
    const int kind = m_pList->CellKind(index.row(), v);
    CKpLineStyleGroup* group = m_pList->GetCurGroup();
    CKpLineStyleLib* lib = m_pList->GetLineStyleLib();
    switch (kind) {
      case CKpLineStylePickerList::CellGroup:
        return QString::fromStdString(group->SubGroup(v)->GetName());
      case CKpLineStylePickerList::CellPen:
        return role == Qt::ToolTipRole ? QStringLiteral("WIN32 System %1").arg(v) : QStringLiteral("WIN32 System");
      case CKpLineStylePickerList::CellStyle:
        if (lib) {
          if (CKpLineStyleObj* s = lib->SetStyleByID(v)) return QString::fromStdString(s->GetName());
        }
        return {};
      default:
        return {};
    }
  }

 private:
  CKpLineStylePickerList* m_pList;
  int m_nCount = 0;
};

class CKpLineStylePickerDelegate : public QStyledItemDelegate {
 public:
  explicit CKpLineStylePickerDelegate(CKpLineStylePickerList* list) : QStyledItemDelegate(list), m_pList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    ++m_pList->m_nPaintCount;
    m_pList->OnDrawContent(painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_pList->GetCellWidth(), m_pList->GetItemHeight()};
  }

 private:
  CKpLineStylePickerList* m_pList;
};

namespace {

// Switches the DC to the isotropic mode and puts the sample line of a cell in
// its logical units: across the middle three fifths, 20 units above the
// centre (the y axis points up). Returns the previous mapping mode.
int SampleLine(CDC& dc, const QRect& cell, POINT (&pts)[2]) {
  const int oldMode = dc.SetMapMode(MM_ISOTROPIC);
  CRect r(cell.left(), cell.top(), cell.right() + 1, cell.bottom() + 1);
  dc.DPtoLP(&r);
  const LONG width = r.right - r.left;
  const LONG y = (r.top + r.bottom) / 2 + 20;
  pts[0] = POINT{r.left + width / 5, y};
  pts[1] = POINT{r.right - width / 5, y};
  return oldMode;
}

}  // namespace

CKpLineStylePickerList::CKpLineStylePickerList(QWidget* parent) : QListView(parent) {
  m_pModel = new CKpLineStylePickerModel(this);
  setModel(m_pModel);
  setItemDelegate(new CKpLineStylePickerDelegate(this));
  setViewMode(QListView::ListMode);
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setUniformItemSizes(true);
  setSpacing(0);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A steady viewport width: the column fit does not change when the list grows.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  UpdateGrid();
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit dblClk(index.row());
  });
}

CKpLineStylePickerList::~CKpLineStylePickerList() = default;

void CKpLineStylePickerList::AttachLineStyleLib(CKpLineStyleLib* lib) { m_pLineStyleLib = lib; }

void CKpLineStylePickerList::AttachStyleGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  InitContent();
}

int CKpLineStylePickerList::CellCountOf(const CKpLineStyleGroup* group) {
  if (!group) return 0;
  return static_cast<int>(group->GetSubGroupCount() + (group->GetParentGroup() ? 0 : kPenCount) +
                          group->GetItemCount());
}

int CKpLineStylePickerList::InitContent() {
  if (!m_pLineStyleLib) {
    m_pModel->Reset(0);
    return 0;
  }
  m_pModel->Reset(CellCountOf(m_pCurGroup));
  if (selectionModel()) {
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CKpLineStylePickerList::selChange,
            Qt::UniqueConnection);
  }
  return 1;
}

int CKpLineStylePickerList::CellKindOf(const CKpLineStyleGroup* group, int index, long& out) {
  out = -1;
  if (!group || index < 0 || index >= CellCountOf(group)) return CellNone;
  const long s = group->GetSubGroupCount();
  if (index < s) {
    out = index;
    return CellGroup;
  }
  long i = index - s;
  if (!group->GetParentGroup()) {
    if (i < kPenCount) {
      out = i;
      return CellPen;
    }
    i -= kPenCount;
  }
  out = group->GetItemID(i);
  return CellStyle;
}

int CKpLineStylePickerList::CellKind(int index, long& out) const { return CellKindOf(m_pCurGroup, index, out); }

int CKpLineStylePickerList::GetCount() const { return m_pModel->rowCount(QModelIndex()); }

int CKpLineStylePickerList::GetCurSel() const {
  const QModelIndex cur = currentIndex();
  if (!cur.isValid() || !selectionModel() || !selectionModel()->isSelected(cur)) return -1;
  return cur.row();
}

void CKpLineStylePickerList::SetCurSel(int index) {
  if (index < 0 || index >= GetCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  const QModelIndex mi = m_pModel->index(index, 0);
  setCurrentIndex(mi);
  scrollTo(mi);
}

void CKpLineStylePickerList::SetColumnWidth(int width) {
  m_nColumnWidth = std::max(1, width);
  UpdateGrid();
}

void CKpLineStylePickerList::SetItemHeight(int height) {
  m_nItemHeight = std::max(1, height);
  UpdateGrid();
}

void CKpLineStylePickerList::UpdateGrid() {
  // The view wraps a row when a cell would reach past the viewport's last pixel column.
  const int available = viewport()->width() - 1;
  m_nCellWidth = m_nColumnWidth;
  if (available > 0 && m_nColumnWidth > 1) {
    const int columns = std::max(1, available / (m_nColumnWidth - 1));
    if (columns * m_nColumnWidth > available) m_nCellWidth = std::max(1, available / columns);
  }
  if (gridSize() == QSize(m_nCellWidth, m_nItemHeight)) return;
  setGridSize(QSize(m_nCellWidth, m_nItemHeight));
  verticalScrollBar()->setSingleStep(std::max(1, m_nItemHeight / 4));
  doItemsLayout();
}

void CKpLineStylePickerList::resizeEvent(QResizeEvent* event) {
  QListView::resizeEvent(event);
  UpdateGrid();
}

bool CKpLineStylePickerList::viewportEvent(QEvent* event) {
  const bool handled = QListView::viewportEvent(event);
  if (event->type() == QEvent::Resize) UpdateGrid();
  return handled;
}

void CKpLineStylePickerList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && GetCurSel() >= 0) {
    emit dblClk(GetCurSel());
    return;
  }
  QListView::keyPressEvent(event);
}

void CKpLineStylePickerList::OnDrawContent(QPainter* painter, int index, const QRect& rect, bool selected) {
  if (index < 0 || !m_pCurGroup || !m_pLineStyleLib) return;
  long value = -1;
  const int kind = CellKind(index, value);
  if (kind == CellNone) return;

  painter->save();
  painter->setClipRect(rect, Qt::IntersectClip);
  painter->fillRect(rect, palette().brush(QPalette::Base));
  const int centreY = rect.top() + rect.height() / 2;
  QString label;

  if (kind == CellGroup) {
    painter->drawPixmap(rect.left() + 25, rect.top() + 10, kp::ui::Folder48(painter->device()->devicePixelRatioF()));
    label = QString::fromStdString(m_pCurGroup->SubGroup(value)->GetName());
  } else {
    if (kind == CellStyle) {
      CKpLineStyleObj* style = m_pLineStyleLib->Count() > 0 ? m_pLineStyleLib->SetStyleByID(value) : nullptr;
      if (style) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        {
          CQtDC dc(painter);
          POINT pts[2];
          const int oldMode = SampleLine(dc, rect, pts);
          gLineStyleEngine.KeepDC(&dc);
          gLineStyleEngine.SetClearSawtooth(1);
          style->SetLineStyle();
          style->Polyline(pts, 2);
          gLineStyleEngine.SetClearSawtooth(0);
          gLineStyleEngine.RestoreDC();
          dc.SetMapMode(oldMode);
        }
        painter->restore();
        label = QString::fromStdString(style->GetName());
      }
    } else if (value < 5) {
      painter->save();
      {
        CQtDC dc(painter);
        POINT pts[2];
        const int oldMode = SampleLine(dc, rect, pts);
        CPen pen;
        pen.CreatePen(static_cast<int>(value), 1, RGB(0, 0, 0));
        CPen* old = dc.SelectObject(&pen);
        gLineStyleEngine.KeepDC(&dc);
        gLineStyleEngine.SetClearSawtooth(1);
        gLineStyleEngine.Polyline(pts, 2);
        gLineStyleEngine.SetClearSawtooth(0);
        gLineStyleEngine.RestoreDC();
        dc.SelectObject(old);
        dc.SetMapMode(oldMode);
      }
      painter->restore();
      label = QStringLiteral("WIN32 System");
    } else {
      const QRect box(QPoint(rect.left() + rect.width() / 5, rect.top() + 35),
                      QPoint(rect.right() - rect.width() / 5, centreY + 20));
      painter->setPen(QColor(255, 0, 0));
      painter->drawText(box, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("NULL_PEN"));
      label = QStringLiteral("WIN32 System");
    }
  }

  const QRect labelRect(QPoint(rect.left() + 5, centreY + 15), QPoint(rect.right() - 5, rect.bottom()));
  if (selected) {
    const QRect textBox = painter->fontMetrics().boundingRect(labelRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, label);
    painter->fillRect(textBox, palette().brush(QPalette::Highlight));
    painter->setPen(palette().color(QPalette::HighlightedText));
  } else {
    painter->setPen(palette().color(QPalette::Text));
  }
  painter->drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, label);
  painter->restore();
}
