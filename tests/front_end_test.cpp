#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kHost = "SelectPen style=0x00000 width=2 color=0xFF0000";

// A host DC with its own blue pen, adopted by a private engine in MM_TEXT.
struct Drawing {
  CRecordingDC dc;
  CPen hostPen;
  CKpLineStyleEngine engine;
  explicit Drawing(bool printing = false) : dc(SIZE{1000, 1000}, printing) {
    hostPen.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    dc.SelectObject(&hostPen);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    dc.Clear();
  }
  const Lines& Calls() const { return dc.GetCalls(); }
};

// A plain solid sub-line (host pen while styles are overridden), no offsets:
// the driver draws it as one engine Polyline.
CKpLineStyleBase Plain() { return CKpLineStyleBase(); }

// A sub-line with its own pen: colour-locked, so it never takes the host's.
CKpLineStyleBase Own(COLORREF color, short width) {
  CKpLineStyleBase s;
  s.m_clrColor = s.m_clrCurrent = color;
  s.m_nWidth = s.m_nCurWidth = width;
  s.SetColorLock(TRUE);
  return s;
}

CKpLineStyleObj StyleOf(std::vector<CKpLineStyleBase> subs) {
  CKpLineStyleObj style;
  for (auto& s : subs) style.AddStyleBase(s);
  return style;
}

std::vector<POINT> Collinear(int n) {
  std::vector<POINT> pts;
  for (int i = 0; i < n; ++i) pts.push_back(POINT{i * 4, 0});
  return pts;
}

// North-east with a one-unit sideways jitter: the coarse tolerance swallows
// it, the fine one keeps many vertices.
std::vector<POINT> Jittered(int n) {
  std::vector<POINT> pts;
  for (int i = 0; i < n; ++i) pts.push_back(POINT{10 * i, 10 * i + (i % 2)});
  return pts;
}

std::string PolylineLine(const POINT* pts, int n, const char* name = "Polyline") {
  std::ostringstream s;
  s << name << ' ' << n;
  for (int i = 0; i < n; ++i) s << ' ' << pts[i].x << ' ' << pts[i].y;
  return s.str();
}

// Point count of every "Polyline" line of a trace.
std::vector<int> PolylineCounts(const Lines& calls) {
  std::vector<int> counts;
  for (const auto& line : calls) {
    std::istringstream s(line);
    std::string name;
    int n = 0;
    if (s >> name >> n && name == "Polyline") counts.push_back(n);
  }
  return counts;
}

size_t CountOf(const Lines& calls, const std::string& prefix) {
  size_t k = 0;
  for (const auto& line : calls) k += line.compare(0, prefix.size(), prefix) == 0;
  return k;
}

size_t Thinned(std::vector<POINT> pts, double tolerance) {
  CKpLineStyleEngine probe;
  std::vector<CPoint> out;
  EXPECT_TRUE(probe.LampHouseSmooth(pts.data(), static_cast<int>(pts.size()), tolerance, out));
  return out.size();
}

void AddExt(CKpLineStyleObj& style, long position, int shape, int size) {
  style.GetObjExt().SetObjExt(position, new tagLineStyleObjExt{static_cast<std::uint8_t>(size),
                                                               static_cast<std::uint8_t>(size), 0,
                                                               shape});
}

// --- thinning decision ---

TEST(FrontEnd, ThinsOnlyAbove256PointsWhenCompressionIsAllowed) {
  struct Row {
    const char* what;
    int n;
    int compress;
    int expected;  // points reaching the device
  };
  const Row rows[] = {
      {"256 points are never thinned", 256, 1, 256},
      {"257 collinear points shrink to their ends", 257, 1, 2},
      {"compression off keeps all 257", 257, 0, 257},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d;
    d.engine.SetCanCompress(r.compress);
    CKpLineStyleObj style = StyleOf({Plain()});
    auto pts = Collinear(r.n);
    style.Polyline(pts.data(), r.n, d.engine);
    EXPECT_EQ(PolylineCounts(d.Calls()), std::vector<int>{r.expected});
    EXPECT_EQ(pts.back().x, (r.n - 1) * 4);  // the input is left as it was
  }
}

