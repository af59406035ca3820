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
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CKpLineStyleEngine;

class CKpByteArray;
class CKpByteArrayEx;
class CDC;
class CRect;

class KP_API CKpLineStyleObj {
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

  // --- drawing (defined with the engine, engine/CKpLineStyleObjDrawing.cpp) ---
  // Each operation has a form that draws through a given engine (last
  // argument) and a plain form that uses the module's gLineStyleEngine. The
  // engine must hold a DC (KeepDC) for anything to be drawn. Point counts are
  // 32-bit: a count outside 2..2^31-1 draws nothing.
  //
  // The module's engine is for the host's user-interface thread. Other
  // threads may draw at the same time through engines of their own, each
  // with its own DC, style objects and point arrays (a drawing may move a
  // point of the array for a moment and put it back).
  //
  // All sub-lines in list order, then the extended attributes. Polylines of
  // more than 256 points are thinned first when the engine allows it.
  void Polyline(POINT* pts, long n);
  void Polyline(POINT* pts, long n, CKpLineStyleEngine& engine);
  // Sub-line `index` only, no extended attributes; nothing for a bad index.
  void Polyline(long index, POINT* pts, long n);
  void Polyline(long index, POINT* pts, long n, CKpLineStyleEngine& engine);
  // All sub-lines with the pens of CreateFastPen; no thinning, no extended
  // attributes. Without a cache made by this style for its present number of
  // sub-lines, the host's pen draws every sub-line instead.
  void PolylineFast(POINT* pts, long n);
  void PolylineFast(POINT* pts, long n, CKpLineStyleEngine& engine);
  // One device polyline with the pen selected in the engine's DC.
  void PolylineFastFast(POINT* pts, long n);
  void PolylineFastFast(POINT* pts, long n, CKpLineStyleEngine& engine);
  // Builds the engine's fast-pen cache for this style (replacing any cache
  // the engine held) / frees it, whichever style made it.
  void CreateFastPen();
  void CreateFastPen(CKpLineStyleEngine& engine);
  void DeleteFastPen();
  void DeleteFastPen(CKpLineStyleEngine& engine);
  // Selects the first sub-line's pen into the engine's DC and leaves it there.
  void CreateFastFastPen();
  void CreateFastFastPen(CKpLineStyleEngine& engine);
  // Nothing to do: the engine's pen lives until it is next replaced.
  void DeleteFastFastPen();
  void DeleteFastFastPen(CKpLineStyleEngine& engine);
  // Part by part, `counts[i]` points each. A part of fewer than two points
  // draws nothing but its points are still skipped. A count that is negative
  // or beyond 32 bits ends the drawing: where later parts start is unknown.
  // The caller's points are never written to.
  void PolyPolyline(const POINT* pts, const unsigned long* counts, long parts);
  void PolyPolyline(const POINT* pts, const unsigned long* counts, long parts,
                    CKpLineStyleEngine& engine);
  // Fills the polygon, then strokes it with the style over the fill.
  void Polygon(POINT* pts, long n);
  void Polygon(POINT* pts, long n, CKpLineStyleEngine& engine);
  // Polygon ring by ring, with the guards of PolyPolyline.
  void PolyPolygon(POINT* pts, int* counts, long parts);
  void PolyPolygon(POINT* pts, int* counts, long parts, CKpLineStyleEngine& engine);

  // --- style-wide overrides of the current widths and colours ---
  // Locked sub-lines keep their values; white sub-lines stay white; the width
  // follows each sub-line's width type. They switch the engine to the host's
  // pen for plain sub-lines (m_bStylePen 0). Each returns 1.
  int SetLineStyle(long width, long color);
  int SetLineStyle(long width, long color, CKpLineStyleEngine& engine);
  int SetWidth(long width);
  int SetWidth(long width, CKpLineStyleEngine& engine);
  int SetColor(long color);
  int SetColor(long color, CKpLineStyleEngine& engine);
  // Restore the sub-lines' own values, locks or not, and make every sub-line
  // draw with its own pen (m_bStylePen 1). Each returns 1.
  int SetLineStyle();
  int SetLineStyle(CKpLineStyleEngine& engine);
  int SetWidth();
  int SetWidth(CKpLineStyleEngine& engine);
  int SetColor();
  int SetColor(CKpLineStyleEngine& engine);

  // --- previews (engine/KpSamples.cpp), each between KeepDC and RestoreDC ---
  void DrawSample(CDC* dc, RECT& rect, CRect& clip);
  void DrawSample(long index, CDC* dc, RECT& rect, CRect& clip);
  void DrawTestSample(CDC* dc, RECT& rect);
  void DrawDecorateSample(CDC* dc, CRect& rect, long length, long width, long position, long kind);

  // --- file records (format/CKpLineStyleObjRecords.cpp) ---
  // Form 1 (old streams): the 24-byte block (ID at offset 0, a packed
  // decoration at offsets 20..23), the name, the sub-lines in form 1. Store
  // returns the stream length; Load the read position, or -1 when malformed.
  long Store(CKpByteArray& stream) const;
  long Load(CKpByteArray& stream);
  // Form 3 (current): extended-attribute block, ID, name, form-3 sub-lines;
  // returns 1. StoreEx20 writes form 2 (24-byte block, name, form-2
  // sub-lines), readable by the readers of versions 20010228 and 20010614.
  int StoreEx(CKpByteArrayEx& stream) const;
  int StoreEx20(CKpByteArrayEx& stream) const;
  // Any form by file version; 1, or 0 for a truncated or malformed record.
  int LoadEx(CKpByteArrayEx& stream, int& pos, long version);
  // The packed decoration of the 24-byte block (width, height, shape,
  // placement code) that expresses this style's extended attributes, or
  // four zeros when no packed form can express them exactly.
  void PackDecoration(BYTE out[4]) const;

 protected:
  int LoadExtAtt(CKpByteArrayEx& stream, int& pos, long version);
  // Turns a packed decoration into extended attributes.
  void UnpackDecoration(const BYTE packed[4]);

 private:
  bool IsIndex(long i) const { return i >= 0 && i < Count(); }

  long m_nID;
  CString m_strName;
  CKpLineStyleObjExt m_ObjExt;
  std::vector<CKpLineStyleBase> m_BaseArray;
  CKpLineStyleBase m_Scratch;  // handed out by GetStyleBase for a bad index
};
