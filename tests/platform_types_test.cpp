#include <gtest/gtest.h>

#include <climits>

#include "platform/CRect.h"
#include "platform/KpString.h"

namespace {

TEST(PlatformTypes, ColorRefIsBlueGreenRed) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
  EXPECT_EQ(GetRValue(0x00563412u), 0x12u);
  EXPECT_EQ(GetGValue(0x00563412u), 0x34u);
  EXPECT_EQ(GetBValue(0x00563412u), 0x56u);
  static_assert(sizeof(POINT) == 8 && sizeof(RECT) == 16, "32-bit coordinates");
}

TEST(PlatformTypes, RectHelpers) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  r.DeflateRect(5, 10);
  EXPECT_EQ(r, CRect(15, 30, 105, 60));
  EXPECT_TRUE(r.PtInRect(CPoint(15, 30)));
  EXPECT_FALSE(r.PtInRect(CPoint(105, 30)));  // right edge excluded

  CRect flipped(100, 50, 0, 0);
  EXPECT_TRUE(flipped.IsRectEmpty());
  flipped.NormalizeRect();
  EXPECT_EQ(flipped, CRect(0, 0, 100, 50));

  CRect i;
  EXPECT_TRUE(i.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
  EXPECT_EQ(i, CRect(5, 5, 10, 10));
  EXPECT_FALSE(i.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));  // touching only
  EXPECT_TRUE(i.IsRectNull());

  CRect u;
  EXPECT_TRUE(u.UnionRect(CRect(0, 0, 1, 1), CRect(5, 5, 6, 6)));
  EXPECT_EQ(u, CRect(0, 0, 6, 6));

  // The centre of the widest possible rectangle does not overflow.
  CRect wide(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(wide.CenterPoint(), CPoint(0, 0));
}

TEST(PlatformTypes, CaseFoldingLeavesMultiByteSequencesAlone) {
  struct Row {
    const char* what;
    CString in, upper;
  };
  const Row rows[] = {
      {"ascii", "Line.lsl", "LINE.LSL"},
      {"cjk untouched", "线型abc", "线型ABC"},
      // Latin-1 letters in UTF-8 are not folded: their bytes must not change.
      {"accented", "é", "é"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(kp::MakeUpper(r.in), r.upper);
  }
  EXPECT_EQ(kp::CompareNoCase("RootGroup", "rootgroup"), 0);
  EXPECT_LT(kp::CompareNoCase("abc", "ABD"), 0);
  EXPECT_GT(kp::CompareNoCase("b", "A"), 0);
  EXPECT_LT(kp::CompareNoCase("ab", "abc"), 0);
  EXPECT_NE(kp::CompareNoCase("É", "é"), 0);  // only ASCII folds
  EXPECT_LT(kp::Compare("A", "a"), 0);
  // High bytes compare as unsigned, after every ASCII byte.
  EXPECT_GT(kp::Compare("线", "z"), 0);
}

}  // namespace
