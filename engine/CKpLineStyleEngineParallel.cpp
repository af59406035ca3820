// Thinning, parallel double lines and tapered bands: the engine's side of
// the offset geometry in KpParallelGeometry, with the drawing of the double
// lines (kinds 43..45) and the gradient line (kind 46).
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "engine/KpParallelGeometry.h"
#include "platform/CBrush.h"
#include "platform/CPen.h"

namespace {

int CountOf(const std::vector<POINT>& line) {
  return static_cast<int>(std::min<size_t>(line.size(), INT_MAX));
}

std::vector<POINT> ToPoints(const std::vector<CPoint>& line) { return std::vector<POINT>(line.begin(), line.end()); }

// The line left after an along-line start offset: pts[s..n-1] with the moved
// start point in front. It is a copy, so the caller's points stay as they are
// (a host may draw the same array again).
std::vector<POINT> LineAfterStart(const POINT* pts, long n, bool hasOffset, double distance, double ratio) {
  kp::LineStart start{0, pts[0]};
  if (hasOffset) start = kp::WalkStartOffset(pts, n, distance, ratio);
  std::vector<POINT> line(pts + start.index, pts + n);
  line[0] = start.point;
  return line;
}

// One line of a double line: the line itself at offset 0, otherwise its
// parallel, which is empty when it cannot be made.
std::vector<POINT> OffsetCopy(CKpLineStyleEngine& engine, std::vector<POINT>& line, long offset) {
  if (offset == 0) return line;
  std::vector<CPoint> parallel;
  engine.ParallelLineEx(line.data(), CountOf(line), offset, parallel);
  return ToPoints(parallel);
}

// Draws one line of a double line: as one polyline without a pattern,
// otherwise walked segment by segment, each from its own start point.
void DrawDoubleLineStroke(CKpLineStyleEngine& engine, const CKpLineStyleBase& sub, std::vector<POINT>& line) {
  if (line.size() < 2) return;
  if (sub.GetUserStyle() == 0) {
    engine.Polyline(line.data(), CountOf(line));
    return;
  }
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    engine.LineDisjunctionEx(line[i], line[i + 1]);
    engine.MoveTo(line[i]);
    engine.DrawSegments();
  }
}

// Side A in order, then side B backwards: the outline of the band.
std::vector<POINT> BandOutline(const std::vector<CPoint>& sideA, const std::vector<CPoint>& sideB) {
  std::vector<POINT> outline;
  outline.reserve(sideA.size() + sideB.size());
  outline.insert(outline.end(), sideA.begin(), sideA.end());
  outline.insert(outline.end(), sideB.rbegin(), sideB.rend());
  return outline;
}

// Fills and outlines the band in one colour with a pen and brush made for
// the call, then gives the device its own back.
void FillBand(CKpLineStyleEngine& engine, std::vector<POINT>& outline, COLORREF color) {
  CDC* dc = engine.m_pDC;
  if (dc == nullptr) return;
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, color);
  CBrush brush(color);
  CPen* oldPen = dc->SelectObject(&pen);
  CBrush* oldBrush = dc->SelectObject(&brush);
  engine.Polygon(outline.data(), CountOf(outline));
  if (oldPen) dc->SelectObject(oldPen);
  if (oldBrush) dc->SelectObject(oldBrush);
  pen.DeleteObject();
  brush.DeleteObject();
}

}  // namespace

// --- geometry ---

bool CKpLineStyleEngine::LampHouseSmooth(POINT* pts, int n, double tolerance, std::vector<CPoint>& out) {
  return kp::LampHouseSmooth(pts, n, tolerance, out);
}

bool CKpLineStyleEngine::ParallelLineEx(POINT* pts, int n, long offset, std::vector<CPoint>& out) {
  return kp::ParallelLineEx(pts, n, offset, m_dRatio, out);
}

bool CKpLineStyleEngine::ParallelLine(POINT* pts, int n, long offset, std::vector<CPoint>& outPositive,
                                      std::vector<CPoint>& outNegative) {
  return kp::ParallelLine(pts, n, offset, m_dRatio, outPositive, outNegative);
}

int CKpLineStyleEngine::MultiLine(POINT* pts, int n, long startHalfWidth, long endHalfWidth,
                                  std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative) {
  return kp::MultiLine(pts, n, startHalfWidth, endHalfWidth, m_dRatio, outPositive, outNegative);
}

// --- double lines ---

void CKpLineStyleEngine::DrawParallelKind(CKpLineStyleBase* sub, POINT* pts, long n, int kind) {
  kp::DoubleLineOffsets offsets{0, 0};
  if (sub == nullptr || pts == nullptr || n < 2 ||
      !kp::DoubleLineOffsetsOf(kind, sub->m_nHVLength, sub->m_nVertOffset, offsets))
    return;
  // The start offset of a double line is walked in style units, unscaled.
  const short along = sub->m_nHorizOffset;
  std::vector<POINT> line = LineAfterStart(pts, n, along != 0, along, m_dRatio);

  std::vector<POINT> first, second;
  if (offsets.Symmetric()) {
    std::vector<CPoint> positive, negative;
    ParallelLine(line.data(), CountOf(line), std::labs(offsets.first), positive, negative);
    first = ToPoints(offsets.first > 0 ? positive : negative);
    second = ToPoints(offsets.first > 0 ? negative : positive);
  } else {
    first = OffsetCopy(*this, line, offsets.first);
    second = OffsetCopy(*this, line, offsets.second);
  }
  // Each line starts the pattern afresh.
  const WalkScope bounded(*this, sub, n);
  Flush();
  DrawDoubleLineStroke(*this, *sub, first);
  Flush();
  DrawDoubleLineStroke(*this, *sub, second);
  Flush();
}

void CKpLineStyleEngine::DrawDoubleParellel(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr) return;
  SetLineStyleBase(sub);
  DrawParallelKind(sub, pts, n, 43);
}

void CKpLineStyleEngine::DrawLeftParellel(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr) return;
  SetLineStyleBase(sub);
  DrawParallelKind(sub, pts, n, 44);
}

void CKpLineStyleEngine::DrawRightParellel(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr) return;
  SetLineStyleBase(sub);
  DrawParallelKind(sub, pts, n, 45);
}

// --- gradient line ---

void CKpLineStyleEngine::DrawGradientLine(CKpLineStyleBase* sub, POINT* pts, long n) {
  if (sub == nullptr || pts == nullptr || n < 2) return;
  const short along = sub->m_nHorizOffset;
  std::vector<POINT> band = LineAfterStart(pts, n, along != 0, along * m_dRatio, m_dRatio);
  if (sub->m_nVertOffset != 0) band = OffsetCopy(*this, band, sub->m_nVertOffset);

  SetLineStyleBase(sub);
  Flush();

  const kp::BandHalfWidths half = kp::BandHalfWidthsOf(sub->m_nHVLength, sub->m_nCurWidth);
  std::vector<CPoint> sideA, sideB;
  MultiLine(band.data(), CountOf(band), half.start, half.end, sideA, sideB);
  std::vector<POINT> outline = BandOutline(sideA, sideB);
  FillBand(*this, outline, sub->m_clrCurrent);
}
