#pragma once
// One line style: an ID, a name, extended attributes (decorations at the
// ends, vertices and centres) and an ordered stack of sub-lines drawn in
// list order.
//
// Index errors are handled safely: operations that take a sub-line index
// check it and never touch memory outside the list.
//  - InsertBaseAt ignores an index outside 0..Count().
//  - RemoveLineStyleBase / RemoveAt / SetStyleBase / SetElementAt ignore an
//    index outside 0..Count()-1.
//  - GetElementAt returns nullptr for such an index; GetBaseAt returns a new
//    default sub-line; GetStyleBase returns a scratch sub-line owned by the
//    style (reset on every such call) so that a careless caller's writes land
//    nowhere that matters.
#include <vector>

#include "model/CKpLineStyleBase.h"
#include "model/CKpLineStyleObjExt.h"
#include "platform/KpTypes.h"

class CKpLineStyleObj {
 public:
  CKpLineStyleObj();
  CKpLineStyleObj(const CKpLineStyleObj& src);
  CKpLineStyleObj& operator=(const CKpLineStyleObj& src);
  virtual ~CKpLineStyleObj();

  void CopyFrom(const CKpLineStyleObj& src);

  // --- identity ---
  long GetID() const { return m_nID; }
  void SetID(long id) { m_nID = id; }
  CString GetName() const { return m_strName; }
  void SetName(const CString& name) { m_strName = name; }

  // --- sub-lines ---
  long Count() const { return static_cast<long>(m_BaseArray.size()); }
  CKpLineStyleBase& AddStyleBase(CKpLineStyleBase& s);
  void InsertBaseAt(long i, CKpLineStyleBase s);
  CKpLineStyleBase& SetStyleBase(long i, CKpLineStyleBase& s);
  void SetElementAt(int i, const CKpLineStyleBase& s);
  CKpLineStyleBase& GetStyleBase(long i);
  CKpLineStyleBase* GetElementAt(int i);
  const CKpLineStyleBase* GetElementAt(int i) const;
  CKpLineStyleBase GetBaseAt(int i) const;
  long RemoveLineStyleBase(long i);
  void RemoveAt(long i);
  // Removes every sub-line and every extended attribute.
  long RemoveAll();

  // --- extended attributes ---
  CKpLineStyleObjExt& GetObjExt() { return m_ObjExt; }
  const CKpLineStyleObjExt& GetObjExt() const { return m_ObjExt; }

  // --- style-wide flags and queries ---
  void SetHorizRepair(BOOL on);
  void SetVertRepair(BOOL on);
  short GetLineWidth() const;
  long GetFirstColor() const;
  static unsigned long MakeDWord(unsigned short lo, unsigned short hi);
  long GetExtendedWidth() const { return 0; }
  long IsExtendedLineLineStyle() const { return 0; }
  void SetExtendedWidth(unsigned char) {}
  // True when the style is a stack of plain, centred, width-locked lines
  // without decorations, which a host may join at crossroads.
  int CanProcessCrossroad() const;
  int IsUsedSymbol(long id) const;
  // Renumbers symbol references by delta: extended-attribute symbols and
  // sub-lines of kind 47 (the relative-angle custom symbol) only.
  void MoveObjExtID(long delta);

 private:
  bool IsIndex(long i) const { return i >= 0 && i < Count(); }

  long m_nID;
  CString m_strName;
  CKpLineStyleObjExt m_ObjExt;
  std::vector<CKpLineStyleBase> m_BaseArray;
  CKpLineStyleBase m_Scratch;  // handed out by GetStyleBase for a bad index
};
