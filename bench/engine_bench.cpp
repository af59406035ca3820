// The engine's own cost: one sub-line drawn along a 1,000,000-vertex polyline
// onto a device context that only counts what reaches it. Reports input
// vertices per second for a plain dashed line, a tick line and a double line.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleBase.h"
#include "platform/CDC.h"

namespace {

constexpr long kVertices = 1000000;

// A device context that draws nothing: its hooks count calls and points.
class CCountingDC : public CDC {
 public:
  SIZE GetDeviceSize() const override { return SIZE{1 << 20, 1 << 20}; }

  struct Counts {
    std::int64_t lines = 0, polylines = 0, aaPolylines = 0, figures = 0, points = 0;
  };
  const Counts& GetCounts() const { return m_counts; }
  void Reset() { m_counts = Counts{}; }

 protected:
  void DoLine(POINT, POINT) override {
    ++m_counts.lines;
    m_counts.points += 2;
  }
  void DoPolyline(const POINT*, int n) override {
    ++m_counts.polylines;
    m_counts.points += n;
  }
  void DoPolygon(const POINT*, int n) override {
    ++m_counts.figures;
    m_counts.points += n;
  }
  void DoEllipse(const RECT&) override { ++m_counts.figures; }
  void DoArc(const RECT&, POINT, POINT) override { ++m_counts.figures; }
  void DoRectangle(const RECT&) override { ++m_counts.figures; }
  void DoFillRect(const RECT&, const CBrush::State&) override { ++m_counts.figures; }
  void DoTextOut(int, int, const CString&) override { ++m_counts.figures; }
  void DoAAPolyline(const POINT*, int n, const AAPEN&) override {
    ++m_counts.aaPolylines;
    m_counts.points += n;
  }

 private:
  Counts m_counts;
};

// A gentle random walk: every step turns by at most 20 degrees and is 3 to
// 40 units long; it bounces off the sides of a 100,000-unit square. Fixed
// seed, so every benchmark (and every run) walks the same points.
const std::vector<POINT>& Walk() {
  static const std::vector<POINT> points = [] {
    constexpr double kSide = 100000.0, kPi = 3.14159265358979323846;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto uniform = [&state] {  // xorshift64*, in [0, 1)
      state ^= state >> 12;
      state ^= state << 25;
      state ^= state >> 27;
      return static_cast<double>((state * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
    };
    std::vector<POINT> pts;
    pts.reserve(kVertices);
    double x = kSide / 2, y = kSide / 2, heading = 0;
    for (long i = 0; i < kVertices; ++i) {
      pts.push_back(POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))});
      heading += (uniform() - 0.5) * (40.0 * kPi / 180.0);
      const double step = 3.0 + 37.0 * uniform();
      x += step * std::cos(heading);
      y += step * std::sin(heading);
      if (x < 0 || x > kSide) {
        x = x < 0 ? -x : 2 * kSide - x;
        heading = kPi - heading;
      }
      if (y < 0 || y > kSide) {
        y = y < 0 ? -y : 2 * kSide - y;
        heading = -heading;
      }
    }
    return pts;
  }();
  return points;
}

CKpLineStyleBase DashedSub() {
  CKpLineStyleBase sub;
  sub.Add(12, 6);
  sub.m_clrCurrent = sub.m_clrColor = RGB(0, 0, 0);
  return sub;
}

CKpLineStyleBase TickSub() {
  CKpLineStyleBase sub = DashedSub();
  sub.m_nHVMode = 1;
  sub.m_nHVLength = 4;
  return sub;
}

CKpLineStyleBase DoubleSub() {
  CKpLineStyleBase sub = DashedSub();
  sub.m_nHVMode = 43;
  sub.m_nRepeatMode = 1;
  sub.m_nHVLength = 4;
  return sub;
}

// Draws the sub-line along the walk once, as a host does.
void DrawOnce(CKpLineStyleEngine& engine, CCountingDC& dc, CKpLineStyleBase& sub,
              std::vector<POINT>& pts) {
  engine.KeepDC(&dc);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
  engine.RestoreDC();
}

void RunStyle(benchmark::State& state, CKpLineStyleBase sub) {
  std::vector<POINT> pts = Walk();  // the driver takes a non-const pointer
  CKpLineStyleEngine engine;
  engine.SetMapMode(MM_TEXT);
  CCountingDC dc;
  for (auto _ : state) {
    DrawOnce(engine, dc, sub, pts);
    benchmark::ClobberMemory();
  }
  const CCountingDC::Counts& c = dc.GetCounts();
  if (c.points == 0) {
    state.SkipWithError("nothing reached the device (is the kind implemented?)");
    return;
  }
  const double runs = static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * kVertices);
  // What reached the device per drawing (the same every time).
  state.counters["lines"] = static_cast<double>(c.lines) / runs;
  state.counters["out_points"] = static_cast<double>(c.points) / runs;
}

void BM_Dashed(benchmark::State& state) { RunStyle(state, DashedSub()); }
void BM_Ticks(benchmark::State& state) { RunStyle(state, TickSub()); }
void BM_DoubleLine(benchmark::State& state) { RunStyle(state, DoubleSub()); }

BENCHMARK(BM_Dashed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ticks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleLine)->Unit(benchmark::kMillisecond);

// The console output, then each style's rate in million input vertices per
// second of CPU time (medians when the run has repetitions).
class RateReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal (the library's own reporter would read
  // --benchmark_color; a replacement reporter has to decide itself).
  RateReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (r.error_occurred || (!median && r.run_type != Run::RT_Iteration)) continue;
      Entry& e = m_entries[r.run_name.function_name];
      if (median || !e.median) e = Entry{median, r.GetAdjustedCPUTime(), r.GetAdjustedRealTime(), r.time_unit};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    for (const auto& [name, e] : m_entries) {
      if (e.cpu <= 0 || e.real <= 0) continue;  // skipped
      const double toSeconds = 1.0 / benchmark::GetTimeUnitMultiplier(e.unit);
      char line[160];
      std::snprintf(line, sizeof line, "%-14s %6.1f M vertices/s CPU, %6.1f M/s wall (%s)%s\n",
                    name.c_str(), kVertices / (e.cpu * toSeconds) / 1e6,
                    kVertices / (e.real * toSeconds) / 1e6, e.median ? "median" : "single run",
                    name == "BM_Dashed" ? "  target >= 20 M/s" : "");
      out << line;
    }
  }

 private:
  struct Entry {
    bool median = false;
    double cpu = 0, real = 0;
    benchmark::TimeUnit unit = benchmark::kMillisecond;
  };
  std::map<std::string, Entry> m_entries;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // What one drawing of each style hands the device, so an empty drawing
  // (a style not implemented) is seen at once.
  std::vector<POINT> pts = Walk();
  const struct {
    const char* name;
    CKpLineStyleBase sub;
  } styles[] = {{"dashed", DashedSub()}, {"ticks", TickSub()}, {"double line", DoubleSub()}};
  for (auto s : styles) {
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_TEXT);
    CCountingDC dc;
    DrawOnce(engine, dc, s.sub, pts);
    const CCountingDC::Counts& c = dc.GetCounts();
    std::printf("%-12s lines %lld, polylines %lld, AA polylines %lld, points %lld\n", s.name,
                static_cast<long long>(c.lines), static_cast<long long>(c.polylines),
                static_cast<long long>(c.aaPolylines), static_cast<long long>(c.points));
  }
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
