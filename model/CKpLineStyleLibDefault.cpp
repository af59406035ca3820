// The built-in content of a library that has no file yet, and the style from
// which a new style is started.
#include <string>
#include <vector>

#include "model/CKpLineStyleLib.h"
#include "module/KpModulePath.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightGrey = RGB(200, 200, 200);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr long kFirstDefaultID = 6;

// One sub-line of a built-in style. Everything not listed here is what a new
// sub-line has (offsets 0, solid round pen, width type 9, no font or symbol).
struct SubLineRow {
  short width;
  COLORREF color;
  short kind;              // m_nHVMode
  short length;            // m_nHVLength
  std::vector<long> dash;  // entry lengths, drawn first; empty = continuous
  short repeatMode;        // 1 for the electric and parallel kinds
};

// One extended attribute, placed at each of `positions` (KP_EXT_POS_*).
struct ExtRow {
  std::int32_t shape;
  BYTE width;
  BYTE height;
  std::vector<long> positions;
};

struct StyleRow {
  std::vector<SubLineRow> subLines;  // in drawing order
  std::vector<ExtRow> ext;
};

// Hollow ellipses of size 0, which leave a dot of the pen, at both ends and
// at every vertex: the poles of the electric styles.
const std::vector<ExtRow> kNodesAtEndsAndVertices = {
    {6, 0, 0, {KP_EXT_POS_HEAD, KP_EXT_POS_TAIL, KP_EXT_POS_VERTEX}}};

// The 38 built-in styles in library order; the first gets ID 6.
const std::vector<StyleRow>& DefaultRows() {
  static const std::vector<StyleRow> rows = {
      // 6: thin solid line
      {{{1, kBlack, 0, 0, {}, 0}}, {}},
      // 7: fine dashes
      {{{1, kBlack, 0, 0, {6, 6}, 0}}, {}},
      // 8: short dashes
      {{{1, kBlack, 0, 0, {10, 10}, 0}}, {}},
      // 9: medium dashes
      {{{1, kBlack, 0, 0, {20, 20}, 0}}, {}},
      // 10: dash-dot
      {{{1, kBlack, 0, 0, {40, 6, 6, 6}, 0}}, {}},
      // 11: long dashes
      {{{1, kBlack, 0, 0, {60, 60}, 0}}, {}},
      // 12: thick dash-dot
      {{{3, kBlack, 0, 0, {90, 15, 15, 15}, 0}}, {}},
      // 13: thick dash-dot-dot
      {{{3, kBlack, 0, 0, {90, 15, 15, 15, 15, 15}, 0}}, {}},
      // 14: heavy dash-dot-dot (width locked)
      {{{6, kBlack, 0, 0, {90, 18, 12, 18, 12, 18}, 0}}, {}},
      // 15: wide grey dash-dot (width locked)
      {{{8, kLightGrey, 0, 0, {100, 18, 12, 18}, 0}}, {}},
      // 16: grey casing with a white dashed core (width locked)
      {{{15, kLightGrey, 0, 0, {}, 0}, {9, kWhite, 0, 0, {90, 90}, 0}}, {}},
      // 17: black casing with a white dashed core, railway look (width locked)
      {{{12, kBlack, 0, 0, {}, 0}, {6, kWhite, 0, 0, {60, 60}, 0}}, {}},
      // 18: narrower railway (width locked)
      {{{9, kBlack, 0, 0, {}, 0}, {3, kWhite, 0, 0, {45, 45}, 0}}, {}},
      // 19: line with filled circles on it
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 25, 16, {16, 16}, 0}}, {}},
      // 20: line with centred ticks
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 1, 9, {18, 18}, 0}}, {}},
      // 21: line with ticks on the upper side
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 2, 18, {18, 18}, 0}}, {}},
      // 22: line with ticks on the lower side
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 3, 18, {18, 18}, 0}}, {}},
      // 23: ticks alternating up and down
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 4, 12, {15, 15}, 0}}, {}},
      // 24: long and short ticks, upwards
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 5, 12, {15, 15}, 0}}, {}},
      // 25: long and short ticks, downwards
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 6, 12, {15, 15}, 0}}, {}},
      // 26: long ticks up, short down
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 7, 12, {15, 15}, 0}}, {}},
      // 27: short ticks up, long down
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 8, 12, {15, 15}, 0}}, {}},
      // 28: wave
      {{{3, kBlack, 14, 9, {30, 30}, 0}}, {}},
      // 29: battlement
      {{{3, kBlack, 15, 9, {30, 30}, 0}}, {}},
      // 30: line with slanted ticks "/"
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 10, 12, {15, 30}, 0}}, {}},
      // 31: line with slanted ticks "\"
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 9, 12, {15, 30}, 0}}, {}},
      // 32: chevrons "<" and ">" with a dash-dot line
      {{{1, kBlack, 12, 10, {20, 200}, 0},
        {1, kBlack, 13, 10, {200, 20}, 0},
        {1, kBlack, 0, 0, {120, 20, 60, 20}, 0}},
       {}},
      // 33: line with boxes
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 16, 10, {100, 40}, 0}}, {}},
      // 34: dash-dot line with "+" crosses
      {{{1, kBlack, 0, 0, {80, 40, 20, 0}, 0}, {1, kBlack, 17, 10, {100, 40}, 0}}, {}},
      // 35: dash-dot line with "X" crosses
      {{{1, kBlack, 0, 0, {80, 40, 20, 0}, 0}, {1, kBlack, 18, 10, {100, 40}, 0}}, {}},
      // 36: heavy dash-dot with centred ticks
      {{{6, kBlack, 0, 0, {45, 18, 9, 18}, 0}, {6, kBlack, 1, 12, {45, 45}, 0}}, {}},
      // 37: red parallel double line
      {{{1, kRed, 43, 10, {}, 1}}, {}},
      // 38: electric line with middle line, nodes at ends and vertices
      {{{1, kBlack, 40, 16, {60, 45}, 1}}, kNodesAtEndsAndVertices},
      // 39: blue electric line in two layers, nodes at ends and vertices
      {{{1, kBlue, 40, 16, {60, 45}, 1}, {1, kBlue, 39, 16, {70, 45}, 1}}, kNodesAtEndsAndVertices},
      // 40: solid line with an electric line (second form), nodes at ends and vertices
      {{{1, kBlack, 0, 0, {}, 0}, {1, kBlack, 42, 11, {60, 45}, 1}}, kNodesAtEndsAndVertices},
      // 41: solid line with an arrowhead at the middle of the polyline
      {{{1, kBlack, 0, 0, {}, 0}}, {{1, 20, 20, {KP_EXT_POS_LINE_CENTRE}}}},
      // 42: solid line with an arrowhead at its end
      {{{1, kBlack, 0, 0, {}, 0}}, {{3, 20, 20, {KP_EXT_POS_TAIL}}}},
      // 43: gradient line
      {{{1, kBlack, 46, 8, {}, 1}}, {}},
  };
  return rows;
}

