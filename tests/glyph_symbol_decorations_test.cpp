#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "companions/CKpSymLib.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

// An engine on a recording DC with a {10 drawn, 5 gap} sub-line current.
struct Deco {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  CKpLineStyleBase sub;
  explicit Deco(double ratio = 1.0) {
    sub.Add(10, 5);
    sub.m_nHVLength = 10;
    sub.m_clrCurrent = RGB(0, 0, 255);
    std::strcpy(sub.m_szFont, "DejaVu Sans");
    sub.m_nSymbol = 'A';
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetRatio(ratio);
    engine.SetLineStyleBase(&sub);
    engine.Flush();
    dc.Clear();
  }
  // Walks one segment and draws its decoration as the driver does.
  Lines Draw(short kind, POINT from, POINT to) {
    engine.LineDisjunctionEx(from, to);
    POINT v{0, 0};
    engine.LineOffset(&from, &to, sub.m_nHVLength, &v);
    engine.DrawLine(kind, &v);
    return dc.GetCalls();
  }
};

constexpr POINT kOrigin{0, 0};
constexpr POINT kEast{37, 0};   // dash ends at (10,0) and (25,0)
constexpr POINT kSouth{0, 37};  // dash ends at (0,10) and (0,25)

std::string FontLine(int height, int escapement) {
  return "SelectFont height=" + std::to_string(height) + " escapement=" + std::to_string(escapement) +
         " weight=400 charset=1 face=\"DejaVu Sans\"";
}
// A fresh DC's font, selected again when a glyph routine finishes.
const char* kDefaultFont = "SelectFont height=-12 escapement=0 weight=400 charset=0 face=\"\"";

Lines GlyphCalls(int height, int escapement, Lines texts) {
  Lines out = {"SetTextColor 0xFF0000", "SetTextAlign 30", "SetBkMode 1", FontLine(height, escapement)};
  out.insert(out.end(), texts.begin(), texts.end());
  out.push_back(kDefaultFont);
  return out;
}

const Lines kEastA = {"TextOut 10 0 \"A\"", "TextOut 25 0 \"A\""};
const Lines kSouthA = {"TextOut 0 10 \"A\"", "TextOut 0 25 \"A\""};

TEST(GlyphDecorations, EscapementByKindAndDirection) {
  struct Row {
    const char* what;
    short kind;
    long angle;  // the sub-line's m_nAngle
    POINT to;
    int escapement;
  };
  const Row rows[] = {
      // v = (0,10): the segment's own angle is 0, the kind adds 900.
      {"28 east", 28, 0, kEast, 900},
      // v = (-10,0): the segment's angle is -900.
      {"28 south", 28, 0, kSouth, 0},
      {"29 east", 29, 0, kEast, 2700},
      {"29 south", 29, 0, kSouth, 1800},
      {"30 east ignores m_nAngle", 30, 450, kEast, 0},
      {"30 south ignores m_nAngle", 30, 450, kSouth, -900},
      {"31 east", 31, 0, kEast, 1800},
      {"32 east: the fixed angle only", 32, 450, kEast, 450},
      {"32 south: the fixed angle only", 32, 450, kSouth, 450},
      {"33 east: relative angle", 33, 450, kEast, 450},
      {"33 south: relative angle", 33, 450, kSouth, -450},
      // A high half in the angle word mirrors x: t = +900 instead of -900.
      {"33 south mirrored", 33, 0x10000 + 100, kSouth, 1000},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d;
    d.sub.m_nAngle = r.angle;
    const bool east = r.to.x != 0;
    EXPECT_EQ(d.Draw(r.kind, kOrigin, r.to), GlyphCalls(10, r.escapement, east ? kEastA : kSouthA));
  }
}

