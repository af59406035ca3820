#include "ui/KpKeyboard.h"

#include <QGuiApplication>

namespace kp::ui {
namespace {
int g_forced = -1;
}

bool IsCtrlDown() {
  if (g_forced >= 0) return g_forced != 0;
  // Asks the window system rather than the last input event: the command may
  // come from a toolbar click whose own modifiers Qt does not pass on.
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void ForceCtrlDownForTesting(int state) { g_forced = state < 0 ? -1 : (state ? 1 : 0); }

}  // namespace kp::ui
