// File records of one sub-line: the 84-byte sub-line record followed by its
// dash pattern (entry count, the entry lengths as 32-bit words, one flag byte
// per entry). Files of versions below 20031017 also hold a sub-line name
// between the record and the pattern; it is read and discarded.
//
// Readers read the whole record before they change the sub-line, so a
// truncated or malformed record leaves the sub-line exactly as it was, and a
// reader at a position (LoadEx) also leaves the position where it was.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "format/KpLittleEndian.h"
#include "format/KpSubLineRecord.h"
#include "model/CKpLineStyleBase.h"

namespace {

// Files of this version and later no longer store a sub-line name.
constexpr long kFirstVersionWithoutName = 20031017;
// Bytes one pattern entry takes in a file: its length word and its flag byte.
constexpr long long kBytesPerEntry = 5;

// A pattern as it is laid out in a file: every length word, then every flag.
std::vector<BYTE> EncodePattern(const CKpLineStyleBase& s) {
  const std::size_t n = static_cast<std::size_t>(s.Count());
  std::vector<BYTE> bytes(n * 5);
  const DWORD* lengths = s.GetStyleSet();
  const BYTE* flags = s.GetByteSet();
  for (std::size_t i = 0; i < n; ++i) {
    kp::PutU32(bytes.data() + 4 * i, lengths[i]);
    bytes[4 * n + i] = flags[i];
  }
  return bytes;
}

void AddBytes(CKpByteArrayEx& stream, const BYTE* data, std::size_t n) {
  // The stream takes int counts; a pattern that large is absurd, but it must
  // not be cut short silently.
  while (n > 0) {
    const std::size_t chunk = n < static_cast<std::size_t>(INT_MAX) ? n : static_cast<std::size_t>(INT_MAX);
    stream.Add(data, static_cast<int>(chunk));
    data += chunk;
    n -= chunk;
  }
}

// Appends a pattern read from a file (n length words, then n flags) to the
// sub-line as stored, odd counts and unusual flag values included, and then
// sets the record fields. The record goes last so that the pen style word
// keeps its stored user-style bits instead of those AppendEntry recomputes.
void Commit(const BYTE* record, const std::vector<BYTE>& pattern, long n, CKpLineStyleBase& s) {
  const std::size_t count = static_cast<std::size_t>(n);
  for (std::size_t i = 0; i < count; ++i) {
    s.AppendEntry(kp::GetU32(pattern.data() + 4 * i), pattern[4 * count + i]);
  }
  kp::DecodeSubLineRecord(record, s);
}



// A count is believable when it is not negative and the bytes left can hold
// that many entries; checked before any memory is reserved for them.
bool CountFits(long n, long long bytesLeft) { return n >= 0 && n * kBytesPerEntry <= bytesLeft; }

}  // namespace

// --- form 1 (CKpByteArray) ---

long CKpLineStyleBase::Store(CKpByteArray& stream) const {
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  kp::EncodeSubLineRecord(*this, record);
  stream.Write(record, KP_SUBLINE_RECORD_SIZE);
  stream.WriteLong(Count());
  for (long i = 0; i < Count(); ++i) stream.WriteLong(static_cast<long>(m_StyleSet[static_cast<std::size_t>(i)]));
  for (long i = 0; i < Count(); ++i) stream.WriteByte(m_ByteSet[static_cast<std::size_t>(i)]);
  return stream.GetSize();
}

long CKpLineStyleBase::Load(CKpByteArray& stream) {
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  if (!stream.Read(record, KP_SUBLINE_RECORD_SIZE)) return -1;
  long n = 0;
  if (!stream.TryReadLong(n)) return -1;
  if (!CountFits(n, static_cast<long long>(stream.GetSize()) - stream.GetPos())) return -1;
  std::vector<BYTE> pattern(static_cast<std::size_t>(n * kBytesPerEntry));
  if (n > 0 && !stream.Read(pattern.data(), static_cast<unsigned long>(pattern.size()))) return -1;
  Commit(record, pattern, n, *this);
  return stream.GetPos();
}

// --- forms 2 and 3 (CKpByteArrayEx) ---

int CKpLineStyleBase::StoreEx(CKpByteArrayEx& stream) const {
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  kp::EncodeSubLineRecord(*this, record);
  stream.Add(record, KP_SUBLINE_RECORD_SIZE);
  stream.Add(Count());
  const std::vector<BYTE> pattern = EncodePattern(*this);
  AddBytes(stream, pattern.data(), pattern.size());
  return 1;
}

int CKpLineStyleBase::StoreEx20(CKpByteArrayEx& stream) const {
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  kp::EncodeSubLineRecord(*this, record);
  stream.Add(record, KP_SUBLINE_RECORD_SIZE);
  // Sub-lines have no name of their own; the old readers skip it anyway.
  stream.AddUnicode(CString());
  stream.Add(Count());
  const std::vector<BYTE> pattern = EncodePattern(*this);
  AddBytes(stream, pattern.data(), pattern.size());
  return 1;
}

int CKpLineStyleBase::LoadEx(CKpByteArrayEx& stream, int& pos, long version) {
  int p = pos;
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  if (!stream.GetBytesAt(p, record, KP_SUBLINE_RECORD_SIZE)) return 0;
  if (version < kFirstVersionWithoutName) {
    const int before = p;
    (void)stream.GetUnicodeStringAt(p);
    if (p == before) return 0;
  }
  long n = 0;
  if (!stream.TryGetLongAt(p, n)) return 0;
  // Positions in this stream are ints: nothing beyond INT_MAX can be read.
  const long long end = std::min<long long>(stream.GetSize(), INT_MAX);
  if (!CountFits(n, end - p)) return 0;
  std::vector<BYTE> pattern(static_cast<std::size_t>(n * kBytesPerEntry));
  if (n > 0 && !stream.GetBytesAt(p, pattern.data(), static_cast<int>(pattern.size()))) return 0;
  Commit(record, pattern, n, *this);
  pos = p;
  return 1;
}
