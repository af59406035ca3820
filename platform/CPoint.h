#pragma once
#include <cstdint>

#include "platform/KpExport.h"
#include "platform/KpSaturate.h"
#include "platform/KpTypes.h"

// A POINT with constructors and the arithmetic the drawing code uses.
class KP_API CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(LONG px, LONG py) : POINT{px, py} {}
  CPoint(const POINT& p) : POINT(p) {}  // NOLINT: implicit like the platform's

  // Sums saturate at the 32-bit limits rather than wrap.
  void Offset(LONG dx, LONG dy) { *this = *this + POINT{dx, dy}; }
  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const POINT& o) const { return !(*this == o); }
  CPoint operator+(const POINT& o) const {
    return CPoint(kp::SaturateToLong(std::int64_t{x} + o.x), kp::SaturateToLong(std::int64_t{y} + o.y));
  }
  CPoint operator-(const POINT& o) const {
    return CPoint(kp::SaturateToLong(std::int64_t{x} - o.x), kp::SaturateToLong(std::int64_t{y} - o.y));
  }
};
