// What a dashed line costs through the engine next to Qt dashing it itself.
// One dashed polyline that fills a 2048 x 2048 image is drawn
//   (a) through the engine on a CQtDC over the image (the engine cuts the
//       dashes and hands them over one MoveTo + LineTo each), and
//   (b) by one QPainter::drawPolyline with a QPen carrying the same dash
//       pattern (the only native call that runs the pattern on across
//       vertices),
// for three pens: one pixel aliased, one pixel anti-aliased, four units with
// flat caps. Each pen's ratio (engine time / QPainter time) comes from one
// run with interleaved repetitions. Before timing, both pictures are drawn
// once and compared pixel by pixel; the program fails when they differ.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleBase.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kSize = 2048;
constexpr long kDash = 12, kGap = 6;  // the sub-line's pattern, device units (ratio 1)
constexpr double kPeriod = kDash + kGap;
// Qt gives up dashing beyond this many repetitions of the pattern and draws
// a half-transparent solid line instead. The polyline is shorter than that
// many periods, so the limit cannot apply however Qt counts them.
constexpr double kQtDashLimit = 10000;

struct Config {
  const char* name;
  int width;  // device units
  bool antialiased;
  double target;  // highest acceptable ratio
};

const Config kConfigs[] = {
    {"1px", 1, false, 1.1},
    {"1px_aa", 1, true, 1.1},
    {"4px_flat", 4, false, 1.0},
};

// A meander of horizontal and vertical segments, row after row (32 units
// apart, alternating in direction) across the whole image: along a row,
// runs of 3 to 40 units with jogs of 2 to 7 units up or down that keep
// within 6 units of the row's centre line. Fixed seed.
//
// Only axis-parallel segments: Qt's one-pixel dasher measures dashes in
// pixels along the major axis (a 12-unit dash at 45 degrees covers 12
// columns, 17 units), the engine measures true length, so on slanted
// segments the two would draw different dashes and no pixel comparison
// could hold. Four-unit pens are dashed along the true length by both.
const std::vector<POINT>& Meander() {
  static const std::vector<POINT> points = [] {
    constexpr int kMargin = 12, kRowPitch = 32, kBand = 6;
    std::uint64_t state = 0x2545F4914F6CDD1Dull;
    const auto below = [&state](int n) {  // xorshift64*, in [0, n)
      state ^= state >> 12;
      state ^= state << 25;
      state ^= state >> 27;
      return static_cast<int>(((state * 0x2545F4914F6CDD1Dull) >> 33) % static_cast<std::uint64_t>(n));
    };
    std::vector<POINT> pts;
    int row = 0;
    int y = kMargin + kBand, x = kMargin;
    pts.push_back(POINT{x, y});
    for (int centre = kMargin + kBand; centre + kBand < kSize - kMargin; centre += kRowPitch, ++row) {
      const int dir = row % 2 == 0 ? 1 : -1;
      const int end = dir > 0 ? kSize - kMargin : kMargin;
      if (row > 0) {  // down to this row
        y = centre;
        pts.push_back(POINT{x, y});
      }
      while (x != end) {
        const int run = std::min(3 + below(38), std::abs(end - x));
        x += dir * run;
        pts.push_back(POINT{x, y});
        if (x == end) break;
        int jog = 2 + below(6);
        if (below(2) == 0) jog = -jog;
        if (std::abs(y + jog - centre) > kBand) jog = -jog;
        y += jog;
        pts.push_back(POINT{x, y});
      }
    }
    return pts;
  }();
  return points;
}

double MeanderLength() {
  const std::vector<POINT>& p = Meander();
  double len = 0;
  for (size_t i = 1; i < p.size(); ++i) len += std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
  return len;
}

QImage Canvas() {
  QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  return img;
}

// --- (a) through the engine ---

CKpLineStyleBase SubLine(const Config& c) {
  CKpLineStyleBase sub;
  sub.Add(kDash, kGap);
  sub.m_clrCurrent = sub.m_clrColor = RGB(0, 0, 0);
  sub.m_nCurWidth = static_cast<short>(c.width);
  // Flat ends for the wide and the anti-aliased pen. (The aliased one-pixel
  // sub-line is a plain one and draws with the host's pen, which CQtDC
  // gives flat ends anyway.) Anti-aliased, the engine draws every piece of
  // a dash on its own; with round caps each piece would get a cap, making
  // every dash a pixel longer and every vertex inside a dash a quarter
  // darker than one stroke drawn by Qt.
  if (c.width > 1 || c.antialiased) sub.SetCap(2);
  return sub;
}

