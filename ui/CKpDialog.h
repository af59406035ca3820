#pragma once
// Base of the module's modal dialogs.
//
// DoModal runs the dialog and returns IDOK or IDCANCEL. Tests (and any other
// caller that must not wait for a person) install s_modalHook: while it is
// set, DoModal hands the dialog to the hook instead of running its event
// loop, and returns what the hook returns. The hook may drive the dialog
// (click buttons, set values) before answering.
#include <QDialog>
#include <functional>

#include "platform/KpExport.h"

class KP_API CKpDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CKpDialog(QWidget* parent = nullptr);
  ~CKpDialog() override;

  // Shows the dialog modally; IDOK when it was accepted, IDCANCEL otherwise.
  int DoModal();

  // Ends the dialog with IDOK (accept) or any other result (reject).
  void EndDialog(int result);

  static std::function<int(QDialog&)> s_modalHook;

 protected:
  // Called by DoModal before the dialog is shown (or handed to the hook);
  // false ends it at once with IDCANCEL.
  virtual bool OnInitDialog();
};
