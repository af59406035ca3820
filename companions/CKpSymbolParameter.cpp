#include "companions/CKpSymbolParameter.h"

CKpSymbolParameter::CKpSymbolParameter(CPoint position, unsigned long size, int angle,
                                       unsigned long colour, unsigned long symbolID,
                                       std::vector<CString>* texts, double scale, int flag)
    : m_ptPosition(position),
      // The engine hands its signed heights over as unsigned long; the cast
      // gives the sign back (a negative height mirrors the symbol).
      m_nSize(static_cast<long>(size)),
      m_nAngle(angle),
      m_clrColor(static_cast<COLORREF>(colour)),
      m_dwSymbolID(symbolID),
      m_pTexts(texts),
      m_dScale(scale),
      m_nFlag(flag) {}

CKpSymbolParameter::~CKpSymbolParameter() = default;
