#pragma once
// The style list of the classic dialogs: one row per style of the attached
// library, in library order. A row shows the style's sample with its ID; the
// style's name is the row's text (for screen readers and tooltips). The
// selected rows have a black frame, the others a white one.
//
// Single selection by default; SetMultiSelect(true) lets the user pick any
// number of rows (the library manager's external list).
//
// The list emits selChange when the selection changes and dblClk on a double
// click or Enter on a row.
#include <QListView>
#include <vector>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CDC;
class CKpLineStyleLib;
class CListLineSelModel;

class KP_API CListLineSel : public QListView {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 28;

  explicit CListLineSel(QWidget* parent = nullptr);
  ~CListLineSel() override;

  void AttachLineStyleLib(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetLineStyleLib() const { return m_pLineStyleLib; }
  // Rebuilds the rows from the library; 0 (and empty) without a library.
  // Nothing is selected afterwards.
  int InitContent();

  void SetMultiSelect(bool on);
  bool IsMultiSelect() const;

  long GetCount() const;
  // The selected row (the current one when it is selected) or -1.
  // SetCurSel(-1) clears the selection; in a multi-selection list SetCurSel
  // selects that row only.
  long GetCurSel() const;
  void SetCurSel(long index);
  // The selected rows in ascending order.
  std::vector<long> GetSelItems() const;
  // Adds a row to the selection or takes it out (multi-selection lists).
  void SetSel(long index, bool on);

  // Draws row `index` into `rect` of a device context: the style's sample
  // and the frame. Rows outside the library draw nothing.
  void DrawItem(CDC& dc, long index, const RECT& rect, bool selected) const;

  // The pieces of a row, shared with CComboListLineSel: style `index` of
  // `lib` as its sample (from a copy, with the library's own symbols), and
  // the one-pixel frame, black when selected and white otherwise.
  static void DrawStyleSample(CDC& dc, CKpLineStyleLib& lib, long index, const RECT& rect);
  static void DrawFrame(CDC& dc, const RECT& rect, bool selected);

 signals:
  void selChange();
  void dblClk(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class CListLineSelDelegate;
  void PaintRow(QPainter* painter, long index, const QRect& rect, bool selected) const;

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  CListLineSelModel* m_pModel = nullptr;
};
