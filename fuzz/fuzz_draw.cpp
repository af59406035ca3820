// Fuzz target: a drawing as a host makes it, decoded from the input
// (fuzz/KpFuzzInput.h): a style drawn along a polyline with the drawing
// operations of the style and the previews the input picks, on the
// recording device context and, when the input asks for it, on a small
// image through Qt.
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "companions/KpResourceSymbols.h"
#include "engine/CKpLineStyleEngine.h"
#include "fuzz/KpFuzzInput.h"
#include "platform/CRecordingDC.h"
#include "platform/CRect.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kImageSize = 64;
// The recording DC's device: small, like the image, so that an input pays
// for what a window of icons would show rather than for a whole screen.
constexpr SIZE kRecordingSize{256, 256};
// Enough lines to cover every kind of call a drawing makes; the rest of a
// long drawing is only checked for what it does to the DC's state.
constexpr std::size_t kTraceLines = 4096;

// Text needs Qt's font database, which lives in the application object; the
// object stays until the process ends.
void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz_draw";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

CKpSymLib& Symbols() {
  static CKpSymLib symbols = kp::ResourceSymbols();
  return symbols;
}

// Puts the module's engine back as the previous input found it, so that one
// input never depends on another.
class EngineScope {
 public:
  EngineScope()
      : m_engine(gLineStyleEngine),
        m_mapMode(m_engine.GetMapMode()),
        m_compress(m_engine.GetCanCompress()),
        m_symbols(m_engine.m_pSymLib) {}
  EngineScope(const EngineScope&) = delete;
  EngineScope& operator=(const EngineScope&) = delete;
  ~EngineScope() {
    m_engine.SetMapMode(m_mapMode);
    m_engine.SetCanCompress(m_compress);
    m_engine.SetClearSawtooth(0);
    m_engine.SetRatio(1.0);
    m_engine.m_pSymLib = m_symbols;
    m_engine.m_pDC = nullptr;  // the DC of this input is gone
    m_engine.Flush();
  }

 private:
  CKpLineStyleEngine& m_engine;
  int m_mapMode;
  int m_compress;
  CKpSymLib* m_symbols;
};

void ApplyOverrides(kp::DrawInput& in) {
  CKpLineStyleObj& style = in.style;
  const bool width = in.Has(kp::KP_DRAW_WIDTH);
  const bool color = in.Has(kp::KP_DRAW_COLOR);
  if (width && color)
    style.SetLineStyle(in.width, static_cast<long>(in.color));
  else if (width)
    style.SetWidth(in.width);
  else if (color)
    style.SetColor(static_cast<long>(in.color));
  else if (in.Has(kp::KP_DRAW_OWN_PENS))
    style.SetLineStyle();
}

void DrawStyle(CDC& dc, kp::DrawInput& in) {
  CKpLineStyleEngine& engine = gLineStyleEngine;
  engine.SetMapMode(in.mapMode);
  if (engine.KeepDC(&dc) == nullptr) return;
  engine.SetRatio(in.Ratio());
  engine.SetClearSawtooth(in.Has(kp::KP_DRAW_ANTI_ALIAS) ? 1 : 0);
  engine.SetCanCompress(in.Has(kp::KP_DRAW_COMPRESS) ? 1 : 0);
  engine.m_pSymLib = in.Has(kp::KP_DRAW_SYMBOLS) ? &Symbols() : nullptr;
  ApplyOverrides(in);

  CKpLineStyleObj& style = in.style;
  POINT* pts = in.points.data();
  const long n = static_cast<long>(in.points.size());
  style.Polyline(pts, n);
  if (in.Has(kp::KP_DRAW_ONE_SUBLINE)) style.Polyline(in.subLineIndex, pts, n);
  if (in.Has(kp::KP_DRAW_POLYGON)) style.Polygon(pts, n);
  // Two parts, the second starting where the first ends.
  if (in.Has(kp::KP_DRAW_PARTS)) {
    const unsigned long counts[2] = {static_cast<unsigned long>(n / 2),
                                     static_cast<unsigned long>(n - n / 2)};
    style.PolyPolyline(pts, counts, 2);
  }
  if (in.Has(kp::KP_DRAW_RINGS)) {
    int rings[2] = {static_cast<int>(n / 2), static_cast<int>(n - n / 2)};
    style.PolyPolygon(pts, rings, 2);
  }
  if (in.Has(kp::KP_DRAW_FAST_PENS)) {
    style.CreateFastPen();
    style.PolylineFast(pts, n);
    style.DeleteFastPen();
  }
  if (in.Has(kp::KP_DRAW_FAST_FAST)) {
    style.CreateFastFastPen();
    style.PolylineFastFast(pts, n);
    style.DeleteFastFastPen();
  }
  engine.RestoreDC();
}

// The previews keep and restore the DC themselves, with the module's engine.
void DrawPreviews(CDC& dc, kp::DrawInput& in) {
  CKpLineStyleObj& style = in.style;
  RECT rect = in.sampleRect;
  CRect clip(in.sampleRect);
  style.DrawSample(&dc, rect, clip);

  rect = in.sampleRect;
  clip = CRect(in.sampleRect);
  style.DrawSample(in.subLineIndex, &dc, rect, clip);

  rect = in.sampleRect;
  style.DrawTestSample(&dc, rect);

  CRect decoration(in.sampleRect);
  style.DrawDecorateSample(&dc, decoration, in.decorationLength, in.decorationWidth, in.decorationPosition,
                           in.decorationKind);

  if (CKpLineStyleBase* sub = style.GetElementAt(in.subLineIndex)) {
    rect = in.sampleRect;
    sub->DrawSample(&dc, rect);
  }
}

void Draw(CDC& dc, kp::DrawInput& in) {
  EngineScope scope;
  DrawStyle(dc, in);
  if (in.Has(kp::KP_DRAW_PREVIEWS)) DrawPreviews(dc, in);
  dc.SelectClipRgn(nullptr);
}

}  // namespace

// Fontconfig's caches, which Qt's font database holds until the process
// ends, are not freed at exit; the leak checker would report them after the
// last input of every run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  EnsureGuiApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnsureGuiApplication();
  kp::DrawInput in = kp::DecodeDrawInput(data, size);
  {
    CRecordingDC dc(kRecordingSize, in.Has(kp::KP_DRAW_PRINTING));
    dc.SetTraceLimit(in.Has(kp::KP_DRAW_TRACE) ? kTraceLines : 0);
    Draw(dc, in);
  }
  if (in.Has(kp::KP_DRAW_QT)) {
    // The same drawing again, on pixels: the overrides already applied stay.
    QImage image(kImageSize, kImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    CQtDC dc(image);
    Draw(dc, in);
    dc.End();
  }
  return 0;
}
