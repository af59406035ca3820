// The drawing operations of a line style: the road from a host's drawing call
// to the engine (thinning, sub-line by sub-line pen setup and driving, the
// extended-attribute passes), the fast paths with their cached pens, and the
// style-wide width and colour overrides. Kept beside the engine so that the
// model files stay free of drawing code.
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CPoint.h"

namespace {

// Polylines longer than this are thinned before drawing.
constexpr long kThinAbove = 256;
// Thinning tolerances in device units: coarse where sideways offsets or
// double lines would multiply the cost of many tiny segments, fine otherwise
// and always when printing.
constexpr double kCoarseTolerance = 3.0;
constexpr double kFineTolerance = 0.2;

constexpr short kFirstDoubleLineKind = 43;
constexpr short kLastDoubleLineKind = 45;

constexpr COLORREF kWhite = 0xFFFFFF;

// Point counts are 32-bit: anything else cannot be handed to the device.
constexpr long kMaxCount = std::numeric_limits<std::int32_t>::max();

bool IsDrawableCount(long n) { return n >= 2 && n <= kMaxCount; }

bool WantsCoarseThinning(const CKpLineStyleBase& sub) {
  return sub.m_nVertOffset > 0 ||
         (sub.m_nHVMode >= kFirstDoubleLineKind && sub.m_nHVMode <= kLastDoubleLineKind);
}

// The points a drawing call draws along: the input, or its thinned copy.
struct DrawList {
  POINT* pts;
  long n;
};

// Thins a long polyline when the engine allows it. `coarse` says whether a
// sub-line under test asks for the coarse tolerance; a printer always gets
// the fine one. The thinned points live in `store`.
DrawList Thin(CKpLineStyleEngine& engine, POINT* pts, long n, bool coarse,
              std::vector<CPoint>& store) {
  if (n <= kThinAbove || !engine.GetCanCompress()) return DrawList{pts, n};
  const bool printing = engine.m_pDC != nullptr && engine.m_pDC->IsPrinting();
  const double tolerance = coarse && !printing ? kCoarseTolerance : kFineTolerance;
  // A thinning that fails, or leaves nothing to draw, draws the input.
  if (!engine.LampHouseSmooth(pts, static_cast<int>(n), tolerance, store) || store.size() < 2)
    return DrawList{pts, n};
  return DrawList{store.data(), static_cast<long>(store.size())};
}

void DrawSubLine(CKpLineStyleEngine& engine, CKpLineStyleBase& sub, const DrawList& list) {
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.ActPolyLine(&sub, list.pts, list.n);
}

short ClampToShort(std::int64_t v) {
  if (v > std::numeric_limits<short>::max()) return std::numeric_limits<short>::max();
  if (v < std::numeric_limits<short>::min()) return std::numeric_limits<short>::min();
  return static_cast<short>(v);
}

// The width a sub-line draws with when the host asks for `width`. Computed
// in 64 bits and held to the 16-bit field, so a large request saturates
// instead of wrapping round to a small or negative width.
short OverriddenWidth(const CKpLineStyleBase& sub, long width) {
  const std::int64_t w = width;
  const std::int64_t var = sub.m_nVarWidth;
  switch (sub.m_nWidthType) {
    case KP_WIDTH_FIXED:
      return sub.m_nVarWidth;
    case KP_WIDTH_ADDITIVE:
      return ClampToShort(w + var);
    case KP_WIDTH_PROPORTIONAL:
      return ClampToShort(w * var / 100);  // truncates toward zero
    default:
      return ClampToShort(w);
  }
}

void OverrideColor(CKpLineStyleBase& sub, long color) {
  if (sub.GetColorLock()) return;
  // A white sub-line (a casing, a gap filler) stays white in any colour.
  sub.m_clrCurrent = sub.m_clrColor == kWhite ? kWhite : static_cast<COLORREF>(color);
}

void OverrideWidth(CKpLineStyleBase& sub, long width) {
  if (sub.GetWidthLock()) return;
  sub.m_nCurWidth = OverriddenWidth(sub, width);
}

// Reads part counts, rejecting those that cannot be a 32-bit point count.
bool PartCount(unsigned long c, long& n) {
  if (c > static_cast<unsigned long>(kMaxCount)) return false;
  n = static_cast<long>(c);
  return true;
}

bool PartCount(int c, long& n) {
  if (c < 0) return false;
  n = c;
  return true;
}

}  // namespace

// --- polylines ---

void CKpLineStyleObj::Polyline(POINT* pts, long n) { Polyline(pts, n, gLineStyleEngine); }

