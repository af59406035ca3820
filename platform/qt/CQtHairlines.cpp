#include "platform/qt/CQtHairlines.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Coordinates beyond this are left to Qt (they would only be clipped).
constexpr double kMaxCoordinate = 1 << 28;

// Directions as Qt's stroker records them; a direction xor its axis mask
// is the opposite one.
enum Direction {
  kNoDirection = 0,
  kDown = 1,
  kUp = 2,
  kRight = 4,
  kLeft = 8,
  kVerticalMask = kDown | kUp,
  kHorizontalMask = kRight | kLeft,
};

constexpr int kNoPixel = INT_MIN;

// The stroker's state through one painter call.
class Raster {
 public:
  Raster(uchar* bits, qsizetype bytesPerLine, int width, int height, const QRect& clip,
         quint32 pixel)
      : m_bits(bits),
        m_stride(bytesPerLine),
        m_pixel(pixel),
        m_clipLeft(clip.left()),
        m_clipTop(clip.top()),
        m_clipRight(clip.right()),
        m_clipBottom(clip.bottom()),
        // Lines are cut to the device plus a margin before anything else;
        // the clip only decides which pixels are written.
        m_xMin(-1),
        m_xMax(width + 1),
        m_yMin(-1),
        m_yMax(height + 1) {}

  // A subpath (or the points of drawPolyline): the last pixel is forgotten;
  // a closed one starts as if its closing segment had just been drawn.
  void Run(const int* xy, int n) {
    m_lastX = kNoPixel;
    if (xy[0] == xy[2 * n - 2] && xy[1] == xy[2 * n - 1])
      ClosingSegment(xy[2 * n - 4], xy[2 * n - 3], xy[2 * n - 2], xy[2 * n - 1]);
    for (int i = 1; i < n; ++i) Segment(xy[2 * i - 2], xy[2 * i - 1], xy[2 * i], xy[2 * i + 1]);
  }

  // One line of drawLines: a zero-length one is a point.
  void Line(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) {
      Plot(x1, y1);
      return;
    }
    m_lastX = kNoPixel;
    Segment(x1, y1, x2, y2);
  }

 private:
  // Cuts the segment to the device plus margin; true when nothing is left.
  // A cut end, or a segment cut away, forgets the last pixel.
  bool Cut(int& x1, int& y1, int& x2, int& y2) {
    if (x1 < m_xMin) {
      if (x2 <= m_xMin) return Away();
      x1 = m_xMin;
    } else if (x1 > m_xMax) {
      if (x2 >= m_xMax) return Away();
      x1 = m_xMax;
    }
    if (x2 < m_xMin) {
      m_lastX = kNoPixel;
      x2 = m_xMin;
    } else if (x2 > m_xMax) {
      m_lastX = kNoPixel;
      x2 = m_xMax;
    }
    if (y1 < m_yMin) {
      if (y2 <= m_yMin) return Away();
      y1 = m_yMin;
    } else if (y1 > m_yMax) {
      if (y2 >= m_yMax) return Away();
      y1 = m_yMax;
    }
    if (y2 < m_yMin) {
      m_lastX = kNoPixel;
      y2 = m_yMin;
    } else if (y2 > m_yMax) {
      m_lastX = kNoPixel;
      y2 = m_yMax;
    }
    return false;
  }
  bool Away() {
    m_lastX = kNoPixel;
    return true;
  }

  void ClosingSegment(int x1, int y1, int x2, int y2) {
    if (Cut(x1, y1, x2, y2) || (x1 == x2 && y1 == y2)) return;
    if (x1 == x2) {
      m_lastX = x1;
      m_lastY = y1 > y2 ? y2 : y2 - 1;
      m_lastDir = y1 > y2 ? kUp : kDown;
    } else {
      m_lastX = x1 > x2 ? x2 : x2 - 1;
      m_lastY = y1;
      m_lastDir = x1 > x2 ? kLeft : kRight;
    }
  }

  void Segment(int x1, int y1, int x2, int y2) {
    if (Cut(x1, y1, x2, y2) || (x1 == x2 && y1 == y2)) return;
    // Along the major axis: from `lo` to `hi`, `hi` excluded; `at` is the
    // other coordinate. Reversed segments run from `hi` - 1 down to `lo`.
    const bool vertical = x1 == x2;
    const int a1 = vertical ? y1 : x1, a2 = vertical ? y2 : x2;
    const int at = vertical ? x1 : y1;
    const bool reversed = a1 > a2;
    const int dir = vertical ? (reversed ? kUp : kDown) : (reversed ? kLeft : kRight);
    int lo = std::min(a1, a2), hi = std::max(a1, a2);
    // Turning back on the direction before, a line gets a cap at its start,
    // which only reaches a pixel (its start pixel) when it runs left or up.
    if (reversed && (m_lastDir ^ (vertical ? kVerticalMask : kHorizontalMask)) == dir) ++hi;
    const int first = reversed ? hi - 1 : lo;
    const int last = reversed ? lo : hi - 1;
    if (m_lastX != kNoPixel) {
      const int fx = vertical ? at : first, fy = vertical ? first : at;
      if (fx == m_lastX && fy == m_lastY) {
        // The first pixel is the last one again: skipped.
        if (reversed)
          --hi;
        else
          ++lo;
      } else if (m_lastDir != dir && ((fx != m_lastX && fy != m_lastY) ||
                                      std::abs(fx - m_lastX) > 1 || std::abs(fy - m_lastY) > 1)) {
        // Not touching the last pixel along an axis: one more pixel at the start.
        if (reversed)
          ++hi;
        else
          --lo;
      }
    }
    m_lastDir = dir;
    // At least one pixel, even when the skip above used the only one up.
    hi = std::max(hi, lo + 1);
    if (vertical)
      Column(at, lo, hi);
    else
      Span(at, lo, hi);
    m_lastX = vertical ? at : last;
    m_lastY = vertical ? last : at;
  }

  quint32* Row(int y) const { return reinterpret_cast<quint32*>(m_bits + y * m_stride); }
  void Span(int y, int x0, int x1) const {
    if (y < m_clipTop || y > m_clipBottom) return;
    x0 = std::max(x0, m_clipLeft);
    x1 = std::min(x1, m_clipRight + 1);
    if (x0 < x1) std::fill(Row(y) + x0, Row(y) + x1, m_pixel);
  }
  void Column(int x, int y0, int y1) const {
    if (x < m_clipLeft || x > m_clipRight) return;
    y0 = std::max(y0, m_clipTop);
    y1 = std::min(y1, m_clipBottom + 1);
    for (int y = y0; y < y1; ++y) Row(y)[x] = m_pixel;
  }
  void Plot(int x, int y) const {
    if (x >= m_clipLeft && x <= m_clipRight && y >= m_clipTop && y <= m_clipBottom)
      Row(y)[x] = m_pixel;
  }

  uchar* m_bits;
  qsizetype m_stride;
  quint32 m_pixel;
  int m_clipLeft, m_clipTop, m_clipRight, m_clipBottom;
  int m_xMin, m_xMax, m_yMin, m_yMax;
  int m_lastX = kNoPixel, m_lastY = 0;
  int m_lastDir = kNoDirection;  // kept from one subpath to the next
};

