#pragma once
// The abstract device context every drawing goes through.
//
// CDC keeps the whole drawing state itself: mapping mode with window and
// viewport origins and extents, the selected pen, brush and font (as copies
// of their logical records), text colour, alignment and background mode, the
// clipping rectangle and the current position. Backends only turn finished
// calls into output: they implement the protected Do* hooks, which receive
// logical coordinates and read the state through the accessors.
//
// Every public call can also be traced as one stable line of text (see
// docs/trace-format.md); CRecordingDC collects those lines.
#include <optional>
#include <string>
#include <vector>

#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/CRgn.h"
#include "platform/KpExport.h"

class KP_API CDC {
 public:
  CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC();

  // --- device ---
  virtual BOOL IsPrinting() const { return FALSE; }
  int GetDeviceCaps(int index) const;
  // Resolution in dots per inch (96 for screens and images unless told otherwise).
  void SetResolution(int dpiX, int dpiY);
  // Size of the drawing surface in device pixels.
  virtual SIZE GetDeviceSize() const = 0;

  // --- mapping ---
  int SetMapMode(int mode);
  int GetMapMode() const { return m_nMapMode; }
  CPoint SetWindowOrg(int x, int y);
  CPoint GetWindowOrg() const { return m_ptWindowOrg; }
  SIZE SetWindowExt(int cx, int cy);
  SIZE GetWindowExt() const { return m_szWindowExt; }
  CPoint SetViewportOrg(int x, int y);
  CPoint GetViewportOrg() const { return m_ptViewportOrg; }
  SIZE SetViewportExt(int cx, int cy);
  SIZE GetViewportExt() const { return m_szViewportExt; }
  void LPtoDP(POINT* pts, int n = 1) const;
  void LPtoDP(RECT* r) const;
  void DPtoLP(POINT* pts, int n = 1) const;
  void DPtoLP(RECT* r) const;
  // Exact (unrounded) logical-to-device transform, for backends.
  void LPtoDPf(double lx, double ly, double& dx, double& dy) const;
  // Device units per logical unit along x and y (signed).
  double ScaleX() const;
  double ScaleY() const;

  // --- objects ---
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CGdiObject* SelectObject(CGdiObject* obj);
  CGdiObject* SelectStockObject(int index);
  CPen* GetCurrentPen() const { return m_pPen; }
  CBrush* GetCurrentBrush() const { return m_pBrush; }
  CFont* GetCurrentFont() const { return m_pFont; }
  const CPen::State& GetPenState() const { return m_pen; }
  const CBrush::State& GetBrushState() const { return m_brush; }
  const LOGFONT& GetFontState() const { return m_font; }

  // --- text ---
  COLORREF SetTextColor(COLORREF c);
  COLORREF GetTextColor() const { return m_clrText; }
  COLORREF SetBkColor(COLORREF c);
  COLORREF GetBkColor() const { return m_clrBk; }
  int SetBkMode(int mode);
  int GetBkMode() const { return m_nBkMode; }
  UINT SetTextAlign(UINT align);
  UINT GetTextAlign() const { return m_nTextAlign; }

  // --- clipping (device coordinates, as regions are) ---
  int SelectClipRgn(CRgn* rgn);
  int IntersectClipRect(int left, int top, int right, int bottom);  // logical
  const std::optional<CRect>& GetClipRect() const { return m_clip; }
  // The part of the logical plane drawing can reach: the device's rectangle
  // cut to the clip region, converted to logical units and rounded outward.
  // SIMPLEREGION with the box, or NULLREGION (and an empty box) when nothing
  // can be drawn. A device without edges gives the whole 32-bit plane unless
  // a clip region bounds it. Null `box`: 0.
  int GetClipBox(RECT* box) const;

  // --- drawing (logical coordinates) ---
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const { return m_ptCurrent; }
  BOOL Polyline(const POINT* pts, int n);
  BOOL Polygon(const POINT* pts, int n);
  BOOL Ellipse(int l, int t, int r, int b);
  BOOL Ellipse(const RECT* r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
  // Counter-clockwise as seen on the device, from the radial through
  // (x3, y3) to the radial through (x4, y4).
  BOOL Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
  BOOL Rectangle(int l, int t, int r, int b);
  BOOL Rectangle(const RECT* r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
  int FillRect(const RECT* r, CBrush* brush);
  void FillSolidRect(const RECT* r, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  BOOL TextOut(int x, int y, const CString& text);

  // --- anti-aliased path (logical coordinates, explicit pen) ---
  BOOL AALine(POINT from, POINT to, const AAPEN& pen);
  BOOL AAPolyline(const POINT* pts, int n, const AAPEN& pen);

  // Makes every pending drawing reach the device.
  virtual void Flush() {}

 protected:
  // Tracing: backends that want the call lines override these.
  virtual bool IsTracing() const { return false; }
  virtual void Trace(const std::string& line) { (void)line; }

  // Device hooks. Called only with valid arguments (n >= 2 for lines,
  // n >= 2 for polygons).
  virtual void DoLine(POINT from, POINT to) = 0;
  virtual void DoPolyline(const POINT* pts, int n) = 0;
  virtual void DoPolygon(const POINT* pts, int n) = 0;
  virtual void DoEllipse(const RECT& box) = 0;
  virtual void DoArc(const RECT& box, POINT start, POINT end) = 0;
  virtual void DoRectangle(const RECT& box) = 0;
  virtual void DoFillRect(const RECT& box, const CBrush::State& brush) = 0;
  virtual void DoTextOut(int x, int y, const CString& text) = 0;
  virtual void DoAAPolyline(const POINT* pts, int n, const AAPEN& pen) = 0;
  // State changes a backend may need to react to (flushing batched lines).
  virtual void OnStateChanged() {}
  // The device's drawable rectangle in device coordinates (the ones clip
  // regions use), or none when the device has no edges. The whole surface
  // by default.
  virtual std::optional<CRect> GetDeviceBox() const;

 private:
  void FixIsotropic();
  void TraceObjectSelected(KpGdiKind kind);
  void TracePoints(const char* name, const POINT* pts, int n);

  int m_nDpiX = 96;
  int m_nDpiY = 96;
  int m_nMapMode = MM_TEXT;
  CPoint m_ptWindowOrg;
  CPoint m_ptViewportOrg;
  SIZE m_szWindowExt{1, 1};
  SIZE m_szViewportExt{1, 1};

  CPen* m_pPen = nullptr;
  CBrush* m_pBrush = nullptr;
  CFont* m_pFont = nullptr;
  CPen::State m_pen;
  CBrush::State m_brush;
  LOGFONT m_font{};

  COLORREF m_clrText = RGB(0, 0, 0);
  COLORREF m_clrBk = RGB(255, 255, 255);
  int m_nBkMode = OPAQUE;
  UINT m_nTextAlign = TA_LEFT | TA_TOP;
  std::optional<CRect> m_clip;
  CPoint m_ptCurrent;
};

// The pen/brush/font description used in trace lines (shared with tests).
std::string KpDescribePen(const CPen::State& pen);
std::string KpDescribeBrush(const CBrush::State& brush);
std::string KpDescribeColor(COLORREF c);
