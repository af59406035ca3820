#pragma once
// Where everything of a sample sheet goes: a title, then per section a
// heading band and its styles in cells, `columns` to a row. Boxes are in
// device pixels (y down) and grow with `scale`.
#include <string>
#include <vector>

#include "apps/lsl/CLslSheetSections.h"
#include "platform/KpTypes.h"

struct LslSheetItem {
  enum class Kind { Title, Heading, Cell };
  Kind kind;
  RECT box;
  std::string text;  // title and heading text
  long index = -1;   // style index, for cells
};

class CLslSheetLayout {
 public:
  CLslSheetLayout(const std::vector<LslSheetSection>& sections, const std::string& title, long columns,
                  double scale);

  const std::vector<LslSheetItem>& Items() const { return m_items; }
  SIZE Size() const { return m_size; }
  double Scale() const { return m_scale; }
  // Pixels at scale 1, multiplied by the scale and rounded.
  long Px(double v) const;

  // Cell size at scale 1.
  static constexpr long kCellWidth = 360;
  static constexpr long kCellHeight = 56;

 private:
  void Add(LslSheetItem::Kind kind, long left, long top, long width, long height, const std::string& text,
           long index);

  double m_scale;
  SIZE m_size{0, 0};
  std::vector<LslSheetItem> m_items;
};
