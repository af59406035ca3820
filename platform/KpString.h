#pragma once
// Case folding and comparison of UTF-8 strings. Only the ASCII letters are
// folded: every byte of a multi-byte sequence is >= 0x80 and is left alone,
// so a sequence is never split or altered.
#include "platform/KpTypes.h"

namespace kp {

char AsciiUpper(char c);
// Returns a copy with the ASCII letters upper-cased.
CString MakeUpper(const CString& s);
// Byte-wise comparison: <0, 0, >0.
int Compare(const CString& a, const CString& b);
// Comparison with the ASCII letters folded: <0, 0, >0.
int CompareNoCase(const CString& a, const CString& b);

}  // namespace kp
