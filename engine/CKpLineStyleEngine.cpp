#include "engine/CKpLineStyleEngine.h"

#include <new>

#include "engine/KpGeometry.h"

namespace {

// A sub-line's pen word is plain when it says solid, round caps and round
// joins, with at most the "has a pattern" nibble set.
bool IsPlainPenWord(DWORD word) {
  const DWORD nibble = (word & KP_PEN_USER_MASK) >> 28;
  return (word & ~KP_PEN_USER_MASK) == 0 && nibble <= 1;
}

// Extended pen style of a sub-line: its dash, cap and join pass on; the
// geometric bit is forced and the pattern nibble dropped.
DWORD ExtendedPenStyle(DWORD word) {
  return (word & ~(0x00010000u | KP_PEN_USER_MASK)) | static_cast<DWORD>(PS_GEOMETRIC);
}

LOGBRUSH SubLineBrush(const CKpLineStyleBase& sub) {
  LOGBRUSH lb{BS_SOLID, sub.m_clrCurrent, 0};
  if (sub.m_nHatch > 7) {
    lb.lbStyle = BS_PATTERN;  // no pattern bitmap exists: the pen cannot be made
  } else if (sub.m_nHatch != 0) {
    // Kinds 1..7 are hatches 0..6; negative kinds give an invalid hatch, so
    // the pen fails to create and the previously selected pen draws.
    lb.lbStyle = BS_HATCHED;
    lb.lbHatch = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(sub.m_nHatch) - 1);
  }
  return lb;
}

}  // namespace

CKpLineStyleEngine gLineStyleEngine;

CKpLineStyleEngine::CKpLineStyleEngine()
    : m_nStyleCount(0),
      m_pStyleSet(nullptr),
      m_pByteSet(nullptr),
      m_pDC(nullptr),
      m_ppFastPens(nullptr),
      m_nMapMode(MM_ISOTROPIC),
      m_nOldMapMode(MM_ISOTROPIC),
      m_pOldPen(nullptr),
      m_pPoints(nullptr),
      m_pTypes(nullptr),
      m_nLastIndex(0),
      m_nStyleIndex(0),
      m_nGdiplusToken(1),  // the anti-aliased path needs no start-up here
      m_pLineStyleBase(nullptr),
      m_bStylePen(0),
      m_pSymLib(nullptr),
      m_ptLast{0, 0},
      m_ptBeforeLast{0, 0},
      m_dRemain(0.0),
      m_nFirstSegment(0),
      m_dRatio(1.0),
      m_bCanCompress(1),
      m_bClearSawtooth(0),
      m_ptCurrent{0, 0},
      m_nBufferSize(0) {
  AllocateBuffer(KP_WALKER_BUFFER_SIZE);
}

CKpLineStyleEngine::~CKpLineStyleEngine() { FreeFastPens(); }

void CKpLineStyleEngine::FreeFastPens() {
  if (m_ppFastPens != nullptr) {
    // As many slots as the cache was made with, whatever its style holds now.
    for (long i = 0; i < m_nFastPenCount; ++i) {
      CPen* pen = m_ppFastPens[i];
      if (pen == nullptr) continue;
      pen->DeleteObject();
      delete pen;
    }
    delete[] m_ppFastPens;
  }
  m_ppFastPens = nullptr;
  m_pFastPenStyle = nullptr;
  m_nFastPenCount = 0;
}

int CKpLineStyleEngine::AllocateBuffer(long n) {
  m_PointStore.clear();
  m_TypeStore.clear();
  m_pPoints = nullptr;
  m_pTypes = nullptr;
  m_nBufferSize = 0;
  if (n <= 0) return 0;
  try {
    m_PointStore.assign(static_cast<size_t>(n), POINT{0, 0});
    m_TypeStore.assign(static_cast<size_t>(n), 0);
  } catch (const std::bad_alloc&) {
    m_PointStore.clear();
    m_TypeStore.clear();
    return 0;
  }
  m_pPoints = m_PointStore.data();
  m_pTypes = m_TypeStore.data();
  m_nBufferSize = n;
  return 1;
}

