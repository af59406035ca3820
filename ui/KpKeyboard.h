#pragma once
// The state of the Ctrl key at the moment a command runs: holding Ctrl while
// choosing "new" copies the selected item. Tests force the answer.

namespace kp::ui {

// True while a Ctrl key is held down (or while forced down for testing).
bool IsCtrlDown();

// Forces IsCtrlDown's answer: 1 down, 0 up, -1 asks the keyboard again.
void ForceCtrlDownForTesting(int state);

}  // namespace kp::ui
