#include "ui/controls/CKpButtonColorPicker.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include "platform/qt/CQtDC.h"

long (*CKpButtonColorPicker::s_otherColorHook)(COLORREF current) = nullptr;

namespace {
constexpr COLORREF kPalette[CKpButtonColorPicker::kPaletteCount] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

COLORREF FromQColor(const QColor& c) {
  return RGB(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
             static_cast<unsigned>(c.blue()));
}
}  // namespace

CKpButtonColorPicker::CKpButtonColorPicker(QWidget* parent) : QToolButton(parent) {
  setMinimumSize(40, 22);
  connect(this, &QToolButton::clicked, this, &CKpButtonColorPicker::ShowPopup);
}

CKpButtonColorPicker::~CKpButtonColorPicker() {
  if (m_pPopup) {
    QFrame* popup = m_pPopup;
    m_pPopup = nullptr;
    popup->disconnect(this);
    delete popup;
  }
}

const COLORREF* CKpButtonColorPicker::PaletteColors() { return kPalette; }

void CKpButtonColorPicker::SetColor(COLORREF color) {
  m_clrColor = color & 0x00FFFFFFu;
  update();
}

void CKpButtonColorPicker::ShowPopup() {
  if (m_pPopup) return;
  auto* popup = new QFrame(this, Qt::Popup);
  popup->setAttribute(Qt::WA_DeleteOnClose);
  popup->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(popup);
  layout->setContentsMargins(3, 3, 3, 3);
  auto* grid = new QGridLayout;
  grid->setSpacing(2);
  for (int i = 0; i < kPaletteCount; ++i) {
    auto* cell = new QToolButton(popup);
    cell->setObjectName(QStringLiteral("color%1").arg(i));
    cell->setFixedSize(18, 18);
    const QColor qc = CQtDC::ToQColor(kPalette[i]);
    cell->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;").arg(qc.name()));
    const COLORREF c = kPalette[i];
    connect(cell, &QToolButton::clicked, this, [this, c] { ChooseColor(c); });
    grid->addWidget(cell, i / 8, i % 8);
  }
  layout->addLayout(grid);
  auto* other = new QPushButton(QStringLiteral("其他颜色..."), popup);
  other->setObjectName(QStringLiteral("otherColor"));
  connect(other, &QPushButton::clicked, this, &CKpButtonColorPicker::ChooseOtherColor);
  layout->addWidget(other);
  m_pPopup = popup;
  connect(popup, &QObject::destroyed, this, [this, popup] {
    if (m_pPopup == popup) {
      m_pPopup = nullptr;
      emit selEndCancel(static_cast<long>(m_clrColor), 0);
    }
  });
  popup->adjustSize();
  popup->move(mapToGlobal(QPoint(0, height())));
  popup->show();
}

void CKpButtonColorPicker::ChooseColor(COLORREF color) {
  if (m_pPopup) {
    QFrame* popup = m_pPopup;
    m_pPopup = nullptr;  // a choice, not a cancellation
    popup->close();
  }
  SetColor(color);
  emit selEndOk(static_cast<long>(m_clrColor), 0);
}

void CKpButtonColorPicker::CancelPopup() {
  if (m_pPopup) m_pPopup->close();  // the destroyed handler reports the cancellation
}

void CKpButtonColorPicker::ChooseOtherColor() {
  // The pop-up gives way to the colour dialog; the dialog's answer is the outcome.
  if (m_pPopup) {
    QFrame* popup = m_pPopup;
    m_pPopup = nullptr;
    popup->close();
  }
  long answer = -1;
  if (s_otherColorHook) {
    answer = s_otherColorHook(m_clrColor);
  } else {
    const QColor c = QColorDialog::getColor(CQtDC::ToQColor(m_clrColor), this);
    if (c.isValid()) answer = static_cast<long>(FromQColor(c));
  }
  if (answer < 0) {
    emit selEndCancel(static_cast<long>(m_clrColor), 0);
    return;
  }
  ChooseColor(static_cast<COLORREF>(answer));
}

void CKpButtonColorPicker::paintEvent(QPaintEvent* event) {
  QToolButton::paintEvent(event);
  QPainter p(this);
  const QRect swatch = rect().adjusted(5, 5, -5, -5);
  p.fillRect(swatch, CQtDC::ToQColor(m_clrColor));
  p.setPen(palette().color(isEnabled() ? QPalette::WindowText : QPalette::Mid));
  p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
