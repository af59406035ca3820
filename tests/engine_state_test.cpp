#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

// A host DC in MM_TEXT with its own blue pen selected, as a host would hand it over.
struct HostDC {
  CRecordingDC dc;
  CPen hostPen;
  explicit HostDC(bool printing = false) : dc(SIZE{500, 500}, printing) {
    hostPen.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    dc.SelectObject(&hostPen);
    dc.Clear();
  }
};

TEST(EngineState, KeepAndRestoreDC) {
  HostDC host;
  CKpLineStyleEngine engine;
  EXPECT_EQ(engine.GetBufferSize(), KP_WALKER_BUFFER_SIZE);
  EXPECT_EQ(engine.GetMapMode(), MM_ISOTROPIC);

  EXPECT_EQ(engine.RestoreDC(), false);  // nothing kept yet
  EXPECT_EQ(engine.KeepDC(nullptr), nullptr);
  EXPECT_EQ(engine.m_pDC, nullptr);

  EXPECT_EQ(engine.KeepDC(&host.dc), &host.dc);
  EXPECT_EQ(host.dc.GetMapMode(), MM_ISOTROPIC);
  EXPECT_EQ(engine.m_nOldMapMode, MM_TEXT);
  EXPECT_EQ(engine.m_pOldPen, &host.hostPen);

  CKpLineStyleBase sub;
  sub.m_nCurWidth = 4;
  engine.m_bStylePen = 1;
  engine.SetRatio(2.5);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  EXPECT_EQ(host.dc.GetCurrentPen(), &engine.m_Pen);

  EXPECT_TRUE(engine.RestoreDC());
  EXPECT_EQ(host.dc.GetMapMode(), MM_TEXT);
  EXPECT_EQ(host.dc.GetCurrentPen(), &host.hostPen);
  EXPECT_EQ(engine.GetRatio(), 1.0);
  EXPECT_EQ(engine.m_bStylePen, 0);
  EXPECT_EQ(engine.m_pLineStyleBase, nullptr);
  EXPECT_EQ(engine.m_pDC, &host.dc);  // kept pointing at the returned DC
}

TEST(EngineState, MapModeSettingTakesEffectAtTheNextKeep) {
  HostDC host;
  CKpLineStyleEngine engine;
  EXPECT_EQ(engine.SetMapMode(MM_TEXT), MM_ISOTROPIC);
  EXPECT_EQ(host.dc.GetMapMode(), MM_TEXT);
  host.dc.SetMapMode(MM_LOMETRIC);
  engine.KeepDC(&host.dc);
  EXPECT_EQ(host.dc.GetMapMode(), MM_TEXT);
  engine.RestoreDC();
  EXPECT_EQ(host.dc.GetMapMode(), MM_LOMETRIC);
}

TEST(EngineState, FlushResetsTheWalker) {
  CKpLineStyleEngine engine;
  engine.m_nFirstSegment = 666;
  engine.m_dRemain = 3.5;
  engine.m_nLastIndex = 12;
  engine.m_nStyleIndex = 3;
  engine.Flush();
  EXPECT_EQ(engine.m_nFirstSegment, 1);
  EXPECT_EQ(engine.m_dRemain, 0.0);
  EXPECT_EQ(engine.m_nLastIndex, 0);
  EXPECT_EQ(engine.m_nStyleIndex, 0);
}

