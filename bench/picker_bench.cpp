// How long the picker dialog takes to open on a library of 10,000 styles,
// preselected on its last style (the find boxes then list all 10,000), and
// how long its list takes to take a 10,000-style group.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "model/CKpLineStyleLib.h"
#include "ui/CKpLineStylePickerDlg.h"
#include "ui/CKpLineStylePickerList.h"

namespace {

CKpLineStyleLib& Library() {
  static CKpLineStyleLib* lib = [] {
    auto* l = new CKpLineStyleLib;
    CKpLineStyleObj seed = l->CreateSeedLine();
    for (long id = 6; id < 10006; ++id) {
      seed.SetID(id);
      seed.SetName("S" + std::to_string(id));
      l->AddStyleObj(seed);
    }
    for (long id = 6; id < 10006; ++id) l->GetRootGroup()->AddStyleItem(id);
    return l;
  }();
  return *lib;
}

void BM_PickerDialogOpens(benchmark::State& state) {
  CKpLineStyleLib& lib = Library();
  for (auto _ : state) {
    CKpLineStylePickerDlg dlg;
    dlg.AttachLineStyleLib(&lib);
    dlg.SetCurSelStyle(10005);
    dlg.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(dlg.GetCurSelStyle());
  }
}
BENCHMARK(BM_PickerDialogOpens)->Unit(benchmark::kMillisecond);

void BM_PickerListTakesGroup(benchmark::State& state) {
  CKpLineStyleLib& lib = Library();
  CKpLineStylePickerList list;
  list.resize(306, 306);
  list.AttachLineStyleLib(&lib);
  list.show();
  for (auto _ : state) {
    list.AttachStyleGroup(lib.GetRootGroup());
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_PickerListTakesGroup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
