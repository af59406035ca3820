#include "model/CKpLineStyleGroup.h"

#include <algorithm>
#include <utility>

#include "model/CKpLineStyleLib.h"
#include "platform/KpString.h"

CKpLineStyleGroup::CKpLineStyleGroup() = default;

CKpLineStyleGroup::~CKpLineStyleGroup() { RemoveAll(); }

// --- tree walks ---

template <class Group>
std::vector<Group*> CKpLineStyleGroup::PreOrder(Group* top) {
  std::vector<Group*> out;
  std::vector<Group*> stack{top};
  while (!stack.empty()) {
    Group* g = stack.back();
    stack.pop_back();
    out.push_back(g);
    // Pushed in reverse so that the first sub-group is visited first.
    for (auto it = g->m_SubGroups.rbegin(); it != g->m_SubGroups.rend(); ++it) stack.push_back(*it);
  }
  return out;
}

void CKpLineStyleGroup::DeleteGroups(std::vector<CKpLineStyleGroup*> groups, bool force) {
  // Each group's sub-groups are detached before it is deleted, so its
  // destructor has nothing left to recurse into.
  while (!groups.empty()) {
    CKpLineStyleGroup* g = groups.back();
    groups.pop_back();
    if (force || g->m_bDeleteOption) groups.insert(groups.end(), g->m_SubGroups.begin(), g->m_SubGroups.end());
    g->m_SubGroups.clear();
    delete g;
  }
}

CKpLineStyleGroup* CKpLineStyleGroup::Root() {
  CKpLineStyleGroup* g = this;
  while (g->m_pParent != nullptr) g = g->m_pParent;
  return g;
}

const CKpLineStyleGroup* CKpLineStyleGroup::Root() const {
  const CKpLineStyleGroup* g = this;
  while (g->m_pParent != nullptr) g = g->m_pParent;
  return g;
}

// --- owner and navigation ---

void CKpLineStyleGroup::SetOwnerLibDeep(CKpLineStyleLib* lib) {
  for (CKpLineStyleGroup* g : PreOrder(this)) g->m_pOwnerLib = lib;
}

CKpLineStyleGroup* CKpLineStyleGroup::SubGroup(long index) const {
  if (index < 0 || index >= GetSubGroupCount()) return nullptr;
  return m_SubGroups[static_cast<size_t>(index)];
}

CKpLineStyleGroup* CKpLineStyleGroup::SubGroup(const CString& name) const {
  for (CKpLineStyleGroup* g : m_SubGroups)
    if (g->m_strName == name) return g;
  return nullptr;
}

int CKpLineStyleGroup::SetName(const CString& name) {
  if (name.empty()) return 0;
  // The parent's list holds this group too, so its own name counts as taken;
  // a root has no siblings but renaming it to its own name changes nothing.
  if (m_pParent != nullptr ? m_pParent->IsSubGroupExisted(name) : name == m_strName) return 0;
  m_strName = name;
  return 1;
}

CKpLineStyleGroup* CKpLineStyleGroup::CreateSubGroup(const CString& name) {
  if (IsSubGroupExisted(name)) return nullptr;
  auto* g = new CKpLineStyleGroup;
  g->m_strName = name;
  g->m_nStyleType = m_nStyleType;
  g->m_pOwnerLib = m_pOwnerLib;
  g->m_pParent = this;
  m_SubGroups.push_back(g);
  return g;
}

BOOL CKpLineStyleGroup::IsSubGroupExisted(const CString& name) const {
  return SubGroup(name) != nullptr ? TRUE : FALSE;
}

bool CKpLineStyleGroup::SetStyleType(StyleType type) {
  m_nStyleType = type;
  return true;
}

// --- items ---

long CKpLineStyleGroup::GetItemID(long index) const {
  return IsItemIndex(index) ? m_Items[static_cast<size_t>(index)] : -1;
}

bool CKpLineStyleGroup::SetItemID(long index, long id) {
  // Reports false even when it changed the item; callers rely on that.
  if (IsItemIndex(index)) m_Items[static_cast<size_t>(index)] = static_cast<LONG>(id);
  return false;
}

CString CKpLineStyleGroup::GetItemName(long index) const {
  if (m_nStyleType != StyleIDs || !IsItemIndex(index)) return CString();
  // An empty library has no style to name; a non-empty one answers a
  // vanished ID with the style at index 0, as ID2Index does.
  if (m_pOwnerLib == nullptr || m_pOwnerLib->Count() == 0) return CString();
  return m_pOwnerLib->GetStyleObj(m_pOwnerLib->ID2Index(m_Items[static_cast<size_t>(index)])).GetName();
}

