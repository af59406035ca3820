#pragma once
// A tree of named groups that files the styles of a library by ID. A group
// holds an ordered list of style IDs (its items) and an ordered list of
// sub-groups; the styles themselves stay in the library's flat list and are
// looked up through the owning library.
//
// Invariants kept by the operations: sibling names are unique; a style ID
// occurs at most once in the whole tree; every item added refers to a style
// the library holds at that moment (for style type 2).
#include <vector>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CKpLineStyleLib;
class CKpByteArrayEx;

class KP_API CKpLineStyleGroup {
 public:
  // What the items are: 2 style IDs of the owner library; 1 accepted but not
  // stored; 0 refused.
  enum StyleType : int { StyleNone = 0, StyleAccepted = 1, StyleIDs = 2 };

  CKpLineStyleGroup();
  CKpLineStyleGroup(const CKpLineStyleGroup&) = delete;
  CKpLineStyleGroup& operator=(const CKpLineStyleGroup&) = delete;
  virtual ~CKpLineStyleGroup();

  // --- owner and navigation ---
  void SetOwnerLib(CKpLineStyleLib* lib) { m_pOwnerLib = lib; }
  // Sets the owner of this group and of every group below it (a tree moved
  // from one library to another).
  void SetOwnerLibDeep(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetOwnerLib() const { return m_pOwnerLib; }
  CKpLineStyleGroup* SubGroup(long index) const;
  CKpLineStyleGroup* SubGroup(const CString& name) const;
  long GetSubGroupCount() const { return static_cast<long>(m_SubGroups.size()); }
  long GetItemCount() const { return static_cast<long>(m_Items.size()); }
  CKpLineStyleGroup* GetParentGroup() const { return m_pParent; }
  CString GetName() const { return m_strName; }
  int SetName(const CString& name);
  CKpLineStyleGroup* CreateSubGroup(const CString& name);
  BOOL IsSubGroupExisted(const CString& name) const;
  bool SetStyleType(StyleType type);
  StyleType GetStyleType() const { return m_nStyleType; }

  // --- items ---
  long GetItemID(long index) const;
  bool SetItemID(long index, long id);
  CString GetItemName(long index) const;
  bool SetItemName(long index, const CString& name);
  int AddStyleItem(long id);
  int RemoveStyleItem(long index, BOOL deleteStyle);
  BOOL IsItemExisted(long id) const;
  long GetItemIndex(long id) const;
  long GetItemIndex(const CString& text, long start) const;
  bool MoveItemToTop(long index);
  bool MoveItemToUp(long index);
  bool MoveItemToDown(long index);
  bool MoveItemToBottom(long index);
  void SortItem();

  // --- tree-wide lookups ---
  CKpLineStyleGroup* GetGroupWithItemID(long id);
  CKpLineStyleGroup* GetGroupWithItemID(const CString& text);
  bool SetID(long oldId, long newId);
  int RemoveID(long id);

  // --- structure ---
  int RemoveChildGroup(long index, BOOL deleteContents);
  int RemoveAll();
  bool SetDeleteOption(bool on);
  int Append(CKpLineStyleGroup* other);

  // --- file record (written recursively, root first) ---
  // Returns 1. Reading returns 1 on success and 0 on a malformed or truncated
  // record (or nesting deeper than KP_GROUP_MAX_DEPTH); the group is then
  // left empty.
  int Store(CKpByteArrayEx& stream) const;
  int Load(CKpByteArrayEx& stream, int& pos);

 protected:
  BOOL IsCurrentGroupItemExisted(long id) const;
  CKpLineStyleGroup* GetGroup(long id);
  CKpLineStyleGroup* GetGroup(const CString& text);
  int AppendSubGroup(CKpLineStyleGroup* other);

 private:
  CKpLineStyleGroup* Root();
  const CKpLineStyleGroup* Root() const;
  int LoadLevel(CKpByteArrayEx& stream, int& pos, int depth);

  // Tree walks are iterative so that a deep tree built in memory cannot
  // exhaust the stack. `top` and every group below it, depth-first, each
  // group before its sub-groups, sub-groups in list order.
  template <class Group>
  static std::vector<Group*> PreOrder(Group* top);
  // Deletes the groups and the groups below them. Without `force` a group
  // whose delete option is cleared loses its sub-groups without deleting
  // them, as its own RemoveAll would.
  static void DeleteGroups(std::vector<CKpLineStyleGroup*> groups, bool force);
  // Merges `other` into this group (`intoThis`) or into the sub-group of
  // other's name; other's tree is copied first, so any overlap with this
  // tree, even other being this group or its ancestor, ends.
  void MergeTree(const CKpLineStyleGroup* other, bool intoThis);
  bool IsItemIndex(long index) const { return index >= 0 && index < GetItemCount(); }

  CKpLineStyleLib* m_pOwnerLib = nullptr;
  CKpLineStyleGroup* m_pParent = nullptr;
  StyleType m_nStyleType = StyleNone;
  CString m_strName;
  std::vector<CKpLineStyleGroup*> m_SubGroups;  // owned
  std::vector<LONG> m_Items;
  bool m_bDeleteOption = true;
};

// Groups nested deeper than this are refused when reading a file.
constexpr int KP_GROUP_MAX_DEPTH = 256;
