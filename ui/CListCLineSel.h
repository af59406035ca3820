#pragma once
// The sub-line list of the classic style editor: one row per sub-line of the
// attached style, in the style's order, each showing that sub-line's sample.
// Row i is sub-line i; the rows keep no data of their own. A selected row has
// a black frame, any other a white one.
//
// The list emits selChange when the user changes the selected row and dblClk
// on a double click on a row. SetCurSel does not emit selChange.
#include <QListWidget>

#include "platform/KpExport.h"

class CKpLineStyleObj;
class CKpSymLib;

class KP_API CListCLineSel : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemHeight = 28;

  explicit CListCLineSel(QWidget* parent = nullptr);
  ~CListCLineSel() override;

  // The style whose sub-lines are listed; read at every paint, never changed.
  void AttachStyle(CKpLineStyleObj* style) { m_pLineStyleObj = style; }
  CKpLineStyleObj* GetStyle() const { return m_pLineStyleObj; }
  // The symbols that custom-symbol sub-lines name; null leaves the engine's
  // symbol library as the host set it.
  void SetSymbolLib(CKpSymLib* lib) { m_pSymLib = lib; }

  // One row per sub-line of the style; false (and no rows) without a style.
  bool InitContent();

  int GetCount() const { return count(); }
  // The selected row or -1.
  int GetCurSel() const;
  // Selects `index`; -1 or a bad index clears the selection.
  void SetCurSel(int index);

  // Paints row `index` into `rect` (viewport coordinates of the painter).
  void DrawItem(QPainter* painter, int index, const QRect& rect, bool selected) const;

 signals:
  void selChange();
  void dblClk(int index);

 private:
  CKpLineStyleObj* m_pLineStyleObj = nullptr;
  CKpSymLib* m_pSymLib = nullptr;
};
