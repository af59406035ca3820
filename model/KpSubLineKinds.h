#pragma once
// The sub-line kinds (m_nHVMode): what each draws along the line, and the
// label the editors show for it.

namespace kp {

constexpr int KP_SUBLINE_KIND_COUNT = 49;  // kinds 0..48

// The label of a kind, or nullptr outside 0..48.
const char* SubLineKindLabel(int kind);

}  // namespace kp
