#pragma once
// The rendering engine. The module has one instance, gLineStyleEngine, which
// adopts a host's device context, makes sub-lines current, selects pens for
// them and draws through four primitives (MoveTo, LineTo, Polyline, Polygon)
// that choose between the plain device path and the anti-aliased one.
//
// The class is large, so its definition is split by topic:
//   CKpLineStyleEngine.cpp          state, device layer, pen setup, geometry
//   CKpLineStyleEngineWalker.cpp    pattern walker and decoration dispatch
//   CKpLineStyleEngineSegments.cpp  segment decorations (ticks ... circles)
//   CKpLineStyleEngineGlyphs.cpp    font glyph and symbol decorations
//   CKpLineStyleEngineArrows.cpp    arrowheads, dashes with arrows
//   CKpLineStyleEngineNodes.cpp     node shapes and the extended-attribute pass
//   CKpLineStyleEngineParallel.cpp  thinning, parallel and tapered lines
//   CKpLineStyleEngineElectric.cpp  electric lines and the end repair
//   CKpLineStyleEngineDriver.cpp    the sub-line driver and polygon fill
//   CKpLineStyleEngineBounds.cpp    what the walker may pass over unseen
//
// Single-threaded: the engine is shared and unsynchronised; use it from the
// thread that owns the device context, one drawing at a time.
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/CKpDashCycle.h"
#include "engine/CPoint2D.h"
#include "model/CKpLineStyleBase.h"
#include "platform/CDC.h"
#include "platform/CPoint.h"
#include "platform/KpExport.h"

class CKpSymLib;

class CKpLineStyleObj;

// Initial capacity of the pattern walker's point and type buffers. A segment
// cut into more pieces grows both (geometrically, kept for later segments) up
// to KP_WALKER_MAX_POINTS, so no dash is dropped for want of room.
constexpr long KP_WALKER_BUFFER_SIZE = 18992;
constexpr long KP_WALKER_MAX_POINTS = 1L << 24;
// Boundaries one drawing of a sub-line may buffer: this many, and so many
// more per vertex of its polyline. The walker passes over what the device
// cannot show without buffering it; the budget bounds the rest, where a
// device has no edges or what it shows is cut into more pieces than anyone
// could see. A walk outside a drawing is bounded per segment by
// KP_WALKER_MAX_POINTS. What either leaves out is counted (GetDroppedPoints).
constexpr long long KP_WALKER_CALL_BUDGET = 1LL << 16;
constexpr long long KP_WALKER_VERTEX_BUDGET = 16;

class KP_API CKpLineStyleEngine {
 public:
  CKpLineStyleEngine();
  CKpLineStyleEngine(const CKpLineStyleEngine&) = delete;
  CKpLineStyleEngine& operator=(const CKpLineStyleEngine&) = delete;
  virtual ~CKpLineStyleEngine();

  // --- device context ---
  // Adopts the DC: puts the engine's mapping mode on it and remembers the
  // previous mode and the selected pen. Null: returns null, changes nothing.
  CDC* KeepDC(CDC* pDC);
  // Hands the DC back: reselects the host's pen and mapping mode, resets the
  // ratio to 1.0 and forgets the current sub-line. False when no DC was kept.
  bool RestoreDC();
  int SetMapMode(int mode);
  int GetMapMode() const { return m_nMapMode; }
  // A ratio that is not a positive finite number would make every length
  // meaningless; it is ignored and the previous ratio stays.
  void SetRatio(double ratio) {
    if (std::isfinite(ratio) && ratio > 0) m_dRatio = ratio;
  }
  double GetRatio() const { return m_dRatio; }
  void SetCanCompress(int on) { m_bCanCompress = on; }
  int GetCanCompress() const { return m_bCanCompress; }
  void SetClearSawtooth(int on) { m_bClearSawtooth = on; }
  int GetClearSawtooth() const { return m_bClearSawtooth; }

  // --- pattern walker state ---
  void Flush();

  // --- the four primitives ---
  void MoveTo(POINT p);
  void MoveTo(int x, int y) { MoveTo(POINT{x, y}); }
  void LineTo(POINT p);
  void LineTo(int x, int y) { LineTo(POINT{x, y}); }
  void Polyline(POINT* pts, int n);
  void Polygon(POINT* pts, int n);

