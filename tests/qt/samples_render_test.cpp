// Renders a column of style previews as the picker list paints them, one
// cell per style, on the Qt backend: white cell, the style's ID at the top
// left, the style across the middle. Each cell must show its ID and its
// line, and the features that tell the styles apart must reach the pixels.
// The picture (samples.png in the temporary folder, or $KP_SAMPLES_PNG) is
// for looking at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kCellWidth = 360;
constexpr int kCellHeight = 34;
constexpr int kGap = 4;  // grey between cells, so that each cell's clearing shows

CKpLineStyleBase Sub(COLORREF color, short width) {
  CKpLineStyleBase s;
  s.m_clrColor = s.m_clrCurrent = color;
  s.m_nWidth = s.m_nCurWidth = width;
  return s;
}

CKpLineStyleObj StyleOf(long id, std::vector<CKpLineStyleBase> subs) {
  CKpLineStyleObj style;
  style.SetID(id);
  for (auto& s : subs) style.AddStyleBase(s);
  return style;
}

struct Cell {
  const char* what;
  CKpLineStyleObj style;
  // What tells this style apart, checked on the rendered cell (device
  // coordinates of the cell's top left corner given).
  std::function<void(const QImage&, int top)> check;
};

bool IsInk(QRgb p) { return qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200; }

int InkIn(const QImage& img, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += IsInk(img.pixel(x, y)) ? 1 : 0;
  return n;
}

std::vector<Cell> Cells() {
  std::vector<Cell> cells;
  const int mid = kCellHeight / 2;
  const int lineLeft = 160, lineRight = kCellWidth - 40;

  // Dashed: 12 on, 6 off, so the middle row has gaps.
  CKpLineStyleBase dashed = Sub(RGB(0, 0, 200), 2);
  dashed.Add(12, 6);
  cells.push_back({"dashed", StyleOf(11, {dashed}), [=](const QImage& img, int top) {
                     int gaps = 0;
                     for (int x = lineLeft + 2; x < lineRight - 2; ++x)
                       gaps += IsInk(img.pixel(x, top + mid)) ? 0 : 1;
                     EXPECT_GT(gaps, 20);
                   }});

  // A base line with ticks at every dash end, on the +v side: below the
  // line here, since y points down in MM_TEXT.
  CKpLineStyleBase base = Sub(RGB(160, 0, 0), 1);
  CKpLineStyleBase ticks = Sub(RGB(160, 0, 0), 1);
  ticks.Add(15, 0);
  ticks.m_nHVMode = 2;
  ticks.m_nHVLength = 7;
  cells.push_back({"ticks", StyleOf(22, {base, ticks}), [=](const QImage& img, int top) {
                     EXPECT_GT(InkIn(img, lineLeft, lineRight, top + mid + 2, top + kCellHeight - 2), 8);
                     EXPECT_EQ(InkIn(img, lineLeft, lineRight, top + 2, top + mid - 2), 0);
                   }});

  // A double line 4 units each side of the middle, nothing on the middle.
  CKpLineStyleBase twin = Sub(RGB(0, 120, 0), 1);
  twin.m_nHVMode = 43;
  twin.m_nHVLength = 4;
  twin.m_nRepeatMode = 1;  // the double lines draw themselves, not through a pattern
  cells.push_back({"double line", StyleOf(333, {twin}), [=](const QImage& img, int top) {
                     EXPECT_GT(InkIn(img, lineLeft, lineRight, top + mid - 5, top + mid - 3), 100);
                     EXPECT_GT(InkIn(img, lineLeft, lineRight, top + mid + 3, top + mid + 5), 100);
                     EXPECT_EQ(InkIn(img, lineLeft + 5, lineRight - 5, top + mid, top + mid + 1), 0);
                   }});

  // A filled arrowhead on the end of a plain line.
  CKpLineStyleObj arrow = StyleOf(55555, {Sub(RGB(0, 0, 0), 1)});
  arrow.GetObjExt().SetObjExt(KP_EXT_POS_TAIL, new tagLineStyleObjExt{8, 12, 0, 2});
  cells.push_back({"arrow at the end", arrow, [=](const QImage& img, int top) {
                     // The head is 12 across: ink well off the line just behind the tip.
                     EXPECT_GT(InkIn(img, lineRight - 12, lineRight, top + mid - 6, top + mid - 2), 6);
                     EXPECT_EQ(InkIn(img, lineLeft, lineLeft + 40, top + mid - 6, top + mid - 2), 0);
                   }});
  return cells;
}

TEST(QtSamples, ColumnOfStylePreviews) {
  std::vector<Cell> cells = Cells();
  const int height = static_cast<int>(cells.size()) * (kCellHeight + kGap);
  QImage img(kCellWidth, height, QImage::Format_RGB32);
  img.fill(QColor(230, 230, 230));
  const int savedMode = gLineStyleEngine.SetMapMode(MM_TEXT);
  {
    CQtDC dc(img);
    CFont font;
    font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    dc.SelectObject(&font);
    for (size_t i = 0; i < cells.size(); ++i) {
      const int top = static_cast<int>(i) * (kCellHeight + kGap);
      RECT rect{0, top, kCellWidth, top + kCellHeight};
      CRect clip(rect);
      cells[i].style.DrawSample(&dc, rect, clip);
    }
    dc.SelectClipRgn(nullptr);
  }
  gLineStyleEngine.SetMapMode(savedMode);

  const QString out = qEnvironmentVariableIsSet("KP_SAMPLES_PNG")
                          ? qEnvironmentVariable("KP_SAMPLES_PNG")
                          : QDir::temp().filePath("samples.png");
  img.save(out);

  for (size_t i = 0; i < cells.size(); ++i) {
    SCOPED_TRACE(cells[i].what);
    const int top = static_cast<int>(i) * (kCellHeight + kGap);
    // The cell was cleared to white: its corner away from text and line.
    EXPECT_EQ(img.pixel(kCellWidth - 5, top + 2), qRgb(255, 255, 255));
    // The ID text in the top left corner, nothing between it and the line.
    EXPECT_GT(InkIn(img, 0, 80, top, top + 14), 20);
    EXPECT_EQ(InkIn(img, 90, 150, top, top + kCellHeight), 0);
    // The line runs from x = 160 to x = 320.
    EXPECT_GT(InkIn(img, 160, 320, top + 4, top + kCellHeight - 4), 100);
    EXPECT_EQ(InkIn(img, 330, kCellWidth, top + kCellHeight / 2 - 1, top + kCellHeight / 2 + 2), 0);
    cells[i].check(img, top);
    // The gap below the cell stays untouched: each cell is clipped to itself.
    EXPECT_EQ(img.pixel(kCellWidth / 2, top + kCellHeight + 1), qRgb(230, 230, 230));
  }
}

}  // namespace
