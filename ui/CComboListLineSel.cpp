#include "ui/CComboListLineSel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <cstdio>

#include "model/CKpLineStyleLib.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"
#include "ui/CListLineSel.h"

namespace {

constexpr int kPenLeftMargin = 50;
constexpr int kPenRightMargin = 10;
constexpr int kMinimumWidth = 260;  // room for a sample between its margins

RECT ToRect(const QRect& r) { return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

class CComboListLineSelDelegate : public QStyledItemDelegate {
 public:
  explicit CComboListLineSelDelegate(CComboListLineSel* box) : QStyledItemDelegate(box), m_pBox(box) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    CQtDC dc(painter);
    m_pBox->DrawItem(dc, index.row(), ToRect(option.rect), (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), CComboListLineSel::kItemHeight};
  }

 private:
  CComboListLineSel* m_pBox;
};

}  // namespace

CComboListLineSel::CComboListLineSel(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new CComboListLineSelDelegate(this));
  setMinimumWidth(kMinimumWidth);
  // A list of samples, not a menu over the whole screen: the drop-down keeps
  // to its visible-item count in every style.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  setMaxVisibleItems(12);
}

CComboListLineSel::~CComboListLineSel() = default;

void CComboListLineSel::AttachLineStyleLib(CKpLineStyleLib* lib) { m_pLineStyleLib = lib; }

int CComboListLineSel::InitContent() {
  clear();
  if (!m_pLineStyleLib) return 0;
  for (long i = 0; i < kSystemCount; ++i) addItem(QStringLiteral("System"));
  for (long i = 0; i < m_pLineStyleLib->Count(); ++i)
    addItem(QString::fromStdString(m_pLineStyleLib->GetStyleObj(i).GetName()));
  return 1;
}

CString CComboListLineSel::SystemLabel(long index) {
  if (index < 0 || index >= kSystemCount) return CString();
  char text[16];
  std::snprintf(text, sizeof text, "%06ld", index);
  return text;
}

void CComboListLineSel::DrawItem(CDC& dc, long index, const RECT& rect, bool selected) const {
  if (index < 0) return;
  if (index < kSystemCount) {
    DrawSystemPen(dc, index, rect);
  } else {
    if (!m_pLineStyleLib || index - kSystemCount >= m_pLineStyleLib->Count()) return;
    CListLineSel::DrawStyleSample(dc, *m_pLineStyleLib, index - kSystemCount, rect);
  }
  CListLineSel::DrawFrame(dc, rect, selected);
}

void CComboListLineSel::DrawSystemPen(CDC& dc, long index, const RECT& rect) {
  dc.FillSolidRect(&rect, RGB(255, 255, 255));
  CPen pen;
  pen.CreatePen(static_cast<int>(index), 1, RGB(0, 0, 0));
  CPen* oldPen = dc.SelectObject(&pen);
  const int mid = rect.top + (rect.bottom - rect.top) / 2;
  dc.MoveTo(rect.left + kPenLeftMargin, mid);
  dc.LineTo(rect.right - kPenRightMargin, mid);
  dc.SelectObject(oldPen);

  const int oldMode = dc.SetBkMode(TRANSPARENT);
  const COLORREF oldColor = dc.SetTextColor(RGB(0, 0, 0));
  const UINT oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.TextOut(rect.left + 1, rect.top, SystemLabel(index));
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
}

void CComboListLineSel::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();  // the entry's drawing stands for its text
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  CQtDC dc(&painter, SIZE{width(), height()});
  DrawItem(dc, currentIndex(), ToRect(field), false);
}
