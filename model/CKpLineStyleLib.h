#pragma once
// A library of line styles: an ordered list of styles, a tree of groups that
// files them by ID, a name, and an embedded symbol library for the custom
// symbols its styles use. Files (.lsl) are read and written by the members
// declared under "file", defined in format/CKpLineStyleLibFile.cpp.
//
// Loading is all or nothing: every reader reads into a fresh library and
// replaces this one's content only on success; on failure the library keeps
// its previous content and modified flag.
#include <functional>
#include <vector>

#include "companions/CKpByteArray.h"
#include "companions/CKpByteArrayEx.h"
#include "companions/CKpSymLib.h"
#include "model/CKpLineStyleGroup.h"
#include "model/CKpLineStyleObj.h"
#include "platform/KpExport.h"

class CDC;

// File format words.
constexpr long KP_LSL_MAGIC = 0x0FC9D198;
constexpr long KP_LSL_VERSION_10 = 65537;
constexpr long KP_LSL_VERSION_20010228 = 20010228;
constexpr long KP_LSL_VERSION_20010614 = 20010614;
constexpr long KP_LSL_VERSION_20031017 = 20031017;

class KP_API CKpLineStyleLib {
 public:
  CKpLineStyleLib();
  CKpLineStyleLib(const CKpLineStyleLib& src);
  CKpLineStyleLib& operator=(const CKpLineStyleLib& src);
  virtual ~CKpLineStyleLib();

  // Copies through the current writer and reader (the source is compacted,
  // sorted and its modified flag cleared, as by any store). Copying a
  // library onto itself changes nothing.
  void CopyFrom(const CKpLineStyleLib& src);

  // --- identity ---
  long m_lReserved;
  CKpSymLib* m_pExtSymLib;  // a second symbol library a host may attach; not owned
  CString GetName() const { return m_strName; }
  void SetName(const CString& name) { m_strName = name; }
  CKpLineStyleGroup* GetRootGroup() const { return m_pRootGroup; }
  CKpSymLib& GetSymLib() { return m_SymLib; }
  const CKpSymLib& GetSymLib() const { return m_SymLib; }

  // --- lookup ---
  long Count() const { return static_cast<long>(m_Styles.size()); }
  // The style at index. A bad index (or an empty library) yields a scratch
  // style owned by the library, never memory outside the list.
  CKpLineStyleObj& GetStyleObj(long index);
  const CKpLineStyleObj& GetStyleObj(long index) const;
  CKpLineStyleObj* SetStyle(long index);
  CKpLineStyleObj* SetStyleByID(long id);
  CKpLineStyleObj* SetLineStyleByName(const CString& name);
  long FindID(long id) const;
  long ID2Index(long id) const;
  long GetIDAt(long index) const;
  int IsIDExisted(long id) const;
  int IsNameExisted(const CString& name) const;
  long FindByName(const CString& name) const;
  long Find(const CString& text, long start) const;
  long ReverseFind(const CString& text, long start) const;
  long GetLeagalID() const;

  // --- changes (each sets the modified flag; the argument is copied and returned) ---
  CKpLineStyleObj& AddStyleObj(CKpLineStyleObj& style);
  CKpLineStyleObj& InsertStyleObj(long index, CKpLineStyleObj& style);
  CKpLineStyleObj& InsertAfter(long index, CKpLineStyleObj& style);
  CKpLineStyleObj& SetStyleObj(long index, CKpLineStyleObj& style);
  int RemoveStyleObj(long index);
  int RemoveAll();

  // --- moving ---
  long GoTop(long index);
  long GoUp(long index);
  long GoDown(long index);
  long GoBottom(long index);

  // --- modified flag ---
  void SetModifiedFlag(BOOL on = TRUE) { m_bModified = on ? TRUE : FALSE; }
  BOOL IsModified() const { return m_bModified; }

  // --- symbols ---
  long AddSymbol(CKpSymbol* symbol);
  int IsUsedByExtAtt(long id) const;
  int RemoveSymbol(long id);
  void CompactSymLib();

  // --- default content (model/CKpLineStyleLibDefault.cpp) ---
  // Fills the library from "Line.lsl" in the module's folder (returns 1), or
  // with the 38 built-in styles (returns 38). Sets the modified flag.
  long CreateDefault();
  // The style a new style starts from; sets the modified flag.
  CKpLineStyleObj CreateSeedLine();

  // --- preview (engine/KpSamples.cpp) ---
  void DrawSample(long index, CDC* dc, RECT& rect, CRect& clip);

  // --- drawing period for hosts (on gLineStyleEngine) ---
  void KeepLineStyleDC(CDC* pDC);
  void StoreLineStyleDC(CDC* pDC);

  // --- file (format/CKpLineStyleLibFile.cpp) ---
  int StoreEx(CKpByteArrayEx& stream);
  int LoadEx(CKpByteArrayEx& stream);
  long Store(CKpByteArray& stream);
  long Load(CKpByteArray& stream);
  int StoreEx30(CKpByteArrayEx& stream);
  int LoadEx30(CKpByteArrayEx& stream);
  int AppendEx(CKpByteArrayEx& stream, BOOL overwrite);
  int AppendEx30(CKpByteArrayEx& stream, BOOL overwrite);
  int LoadFromFile(const CString& path);
  // Writes a temporary file beside the target, flushes it and renames it
  // over the target; 0 when any step fails (the old file is then intact).
  int SaveToFile(const CString& path);
  long WriteHead(CKpByteArray& stream);
  long ReadHead(CKpByteArray& stream);
  long ReadHead(CKpByteArrayEx& stream, int& pos);
  long ReadFrom10(CKpByteArray& stream);

  // The message of a version 1.0 stream with a wrong version word (host
  // string 31341) goes to this callback; by default it is written to
  // standard error. Never a modal box from the core.
  static void SetMessageCallback(std::function<void(const CString&)> callback);
  // Hands a message to the callback (or to standard error when none is set).
  static void ReportMessage(const CString& text);

 protected:
  int InitStyleGroup();

 private:
  // Moves the content of `other` into this library (used by the all-or-nothing readers).
  void TakeContentFrom(CKpLineStyleLib& other);
  // File reading steps (format/CKpLineStyleLibFile.cpp), all into a fresh
  // library: false when the stream is malformed or of an unknown version.
  bool ReadBody(CKpByteArrayEx& stream, long version, bool upTo20010614);
  bool ReadStyles(CKpByteArrayEx& stream, int& pos, long version);
  bool ReadOldBody(CKpByteArrayEx& stream);
  int Merge(CKpByteArrayEx& stream, BOOL overwrite, bool upTo20010614);

  CString m_strName;
  CKpLineStyleGroup* m_pRootGroup;
  CKpSymLib m_SymLib;
  BOOL m_bModified;
  std::vector<CKpLineStyleObj> m_Styles;
  CKpLineStyleObj m_Scratch;  // handed out by GetStyleObj for a bad index
};
