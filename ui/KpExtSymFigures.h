#pragma once
// The shapes an extended attribute can take, drawn the same way on the
// extended-symbol button and in its pop-up: a short line running into the
// figure at its right end.
//
// Values 0 to 9 are the built-in figures (0 a plain line, 1 to 5 arrowheads,
// 6 to 9 node shapes); 10 + n is symbol cell n of the two libraries
// (kp::ui::SymbolOfCell).
#include "companions/CKpSymLib.h"
#include "platform/CDC.h"

namespace kp::ui {

constexpr long kExtSymBuiltinCount = 10;  // values 0 .. 9
constexpr long kExtSymFirstSymbol = 10;   // value of symbol cell 0

// Draws the figure of `value` inside `cell` (a margin of 4 pixels is kept on
// every side). Negative values draw nothing; a symbol cell whose symbol
// cannot be found draws a plain line. The DC's pen and brush are the same
// afterwards.
void DrawExtSymFigure(CDC& dc, const RECT& cell, long value, CKpSymLib* lineLib, long lineCount,
                      CKpSymLib* resLib);

}  // namespace kp::ui