void CKpLineStyleObj::Polyline(POINT* pts, long n, CKpLineStyleEngine& engine) {
  if (pts == nullptr || !IsDrawableCount(n) || engine.m_pDC == nullptr) return;
  bool coarse = false;
  for (const CKpLineStyleBase& sub : m_BaseArray) {
    if (WantsCoarseThinning(sub)) {
      coarse = true;
      break;
    }
  }
  std::vector<CPoint> thinned;
  const DrawList list = Thin(engine, pts, n, coarse, thinned);
  // In list order, so that later sub-lines paint over earlier ones.
  for (CKpLineStyleBase& sub : m_BaseArray) DrawSubLine(engine, sub, list);

  if (m_ObjExt.GetObjExtToken() == 0) return;
  // Decorations sit on the true vertices, so they get the unthinned points,
  // and each pass starts from the host's pen.
  for (long pass = KP_EXT_POS_HEAD; pass < KP_EXT_POS_COUNT; ++pass) {
    engine.CreatePen(nullptr);
    engine.ActDrawExtAtt(pass, this, pts, n);
  }
}

void CKpLineStyleObj::Polyline(long index, POINT* pts, long n) {
  Polyline(index, pts, n, gLineStyleEngine);
}

void CKpLineStyleObj::Polyline(long index, POINT* pts, long n, CKpLineStyleEngine& engine) {
  if (!IsIndex(index) || pts == nullptr || !IsDrawableCount(n) || engine.m_pDC == nullptr) return;
  CKpLineStyleBase& sub = m_BaseArray[static_cast<size_t>(index)];
  std::vector<CPoint> thinned;
  const DrawList list = Thin(engine, pts, n, WantsCoarseThinning(sub), thinned);
  DrawSubLine(engine, sub, list);
}

// --- fast paths ---

void CKpLineStyleObj::CreateFastPen() { CreateFastPen(gLineStyleEngine); }

void CKpLineStyleObj::CreateFastPen(CKpLineStyleEngine& engine) {
  // The engine holds one cache; an older one would otherwise be lost.
  DeleteFastPen(engine);
  const long count = Count();
  CPen** pens = new (std::nothrow) CPen*[static_cast<size_t>(count)];
  if (pens == nullptr) return;
  for (long i = 0; i < count; ++i) {
    CKpLineStyleBase& sub = m_BaseArray[static_cast<size_t>(i)];
    engine.SetLineStyleBase(&sub);
    // The dash, cap and join of the sub-line pass on; its width is taken as
    // it is (no ratio), since the cache outlives any one scale.
    const DWORD style = (sub.m_dwPenStyle & ~(0x00010000u | KP_PEN_USER_MASK)) |
                        static_cast<DWORD>(PS_GEOMETRIC);
    CPen* pen = new (std::nothrow) CPen;
    if (pen != nullptr) pen->CreatePen(static_cast<int>(style), sub.m_nCurWidth, sub.m_clrCurrent);
    pens[i] = pen;
  }
  engine.m_ppFastPens = pens;
  engine.m_pFastPenStyle = this;
  engine.m_nFastPenCount = count;
}

void CKpLineStyleObj::DeleteFastPen() { DeleteFastPen(gLineStyleEngine); }

void CKpLineStyleObj::DeleteFastPen(CKpLineStyleEngine& engine) { engine.FreeFastPens(); }

void CKpLineStyleObj::PolylineFast(POINT* pts, long n) { PolylineFast(pts, n, gLineStyleEngine); }

void CKpLineStyleObj::PolylineFast(POINT* pts, long n, CKpLineStyleEngine& engine) {
  if (pts == nullptr || !IsDrawableCount(n) || engine.m_pDC == nullptr) return;
  CDC* dc = engine.m_pDC;
  const bool cached = engine.m_ppFastPens != nullptr && engine.m_pFastPenStyle == this &&
                      engine.m_nFastPenCount == Count();
  // A cache made for another style, or before sub-lines were added or
  // removed, does not fit: the host's pen draws rather than a wrong slot.
  if (!cached) engine.CreatePen(nullptr);
  for (long i = 0; i < Count(); ++i) {
    CKpLineStyleBase& sub = m_BaseArray[static_cast<size_t>(i)];
    engine.SetLineStyleBase(&sub);
    if (!cached) {
      engine.ActPolyLine(&sub, pts, n);
      continue;
    }
    // An empty slot (or a pen that could not be made) fails to select and
    // leaves the pen in the DC to draw.
    CPen* previous = dc->SelectObject(engine.m_ppFastPens[i]);
    engine.ActPolyLine(&sub, pts, n);
    if (previous != nullptr) dc->SelectObject(previous);
  }
}

void CKpLineStyleObj::CreateFastFastPen() { CreateFastFastPen(gLineStyleEngine); }

