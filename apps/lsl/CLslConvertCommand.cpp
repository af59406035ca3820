#include "apps/lsl/CLslConvertCommand.h"

#include "apps/lsl/CLslArgs.h"
#include "apps/lsl/CLslError.h"
#include "apps/lsl/CLslLibrarySource.h"
#include "apps/lsl/CLslLibraryWriter.h"

int CLslConvertCommand::Run(const std::vector<std::string>& words) {
  const CLslArgs args(words, {"--version"}, {"--default"});
  CLslLibrarySource::ExpectArguments(args, 1, false);
  const size_t outAt = CLslLibrarySource::FirstFreePositional(args);
  const long version = CLslLibraryWriter::ParseVersion(args.Value("--version").value_or("20031017"));
  CKpLineStyleLib lib;
  CLslLibrarySource::Load(args, lib, false);
  CLslLibraryWriter::Write(lib, args.Positionals()[outAt], version);
  return 0;
}

int CLslConvertCommand::RunNewDefault(const std::vector<std::string>& words) {
  const CLslArgs args(words, {}, {});
  if (args.Positionals().empty()) throw CLslError("an output file is required");
  args.ExpectPositionals(1, 1);
  CKpLineStyleLib lib;
  CLslLibrarySource::LoadDefault(lib);
  CLslLibraryWriter::Write(lib, args.Positionals().front(), KP_LSL_VERSION_20031017);
  return 0;
}
