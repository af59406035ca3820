#pragma once
// The shape button of a decoration: it shows the chosen shape (0 a plain
// line, 1 to 5 arrowheads, 6 to 9 node shapes) and, when clicked, drops down
// the ten shapes to choose from. A choice sets the shape and emits
// selEndOk(shape, 0) - the owner's WM_LSL_SELENDOK.
#include <QToolButton>

#include "platform/KpExport.h"

class QMenu;

class KP_API CKpButtonDecoratePicker : public QToolButton {
  Q_OBJECT

 public:
  static constexpr long kShapeCount = 10;

  explicit CKpButtonDecoratePicker(QWidget* parent = nullptr);
  ~CKpButtonDecoratePicker() override;

  long GetCurSel() const { return m_nCurSel; }
  // Values outside 0 .. 9 are taken as 0.
  void SetCurSel(long shape);

  // Chooses a shape as a click in the drop-down does.
  void ChooseShape(long shape);
  QMenu* ShapeMenu() const { return m_pMenu; }

  // The picture of a shape as the button and its drop-down show it.
  static QPixmap ShapePixmap(long shape, const QSize& size);

 signals:
  void selEndOk(long wparam, long lparam);

 private:
  long m_nCurSel = 0;
  QMenu* m_pMenu = nullptr;
};
