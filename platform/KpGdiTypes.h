#pragma once
// Constants and logical records of the device layer, numbered as hosts of
// line styles expect them (pen styles, brushes, hatches, mapping modes,
// text alignment, stock objects).
#include "platform/KpTypes.h"

// Pen styles (low four bits).
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_USERSTYLE = 7;
constexpr int PS_STYLE_MASK = 0x0000000F;
// End caps.
constexpr int PS_ENDCAP_ROUND = 0x00000000;
constexpr int PS_ENDCAP_SQUARE = 0x00000100;
constexpr int PS_ENDCAP_FLAT = 0x00000200;
constexpr int PS_ENDCAP_MASK = 0x00000F00;
// Joins.
constexpr int PS_JOIN_ROUND = 0x00000000;
constexpr int PS_JOIN_BEVEL = 0x00001000;
constexpr int PS_JOIN_MITER = 0x00002000;
constexpr int PS_JOIN_MASK = 0x0000F000;
// Pen types.
constexpr int PS_COSMETIC = 0x00000000;
constexpr int PS_GEOMETRIC = 0x00010000;
constexpr int PS_TYPE_MASK = 0x000F0000;

// Brush styles.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;

// Hatch styles.
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// What a clip box holds (GetClipBox).
constexpr int NULLREGION = 1;    // nothing can be drawn
constexpr int SIMPLEREGION = 2;  // the box

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Character sets and weights used by fonts.
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Device capabilities.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Point types of path buffers.
constexpr BYTE PT_LINETO = 2;
constexpr BYTE PT_MOVETO = 6;

constexpr int LF_FACESIZE = 32;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // x is the width
  COLORREF lopnColor;
};

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;
};

struct EXTLOGPEN {
  DWORD elpPenStyle;
  DWORD elpWidth;
  UINT elpBrushStyle;
  COLORREF elpColor;
  std::uintptr_t elpHatch;
};

struct LOGFONT {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

// Pen of the anti-aliased path: explicit width, colour, cap and join in the
// anti-aliased numbering (cap 0 flat, 1 square, 2 round; join 0 mitre,
// 1 bevel, 2 round).
struct AAPEN {
  float width;
  COLORREF color;
  int cap;
  int join;
};
constexpr int AA_CAP_FLAT = 0;
constexpr int AA_CAP_SQUARE = 1;
constexpr int AA_CAP_ROUND = 2;
constexpr int AA_JOIN_MITER = 0;
constexpr int AA_JOIN_BEVEL = 1;
constexpr int AA_JOIN_ROUND = 2;