bool CKpLineStyleGroup::SetItemName(long index, const CString& name) {
  if (!IsItemIndex(index)) return false;
  if (m_nStyleType != StyleIDs) return true;
  // Only the style that carries the ID is renamed: never some other style
  // standing in for an ID the library no longer holds.
  if (m_pOwnerLib == nullptr) return false;
  const long at = m_pOwnerLib->FindID(m_Items[static_cast<size_t>(index)]);
  if (at < 0) return false;
  m_pOwnerLib->GetStyleObj(at).SetName(name);
  return true;
}

int CKpLineStyleGroup::AddStyleItem(long id) {
  if (m_nStyleType == StyleAccepted) return 1;
  if (m_nStyleType != StyleIDs) return 0;
  if (m_pOwnerLib != nullptr && !IsItemExisted(id) && m_pOwnerLib->FindID(id) >= 0)
    m_Items.push_back(static_cast<LONG>(id));
  return 1;
}

int CKpLineStyleGroup::RemoveStyleItem(long index, BOOL deleteStyle) {
  if (!IsItemIndex(index) || m_nStyleType != StyleIDs) return 0;
  const long id = m_Items[static_cast<size_t>(index)];
  if (deleteStyle) {
    m_Items.erase(m_Items.begin() + index);
    if (m_pOwnerLib == nullptr) return 0;
    const long at = m_pOwnerLib->FindID(id);
    if (at < 0) return 0;
    m_pOwnerLib->RemoveStyleObj(at);
    return 1;
  }
  if (m_pParent == nullptr) return 0;
  m_Items.erase(m_Items.begin() + index);
  m_pParent->AddStyleItem(id);
  return 1;
}

BOOL CKpLineStyleGroup::IsItemExisted(long id) const { return Root()->IsCurrentGroupItemExisted(id); }

BOOL CKpLineStyleGroup::IsCurrentGroupItemExisted(long id) const {
  for (const CKpLineStyleGroup* g : PreOrder(this))
    if (std::find(g->m_Items.begin(), g->m_Items.end(), id) != g->m_Items.end()) return TRUE;
  return FALSE;
}

long CKpLineStyleGroup::GetItemIndex(long id) const {
  const auto it = std::find(m_Items.begin(), m_Items.end(), id);
  return it == m_Items.end() ? -1 : static_cast<long>(it - m_Items.begin());
}

long CKpLineStyleGroup::GetItemIndex(const CString& text, long start) const {
  const long count = GetItemCount();
  // A start outside the list would otherwise name indices that hold no item.
  start = std::clamp(start, 0L, count);
  const CString wanted = kp::MakeUpper(text);
  auto matches = [&](long i) { return kp::MakeUpper(GetItemName(i)).find(wanted) != CString::npos; };
  for (long i = start; i < count; ++i)
    if (matches(i)) return i;
  for (long i = 0; i < start; ++i)
    if (matches(i)) return i;
  return -1;
}

bool CKpLineStyleGroup::MoveItemToTop(long index) {
  if (index < 1 || index >= GetItemCount()) return false;
  const LONG id = m_Items[static_cast<size_t>(index)];
  m_Items.erase(m_Items.begin() + index);
  m_Items.insert(m_Items.begin(), id);
  return true;
}

bool CKpLineStyleGroup::MoveItemToUp(long index) {
  if (index < 1 || index >= GetItemCount()) return false;
  std::swap(m_Items[static_cast<size_t>(index)], m_Items[static_cast<size_t>(index - 1)]);
  return true;
}

bool CKpLineStyleGroup::MoveItemToDown(long index) {
  if (index < 0 || index >= GetItemCount() - 1) return false;
  std::swap(m_Items[static_cast<size_t>(index)], m_Items[static_cast<size_t>(index + 1)]);
  return true;
}

bool CKpLineStyleGroup::MoveItemToBottom(long index) {
  if (index < 0 || index >= GetItemCount() - 1) return false;
  const LONG id = m_Items[static_cast<size_t>(index)];
  m_Items.erase(m_Items.begin() + index);
  m_Items.push_back(id);
  return true;
}

void CKpLineStyleGroup::SortItem() {
  for (CKpLineStyleGroup* g : PreOrder(this)) std::sort(g->m_Items.begin(), g->m_Items.end());
}

// --- tree-wide lookups ---

CKpLineStyleGroup* CKpLineStyleGroup::GetGroupWithItemID(long id) { return Root()->GetGroup(id); }

CKpLineStyleGroup* CKpLineStyleGroup::GetGroupWithItemID(const CString& text) { return Root()->GetGroup(text); }

CKpLineStyleGroup* CKpLineStyleGroup::GetGroup(long id) {
  for (CKpLineStyleGroup* g : PreOrder(this))
    if (g->GetItemIndex(id) >= 0) return g;
  return nullptr;
}

