#pragma once
// Vector arithmetic of the line-style engine: sideways and along-line offsets
// of a segment, polyline length and middle, segment angles and extensions.
//
// Everything here is a pure function of its arguments (no device, no engine
// state), so the engine passes its width ratio `r` explicitly where an offset
// in style units is scaled to device units.
//
// Conventions shared by all functions:
// - For a segment A->B: dx = B.x - A.x, dy = B.y - A.y, L = sqrt(dx^2 + dy^2).
//   Differences, squares and lengths are taken in 64-bit integers or doubles,
//   so any pair of 32-bit points works, even (INT32_MIN, INT32_MIN) to
//   (INT32_MAX, INT32_MAX).
// - A segment is degenerate when L < 1e-10 (for integer points: A == B).
// - The perpendicular (-dy, dx) is the direction turned by +90 degrees; with
//   y pointing down it is on the right of the segment. Positive offsets go
//   there.
// - Reals become device coordinates by RoundHalfAway; "truncate" is toward
//   zero.
// - A coordinate that does not fit 32 bits is clamped to INT32_MIN/INT32_MAX
//   (saturates instead of wrapping), never undefined behaviour.
// - Offsets (`d`, `dv`, `dh`, `shift`) are style or device units as `long`.

#include "engine/CPoint2D.h"
#include "platform/CPoint.h"
#include "platform/KpTypes.h"

namespace kp {

// The engine's rounding: add 0.5 to a positive value, subtract 0.5 from zero
// or a negative one, truncate toward zero (so -2.5 -> -3, 2.5 -> 3,
// -0.4 -> 0). The result is clamped to [INT32_MIN, INT32_MAX] before the
// conversion, so it always fits a POINT coordinate; NaN gives 0.
long RoundHalfAway(double v);

// Truncation toward zero, clamped to [INT32_MIN, INT32_MAX] like
// RoundHalfAway; NaN gives 0.
long Truncate(double v);

// Perpendicular offset vector of A->B for offset d scaled by r:
// out = (round(-d*r*dy/L), round(d*r*dx/L)); degenerate -> out = (0, 0).
void LineOffset(const POINT& A, const POINT& B, long d, double r, POINT& out);

// Moves A and B sideways by d*r: with ex = -d*r*dy/L, ey = d*r*dx/L each
// point becomes (round(P.x + ex), round(P.y + ey)). Degenerate -> unchanged.
void LineOffset(POINT& A, POINT& B, long d, double r);

// Moves A and B along the segment by d*r, measured with the rounded length
// Lr: s = (round(d*dx*r/Lr), round(d*dy*r/Lr)) is added to both points.
// Lr == 0 -> unchanged.
void LineOffsetH(POINT& A, POINT& B, long d, double r);

// Along-line offset vector: out = (round(d*dx*r/L), round(d*dy*r/L));
// degenerate -> out untouched.
void LineOffsetH(const POINT& A, const POINT& B, long d, double r, POINT& out);

// Both vectors at once: outV = (round(-dv*dy*r/L), round(dv*dx*r/L)),
// outH = (round(dh*dx*r/L), round(dh*dy*r/L)); degenerate -> both untouched.
void LineOffsetHV(const POINT& A, const POINT& B, long dv, long dh, double r,
                  POINT& outV, POINT& outH);

// Integer sideways move (no ratio): Lr = round(L); both points move by
// (-(d*dy)/Lr, (d*dx)/Lr) with integer division truncating toward zero.
// Lr == 0 -> unchanged. d is clamped to the 32-bit range first (see .cpp).
void PolyLineOffset(POINT& A, POINT& B, long d);

// Direction of A->B in tenths of a degree, -1800..1800:
// round(atan2(dy, dx) * 1800 / 3.14159265). A == B gives 0.
long CalcuAngle(const POINT& A, const POINT& B);

// Angle of A->B measured from the y axis, plus an unsigned offset:
// x = dx when bits 16-31 of flags are all zero, else x = -dx;
// result = round(atan2(x, dy) * 1800 / 3.14159265) + (flags & 0xFFFF).
long CalcuAngle(const POINT& A, const POINT& B, long flags);

// Sum of the exact segment lengths of pts[0..n-1]; 0.0 for null or n <= 1.
double CalcuLength(const POINT* pts, long n);

// The point at distance (length + shift) / 2 from pts[0] along the polyline,
// i.e. the middle moved by shift/2 towards the end. Returns the index j of
// the segment pts[j]->pts[j+1] holding it; when the point falls exactly on
// the start vertex of segment j > 0, that vertex also ends segment j-1 and
// j-1 is returned.
// - null or n <= 0: returns -1, out untouched.
// - n == 1: out = pts[0], returns 0.
// - The target is kept on the polyline: a shift beyond +length stops at the
//   end of the last segment, beyond -length at pts[0]. pts is never read past
//   pts[n-1], and for n >= 2 the result j has 0 <= j <= n-2, so callers may
//   read pts[j] and pts[j+1].
long CalMidiumPoint(const POINT* pts, long n, POINT& out, long shift);

// Point at distance d from A towards B:
// out = (A.x + truncate(d*dx/L), A.y + truncate(d*dy/L)), returns 1.
// Negative d goes backwards beyond A, d > L beyond B.
// d == 0: returns 1 with out untouched. Degenerate segment: returns 0.
int CalExtandPoint(POINT A, POINT B, long d, POINT& out);

// Constant b of the line y = k*x + b through P: P.y - k*P.x.
double GetLinearEquationConstant(double k, POINT P);

// The point at distance d from A along the perpendicular (-dy, dx) of A->B
// (no ratio): (round(A.x - d*dy/L), round(A.y + d*dx/L)), which is where the
// moving LineOffset with r = 1 puts A. Degenerate segment -> A.
CPoint GetPointWithVDist(const POINT& A, const POINT& B, long d);

// Intersects the line of slope k through P (y - P.y = k*(x - P.x)) with the
// circle of radius |radius| centred on P, i.e. returns the point at distance
// |radius| from P along that line:
// - direction >= 0: the intersection with the larger x,
//   (P.x + |radius|/sqrt(1+k^2), P.y + k*|radius|/sqrt(1+k^2));
// - otherwise (negative or NaN): the one with the smaller x, the first
//   mirrored through P.
// An infinite k is a vertical line: both intersections share x = P.x, and
// direction >= 0 picks the larger y. A NaN k gives NaN coordinates.
CPoint2D GetXCoorToConstPoint(double k, POINT P, double radius, double direction);

}  // namespace kp