TEST(FrontEnd, ThinningToleranceFollowsOffsetsDoubleLinesAndPrinting) {
  const int n = 300;
  const size_t fine = Thinned(Jittered(n), 0.2);
  const size_t coarse = Thinned(Jittered(n), 3.0);
  ASSERT_NE(fine, coarse);  // the input tells the two tolerances apart

  CKpLineStyleBase offset = Plain();
  offset.m_nVertOffset = 5;
  CKpLineStyleBase leftward = Plain();
  leftward.m_nVertOffset = -5;
  CKpLineStyleBase doubleLine = Plain();
  doubleLine.m_nHVMode = 44;
  doubleLine.m_nHVLength = 4;

  struct Row {
    const char* what;
    std::vector<CKpLineStyleBase> subs;
    bool printing;
    long index;  // -1: all sub-lines
    size_t expected;
  };
  const Row rows[] = {
      {"plain line: fine", {Plain()}, false, -1, fine},
      {"a later sub-line with a positive offset: coarse", {Plain(), offset}, false, -1, coarse},
      {"a negative offset does not count", {Plain(), leftward}, false, -1, fine},
      {"a double line (kind 44): coarse", {Plain(), doubleLine}, false, -1, coarse},
      {"printing: always fine", {Plain(), offset}, true, -1, fine},
      {"single sub-line: only that one is tested", {Plain(), offset}, false, 0, fine},
      {"single offset sub-line: coarse", {offset, Plain()}, false, 0, coarse},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d(r.printing);
    CKpLineStyleObj style = StyleOf(r.subs);
    auto pts = Jittered(n);
    if (r.index < 0)
      style.Polyline(pts.data(), n, d.engine);
    else
      style.Polyline(r.index, pts.data(), n, d.engine);
    const auto counts = PolylineCounts(d.Calls());
    ASSERT_FALSE(counts.empty());
    // The first sub-line is plain or a single offset line: one Polyline.
    EXPECT_EQ(static_cast<size_t>(counts.front()), r.expected);
  }
}

// --- the road of a whole style ---

TEST(FrontEnd, SubLinesInListOrderThenAttributePassesOnUnthinnedPoints) {
  Drawing d;
  CKpLineStyleObj style = StyleOf({Own(RGB(255, 0, 0), 3), Own(RGB(0, 255, 0), 1)});
  AddExt(style, KP_EXT_POS_VERTEX, 8, 4);  // filled ellipse at every middle vertex
  auto pts = Collinear(257);
  style.Polyline(pts.data(), 257, d.engine);

  const Lines& calls = d.Calls();
  // Each sub-line's pen setup first gives the host's pen back, then makes its own.
  const Lines subLines{kHost, "SelectPen style=0x00000 width=3 color=0x0000FF", "MoveTo 0 0",
                       "Polyline 2 0 0 1024 0", kHost, "SelectPen style=0x00000 width=1 color=0x00FF00",
                       "MoveTo 0 0", "Polyline 2 0 0 1024 0"};
  ASSERT_GE(calls.size(), subLines.size());
  EXPECT_EQ(Lines(calls.begin(), calls.begin() + 8), subLines);
  // Five passes, each starting from the host's pen; the vertex pass puts a
  // node on each of the 255 middle vertices of the input, not of the thinned line.
  EXPECT_EQ(CountOf(Lines(calls.begin() + 8, calls.end()), kHost), 5u);
  EXPECT_EQ(CountOf(calls, "Ellipse "), 255u);
  EXPECT_EQ(CountOf(calls, "Polyline "), 2u);
}

TEST(FrontEnd, StyleWithoutSubLines) {
  {
    SCOPED_TRACE("no sub-lines, no attributes: nothing at all");
    Drawing d;
    CKpLineStyleObj style;
    auto pts = Collinear(3);
    style.Polyline(pts.data(), 3, d.engine);
    EXPECT_TRUE(d.Calls().empty());
  }
  {
    SCOPED_TRACE("attributes only: the five passes and their decoration");
    Drawing d;
    CKpLineStyleObj style;
    AddExt(style, KP_EXT_POS_HEAD, 8, 4);
    auto pts = Collinear(3);
    style.Polyline(pts.data(), 3, d.engine);
    EXPECT_EQ(CountOf(d.Calls(), kHost), 5u);
    EXPECT_EQ(CountOf(d.Calls(), "Ellipse "), 1u);
    EXPECT_EQ(CountOf(d.Calls(), "Polyline "), 0u);
  }
}