CKpLineStyleBase MakeSubLine(const SubLineRow& row, long id) {
  CKpLineStyleBase s;
  s.SetInterStyle(row.width, static_cast<long>(row.color), 0);
  s.m_nHVMode = row.kind;
  s.m_nHVLength = row.length;
  s.SetRepeatMode(row.repeatMode);
  // Entries alternate drawn, gap; appending keeps the user-style nibble of the
  // pen word in step with the pattern.
  for (size_t i = 0; i < row.dash.size(); ++i)
    s.AppendEntry(static_cast<DWORD>(row.dash[i]), i % 2 == 0 ? 1 : 0);
  // The first style is the plain solid line and is left without repair; every
  // other sub-line finishes its last incomplete section at the line's end.
  s.SetHorizRepair(id != kFirstDefaultID ? TRUE : FALSE);
  // The heavy styles keep their widths when a host applies a style-wide width.
  s.SetWidthLock(id >= 14 && id <= 18 ? TRUE : FALSE);
  return s;
}

}  // namespace

long CKpLineStyleLib::CreateDefault() {
  if (LoadFromFile(kp::DefaultLibraryPath()) != 0) return 1;

  RemoveAll();
  long id = kFirstDefaultID;
  for (const StyleRow& row : DefaultRows()) {
    CKpLineStyleObj style;
    style.SetID(id);
    style.SetName(std::to_string(id));
    for (const SubLineRow& sub : row.subLines) {
      CKpLineStyleBase s = MakeSubLine(sub, id);
      style.AddStyleBase(s);
    }
    for (const ExtRow& ext : row.ext)
      for (long pos : ext.positions)
        style.GetObjExt().SetObjExt(pos, new tagLineStyleObjExt{ext.width, ext.height, 0, ext.shape});
    AddStyleObj(style);
    ++id;
  }
  InitStyleGroup();
  SetModifiedFlag(TRUE);
  return Count();
}

CKpLineStyleObj CKpLineStyleLib::CreateSeedLine() {
  CKpLineStyleObj seed;
  seed.SetID(0);
  seed.SetName("NoName");
  CKpLineStyleBase s;
  s.SetInterStyle(1, 0, 0);
  seed.AddStyleBase(s);
  SetModifiedFlag(TRUE);
  return seed;
}
