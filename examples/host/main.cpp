// kp-host: a small host program. It loads a library of line styles, draws a
// polyline and a polygon with one of its styles into a PNG through the Qt
// device context, and runs the style picker when asked.
//
//   kp-host LIBRARY.lsl OUT.png [--style ID] [--pick] [--accept-after MS]
//
// Prints what it drew (and the style picked); exits 1 when the library cannot
// be read or the style is not in it, 2 on bad arguments.
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleLib.h"
#include "module/KpModule.h"
#include "module/KpModulePath.h"
#include "platform/qt/CQtDC.h"
#include "ui/CKpLineStylePickerDlg.h"
#include "ui/KpUiConstants.h"

namespace {

struct Options {
  const char* library = nullptr;
  const char* output = nullptr;
  long styleID = -1;  // the library's first style
  bool pick = false;
  int acceptAfterMs = -1;  // for unattended runs: OK is pressed after this long
};

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--style" && i + 1 < argc) {
      o.styleID = std::strtol(argv[++i], nullptr, 10);
    } else if (a == "--pick") {
      o.pick = true;
    } else if (a == "--accept-after" && i + 1 < argc) {
      o.acceptAfterMs = std::atoi(argv[++i]);
    } else if (!a.empty() && a[0] != '-' && !o.library) {
      o.library = argv[i];
    } else if (!a.empty() && a[0] != '-' && !o.output) {
      o.output = argv[i];
    } else {
      return false;
    }
  }
  return o.library && o.output;
}

// Draws a zigzag and a triangle with the style, as any host would.
long DrawStyle(CKpLineStyleLib& lib, CKpLineStyleObj& style, QImage& image) {
  image.fill(Qt::white);
  CQtDC dc(image);
  CKpLineStyleEngine& engine = gLineStyleEngine;
  const int oldMode = engine.SetMapMode(MM_TEXT);  // our points are pixels
  engine.KeepDC(&dc);
  engine.m_pSymLib = &lib.GetSymLib();  // the library's own symbols
  style.SetLineStyle();                  // each sub-line with its own pen
  POINT line[] = {{30, 200}, {130, 60}, {230, 200}, {330, 60}, {370, 120}};
  style.Polyline(line, 5);
  POINT triangle[] = {{60, 280}, {340, 280}, {200, 230}};
  style.Polygon(triangle, 3);
  engine.RestoreDC();
  engine.m_pSymLib = nullptr;
  engine.SetMapMode(oldMode);
  dc.End();

  long inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ++inked;
  return inked;
}

int Pick(CKpLineStyleLib& lib, long styleID, int acceptAfterMs) {
  CKpLineStylePickerDlg picker;
  picker.AttachLineStyleLib(&lib);
  picker.SetCurSelStyle(styleID);
  if (acceptAfterMs >= 0) QTimer::singleShot(acceptAfterMs, &picker, [&picker] { picker.OnOK(); });
  if (picker.DoModal() != IDOK) {
    std::printf("picker: cancelled\n");
    return 0;
  }
  std::printf("picker: style %ld, width %ld\n", picker.GetCurSelStyle(), picker.GetCurSelWidth());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) {
    std::fprintf(stderr, "usage: kp-host LIBRARY.lsl OUT.png [--style ID] [--pick] [--accept-after MS]\n");
    return 2;
  }
  // Fonts for glyph decorations, and the picker. Qt gets only the program
  // name: it would take "--style" for its own widget-style option.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  InitKpVur50DLL();
  std::printf("default library: %s\n", kp::DefaultLibraryPath().c_str());

  CKpLineStyleLib lib;
  if (!lib.LoadFromFile(o.library)) {
    std::fprintf(stderr, "kp-host: cannot read the library %s\n", o.library);
    return 1;
  }
  const long index = o.styleID < 0 ? 0 : lib.FindID(o.styleID);
  if (index < 0 || index >= lib.Count()) {
    std::fprintf(stderr, "kp-host: no style %ld in %s\n", o.styleID, o.library);
    return 1;
  }
  CKpLineStyleObj& style = lib.GetStyleObj(index);

  QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
  const long inked = DrawStyle(lib, style, image);
  if (!image.save(QString::fromLocal8Bit(o.output), "PNG")) {
    std::fprintf(stderr, "kp-host: cannot write %s\n", o.output);
    return 1;
  }
  std::printf("drew style %ld \"%s\" into %s: %ld pixels inked\n", style.GetID(), style.GetName().c_str(), o.output,
              inked);
  return o.pick ? Pick(lib, style.GetID(), o.acceptAfterMs) : 0;
}
