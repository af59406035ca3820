#pragma once
// The host's style record of a geometry. The line-style dialogs read and
// write the line-style ID, line width and line colour and carry every other
// field through unchanged.
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpGeoStyle {
 public:
  long m_nLineStyle = 0;   // style ID, or 0 to 5 for a built-in pen
  long m_nLineWidth = 1;
  COLORREF m_clrLine = 0;  // 0x00BBGGRR
  long m_nFillStyle = 0;
  COLORREF m_clrFill = 0x00FFFFFF;
  long m_nReserved[4] = {0, 0, 0, 0};

  bool operator==(const CKpGeoStyle& o) const {
    for (int i = 0; i < 4; ++i)
      if (m_nReserved[i] != o.m_nReserved[i]) return false;
    return m_nLineStyle == o.m_nLineStyle && m_nLineWidth == o.m_nLineWidth &&
           m_clrLine == o.m_clrLine && m_nFillStyle == o.m_nFillStyle && m_clrFill == o.m_clrFill;
  }
  bool operator!=(const CKpGeoStyle& o) const { return !(*this == o); }
};
