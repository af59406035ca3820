#include "ui/CKpLslExtSymPopup.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <algorithm>

#include "module/KpStringTable.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/KpDemoFrame.h"
#include "ui/CKpLslExtSymButton.h"
#include "ui/KpExtSymFigures.h"

namespace {

constexpr int kRows = CKpLslExtSymPopup::kCellCount / 2 + 1;  // five rows of shapes, one custom row
constexpr COLORREF kInitialShadow = RGB(0x96, 0x96, 0x96);
constexpr COLORREF kInitialLight = RGB(0xE6, 0xE6, 0xE6);
constexpr COLORREF kInitialFill = RGB(215, 215, 215);
constexpr COLORREF kHotLight = RGB(0xF5, 0xF5, 0xF5);
constexpr COLORREF kHotShadow = RGB(0x78, 0x78, 0x78);

CRect ToRect(const QRect& r) { return CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }

// A one-pixel 3-D frame just inside `r`: `topLeft` on the top and left sides,
// `bottomRight` on the others.
void Draw3dRect(CDC& dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
  const LONG w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  dc.FillSolidRect(r.left, r.top, w - 1, 1, topLeft);
  dc.FillSolidRect(r.left, r.top, 1, h - 1, topLeft);
  dc.FillSolidRect(r.right - 1, r.top, 1, h, bottomRight);
  dc.FillSolidRect(r.left, r.bottom - 1, w, 1, bottomRight);
}

// Near a screen edge the pop-up moves in rather than being cut off.
QRect OnScreen(QRect r) {
  const QScreen* screen = QGuiApplication::screenAt(r.topLeft());
  if (!screen) return r;
  const QRect avail = screen->availableGeometry();
  r.moveRight(std::min(r.right(), avail.right()));
  r.moveBottom(std::min(r.bottom(), avail.bottom()));
  r.moveLeft(std::max(r.left(), avail.left()));
  r.moveTop(std::max(r.top(), avail.top()));
  return r;
}

QString DefaultCustomText() {
  const CString text = kp::ModuleString(kp::KP_IDS_CUSTOM_SYMBOL);
  return text.empty() ? QStringLiteral("Custom...") : QString::fromStdString(text);
}

}  // namespace

CKpLslExtSymPopup::CKpLslExtSymPopup(const QPoint& screenPos, int buttonWidth, long curSel,
                                     CKpLslExtSymButton* button, const QString& customText)
    : QWidget(button, Qt::Popup),
      m_pParentButton(button),
      m_strCustom(customText.isEmpty() ? DefaultCustomText() : customText),
      m_nPopupWidth(std::max(kMinWidth, buttonWidth)),
      m_nInitial(static_cast<int>(std::clamp<long>(curSel, 0, kCustomCell))) {
  setAttribute(Qt::WA_NoMouseReplay);  // the click that closes the pop-up does nothing else
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
  // Another application taking over ends the choice, as a click elsewhere would.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) EndSelection(false);
  });
  setGeometry(OnScreen(QRect(screenPos, QSize(m_nPopupWidth, kRows * kCellHeight))));
  show();
  setFocus(Qt::PopupFocusReason);
}

CKpLslExtSymPopup::~CKpLslExtSymPopup() = default;

int CKpLslExtSymPopup::CellAt(const QPoint& pos) const {
  if (!rect().contains(pos)) return -1;
  const int row = pos.y() / kCellHeight;
  if (row >= kRows - 1) return kCustomCell;
  const int column = std::min(1, pos.x() * 2 / std::max(1, width()));
  return row * 2 + column;
}

QRect CKpLslExtSymPopup::CellRect(int cell) const {
  if (cell == kCustomCell) return QRect(0, (kRows - 1) * kCellHeight, width(), kCellHeight);
  if (cell < 0 || cell >= kCellCount) return {};
  const int half = width() / 2;
  const int column = cell % 2;
  return QRect(column * half, (cell / 2) * kCellHeight, column ? width() - half : half, kCellHeight);
}

int CKpLslExtSymPopup::StepCell(int cell, int key) {
  if (cell < 0 || cell >= kCellCount) {
    switch (key) {
      case Qt::Key_Left: return kCellCount - 1;
      case Qt::Key_Up: return kCellCount - 2;
      default: return 0;
    }
  }
  switch (key) {
    case Qt::Key_Left: return (cell + kCellCount - 1) % kCellCount;
    case Qt::Key_Right: return (cell + 1) % kCellCount;
    case Qt::Key_Up: return (cell + kCellCount - 2) % kCellCount;
    case Qt::Key_Down: return (cell + 2) % kCellCount;
    default: return cell;
  }
}