TEST(FrontEnd, BadInputDrawsNothing) {
  CKpLineStyleObj style = StyleOf({Plain(), Own(RGB(255, 0, 0), 3)});
  AddExt(style, KP_EXT_POS_HEAD, 8, 4);
  POINT pts[3] = {{0, 0}, {10, 0}, {20, 0}};
  struct Row {
    const char* what;
    void (*draw)(CKpLineStyleObj&, POINT*, CKpLineStyleEngine&);
  };
  const Row rows[] = {
      {"null points", [](CKpLineStyleObj& s, POINT*, CKpLineStyleEngine& e) { s.Polyline(nullptr, 3, e); }},
      {"one point", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.Polyline(p, 1, e); }},
      {"index -1", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.Polyline(-1, p, 3, e); }},
      {"index == Count", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.Polyline(2, p, 3, e); }},
      {"index, one point", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.Polyline(0, p, 1, e); }},
      {"polygon, one point", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.Polygon(p, 1, e); }},
      {"fast, one point", [](CKpLineStyleObj& s, POINT* p, CKpLineStyleEngine& e) { s.PolylineFast(p, 1, e); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d;
    r.draw(style, pts, d.engine);
    EXPECT_TRUE(d.Calls().empty());
  }
  {
    SCOPED_TRACE("no DC kept");
    CKpLineStyleEngine idle;
    style.Polyline(pts, 3, idle);
    style.Polygon(pts, 3, idle);
    style.PolylineFastFast(pts, 3, idle);
    EXPECT_EQ(idle.m_pLineStyleBase, nullptr);
  }
}

TEST(FrontEnd, SingleSubLineDrawsThatSubLineOnly) {
  Drawing d;
  CKpLineStyleObj style = StyleOf({Own(RGB(255, 0, 0), 3), Own(RGB(0, 255, 0), 1)});
  AddExt(style, KP_EXT_POS_HEAD, 8, 4);
  POINT pts[3] = {{0, 0}, {10, 0}, {20, 5}};
  style.Polyline(1, pts, 3, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{kHost, "SelectPen style=0x00000 width=1 color=0x00FF00",
                              "MoveTo 0 0", "Polyline 3 0 0 10 0 20 5"}));  // no attribute passes
}

// --- multi-part geometry and polygons ---

TEST(FrontEnd, PolyPolylineSkipsOnePointPartsButNotTheirPoints) {
  Drawing d;
  CKpLineStyleObj style = StyleOf({Plain()});
  const POINT pts[8] = {{0, 0}, {1, 0}, {2, 0}, {9, 9}, {4, 0}, {5, 0}, {6, 0}, {7, 0}};
  const unsigned long counts[3] = {3, 1, 4};
  style.PolyPolyline(pts, counts, 3, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{kHost, "MoveTo 0 0", PolylineLine(pts, 3), kHost, "MoveTo 4 0",
                              PolylineLine(pts + 4, 4)}));
}

