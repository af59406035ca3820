#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/CRecordingDC.h"

namespace {

bool Same(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

// Sets a mapping; a zero extent means "leave it as the mode makes it".
void Map(CDC& dc, int mode, SIZE windowExt = {0, 0}, SIZE viewportExt = {0, 0}) {
  dc.SetMapMode(mode);
  if (windowExt.cx != 0) dc.SetWindowExt(windowExt.cx, windowExt.cy);
  if (viewportExt.cx != 0) dc.SetViewportExt(viewportExt.cx, viewportExt.cy);
}

// A recording context that also keeps the segments LineTo hands to the backend.
class LineCapturingDC : public CRecordingDC {
 public:
  std::vector<std::pair<CPoint, CPoint>> lines;

 protected:
  void DoLine(POINT from, POINT to) override { lines.emplace_back(from, to); }
};

// ---------------------------------------------------------------- mapping

TEST(DeviceContext, LogicalToDevice) {
  struct Row {
    const char* what;
    int dpi, mode;
    SIZE windowExt, viewportExt;
    POINT windowOrg, viewportOrg, lp, dp;
  };
  const Row rows[] = {
      {"text is the identity", 96, MM_TEXT, {}, {}, {0, 0}, {0, 0}, {17, -5}, {17, -5}},
      // 254 tenths of a millimetre are one inch = 96 pixels; y goes up.
      {"lometric inch", 96, MM_LOMETRIC, {}, {}, {0, 0}, {0, 0}, {254, 254}, {96, -96}},
      // 100 * 96 / 254 = 37.8.
      {"lometric rounds", 96, MM_LOMETRIC, {}, {}, {0, 0}, {0, 0}, {100, -100}, {38, 38}},
      {"lometric 300 dpi", 300, MM_LOMETRIC, {}, {}, {0, 0}, {0, 0}, {254, 254}, {300, -300}},
      {"twips half inch", 96, MM_TWIPS, {}, {}, {0, 0}, {0, 0}, {1440, 720}, {96, -48}},
      // Isotropic starts from the metric extents at the context's resolution.
      {"isotropic start", 96, MM_ISOTROPIC, {}, {}, {0, 0}, {0, 0}, {254, 254}, {96, -96}},
      {"isotropic 300 dpi", 300, MM_ISOTROPIC, {}, {}, {0, 0}, {0, 0}, {254, 254}, {300, -300}},
      // The window origin lands on the viewport origin.
      {"text origins", 96, MM_TEXT, {}, {}, {10, 20}, {100, 200}, {15, 18}, {105, 198}},
      // (508 - 254) * 96 / 254 + 50 and 254 * -96 / 254 + 50.
      {"lometric origins", 96, MM_LOMETRIC, {}, {}, {254, 0}, {50, 50}, {508, 254}, {146, -46}},
      {"anisotropic", 96, MM_ANISOTROPIC, {10, 10}, {20, -30}, {0, 0}, {0, 0}, {5, 5}, {10, -15}},
      // Halves round away from zero, so negative coordinates mirror positive ones.
      {"half up", 96, MM_ANISOTROPIC, {2, 2}, {1, 1}, {0, 0}, {0, 0}, {1, 3}, {1, 2}},
      {"half down", 96, MM_ANISOTROPIC, {2, 2}, {1, 1}, {0, 0}, {0, 0}, {-1, -3}, {-1, -2}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    dc.SetResolution(r.dpi, r.dpi);
    Map(dc, r.mode, r.windowExt, r.viewportExt);
    dc.SetWindowOrg(r.windowOrg.x, r.windowOrg.y);
    dc.SetViewportOrg(r.viewportOrg.x, r.viewportOrg.y);
    POINT p = r.lp;
    dc.LPtoDP(&p);
    EXPECT_EQ(CPoint(p), CPoint(r.dp)) << p.x << "," << p.y;
  }
}

TEST(DeviceContext, IsotropicKeepsOneScaleOnBothAxes) {
  struct Row {
    const char* what;
    int dpiX, dpiY;
    SIZE windowExt, viewportExt, expect;
  };
  const Row rows[] = {
      // x has the larger scale: shrunk to 100, the y-up sign stays.
      {"shrink x", 96, 96, {1000, 1000}, {200, -100}, {100, -100}},
      // y has the larger scale: shrunk, x keeps its negative sign.
      {"shrink y", 96, 96, {1000, 1000}, {-100, 400}, {-100, 100}},
      // 2 px per unit on x, 4 on y.
      {"unequal window", 96, 96, {100, 50}, {200, 200}, {200, 100}},
      // 200/300 in and 100/150 in are the same length: nothing to adjust.
      {"unequal dpi", 300, 150, {1000, 1000}, {200, -100}, {200, -100}},
      // Shrunk below one pixel: kept at one, with its sign.
      {"never zero", 96, 96, {1000, 1}, {10, -10}, {10, -1}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    dc.SetResolution(r.dpiX, r.dpiY);
    Map(dc, MM_ISOTROPIC, r.windowExt, r.viewportExt);
    EXPECT_TRUE(Same(dc.GetWindowExt(), r.windowExt));
    EXPECT_TRUE(Same(dc.GetViewportExt(), r.expect))
        << dc.GetViewportExt().cx << "," << dc.GetViewportExt().cy;
  }
}

TEST(DeviceContext, ExtentsAcceptedOnlyWhereTheModeScales) {
  struct Row {
    const char* what;
    int mode;
    SIZE ext;
    bool accepted;
  };
  const Row rows[] = {
      {"text ignores", MM_TEXT, {5, 7}, false},
      {"lometric ignores", MM_LOMETRIC, {5, 7}, false},
      {"anisotropic takes", MM_ANISOTROPIC, {5, 7}, true},
      {"isotropic takes", MM_ISOTROPIC, {5, 5}, true},
      // A zero extent would make the mapping singular.
      {"zero cx", MM_ANISOTROPIC, {0, 7}, false},
      {"zero cy", MM_ISOTROPIC, {5, 0}, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    dc.SetMapMode(r.mode);
    const SIZE window = dc.GetWindowExt(), viewport = dc.GetViewportExt();
    dc.Clear();
    // The previous extent comes back whether the call is taken or not.
    EXPECT_TRUE(Same(dc.SetWindowExt(r.ext.cx, r.ext.cy), window));
    EXPECT_TRUE(Same(dc.SetViewportExt(r.ext.cx, r.ext.cy), viewport));
    EXPECT_EQ(Same(dc.GetWindowExt(), r.ext), r.accepted);
    EXPECT_EQ(Same(dc.GetViewportExt(), viewport), !r.accepted);
    EXPECT_EQ(dc.GetCalls().size(), r.accepted ? 2u : 0u);  // ignored calls are not recorded
  }
}

TEST(DeviceContext, SwitchingModes) {
  CRecordingDC dc;
  dc.SetMapMode(MM_LOMETRIC);
  // Anisotropic keeps the metric extents it finds, then takes any.
  EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), MM_LOMETRIC);
  EXPECT_TRUE(Same(dc.GetViewportExt(), {96, -96}));
  dc.SetWindowExt(3, 7);
  dc.SetViewportExt(-5, 11);
  EXPECT_TRUE(Same(dc.GetViewportExt(), {-5, 11}));
  // Isotropic starts again from the metric extents.
  EXPECT_EQ(dc.SetMapMode(MM_ISOTROPIC), MM_ANISOTROPIC);
  EXPECT_TRUE(Same(dc.GetWindowExt(), {254, 254}));
  EXPECT_TRUE(Same(dc.GetViewportExt(), {96, -96}));
  // Invalid modes change nothing.
  for (int bad : {0, 9}) EXPECT_EQ(dc.SetMapMode(bad), 0);
  EXPECT_EQ(dc.GetMapMode(), MM_ISOTROPIC);
  EXPECT_TRUE(Same(dc.GetViewportExt(), {96, -96}));
  // Back to text: one unit per pixel; the origins are left alone.
  dc.SetViewportOrg(4, 4);
  EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_ISOTROPIC);
  EXPECT_TRUE(Same(dc.GetViewportExt(), {1, 1}));
  EXPECT_EQ(dc.GetViewportOrg(), CPoint(4, 4));
}

TEST(DeviceContext, DeviceToLogicalInvertsLogicalToDevice) {
  struct Row {
    const char* what;
    int mode;
    SIZE windowExt, viewportExt;
  };
  const Row rows[] = {
      // Logical finer than device: every device point comes back exactly.
      {"lometric", MM_LOMETRIC, {}, {}},
      {"himetric", MM_HIMETRIC, {}, {}},
      {"isotropic", MM_ISOTROPIC, {1000, 1000}, {200, -100}},
      {"text", MM_TEXT, {}, {}},
      // Logical coarser than device: every logical point comes back exactly.
      {"anisotropic magnified", MM_ANISOTROPIC, {2, 3}, {7, -11}},
  };
  const POINT pts[] = {{0, 0}, {1, 1}, {-1, -1}, {37, -59}, {-1234, 987}, {99999, -99999}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    Map(dc, r.mode, r.windowExt, r.viewportExt);
    dc.SetWindowOrg(-13, 29);
    dc.SetViewportOrg(40, -7);
    const bool deviceCoarser = std::fabs(dc.ScaleX()) <= 1 && std::fabs(dc.ScaleY()) <= 1;
    for (const POINT& p : pts) {
      POINT q = p;
      if (deviceCoarser) {
        dc.DPtoLP(&q);
        dc.LPtoDP(&q);
      } else {
        dc.LPtoDP(&q);
        dc.DPtoLP(&q);
      }
      EXPECT_EQ(CPoint(q), CPoint(p)) << p.x << "," << p.y;
    }
  }
}

// ---------------------------------------------------------------- selection

TEST(DeviceContext, SelectObjectReturnsThePreviousObject) {
  CRecordingDC dc;
  CPen pen1, pen2;
  ASSERT_TRUE(pen1.CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
  ASSERT_TRUE(pen2.CreatePen(PS_DASH, 3, RGB(4, 5, 6)));
  EXPECT_EQ(dc.SelectObject(&pen1), CGdiObject::GetStockObject(BLACK_PEN));
  EXPECT_EQ(dc.SelectObject(&pen2), &pen1);
  EXPECT_EQ(dc.GetPenState().width, 3);

  CBrush brush1(RGB(7, 8, 9)), brush2(RGB(10, 11, 12));
  EXPECT_EQ(dc.SelectObject(&brush1), CGdiObject::GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(dc.SelectObject(&brush2), &brush1);

  // A fresh context holds a font too: the first selection hands back one
  // that restores the initial state when selected again.
  CFont font1, font2;
  ASSERT_TRUE(font1.CreatePointFont(100, "Serif"));
  ASSERT_TRUE(font2.CreatePointFont(120, "Sans"));
  CFont* initial = dc.SelectObject(&font1);
  ASSERT_NE(initial, nullptr);
  EXPECT_EQ(dc.SelectObject(&font2), &font1);
  EXPECT_EQ(dc.SelectObject(initial), &font2);
  EXPECT_EQ(dc.GetFontState().lfHeight, -12);
  EXPECT_FALSE(initial->DeleteObject());  // shared by every context

  // The generic forms dispatch on the kind.
  EXPECT_EQ(dc.SelectObject(static_cast<CGdiObject*>(&pen1)), &pen2);
  EXPECT_EQ(dc.SelectStockObject(NULL_BRUSH), &brush2);
  EXPECT_EQ(dc.GetBrushState().style, BS_NULL);
}

TEST(DeviceContext, EmptyObjectsFailToSelect) {
  CRecordingDC dc;
  CPen live;
  ASSERT_TRUE(live.CreatePen(PS_DOT, 2, RGB(0, 0, 255)));
  CBrush liveBrush(RGB(0, 255, 0));
  CFont liveFont;
  ASSERT_TRUE(liveFont.CreatePointFont(100, "Serif"));
  dc.SelectObject(&live);
  dc.SelectObject(&liveBrush);
  dc.SelectObject(&liveFont);
  dc.Clear();

  CPen neverCreated, deleted;
  ASSERT_TRUE(deleted.CreatePen(PS_SOLID, 9, RGB(9, 9, 9)));
  ASSERT_TRUE(deleted.DeleteObject());
  CBrush emptyBrush;
  CFont emptyFont;
  struct Row {
    const char* what;
    CGdiObject* obj;
  };
  const Row rows[] = {
      {"pen never created", &neverCreated},
      {"pen deleted", &deleted},
      {"empty brush", &emptyBrush},
      {"empty font", &emptyFont},
      {"null", nullptr},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(dc.SelectObject(r.obj), nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), &live);
    EXPECT_EQ(dc.GetPenState().width, 2);
    EXPECT_EQ(dc.GetCurrentBrush(), &liveBrush);
    EXPECT_EQ(dc.GetCurrentFont(), &liveFont);
  }
  EXPECT_TRUE(dc.GetCalls().empty());  // failed selections are not recorded
}

// Run under AddressSanitizer: the context must not read destroyed objects.
TEST(DeviceContext, DestroyedSelectedObjectsLeaveTheStateIntact) {
  CRecordingDC dc;
  auto pen = std::make_unique<CPen>();
  const LOGBRUSH lb{BS_HATCHED, RGB(0x12, 0x34, 0x56), HS_CROSS};
  ASSERT_TRUE(pen->CreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 7, &lb));
  auto brush = std::make_unique<CBrush>();
  ASSERT_TRUE(brush->CreateHatchBrush(HS_BDIAGONAL, RGB(1, 1, 1)));
  auto font = std::make_unique<CFont>();
  ASSERT_TRUE(font->CreatePointFont(100, "Serif"));
  dc.SelectObject(pen.get());
  dc.SelectObject(brush.get());
  dc.SelectObject(font.get());

  EXPECT_TRUE(pen->DeleteObject());
  pen.reset();
  brush.reset();
  font.reset();
  EXPECT_EQ(dc.GetPenState().width, 7);
  EXPECT_EQ(dc.GetPenState().hatch, HS_CROSS);
  EXPECT_EQ(dc.GetBrushState().hatch, HS_BDIAGONAL);
  EXPECT_STREQ(dc.GetFontState().lfFaceName, "Serif");
  // Drawing and selecting anew work on the copies.
  dc.Clear();
  dc.LineTo(5, 5);
  dc.Rectangle(0, 0, 4, 4);
  EXPECT_NE(dc.SelectStockObject(BLACK_PEN), nullptr);
  EXPECT_EQ(dc.GetCalls().size(), 3u);
}

// ---------------------------------------------------------------- objects

TEST(GdiObjects, ExtendedPenCreation) {
  const DWORD dashes[] = {4, 2};
  struct Row {
    const char* what;
    int style, width;
    LOGBRUSH brush;
    int count;
    const DWORD* styles;
    bool ok;
  };
  const Row rows[] = {
      {"geometric solid", PS_GEOMETRIC | PS_SOLID, 5, {BS_SOLID, 0, 0}, 0, nullptr, true},
      {"geometric null brush", PS_GEOMETRIC, 5, {BS_NULL, 0, 0}, 0, nullptr, true},
      // A pattern brush needs a bitmap, which cannot be given here.
      {"pattern", PS_GEOMETRIC, 5, {BS_PATTERN, 0, 0}, 0, nullptr, false},
      {"hatch out of range", PS_GEOMETRIC, 5, {BS_HATCHED, 0, HS_DIAGCROSS + 1}, 0, nullptr, false},
      {"negative width", PS_GEOMETRIC, -1, {BS_SOLID, 0, 0}, 0, nullptr, false},
      // Cosmetic pens are one pixel wide and solid.
      {"cosmetic 1", PS_COSMETIC | PS_DOT, 1, {BS_SOLID, 0, 0}, 0, nullptr, true},
      {"cosmetic 2", PS_COSMETIC, 2, {BS_SOLID, 0, 0}, 0, nullptr, false},
      {"cosmetic hatched", PS_COSMETIC, 1, {BS_HATCHED, 0, HS_CROSS}, 0, nullptr, false},
      // User dashes need entries, and only user dashes take them.
      {"user style", PS_GEOMETRIC | PS_USERSTYLE, 3, {BS_SOLID, 0, 0}, 2, dashes, true},
      {"user style, no entries", PS_GEOMETRIC | PS_USERSTYLE, 3, {}, 0, nullptr, false},
      {"entries without user style", PS_GEOMETRIC | PS_DASH, 3, {BS_SOLID, 0, 0}, 2, dashes, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CPen pen;
    EXPECT_EQ(pen.CreatePen(r.style, r.width, &r.brush, r.count, r.styles), r.ok ? TRUE : FALSE);
    EXPECT_EQ(pen.IsValid(), r.ok);  // a failed pen stays empty
    EXTLOGPEN elp{};
    EXPECT_EQ(pen.GetExtLogPen(&elp) != 0, r.ok);
  }
}

TEST(GdiObjects, LogicalPenRecords) {
  CPen simple;
  ASSERT_TRUE(simple.CreatePen(PS_DASHDOT, 4, RGB(10, 20, 30)));
  LOGPEN lp{};
  EXPECT_EQ(simple.GetLogPen(&lp), static_cast<int>(sizeof(LOGPEN)));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASHDOT));
  EXPECT_EQ(lp.lopnWidth.x, 4);
  EXPECT_EQ(lp.lopnColor, RGB(10, 20, 30));

  CPen hatched;
  const int style = PS_GEOMETRIC | PS_DASH | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL;
  const LOGBRUSH lb{BS_HATCHED, RGB(200, 100, 50), HS_FDIAGONAL};
  ASSERT_TRUE(hatched.CreatePen(style, 12, &lb));
  EXTLOGPEN elp{};
  EXPECT_EQ(hatched.GetExtLogPen(&elp), static_cast<int>(sizeof(EXTLOGPEN)));
  EXPECT_EQ(elp.elpPenStyle, static_cast<DWORD>(style));
  EXPECT_EQ(elp.elpWidth, 12u);
  EXPECT_EQ(elp.elpBrushStyle, BS_HATCHED);
  EXPECT_EQ(elp.elpColor, RGB(200, 100, 50));
  EXPECT_EQ(elp.elpHatch, static_cast<std::uintptr_t>(HS_FDIAGONAL));
  EXPECT_EQ(hatched.GetLogPen(&lp), 0);  // an extended pen has no plain record

  CPen empty;
  EXPECT_EQ(empty.GetLogPen(&lp), 0);
  EXPECT_EQ(empty.GetExtLogPen(&elp), 0);
}

TEST(GdiObjects, CreateOnALiveObjectFailsUntilDeleted) {
  CPen pen;
  ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(1, 1, 1)));
  EXPECT_FALSE(pen.CreatePen(PS_DASH, 2, RGB(2, 2, 2)));
  const LOGBRUSH lb{BS_SOLID, RGB(3, 3, 3), 0};
  EXPECT_FALSE(pen.CreatePen(PS_GEOMETRIC, 2, &lb));
  EXPECT_EQ(pen.GetState().color, RGB(1, 1, 1));
  EXPECT_TRUE(pen.DeleteObject());
  EXPECT_FALSE(pen.DeleteObject());  // already empty
  EXPECT_TRUE(pen.CreatePen(PS_DASH, 2, RGB(2, 2, 2)));
  EXPECT_EQ(pen.GetState().color, RGB(2, 2, 2));
}

