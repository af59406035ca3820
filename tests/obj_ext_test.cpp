// Extended attributes: record ownership, rank order and token bits. Leaks and
// double frees in the ownership cases are caught by the sanitizer build.
#include <gtest/gtest.h>

#include "model/CKpLineStyleObjExt.h"

namespace {

tagLineStyleObjExt* NewRec(std::int32_t shape) {
  return new tagLineStyleObjExt{4, 6, 0, shape};
}

// Shapes of the stored records in order.
std::vector<std::int32_t> Shapes(const CKpLineStyleObjExt& ext) {
  std::vector<std::int32_t> out;
  for (int k = 0; k < ext.GetCount(); ++k) out.push_back(ext.GetRecordAt(k)->nShape);
  return out;
}

}  // namespace

TEST(CKpLineStyleObjExt, SetObjExtOwnershipCases) {
  enum Arg { kNull, kNew, kStoredSelf };
  struct Row {
    const char* what;
    std::int32_t preset;  // shape already at the vertex position, 0 for none
    Arg arg;
    std::int32_t shape;   // shape of the new record, or written into the stored one
    std::int32_t expect;  // shape stored afterwards, 0 for none
  };
  const Row rows[] = {
      {"replace frees the old record", 7, kNew, 12, 12},
      {"in-place edit committed with the stored record", 7, kStoredSelf, 8, 8},
      {"null removes", 7, kNull, 0, 0},
      {"shape 0 removes and frees both", 7, kNew, 0, 0},
      {"stored record cleared in place is freed once", 7, kStoredSelf, 0, 0},
      {"insert on a free position", 0, kNew, 3, 3},
      {"shape 0 on a free position is freed", 0, kNew, 0, 0},
      {"null on a free position changes nothing", 0, kNull, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CKpLineStyleObjExt ext;
    // Neighbours on both sides so that a wrong rank shows up.
    ext.SetObjExt(KP_EXT_POS_HEAD, NewRec(1));
    ext.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewRec(20));
    if (row.preset) ext.SetObjExt(KP_EXT_POS_VERTEX, NewRec(row.preset));

    tagLineStyleObjExt* rec = nullptr;
    if (row.arg == kNew) rec = NewRec(row.shape);
    if (row.arg == kStoredSelf) {
      rec = ext.GetObjExt(KP_EXT_POS_VERTEX);
      rec->nShape = row.shape;
    }
    EXPECT_EQ(1, ext.SetObjExt(KP_EXT_POS_VERTEX, rec));

    if (row.expect) {
      EXPECT_EQ(0x15, ext.GetObjExtToken());
      EXPECT_EQ((std::vector<std::int32_t>{1, row.expect, 20}), Shapes(ext));
      EXPECT_EQ(rec, ext.GetObjExt(KP_EXT_POS_VERTEX));
    } else {
      EXPECT_EQ(0x11, ext.GetObjExtToken());
      EXPECT_EQ((std::vector<std::int32_t>{1, 20}), Shapes(ext));
      EXPECT_EQ(nullptr, ext.GetObjExt(KP_EXT_POS_VERTEX));
    }
  }
}

TEST(CKpLineStyleObjExt, RecordsFollowPositionOrder) {
  CKpLineStyleObjExt ext;
  tagLineStyleObjExt* r = NewRec(2);
  tagLineStyleObjExt* s = NewRec(1);
  ext.SetObjExt(KP_EXT_POS_TAIL, r);
  ext.SetObjExt(KP_EXT_POS_HEAD, s);
  EXPECT_EQ(3, ext.GetObjExtToken());
  EXPECT_EQ(s, ext.GetRecordAt(0));
  EXPECT_EQ(r, ext.GetRecordAt(1));
  EXPECT_EQ(r, ext.GetObjExt(KP_EXT_POS_TAIL));

  // Filling the gaps out of order still keeps record k on the k-th set bit.
  ext.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewRec(5));
  ext.SetObjExt(KP_EXT_POS_VERTEX, NewRec(3));
  ext.SetObjExt(KP_EXT_POS_SEGMENT_CENTRE, NewRec(4));
  EXPECT_EQ(0x1F, ext.GetObjExtToken());
  EXPECT_EQ((std::vector<std::int32_t>{1, 2, 3, 4, 5}), Shapes(ext));

  // Removing the last decoration brings the token back to 0.
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) ext.SetObjExt(pos, nullptr);
  EXPECT_EQ(0, ext.GetObjExtToken());
  EXPECT_EQ(0, ext.GetCount());
}

