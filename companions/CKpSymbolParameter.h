#pragma once
// How to draw a symbol once: where, how big, turned how far, in which colour.
#include <vector>

#include "platform/CPoint.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpSymbolParameter {
 public:
  CKpSymbolParameter(CPoint position, unsigned long size, int angle, unsigned long colour,
                     unsigned long symbolID, std::vector<CString>* texts, double scale, int flag);
  virtual ~CKpSymbolParameter();

  CPoint m_ptPosition;            // anchor point, logical units of the DC
  long m_nSize;                   // size in style units (signed: the engine passes its heights as they are)
  int m_nAngle;                   // tenths of a degree, counter-clockwise as the engine computes angles
  COLORREF m_clrColor;            // 0x00BBGGRR
  unsigned long m_dwSymbolID;     // ID of the symbol to draw
  std::vector<CString>* m_pTexts; // optional texts; not owned
  double m_dScale;                // style units -> device units (the engine's ratio)
  int m_nFlag;                    // nonzero: draw anti-aliased where the DC allows it
};