  // --- sub-line and pen setup ---
  int SetLineStyleBase(CKpLineStyleBase* sub);
  int SetLineStyleBase(CKpLineStyleBase& sub) { return SetLineStyleBase(&sub); }
  int SetLineStyleBase(DWORD* lengths, BYTE* flags, long count);
  int CreatePen(CKpLineStyleBase* sub);
  int CreatePen(CKpLineStyleBase& sub);
  // True when the sub-line can be drawn with the host's own pen.
  bool IsPlainPen(const CKpLineStyleBase& sub, bool excludeWhite) const;

  // --- geometry (kp:: functions with the engine's ratio where it applies) ---
  void LineOffset(POINT* A, POINT* B, long d, POINT* out) const;
  void LineOffset(POINT* A, POINT* B, long d) const;
  void LineOffsetH(POINT* A, POINT* B, long d) const;
  void LineOffsetH(POINT* A, POINT* B, long d, POINT* out) const;
  void LineOffsetHV(POINT* A, POINT* B, long dv, long dh, POINT* outV, POINT* outH) const;
  void PolyLineOffset(POINT* A, POINT* B, long d) const;
  long CalcuAngle(POINT* A, POINT* B) const;
  long CalcuAngle(POINT* A, POINT* B, long flags) const;
  double CalcuLength(POINT* pts, long n) const;
  long CalMidiumPoint(POINT* pts, long n, POINT& out, long shift) const;
  int CalExtandPoint(POINT A, POINT B, long d, POINT& out) const;
  double GetLinearEquationConstant(double k, POINT P) const;
  CPoint GetPointWithVDist(POINT& A, POINT& B, long d) const;
  CPoint2D GetXCoorToConstPoint(double k, POINT P, double radius, double direction) const;

  // --- pattern walker and dispatch ---
  // Cuts one segment at the pattern's entry boundaries into the buffer:
  // integer lengths (LineDisjunction) or exact ones, carrying the previous
  // boundary across the vertex (LineDisjunctionEx).
  void LineDisjunction(POINT from, POINT to);
  void LineDisjunctionEx(POINT from, POINT to);
  void DrawSegments();
  void DrawSegmentsRepair();
  // Draws the decoration of `kind` for the walked segment; v is the
  // decoration vector (perpendicular scaled to the sub-line's height).
  void DrawLine(short kind, POINT* v);

  // --- segment decorations (kinds 1..27) ---
  void DrawSegmentsVCenter(long vx, long vy);
  void DrawSegmentsVUp(long vx, long vy);
  void DrawSegmentsVDown(long vx, long vy);
  void DrawSegmentsVUpDown(long vx, long vy);
  void DrawSegmentsVShortLongUp(long vx, long vy);
  void DrawSegmentsVShortLongDown(long vx, long vy);
  void DrawSegmentsVShortLongUpDown(long vx, long vy);
  void DrawSegmentsVShortLongDownUp(long vx, long vy);
  void DrawSegmentsVBevel(long vx, long vy);
  void DrawSegmentsVBevel2(long vx, long vy);
  void DrawSegmentsVBevelUpDown(long vx, long vy);
  void DrawSegmentsVTriangle(long vx, long vy);
  void DrawSegmentsVTriangle2(long vx, long vy);
  void DrawSegmentsVWave(long vx, long vy);
  void DrawSegmentsVWall(long vx, long vy);
  void DrawSegmentsVBox(long vx, long vy);
  void DrawSegmentsVUpDownCross(long vx, long vy);
  void DrawSegmentsVXCross(long vx, long vy);
  void DrawSegmentsVCrossUp(long vx, long vy);
  void DrawSegmentsVCrossDown(long vx, long vy);
  void DrawSegmentsVCrossUpDown(long vx, long vy);
  void DrawSegmentsVBiArcUp(long vx, long vy);
  void DrawSegmentsVBiArcDown(long vx, long vy);
  void DrawSegmentsVBiArcUpDown(long vx, long vy);
  void DrawSegmentsVCircleCenter(long vx, long vy);
  void DrawSegmentsVCircleUp(long vx, long vy);
  void DrawSegmentsVCircleUpDown(long vx, long vy);

