// Glyph decorations rendered through CQtDC: kind 28 puts its character at
// each dash end, turned with the segment.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "engine/CKpLineStyleEngine.h"
#include "platform/qt/CQtDC.h"

namespace {


// Dark pixels in the square of half-size r around (x, y).
int InkAround(const QImage& img, int x, int y, int r) {
  int n = 0;
  for (int yy = y - r; yy <= y + r; ++yy)
    for (int xx = x - r; xx <= x + r; ++xx)
      if (img.rect().contains(xx, yy) && qGray(img.pixel(xx, yy)) < 128) ++n;
  return n;
}

// Draws kind 28 ('A' in DejaVu Sans, cell height 24) along one segment with
// the pattern {40 drawn, 20 gap}, as the sub-line driver does, plus a thin
// grey guide along the segment.
QImage DrawGlyphs(POINT from, POINT to) {
  QImage img(200, 200, QImage::Format_RGB32);
  img.fill(Qt::white);
  CQtDC dc(img);
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  sub.Add(40, 20);
  sub.m_nHVMode = 28;
  sub.m_nHVLength = 24;
  sub.m_clrCurrent = RGB(0, 0, 0);
  std::strcpy(sub.m_szFont, "DejaVu Sans");
  sub.m_nSymbol = 'A';
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  CPen guide;
  guide.CreatePen(PS_SOLID, 0, RGB(200, 200, 200));
  CPen* old = dc.SelectObject(&guide);
  dc.MoveTo(from);
  dc.LineTo(to);
  dc.SelectObject(old);
  engine.SetLineStyleBase(&sub);
  engine.Flush();
  engine.LineDisjunctionEx(from, to);
  POINT v{0, 0};
  engine.LineOffset(&from, &to, sub.m_nHVLength, &v);
  engine.DrawLine(sub.m_nHVMode, &v);
  engine.RestoreDC();
  dc.End();
  return img;
}

TEST(QtGlyphs, Kind28AtTheDashEnds) {
  struct Row {
    const char* what;
    POINT from, to;
    POINT ends[2];  // dash ends 40 and 100 units along
    const char* file;
  };
  const Row rows[] = {
      {"horizontal", {30, 100}, {170, 100}, {{70, 100}, {130, 100}}, "/tmp/glyphs_horizontal.png"},
      {"vertical", {100, 30}, {100, 170}, {{100, 70}, {100, 130}}, "/tmp/glyphs_vertical.png"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const QImage img = DrawGlyphs(r.from, r.to);
    img.save(r.file);
    for (const POINT& p : r.ends) EXPECT_GT(InkAround(img, p.x, p.y, 20), 20) << p.x << "," << p.y;
    // Nothing at the start of the segment: its first point is skipped.
    EXPECT_EQ(InkAround(img, r.from.x, r.from.y, 8), 0);
  }
}

}  // namespace
