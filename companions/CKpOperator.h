#pragma once
// Plane geometry shared by the drawing code: turning a rectangle about its
// centre and intersecting two lines. Pure functions on numbers; nothing here
// touches a device context.
#include "engine/CPoint2D.h"
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/KpExport.h"

class KP_API CKpOperator {
 public:
  // Turns the corners of `box` about the box's centre by `angle` tenths of a
  // degree and writes them to out[0..n-1] (n is normally 4; at most four
  // corners are written). Returns the number of corners written (0 when out
  // is null).
  //
  // Corner order, before turning: (left, top), (right, top), (right, bottom),
  // (left, bottom), whatever the box's orientation (it is not normalised).
  //
  // Sense: a corner at offset (dx, dy) from the centre goes to
  //   (dx cos a - dy sin a, dx sin a + dy cos a),
  // i.e. counter-clockwise in a y-up frame. This is the sense in which the
  // engine's segment angle (atan2(dy, dx) in device coordinates) is measured,
  // so a box turned by the angle of a segment lies along that segment.
  //
  // The centre and the turned corners are computed in doubles (no 32-bit
  // overflow for any box) and rounded half away from zero; coordinates
  // beyond the 32-bit range saturate.
  static int RotateRect(CRect box, unsigned char n, short angle, CPoint* out);

  // Intersection of the line through a1 and a2 with the line through b1 and
  // b2 (infinite lines, not segments). Returns 1 and writes the point to out
  // when they meet in exactly one point; returns 0 and leaves out untouched
  // when either line is undefined (its two points coincide), when the lines
  // are parallel or coincident, or when the intersection is not a finite
  // number.
  static int IntersectLine(const CPoint2D& a1, const CPoint2D& a2, const CPoint2D& b1,
                           const CPoint2D& b2, CPoint2D& out);
};
