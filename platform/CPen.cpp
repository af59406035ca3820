#include "platform/CPen.h"

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  if (m_bValid || IsStock()) return FALSE;  // as with the platform: delete first
  const int dash = style & PS_STYLE_MASK;
  if (dash > PS_INSIDEFRAME) return FALSE;
  m_state = State{};
  m_state.style = static_cast<DWORD>(style);
  m_state.width = width < 0 ? 0 : width;
  m_state.color = color;
  m_bValid = true;
  return TRUE;
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount,
                     const DWORD* styles) {
  if (m_bValid || IsStock() || brush == nullptr) return FALSE;
  const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  const int dash = style & PS_STYLE_MASK;
  if (brush->lbStyle == BS_PATTERN) return FALSE;  // no bitmap can be supplied
  if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_HATCHED && brush->lbStyle != BS_NULL)
    return FALSE;
  if (brush->lbStyle == BS_HATCHED && brush->lbHatch > static_cast<std::uintptr_t>(HS_DIAGCROSS))
    return FALSE;
  if (dash == PS_USERSTYLE && (styleCount <= 0 || styles == nullptr)) return FALSE;
  if (dash != PS_USERSTYLE && styleCount != 0) return FALSE;
  if (!geometric && (width != 1 || brush->lbStyle != BS_SOLID)) return FALSE;
  if (width < 0) return FALSE;
  m_state = State{};
  m_state.style = static_cast<DWORD>(style);
  m_state.width = width;
  m_state.color = brush->lbColor;
  m_state.brushStyle = brush->lbStyle;
  m_state.hatch = static_cast<int>(brush->lbHatch);
  m_state.extended = true;
  m_bValid = true;
  return TRUE;
}

int CPen::GetLogPen(LOGPEN* out) const {
  if (!m_bValid || !ReadPlainRecord(m_state, out)) return 0;
  return static_cast<int>(sizeof(LOGPEN));
}

int CPen::GetExtLogPen(EXTLOGPEN* out) const {
  if (!m_bValid || out == nullptr) return 0;
  out->elpPenStyle = m_state.style;
  out->elpWidth = static_cast<DWORD>(m_state.width);
  out->elpBrushStyle = m_state.brushStyle;
  out->elpColor = m_state.color;
  out->elpHatch = static_cast<std::uintptr_t>(m_state.hatch);
  return static_cast<int>(sizeof(EXTLOGPEN));
}

void CPen::InitStock(int style, COLORREF color) {
  m_state = State{};
  m_state.style = static_cast<DWORD>(style);
  m_state.color = color;
  m_bValid = true;
  MarkStock();
}

bool CPen::ReadPlainRecord(const State& state, LOGPEN* out) {
  if (state.extended || out == nullptr) return false;
  out->lopnStyle = state.style;
  out->lopnWidth = POINT{state.width, 0};
  out->lopnColor = state.color;
  return true;
}
