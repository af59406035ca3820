#pragma once
// Draws a sample sheet of a library on a DC of the layout's size: the title,
// a heading band per section and one cell per style with its ID, its name
// and a sample line drawn through the engine. The sample line has a bend, so
// that vertex decorations and the run of patterns across a vertex show.
// Everything is drawn on a y-up mapping of one unit per pixel, as a map is.
#include "apps/lsl/CLslSheetLayout.h"
#include "companions/CKpSymLib.h"
#include "model/CKpLineStyleLib.h"
#include "platform/CDC.h"

class CLslSheet {
 public:
  CLslSheet(CKpLineStyleLib& lib, const CLslSheetLayout& layout, CKpSymLib* symbols, bool antiAlias);
  void Draw(CDC& dc);

  static constexpr const char* kLabelFont = "Noto Sans CJK SC";

 private:
  void DrawTitle(CDC& dc, const LslSheetItem& item);
  void DrawHeading(CDC& dc, const LslSheetItem& item);
  void DrawCell(CDC& dc, const LslSheetItem& item);
  void DrawLabel(CDC& dc, const RECT& box, const CKpLineStyleObj& style);
  void DrawSampleLine(CDC& dc, const RECT& box, CKpLineStyleObj& style);
  void Text(CDC& dc, long x, long baseline, const std::string& text, int height, int weight, COLORREF color,
            UINT align);
  void Clip(CDC& dc, const RECT& box);
  // Device y (down from the top) to logical y (up from the bottom).
  LONG Up(long deviceY) const { return static_cast<LONG>(m_height - deviceY); }

  CKpLineStyleLib& m_lib;
  const CLslSheetLayout& m_layout;
  CKpSymLib* m_symbols;
  bool m_antiAlias;
  long m_height;
};
