#include "engine/KpGlyphText.h"

namespace kp {

CString GlyphText(short symbol) {
  const unsigned code = static_cast<unsigned>(symbol) & 0xFFu;
  if (code == 0) return CString();
  if (code < 0x80) return CString(1, static_cast<char>(code));
  CString s;
  s += static_cast<char>(0xC0u | (code >> 6));
  s += static_cast<char>(0x80u | (code & 0x3Fu));
  return s;
}

}  // namespace kp
