// Segment decorations, kinds 1 to 27: ticks, slanted strokes, chevrons, the
// zigzag, the battlement, boxes, crosses, half arcs and circles. Each routine
// works on the one segment the pattern walker has just buffered and places
// its figures at the dash ends and starts found there.
//
// Notation used below: v is the decoration vector handed in by DrawLine (the
// perpendicular scaled to the sub-line's height), f = (v.y, -v.x) is v turned
// back by a quarter turn, so it has the length of v and points along the
// segment. +v is the "up" side of the style-type labels.
#include <cstdint>
#include <limits>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGeometry.h"
#include "platform/CBrush.h"
#include "platform/KpSaturate.h"

namespace {

using Wide = std::int64_t;



// Figures near the edge of the 32-bit plane saturate instead of wrapping.
using kp::SaturateToLong;
Wide Clamp32(long v) { return SaturateToLong(static_cast<Wide>(v)); }

// The decoration vector with its components held to 32 bits, so that every
// combination p + a*v + b*f below is exact in 64 bits before it saturates.
struct Frame {
  Wide vx;
  Wide vy;

  // p + a*v + b*f.
  POINT At(const POINT& p, int a, int b) const {
    return POINT{SaturateToLong(p.x + a * vx + b * vy), SaturateToLong(p.y + a * vy - b * vx)};
  }
  // p + s*trunc(v/2): the centres of the alternating circles.
  POINT HalfAt(const POINT& p, int s) const {
    return POINT{SaturateToLong(p.x + s * (vx / 2)), SaturateToLong(p.y + s * (vy / 2))};
  }
};

Frame MakeFrame(long vx, long vy) { return Frame{Clamp32(vx), Clamp32(vy)}; }

// p + s*w.
POINT Plus(const POINT& p, const POINT& w, int s) {
  return POINT{SaturateToLong(Wide{p.x} + s * Wide{w.x}), SaturateToLong(Wide{p.y} + s * Wide{w.y})};
}

// The index of the last buffered point when the engine can decorate: a device
// to draw on, a current sub-line, and a last index inside the buffer. -1
// otherwise, and the routine draws nothing.
long LastIndex(const CKpLineStyleEngine& e) {
  if (e.m_pDC == nullptr || e.m_pLineStyleBase == nullptr) return -1;
  if (e.m_pPoints == nullptr || e.m_pTypes == nullptr) return -1;
  if (e.m_nLastIndex < 0 || e.m_nLastIndex >= e.GetBufferSize()) return -1;
  return e.m_nLastIndex;
}

// Length of the first drawn entry (drawn = true) or of the first gap entry of
// the current pattern: entry 1 - flag(0), respectively entry flag(0). A
// pattern without such an entry gives 0.
DWORD FirstEntryLength(const CKpLineStyleEngine& e, bool drawn) {
  if (e.m_pStyleSet == nullptr || e.m_pByteSet == nullptr || e.m_nStyleCount <= 0) return 0;
  const long flag0 = e.m_pByteSet[0] != 0 ? 1 : 0;
  const long index = drawn ? 1 - flag0 : flag0;
  return index < e.m_nStyleCount ? e.m_pStyleSet[index] : 0;
}

// A pattern length in device units, never less than one unit.
long ScaledLength(DWORD length, double ratio) {
  const long scaled = kp::RoundHalfAway(static_cast<double>(length) * ratio);
  return scaled < 1 ? 1 : scaled;
}

// For a piece that began before this buffer, its end is not buffered: it is
// reconstructed as the point `length` away from `from` towards `toward`, and
// w is the decoration vector of that direction. False when there is no such
// point (the two points coincide, or the length is 0).
bool CarriedEnd(const CKpLineStyleEngine& e, const POINT& from, const POINT& toward, long length,
                POINT& out, POINT& w) {
  if (length == 0) return false;
  if (!kp::CalExtandPoint(from, toward, length, out)) return false;
  kp::LineOffset(from, toward, e.m_pLineStyleBase->m_nHVLength, e.m_dRatio, w);
  return true;
}

void Line(CKpLineStyleEngine& e, const POINT& a, const POINT& b) {
  e.MoveTo(a);
  e.LineTo(b);
}

// Two strokes from one apex.
void Fork(CKpLineStyleEngine& e, const POINT& apex, const POINT& a, const POINT& b) {
  Line(e, apex, a);
  Line(e, apex, b);
}

// An open figure through p: from p + side*v - f to p to p + side*v + f.
void Hook(CKpLineStyleEngine& e, const Frame& fr, const POINT& p, int side) {
  e.MoveTo(fr.At(p, side, -1));
  e.LineTo(p);
  e.LineTo(fr.At(p, side, 1));
}

// The bounding square of half-side R around c.
RECT Square(const POINT& c, long R) {
  return RECT{SaturateToLong(Wide{c.x} - R), SaturateToLong(Wide{c.y} - R), SaturateToLong(Wide{c.x} + R),
              SaturateToLong(Wide{c.y} + R)};
}

// Half of the circle of radius R around p, from p + f to p - f (up) or from
// p - f to p + f (down).
void HalfArc(CDC* dc, const Frame& fr, const POINT& p, long R, bool up) {
  const RECT box = Square(p, R);
  const POINT a = fr.At(p, 0, up ? 1 : -1);
  const POINT b = fr.At(p, 0, up ? -1 : 1);
  dc->Arc(box.left, box.top, box.right, box.bottom, a.x, a.y, b.x, b.y);
}

void Circle(CDC* dc, const POINT& c, long R) {
  const RECT box = Square(c, R);
  dc->Ellipse(box.left, box.top, box.right, box.bottom);
}

// Keeps the stock white brush selected for one routine and puts the previous
// brush back afterwards.
class WhiteBrushScope {
 public:
  explicit WhiteBrushScope(CDC* dc) : m_dc(dc), m_old(dc->SelectStockObject(WHITE_BRUSH)) {}
  WhiteBrushScope(const WhiteBrushScope&) = delete;
  WhiteBrushScope& operator=(const WhiteBrushScope&) = delete;
  ~WhiteBrushScope() {
    if (m_old) m_dc->SelectObject(m_old);
  }

