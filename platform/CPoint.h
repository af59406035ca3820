#pragma once
#include "platform/KpTypes.h"

// A POINT with constructors and the arithmetic the drawing code uses.
class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(LONG px, LONG py) : POINT{px, py} {}
  CPoint(const POINT& p) : POINT(p) {}  // NOLINT: implicit like the platform's

  void Offset(LONG dx, LONG dy) {
    x += dx;
    y += dy;
  }
  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const POINT& o) const { return !(*this == o); }
  CPoint operator+(const POINT& o) const { return CPoint(x + o.x, y + o.y); }
  CPoint operator-(const POINT& o) const { return CPoint(x - o.x, y - o.y); }
};
