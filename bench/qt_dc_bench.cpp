// What batching buys: 200,000 short connected segments drawn through CQtDC
// one MoveTo + LineTo at a time, against the same points handed to one
// QPainter::drawPolyline. At the end the ratio of the two times is printed.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/CQtDC.h"

namespace {

constexpr int kSize = 1000;
constexpr int kSegments = 200000;

// A zigzag 5 pixels along and 6 across, row after row in alternating
// directions, wrapping to the top when it reaches the bottom: short segments
// that all connect.
const std::vector<POINT>& Zigzag() {
  static const std::vector<POINT> points = [] {
    constexpr int kStep = 5, kAmplitude = 6, kRowPitch = 7, kMargin = 10;
    constexpr int kPerRow = (kSize - 2 * kMargin) / kStep;
    constexpr int kRows = (kSize - 2 * kMargin) / kRowPitch;
    std::vector<POINT> pts;
    pts.reserve(kSegments + 1);
    for (int i = 0; i <= kSegments; ++i) {
      const int row = i / kPerRow, col = i % kPerRow;
      const int along = row % 2 == 0 ? col : kPerRow - 1 - col;
      const int y = kMargin + (row % kRows) * kRowPitch + (i % 2) * kAmplitude;
      pts.push_back(POINT{kMargin + along * kStep, y});
    }
    return pts;
  }();
  return points;
}

QImage Canvas() {
  QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  return img;
}

// The DC's stock black pen as Qt draws it.
const QPen kPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap);

void DrawThroughDC(QImage& img) {
  const std::vector<POINT>& pts = Zigzag();
  CQtDC dc(img);
  for (int i = 0; i < kSegments; ++i) {
    dc.MoveTo(pts[i]);
    dc.LineTo(pts[i + 1]);
  }
  dc.Flush();
}

void DrawPolyline(QImage& img, const std::vector<QPointF>& pts) {
  QPainter painter(&img);
  painter.setPen(kPen);
  painter.drawPolyline(pts.data(), static_cast<int>(pts.size()));
}

std::vector<QPointF> QtPoints() {
  std::vector<QPointF> out;
  for (const POINT& p : Zigzag()) out.emplace_back(p.x, p.y);
  return out;
}

void BM_CQtDC_MoveToLineTo(benchmark::State& state) {
  QImage img = Canvas();
  for (auto _ : state) {
    DrawThroughDC(img);
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

void BM_QPainter_DrawPolyline(benchmark::State& state) {
  QImage img = Canvas();
  const std::vector<QPointF> pts = QtPoints();  // ready-made: the DC has to convert its own
  for (auto _ : state) {
    DrawPolyline(img, pts);
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

BENCHMARK(BM_CQtDC_MoveToLineTo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QPainter_DrawPolyline)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console output, plus the ratio of the two times (medians when the run
// has repetitions). CPU time is printed too: on a busy machine the wall clock
// also counts other programs' turns.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (!median && r.run_type != Run::RT_Iteration) continue;
      Times& t = median ? m_median[r.run_name.function_name] : m_single[r.run_name.function_name];
      t = Times{r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const Times dc = Find("BM_CQtDC_MoveToLineTo"), qt = Find("BM_QPainter_DrawPolyline");
    if (qt.real > 0 && qt.cpu > 0)
      std::printf("ratio CQtDC / drawPolyline: %.3f real, %.3f CPU (%s; target <= 1.1)\n",
                  dc.real / qt.real, dc.cpu / qt.cpu, m_median.empty() ? "single runs" : "medians");
  }

 private:
  struct Times {
    double real = 0, cpu = 0;
  };
  Times Find(const std::string& name) const {
    auto it = m_median.find(name);
    if (it != m_median.end()) return it->second;
    it = m_single.find(name);
    return it != m_single.end() ? it->second : Times{};
  }
  std::map<std::string, Times> m_median, m_single;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Both ways must set the same pixels, or the comparison means nothing.
  QImage viaDC = Canvas(), viaQt = Canvas();
  DrawThroughDC(viaDC);
  DrawPolyline(viaQt, QtPoints());
  std::printf("same pixels: %s\n", viaDC == viaQt ? "yes" : "NO");
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return viaDC == viaQt ? 0 : 1;
}
