// Previews of line styles, single sub-lines and decorations, as lists and
// dialogs show them: a rectangle of a device context is clipped to, cleared
// and crossed by one horizontal line drawn through the module's engine,
// between KeepDC and RestoreDC so that the host gets its pen and mapping
// mode back and the ratio returns to 1.0.
//
// Rectangles arrive in device units. The style and sub-line previews convert
// a copy to logical units before placing the line, so they work under any
// mapping mode the engine puts on the DC; the decoration previews draw in the
// rectangle's own coordinates and change the caller's rectangle.
//
// The device context keeps a copy of a selected region's rectangle, so a
// region object can be deleted while its clip stays in force; the previews
// rely on that and leave their clip behind (all but the single sub-line
// preview of a style, which removes it).
#include <cstdint>
#include <cstdio>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleLib.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/CRgn.h"
#include "platform/KpSaturate.h"

namespace {

constexpr COLORREF kPreviewBackground = RGB(255, 255, 255);
constexpr COLORREF kArrowBackground = RGB(205, 205, 205);  // 0xCDCDCD
constexpr COLORREF kPreviewPenColor = RGB(0, 0, 0);

// Where each preview starts and ends its line inside the rectangle.
constexpr long kStyleLeftMargin = 160;  // room for the ID text
constexpr long kStyleRightMargin = 40;
constexpr long kSubLineMargin = 30;
constexpr long kTestMargin = 10;
constexpr long kBaseMargin = 20;
// Decoration previews keep this much of the rectangle free on every side.
constexpr long kDecorationInset = 2;

constexpr long kFirstArrowKind = 1;
constexpr long kLastArrowKind = 7;
constexpr long kFirstGeoKind = 8;
constexpr long kLastGeoKind = 11;

// A coordinate moved by d; rectangles near the edge of the 32-bit plane
// saturate rather than wrap.
LONG Shift(LONG v, std::int64_t d) { return kp::SaturateToLong(std::int64_t{v} + d); }

// top + (bottom - top) / 2 with C's halving toward zero.
LONG HalfWay(LONG top, LONG bottom) {
  return kp::SaturateToLong(std::int64_t{top} + (std::int64_t{bottom} - top) / 2);
}

// (a + b) / 2 with C's halving toward zero.
LONG Middle(LONG a, LONG b) { return static_cast<LONG>((std::int64_t{a} + b) / 2); }

void Shrink(RECT& r, long by) {
  r.left = Shift(r.left, by);
  r.top = Shift(r.top, by);
  r.right = Shift(r.right, -by);
  r.bottom = Shift(r.bottom, -by);
}

// The device rectangle in the DC's logical units (its two corners converted).
CRect LogicalCopy(const CDC& dc, const RECT& device, bool normalise) {
  CRect r(device);
  dc.DPtoLP(&r);
  if (normalise) r.NormalizeRect();
  return r;
}

// A horizontal line through the middle of r, `left` in from the left edge
// and `right` in from the right one.
void MiddleLine(const CRect& r, long left, long right, POINT (&pts)[2]) {
  const LONG mid = HalfWay(r.top, r.bottom);
  pts[0] = POINT{Shift(r.left, left), mid};
  pts[1] = POINT{Shift(r.right, -right), mid};
}

// The black one-unit pen every preview but the sub-line one draws with.
void MakePreviewPen(CPen& pen) { pen.CreatePen(PS_SOLID, 1, kPreviewPenColor); }

// Puts the host's pen back in place of `made`. Should the host's pen no
// longer be selectable (deleted meanwhile), the stock black pen goes in
// instead: the DC must not be left holding a pen that dies with this call.
void PutPenBack(CDC& dc, CPen* previous, const CPen& made) {
  if (previous != nullptr && dc.SelectObject(previous) != nullptr) return;
  if (dc.GetCurrentPen() == &made) dc.SelectStockObject(BLACK_PEN);
}

// KeepDC remembered the preview's own pen as the one to restore, and RestoreDC
// has done so; the engine must not go on pointing at it once it is gone, or
// a stray RestoreDC without a KeepDC would select a dead object.
void ForgetPen(CKpLineStyleEngine& engine, const CPen& made) {
  if (engine.m_pOldPen == &made) engine.m_pOldPen = nullptr;
}

CString IdText(long id) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%06ld", id);
  return buf;
}

