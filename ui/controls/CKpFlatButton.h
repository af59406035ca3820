#pragma once
// A flat tool button with an icon and a tooltip; it raises its frame only
// while the pointer is over it.
#include <QIcon>
#include <QToolButton>

#include "platform/KpExport.h"

class KP_API CKpFlatButton : public QToolButton {
  Q_OBJECT

 public:
  explicit CKpFlatButton(QWidget* parent = nullptr);

  void SetIcon(const QIcon& icon, const QSize& size = QSize(32, 32));
  void SetToolTipText(const QString& text);
};
