#include "platform/CRect.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/KpSaturate.h"

CPoint CRect::CenterPoint() const {
  // Widen to 64 bits so that rectangles spanning the whole 32-bit range do not overflow.
  const auto cx = (static_cast<long long>(left) + right) / 2;
  const auto cy = (static_cast<long long>(top) + bottom) / 2;
  return CPoint(static_cast<LONG>(cx), static_cast<LONG>(cy));
}

namespace {

LONG Sum(LONG a, std::int64_t b) { return kp::SaturateToLong(std::int64_t{a} + b); }

}  // namespace

LONG CRect::Width() const { return Sum(right, -std::int64_t{left}); }
LONG CRect::Height() const { return Sum(bottom, -std::int64_t{top}); }

void CRect::OffsetRect(LONG dx, LONG dy) {
  left = Sum(left, dx);
  right = Sum(right, dx);
  top = Sum(top, dy);
  bottom = Sum(bottom, dy);
}

void CRect::DeflateRect(LONG l, LONG t, LONG r, LONG b) {
  left = Sum(left, l);
  top = Sum(top, t);
  right = Sum(right, -std::int64_t{r});
  bottom = Sum(bottom, -std::int64_t{b});
}

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

bool CRect::IntersectRect(const RECT& a, const RECT& b) {
  CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom));
  if (r.IsRectEmpty()) {
    SetRectEmpty();
    return false;
  }
  *this = r;
  return true;
}

bool CRect::UnionRect(const RECT& a, const RECT& b) {
  const CRect ra(a), rb(b);
  if (ra.IsRectEmpty()) {
    *this = rb;
  } else if (rb.IsRectEmpty()) {
    *this = ra;
  } else {
    *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom));
  }
  return !IsRectEmpty();
}