 private:
  CDC* m_dc;
  CGdiObject* m_old;
};

}  // namespace

// Ticks of kinds 1 to 8: one line per event, the dash end tested first.
void CKpLineStyleEngine::DrawTicks(long vx, long vy, int kind, bool leadingMove) {
  CKpLineStyleEngine& e = *this;
  const long n = LastIndex(e);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const CKpLineStyleEngine::TickFigure& fig = CKpLineStyleEngine::TickFigureOf(kind);
  const POINT* P = e.m_pPoints;
  // Sets the current position only; some hosts rely on it.
  if (leadingMove) e.MoveTo(fr.At(P[0], 1, 0));
  for (long i = 1; i < n; ++i) {
    if (e.IsDashEnd(i))
      Line(e, fr.At(P[i], fig.endFrom, 0), fr.At(P[i], fig.endTo, 0));
    else if (e.IsDashStart(i))
      Line(e, fr.At(P[i], fig.startFrom, 0), fr.At(P[i], fig.startTo, 0));
  }
}

namespace {

// Slanted strokes over the dashes, to the dash end on the side s (-1 down for
// kind 9, +1 up for kind 10). A dash that began before this buffer is drawn
// at the full first-dash length in the direction of its first piece.
void DrawBevelKind(CKpLineStyleEngine& e, long vx, long vy, int s) {
  const long n = LastIndex(e);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const POINT* P = e.m_pPoints;
  const long carried = ScaledLength(FirstEntryLength(e, true), e.m_dRatio);
  e.MoveTo(P[0]);
  for (long i = 1; i < n; ++i) {
    if (e.IsDashStart(i)) e.MoveTo(P[i]);
    if (!e.IsDashEnd(i)) continue;
    if (e.m_pTypes[i - 1] == PT_MOVETO) {
      e.LineTo(fr.At(P[i], s, 0));
      continue;
    }
    POINT out{}, w{};
    if (CarriedEnd(e, P[0], P[1], carried, out, w)) e.LineTo(Plus(out, w, s));
  }
}

// One dash-end or dash-start figure of the circles (kinds 25 to 27).
using CircleAt = void (*)(CDC*, const Frame&, const POINT&, long R, bool dashEnd);

void CircleAtPoint(CDC* dc, const Frame&, const POINT& p, long R, bool dashEnd) {
  if (dashEnd) Circle(dc, p, R);
}

// Up side at dash ends, down side at dash starts: circles touching the line.
void CircleBeside(CDC* dc, const Frame& fr, const POINT& p, long R, bool dashEnd) {
  Circle(dc, fr.HalfAt(p, dashEnd ? 1 : -1), R);
}

void DrawCircleEvents(CKpLineStyleEngine& e, long n, const Frame& fr, long R, CircleAt figure) {
  for (long i = 1; i < n; ++i) {
    if (e.IsDashEnd(i))
      figure(e.m_pDC, fr, e.m_pPoints[i], R, true);
    else if (e.IsDashStart(i))
      figure(e.m_pDC, fr, e.m_pPoints[i], R, false);
  }
}

// Radius of the circles of kinds 25 and 27: the height halved after scaling.
long HalfScaledHeight(const CKpLineStyleEngine& e) {
  return kp::RoundHalfAway(e.m_pLineStyleBase->m_nHVLength * e.m_dRatio * 0.5);
}

}  // namespace

