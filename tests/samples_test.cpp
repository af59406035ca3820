// Previews of styles, sub-lines and decorations, checked call by call on the
// recording DC. The style previews go through the module's engine, whose
// mapping mode each test puts back; the decoration routines are engine
// members and also run on a private engine.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleLib.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kPreviewPen = "SelectPen style=0x00000 width=1 color=0x000000";
const std::string kHostPen = "SelectPen style=0x00000 width=2 color=0xFF0000";
const std::string kGreenPen = "SelectPen style=0x00000 width=1 color=0x008000";
const std::string kBlackBrush = "SelectBrush SOLID color=0x000000";
const std::string kWhiteBrush = "SelectBrush SOLID color=0xFFFFFF";
const std::string kGreyFill = "FillRect 0 0 100 20 SOLID color=0xCDCDCD";
constexpr COLORREF kGreen = RGB(0, 128, 0);

// A host DC in MM_TEXT holding its own blue pen; the trace starts empty.
struct HostDC {
  CRecordingDC dc{SIZE{400, 400}};
  CPen pen;
  HostDC() {
    pen.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    dc.SelectObject(&pen);
    dc.Clear();
  }
};

// One plain green sub-line whose current colour a host has overridden with
// red; previews that restore the style's own values draw it green.
CKpLineStyleObj GreenStyle(long id = 42) {
  CKpLineStyleBase sub;
  sub.m_clrColor = kGreen;
  sub.m_clrCurrent = RGB(255, 0, 0);
  sub.m_nWidth = sub.m_nCurWidth = 1;
  CKpLineStyleObj style;
  style.SetID(id);
  style.AddStyleBase(sub);
  return style;
}

class StyleSample : public ::testing::Test {
 protected:
  void SetUp() override { m_saved = gLineStyleEngine.GetMapMode(); }
  void TearDown() override { gLineStyleEngine.SetMapMode(m_saved); }

 private:
  int m_saved = MM_ISOTROPIC;
};

using Draw = std::function<void(CKpLineStyleObj&, CDC*)>;

void Style(CKpLineStyleObj& s, CDC* dc) {
  RECT r{0, 0, 300, 30};
  CRect c(0, 0, 300, 30);
  s.DrawSample(dc, r, c);
}
void SubLineOfStyle(CKpLineStyleObj& s, CDC* dc) {
  RECT r{0, 0, 300, 30};
  CRect c(0, 0, 300, 30);
  s.DrawSample(0, dc, r, c);
}
void TestSample(CKpLineStyleObj& s, CDC* dc) {
  RECT r{0, 0, 300, 30};
  s.DrawTestSample(dc, r);
}
void SubLine(CKpLineStyleObj& s, CDC* dc) {
  RECT r{0, 0, 300, 30};
  s.GetStyleBase(0).DrawSample(dc, r);
}
void Decoration(CKpLineStyleObj& s, CDC* dc) {
  CRect r(0, 0, 100, 20);
  s.DrawDecorateSample(dc, r, 20, 10, 1, 3);
}
Draw Library(long index) {
  return [index](CKpLineStyleObj& s, CDC* dc) {
    CKpLineStyleLib lib;
    lib.AddStyleObj(s);
    RECT r{0, 0, 300, 30};
    CRect c(0, 0, 300, 30);
    lib.DrawSample(index, dc, r, c);
  };
}