// The frame of the previews that draw with their own pen: a clip region made
// from a rectangle and the black one-unit pen, selected in that order. Close
// undoes them in the order every such preview requires.
class PreviewFrame {
 public:
  PreviewFrame(CDC& dc, const RECT& clip) : m_dc(dc) {
    m_region.CreateRectRgnIndirect(&clip);
    m_dc.SelectClipRgn(&m_region);
    MakePreviewPen(m_pen);
    m_previous = m_dc.SelectObject(&m_pen);
  }
  // Deletes the region object (its clip stays selected), switches
  // anti-aliasing off when the preview had switched it on, hands the DC
  // back and puts the host's pen back.
  void Close(CKpLineStyleEngine& engine, bool antiAliased) {
    m_region.DeleteObject();
    if (antiAliased) engine.SetClearSawtooth(0);
    engine.RestoreDC();
    ForgetPen(engine, m_pen);
    PutPenBack(m_dc, m_previous, m_pen);
  }

 private:
  CDC& m_dc;
  CRgn m_region;
  CPen m_pen;
  CPen* m_previous = nullptr;
};

}  // namespace

// --- line-style previews ---

void CKpLineStyleObj::DrawSample(CDC* dc, RECT& rect, CRect& clip) {
  if (dc == nullptr) return;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  // Narrowed in place: the caller gets back the part of the cell painted.
  clip.IntersectRect(clip, rect);
  PreviewFrame frame(*dc, clip);

  engine.KeepDC(dc);
  engine.SetClearSawtooth(1);
  const CRect r = LogicalCopy(*dc, rect, true);
  dc->FillSolidRect(&r, kPreviewBackground);
  POINT pts[2];
  MiddleLine(r, kStyleLeftMargin, kStyleRightMargin, pts);
  SetLineStyle(engine);
  Polyline(pts, 2, engine);

  // The ID is placed in device units whatever the engine's mapping mode.
  const int mapMode = dc->SetMapMode(MM_TEXT);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  dc->SetBkMode(TRANSPARENT);
  dc->TextOut(Shift(clip.left, 1), clip.top, IdText(m_nID));
  dc->SetMapMode(mapMode);

  frame.Close(engine, true);
}

void CKpLineStyleObj::DrawSample(long index, CDC* dc, RECT& rect, CRect& clip) {
  if (dc == nullptr) return;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  CRect visible;
  visible.IntersectRect(rect, clip);
  PreviewFrame frame(*dc, visible);

  engine.KeepDC(dc);
  engine.SetClearSawtooth(1);
  const CRect r = LogicalCopy(*dc, rect, false);
  dc->FillSolidRect(&r, kPreviewBackground);
  dc->SetBkMode(TRANSPARENT);
  POINT pts[2];
  MiddleLine(r, kSubLineMargin, kSubLineMargin, pts);
  SetLineStyle(engine);
  Polyline(index, pts, 2, engine);

  frame.Close(engine, true);
  // Sub-line previews come several to a list; removing the clip keeps the
  // next row from being clipped to this one.
  dc->SelectClipRgn(nullptr);
}

void CKpLineStyleObj::DrawTestSample(CDC* dc, RECT& rect) {
  if (dc == nullptr) return;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  PreviewFrame frame(*dc, rect);

  // The test preview shows the style as the host's settings leave it: the
  // current widths and colours and the engine's anti-aliasing switch as they are.
  engine.KeepDC(dc);
  const CRect r = LogicalCopy(*dc, rect, true);
  dc->FillSolidRect(&r, kPreviewBackground);
  dc->SetBkMode(TRANSPARENT);
  POINT pts[2];
  MiddleLine(r, kTestMargin, kTestMargin, pts);
  Polyline(pts, 2, engine);

  frame.Close(engine, false);
}

void CKpLineStyleBase::DrawSample(CDC* dc, RECT& rect) {
  if (dc == nullptr) return;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  CRgn region;
  region.CreateRectRgnIndirect(&rect);
  dc->SelectClipRgn(&region);

  engine.KeepDC(dc);
  engine.SetClearSawtooth(1);
  const CRect r = LogicalCopy(*dc, rect, true);
  dc->FillSolidRect(&r, kPreviewBackground);
  POINT pts[2];
  MiddleLine(r, kBaseMargin, kBaseMargin, pts);
  // A sub-line on its own has no style to restore its widths and colours,
  // so it takes its own here; the pen is whatever CreatePen chooses.
  engine.SetLineStyleBase(this);
  SetStyle();
  engine.CreatePen(this);
  engine.ActPolyLine(this, pts, 2);

  region.DeleteObject();
  engine.SetClearSawtooth(0);
  engine.RestoreDC();
}

