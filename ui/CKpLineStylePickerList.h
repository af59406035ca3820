#pragma once
// The style list: a grid of square cells showing the current group's
// sub-groups as folders, then (in the root group only) the six built-in pens,
// then the group's styles, each drawn as a sample line with its name below.
//
// A cell's meaning follows from its index alone (CellKind). Only the visible
// cells are painted; PaintCount counts the cells painted since the last reset.
// The list emits selChange on a change of the current cell and dblClk on a
// double click or Enter on a cell.
#include <QListView>

#include "platform/KpExport.h"

class CKpLineStyleLib;
class CKpLineStyleGroup;
class CKpLineStylePickerModel;

class KP_API CKpLineStylePickerList : public QListView {
  Q_OBJECT

 public:
  enum CellKindValue { CellNone = -1, CellGroup = 0, CellPen = 1, CellStyle = 2 };
  static constexpr int kPenCount = 6;  // solid, dash, dot, dash-dot, dash-dot-dot, null

  explicit CKpLineStylePickerList(QWidget* parent = nullptr);
  ~CKpLineStylePickerList() override;

  void AttachLineStyleLib(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetLineStyleLib() const { return m_pLineStyleLib; }
  // Sets the group and rebuilds the cells (InitContent).
  void AttachStyleGroup(CKpLineStyleGroup* group);
  CKpLineStyleGroup* GetCurGroup() const { return m_pCurGroup; }
  // Rebuilds the cells; 0 (and empty) without a library, else 1.
  int InitContent();

  // What cell `index` stands for: CellGroup (out = sub-group index), CellPen
  // (out = pen 0 to 5), CellStyle (out = style ID) or CellNone (out = -1).
  int CellKind(int index, long& idOrPenOrGroupIndex) const;
  // The same rule for any group (null: CellNone).
  static int CellKindOf(const CKpLineStyleGroup* group, int index, long& idOrPenOrGroupIndex);
  // Number of cells of a group: sub-groups + 6 in the root + items.
  static int CellCountOf(const CKpLineStyleGroup* group);

  int GetCount() const;
  // The selected cell or -1; SetCurSel(-1) clears the selection.
  int GetCurSel() const;
  void SetCurSel(int index);

  // Cell size (the dialog sets width/3+1 and height*2/7+1); 80 x 80 at first.
  // A column width up to one pixel per column wider than the viewport allows
  // is narrowed to fit, so that width/3+1 still gives three columns; the
  // width the cells get is GetCellWidth.
  void SetColumnWidth(int width);
  int GetColumnWidth() const { return m_nColumnWidth; }
  int GetCellWidth() const { return m_nCellWidth; }
  void SetItemHeight(int height);
  int GetItemHeight() const { return m_nItemHeight; }

  // Draws cell `index` in `rect` (view coordinates of the painter). The
  // painter's state is the same afterwards.
  void OnDrawContent(QPainter* painter, int index, const QRect& rect, bool selected);

  long PaintCount() const { return m_nPaintCount; }
  void ResetPaintCount() { m_nPaintCount = 0; }

 signals:
  void selChange();
  void dblClk(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  friend class CKpLineStylePickerDelegate;
  void UpdateGrid();

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  CKpLineStylePickerModel* m_pModel = nullptr;
  int m_nColumnWidth = 80;
  int m_nCellWidth = 80;
  int m_nItemHeight = 80;
  long m_nPaintCount = 0;
};