// --- device context ---

CDC* CKpLineStyleEngine::KeepDC(CDC* pDC) {
  if (pDC == nullptr) return nullptr;
  m_nOldMapMode = pDC->SetMapMode(m_nMapMode);
  m_pOldPen = pDC->GetCurrentPen();
  m_pDC = pDC;
  return pDC;
}

bool CKpLineStyleEngine::RestoreDC() {
  if (m_pDC == nullptr) return false;
  if (m_pOldPen) m_pDC->SelectObject(m_pOldPen);
  m_pDC->SetMapMode(m_nOldMapMode);
  m_dRatio = 1.0;
  m_bStylePen = 0;
  m_pLineStyleBase = nullptr;
  return true;
}

int CKpLineStyleEngine::SetMapMode(int mode) {
  const int old = m_nMapMode;
  m_nMapMode = mode;
  return old;
}

void CKpLineStyleEngine::Flush() {
  m_nFirstSegment = 1;
  m_dRemain = 0.0;
  m_nLastIndex = 0;
  m_nStyleIndex = 0;
}

// --- primitives ---

bool CKpLineStyleEngine::UseAntiAliasedPolygon() const {
  return m_bClearSawtooth && m_pDC && !m_pDC->IsPrinting();
}

bool CKpLineStyleEngine::UseAntiAliasedLine() const {
  if (!UseAntiAliasedPolygon()) return false;
  return m_pLineStyleBase == nullptr || m_pLineStyleBase->GetBase() == 0;
}

AAPEN CKpLineStyleEngine::SubLinePen() const {
  const CKpLineStyleBase& s = *m_pLineStyleBase;
  // The device caps round/square/flat (0/1/2) and joins round/bevel/mitre
  // (0/1/2) run the other way round in the anti-aliased numbering.
  return AAPEN{static_cast<float>(kp::RoundHalfAway(s.m_nCurWidth * m_dRatio)), s.m_clrCurrent,
               2 - static_cast<int>(s.GetCap()), 2 - static_cast<int>(s.GetJoin())};
}

void CKpLineStyleEngine::MoveTo(POINT p) {
  m_ptCurrent = p;
  if (m_pDC) m_pDC->MoveTo(p);
}

void CKpLineStyleEngine::LineTo(POINT p) {
  if (m_pDC) {
    // The flag first: the plain path is the common one and runs per dash.
    if (m_bClearSawtooth && UseAntiAliasedLine()) {
      const AAPEN pen = m_pLineStyleBase ? SubLinePen()
                                         : AAPEN{0.0f, RGB(0, 0, 0), AA_CAP_ROUND, AA_JOIN_ROUND};
      m_pDC->AALine(m_ptCurrent, p, pen);
    } else {
      m_pDC->LineTo(p);
    }
  }
  m_ptCurrent = p;
}

void CKpLineStyleEngine::Polyline(POINT* pts, int n) {
  if (m_pDC == nullptr || pts == nullptr || n < 2) return;
  bool drawn = false;
  if (UseAntiAliasedLine()) {
    if (m_pLineStyleBase) {
      m_pDC->AAPolyline(pts, n, SubLinePen());
      drawn = true;
    } else {
      // Without a sub-line the host's pen decides: a non-solid one stays on
      // the plain path, a solid one lends its width and colour. A pen whose
      // plain record cannot be read counts as a black hairline.
      AAPEN pen{0.0f, RGB(0, 0, 0), AA_CAP_ROUND, AA_JOIN_ROUND};
      LOGPEN lp{};
      const bool readable = m_pDC->GetCurrentPen() && CPen::ReadPlainRecord(m_pDC->GetPenState(), &lp);
      if (!readable || (lp.lopnStyle & PS_STYLE_MASK) == PS_SOLID) {
        if (readable) {
          pen.width = static_cast<float>(lp.lopnWidth.x);
          pen.color = lp.lopnColor;
        }
        m_pDC->AAPolyline(pts, n, pen);
        drawn = true;
      }
    }
  }
  if (!drawn) m_pDC->Polyline(pts, n);
  m_ptCurrent = pts[n - 1];
}