TEST(GdiObjects, StockObjectsCannotBeDeletedOrRemade) {
  struct Row {
    const char* what;
    int index;
    COLORREF color;
  };
  const Row rows[] = {
      {"white brush", WHITE_BRUSH, RGB(255, 255, 255)},
      {"grey brush", GRAY_BRUSH, RGB(128, 128, 128)},
      {"null brush", NULL_BRUSH, 0},
      {"white pen", WHITE_PEN, RGB(255, 255, 255)},
      {"null pen", NULL_PEN, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CGdiObject* obj = CGdiObject::GetStockObject(r.index);
    ASSERT_NE(obj, nullptr);
    EXPECT_FALSE(obj->DeleteObject());
    EXPECT_TRUE(obj->IsValid());
    if (obj->GetKind() == KpGdiKind::Pen) {
      EXPECT_FALSE(static_cast<CPen*>(obj)->CreatePen(PS_DASH, 5, RGB(1, 2, 3)));
      EXPECT_EQ(static_cast<CPen*>(obj)->GetState().color, r.color);
    } else {
      EXPECT_FALSE(static_cast<CBrush*>(obj)->CreateSolidBrush(RGB(1, 2, 3)));
      EXPECT_EQ(static_cast<CBrush*>(obj)->GetState().color, r.color);
    }
  }
  EXPECT_EQ(CGdiObject::GetStockObject(NULL_PEN + 1), nullptr);
}

TEST(GdiObjects, FontFaceNamesAreCutTo31Bytes) {
  const std::string a31(31, 'a');
  struct Row {
    const char* what;
    std::string face;
    bool given;  // false: nullptr passed
    std::string expect;
  };
  const Row rows[] = {
      {"short", "Serif", true, "Serif"},
      // The 32nd byte is the terminator's place.
      {"exactly 31", a31, true, a31},
      {"32 cut", a31 + "Z", true, a31},
      {"much longer cut", a31 + std::string(40, 'Z'), true, a31},
      // 30 ASCII bytes then a 3-byte character: cut before the character, not inside it
      {"UTF-8 not split", a31.substr(0, 30) + "\xE5\xAE\x8B", true, a31.substr(0, 30)},
      {"none", "", false, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CFont f;
    ASSERT_TRUE(f.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             r.given ? r.face.c_str() : nullptr));
    EXPECT_EQ(f.GetFaceName(), r.expect);
  }
  // A record without a terminator is cut the same way.
  LOGFONT lf{};
  std::memset(lf.lfFaceName, 'b', sizeof lf.lfFaceName);
  CFont f;
  ASSERT_TRUE(f.CreateFontIndirect(&lf));
  EXPECT_EQ(f.GetFaceName(), std::string(31, 'b'));
}

// ---------------------------------------------------------------- recording

TEST(RecordingDC, CallsBecomeTheExpectedLines) {
  CRecordingDC dc;
  CPen dashed, hatched, empty;
  ASSERT_TRUE(dashed.CreatePen(PS_DASH, 2, RGB(255, 0, 0)));
  const LOGBRUSH lb{BS_HATCHED, RGB(0, 0, 255), HS_CROSS};
  ASSERT_TRUE(hatched.CreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 10, &lb));
  CBrush brush;
  ASSERT_TRUE(brush.CreateHatchBrush(HS_DIAGCROSS, RGB(0, 255, 0)));
  CFont font;
  ASSERT_TRUE(font.CreateFont(-20, 0, 900, 900, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                              "Sans \"Mono\""));
  CRgn rgn;
  ASSERT_TRUE(rgn.CreateRectRgn(30, 40, 10, 20));
  const POINT line[] = {{0, 0}, {10, -5}, {20, 0}};
  const POINT tri[] = {{0, 0}, {5, 10}, {10, 0}};
  const RECT box{1, 2, 3, 4};

  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(100, 100);
  dc.SetViewportExt(50, -50);
  dc.SetWindowOrg(-10, 10);
  dc.SetViewportOrg(3, 4);
  dc.SelectObject(&dashed);
  dc.SelectObject(&empty);  // fails: not recorded
  dc.SelectObject(&hatched);
  dc.SelectObject(&brush);
  dc.SelectObject(&font);
  dc.SelectStockObject(NULL_PEN);
  dc.SetTextColor(RGB(0x11, 0x22, 0x33));
  dc.SetBkColor(RGB(255, 255, 255));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  dc.MoveTo(1, 2);
  dc.LineTo(-3, 4);
  dc.Polyline(line, 3);
  dc.Polyline(line, 1);  // too short: not recorded
  dc.Polygon(tri, 3);
  dc.Ellipse(-5, -5, 5, 5);
  dc.Arc(0, 0, 10, 10, 10, 5, 0, 5);
  dc.Rectangle(1, 1, 9, 9);
  dc.FillRect(&box, &brush);
  dc.FillSolidRect(5, 6, 10, 20, RGB(0xAB, 0xCD, 0xEF));
  dc.TextOut(7, 8, "say \"hi\"\\path\nnext");
  dc.TextOut(0, 0, "");
  dc.AALine(POINT{0, 0}, POINT{100, -50},
            AAPEN{1.5f, RGB(0x12, 0x34, 0x56), AA_CAP_ROUND, AA_JOIN_BEVEL});
  dc.AAPolyline(line, 3, AAPEN{2.0f, RGB(1, 2, 3), AA_CAP_FLAT, AA_JOIN_MITER});
  dc.SelectClipRgn(&rgn);
  dc.IntersectClipRect(0, 0, 40, -40);
  dc.SelectClipRgn(nullptr);
  dc.SetMapMode(MM_LOMETRIC);
  dc.SetWindowExt(1, 1);  // ignored in a fixed mode: not recorded

  const std::vector<std::string> expected = {
      "SetMapMode 8",
      "SetWindowExt 100 100",
      "SetViewportExt 50 -50",
      "SetWindowOrg -10 10",
      "SetViewportOrg 3 4",
      "SelectPen style=0x00001 width=2 color=0x0000FF",
      "SelectPen style=0x12200 width=10 color=0xFF0000 brush=HATCHED hatch=4",
      "SelectBrush HATCHED color=0x00FF00 hatch=5",
      "SelectFont height=-20 escapement=900 weight=700 charset=0 face=\"Sans \\\"Mono\\\"\"",
      "SelectPen style=0x00005 width=0 color=0x000000",
      "SetTextColor 0x332211",
      "SetBkColor 0xFFFFFF",
      "SetBkMode 1",
      "SetTextAlign 30",
      "MoveTo 1 2",
      "LineTo -3 4",
      "Polyline 3 0 0 10 -5 20 0",
      "Polygon 3 0 0 5 10 10 0",
      "Ellipse -5 -5 5 5",
      "Arc 0 0 10 10 10 5 0 5",
      "Rectangle 1 1 9 9",
      "FillRect 1 2 3 4 HATCHED color=0x00FF00 hatch=5",
      "FillSolidRect 5 6 15 26 0xEFCDAB",
      "TextOut 7 8 \"say \\\"hi\\\"\\\\path\\nnext\"",
      "TextOut 0 0 \"\"",
      "AALine 0 0 100 -50 width=1.5 color=0x563412 cap=2 join=1",
      "AAPolyline 3 0 0 10 -5 20 0 width=2 color=0x030201 cap=0 join=0",
      "SelectClipRgn 10 20 30 40",
      "IntersectClipRect 0 0 40 -40",
      "SelectClipRgn NULL",
      "SetMapMode 2",
  };
  EXPECT_EQ(dc.GetCalls(), expected);
  EXPECT_EQ(dc.GetBkColor(), RGB(0xAB, 0xCD, 0xEF));  // FillSolidRect paints with it
  std::string text;
  for (const auto& l : expected) text += l + "\n";
  EXPECT_EQ(dc.GetText(), text);
}

