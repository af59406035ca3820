#pragma once
// Writes opaque one-pixel aliased lines that run along the axes straight into
// a 32-bit image, setting exactly the pixels Qt's raster engine would set for
// the same painter call.
//
// Qt strokes such lines one pixel at a time after a fair amount of set-up per
// subpath; a dashed line of short pieces spends almost all its time there.
// Writing the spans directly is several times faster, but only worth having
// if no pixel moves, and Qt's placement depends on more than the end points.
// A segment covers the pixels from its lower to its higher end, excluding
// the higher one, whichever way it runs. At a corner Qt adds a pixel when
// the new segment does not touch the last pixel of the one before along an
// axis, and skips its first pixel when that is the last one again. A
// segment running left or up right after one running the opposite way gets
// its start pixel too, and the direction that decides this survives from
// one subpath (or line of drawLines) to the next. Lines are first cut to the
// device plus a margin; what is cut away leaves the direction alone. All of
// that is reproduced here, so the caller must say how Qt would have been
// called.
#include <QPointF>
#include <QRect>
#include <QtGlobal>
#include <vector>

class CQtHairlines {
 public:
  // The painter call the lines stand for.
  enum class Call {
    Polyline,  // one drawPolyline of the single run
    Lines,     // one drawLines: every run has two points
    Path,      // one drawPath, a subpath per run
  };

  // Takes the device points of `runs` runs (run r starts at runStarts[r] and
  // ends where the next starts, or at n). False, and nothing to draw, unless
  // every point is a whole pixel coordinate (within a safe range) and every
  // segment runs along an axis; Path also wants at least two distinct
  // points per run, as a path of one point is dropped by Qt.
  bool Load(const QPointF* pts, int n, const int* runStarts, int runs, Call call);

  // Draws what was loaded onto the 32-bit pixels at `bits` (a `width` x
  // `height` device, `bytesPerLine` apart), inside `clip` (device pixels,
  // already within the device), with the pixel value `pixel`.
  void Draw(uchar* bits, qsizetype bytesPerLine, int width, int height, const QRect& clip,
            quint32 pixel) const;

 private:
  std::vector<int> m_xy;      // x, y of each point
  std::vector<int> m_starts;  // point index where each run starts, then the end
  Call m_call = Call::Path;
};
