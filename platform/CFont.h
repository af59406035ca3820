#pragma once
#include "platform/CGdiObject.h"
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

// A font described by its logical record. Height is in logical units
// (negative: character height, positive: cell height); escapement is in
// tenths of a degree, counter-clockwise as seen on the device.
class KP_API CFont : public CGdiObject {
 public:
  CFont() = default;
  KpGdiKind GetKind() const override { return KpGdiKind::Font; }

  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                  BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                  BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName);
  BOOL CreateFontIndirect(const LOGFONT* lf);
  // Height in points at the given resolution, like the platform's helper.
  BOOL CreatePointFont(int pointSizeTenths, const char* faceName, int dpi = 96);
  int GetLogFont(LOGFONT* out) const;
  const LOGFONT& GetState() const { return m_lf; }
  CString GetFaceName() const;

 private:
  LOGFONT m_lf{};
};
