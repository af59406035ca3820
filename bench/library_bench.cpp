// Load and save of a large library: 10,000 styles of 3 sub-lines with 8
// pattern entries each, filed in a group tree 3 levels deep. Measures the
// current writer and the reader of all versions on a memory stream, and the
// same through files (SaveToFile writes a temporary file, syncs it and
// renames it; LoadFromFile reads the whole file).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/CKpLineStyleLib.h"

namespace {

constexpr long kStyles = 10000;

void BuildLibrary(CKpLineStyleLib& lib) {
  lib.SetName("benchmark library");
  CKpLineStyleGroup* root = lib.GetRootGroup();
  root->SetName("all");
  for (long i = 0; i < kStyles; ++i) {
    CKpLineStyleObj style;
    style.SetID(6 + i);
    style.SetName("style " + std::to_string(i));
    for (int k = 0; k < 3; ++k) {
      CKpLineStyleBase sub;
      for (int e = 0; e < 4; ++e) sub.Add(10 + e + k, 3 + e);
      sub.m_nHVMode = static_cast<short>(k * 7);
      sub.m_nHVLength = 4;
      sub.SetFont("DejaVu Sans");
      style.AddStyleBase(sub);
    }
    if (i % 5 == 0) style.GetObjExt().SetObjExt(1, new tagLineStyleObjExt{8, 6, 0, 2});
    lib.AddStyleObj(style);
  }
  // 10 groups of 10 sub-groups, each holding 100 styles: 3 levels with the root.
  long id = 6;
  for (int g = 0; g < 10; ++g) {
    CKpLineStyleGroup* group = root->CreateSubGroup("group " + std::to_string(g));
    for (int s = 0; s < 10; ++s) {
      CKpLineStyleGroup* sub = group->CreateSubGroup("sub " + std::to_string(s));
      for (int k = 0; k < 100; ++k) sub->AddStyleItem(id++);
    }
  }
}

const CKpLineStyleLib& Library() {
  static CKpLineStyleLib* lib = [] {
    auto* l = new CKpLineStyleLib;
    BuildLibrary(*l);
    return l;
  }();
  return *lib;
}

void BM_StoreEx(benchmark::State& state) {
  CKpLineStyleLib lib(Library());
  CKpByteArrayEx stream;
  for (auto _ : state) {
    lib.StoreEx(stream);
    benchmark::DoNotOptimize(stream.GetData());
  }
  state.counters["bytes"] = static_cast<double>(stream.GetSize());
}
BENCHMARK(BM_StoreEx)->Unit(benchmark::kMillisecond);

void BM_LoadEx(benchmark::State& state) {
  CKpLineStyleLib source(Library());
  CKpByteArrayEx stream;
  source.StoreEx(stream);
  for (auto _ : state) {
    CKpLineStyleLib lib;
    if (!lib.LoadEx(stream) || lib.Count() != kStyles) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(lib.Count());
  }
}
BENCHMARK(BM_LoadEx)->Unit(benchmark::kMillisecond);

const std::string& FilePath() {
  static const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                                  "/kp_library_bench.lsl";
  return path;
}

void BM_SaveToFile(benchmark::State& state) {
  CKpLineStyleLib lib(Library());
  for (auto _ : state) {
    if (!lib.SaveToFile(FilePath())) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
  CKpLineStyleLib source(Library());
  source.SaveToFile(FilePath());
  for (auto _ : state) {
    CKpLineStyleLib lib;
    if (!lib.LoadFromFile(FilePath()) || lib.Count() != kStyles) state.SkipWithError("load failed");
  }
  std::remove(FilePath().c_str());
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
