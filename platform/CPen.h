#pragma once
#include "platform/CGdiObject.h"
#include "platform/KpExport.h"

// A pen: either a simple pen (style, width, colour) or an extended pen with
// the geometric flag, end cap, join and a brush.
class KP_API CPen : public CGdiObject {
 public:
  CPen() = default;
  KpGdiKind GetKind() const override { return KpGdiKind::Pen; }

  // Simple pen. A width of 0 draws one device pixel whatever the mapping.
  BOOL CreatePen(int style, int width, COLORREF color);
  // Extended pen. Fails (and leaves the pen empty) for a pattern brush,
  // which would need a bitmap, a user style without dash entries, a cosmetic
  // pen wider than 1 or with a non-solid brush, or an unknown brush style.
  BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
                 const DWORD* styles = nullptr);

  // The plain logical record; fails (returns 0) for an extended pen, whose
  // record only GetExtLogPen reads. Both return the bytes written.
  int GetLogPen(LOGPEN* out) const;
  int GetExtLogPen(EXTLOGPEN* out) const;

  // The full description used by device contexts.
  struct State {
    DWORD style = PS_SOLID;  // whole style word (type, cap, join, dash)
    int width = 0;
    COLORREF color = 0;
    UINT brushStyle = BS_SOLID;
    int hatch = 0;
    bool extended = false;
    int Dash() const { return static_cast<int>(style & PS_STYLE_MASK); }
    int Cap() const { return static_cast<int>(style & PS_ENDCAP_MASK); }
    int Join() const { return static_cast<int>(style & PS_JOIN_MASK); }
    bool IsGeometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
  };
  const State& GetState() const { return m_state; }
  // The plain record of a pen state, as GetLogPen would give it; false for an extended pen.
  static bool ReadPlainRecord(const State& state, LOGPEN* out);

  void InitStock(int style, COLORREF color);  // used by the stock table only

 private:
  State m_state;
};
