#pragma once
// The input of the drawing fuzz target: bytes decoded into what a host hands
// the engine (a style, a polyline, a ratio, engine switches and a preview
// rectangle), and the encoder that turns such a drawing back into bytes, so
// that the seed generator and the replay tests speak the decoder's language.
//
// Byte layout (little-endian; reading past the end gives zeros, so every
// byte string decodes to some drawing and trailing bytes are ignored):
//   u16  switches (KP_DRAW_* bits)
//   i16  ratio mantissa, i8 ratio exponent:
//        ratio = mantissa / 128 * 10^(exponent mod 13 - 6)
//   u8   map mode given to the engine (taken as it is, invalid ones too)
//   i32  width override, u32 colour override (used when the switch is on)
//   u8   sub-line count (low 3 bits), then per sub-line:
//          84-byte sub-line record as files hold it,
//          u8 entry count (low 6 bits), per entry u32 length and u8 flag
//   u8   extended-attribute token, then per set bit 0..4 the 8-byte record
//        (u8 width, u8 height, i16 angle, i32 shape)
//   u16  point count (low 10 bits, at most what the bytes left can hold),
//        i32 x, i32 y of the first point, u8 shift (low 5 bits), then per
//        further point i16 dx, i16 dy: each point is the previous one moved
//        by (dx << shift, dy << shift), wrapped to 32 bits
//   i16  left, top, right, bottom of the preview rectangle
//   i16  decoration length, i16 decoration width, u8 position, u8 kind
//   i8   index of the sub-line drawn alone
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/CKpLineStyleObj.h"
#include "platform/KpGdiTypes.h"
#include "platform/KpTypes.h"

namespace kp {

// Engine and drawing switches.
constexpr std::uint16_t KP_DRAW_ANTI_ALIAS = 1u << 0;  // SetClearSawtooth(1)
constexpr std::uint16_t KP_DRAW_COMPRESS = 1u << 1;    // long polylines may be thinned
constexpr std::uint16_t KP_DRAW_PRINTING = 1u << 2;    // the recording DC is a printer
constexpr std::uint16_t KP_DRAW_FAST_PENS = 1u << 3;   // CreateFastPen + PolylineFast
constexpr std::uint16_t KP_DRAW_FAST_FAST = 1u << 4;   // CreateFastFastPen + PolylineFastFast
constexpr std::uint16_t KP_DRAW_WIDTH = 1u << 5;       // style-wide width override
constexpr std::uint16_t KP_DRAW_COLOR = 1u << 6;       // style-wide colour override
constexpr std::uint16_t KP_DRAW_SYMBOLS = 1u << 7;     // the engine gets the built-in symbols
constexpr std::uint16_t KP_DRAW_QT = 1u << 8;          // also drawn on a small image through Qt
constexpr std::uint16_t KP_DRAW_OWN_PENS = 1u << 9;    // without overrides: SetLineStyle() first
// The drawing operations besides Polyline, which always runs: each input
// picks its own, so that one input does not pay for all of them.
constexpr std::uint16_t KP_DRAW_ONE_SUBLINE = 1u << 10;  // Polyline(index, ...)
constexpr std::uint16_t KP_DRAW_POLYGON = 1u << 11;      // Polygon
constexpr std::uint16_t KP_DRAW_PARTS = 1u << 12;        // PolyPolyline, the points in two parts
constexpr std::uint16_t KP_DRAW_RINGS = 1u << 13;        // PolyPolygon, the points in two rings
constexpr std::uint16_t KP_DRAW_PREVIEWS = 1u << 14;     // every preview, in the preview rectangle
// The recording DC keeps the text of the first calls (fuzz_draw.cpp); without
// it the calls only change its state, formatting being most of what a long
// drawing costs.
constexpr std::uint16_t KP_DRAW_TRACE = 1u << 15;
constexpr std::uint16_t KP_DRAW_ALL_OPERATIONS =
    KP_DRAW_ONE_SUBLINE | KP_DRAW_POLYGON | KP_DRAW_PARTS | KP_DRAW_RINGS | KP_DRAW_PREVIEWS;

struct DrawInput {
  std::uint16_t switches = 0;
  std::int16_t ratioMantissa = 128;
  std::int8_t ratioExponent = 6;  // 10^0
  std::uint8_t mapMode = MM_TEXT;
  std::int32_t width = 0;
  std::uint32_t color = 0;
  CKpLineStyleObj style;
  std::vector<POINT> points;
  RECT sampleRect{0, 0, 0, 0};
  std::int16_t decorationLength = 0;
  std::int16_t decorationWidth = 0;
  std::uint8_t decorationPosition = 0;
  std::uint8_t decorationKind = 0;
  std::int8_t subLineIndex = 0;

  bool Has(std::uint16_t bit) const { return (switches & bit) != 0; }
  double Ratio() const;
};

DrawInput DecodeDrawInput(const std::uint8_t* data, std::size_t size);

// The bytes DecodeDrawInput reads back as `in`, as far as the layout can
// hold it: at most 7 sub-lines of at most 63 entries, 1023 points, each
// point within (i16 << shift) of the previous one. The points are written as
// steps from the first with the smallest shift that expresses them all.
std::vector<std::uint8_t> EncodeDrawInput(const DrawInput& in);

}  // namespace kp
