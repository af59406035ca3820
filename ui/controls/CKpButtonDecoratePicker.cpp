#include "ui/controls/CKpButtonDecoratePicker.h"

#include <QImage>
#include <QMenu>
#include <QPixmap>

#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/KpExtSymFigures.h"

namespace {

const QSize kFigureSize(64, 20);

}  // namespace

CKpButtonDecoratePicker::CKpButtonDecoratePicker(QWidget* parent) : QToolButton(parent) {
  m_pMenu = new QMenu(this);
  for (long shape = 0; shape < kShapeCount; ++shape) {
    QAction* action = m_pMenu->addAction(QIcon(ShapePixmap(shape, kFigureSize)), QString());
    connect(action, &QAction::triggered, this, [this, shape] { ChooseShape(shape); });
  }
  setMenu(m_pMenu);
  setPopupMode(QToolButton::InstantPopup);
  setIconSize(kFigureSize);
  SetCurSel(0);
}

CKpButtonDecoratePicker::~CKpButtonDecoratePicker() = default;

void CKpButtonDecoratePicker::SetCurSel(long shape) {
  m_nCurSel = shape >= 0 && shape < kShapeCount ? shape : 0;
  setIcon(QIcon(ShapePixmap(m_nCurSel, kFigureSize)));
}

void CKpButtonDecoratePicker::ChooseShape(long shape) {
  SetCurSel(shape);
  emit selEndOk(m_nCurSel, 0);
}

QPixmap CKpButtonDecoratePicker::ShapePixmap(long shape, const QSize& size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    CQtDC dc(image);
    const RECT cell{0, 0, size.width(), size.height()};
    kp::ui::DrawExtSymFigure(dc, cell, shape, nullptr, 0, nullptr);
  }
  return QPixmap::fromImage(image);
}
