// Long lines on a small image: the engine passes over what the image cannot
// show, and the image comes out exactly as walking every dash would leave it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "companions/KpResourceSymbols.h"
#include "engine/CKpLineStyleEngine.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kSize = 500;
constexpr LONG kHalf = 1L << 30;  // -kHalf to kHalf is 2^31 long
constexpr COLORREF kInk = RGB(0, 0, 160);

// An image DC that counts the lines reaching it. An edgeless one hides its
// edges from the engine, which then walks every dash.
//
// A separate one draws every call on its own. CQtDC hands a batch of lines
// to Qt as one call, and Qt sets the pixels of a slanted one-pixel line a
// little differently in one drawLines than in one path, which it takes when
// any line of the batch bends; so in a batch the pixels of a dash depend on
// which other dashes share the batch, wherever they are. Comparing what two
// drawings hand the device needs that taken out.
class ImageDC : public CQtDC {
 public:
  ImageDC(QImage& image, bool edgeless, bool separate = false)
      : CQtDC(image), m_edgeless(edgeless), m_separate(separate) {}
  long long lines = 0;

 protected:
  std::optional<CRect> GetDeviceBox() const override {
    return m_edgeless ? std::nullopt : CQtDC::GetDeviceBox();
  }
  void DoLine(POINT from, POINT to) override {
    ++lines;
    CQtDC::DoLine(from, to);
    if (m_separate) Flush();
  }
  void DoPolyline(const POINT* pts, int n) override {
    CQtDC::DoPolyline(pts, n);
    if (m_separate) Flush();
  }
  void DoAAPolyline(const POINT* pts, int n, const AAPEN& pen) override {
    CQtDC::DoAAPolyline(pts, n, pen);
    if (m_separate) Flush();
  }

 private:
  bool m_edgeless;
  bool m_separate;
};

