// Pixels of scenes drawn through CQtDC on a white 96 dpi image, MM_TEXT
// unless a test says otherwise.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleBase.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00,
               kBlue = 0x0000FF;

// The scene is drawn on a fresh DC whose destructor delivers what is pending.
QImage Draw(const std::function<void(CQtDC&)>& scene, int w = 200, int h = 150) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    CQtDC dc(img);
    scene(dc);
  }
  return img;
}
QRgb Px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
int CountColor(const QImage& img, const QRect& r, QRgb c) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Px(img, x, y) == c;
  return n;
}
QRect Ink(const QImage& img) {  // bounding box of all that is not white
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (Px(img, x, y) != kWhite) box |= QRect(x, y, 1, 1);
  return box;
}

// --- pens ---

TEST(QtDC, ThreeUnitRedLineIsThreePixelsThickAndNoMore) {
  CPen pen;
  pen.CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SelectObject(&pen);
    dc.MoveTo(20, 50);
    dc.LineTo(180, 50);
  });
  EXPECT_EQ(CountColor(img, QRect(22, 49, 157, 3), kRed), 157 * 3);
  // Round ends reach at most 1.5 pixels beyond the end points.
  EXPECT_TRUE(QRect(QPoint(18, 49), QPoint(182, 51)).contains(Ink(img)));
}

struct DashCase {
  const char* name;
  int style, width, bkMode;
  int dash, gap;  // first runs along the line, in pixels
  QRgb gapColor;  // of the pixel after the first dash
  friend void PrintTo(const DashCase& c, std::ostream* os) { *os << c.name; }
};
class QtDCDash : public ::testing::TestWithParam<DashCase> {};

TEST_P(QtDCDash, RunsAlongALongLine) {
  const DashCase& c = GetParam();
  CPen pen;
  pen.CreatePen(c.style, c.width, RGB(0, 0, 0));
  const QImage img = Draw(
      [&](CQtDC& dc) {
        dc.SetBkMode(c.bkMode);
        dc.SetBkColor(RGB(0, 255, 0));
        dc.SelectObject(&pen);
        dc.MoveTo(10, 20);
        dc.LineTo(290, 20);
      },
      300, 40);
  int x = 10, dash = 0, gap = 0;
  while (x < 290 && Px(img, x, 20) == kBlack) ++dash, ++x;
  while (x < 290 && Px(img, x, 20) != kBlack) ++gap, ++x;
  EXPECT_EQ(dash, c.dash);
  EXPECT_EQ(gap, c.gap);
  if (c.dash > 0 && c.gap > 0) {
    EXPECT_EQ(Px(img, 10 + c.dash, 20), c.gapColor);
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, QtDCDash,
                         ::testing::Values(
                             // GDI's cosmetic patterns, in device pixels.
                             DashCase{"Dash", PS_DASH, 0, TRANSPARENT, 18, 6, kWhite},
                             DashCase{"Dot", PS_DOT, 0, TRANSPARENT, 3, 3, kWhite},
                             DashCase{"DashDot", PS_DASHDOT, 0, TRANSPARENT, 9, 6, kWhite},
                             DashCase{"DashDotDot", PS_DASHDOTDOT, 0, TRANSPARENT, 9, 3, kWhite},
                             // An opaque background paints the gaps with the background colour.
                             DashCase{"OpaqueGaps", PS_DASH, 0, OPAQUE, 18, 6, kGreen},
                             // A simple pen wider than a pixel is solid whatever its style.
                             DashCase{"WideIsSolid", PS_DASH, 3, TRANSPARENT, 280, 0, kWhite},
                             // A null pen draws nothing.
                             DashCase{"Null", PS_NULL, 0, TRANSPARENT, 0, 280, kWhite}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtDC, OnlyTheAntiAliasedPathMakesIntermediateShades) {
  const auto shaded = [](const QImage& img) {
    return img.width() * img.height() - CountColor(img, img.rect(), kWhite) -
           CountColor(img, img.rect(), kBlack);
  };
  const QImage plain = Draw([](CQtDC& dc) {
    dc.MoveTo(10, 10);
    dc.LineTo(190, 70);
  });
  const QImage smooth = Draw([](CQtDC& dc) {
    dc.AALine(POINT{10, 10}, POINT{190, 70}, AAPEN{1, RGB(0, 0, 0), AA_CAP_ROUND, AA_JOIN_ROUND});
    // Integer coordinates are pixel centres here too: a level line stays in one row.
    dc.AALine(POINT{10, 120}, POINT{190, 120}, AAPEN{1, RGB(0, 0, 0), AA_CAP_FLAT, AA_JOIN_ROUND});
  });
  EXPECT_EQ(shaded(plain), 0);
  EXPECT_GT(shaded(smooth), 50);
  EXPECT_EQ(CountColor(smooth, QRect(20, 120, 160, 1), kBlack), 160);
  EXPECT_EQ(CountColor(smooth, QRect(20, 119, 160, 1), kWhite), 160);
}

// --- figures ---

TEST(QtDC, FiguresFillWithTheBrushOutlineWithThePenAndStayInTheirBoxes) {
  CPen pen;
  pen.CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
  CBrush green(RGB(0, 255, 0)), red(RGB(255, 0, 0));
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SelectObject(&pen);
    dc.SelectObject(&green);
    dc.Ellipse(10, 10, 110, 110);
    const RECT r{120, 10, 130, 20};
    dc.FillRect(&r, &red);
  });
  EXPECT_EQ(Px(img, 60, 60), kGreen);
  EXPECT_EQ(Px(img, 10, 60), kBlue);
  EXPECT_EQ(Px(img, 109, 60), kBlue);  // a 10..110 box covers pixels 10..109
  EXPECT_EQ(CountColor(img, QRect(120, 10, 10, 10), kRed), 100);
  EXPECT_EQ(Ink(img), QRect(QPoint(10, 10), QPoint(129, 109)));
}

