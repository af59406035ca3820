#pragma once
// The extended attributes of one line style: up to five decorations, one per
// position (KP_EXT_POS_*), each an owned tagLineStyleObjExt record.
//
// State: a token whose bit i is set when position i (0..4) holds a record,
// and the records of the set bits in ascending position order. Always:
//  - the number of records equals the number of set bits among bits 0..4,
//    and record k belongs to the k-th set bit;
//  - no stored record has nShape 0 (that value means "no decoration").
// Bits 5..7 of the token carry no records. Files may contain them; they are
// kept as they were read and written back unchanged, and any non-zero token
// counts as "the style has decorations".
//
// Caller errors are reported through return values, never by exceptions:
//  - a position outside 0..4 makes SetObjExt return 0 and leaves everything,
//    the record's ownership included, as it was;
//  - passing SetObjExt a record that this object already stores for another
//    position is refused the same way (return 0, no change; the record stays
//    where it is and is still owned here), since accepting it would free it
//    twice;
//  - GetObjExt and GetRecordAt return null for a position or index without a
//    record.

#include <memory>
#include <vector>

#include "model/tagLineStyleObjExt.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CKpByteArrayEx;

class KP_API CKpLineStyleObjExt {
 public:
  CKpLineStyleObjExt();
  CKpLineStyleObjExt(const CKpLineStyleObjExt& other);
  CKpLineStyleObjExt& operator=(const CKpLineStyleObjExt& other);
  virtual ~CKpLineStyleObjExt();

  // Makes this a deep copy of other: the same token, bits 5..7 included, and
  // a copy of each record in order. Copying onto itself changes nothing.
  void CopyFrom(const CKpLineStyleObjExt& other);

  // Frees every record and clears the whole token.
  void Release();

  unsigned char GetObjExtToken() const { return m_byToken; }

  // Stores bits 5..7 of token as given. Bits 0..4 are not taken from it: they
  // always mirror the stored records and only SetObjExt and Release change
  // them. A file reader therefore calls Release, SetObjExtToken(token read)
  // and then SetObjExt(pos, record read) for each set bit among 0..4; the
  // token ends up as read (a record of shape 0 is dropped with its bit).
  void SetObjExtToken(unsigned char token);

  // The record of pos, or null when pos is outside 0..4 or has none. The
  // caller may change the record in place; it commits the change with
  // SetObjExt(pos, record), which removes the decoration if nShape became 0.
  tagLineStyleObjExt* GetObjExt(long pos);
  const tagLineStyleObjExt* GetObjExt(long pos) const;

  // Sets, replaces or removes the decoration of pos (0..4) and returns 1.
  // Ownership of rec (allocated with new, or null) passes to this object:
  //  - pos decorated, rec with nShape != 0: rec replaces the stored record,
  //    which is freed unless rec is that record (an in-place edit committed);
  //  - pos decorated, rec null or nShape 0: the decoration is removed; rec and
  //    the stored record are freed, once if they are the same;
  //  - pos free, rec with nShape != 0: rec is inserted and the bit set;
  //  - pos free, rec with nShape 0: rec is freed, nothing else changes;
  //    rec null: nothing changes.
  // Returns 0 for pos outside 0..4: only then does rec stay the caller's (see
  // also the refused double store described at the top).
  int SetObjExt(long pos, tagLineStyleObjExt* rec);

  // Adds delta to every symbol ID (nShape >= 10); arrows and node shapes are
  // left alone. Used when the symbols of an appended library are renumbered
  // upward, so delta is expected to be positive.
  void MoveObjExtID(long delta);

  // 1 when some record's nShape equals id, else 0 (always 0 for token 0).
  int IsUsedSymbol(long id) const;

  // The records in stored order, for the file writer: record k belongs to
  // the k-th set bit among bits 0..4 of the token.
  int GetCount() const { return static_cast<int>(m_Records.size()); }
  const tagLineStyleObjExt* GetRecordAt(int k) const;

  // --- file block (format/CKpLineStyleObjExtRecords.cpp) ---
  // The token, then one 8-byte record per set bit among 0..4. Store returns
  // 1; Load releases everything first, keeps the token exactly as read
  // (bits 5..7 included) and returns 1, or 0 for a truncated block (the
  // attributes are then released).
  int Store(CKpByteArrayEx& stream) const;
  int Load(CKpByteArrayEx& stream, int& pos);

 private:
  // Number of set bits among bits 0..pos-1: the index pos's record has or
  // would get.
  std::size_t RankOf(long pos) const;

  BYTE m_byToken;
  std::vector<std::unique_ptr<tagLineStyleObjExt>> m_Records;
};