TEST(CKpLineStyleObjExt, RefusedRecordStaysWithItsOwner) {
  CKpLineStyleObjExt ext;
  tagLineStyleObjExt* rec = NewRec(3);
  EXPECT_EQ(0, ext.SetObjExt(KP_EXT_POS_COUNT, rec));  // one past the last position
  EXPECT_EQ(0, ext.SetObjExt(-1, rec));
  EXPECT_EQ(0, ext.GetObjExtToken());
  delete rec;  // still the caller's

  // A record stored for one position cannot be stored again for another.
  ext.SetObjExt(KP_EXT_POS_HEAD, NewRec(4));
  EXPECT_EQ(0, ext.SetObjExt(KP_EXT_POS_TAIL, ext.GetObjExt(KP_EXT_POS_HEAD)));
  EXPECT_EQ(1, ext.GetObjExtToken());
  EXPECT_EQ(1, ext.GetCount());
}

TEST(CKpLineStyleObjExt, TokenBitsBeyondPositionsAreKept) {
  CKpLineStyleObjExt ext;
  ext.SetObjExtToken(0x20);
  EXPECT_EQ(0x20, ext.GetObjExtToken());
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) EXPECT_EQ(nullptr, ext.GetObjExt(pos));
  EXPECT_EQ(0, ext.IsUsedSymbol(0));

  ext.SetObjExt(KP_EXT_POS_VERTEX, NewRec(6));
  EXPECT_EQ(0x24, ext.GetObjExtToken());
  ext.SetObjExt(KP_EXT_POS_VERTEX, nullptr);
  EXPECT_EQ(0x20, ext.GetObjExtToken());

  // The file reader's sequence: the token as read, then one record per bit.
  ext.Release();
  ext.SetObjExtToken(0xA5);
  EXPECT_EQ(0xA0, ext.GetObjExtToken());  // position bits come only with records
  ext.SetObjExt(KP_EXT_POS_HEAD, NewRec(1));
  ext.SetObjExt(KP_EXT_POS_VERTEX, NewRec(10));
  EXPECT_EQ(0xA5, ext.GetObjExtToken());

  ext.Release();
  EXPECT_EQ(0, ext.GetObjExtToken());
}

TEST(CKpLineStyleObjExt, SymbolIds) {
  CKpLineStyleObjExt ext;
  EXPECT_EQ(0, ext.IsUsedSymbol(12));
  ext.SetObjExt(KP_EXT_POS_HEAD, NewRec(3));
  ext.SetObjExt(KP_EXT_POS_TAIL, NewRec(8));
  ext.SetObjExt(KP_EXT_POS_VERTEX, NewRec(9));   // last node shape: not a symbol
  ext.SetObjExt(KP_EXT_POS_LINE_CENTRE, NewRec(12));
  EXPECT_EQ(1, ext.IsUsedSymbol(12));
  EXPECT_EQ(0, ext.IsUsedSymbol(18));

  ext.MoveObjExtID(6);
  EXPECT_EQ((std::vector<std::int32_t>{3, 8, 9, 18}), Shapes(ext));
  EXPECT_EQ(0, ext.IsUsedSymbol(12));
  EXPECT_EQ(1, ext.IsUsedSymbol(18));
}

TEST(CKpLineStyleObjExt, CopiesAreDeep) {
  CKpLineStyleObjExt b;
  b.SetObjExtToken(0x40);
  b.SetObjExt(KP_EXT_POS_HEAD, NewRec(1));
  b.SetObjExt(KP_EXT_POS_SEGMENT_CENTRE, NewRec(11));

  CKpLineStyleObjExt a;
  a.SetObjExt(KP_EXT_POS_TAIL, NewRec(2));  // replaced by the assignment
  a = b;
  CKpLineStyleObjExt c(b);
  for (CKpLineStyleObjExt* copy : {&a, &c}) {
    EXPECT_EQ(0x49, copy->GetObjExtToken());
    EXPECT_EQ(Shapes(b), Shapes(*copy));
    EXPECT_NE(b.GetRecordAt(1), copy->GetRecordAt(1));
  }
  a.GetObjExt(KP_EXT_POS_SEGMENT_CENTRE)->nShape = 30;
  a.SetObjExt(KP_EXT_POS_HEAD, nullptr);
  EXPECT_EQ((std::vector<std::int32_t>{1, 11}), Shapes(b));

  const CKpLineStyleObjExt& self = b;
  b = self;
  EXPECT_EQ(0x49, b.GetObjExtToken());
  EXPECT_EQ((std::vector<std::int32_t>{1, 11}), Shapes(b));
}
