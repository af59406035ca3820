#include "platform/CFont.h"

#include "platform/KpString.h"

#include <cstring>

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const char* faceName) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet;
  lf.lfOutPrecision = outPrecision;
  lf.lfClipPrecision = clipPrecision;
  lf.lfQuality = quality;
  lf.lfPitchAndFamily = pitchAndFamily;
  if (faceName != nullptr) {
    // Keep room for the terminator; a longer name is cut before the last
    // whole UTF-8 character that fits.
    std::memcpy(lf.lfFaceName, faceName, kp::Utf8PrefixLength(faceName, LF_FACESIZE - 1));
  }
  return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
  if (m_bValid || lf == nullptr) return FALSE;
  m_lf = *lf;
  m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  m_lf.lfFaceName[kp::Utf8PrefixLength(m_lf.lfFaceName, LF_FACESIZE - 1)] = '\0';
  m_bValid = true;
  return TRUE;
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, int dpi) {
  const int height = -(pointSizeTenths * dpi + 360) / 720;
  return CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}

int CFont::GetLogFont(LOGFONT* out) const {
  if (!m_bValid || out == nullptr) return 0;
  *out = m_lf;
  return static_cast<int>(sizeof(LOGFONT));
}

CString CFont::GetFaceName() const { return CString(m_lf.lfFaceName); }
