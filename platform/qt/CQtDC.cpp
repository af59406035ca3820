#include "platform/qt/CQtDC.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QStringDecoder>
#include <QSvgGenerator>
#include <QtMath>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/KpSaturate.h"
#include "platform/KpStrokeCover.h"

namespace {

// A batch this long is drawn even without a reason to flush. A megabyte of
// points stays in the cache between being written and being drawn, and the
// buffer is reused rather than grown: with 200,000 points in one batch the
// page faults of growing it cost more than the rest of the batching. (A
// dashed line restarts its pattern at such a break, once in 65536 points.)
constexpr std::size_t kMaxBatch = std::size_t{1} << 16;

// Wide lines along the axes go to the painter in paths of about this many
// elements: Qt fills a path in time growing with its edges times the rows
// it spans, so a path of dashes all over the image is slow.
constexpr int kPathPiece = 32;

// GDI measures its miter limit as the mitre length over the pen width and
// defaults to 10; Qt measures from the join point, half that.
constexpr qreal kMiterLimit = 5.0;

// Qt's anti-aliasing rasterizer steps through every cell an edge crosses in
// the rows it draws, however far beyond the device: a wide line reaching
// millions of pixels out costs millions of steps a row. Wide anti-aliased
// lines reaching further than this are stroked to their outline here and the
// outline is cut to the device, this far around it, before Qt fills it.
constexpr double kHugeStroke = 1 << 15;
constexpr double kCutMargin = 4.0;

// Asks the font renderer for aliased glyphs (the LOGFONT quality value).
constexpr BYTE kNonAntialiasedQuality = 3;

// Qt's dash patterns are in pen widths; for one-pixel pens that is pixels.
// These are GDI's cosmetic patterns.
QVector<qreal> CosmeticPattern(int dash) {
  switch (dash) {
    case PS_DASH:
      return {18, 6};
    case PS_DOT:
      return {3, 3};
    case PS_DASHDOT:
      return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

// Geometric pens scale their dashes with the width. Qt lengthens every dash
// by its caps (half a width at each end), so a capped pen gets dashes one
// width shorter and gaps one width longer: a dotted pen still shows its dots.
QVector<qreal> GeometricPattern(int dash, bool capped) {
  QVector<qreal> pattern;
  switch (dash) {
    case PS_DASH:
      pattern = {3, 1};
      break;
    case PS_DOT:
      pattern = {1, 1};
      break;
    case PS_DASHDOT:
      pattern = {3, 1, 1, 1};
      break;
    case PS_DASHDOTDOT:
      pattern = {3, 1, 1, 1, 1, 1};
      break;
    default:
      return {};
  }
  if (capped) {
    for (int i = 0; i < pattern.size(); i += 2) {
      pattern[i] = std::max<qreal>(pattern[i] - 1, 0.01);  // a zero-length dash would vanish
      pattern[i + 1] += 1;
    }
  }
  return pattern;
}

Qt::BrushStyle HatchPattern(int hatch) {
  switch (hatch) {
    case HS_HORIZONTAL:
      return Qt::HorPattern;
    case HS_VERTICAL:
      return Qt::VerPattern;
    case HS_FDIAGONAL:
      return Qt::FDiagPattern;
    case HS_BDIAGONAL:
      return Qt::BDiagPattern;
    case HS_CROSS:
      return Qt::CrossPattern;
    default:
      return Qt::DiagCrossPattern;
  }
}

bool IsHatch(const QBrush& b) { return b.style() != Qt::NoBrush && b.style() != Qt::SolidPattern; }

Qt::PenCapStyle GdiCap(int cap) {
  switch (cap) {
    case PS_ENDCAP_SQUARE:
      return Qt::SquareCap;
    case PS_ENDCAP_FLAT:
      return Qt::FlatCap;
    default:
      return Qt::RoundCap;
  }
}

Qt::PenJoinStyle GdiJoin(int join) {
  switch (join) {
    case PS_JOIN_BEVEL:
      return Qt::BevelJoin;
    case PS_JOIN_MITER:
      return Qt::MiterJoin;
    default:
      return Qt::RoundJoin;
  }
}

bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool SameAAPen(const AAPEN& a, const AAPEN& b) {
  return a.width == b.width && a.color == b.color && a.cap == b.cap && a.join == b.join;
}

// Whole pixels around a box, so that rounding and anti-aliasing stay inside.
constexpr double kReachSlack = 2.0;

LONG OutwardToLong(double v, bool up) {
  return kp::SaturateToLong(kp::TruncWide(up ? std::ceil(v + kReachSlack) : std::floor(v - kReachSlack)));
}

// The part of a borrowed painter's device that drawing in its coordinates
// can reach: the device mapped back through its transform, cut to its clip.
// None when the transform cannot be inverted (nothing is then known).
std::optional<CRect> BorrowedReach(const QPainter& painter, bool clipping, const QRegion& clip) {
  const QPaintDevice* device = painter.device();
  if (device == nullptr) return std::nullopt;
  bool invertible = false;
  const QTransform back = painter.combinedTransform().inverted(&invertible);
  if (!invertible) return std::nullopt;
  QRectF reach = back.mapRect(QRectF(0, 0, device->width(), device->height()));
  if (clipping) reach &= QRectF(clip.boundingRect());
  if (reach.isEmpty()) return CRect();
  return CRect(OutwardToLong(reach.left(), false), OutwardToLong(reach.top(), false),
               OutwardToLong(reach.right(), true), OutwardToLong(reach.bottom(), true));
}

// Where a clip is cut when the device's own reach is unknown: Qt measures
// rectangles of up to twice this.
constexpr LONG kFarClip = 1 << 29;

// A non-empty rectangle (whose width fits an int) by its corners.
QRect ToQRect(const CRect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// A font size in whole pixels, at least one; sizes far beyond any device
// saturate rather than wrap.
int PixelSize(double v) { return std::max<LONG>(1, kp::RoundToLong(v)); }

bool OpaqueSolid(const QPen& pen) {
  return pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern &&
         pen.color().alpha() == 255;
}

}  // namespace

// --- construction ---

CQtDC::CQtDC(QImage& image) {
  m_size = SIZE{image.width(), image.height()};
  StartOwnedPainter(&image);
  if (m_active) {
    m_image = &image;
    // The painter has made the pixels its own (detached them) on starting;
    // this is the buffer it draws into.
    m_imageBits = image.bits();
  }
}

CQtDC::CQtDC(QPainter* painter, SIZE deviceSize) {
  m_painter = painter;
  m_borrowed = true;
  m_size = deviceSize;
  StartBorrowedPainter();
}

CQtDC::CQtDC(QPainter* painter) : CQtDC(painter, SIZE{0, 0}) {
  if (m_painter != nullptr && m_painter->device() != nullptr)
    m_size = SIZE{m_painter->device()->width(), m_painter->device()->height()};
}

CQtDC::CQtDC(std::unique_ptr<QPaintDevice> device, SIZE size, int dpi, bool printing)
    : m_device(std::move(device)), m_bPrinting(printing), m_size(size) {
  SetResolution(dpi, dpi);
  StartOwnedPainter(m_device.get());
}

std::unique_ptr<CQtDC> CQtDC::CreateSvg(const QString& fileName, SIZE sizePx, int dpi) {
  if (dpi <= 0) dpi = 96;
  auto svg = std::make_unique<QSvgGenerator>();
  svg->setFileName(fileName);
  svg->setSize(QSize(sizePx.cx, sizePx.cy));
  svg->setViewBox(QRect(0, 0, sizePx.cx, sizePx.cy));
  svg->setResolution(dpi);
  return std::unique_ptr<CQtDC>(new CQtDC(std::move(svg), sizePx, dpi, false));
}

std::unique_ptr<CQtDC> CQtDC::CreatePdf(const QString& fileName, const QPageSize& page, int dpi) {
  if (dpi <= 0) dpi = 600;
  auto pdf = std::make_unique<QPdfWriter>(fileName);
  pdf->setResolution(dpi);
  pdf->setPageSize(page);
  pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
  QPdfWriter* writer = pdf.get();
  const SIZE size{writer->width(), writer->height()};
  std::unique_ptr<CQtDC> dc(new CQtDC(std::move(pdf), size, dpi, true));
  dc->m_pdf = writer;
  return dc;
}

void CQtDC::StartOwnedPainter(QPaintDevice* device) {
  m_ownedPainter = std::make_unique<QPainter>();
  m_painter = m_ownedPainter.get();
  m_active = m_painter->begin(device);
  if (!m_active) return;
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_aaOffset = m_painter->paintEngine()->type() == QPaintEngine::Raster ? 0.5 : 0.0;
}

void CQtDC::StartBorrowedPainter() {
  if (m_painter == nullptr || !m_painter->isActive()) return;
  m_painter->save();
  m_baseClipping = m_painter->hasClipping();
  if (m_baseClipping) m_baseClip = m_painter->clipRegion();
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  const QPaintEngine* engine = m_painter->paintEngine();
  m_aaOffset = engine != nullptr && engine->type() == QPaintEngine::Raster ? 0.5 : 0.0;
  m_borrowedBox = BorrowedReach(*m_painter, m_baseClipping, m_baseClip);
  m_active = true;
}

std::optional<CRect> CQtDC::GetDeviceBox() const {
  if (!m_active) return CRect();
  if (m_borrowed) return m_borrowedBox;
  return CRect(0, 0, m_size.cx, m_size.cy);
}

CQtDC::~CQtDC() { End(); }

bool CQtDC::End() {
  if (m_ended) return m_endOk;
  m_ended = true;
  if (!m_active) return false;
  FlushLines();
  m_active = false;
  if (m_borrowed) {
    m_painter->restore();
    m_endOk = true;
  } else {
    m_endOk = m_painter->end();
  }
  return m_endOk;
}

void CQtDC::Flush() { FlushLines(); }

void CQtDC::SetFastPathsEnabled(bool on) {
  FlushLines();  // what is pending was meant the old way
  m_fastPaths = on;
}

bool CQtDC::NewPage() {
  if (!m_active || m_pdf == nullptr) return false;
  FlushLines();
  // The new page starts from a fresh graphics state; ours is set again.
  m_dirty = true;
  m_clipApplied = false;
  return m_pdf->newPage();
}

QColor CQtDC::ToQColor(COLORREF c) {
  return QColor(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                static_cast<int>(GetBValue(c)));
}

// --- state ---

void CQtDC::OnStateChanged() {
  // Called before the change: what is batched was meant with the old state.
  FlushLines();
  m_dirty = true;
}

bool CQtDC::Ready() {
  if (!m_active) return false;
  if (m_dirty) SyncState();
  return !m_clipEmpty;
}

void CQtDC::SyncState() {
  m_dirty = false;
  // The same arithmetic as LPtoDPf, with the divisions done once.
  m_scaleX = ScaleX();
  m_scaleY = ScaleY();
  m_windowOrgX = GetWindowOrg().x;
  m_windowOrgY = GetWindowOrg().y;
  m_viewportOrgX = GetViewportOrg().x;
  m_viewportOrgY = GetViewportOrg().y;
  SyncPen();
  m_brush = MakeBrush(GetBrushState());
  SyncClip();
}

void CQtDC::SyncPen() {
  const CPen::State& ps = GetPenState();
  const int dash = ps.Dash();
  m_penNull = dash == PS_NULL || (ps.extended && ps.brushStyle == BS_NULL);
  m_penStyled = false;
  m_penInsideFrame = false;
  m_penWidth = 1;
  if (m_penNull) {
    m_pen = QPen(Qt::NoPen);
    return;
  }
  const bool cosmetic = ps.width == 0 || (ps.extended && !ps.IsGeometric());
  // GDI pens are whole device pixels wide.
  if (!cosmetic) m_penWidth = std::max(1.0, std::round(ps.width * std::fabs(m_scaleX)));

  QBrush penBrush(ToQColor(ps.color));
  if (ps.extended && ps.brushStyle == BS_HATCHED)
    penBrush = QBrush(ToQColor(ps.color), HatchPattern(ps.hatch));

  // A simple pen wider than a pixel keeps these: solid, with round ends and
  // joins, whatever its dash style.
  QVector<qreal> pattern;
  Qt::PenCapStyle cap = Qt::RoundCap;
  Qt::PenJoinStyle join = Qt::RoundJoin;
  if (cosmetic || (!ps.extended && m_penWidth <= 1)) {
    // One-pixel lines: pixel dashes, and a flat end leaves out the last
    // pixel as GDI does, so a chain of lines sets each pixel once.
    pattern = CosmeticPattern(dash);
    cap = Qt::FlatCap;
  } else if (ps.extended) {
    cap = GdiCap(ps.Cap());
    join = GdiJoin(ps.Join());
    pattern = GeometricPattern(dash, cap != Qt::FlatCap);
  }
  m_penInsideFrame = dash == PS_INSIDEFRAME && m_penWidth > 1;
  m_penStyled = !pattern.isEmpty() || IsHatch(penBrush);

  m_pen = QPen(penBrush, m_penWidth, Qt::SolidLine, cap, join);
  m_pen.setMiterLimit(kMiterLimit);
  if (!pattern.isEmpty()) m_pen.setDashPattern(pattern);
}

QBrush CQtDC::MakeBrush(const CBrush::State& brush) const {
  switch (brush.style) {
    case BS_NULL:
      return QBrush(Qt::NoBrush);
    case BS_HATCHED:
      return QBrush(ToQColor(brush.color), HatchPattern(brush.hatch));
    default:
      return QBrush(ToQColor(brush.color));
  }
}

void CQtDC::SyncClip() {
  const std::optional<CRect>& clip = GetClipRect();
  // Qt keeps rectangles in ints and takes their width, which a clip as wide
  // as the plane overflows: the clip goes to Qt cut to what the device can
  // reach (or, where that is unknown, to a range Qt can measure).
  std::optional<CRect> cut;
  if (clip) {
    const std::optional<CRect> device = GetDeviceBox();
    cut.emplace();
    cut->IntersectRect(*clip, device ? *device : CRect(-kFarClip, -kFarClip, kFarClip, kFarClip));
  }
  m_clipEmpty = cut.has_value() && cut->IsRectEmpty();
  if (m_clipEmpty) return;  // nothing is drawn; the painter need not know
  // Clip changes are costly in the raster engine and most state changes
  // are pens, so an unchanged clip is left alone.
  if (m_clipApplied && m_appliedClip == cut) return;
  m_clipApplied = true;
  m_appliedClip = cut;
  QPainter& p = *m_painter;
  if (m_baseClipping) {
    p.setClipRegion(m_baseClip);
    if (cut) p.setClipRect(ToQRect(*cut), Qt::IntersectClip);
  } else if (cut) {
    p.setClipRect(ToQRect(*cut));
  } else {
    p.setClipping(false);
  }
}

void CQtDC::SyncFont() {
  // Pens change far more often than fonts; a font is built only when its
  // record or the scale it is measured with changes.
  const LOGFONT& lf = GetFontState();
  const int dpi = GetDeviceCaps(LOGPIXELSY);
  if (m_metrics && std::memcmp(&lf, &m_fontKey, sizeof lf) == 0 && m_fontScaleX == m_scaleX &&
      m_fontScaleY == m_scaleY && m_fontDpi == dpi)
    return;
  m_fontKey = lf;
  m_fontScaleX = m_scaleX;
  m_fontScaleY = m_scaleY;
  m_fontDpi = dpi;
  const QString face =
      QString::fromUtf8(lf.lfFaceName, static_cast<qsizetype>(strnlen(lf.lfFaceName, LF_FACESIZE)));
  QFont font;
  if (face.isEmpty()) {
    // An empty family resolves to whatever the font database lists first.
    font.setFamily(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
  } else {
    font.setFamily(face);
  }
  if (lf.lfWeight > 0)
    font.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(lf.lfWeight, 1, 1000)));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  if (lf.lfQuality == kNonAntialiasedQuality) font.setStyleStrategy(QFont::NoAntialias);

  const double sy = std::fabs(m_scaleY);
  double em = 0;
  if (lf.lfHeight < 0) {
    em = -static_cast<double>(lf.lfHeight) * sy;
  } else if (lf.lfHeight > 0) {
    // A cell height includes the internal leading: find the em that gives it.
    const double cell = lf.lfHeight * sy;
    font.setPixelSize(PixelSize(cell));
    const qreal h = QFontMetricsF(font, m_painter->device()).height();
    em = h > 0 ? cell * cell / h : cell;
  } else {
    em = 12.0 * dpi / 72.0;  // the default: 12 points
  }
  font.setPixelSize(PixelSize(em));
  if (lf.lfWidth > 0) {
    const qreal average = QFontMetricsF(font, m_painter->device()).averageCharWidth();
    if (average > 0) {
      const double want = lf.lfWidth * std::fabs(m_scaleX);
      font.setStretch(std::clamp<LONG>(kp::RoundToLong(100 * want / average), 1, 4000));
    }
  }
  m_font = font;
  m_metrics = std::make_unique<QFontMetricsF>(font, m_painter->device());
  m_rawFont = QRawFont::fromFont(font);
}

// --- geometry ---

QRectF CQtDC::DeviceBox(const RECT& box, bool outlined) const {
  const QPointF a = ToDevice(POINT{box.left, box.top});
  const QPointF b = ToDevice(POINT{box.right, box.bottom});
  const double x0 = std::min(a.x(), b.x());
  const double y0 = std::min(a.y(), b.y());
  double x1 = std::max(a.x(), b.x());
  double y1 = std::max(a.y(), b.y());
  if (outlined) {
    // Qt's aliased outline of 0..9 covers pixels 0..9, which GDI gives 0..10.
    x1 = std::max(x0, x1 - 1);
    y1 = std::max(y0, y1 - 1);
  }
  QRectF r(QPointF(x0, y0), QPointF(x1, y1));
  if (outlined && m_penInsideFrame) {
    // Pull the outline in so the whole pen stays inside the box.
    const double inset = std::min({(m_penWidth - 1) / 2, r.width() / 2, r.height() / 2});
    r.adjust(inset, inset, -inset, -inset);
  }
  return r;
}

template <typename Draw>
void CQtDC::PaintFigure(const Draw& draw, const QBrush& brush, bool outline) {
  QPainter& p = *m_painter;
  const bool withPen = outline && !m_penNull;
  const bool opaque = GetBkMode() == OPAQUE;
  const bool hatchUnder = opaque && IsHatch(brush);
  const bool penUnder = opaque && withPen && m_penStyled;
  if (!hatchUnder && !penUnder) {
    p.setPen(withPen ? m_pen : QPen(Qt::NoPen));
    p.setBrush(brush);
    draw();
    return;
  }
  // GDI paints the background colour into hatch and dash gaps in this mode.
  const QColor bk = ToQColor(GetBkColor());
  if (brush.style() != Qt::NoBrush) {
    p.setPen(Qt::NoPen);
    if (hatchUnder) {
      p.setBrush(bk);
      draw();
    }
    p.setBrush(brush);
    draw();
  }
  if (withPen) {
    p.setBrush(Qt::NoBrush);
    if (penUnder) {
      QPen under = m_pen;
      under.setStyle(Qt::SolidLine);
      under.setBrush(bk);
      p.setPen(under);
      draw();
    }
    p.setPen(m_pen);
    draw();
  }
}

// --- lines ---

void CQtDC::DoLine(POINT from, POINT to) {
  // The common case first: the line continues the pending run, and the state
  // is known to be unchanged since it began.
  if (!m_batch.empty() && from.x == m_lastPoint.x && from.y == m_lastPoint.y && !m_batchAA &&
      m_batch.size() < kMaxBatch) {
    m_batch.push_back(ToDevice(to));
    m_lastPoint = to;
    return;
  }
  if (!Ready() || m_penNull) return;
  if (m_batchAA || m_batch.size() >= kMaxBatch) FlushLines();
  if (m_batch.empty()) m_batchBk = GetBkColor();
  m_runs.push_back(static_cast<int>(m_batch.size()));
  m_batch.push_back(ToDevice(from));
  m_batch.push_back(ToDevice(to));
  m_lastPoint = to;
}

void CQtDC::DoPolyline(const POINT* pts, int n) {
  if (!Ready() || m_penNull) return;
  if (m_batchAA || m_batch.size() + static_cast<std::size_t>(n) > kMaxBatch) FlushLines();
  if (m_batch.empty()) m_batchBk = GetBkColor();
  m_runs.push_back(static_cast<int>(m_batch.size()));
  for (int i = 0; i < n; ++i) m_batch.push_back(ToDevice(pts[i]));
  m_lastPoint = pts[n - 1];
}

void CQtDC::FlushLines() {
  if (m_batch.empty()) return;
  // Qt strokes and cuts a wide line however far off it lies; a batch that
  // cannot reach what is shown is dropped whole (dropping only some of its
  // runs could change how Qt draws the rest).
  if (!BatchUnseen()) {
    if (m_batchAA)
      FlushAALines();
    else
      FlushPenLines();
  }
  m_batch.clear();
  m_runs.clear();
  m_batchAA = false;
}

void CQtDC::FlushPenLines() {
  if (m_fastPaths && WriteHairlines()) return;
  QPainter& p = *m_painter;
  // The batch is drawn as one union of strokes: with a pen far wider than
  // what is shown, one run reaching across paints all of it.
  if (m_fastPaths && !p.testRenderHint(QPainter::Antialiasing) && LastCoveringRun(m_pen) >= 0) {
    FillShownWithPen(ToQColor(m_batchBk));
    return;
  }
  const int n = static_cast<int>(m_batch.size());
  const int runs = static_cast<int>(m_runs.size());
  const bool split = m_fastPaths && runs > 1 && n != 2 * runs && SplitWideRuns();
  const auto draw = [&] {
    if (runs == 1) {
      p.drawPolyline(m_batch.data(), n);
    } else if (n == 2 * runs) {
      p.drawLines(m_batch.data(), runs);  // separate two-point lines: dashes
    } else if (split) {
      // Qt draws many lines in one drawLines quickly (a wide flat or square
      // pen: each line as a box), but fills one path of thousands of pieces
      // slowly.
      if (!m_lines.empty()) p.drawLines(m_lines.data(), static_cast<int>(m_lines.size() / 2));
      for (const QPainterPath& path : m_paths) p.drawPath(path);
    } else {
      QPainterPath path;
      path.reserve(n);
      for (int r = 0; r < runs; ++r) {
        const int end = r + 1 < runs ? m_runs[r + 1] : n;
        path.moveTo(m_batch[m_runs[r]]);
        for (int i = m_runs[r] + 1; i < end; ++i) path.lineTo(m_batch[i]);
      }
      p.drawPath(path);
    }
  };
  p.setBrush(Qt::NoBrush);
  if (m_penStyled && GetBkMode() == OPAQUE) {
    QPen under = m_pen;
    under.setStyle(Qt::SolidLine);
    under.setBrush(ToQColor(m_batchBk));
    p.setPen(under);
    draw();
  }
  p.setPen(m_pen);
  draw();
}

bool CQtDC::PlainOpaquePainter() const {
  const QPainter& p = *m_painter;
  const QPaintEngine* engine = p.paintEngine();
  return engine != nullptr && engine->type() == QPaintEngine::Raster &&
         p.deviceTransform().type() == QTransform::TxNone &&
         p.compositionMode() == QPainter::CompositionMode_SourceOver && p.opacity() == 1.0 &&
         !p.testRenderHint(QPainter::Antialiasing);
}

bool CQtDC::WriteHairlines() {
  // Qt's one-pixel stroker, which CQtHairlines stands in for, draws a pen
  // one pixel wide; a flat end adds nothing to the line.
  if (m_imageBits == nullptr || m_baseClipping || m_image->devicePixelRatio() != 1.0) return false;
  const QImage::Format format = m_image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return false;
  if (m_pen.widthF() != 1.0 || m_pen.capStyle() != Qt::FlatCap || !OpaqueSolid(m_pen) ||
      !PlainOpaquePainter())
    return false;
  const int n = static_cast<int>(m_batch.size());
  const int runs = static_cast<int>(m_runs.size());
  const CQtHairlines::Call call = runs == 1       ? CQtHairlines::Call::Polyline
                                  : n == 2 * runs ? CQtHairlines::Call::Lines
                                                  : CQtHairlines::Call::Path;
  if (!m_hairlines.Load(m_batch.data(), n, m_runs.data(), runs, call)) return false;
  QRect clip(0, 0, m_image->width(), m_image->height());
  if (m_appliedClip)
    clip &= ToQRect(*m_appliedClip);
  // Opaque, so the same value in all three formats.
  m_hairlines.Draw(m_imageBits, m_image->bytesPerLine(), m_image->width(), m_image->height(), clip,
                   m_pen.color().rgba());
  return true;
}

bool CQtDC::SplitWideRuns() {
  // Only even widths: an odd-width line along an axis has its edges through
  // pixel centres, where drawing a line on its own and filling it within a
  // path can decide differently. Drawing overlaps twice must change
  // nothing, so the pen must be opaque and the painter plain.
  if (m_penWidth <= 1 || std::fmod(m_penWidth, 2.0) != 0 || !OpaqueSolid(m_pen) ||
      !PlainOpaquePainter())
    return false;
  const int n = static_cast<int>(m_batch.size());
  const int runs = static_cast<int>(m_runs.size());
  const auto end = [&](int r) { return r + 1 < runs ? m_runs[r + 1] : n; };
  const auto whole = [](const QPointF& pt) {
    return std::fabs(pt.x()) <= (1 << 28) && std::fabs(pt.y()) <= (1 << 28) &&
           pt.x() == std::floor(pt.x()) && pt.y() == std::floor(pt.y());
  };
  // Lines along the axes between whole pixels go to drawLines, the other
  // runs to paths.
  m_lines.clear();
  m_pathRuns.clear();
  bool rectilinear = true;  // all the other runs along the axes between whole pixels
  for (int r = 0; r < runs; ++r) {
    const int start = m_runs[r];
    const QPointF& a = m_batch[start];
    const QPointF& b = m_batch[start + 1];
    const bool along = a.x() == b.x() || a.y() == b.y();
    if (end(r) - start == 2 && a != b && along && whole(a) && whole(b)) {
      m_lines.push_back(a);
      m_lines.push_back(b);
      continue;
    }
    m_pathRuns.push_back(r);
    for (int i = start; rectilinear && i < end(r); ++i)
      rectilinear = whole(m_batch[i]) && (i == start || m_batch[i].x() == m_batch[i - 1].x() ||
                                          m_batch[i].y() == m_batch[i - 1].y());
  }
  // Those runs as one path are stroked as within the whole batch, slanted
  // ones too; along the axes they may be cut into smaller paths, quicker to
  // fill. (Not polylines: Qt strokes a polyline of two points differently,
  // and the painter keeps something from the last wide line it stroked that
  // a polyline leaves differently from a path.)
  const int pieceSize = rectilinear ? kPathPiece : INT_MAX;
  m_paths.clear();
  for (const int r : m_pathRuns) {
    if (m_paths.empty() || m_paths.back().elementCount() >= pieceSize) m_paths.emplace_back();
    QPainterPath& path = m_paths.back();
    path.moveTo(m_batch[m_runs[r]]);
    for (int i = m_runs[r] + 1; i < end(r); ++i) path.lineTo(m_batch[i]);
  }
  return !m_paths.empty();
}

// --- figures ---

void CQtDC::DoPolygon(const POINT* pts, int n) {
  FlushLines();
  if (!Ready()) return;
  m_scratch.clear();
  for (int i = 0; i < n; ++i) m_scratch.push_back(ToDevice(pts[i]));
  PaintFigure([&] { m_painter->drawPolygon(m_scratch.data(), n, Qt::OddEvenFill); }, m_brush, true);
}

std::optional<CRect> CQtDC::ShownBox() const {
  std::optional<CRect> shown = GetDeviceBox();
  const std::optional<CRect>& clip = GetClipRect();
  if (!clip) return shown;
  if (!shown) return clip;
  CRect both;
  both.IntersectRect(*shown, *clip);
  return both;
}

kp::EllipseView CQtDC::ViewOfEllipse(const QRectF& r, const CRect& shown) const {
  const double reach = (m_penNull ? 0.0 : m_penWidth / 2) + kReachSlack;
  const QPointF c = r.center();
  return kp::ClassifyEllipse(c.x(), c.y(), r.width() / 2, r.height() / 2, reach, shown.left, shown.top,
                             shown.right, shown.bottom);
}

void CQtDC::DoEllipse(const RECT& box) {
  FlushLines();
  if (!Ready()) return;
  const QRectF r = DeviceBox(box, !m_penNull);
  // Qt strokes the whole outline whatever the clip, so an ellipse far larger
  // than the device is skipped when unseen and, when it covers what is shown
  // with its outline out of sight, drawn as the fill of what is shown.
  if (const std::optional<CRect> shown = ShownBox()) {
    switch (ViewOfEllipse(r, *shown)) {
      case kp::EllipseView::Hidden:
        return;
      case kp::EllipseView::Inside: {
        const QRectF fill(shown->left - kReachSlack, shown->top - kReachSlack, shown->Width() + 2 * kReachSlack,
                          shown->Height() + 2 * kReachSlack);
        PaintFigure([&] { m_painter->drawRect(fill); }, m_brush, false);
        return;
      }
      case kp::EllipseView::Crossing:
        // Under a pen far wider than the ellipse, all that is shown may lie
        // in the stroke; the fill then shows only through a hatch's gaps.
        if (PenCoversShown(r, *shown)) {
          if (IsHatch(m_pen.brush())) PaintFigure([&] { m_painter->drawEllipse(r); }, m_brush, false);
          FillShownWithPen(ToQColor(GetBkColor()));
          return;
        }
        break;
    }
  }
  if (!m_penNull && CanReuseArcStrokes()) {
    // A wide outline is stroked as a closed arc, which CQtArcStrokeCache
    // keeps for the next ellipse of the same size (Qt offsets the curves of
    // every ellipse anew, at great cost under a wide pen). Its pixels are
    // Qt's ellipse outline's but for a few along the widest pens. The fill
    // is the path Qt fills under such a pen too: without a pen Qt would
    // trace the whole ellipse, however little of it is shown.
    const QPainterPath shape = CQtArcStrokeCache::ArcPath(r, 0, -360, true);
    PaintFigure([&] { m_painter->drawPath(shape); }, m_brush, false);
    StrokeArc(r, 0, -360, true);
    return;
  }
  PaintFigure([&] { m_painter->drawEllipse(r); }, m_brush, true);
}

bool CQtDC::PenCoversShown(const QRectF& r, const CRect& shown) const {
  if (m_penNull || shown.IsRectEmpty() || !CanFillForStroke(m_pen)) return false;
  const QPointF c = r.center();
  return kp::EllipseStrokeCovers(c.x(), c.y(), r.width() / 2, r.height() / 2, m_pen.widthF() / 2,
                                 shown.left - kReachSlack, shown.top - kReachSlack, shown.right + kReachSlack,
                                 shown.bottom + kReachSlack);
}

void CQtDC::DoRectangle(const RECT& box) {
  FlushLines();
  if (!Ready()) return;
  const QRectF r = DeviceBox(box, !m_penNull);
  PaintFigure([&] { m_painter->drawRect(r); }, m_brush, true);
}

void CQtDC::DoFillRect(const RECT& box, const CBrush::State& brush) {
  FlushLines();
  if (!Ready()) return;
  const QBrush b = MakeBrush(brush);
  if (b.style() == Qt::NoBrush) return;
  const QRectF r = DeviceBox(box, false);
  PaintFigure([&] { m_painter->drawRect(r); }, b, false);
}

void CQtDC::DoArc(const RECT& box, POINT start, POINT end) {
  FlushLines();
  if (!Ready() || m_penNull) return;
  // Angles of the radials, measured on the device with y up (Qt's sense of
  // counter-clockwise), about the centre of the whole box. Dividing by the
  // radii turns them into the ellipse parameter Qt's arcs are drawn with, so
  // the arc ends on the radials of a flat ellipse too.
  const QRectF full = DeviceBox(box, false);
  const QPointF c = full.center();
  const double rx = std::max(full.width() / 2, 1e-9);
  const double ry = std::max(full.height() / 2, 1e-9);
  const auto angleOf = [&](POINT pt) {
    const QPointF d = ToDevice(pt) - c;
    return qRadiansToDegrees(std::atan2(-d.y() / ry, d.x() / rx));
  };
  const double a0 = angleOf(start);
  double span = std::fmod(angleOf(end) - a0, 360.0);
  if (span < 0) span += 360.0;
  if (span < 1e-9) span = 360.0;  // one radial: the whole ellipse
  const QRectF r = DeviceBox(box, true);
  // The arc is part of the outline: out of sight when the whole outline is.
  if (const std::optional<CRect> shown = ShownBox())
    if (ViewOfEllipse(r, *shown) != kp::EllipseView::Crossing) return;
  if (CanReuseArcStrokes()) {
    StrokeArc(r, a0, span, false);
    return;
  }
  const QPainterPath path = CQtArcStrokeCache::ArcPath(r, a0, span, false);
  PaintFigure([&] { m_painter->drawPath(path); }, QBrush(Qt::NoBrush), true);
}

void CQtDC::StrokeArc(const QRectF& r, double start, double span, bool closed) {
  QPainter& p = *m_painter;
  if (!m_fastPaths) {
    p.setPen(m_pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(CQtArcStrokeCache::ArcPath(r, start, span, closed));
    return;
  }
  // Kept relative to the whole pixel the box starts in, so that the same
  // arc anywhere on the device is one outline.
  const QPointF origin(std::floor(r.x()), std::floor(r.y()));
  const QPainterPath& outline = m_arcStrokes.Outline(r.translated(-origin), start, span, closed, m_pen);
  p.setPen(Qt::NoPen);
  p.setBrush(m_pen.brush());
  p.drawPath(outline.translated(origin));
}

bool CQtDC::CanReuseArcStrokes() const {
  // Checked against Qt stroking each arc where it lies, over pens of 1.5 to
  // 40,000 pixels and arcs anywhere near the device; a one-pixel pen is
  // drawn by another rasterizer, and anti-aliased or transformed drawing
  // does not move by whole pixels. An opaque background under a styled pen
  // is a second stroke.
  const QPainter& p = *m_painter;
  const QPaintEngine* engine = p.paintEngine();
  const double width = m_pen.widthF();
  return engine != nullptr && engine->type() == QPaintEngine::Raster &&
         p.deviceTransform().type() == QTransform::TxNone && !p.testRenderHint(QPainter::Antialiasing) &&
         !m_penStyled && m_pen.style() == Qt::SolidLine && m_pen.brush().style() == Qt::SolidPattern &&
         !m_pen.isCosmetic() && width > 1 &&
         width < kHugeStroke;
}

// --- text ---

QString CQtDC::DeviceText(const CString& utf8, bool symbolCharset, const QRawFont* font) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
  if (decoder.hasError())
    text = QString::fromLatin1(utf8.data(), static_cast<qsizetype>(utf8.size()));
  if (!symbolCharset && font == nullptr) return text;

  std::u32string codes = text.toStdU32String();
  for (char32_t& c : codes) {
    if (c < 0x20 || c >= 0x100) continue;
    const char32_t moved = 0xF000 + c;
    const bool move = font == nullptr ? symbolCharset
                                      : font->supportsCharacter(moved) &&
                                            (symbolCharset || !font->supportsCharacter(c));
    if (move) c = moved;
  }
  return QString::fromStdU32String(codes);
}

void CQtDC::DoTextOut(int x, int y, const CString& text) {
  FlushLines();
  if (!Ready() || !HaveGuiApplication()) return;
  SyncFont();
  const LOGFONT& lf = GetFontState();
  const QString s =
      DeviceText(text, lf.lfCharSet == SYMBOL_CHARSET, m_rawFont.isValid() ? &m_rawFont : nullptr);

  // The text box in a frame at the reference point, turned by the escapement.
  const double width = m_metrics->horizontalAdvance(s);
  const double ascent = m_metrics->ascent();
  const double descent = m_metrics->descent();
  const UINT align = GetTextAlign();
  double dx = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    dx = -width / 2;
  else if (align & TA_RIGHT)
    dx = -width;
  double dy = ascent;  // TA_TOP: the baseline is an ascent below the point
  if ((align & TA_BASELINE) == TA_BASELINE)
    dy = 0;
  else if (align & TA_BOTTOM)
    dy = -descent;

  QPainter& p = *m_painter;
  p.save();
  p.translate(ToDevice(POINT{x, y}));
  // Escapement is counter-clockwise on the device; Qt turns clockwise there.
  if (lf.lfEscapement != 0) p.rotate(-lf.lfEscapement / 10.0);
  if (GetBkMode() == OPAQUE)
    p.fillRect(QRectF(dx, dy - ascent, width, ascent + descent), ToQColor(GetBkColor()));
  p.setFont(m_font);
  p.setPen(ToQColor(GetTextColor()));
  p.drawText(QPointF(dx, dy), s);
  p.restore();
}

// --- anti-aliased path ---

QPen CQtDC::AAPen(const AAPEN& pen) const {
  double width = pen.width * std::fabs(m_scaleX);
  if (!(width > 0)) width = 1;  // zero (or nonsense): one device pixel
  static constexpr Qt::PenCapStyle kCaps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
  static constexpr Qt::PenJoinStyle kJoins[] = {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin};
  const Qt::PenCapStyle cap = pen.cap >= 0 && pen.cap <= 2 ? kCaps[pen.cap] : Qt::RoundCap;
  const Qt::PenJoinStyle join = pen.join >= 0 && pen.join <= 2 ? kJoins[pen.join] : Qt::RoundJoin;
  QPen qpen(ToQColor(pen.color), width, Qt::SolidLine, cap, join);
  qpen.setMiterLimit(kMiterLimit);
  return qpen;
}

void CQtDC::DoAAPolyline(const POINT* pts, int n, const AAPEN& pen) {
  // A dashed anti-aliased line arrives a piece per call: setting the painter
  // up for each cost as much as drawing. The pieces are batched per pen and
  // drawn at the next flush.
  if (m_fastPaths) {
    if (!m_batch.empty() && (!m_batchAA || !SameAAPen(pen, m_batchPen) ||
                             m_batch.size() + static_cast<std::size_t>(n) > kMaxBatch))
      FlushLines();
  } else {
    FlushLines();
  }
  if (!Ready()) return;
  // On raster targets the aliased figures put integer coordinates on pixel
  // centres; anti-aliased ones would put them on pixel corners and smear a
  // horizontal one-pixel line over two rows. The offset lines them up.
  const QPointF offset(m_aaOffset, m_aaOffset);
  if (m_fastPaths) {
    if (m_batch.empty()) {
      m_batchAA = true;
      m_batchPen = pen;
    }
    m_runs.push_back(static_cast<int>(m_batch.size()));
    for (int i = 0; i < n; ++i) m_batch.push_back(ToDevice(pts[i]) + offset);
    return;
  }
  m_scratch.clear();
  for (int i = 0; i < n; ++i) m_scratch.push_back(ToDevice(pts[i]) + offset);
  QPainter& p = *m_painter;
  const QPen qpen = AAPen(pen);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (IsHugeStroke(qpen, m_scratch.data(), n)) {
    DrawCutStroke(qpen, m_scratch.data(), n);
  } else {
    p.setPen(qpen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(m_scratch.data(), n);
  }
  p.setRenderHint(QPainter::Antialiasing, false);
}

bool CQtDC::IsHugeStroke(const QPen& pen, const QPointF* pts, int n) const {
  if (pen.widthF() <= 1) return false;  // Qt cuts thin lines to the device itself
  const std::optional<CRect> box = GetDeviceBox();
  if (!box) return false;
  const double reach = kHugeStroke - pen.widthF() * kMiterLimit;
  if (reach <= 0) return true;
  const QRectF near(box->left - reach, box->top - reach, box->Width() + 2 * reach, box->Height() + 2 * reach);
  for (int i = 0; i < n; ++i)
    if (!near.contains(pts[i])) return true;
  return false;
}

void CQtDC::DrawCutStroke(const QPen& pen, const QPointF* pts, int n) {
  QPainterPath line(pts[0]);
  for (int i = 1; i < n; ++i) line.lineTo(pts[i]);
  QPainterPathStroker stroker(pen);
  const QPainterPath outline = stroker.createStroke(line);
  const std::optional<CRect> box = GetDeviceBox();
  QPainterPath window;
  window.addRect(QRectF(box->left - kCutMargin, box->top - kCutMargin, box->Width() + 2.0 * kCutMargin,
                        box->Height() + 2.0 * kCutMargin));
  QPainter& p = *m_painter;
  p.setPen(Qt::NoPen);
  p.setBrush(pen.brush());
  p.drawPath(outline.intersected(window));
}

bool CQtDC::CanFillForStroke(const QPen& pen) const {
  const QPainter& p = *m_painter;
  if (pen.style() != Qt::SolidLine || pen.color().alpha() != 255 ||
      p.compositionMode() != QPainter::CompositionMode_SourceOver || p.opacity() != 1.0)
    return false;
  // A hatch is laid from the painter's brush origin, which a moved painter
  // could put elsewhere for the fill.
  const Qt::BrushStyle brush = pen.brush().style();
  const QTransform::TransformationType moved = p.deviceTransform().type();
  return (brush == Qt::SolidPattern && moved <= QTransform::TxTranslate) ||
         (IsHatch(pen.brush()) && brush <= Qt::DiagCrossPattern && moved == QTransform::TxNone);
}

std::optional<CRect> CQtDC::ShownUnderWidePen(const QPen& pen) const {
  const std::optional<CRect> shown = ShownBox();
  if (!shown || shown->IsRectEmpty()) return std::nullopt;
  // A strip narrower than the window cannot hold it: most pens end here.
  if (pen.widthF() < std::min(shown->Width(), shown->Height())) return std::nullopt;
  return shown;
}

bool CQtDC::StrokeCoversShown(const QPen& pen, const QPointF* pts, int n, const CRect& shown) const {
  if (n < 2) return false;
  const bool roundEnds =
      pen.capStyle() == Qt::RoundCap && (n == 2 || pen.joinStyle() == Qt::RoundJoin);
  for (int i = 0; i + 1 < n; ++i) {
    if (kp::SegmentStrokeCovers(pts[i].x(), pts[i].y(), pts[i + 1].x(), pts[i + 1].y(), pen.widthF() / 2,
                                roundEnds, shown.left - kReachSlack, shown.top - kReachSlack,
                                shown.right + kReachSlack, shown.bottom + kReachSlack))
      return true;
  }
  return false;
}

namespace {

// How far from its line a stroke can paint: half the width to the side and
// round the ends, more at a square corner, and a miter at most its limit
// times the width from the vertex.
double StrokeReach(const QPen& pen) {
  const double width = std::max(1.0, pen.widthF());  // a cosmetic pen is a pixel
  const Qt::PenJoinStyle join = pen.joinStyle();
  if (join == Qt::MiterJoin || join == Qt::SvgMiterJoin) return width * std::max(1.0, pen.miterLimit());
  return pen.capStyle() == Qt::SquareCap ? width * M_SQRT1_2 : width / 2;
}

}  // namespace

bool CQtDC::RunOutOfSight(const QPen& pen, const QPointF* pts, int n) const {
  const std::optional<CRect> shown = ShownBox();
  if (!shown) return false;
  // Measured from the centre of what is shown.
  const double cx = (shown->left + static_cast<double>(shown->right)) / 2;
  const double cy = (shown->top + static_cast<double>(shown->bottom)) / 2;
  const double reach = StrokeReach(pen) + kReachSlack +
                       std::hypot(static_cast<double>(shown->Width()), static_cast<double>(shown->Height())) / 2;
  for (int i = 0; i < n; ++i) {
    const QPointF& a = pts[i];
    const QPointF& b = pts[std::min(i + 1, n - 1)];
    // NaN (never expected) counts as within reach.
    if (!(kp::DistanceToSegment(cx, cy, a.x(), a.y(), b.x(), b.y()) > reach)) return false;
  }
  return true;
}

bool CQtDC::BatchUnseen() const {
  // Qt cuts thin lines to the device itself, cheaply; only wide pens are
  // worth measuring.
  if (!m_fastPaths || !m_active) return false;
  if (!m_batchAA) return m_pen.widthF() > 1 && BatchOutOfSight(m_pen);
  return m_batchPen.width * std::fabs(m_scaleX) > 1 && BatchOutOfSight(AAPen(m_batchPen));
}

bool CQtDC::BatchOutOfSight(const QPen& pen) const {
  const int n = static_cast<int>(m_batch.size());
  const int runs = static_cast<int>(m_runs.size());
  for (int r = 0; r < runs; ++r) {
    const int end = r + 1 < runs ? m_runs[r + 1] : n;
    if (!RunOutOfSight(pen, m_batch.data() + m_runs[r], end - m_runs[r])) return false;
  }
  return true;
}

int CQtDC::LastCoveringRun(const QPen& pen) const {
  const std::optional<CRect> shown = ShownUnderWidePen(pen);
  if (!shown || !CanFillForStroke(pen)) return -1;
  const int n = static_cast<int>(m_batch.size());
  for (int r = static_cast<int>(m_runs.size()) - 1; r >= 0; --r) {
    const int end = r + 1 < static_cast<int>(m_runs.size()) ? m_runs[r + 1] : n;
    if (StrokeCoversShown(pen, m_batch.data() + m_runs[r], end - m_runs[r], *shown)) return r;
  }
  return -1;
}

void CQtDC::FillShownWithPen(const QColor& bk) {
  // GDI paints the background colour into a hatch's gaps in opaque mode.
  if (m_penStyled && GetBkMode() == OPAQUE) FillShown(bk);
  FillShown(m_pen.brush());
}

void CQtDC::FillShown(const QBrush& brush) {
  const CRect shown = *ShownBox();
  m_painter->fillRect(QRectF(shown.left - kReachSlack, shown.top - kReachSlack, shown.Width() + 2 * kReachSlack,
                             shown.Height() + 2 * kReachSlack),
                      brush);
}

void CQtDC::FlushAALines() {
  QPainter& p = *m_painter;
  const QPen pen = AAPen(m_batchPen);
  // Up to a pixel wide, Qt's raster engine draws every line on its own,
  // pixel by pixel, in the order given: one drawLines of many lines blends
  // exactly what one call per line would. (Wider, it fills each line's
  // outline, drawLines differently from drawPolyline.) A zero-length line
  // would be a dot in drawLines, so such pieces and runs of more points get
  // a call of their own, in their place.
  const QPaintEngine* engine = p.paintEngine();
  const bool together = pen.widthF() <= 1 && engine != nullptr &&
                        engine->type() == QPaintEngine::Raster &&
                        p.deviceTransform().type() == QTransform::TxNone;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const int n = static_cast<int>(m_batch.size());
  const int runs = static_cast<int>(m_runs.size());
  const auto count = [&](int r) { return (r + 1 < runs ? m_runs[r + 1] : n) - m_runs[r]; };
  // The last run that paints everything shown hides the runs before it.
  int from = 0;
  if (m_fastPaths) {
    const int covering = LastCoveringRun(pen);
    if (covering >= 0) {
      FillShown(pen.brush());
      from = covering + 1;
    }
  }
  for (int r = from; r < runs;) {
    const QPointF* first = m_batch.data() + m_runs[r];
    int lines = 0;
    while (together && r + lines < runs && count(r + lines) == 2 &&
           first[2 * lines] != first[2 * lines + 1])
      ++lines;
    if (lines > 0) {
      p.drawLines(first, lines);
      r += lines;
    } else if (m_fastPaths && pen.widthF() > 1 && RunOutOfSight(pen, first, count(r))) {
      ++r;  // drawn on its own, so it can be left out on its own
    } else if (IsHugeStroke(pen, first, count(r))) {
      DrawCutStroke(pen, first, count(r));
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      ++r;
    } else {
      p.drawPolyline(first, count(r));
      ++r;
    }
  }
  p.setRenderHint(QPainter::Antialiasing, false);
}
