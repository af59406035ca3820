#pragma once
// The sub-line list of the style editor: one 24-pixel row per sub-line of a
// style, in the style's order, each showing that sub-line's sample. The rows
// carry no data of their own; row i is sub-line i. A selected row has a
// black frame, any other a white one.
//
// The list emits selChange when the user changes the selected row and dblClk
// on a double click on a row. SetCurSel does not emit selChange.
#include <QListWidget>

#include "platform/KpExport.h"

class CKpLineStyleObj;
class CKpSymLib;

class KP_API CKpLineStyleBaseList : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 24;

  explicit CKpLineStyleBaseList(QWidget* parent = nullptr);
  ~CKpLineStyleBaseList() override;

  // The style whose sub-lines are listed; the list reads it at every paint
  // but never changes it.
  CKpLineStyleObj* m_pLineStyleObj = nullptr;

  // The symbols that custom-symbol sub-lines refer to (the library's own);
  // null leaves the engine's symbol library as the host set it.
  void SetSymbolLib(CKpSymLib* lib) { m_pSymLib = lib; }

  // One row per sub-line of m_pLineStyleObj ("BaseLine"); none without a style.
  void InitContent();
  // Appends a row for a sub-line just appended to the style; its index.
  int AddSubLine();
  // Drops row `index` (nothing for a bad index).
  void DeleteSubLine(int index);

  int GetCount() const { return count(); }
  // The selected row or -1.
  int GetCurSel() const;
  // Selects `index`; -1 or a bad index clears the selection.
  void SetCurSel(int index);

  // Paints row `index` into `rect` (viewport coordinates of the painter).
  void DrawItem(QPainter* painter, int index, const QRect& rect, bool selected);

 signals:
  void selChange();
  void dblClk(int index);

 private:
  CKpSymLib* m_pSymLib = nullptr;
};
