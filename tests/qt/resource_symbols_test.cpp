// The built-in symbols rendered through CQtDC: every symbol leaves ink in its
// cell, and a directed symbol turns the way the engine measures angles.
// With KP_SAVE_PNG set, the sheets are saved to /tmp for a look by eye.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "companions/KpResourceSymbols.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kCell = 96;
constexpr int kColumns = 8;
constexpr QRgb kWhite = 0xFFFFFF;

int InkIn(const QImage& image, const QRect& box) {
  int ink = 0;
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != kWhite) ++ink;
  return ink;
}

bool Inked(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) != kWhite; }

void SaveIfAsked(const QImage& image, const char* name) {
  if (std::getenv("KP_SAVE_PNG") != nullptr) image.save(QString("/tmp/") + name);
}

TEST(QtResourceSymbols, EverySymbolLeavesInkInItsCell) {
  CKpSymLib lib(kp::ResourceSymbols());
  const int count = static_cast<int>(lib.GetSymbolCount());
  ASSERT_GE(count, 24);
  const int rows = (count + kColumns - 1) / kColumns;
  // Each symbol twice: a large aliased cell and a small anti-aliased one beside the label.
  QImage image(kColumns * kCell, rows * kCell, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    CQtDC dc(image);
    for (int i = 0; i < count; ++i) {
      const QRect cell((i % kColumns) * kCell, (i / kColumns) * kCell, kCell, kCell);
      CKpSymbol* symbol = lib.GetSymbol(static_cast<unsigned long>(lib.GetSymbolID(i)));
      ASSERT_NE(symbol, nullptr);
      CKpSymbolParameter big(CPoint(cell.center().x(), cell.top() + 36), 60, 0, RGB(20, 40, 120), 0,
                             nullptr, 1.0, 0);
      symbol->Draw(&dc, big, 0, 0, 0);
      CKpSymbolParameter small(CPoint(cell.left() + 12, cell.top() + 76), 16, 0, RGB(160, 0, 0), 0,
                               nullptr, 1.0, 1);
      symbol->Draw(&dc, small, 0, 0, 0);
      RECT preview{cell.right() - 22, cell.top() + 66, cell.right() - 2, cell.top() + 86};
      symbol->Draw(&dc, preview, RGB(0, 120, 0));
    }
    dc.Flush();
  }
  for (int i = 0; i < count; ++i) {
    const QRect cell((i % kColumns) * kCell, (i / kColumns) * kCell, kCell, kCell);
    EXPECT_GT(InkIn(image, QRect(cell.left(), cell.top(), kCell, 70)), 40) << "large, symbol " << i;
    EXPECT_GT(InkIn(image, QRect(cell.left() + 2, cell.top() + 66, 20, 20)), 4) << "small, symbol " << i;
    EXPECT_GT(InkIn(image, QRect(cell.right() - 22, cell.top() + 66, 20, 20)), 4) << "preview, symbol " << i;
  }
  SaveIfAsked(image, "resource_symbols.png");
}

// The arrowhead (tip at design +56 on the x axis, a notch behind the anchor)
// at the engine's angles: the ink at 50 units along the turned +x axis and
// none at 50 units the other way. With y down, 900 points down the image.
TEST(QtResourceSymbols, ArrowheadTurnsWithTheEngineAngle) {
  CKpSymLib copy(kp::ResourceSymbols());
  CKpSymbol* arrow = nullptr;
  for (long i = 0; i < copy.GetSymbolCount(); ++i) {
    CKpSymbol* s = copy.GetSymbol(static_cast<unsigned long>(copy.GetSymbolID(i)));
    if (s->m_strName == "Arrowhead") arrow = s;
  }
  ASSERT_NE(arrow, nullptr);

  struct Row {
    int angle;
    int tipDx, tipDy;  // where the tip lies from the anchor (pixels: 50 design units at size 128)
  };
  const Row rows[] = {
      {0, 50, 0},      // along +x
      {450, 35, 35},   // down-right
      {900, 0, 50},    // down the image (+y), as the engine's angle of a downward segment
      {-900, 0, -50},  // up the image
      {1800, -50, 0},  // along -x
  };
  QImage image(5 * 160, 160, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    CQtDC dc(image);
    for (int i = 0; i < 5; ++i) {
      CKpSymbolParameter a(CPoint(80 + 160 * i, 80), 128, rows[i].angle, RGB(0, 0, 0), 0, nullptr, 1.0, 0);
      arrow->Draw(&dc, a, 0, 0, 0);
    }
    dc.Flush();
  }
  for (int i = 0; i < 5; ++i) {
    const int ax = 80 + 160 * i;
    EXPECT_TRUE(Inked(image, ax + rows[i].tipDx, 80 + rows[i].tipDy)) << "tip, angle " << rows[i].angle;
    EXPECT_FALSE(Inked(image, ax - rows[i].tipDx, 80 - rows[i].tipDy)) << "notch, angle " << rows[i].angle;
  }
  SaveIfAsked(image, "resource_symbols_arrow_turn.png");
}

}  // namespace