struct ArcCase {
  const char* name;
  POINT start, end;
  bool quadrants[4];  // ink in the upper-right, upper-left, lower-left, lower-right quarter
  friend void PrintTo(const ArcCase& c, std::ostream* os) { *os << c.name; }
};
class QtDCArc : public ::testing::TestWithParam<ArcCase> {};

TEST_P(QtDCArc, RunsCounterClockwiseOnTheDevice) {
  const ArcCase& c = GetParam();
  const QImage img =
      Draw([&](CQtDC& dc) { dc.Arc(10, 10, 111, 111, c.start.x, c.start.y, c.end.x, c.end.y); },
           120, 120);
  // Quarters about the centre (60, 60), leaving out a band along the axes.
  const QRect quarters[4] = {QRect(64, 0, 56, 56), QRect(0, 0, 56, 56), QRect(0, 64, 56, 56),
                             QRect(64, 64, 56, 56)};
  for (int q = 0; q < 4; ++q)
    EXPECT_EQ(CountColor(img, quarters[q], kBlack) > 0, c.quadrants[q]) << "quarter " << q;
}

INSTANTIATE_TEST_SUITE_P(
    Arcs, QtDCArc,
    ::testing::Values(
        // Right to top: the upper-right quarter only.
        ArcCase{"RightToTop", {110, 60}, {60, 10}, {true, false, false, false}},
        // Top to right: the other three quarters.
        ArcCase{"TopToRight", {60, 10}, {110, 60}, {false, true, true, true}},
        // Points far outside the ellipse count by their radials only.
        ArcCase{"FarRadials", {1000, 60}, {60, -1000}, {true, false, false, false}},
        // One radial: the whole ellipse.
        ArcCase{"SameRadial", {110, 60}, {200, 60}, {true, true, true, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtDC, PolygonFillsAlternateAndOutlines) {
  CPen pen;
  pen.CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  CBrush brush(RGB(0, 0, 255));
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    // A pentagram: its centre is inside twice, so the alternate rule leaves it empty.
    const POINT star[] = {{100, 10}, {141, 135}, {35, 58}, {165, 58}, {59, 135}};
    dc.Polygon(star, 5);
  });
  EXPECT_EQ(Px(img, 100, 80), kWhite);
  EXPECT_EQ(Px(img, 100, 30), kBlue);  // in a point of the star
  EXPECT_EQ(Px(img, 100, 10), kRed);   // its tip is on the outline
}

TEST(QtDC, HatchedBrushLeavesAHatch) {
  CBrush hatch;
  hatch.CreateHatchBrush(HS_HORIZONTAL, RGB(255, 0, 0));
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SetBkMode(TRANSPARENT);
    const RECT r{10, 10, 110, 110};
    dc.FillRect(&r, &hatch);
  });
  int full = 0, empty = 0;
  for (int y = 20; y < 100; ++y) {
    const int red = CountColor(img, QRect(20, y, 80, 1), kRed);
    full += red == 80;
    empty += red == 0;
  }
  EXPECT_EQ(full + empty, 80);  // every row is all hatch or all gap
  EXPECT_GT(full, 5);
  EXPECT_GT(empty, 40);
}

// --- text ---

