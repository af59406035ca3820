#include "platform/CRect.h"

#include <algorithm>
#include <utility>

CPoint CRect::CenterPoint() const {
  // Widen to 64 bits so that rectangles spanning the whole 32-bit range do not overflow.
  const auto cx = (static_cast<long long>(left) + right) / 2;
  const auto cy = (static_cast<long long>(top) + bottom) / 2;
  return CPoint(static_cast<LONG>(cx), static_cast<LONG>(cy));
}

void CRect::OffsetRect(LONG dx, LONG dy) {
  left += dx;
  right += dx;
  top += dy;
  bottom += dy;
}

void CRect::DeflateRect(LONG l, LONG t, LONG r, LONG b) {
  left += l;
  top += t;
  right -= r;
  bottom -= b;
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
