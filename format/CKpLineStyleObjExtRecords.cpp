// File block of a style's extended attributes: the token byte, then one
// 8-byte record (u8 width, u8 height, i16 angle, i32 shape, little-endian)
// for each set bit among bits 0..4, lowest position first.
#include <memory>

#include "companions/CKpByteArrayEx.h"
#include "format/KpLittleEndian.h"
#include "model/CKpLineStyleObjExt.h"

namespace {

constexpr int kRecordSize = 8;

bool HasPosition(BYTE token, long pos) { return (token >> pos) & 1u; }

void EncodeRecord(const tagLineStyleObjExt& rec, BYTE* out) {
  out[0] = rec.byWidth;
  out[1] = rec.byHeight;
  kp::PutI16(out + 2, rec.nAngle);
  kp::PutI32(out + 4, rec.nShape);
}

std::unique_ptr<tagLineStyleObjExt> DecodeRecord(const BYTE* in) {
  auto rec = std::make_unique<tagLineStyleObjExt>();
  rec->byWidth = in[0];
  rec->byHeight = in[1];
  rec->nAngle = kp::GetI16(in + 2);
  rec->nShape = kp::GetI32(in + 4);
  return rec;
}

}  // namespace

int CKpLineStyleObjExt::Store(CKpByteArrayEx& stream) const {
  const BYTE token = GetObjExtToken();
  stream.Add(&token, 1);
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
    const tagLineStyleObjExt* rec = GetObjExt(pos);
    if (rec == nullptr) continue;
    BYTE bytes[kRecordSize];
    EncodeRecord(*rec, bytes);
    stream.Add(bytes, kRecordSize);
  }
  return 1;
}

int CKpLineStyleObjExt::Load(CKpByteArrayEx& stream, int& pos) {
  Release();
  int p = pos;
  BYTE token = 0;
  if (!stream.GetBytesAt(p, &token, 1)) return 0;

  int count = 0;
  for (long i = 0; i < KP_EXT_POS_COUNT; ++i) count += HasPosition(token, i) ? 1 : 0;
  BYTE records[KP_EXT_POS_COUNT * kRecordSize];
  if (count > 0 && !stream.GetBytesAt(p, records, count * kRecordSize)) return 0;

  // Bits 5..7 are taken as read; bits 0..4 follow the records as they are
  // added. A record of shape 0 means "no decoration": its bytes are consumed
  // so the stream stays in step, but it is dropped and its bit stays clear.
  SetObjExtToken(token);
  int k = 0;
  for (long i = 0; i < KP_EXT_POS_COUNT; ++i) {
    if (!HasPosition(token, i)) continue;
    tagLineStyleObjExt* rec = DecodeRecord(records + kRecordSize * k++).release();
    if (!SetObjExt(i, rec)) delete rec;  // never refused for a valid position; kept for safety
  }
  pos = p;
  return 1;
}