// --- ticks (kinds 1 to 8) ---

void CKpLineStyleEngine::DrawSegmentsVCenter(long vx, long vy) { DrawTicks(vx, vy, 1, false); }
void CKpLineStyleEngine::DrawSegmentsVUp(long vx, long vy) { DrawTicks(vx, vy, 2, true); }
void CKpLineStyleEngine::DrawSegmentsVDown(long vx, long vy) { DrawTicks(vx, vy, 3, true); }
void CKpLineStyleEngine::DrawSegmentsVUpDown(long vx, long vy) { DrawTicks(vx, vy, 4, true); }
void CKpLineStyleEngine::DrawSegmentsVShortLongUp(long vx, long vy) {
  DrawTicks(vx, vy, 5, false);
}
void CKpLineStyleEngine::DrawSegmentsVShortLongDown(long vx, long vy) {
  DrawTicks(vx, vy, 6, false);
}
void CKpLineStyleEngine::DrawSegmentsVShortLongUpDown(long vx, long vy) {
  DrawTicks(vx, vy, 7, false);
}
void CKpLineStyleEngine::DrawSegmentsVShortLongDownUp(long vx, long vy) {
  DrawTicks(vx, vy, 8, false);
}

// --- slanted strokes and chevrons (kinds 9 to 13) ---

void CKpLineStyleEngine::DrawSegmentsVBevel(long vx, long vy) { DrawBevelKind(*this, vx, vy, -1); }
void CKpLineStyleEngine::DrawSegmentsVBevel2(long vx, long vy) { DrawBevelKind(*this, vx, vy, 1); }

// Every dash gets a stroke to its end on the down side, every gap one to its
// end on the up side. Pieces carried in from before the buffer use the first
// dash length, gaps included; with a first dash of length 0 such a piece has
// no end point and gets no stroke.
void CKpLineStyleEngine::DrawSegmentsVBevelUpDown(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const POINT* P = m_pPoints;
  const DWORD first = FirstEntryLength(*this, true);
  const long carried = first == 0 ? 0 : ScaledLength(first, m_dRatio);
  MoveTo(P[0]);
  for (long i = 1; i < n; ++i) {
    POINT out{}, w{};
    if (IsDashStart(i)) {
      if (m_pTypes[i - 1] == PT_LINETO)
        LineTo(fr.At(P[i], 1, 0));
      else if (CarriedEnd(*this, P[0], P[1], carried, out, w))
        LineTo(Plus(out, w, 1));
      MoveTo(P[i]);
    }
    if (IsDashEnd(i)) {
      if (m_pTypes[i - 1] == PT_MOVETO)
        LineTo(fr.At(P[i], -1, 0));
      else if (CarriedEnd(*this, P[0], P[1], carried, out, w))
        LineTo(Plus(out, w, -1));
      MoveTo(P[i]);
    }
  }
}

