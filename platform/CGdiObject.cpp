#include "platform/CGdiObject.h"

#include "platform/CBrush.h"
#include "platform/CPen.h"

BOOL CGdiObject::DeleteObject() {
  if (!m_bValid || m_bStock) return FALSE;
  m_bValid = false;
  return TRUE;
}

CGdiObject* CGdiObject::GetStockObject(int index) {
  // Built once, on first use, and never destroyed: they are shared by every DC.
  struct Stock {
    CBrush brushes[6];
    CPen pens[3];
    Stock() {
      const COLORREF greys[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                 RGB(64, 64, 64), RGB(0, 0, 0)};
      for (int i = 0; i < 5; ++i) brushes[i].InitStock(BS_SOLID, greys[i]);
      brushes[5].InitStock(BS_NULL, 0);
      pens[0].InitStock(PS_SOLID, RGB(255, 255, 255));
      pens[1].InitStock(PS_SOLID, RGB(0, 0, 0));
      pens[2].InitStock(PS_NULL, RGB(0, 0, 0));
    }
  };
  static Stock* stock = new Stock();
  if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return &stock->brushes[index];
  if (index >= WHITE_PEN && index <= NULL_PEN) return &stock->pens[index - WHITE_PEN];
  return nullptr;
}
