#include "companions/CKpByteArray.h"

#include <cstdint>
#include <cstring>

void CKpByteArray::SetSize(long n) {
  m_data.resize(n > 0 ? static_cast<size_t>(n) : 0);
  if (m_pos > m_data.size()) m_pos = m_data.size();
}

void CKpByteArray::WriteLong(long value) {
  const auto word = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) m_data.push_back(static_cast<unsigned char>(word >> shift));
}

void CKpByteArray::WriteByte(unsigned char value) { m_data.push_back(value); }

void CKpByteArray::Write(const unsigned char* data, unsigned long n) {
  if (data != nullptr && n > 0) m_data.insert(m_data.end(), data, data + n);
}

void CKpByteArray::WriteString(const CString& s) {
  WriteLong(static_cast<long>(s.size()));
  Write(reinterpret_cast<const unsigned char*>(s.data()), s.size());
}

bool CKpByteArray::CanRead(unsigned long long n) {
  // m_pos never exceeds the size (SetSize pulls it back), so this cannot wrap.
  if (n <= m_data.size() - m_pos) return true;
  m_failed = true;
  return false;
}

long CKpByteArray::ReadLong() {
  if (!CanRead(4)) return 0;
  std::uint32_t word = 0;
  for (int i = 0; i < 4; ++i) word |= static_cast<std::uint32_t>(m_data[m_pos + i]) << (8 * i);
  m_pos += 4;
  return static_cast<std::int32_t>(word);
}

unsigned char CKpByteArray::ReadByte() {
  if (!CanRead(1)) return 0;
  return m_data[m_pos++];
}

bool CKpByteArray::Read(unsigned char* out, unsigned long n) {
  if (n == 0) return true;
  if (out == nullptr) {
    m_failed = true;
    return false;
  }
  if (!CanRead(n)) {
    std::memset(out, 0, n);
    return false;
  }
  std::memcpy(out, m_data.data() + m_pos, n);
  m_pos += n;
  return true;
}

CString CKpByteArray::ReadString() {
  if (!CanRead(4)) return CString();
  const size_t start = m_pos;
  const auto n = static_cast<std::uint32_t>(ReadLong());
  if (!CanRead(n)) {
    m_pos = start;
    return CString();
  }
  CString s(reinterpret_cast<const char*>(m_data.data() + m_pos), n);
  m_pos += n;
  return s;
}