TEST(GlyphDecorations, CharacterAndHeight) {
  struct Row {
    const char* what;
    short symbol;
    double ratio;
    short height;
    int fontHeight;
    Lines texts;
  };
  const Row rows[] = {
      {"only the low byte counts", 0x1141, 1.0, 10, 10, kEastA},
      // The walk scales too: {20, 10} leaves one dash end on the segment.
      {"height scaled by the ratio", 'A', 2.0, 12, 24, {"TextOut 20 0 \"A\""}},
      {"height rounds half away from zero", 'A', 1.5, 5, 8, {"TextOut 15 0 \"A\""}},
      // Codes above 0x7F are Latin-1 characters in UTF-8.
      {"code 0xE9", static_cast<short>(0xE9), 1.0, 10, 10,
       {"TextOut 10 0 \"\xC3\xA9\"", "TextOut 25 0 \"\xC3\xA9\""}},
      {"code 0xFF in a negative word", static_cast<short>(-1), 1.0, 10, 10,
       {"TextOut 10 0 \"\xC3\xBF\"", "TextOut 25 0 \"\xC3\xBF\""}},
      {"code 0 draws an empty text", 0x2200, 1.0, 10, 10, {"TextOut 10 0 \"\"", "TextOut 25 0 \"\""}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d(r.ratio);
    d.sub.m_nSymbol = r.symbol;
    d.sub.m_nHVLength = r.height;
    EXPECT_EQ(d.Draw(28, kOrigin, kEast), GlyphCalls(r.fontHeight, 900, r.texts));
  }
}

TEST(GlyphDecorations, UnterminatedFaceNameIsCut) {
  Deco d;
  std::memset(d.sub.m_szFont, 'F', sizeof d.sub.m_szFont);  // 32 bytes, no terminator
  const Lines calls = d.Draw(28, kOrigin, kEast);
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[3], "SelectFont height=10 escapement=900 weight=400 charset=1 face=\"" +
                          std::string(31, 'F') + "\"");
}