void CKpLineStyleLib::DrawSample(long index, CDC* dc, RECT& rect, CRect& clip) {
  if (index < 0 || index >= Count()) return;
  GetStyleObj(index).DrawSample(dc, rect, clip);
}

// --- decoration previews ---

void CKpLineStyleObj::DrawDecorateSample(CDC* dc, CRect& rect, long length, long width,
                                         long position, long kind) {
  if (dc == nullptr) return;
  CKpLineStyleEngine& engine = gLineStyleEngine;
  PreviewFrame frame(*dc, rect);

  engine.KeepDC(dc);
  // In place: the host reads back the rectangle the decoration was drawn in.
  dc->DPtoLP(&rect);
  engine.DrawDecorateSample(rect, length, width, position, kind);

  frame.Close(engine, false);
}

void CKpLineStyleEngine::DrawDecorateSample(CRect& rect, long length, long width, long position,
                                            long kind) {
  if (m_pDC == nullptr) return;
  CPen pen;
  MakePreviewPen(pen);
  CPen* previousPen = m_pDC->SelectObject(&pen);
  if (kind >= kFirstArrowKind && kind <= kLastArrowKind)
    DrawArrowSample(rect, length, width, position, kind);
  else if (kind >= kFirstGeoKind && kind <= kLastGeoKind)
    DrawGeoSample(rect, length, width, position, kind - (kFirstGeoKind - 1));
  PutPenBack(*m_pDC, previousPen, pen);
  pen.DeleteObject();
}

void CKpLineStyleEngine::DrawArrowSample(CRect& rect, long length, long width, long position,
                                         long kind) {
  if (m_pDC == nullptr) return;
  CBrush grey;
  grey.CreateSolidBrush(kArrowBackground);
  m_pDC->FillRect(&rect, &grey);
  grey.DeleteObject();

  Shrink(rect, kDecorationInset);
  const LONG cy = Middle(rect.top, rect.bottom);
  POINT L{rect.left, cy};
  POINT R{rect.right, cy};

  // Kind 1 is the bare line; kinds 2..7 carry arrow shapes 1..6.
  if (kind > kFirstArrowKind && kind <= kLastArrowKind) {
    const long shape = kind - 1;
    switch (position) {
      case 1:
        DrawArrow(R, L, length, width, shape);
        break;
      case 2:
      case 4:
        DrawArrow(L, R, length, width, shape);
        break;
      case 3:
        DrawArrow(L, R, length, width, shape);
        DrawArrow(R, L, length, width, shape);
        break;
      case 5: {
        // Tip length/4 beyond the middle, so that the head sits centred on it.
        POINT M = GetMidiumPoint(L, R, length / 2);
        M.y = cy;
        DrawArrow(L, M, length, width, shape);
        break;
      }
      default:
        break;
    }
  }
  MoveTo(L);
  LineTo(R);
}

void CKpLineStyleEngine::DrawGeoSample(CRect& rect, long width, long height, long /*ignored*/,
                                       long kind) {
  if (m_pDC == nullptr) return;
  Shrink(rect, kDecorationInset);
  const POINT Z{Middle(rect.left, rect.right), Middle(rect.top, rect.bottom)};
  const RECT box{Shift(Z.x, width / 2), Shift(Z.y, height / 2), Shift(Z.x, -(width / 2)),
                 Shift(Z.y, -(height / 2))};
  // The stock brush stays selected: stock objects outlive every DC.
  switch (kind) {
    case 1:
      m_pDC->SelectStockObject(NULL_BRUSH);
      m_pDC->Ellipse(&box);
      break;
    case 2:
      m_pDC->SelectStockObject(NULL_BRUSH);
      m_pDC->Rectangle(&box);
      break;
    case 3:
      m_pDC->SelectStockObject(BLACK_BRUSH);
      m_pDC->Ellipse(&box);
      break;
    case 4:
      m_pDC->SelectStockObject(BLACK_BRUSH);
      m_pDC->Rectangle(&box);
      break;
    default:
      break;
  }
}
