#include "ui/KpDialogForms.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "module/KpStringTable.h"
#include "ui/controls/CKpNumEdit.h"

namespace kp::ui {

namespace {
constexpr int kToolTipMax = 79;
}  // namespace

QString Text(int id) { return QString::fromStdString(kp::ModuleString(id)); }

bool ReadNumber(const QString& text, long& out) {
  bool ok = false;
  const long v = text.trimmed().toLong(&ok, 10);
  if (ok) out = v;
  return ok;
}

bool ReadBox(const QString& text, QScrollBar* spin, long min, long max, long& value) {
  if (!ReadNumber(text, value)) return false;
  SetSpinQuietly(spin, value);
  return value >= min && value <= max;
}

int IndexOrNone(long value, int count) { return value >= 0 && value < count ? static_cast<int>(value) : -1; }

void SelectQuietly(QComboBox* box, long value) {
  const QSignalBlocker block(box);
  box->setCurrentIndex(IndexOrNone(value, box->count()));
}

void SetSpinQuietly(QScrollBar* spin, long value) {
  const QSignalBlocker block(spin);
  spin->setValue(static_cast<int>(std::clamp<long>(value, spin->minimum(), spin->maximum())));
}

void ShowNumber(CKpNumEdit* edit, QScrollBar* spin, long value) {
  {
    const QSignalBlocker block(edit);
    edit->SetValue(value);
    edit->setText(QString::number(value));
  }
  SetSpinQuietly(spin, value);
}

void FollowSpin(QLineEdit* edit, QScrollBar* spin) {
  QObject::connect(spin, &QScrollBar::valueChanged, edit, [edit](int v) { edit->setText(QString::number(v)); });
}

QScrollBar* MakeSpin(QWidget* parent, long min, long max, int height) {
  auto* spin = new QScrollBar(Qt::Vertical, parent);
  spin->setRange(static_cast<int>(min), static_cast<int>(max));
  spin->setInvertedAppearance(true);
  spin->setFixedSize(16, height);
  return spin;
}

CKpNumEdit* MakeNumEdit(QWidget* parent, long min, long max, int width) {
  auto* edit = new CKpNumEdit(parent);
  edit->SetRange(min, max);
  edit->setFixedWidth(width);
  return edit;
}

QHBoxLayout* EditRow(QWidget* edit, QWidget* spin) {
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->addWidget(edit);
  row->addWidget(spin);
  row->addStretch(1);
  return row;
}

QComboBox* MakeCombo(QWidget* parent, std::initializer_list<const char*> items) {
  auto* box = new QComboBox(parent);
  for (const char* item : items) box->addItem(QString::fromUtf8(item));
  return box;
}

void SetUpFindBox(QComboBox* box) {
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(20);
}

QToolBar* MakeToolBar(QWidget* parent) {
  auto* bar = new QToolBar(parent);
  bar->setFixedHeight(24);
  bar->setIconSize(QSize(16, 16));
  bar->setMovable(false);
  bar->setFloatable(false);
  return bar;
}

QAction* AddToolCommand(QToolBar* bar, int id, const QIcon& icon) {
  QAction* action = bar->addAction(icon, Text(id));
  action->setToolTip(Text(id).left(kToolTipMax));
  return action;
}

QVBoxLayout* ToolBarDialogLayout(QWidget* dialog, QToolBar* bar) {
  auto* outer = new QVBoxLayout(dialog);
  outer->setContentsMargins(0, 1, 0, 10);
  outer->setSpacing(0);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  auto* barRow = new QHBoxLayout;
  barRow->setContentsMargins(10, 0, 0, 0);
  barRow->addWidget(bar);
  outer->addLayout(barRow);
  outer->addSpacing(6);
  return outer;
}

QHBoxLayout* OkCancelRow(QWidget* parent, const QString& okText, const QString& cancelText, QPushButton*& ok,
                         QPushButton*& cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  ok = new QPushButton(okText, parent);
  cancel = new QPushButton(cancelText, parent);
  ok->setDefault(true);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

QPushButton* AddHiddenDefault(QWidget* dialog) {
  auto* button = new QPushButton(dialog);
  button->setDefault(true);
  button->setEnabled(false);
  button->hide();
  return button;
}

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void DetachChildren(QObject* dialog) {
  for (QObject* child : dialog->findChildren<QObject*>()) {
    child->removeEventFilter(dialog);
    QObject::disconnect(child, nullptr, dialog, nullptr);
  }
}

}  // namespace kp::ui
