#include "ui/CKpLineStyleTreeCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

#include "model/CKpLineStyleGroup.h"
#include "ui/CKpLineStylePicker.h"
#include "ui/KpUiResources.h"

CKpLineStyleTreeCtrl::CKpLineStyleTreeCtrl(QWidget* owner) : QTreeWidget(owner) {
  setWindowFlags(Qt::Popup);
  // A click on the picker closes the pop-up and is not replayed there, so
  // such a click toggles the tree closed.
  setAttribute(Qt::WA_NoMouseReplay);
  setColumnCount(1);
  header()->hide();
  setRootIsDecorated(true);
  setItemsExpandable(true);
  setAllColumnsShowFocus(true);
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setMouseTracking(true);  // hot tracking
  setIconSize(QSize(16, 16));
  setGeometry(0, 0, 10, 10);
  connect(this, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) { SetItemImage(item, 1); });
  connect(this, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) { SetItemImage(item, 0); });
}

CKpLineStyleTreeCtrl::~CKpLineStyleTreeCtrl() = default;

void CKpLineStyleTreeCtrl::Init(CKpLineStylePicker* picker) { m_pPicker = picker; }

void CKpLineStyleTreeCtrl::CreateImageList() {
  // Items carry their image number; the icons follow from it.
  for (QTreeWidgetItemIterator it(this); *it; ++it) SetItemImage(*it, ItemImage(*it));
}

void CKpLineStyleTreeCtrl::AttachStyleGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  InitStyleGroup();
}

void CKpLineStyleTreeCtrl::SetItemImage(QTreeWidgetItem* item, int image) {
  if (!item) return;
  item->setData(0, KP_TREE_IMAGE_ROLE, image);
  item->setIcon(0, kp::ui::FolderIcon(image == kp::ui::kFolderOpenImage));
}

QTreeWidgetItem* CKpLineStyleTreeCtrl::NewItem(QTreeWidgetItem* parent, CKpLineStyleGroup* group,
                                               int image) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(0, QString::fromStdString(group->GetName()));
  item->setData(0, Qt::UserRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(group)));
  SetItemImage(item, image);
  return item;
}

void CKpLineStyleTreeCtrl::InitStyleGroup() {
  const QSignalBlocker block(this);  // the images are set explicitly below
  clear();
  m_hSelectedItem = nullptr;
  if (!m_pCurGroup) return;

  // The chain, root first.
  std::vector<CKpLineStyleGroup*> chain;
  for (CKpLineStyleGroup* g = m_pCurGroup; g; g = g->GetParentGroup()) chain.insert(chain.begin(), g);
  const size_t n = chain.size();
  CKpLineStyleGroup* root = chain.front();

  QTreeWidgetItem* rootItem = NewItem(nullptr, root, 0);
  m_hSelectedItem = rootItem;
  QTreeWidgetItem* level1 = rootItem;

  for (long i = 0; i < root->GetSubGroupCount(); ++i) {
    CKpLineStyleGroup* sub = root->SubGroup(i);
    if (!sub) continue;
    const bool inChain = n > 1 && chain[1] == sub;
    const bool isCurrent = inChain && sub == m_pCurGroup;
    QTreeWidgetItem* item = NewItem(rootItem, sub, isCurrent ? 1 : 0);
    if (isCurrent) m_hSelectedItem = item;
    if (inChain) level1 = item;
  }

  QTreeWidgetItem* parent = level1;
  for (size_t pos = 2; pos < n; ++pos) {
    const bool last = pos == n - 1;
    QTreeWidgetItem* item = NewItem(parent, chain[pos], last ? 1 : 0);
    if (last) {
      m_hSelectedItem = item;
    } else {
      item->setExpanded(true);
      parent = item;
    }
  }

  rootItem->setExpanded(true);
  level1->setExpanded(true);
  QTreeWidgetItem* expanded = level1;
  while (expanded->childCount() > 0) {
    expanded = expanded->child(0);
    expanded->setExpanded(true);
  }
  if (m_hSelectedItem) setCurrentItem(m_hSelectedItem);
}

