#include "engine/KpParallelGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "companions/CKpOperator.h"
#include "engine/KpGeometry.h"
#include "platform/KpSaturate.h"

namespace kp {
namespace {

using Int64 = std::int64_t;

constexpr double kTiny = 1e-10;
constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kTwoPi = 2.0 * kPi;
// A mitre at a sharp turn grows without bound as the turn closes; beyond
// this angle between the mitre and the normals it is held at
// offset / sin(0.1), about ten times the offset.
constexpr double kMitreLimit = 1.4707963267948965;  // pi / 2 - 0.1

struct Segment {
  double dx;
  double dy;
  double len;
};

Segment SegmentOf(const POINT& a, const POINT& b) {
  const double dx = static_cast<double>(Int64{b.x} - Int64{a.x});
  const double dy = static_cast<double>(Int64{b.y} - Int64{a.y});
  return {dx, dy, std::sqrt(dx * dx + dy * dy)};
}

// Integer points: the squared length is 0 or at least 1.
bool Same(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// Direction of a non-degenerate segment. dx / L is clamped because the
// rounded square root of a huge sum can come out a hair below |dx|.
double DirectionOf(const Segment& s) {
  const double a = std::acos(std::clamp(s.dx / s.len, -1.0, 1.0));
  return s.dy / s.len >= 0 ? a : kTwoPi - a;
}

LONG AddWide(LONG base, Int64 delta) { return SaturateToLong(Int64{base} + delta); }

// Point plus a real offset, the sum truncated toward zero.
CPoint TruncatedSum(const POINT& p, double ox, double oy) {
  return CPoint(SaturateToLong(TruncWide(p.x + ox)), SaturateToLong(TruncWide(p.y + oy)));
}

CPoint Plus(const POINT& p, Int64 vx, Int64 vy) { return CPoint(AddWide(p.x, vx), AddWide(p.y, vy)); }
CPoint Minus(const POINT& p, Int64 vx, Int64 vy) { return CPoint(AddWide(p.x, -vx), AddWide(p.y, -vy)); }

// How a joint treats a line that turns straight back on itself: the
// parallel line turns its offset back by 90 degrees, the band uses the
// direction pi/2 minus the outgoing angle.
enum class Reversal { TurnOffset, FromOutgoing };

// Mitre at a joint between directions t1 (in) and t2 (out): the direction
// halfway between the two normals on the short side of the turn, and the
// factor by which the offset is divided to reach the corner.
struct Mitre {
  double direction;
  double factor;
};

Mitre MitreAt(double t1, double t2, Reversal reversal) {
  const bool straddlesZero = std::fabs(t2 - t1) > kPi;
  Mitre m{(t1 + t2) / 2.0 + (straddlesZero ? -kHalfPi : kHalfPi), std::fabs(std::cos((t2 - t1) / 2.0))};
  if (m.factor < kTiny) {
    m.factor = 1.0;
    m.direction = reversal == Reversal::TurnOffset ? m.direction - kHalfPi : kHalfPi - t2;
  }
  if (std::acos(m.factor) > kMitreLimit) m.factor = std::cos(kMitreLimit);
  return m;
}

// Visits a polyline by its non-degenerate segments: start(P, first) at the
// first vertex, joint(V, in, out, lengthToV) at every vertex between two of
// them, end(P, last) at the last input point. Degenerate segments are
// skipped; trailing ones end the walk. False when every segment is
// degenerate (nothing is visited).
template <typename Start, typename Joint, typename End>
bool VisitJoints(const POINT* pts, long n, Start start, Joint joint, End end) {
  long i = 0;
  while (i + 1 < n && Same(pts[i], pts[i + 1])) ++i;
  if (i + 1 >= n) return false;
  Segment in = SegmentOf(pts[i], pts[i + 1]);
  start(pts[i], in);
  double travelled = 0.0;
  long j = i + 1;  // the vertex that ends `in`
  for (;;) {
    travelled += in.len;
    while (j + 1 < n && Same(pts[j], pts[j + 1])) ++j;
    if (j + 1 >= n) break;
    const Segment out = SegmentOf(pts[j], pts[j + 1]);
    joint(pts[j], in, out, travelled);
    in = out;
    ++j;
  }
  end(pts[n - 1], in);
  return true;
}

// Joins the ends of an offset copy of a closed polyline where its first and
// last offset segments meet; left open when they do not.
void CloseOffsetLine(std::vector<CPoint>& line) {
  const size_t m = line.size();
  if (m <= 3) return;
  const auto real = [](const POINT& p) { return CPoint2D{static_cast<double>(p.x), static_cast<double>(p.y)}; };
  CPoint2D meet{0.0, 0.0};
  if (CKpOperator::IntersectLine(real(line[0]), real(line[1]), real(line[m - 2]), real(line[m - 1]), meet) == 0)
    return;
  line[0] = line[m - 1] = CPoint(RoundToLong(meet.x), RoundToLong(meet.y));
}

// The construction shared by ParallelLineEx and ParallelLine; `negative`
// may be null when only the positive side is wanted.
bool BuildParallel(const POINT* pts, long n, double e, std::vector<CPoint>& positive,
                   std::vector<CPoint>* negative) {
  const size_t capacity = static_cast<size_t>(n);
  positive.reserve(capacity);
  if (negative) negative->reserve(capacity);

  const auto ends = [&](const POINT& p, const Segment& s) {
    const double ox = -e * s.dy / s.len;
    const double oy = e * s.dx / s.len;
    positive.push_back(TruncatedSum(p, ox, oy));
    if (negative) negative->push_back(TruncatedSum(p, -ox, -oy));
  };
  const auto joint = [&](const POINT& v, const Segment& in, const Segment& out, double) {
    const Mitre m = MitreAt(DirectionOf(in), DirectionOf(out), Reversal::TurnOffset);
    const Int64 mx = TruncWide(e * std::cos(m.direction) / m.factor);
    const Int64 my = TruncWide(e * std::sin(m.direction) / m.factor);
    positive.push_back(Plus(v, mx, my));
    if (negative) negative->push_back(Minus(v, mx, my));
  };
  if (!VisitJoints(pts, n, ends, joint, ends)) {
    positive.clear();
    if (negative) negative->clear();
    return false;
  }
  if (Same(pts[0], pts[n - 1])) {
    CloseOffsetLine(positive);
    if (negative) CloseOffsetLine(*negative);
  }
  return true;
}

bool InCone(double theta, double lo, double hi) {
  return (lo < theta && theta < hi) || std::fabs(theta - lo) < kTiny || std::fabs(theta - hi) < kTiny;
}

}  // namespace

bool LampHouseSmooth(const POINT* pts, long n, double tolerance, std::vector<CPoint>& out) {
  out.clear();
  if (pts == nullptr || n < 2) return false;
  // Anchors are distinct input points after the first, so the result never
  // exceeds the input.
  out.reserve(static_cast<size_t>(n));
  if (n == 2) {
    out.emplace_back(pts[0]);
    out.emplace_back(pts[1]);
    return true;
  }
  POINT anchor = pts[0];
  out.emplace_back(anchor);
  double lo = 0.0, hi = kTwoPi;
  for (long i = 1; i < n;) {
    const Segment s = SegmentOf(anchor, pts[i]);
    if (s.len < kTiny) {
      ++i;
      continue;
    }
    const double theta = DirectionOf(s);
    if (InCone(theta, lo, hi)) {
      const double delta = std::atan(tolerance / s.len);
      lo = std::max(lo, theta - delta);
      hi = std::min(hi, theta + delta);
      ++i;
      continue;
    }
    // pts[i] leaves the cone: the point before it becomes the anchor and
    // pts[i] is looked at again from there (with the full range it always
    // enters, so the walk moves on).
    anchor = pts[i - 1];
    out.emplace_back(anchor);
    lo = 0.0;
    hi = kTwoPi;
  }
  const POINT& last = pts[n - 1];
  if (out.size() == 1 || !Same(out.back(), last)) out.emplace_back(last);
  return true;
}

bool ParallelLineEx(const POINT* pts, long n, long offset, double ratio, std::vector<CPoint>& out) {
  out.clear();
  if (pts == nullptr || n < 2 || offset == 0) return false;
  const double e = static_cast<double>(RoundWide(static_cast<double>(offset) * ratio));
  return BuildParallel(pts, n, e, out, nullptr);
}

bool ParallelLine(const POINT* pts, long n, long offset, double ratio,
                  std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative) {
  outPositive.clear();
  outNegative.clear();
  if (pts == nullptr || n < 2 || offset == 0) return false;
  const double e = static_cast<double>(RoundWide(static_cast<double>(offset) * ratio));
  return BuildParallel(pts, n, e, outPositive, &outNegative);
}

int MultiLine(const POINT* pts, long n, long startHalfWidth, long endHalfWidth, double ratio,
              std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative) {
  outPositive.clear();
  outNegative.clear();
  if (pts == nullptr || n < 2 || startHalfWidth < 0 || endHalfWidth < 1) return 0;
  const double d = static_cast<double>(RoundWide(static_cast<double>(startHalfWidth) * ratio));
  const double w = static_cast<double>(RoundWide(static_cast<double>(endHalfWidth) * ratio));
  // With equal half-widths there is nothing to interpolate, and no total
  // length is needed (a division by it is never made).
  const bool tapered = d != w;
  const double total = tapered ? CalcuLength(pts, n) : 0.0;

  outPositive.reserve(static_cast<size_t>(n));
  outNegative.reserve(static_cast<size_t>(n));
  const auto across = [&](const POINT& p, const Segment& s, double half) {
    const Int64 ox = RoundWide(-half * s.dy / s.len);
    const Int64 oy = RoundWide(half * s.dx / s.len);
    outPositive.push_back(Plus(p, ox, oy));
    outNegative.push_back(Minus(p, ox, oy));
  };
  const auto start = [&](const POINT& p, const Segment& s) { across(p, s, d); };
  const auto end = [&](const POINT& p, const Segment& s) { across(p, s, w); };
  const auto joint = [&](const POINT& v, const Segment& in, const Segment& out, double travelled) {
    // A visited joint implies a non-degenerate segment, so total > 0 here.
    const double half = tapered ? static_cast<double>(RoundWide(d + (w - d) * travelled / total)) : d;
    const Mitre m = MitreAt(DirectionOf(in), DirectionOf(out), Reversal::FromOutgoing);
    const Int64 mx = RoundWide(half * std::cos(m.direction) / m.factor);
    const Int64 my = RoundWide(half * std::sin(m.direction) / m.factor);
    outPositive.push_back(Plus(v, mx, my));
    outNegative.push_back(Minus(v, mx, my));
  };
  if (!VisitJoints(pts, n, start, joint, end)) {
    outPositive.assign(1, CPoint(pts[0]));
    outNegative.assign(1, CPoint(pts[0]));
  }
  return 1;
}

LineStart WalkStartOffset(const POINT* pts, long n, double distance, double ratio) {
  double rest = distance;
  long index = 0;
  POINT from = pts[0], to = pts[1];
  for (long k = 1; k < n; ++k) {
    from = pts[k - 1];
    to = pts[k];
    const double len = SegmentLength(from, to);
    if (len > rest) break;
    rest -= len;
    ++index;
  }
  // The rest goes back to style units and LineOffsetH scales it again, so
  // the start lands on the grid of the rounded segment length.
  LineOffsetH(from, to, RoundHalfAway(rest / ratio), ratio);
  return LineStart{index, from};
}

bool DoubleLineOffsetsOf(int kind, long spacing, long offset, DoubleLineOffsets& out) {
  // Held to 32 bits first, so that the sums below cannot overflow.
  const Int64 j = SaturateToLong(spacing);
  const Int64 d = SaturateToLong(offset);
  switch (kind) {
    case 43: out = {static_cast<long>(d + j), static_cast<long>(d - j)}; return true;
    case 44: out = {static_cast<long>(d), static_cast<long>(d + j)}; return true;
    case 45: out = {static_cast<long>(d), static_cast<long>(d - j)}; return true;
    default: return false;
  }
}

BandHalfWidths BandHalfWidthsOf(long startWidth, long endWidth) {
  const long half = startWidth / 2;  // truncates toward zero
  const long start = half < 0 ? -half : half;
  const long end = endWidth / 2;
  return BandHalfWidths{start, end == 0 ? 1 : end};
}

}  // namespace kp
