#include "apps/lsl/CLslSheetCommand.h"

#include "apps/lsl/CLslArgs.h"
#include "apps/lsl/CLslCanvas.h"
#include "apps/lsl/CLslLibrarySource.h"
#include "apps/lsl/CLslSheet.h"
#include "apps/lsl/CLslSheetLayout.h"
#include "apps/lsl/CLslSheetSections.h"
#include "apps/lsl/CLslSymbolSet.h"

int CLslSheetCommand::Run(const std::vector<std::string>& words) {
  const CLslArgs args(words, {"-o", "--columns", "--scale"}, {"--default", "--no-aa"});
  CLslLibrarySource::ExpectArguments(args, 0, true);
  const std::string output = args.Required("-o");
  CLslCanvas::KindOf(output);
  const long columns =
      args.Value("--columns") ? CLslArgs::ParseLong("--columns", *args.Value("--columns"), 1, 12) : 3;
  const double scale =
      args.Value("--scale") ? CLslArgs::ParseDouble("--scale", *args.Value("--scale"), 0.25, 8.0) : 1.0;

  CKpLineStyleLib lib;
  CLslLibrarySource::Load(args, lib, true);
  const CLslSheetLayout layout(CLslSheetSections::Build(lib), Title(lib.GetName(), lib.Count()), columns,
                               scale);
  CLslCanvas canvas(output, layout.Size());
  CLslSymbolSet symbols(lib);
  CLslSheet(lib, layout, symbols.Get(), !args.Has("--no-aa")).Draw(canvas.DC());
  canvas.Finish();
  return 0;
}

std::string CLslSheetCommand::Title(const std::string& name, long count) {
  return (name.empty() ? std::string("(unnamed library)") : name) + "  —  " + std::to_string(count) +
         (count == 1 ? " style" : " styles");
}
