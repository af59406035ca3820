// lsl-editor: runs the line-style library editor on a library file.
//
//   lsl-editor [FILE]
//
// See kUsage for what happens with and without FILE. Exits 0 once the editor
// is closed; bad arguments exit 2.
#include <QApplication>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "model/CKpLineStyleLib.h"
#include "ui/CKpLineStyleLibDlg.h"

namespace {

const char* const kUsage =
    "usage: lsl-editor [FILE]\n"
    "\n"
    "Runs the line-style library editor.\n"
    "\n"
    "  without FILE         starts with a new, empty library that has no file yet;\n"
    "                       saving asks where to put it\n"
    "  FILE exists          opens it; saving writes back to FILE\n"
    "  FILE does not exist  starts with a new, empty library that will be saved\n"
    "                       as FILE (the file is created on the first save)\n"
    "  FILE cannot be read  (no permission, not a line-style library, damaged):\n"
    "                       says why and starts with a new, empty library that has\n"
    "                       no file, so that saving never replaces FILE unasked\n"
    "\n"
    "Saving writes the whole library to a temporary file beside the target and\n"
    "then replaces the target, so a failed save leaves the old file intact.\n"
    "Closing the editor with unsaved changes asks whether to save them.\n"
    "Exits 0 when the editor is closed.\n"
    "\n"
    "  --help   show this text\n";

}  // namespace

int main(int argc, char** argv) {
  // Arguments are read before Qt starts so that --help needs no display.
  QString file;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a.startsWith("-") || !file.isEmpty()) {
      std::fprintf(stderr, "lsl-editor: unexpected argument '%s'\n%s", argv[i], kUsage);
      return 2;
    }
    file = a;
  }

  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  CKpLineStyleLib lib;
  CKpLineStyleLibDlg dlg;
  dlg.AttachLineStyleLib(&lib);
  if (!file.isEmpty()) {
    if (QFileInfo::exists(file)) {
      // Reports the reason itself when the file cannot be used.
      dlg.OpenLibraryFile(file.toStdString());
    } else {
      dlg.m_strFilePath = file.toStdString();
    }
  }
  dlg.DoModal();
  return 0;
}
