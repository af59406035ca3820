#pragma once
#include "platform/CPoint.h"
#include "platform/KpExport.h"

// A RECT with the helpers the drawing and dialog code use. Like the
// platform's, a rectangle excludes its right and bottom edges and is empty
// when it has no area.
class KP_API CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}  // NOLINT: implicit like the platform's
  CRect(const POINT& topLeft, const POINT& bottomRight)
      : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  // Saturated: a rectangle spanning the 32-bit plane is wider than a LONG.
  LONG Width() const;
  LONG Height() const;
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const;

  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool PtInRect(const POINT& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }

  void SetRect(LONG l, LONG t, LONG r, LONG b) { *this = CRect(l, t, r, b); }
  void SetRectEmpty() { *this = CRect(); }
  // Moves (or shrinks) the sides; a side pushed past the 32-bit range stays at its edge.
  void OffsetRect(LONG dx, LONG dy);
  // Shrinks each side by the given amounts (negative amounts grow it).
  void DeflateRect(LONG dx, LONG dy) { DeflateRect(dx, dy, dx, dy); }
  void DeflateRect(LONG l, LONG t, LONG r, LONG b);
  void InflateRect(LONG dx, LONG dy) { DeflateRect(-dx, -dy); }
  // Swaps left/right and top/bottom where they are reversed.
  void NormalizeRect();
  // *this := a ∩ b; returns false (and an empty rectangle) when they do not meet.
  bool IntersectRect(const RECT& a, const RECT& b);
  // *this := smallest rectangle holding both non-empty rectangles.
  bool UnionRect(const RECT& a, const RECT& b);

  bool operator==(const RECT& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const RECT& o) const { return !(*this == o); }
};
