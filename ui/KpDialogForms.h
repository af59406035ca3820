#pragma once
// The small pieces the dialogs' forms are built from: number boxes with
// their spins, quiet setters, toolbars of command IDs and the dialogs'
// common rows. Kept in one place so that every dialog reads, shows and
// lays out its values the same way.
#include <QLineEdit>
#include <QObject>
#include <QScrollBar>
#include <QString>
#include <initializer_list>

class CKpNumEdit;
class QAction;
class QComboBox;
class QEvent;
class QHBoxLayout;
class QIcon;
class QPushButton;
class QToolBar;
class QVBoxLayout;
class QWidget;

namespace kp::ui {

// --- texts -------------------------------------------------------------------

// A module resource text as Qt needs it; the table holds UTF-8.
QString Text(int id);

// --- reading and showing values ----------------------------------------------

// A decimal number; false for empty or malformed text, `out` then unchanged.
bool ReadNumber(const QString& text, long& out);

// Reads a number box's text and lets its spin follow even a value beyond the
// limits, so that the arrows go on from what was typed; true only for a
// number within [min, max].
bool ReadBox(const QString& text, QScrollBar* spin, long min, long max, long& value);

// A list position, or -1 when the value names none of the `count` entries:
// a stored value beyond the list shows as no choice rather than a wrong one.
int IndexOrNone(long value, int count);

// Shows a stored choice without notifications: loading is no user's choice.
void SelectQuietly(QComboBox* box, long value);

// Moves a spin to a value (clamped to its range) without notifications, so
// that it does not type the clamped value back into its box.
void SetSpinQuietly(QScrollBar* spin, long value);

// Shows a value in a number box and its spin without notifications. The box
// shows the value itself even beyond its limits, so that what is shown is
// what the record holds.
void ShowNumber(CKpNumEdit* edit, QScrollBar* spin, long value);

// The spin writes its value into its box, which applies it as typed text.
void FollowSpin(QLineEdit* edit, QScrollBar* spin);

// A number box and its spin: typing calls `handler`, the spin types for the user.
template <class Dialog>
void ConnectNumberBox(Dialog* dialog, QLineEdit* edit, QScrollBar* spin, void (Dialog::*handler)()) {
  QObject::connect(edit, &QLineEdit::textChanged, dialog, [dialog, handler] { (dialog->*handler)(); });
  FollowSpin(edit, spin);
}

// --- making controls ---------------------------------------------------------

// The vertical arrows beside a number box; the upper arrow counts up, as a
// spin button does, though a scroll bar counts the other way.
QScrollBar* MakeSpin(QWidget* parent, long min, long max, int height);

// A number box of fixed width that takes only [min, max].
CKpNumEdit* MakeNumEdit(QWidget* parent, long min, long max, int width);

// A box and its spin side by side, without a gap, at the left of the cell.
QHBoxLayout* EditRow(QWidget* edit, QWidget* spin);

// A drop list of fixed labels (UTF-8).
QComboBox* MakeCombo(QWidget* parent, std::initializer_list<const char*> items);

// Makes a drop list a find box: typed text looks up an entry, it never
// becomes one. It makes the box's edit, which then follows in the tab order.
void SetUpFindBox(QComboBox* box);

// --- toolbars and dialog rows ------------------------------------------------

// A dialog's toolbar: fixed in place, 16-pixel icons.
QToolBar* MakeToolBar(QWidget* parent);

// Adds command `id` with its resource text; the tooltip is the text cut to
// the 79 characters a tooltip resource holds.
QAction* AddToolCommand(QToolBar* bar, int id, const QIcon& icon);

// The outer layout of a dialog with a toolbar: the toolbar flush at the top,
// room at its left for the gripper PaintToolBarGripper draws and under it for
// the etched line. The caller adds the body.
QVBoxLayout* ToolBarDialogLayout(QWidget* dialog, QToolBar* bar);

// The closing row: OK (the default button) and Cancel at the right.
QHBoxLayout* OkCancelRow(QWidget* parent, const QString& okText, const QString& cancelText, QPushButton*& ok,
                         QPushButton*& cancel);

// A hidden, disabled default button: Enter in an edit never closes the dialog.
QPushButton* AddHiddenDefault(QWidget* dialog);

// --- events ------------------------------------------------------------------

// Enter and the keypad's Enter alike: the dialogs give both one meaning.
bool IsEnterKey(const QEvent* event);

// For a dialog's destructor: the children outlive the derived part of the
// dialog, and none of them may call back into it (signals into its lambdas,
// events into its filter).
void DetachChildren(QObject* dialog);

}  // namespace kp::ui
