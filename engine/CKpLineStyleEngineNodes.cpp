// Node shapes (ellipses and turned rectangles) and the extended-attribute
// pass that sends each position's decoration to the arrow, node or symbol
// routine.
#include <cstdint>
#include <limits>

#include "companions/CKpOperator.h"
#include "engine/CKpLineStyleEngine.h"
#include "platform/KpSaturate.h"
#include "engine/KpGeometry.h"
#include "model/CKpLineStyleObj.h"

namespace {

constexpr long kShapeHollowEllipse = 6;
constexpr long kShapeHollowRect = 7;
constexpr long kShapeFilledEllipse = 8;
constexpr long kShapeFilledRect = 9;

bool IsNodeShape(long shape) { return shape >= kShapeHollowEllipse && shape <= kShapeFilledRect; }
bool IsEllipseShape(long shape) { return shape == kShapeHollowEllipse || shape == kShapeFilledEllipse; }
bool HasWhiteInterior(long shape) { return shape == kShapeHollowEllipse || shape == kShapeHollowRect; }

// Coordinate plus offset, saturating at the 32-bit range: a node near the
// edge of the plane must not wrap round to the other side.
LONG Shift(LONG base, std::int64_t delta) { return kp::SaturateToLong(std::int64_t{base} + delta); }

// The box of a node: (x + hw, y + hh) to (x - hw, y - hh).
CRect NodeBox(const POINT& c, long hw, long hh) {
  return CRect(Shift(c.x, hw), Shift(c.y, hh), Shift(c.x, -hw), Shift(c.y, -hh));
}

// Middle of a segment, each coordinate halved toward zero (in 64 bits).
POINT TruncatedMiddle(const POINT& a, const POINT& b) {
  return POINT{static_cast<LONG>((std::int64_t{a.x} + b.x) / 2),
               static_cast<LONG>((std::int64_t{a.y} + b.y) / 2)};
}

// A node to draw: its centre and the segment whose direction turns a rectangle.
struct Node {
  POINT centre;
  POINT from;
  POINT to;
};

// The nodes of one position. A one-point polyline has no segment: its
// rectangles keep angle 0 instead of reading past the points.
template <class Visit>
void ForEachNode(long position, const POINT* pts, long count, Visit visit) {
  const long last = count - 1;
  switch (position) {
    case KP_EXT_POS_HEAD:
      visit(Node{pts[0], pts[0], pts[count > 1 ? 1 : 0]});
      break;
    case KP_EXT_POS_TAIL:
      visit(Node{pts[last], pts[count > 1 ? last - 1 : last], pts[last]});
      break;
    case KP_EXT_POS_VERTEX:
      for (long k = 1; k < last; ++k) visit(Node{pts[k], pts[k - 1], pts[k]});
      break;
    case KP_EXT_POS_SEGMENT_CENTRE:
      for (long k = 1; k <= last; ++k) visit(Node{TruncatedMiddle(pts[k - 1], pts[k]), pts[k - 1], pts[k]});
      break;
    case KP_EXT_POS_LINE_CENTRE: {
      POINT middle{0, 0};
      const long j = kp::CalMidiumPoint(pts, count, middle, 0);
      if (j < 0) break;
      visit(Node{middle, pts[j], pts[j + 1 < count ? j + 1 : j]});
      break;
    }
    default:
      break;
  }
}

}  // namespace

void CKpLineStyleEngine::ActDrawExtAtt(long position, CKpLineStyleObj* style, POINT* pts,
                                       long count) {
  if (style == nullptr || pts == nullptr) return;
  if (position < KP_EXT_POS_HEAD || position >= KP_EXT_POS_COUNT || count < 2) return;
  const tagLineStyleObjExt* rec = style->GetObjExt().GetObjExt(position);
  if (rec == nullptr || rec->nShape <= 0) return;
  if (rec->nShape < kShapeHollowEllipse)
    ActDrawArrow(position, style, pts, count);
  else if (IsNodeShape(rec->nShape))
    ActDrawEllipse(position, style, pts, count);
  else
    ActDrawSymbol(position, style, pts, count);
}

void CKpLineStyleEngine::ActDrawEllipse(long position, CKpLineStyleObj* style, POINT* pts,
                                        long count) {
  if (style == nullptr || pts == nullptr || count < 1 || m_pDC == nullptr) return;
  if (style->GetObjExt().GetObjExtToken() == 0) return;
  const tagLineStyleObjExt* rec = style->GetObjExt().GetObjExt(position);
  if (rec == nullptr || !IsNodeShape(rec->nShape)) return;
  const long shape = rec->nShape;
  const long hw = kp::RoundHalfAway(rec->byWidth * m_dRatio / 2);
  const long hh = kp::RoundHalfAway(rec->byHeight * m_dRatio / 2);

  CBrush brush;
  brush.CreateSolidBrush(DecorationColor(static_cast<COLORREF>(style->GetFirstColor())));
  CGdiObject* previous =
      HasWhiteInterior(shape) ? m_pDC->SelectStockObject(WHITE_BRUSH) : m_pDC->SelectObject(&brush);

  ForEachNode(position, pts, count, [&](const Node& node) {
    const CRect box = NodeBox(node.centre, hw, hh);
    if (IsEllipseShape(shape)) {
      m_pDC->Ellipse(&box);
      return;
    }
    CPoint corners[4];
    const long angle = kp::CalcuAngle(node.from, node.to);  // within -1800..1800
    CKpOperator::RotateRect(box, 4, static_cast<short>(angle), corners);
    Polygon(corners, 4);
  });

  if (previous) m_pDC->SelectObject(previous);
  brush.DeleteObject();
}

// The style-wide node shape of these two forms would come from the style's
// extended width, which is always 0, so they never draw; the brush is made
// and released all the same.
void CKpLineStyleEngine::ActDrawEllipse(CKpLineStyleObj* style, POINT*, long) {
  if (style == nullptr) return;
  CBrush brush;
  brush.CreateSolidBrush(static_cast<COLORREF>(style->GetFirstColor()));
  brush.DeleteObject();
}

void CKpLineStyleEngine::ActDrawEllipse(CKpLineStyleObj& style, POINT* pts, long count) {
  ActDrawEllipse(&style, pts, count);
}

void CKpLineStyleEngine::DrawNodeEllipse(POINT& centre, long width, long height, long kind) {
  if (m_pDC == nullptr || (kind != 1 && kind != 2)) return;
  const std::int64_t w2 = width / 2, h2 = height / 2;
  const CRect box(Shift(centre.x, -w2), Shift(centre.y, h2), Shift(centre.x, w2), Shift(centre.y, -h2));
  if (kind == 1)
    m_pDC->Ellipse(&box);
  else
    m_pDC->Rectangle(&box);
}

// Exported for hosts; it has never drawn anything.
void CKpLineStyleEngine::DrawEllipse(POINT&, POINT&, long, long, long) {}
