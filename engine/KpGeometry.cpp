#include "engine/KpGeometry.h"

#include "platform/KpSaturate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kp {
namespace {

using Int64 = std::int64_t;


// Intermediate integers (lengths, along-line distances, shifts before they
// are added to a coordinate) can exceed 32 bits: the diagonal of the 32-bit
// plane is about 6.07e9. They are kept in 64 bits, bounded by +-2^62 so that
// adding a 32-bit coordinate can never overflow.

constexpr double kDegenerate = 1e-10;

// Radians to tenths of a degree. The engine has always divided by this
// truncated pi rather than M_PI; angles must match its earlier output.
constexpr double kPi = 3.14159265;



// Coordinate plus a wide offset, saturating at the 32-bit range.
LONG AddClamped(LONG base, Int64 delta) { return SaturateToLong(Int64{base} + delta); }

// dx and dy of a segment. B.x - A.x in 32 bits overflows for points on
// opposite sides of the plane, so the difference is taken in 64 bits; it is
// at most 2^32 - 1 in magnitude and therefore exact as a double too.
struct Delta {
  Int64 x;
  Int64 y;
};

Delta DeltaOf(const POINT& A, const POINT& B) {
  return {Int64{B.x} - Int64{A.x}, Int64{B.y} - Int64{A.y}};
}

// Length of a segment. Each square is exact in unsigned 64 bits (up to
// (2^32-1)^2, beyond INT64_MAX), but their sum may need 65 bits, so the sum
// and the root are taken in double. The earlier code squared 32-bit
// differences in 32 bits and overflowed above about 46341 units.
double LengthOf(const Delta& d) {
  const std::uint64_t ux = static_cast<std::uint64_t>(d.x < 0 ? -d.x : d.x);
  const std::uint64_t uy = static_cast<std::uint64_t>(d.y < 0 ? -d.y : d.y);
  return std::sqrt(static_cast<double>(ux * ux) + static_cast<double>(uy * uy));
}

}  // namespace

long RoundHalfAway(double v) { return SaturateToLong(RoundWide(v)); }

long Truncate(double v) { return SaturateToLong(TruncWide(v)); }

void LineOffset(const POINT& A, const POINT& B, long d, double r, POINT& out) {
  const Delta dl = DeltaOf(A, B);
  const double L = LengthOf(dl);
  if (std::fabs(L) < kDegenerate) {
    out = POINT{0, 0};
    return;
  }
  // d is negated as a double: -d on a long could overflow.
  const double dd = static_cast<double>(d);
  out.x = static_cast<LONG>(RoundHalfAway(-dd * r * static_cast<double>(dl.y) / L));
  out.y = static_cast<LONG>(RoundHalfAway(dd * r * static_cast<double>(dl.x) / L));
}

void LineOffset(POINT& A, POINT& B, long d, double r) {
  const Delta dl = DeltaOf(A, B);
  const double L = LengthOf(dl);
  if (std::fabs(L) < kDegenerate) return;
  const double dd = static_cast<double>(d);
  const double ex = -dd * r * static_cast<double>(dl.y) / L;
  const double ey = dd * r * static_cast<double>(dl.x) / L;
  // The real offset is added before rounding, so both ends of the segment
  // round the same way relative to their own coordinates.
  A = POINT{static_cast<LONG>(RoundHalfAway(A.x + ex)), static_cast<LONG>(RoundHalfAway(A.y + ey))};
  B = POINT{static_cast<LONG>(RoundHalfAway(B.x + ex)), static_cast<LONG>(RoundHalfAway(B.y + ey))};
}

void LineOffsetH(POINT& A, POINT& B, long d, double r) {
  const Delta dl = DeltaOf(A, B);
  // This form has always divided by the rounded length; callers depend on
  // the resulting device points. Lr is kept in 64 bits: lengths can exceed
  // INT32_MAX and clamping them would distort the step.
  const Int64 Lr = RoundWide(LengthOf(dl));
  if (Lr == 0) return;
  const double dd = static_cast<double>(d);
  const double lr = static_cast<double>(Lr);
  const Int64 sx = RoundWide(dd * static_cast<double>(dl.x) * r / lr);
  const Int64 sy = RoundWide(dd * static_cast<double>(dl.y) * r / lr);
  A = POINT{AddClamped(A.x, sx), AddClamped(A.y, sy)};
  B = POINT{AddClamped(B.x, sx), AddClamped(B.y, sy)};
}

void LineOffsetH(const POINT& A, const POINT& B, long d, double r, POINT& out) {
  const Delta dl = DeltaOf(A, B);
  const double L = LengthOf(dl);
  if (std::fabs(L) < kDegenerate) return;
  const double dd = static_cast<double>(d);
  out.x = static_cast<LONG>(RoundHalfAway(dd * static_cast<double>(dl.x) * r / L));
  out.y = static_cast<LONG>(RoundHalfAway(dd * static_cast<double>(dl.y) * r / L));
}

void LineOffsetHV(const POINT& A, const POINT& B, long dv, long dh, double r,
                  POINT& outV, POINT& outH) {
  const Delta dl = DeltaOf(A, B);
  const double L = LengthOf(dl);
  if (std::fabs(L) < kDegenerate) return;
  const double v = static_cast<double>(dv);
  const double h = static_cast<double>(dh);
  const double dx = static_cast<double>(dl.x);
  const double dy = static_cast<double>(dl.y);
  outV.x = static_cast<LONG>(RoundHalfAway(-v * dy * r / L));
  outV.y = static_cast<LONG>(RoundHalfAway(v * dx * r / L));
  outH.x = static_cast<LONG>(RoundHalfAway(h * dx * r / L));
  outH.y = static_cast<LONG>(RoundHalfAway(h * dy * r / L));
}

