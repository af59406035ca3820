#include "apps/lsl/CLslDumpCommand.h"

#include <cstdio>

#include "apps/lsl/CLslArgs.h"
#include "apps/lsl/CLslJsonDump.h"
#include "apps/lsl/CLslLibrarySource.h"

int CLslDumpCommand::Run(const std::vector<std::string>& words) {
  const CLslArgs args(words, {}, {"--default", "--json"});
  CLslLibrarySource::ExpectArguments(args, 0, false);
  CKpLineStyleLib lib;
  const long version = CLslLibrarySource::Load(args, lib, false);
  // Font names of old files may be in a legacy code page: bytes that are
  // not UTF-8 become U+FFFD rather than failing the whole dump.
  const std::string text =
      CLslJsonDump::Library(lib, version).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
