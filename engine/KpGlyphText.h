#pragma once
// The text that draws a glyph decoration's character.
#include "platform/KpTypes.h"

namespace kp {

// The character of a glyph decoration is the low byte of the code. Strings
// are UTF-8, so a code of 0x80..0xFF is written as the character U+0080..
// U+00FF (its Latin-1 meaning) in two bytes; backends that draw with a
// symbol-charmap font map it to U+F000 + code themselves. Code 0 gives an
// empty string, which draws nothing.
CString GlyphText(short symbol);

}  // namespace kp