TEST(GlyphDecorations, FirstSegmentFlag) {
  struct Row {
    const char* what;
    int flag;
    Lines texts;
    int after;
  };
  // A hand-made buffer: point 0 is itself a dash end.
  const Row rows[] = {
      {"clear: point 0 takes part", 0, {"TextOut 0 0 \"A\"", "TextOut 20 0 \"A\""}, 0},
      {"set: point 0 skipped, flag consumed", 1, {"TextOut 20 0 \"A\""}, 0},
      {"666 counts as set here", 666, {"TextOut 20 0 \"A\""}, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Deco d;
    const POINT pts[5] = {{0, 0}, {5, 0}, {10, 0}, {20, 0}, {25, 0}};
    const BYTE types[5] = {PT_LINETO, PT_MOVETO, PT_LINETO, PT_LINETO, PT_MOVETO};
    for (int i = 0; i < 5; ++i) {
      d.engine.m_pPoints[i] = pts[i];
      d.engine.m_pTypes[i] = types[i];
    }
    d.engine.m_nLastIndex = 4;
    d.engine.m_nFirstSegment = r.flag;
    d.engine.DrawSegmentsVTrueTypeHorizon(0, 10);
    EXPECT_EQ(d.dc.GetCalls(), GlyphCalls(10, 900, r.texts));
    EXPECT_EQ(d.engine.m_nFirstSegment, r.after);
  }
}

TEST(GlyphDecorations, DashEndCarriedAcrossAVertexIsDrawnOnce) {
  Deco d;
  // (0,0)-(12,0)-(30,0): the dash ending at 10 is carried into the second
  // segment's buffer as its point 0, where it must not get a second glyph.
  d.Draw(28, kOrigin, POINT{12, 0});
  d.Draw(28, POINT{12, 0}, POINT{30, 0});
  Lines texts;
  for (const auto& c : d.dc.GetCalls())
    if (c.rfind("TextOut", 0) == 0) texts.push_back(c);
  EXPECT_EQ(texts, (Lines{"TextOut 10 0 \"A\"", "TextOut 25 0 \"A\""}));
}

TEST(GlyphDecorations, NothingWithoutSubLineOrDevice) {
  Deco d;
  d.engine.LineDisjunctionEx(kOrigin, kEast);
  d.engine.m_pLineStyleBase = nullptr;
  d.engine.DrawSegmentsVTrueType(0, 10, 900);
  d.engine.DrawSegmentsVTrueTypeFixed(0, 10);
  d.engine.DrawSegmentsVTrueTypeFreeAngle(0, 10);
  EXPECT_TRUE(d.dc.GetCalls().empty());
  EXPECT_EQ(d.engine.m_nFirstSegment, 1);
  d.engine.m_pLineStyleBase = &d.sub;
  d.engine.m_pDC = nullptr;
  d.engine.DrawSegmentsVTrueType(0, 10, 900);
  EXPECT_TRUE(d.dc.GetCalls().empty());
}

// --- symbols ---

// A symbol library holding symbol 12: a stroke from the anchor along design
// +x, one design box (128 units) long, so that it shows where the library
// put the symbol (position), how far it reaches (size * scale) and which way
// it points (angle).
struct SymbolDeco : Deco {
  CKpSymLib lib;
  explicit SymbolDeco(double ratio = 1.0) : Deco(ratio) {
    auto* s = new CKpSymbol;
    s->m_nID = 12;
    CKpSymbol::Element e;
    e.kind = CKpSymbol::kPolyline;
    e.points = {{0, 0}, {128, 0}};
    EXPECT_TRUE(s->AddElement(e));
    EXPECT_TRUE(lib.AddSymbol(s));
    engine.m_pSymLib = &lib;
    sub.m_nSymbol = 12;
  }
};

// The stroke lines of a trace (pen selections dropped).
Lines Strokes(const Lines& calls) {
  Lines out;
  for (const auto& c : calls)
    if (c.rfind("Polyline", 0) == 0 || c.rfind("AAPolyline", 0) == 0) out.push_back(c);
  return out;
}

TEST(SymbolDecorations, SegmentSymbols) {
  struct Row {
    const char* what;
    short kind;
    long angle;  // m_nAngle
    short height;
    double ratio;
    POINT to;
    Lines strokes;
  };
  const Row rows[] = {
      // Angle 0 on an eastward segment: the symbols point east, size 10.
      {"47 east", 47, 0, 10, 1.0, kEast, {"Polyline 2 10 0 20 0", "Polyline 2 25 0 35 0"}},
      // Southward: the library is handed 900 and points the symbols down.
      {"47 south", 47, 0, 10, 1.0, kSouth, {"Polyline 2 0 10 0 20", "Polyline 2 0 25 0 35"}},
      {"47 adds m_nAngle", 47, 450, 10, 1.0, kEast, {"Polyline 2 10 0 17 7", "Polyline 2 25 0 32 7"}},
      {"48 south: the fixed angle only", 48, 450, 10, 1.0, kSouth, {"Polyline 2 0 10 7 17", "Polyline 2 0 25 7 32"}},
      {"48 east, angle 0", 48, 0, 10, 1.0, kEast, {"Polyline 2 10 0 20 0", "Polyline 2 25 0 35 0"}},
      // The ratio is the library's scale: size 10 reaches 20 units.
      {"scaled", 47, 0, 10, 2.0, kEast, {"Polyline 2 20 0 40 0"}},
      // A negative height: v flips (angle 1800) and so does the size; the two cancel.
      {"negative height", 47, 0, -10, 1.0, kEast, {"Polyline 2 10 0 20 0", "Polyline 2 25 0 35 0"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    SymbolDeco d(r.ratio);
    d.sub.m_nAngle = r.angle;
    d.sub.m_nHVLength = r.height;
    EXPECT_EQ(Strokes(d.Draw(r.kind, kOrigin, r.to)), r.strokes);
    EXPECT_EQ(d.engine.m_nFirstSegment, 0);
  }
}

TEST(SymbolDecorations, ColourAndAntiAliasing) {
  SymbolDeco d;
  d.Draw(47, kOrigin, POINT{12, 0});
  // Drawn in the sub-line's colour; the DC gets its pen back.
  EXPECT_EQ(d.dc.GetCalls(), (Lines{"SelectPen style=0x00000 width=0 color=0xFF0000", "Polyline 2 10 0 20 0",
                                    "SelectPen style=0x00000 width=0 color=0x000000"}));
  SymbolDeco aa;
  aa.engine.SetClearSawtooth(1);
  EXPECT_EQ(Strokes(aa.Draw(47, kOrigin, POINT{12, 0})),
            (Lines{"AAPolyline 2 10 0 20 0 width=0 color=0xFF0000 cap=2 join=2"}));
}

TEST(SymbolDecorations, NothingDrawnLeavesTheFlag) {
  struct Row {
    const char* what;
    short kind;
    short symbol;
    short height;
    bool library;
  };
  const Row rows[] = {
      {"47 without a library", 47, 12, 10, false},
      {"48 without a library", 48, 12, 10, false},
      {"47 with an unknown symbol", 47, 13, 10, true},
      {"47 with a negative symbol word", 47, -1, 10, true},
      {"48 with height 0", 48, 12, 0, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    SymbolDeco d;
    if (!r.library) d.engine.m_pSymLib = nullptr;
    d.sub.m_nSymbol = r.symbol;
    d.sub.m_nHVLength = r.height;
    d.engine.LineDisjunctionEx(kOrigin, kEast);
    if (r.kind == 47)
      d.engine.DrawSegmentsSymbol(0, 10);
    else
      d.engine.DrawSegmentsSymbolFixed(0, 10);
    EXPECT_TRUE(d.dc.GetCalls().empty());
    EXPECT_EQ(d.engine.m_nFirstSegment, 1);
  }
  SymbolDeco d;  // a zero vector draws nothing either
  d.engine.LineDisjunctionEx(kOrigin, kEast);
  d.engine.DrawSegmentsSymbol(0, 0);
  d.engine.DrawSegmentsSymbolFixed(0, 0);
  EXPECT_TRUE(d.dc.GetCalls().empty());
}

// A style whose extended attribute at `position` is symbol `id` of size 10.
struct ExtSymbol : SymbolDeco {
  CKpLineStyleObj style;
  ExtSymbol(long position, int id, int angle = 0) {
    style.GetObjExt().SetObjExt(position, new tagLineStyleObjExt{10, 4, static_cast<std::int16_t>(angle), id});
  }
  Lines Draw(long position, std::vector<POINT> pts) {
    engine.ActDrawSymbol(position, &style, pts.data(), static_cast<long>(pts.size()));
    return Strokes(dc.GetCalls());
  }
};

TEST(SymbolDecorations, ExtendedAttributePositions) {
  struct Row {
    const char* what;
    long position;
    std::vector<POINT> pts;
    Lines strokes;
  };
  // Repeated points at both ends and a turn: (0,0) (0,0) (20,0) (20,20) (20,20).
  const std::vector<POINT> line = {{0, 0}, {0, 0}, {20, 0}, {20, 20}, {20, 20}};
  const Row rows[] = {
      // Turned outward: from the first distinct point back to the start (1800).
      {"start", 0, line, {"Polyline 2 0 0 -10 0"}},
      // From the last distinct point before the end (900).
      {"end", 1, line, {"Polyline 2 20 20 20 30"}},
      {"middle vertices skip repeated points", 2, line, {"Polyline 2 20 0 30 0", "Polyline 2 20 20 20 30"}},
      {"segment centres skip zero-length segments", 3, line, {"Polyline 2 10 0 20 0", "Polyline 2 20 10 20 20"}},
      {"polyline centre", 4, line, {"Polyline 2 20 0 30 0"}},
      // (2.5, 1.5) rounds away from zero to (3,2); turned by atan2(2, 3) = 337.
      {"odd segment centre", 3, {{0, 0}, {5, 3}}, {"Polyline 2 3 2 11 8"}},
      {"negative odd centre", 3, {{0, 0}, {-5, -3}}, {"Polyline 2 -3 -2 -11 -8"}},
      // All points equal: nowhere to turn, nothing drawn.
      {"start, all points equal", 0, {{4, 4}, {4, 4}}, {}},
      {"end, all points equal", 1, {{4, 4}, {4, 4}}, {}},
      {"centre of one point", 4, {{4, 4}}, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    ExtSymbol d(r.position, 12);
    EXPECT_EQ(d.Draw(r.position, r.pts), r.strokes);
  }
}

TEST(SymbolDecorations, ExtendedAttributeAngleColourAndRejects) {
  {
    // The record's angle adds to the direction; the DC's pen gives the colour.
    ExtSymbol d(1, 12, 900);
    CPen red;
    red.CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    d.dc.SelectObject(&red);
    d.dc.Clear();
    POINT pts[2] = {{0, 0}, {10, 0}};
    d.engine.ActDrawSymbol(1, &d.style, pts, 2);
    EXPECT_EQ(d.dc.GetCalls(), (Lines{"SelectPen style=0x00000 width=0 color=0x0000FF", "Polyline 2 10 0 10 10",
                                      "SelectPen style=0x00000 width=1 color=0x0000FF"}));
  }
  {
    // Through the extended-attribute pass as the front end calls it.
    ExtSymbol d(3, 12);
    POINT pts[2] = {{0, 0}, {5, 3}};
    d.engine.ActDrawExtAtt(3, &d.style, pts, 2);
    EXPECT_EQ(Strokes(d.dc.GetCalls()), (Lines{"Polyline 2 3 2 11 8"}));
  }
  ExtSymbol d(0, 12);
  POINT pts[2] = {{0, 0}, {10, 0}};
  d.engine.ActDrawSymbol(1, &d.style, pts, 2);  // no record at the end
  d.engine.ActDrawSymbol(0, nullptr, pts, 2);
  d.engine.ActDrawSymbol(0, &d.style, nullptr, 2);
  d.engine.ActDrawSymbol(0, &d.style, pts, 0);
  d.engine.DrawSymbol(pts[1], pts[0], 9, 10, 0);   // below the first symbol ID
  d.engine.DrawSymbol(pts[0], pts[0], 12, 10, 0);  // no direction
  d.engine.DrawSymbol(pts[1], pts[0], 13, 10, 0);  // not in the library
  d.engine.m_pSymLib = nullptr;
  d.engine.ActDrawSymbol(0, &d.style, pts, 2);
  d.engine.DrawSymbol(pts[1], pts[0], 12, 10, 0);
  EXPECT_TRUE(d.dc.GetCalls().empty());

  ExtSymbol node(0, 8);  // a node shape is not a symbol
  node.engine.ActDrawSymbol(0, &node.style, pts, 2);
  EXPECT_TRUE(node.dc.GetCalls().empty());
}

}  // namespace