CKpLineStyleGroup* CKpLineStyleGroup::GetGroup(const CString& text) {
  for (CKpLineStyleGroup* g : PreOrder(this))
    if (g->GetItemIndex(text, 0) >= 0) return g;
  return nullptr;
}

bool CKpLineStyleGroup::SetID(long oldId, long newId) {
  CKpLineStyleGroup* g = GetGroup(oldId);
  if (g == nullptr) return false;
  g->m_Items[static_cast<size_t>(g->GetItemIndex(oldId))] = static_cast<LONG>(newId);
  return true;
}

int CKpLineStyleGroup::RemoveID(long id) {
  CKpLineStyleGroup* g = GetGroup(id);
  if (g == nullptr) return 0;
  g->m_Items.erase(g->m_Items.begin() + g->GetItemIndex(id));
  return 1;
}

// --- structure ---

int CKpLineStyleGroup::RemoveChildGroup(long index, BOOL deleteContents) {
  CKpLineStyleGroup* child = SubGroup(index);
  if (child == nullptr) return 0;
  if (deleteContents) {
    for (CKpLineStyleGroup* g : PreOrder(child)) {
      // Removing a style from the library takes its ID out of the tree, so
      // the list is re-read after every removal. Items a group of another
      // type holds cannot be resolved and go with the group.
      while (!g->m_Items.empty() && g->m_nStyleType == StyleIDs) g->RemoveStyleItem(0, TRUE);
    }
    // The library never removes groups, but look the child up again rather
    // than trust an index across calls into it.
    const auto it = std::find(m_SubGroups.begin(), m_SubGroups.end(), child);
    if (it != m_SubGroups.end()) m_SubGroups.erase(it);
    DeleteGroups({child}, true);
    return 1;
  }
  m_Items.insert(m_Items.end(), child->m_Items.begin(), child->m_Items.end());
  m_SubGroups.erase(m_SubGroups.begin() + index);
  for (CKpLineStyleGroup* g : child->m_SubGroups) {
    g->m_pParent = this;
    if (g->m_strName != child->m_strName && IsSubGroupExisted(g->m_strName))
      g->m_strName += "-" + child->m_strName;
    m_SubGroups.push_back(g);
  }
  child->m_SubGroups.clear();  // now ours
  delete child;
  return 1;
}

int CKpLineStyleGroup::RemoveAll() {
  if (m_bDeleteOption) DeleteGroups(std::move(m_SubGroups), false);
  m_SubGroups.clear();
  m_Items.clear();
  m_strName.clear();
  return 1;
}

bool CKpLineStyleGroup::SetDeleteOption(bool on) {
  m_bDeleteOption = on;
  return m_bDeleteOption;
}

int CKpLineStyleGroup::Append(CKpLineStyleGroup* other) {
  if (other == nullptr) return 0;
  MergeTree(other, other->m_strName == m_strName);
  return 1;
}

int CKpLineStyleGroup::AppendSubGroup(CKpLineStyleGroup* other) {
  if (other == nullptr) return 0;
  MergeTree(other, false);
  return 1;
}

void CKpLineStyleGroup::MergeTree(const CKpLineStyleGroup* other, bool intoThis) {
  struct Node {
    CString name;
    std::vector<LONG> items;
    size_t parent;  // index in the copy; the first node has none
    CKpLineStyleGroup* target = nullptr;
  };
  // Copy other's tree first: the merge creates groups, and other may overlap
  // this tree (be this group, or an ancestor that would keep growing).
  std::vector<Node> nodes;
  std::vector<std::pair<const CKpLineStyleGroup*, size_t>> stack{{other, 0}};
  while (!stack.empty()) {
    const auto [g, parent] = stack.back();
    stack.pop_back();
    const size_t self = nodes.size();
    nodes.push_back(Node{g->m_strName, g->m_Items, parent});
    for (auto it = g->m_SubGroups.rbegin(); it != g->m_SubGroups.rend(); ++it) stack.emplace_back(*it, self);
  }
  // Pre-order, as a recursive merge adds the items: a group's items before
  // those of its sub-groups, so the first group to file an ID keeps it.
  for (size_t i = 0; i < nodes.size(); ++i) {
    Node& n = nodes[i];
    if (i == 0 && intoThis) {
      n.target = this;
    } else {
      CKpLineStyleGroup* host = i == 0 ? this : nodes[n.parent].target;
      n.target = host->SubGroup(n.name);
      if (n.target == nullptr) n.target = host->CreateSubGroup(n.name);
    }
    for (LONG id : n.items) n.target->AddStyleItem(id);
  }
}
