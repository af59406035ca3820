#include "ui/KpMessageBox.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/KpUiConstants.h"

namespace kp::ui {

std::function<int(const CString&, MsgButtons)> g_messageBoxHook;
std::function<CString(bool)> g_fileDialogHook;

namespace {

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

int AnswerOf(int button, MsgButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    case QMessageBox::Ok:
      return IDOK;
    default:
      return buttons == MsgButtons::YesNo ? IDNO : IDCANCEL;
  }
}

CString AskPath(QWidget* parent, bool saving, const QString& filter, const QString& suffix) {
  if (g_fileDialogHook) return g_fileDialogHook(saving);
  QFileDialog dialog(parent);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(suffix);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return CString();
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

int MessageBox(QWidget* parent, const CString& text, MsgButtons buttons) {
  if (g_messageBoxHook) return g_messageBoxHook(text, buttons);
  QMessageBox box(parent);
  box.setText(QString::fromStdString(text));
  box.setStandardButtons(ButtonsOf(buttons));
  box.setIcon(buttons == MsgButtons::Ok ? QMessageBox::Warning : QMessageBox::Question);
  return AnswerOf(box.exec(), buttons);
}

CString GetOpenFilePath(QWidget* parent, const QString& filter, const QString& defaultSuffix) {
  return AskPath(parent, false, filter, defaultSuffix);
}

CString GetSavePathName(QWidget* parent, const QString& filter, const QString& defaultSuffix) {
  return AskPath(parent, true, filter, defaultSuffix);
}

}  // namespace kp::ui