QImage Blank() {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

long Inked(const QImage& image) {
  long n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ++n;
  return n;
}

CKpLineStyleBase SubLine(std::vector<std::pair<long, long>> pattern, short kind, short height) {
  CKpLineStyleBase sub;
  for (auto [drawn, gap] : pattern) sub.Add(drawn, gap);
  sub.m_nHVMode = kind;
  sub.m_nHVLength = height;
  sub.m_clrColor = sub.m_clrCurrent = kInk;
  sub.SetColorLock(TRUE);  // its own pen, not the image's default one
  if (kind >= 28 && kind <= 33) {
    std::strcpy(sub.m_szFont, "DejaVu Sans");
    sub.m_nSymbol = 'A';
  }
  if (kind == 47 || kind == 48) sub.m_nSymbol = 18;  // a star of the built-in symbols
  if (kind >= 43 && kind <= 45) sub.m_nRepeatMode = 1;
  return sub;
}

struct Drawing {
  Drawing(const CKpLineStyleBase& s, double r, int mode = MM_TEXT, bool aa = false)
      : sub(s), ratio(r), mapMode(mode), antiAliased(aa) {}
  CKpLineStyleBase sub;
  double ratio;
  int mapMode;
  bool antiAliased;
  std::vector<POINT> pts;
};

// Draws on the image; returns the lines that reached it and what the engine
// passed over.
std::pair<long long, long long> Draw(QImage& image, Drawing d, bool edgeless, bool separate = false) {
  static CKpSymLib symbols = kp::ResourceSymbols();
  ImageDC dc(image, edgeless, separate);
  CKpLineStyleEngine engine;
  engine.SetMapMode(d.mapMode);
  engine.KeepDC(&dc);
  engine.SetRatio(d.ratio);
  engine.SetClearSawtooth(d.antiAliased ? 1 : 0);
  engine.m_pSymLib = &symbols;
  engine.SetLineStyleBase(&d.sub);
  engine.CreatePen(&d.sub);
  engine.ActPolyLine(&d.sub, d.pts.data(), static_cast<long>(d.pts.size()));
  engine.RestoreDC();
  dc.End();
  return {dc.lines, engine.GetSkippedPoints()};
}

TEST(BoundedWorkImage, TwoToTheThirtyOneUnitsCostWhatFiveHundredPixelsShow) {
  struct Row {
    const char* what;
    Drawing drawing;
  };
  const Row rows[] = {
      {"dashes of one unit", {SubLine({{1, 1}}, 0, 0), 1.0}},
      // Every entry counts as one unit at this ratio.
      {"ratio 0.001", {SubLine({{10, 5}}, 0, 0), 0.001}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing along = r.drawing, reference = r.drawing;
    along.pts = {{-kHalf, 250}, {kHalf, 250}};
    // Starts 2^30 - 10 units later, an even number: the same phase.
    reference.pts = {{-10, 250}, {kSize + 10, 250}};
    QImage image = Blank(), expected = Blank();
    const auto [lines, skipped] = Draw(image, along, false);
    Draw(expected, reference, false);
    EXPECT_LE(lines, 300);  // 250 dashes and the margins
    EXPECT_GT(skipped, (1LL << 31) - 10000);
    EXPECT_GT(Inked(expected), 200);
    EXPECT_TRUE(image == expected);
  }
}

// Through the image, turning back far outside it and through it again, to a
// corner inside it and away; around `c`.
// Long enough to pass over most of it, short enough for the walk of all of
// it to stay within the budget.
std::vector<POINT> ZigZag(POINT c) {
  return {{c.x - 18000, c.y - 7350},
          {c.x + 18000, c.y + 7400},
          {c.x - 12000, c.y - 4933},
          {c.x + 150, c.y - 150},
          {c.x + 10150, c.y - 18150}};
}

TEST(BoundedWorkImage, PassingOverLeavesThePixelsWalkingLeaves) {
  struct Row {
    const char* what;
    Drawing drawing;
    POINT centre;
  };
  CKpLineStyleBase wide = SubLine({{2, 2}}, 0, 0);
  wide.m_nCurWidth = wide.m_nWidth = 30;
  CKpLineStyleBase offsetTicks = SubLine({{9, 4}}, 1, 6);
  offsetTicks.m_nVertOffset = 7;
  const POINT text{250, 250};
  const POINT metric{661, -661};  // the image's centre at 254 units per inch, y up
  const Row rows[] = {
      {"dashes", {SubLine({{7, 3}, {2, 3}}, 0, 0), 0.5}, text},
      {"a wide pen on short dashes", {wide, 1.0}, text},
      {"anti-aliased", {SubLine({{5, 4}}, 0, 0), 1.0, MM_TEXT, true}, text},
      {"ticks beside the line, metric units", {offsetTicks, 2.5, MM_LOMETRIC}, metric},
      {"chevrons", {SubLine({{6, 0}}, 12, 5), 1.0}, text},
      {"waves", {SubLine({{6, 4}}, 14, 4), 0.6}, text},
      {"boxes taller than the cycle", {SubLine({{2, 2}}, 16, 20), 1.0}, text},
      {"half arcs", {SubLine({{8, 8}}, 22, 6), 1.0}, text},
      {"glyphs", {SubLine({{3, 3}}, 28, 24), 1.0}, text},
      {"dashes with arrows", {SubLine({{30, 10}}, 36, 4), 1.0}, text},
      {"symbols", {SubLine({{3, 3}}, 47, 40), 1.0}, text},
      {"double line", {SubLine({{10, 5}}, 43, 4), 1.0}, text},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d = r.drawing;
    d.pts = ZigZag(r.centre);
    QImage passed = Blank(), walked = Blank();
    const auto [passedLines, skipped] = Draw(passed, d, false, true);
    const auto [walkedLines, none] = Draw(walked, d, true, true);
    EXPECT_GT(skipped, 500);
    EXPECT_EQ(none, 0);
    EXPECT_LT(passedLines * 10, walkedLines + 10);
    EXPECT_GT(Inked(walked), 300);
    EXPECT_TRUE(passed == walked);
  }
}

// A clip region as wide as the plane lets everything through (its width
// does not fit 32 bits).
TEST(BoundedWorkImage, AClipSpanningThePlaneClipsNothing) {
  QImage clipped = Blank(), plain = Blank();
  for (QImage* image : {&clipped, &plain}) {
    CQtDC dc(*image);
    CRgn plane;
    plane.CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    if (image == &clipped) dc.SelectClipRgn(&plane);
    dc.MoveTo(10, 10);
    dc.LineTo(400, 300);
    dc.End();
  }
  EXPECT_GT(Inked(plain), 300);
  EXPECT_TRUE(clipped == plain);
}

// A wide anti-aliased line reaching far past the image is cut to the image
// before Qt fills it (Qt's rasterizer would step through every pixel it
// reaches); it leaves what Qt's own stroke leaves, within the rounding of
// the anti-aliasing.
TEST(BoundedWorkImage, WideAntiAliasedLinesReachingFarOutAreCutToTheImage) {
  struct Row {
    const char* what;
    int cap, join;
    Qt::PenCapStyle qtCap;
    Qt::PenJoinStyle qtJoin;
  };
  const Row rows[] = {
      {"round", AA_CAP_ROUND, AA_JOIN_ROUND, Qt::RoundCap, Qt::RoundJoin},
      {"flat ends, mitred corners", AA_CAP_FLAT, AA_JOIN_MITER, Qt::FlatCap, Qt::MiterJoin},
      {"square ends, bevelled corners", AA_CAP_SQUARE, AA_JOIN_BEVEL, Qt::SquareCap, Qt::BevelJoin},
  };
  // Across the image and back, a sharp turn far outside it, and down through it.
  const POINT pts[4] = {{-100000, 240}, {100000, 260}, {-100000, 300}, {250, -100000}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    QImage cut = Blank(), whole = Blank();
    CQtDC dc(cut);
    dc.AAPolyline(pts, 4, AAPEN{40.0f, kInk, r.cap, r.join});
    dc.End();
    QPainter painter(&whole);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(CQtDC::ToQColor(kInk), 40, Qt::SolidLine, r.qtCap, r.qtJoin);
    pen.setMiterLimit(5.0);
    painter.setPen(pen);
    std::vector<QPointF> line;
    for (const POINT& p : pts) line.emplace_back(p.x + 0.5, p.y + 0.5);  // as CQtDC places them
    painter.drawPolyline(line.data(), 4);
    painter.end();
    long differing = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const QRgb a = cut.pixel(x, y), b = whole.pixel(x, y);
        if (std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qBlue(a) - qBlue(b)) > 24) ++differing;
      }
    EXPECT_GT(Inked(whole), 20000);
    EXPECT_LE(differing, 10);
  }
}

