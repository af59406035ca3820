#include "platform/CBrush.h"

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  LOGBRUSH lb{BS_SOLID, color, 0};
  return CreateBrushIndirect(&lb);
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return FALSE;
  LOGBRUSH lb{BS_HATCHED, color, static_cast<std::uintptr_t>(hatch)};
  return CreateBrushIndirect(&lb);
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
  if (m_bValid || IsStock() || brush == nullptr) return FALSE;
  if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_HATCHED && brush->lbStyle != BS_NULL)
    return FALSE;
  if (brush->lbStyle == BS_HATCHED && brush->lbHatch > static_cast<std::uintptr_t>(HS_DIAGCROSS))
    return FALSE;
  m_state.style = brush->lbStyle;
  m_state.color = brush->lbColor;
  m_state.hatch = brush->lbStyle == BS_HATCHED ? static_cast<int>(brush->lbHatch) : 0;
  m_bValid = true;
  return TRUE;
}

int CBrush::GetLogBrush(LOGBRUSH* out) const {
  if (!m_bValid || out == nullptr) return 0;
  *out = LOGBRUSH{m_state.style, m_state.color, static_cast<std::uintptr_t>(m_state.hatch)};
  return static_cast<int>(sizeof(LOGBRUSH));
}

void CBrush::InitStock(UINT style, COLORREF color) {
  m_state = State{style, color, 0};
  m_bValid = true;
  MarkStock();
}
