#include "platform/CRgn.h"

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
  if (m_bValid) return FALSE;
  m_rect = CRect(left, top, right, bottom);
  m_rect.NormalizeRect();
  m_bValid = true;
  return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* r) {
  return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : FALSE;
}
