// lsl-picker: runs the line-style picker dialog on a library and prints the
// choice. Without FILE it uses the default library.
//
//   lsl-picker [FILE] [--style ID] [--width W] [--color RRGGBB]
//
// After OK it prints "style=ID width=W color=RRGGBB" and exits 0; after
// Cancel it prints nothing and exits 1. Bad arguments or an unreadable file
// exit 2.
#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "model/CKpLineStyleLib.h"
#include "ui/CKpLineStylePickerDlg.h"
#include "ui/KpUiConstants.h"

namespace {

const char* const kUsage =
    "usage: lsl-picker [FILE] [--style ID] [--width W] [--color RRGGBB]\n"
    "\n"
    "Runs the line-style picker on the library FILE (.lsl), or on the default\n"
    "library without FILE. After OK prints \"style=ID width=W color=RRGGBB\" and\n"
    "exits 0; after Cancel prints nothing and exits 1.\n"
    "\n"
    "  --style ID       preselect a style ID (0 to 5: the built-in pens)\n"
    "  --width W        preset the line width (0 to 100)\n"
    "  --color RRGGBB   preset the line colour, hexadecimal red, green, blue\n"
    "  --help           show this text\n"
    "\n"
    "Environment (for screenshots only):\n"
    "  KP_PICKER_DROP_TREE=1   drop the group tree down once the dialog is shown\n";

bool ParseLong(const QString& text, long& value) {
  bool ok = false;
  const long v = text.toLong(&ok, 10);
  if (ok) value = v;
  return ok;
}

bool ParseColor(const QString& text, COLORREF& color) {
  if (text.size() != 6) return false;
  bool ok = false;
  const unsigned v = text.toUInt(&ok, 16);
  if (!ok) return false;
  color = RGB((v >> 16) & 0xFFu, (v >> 8) & 0xFFu, v & 0xFFu);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments are read before Qt starts: Qt would take "--style" as its
  // own widget-style option, and --help and bad arguments need no display.
  // Qt gets only the program name.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

  QString file;
  long style = -1;
  long width = 1;
  COLORREF color = 0;
  bool haveStyle = false;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--style" && hasValue) {
      if (!ParseLong(args[++i], style) || style < 0) {
        std::fprintf(stderr, "lsl-picker: bad style ID '%s'\n", qPrintable(args[i]));
        return 2;
      }
      haveStyle = true;
    } else if (a == "--width" && hasValue) {
      if (!ParseLong(args[++i], width) || width < 0 || width > 100) {
        std::fprintf(stderr, "lsl-picker: bad width '%s' (0 to 100)\n", qPrintable(args[i]));
        return 2;
      }
    } else if (a == "--color" && hasValue) {
      if (!ParseColor(args[++i], color)) {
        std::fprintf(stderr, "lsl-picker: bad colour '%s' (RRGGBB)\n", qPrintable(args[i]));
        return 2;
      }
    } else if (a.startsWith("--") || !file.isEmpty()) {
      std::fprintf(stderr, "lsl-picker: unexpected argument '%s'\n%s", qPrintable(a), kUsage);
      return 2;
    } else {
      file = a;
    }
  }

  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  CKpLineStyleLib lib;
  if (file.isEmpty()) {
    lib.CreateDefault();
  } else if (!lib.LoadFromFile(file.toStdString())) {
    std::fprintf(stderr, "lsl-picker: cannot read '%s'\n", qPrintable(file));
    return 2;
  }

  CKpLineStylePickerDlg dlg;
  dlg.AttachLineStyleLib(&lib);
  if (haveStyle) dlg.SetCurSelStyle(style);
  dlg.SetCurSelWidth(width);
  dlg.SetCurSelColor(static_cast<long>(color));

  if (qgetenv("KP_PICKER_DROP_TREE") == "1")
    QTimer::singleShot(300, &dlg, [&dlg] { dlg.DropGroupTree(); });

  if (dlg.DoModal() != IDOK) return 1;
  const COLORREF chosen = static_cast<COLORREF>(dlg.GetCurSelColor());
  std::printf("style=%ld width=%ld color=%02X%02X%02X\n", dlg.GetCurSelStyle(), dlg.GetCurSelWidth(),
              GetRValue(chosen), GetGValue(chosen), GetBValue(chosen));
  return 0;
}