TEST(RecordingDC, TooFewPointsDrawNothing) {
  const POINT pts[] = {{1, 1}, {2, 2}};
  const AAPEN pen{1.0f, 0, AA_CAP_FLAT, AA_JOIN_MITER};
  struct Row {
    const char* what;
    const POINT* pts;
    int n;
  };
  const Row rows[] = {
      {"one point", pts, 1},
      {"no points", pts, 0},
      {"negative count", pts, -3},
      {"null array", nullptr, 2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    EXPECT_FALSE(dc.Polyline(r.pts, r.n));
    EXPECT_FALSE(dc.Polygon(r.pts, r.n));
    EXPECT_FALSE(dc.AAPolyline(r.pts, r.n, pen));
    EXPECT_TRUE(dc.GetCalls().empty());
  }
}

TEST(RecordingDC, IntersectClipRectWorksInDeviceCoordinates) {
  struct Row {
    const char* what;
    int mode;
    bool region;  // device rectangle 0 0 50 50 selected first
    RECT logical;
    int result;  // 1: nothing left, 2: a rectangle
    CRect clip;  // device coordinates
  };
  const Row rows[] = {
      // No clip yet: the rectangle itself, mapped (254 units = 96 px, y up) and normalised.
      {"lometric alone", MM_LOMETRIC, false, {0, 0, 254, -254}, 2, CRect(0, 0, 96, 96)},
      // The region is in device units whatever the mapping.
      {"lometric with region", MM_LOMETRIC, true, {0, 0, 254, -254}, 2, CRect(0, 0, 50, 50)},
      {"text with region", MM_TEXT, true, {20, -10, 80, 30}, 2, CRect(20, 0, 50, 30)},
      {"disjoint", MM_TEXT, true, {60, 60, 70, 70}, 1, CRect(0, 0, 0, 0)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc;
    dc.SetMapMode(r.mode);
    if (r.region) {
      CRgn rgn;
      ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 50, 50));
      EXPECT_EQ(dc.SelectClipRgn(&rgn), 2);
    }  // the region is gone here: the context keeps its own copy
    const RECT& l = r.logical;
    EXPECT_EQ(dc.IntersectClipRect(l.left, l.top, l.right, l.bottom), r.result);
    ASSERT_TRUE(dc.GetClipRect().has_value());
    EXPECT_EQ(*dc.GetClipRect(), r.clip);
    CRgn empty;
    EXPECT_EQ(dc.SelectClipRgn(&empty), 0);  // an empty region changes nothing
    EXPECT_EQ(*dc.GetClipRect(), r.clip);
  }
}

