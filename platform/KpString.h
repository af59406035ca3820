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

// Length of the longest prefix of s, at most max bytes, that does not end in
// the middle of a UTF-8 sequence (for fixed-size name fields).
size_t Utf8PrefixLength(const char* s, size_t max);
inline size_t Utf8PrefixLength(const CString& s, size_t max) { return Utf8PrefixLength(s.c_str(), max); }

}  // namespace kp
