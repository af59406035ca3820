#pragma once
// Results of modal dialogs and the numbers of the notifications the controls
// exchange with their owners.


constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// The drop-down group tree tells its owner which group was chosen.
constexpr int WM_LSL_GROUP_CHANGED = 2079;
// The pop-up of a picker button closed / a choice was made / it was cancelled.
// Colour buttons report a choice with WM_LSL_SELENDOK and the colour.
constexpr int WM_LSL_CLOSEUP = 2027;
constexpr int WM_LSL_SELENDOK = 2028;
constexpr int WM_LSL_SELENDCANCEL = 2029;