QRect TextInk(int escapement, UINT align, POINT at, const char* text) {
  CFont font;
  font.CreateFont(-20, 0, escapement, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  return Ink(Draw(
      [&](CQtDC& dc) {
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(align);
        dc.TextOut(at.x, at.y, text);
      },
      300, 300));
}

TEST(QtDC, EscapementNineHundredRunsUpward) {
  const QRect level = TextInk(0, TA_LEFT | TA_BASELINE, POINT{100, 200}, "Hello long text");
  const QRect up = TextInk(900, TA_LEFT | TA_BASELINE, POINT{100, 200}, "Hello long text");
  EXPECT_GT(level.width(), level.height());
  EXPECT_GT(up.height(), 2 * up.width());
  EXPECT_LE(up.bottom(), 201);  // from the reference point upwards
  EXPECT_LT(up.left(), 90);     // the letters stand left of the baseline ...
  EXPECT_LE(up.right(), 106);   // ... which only descenders cross
}

TEST(QtDC, TextAlignPlacesTheInk) {
  // "HHH" has no descenders: its ink rests on the baseline.
  const POINT at{150, 150};
  const QRect centred = TextInk(0, TA_CENTER | TA_BASELINE, at, "HHH");
  EXPECT_NEAR(centred.center().x(), at.x, 2);
  EXPECT_NEAR(centred.bottom(), at.y - 1, 1);
  const QRect topLeft = TextInk(0, TA_LEFT | TA_TOP, at, "HHH");
  EXPECT_NEAR(topLeft.left(), at.x, 3);
  EXPECT_GT(topLeft.top(), at.y);
  EXPECT_LT(topLeft.top(), at.y + 8);  // the capitals start a little below the ascent
}

struct SymbolCase {
  const char* name;
  const char* utf8;
  bool symbolCharset, askFont;  // the font asked: DejaVu Sans, plain Latin and no U+F0xx
  std::u32string expected;
  friend void PrintTo(const SymbolCase& c, std::ostream* os) { *os << c.name; }
};
class QtDCSymbol : public ::testing::TestWithParam<SymbolCase> {};

TEST_P(QtDCSymbol, DeviceText) {
  const SymbolCase& c = GetParam();
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(20);
  const QRawFont raw = QRawFont::fromFont(f);
  EXPECT_EQ(CQtDC::DeviceText(c.utf8, c.symbolCharset, c.askFont ? &raw : nullptr).toStdU32String(),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, QtDCSymbol,
                         ::testing::Values(
                             // A symbol face draws code c from U+F000 + c; codes past 0xFF stay.
                             SymbolCase{"SymbolCharset", "A\xC2\xB7\xE2\x82\xAC", true, false,
                                        U"\uF041\uF0B7\u20AC"},
                             // A substituted ordinary font has only the plain glyph: keep it.
                             SymbolCase{"PlainFontKeepsCodes", "A", true, true, U"A"},
                             // Invalid UTF-8 is legacy 8-bit text.
                             SymbolCase{"Latin1Fallback", "a\xB7", false, false, U"a\u00B7"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- mapping, clipping, batching ---

TEST(QtDC, IsotropicStartsMetricWithYUpFromTheViewportOrigin) {
  const QImage img = Draw([](CQtDC& dc) {
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetViewportOrg(50, 120);
    dc.MoveTo(0, 0);
    dc.LineTo(254, 0);  // 254 units of 0.1 mm: an inch, 96 pixels
    dc.MoveTo(0, 0);
    dc.LineTo(0, 100);  // y > 0 goes up
  });
  EXPECT_EQ(Px(img, 50, 120), kBlack);
  EXPECT_EQ(CountColor(img, QRect(0, 120, 200, 1), kBlack), 96);
  EXPECT_EQ(Px(img, 50, 110), kBlack);
  EXPECT_EQ(CountColor(img, QRect(50, 121, 1, 29), kBlack), 0);
}

TEST(QtDC, ClipRectLimitsDrawing) {
  CRgn rgn;
  rgn.CreateRectRgn(20, 30, 60, 70);
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SelectClipRgn(&rgn);
    dc.FillSolidRect(0, 0, 200, 150, RGB(255, 0, 0));
    dc.MoveTo(0, 100);
    dc.LineTo(200, 100);                       // wholly outside
    dc.IntersectClipRect(100, 100, 120, 120);  // no overlap: nothing at all
    dc.FillSolidRect(0, 0, 200, 150, RGB(0, 0, 255));
    dc.SelectClipRgn(nullptr);
    dc.FillSolidRect(150, 0, 10, 10, RGB(0, 0, 255));
  });
  EXPECT_EQ(CountColor(img, QRect(20, 30, 40, 40), kRed), 1600);
  EXPECT_EQ(CountColor(img, img.rect(), kBlue), 100);
  EXPECT_EQ(Ink(img), QRect(QPoint(20, 0), QPoint(159, 69)));
}

TEST(QtDC, BatchedLinesKeepTheirPenAndShape) {
  CPen red, blue;
  red.CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  blue.CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
  const QImage img = Draw([&](CQtDC& dc) {
    dc.SelectObject(&red);
    dc.MoveTo(10, 10);
    dc.LineTo(100, 10);  // a chain ...
    dc.LineTo(100, 40);
    dc.MoveTo(10, 20);  // ... a separate line ...
    dc.LineTo(50, 20);
    const POINT poly[] = {{10, 30}, {50, 30}, {50, 35}};
    dc.Polyline(poly, 3);    // ... and a polyline go in one batch,
    dc.SelectObject(&blue);  // delivered before the pen changes
    dc.MoveTo(10, 60);
    dc.LineTo(100, 60);
  });
  EXPECT_EQ(CountColor(img, QRect(10, 10, 90, 1), kRed), 90);
  EXPECT_EQ(CountColor(img, QRect(100, 10, 1, 30), kRed), 30);
  EXPECT_EQ(CountColor(img, QRect(10, 20, 40, 1), kRed), 40);
  EXPECT_EQ(CountColor(img, QRect(10, 30, 40, 1), kRed), 40);
  EXPECT_EQ(CountColor(img, QRect(10, 60, 90, 1), kBlue), 90);
}

// --- faster ways of drawing batched lines ---
//
// Opaque one-pixel lines along the axes are written into the image, the
// lines of opaque pens of even width go to the painter apart from the other
// runs, anti-aliased pieces are batched. All must leave exactly the pixels
// of the plain painter calls.

struct FastCase {
  const char* name;
  QImage::Format format;
  friend void PrintTo(const FastCase& c, std::ostream* os) { *os << c.name; }
};

// The scene drawn twice on identical images, with and without the fast paths.
std::pair<QImage, QImage> DrawBothWays(const std::function<void(CQtDC&)>& scene, int w, int h,
                                       QImage::Format format = QImage::Format_RGB32) {
  QImage fast(w, h, format);
  fast.fill(QColor(230, 240, 250));
  QImage plain = fast.copy();
  {
    CQtDC dc(fast);
    EXPECT_TRUE(dc.FastPathsEnabled());
    scene(dc);
  }
  {
    CQtDC dc(plain);
    dc.SetFastPathsEnabled(false);
    scene(dc);
  }
  return {fast, plain};
}

long DifferingPixels(const QImage& a, const QImage& b) {
  long n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// A meander of horizontal and vertical segments (jogs of 2 to 7 pixels
// along rows 24 apart).
std::vector<POINT> DashTestMeander(int w, int h) {
  std::mt19937 rng(11);
  const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<POINT> pts{{10, 12}};
  int x = 10, y = 12, row = 0;
  for (int centre = 12; centre + 8 < h; centre += 24, ++row) {
    const int dir = row % 2 == 0 ? 1 : -1, end = dir > 0 ? w - 10 : 10;
    if (row > 0) pts.push_back(POINT{x, y = centre});
    while (x != end) {
      x += dir * std::min(in(3, 40), std::abs(end - x));
      pts.push_back(POINT{x, y});
      if (x == end) break;
      int jog = in(2, 7) * (in(0, 1) ? 1 : -1);
      if (std::abs(y + jog - centre) > 6) jog = -jog;
      pts.push_back(POINT{x, y += jog});
    }
  }
  return pts;
}

// The engine draws a dashed sub-line along the polyline: a MoveTo + LineTo
// (or an anti-aliased line) per dash piece.
void DrawDashedThroughEngine(CQtDC& dc, int width, bool antialiased,
                             const std::vector<POINT>& line) {
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  sub.Add(12, 6);
  sub.m_clrCurrent = sub.m_clrColor = RGB(20, 40, 200);
  sub.m_nCurWidth = static_cast<short>(width);
  if (width > 1 || antialiased) sub.SetCap(2);  // flat ends
  std::vector<POINT> pts = line;
  engine.SetMapMode(MM_TEXT);
  engine.SetClearSawtooth(antialiased ? 1 : 0);
  engine.KeepDC(&dc);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
  engine.RestoreDC();
}

class QtDCFastPaths : public ::testing::TestWithParam<FastCase> {};

TEST_P(QtDCFastPaths, EngineDashesLeaveTheSamePixels) {
  const int w = 420, h = 300;
  const std::vector<POINT> meander = DashTestMeander(w, h - 40);
  const std::vector<POINT> slanted{{10, 270}, {100, 290}, {200, 265}, {230, 295}, {400, 270}};
  struct Pen {
    int width;
    bool antialiased;
  };
  for (const Pen pen : {Pen{1, false}, Pen{1, true}, Pen{4, false}, Pen{2, false}, Pen{3, false}}) {
    SCOPED_TRACE(testing::Message()
                 << pen.width << " px" << (pen.antialiased ? " anti-aliased" : ""));
    const auto [fast, plain] = DrawBothWays(
        [&](CQtDC& dc) {
          // Separate drawings, so the slanted one (which Qt draws) does
          // not share a batch with the meander.
          DrawDashedThroughEngine(dc, pen.width, pen.antialiased, meander);
          DrawDashedThroughEngine(dc, pen.width, pen.antialiased, slanted);
        },
        w, h, GetParam().format);
    EXPECT_EQ(DifferingPixels(fast, plain), 0);
    QImage blank(w, h, GetParam().format);
    blank.fill(QColor(230, 240, 250));
    EXPECT_GT(DifferingPixels(fast, blank), 2000);  // it drew
  }
}

// Dash-like pieces as a host or the engine sends them, with pen, clip and
// mapping changes between them: corners, pieces continuing each other,
// turning back, closing, zero-length pieces, pieces along and beyond the
// image edges, slanted ones.
TEST_P(QtDCFastPaths, RandomPiecesLeaveTheSamePixels) {
  const int w = 90, h = 70;
  // One-pixel pens only, wide pens only, or everything with anti-aliased
  // pieces in between.
  enum Mix { kHairlines, kWide, kAll };
  for (int seed = 1; seed <= 90; ++seed) {
    const Mix mix = static_cast<Mix>(seed % 3);
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", mix " << mix);
    const auto scene = [&](CQtDC& dc) {
      std::mt19937 rng(seed);
      const auto in = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
      };
      CPen pens[6];
      pens[0].CreatePen(PS_SOLID, 0, RGB(200, 0, 0));
      pens[1].CreatePen(PS_SOLID, 4, RGB(0, 120, 0));
      const int caps[] = {PS_ENDCAP_FLAT, PS_ENDCAP_SQUARE, PS_ENDCAP_ROUND};
      for (int i = 2; i < 5; ++i) {
        const LOGBRUSH lb{BS_SOLID, RGB(0, 0, 60 * i), 0};
        pens[i].CreatePen(static_cast<int>(PS_GEOMETRIC | caps[i - 2] | PS_JOIN_MITER),
                          2 + 2 * (i - 2), &lb);
      }
      pens[5].CreatePen(PS_SOLID, 3, RGB(120, 0, 120));
      CPen hairlines[2];
      hairlines[0].CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
      hairlines[1].CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
      const auto pickPen = [&] {
        dc.SelectObject(mix == kHairlines ? &hairlines[in(0, 1)]
                                          : &pens[in(mix == kWide ? 1 : 0, 5)]);
      };
      pickPen();
      const auto anywhere = [&] {
        // Often on or just beyond an edge, where Qt cuts lines.
        const auto coordinate = [&](int size) {
          const int k = in(0, 3);
          return k == 0 ? in(-3, 2) : k == 1 ? size + in(-2, 3) : in(-20, size + 20);
        };
        return POINT{coordinate(w), coordinate(h)};
      };
      POINT at = anywhere();
      const bool slanted = seed % 11 == 0;
      const int zeroOdds = seed % 2 == 0 ? 1000 : 12;  // a zero-length piece is 1 in this many
      for (int op = 0; op < 400; ++op) {
        int k = in(0, 99);
        if (mix != kAll && k >= 9 && k < 20) k = 99;  // no anti-aliased pieces
        if (k < 3) {
          pickPen();
        } else if (k < 5) {
          CRgn rgn;
          rgn.CreateRectRgn(in(-10, w), in(-10, h), in(0, w + 10), in(0, h + 10));
          dc.SelectClipRgn(in(0, 2) == 0 ? nullptr : &rgn);
        } else if (k < 6) {
          dc.SetViewportOrg(in(-3, 3), in(-3, 3));
        } else if (k < 9) {
          at = anywhere();
        } else if (k < 20) {
          POINT to = at;
          const int len = in(0, zeroOdds) == 0 ? 0 : in(-25, 25);
          (in(0, 1) ? to.x : to.y) += len;
          if (slanted) to.y += in(-9, 9);
          dc.AALine(at, to, AAPEN{static_cast<float>(in(0, 2)), RGB(0, 0, 0), in(0, 2), in(0, 2)});
          at = to;
        } else if (k < 26) {
          // A polyline, sometimes closed, sometimes turning back.
          std::vector<POINT> pts{anywhere()};
          for (int i = in(1, 5); i > 0; --i) {
            POINT p = pts.back();
            (in(0, 1) ? p.x : p.y) += in(-20, 20);
            pts.push_back(p);
          }
          if (in(0, 2) == 0) pts.push_back(POINT{pts[0].x, pts.back().y});
          if (in(0, 2) == 0) pts.push_back(pts[0]);
          dc.Polyline(pts.data(), static_cast<int>(pts.size()));
        } else {
          if (in(0, 3) != 0) dc.MoveTo(at);
          const int segments = in(0, 2) != 0 ? 1 : in(2, 5);
          for (int s = 0; s < segments; ++s) {
            const int len = in(0, zeroOdds) == 0 ? 0 : in(-20, 20);
            (in(0, 1) ? at.x : at.y) += len;
            if (slanted) at.x += in(-5, 5);
            dc.LineTo(at);
          }
          (in(0, 1) ? at.x : at.y) += in(-6, 6);
        }
      }
    };
    const auto [fast, plain] = DrawBothWays(scene, w, h, GetParam().format);
    EXPECT_EQ(DifferingPixels(fast, plain), 0);
  }
}

// Arcs and circles as decorations draw them: the same few again and again
// along a line, with pens from one pixel to thousands, caps and joins, a dashed pen
// over an opaque background, clips and moved origins. Kept outlines must
// set what Qt stroking every arc sets.
TEST_P(QtDCFastPaths, RepeatedArcsLeaveTheSamePixels) {
  const int w = 120, h = 90;
  for (int seed = 1; seed <= 24; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const auto scene = [&](CQtDC& dc) {
      std::mt19937 rng(seed);
      const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
      const int widths[] = {1, 2, 3, 9, 40, 300, 15617};
      const int caps[] = {PS_ENDCAP_FLAT, PS_ENDCAP_SQUARE, PS_ENDCAP_ROUND};
      const int joins[] = {PS_JOIN_MITER, PS_JOIN_BEVEL, PS_JOIN_ROUND};
      CPen pens[4];
      for (CPen& pen : pens) {
        const LOGBRUSH lb{BS_SOLID, RGB(in(0, 200), 0, in(60, 200)), 0};
        pen.CreatePen(static_cast<int>(PS_GEOMETRIC | caps[in(0, 2)] | joins[in(0, 2)]), widths[in(0, 6)], &lb);
      }
      CPen dashed;
      dashed.CreatePen(PS_DASH, 1, RGB(0, 90, 0));
      CBrush hatch;
      hatch.CreateHatchBrush(HS_CROSS, RGB(200, 0, 0));
      if (seed % 2 == 0) dc.SelectObject(&hatch);
      dc.SetBkMode(OPAQUE);
      dc.SetBkColor(RGB(250, 220, 0));
      // Two arc shapes, up and down, stepping along a line across the image
      // and beyond its edges.
      const int size = in(3, 30), step = in(4, 12);
      for (int op = 0; op < 160; ++op) {
        const int k = in(0, 19);
        if (k == 0) dc.SelectObject(in(0, 4) == 0 ? &dashed : &pens[in(0, 3)]);
        if (k == 1) {
          CRgn rgn;
          rgn.CreateRectRgn(in(-10, w / 2), in(-10, h / 2), in(w / 2, w + 10), in(h / 2, h + 10));
          dc.SelectClipRgn(in(0, 2) == 0 ? nullptr : &rgn);
        }
        if (k == 2) dc.SetViewportOrg(in(-3, 3), in(-3, 3));
        const int x = -40 + op * step % (w + 80), y = h / 2 + in(-2, 2);
        if (op % 5 == 4)
          dc.Ellipse(x, y - size / 2, x + size, y + size / 2);  // circle decorations
        else if (op % 2 == 0)
          dc.Arc(x, y - size, x + size, y, x + size, y - size / 2, x, y - size / 2);  // upper half
        else
          dc.Arc(x, y, x + size, y + size, x, y + size / 2, x + size, y + size / 2);  // lower half
      }
    };
    const auto [fast, plain] = DrawBothWays(scene, w, h, GetParam().format);
    EXPECT_EQ(DifferingPixels(fast, plain), 0);
    QImage blank(w, h, GetParam().format);
    blank.fill(QColor(230, 240, 250));
    EXPECT_GT(DifferingPixels(fast, blank), 50);  // it drew
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, QtDCFastPaths,
                         ::testing::Values(FastCase{"Rgb32", QImage::Format_RGB32},
                                           FastCase{"Argb32", QImage::Format_ARGB32},
                                           FastCase{"Premultiplied",
                                                    QImage::Format_ARGB32_Premultiplied},
                                           // Not 32-bit: Qt draws everything.
                                           FastCase{"Rgb888", QImage::Format_RGB888}),
                         [](const auto& info) { return std::string(info.param.name); });

// Many small batches of short runs along the axes, each delivered by
// Flush(): one run (drawn as a polyline), two-point runs only (as lines) or
// a mixture (as a path), with short segments that turn, continue, turn back
// and close, on a small image that lines cross, under a clip.
struct BatchCase {
  const char* name;
  int style, width, cap;  // a simple pen when cap < 0
  bool slanted = false;   // some segments slanted
  friend void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.name; }
};
class QtDCFastBatches : public ::testing::TestWithParam<BatchCase> {};

TEST_P(QtDCFastBatches, LeaveTheSamePixels) {
  const BatchCase& c = GetParam();
  CPen pen;
  if (c.cap < 0) {
    pen.CreatePen(c.style, c.width, RGB(10, 20, 30));
  } else {
    const LOGBRUSH lb{BS_SOLID, RGB(10, 20, 30), 0};
    pen.CreatePen(PS_GEOMETRIC | c.style | c.cap, c.width, &lb);
  }
  std::mt19937 rng(7);
  const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  // Wide pens: longer segments on a larger image, where overlapping pieces
  // show differences between a path and separate calls.
  const bool wide = c.width > 1;
  const int w = wide ? 120 : 64, h = wide ? 90 : 48;
  long differing = 0, trials = 0;
  for (int trial = 0; trial < (wide ? 4000 : 1500); ++trial) {
    const int kind = in(0, 2);  // one run, two-point runs, any runs
    // Wide pens: half the batches without runs turning back or closing and
    // without zero-length segments.
    const bool clean = wide && in(0, 1) == 0;
    std::vector<std::vector<POINT>> runs(kind == 0 ? 1 : in(1, in(0, 1) ? 5 : 25));
    for (std::vector<POINT>& run : runs) {
      POINT p{in(-15, w + 15), in(-15, h + 15)};
      if (&run != &runs[0] && in(0, 2) == 0) p = runs[&run - &runs[0] - 1].back();
      run.push_back(p);
      const int points = kind == 1 ? 2
                         : wide    ? (in(0, 2) != 0 ? 2 : in(3, 5))
                                   : in(2, in(0, 1) ? 5 : 12);
      bool lastHorizontal = false;
      int lastSign = 0;
      for (int i = 1; i < points; ++i) {
        const int length = in(0, 2) != 0 && !wide ? in(1, 3) : in(1, wide ? 40 : 25);
        const bool horizontal = in(0, 1) == 1;
        int sign = in(0, 1) ? 1 : -1;
        if (clean && i > 1 && horizontal == lastHorizontal) sign = lastSign;
        (horizontal ? p.x : p.y) += !clean && in(0, 40) == 0 ? 0 : sign * length;
        if (c.slanted && in(0, 3) == 0) (horizontal ? p.y : p.x) += in(-30, 30);
        run.push_back(p);
        lastHorizontal = horizontal;
        lastSign = sign;
      }
      if (kind != 1 && !clean && in(0, 3) == 0) {
        run.push_back(POINT{run[0].x, run.back().y});
        run.push_back(run[0]);
      }
    }
    const bool clipped = in(0, 1) == 1;
    const bool halved = in(0, 2) == 0;  // half a pixel per unit: points between pixels
    CRgn clip;
    clip.CreateRectRgn(in(-5, w), in(-5, h), in(0, w + 10), in(0, h + 10));
    const auto scene = [&](CQtDC& dc) {
      if (halved) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(2, 2);
        dc.SetViewportExt(1, 1);
      }
      dc.SelectObject(&pen);
      if (clipped) dc.SelectClipRgn(&clip);
      for (const std::vector<POINT>& run : runs) {
        dc.MoveTo(run[0]);
        for (size_t i = 1; i < run.size(); ++i) dc.LineTo(run[i]);
      }
      dc.Flush();
    };
    const auto [fast, plain] = DrawBothWays(scene, w, h);
    ++trials;
    if (DifferingPixels(fast, plain) != 0) ++differing;
  }
  EXPECT_EQ(differing, 0) << "of " << trials << " batches";
}

INSTANTIATE_TEST_SUITE_P(
    Pens, QtDCFastBatches,
    ::testing::Values(BatchCase{"Hairline", PS_SOLID, 0, -1},
                      BatchCase{"WideFlat", PS_SOLID, 4, PS_ENDCAP_FLAT},
                      BatchCase{"WideSquare", PS_SOLID, 8, PS_ENDCAP_SQUARE},
                      BatchCase{"WideRound", PS_SOLID, 2, PS_ENDCAP_ROUND},
                      BatchCase{"OddWidthFlat", PS_SOLID, 3, PS_ENDCAP_FLAT},
                      BatchCase{"WideFlatSlanted", PS_SOLID, 4, PS_ENDCAP_FLAT, true},
                      BatchCase{"WideRoundSlanted", PS_SOLID, 6, PS_ENDCAP_ROUND, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A busy scene: pens of every kind (wide, hatched, dashed, null), mapping,
// clip and background changes, fills, rectangles, text, dash pieces,
// polylines and anti-aliased pieces. Seeds 1065 and 3061 showed that Qt's
// painter keeps something from the last wide line it stroked: drawing the
// longer runs of a split batch as polylines rather than one path changed a
// later hatched stroke by a few pixels.
void DrawBusyScene(CQtDC& dc, int seed, int w, int h) {
  std::mt19937 rng(seed);
  const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<std::unique_ptr<CPen>> pens;
  const auto color = [&] { return RGB(in(0, 255), in(0, 255), in(0, 255)); };
  const auto newPen = [&] {
    pens.push_back(std::make_unique<CPen>());
    CPen* pen = pens.back().get();
    const int k = in(0, 9);
    if (k <= 3) {
      pen->CreatePen(PS_SOLID, in(0, 1) ? 0 : 2 * in(1, 4), color());
    } else if (k == 4) {
      pen->CreatePen(in(1, 4), 0, color());  // dashes
    } else if (k == 5) {
      pen->CreatePen(PS_NULL, 0, COLORREF{0});
    } else {
      const LOGBRUSH lb{k == 9 ? BS_HATCHED : UINT{BS_SOLID}, color(),
                        static_cast<std::uintptr_t>(in(0, 5))};
      const int caps[] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
      const int joins[] = {PS_JOIN_ROUND, PS_JOIN_BEVEL, PS_JOIN_MITER};
      const int style =
          PS_GEOMETRIC | (in(0, 4) ? PS_SOLID : in(1, 4)) | caps[in(0, 2)] | joins[in(0, 2)];
      if (!pen->CreatePen(style, 2 * in(1, 4), &lb)) pen->CreatePen(PS_SOLID, 0, color());
    }
    return pen;
  };
  POINT at{in(0, w), in(0, h)};
  const int ops = in(50, 400);
  for (int op = 0; op < ops; ++op) {
    const int k = in(0, 99);
    if (k < 6) {
      dc.SelectObject(newPen());
    } else if (k < 8) {
      dc.SetBkMode(in(0, 1) ? OPAQUE : TRANSPARENT);
    } else if (k < 9) {
      dc.SetBkColor(color());
    } else if (k < 11) {
      const int m = in(0, 3);
      if (m == 0) {
        dc.SetMapMode(MM_TEXT);
        dc.SetViewportOrg(0, 0);
        dc.SetWindowOrg(0, 0);
      } else if (m == 1) {
        dc.SetViewportOrg(in(-20, 20), in(-20, 20));
      } else if (m == 2) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(in(1, 4), in(1, 4));
        dc.SetViewportExt(in(1, 4), in(1, 4));
      } else {
        dc.SetMapMode(MM_TEXT);
        dc.SetWindowOrg(in(-5, 5), in(-5, 5));
      }
    } else if (k < 13) {
      if (in(0, 2) == 0) {
        dc.SelectClipRgn(nullptr);
      } else {
        CRgn rgn;
        rgn.CreateRectRgn(in(-10, w), in(-10, h), in(0, w + 10), in(0, h + 10));
        dc.SelectClipRgn(&rgn);
      }
    } else if (k < 14) {
      dc.IntersectClipRect(in(-10, w), in(-10, h), in(0, w + 10), in(0, h + 10));
    } else if (k < 15) {
      dc.FillSolidRect(in(0, w), in(0, h), in(1, 30), in(1, 30), color());
    } else if (k < 16) {
      dc.Rectangle(in(0, w), in(0, h), in(0, w), in(0, h));
    } else if (k < 60) {
      const int pieces = in(1, 60);
      for (int i = 0; i < pieces; ++i) {
        if (in(0, 3) != 0 || i == 0) {
          if (in(0, 5) == 0) at = POINT{in(-20, w + 20), in(-20, h + 20)};
          dc.MoveTo(at);
        }
        const int segments = in(0, 3) ? 1 : in(2, 4);
        for (int j = 0; j < segments; ++j) {
          const int len = in(1, 25) * (in(0, 1) ? 1 : -1);
          (in(0, 1) ? at.x : at.y) += len;
          dc.LineTo(at);
        }
        if (in(0, 1)) (in(0, 1) ? at.x : at.y) += in(-8, 8);
      }
    } else if (k < 70) {
      std::vector<POINT> pts;
      const int n = in(2, 8);
      POINT p{in(-10, w + 10), in(-10, h + 10)};
      pts.push_back(p);
      for (int i = 1; i < n; ++i) {
        const int len = in(-30, 30);
        (in(0, 1) ? p.x : p.y) += len;
        pts.push_back(p);
      }
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
    } else if (k < 98) {
      const float widths[] = {0.0f, 1.0f, 1.0f, 1.0f, 2.0f, 3.0f, 0.5f};
      AAPEN pen{widths[in(0, 6)], in(0, 3) ? RGB(0, 0, 0) : color(), in(0, 2), in(0, 2)};
      const int pieces = in(1, 40);
      for (int i = 0; i < pieces; ++i) {
        const POINT a = in(0, 2) ? at : POINT{in(-10, w + 10), in(-10, h + 10)};
        POINT b = a;
        const int len = in(0, 10) == 0 ? 0 : in(-25, 25);
        const int m = in(0, 4);
        if (m == 0) {
          b.x += len;
          b.y += in(-25, 25);
        } else {
          (m < 3 ? b.x : b.y) += len;
        }
        if (in(0, 5) == 0) {
          const POINT pts[3] = {a, b, POINT{b.x + in(-10, 10), b.y}};
          dc.AAPolyline(pts, 3, pen);
        } else {
          dc.AALine(a, b, pen);
        }
        at = b;
        if (in(0, 10) == 0) pen.color = color();
      }
    } else {
      dc.TextOut(in(0, w), in(0, h), "Ab");
    }
  }
}

TEST(QtDC, BusyScenesLeaveTheSamePixels) {
  for (const int seed : {1065, 2531, 3061}) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed * 7 + 1);
    const int w = 40 + static_cast<int>(rng() % 200);
    const int h = 30 + static_cast<int>(rng() % 150);
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                      QImage::Format_ARGB32_Premultiplied};
    const auto [fast, plain] =
        DrawBothWays([&](CQtDC& dc) { DrawBusyScene(dc, seed, w, h); }, w, h, formats[seed % 3]);
    EXPECT_EQ(DifferingPixels(fast, plain), 0);
  }
}