// Which path each primitive takes, by anti-aliasing, printing and pen.
TEST(EngineState, PrimitivesChooseThePlainOrAntiAliasedPath) {
  struct Row {
    const char* what;
    bool aa, printing;
    int subLineDash;  // -1: no current sub-line
    int hostDash;
    Lines expected;
  };
  const Row rows[] = {
      // Anti-aliasing off: always the device path.
      {"aa off", false, false, 0, PS_SOLID,
       {"MoveTo 1 2", "LineTo 5 6", "Polyline 3 0 0 10 0 10 10"}},
      // A solid sub-line is drawn anti-aliased with its own width, colour, caps and join.
      {"aa solid sub-line", true, false, 0, PS_SOLID,
       {"MoveTo 1 2", "AALine 1 2 5 6 width=3 color=0x00FF00 cap=2 join=2",
        "AAPolyline 3 0 0 10 0 10 10 width=3 color=0x00FF00 cap=2 join=2"}},
      // Dashed sub-lines are never anti-aliased.
      {"aa dashed sub-line", true, false, PS_DASH, PS_SOLID,
       {"MoveTo 1 2", "LineTo 5 6", "Polyline 3 0 0 10 0 10 10"}},
      // Printing turns anti-aliasing off.
      {"aa printing", true, true, 0, PS_SOLID,
       {"MoveTo 1 2", "LineTo 5 6", "Polyline 3 0 0 10 0 10 10"}},
      // No sub-line: LineTo uses a hairline black pen, Polyline the host's solid pen.
      {"aa no sub-line, solid host", true, false, -1, PS_SOLID,
       {"MoveTo 1 2", "AALine 1 2 5 6 width=0 color=0x000000 cap=2 join=2",
        "AAPolyline 3 0 0 10 0 10 10 width=2 color=0xFF0000 cap=2 join=2"}},
      // No sub-line and a dotted host pen: Polyline stays on the device path.
      {"aa no sub-line, dotted host", true, false, -1, PS_DOT,
       {"MoveTo 1 2", "AALine 1 2 5 6 width=0 color=0x000000 cap=2 join=2",
        "Polyline 3 0 0 10 0 10 10"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    CRecordingDC dc(SIZE{100, 100}, r.printing);
    CPen host;
    host.CreatePen(r.hostDash, 2, RGB(0, 0, 255));
    dc.SelectObject(&host);
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    engine.SetClearSawtooth(r.aa);
    CKpLineStyleBase sub;
    sub.m_nCurWidth = 3;
    sub.m_clrCurrent = RGB(0, 255, 0);
    sub.SetBase(r.subLineDash < 0 ? 0 : r.subLineDash);
    engine.SetLineStyleBase(r.subLineDash < 0 ? nullptr : &sub);
    dc.Clear();

    engine.MoveTo(1, 2);
    engine.LineTo(5, 6);
    POINT pts[3] = {{0, 0}, {10, 0}, {10, 10}};
    engine.Polyline(pts, 3);
    EXPECT_EQ(dc.GetCalls(), r.expected);
    EXPECT_EQ(engine.m_ptCurrent.x, 10);
    EXPECT_EQ(engine.m_ptCurrent.y, 10);
  }
}

TEST(EngineState, AntiAliasedSubLinePenScalesAndMapsCapsAndJoins) {
  CRecordingDC dc;
  CKpLineStyleEngine engine;
  engine.KeepDC(&dc);
  engine.SetClearSawtooth(1);
  engine.SetRatio(1.5);
  CKpLineStyleBase sub;
  sub.m_nCurWidth = 3;  // 4.5 rounds away from zero to 5
  sub.SetCap(2);        // flat -> 0
  sub.SetJoin(1);       // bevel -> 1
  engine.SetLineStyleBase(&sub);
  dc.Clear();
  engine.LineTo(4, 0);
  EXPECT_EQ(dc.GetCalls(), Lines{"AALine 0 0 4 0 width=5 color=0x0000FF cap=0 join=1"});
}

TEST(EngineState, AntiAliasedPolygonFillsThenClosesItsOutline) {
  HostDC host;
  CKpLineStyleEngine engine;
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&host.dc);
  engine.SetClearSawtooth(1);
  host.dc.Clear();
  POINT tri[3] = {{0, 0}, {10, 0}, {0, 10}};
  engine.Polygon(tri, 3);
  const Lines expected = {
      "SelectPen style=0x00005 width=0 color=0x000000",  // stock null pen: fill only
      "Polygon 3 0 0 10 0 0 10",
      "SelectPen style=0x00000 width=2 color=0xFF0000",  // the host's pen again
      "AAPolyline 4 0 0 10 0 0 10 0 0 width=2 color=0xFF0000 cap=0 join=0",
  };
  EXPECT_EQ(host.dc.GetCalls(), expected);
  EXPECT_EQ(host.dc.GetCurrentPen(), &host.hostPen);

  // A host's null pen means no outline, anti-aliased or not.
  CPen none;
  none.CreatePen(PS_NULL, 0, RGB(0, 0, 0));
  host.dc.SelectObject(&none);
  engine.m_pOldPen = &host.hostPen;
  host.dc.Clear();
  engine.Polygon(tri, 3);
  EXPECT_EQ(host.dc.GetCalls(), (Lines{"SelectPen style=0x00005 width=0 color=0x000000",
                                       "Polygon 3 0 0 10 0 0 10",
                                       "SelectPen style=0x00005 width=0 color=0x000000"}));
  host.dc.SelectObject(&host.hostPen);

  // Without anti-aliasing, one device polygon with the host's pen and brush.
  engine.SetClearSawtooth(0);
  host.dc.Clear();
  engine.Polygon(tri, 3);
  EXPECT_EQ(host.dc.GetCalls(), Lines{"Polygon 3 0 0 10 0 0 10"});
}

TEST(EngineState, PrimitivesWithoutADeviceOrPointsDrawNothing) {
  CKpLineStyleEngine engine;
  POINT pts[2] = {{0, 0}, {1, 1}};
  engine.Polyline(pts, 2);  // no DC: must not crash
  engine.Polygon(pts, 2);
  engine.LineTo(3, 3);
  EXPECT_EQ(engine.m_ptCurrent.x, 3);

  CRecordingDC dc;
  engine.KeepDC(&dc);
  dc.Clear();
  engine.Polyline(nullptr, 5);
  engine.Polyline(pts, 1);
  engine.Polygon(pts, 0);
  EXPECT_TRUE(dc.GetCalls().empty());
}

}  // namespace