void DrawThroughEngine(QImage& img, const Config& c) {
  static CKpLineStyleEngine engine;  // a host keeps one engine for all its drawing
  static std::vector<POINT> pts = Meander();  // the driver takes a non-const pointer
  CKpLineStyleBase sub = SubLine(c);
  CQtDC dc(img);
  engine.SetMapMode(MM_TEXT);
  engine.SetClearSawtooth(c.antialiased ? 1 : 0);
  engine.KeepDC(&dc);
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
  engine.RestoreDC();
  dc.End();
}

// --- (b) QPainter dashing the polyline itself ---

// The points as Qt takes them. Anti-aliased, CQtDC moves integer
// coordinates onto pixel centres (half a pixel); the reference does the same.
std::vector<QPointF> QtPoints(const Config& c) {
  const double shift = c.antialiased ? 0.5 : 0.0;
  std::vector<QPointF> out;
  for (const POINT& p : Meander()) out.emplace_back(p.x + shift, p.y + shift);
  return out;
}

QPen QtPen(const Config& c) {
  // The engine's pen: flat ends, round joins (the sub-line's join style).
  // Qt's dash lengths are in pen widths.
  QPen pen(Qt::black, c.width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  pen.setDashPattern({static_cast<qreal>(kDash) / c.width, static_cast<qreal>(kGap) / c.width});
  return pen;
}

void DrawWithQPainter(QImage& img, const Config& c, const QPen& pen, const std::vector<QPointF>& pts) {
  QPainter painter(&img);
  painter.setRenderHint(QPainter::Antialiasing, c.antialiased);
  painter.setPen(pen);
  painter.drawPolyline(pts.data(), static_cast<int>(pts.size()));
}

// --- the pixel guard ---

// Points along the meander where the pattern switches between dash and gap
// (measured along the true length, as the engine and Qt's wide pens do).
std::vector<QPointF> DashEnds() {
  const std::vector<POINT>& p = Meander();
  std::vector<QPointF> ends;
  double next = kDash;  // distance along the line of the next switch
  bool inDash = true;
  double walked = 0;
  for (size_t i = 1; i < p.size(); ++i) {
    const double len = std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    while (next <= walked + len) {
      const double t = (next - walked) / len;
      ends.emplace_back(p[i - 1].x + t * (p[i].x - p[i - 1].x), p[i - 1].y + t * (p[i].y - p[i - 1].y));
      inDash = !inDash;
      next += inDash ? kDash : kGap;
    }
    walked += len;
  }
  return ends;
}

struct Comparison {
  long inked = 0;     // pixels either picture coloured
  long differing = 0; // of those, differing by more than the tolerance
  long excused = 0;   // differing, but next to a dash end
  double Percent() const { return inked > 0 ? 100.0 * static_cast<double>(differing) / inked : 100.0; }
};

// A pixel differs when one of its channels differs by more than `tolerance`
// (out of 255); differences within `radius` pixels (in x and in y) of a dash
// end are rounding of where the dash stops and are not counted.
Comparison Compare(const QImage& a, const QImage& b, int tolerance, int radius) {
  std::vector<std::uint8_t> nearEnd(static_cast<size_t>(kSize) * kSize, 0);
  for (const QPointF& e : DashEnds()) {
    const int cx = static_cast<int>(std::floor(e.x())), cy = static_cast<int>(std::floor(e.y()));
    for (int y = std::max(0, cy - radius); y <= std::min(kSize - 1, cy + radius); ++y)
      for (int x = std::max(0, cx - radius); x <= std::min(kSize - 1, cx + radius); ++x)
        nearEnd[static_cast<size_t>(y) * kSize + x] = 1;
  }
  Comparison c;
  const QRgb white = qRgb(255, 255, 255);
  for (int y = 0; y < kSize; ++y) {
    const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < kSize; ++x) {
      if ((ra[x] | 0xFF000000u) == white && (rb[x] | 0xFF000000u) == white) continue;
      ++c.inked;
      const int d = std::max({std::abs(qRed(ra[x]) - qRed(rb[x])), std::abs(qGreen(ra[x]) - qGreen(rb[x])),
                              std::abs(qBlue(ra[x]) - qBlue(rb[x])), std::abs(qAlpha(ra[x]) - qAlpha(rb[x]))});
      if (d <= tolerance) continue;
      if (nearEnd[static_cast<size_t>(y) * kSize + x])
        ++c.excused;
      else
        ++c.differing;
    }
  }
  return c;
}

