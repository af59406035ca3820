#pragma once
// Message boxes and file dialogs of the module's dialogs, behind one seam so
// that tests (and hosts that must not block) can answer them.
#include <QString>
#include <functional>

#include "platform/KpTypes.h"

class QWidget;

namespace kp::ui {

constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The buttons of a message box.
enum class MsgButtons { Ok, YesNo, YesNoCancel };

// Shows `text` with the buttons and returns IDOK, IDYES, IDNO or IDCANCEL
// (closing the box counts as IDCANCEL, or IDNO for YesNo).
int MessageBox(QWidget* parent, const CString& text, MsgButtons buttons = MsgButtons::Ok);

// Asks for a file to open or to save; an empty path means cancelled.
// `filter` is a Qt name filter such as "线型库 (*.lsl)"; `defaultSuffix` is
// appended to a typed name that has none.
CString GetOpenFilePath(QWidget* parent, const QString& filter, const QString& defaultSuffix);
CString GetSavePathName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

// Test seams: while set, these answer instead of the real boxes.
// Message hook: (text, buttons) -> answer. File hook: (saving) -> path.
extern std::function<int(const CString& text, MsgButtons buttons)> g_messageBoxHook;
extern std::function<CString(bool saving)> g_fileDialogHook;

}  // namespace kp::ui
