#pragma once
// The character grid of the character chooser: 103 cells of 40 x 40 pixels,
// cell i showing character i + 24 (24 to 126) of one font face.
//
// Cells are drawn through the device context as the engine draws its glyph
// decorations, so that a cell shows what a line will show. The list emits
// selChange when the current cell changes and dblClk on a double click or
// Enter on a cell.
#include <QListView>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CDC;
class CRect;
class CListTTSymbolModel;

class KP_API CListTTSymbol : public QListView {
  Q_OBJECT

 public:
  static constexpr long kFirstCode = 24;
  static constexpr long kLastCode = 126;
  static constexpr int kCellCount = static_cast<int>(kLastCode - kFirstCode + 1);
  static constexpr int kCellSize = 40;
  // Cell height of the glyph font, and the glyph's offset in its cell.
  static constexpr int kGlyphHeight = 32;
  static constexpr int kGlyphInset = 3;

  explicit CListTTSymbol(QWidget* parent = nullptr);
  ~CListTTSymbol() override;

  // Redraws every cell in `face` (UTF-8).
  void SetFaceName(const CString& face);
  const CString& GetFaceName() const { return m_strFaceName; }

  // Selects the cell of `code`; a code without a cell (below 24, above 126)
  // clears the selection. Returns 1 when a cell was selected, else 0.
  int SelectSymbol(long code);
  // The code of the selected cell, or -1 when no cell is selected.
  long GetSelectedSymbol() const;

  int GetCount() const { return kCellCount; }
  // The selected cell or -1; SetCurSel(-1) clears the selection.
  int GetCurSel() const;
  void SetCurSel(int index);

  // The code a cell stands for and back; -1 where there is none.
  static long CodeOfCell(int index);
  static int CellOfCode(long code);

  // Draws cell `index` in `rect` (device coordinates of `dc`): the white
  // cell, its character at (left + 3, top + 3), and a black frame when it is
  // selected.
  void DrawCell(CDC& dc, int index, const CRect& rect, bool selected) const;

 signals:
  void selChange();
  void dblClk(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class CListTTSymbolDelegate;

  CListTTSymbolModel* m_pModel = nullptr;
  CString m_strFaceName;
};
