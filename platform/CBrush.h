#pragma once
#include "platform/CGdiObject.h"
#include "platform/KpExport.h"

// A brush: solid, hatched (the six hatch styles) or null.
class KP_API CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  KpGdiKind GetKind() const override { return KpGdiKind::Brush; }

  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateHatchBrush(int hatch, COLORREF color);
  // Only solid, hatched and null brushes can be made; a pattern needs a bitmap.
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  int GetLogBrush(LOGBRUSH* out) const;

  struct State {
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
  };
  const State& GetState() const { return m_state; }

  void InitStock(UINT style, COLORREF color);  // used by the stock table only

 private:
  State m_state;
};