bool ToPixel(double v, int& out) {
  if (!(std::fabs(v) <= kMaxCoordinate)) return false;  // NaN too
  out = static_cast<int>(v);
  return out == v;
}

}  // namespace

bool CQtHairlines::Load(const QPointF* pts, int n, const int* runStarts, int runs, Call call) {
  m_call = call;
  m_xy.clear();
  m_starts.clear();
  for (int r = 0; r < runs; ++r) {
    const int end = r + 1 < runs ? runStarts[r + 1] : n;
    const std::size_t start = m_xy.size() / 2;
    m_starts.push_back(static_cast<int>(start));
    for (int i = runStarts[r]; i < end; ++i) {
      int x = 0, y = 0;
      if (!ToPixel(pts[i].x(), x) || !ToPixel(pts[i].y(), y)) return false;
      if (m_xy.size() / 2 > start) {
        const int px = m_xy[m_xy.size() - 2], py = m_xy.back();
        if (x != px && y != py) return false;  // slanted
        // A path drops a point that repeats the previous one.
        if (call == Call::Path && x == px && y == py) continue;
      }
      m_xy.push_back(x);
      m_xy.push_back(y);
    }
    if (m_xy.size() / 2 - start < 2) return false;  // only in a path: one point left
  }
  m_starts.push_back(static_cast<int>(m_xy.size() / 2));
  return true;
}

void CQtHairlines::Draw(uchar* bits, qsizetype bytesPerLine, int width, int height,
                        const QRect& clip, quint32 pixel) const {
  if (clip.isEmpty()) return;
  Raster raster(bits, bytesPerLine, width, height, clip, pixel);
  const int runs = static_cast<int>(m_starts.size()) - 1;
  for (int r = 0; r < runs; ++r) {
    const int* xy = m_xy.data() + 2 * m_starts[r];
    const int count = m_starts[r + 1] - m_starts[r];
    if (m_call == Call::Lines)
      raster.Line(xy[0], xy[1], xy[2], xy[3]);
    else
      raster.Run(xy, count);
  }
}