TEST(RecordingDC, LineToContinuesFromTheCurrentPosition) {
  LineCapturingDC dc;
  const POINT pts[] = {{100, 100}, {200, 200}};
  EXPECT_EQ(dc.MoveTo(1, 2), CPoint(0, 0));
  dc.LineTo(3, 4);
  dc.Polyline(pts, 2);  // does not move the current position
  dc.Rectangle(50, 50, 60, 60);
  dc.LineTo(5, -6);
  EXPECT_EQ(dc.MoveTo(7, 8), CPoint(5, -6));
  dc.LineTo(9, 10);
  const std::vector<std::pair<CPoint, CPoint>> expected = {
      {CPoint(1, 2), CPoint(3, 4)},    // from MoveTo
      {CPoint(3, 4), CPoint(5, -6)},   // from the previous LineTo
      {CPoint(7, 8), CPoint(9, 10)},   // from a new MoveTo
  };
  EXPECT_EQ(dc.lines, expected);
  EXPECT_EQ(dc.GetCurrentPosition(), CPoint(9, 10));
}

// Past the trace limit the calls keep changing the state (and reach the
// backend) but leave no text.
TEST(RecordingDC, TraceLimitKeepsTheFirstLinesAndTheState) {
  LineCapturingDC dc;
  dc.SetTraceLimit(2);
  dc.MoveTo(1, 2);
  dc.LineTo(3, 4);
  dc.SetMapMode(MM_LOMETRIC);  // past the limit: not traced, still applied
  dc.LineTo(5, 6);
  EXPECT_EQ(dc.GetCalls(), (std::vector<std::string>{"MoveTo 1 2", "LineTo 3 4"}));
  EXPECT_EQ(dc.GetMapMode(), MM_LOMETRIC);
  EXPECT_EQ(dc.lines.size(), 2u);
  EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5, 6));

  dc.Clear();  // room again
  dc.LineTo(7, 8);
  EXPECT_EQ(dc.GetCalls(), (std::vector<std::string>{"LineTo 7 8"}));

  dc.SetTraceLimit(0);
  dc.Clear();
  dc.LineTo(9, 10);
  EXPECT_TRUE(dc.GetCalls().empty());
  EXPECT_EQ(dc.lines.size(), 4u);
}

TEST(RecordingDC, PrintingFlag) {
  EXPECT_FALSE(CRecordingDC().IsPrinting());
  EXPECT_TRUE(CRecordingDC(SIZE{2480, 3508}, true).IsPrinting());
}

}  // namespace