TEST(FrontEnd, MultiPartGuards) {
  const POINT pts[6] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
  struct Row {
    const char* what;
    std::vector<unsigned long> counts;  // empty: a null count array
    long parts;
    size_t polylines;
  };
  const Row rows[] = {
      {"null counts", {}, 2, 0},
      {"no parts", {2, 2}, 0, 0},
      {"negative part number", {2, 2}, -1, 0},
      {"zero-point part advances nothing", {0, 2, 2}, 3, 2},
      {"count beyond 32 bits ends the drawing", {2, 0x80000000ul, 2}, 3, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d;
    CKpLineStyleObj style = StyleOf({Plain()});
    style.PolyPolyline(pts, r.counts.empty() ? nullptr : r.counts.data(), r.parts, d.engine);
    EXPECT_EQ(CountOf(d.Calls(), "Polyline "), r.polylines);
  }
  {
    SCOPED_TRACE("polygons: a negative ring count ends the drawing");
    Drawing d;
    CKpLineStyleObj style = StyleOf({Plain()});
    POINT ring[6] = {{0, 0}, {10, 0}, {10, 10}, {20, 0}, {30, 0}, {30, 10}};
    int counts[3] = {3, -3, 3};
    style.PolyPolygon(ring, counts, 3, d.engine);
    EXPECT_EQ(d.Calls(), (Lines{"Polygon 3 0 0 10 0 10 10", kHost, "MoveTo 0 0", "Polyline 3 0 0 10 0 10 10"}));
    d.dc.Clear();
    style.PolyPolygon(ring, nullptr, 3, d.engine);
    EXPECT_TRUE(d.Calls().empty());
  }
}

TEST(FrontEnd, PolygonFillsBeforeTheOutline) {
  Drawing d;
  CKpLineStyleObj style = StyleOf({Own(RGB(255, 0, 0), 3)});
  POINT pts[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
  style.Polygon(pts, 4, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{"Polygon 4 0 0 10 0 10 10 0 0", kHost,
                              "SelectPen style=0x00000 width=3 color=0x0000FF",
                              "MoveTo 0 0", "Polyline 4 0 0 10 0 10 10 0 0"}));

  d.dc.Clear();
  POINT rings[7] = {{0, 0}, {5, 0}, {5, 5}, {9, 9}, {20, 0}, {25, 0}, {25, 5}};
  int counts[3] = {3, 1, 3};
  style.PolyPolygon(rings, counts, 3, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{"Polygon 3 0 0 5 0 5 5", kHost, "SelectPen style=0x00000 width=3 color=0x0000FF",
                              "MoveTo 0 0", "Polyline 3 0 0 5 0 5 5", "Polygon 3 20 0 25 0 25 5", kHost,
                              "SelectPen style=0x00000 width=3 color=0x0000FF",
                              "MoveTo 20 0", "Polyline 3 20 0 25 0 25 5"}));
}

// --- overrides ---

TEST(Overrides, WidthFollowsTheWidthType) {
  struct Row {
    const char* what;
    short type;
    bool locked;
    long width;
    short expected;
  };
  const Row rows[] = {
      {"proportional 150%: 5 * 150 / 100", KP_WIDTH_PROPORTIONAL, false, 5, 7},
      {"proportional truncates toward zero", KP_WIDTH_PROPORTIONAL, false, -5, -7},
      {"additive: 5 + 150", KP_WIDTH_ADDITIVE, false, 5, 155},
      {"fixed: the variation width itself", KP_WIDTH_FIXED, false, 5, 150},
      {"style (9): the width asked for", KP_WIDTH_STYLE, false, 5, 5},
      {"unknown type: the width asked for", 4, false, 5, 5},
      {"width lock: unchanged", KP_WIDTH_PROPORTIONAL, true, 5, 2},
      {"too wide for 16 bits: held at the limit", KP_WIDTH_STYLE, false, 40000, 32767},
      {"proportional overflow: held at the limit", KP_WIDTH_PROPORTIONAL, false, 100000, 32767},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleBase s;
    s.m_nWidth = 1;
    s.m_nCurWidth = 2;
    s.m_nWidthType = r.type;
    s.m_nVarWidth = 150;
    s.SetWidthLock(r.locked);
    CKpLineStyleObj style = StyleOf({s});
    CKpLineStyleEngine engine;
    engine.m_bStylePen = 1;
    EXPECT_EQ(style.SetWidth(r.width, engine), 1);
    EXPECT_EQ(style.GetStyleBase(0).m_nCurWidth, r.expected);
    EXPECT_EQ(style.GetStyleBase(0).m_nWidth, 1);  // the own width is kept
    EXPECT_EQ(engine.m_bStylePen, 0);
  }
}