void CKpLineStyleEngine::Polygon(POINT* pts, int n) {
  if (m_pDC == nullptr || pts == nullptr || n < 2) return;
  if (!UseAntiAliasedPolygon()) {
    m_pDC->Polygon(pts, n);
    return;
  }
  // Fill through the device with no outline, then outline anti-aliased.
  CPen* previous = m_pDC->SelectObject(static_cast<CPen*>(CGdiObject::GetStockObject(NULL_PEN)));
  m_pDC->Polygon(pts, n);
  if (previous) m_pDC->SelectObject(previous);
  // The outline takes the host pen's plain record; one that cannot be read
  // or has an implausible width gives way to the engine's own pen.
  LOGPEN lp{0, POINT{-1, 0}, 0};
  if (previous) CPen::ReadPlainRecord(m_pDC->GetPenState(), &lp);
  // A host that selected a null pen asked for no outline; the anti-aliased
  // path must not turn it into a hairline.
  if ((lp.lopnStyle & PS_STYLE_MASK) == PS_NULL && lp.lopnWidth.x >= 0) return;
  if (lp.lopnWidth.x < 0 || lp.lopnWidth.x > 10000) {
    LOGPEN own{0, POINT{0, 0}, 0};
    EXTLOGPEN ext{};
    if (m_Pen.GetLogPen(&own) == 0 && m_Pen.GetExtLogPen(&ext) != 0)
      own = LOGPEN{ext.elpPenStyle, POINT{static_cast<LONG>(ext.elpWidth), 0}, ext.elpColor};
    lp = own;
  }
  std::vector<POINT> closed(pts, pts + n);
  closed.push_back(pts[0]);
  m_pDC->AAPolyline(closed.data(), n + 1,
                    AAPEN{static_cast<float>(lp.lopnWidth.x), lp.lopnColor, AA_CAP_FLAT, AA_JOIN_MITER});
}

COLORREF CKpLineStyleEngine::DecorationColor(COLORREF fallback) const {
  if (m_pDC == nullptr || m_pDC->GetCurrentPen() == nullptr) return RGB(0, 0, 0);
  LOGPEN lp{};
  return CPen::ReadPlainRecord(m_pDC->GetPenState(), &lp) ? lp.lopnColor : fallback;
}

// --- sub-line and pen setup ---

int CKpLineStyleEngine::SetLineStyleBase(CKpLineStyleBase* sub) {
  m_pLineStyleBase = sub;
  m_pStyleSet = sub ? sub->GetStyleSet() : nullptr;
  m_pByteSet = sub ? sub->GetByteSet() : nullptr;
  m_nStyleCount = sub ? sub->Count() : 0;
  return 1;
}

int CKpLineStyleEngine::SetLineStyleBase(DWORD* lengths, BYTE* flags, long count) {
  m_pStyleSet = lengths;
  m_pByteSet = flags;
  m_nStyleCount = count;
  return 1;
}

bool CKpLineStyleEngine::IsPlainPen(const CKpLineStyleBase& s, bool excludeWhite) const {
  if (m_bStylePen || s.GetWidthLock() || s.GetColorLock()) return false;
  if (s.m_nHatch != 0 || s.m_nWidthType != KP_WIDTH_STYLE) return false;
  if (!IsPlainPenWord(s.m_dwPenStyle)) return false;
  // A white plain sub-line would vanish in the host's pen colour: it gets its own.
  if (excludeWhite && s.m_clrCurrent == RGB(255, 255, 255)) return false;
  return true;
}

void CKpLineStyleEngine::MakeExtendedPen(const CKpLineStyleBase& sub, int width) {
  const LOGBRUSH lb = SubLineBrush(sub);
  m_Pen.CreatePen(static_cast<int>(ExtendedPenStyle(sub.m_dwPenStyle)), width, &lb);
}

