// File records of one line style, in three forms:
//   form 1 (version 1.0, CKpByteArray):  24-byte style block, old string
//          name, sub-line count, form-1 sub-lines;
//   form 2 (versions 20010228, 20010614): 24-byte style block, Unicode name,
//          sub-line count, form-2 sub-lines;
//   form 3 (version 20031017):           extended-attribute block, ID,
//          Unicode name, sub-line count, form-3 sub-lines.
// The 24-byte block holds the ID at offset 0 and a packed decoration at
// offsets 20..23 (width, height, shape, placement code); offsets 4..19 are
// written as zeros and never read.
//
// Readers work on a copy of the style and take it over only when the whole
// record has been read, so a truncated or malformed record leaves the style,
// and the position of a positioned reader, as they were.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "format/KpLittleEndian.h"
#include "model/CKpLineStyleObj.h"

namespace {

// Styles carry their own extended-attribute block and ID from this version on.
constexpr long kFirstVersionWithExtBlock = 20031017;
// The form-1 stream's version, handed to LoadExtAtt for its 24-byte block.
constexpr long kVersion10 = 65537;

constexpr int kStyleBlockSize = 24;
constexpr int kPackedOffset = 20;

// Smallest sub-line record of each form: the 84-byte record and the entry
// count, plus the name's unit count in form 2. Used to reject a sub-line
// count the remaining bytes cannot hold before reading any of them.
constexpr long long kMinSubLineForm13 = KP_SUBLINE_RECORD_SIZE + 4;
constexpr long long kMinSubLineForm2 = KP_SUBLINE_RECORD_SIZE + 8;

constexpr unsigned Bit(long pos) { return 1u << pos; }

// Positions (as a bit set) that a placement code decorates. Codes 0 and
// 6..255 decorate nothing; a node shape (6..9) under code 4 also gets the
// start. Both packing and unpacking use this one table, so a packed
// decoration always reads back as what was packed.
unsigned PositionsOfCode(unsigned code, unsigned shape) {
  switch (code) {
    case 1:
      return Bit(KP_EXT_POS_HEAD);
    case 2:
      return Bit(KP_EXT_POS_TAIL);
    case 3:
      return Bit(KP_EXT_POS_HEAD) | Bit(KP_EXT_POS_TAIL);
    case 4: {
      const bool nodeShape = shape >= 6 && shape <= 9;
      return Bit(KP_EXT_POS_TAIL) | Bit(KP_EXT_POS_VERTEX) | (nodeShape ? Bit(KP_EXT_POS_HEAD) : 0u);
    }
    case 5:
      return Bit(KP_EXT_POS_SEGMENT_CENTRE);
    default:
      return 0;
  }
}
constexpr unsigned kFirstCode = 1;
constexpr unsigned kLastCode = 5;



// A sub-line count is believable when it is not negative and the bytes left
// can hold that many of the smallest sub-line records.
bool CountFits(long n, long long bytesLeft, long long minRecord) {
  return n >= 0 && n * minRecord <= bytesLeft;
}

void WriteStyleBlock(long id, const BYTE packed[4], BYTE block[kStyleBlockSize]) {
  std::memset(block, 0, kStyleBlockSize);
  kp::PutI32(block, static_cast<std::int32_t>(id));
  std::memcpy(block + kPackedOffset, packed, 4);
}

}  // namespace

// --- packed decoration of forms 1 and 2 ---

void CKpLineStyleObj::PackDecoration(BYTE out[4]) const {
  std::memset(out, 0, 4);
  // The packed form holds one decoration (width, height, shape; angle 0)
  // repeated at the positions of its code. Anything else cannot be packed
  // without changing what is drawn, and is left out entirely.
  unsigned positions = 0;
  const tagLineStyleObjExt* first = nullptr;
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
    const tagLineStyleObjExt* rec = m_ObjExt.GetObjExt(pos);
    if (rec == nullptr) continue;
    if (rec->nAngle != 0) return;
    if (first == nullptr) {
      first = rec;
    } else if (rec->byWidth != first->byWidth || rec->byHeight != first->byHeight ||
               rec->nShape != first->nShape) {
      return;
    }
    positions |= Bit(pos);
  }
  if (first == nullptr || first->nShape < 1 || first->nShape > 255) return;
  const auto shape = static_cast<unsigned>(first->nShape);
  for (unsigned code = kFirstCode; code <= kLastCode; ++code) {
    if (PositionsOfCode(code, shape) == positions) {
      out[0] = first->byWidth;
      out[1] = first->byHeight;
      out[2] = static_cast<BYTE>(shape);
      out[3] = static_cast<BYTE>(code);
      return;
    }
  }
}

