#pragma once
// The built-in symbol library: clean cartographic symbols (geometric marks,
// trees, buildings, landmarks) offered when a line-style library has no
// custom symbols of its own yet. IDs run from 10 upward without gaps; symbols
// with a direction (arrowheads, chevrons, ticks) point along design +x, so
// they follow the segment they decorate.
#include "companions/CKpSymLib.h"
#include "platform/KpExport.h"

namespace kp {

// Empties `lib` and fills it with the built-in symbols.
KP_API void LoadResourceSymbols(CKpSymLib& lib);

// The built-in symbols, built on first use and shared afterwards.
KP_API const CKpSymLib& ResourceSymbols();

}  // namespace kp
