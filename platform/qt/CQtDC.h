#pragma once
// The Qt 6 backend of the device context: draws through a QPainter on an
// image, an SVG file, a PDF file or a painter someone else opened (a widget's
// paint event).
//
// Drawing follows the GDI meanings the drawing code was written for: aliased
// output, one-pixel cosmetic pens, GDI's dash patterns and background mode,
// boxes that exclude their right and bottom edges, arcs counter-clockwise on
// the device. Only DoAAPolyline anti-aliases.
//
// Consecutive lines with one pen are batched and reach the painter in one
// call when the state changes, another figure is drawn, on Flush() and on
// destruction: per-segment painter calls cost about half as much again as
// the drawing itself. Anti-aliased lines with one pen are batched likewise.
//
// Some batches are drawn faster than the one painter call would draw them,
// setting exactly the same pixels: opaque one-pixel lines along the axes on
// an image are written into it directly (CQtHairlines); the lines of an
// opaque pen of even width go to Qt as separate lines and small paths
// rather than as one path, which Qt fills slowly when it holds thousands of
// dashes. Anything these cannot match exactly is left to the one call.
//
// Text needs a QGuiApplication (Qt's font database lives in it); without one
// TextOut draws nothing.
#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRawFont>
#include <QRegion>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/CDC.h"
#include "platform/KpEllipseView.h"
#include "platform/KpExport.h"
#include "platform/qt/CQtArcStrokeCache.h"
#include "platform/qt/CQtHairlines.h"

class QImage;
class QPainter;
class QPaintDevice;
class QPdfWriter;

class KP_API CQtDC : public CDC {
 public:
  // Draws on the image, which must outlive the DC and stay un-resized; 96 dpi.
  explicit CQtDC(QImage& image);
  // Draws with an active painter owned by the caller, in its current
  // coordinates, which become the device coordinates. The painter's state is
  // saved here and restored by the destructor. The device size is the
  // painter device's unless given.
  explicit CQtDC(QPainter* painter);
  CQtDC(QPainter* painter, SIZE deviceSize);
  ~CQtDC() override;

  // An SVG file of the given size in pixels (its resolution only sets the
  // physical size the file declares).
  static std::unique_ptr<CQtDC> CreateSvg(const QString& fileName, SIZE sizePx, int dpi = 96);
  // A PDF file of one or more pages, without margins. The DC is a printing one;
  // 600 dpi keeps one-pixel pens fine and integer coordinates precise.
  static std::unique_ptr<CQtDC> CreatePdf(const QString& fileName,
                                          const QPageSize& page = QPageSize(QPageSize::A4),
                                          int dpi = 600);

  // False when the painter could not start (unwritable file, unpaintable image).
  bool IsActive() const { return m_active; }
  BOOL IsPrinting() const override { return m_bPrinting ? TRUE : FALSE; }
  SIZE GetDeviceSize() const override { return m_size; }
  void Flush() override;
  // PDF only: finishes the page and starts the next one.
  bool NewPage();
  // Finishes the output: an owned painter ends, so files are complete; a
  // borrowed one gets its state back. Drawing afterwards does nothing.
  // Returns false when the output could not be written.
  bool End();
  QPainter* GetPainter() const { return m_painter; }

  // The faster ways of drawing batched lines and repeated arcs and ellipses
  // (on by default). Off, every batch reaches the painter as one call,
  // anti-aliased lines one call each and every arc is stroked by Qt: the
  // reference the faster ways must match pixel for pixel, which the tests
  // compare.
  void SetFastPathsEnabled(bool on);
  bool FastPathsEnabled() const { return m_fastPaths; }

  // COLORREF 0x00BBGGRR -> opaque QColor.
  static QColor ToQColor(COLORREF c);
  // UTF-8 text as a font will draw it. Codes below 0x100 move to U+F000 + code,
  // where symbol fonts keep their glyphs, when the font is a symbol one
  // (`symbolCharset`, or it lacks the plain code and has the moved one) -
  // unless `font` shows it has only the plain glyph. A null `font` gives no
  // glyph information. Invalid UTF-8 is taken as Latin-1 (legacy 8-bit text).
  static QString DeviceText(const CString& utf8, bool symbolCharset, const QRawFont* font);

