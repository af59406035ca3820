// Writes the seed inputs of the fuzz targets with the module's own writers:
//
//   kp_make_seeds OUTPUT_FOLDER
//
// makes OUTPUT_FOLDER/fuzz_library (libraries in every version), .../fuzz_symbols
// (symbol libraries) and .../fuzz_draw (drawings, fuzz/KpFuzzInput.h), each
// emptied first so that no seed of an older generator stays behind. The
// committed fuzz/corpus/ was made this way; the tests make a fresh set at
// build time and replay it too, so that a change of a writer is fuzzed from
// the start.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "companions/KpResourceSymbols.h"
#include "fuzz/KpFuzzInput.h"
#include "model/CKpLineStyleLib.h"
#include "module/KpModulePath.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr short kLastKind = 48;
constexpr short kFirstGlyphKind = 28;
constexpr short kLastGlyphKind = 33;
constexpr short kFirstRepeatKind = 39;
constexpr short kLastRepeatKind = 46;
constexpr short kSymbolRelativeKind = 47;
constexpr short kSymbolFixedKind = 48;
constexpr long kFirstSymbolID = 10;
constexpr long kSymbolsKept = 4;  // symbols of the resource set the libraries carry
constexpr int kImageSize = 64;    // the Qt image of fuzz_draw

class SeedWriter {
 public:
  explicit SeedWriter(fs::path root) : m_root(std::move(root)) {}

  bool Write(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path folder = m_root / target;
    std::error_code ec;
    if (m_started.insert(target).second) fs::remove_all(folder, ec);
    fs::create_directories(folder, ec);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
      m_ok = false;
    }
    ++m_count;
    return m_ok;
  }
  void Fail() { m_ok = false; }
  bool Ok() const { return m_ok; }
  int Count() const { return m_count; }

 private:
  fs::path m_root;
  std::set<std::string> m_started;  // target folders emptied already
  bool m_ok = true;
  int m_count = 0;
};

Bytes BytesOf(const CKpByteArrayEx& s) { return Bytes(s.GetData(), s.GetData() + s.GetSize()); }
Bytes BytesOf(const CKpByteArray& s) { return Bytes(s.GetData(), s.GetData() + s.GetSize()); }

// --- libraries ---

// A sub-line of `kind` with what that kind draws with: a pattern, a height,
// a font and character for glyphs, a symbol for the symbol kinds.
CKpLineStyleBase SubLineOfKind(short kind) {
  CKpLineStyleBase s;
  s.SetHVMode(kind);
  s.SetHVLength(6);
  s.m_clrColor = s.m_clrCurrent = RGB(20 * (kind % 12), 0, 255 - 5 * kind);
  s.m_nWidth = s.m_nCurWidth = static_cast<short>(1 + kind % 3);
  s.Add(12 + kind % 5, 6);
  if (kind % 4 == 1) s.Add(3, 3);
  if (kind >= kFirstGlyphKind && kind <= kLastGlyphKind) {
    s.SetFont(kind % 2 ? "DejaVu Sans" : "OpenSymbol");
    s.SetSymbol(static_cast<short>('A' + kind - kFirstGlyphKind));
    s.m_nAngle = 150 * (kind - kFirstGlyphKind);
  }
  if (kind == kSymbolRelativeKind || kind == kSymbolFixedKind) {
    s.SetSymbol(static_cast<short>(kFirstSymbolID + kind % kSymbolsKept));
    s.m_nAngle = 300;
  }
  if (kind >= kFirstRepeatKind && kind <= kLastRepeatKind) s.SetRepeatMode(1);
  s.m_nHorizOffset = static_cast<short>(kind % 7);
  s.m_nVertOffset = static_cast<short>(kind % 5 - 2);
  s.SetWidthType(static_cast<short>(kind % 4 == 3 ? KP_WIDTH_STYLE : kind % 4));
  s.SetColorLock(kind % 6 == 0);
  s.SetWidthLock(kind % 6 == 1);
  s.SetHorizRepair(kind == 0);
  s.SetVertRepair(kind >= 1 && kind <= 3);
  return s;
}

