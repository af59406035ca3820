#include "companions/CKpByteArrayEx.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "companions/KpUtf16.h"

void CKpByteArrayEx::SetSize(long n) { m_data.resize(n > 0 ? static_cast<size_t>(n) : 0); }

void CKpByteArrayEx::RemoveAllSafely() { std::vector<unsigned char>().swap(m_data); }

void CKpByteArrayEx::Add(long value) {
  const auto word = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) m_data.push_back(static_cast<unsigned char>(word >> shift));
}

void CKpByteArrayEx::Add(const unsigned char* data, int n) {
  if (data != nullptr && n > 0) m_data.insert(m_data.end(), data, data + n);
}

void CKpByteArrayEx::Add(const CString& s) {
  Add(static_cast<long>(s.size()));
  m_data.insert(m_data.end(), s.begin(), s.end());
}

void CKpByteArrayEx::AddUnicode(const CString& s) {
  const std::u16string units = kp::Utf8ToUtf16(s);
  Add(static_cast<long>(units.size()));
  for (char16_t u : units) {
    m_data.push_back(static_cast<unsigned char>(u & 0xFF));
    m_data.push_back(static_cast<unsigned char>(u >> 8));
  }
}

bool CKpByteArrayEx::CanRead(int pos, long long n) const {
  // Counts read from the stream are at most 2 * 0xFFFFFFFF, so the sum cannot overflow.
  const long long end = static_cast<long long>(pos) + n;
  if (pos >= 0 && n >= 0 && end <= static_cast<long long>(m_data.size()) && end <= INT_MAX) return true;
  m_failed = true;
  return false;
}

long CKpByteArrayEx::GetLongAt(int& pos) const {
  if (!CanRead(pos, 4)) return 0;
  std::uint32_t word = 0;
  for (int i = 0; i < 4; ++i) word |= static_cast<std::uint32_t>(m_data[pos + i]) << (8 * i);
  pos += 4;
  return static_cast<std::int32_t>(word);
}

bool CKpByteArrayEx::GetBytesAt(int& pos, unsigned char* out, int n) const {
  if (!CanRead(pos, n) || (out == nullptr && n > 0)) {
    m_failed = true;
    if (out != nullptr && n > 0) std::memset(out, 0, static_cast<size_t>(n));
    return false;
  }
  if (n > 0) std::memcpy(out, m_data.data() + pos, static_cast<size_t>(n));
  pos += n;
  return true;
}

CString CKpByteArrayEx::GetStringAt(int& pos) const {
  if (!CanRead(pos, 4)) return CString();
  int p = pos;
  const auto n = static_cast<std::uint32_t>(GetLongAt(p));
  if (!CanRead(p, n)) return CString();
  CString s(reinterpret_cast<const char*>(m_data.data() + p), n);
  pos = p + static_cast<int>(n);
  return s;
}

CString CKpByteArrayEx::GetUnicodeStringAt(int& pos) const {
  if (!CanRead(pos, 4)) return CString();
  int p = pos;
  const auto n = static_cast<std::uint32_t>(GetLongAt(p));
  if (!CanRead(p, 2LL * n)) return CString();
  // Only now is n known to be backed by bytes in the buffer.
  std::u16string units(n, u'\0');
  const unsigned char* src = m_data.data() + p;
  for (std::uint32_t i = 0; i < n; ++i) units[i] = static_cast<char16_t>(src[2 * i] | (src[2 * i + 1] << 8));
  pos = p + static_cast<int>(2 * n);
  return kp::Utf16ToUtf8(units);
}
