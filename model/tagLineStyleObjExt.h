#pragma once
// One extended attribute of a line style: a decoration drawn on the polyline
// as a whole (arrow, node shape or library symbol) with its size and angle.
// The record is written to and read from library files byte for byte, so its
// layout is fixed.

#include <cstddef>
#include <cstdint>

struct tagLineStyleObjExt {
  std::uint8_t byWidth;   // width of the decoration, logical units
  std::uint8_t byHeight;  // height (or length) of the decoration, logical units
  std::int16_t nAngle;    // rotation in tenths of a degree, 0..3600
  // 0 none; 1..5 arrowheads; 6..9 node shapes (hollow ellipse, hollow turned
  // rectangle, filled ellipse, filled turned rectangle); 10 and above a symbol
  // ID of the library's symbol library.
  std::int32_t nShape;
};

static_assert(sizeof(tagLineStyleObjExt) == 8, "file record is 8 bytes");
static_assert(offsetof(tagLineStyleObjExt, byHeight) == 1, "file layout");
static_assert(offsetof(tagLineStyleObjExt, nAngle) == 2, "file layout");
static_assert(offsetof(tagLineStyleObjExt, nShape) == 4, "file layout");

// Shapes at or above this value are symbol IDs; below it they are built in.
constexpr std::int32_t KP_EXT_SHAPE_FIRST_SYMBOL = 10;

// Where on the polyline a decoration goes. The value is both the bit number in
// the attribute token and the order in which the editor lists the positions.
constexpr long KP_EXT_POS_HEAD = 0;            // start of the polyline
constexpr long KP_EXT_POS_TAIL = 1;            // end of the polyline
constexpr long KP_EXT_POS_VERTEX = 2;          // every middle vertex
constexpr long KP_EXT_POS_SEGMENT_CENTRE = 3;  // centre of every segment
constexpr long KP_EXT_POS_LINE_CENTRE = 4;     // centre of the whole polyline
constexpr long KP_EXT_POS_COUNT = 5;