 protected:
  void DoLine(POINT from, POINT to) override;
  void DoPolyline(const POINT* pts, int n) override;
  void DoPolygon(const POINT* pts, int n) override;
  void DoEllipse(const RECT& box) override;
  void DoArc(const RECT& box, POINT start, POINT end) override;
  void DoRectangle(const RECT& box) override;
  void DoFillRect(const RECT& box, const CBrush::State& brush) override;
  void DoTextOut(int x, int y, const CString& text) override;
  void DoAAPolyline(const POINT* pts, int n, const AAPEN& pen) override;
  void OnStateChanged() override;
  // The image or page; for a borrowed painter the part of its device its
  // transform and clip let through, in the painter's coordinates.
  std::optional<CRect> GetDeviceBox() const override;

 private:
  CQtDC(std::unique_ptr<QPaintDevice> device, SIZE size, int dpi, bool printing);
  void StartOwnedPainter(QPaintDevice* device);
  void StartBorrowedPainter();

  // Brings the cached pen, brush, transform and clip up to date; false when
  // nothing can be drawn (inactive painter, empty clip).
  bool Ready();
  void SyncState();
  void SyncPen();
  void SyncClip();
  void SyncFont();
  QPointF ToDevice(POINT p) const {
    return QPointF((p.x - m_windowOrgX) * m_scaleX + m_viewportOrgX,
                   (p.y - m_windowOrgY) * m_scaleY + m_viewportOrgY);
  }
  // Device rectangle of a logical box, normalised; `outlined` takes one pixel
  // off the right and bottom so an outline stays inside the box, as GDI's does.
  QRectF DeviceBox(const RECT& box, bool outlined) const;
  QBrush MakeBrush(const CBrush::State& brush) const;
  // Draws a figure with the pen and the brush, laying the background colour
  // under dash gaps and hatches when the background mode is opaque.
  template <typename Draw>
  void PaintFigure(const Draw& draw, const QBrush& brush, bool outline);
  // The part of the device its clip leaves; none when the reach is unknown.
  std::optional<CRect> ShownBox() const;
  // What `shown` shows of an ellipse drawn in `r` with the current pen.
  kp::EllipseView ViewOfEllipse(const QRectF& r, const CRect& shown) const;
  // True when the current pen's stroke of the outline of the ellipse in `r`
  // paints all of `shown` (see CanFillForStroke).
  bool PenCoversShown(const QRectF& r, const CRect& shown) const;

  void FlushLines();
  void FlushPenLines();
  void FlushAALines();
  QPen AAPen(const AAPEN& pen) const;
  // A wide anti-aliased line reaching far beyond the device (see
  // kHugeStroke), and its drawing as an outline cut to the device.
  bool IsHugeStroke(const QPen& pen, const QPointF* pts, int n) const;
  void DrawCutStroke(const QPen& pen, const QPointF* pts, int n);
  // A pen far wider than what is shown paints all of it with every dash;
  // Qt's work for each grows with the stroke, so a stroke known to paint
  // every shown pixel is drawn as the fill of what is shown. Only where the
  // pixels come out the same: an opaque pen without dashes, solid or
  // hatched, over a painter that neither blends nor scales.
  bool CanFillForStroke(const QPen& pen) const;
  // True when an arc may be drawn as the fill of a kept stroke outline
  // (m_arcStrokes) with the same pixels as Qt stroking it.
  bool CanReuseArcStrokes() const;
  // Strokes the arc (see CQtArcStrokeCache::ArcPath) with the current pen,
  // from a kept outline when the fast paths are on.
  void StrokeArc(const QRectF& r, double start, double span, bool closed);
  // What is shown, when `pen` is wide enough that a stroke could paint all
  // of it.
  std::optional<CRect> ShownUnderWidePen(const QPen& pen) const;
  bool StrokeCoversShown(const QPen& pen, const QPointF* pts, int n, const CRect& shown) const;
  // The last pending run whose stroke with `pen` paints all that is shown,
  // or -1 (also when the painter or pen rule the shortcut out).
  int LastCoveringRun(const QPen& pen) const;
  // True when no pending line stroked with `pen` can reach what is shown.
  bool BatchOutOfSight(const QPen& pen) const;
  // True when the pending batch, drawn with a wide pen, is out of sight.
  bool BatchUnseen() const;
  bool RunOutOfSight(const QPen& pen, const QPointF* pts, int n) const;
  void FillShown(const QBrush& brush);
  // What the current pen's stroke leaves over all that is shown, with `bk`
  // under a hatch when the background mode is opaque.
  void FillShownWithPen(const QColor& bk);
  // Draws the pending lines into the image itself when they are opaque
  // one-pixel lines along the axes; false when Qt has to draw them.
  bool WriteHairlines();
  // True when the painter blends nothing and transforms nothing: drawing a
  // pixel twice leaves it as drawing it once, at the same place.
  bool PlainOpaquePainter() const;
  // True when the pending lines of a wide pen may reach the painter as
  // separate lines (m_lines) plus paths of the other runs (m_paths), with
  // the same pixels as the one path of all: Qt fills a path of thousands of
  // dashes slowly.
  bool SplitWideRuns();