TEST(Overrides, ColourSparesWhiteAndLockedSubLines) {
  CKpLineStyleBase ordinary;
  ordinary.m_clrColor = ordinary.m_clrCurrent = RGB(1, 2, 3);
  CKpLineStyleBase white;
  white.m_clrColor = RGB(255, 255, 255);
  white.m_clrCurrent = RGB(9, 9, 9);  // drawn white again, whatever it was
  CKpLineStyleBase locked;
  locked.m_clrColor = locked.m_clrCurrent = RGB(4, 5, 6);
  locked.SetColorLock(TRUE);
  locked.m_nWidthType = KP_WIDTH_STYLE;

  CKpLineStyleObj style = StyleOf({ordinary, white, locked});
  CKpLineStyleEngine engine;
  engine.m_bStylePen = 1;
  EXPECT_EQ(style.SetColor(RGB(0, 0, 255), engine), 1);
  EXPECT_EQ(style.GetStyleBase(0).m_clrCurrent, RGB(0, 0, 255));
  EXPECT_EQ(style.GetStyleBase(1).m_clrCurrent, RGB(255, 255, 255));
  EXPECT_EQ(style.GetStyleBase(2).m_clrCurrent, RGB(4, 5, 6));
  EXPECT_EQ(style.GetStyleBase(0).m_nCurWidth, 1);  // colour only
  EXPECT_EQ(engine.m_bStylePen, 0);

  // Both at once, each rule on its own lock.
  engine.m_bStylePen = 1;
  EXPECT_EQ(style.SetLineStyle(6, RGB(0, 255, 0), engine), 1);
  EXPECT_EQ(style.GetStyleBase(0).m_clrCurrent, RGB(0, 255, 0));
  EXPECT_EQ(style.GetStyleBase(2).m_clrCurrent, RGB(4, 5, 6));
  EXPECT_EQ(style.GetStyleBase(2).m_nCurWidth, 6);  // colour lock does not lock the width
  EXPECT_EQ(engine.m_bStylePen, 0);
}

TEST(Overrides, RestoresIgnoreLocksAndSwitchToOwnPens) {
  CKpLineStyleBase s;
  s.m_clrColor = RGB(1, 2, 3);
  s.m_clrCurrent = RGB(7, 7, 7);
  s.m_nWidth = 4;
  s.m_nCurWidth = 9;
  s.SetColorLock(TRUE);
  s.SetWidthLock(TRUE);
  struct Row {
    const char* what;
    int (*restore)(CKpLineStyleObj&, CKpLineStyleEngine&);
    COLORREF color;
    short width;
  };
  const Row rows[] = {
      {"colour", [](CKpLineStyleObj& o, CKpLineStyleEngine& e) { return o.SetColor(e); }, RGB(1, 2, 3), 9},
      {"width", [](CKpLineStyleObj& o, CKpLineStyleEngine& e) { return o.SetWidth(e); }, RGB(7, 7, 7), 4},
      {"both", [](CKpLineStyleObj& o, CKpLineStyleEngine& e) { return o.SetLineStyle(e); }, RGB(1, 2, 3), 4},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CKpLineStyleObj style = StyleOf({s});
    CKpLineStyleEngine engine;
    EXPECT_EQ(r.restore(style, engine), 1);
    EXPECT_EQ(style.GetStyleBase(0).m_clrCurrent, r.color);
    EXPECT_EQ(style.GetStyleBase(0).m_nCurWidth, r.width);
    EXPECT_EQ(engine.m_bStylePen, 1);
  }
}

TEST(Overrides, PlainFormsUseTheModuleEngine) {
  CKpLineStyleObj style = StyleOf({Plain()});
  style.SetColor();
  EXPECT_EQ(gLineStyleEngine.m_bStylePen, 1);
  style.SetWidth(3);
  EXPECT_EQ(gLineStyleEngine.m_bStylePen, 0);
  style.SetLineStyle();
  EXPECT_EQ(gLineStyleEngine.m_bStylePen, 1);
  style.SetLineStyle(2, RGB(1, 1, 1));
  EXPECT_EQ(gLineStyleEngine.m_bStylePen, 0);
}

// --- fast pens ---

CKpLineStyleObj TwoPenStyle() {
  CKpLineStyleBase flat = Own(RGB(255, 0, 0), 3);
  flat.SetCap(2);
  CKpLineStyleBase dashed = Own(RGB(0, 255, 0), 1);
  dashed.SetBase(PS_DASH);
  dashed.m_dwPenStyle |= 0x00010000u;  // a stray geometric bit is dropped and set again
  return StyleOf({flat, dashed});
}

