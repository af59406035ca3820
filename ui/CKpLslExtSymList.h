#pragma once
// The symbol grid of "扩展符号选择": one cell per symbol of two libraries,
// the line library's first N, then the resource library's (the numbering of
// kp::ui::SymbolOfCell). Cells run down a column and on into the next, as in
// a multi-column list box; the list scrolls sideways.
//
// A cell is a one-pixel frame (the window colour, the highlight colour when
// selected) around the symbol in teal, or in the highlight colour when
// selected. The list emits selChange when the selection changes.
#include <QListView>

#include "companions/CKpSymLib.h"
#include "platform/CDC.h"
#include "platform/KpExport.h"

class CKpLslExtSymModel;

class KP_API CKpLslExtSymList : public QListView {
  Q_OBJECT

 public:
  static constexpr COLORREF kSymbolColor = 0x808000;

  explicit CKpLslExtSymList(QWidget* parent = nullptr);
  ~CKpLslExtSymList() override;

  void AttachLineSymLib(CKpSymLib* lib, long count);
  // The resource symbol library (the second one of the cells).
  void AttachLineStyleLib(CKpSymLib* resLib);
  // Fills the list with one cell per symbol; 0 (and empty) unless both
  // libraries are attached, else 1.
  int InitContent();

  int GetCount() const;
  // The selected cell or -1; SetCurSel(-1) (or any cell that is not there)
  // clears the selection.
  int GetCurSel() const;
  void SetCurSel(int index);

  void SetItemHeight(int height);
  void SetColumnWidth(int width);
  QSize CellSize() const { return gridSize(); }

  // Draws cell `index` into `cell`: 0 when there is nothing to draw (no
  // libraries, no such cell, a symbol that cannot be found; the frame is
  // drawn all the same for an existing cell), else 1.
  int Draw(CDC& dc, int index, const RECT& cell, bool selected);

  // The symbol of a cell, or null.
  CKpSymbol* SymbolAt(int index) const;

 signals:
  void selChange();

 private:
  CKpSymLib* m_pLineSymLib = nullptr;
  long m_nLineSymCount = 0;
  CKpSymLib* m_pResSymLib = nullptr;
  CKpLslExtSymModel* m_pModel = nullptr;
};
