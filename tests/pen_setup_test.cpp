#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

struct Fixture {
  CRecordingDC dc;
  CPen hostPen;
  CKpLineStyleEngine engine;
  Fixture() {
    hostPen.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    dc.SelectObject(&hostPen);
    engine.SetMapMode(MM_TEXT);
    engine.KeepDC(&dc);
    dc.Clear();
  }
};

const char* kHost = "SelectPen style=0x00000 width=2 color=0xFF0000";

CKpLineStyleBase Black(short width = 1) {
  CKpLineStyleBase s;
  s.m_nCurWidth = width;
  s.m_clrCurrent = RGB(0, 0, 0);
  return s;
}

TEST(PenSetup, MakesTheSubLineCurrent) {
  CKpLineStyleEngine engine;
  CKpLineStyleBase s;
  s.Add(10, 5);
  EXPECT_EQ(engine.SetLineStyleBase(s), 1);
  EXPECT_EQ(engine.m_pLineStyleBase, &s);
  EXPECT_EQ(engine.m_nStyleCount, 2);
  EXPECT_EQ(engine.m_pStyleSet, s.GetStyleSet());
  EXPECT_EQ(engine.m_pByteSet, s.GetByteSet());

  CKpLineStyleBase empty;
  engine.SetLineStyleBase(&empty);
  EXPECT_EQ(engine.m_nStyleCount, 0);

  DWORD lengths[2] = {3, 4};
  BYTE flags[2] = {1, 0};
  engine.SetLineStyleBase(lengths, flags, 2);
  EXPECT_EQ(engine.m_pLineStyleBase, &empty);  // only the pattern changes
  EXPECT_EQ(engine.m_pStyleSet, lengths);
  EXPECT_EQ(engine.m_nStyleCount, 2);
}