// A "<" over every dash: two strokes from the dash start to both sides of the
// dash end.
void CKpLineStyleEngine::DrawSegmentsVTriangle(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const POINT* P = m_pPoints;
  const long carried = ScaledLength(FirstEntryLength(*this, true), m_dRatio);
  MoveTo(P[0]);
  POINT start = P[0];
  for (long i = 1; i < n; ++i) {
    if (IsDashStart(i)) start = P[i];
    if (!IsDashEnd(i)) continue;
    if (m_pTypes[i - 1] == PT_MOVETO) {
      Fork(*this, start, fr.At(P[i], -1, 0), fr.At(P[i], 1, 0));
      continue;
    }
    POINT out{}, w{};
    if (CarriedEnd(*this, P[0], P[1], carried, out, w))
      Fork(*this, start, Plus(out, w, -1), Plus(out, w, 1));
  }
}

// A ">" over every gap: an open chevron from both sides of the gap start to
// the next dash start. A gap that began before the previous point is measured
// back from the dash start by the first gap length.
void CKpLineStyleEngine::DrawSegmentsVTriangle2(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const POINT* P = m_pPoints;
  const long carried = ScaledLength(FirstEntryLength(*this, false), m_dRatio);
  MoveTo(P[0]);
  POINT end = P[0];
  for (long i = 1; i < n; ++i) {
    if (IsDashStart(i)) {
      POINT out{}, w{};
      if (m_pTypes[i - 1] != PT_MOVETO) {
        MoveTo(fr.At(end, -1, 0));
        LineTo(P[i]);
        LineTo(fr.At(end, 1, 0));
      } else if (CarriedEnd(*this, P[i], P[i - 1], carried, out, w)) {
        MoveTo(Plus(out, w, -1));
        LineTo(P[i]);
        LineTo(Plus(out, w, 1));
      }
    }
    if (IsDashEnd(i)) end = P[i];
  }
}

// --- continuous figures (kinds 14, 15) ---

// Runs on from the current position, which the previous segment (or the
// driver, at the polyline start) left there.
void CKpLineStyleEngine::DrawSegmentsVWave(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i) {
    if (IsDashEnd(i))
      LineTo(fr.At(m_pPoints[i], 1, 0));
    else if (IsDashStart(i))
      LineTo(fr.At(m_pPoints[i], -1, 0));
  }
}

// At +v along the dashes, at -v along the gaps. Point 0 counts too: at a
// vertex the line first moves to the level of the piece that continues, so
// it bends with the polyline.
void CKpLineStyleEngine::DrawSegmentsVWall(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 0; i < n; ++i) {
    const BYTE a = m_pTypes[i];
    const BYTE b = m_pTypes[i + 1];
    const POINT& p = m_pPoints[i];
    if (a == PT_LINETO && b == PT_MOVETO) {
      LineTo(fr.At(p, 1, 0));
      LineTo(fr.At(p, -1, 0));
    } else if (a == PT_LINETO && b == PT_LINETO && i == 0) {
      LineTo(fr.At(p, 1, 0));
    } else if (a == PT_MOVETO && b == PT_LINETO) {
      LineTo(fr.At(p, -1, 0));
      LineTo(fr.At(p, 1, 0));
    } else if (a == PT_MOVETO && b == PT_MOVETO && i == 0) {
      LineTo(fr.At(p, -1, 0));
    }
  }
}

// --- figures at dash ends (kinds 16 to 21) ---

// A white square of side 2|v| centred on the line, reaching forward from the
// dash end.
void CKpLineStyleEngine::DrawSegmentsVBox(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  WhiteBrushScope brush(m_pDC);
  for (long i = 1; i < n; ++i) {
    if (!IsDashEnd(i)) continue;
    const POINT& p = m_pPoints[i];
    POINT square[4] = {fr.At(p, -1, 0), fr.At(p, 1, 0), fr.At(p, 1, 2), fr.At(p, -1, 2)};
    Polygon(square, 4);
  }
}