void CKpLineStyleTreeCtrl::Display(const QRect& screenRect) {
  setGeometry(screenRect);
  show();
  raise();
  activateWindow();
  setFocus(Qt::PopupFocusReason);
  if (m_hSelectedItem) scrollToItem(m_hSelectedItem);
}

void CKpLineStyleTreeCtrl::HideAndInform() {
  hide();
  Inform();
}

void CKpLineStyleTreeCtrl::Inform() {
  const quintptr group = m_hSelectedItem ? m_hSelectedItem->data(0, Qt::UserRole).value<quintptr>() : 0;
  emit groupChanged(group, 0);
  if (m_pPicker) m_pPicker->setFocus(Qt::OtherFocusReason);
}

void CKpLineStyleTreeCtrl::SelectItem(QTreeWidgetItem* item) {
  m_hSelectedItem = item;
  if (item) setCurrentItem(item);
}

void CKpLineStyleTreeCtrl::SelectNextItem(bool next) {
  if (!m_hSelectedItem) return;
  QTreeWidgetItem* item = next ? itemBelow(m_hSelectedItem) : itemAbove(m_hSelectedItem);
  if (!item) return;
  SelectItem(item);
  Inform();
}

CKpLineStyleGroup* CKpLineStyleTreeCtrl::ItemGroup(const QTreeWidgetItem* item) {
  if (!item) return nullptr;
  return reinterpret_cast<CKpLineStyleGroup*>(item->data(0, Qt::UserRole).value<quintptr>());
}

int CKpLineStyleTreeCtrl::ItemImage(const QTreeWidgetItem* item) {
  if (!item) return -1;
  const QVariant v = item->data(0, KP_TREE_IMAGE_ROLE);
  return v.isValid() ? v.toInt() : 0;
}

QTreeWidgetItem* CKpLineStyleTreeCtrl::FindItem(const CKpLineStyleGroup* group) const {
  for (QTreeWidgetItemIterator it(const_cast<CKpLineStyleTreeCtrl*>(this)); *it; ++it)
    if (ItemGroup(*it) == group) return *it;
  return nullptr;
}

void CKpLineStyleTreeCtrl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      hide();
      if (m_pPicker) m_pPicker->setFocus(Qt::OtherFocusReason);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (QTreeWidgetItem* caret = currentItem()) {
        m_hSelectedItem = caret;
        m_pCurSelGroup = ItemGroup(caret);
      }
      HideAndInform();
      return;
    default:
      QTreeWidget::keyPressEvent(event);
  }
}

void CKpLineStyleTreeCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTreeWidget::mousePressEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  if (!rect().contains(pos)) {  // outside the pop-up: let it close
    QTreeWidget::mousePressEvent(event);
    return;
  }
  QTreeWidgetItem* hit = itemAt(pos);
  // The expand button lies left of the item's own rectangle.
  if (hit && hit->childCount() > 0 && pos.x() < visualItemRect(hit).left()) {
    QTreeWidget::mousePressEvent(event);
    return;
  }
  m_hSelectedItem = hit ? hit : currentItem();
  m_pCurSelGroup = ItemGroup(m_hSelectedItem);
  HideAndInform();
}

void CKpLineStyleTreeCtrl::mouseMoveEvent(QMouseEvent* event) {
  if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) setCurrentItem(item);
  QTreeWidget::mouseMoveEvent(event);
}

void CKpLineStyleTreeCtrl::focusOutEvent(QFocusEvent* event) {
  QTreeWidget::focusOutEvent(event);
  if (event->reason() == Qt::PopupFocusReason) return;
  QWidget* under = QApplication::widgetAt(QCursor::pos());
  if (m_pPicker && under == m_pPicker) return;
  hide();
}
