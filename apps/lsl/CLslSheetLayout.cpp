#include "apps/lsl/CLslSheetLayout.h"

#include <cmath>

namespace {

constexpr long kMargin = 16;
constexpr long kTitleHeight = 40;
constexpr long kHeadingHeight = 28;
constexpr long kSectionGap = 10;

}  // namespace

long CLslSheetLayout::Px(double v) const { return std::lround(v * m_scale); }

CLslSheetLayout::CLslSheetLayout(const std::vector<LslSheetSection>& sections, const std::string& title,
                                 long columns, double scale)
    : m_scale(scale) {
  const long width = Px(2 * kMargin + columns * kCellWidth);
  long y = Px(kMargin);
  Add(LslSheetItem::Kind::Title, Px(kMargin), y, width - 2 * Px(kMargin), Px(kTitleHeight), title, -1);
  y += Px(kTitleHeight);
  for (const LslSheetSection& section : sections) {
    Add(LslSheetItem::Kind::Heading, Px(kMargin), y, width - 2 * Px(kMargin), Px(kHeadingHeight),
        section.heading + "  (" + std::to_string(section.indices.size()) + ")", -1);
    y += Px(kHeadingHeight);
    for (size_t i = 0; i < section.indices.size(); ++i) {
      const long column = static_cast<long>(i) % columns;
      const long row = static_cast<long>(i) / columns;
      Add(LslSheetItem::Kind::Cell, Px(kMargin + column * kCellWidth), y + row * Px(kCellHeight),
          Px(kCellWidth), Px(kCellHeight), "", section.indices[i]);
    }
    const long rows = (static_cast<long>(section.indices.size()) + columns - 1) / columns;
    y += rows * Px(kCellHeight) + Px(kSectionGap);
  }
  m_size = SIZE{static_cast<LONG>(width), static_cast<LONG>(y + Px(kMargin))};
}

void CLslSheetLayout::Add(LslSheetItem::Kind kind, long left, long top, long width, long height,
                          const std::string& text, long index) {
  const RECT box{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + width),
                 static_cast<LONG>(top + height)};
  m_items.push_back(LslSheetItem{kind, box, text, index});
}
