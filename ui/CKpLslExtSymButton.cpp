#include "ui/CKpLslExtSymButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <qdrawutil.h>

#include "platform/CBrush.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/KpDemoFrame.h"
#include "ui/CKpLslExtSymPickerDlg.h"
#include "ui/CKpLslExtSymPopup.h"
#include "ui/KpExtSymFigures.h"
#include "ui/KpUiConstants.h"

namespace {

constexpr int kEdge = 2;        // the 3-D edge, as wide as the system's
constexpr int kShapeGap = 4;    // between the shape area and the arrow
constexpr int kSeparator = 2;   // shadow and highlight line left of the arrow

}  // namespace

CKpLslExtSymButton::CKpLslExtSymButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumWidth(2 * (kEdge + ArrowWidth()));
  connect(this, &QAbstractButton::clicked, this, &CKpLslExtSymButton::OnClicked);
  SetWindowSize();
}

CKpLslExtSymButton::~CKpLslExtSymButton() = default;

void CKpLslExtSymButton::AttachLineSymLib(CKpSymLib* lib, long count) {
  m_pLineSymLib = lib;
  m_nLineSymCount = std::max(0L, count);
  update();
}

void CKpLslExtSymButton::AttachResSymLib(CKpSymLib* lib) {
  m_pResSymLib = lib;
  update();
}

void CKpLslExtSymButton::SetCurSel(long value) {
  m_nCurSel = std::max(0L, value);
  update();
}

void CKpLslExtSymButton::SetBkColor(COLORREF color) {
  m_clrBk = color;
  update();
}

int CKpLslExtSymButton::ArrowWidth() const {
  // As wide as a scroll bar's arrow, and never thinner than five edges.
  return std::max(5 * kEdge, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

void CKpLslExtSymButton::SetWindowSize() {
  const int arrow = ArrowWidth();
  m_rcArrow = QRect(width() - kEdge - arrow, kEdge, arrow, std::max(0, height() - 2 * kEdge));
}

QRect CKpLslExtSymButton::ShapeRect() const {
  const int right = m_rcArrow.left() - kShapeGap;
  return QRect(QPoint(kEdge, kEdge), QPoint(right - 1, height() - kEdge - 1));
}

QSize CKpLslExtSymButton::sizeHint() const {
  return QSize(std::max(80, minimumSizeHint().width()), std::max(24, fontMetrics().height() + 2 * kEdge + 6));
}

QSize CKpLslExtSymButton::minimumSizeHint() const { return QSize(2 * (kEdge + ArrowWidth()), 2 * kEdge + 12); }

void CKpLslExtSymButton::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  SetWindowSize();
}

void CKpLslExtSymButton::PaintArrow(QPainter& painter, bool pushed) {
  const QRect arrow = m_rcArrow;
  const int x = arrow.left() - kSeparator;
  painter.fillRect(QRect(x, arrow.top() + 2, 1, arrow.height() - 4), palette().color(QPalette::Dark));
  painter.fillRect(QRect(x + 1, arrow.top() + 2, 1, arrow.height() - 4), palette().color(QPalette::Light));
  QStyleOption opt;
  opt.initFrom(this);
  opt.rect = arrow.adjusted(3, 3, -3, -3).translated(pushed ? 1 : 0, pushed ? 1 : 0);
  opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &painter, this);
}

void CKpLslExtSymButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool pushed = isDown() || m_bDropped;
  painter.fillRect(rect(), palette().color(QPalette::Button));
  PaintArrow(painter, pushed);
  qDrawWinPanel(&painter, rect(), palette(), pushed);

  QRect shape = ShapeRect();
  if (pushed) shape.translate(1, 1);
  const COLORREF bk = m_clrBk == kButtonFace ? kp::ui::ToColorRef(palette().color(QPalette::Button)) : (m_clrBk & 0xFFFFFFu);
  {
    CQtDC dc(&painter);
    const CRect area(shape.left(), shape.top(), shape.right() + 1, shape.bottom() + 1);
    CBrush brush(bk);
    CBrush* old = dc.SelectObject(&brush);
    if (m_clrBk != kButtonFace) dc.FillRect(&area, &brush);
    kp::ui::DrawExtSymFigure(dc, area, m_nCurSel, m_pLineSymLib, m_nLineSymCount, m_pResSymLib);
    dc.SelectObject(old);
  }
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = shape.adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void CKpLslExtSymButton::OnClicked() {
  if (m_bDropped || m_pPopup) return;
  m_bDropped = true;
  update();
  m_pPopup = new CKpLslExtSymPopup(mapToGlobal(QPoint(0, height())), width(), m_nCurSel, this);
  connect(m_pPopup, &CKpLslExtSymPopup::selEndOk, this, &CKpLslExtSymButton::OnSelEndOk);
  connect(m_pPopup, &CKpLslExtSymPopup::selEndCancel, this, &CKpLslExtSymButton::OnSelEndCancel);
}

long CKpLslExtSymButton::PickSymbol() {
  // Held by pointer: should the button go while the dialog runs, the dialog
  // goes with it rather than being deleted twice.
  QPointer<CKpLslExtSymPickerDlg> dlg = new CKpLslExtSymPickerDlg(this);
  dlg->AttachLineSymLib(m_pLineSymLib, m_nLineSymCount);
  dlg->AttachResSymLib(m_pResSymLib);
  dlg->SetIndex(m_nCurSel - kp::ui::kExtSymFirstSymbol);
  const int answer = dlg->DoModal();
  if (!dlg) return -1;
  const long index = dlg->GetIndex();
  delete dlg.data();
  return answer == IDOK && index >= 0 ? index + kp::ui::kExtSymFirstSymbol : -1;
}

void CKpLslExtSymButton::OnSelEndOk(long value) {
  QPointer<CKpLslExtSymButton> self(this);
  m_pPopup = nullptr;  // it deletes itself
  if (value == CKpLslExtSymPopup::kCustomCell) {
    const long picked = PickSymbol();
    if (!self) return;
    // A cancelled dialog leaves the selection, and the owner is told that one:
    // 10 itself would read as the first symbol cell.
    if (picked >= 0) m_nCurSel = picked;
  } else {
    m_nCurSel = std::max(0L, value);
  }
  m_bDropped = false;
  update();
  const long v = m_nCurSel;
  emit closeUp(v, m_nCtrlID);
  if (self) emit selEndOk(v, m_nCtrlID);
}

void CKpLslExtSymButton::OnSelEndCancel(long) {
  QPointer<CKpLslExtSymButton> self(this);
  m_pPopup = nullptr;
  m_bDropped = false;
  update();
  emit closeUp(m_nCurSel, m_nCtrlID);
  if (self) emit selEndCancel(m_nCurSel, m_nCtrlID);
}