TEST(QtDC, HairlinesKeepQtsCornersAndLeaveOutTheLastPixel) {
  // Written directly, one-pixel lines still end as Qt ends them: the higher
  // end left out whichever way the line runs, corners filled, a line
  // turning back gaining its start pixel.
  const auto scene = [](CQtDC& dc) {
    dc.MoveTo(10, 10);
    dc.LineTo(30, 10);  // right, then down: a chain
    dc.LineTo(30, 20);
    dc.MoveTo(60, 10);
    dc.LineTo(40, 10);  // left, then down by one
    dc.LineTo(40, 11);
    dc.MoveTo(10, 40);
    dc.LineTo(30, 40);  // right, then straight back
    dc.LineTo(20, 40);
  };
  const auto [fast, plain] = DrawBothWays(scene, 80, 60);
  EXPECT_EQ(DifferingPixels(fast, plain), 0);
  EXPECT_EQ(Px(fast, 10, 10), kBlack);
  EXPECT_EQ(Px(fast, 30, 10), kBlack);  // the corner
  EXPECT_NE(Px(fast, 30, 20), kBlack);  // the end of the chain
  EXPECT_NE(Px(fast, 60, 10), kBlack);  // a leftward line leaves out its start ...
  EXPECT_EQ(Px(fast, 40, 10), kBlack);  // ... and keeps its end
  EXPECT_EQ(Px(fast, 40, 11), kBlack);  // the one-pixel step down still shows
  EXPECT_NE(Px(fast, 31, 40), kBlack);
}