void CKpLineStyleObj::CreateFastFastPen(CKpLineStyleEngine& engine) {
  // A style without sub-lines has no first pen to make.
  if (m_BaseArray.empty()) return;
  CKpLineStyleBase& first = m_BaseArray.front();
  engine.SetLineStyleBase(first);
  engine.CreatePen(first);
}

void CKpLineStyleObj::DeleteFastFastPen() { DeleteFastFastPen(gLineStyleEngine); }

// The pen belongs to the engine, which replaces or deletes it in due course.
void CKpLineStyleObj::DeleteFastFastPen(CKpLineStyleEngine&) {}

void CKpLineStyleObj::PolylineFastFast(POINT* pts, long n) {
  PolylineFastFast(pts, n, gLineStyleEngine);
}

void CKpLineStyleObj::PolylineFastFast(POINT* pts, long n, CKpLineStyleEngine& engine) {
  if (pts == nullptr || !IsDrawableCount(n) || engine.m_pDC == nullptr) return;
  engine.m_pDC->Polyline(pts, static_cast<int>(n));
}

// --- multi-part geometry and polygons ---

void CKpLineStyleObj::PolyPolyline(const POINT* pts, const unsigned long* counts, long parts) {
  PolyPolyline(pts, counts, parts, gLineStyleEngine);
}

void CKpLineStyleObj::PolyPolyline(const POINT* pts, const unsigned long* counts, long parts,
                                   CKpLineStyleEngine& engine) {
  if (pts == nullptr || counts == nullptr) return;
  // The drawing interfaces take writable arrays for the hosts' sake, but no
  // drawing stage ever writes the caller's points, so the parts are drawn in place.
  for (long i = 0; i < parts; ++i) {
    long n = 0;
    if (!PartCount(counts[i], n)) return;
    if (n >= 2) Polyline(const_cast<POINT*>(pts), n, engine);
    pts += n;
  }
}

void CKpLineStyleObj::Polygon(POINT* pts, long n) { Polygon(pts, n, gLineStyleEngine); }

void CKpLineStyleObj::Polygon(POINT* pts, long n, CKpLineStyleEngine& engine) {
  if (pts == nullptr || !IsDrawableCount(n) || engine.m_pDC == nullptr) return;
  // Fill first, so that the styled outline lies on top of it.
  engine.ActPolyGon(this, pts, n);
  Polyline(pts, n, engine);
}

void CKpLineStyleObj::PolyPolygon(POINT* pts, int* counts, long parts) {
  PolyPolygon(pts, counts, parts, gLineStyleEngine);
}

void CKpLineStyleObj::PolyPolygon(POINT* pts, int* counts, long parts, CKpLineStyleEngine& engine) {
  if (pts == nullptr || counts == nullptr) return;
  for (long i = 0; i < parts; ++i) {
    long n = 0;
    if (!PartCount(counts[i], n)) return;
    if (n >= 2) Polygon(pts, n, engine);
    pts += n;
  }
}

// --- overrides ---

int CKpLineStyleObj::SetLineStyle(long width, long color) {
  return SetLineStyle(width, color, gLineStyleEngine);
}

int CKpLineStyleObj::SetLineStyle(long width, long color, CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) {
    OverrideColor(sub, color);
    OverrideWidth(sub, width);
  }
  engine.m_bStylePen = 0;
  return 1;
}

int CKpLineStyleObj::SetWidth(long width) { return SetWidth(width, gLineStyleEngine); }

int CKpLineStyleObj::SetWidth(long width, CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) OverrideWidth(sub, width);
  engine.m_bStylePen = 0;
  return 1;
}

int CKpLineStyleObj::SetColor(long color) { return SetColor(color, gLineStyleEngine); }

int CKpLineStyleObj::SetColor(long color, CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) OverrideColor(sub, color);
  engine.m_bStylePen = 0;
  return 1;
}

int CKpLineStyleObj::SetLineStyle() { return SetLineStyle(gLineStyleEngine); }

int CKpLineStyleObj::SetLineStyle(CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) {
    sub.m_clrCurrent = sub.m_clrColor;
    sub.m_nCurWidth = sub.m_nWidth;
  }
  engine.m_bStylePen = 1;
  return 1;
}

int CKpLineStyleObj::SetWidth() { return SetWidth(gLineStyleEngine); }

int CKpLineStyleObj::SetWidth(CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) sub.m_nCurWidth = sub.m_nWidth;
  engine.m_bStylePen = 1;
  return 1;
}

int CKpLineStyleObj::SetColor() { return SetColor(gLineStyleEngine); }

int CKpLineStyleObj::SetColor(CKpLineStyleEngine& engine) {
  for (CKpLineStyleBase& sub : m_BaseArray) sub.m_clrCurrent = sub.m_clrColor;
  engine.m_bStylePen = 1;
  return 1;
}