// Extended attributes of every family: arrows, node shapes and symbols.
void AddDecorations(CKpLineStyleObj& style, long variant) {
  auto put = [&style](long pos, BYTE w, BYTE h, std::int16_t angle, std::int32_t shape) {
    style.GetObjExt().SetObjExt(pos, new tagLineStyleObjExt{w, h, angle, shape});
  };
  switch (variant % 4) {
    case 0:
      put(KP_EXT_POS_HEAD, 8, 12, 0, 1 + variant % 5);
      put(KP_EXT_POS_TAIL, 8, 12, 0, 1 + (variant + 2) % 5);
      break;
    case 1:
      put(KP_EXT_POS_VERTEX, 6, 6, 0, 6 + variant % 4);
      break;
    case 2:
      put(KP_EXT_POS_SEGMENT_CENTRE, 10, 10, 450,
          static_cast<std::int32_t>(kFirstSymbolID + variant % kSymbolsKept));
      put(KP_EXT_POS_LINE_CENTRE, 12, 12, 0, static_cast<std::int32_t>(kFirstSymbolID));
      break;
    default:
      break;
  }
}

void AddResourceSymbols(CKpLineStyleLib& lib) {
  CKpSymLib all = kp::ResourceSymbols();
  for (long i = 0; i < kSymbolsKept && i < all.GetSymbolCount(); ++i)
    lib.AddSymbol(new CKpSymbol(*all.GetSymbol(static_cast<unsigned long>(all.GetSymbolID(i)))));
}

// Every kind once, decorations of every family, symbols, a nested group tree.
void MakeKindsLibrary(CKpLineStyleLib& lib) {
  lib.RemoveAll();
  lib.SetName("Kinds 子线");
  AddResourceSymbols(lib);
  CKpLineStyleGroup* root = lib.GetRootGroup();
  root->SetName("RootGroup");
  CKpLineStyleGroup* marks = root->CreateSubGroup("Marks");
  CKpLineStyleGroup* inner = marks ? marks->CreateSubGroup("Inner") : nullptr;
  CKpLineStyleGroup* lines = root->CreateSubGroup("Lines");
  for (short kind = 0; kind <= kLastKind; ++kind) {
    CKpLineStyleObj style;
    style.SetID(100 + kind);
    style.SetName("kind " + std::to_string(kind));
    CKpLineStyleBase base;  // a plain line under the decoration
    style.AddStyleBase(base);
    CKpLineStyleBase s = SubLineOfKind(kind);
    style.AddStyleBase(s);
    AddDecorations(style, kind);
    lib.AddStyleObj(style);
    CKpLineStyleGroup* group = kind % 3 == 0 ? marks : kind % 3 == 1 ? inner : lines;
    if (group) group->AddStyleItem(style.GetID());
  }
}

// Version 20010228 has no writer of its own: its head and the styles in the
// form that version stores (the writer of 20010614 uses it too).
Bytes Version20010228(CKpLineStyleLib& lib) {
  CKpByteArrayEx s;
  s.Add(KP_LSL_MAGIC);
  s.Add(KP_LSL_VERSION_20010228);
  s.Add(lib.m_lReserved);
  s.AddUnicode(lib.GetName());
  s.Add(lib.Count());
  for (long i = 0; i < lib.Count(); ++i) lib.GetStyleObj(i).StoreEx20(s);
  return BytesOf(s);
}

void WriteAllVersions(SeedWriter& out, CKpLineStyleLib& lib, const std::string& stem) {
  CKpByteArrayEx current;
  lib.StoreEx(current);
  out.Write("fuzz_library", stem + "-20031017.lsl", BytesOf(current));
  CKpByteArrayEx v20010614;
  lib.StoreEx30(v20010614);
  out.Write("fuzz_library", stem + "-20010614.lsl", BytesOf(v20010614));
  out.Write("fuzz_library", stem + "-20010228.lsl", Version20010228(lib));
  CKpByteArray v10;
  lib.Store(v10);
  out.Write("fuzz_library", stem + "-65537.lsl", BytesOf(v10));
}

void WriteLibrarySeeds(SeedWriter& out) {
  CKpLineStyleLib lib;
  lib.CreateDefault();
  WriteAllVersions(out, lib, "default");

  CKpLineStyleLib kinds;
  MakeKindsLibrary(kinds);
  WriteAllVersions(out, kinds, "kinds");

  CKpLineStyleLib empty;
  WriteAllVersions(out, empty, "empty");

  // Small ones, a style each: the fuzzer mutates these fastest.
  for (short kind = 0; kind <= kLastKind; ++kind) {
    CKpLineStyleLib one;
    AddResourceSymbols(one);
    CKpLineStyleObj style = kinds.GetStyleObj(kind);
    style.RemoveAt(0);
    one.AddStyleObj(style);
    one.GetRootGroup()->AddStyleItem(style.GetID());
    CKpByteArrayEx s;
    one.StoreEx(s);
    char name[32];
    std::snprintf(name, sizeof name, "kind-%02d.lsl", kind);
    out.Write("fuzz_library", name, BytesOf(s));
  }
}

