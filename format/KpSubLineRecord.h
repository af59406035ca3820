#pragma once
// The 84-byte sub-line record as stored in library files: every field of
// CKpLineStyleBase's record, little-endian, at fixed offsets, no padding.
// Reserved words and unknown flag or pen bits travel unchanged.
#include "model/CKpLineStyleBase.h"

namespace kp {

// Writes the record fields of `sub` into out[0..83].
void EncodeSubLineRecord(const CKpLineStyleBase& sub, BYTE* out);
// Sets the record fields of `sub` from in[0..83]; the dash pattern is left as it is.
void DecodeSubLineRecord(const BYTE* in, CKpLineStyleBase& sub);

}  // namespace kp