// Ellipses far larger than the image: skipped when out of sight, filled as
// the part shown when they cover it with their outline out of sight, and
// left to Qt otherwise. Each comes out as Qt drawing the whole ellipse
// leaves it (the edgeless DC hides the image's edges, so it never takes a
// shortcut), with a clip region too.
TEST(BoundedWorkImage, HugeEllipsesLeaveWhatDrawingThemWholeLeaves) {
  struct Row {
    const char* what;
    RECT box;
    int penWidth;
    bool hatched;  // a hatch brush laid on the background colour
    bool clipped;  // a clip region of 100..300 x 50..250
  };
  const Row rows[] = {
      {"far left, wide pen", {-90000, -40000, -20000, 40000}, 300, false, false},
      {"covers the image, outline far out", {-40000, -40000, 40000, 40000}, 300, false, false},
      {"covers the image, hatched on the background", {-40000, -40000, 40000, 40000}, 9, true, false},
      {"covers the clip, outline through the image", {-2000, -2000, 420, 420}, 60, false, true},
      {"outline crosses the image", {-30000, 200, 30000, 60000}, 40, false, false},
      {"outline crosses the clip only", {-30000, 280, 30000, 60000}, 12, false, true},
      // Small ellipses under pens far wider: the stroke paints the image, or
      // only part of it from far off.
      {"small ellipse, its pen covers the image", {200, 200, 205, 205}, 15617, false, false},
      {"small ellipse, its pen covers the clip", {-3000, 200, -2995, 205}, 7000, true, true},
      {"small ellipse far off, its pen reaches in", {-7700, 200, -7695, 205}, 15617, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    QImage shortcut = Blank(), whole = Blank();
    for (QImage* image : {&shortcut, &whole}) {
      ImageDC dc(*image, image == &whole);
      CPen pen;
      pen.CreatePen(PS_SOLID, r.penWidth, kInk);
      CBrush brush;
      if (r.hatched) {
        brush.CreateHatchBrush(HS_DIAGCROSS, RGB(200, 0, 0));
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(RGB(0, 160, 0));
      } else {
        brush.CreateSolidBrush(RGB(0, 160, 0));
      }
      CRgn clip;
      clip.CreateRectRgn(100, 50, 300, 250);
      if (r.clipped) dc.SelectClipRgn(&clip);
      dc.SelectObject(&pen);
      dc.SelectObject(&brush);
      dc.Ellipse(r.box.left, r.box.top, r.box.right, r.box.bottom);
      dc.Arc(r.box.left, r.box.top, r.box.right, r.box.bottom, 0, -100000, 0, 100000);
      dc.End();
    }
    EXPECT_TRUE(shortcut == whole);
  }
}

// Pens far wider than the image: a dash that paints all of what is shown is
// drawn as the fill of it, hiding the dashes before it in the batch. The
// image must come out as Qt stroking every dash leaves it (the fast paths
// off draw each dash alone, as the reference does),
// with a clip region too, and where some dashes only reach in from outside.
TEST(BoundedWorkImage, HugePensLeaveWhatStrokingEveryDashLeaves) {
  using Piece = std::vector<POINT>;
  struct Row {
    const char* what;
    float width;
    int cap, join;
    std::vector<Piece> pieces;
    bool clipped;  // a clip region of 100..300 x 50..250
  };
  std::vector<Piece> dashes;  // short dashes along y = 250, each inside the image
  for (LONG x = 20; x < 480; x += 23) dashes.push_back({{x, 250}, {x + 9, 250}});
  const Row rows[] = {
      {"round dashes of a 2,049 pen", 2049, AA_CAP_ROUND, AA_JOIN_ROUND, dashes, false},
      {"flat dashes: their ends lie in the image, none covers", 2049, AA_CAP_FLAT, AA_JOIN_MITER, dashes, false},
      {"a covering dash, then dashes reaching in from outside",
       1800,
       AA_CAP_FLAT,
       AA_JOIN_MITER,
       {{{-5000, 250}, {5000, 250}}, {{-5000, 1300}, {5000, 1400}}, {{2000, -5000}, {1300, 5000}}},
       false},
      {"bent lines with miter joins, one leg covering",
       1600,
       AA_CAP_SQUARE,
       AA_JOIN_MITER,
       {{{-4000, 250}, {4000, 260}, {4100, 5000}}, {{-900, -900}, {-890, 2000}, {3000, 2100}}},
       false},
      {"round dashes, clipped", 2049, AA_CAP_ROUND, AA_JOIN_ROUND, dashes, true},
      // Each wide anti-aliased line is drawn alone, so those out of reach
      // are left out; the one 400 left of the image reaches 100 into it.
      {"lines out of reach among lines reaching in",
       1000,
       AA_CAP_ROUND,
       AA_JOIN_ROUND,
       {{{-100000, 0}, {-99000, 0}}, {{-400, -5000}, {-400, 5000}}, {{5000000, 5000000}, {5000100, 5000000}}},
       false},
      {"a pen narrower than the image", 120, AA_CAP_ROUND, AA_JOIN_ROUND, dashes, false},
  };
  for (const Row& r : rows) {
    for (bool batched : {true, false}) {
      SCOPED_TRACE(std::string(r.what) + (batched ? ", batched" : ", one at a time"));
      QImage drawn = Blank(), stroked = Blank();
      {
        CQtDC dc(drawn);
        dc.SetFastPathsEnabled(batched);
        CRgn clip;
        clip.CreateRectRgn(100, 50, 300, 250);
        if (r.clipped) dc.SelectClipRgn(&clip);
        const AAPEN pen{r.width, kInk, r.cap, r.join};
        for (const Piece& piece : r.pieces) dc.AAPolyline(piece.data(), static_cast<int>(piece.size()), pen);
        dc.End();
      }
      {
        QPainter p(&stroked);
        if (r.clipped) p.setClipRect(QRect(100, 50, 200, 200));
        p.setRenderHint(QPainter::Antialiasing, true);
        static constexpr Qt::PenCapStyle kCaps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
        static constexpr Qt::PenJoinStyle kJoins[] = {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin};
        QPen pen(QColor(0, 0, 160), r.width, Qt::SolidLine, kCaps[r.cap], kJoins[r.join]);
        pen.setMiterLimit(5);
        p.setPen(pen);
        for (const Piece& piece : r.pieces) {
          std::vector<QPointF> pts;
          for (const POINT& pt : piece) pts.emplace_back(pt.x + 0.5, pt.y + 0.5);
          p.drawPolyline(pts.data(), static_cast<int>(pts.size()));
        }
      }
      EXPECT_GT(Inked(stroked), 1000);
      EXPECT_TRUE(drawn == stroked);
    }
  }
}

// The same for aliased pen lines, hatched pens over an opaque background
// among them, and for lines whose wide pen cannot reach the image at all:
// the fast paths must leave what Qt stroking every line leaves.
TEST(BoundedWorkImage, HugeAliasedPensLeaveWhatStrokingEveryLineLeaves) {
  struct Row {
    const char* what;
    int width;
    int style;  // PS_GEOMETRIC cap and join bits
    bool hatched;
    std::vector<std::pair<POINT, POINT>> lines;
    bool reaches = true;  // some line's pen reaches the image
  };
  std::vector<std::pair<POINT, POINT>> dashes;
  for (LONG x = 20; x < 480; x += 23) dashes.push_back({{x, 250}, {x + 9, 252}});
  const std::vector<std::pair<POINT, POINT>> far = {{{-2000000000, 5000}, {-1990000000, 9000}},
                                                    {{40000, -1500000000}, {90000, -1400000000}}};
  const Row rows[] = {
      {"round solid dashes of a 3,000 pen", 3000, PS_ENDCAP_ROUND | PS_JOIN_ROUND, false, dashes},
      {"flat hatched dashes of a 3,000 pen", 3000, PS_ENDCAP_FLAT | PS_JOIN_MITER, true, dashes},
      {"round hatched dashes, one covering", 3000, PS_ENDCAP_ROUND | PS_JOIN_BEVEL, true, dashes},
      {"lines far beyond a 100,000 pen's reach", 100000, PS_ENDCAP_ROUND | PS_JOIN_ROUND, false, far, false},
      {"a far line and one through the image", 600, PS_ENDCAP_SQUARE | PS_JOIN_MITER, true,
       {far[0], {{-100, 30}, {600, 470}}}},
      // 1,200 pixels left of the image, its 3,000-pixel pen reaches 300 in.
      {"a line outside the image its pen reaches into", 3000, PS_ENDCAP_ROUND | PS_JOIN_ROUND, false,
       {{{-1200, -5000}, {-1200, 5000}}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    QImage fast = Blank(), plain = Blank();
    for (QImage* image : {&fast, &plain}) {
      CQtDC dc(*image);
      dc.SetFastPathsEnabled(image == &fast);
      const LOGBRUSH lb{r.hatched ? BS_HATCHED : BS_SOLID, kInk,
                        static_cast<std::uintptr_t>(HS_DIAGCROSS)};
      CPen pen;
      pen.CreatePen(PS_GEOMETRIC | r.style, r.width, &lb);
      dc.SelectObject(&pen);
      dc.SetBkMode(OPAQUE);
      dc.SetBkColor(RGB(250, 200, 0));
      for (const auto& [from, to] : r.lines) {
        dc.MoveTo(from);
        dc.LineTo(to);
      }
      dc.End();
    }
    EXPECT_TRUE(fast == plain);
    if (r.reaches) {
      EXPECT_GT(Inked(plain), 1000);
    }
  }
}

}  // namespace
