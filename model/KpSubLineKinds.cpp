#include "model/KpSubLineKinds.h"

namespace kp {

const char* SubLineKindLabel(int kind) {
  static const char* const kLabels[KP_SUBLINE_KIND_COUNT] = {
      "短横线(系统线型)",  // 0: plain dashed line by the pattern (system style)
      "短竖线(中心对齐)",  // 1: short ticks across the line, centred
      "短竖线(上边对齐)",  // 2: short ticks on the upper side
      "短竖线(下边对齐)",  // 3: short ticks on the lower side
      "上下交错",  // 4: ticks alternating up and down
      "长短交错(向上)",  // 5: long and short ticks alternating, upwards
      "长短交错(向下)",  // 6: long and short ticks alternating, downwards
      "长短交错(上长下短)",  // 7: long up, short down
      "长短交错(上短下长)",  // 8: short up, long down
      "倾斜线( \\ )",  // 9: slanted ticks, backslash
      "倾斜线( / )",  // 10: slanted ticks, slash
      "倾斜线(上下交错)",  // 11: slanted ticks alternating
      "箭头式( < )",  // 12: chevrons pointing back
      "箭头式( > )",  // 13: chevrons pointing forward
      "波浪线",  // 14: wave
      "长城符号",  // 15: battlement (wall)
      "长方盒",  // 16: rectangular boxes
      "横竖交错( + )",  // 17: crosses "+"
      "交叉符号( X )",  // 18: crosses "X"
      "交叉符号(向上)",  // 19: crosses above the line
      "交叉符号(向下)",  // 20: crosses below the line
      "交叉符号(上下交错)",  // 21: crosses alternating
      "半圆弧(向上)",  // 22: half arcs upwards
      "半圆弧(向下)",  // 23: half arcs downwards
      "半圆弧(上下交错)",  // 24: half arcs alternating
      "实心圆(线中心)",  // 25: filled circles on the line
      "空心圆(线中心)",  // 26: hollow circles on the line
      "圆弧(上下交错)",  // 27: arcs alternating
      "字型符号(水平)",  // 28: font glyph, horizontal
      "字型符号(反向水平)",  // 29: font glyph, reversed horizontal
      "字型符号(垂直)",  // 30: font glyph, vertical
      "字型符号(反向垂直)",  // 31: font glyph, reversed vertical
      "字型符号(固定角度)",  // 32: font glyph at the fixed angle `m_nAngle`
      "字型符号(相对角度)",  // 33: font glyph at `m_nAngle` relative to the segment
      "短线带尾箭头",  // 34: dashes with an arrow at the tail
      "短线带头箭头",  // 35: dashes with an arrow at the head
      "短线带双箭头",  // 36: dashes with arrows at both ends
      "短线中间带正箭头",  // 37: dashes with a forward arrow in the middle
      "短线中间带反箭头",  // 38: dashes with a backward arrow in the middle
      "电力段线",  // 39: electric line
      "电力段线(带中间线)",  // 40: electric line with middle line
      "电力段线(特殊)",  // 41: electric line, special
      "电力段线(带中间线2)",  // 42: electric line with middle line, second form
      "平行双线(中心对齐)",  // 43: parallel double line, centred
      "平行双线(上边对齐)",  // 44: parallel double line, upper side
      "平行双线(下边对齐)",  // 45: parallel double line, lower side
      "渐变线",  // 46: gradient line
      "自定义符号(相对角度)",  // 47: custom symbol at `m_nAngle` relative to the segment
      "自定义符号(固定角度)",  // 48: custom symbol at the fixed angle `m_nAngle`
  };
  return (kind >= 0 && kind < KP_SUBLINE_KIND_COUNT) ? kLabels[kind] : nullptr;
}

}  // namespace kp
