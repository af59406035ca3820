#include "apps/lsl/CLslInfoCommand.h"

#include <cstdio>

#include "apps/lsl/CLslArgs.h"
#include "apps/lsl/CLslLibrarySource.h"

int CLslInfoCommand::Run(const std::vector<std::string>& words) {
  const CLslArgs args(words, {}, {"--default"});
  CLslLibrarySource::ExpectArguments(args, 0, false);
  CKpLineStyleLib lib;
  const long version = CLslLibrarySource::Load(args, lib, false);
  std::printf("version: %ld\n", version);
  std::printf("name: %s\n", lib.GetName().c_str());
  std::printf("styles: %ld\n", lib.Count());
  std::printf("groups:\n");
  if (lib.GetRootGroup()) PrintGroup(*lib.GetRootGroup(), 1);
  PrintSymbols(lib.GetSymLib());
  return 0;
}

std::string CLslInfoCommand::Count(long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// One line per group, indented by depth, with the number of styles it files.
void CLslInfoCommand::PrintGroup(const CKpLineStyleGroup& group, int depth) {
  std::printf("%*s%s: %s\n", depth * 2, "", group.GetName().c_str(),
              Count(group.GetItemCount(), "style", "styles").c_str());
  for (long g = 0; g < group.GetSubGroupCount(); ++g)
    if (const CKpLineStyleGroup* sub = group.SubGroup(g)) PrintGroup(*sub, depth + 1);
}

void CLslInfoCommand::PrintSymbols(const CKpSymLib& symbols) {
  std::printf("symbols:");
  if (symbols.GetSymbolCount() == 0) std::printf(" none");
  for (long i = 0; i < symbols.GetSymbolCount(); ++i) std::printf(" %ld", symbols.GetSymbolID(i));
  std::printf("\n");
}
