#pragma once
// Draws shapes with one line style through the module's engine, the way a
// host does: it selects a pen of the style's colour and width (decorations
// at the ends and vertices take their colour from it), adopts the DC into
// gLineStyleEngine, applies the overrides, draws, and hands the DC back.
//
// Lines go through Polyline / PolyPolyline, polygons through Polygon /
// PolyPolygon, which fill each ring before stroking it. The fill is a light
// tint of the style's colour; while a polygon is drawn the host pen is a
// hairline of that tint, so that the fill's own outline disappears under the
// style instead of showing through its gaps.
#include <optional>
#include <vector>

#include "apps/lsl/LslShapes.h"
#include "companions/CKpSymLib.h"
#include "model/CKpLineStyleObj.h"
#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/CPen.h"

struct LslDrawOptions {
  double ratio = 1.0;
  bool antiAlias = true;
  std::optional<long> width;      // style-wide width override (SetWidth)
  std::optional<COLORREF> color;  // style-wide colour override (SetColor)
  int mapMode = MM_ANISOTROPIC;   // what the engine puts on the DC
};

class CLslStyleDrawer {
 public:
  CLslStyleDrawer(CKpLineStyleObj& style, CKpSymLib* symbols, const LslDrawOptions& options);

  void Draw(CDC& dc, std::vector<LslDeviceShape>& shapes);
  void Draw(CDC& dc, LslDeviceShape& shape);

 private:
  void Begin(CDC& dc, bool polygon);
  void End(CDC& dc);
  void ApplyOverrides();
  void DrawLines(LslDeviceShape& shape);
  void DrawPolygons(LslDeviceShape& shape);
  bool HasOverrides() const { return m_options.width.has_value() || m_options.color.has_value(); }
  COLORREF HostColor() const;
  int HostWidth() const;
  COLORREF FillColor() const;

  CKpLineStyleObj& m_style;
  CKpSymLib* m_symbols;
  LslDrawOptions m_options;
  CPen m_linePen;
  CPen m_polygonPen;
  CBrush m_fill;
  CPen* m_previousPen = nullptr;
  CBrush* m_previousBrush = nullptr;
  int m_previousEngineMode = MM_TEXT;
};
