#pragma once
// The pop-up grid of the extended-symbol button: the ten built-in shapes in
// two columns and five rows of 20-pixel cells, and one full-width row (cell
// 10) with the custom entry, "自定义..." unless the caller gives its own text.
//
// It opens at once, under the button, and takes the mouse and the keyboard.
// A click released inside chooses the cell under it; a click elsewhere,
// Escape or the application losing the activation cancels; Enter or Space
// chooses the highlighted cell (the initial one when nothing is highlighted).
// The outcome goes out once, through selEndOk or selEndCancel with the value,
// after which the pop-up hides and deletes itself.
#include <QPoint>
#include <QString>
#include <QWidget>

#include "platform/KpExport.h"

class CKpLslExtSymButton;

class KP_API CKpLslExtSymPopup : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCellCount = 10;  // the built-in shapes
  static constexpr int kCustomCell = 10;
  static constexpr int kCellHeight = 20;
  static constexpr int kMinWidth = 90;

  // `screenPos` is the screen point of the button's bottom-left corner. The
  // button (may be null) lends its libraries to the figures and parents the
  // pop-up.
  CKpLslExtSymPopup(const QPoint& screenPos, int buttonWidth, long curSel, CKpLslExtSymButton* button,
                    const QString& customText = QString());
  ~CKpLslExtSymPopup() override;

  int HotCell() const { return m_nHotCell; }
  int Chosen() const { return m_nChosen; }
  int Initial() const { return m_nInitial; }
  int PopupWidth() const { return m_nPopupWidth; }
  const QString& CustomText() const { return m_strCustom; }

  // The cell at a point of the pop-up (the custom row is cell 10), -1 outside.
  int CellAt(const QPoint& pos) const;
  // The rectangle of a cell in pop-up coordinates (empty for no cell).
  QRect CellRect(int cell) const;
  // The highlighted cell after an arrow key (Qt::Key_Left .. Qt::Key_Down)
  // from `cell`: sideways wraps through 0 to 9, up and down stay in the
  // column. The custom row steps back into the grid.
  static int StepCell(int cell, int key);

 signals:
  void selEndOk(long value);
  void selEndCancel(long value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // OK takes the cell of the last click inside, else the initial value.
  void EndSelection(bool ok);
  void Finish(bool ok, long value);
  int Highlighted() const { return m_nChosen >= 0 ? m_nChosen : m_nInitial; }
  void PaintCells(class QPainter& painter);

  CKpLslExtSymButton* m_pParentButton = nullptr;
  QString m_strCustom;
  int m_nPopupWidth = kMinWidth;
  int m_nHotCell = -1;
  int m_nChosen = -1;
  int m_nInitial = 0;
  QPoint m_ptLastClick{-1, -1};
  bool m_bEnded = false;
};
