#pragma once
// Libraries the dialog tests share.
#include <memory>

#include "model/CKpLineStyleLib.h"

namespace kp::test {

// Adds a style of one plain sub-line.
inline void AddStyle(CKpLineStyleLib& lib, long id, const char* name) {
  CKpLineStyleObj s;
  s.SetID(id);
  s.SetName(name);
  CKpLineStyleBase b;
  s.AddStyleBase(b);
  lib.AddStyleObj(s);
}

// Root: sub-groups "A" (20 Fence, 21 Wall) and "B" (30 Road small), then the
// styles 10 Road, 11 River, 12 Rail, 13 Road bridge. Not modified.
inline std::unique_ptr<CKpLineStyleLib> MakeGroupedLib() {
  auto lib = std::make_unique<CKpLineStyleLib>();
  AddStyle(*lib, 10, "Road");
  AddStyle(*lib, 11, "River");
  AddStyle(*lib, 12, "Rail");
  AddStyle(*lib, 13, "Road bridge");
  AddStyle(*lib, 20, "Fence");
  AddStyle(*lib, 21, "Wall");
  AddStyle(*lib, 30, "Road small");
  CKpLineStyleGroup* root = lib->GetRootGroup();
  root->SetStyleType(CKpLineStyleGroup::StyleIDs);
  CKpLineStyleGroup* a = root->CreateSubGroup("A");
  CKpLineStyleGroup* b = root->CreateSubGroup("B");
  for (long id : {20L, 21L}) a->AddStyleItem(id);
  b->AddStyleItem(30);
  for (long id : {10L, 11L, 12L, 13L}) root->AddStyleItem(id);
  lib->SetModifiedFlag(FALSE);
  return lib;
}

}  // namespace kp::test
