// Pixels of scenes drawn through CQtDC on a white 96 dpi image, MM_TEXT
// unless a test says otherwise.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>

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
