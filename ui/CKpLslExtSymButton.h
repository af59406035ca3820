#pragma once
// The drop-down button of an extended attribute's shape: it shows the current
// shape (0 to 9 a built-in figure, 10 + n symbol cell n) and, when clicked,
// opens a CKpLslExtSymPopup under itself. The pop-up's custom entry runs
// CKpLslExtSymPickerDlg over the button's two symbol libraries.
//
// The owner hears of the outcome through closeUp, then selEndOk or
// selEndCancel (its WM_LSL_CLOSEUP, WM_LSL_SELENDOK, WM_LSL_SELENDCANCEL),
// each with the selection value and the button's control ID, and reads the
// choice with GetCurSel().
#include <QAbstractButton>
#include <QPointer>
#include <QRect>

#include "companions/CKpSymLib.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"
#include "ui/CKpLslExtSymPopup.h"  // QPointer needs the complete type

class KP_API CKpLslExtSymButton : public QAbstractButton {
  Q_OBJECT

 public:
  // SetBkColor's value for "the button face".
  static constexpr COLORREF kButtonFace = 0xFF000000u;

  explicit CKpLslExtSymButton(QWidget* parent = nullptr);
  ~CKpLslExtSymButton() override;

  // The line library's first `count` symbols are symbol cells 0 .. count-1.
  void AttachLineSymLib(CKpSymLib* lib, long count);
  // The resource library's symbols follow them.
  void AttachResSymLib(CKpSymLib* lib);
  CKpSymLib* GetLineSymLib() const { return m_pLineSymLib; }
  long GetLineSymCount() const { return m_nLineSymCount; }
  CKpSymLib* GetResSymLib() const { return m_pResSymLib; }

  long GetCurSel() const { return m_nCurSel; }
  // Negative values are taken as 0 (a plain line).
  void SetCurSel(long value);

  // The colour behind the figure; kButtonFace for the button face.
  void SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_clrBk; }

  void SetCtrlID(long id) { m_nCtrlID = id; }
  long GetCtrlID() const { return m_nCtrlID; }

  bool IsDropped() const { return m_bDropped; }
  // The drop-down arrow's area at the right, in button coordinates.
  QRect GetArrowRect() const { return m_rcArrow; }
  // The area the figure is drawn into (before the pressed shift).
  QRect ShapeRect() const;
  // The pop-up while it is open, else null.
  CKpLslExtSymPopup* Popup() const { return m_pPopup; }

  // What the pop-up reports: a chosen value (10 runs the symbol dialog), or
  // a cancellation.
  void OnSelEndOk(long value);
  void OnSelEndCancel(long value);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void closeUp(long wparam, long lparam);
  void selEndOk(long wparam, long lparam);
  void selEndCancel(long wparam, long lparam);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnClicked();
  void SetWindowSize();
  int ArrowWidth() const;
  // Runs the symbol dialog; the chosen value, or -1 when nothing was chosen.
  long PickSymbol();
  void PaintArrow(class QPainter& painter, bool pushed);

  CKpSymLib* m_pResSymLib = nullptr;
  CKpSymLib* m_pLineSymLib = nullptr;
  long m_nLineSymCount = 0;
  long m_nCurSel = 0;
  bool m_bDropped = false;
  COLORREF m_clrBk = kButtonFace;
  QRect m_rcArrow;
  long m_nCtrlID = 0;
  QPointer<CKpLslExtSymPopup> m_pPopup;
};