// --- symbol libraries ---

void WriteSymbolSeeds(SeedWriter& out) {
  CKpSymLib all = kp::ResourceSymbols();
  CKpByteArrayEx s;
  all.StoreEx(s);
  out.Write("fuzz_symbols", "resource.sym", BytesOf(s));

  CKpSymLib empty;
  CKpByteArrayEx e;
  empty.StoreEx(e);
  out.Write("fuzz_symbols", "empty.sym", BytesOf(e));

  for (long i = 0; i < all.GetSymbolCount(); ++i) {
    const long id = all.GetSymbolID(i);
    CKpSymLib one;
    one.AddSymbol(new CKpSymbol(*all.GetSymbol(static_cast<unsigned long>(id))));
    CKpByteArrayEx b;
    one.StoreEx(b);
    char name[32];
    std::snprintf(name, sizeof name, "symbol-%03ld.sym", id);
    out.Write("fuzz_symbols", name, BytesOf(b));
  }
}

// --- drawings ---

kp::DrawInput BaseDrawing() {
  kp::DrawInput in;
  in.switches = kp::KP_DRAW_QT | kp::KP_DRAW_SYMBOLS | kp::KP_DRAW_OWN_PENS | kp::KP_DRAW_ALL_OPERATIONS;
  in.points = {{4, 40}, {24, 8}, {44, 52}, {60, 20}};
  in.sampleRect = RECT{0, 0, kImageSize - 4, 24};
  in.decorationLength = 10;
  in.decorationWidth = 6;
  in.decorationPosition = 3;
  in.decorationKind = 2;
  return in;
}

// The decoder must read back what the encoder wrote, or the seed would fuzz
// some other drawing than the one named: bytes decoded and encoded again
// must be the same bytes.
void WriteDrawing(SeedWriter& out, const std::string& name, const kp::DrawInput& in) {
  const Bytes bytes = kp::EncodeDrawInput(in);
  if (kp::EncodeDrawInput(kp::DecodeDrawInput(bytes.data(), bytes.size())) != bytes) {
    std::fprintf(stderr, "%s does not decode to what was encoded\n", name.c_str());
    out.Fail();
    return;
  }
  out.Write("fuzz_draw", name, bytes);
}

void WriteKindDrawings(SeedWriter& out) {
  for (short kind = 0; kind <= kLastKind; ++kind) {
    kp::DrawInput in = BaseDrawing();
    CKpLineStyleBase s = SubLineOfKind(kind);
    in.style.AddStyleBase(s);
    AddDecorations(in.style, kind);
    if (kind % 2) in.switches |= kp::KP_DRAW_ANTI_ALIAS;
    in.decorationKind = static_cast<std::uint8_t>(1 + kind % 11);
    in.decorationPosition = static_cast<std::uint8_t>(1 + kind % 5);
    char name[32];
    std::snprintf(name, sizeof name, "kind-%02d.bin", kind);
    WriteDrawing(out, name, in);
  }
}

void WriteDefaultStyleDrawings(SeedWriter& out) {
  CKpLineStyleLib lib;
  lib.CreateDefault();
  for (long i = 0; i < lib.Count(); ++i) {
    kp::DrawInput in = BaseDrawing();
    in.style = lib.GetStyleObj(i);
    if (i % 3 == 0) in.switches |= kp::KP_DRAW_ANTI_ALIAS;
    char name[32];
    std::snprintf(name, sizeof name, "default-%03ld.bin", in.style.GetID());
    WriteDrawing(out, name, in);
  }
}