TEST(QtDC, SwitchingFastPathsKeepsPendingLines) {
  const QImage img = Draw([](CQtDC& dc) {
    dc.MoveTo(10, 10);
    dc.LineTo(50, 10);
    dc.SetFastPathsEnabled(false);  // delivers the pending line first
    dc.MoveTo(10, 20);
    dc.LineTo(50, 20);
    dc.AALine(POINT{10, 30}, POINT{50, 30}, AAPEN{1, RGB(0, 0, 0), AA_CAP_FLAT, AA_JOIN_ROUND});
    dc.SetFastPathsEnabled(true);
    dc.AALine(POINT{10, 40}, POINT{50, 40}, AAPEN{1, RGB(0, 0, 0), AA_CAP_FLAT, AA_JOIN_ROUND});
  });
  for (int y : {10, 20}) EXPECT_EQ(CountColor(img, QRect(10, y, 40, 1), kBlack), 40) << y;
  // Anti-aliased with flat ends, 10..50 half covers the end pixels.
  for (int y : {30, 40}) EXPECT_EQ(CountColor(img, QRect(11, y, 39, 1), kBlack), 39) << y;
}

// --- other targets ---

TEST(QtDC, BorrowedPainterKeepsItsTransformClipAndState) {
  QImage img(200, 150, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.translate(50, 0);
  painter.setClipRect(QRect(0, 0, 100, 150));  // image columns 50..149
  painter.setPen(Qt::green);
  {
    CQtDC dc(&painter);
    dc.MoveTo(-50, 10);
    dc.LineTo(150, 10);
  }
  EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
  EXPECT_EQ(painter.transform().dx(), 50);
  painter.end();
  EXPECT_EQ(Ink(img), QRect(50, 10, 100, 1));
}

TEST(QtDC, SvgAndPdfFilesAreWritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString svgName = dir.filePath("a.svg"), pdfName = dir.filePath("a.pdf");
  {
    auto svg = CQtDC::CreateSvg(svgName, SIZE{200, 150});
    auto pdf = CQtDC::CreatePdf(pdfName);
    ASSERT_TRUE(svg->IsActive() && pdf->IsActive());
    EXPECT_FALSE(svg->IsPrinting());
    EXPECT_TRUE(pdf->IsPrinting());
    EXPECT_EQ(pdf->GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(pdf->GetDeviceCaps(HORZSIZE), 210);  // A4
    for (CQtDC* dc : {svg.get(), pdf.get()}) {
      dc->Ellipse(10, 10, 100, 80);
      dc->TextOut(20, 90, "text");
    }
    EXPECT_TRUE(svg->End());
  }  // the PDF is finished by its destructor
  QFile svg(svgName), pdf(pdfName);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly) && pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
  EXPECT_FALSE(CQtDC::CreateSvg("/nonexistent/dir/a.svg", SIZE{10, 10})->IsActive());
}

}  // namespace