TEST(FastPens, CachedPensDrawEachSubLineAndTheHostPenComesBack) {
  Drawing d;
  d.engine.SetRatio(2.0);  // the cache takes widths unscaled
  CKpLineStyleObj style = TwoPenStyle();
  style.CreateFastPen(d.engine);
  ASSERT_NE(d.engine.m_ppFastPens, nullptr);
  EXPECT_TRUE(d.Calls().empty());  // making pens draws nothing
  POINT pts[2] = {{0, 0}, {10, 0}};
  style.PolylineFast(pts, 2, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{"SelectPen style=0x10200 width=3 color=0x0000FF", "MoveTo 0 0", "Polyline 2 0 0 10 0", kHost,
                              "SelectPen style=0x10001 width=1 color=0x00FF00", "MoveTo 0 0", "Polyline 2 0 0 10 0", kHost}));
  style.DeleteFastPen(d.engine);
  EXPECT_EQ(d.engine.m_ppFastPens, nullptr);
  EXPECT_EQ(d.engine.m_pFastPenStyle, nullptr);
  EXPECT_EQ(d.engine.m_nFastPenCount, 0);
}

TEST(FastPens, ACacheThatDoesNotFitDrawsWithTheHostPen) {
  struct Row {
    const char* what;
    bool makeCache;
    bool otherStyleMakesIt;
    bool addSubLineAfterwards;
  };
  const Row rows[] = {
      {"no cache", false, false, false},
      {"cache of another style", true, true, false},
      {"cache made before a sub-line was added", true, false, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Drawing d;
    CKpLineStyleObj style = TwoPenStyle();
    CKpLineStyleObj other = StyleOf({Own(RGB(0, 0, 255), 5)});
    if (r.makeCache) (r.otherStyleMakesIt ? other : style).CreateFastPen(d.engine);
    if (r.addSubLineAfterwards) {
      CKpLineStyleBase extra = Own(RGB(9, 9, 9), 2);
      style.AddStyleBase(extra);
    }
    POINT pts[2] = {{0, 0}, {10, 0}};
    style.PolylineFast(pts, 2, d.engine);
    Lines expected{kHost};
    for (long i = 0; i < style.Count(); ++i) {
      expected.push_back("MoveTo 0 0");
      expected.push_back("Polyline 2 0 0 10 0");
    }
    EXPECT_EQ(d.Calls(), expected);
    // Freed by whichever style asks, with the size it was made for.
    style.DeleteFastPen(d.engine);
    EXPECT_EQ(d.engine.m_ppFastPens, nullptr);
  }
}

TEST(FastPens, RemakingAndDeletingFreeEverything) {
  // Leaks and double frees here are what the sanitizer build looks for.
  Drawing d;
  CKpLineStyleObj style = TwoPenStyle();
  style.CreateFastPen(d.engine);
  style.CreateFastPen(d.engine);  // replaces the first cache
  EXPECT_EQ(d.engine.m_nFastPenCount, 2);
  style.DeleteFastPen(d.engine);
  style.DeleteFastPen(d.engine);  // nothing left to free
  CKpLineStyleObj empty;
  empty.CreateFastPen(d.engine);  // a cache of no pens
  POINT pts[2] = {{0, 0}, {10, 0}};
  empty.PolylineFast(pts, 2, d.engine);
  EXPECT_TRUE(d.Calls().empty());
  empty.DeleteFastPen(d.engine);
  EXPECT_EQ(d.engine.m_ppFastPens, nullptr);
}

TEST(FastPens, FastFastIsOneDevicePolylineWithTheFirstSubLinesPen) {
  Drawing d;
  d.engine.SetClearSawtooth(1);  // never anti-aliased
  CKpLineStyleObj style = TwoPenStyle();
  style.CreateFastFastPen(d.engine);
  POINT pts[3] = {{0, 0}, {10, 0}, {10, 10}};
  style.PolylineFastFast(pts, 3, d.engine);
  style.PolylineFastFast(pts, 1, d.engine);
  style.DeleteFastFastPen(d.engine);
  EXPECT_EQ(d.Calls(), (Lines{kHost, "SelectPen style=0x10200 width=3 color=0x0000FF brush=SOLID",
                              "Polyline 3 0 0 10 0 10 10"}));

  d.dc.Clear();
  CKpLineStyleObj empty;
  empty.CreateFastFastPen(d.engine);  // no first sub-line: nothing selected
  empty.PolylineFastFast(pts, 3, d.engine);
  EXPECT_EQ(d.Calls(), (Lines{"Polyline 3 0 0 10 0 10 10"}));
}

}  // namespace
