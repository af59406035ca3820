#pragma once
// Offset geometry of whole polylines: thinning before drawing, parallel lines
// with mitred joins, bands whose half-width changes along the line, and the
// along-line start offset of the double and tapered lines.
//
// Pure functions of their arguments; the engine passes its width ratio `ratio`
// where a style length is scaled to device units. Output vectors are cleared,
// reserved once for the largest possible result and filled, so no point is
// reallocated on the way.
//
// Shared conventions:
// - Differences are taken in 64 bits and lengths in double, so any pair of
//   32-bit points works. Output coordinates saturate at the 32-bit limits.
// - A segment is degenerate when its two points are equal; such segments
//   give no joint and no direction.
// - Direction angles are in [0, 2 pi): acos(dx / L), or 2 pi minus that when
//   dy < 0. There is deliberately no wrap-around between 2 pi and 0.
// - The normal of A->B is (-dy, dx) / L; positive offsets lie on its side.
#include <vector>

#include "platform/CPoint.h"
#include "platform/KpTypes.h"

namespace kp {

// Cone thinning with a fixed anchor. Every point whose direction from the
// anchor stays inside the cone of the points before it (each widened by
// atan(tolerance / distance)) is dropped; the first point that leaves the
// cone makes the previous input point the new anchor. The first and last
// input points are always kept (the last one is not repeated when it equals
// the last anchor, unless only the first point was kept).
// n == 2 copies both points. False (out empty) for null pts or n < 2.
bool LampHouseSmooth(const POINT* pts, long n, double tolerance, std::vector<CPoint>& out);

// The polyline parallel to pts at offset round(offset * ratio), mitred at
// each vertex that starts a non-degenerate segment. End points are the
// vertex plus the offset normal with the sum truncated; mitre vectors are
// truncated per component before they are added. Mitres are held to
// offset / sin(0.1) (about 10 times the offset); a line that turns straight
// back on itself gets the offset turned back by 90 degrees. A closed input
// (first == last) with more than three output points has its first and last
// output points moved to the intersection of its first and last offset
// segments. False (out empty) for null pts, n < 2, offset 0, or only
// degenerate segments.
bool ParallelLineEx(const POINT* pts, long n, long offset, double ratio, std::vector<CPoint>& out);

// Both sides at once: outPositive is ParallelLineEx at +offset, outNegative
// has each vertex minus the same (truncated) mitre vector, which is exactly
// ParallelLineEx at -offset. False (both empty) under the same conditions.
bool ParallelLine(const POINT* pts, long n, long offset, double ratio,
                  std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative);

// The two sides of a band around pts whose half-width runs linearly with the
// length travelled, from d = round(startHalfWidth * ratio) at the first
// vertex to w = round(endHalfWidth * ratio) at the last; equal half-widths
// give a constant band. Interior half-widths and all offset components are
// rounded (half away from zero). A turn straight back uses the direction
// pi/2 minus the outgoing angle. Every segment degenerate: both sides hold
// the first point only.
// Returns 0 (outputs empty) for null pts, n < 2, startHalfWidth < 0 or
// endHalfWidth < 1; otherwise 1.
int MultiLine(const POINT* pts, long n, long startHalfWidth, long endHalfWidth, double ratio,
              std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative);

// Where a line starts after an along-line offset: drawing continues from
// `point` to pts[index + 1] .. pts[n - 1].
struct LineStart {
  long index;
  POINT point;
};

// Walks `distance` (in the units of the segment lengths) along pts: every
// segment not longer than what remains is passed; the start then moves along
// the segment where the walk stopped by round(rest / ratio) scaled back by
// ratio against the rounded segment length (LineOffsetH). A negative
// distance moves the start backwards along the first segment. When the
// distance covers the whole polyline the index is n - 1, so the line left
// has a single point. Requires pts != null and n >= 2.
LineStart WalkStartOffset(const POINT* pts, long n, double distance, double ratio);

// Offsets of the two lines of a double line, in style units, for kind 43
// (centred: D + J, D - J), 44 (upper: D, D + J) and 45 (lower: D, D - J),
// J the line spacing and D the sub-line's sideways offset. False for any
// other kind.
struct DoubleLineOffsets {
  long first;
  long second;
  // The two lines mirror each other, so one ParallelLine builds both.
  bool Symmetric() const { return first != 0 && first == -second; }
};
bool DoubleLineOffsetsOf(int kind, long spacing, long offset, DoubleLineOffsets& out);

// Half-widths of a tapered band: start = trunc(|startWidth| / 2),
// end = trunc(endWidth / 2), or 1 when that is 0 (a hairline end still has
// some body). A negative end width stays negative, and MultiLine rejects it.
struct BandHalfWidths {
  long start;
  long end;
};
BandHalfWidths BandHalfWidthsOf(long startWidth, long endWidth);

}  // namespace kp
