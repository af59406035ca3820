#pragma once
// A colour button. Clicking it opens a small pop-up with 16 colours and
// "其他颜色..." (the system colour dialog). A choice sets the colour and emits
// selEndOk(colour, 0) - the owner's WM_LSL_SELENDOK; closing the pop-up
// without a choice emits selEndCancel.
#include <QToolButton>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class QFrame;

class KP_API CKpButtonColorPicker : public QToolButton {
  Q_OBJECT

 public:
  explicit CKpButtonColorPicker(QWidget* parent = nullptr);
  ~CKpButtonColorPicker() override;

  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_clrColor; }

  // The 16 colours of the pop-up, in order.
  static const COLORREF* PaletteColors();
  static constexpr int kPaletteCount = 16;

  // Shows the pop-up under the button (what a click does).
  void ShowPopup();
  // The pop-up while it is open, else null (for owners and tests).
  QFrame* Popup() const { return m_pPopup; }
  // Chooses a colour as a click in the pop-up does: closes the pop-up, sets
  // the colour and emits selEndOk.
  void ChooseColor(COLORREF color);
  // Closes the pop-up without a choice (emits selEndCancel).
  void CancelPopup();
  // Closes the pop-up and runs the colour dialog (or s_otherColorHook when
  // set): its colour is chosen, a cancellation emits selEndCancel.
  void ChooseOtherColor();

  // When set, "其他颜色..." asks this instead of the colour dialog; a
  // negative result means cancelled.
  static long (*s_otherColorHook)(COLORREF current);

 signals:
  void selEndOk(long wparam, long lparam);
  void selEndCancel(long wparam, long lparam);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  COLORREF m_clrColor = 0;
  QFrame* m_pPopup = nullptr;
};
