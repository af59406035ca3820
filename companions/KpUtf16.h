#pragma once
// Conversion between the UTF-8 strings used everywhere in memory and the
// UTF-16 form that library files store their Unicode strings in.
//
// Neither direction fails: malformed input is replaced, not rejected, because
// a single damaged name must not make a whole library unreadable.
#include <string>

#include "platform/KpTypes.h"

namespace kp {

// UTF-8 -> UTF-16 (code points beyond U+FFFF become surrogate pairs).
// Every byte that does not belong to a well-formed sequence becomes one
// U+FFFD: a stray continuation byte, a truncated sequence (its lead and each
// continuation byte that arrived), an overlong form, an encoded surrogate and
// anything above U+10FFFF.
std::u16string Utf8ToUtf16(const CString& utf8);

// UTF-16 -> UTF-8. A high surrogate not followed by a low one, and a low
// surrogate not preceded by a high one, each become U+FFFD.
CString Utf16ToUtf8(const std::u16string& utf16);

}  // namespace kp