  // --- glyph and symbol decorations (kinds 28..33, 47, 48) ---
  void DrawSegmentsVTrueType(long vx, long vy, long angle);
  void DrawSegmentsVTrueTypeHorizon(long vx, long vy);
  void DrawSegmentsVTrueTypeHorizonRev(long vx, long vy);
  void DrawSegmentsVTrueTypeVertical(long vx, long vy);
  void DrawSegmentsVTrueTypeVerticalRev(long vx, long vy);
  void DrawSegmentsVTrueTypeFreeAngle(long vx, long vy);
  void DrawSegmentsVTrueTypeFixed(long vx, long vy);
  void DrawSegmentsSymbol(long vx, long vy);
  void DrawSegmentsSymbolFixed(long vx, long vy);
  void ActDrawSymbol(long position, CKpLineStyleObj* style, POINT* pts, long count);
  void DrawSymbol(POINT& from, POINT& at, long id, long size, long angle);

  // --- arrows (kinds 34..38 and arrow attributes) ---
  void DrawArrow(POINT& from, POINT& to, long length, long width, long shape);
  int DrawHeadArrow(POINT tip, POINT toward, long length, long width);
  void DrawDashWithTailArrow(long vx, long vy);
  void DrawDashWithHeaderArrow(long vx, long vy);
  void DrawDashWithDoubleArrow(long vx, long vy);
  void DrawDashWithMidiumArrow(long vx, long vy);
  void DrawDashWithMidiumReverseArrow(long vx, long vy);
  void ActDrawArrow(long position, CKpLineStyleObj* style, POINT* pts, long count);
  void ActDrawArrow(CKpLineStyleObj* style, POINT* pts, long count);
  void ActDrawArrow(CKpLineStyleObj& style, POINT* pts, long count);
  POINT GetMidiumPoint(POINT& P, POINT& Q, long a);

  // --- node shapes and the extended-attribute pass ---
  void ActDrawExtAtt(long position, CKpLineStyleObj* style, POINT* pts, long count);
  void ActDrawEllipse(long position, CKpLineStyleObj* style, POINT* pts, long count);
  void ActDrawEllipse(CKpLineStyleObj* style, POINT* pts, long count);
  void ActDrawEllipse(CKpLineStyleObj& style, POINT* pts, long count);
  void DrawNodeEllipse(POINT& centre, long width, long height, long kind);
  void DrawEllipse(POINT& a, POINT& b, long p1, long p2, long p3);

  // A tick figure: at a dash end a line from p + endFrom*v to p + endTo*v,
  // at a dash start from p + startFrom*v to p + startTo*v (kinds 1..8).
  struct TickFigure {
    int endFrom, endTo, startFrom, startTo;
  };
  static const TickFigure& TickFigureOf(int kind);  // kinds 1..8
  // Draws the ticks of kind 1..8 at the inner points 1..m_nLastIndex-1, the
  // dash end tested before the dash start; the exported routines of kinds
  // 2..4 first move to P0+v (leadingMove), the in-place dispatch does not.
  void DrawTicks(long vx, long vy, int kind, bool leadingMove);

  // Frees the fast-pen cache, whichever style made it (also done when the
  // engine is destroyed, so a cache a host forgot does not leak).
  void FreeFastPens();

