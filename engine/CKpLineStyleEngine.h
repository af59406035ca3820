#pragma once
// The rendering engine. The module has one instance, gLineStyleEngine, which
// adopts a host's device context, makes sub-lines current, selects pens for
// them and draws through four primitives (MoveTo, LineTo, Polyline, Polygon)
// that choose between the plain device path and the anti-aliased one.
//
// Single-threaded: the engine is shared and unsynchronised; use it from the
// thread that owns the device context, one drawing at a time.
#include <cstdint>
#include <vector>

#include "engine/CPoint2D.h"
#include "model/CKpLineStyleBase.h"
#include "platform/CDC.h"
#include "platform/CPoint.h"

class CKpSymLib;

// Capacity of the pattern walker's point and type buffers.
constexpr long KP_WALKER_BUFFER_SIZE = 18992;

class CKpLineStyleEngine {
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
  void SetRatio(double ratio) { m_dRatio = ratio; }
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

  long GetBufferSize() const { return m_nBufferSize; }

 private:
  int AllocateBuffer(long n);
  // Anti-aliased drawing applies when it is on, the DC is not a printer and
  // the current sub-line (if any) is solid.
  bool UseAntiAliasedLine() const;
  bool UseAntiAliasedPolygon() const;
  AAPEN SubLinePen() const;
  void MakeExtendedPen(const CKpLineStyleBase& sub, int width);

  std::vector<POINT> m_PointStore;
  std::vector<BYTE> m_TypeStore;
  long m_nBufferSize;
};

// The module-wide engine.
extern CKpLineStyleEngine gLineStyleEngine;
