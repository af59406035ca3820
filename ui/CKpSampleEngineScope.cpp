#include "ui/CKpSampleEngineScope.h"

#include "engine/CKpLineStyleEngine.h"

CKpSampleEngineScope::CKpSampleEngineScope(CKpSymLib* symbols, Pen pen)
    : m_pHostSymbols(gLineStyleEngine.m_pSymLib),
      m_bHostStylePen(gLineStyleEngine.m_bStylePen),
      m_bLendsPen(pen == StylePen) {
  if (symbols) gLineStyleEngine.m_pSymLib = symbols;
  if (m_bLendsPen) gLineStyleEngine.m_bStylePen = TRUE;
}

CKpSampleEngineScope::~CKpSampleEngineScope() {
  // A sample drawn with the host's pen leaves the pen setting to whatever the
  // drawing made of it, as a drawing without the scope would.
  if (m_bLendsPen) gLineStyleEngine.m_bStylePen = m_bHostStylePen;
  gLineStyleEngine.m_pSymLib = m_pHostSymbols;
}