TEST_F(StyleSample, EveryPreviewCallByCall) {
  struct Row {
    const char* what;
    int mode;  // the engine's mapping mode
    Draw draw;
    Lines expected;
  };
  const Row rows[] = {
      // 300 x 30 in MM_TEXT: the style from (160,15) to (260,15) in its own
      // colour, the ID at (1,0); the clip stays.
      {"style", MM_TEXT, Style,
       {"SelectClipRgn 0 0 300 30", kPreviewPen, "SetMapMode 1", "FillSolidRect 0 0 300 30 0xFFFFFF",
        kPreviewPen, kGreenPen, "MoveTo 160 15",
        "AAPolyline 2 160 15 260 15 width=1 color=0x008000 cap=2 join=2", "SetMapMode 1",
        "SetTextAlign 0", "SetBkMode 1", "TextOut 1 0 \"000042\"", "SetMapMode 1", kPreviewPen,
        "SetMapMode 1", kHostPen}},
      // Index form: margins 30, no text, the clip removed last.
      {"sub-line of a style", MM_TEXT, SubLineOfStyle,
       {"SelectClipRgn 0 0 300 30", kPreviewPen, "SetMapMode 1", "FillSolidRect 0 0 300 30 0xFFFFFF",
        "SetBkMode 1", kPreviewPen, kGreenPen, "MoveTo 30 15",
        "AAPolyline 2 30 15 270 15 width=1 color=0x008000 cap=2 join=2", kPreviewPen,
        "SetMapMode 1", kHostPen, "SelectClipRgn NULL"}},
      // Isotropic (0.1 mm, y up): 300 x 30 px is 794 x 79 units, normalised,
      // middle -40; the ID still goes to device pixels under MM_TEXT.
      {"style, isotropic", MM_ISOTROPIC, Style,
       {"SelectClipRgn 0 0 300 30", kPreviewPen, "SetMapMode 7", "FillSolidRect 0 -79 794 0 0xFFFFFF",
        kPreviewPen, kGreenPen, "MoveTo 160 -40",
        "AAPolyline 2 160 -40 754 -40 width=1 color=0x008000 cap=2 join=2", "SetMapMode 1",
        "SetTextAlign 0", "SetBkMode 1", "TextOut 1 0 \"000042\"", "SetMapMode 7", kPreviewPen,
        "SetMapMode 1", kHostPen}},
      // Not normalised: top 0, bottom -79, halved toward zero to -39.
      {"sub-line of a style, isotropic", MM_ISOTROPIC, SubLineOfStyle,
       {"SelectClipRgn 0 0 300 30", kPreviewPen, "SetMapMode 7", "FillSolidRect 0 0 794 -79 0xFFFFFF",
        "SetBkMode 1", kPreviewPen, kGreenPen, "MoveTo 30 -39",
        "AAPolyline 2 30 -39 764 -39 width=1 color=0x008000 cap=2 join=2", kPreviewPen,
        "SetMapMode 1", kHostPen, "SelectClipRgn NULL"}},
      // Test preview: margins 10, no anti-aliasing, the host's override
      // (here: the host's pen for plain sub-lines) left as it is.
      {"test sample", MM_TEXT, TestSample,
       {"SelectClipRgn 0 0 300 30", kPreviewPen, "SetMapMode 1", "FillSolidRect 0 0 300 30 0xFFFFFF",
        "SetBkMode 1", kPreviewPen, "MoveTo 10 15", "Polyline 2 10 15 290 15", kPreviewPen,
        "SetMapMode 1", kHostPen}},
      // Sub-line preview: margins 20, no pen of its own (the host's is set up
      // for the plain sub-line), anti-aliased in the sub-line's own colour.
      {"sub-line", MM_TEXT, SubLine,
       {"SelectClipRgn 0 0 300 30", "SetMapMode 1", "FillSolidRect 0 0 300 30 0xFFFFFF", kHostPen,
        "MoveTo 20 15", "AAPolyline 2 20 15 280 15 width=1 color=0x008000 cap=2 join=2", kHostPen,
        "SetMapMode 1"}},
      // Arrow decoration, position 1, kind 3, through the engine's own pen.
      {"decoration", MM_TEXT, Decoration,
       {"SelectClipRgn 0 0 100 20", kPreviewPen, "SetMapMode 1", kPreviewPen, kGreyFill, kBlackBrush,
        "Polygon 3 12 15 2 10 12 5", kWhiteBrush, "MoveTo 2 10", "LineTo 98 10", kPreviewPen,
        kPreviewPen, "SetMapMode 1", kHostPen}},
      // In isotropic units the rectangle is 265 x 53, y up, not normalised.
      {"decoration, isotropic", MM_ISOTROPIC, Decoration,
       {"SelectClipRgn 0 0 100 20", kPreviewPen, "SetMapMode 7", kPreviewPen,
        "FillRect 0 0 265 -53 SOLID color=0xCDCDCD", kBlackBrush, "Polygon 3 12 -21 2 -26 12 -31",
        kWhiteBrush, "MoveTo 2 -26", "LineTo 263 -26", kPreviewPen, kPreviewPen, "SetMapMode 1",
        kHostPen}},
      // A library outside 0..count-1 draws nothing.
      {"library index -1", MM_TEXT, Library(-1), {}},
      {"library index count", MM_TEXT, Library(1), {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    gLineStyleEngine.SetMapMode(r.mode);
    HostDC host;
    CKpLineStyleObj style = GreenStyle();
    style.SetColor(RGB(0, 0, 255));  // a host override, which all but the test preview undo
    r.draw(style, &host.dc);
    EXPECT_EQ(host.dc.GetCalls(), r.expected);
  }
}

TEST_F(StyleSample, ClipIsNarrowedInPlaceAndPlacesTheId) {
  gLineStyleEngine.SetMapMode(MM_TEXT);
  struct Row {
    const char* what;
    long id;
    CRect clip, clipAfter;
    const char* text;
  };
  const Row rows[] = {
      // A clip larger than the cell shrinks to the cell.
      {"clip beyond the cell", 42, CRect(-10, -10, 500, 50), CRect(0, 0, 300, 30), "TextOut 1 0 \"000042\""},
      // A partly scrolled cell: the text follows the visible part.
      {"clip inside the cell", 7, CRect(50, 5, 200, 25), CRect(50, 5, 200, 25), "TextOut 51 5 \"000007\""},
      // More than six digits are printed in full.
      {"seven digits", 1234567, CRect(0, 0, 300, 30), CRect(0, 0, 300, 30), "TextOut 1 0 \"1234567\""},
      // A clip that misses the cell becomes empty: everything is clipped away.
      {"disjoint clip", 42, CRect(400, 0, 500, 30), CRect(0, 0, 0, 0), "TextOut 1 0 \"000042\""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    HostDC host;
    CKpLineStyleObj style = GreenStyle(r.id);
    RECT rect{0, 0, 300, 30};
    CRect clip = r.clip;
    style.DrawSample(&host.dc, rect, clip);
    EXPECT_EQ(clip, r.clipAfter);
    ASSERT_EQ(host.dc.GetCalls().size(), 16u);
    EXPECT_EQ(host.dc.GetCalls()[11], r.text);
    EXPECT_EQ(host.dc.GetClipRect(), std::optional<CRect>(r.clipAfter));
  }
}

// Every preview gives back the host's pen and mapping mode, resets the ratio
// and the anti-aliasing switch, and leaves the engine no pointer to the
// preview's own pen, which is gone once the call returns.
TEST_F(StyleSample, EveryPreviewHandsTheHostStateBack) {
  gLineStyleEngine.SetMapMode(MM_ISOTROPIC);
  struct Row {
    const char* what;
    Draw draw;
    bool clipLeft;
    bool restyled;  // the sub-line's own colour is current again
  };
  const Row rows[] = {
      {"style", Style, true, true},
      {"sub-line of a style", SubLineOfStyle, false, true},
      {"test sample", TestSample, true, false},
      {"sub-line", SubLine, true, true},
      {"decoration", Decoration, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    HostDC host;
    host.dc.SetMapMode(MM_LOMETRIC);
    CKpLineStyleObj style = GreenStyle();
    gLineStyleEngine.SetRatio(3.0);
    r.draw(style, &host.dc);
    EXPECT_EQ(host.dc.GetMapMode(), MM_LOMETRIC);
    EXPECT_EQ(host.dc.GetCurrentPen(), &host.pen);
    EXPECT_EQ(gLineStyleEngine.GetRatio(), 1.0);
    EXPECT_EQ(gLineStyleEngine.GetClearSawtooth(), 0);
    EXPECT_TRUE(gLineStyleEngine.m_pOldPen == nullptr || gLineStyleEngine.m_pOldPen == &host.pen);
    EXPECT_EQ(host.dc.GetClipRect().has_value(), r.clipLeft);
    EXPECT_EQ(style.GetStyleBase(0).m_clrCurrent == kGreen, r.restyled);
  }
  // A host pen deleted meanwhile cannot come back: the stock black pen goes
  // in rather than leave the DC holding the preview's dead one.
  HostDC host;
  host.pen.DeleteObject();
  CKpLineStyleObj style = GreenStyle();
  Style(style, &host.dc);
  EXPECT_EQ(host.dc.GetCurrentPen(), CGdiObject::GetStockObject(BLACK_PEN));
  // No DC: nothing happens, the caller's rectangles included.
  CRect clip(-1, -1, 400, 40), deco(0, 0, 100, 20);
  RECT rect{0, 0, 300, 30};
  style.DrawSample(nullptr, rect, clip);
  style.DrawDecorateSample(nullptr, deco, 20, 10, 1, 3);
  EXPECT_EQ(clip, CRect(-1, -1, 400, 40));
  EXPECT_EQ(deco, CRect(0, 0, 100, 20));
}

// --- decoration routines on a private engine ---

// The engine keeps a host DC in MM_TEXT that holds a black one-unit pen, as
// the object's preview sets it up.
struct DecorationDC : HostDC {
  CKpLineStyleEngine engine;
  CPen preview;
  DecorationDC() {
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    preview.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    dc.SelectObject(&preview);
    dc.Clear();
  }
};

TEST(DecorationSample, ArrowSampleByPositionAndKind) {
  struct Row {
    const char* what;
    long position, kind;
    Lines figure;  // between the grey fill and the line (2,10)-(98,10)
  };
  const Row rows[] = {
      // Filled triangle, tip (2,10), base at x = 12.
      {"position 1 kind 3", 1, 3, {kBlackBrush, "Polygon 3 12 15 2 10 12 5", kWhiteBrush}},
      // Tip on the right end.
      {"position 2", 2, 3, {kBlackBrush, "Polygon 3 88 15 98 10 88 5", kWhiteBrush}},
      {"position 4 like 2", 4, 3, {kBlackBrush, "Polygon 3 88 15 98 10 88 5", kWhiteBrush}},
      // Both ends, the right one first.
      {"position 3", 3, 3,
       {kBlackBrush, "Polygon 3 88 15 98 10 88 5", kWhiteBrush, kBlackBrush,
        "Polygon 3 12 15 2 10 12 5", kWhiteBrush}},
      // Tip length/4 = 5 beyond the middle 50.
      {"position 5", 5, 3, {kBlackBrush, "Polygon 3 45 15 55 10 45 5", kWhiteBrush}},
      // Open arrowhead: two strokes to the tip.
      {"kind 2", 1, 2, {kBlackBrush, "MoveTo 12 15", "LineTo 2 10", "MoveTo 12 5", "LineTo 2 10", kWhiteBrush}},
      // Shape 6: the ellipse between base and tip.
      {"kind 7", 1, 7, {kBlackBrush, "Ellipse 12 15 2 5", kWhiteBrush}},
      // The bare line: kind 1, positions without heads, kinds past 7.
      {"kind 1", 3, 1, {}},
      {"position 0", 0, 3, {}},
      {"position 6", 6, 3, {}},
      {"kind 8 called directly", 1, 8, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DecorationDC d;
    CRect rect(0, 0, 100, 20);
    d.engine.DrawArrowSample(rect, 20, 10, r.position, r.kind);
    Lines expected{kGreyFill};
    expected.insert(expected.end(), r.figure.begin(), r.figure.end());
    expected.insert(expected.end(), {"MoveTo 2 10", "LineTo 98 10"});
    EXPECT_EQ(d.dc.GetCalls(), expected);
    EXPECT_EQ(rect, CRect(2, 2, 98, 18));
  }
}

TEST(DecorationSample, GeoSampleAndDispatch) {
  const std::string nullBrush = "SelectBrush NULL color=0x000000";
  struct Row {
    const char* what;
    bool dispatch;  // through DrawDecorateSample (length 30, width 10, kind + 7)
    long kind;
    Lines figure;
  };
  const Row rows[] = {
      {"hollow ellipse", false, 1, {nullBrush, "Ellipse 65 15 35 5"}},
      {"hollow rectangle", false, 2, {nullBrush, "Rectangle 65 15 35 5"}},
      // Width 30, height 10 around (50,10): black-filled Ellipse(65,15,35,5).
      {"filled ellipse", false, 3, {kBlackBrush, "Ellipse 65 15 35 5"}},
      {"filled rectangle", false, 4, {kBlackBrush, "Rectangle 65 15 35 5"}},
      {"kind 5 draws nothing", false, 5, {}},
      // Dispatched, the shape is drawn with the engine's own black pen.
      {"decoration kind 10", true, 3, {kPreviewPen, kBlackBrush, "Ellipse 65 15 35 5", kPreviewPen}},
      {"decoration kind 12", true, 5, {kPreviewPen, kPreviewPen}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DecorationDC d;
    CRect rect(0, 0, 100, 20);
    if (r.dispatch)
      d.engine.DrawDecorateSample(rect, 30, 10, 0, r.kind + 7);
    else
      d.engine.DrawGeoSample(rect, 30, 10, 99, r.kind);
    EXPECT_EQ(d.dc.GetCalls(), r.figure);
    const bool shrunk = !r.dispatch || r.kind <= 4;
    EXPECT_EQ(rect, shrunk ? CRect(2, 2, 98, 18) : CRect(0, 0, 100, 20));
    EXPECT_EQ(d.dc.GetCurrentPen(), &d.preview);
  }
  // Nothing happens without a device context, and kinds outside 1..11 draw nothing.
  CKpLineStyleEngine idle;
  CRect rect(0, 0, 100, 20);
  idle.DrawDecorateSample(rect, 20, 10, 1, 3);
  EXPECT_EQ(rect, CRect(0, 0, 100, 20));
}

// Rectangles at the edge of the 32-bit plane saturate instead of wrapping.
TEST(DecorationSample, ExtremeRectanglesSaturate) {
  const LONG big = 2147483647;
  struct Row {
    const char* what;
    CRect rect, after;
    long height;
    const char* ellipse;
  };
  const Row rows[] = {
      // The right half of the box would pass the largest coordinate.
      {"box past the right edge", CRect(big - 10, 0, big, 20), CRect(big - 8, 2, big - 2, 18), 10,
       "Ellipse 2147483647 15 1147483642 5"},
      // Shrinking a rectangle whose left edge is the largest coordinate.
      {"left edge at the limit", CRect(big, 0, big, 20), CRect(big, 2, big - 2, 18), 10,
       "Ellipse 2147483647 15 1147483646 5"},
      // The whole plane: the middle is found in 64 bits.
      {"whole plane", CRect(-big - 1, -big - 1, big, big), CRect(-big + 1, -big + 1, big - 2, big - 2),
       2000000000, "Ellipse 1000000000 1000000000 -1000000000 -1000000000"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    DecorationDC d;
    CRect rect = r.rect;
    d.engine.DrawGeoSample(rect, 2000000000, r.height, 0, 3);
    EXPECT_EQ(rect, r.after);
    EXPECT_EQ(d.dc.GetCalls().back(), r.ellipse);
    CRect arrowRect = r.rect;
    d.engine.DrawArrowSample(arrowRect, 20, 10, 5, 3);
    EXPECT_EQ(arrowRect, r.after);
  }
}

}  // namespace