void PolyLineOffset(POINT& A, POINT& B, long d) {
  const Delta dl = DeltaOf(A, B);
  const Int64 Lr = RoundWide(LengthOf(dl));
  if (Lr == 0) return;
  // Offsets are 32-bit style values. Holding d to that range keeps d*dy
  // within 64 bits (|d*dy| <= 2^31 * (2^32-1) < 2^63); a 32-bit product, as
  // the engine once used, overflowed for ordinary screen coordinates.
  const Int64 dd = SaturateToLong(static_cast<Int64>(d));
  // Since |dy| <= L, each quotient is at most |d| in magnitude.
  const Int64 mx = -(dd * dl.y) / Lr;
  const Int64 my = (dd * dl.x) / Lr;
  A = POINT{AddClamped(A.x, mx), AddClamped(A.y, my)};
  B = POINT{AddClamped(B.x, mx), AddClamped(B.y, my)};
}

long CalcuAngle(const POINT& A, const POINT& B) {
  const Delta dl = DeltaOf(A, B);
  return RoundHalfAway(std::atan2(static_cast<double>(dl.y), static_cast<double>(dl.x)) * 1800 / kPi);
}

long CalcuAngle(const POINT& A, const POINT& B, long flags) {
  const Delta dl = DeltaOf(A, B);
  // Flags are a 32-bit word: the high half mirrors the x axis, the low half
  // is an angle to add. Bits above 31 of a wider long are ignored.
  const unsigned long bits = static_cast<unsigned long>(flags);
  const bool mirrored = ((bits >> 16) & 0xFFFFu) != 0;
  const double x = static_cast<double>(mirrored ? -dl.x : dl.x);
  return RoundHalfAway(std::atan2(x, static_cast<double>(dl.y)) * 1800 / kPi) +
         static_cast<long>(bits & 0xFFFFu);
}

double CalcuLength(const POINT* pts, long n) {
  if (pts == nullptr || n <= 1) return 0.0;
  double total = 0.0;
  for (long i = 0; i + 1 < n; ++i) total += LengthOf(DeltaOf(pts[i], pts[i + 1]));
  return total;
}

long CalMidiumPoint(const POINT* pts, long n, POINT& out, long shift) {
  if (pts == nullptr || n <= 0) return -1;
  if (n == 1) {
    out = pts[0];
    return 0;
  }
  const double total = CalcuLength(pts, n);
  double t = (total + static_cast<double>(shift)) * 0.5;
  // Callers used to keep |shift| below the length; an arrow longer than a
  // short polyline does not, and the walk then ran past the last point.
  // Holding the target on the polyline keeps every read inside pts and puts
  // the point at the nearest end.
  if (t < 0) t = 0;
  if (t > total) t = total;

  // The last segment is never tested: whatever remains of t (at most its
  // length plus rounding noise from the sum) lies on it.
  long i = 0;
  while (i < n - 2) {
    const double d = LengthOf(DeltaOf(pts[i], pts[i + 1]));
    if (t <= d) break;
    t -= d;
    ++i;
  }
  const POINT A = pts[i];
  const POINT B = pts[i + 1];
  // t can exceed 2^31 on a long segment, so f stays 64-bit.
  const Int64 f = TruncWide(t);
  // La comes from 64-bit squares like every other length here; the 32-bit
  // squares the engine once used overflowed on long segments.
  const double La = LengthOf(DeltaOf(A, B));
  if (f == 0 || La < kDegenerate) {
    // A degenerate segment has no direction to move along.
    out = A;
  } else {
    // Interpolates A + f/La * (B - A) in the form the engine has always
    // used, so that rounding lands on the same device points.
    const double fd = static_cast<double>(f);
    const double o = (La - fd) / fd;
    out.x = static_cast<LONG>(RoundHalfAway((o * A.x + B.x) / (o + 1)));
    out.y = static_cast<LONG>(RoundHalfAway((o * A.y + B.y) / (o + 1)));
  }
  // A point on vertex pts[i] also ends segment i-1. Segment 0 has no
  // predecessor; returning -1 there would send callers to pts[-1].
  if (out.x == A.x && out.y == A.y && i > 0) return i - 1;
  return i;
}

int CalExtandPoint(POINT A, POINT B, long d, POINT& out) {
  if (d == 0) return 1;
  const Delta dl = DeltaOf(A, B);
  const double L = LengthOf(dl);
  if (std::fabs(L) < kDegenerate) return 0;
  const double dd = static_cast<double>(d);
  out.x = AddClamped(A.x, TruncWide(dd * static_cast<double>(dl.x) / L));
  out.y = AddClamped(A.y, TruncWide(dd * static_cast<double>(dl.y) / L));
  return 1;
}

double GetLinearEquationConstant(double k, POINT P) { return P.y - k * P.x; }

CPoint GetPointWithVDist(const POINT& A, const POINT& B, long d) {
  // Same arithmetic as the moving LineOffset with ratio 1, applied to A only.
  POINT a = A;
  POINT b = B;
  LineOffset(a, b, d, 1.0);
  return CPoint(a);
}

CPoint2D GetXCoorToConstPoint(double k, POINT P, double radius, double direction) {
  const double R = std::fabs(radius);
  const double s = direction >= 0 ? 1.0 : -1.0;
  if (std::isinf(k)) return CPoint2D{static_cast<double>(P.x), P.y + s * R};
  // hypot keeps 1 + k^2 from overflowing for steep lines, and k / hypot is
  // at most 1, so k * R never overflows either.
  const double h = std::hypot(1.0, k);
  return CPoint2D{P.x + s * R / h, P.y + s * R * (k / h)};
}

}  // namespace kp
