#pragma once
// The older, cursor-based byte stream: writes append at the end, reads take
// items from an internal read position in the order they were written.
//
// Byte forms (other programs read and write these files, so they are fixed):
//   long    4 bytes, little-endian two's complement. Only the low 32 bits of
//           the value are written; reading sign-extends the 32-bit word.
//   byte    1 byte.
//   raw     n bytes as given, with no length of their own: read them back
//           with exactly the count that was written.
//   string  a 4-byte little-endian byte count n, then the n bytes of the
//           UTF-8 string as they are; no terminator.
// A raw block of 4-byte little-endian words reads back with ReadLong.
//
// Reading never goes out of bounds, whatever the buffer holds. A read that
// does not fit in what is left (a long with fewer than 4 bytes left, a raw
// block or a string whose count runs past the end) fails: it returns 0 / an
// empty string / a zero-filled output buffer, it leaves the read position
// where it was, and it sets the failed flag. The flag stays set until
// ClearFailed, so a whole record can be read and checked once at the end.
// A string count is checked against the bytes left before anything is
// allocated. Writes never fail.
#include <vector>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpByteArray {
 public:
  unsigned char* GetData() { return m_data.data(); }
  const unsigned char* GetData() const { return m_data.data(); }
  long GetSize() const { return static_cast<long>(m_data.size()); }
  // Grows with zero bytes or truncates; a negative size counts as 0. The
  // read position is pulled back to the new size if it lay beyond it.
  void SetSize(long n);

  void WriteLong(long value);
  void WriteByte(unsigned char value);
  void Write(const unsigned char* data, unsigned long n);
  void WriteString(const CString& s);

  long ReadLong();
  // ReadLong reporting its own success (a failed read does not move the position).
  bool TryReadLong(long& out) {
    const long before = GetPos();
    out = ReadLong();
    return GetPos() != before;
  }
  unsigned char ReadByte();
  // Copies n bytes to out. Returns false on failure, with out[0..n) zeroed
  // (out must hold n bytes, as on success).
  bool Read(unsigned char* out, unsigned long n);
  CString ReadString();

  // Bytes consumed by reads so far.
  long GetPos() const { return static_cast<long>(m_pos); }
  void SeekToBegin() { m_pos = 0; }

  bool IsFailed() const { return m_failed; }
  void ClearFailed() { m_failed = false; }

 private:
  // True when n more bytes can be read; otherwise sets the failed flag.
  bool CanRead(unsigned long long n);

  std::vector<unsigned char> m_data;
  size_t m_pos = 0;
  bool m_failed = false;
};
