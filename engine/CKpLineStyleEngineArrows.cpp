// Arrowheads: the one arrow primitive (DrawArrow) used by every arrow of the
// engine, the dash-with-arrow decorations (kinds 34..38), the arrow pass of
// the extended attributes and the exported helpers DrawHeadArrow and
// GetMidiumPoint. The geometry itself lives in KpArrowGeometry.
#include "engine/CKpLineStyleEngine.h"
#include "engine/KpArrowGeometry.h"
#include "engine/KpGeometry.h"
#include "model/CKpLineStyleObj.h"

namespace {

// Heads of the dash-with-arrow kinds are a fixed size in device units,
// whatever the ratio: 7 units back from the tip and 7 to each side.
constexpr long kDashArrowSize = 15;
constexpr long kOpenArrow = 1;

bool SamePoint(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// Puts the previous brush back so that the brush made for one arrow can be
// deleted. Should the previous brush no longer be selectable, the stock
// brush goes in instead: a context must never keep a deleted brush.
void ReleaseBrush(CDC& dc, CBrush* previous, CBrush& made) {
  if (dc.GetCurrentBrush() == &made && (previous == nullptr || dc.SelectObject(previous) == nullptr))
    dc.SelectStockObject(WHITE_BRUSH);
  made.DeleteObject();
}

// Saturating sum of a coordinate and an offset component.
LONG AddCoord(LONG a, LONG b) { return static_cast<LONG>(kp::Truncate(static_cast<double>(a) + b)); }

enum class DashArrows { Tail, Header, Double, Middle, MiddleReverse };

// Plays the walked buffer like DrawSegments (from point 0, the segment end
// left out) and puts the arrows of `kind` on the dash starts and ends.
void PlayDashesWithArrows(CKpLineStyleEngine& e, DashArrows kind);

}  // namespace

// --- the arrow primitive ---

void CKpLineStyleEngine::DrawArrow(POINT& from, POINT& to, long length, long width, long shape) {
  if (m_pDC == nullptr) return;
  const COLORREF fallback = m_pLineStyleBase ? m_pLineStyleBase->m_clrCurrent : RGB(0, 0, 0);
  CBrush brush;
  brush.CreateSolidBrush(DecorationColor(fallback));
  CBrush* previous = m_pDC->SelectObject(&brush);

  const kp::ArrowHead head = kp::ComputeArrowHead(from, to, length, width);
  POINT polygon[4];
  const int n = kp::ArrowPolygon(head, shape, polygon);
  if (shape == 1) {
    MoveTo(head.corner1);
    LineTo(head.tip);
    MoveTo(head.corner2);
    LineTo(head.tip);
  } else if (n > 0) {
    Polygon(polygon, n);
  } else if (shape == 6) {
    m_pDC->Ellipse(head.ellipse.left, head.ellipse.top, head.ellipse.right, head.ellipse.bottom);
  }
  ReleaseBrush(*m_pDC, previous, brush);
}

// The extension point is undefined for a length of 0, so such a head (like
// one whose two points coincide) draws nothing and reports 0. So does a call
// without a device context.
int CKpLineStyleEngine::DrawHeadArrow(POINT tip, POINT toward, long length, long width) {
  if (m_pDC == nullptr || length == 0) return 0;
  POINT out{0, 0};
  if (!kp::CalExtandPoint(tip, toward, length, out)) return 0;
  POINT w{0, 0};
  kp::LineOffset(tip, toward, width, m_dRatio, w);
  MoveTo(AddCoord(out.x, w.x), AddCoord(out.y, w.y));
  LineTo(tip);
  LineTo(AddCoord(out.x, -w.x), AddCoord(out.y, -w.y));
  MoveTo(tip);
  return 1;
}

POINT CKpLineStyleEngine::GetMidiumPoint(POINT& P, POINT& Q, long a) {
  return kp::PointBeyondMiddle(P, Q, a);
}

// --- dashes with arrows (the decoration vector is not used) ---

void CKpLineStyleEngine::DrawDashWithTailArrow(long, long) {
  PlayDashesWithArrows(*this, DashArrows::Tail);
}

void CKpLineStyleEngine::DrawDashWithHeaderArrow(long, long) {
  PlayDashesWithArrows(*this, DashArrows::Header);
}

void CKpLineStyleEngine::DrawDashWithDoubleArrow(long, long) {
  PlayDashesWithArrows(*this, DashArrows::Double);
}

void CKpLineStyleEngine::DrawDashWithMidiumArrow(long, long) {
  PlayDashesWithArrows(*this, DashArrows::Middle);
}

void CKpLineStyleEngine::DrawDashWithMidiumReverseArrow(long, long) {
  PlayDashesWithArrows(*this, DashArrows::MiddleReverse);
}

namespace {

void DashArrow(CKpLineStyleEngine& e, POINT from, POINT to) {
  e.DrawArrow(from, to, kDashArrowSize, kDashArrowSize, kOpenArrow);
}

// Forward head centred on the middle of the piece F-T; none on a piece of
// length 0, which has no direction.
void MiddleArrow(CKpLineStyleEngine& e, POINT F, POINT T) {
  if (SamePoint(F, T)) return;
  DashArrow(e, F, kp::PointBeyondMiddle(F, T, kDashArrowSize));
}

// Backward head centred on the middle of the piece F-T.
void MiddleReverseArrow(CKpLineStyleEngine& e, POINT F, POINT T) {
  if (SamePoint(F, T)) return;
  DashArrow(e, T, kp::PointBeforeMiddle(F, T, kDashArrowSize));
}

void ArrowsAt(CKpLineStyleEngine& e, DashArrows kind, long i) {
  const POINT* p = e.m_pPoints;
  if (e.IsDashStart(i) && (kind == DashArrows::Header || kind == DashArrows::Double))
    DashArrow(e, p[i + 1], p[i]);
  if (!e.IsDashEnd(i)) return;
  switch (kind) {
    case DashArrows::Tail:
    case DashArrows::Double: DashArrow(e, p[i - 1], p[i]); break;
    case DashArrows::Middle: MiddleArrow(e, p[i - 1], p[i]); break;
    case DashArrows::MiddleReverse: MiddleReverseArrow(e, p[i - 1], p[i]); break;
    case DashArrows::Header: break;
  }
}

void PlayDashesWithArrows(CKpLineStyleEngine& e, DashArrows kind) {
  if (e.m_pDC == nullptr || e.m_pPoints == nullptr || e.m_pTypes == nullptr || e.m_nLastIndex < 0)
    return;
  const long n = e.m_nLastIndex;
  e.MoveTo(e.m_pPoints[0]);
  // A dash carried across the vertex may end on point 0 itself; the middle
  // arrow then takes the piece after it.
  if (kind == DashArrows::Middle && n >= 1 && e.IsDashEnd(0))
    MiddleArrow(e, e.m_pPoints[0], e.m_pPoints[1]);
  for (long i = 1; i < n; ++i) {
    if (e.m_pTypes[i] == PT_MOVETO)
      e.MoveTo(e.m_pPoints[i]);
    else if (e.m_pTypes[i] == PT_LINETO)
      e.LineTo(e.m_pPoints[i]);
    ArrowsAt(e, kind, i);
  }
}

// --- arrows of the extended attributes ---

// The first point after pts[0] that differs from it, or null.
const POINT* FirstOther(const POINT* pts, long count) {
  for (long i = 1; i < count; ++i)
    if (!SamePoint(pts[i], pts[0])) return &pts[i];
  return nullptr;
}

// The last point before pts[count-1] that differs from it, or null.
const POINT* LastOther(const POINT* pts, long count) {
  for (long i = count - 2; i >= 0; --i)
    if (!SamePoint(pts[i], pts[count - 1])) return &pts[i];
  return nullptr;
}

struct ExtArrow {
  long length;  // A: twice the record's width, so that the head reaches back about byWidth
  long width;   // W
  long shape;   // 1..5
};

void ExtArrowTo(CKpLineStyleEngine& e, const ExtArrow& a, POINT from, POINT tip) {
  e.DrawArrow(from, tip, a.length, a.width, a.shape);
}

}  // namespace

void CKpLineStyleEngine::ActDrawArrow(long position, CKpLineStyleObj* style, POINT* pts, long count) {
  if (style == nullptr || pts == nullptr || count < 1) return;
  const CKpLineStyleObjExt& ext = style->GetObjExt();
  if (ext.GetObjExtToken() == 0) return;
  const tagLineStyleObjExt* rec = ext.GetObjExt(position);
  if (rec == nullptr || rec->nShape < 1 || rec->nShape > 5) return;
  const ExtArrow a{kp::RoundHalfAway(2.0 * rec->byWidth * m_dRatio),
                   kp::RoundHalfAway(rec->byHeight * m_dRatio), rec->nShape};
  const long h = a.length / 2;

  switch (position) {
    case KP_EXT_POS_HEAD:
      if (const POINT* from = FirstOther(pts, count)) ExtArrowTo(*this, a, *from, pts[0]);
      break;
    case KP_EXT_POS_TAIL:
      if (const POINT* from = LastOther(pts, count)) ExtArrowTo(*this, a, *from, pts[count - 1]);
      break;
    case KP_EXT_POS_VERTEX:
      for (long k = 0; k + 2 < count; ++k)
        if (!SamePoint(pts[k], pts[k + 1])) ExtArrowTo(*this, a, pts[k], pts[k + 1]);
      break;
    case KP_EXT_POS_SEGMENT_CENTRE:
      for (long k = 0; k + 1 < count; ++k)
        if (!SamePoint(pts[k], pts[k + 1]))
          ExtArrowTo(*this, a, pts[k], kp::PointBeyondMiddle(pts[k], pts[k + 1], h));
      break;
    case KP_EXT_POS_LINE_CENTRE: {
      POINT tip{0, 0};
      const long j = kp::CalMidiumPoint(pts, count, tip, h);
      // A polyline without length has no direction for its centre arrow.
      if (j >= 0 && !SamePoint(pts[j], tip)) ExtArrowTo(*this, a, pts[j], tip);
      break;
    }
    default:
      break;
  }
}

// Both take the arrow kind and size from the style's extended width, which
// is always 0, so a host calling them gets no drawing.
void CKpLineStyleEngine::ActDrawArrow(CKpLineStyleObj*, POINT*, long) {}

void CKpLineStyleEngine::ActDrawArrow(CKpLineStyleObj& style, POINT* pts, long count) {
  ActDrawArrow(&style, pts, count);
}
