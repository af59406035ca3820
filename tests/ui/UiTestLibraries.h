#pragma once
// Libraries and small fixtures the dialog tests share.
#include <QComboBox>
#include <QStringList>
#include <memory>
#include <vector>

#include "model/CKpLineStyleLib.h"

namespace kp::test {

// A sub-line told apart from its neighbours by its width, with a pattern
// added in pairs (drawn, gap).
inline CKpLineStyleBase SubLine(short width, short kind = 0, const std::vector<long>& pattern = {}) {
  CKpLineStyleBase s;
  s.m_nWidth = s.m_nCurWidth = width;
  s.m_nHVMode = kind;
  for (size_t i = 0; i + 1 < pattern.size(); i += 2) s.Add(pattern[i], pattern[i + 1]);
  return s;
}

// The widths of a style's sub-lines, in order: what tells SubLine()s apart.
inline std::vector<short> WidthsOf(const CKpLineStyleObj& style) {
  std::vector<short> out;
  for (int i = 0; i < style.Count(); ++i) out.push_back(style.GetElementAt(i)->m_nWidth);
  return out;
}

// The pattern entries of a sub-line, in order.
inline std::vector<long> PatternOf(const CKpLineStyleBase& s) {
  std::vector<long> out;
  for (long i = 0; i < s.Count(); ++i) out.push_back(s.GetAt(i));
  return out;
}

// The entries a drop list offers, in order.
inline QStringList TextsOf(const QComboBox* box) {
  QStringList texts;
  for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
  return texts;
}

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
