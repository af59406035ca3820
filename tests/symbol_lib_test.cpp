// The symbol library: ID order and lookups, ownership, copies, the byte
// format (round trip and malformed input), and how a symbol lands on a DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>

#include "companions/CKpSymLib.h"
#include "companions/KpResourceSymbols.h"
#include "platform/CRecordingDC.h"

namespace {

using Element = CKpSymbol::Element;

Element MakeElement(long kind, std::vector<POINT> pts, long width = 0, long flags = 0) {
  Element e;
  e.kind = kind;
  e.width = width;
  e.flags = flags;
  e.points = std::move(pts);
  return e;
}

std::unique_ptr<CKpSymbol> MakeSymbol(long id, const char* name = "s") {
  auto s = std::make_unique<CKpSymbol>();
  s->m_nID = id;
  s->m_strName = name;
  s->AddElement(MakeElement(CKpSymbol::kPolyline, {{0, 0}, {64, 0}}));
  return s;
}

void AddAll(CKpSymLib& lib, std::initializer_list<long> ids) {
  for (long id : ids) {
    auto s = MakeSymbol(id);
    ASSERT_TRUE(lib.AddSymbol(s.get()));
    s.release();
  }
}

std::vector<long> Ids(const CKpSymLib& lib) {
  std::vector<long> ids;
  for (long i = 0; i < lib.GetSymbolCount(); ++i) ids.push_back(lib.GetSymbolID(i));
  return ids;
}

std::vector<unsigned char> Bytes(const CKpByteArrayEx& s) {
  return std::vector<unsigned char>(s.GetData(), s.GetData() + s.GetSize());
}

CKpSymbolParameter Param(CPoint at, long size, int angle, COLORREF colour = 0, double scale = 1.0,
                         int flag = 0) {
  return CKpSymbolParameter(at, static_cast<unsigned long>(size), angle, colour, 0, nullptr, scale, flag);
}

// The drawing lines of a trace (selections and restores left out).
std::vector<std::string> Figures(const CRecordingDC& dc) {
  std::vector<std::string> out;
  for (const std::string& line : dc.GetCalls())
    if (line.rfind("Select", 0) != 0) out.push_back(line);
  return out;
}

// ---------------------------------------------------------------- library

TEST(SymLib, KeepsAscendingIdsWhateverTheInsertionOrder) {
  CKpSymLib lib;
  AddAll(lib, {30, 10, 20, 11});
  EXPECT_EQ(Ids(lib), (std::vector<long>{10, 11, 20, 30}));
  for (long i = 0; i < lib.GetSymbolCount(); ++i) {
    EXPECT_EQ(lib.FindID(lib.GetSymbolID(i)), i);
    EXPECT_EQ(lib.GetSymbol(static_cast<unsigned long>(lib.GetSymbolID(i)))->m_nID, lib.GetSymbolID(i));
  }
  EXPECT_EQ(lib.GetSymbolID(-1), -1);
  EXPECT_EQ(lib.GetSymbolID(4), -1);
  EXPECT_EQ(lib.FindID(12), -1);
  EXPECT_EQ(lib.GetSymbol(12), nullptr);
  EXPECT_EQ(lib.GetSymbolEx(20), lib.GetSymbol(20));
  EXPECT_EQ(lib.GetSymbol(static_cast<unsigned long>(-1L)), nullptr);  // a sign-extended -1
}

TEST(SymLib, RefusesWhatItCannotKeepAndLeavesItWithTheCaller) {
  CKpSymLib lib;
  AddAll(lib, {10});
  struct Row {
    const char* what;
    long id;
  };
  const Row rows[] = {
      {"ID already held", 10},
      {"negative ID (-1 means 'none' to GetSymbolID)", -1},
      {"ID beyond 31 bits", 0x80000000L},
  };
  for (const Row& r : rows) {
    auto s = MakeSymbol(r.id);
    EXPECT_EQ(lib.AddSymbol(s.get()), 0) << r.what;  // unique_ptr still owns it: no leak, no double free
  }
  EXPECT_EQ(lib.AddSymbol(nullptr), 0);
  EXPECT_EQ(lib.GetSymbolCount(), 1);
}

TEST(SymLib, RemovesByIdAndEmpties) {
  CKpSymLib lib;
  AddAll(lib, {10, 11, 12});
  EXPECT_EQ(lib.RemoveSymbol(11), 1);
  EXPECT_EQ(lib.RemoveSymbol(11), 0);
  EXPECT_EQ(Ids(lib), (std::vector<long>{10, 12}));
  lib.NewSymLib();
  EXPECT_EQ(lib.GetSymbolCount(), 0);
  EXPECT_EQ(lib.RemoveSymbol(10), 0);
}

TEST(SymLib, CopiesAreDeepAndIndependent) {
  CKpSymLib lib;
  AddAll(lib, {10, 11});
  CKpSymLib copy(lib);
  CKpSymLib assigned;
  AddAll(assigned, {99});
  assigned = lib;
  for (CKpSymLib* other : {&copy, &assigned}) {
    ASSERT_EQ(Ids(*other), Ids(lib));
    EXPECT_NE(other->GetSymbol(10), lib.GetSymbol(10));
    EXPECT_EQ(*other->GetSymbol(10), *lib.GetSymbol(10));
    other->GetSymbol(10)->m_strName = "changed";
    other->GetSymbol(10)->RemoveAllElements();
    other->RemoveSymbol(11);
  }
  EXPECT_EQ(lib.GetSymbol(10)->m_strName, "s");
  EXPECT_EQ(lib.GetSymbol(10)->GetElements().size(), 1u);
  EXPECT_EQ(lib.GetSymbolCount(), 2);
  assigned = assigned;  // self-assignment keeps the content
  EXPECT_EQ(assigned.GetSymbolCount(), 1);
}

TEST(SymLib, StoreLoadStoreGivesTheSameBytes) {
  CKpSymLib lib;
  kp::LoadResourceSymbols(lib);
  lib.GetSymbol(10)->m_strName = "Kreis \xE2\x97\x8B";  // UTF-8 names pass through unchanged
  CKpByteArrayEx first;
  ASSERT_EQ(lib.StoreEx(first), 1);

  // Read from an offset, as a container holding other records before it would.
  CKpByteArrayEx shifted;
  shifted.Add(0x12345678L);
  shifted.Add(first.GetData(), static_cast<int>(first.GetSize()));
  CKpSymLib loaded;
  ASSERT_EQ(loaded.LoadEx(shifted, 4), 1);
  ASSERT_EQ(loaded.GetSymbolCount(), lib.GetSymbolCount());
  for (long i = 0; i < lib.GetSymbolCount(); ++i) {
    const auto id = static_cast<unsigned long>(lib.GetSymbolID(i));
    EXPECT_EQ(*loaded.GetSymbol(id), *lib.GetSymbol(id)) << id;
  }
  CKpByteArrayEx second;
  ASSERT_EQ(loaded.StoreEx(second), 1);
  EXPECT_EQ(Bytes(second), Bytes(first));

  CKpSymLib empty;
  CKpByteArrayEx none;
  ASSERT_EQ(empty.StoreEx(none), 1);
  EXPECT_EQ(none.GetSize(), 12);  // magic, version, count 0
  EXPECT_EQ(loaded.LoadEx(none, 0), 1);
  EXPECT_EQ(loaded.GetSymbolCount(), 0);
}

TEST(SymLib, StoreRestoresOrderAfterInPlaceRenumberingAndRefusesDuplicates) {
  CKpSymLib lib;
  AddAll(lib, {10, 11, 12});
  lib.GetSymbol(10)->m_nID = 50;  // the line-style library renumbers through the public member
  CKpByteArrayEx out;
  ASSERT_EQ(lib.StoreEx(out), 1);
  EXPECT_EQ(Ids(lib), (std::vector<long>{11, 12, 50}));

  lib.GetSymbol(11)->m_nID = 12;
  CKpByteArrayEx refused;
  EXPECT_EQ(lib.StoreEx(refused), 0);
  EXPECT_EQ(refused.GetSize(), 0);  // nothing half written
}

TEST(SymLib, EveryTruncationFailsCleanly) {
  CKpSymLib source;
  AddAll(source, {10, 11});
  source.GetSymbol(11)->AddElement(MakeElement(CKpSymbol::kArc, {{0, 0}, {9, 9}, {0, 900}}, 4));
  CKpByteArrayEx full;
  ASSERT_EQ(source.StoreEx(full), 1);
  for (long n = 0; n < full.GetSize(); ++n) {
    CKpByteArrayEx cut;
    cut.Add(full.GetData(), static_cast<int>(n));
    CKpSymLib lib;
    AddAll(lib, {77});  // must be gone afterwards
    EXPECT_EQ(lib.LoadEx(cut, 0), 0) << "cut at " << n;
    EXPECT_EQ(lib.GetSymbolCount(), 0) << "cut at " << n;
  }
}

// Stream words for hand-made inputs.
struct Words {
  CKpByteArrayEx s;
  Words& operator<<(long v) {
    s.Add(v);
    return *this;
  }
  Words& Name(const char* text) {
    s.Add(CString(text));
    return *this;
  }
};

constexpr long kMagic = 0x4D59534B;
constexpr long kLine = CKpSymbol::kPolyline;

TEST(SymLib, RejectsMalformedInput) {
  struct Row {
    const char* what;
    Words in;
  };
  Row rows[] = {
      // Control: a well-formed one-symbol library (must load).
      {"control", Words() << kMagic << 1 << 1 << 10},
      {"wrong magic", Words() << 0x12345678 << 1 << 0},
      {"unknown version", Words() << kMagic << 2 << 0},
      {"negative symbol count", Words() << kMagic << 1 << -1},
      {"huge symbol count on a short stream", Words() << kMagic << 1 << 0x7FFFFFFF << 10},
      {"huge name length", Words() << kMagic << 1 << 1 << 10 << 0x7FFFFFFF},
      {"huge element count", Words() << kMagic << 1 << 1 << 10},
      {"huge point count", Words() << kMagic << 1 << 1 << 10},
      {"unknown element kind", Words() << kMagic << 1 << 1 << 10},
      {"unknown element flag", Words() << kMagic << 1 << 1 << 10},
      {"polyline of one point", Words() << kMagic << 1 << 1 << 10},
      {"ellipse with a zero radius", Words() << kMagic << 1 << 1 << 10},
      {"descending IDs", Words() << kMagic << 1 << 2 << 11},
      {"duplicate IDs", Words() << kMagic << 1 << 2 << 10},
      {"negative ID", Words() << kMagic << 1 << 1 << -5},
  };
  // The rest of each row, after the prefixes above.
  rows[0].in.Name("ok") << 1 << kLine << 0 << 0 << 2 << 0 << 0 << 64 << 0;
  rows[4].in.Name("x") << 0;
  rows[6].in.Name("x") << 0x7FFFFFFF << kLine;
  rows[7].in.Name("x") << 1 << kLine << 0 << 0 << 0x7FFFFFFF << 0 << 0;
  rows[8].in.Name("x") << 1 << 7 << 0 << 0 << 2 << 0 << 0 << 64 << 0;
  rows[9].in.Name("x") << 1 << kLine << 2 << 0 << 2 << 0 << 0 << 64 << 0;
  rows[10].in.Name("x") << 1 << kLine << 0 << 0 << 1 << 0 << 0;
  rows[11].in.Name("x") << 1 << CKpSymbol::kEllipse << 0 << 0 << 2 << 0 << 0 << 0 << 8;
  rows[12].in.Name("a") << 0 << 10;
  rows[12].in.Name("b") << 0;
  rows[13].in.Name("a") << 0 << 10;
  rows[13].in.Name("b") << 0;
  rows[14].in.Name("x") << 0;
  for (Row& r : rows) {
    CKpSymLib lib;
    AddAll(lib, {77});
    const bool control = std::string(r.what) == "control";
    EXPECT_EQ(lib.LoadEx(r.in.s, 0), control ? 1 : 0) << r.what;
    EXPECT_EQ(lib.GetSymbolCount(), control ? 1 : 0) << r.what;
  }
  CKpSymLib lib;
  Words ok = Words() << kMagic << 1 << 0;
  EXPECT_EQ(lib.LoadEx(ok.s, -4), 0);  // a position outside the stream
  EXPECT_EQ(lib.LoadEx(ok.s, 100), 0);
}

// ---------------------------------------------------------------- symbol

TEST(Symbol, ChecksElementsBeforeTakingThem) {
  struct Row {
    const char* what;
    Element e;
    bool ok;
  };
  const Row rows[] = {
      {"polyline of two points", MakeElement(CKpSymbol::kPolyline, {{0, 0}, {1, 1}}), true},
      {"polygon of two points", MakeElement(CKpSymbol::kPolygon, {{0, 0}, {1, 1}}), false},
      {"ellipse without a y radius", MakeElement(CKpSymbol::kFilledEllipse, {{0, 0}, {5, 0}}), false},
      {"arc of a full turn", MakeElement(CKpSymbol::kArc, {{0, 0}, {5, 5}, {0, 3600}}), true},
      {"arc of no sweep", MakeElement(CKpSymbol::kArc, {{0, 0}, {5, 5}, {900, 0}}), false},
      {"unknown kind", MakeElement(0, {{0, 0}, {1, 1}}), false},
      {"unknown flag", MakeElement(CKpSymbol::kPolyline, {{0, 0}, {1, 1}}, 0, 4), false},
  };
  for (const Row& r : rows) {
    CKpSymbol s;
    EXPECT_EQ(s.AddElement(r.e), r.ok) << r.what;
    EXPECT_EQ(s.GetElements().size(), r.ok ? 1u : 0u) << r.what;
  }
}

// The placement of design points: an L of (0,0) -> (64,0) -> (64,32), i.e.
// along +x then up, anchored at (100, 200).
TEST(Symbol, PlacesDesignPointsBySizeScaleAngleAndMapping) {
  CKpSymbol s;
  s.AddElement(MakeElement(CKpSymbol::kPolyline, {{0, 0}, {64, 0}, {64, 32}}));
  struct Row {
    const char* what;
    long size;
    double scale;
    int angle;
    int mapMode;
    const char* expected;
  };
  const Row rows[] = {
      // 128 units span 128 logical units; design up is up on the device (-y).
      {"angle 0", 128, 1.0, 0, MM_TEXT, "Polyline 3 100 200 164 200 164 168"},
      // +x goes down the device (+y), as the engine's atan2(dy, dx) of a downward segment is 900;
      // design up then faces +x, the left of the direction of travel as seen on the device.
      {"angle 900", 128, 1.0, 900, MM_TEXT, "Polyline 3 100 200 100 264 132 264"},
      {"angle 450", 128, 1.0, 450, MM_TEXT, "Polyline 3 100 200 145 245 168 223"},
      {"angle -900 (up)", 128, 1.0, -900, MM_TEXT, "Polyline 3 100 200 100 136 68 136"},
      {"half size", 64, 1.0, 0, MM_TEXT, "Polyline 3 100 200 132 200 132 184"},
      {"half size, double scale", 64, 2.0, 0, MM_TEXT, "Polyline 3 100 200 164 200 164 168"},
      // A negative size reflects through the anchor: the same as a half turn.
      {"negative size", -128, 1.0, 0, MM_TEXT, "Polyline 3 100 200 36 200 36 232"},
      {"half turn", 128, 1.0, 1800, MM_TEXT, "Polyline 3 100 200 36 200 36 232"},
      // The engine adds a 16-bit offset to angles: a whole extra turn changes nothing.
      {"angle 900 + a turn", 128, 1.0, 4500, MM_TEXT, "Polyline 3 100 200 100 264 132 264"},
      // Logical y up: design up is logical +y, so the picture is still not mirrored.
      {"y-up mapping", 128, 1.0, 0, MM_LOMETRIC, "Polyline 3 100 200 164 200 164 232"},
  };
  for (const Row& r : rows) {
    CRecordingDC dc;
    dc.SetMapMode(r.mapMode);
    dc.Clear();
    CKpSymbolParameter p = Param(CPoint(100, 200), r.size, r.angle, 0, r.scale);
    s.Draw(&dc, p, 0, 0, 0);
    EXPECT_EQ(Figures(dc), std::vector<std::string>{r.expected}) << r.what;
  }
}

TEST(Symbol, DrawsNothingForUnusableParameters) {
  CKpSymbol s;
  s.AddElement(MakeElement(CKpSymbol::kPolyline, {{0, 0}, {64, 0}}));
  struct Row {
    const char* what;
    long size;
    double scale;
  };
  const Row rows[] = {
      {"size 0", 0, 1.0},
      {"scale 0", 128, 0.0},
      {"scale NaN", 128, std::numeric_limits<double>::quiet_NaN()},
  };
  for (const Row& r : rows) {
    CRecordingDC dc;
    CKpSymbolParameter p = Param(CPoint(0, 0), r.size, 0, 0, r.scale);
    s.Draw(&dc, p, 0, 0, 0);
    EXPECT_TRUE(dc.GetCalls().empty()) << r.what;
  }
  CKpSymbolParameter p = Param(CPoint(0, 0), 128, 0);
  s.Draw(nullptr, p, 0, 0, 0);  // no DC: nothing, no crash
  CKpSymbol empty;
  CRecordingDC dc;
  empty.Draw(&dc, p, 0, 0, 0);
  EXPECT_TRUE(dc.GetCalls().empty());
}

// A symbol of every kind at size 128 and scale 2 (2 logical units per design unit).
CKpSymbol EveryKind() {
  CKpSymbol s;
  s.AddElement(MakeElement(CKpSymbol::kPolyline, {{0, 0}, {10, 0}}, 4));
  s.AddElement(MakeElement(CKpSymbol::kFilledPolygon, {{0, 0}, {10, 0}, {0, 10}}, 0, CKpSymbol::kFlagSharpCorners));
  s.AddElement(MakeElement(CKpSymbol::kPolygon, {{0, 0}, {10, 0}, {0, 10}}, 3, CKpSymbol::kFlagSharpCorners));
  s.AddElement(MakeElement(CKpSymbol::kEllipse, {{16, 0}, {8, 8}}, 4));
  s.AddElement(MakeElement(CKpSymbol::kFilledEllipse, {{0, 0}, {8, 8}}));
  s.AddElement(MakeElement(CKpSymbol::kArc, {{0, 0}, {32, 32}, {0, 900}}, 4));
  return s;
}

TEST(Symbol, PaintsInTheParameterColourAndGivesTheDcItsObjectsBack) {
  CKpSymbol s = EveryKind();
  CRecordingDC dc;
  CPen hostPen;
  hostPen.CreatePen(PS_DASH, 3, RGB(1, 2, 3));
  CBrush hostBrush(RGB(4, 5, 6));
  dc.SelectObject(&hostPen);
  dc.SelectObject(&hostBrush);
  dc.Clear();
  CKpSymbolParameter p = Param(CPoint(0, 0), 128, 0, RGB(0x12, 0x34, 0x56), 2.0);
  s.Draw(&dc, p, 0, 0, 0);

  const std::vector<std::string> expected = {
      "SelectPen style=0x00000 width=8 color=0x563412",  // width 4 design units at 2 units each
      "Polyline 2 0 0 20 0",
      "SelectPen style=0x00000 width=0 color=0x563412",
      "SelectBrush SOLID color=0x563412",
      "Polygon 3 0 0 20 0 0 -20",
      "SelectPen style=0x12200 width=6 color=0x563412 brush=SOLID",  // sharp: flat ends, mitred joins
      "SelectBrush NULL color=0x000000",
      "Polygon 3 0 0 20 0 0 -20",
      "SelectPen style=0x00000 width=8 color=0x563412",
      "Ellipse 16 -16 48 16",
      "SelectPen style=0x00000 width=0 color=0x563412",
      "SelectBrush SOLID color=0x563412",
      "Ellipse -16 -16 16 16",
      "SelectPen style=0x00000 width=8 color=0x563412",
      // Counter-clockwise on the device from +x to up: design +x to design +y.
      "Arc -64 -64 64 64 64 0 0 -64",
      "SelectPen style=0x00001 width=3 color=0x030201",
      "SelectBrush SOLID color=0x060504",
  };
  EXPECT_EQ(dc.GetCalls(), expected);
  EXPECT_EQ(dc.GetCurrentPen(), &hostPen);
  EXPECT_EQ(dc.GetCurrentBrush(), &hostBrush);
}

TEST(Symbol, SaturatesCoordinatesOfAbsurdSizes) {
  CKpSymbol s = EveryKind();
  CRecordingDC dc;
  CKpSymbolParameter p = Param(CPoint(2000000000, -2000000000), 1L << 30, 0, 0, 1e6);
  s.Draw(&dc, p, 0, 0, 0);
  const std::vector<std::string> figures = Figures(dc);
  ASSERT_EQ(figures.size(), 6u);
  // The radius saturates at 2^31-1 around the anchor, and so does the box.
  EXPECT_EQ(figures[4], "Ellipse -147483647 -2147483648 2147483647 147483647");
}

TEST(Symbol, ClockwiseArcsAndWholeTurns) {
  struct Row {
    const char* what;
    POINT angles;  // start, sweep
    const char* expected;
  };
  const Row rows[] = {
      // Clockwise from design +y back to +x is the same quarter as counter-clockwise from +x.
      {"clockwise quarter", {900, -900}, "Arc -64 -64 64 64 64 0 0 -64"},
      {"counter-clockwise quarter", {0, 900}, "Arc -64 -64 64 64 64 0 0 -64"},
      {"whole turn", {450, 3600}, "Ellipse -64 -64 64 64"},
  };
  for (const Row& r : rows) {
    CKpSymbol s;
    ASSERT_TRUE(s.AddElement(MakeElement(CKpSymbol::kArc, {{0, 0}, {64, 64}, r.angles})));
    CRecordingDC dc;
    CKpSymbolParameter p = Param(CPoint(0, 0), 128, 0);
    s.Draw(&dc, p, 0, 0, 0);
    EXPECT_EQ(Figures(dc), std::vector<std::string>{r.expected}) << r.what;
  }
}

TEST(Symbol, AntiAliasesStrokesUnlessPrinting) {
  CKpSymbol s;
  s.AddElement(MakeElement(CKpSymbol::kPolyline, {{0, 0}, {64, 0}}, 8));
  s.AddElement(MakeElement(CKpSymbol::kFilledPolygon, {{0, 0}, {64, 0}, {0, 64}}, 0, CKpSymbol::kFlagSharpCorners));
  struct Row {
    const char* what;
    int flag;
    bool printingDc;
    int printingArg;
    std::vector<std::string> figures;
  };
  const Row rows[] = {
      {"flag set, screen", 1, false, 0,
       {"AAPolyline 2 0 0 64 0 width=8 color=0x0000FF cap=2 join=2",
        // The fill goes without a pen; an anti-aliased outline, run past its start so the
        // closing corner is mitred too, smooths its edge.
        "Polygon 3 0 0 64 0 0 -64",
        "AAPolyline 5 0 0 64 0 0 -64 0 0 64 0 width=0 color=0x0000FF cap=0 join=0"}},
      {"flag clear", 0, false, 0, {"Polyline 2 0 0 64 0", "Polygon 3 0 0 64 0 0 -64"}},
      {"printing DC", 1, true, 0, {"Polyline 2 0 0 64 0", "Polygon 3 0 0 64 0 0 -64"}},
      {"printing argument", 1, false, 1, {"Polyline 2 0 0 64 0", "Polygon 3 0 0 64 0 0 -64"}},
  };
  for (const Row& r : rows) {
    CRecordingDC dc(SIZE{1000, 1000}, r.printingDc);
    CKpSymbolParameter p = Param(CPoint(0, 0), 128, 0, RGB(255, 0, 0), 1.0, r.flag);
    s.Draw(&dc, p, r.printingArg, 0, 0);
    EXPECT_EQ(Figures(dc), r.figures) << r.what;
  }
}

TEST(Symbol, FitsIntoAPreviewRectangle) {
  CKpSymbol square;
  square.AddElement(MakeElement(CKpSymbol::kPolygon, {{-64, -64}, {64, -64}, {64, 64}, {-64, 64}}));
  CKpSymbol wide;  // reaches 128 units out: shrunk to half so it still fits
  wide.AddElement(MakeElement(CKpSymbol::kPolyline, {{-128, 0}, {128, 0}}));
  struct Row {
    const char* what;
    CKpSymbol* symbol;
    RECT rect;
    const char* expected;
  };
  const Row rows[] = {
      // The box spans the shorter side less a unit each way, centred.
      {"square cell", &square, {0, 0, 102, 102}, "Polygon 4 1 101 101 101 101 1 1 1"},
      {"wide cell", &square, {0, 0, 202, 102}, "Polygon 4 51 101 151 101 151 1 51 1"},
      {"reversed corners", &square, {102, 102, 0, 0}, "Polygon 4 1 101 101 101 101 1 1 1"},
      {"oversized symbol", &wide, {0, 0, 102, 102}, "Polyline 2 1 51 101 51"},
  };
  for (const Row& r : rows) {
    CRecordingDC dc;
    RECT rect = r.rect;
    r.symbol->Draw(&dc, rect, RGB(0, 0, 255));
    EXPECT_EQ(Figures(dc), std::vector<std::string>{r.expected}) << r.what;
  }
  CRecordingDC dc;
  RECT tiny{0, 0, 2, 2};
  square.Draw(&dc, tiny, 0);
  EXPECT_TRUE(dc.GetCalls().empty());
}

TEST(Symbol, ParameterGivesTheEngineItsSignedSizeBack) {
  // The engine hands signed heights over as unsigned long.
  CKpSymbolParameter p(CPoint(10, 10), static_cast<unsigned long>(-12L), 900, RGB(1, 2, 3), 42, nullptr, 1.5, 1);
  EXPECT_EQ(p.m_nSize, -12);
  EXPECT_EQ(p.m_nAngle, 900);
  EXPECT_EQ(p.m_dwSymbolID, 42u);
  EXPECT_EQ(p.m_clrColor, RGB(1, 2, 3));
}

// ---------------------------------------------------------------- built-in symbols

TEST(SymLib, ResourceSymbolsAreNumberedFromTenAndAllDraw) {
  CKpSymLib lib;
  AddAll(lib, {5});  // replaced, not added to
  kp::LoadResourceSymbols(lib);
  ASSERT_GE(lib.GetSymbolCount(), 24);
  std::set<std::string> names;
  for (long i = 0; i < lib.GetSymbolCount(); ++i) {
    EXPECT_EQ(lib.GetSymbolID(i), 10 + i);
    CKpSymbol* s = lib.GetSymbol(static_cast<unsigned long>(10 + i));
    EXPECT_TRUE(names.insert(s->m_strName).second) << "duplicate name " << s->m_strName;
    CRecordingDC dc;
    CKpSymbolParameter p = Param(CPoint(500, 500), 32, 300, RGB(0, 0, 0));
    s->Draw(&dc, p, 0, 0, 0);
    EXPECT_FALSE(Figures(dc).empty()) << s->m_strName;
  }
  EXPECT_EQ(kp::ResourceSymbols().GetSymbolCount(), lib.GetSymbolCount());
}

}  // namespace