int CKpLineStyleEngine::CreatePen(CKpLineStyleBase* sub) {
  if (m_pOldPen && m_pDC) m_pDC->SelectObject(m_pOldPen);
  if (sub == nullptr) return 1;
  if (IsPlainPen(*sub, true)) return 1;
  const int width = static_cast<int>(kp::RoundHalfAway(sub->m_nCurWidth * m_dRatio));
  m_Pen.DeleteObject();
  if (sub->m_nHatch == 0 && IsPlainPenWord(sub->m_dwPenStyle))
    m_Pen.CreatePen(PS_SOLID, width, sub->m_clrCurrent);
  else
    MakeExtendedPen(*sub, width);
  // An empty pen fails to select, leaving the host's pen to draw.
  if (m_pDC) m_pDC->SelectObject(&m_Pen);
  return 1;
}

int CKpLineStyleEngine::CreatePen(CKpLineStyleBase& sub) {
  if (IsPlainPen(sub, false)) return 1;
  if (m_pOldPen && m_pDC) m_pDC->SelectObject(m_pOldPen);
  m_Pen.DeleteObject();
  int width = sub.m_nCurWidth;
  if (sub.GetWidthLock()) width = static_cast<int>(kp::RoundHalfAway(width * m_dRatio));
  MakeExtendedPen(sub, width);
  if (m_pDC) m_pDC->SelectObject(&m_Pen);
  return 1;
}

// --- geometry ---

void CKpLineStyleEngine::LineOffset(POINT* A, POINT* B, long d, POINT* out) const {
  if (A && B && out) kp::LineOffset(*A, *B, d, m_dRatio, *out);
}
void CKpLineStyleEngine::LineOffset(POINT* A, POINT* B, long d) const {
  if (A && B) kp::LineOffset(*A, *B, d, m_dRatio);
}
void CKpLineStyleEngine::LineOffsetH(POINT* A, POINT* B, long d) const {
  if (A && B) kp::LineOffsetH(*A, *B, d, m_dRatio);
}
void CKpLineStyleEngine::LineOffsetH(POINT* A, POINT* B, long d, POINT* out) const {
  if (A && B && out) kp::LineOffsetH(*A, *B, d, m_dRatio, *out);
}
void CKpLineStyleEngine::LineOffsetHV(POINT* A, POINT* B, long dv, long dh, POINT* outV,
                                      POINT* outH) const {
  if (A && B && outV && outH) kp::LineOffsetHV(*A, *B, dv, dh, m_dRatio, *outV, *outH);
}
void CKpLineStyleEngine::PolyLineOffset(POINT* A, POINT* B, long d) const {
  if (A && B) kp::PolyLineOffset(*A, *B, d);
}
long CKpLineStyleEngine::CalcuAngle(POINT* A, POINT* B) const {
  return (A && B) ? kp::CalcuAngle(*A, *B) : 0;
}
long CKpLineStyleEngine::CalcuAngle(POINT* A, POINT* B, long flags) const {
  return (A && B) ? kp::CalcuAngle(*A, *B, flags) : 0;
}
double CKpLineStyleEngine::CalcuLength(POINT* pts, long n) const { return kp::CalcuLength(pts, n); }
long CKpLineStyleEngine::CalMidiumPoint(POINT* pts, long n, POINT& out, long shift) const {
  return kp::CalMidiumPoint(pts, n, out, shift);
}
int CKpLineStyleEngine::CalExtandPoint(POINT A, POINT B, long d, POINT& out) const {
  return kp::CalExtandPoint(A, B, d, out);
}
double CKpLineStyleEngine::GetLinearEquationConstant(double k, POINT P) const {
  return kp::GetLinearEquationConstant(k, P);
}
CPoint CKpLineStyleEngine::GetPointWithVDist(POINT& A, POINT& B, long d) const {
  return kp::GetPointWithVDist(A, B, d);
}
CPoint2D CKpLineStyleEngine::GetXCoorToConstPoint(double k, POINT P, double radius,
                                                  double direction) const {
  return kp::GetXCoorToConstPoint(k, P, radius, direction);
}