void CKpLineStyleObj::UnpackDecoration(const BYTE packed[4]) {
  const unsigned shape = packed[2];
  if (shape == 0) return;
  const unsigned positions = PositionsOfCode(packed[3], shape);
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
    if (!(positions & Bit(pos))) continue;
    auto rec = std::make_unique<tagLineStyleObjExt>();
    rec->byWidth = packed[0];
    rec->byHeight = packed[1];
    rec->nAngle = 0;
    rec->nShape = static_cast<std::int32_t>(shape);
    if (m_ObjExt.SetObjExt(pos, rec.get())) rec.release();
  }
}

int CKpLineStyleObj::LoadExtAtt(CKpByteArrayEx& stream, int& pos, long version) {
  if (version >= kFirstVersionWithExtBlock) return m_ObjExt.Load(stream, pos);
  BYTE block[kStyleBlockSize];
  int p = pos;
  if (!stream.GetBytesAt(p, block, kStyleBlockSize)) return 0;
  m_nID = kp::GetI32(block);
  // The block is the style's whole decoration, as the newer block is.
  m_ObjExt.Release();
  UnpackDecoration(block + kPackedOffset);
  pos = p;
  return 1;
}

// --- form 1 (CKpByteArray) ---

long CKpLineStyleObj::Store(CKpByteArray& stream) const {
  BYTE packed[4];
  PackDecoration(packed);
  BYTE block[kStyleBlockSize];
  WriteStyleBlock(m_nID, packed, block);
  stream.Write(block, kStyleBlockSize);
  stream.WriteString(m_strName);
  stream.WriteLong(Count());
  for (const CKpLineStyleBase& sub : m_BaseArray) sub.Store(stream);
  return stream.GetSize();
}

long CKpLineStyleObj::Load(CKpByteArray& stream) {
  // The stream's read position cannot be set back, so after a failure it is
  // wherever the failed read left it; the style itself is untouched.
  CKpLineStyleObj loaded(*this);

  BYTE block[kStyleBlockSize];
  if (!stream.Read(block, kStyleBlockSize)) return -1;
  CKpByteArrayEx blockStream;
  blockStream.Add(block, kStyleBlockSize);
  int blockPos = 0;
  if (!loaded.LoadExtAtt(blockStream, blockPos, kVersion10)) return -1;

  long before = stream.GetPos();
  loaded.m_strName = stream.ReadString();
  if (stream.GetPos() == before) return -1;

  before = stream.GetPos();
  const long n = stream.ReadLong();
  if (stream.GetPos() == before) return -1;
  const long long left = static_cast<long long>(stream.GetSize()) - stream.GetPos();
  if (!CountFits(n, left, kMinSubLineForm13)) return -1;

  for (long i = 0; i < n; ++i) {
    CKpLineStyleBase sub;
    if (sub.Load(stream) < 0) return -1;
    loaded.AddStyleBase(sub);
  }
  CopyFrom(loaded);
  return stream.GetPos();
}

// --- forms 2 and 3 (CKpByteArrayEx) ---

int CKpLineStyleObj::StoreEx(CKpByteArrayEx& stream) const {
  m_ObjExt.Store(stream);
  stream.Add(m_nID);
  stream.AddUnicode(m_strName);
  stream.Add(Count());
  for (const CKpLineStyleBase& sub : m_BaseArray) sub.StoreEx(stream);
  return 1;
}

int CKpLineStyleObj::StoreEx20(CKpByteArrayEx& stream) const {
  BYTE packed[4];
  PackDecoration(packed);
  BYTE block[kStyleBlockSize];
  WriteStyleBlock(m_nID, packed, block);
  stream.Add(block, kStyleBlockSize);
  stream.AddUnicode(m_strName);
  stream.Add(Count());
  for (const CKpLineStyleBase& sub : m_BaseArray) sub.StoreEx20(stream);
  return 1;
}

int CKpLineStyleObj::LoadEx(CKpByteArrayEx& stream, int& pos, long version) {
  CKpLineStyleObj loaded(*this);
  int p = pos;
  if (!loaded.LoadExtAtt(stream, p, version)) return 0;
  if (version >= kFirstVersionWithExtBlock) {
    long id = 0;
    if (!stream.TryGetLongAt(p, id)) return 0;
    loaded.m_nID = id;
  }
  if (!stream.TryGetUnicodeStringAt(p, loaded.m_strName)) return 0;

  long n = 0;
  if (!stream.TryGetLongAt(p, n)) return 0;
  // Positions in this stream are ints: nothing beyond INT_MAX can be read.
  const long long end = std::min<long long>(stream.GetSize(), INT_MAX);
  const long long minRecord = version >= kFirstVersionWithExtBlock ? kMinSubLineForm13 : kMinSubLineForm2;
  if (!CountFits(n, end - p, minRecord)) return 0;

  for (long i = 0; i < n; ++i) {
    CKpLineStyleBase sub;
    if (!sub.LoadEx(stream, p, version)) return 0;
    loaded.AddStyleBase(sub);
  }
  CopyFrom(loaded);
  pos = p;
  return 1;
}
