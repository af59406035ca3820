#include "ui/KpSampleRows.h"

#include <QPainter>

#include "model/CKpLineStyleObj.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpSampleEngineScope.h"

namespace kp::ui {

void PaintSubLineRow(QPainter& painter, const QRect& view, const CKpLineStyleObj& style, CKpSymLib* symbols,
                     int index, const QRect& rect, bool selected) {
  painter.save();
  {
    CQtDC dc(&painter);
    RECT cell{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    CRect clip(view.left(), view.top(), view.right() + 1, view.bottom() + 1);
    CKpLineStyleObj sample(style);
    const CKpSampleEngineScope engine(symbols);
    sample.DrawSample(index, &dc, cell, clip);
  }
  painter.setPen(QPen(selected ? Qt::black : Qt::white, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace kp::ui
