#include "platform/KpString.h"

#include <algorithm>

namespace kp {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

CString MakeUpper(const CString& s) {
  CString out(s);
  std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
  return out;
}

namespace {
int CompareBytes(const CString& a, const CString& b, bool fold) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(fold ? AsciiUpper(a[i]) : a[i]);
    auto cb = static_cast<unsigned char>(fold ? AsciiUpper(b[i]) : b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
}  // namespace

int Compare(const CString& a, const CString& b) { return CompareBytes(a, b, false); }
int CompareNoCase(const CString& a, const CString& b) { return CompareBytes(a, b, true); }

size_t Utf8PrefixLength(const char* s, size_t max) {
  size_t n = 0;
  while (n <= max && s[n] != '\0') ++n;  // never reads past the terminator
  if (n <= max) return n;
  n = max;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // sequence that the cut would split, and cut before it.
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0u) == 0x80u) --n;
  return n;
}

}  // namespace kp
