#pragma once
// The order of a sample sheet: one section per group of the library's group
// tree that files styles, depth-first with each group before its sub-groups,
// holding the group's styles in item order; then one section of the styles
// that no group files. Items naming a style the library lacks are left out.
#include <string>
#include <vector>

#include "model/CKpLineStyleLib.h"

struct LslSheetSection {
  std::string heading;
  std::vector<long> indices;  // style indices in the library
};

class CLslSheetSections {
 public:
  static std::vector<LslSheetSection> Build(const CKpLineStyleLib& lib);
  static constexpr const char* kUnfiledHeading = "Not in any group";

 private:
  static void AddGroup(const CKpLineStyleLib& lib, const CKpLineStyleGroup& group, const std::string& path,
                       std::vector<bool>& placed, std::vector<LslSheetSection>& out);
};
