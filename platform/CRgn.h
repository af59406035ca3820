#pragma once
#include "platform/CGdiObject.h"
#include "platform/CRect.h"
#include "platform/KpExport.h"

// A clipping region. Rectangular regions are all the drawing code needs; as
// on the platform, a region's coordinates are device coordinates.
class KP_API CRgn : public CGdiObject {
 public:
  CRgn() = default;
  KpGdiKind GetKind() const override { return KpGdiKind::Region; }

  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(const RECT* r);
  const CRect& GetRect() const { return m_rect; }

 private:
  CRect m_rect;
};