  // --- thinning, parallel lines, tapered bands ---
  // Output arrays are filled by the call (sized once) and owned by the caller.
  bool LampHouseSmooth(POINT* pts, int n, double tolerance, std::vector<CPoint>& out);
  bool ParallelLineEx(POINT* pts, int n, long offset, std::vector<CPoint>& out);
  bool ParallelLine(POINT* pts, int n, long offset, std::vector<CPoint>& outPositive,
                    std::vector<CPoint>& outNegative);
  int MultiLine(POINT* pts, int n, long startHalfWidth, long endHalfWidth,
                std::vector<CPoint>& outPositive, std::vector<CPoint>& outNegative);
  void DrawDoubleParellel(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawLeftParellel(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawRightParellel(CKpLineStyleBase* sub, POINT* pts, long n);
  // The double line of kind 43 (centred), 44 (upper) or 45 (lower), as the
  // driver and the three exported operations draw it.
  void DrawParallelKind(CKpLineStyleBase* sub, POINT* pts, long n, int kind);
  void DrawGradientLine(CKpLineStyleBase* sub, POINT* pts, long n);

  // --- electric lines and the end repair ---
  void DrawElectric(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawElectricEx(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawElectricSpecial(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawElectricEx2(CKpLineStyleBase* sub, POINT* pts, long n);
  // The filled circles of kind 42 with radius R (device units).
  void DrawElectricCircles(CKpLineStyleBase* sub, POINT* pts, long n, long long R);
  CPoint GetPointWithDist(POINT& P, POINT& Q, long d);
  void MendDiscardInfo(CKpLineStyleBase* sub, POINT* pts, long n);

  // --- the sub-line driver and the polygon fill ---
  // Draws one sub-line along a polyline after SetLineStyleBase and CreatePen.
  void ActPolyLine(CKpLineStyleBase* sub, POINT* pts, long n);
  // The older variant kept for hosts (per-segment offsets, integer walker).
  void ActPolyLine(CKpLineStyleBase& sub, POINT* pts, long n);
  // Fills a polygon for a style (the style is not consulted).
  void ActPolyGon(CKpLineStyleObj* style, POINT* pts, long n);
  // Kept for hosts; draws nothing.
  void ActPolyLineDirect(POINT* pts, long n, long flags);
  // The end tick of tick kinds 1..3 (vertical repair) and the kinds that
  // draw themselves (repeat mode 1), as the driver draws them.
  void DrawEndTick(CKpLineStyleBase* sub, POINT* pts, long n);
  void DrawSpecialKind(CKpLineStyleBase* sub, POINT* pts, long n);

  // --- decoration previews (engine/KpSamples.cpp); they change the rectangle ---
  void DrawDecorateSample(CRect& rect, long length, long width, long position, long kind);
  void DrawArrowSample(CRect& rect, long length, long width, long position, long kind);
  void DrawGeoSample(CRect& rect, long width, long height, long ignored, long kind);

  // Colour of a decoration: the colour of the pen selected in the DC when
  // its plain logical record can be read, else `fallback`; black when the
  // DC has no pen (or there is no DC).
  COLORREF DecorationColor(COLORREF fallback) const;
  // True when point i of the walked buffer is a dash end / a dash start
  // (i in 0..m_nLastIndex-1: compares the types of points i and i+1).
  bool IsDashEnd(long i) const { return m_pTypes[i] == PT_LINETO && m_pTypes[i + 1] == PT_MOVETO; }
  bool IsDashStart(long i) const { return m_pTypes[i] == PT_MOVETO && m_pTypes[i + 1] == PT_LINETO; }

  // --- fields (public: hosts read them; the symbol library is set by the host) ---
  long m_nStyleCount;
  DWORD* m_pStyleSet;
  BYTE* m_pByteSet;
  CDC* m_pDC;
  CPen** m_ppFastPens;
  int m_nMapMode;
  int m_nOldMapMode;
  CPen* m_pOldPen;
  CPen m_Pen;
  POINT* m_pPoints;
  BYTE* m_pTypes;
  long m_nLastIndex;
  long m_nStyleIndex;
  std::uintptr_t m_nGdiplusToken;
  CKpLineStyleBase* m_pLineStyleBase;
  BOOL m_bStylePen;
  CKpSymLib* m_pSymLib;
  POINT m_ptLast;
  POINT m_ptBeforeLast;
  double m_dRemain;
  int m_nFirstSegment;
  double m_dRatio;
  BOOL m_bCanCompress;
  BOOL m_bClearSawtooth;
  POINT m_ptCurrent;
  // The style and the number of its sub-lines the fast-pen cache was made
  // for: the cache has exactly m_nFastPenCount slots, and a style draws
  // with it only while both still match.
  const CKpLineStyleObj* m_pFastPenStyle = nullptr;
  long m_nFastPenCount = 0;

  long GetBufferSize() const { return m_nBufferSize; }
  // Boundaries the walker could not buffer: beyond the budget of a drawing
  // (KP_WALKER_CALL_BUDGET and KP_WALKER_VERTEX_BUDGET) or KP_WALKER_MAX_POINTS
  // in one segment (0 in any sensible drawing). Counted over the engine's life.
  long long GetDroppedPoints() const { return m_nDroppedPoints; }
  // Boundaries the walker passed over without buffering because neither
  // they nor any figure at them could reach the device's clip box. Counted
  // over the engine's life.
  long long GetSkippedPoints() const { return m_nSkippedPoints; }

 private:
  // How far the walker may go without buffering, for one drawing of a
  // sub-line (CKpLineStyleEngineBounds.cpp).
  struct WalkBounds {
    bool scoped = false;  // a drawing is under way: its budget spans its segments
    bool active = false;  // skip what lies outside the box
    bool empty = false;   // the device shows nothing at all
    double left = 0, top = 0, right = 0, bottom = 0;  // clip box, logical units
    double reach = 0;  // how far a figure strays from the point it is drawn at
    long long budget = KP_WALKER_MAX_POINTS;  // boundaries this drawing may still buffer
  };
  // The part of a segment of walker length `length` from `from` towards
  // `to` (extended beyond both ends) whose figures could be seen, as walker
  // positions. False when no part of it is worth passing over.
  struct VisibleSpan {
    double from, to;  // both -infinity when nothing can be seen
  };
  // One drawing of `sub` along `n` points on the kept DC, for as long as it
  // lives: reads the clip box, works out how far the sub-line's figures
  // reach and sets the budget; the bounds it replaced come back when it ends.
  class WalkScope {
   public:
    WalkScope(CKpLineStyleEngine& engine, const CKpLineStyleBase* sub, long n);
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;
    ~WalkScope() { m_engine.m_walkBounds = m_previous; }

   private:
    CKpLineStyleEngine& m_engine;
    WalkBounds m_previous;
  };
  WalkBounds BoundsFor(const CKpLineStyleBase* sub, long n) const;
  double DecorationReach(const CKpLineStyleBase& sub) const;
  double SymbolReach(const CKpLineStyleBase& sub) const;
  bool PlanSkip(POINT from, POINT to, double length, VisibleSpan& span) const;
  struct SegmentWalk;  // one segment's walk (CKpLineStyleEngineWalker.cpp)

  int AllocateBuffer(long n);
  // Makes room for buffer index `index`; false only when the walker's
  // ceiling is reached or memory runs out.
  bool EnsureBuffer(long index);
  void AppendPoint(POINT p, BYTE type);
  void PlayPoint(long i);
  BYTE EntryType(long entry) const { return m_cycle.IsDrawn(entry) ? PT_LINETO : PT_MOVETO; }
  // Brings the dash cycle up to date with the current pattern and sanitises
  // the walker's position in it; false when there is no pattern to walk.
  bool PrepareWalk();
  // Ends the entry that ran on into this segment (m_dRemain < 0): buffers
  // its end and moves `entry` past it. Returns its length within the
  // segment, 0 when none ran on.
  double EndRunOnEntry(POINT from, double dx, double dy, double L, long& entry);
  // When no entry after the one that ran on has length, ends the segment in
  // `entry` and returns true.
  bool EndsAfterRunOn(POINT to, long entry, double carried);
  // Anti-aliased drawing applies when it is on, the DC is not a printer and
  // the current sub-line (if any) is solid.
  bool UseAntiAliasedLine() const;
  bool UseAntiAliasedPolygon() const;
  AAPEN SubLinePen() const;
  void MakeExtendedPen(const CKpLineStyleBase& sub, int width);

  std::vector<POINT> m_PointStore;
  std::vector<BYTE> m_TypeStore;
  long m_nBufferSize;
  long long m_nDroppedPoints = 0;
  long long m_nSkippedPoints = 0;
  CKpDashCycle m_cycle;
  WalkBounds m_walkBounds;
};

// The module-wide engine.
extern KP_API CKpLineStyleEngine gLineStyleEngine;
