#include "apps/lsl/CLslSheetSections.h"

std::vector<LslSheetSection> CLslSheetSections::Build(const CKpLineStyleLib& lib) {
  std::vector<LslSheetSection> sections;
  std::vector<bool> placed(static_cast<size_t>(lib.Count()), false);
  if (const CKpLineStyleGroup* root = lib.GetRootGroup()) AddGroup(lib, *root, "", placed, sections);
  LslSheetSection unfiled{kUnfiledHeading, {}};
  for (long i = 0; i < lib.Count(); ++i)
    if (!placed[static_cast<size_t>(i)]) unfiled.indices.push_back(i);
  if (!unfiled.indices.empty()) sections.push_back(std::move(unfiled));
  return sections;
}

// Headings show the path below the root ("Roads / Highways"); the root's
// own items go under the root's name. Group files nest at most 256 deep, so
// recursion is safe here.
void CLslSheetSections::AddGroup(const CKpLineStyleLib& lib, const CKpLineStyleGroup& group,
                                 const std::string& path, std::vector<bool>& placed,
                                 std::vector<LslSheetSection>& out) {
  const std::string heading = path.empty() ? group.GetName() : path;
  LslSheetSection section{heading, {}};
  for (long i = 0; i < group.GetItemCount(); ++i) {
    const long index = lib.FindID(group.GetItemID(i));
    if (index < 0 || placed[static_cast<size_t>(index)]) continue;
    placed[static_cast<size_t>(index)] = true;
    section.indices.push_back(index);
  }
  if (!section.indices.empty()) out.push_back(std::move(section));
  for (long g = 0; g < group.GetSubGroupCount(); ++g) {
    const CKpLineStyleGroup* sub = group.SubGroup(g);
    if (sub == nullptr) continue;
    AddGroup(lib, *sub, path.empty() ? sub->GetName() : path + " / " + sub->GetName(), placed, out);
  }
}