void CKpLslExtSymPopup::PaintCells(QPainter& painter) {
  CQtDC dc(&painter);
  const CRect all = ToRect(rect());
  dc.FillSolidRect(&all, kp::ui::ToColorRef(palette().color(QPalette::Button)));

  CRect initial = ToRect(CellRect(m_nInitial));
  initial.DeflateRect(2, 2);
  Draw3dRect(dc, initial, kInitialShadow, kInitialLight);
  CRect inside = initial;
  inside.DeflateRect(1, 1);
  dc.FillSolidRect(&inside, kInitialFill);

  if (m_nChosen >= 0) {
    CRect hot = ToRect(CellRect(m_nChosen));
    hot.DeflateRect(2, 2);
    Draw3dRect(dc, hot, kHotLight, kHotShadow);
  }

  CKpSymLib* lineLib = m_pParentButton ? m_pParentButton->GetLineSymLib() : nullptr;
  const long lineCount = m_pParentButton ? m_pParentButton->GetLineSymCount() : 0;
  CKpSymLib* resLib = m_pParentButton ? m_pParentButton->GetResSymLib() : nullptr;
  for (int i = 0; i < kCellCount; ++i)
    kp::ui::DrawExtSymFigure(dc, ToRect(CellRect(i)), i, lineLib, lineCount, resLib);

  // The raised outer edge, two pixels as the system draws it.
  const QPalette& pal = palette();
  Draw3dRect(dc, all, kp::ui::ToColorRef(pal.color(QPalette::Midlight)), kp::ui::ToColorRef(pal.color(QPalette::Shadow)));
  CRect inner = all;
  inner.DeflateRect(1, 1);
  Draw3dRect(dc, inner, kp::ui::ToColorRef(pal.color(QPalette::Light)), kp::ui::ToColorRef(pal.color(QPalette::Dark)));
}

void CKpLslExtSymPopup::paintEvent(QPaintEvent*) {
  const qreal dpr = devicePixelRatioF();
  QPixmap buffer(size() * dpr);
  buffer.setDevicePixelRatio(dpr);
  {
    QPainter painter(&buffer);
    PaintCells(painter);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(CellRect(kCustomCell).adjusted(3, 0, -3, 0), Qt::AlignCenter, m_strCustom);
  }
  QPainter(this).drawPixmap(0, 0, buffer);
}

void CKpLslExtSymPopup::mouseMoveEvent(QMouseEvent* event) {
  m_nHotCell = CellAt(event->position().toPoint());
  if (m_nHotCell >= 0) m_nChosen = m_nHotCell;
  update();
}

void CKpLslExtSymPopup::mousePressEvent(QMouseEvent* event) {
  // A press elsewhere reaches the pop-up because it holds the mouse; it ends
  // the choice at once, as any pop-up does.
  if (!rect().contains(event->position().toPoint())) EndSelection(false);
}

void CKpLslExtSymPopup::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_ptLastClick = event->position().toPoint();
  EndSelection(rect().contains(m_ptLastClick));
}

void CKpLslExtSymPopup::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      Finish(true, Highlighted());
      return;
    case Qt::Key_Escape:
      EndSelection(false);
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      m_nChosen = StepCell(Highlighted(), event->key());
      update();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void CKpLslExtSymPopup::closeEvent(QCloseEvent* event) {
  // Closed from outside (Qt closes pop-ups on its own occasions): a cancel.
  if (!m_bEnded) EndSelection(false);
  event->accept();
}

void CKpLslExtSymPopup::EndSelection(bool ok) {
  const int clicked = ok ? CellAt(m_ptLastClick) : -1;
  Finish(ok, clicked >= 0 ? clicked : m_nInitial);
}

void CKpLslExtSymPopup::Finish(bool ok, long value) {
  if (m_bEnded) return;
  m_bEnded = true;
  // Out of the way before the owner hears of it: the custom entry opens a
  // modal dialog, which a pop-up holding the mouse would block.
  if (mouseGrabber() == this) releaseMouse();
  hide();
  QPointer<CKpLslExtSymPopup> self(this);
  if (ok)
    emit selEndOk(value);
  else
    emit selEndCancel(value);
  if (self) deleteLater();
}