constexpr int kTolerance = 32;  // anti-aliased coverage may differ this much
constexpr int kEndRadius = 2;
constexpr double kMaxDifferingPercent = 1.0;

// --- benchmarks ---

void BM_Engine(benchmark::State& state, const Config* c) {
  QImage img = Canvas();
  for (auto _ : state) {
    DrawThroughEngine(img, *c);
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Meander().size()));
}

void BM_QPainter(benchmark::State& state, const Config* c) {
  QImage img = Canvas();
  const std::vector<QPointF> pts = QtPoints(*c);  // ready-made: the DC converts its own
  const QPen pen = QtPen(*c);
  for (auto _ : state) {
    DrawWithQPainter(img, *c, pen, pts);
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Meander().size()));
}

// The console output, then per pen the ratio of the engine's time to
// QPainter's (medians when the run has repetitions), wall clock and CPU.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal (the library's own reporter would read
  // --benchmark_color; a replacement reporter has to decide itself).
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (r.error_occurred || (!median && r.run_type != Run::RT_Iteration)) continue;
      Times& t = median ? m_median[r.run_name.function_name] : m_single[r.run_name.function_name];
      t = Times{r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    for (const Config& c : kConfigs) {
      const Times engine = Find(std::string("Engine/") + c.name);
      const Times qt = Find(std::string("QPainter/") + c.name);
      if (!(qt.real > 0 && qt.cpu > 0 && engine.real > 0)) continue;
      const double ratio = engine.cpu / qt.cpu;
      char line[200];
      std::snprintf(line, sizeof line,
                    "ratio engine / QPainter, %-8s: %6.3f real, %6.3f CPU (%s; target <= %.1f: %s)\n",
                    c.name, engine.real / qt.real, ratio, m_median.empty() ? "single runs" : "medians",
                    c.target, ratio <= c.target ? "met" : "MISSED");
      out << line;
    }
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

bool HasFlag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Ratios need both sides measured alike: unless told otherwise, 9
  // repetitions in random order, medians reported.
  std::vector<char*> args(argv, argv + argc);
  std::string reps = "--benchmark_repetitions=9", interleave = "--benchmark_enable_random_interleaving=true",
              aggregates = "--benchmark_report_aggregates_only=true";
  if (!HasFlag(argc, argv, "--benchmark_repetitions")) {
    args.push_back(reps.data());
    if (!HasFlag(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleave.data());
    if (!HasFlag(argc, argv, "--benchmark_report_aggregates_only")) args.push_back(aggregates.data());
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;

  const double length = MeanderLength();
  std::printf("polyline: %zu vertices, length %.0f units = %.0f pattern periods (Qt dashes up to %.0f)\n",
              Meander().size(), length, length / kPeriod, kQtDashLimit);
  bool ok = length / kPeriod < kQtDashLimit;

  // Both ways must draw (nearly) the same picture, or the times mean nothing.
  std::printf("pixel guard: differing by more than %d/255, not within %d px of a dash end, "
              "per pixel inked by either (limit %.1f%%)\n",
              kTolerance, kEndRadius, kMaxDifferingPercent);
  for (const Config& c : kConfigs) {
    QImage viaEngine = Canvas(), viaQt = Canvas();
    DrawThroughEngine(viaEngine, c);
    DrawWithQPainter(viaQt, c, QtPen(c), QtPoints(c));
    const Comparison cmp = Compare(viaEngine, viaQt, kTolerance, kEndRadius);
    const bool pass = cmp.Percent() < kMaxDifferingPercent;
    ok = ok && pass;
    std::printf("  %-8s %ld inked, %ld differing (%.3f%%), %ld more at dash ends: %s\n", c.name, cmp.inked,
                cmp.differing, cmp.Percent(), cmp.excused, pass ? "ok" : "FAILED");
    if (const char* dir = std::getenv("KP_DASH_RATIO_PNG")) {  // pictures to look at
      viaEngine.save(QString("%1/%2_engine.png").arg(dir, c.name));
      viaQt.save(QString("%1/%2_qpainter.png").arg(dir, c.name));
    }
  }
  std::fflush(stdout);
  if (!ok) {
    std::printf("the pictures differ: not timing\n");
    return 1;
  }

  for (const Config& c : kConfigs) {
    benchmark::RegisterBenchmark((std::string("Engine/") + c.name).c_str(), BM_Engine, &c)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((std::string("QPainter/") + c.name).c_str(), BM_QPainter, &c)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
