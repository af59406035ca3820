// What a drawing costs when most of it cannot be seen: a segment 2^31 units
// long drawn across a 500 x 500 image through the engine and CQtDC, next to
// the 520 units of it the image shows. Each drawing makes its CQtDC and
// finishes it, as a host's paint does.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/CKpLineStyleEngine.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kSize = 500;
constexpr LONG kHalf = 1L << 30;     // -kHalf .. kHalf is 2^31 units
constexpr double kTargetMs = 100.0;  // for a 2^31 segment

struct Case {
  const char* name;
  std::vector<std::pair<long, long>> pattern;
  short kind;
  double ratio;
  std::vector<POINT> pts;
};

// A horizontal and a diagonal crossing of the image, and the part of the
// horizontal one that shows (it starts in the same phase: 2^30 - 10 is even).
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"dashes_1_1", {{1, 1}}, 0, 1.0, {{-kHalf, 250}, {kHalf, 250}}},
      {"ratio_0.001", {{10, 5}}, 0, 0.001, {{-kHalf, 250}, {kHalf, 250}}},
      {"ticks_diagonal", {{1, 1}}, 1, 1.0, {{-kHalf, -kHalf + 7}, {kHalf, kHalf + 7}}},
      {"visible_part_only", {{1, 1}}, 0, 1.0, {{-10, 250}, {kSize + 10, 250}}},
  };
  return cases;
}

CKpLineStyleBase SubLine(const Case& c) {
  CKpLineStyleBase sub;
  for (auto [drawn, gap] : c.pattern) sub.Add(drawn, gap);
  sub.m_nHVMode = c.kind;
  sub.m_nHVLength = 3;
  sub.m_clrCurrent = sub.m_clrColor = RGB(0, 0, 0);
  return sub;
}

struct Outcome {
  long long skipped = 0, dropped = 0;
};

Outcome DrawOnce(QImage& image, const Case& c) {
  static CKpLineStyleEngine engine;  // a host keeps one engine for all its drawing
  CKpLineStyleBase sub = SubLine(c);
  std::vector<POINT> pts = c.pts;
  const long long skipped = engine.GetSkippedPoints(), dropped = engine.GetDroppedPoints();
  CQtDC dc(image);
  engine.SetMapMode(MM_TEXT);
  engine.KeepDC(&dc);
  engine.SetRatio(c.ratio);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
  engine.RestoreDC();
  dc.End();
  return Outcome{engine.GetSkippedPoints() - skipped, engine.GetDroppedPoints() - dropped};
}

void BM_Draw(benchmark::State& state, const Case* c) {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    DrawOnce(image, *c);
    benchmark::DoNotOptimize(image.constBits());
  }
}

// The console output, then each case's time against the target.
class TargetReporter : public benchmark::ConsoleReporter {
 public:
  TargetReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (r.error_occurred || (!median && r.run_type != Run::RT_Iteration)) continue;
      const double ms = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e3;
      Entry& e = m_entries[r.run_name.function_name];
      if (median || !e.median) e = Entry{median, ms};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    for (const auto& [name, e] : m_entries) {
      const bool whole = name.find("visible_part_only") == std::string::npos;
      char line[200];
      std::snprintf(line, sizeof line, "%-24s %9.4f ms wall (%s)%s\n", name.c_str(), e.ms,
                    e.median ? "median" : "single run",
                    whole ? (e.ms < kTargetMs ? "  target < 100 ms: met" : "  target < 100 ms: MISSED") : "");
      out << line;
    }
  }

 private:
  struct Entry {
    bool median = false;
    double ms = 0;
  };
  std::map<std::string, Entry> m_entries;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // What one drawing passes over and inks, so that a drawing that walks
  // everything (or shows nothing) is seen at once.
  for (const Case& c : Cases()) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const Outcome o = DrawOnce(image, c);
    long inked = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) inked += image.pixel(x, y) != qRgb(255, 255, 255);
    std::printf("%-18s passed over %lld boundaries, dropped %lld, %ld pixels inked\n", c.name,
                o.skipped, o.dropped, inked);
  }
  for (const Case& c : Cases())
    benchmark::RegisterBenchmark((std::string("Draw/") + c.name).c_str(), BM_Draw, &c)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  TargetReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