  // Target. m_painter points at m_ownedPainter or at the caller's.
  std::unique_ptr<QPaintDevice> m_device;
  QImage* m_image = nullptr;     // the target, when it is an image
  uchar* m_imageBits = nullptr;  // its pixels, as the painter writes them
  std::unique_ptr<QPainter> m_ownedPainter;
  QPainter* m_painter = nullptr;
  QPdfWriter* m_pdf = nullptr;  // m_device, when it is a PDF writer
  bool m_borrowed = false;
  bool m_active = false;
  bool m_ended = false;
  bool m_endOk = false;
  bool m_bPrinting = false;
  SIZE m_size{0, 0};
  bool m_baseClipping = false;  // a borrowed painter's own clip, kept under ours
  QRegion m_baseClip;
  std::optional<CRect> m_borrowedBox;  // what a borrowed painter can reach; none: unknown
  // Raster targets put aliased integer coordinates on pixel centres; the
  // anti-aliased path is shifted by this to match.
  double m_aaOffset = 0;

  // State derived from CDC's, rebuilt after every change.
  bool m_dirty = true;
  bool m_clipEmpty = false;
  bool m_clipApplied = false;  // m_appliedClip is what the painter has
  std::optional<CRect> m_appliedClip;  // the clip cut to the device's reach
  double m_scaleX = 1, m_scaleY = 1;
  double m_windowOrgX = 0, m_windowOrgY = 0, m_viewportOrgX = 0, m_viewportOrgY = 0;
  bool m_penNull = false;
  bool m_penStyled = false;  // gaps or a hatch that an opaque background fills
  double m_penWidth = 1;     // device pixels
  CQtArcStrokeCache m_arcStrokes;
  bool m_penInsideFrame = false;
  QPen m_pen;
  QBrush m_brush;
  LOGFONT m_fontKey{};  // what m_font was built from
  double m_fontScaleX = 0, m_fontScaleY = 0;
  int m_fontDpi = 0;
  QFont m_font;
  std::unique_ptr<QFontMetricsF> m_metrics;
  QRawFont m_rawFont;

  // Pending lines: device points of one or more runs; m_runs holds where each
  // run starts. m_lastPoint is the logical end of the last run, so a LineTo
  // from there continues it. Anti-aliased runs (m_batchAA, drawn with
  // m_batchPen) are never continued: each was a call of its own.
  std::vector<QPointF> m_batch;
  std::vector<int> m_runs;
  POINT m_lastPoint{0, 0};
  bool m_batchAA = false;
  AAPEN m_batchPen{};
  COLORREF m_batchBk = 0;             // FillSolidRect changes it without notice
  std::vector<QPointF> m_scratch;     // device points of one figure
  std::vector<QPointF> m_lines;       // two-point runs of a split batch
  std::vector<int> m_pathRuns;        // its other runs
  std::vector<QPainterPath> m_paths;  // and those as paths
  bool m_fastPaths = true;
  CQtHairlines m_hairlines;
};