void CKpLineStyleEngine::DrawSegmentsVUpDownCross(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i) {
    if (!IsDashEnd(i)) continue;
    const POINT& p = m_pPoints[i];
    Line(*this, fr.At(p, -1, 0), fr.At(p, 1, 0));
    Line(*this, fr.At(p, 0, -1), fr.At(p, 0, 1));
  }
}

void CKpLineStyleEngine::DrawSegmentsVXCross(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i) {
    if (!IsDashEnd(i)) continue;
    const POINT& p = m_pPoints[i];
    Line(*this, fr.At(p, -1, -1), fr.At(p, 1, 1));
    Line(*this, fr.At(p, -1, 1), fr.At(p, 1, -1));
  }
}

void CKpLineStyleEngine::DrawSegmentsVCrossUp(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i)
    if (IsDashEnd(i)) Hook(*this, fr, m_pPoints[i], 1);
}

void CKpLineStyleEngine::DrawSegmentsVCrossDown(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i)
    if (IsDashEnd(i)) Hook(*this, fr, m_pPoints[i], -1);
}

void CKpLineStyleEngine::DrawSegmentsVCrossUpDown(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  for (long i = 1; i < n; ++i) {
    if (IsDashEnd(i))
      Hook(*this, fr, m_pPoints[i], 1);
    else if (IsDashStart(i))
      Hook(*this, fr, m_pPoints[i], -1);
  }
}

// --- half arcs (kinds 22 to 24), on the device directly ---

namespace {

// The half arcs of one walked segment: at dash ends the arc `atEnds` (+1 up,
// -1 down), at dash starts the arc `atStarts` (0: none there).
void DrawHalfArcs(CKpLineStyleEngine& e, long vx, long vy, int atEnds, int atStarts) {
  const long n = LastIndex(e);
  if (n < 0) return;
  const Frame fr = MakeFrame(vx, vy);
  const long R = kp::RoundHalfAway(e.m_pLineStyleBase->m_nHVLength * e.m_dRatio);
  for (long i = 1; i < n; ++i) {
    if (e.IsDashEnd(i))
      HalfArc(e.m_pDC, fr, e.m_pPoints[i], R, atEnds > 0);
    else if (atStarts != 0 && e.IsDashStart(i))
      HalfArc(e.m_pDC, fr, e.m_pPoints[i], R, atStarts > 0);
  }
}

}  // namespace

void CKpLineStyleEngine::DrawSegmentsVBiArcUp(long vx, long vy) { DrawHalfArcs(*this, vx, vy, 1, 0); }

void CKpLineStyleEngine::DrawSegmentsVBiArcDown(long vx, long vy) { DrawHalfArcs(*this, vx, vy, -1, 0); }

void CKpLineStyleEngine::DrawSegmentsVBiArcUpDown(long vx, long vy) { DrawHalfArcs(*this, vx, vy, 1, -1); }

// --- circles (kinds 25 to 27), on the device directly ---

// Filled with the sub-line's current colour through a brush that lives for
// this one call.
void CKpLineStyleEngine::DrawSegmentsVCircleCenter(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  CBrush fill;
  fill.CreateSolidBrush(m_pLineStyleBase->m_clrCurrent);
  CBrush* old = m_pDC->SelectObject(&fill);
  DrawCircleEvents(*this, n, MakeFrame(vx, vy), HalfScaledHeight(*this), CircleAtPoint);
  if (old) m_pDC->SelectObject(old);
  fill.DeleteObject();
}

// The height is halved as an integer before scaling, so odd heights give a
// smaller circle than kind 25 does.
void CKpLineStyleEngine::DrawSegmentsVCircleUp(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  WhiteBrushScope brush(m_pDC);
  const long R = kp::RoundHalfAway((m_pLineStyleBase->m_nHVLength / 2) * m_dRatio);
  DrawCircleEvents(*this, n, MakeFrame(vx, vy), R, CircleAtPoint);
}

void CKpLineStyleEngine::DrawSegmentsVCircleUpDown(long vx, long vy) {
  const long n = LastIndex(*this);
  if (n < 0) return;
  WhiteBrushScope brush(m_pDC);
  DrawCircleEvents(*this, n, MakeFrame(vx, vy), HalfScaledHeight(*this), CircleBeside);
}
