// Builds a two-layer railway-like line style in memory and prints its records:
// a quick look at what a style holds and how a sub-line is stored.
#include <cstdio>

#include "format/KpSubLineRecord.h"
#include "model/CKpLineStyleObj.h"

namespace {

void PrintSubLine(long index, const CKpLineStyleBase& s) {
  std::printf("  sub-line %ld: kind %d, width %d, colour 0x%06X, pen word 0x%08X\n", index,
              s.m_nHVMode, s.m_nCurWidth, static_cast<unsigned>(s.m_clrCurrent),
              static_cast<unsigned>(s.m_dwPenStyle));
  std::printf("    pattern:");
  if (s.Count() == 0) std::printf(" continuous");
  for (long i = 0; i < s.Count(); ++i)
    std::printf(" %ld%s", s.GetAt(i), s.GetFlagAt(i) ? "" : "(gap)");
  std::printf("\n    record:");
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  kp::EncodeSubLineRecord(s, record);
  for (int i = 0; i < KP_SUBLINE_RECORD_SIZE; ++i)
    std::printf("%s%02X", (i % 28 == 0) ? "\n      " : " ", record[i]);
  std::printf("\n");
}

}  // namespace

int main() {
  CKpLineStyleObj style;
  style.SetID(6);
  style.SetName("Railway");

  CKpLineStyleBase casing;
  casing.SetInterStyle(5, RGB(0, 0, 0), 0);
  casing.SetWidthLock(TRUE);
  style.AddStyleBase(casing);

  CKpLineStyleBase dashes;
  dashes.SetInterStyle(3, RGB(255, 255, 255), 0);
  dashes.Add(40, 40);
  dashes.SetWidthLock(TRUE);
  style.AddStyleBase(dashes);

  auto* arrow = new tagLineStyleObjExt{8, 12, 0, 1};
  style.GetObjExt().SetObjExt(1, arrow);

  std::printf("style %ld \"%s\": %ld sub-lines, widest %d, extended-attribute token 0x%02X\n",
              style.GetID(), style.GetName().c_str(), style.Count(), style.GetLineWidth(),
              style.GetObjExt().GetObjExtToken());
  for (long i = 0; i < style.Count(); ++i) PrintSubLine(i, style.GetStyleBase(i));
  return 0;
}
