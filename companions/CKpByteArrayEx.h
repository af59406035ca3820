#pragma once
// The newer byte stream: writes append at the end, readers take the position
// to read at by reference and advance it past the item they read.
//
// Byte forms (other programs read and write these files, so they are fixed):
//   long     4 bytes, little-endian two's complement. Only the low 32 bits of
//            the value are written; reading sign-extends the 32-bit word.
//   bytes    n bytes as given, with no length of their own: read them back
//            with exactly the count that was written.
//   string   (Add(CString)) a 4-byte little-endian byte count n, then the n
//            bytes of the UTF-8 string as they are; no terminator.
//   unicode  (AddUnicode) a 4-byte little-endian count n of UTF-16 code
//            units, then 2n bytes of UTF-16LE; characters beyond U+FFFF are
//            surrogate pairs. Writing replaces each byte of malformed UTF-8
//            with U+FFFD; reading replaces each unpaired surrogate with
//            U+FFFD (see KpUtf16.h).
// A block of 4-byte little-endian words added as bytes reads back with
// GetLongAt, word by word.
//
// Reading never goes out of bounds, whatever the buffer or the position
// holds. A read at a negative position, with a negative n, or one that does
// not fit in what is left (including a string whose count runs past the end)
// fails: it returns 0 / an empty string / a zero-filled output buffer, it
// leaves pos unchanged, and it sets the failed flag. The flag stays set until
// ClearFailed, so a whole record can be read and checked once at the end.
// String counts are checked against the bytes left before anything is
// allocated. Writes never fail.
#include <vector>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpByteArrayEx {
 public:
  unsigned char* GetData() { return m_data.data(); }
  const unsigned char* GetData() const { return m_data.data(); }
  long GetSize() const { return static_cast<long>(m_data.size()); }
  // Grows with zero bytes or truncates; a negative size counts as 0.
  void SetSize(long n);
  // Empties the stream and gives its memory back.
  void RemoveAllSafely();

  void Add(long value);
  // A null pointer or n <= 0 adds nothing.
  void Add(const unsigned char* data, int n);
  void Add(const CString& s);
  void AddUnicode(const CString& s);

  long GetLongAt(int& pos) const;
  // The same reads, reporting their own success: a failed read never moves
  // the position, so the result does not depend on what earlier reads left
  // in the sticky failed flag.
  bool TryGetLongAt(int& pos, long& out) const {
    const int before = pos;
    out = GetLongAt(pos);
    return pos != before;
  }
  bool TryGetUnicodeStringAt(int& pos, CString& out) const {
    const int before = pos;
    out = GetUnicodeStringAt(pos);
    return pos != before;
  }
  // Copies n bytes to out. Returns false on failure, with out[0..n) zeroed
  // when n > 0 (out must hold n bytes, as on success).
  bool GetBytesAt(int& pos, unsigned char* out, int n) const;
  CString GetStringAt(int& pos) const;
  CString GetUnicodeStringAt(int& pos) const;

  bool IsFailed() const { return m_failed; }
  void ClearFailed() { m_failed = false; }

 private:
  // True when n bytes can be read at pos and the position after them still
  // fits in an int; otherwise sets the failed flag.
  bool CanRead(int pos, long long n) const;

  std::vector<unsigned char> m_data;
  mutable bool m_failed = false;  // readers are const but must report failure
};
