// Decorations that put a picture at the dash ends of a walked segment: a
// character of a TrueType font (kinds 28..33) or a symbol of the host's
// symbol library (kinds 47, 48), and the symbol decorations of extended
// attributes.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "companions/CKpSymLib.h"
#include "companions/CKpSymbol.h"
#include "companions/CKpSymbolParameter.h"
#include "engine/CKpLineStyleEngine.h"
#include "engine/KpGlyphText.h"
#include "engine/KpGeometry.h"
#include "model/CKpLineStyleObj.h"

namespace {

// Radians to tenths of a degree (1800 / 3.14159265), as everywhere in the engine.
constexpr double kTenthsPerRadian = 572.957795785523;

// Angle words: the low half is an unsigned angle to add, a nonzero high half
// mirrors the x axis. Only the low 32 bits of a wider long count.
long LowAngle(long word) { return static_cast<long>(static_cast<std::uint32_t>(word) & 0xFFFFu); }
bool Mirrored(long word) { return (static_cast<std::uint32_t>(word) >> 16) != 0; }

long RoundedAngle(double x, double y) { return kp::RoundHalfAway(std::atan2(x, y) * kTenthsPerRadian); }

// Escapement of a glyph: the segment's direction measured from v (counter-
// clockwise on a y-down device for a positive height) plus the angle word.
long GlyphEscapement(long vx, long vy, long angleWord) {
  const double x = static_cast<double>(Mirrored(angleWord) ? -vx : vx);
  return LowAngle(angleWord) + RoundedAngle(x, static_cast<double>(vy));
}

// Angle of a segment symbol: the segment's direction as CalcuAngle measures
// it (clockwise on a y-down device) plus the sub-line's angle.
long SymbolAngle(long vx, long vy, long angleWord) {
  return LowAngle(angleWord) + RoundedAngle(-static_cast<double>(vx), static_cast<double>(vy));
}



// The common walk: on the first segment of a sub-line point 0 is skipped and
// the flag consumed; `draw` is called at every dash end of the buffer.
template <class Draw>
void ForEachDashEnd(CKpLineStyleEngine& e, Draw draw) {
  long i = 0;
  if (e.m_nFirstSegment != 0) {
    e.m_nFirstSegment = 0;
    i = 1;
  }
  for (; i < e.m_nLastIndex; ++i)
    if (e.IsDashEnd(i)) draw(e.m_pPoints[i]);
}

void DrawGlyphs(CKpLineStyleEngine& e, long escapement) {
  CKpLineStyleBase* sub = e.m_pLineStyleBase;
  CDC* dc = e.m_pDC;
  if (sub == nullptr || dc == nullptr) return;
  const long height = kp::RoundHalfAway(sub->m_nHVLength * e.m_dRatio);
  const CString face = sub->GetFont();
  CFont font;
  if (!font.CreateFont(static_cast<int>(height), 0, static_cast<int>(escapement), 0, FW_NORMAL, 0,
                       0, 0, DEFAULT_CHARSET, 4 /*TrueType outlines*/, 0, 1 /*draft*/,
                       68 /*variable pitch, decorative family*/, face.c_str()))
    return;
  dc->SetTextColor(sub->m_clrCurrent);
  dc->SetTextAlign(TA_CENTER | TA_BASELINE);
  dc->SetBkMode(TRANSPARENT);
  CFont* previous = dc->SelectObject(&font);
  const CString text = kp::GlyphText(sub->m_nSymbol);
  ForEachDashEnd(e, [&](const POINT& p) { dc->TextOut(p.x, p.y, text); });
  if (previous) dc->SelectObject(previous);
  font.DeleteObject();
}

// A parameter as the symbol library expects it: made with fixed defaults,
// then filled in (the position is set per symbol).
struct SymbolCall {
  CKpSymbolParameter param{CPoint(10, 10), 128, 0, 0, 0, nullptr, 1.0, 0};
  SymbolCall(const CKpLineStyleEngine& e, long id, long size, long angle, COLORREF colour) {
    param.m_nSize = size;
    param.m_nAngle = static_cast<int>(angle);
    param.m_clrColor = colour;
    param.m_dwSymbolID = static_cast<unsigned long>(id);
    param.m_dScale = e.m_dRatio;
    param.m_nFlag = e.m_bClearSawtooth;
  }
  void DrawAt(CKpSymbol& symbol, CDC* dc, const POINT& p) {
    param.m_ptPosition = p;
    symbol.Draw(dc, param, dc->IsPrinting(), 0, 0);
  }
};

// Symbols of the current sub-line at the dash ends, turned by `angle`.
// Nothing is drawn, and the first-segment flag is left alone, when there is
// no symbol library or it lacks the sub-line's symbol.
void DrawSegmentSymbols(CKpLineStyleEngine& e, long angle) {
  CKpLineStyleBase* sub = e.m_pLineStyleBase;
  CDC* dc = e.m_pDC;
  if (sub == nullptr || dc == nullptr || e.m_pSymLib == nullptr) return;
  const long id = sub->m_nSymbol;  // sign-extended, like the size
  SymbolCall call(e, id, sub->m_nHVLength, angle, sub->m_clrCurrent);
  CKpSymbol* symbol = e.m_pSymLib->GetSymbol(static_cast<unsigned long>(id));
  if (symbol == nullptr) return;
  ForEachDashEnd(e, [&](const POINT& p) { call.DrawAt(*symbol, dc, p); });
}

bool Same(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// Middle of a segment with each halved coordinate rounded half away from
// zero; the sum is taken in 64 bits so that far-apart points cannot overflow.
POINT RoundedMiddle(const POINT& a, const POINT& b) {
  return POINT{static_cast<LONG>(kp::RoundHalfAway((std::int64_t{a.x} + b.x) / 2.0)),
               static_cast<LONG>(kp::RoundHalfAway((std::int64_t{a.y} + b.y) / 2.0))};
}

}  // namespace

// --- glyphs ---

void CKpLineStyleEngine::DrawSegmentsVTrueType(long vx, long vy, long angle) {
  DrawGlyphs(*this, GlyphEscapement(vx, vy, angle));
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeHorizon(long vx, long vy) {
  DrawSegmentsVTrueType(vx, vy, 900);
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeHorizonRev(long vx, long vy) {
  DrawSegmentsVTrueType(vx, vy, 2700);
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeVertical(long vx, long vy) {
  DrawSegmentsVTrueType(vx, vy, 0);
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeVerticalRev(long vx, long vy) {
  DrawSegmentsVTrueType(vx, vy, 1800);
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeFreeAngle(long vx, long vy) {
  if (m_pLineStyleBase == nullptr) return;
  DrawSegmentsVTrueType(vx, vy, m_pLineStyleBase->m_nAngle);
}

void CKpLineStyleEngine::DrawSegmentsVTrueTypeFixed(long, long) {
  if (m_pLineStyleBase == nullptr) return;
  DrawGlyphs(*this, m_pLineStyleBase->m_nAngle);
}

// --- segment symbols ---

void CKpLineStyleEngine::DrawSegmentsSymbol(long vx, long vy) {
  if (m_pLineStyleBase == nullptr || (vx == 0 && vy == 0)) return;
  DrawSegmentSymbols(*this, SymbolAngle(vx, vy, m_pLineStyleBase->m_nAngle));
}

void CKpLineStyleEngine::DrawSegmentsSymbolFixed(long vx, long vy) {
  if (m_pLineStyleBase == nullptr || m_pLineStyleBase->m_nHVLength == 0) return;
  if (vx == 0 && vy == 0) return;
  DrawSegmentSymbols(*this, m_pLineStyleBase->m_nAngle);
}

// --- extended-attribute symbols ---

void CKpLineStyleEngine::DrawSymbol(POINT& from, POINT& at, long id, long size, long angle) {
  if (id < KP_EXT_SHAPE_FIRST_SYMBOL || m_pSymLib == nullptr || m_pDC == nullptr) return;
  if (Same(from, at)) return;
  CKpSymbol* symbol = m_pSymLib->GetSymbol(static_cast<unsigned long>(id));
  if (symbol == nullptr) return;
  const COLORREF colour =
      DecorationColor(m_pLineStyleBase ? m_pLineStyleBase->m_clrCurrent : RGB(0, 0, 0));
  SymbolCall call(*this, id, size, kp::CalcuAngle(from, at) + angle, colour);
  call.DrawAt(*symbol, m_pDC, at);
}

void CKpLineStyleEngine::ActDrawSymbol(long position, CKpLineStyleObj* style, POINT* pts,
                                       long count) {
  if (style == nullptr || pts == nullptr || count < 1) return;
  if (style->GetObjExt().GetObjExtToken() == 0) return;
  const tagLineStyleObjExt* rec = style->GetObjExt().GetObjExt(position);
  if (rec == nullptr || rec->nShape < KP_EXT_SHAPE_FIRST_SYMBOL) return;
  const long id = rec->nShape, size = rec->byWidth, angle = rec->nAngle;

  switch (position) {
    case KP_EXT_POS_HEAD:  // turned outward: from the next distinct point to the start
      for (long k = 1; k < count; ++k)
        if (!Same(pts[k], pts[0])) {
          DrawSymbol(pts[k], pts[0], id, size, angle);
          break;
        }
      break;
    case KP_EXT_POS_TAIL:  // turned outward in the drawing direction
      for (long k = count - 2; k >= 0; --k)
        if (!Same(pts[k], pts[count - 1])) {
          DrawSymbol(pts[k], pts[count - 1], id, size, angle);
          break;
        }
      break;
    case KP_EXT_POS_VERTEX:
      for (long k = 0; k + 2 < count; ++k)
        if (!Same(pts[k], pts[k + 1])) DrawSymbol(pts[k], pts[k + 1], id, size, angle);
      break;
    case KP_EXT_POS_SEGMENT_CENTRE:
      for (long k = 0; k + 1 < count; ++k) {
        if (Same(pts[k], pts[k + 1])) continue;
        POINT middle = RoundedMiddle(pts[k], pts[k + 1]);
        DrawSymbol(pts[k], middle, id, size, angle);
      }
      break;
    case KP_EXT_POS_LINE_CENTRE: {
      POINT middle{0, 0};
      const long j = CalMidiumPoint(pts, count, middle, 0);
      if (j >= 0) DrawSymbol(pts[j], middle, id, size, angle);
      break;
    }
    default:
      break;
  }
}