// Pointer form: which pen ends up selected, call by call.
TEST(PenSetup, PointerFormPensByCase) {
  struct Row {
    const char* what;
    CKpLineStyleBase sub;
    BOOL stylePen;
    double ratio;
    Lines expected;
  };
  auto with = [](CKpLineStyleBase s, void (*f)(CKpLineStyleBase&)) {
    f(s);
    return s;
  };
  const Row rows[] = {
      // A plain black sub-line takes the host's pen (its colour and width).
      {"plain", Black(), 0, 1.0, {kHost}},
      // The pattern nibble alone still counts as plain.
      {"plain with pattern", with(Black(), [](CKpLineStyleBase& s) { s.Add(5, 5); }), 0, 1.0, {kHost}},
      // White would vanish in the host's colour: own solid pen.
      {"white", with(Black(), [](CKpLineStyleBase& s) { s.m_clrCurrent = RGB(255, 255, 255); }), 0, 1.0,
       {kHost, "SelectPen style=0x00000 width=1 color=0xFFFFFF"}},
      // The styles' own values in force: own pen, width scaled by the ratio.
      {"style pen, ratio 2", Black(3), 1, 2.0, {kHost, "SelectPen style=0x00000 width=6 color=0x000000"}},
      // Ratio rounding is half away from zero: 3 * 1.5 = 4.5 -> 5.
      {"ratio 1.5", Black(3), 1, 1.5, {kHost, "SelectPen style=0x00000 width=5 color=0x000000"}},
      // Locks make a sub-line its own.
      {"width lock", with(Black(), [](CKpLineStyleBase& s) { s.SetWidthLock(TRUE); }), 0, 1.0,
       {kHost, "SelectPen style=0x00000 width=1 color=0x000000"}},
      {"colour lock", with(Black(), [](CKpLineStyleBase& s) { s.SetColorLock(TRUE); }), 0, 1.0,
       {kHost, "SelectPen style=0x00000 width=1 color=0x000000"}},
      // A width rule other than "style width" also does.
      {"width type", with(Black(), [](CKpLineStyleBase& s) { s.m_nWidthType = 0; }), 0, 1.0,
       {kHost, "SelectPen style=0x00000 width=1 color=0x000000"}},
      // Dash, cap and join pass to a geometric pen; the pattern nibble does not.
      {"dash flat miter", with(Black(4), [](CKpLineStyleBase& s) { s.SetBase(1); s.SetCap(2); s.SetJoin(2); s.Add(3, 3); }), 0, 1.0,
       {kHost, "SelectPen style=0x12201 width=4 color=0x000000 brush=SOLID"}},
      // Brush kind 3 is hatch 2.
      {"hatch 3", with(Black(4), [](CKpLineStyleBase& s) { s.m_nHatch = 3; }), 0, 1.0,
       {kHost, "SelectPen style=0x10000 width=4 color=0x000000 brush=HATCHED hatch=2"}},
      // Kinds above 7 ask for a pattern brush that cannot exist: the host's pen stays.
      {"pattern brush", with(Black(4), [](CKpLineStyleBase& s) { s.m_nHatch = 8; }), 0, 1.0, {kHost}},
      // A negative kind has no hatch: likewise.
      {"negative brush", with(Black(4), [](CKpLineStyleBase& s) { s.m_nHatch = -1; }), 0, 1.0, {kHost}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Fixture f;
    CKpLineStyleBase sub = r.sub;
    f.engine.m_bStylePen = r.stylePen;
    f.engine.SetRatio(r.ratio);
    EXPECT_EQ(f.engine.CreatePen(&sub), 1);
    EXPECT_EQ(f.dc.GetCalls(), r.expected);
  }
}

TEST(PenSetup, PointerFormNullOnlyReselectsTheHostPen) {
  Fixture f;
  CKpLineStyleBase s = Black(3);
  f.engine.m_bStylePen = 1;
  f.engine.CreatePen(&s);
  EXPECT_EQ(f.dc.GetCurrentPen(), &f.engine.m_Pen);
  f.dc.Clear();
  EXPECT_EQ(f.engine.CreatePen(nullptr), 1);
  EXPECT_EQ(f.dc.GetCalls(), Lines{kHost});
  EXPECT_EQ(f.dc.GetCurrentPen(), &f.hostPen);
}

// Reference form (the fast path): a plain sub-line leaves the DC alone, any
// other gets a geometric pen whose width is scaled only under a width lock.
TEST(PenSetup, ReferenceForm) {
  {
    Fixture f;
    CKpLineStyleBase white = Black();
    white.m_clrCurrent = RGB(255, 255, 255);  // no white exception here
    f.engine.CreatePen(white);
    EXPECT_TRUE(f.dc.GetCalls().empty());
  }
  {
    Fixture f;
    f.engine.m_bStylePen = 1;
    f.engine.SetRatio(2.0);
    CKpLineStyleBase s = Black(3);
    f.engine.CreatePen(s);
    EXPECT_EQ(f.dc.GetCalls(), (Lines{kHost, "SelectPen style=0x10000 width=3 color=0x000000 brush=SOLID"}));
    f.dc.Clear();
    s.SetWidthLock(TRUE);
    f.engine.CreatePen(s);
    EXPECT_EQ(f.dc.GetCalls(), (Lines{kHost, "SelectPen style=0x10000 width=6 color=0x000000 brush=SOLID"}));
  }
}

TEST(PenSetup, EachNewPenReplacesTheEnginesOwn) {
  Fixture f;
  f.engine.m_bStylePen = 1;
  CKpLineStyleBase a = Black(2), b = Black(7);
  f.engine.CreatePen(&a);
  f.engine.CreatePen(&b);
  LOGPEN lp{};
  ASSERT_TRUE(f.engine.m_Pen.GetLogPen(&lp));
  EXPECT_EQ(lp.lopnWidth.x, 7);
  // A pen that cannot be made leaves the engine's pen empty and the host's selected.
  CKpLineStyleBase bad = Black(2);
  bad.m_nHatch = 9;
  f.engine.CreatePen(&bad);
  EXPECT_FALSE(f.engine.m_Pen.IsValid());
  EXPECT_EQ(f.dc.GetCurrentPen(), &f.hostPen);
}

}  // namespace
