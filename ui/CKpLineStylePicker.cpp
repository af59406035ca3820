#include "ui/CKpLineStylePicker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "model/CKpLineStyleGroup.h"
#include "ui/CKpLineStyleTreeCtrl.h"
#include "ui/KpUiResources.h"

CKpLineStylePicker::CKpLineStylePicker(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setFocusPolicy(Qt::StrongFocus);
}

CKpLineStylePicker::~CKpLineStylePicker() = default;

void CKpLineStylePicker::AttachStyleGroup(CKpLineStyleGroup* group) {
  m_pRootGroup = group;
  m_pCurGroup = group;
  update();
}

void CKpLineStylePicker::Init(int droppedWidth, int droppedHeight) {
  if (!m_pTreeCtrl) {
    m_pTreeCtrl = new CKpLineStyleTreeCtrl(this);
    m_pTreeCtrl->hide();
    connect(m_pTreeCtrl, &CKpLineStyleTreeCtrl::groupChanged, this,
            [this](quintptr wparam, long lparam) {
              update();
              emit groupChanged(wparam, lparam);
            });
  }
  m_pTreeCtrl->CreateImageList();
  m_pTreeCtrl->Init(this);
  m_pTreeCtrl->AttachStyleGroup(m_pRootGroup);
  m_nDroppedWidth = droppedWidth > 0 ? droppedWidth : width();
  m_nDroppedHeight = droppedHeight > 0 ? droppedHeight : 100;
}

void CKpLineStylePicker::ReAttachStyleGroup(CKpLineStyleGroup* group) {
  m_pCurGroup = group;
  if (m_pTreeCtrl) m_pTreeCtrl->AttachStyleGroup(group);
  update();
}

CKpLineStyleGroup* CKpLineStylePicker::GetCurSelGroup() const {
  return m_pTreeCtrl ? m_pTreeCtrl->GetCurSelGroup() : nullptr;
}

void CKpLineStylePicker::DisplayTree() {
  if (!m_pTreeCtrl) return;
  const QPoint topLeft = mapToGlobal(QPoint(0, height()));
  m_pTreeCtrl->Display(QRect(topLeft.x(), topLeft.y() + 1, m_nDroppedWidth, m_nDroppedHeight));
}

void CKpLineStylePicker::HideTree() {
  if (m_pTreeCtrl) m_pTreeCtrl->hide();
}

bool CKpLineStylePicker::GetDroppedState() const { return m_pTreeCtrl && m_pTreeCtrl->isVisible(); }

void CKpLineStylePicker::ToggleTree() {
  if (GetDroppedState())
    HideTree();
  else
    DisplayTree();
}

void CKpLineStylePicker::showPopup() { DisplayTree(); }

void CKpLineStylePicker::hidePopup() { HideTree(); }

void CKpLineStylePicker::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    setFocus(Qt::MouseFocusReason);
    ToggleTree();
    event->accept();
    return;
  }
  QComboBox::mousePressEvent(event);
}

void CKpLineStylePicker::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    ToggleTree();
    event->accept();
    return;
  }
  QComboBox::mouseDoubleClickEvent(event);
}

void CKpLineStylePicker::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((event->modifiers() & Qt::AltModifier) && key == Qt::Key_Down) {
    DisplayTree();
    return;
  }
  if (key == Qt::Key_F4) {
    ToggleTree();
    return;
  }
  if (!GetDroppedState() && m_pTreeCtrl) {
    if (key == Qt::Key_Down || key == Qt::Key_Right) {
      m_pTreeCtrl->SelectNextItem(true);
      update();
      return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Left) {
      m_pTreeCtrl->SelectNextItem(false);
      update();
      return;
    }
  }
  if (key == Qt::Key_Space || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home ||
      key == Qt::Key_End || key == Qt::Key_Down || key == Qt::Key_Up) {
    return;  // the combo box's own list and items are never used
  }
  QComboBox::keyPressEvent(event);
}

void CKpLineStylePicker::wheelEvent(QWheelEvent* event) { event->ignore(); }

void CKpLineStylePicker::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox opt;
  initStyleOption(&opt);
  opt.currentText.clear();
  opt.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, opt);

  if (!m_pCurGroup || !m_pTreeCtrl || !m_pTreeCtrl->GetSelectedItem()) return;
  const QRect client = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
  const int y = (height() - m_nIconSize) / 2;
  painter.drawPixmap(QPoint(client.left() + 4, y), kp::ui::FolderIcon(false).pixmap(m_nIconSize, m_nIconSize));

  const QString name = QString::fromStdString(m_pCurGroup->GetName());
  QRect text = client.adjusted(4 + m_nIconSize + 2, 1, 0, -1);
  text.setRight(std::min(text.right(), text.left() + fontMetrics().horizontalAdvance(name) + 4));
  const bool selected = hasFocus();
  if (selected) {
    painter.fillRect(text, palette().brush(QPalette::Highlight));
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = text;
    focus.backgroundColor = palette().color(QPalette::Highlight);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    painter.setPen(palette().color(QPalette::HighlightedText));
  } else {
    painter.setPen(palette().color(QPalette::WindowText));
  }
  painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
}
