#pragma once
// What a sample drawing lends the shared line style engine, for as long as
// the scope lives: the symbols that custom-symbol sub-lines name (null keeps
// the host's) and, when asked, the sub-lines' own pens instead of whatever pen
// the widget's DC holds. The host's settings are back when the scope ends.
#include "platform/KpTypes.h"

class CKpSymLib;

class CKpSampleEngineScope {
 public:
  enum Pen { HostPen, StylePen };

  explicit CKpSampleEngineScope(CKpSymLib* symbols, Pen pen = HostPen);
  ~CKpSampleEngineScope();
  CKpSampleEngineScope(const CKpSampleEngineScope&) = delete;
  CKpSampleEngineScope& operator=(const CKpSampleEngineScope&) = delete;

 private:
  CKpSymLib* m_pHostSymbols;
  BOOL m_bHostStylePen;
  bool m_bLendsPen;
};