// Switches, ratios, map modes and geometry away from the usual.
void WriteEngineDrawings(SeedWriter& out) {
  const CKpLineStyleBase dashed = SubLineOfKind(0);
  const CKpLineStyleBase ticks = SubLineOfKind(1);
  auto make = [&](std::uint16_t switches) {
    kp::DrawInput in = BaseDrawing();
    CKpLineStyleBase a = dashed, b = ticks;
    in.style.AddStyleBase(a);
    in.style.AddStyleBase(b);
    in.switches = static_cast<std::uint16_t>(kp::KP_DRAW_QT | kp::KP_DRAW_ALL_OPERATIONS | switches);
    return in;
  };
  kp::DrawInput in = make(kp::KP_DRAW_WIDTH | kp::KP_DRAW_COLOR);
  in.width = 4;
  in.color = RGB(0, 128, 0);
  WriteDrawing(out, "override-both.bin", in);
  in.switches = kp::KP_DRAW_QT | kp::KP_DRAW_ALL_OPERATIONS | kp::KP_DRAW_WIDTH;
  WriteDrawing(out, "override-width.bin", in);
  in.switches = kp::KP_DRAW_QT | kp::KP_DRAW_ALL_OPERATIONS | kp::KP_DRAW_COLOR;
  WriteDrawing(out, "override-color.bin", in);
  WriteDrawing(out, "fast-pens.bin", make(kp::KP_DRAW_FAST_PENS | kp::KP_DRAW_FAST_FAST | kp::KP_DRAW_TRACE));
  WriteDrawing(out, "printing.bin", make(kp::KP_DRAW_PRINTING | kp::KP_DRAW_OWN_PENS | kp::KP_DRAW_TRACE));

  for (std::uint8_t mode = MM_TEXT; mode <= MM_ANISOTROPIC; ++mode) {
    in = make(kp::KP_DRAW_OWN_PENS);
    in.mapMode = mode;
    WriteDrawing(out, "map-mode-" + std::to_string(mode) + ".bin", in);
  }

  in = make(kp::KP_DRAW_OWN_PENS);
  in.ratioExponent = 6 - 3;  // 1/1000: every entry counts as one unit
  WriteDrawing(out, "ratio-small.bin", in);
  in.ratioExponent = 6 + 2;  // 100
  WriteDrawing(out, "ratio-large.bin", in);
  in.ratioMantissa = -128;
  in.ratioExponent = 6;
  WriteDrawing(out, "ratio-negative.bin", in);

  // Long, jittered polylines are thinned; a sideways offset asks for the coarse tolerance.
  in = make(kp::KP_DRAW_COMPRESS | kp::KP_DRAW_OWN_PENS | kp::KP_DRAW_ANTI_ALIAS);
  in.style.GetStyleBase(1).m_nVertOffset = 3;
  in.points.clear();
  for (int i = 0; i < 300; ++i) in.points.push_back(POINT{i / 5, 30 + (i % 7) - 3});
  WriteDrawing(out, "long-thinned.bin", in);

  // Degenerate polylines.
  in = make(kp::KP_DRAW_OWN_PENS);
  in.points.clear();
  WriteDrawing(out, "points-0.bin", in);
  in.points = {{10, 10}};
  WriteDrawing(out, "points-1.bin", in);
  in.points = {{10, 10}, {10, 10}, {10, 10}};
  WriteDrawing(out, "points-same.bin", in);
  in.points = {{10, 10}, {50, 10}, {10, 10}, {50, 10}};
  WriteDrawing(out, "points-back-and-forth.bin", in);

  // Far from the origin, continuous lines: nothing to walk.
  kp::DrawInput far = BaseDrawing();
  CKpLineStyleBase solid;
  solid.m_nVertOffset = 2;
  far.style.AddStyleBase(solid);
  far.points = {{INT32_MAX - 10, INT32_MAX - 10}, {INT32_MAX, INT32_MAX - 5}, {INT32_MAX - 3, INT32_MAX}};
  WriteDrawing(out, "coordinates-max.bin", far);
  far.points = {{INT32_MIN, INT32_MIN}, {INT32_MIN + 7, INT32_MIN + 9}, {INT32_MIN + 20, INT32_MIN}};
  WriteDrawing(out, "coordinates-min.bin", far);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  // The built-in default library, whatever lies beside the program.
  kp::SetModuleFolderForTesting("/nonexistent-kp-seed-folder/");
  SeedWriter out{fs::path(argv[1])};
  WriteLibrarySeeds(out);
  WriteSymbolSeeds(out);
  WriteKindDrawings(out);
  WriteDefaultStyleDrawings(out);
  WriteEngineDrawings(out);
  if (!out.Ok()) return 1;
  std::printf("%d seeds written to %s\n", out.Count(), argv[1]);
  return 0;
}
