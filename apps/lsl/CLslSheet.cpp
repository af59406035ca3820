#include "apps/lsl/CLslSheet.h"

#include "apps/lsl/CLslMapFit.h"
#include "apps/lsl/CLslStyleDrawer.h"
#include "platform/CFont.h"
#include "platform/CRgn.h"

namespace {

constexpr COLORREF kTitleInk = RGB(20, 20, 20);
constexpr COLORREF kHeadingBand = RGB(233, 238, 245);
constexpr COLORREF kHeadingInk = RGB(30, 50, 90);
constexpr COLORREF kIdInk = RGB(120, 120, 120);
constexpr COLORREF kNameInk = RGB(0, 0, 0);
constexpr COLORREF kCellRule = RGB(226, 226, 226);

// The sample line at scale 1, in cell pixels (y down): a straight run, a
// bend up and a second run, clear of the label above it.
constexpr POINT kSampleLine[] = {{16, 42}, {150, 42}, {196, 27}, {344, 27}};

}  // namespace

CLslSheet::CLslSheet(CKpLineStyleLib& lib, const CLslSheetLayout& layout, CKpSymLib* symbols, bool antiAlias)
    : m_lib(lib), m_layout(layout), m_symbols(symbols), m_antiAlias(antiAlias), m_height(layout.Size().cy) {}

void CLslSheet::Draw(CDC& dc) {
  CLslMapFit::SetUpMapping(dc, m_height);
  dc.SetBkMode(TRANSPARENT);
  for (const LslSheetItem& item : m_layout.Items()) {
    switch (item.kind) {
      case LslSheetItem::Kind::Title:
        DrawTitle(dc, item);
        break;
      case LslSheetItem::Kind::Heading:
        DrawHeading(dc, item);
        break;
      case LslSheetItem::Kind::Cell:
        DrawCell(dc, item);
        break;
    }
  }
  dc.Flush();
}

void CLslSheet::Text(CDC& dc, long x, long baseline, const std::string& text, int height, int weight,
                     COLORREF color, UINT align) {
  CFont font;
  font.CreateFont(-static_cast<int>(m_layout.Px(height)), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                  0, kLabelFont);
  CFont* previous = dc.SelectObject(&font);
  dc.SetTextColor(color);
  dc.SetTextAlign(align | TA_BASELINE);
  dc.TextOut(static_cast<int>(x), Up(baseline), text);
  if (previous) dc.SelectObject(previous);
}

void CLslSheet::Clip(CDC& dc, const RECT& box) {
  // Regions are in device pixels, which here are the layout's own.
  CRgn region;
  region.CreateRectRgn(box.left, box.top, box.right, box.bottom);
  dc.SelectClipRgn(&region);
}

void CLslSheet::DrawTitle(CDC& dc, const LslSheetItem& item) {
  Text(dc, item.box.left, item.box.top + m_layout.Px(24), item.text, 20, FW_BOLD, kTitleInk, TA_LEFT);
}

void CLslSheet::DrawHeading(CDC& dc, const LslSheetItem& item) {
  const RECT band{item.box.left, Up(item.box.top + m_layout.Px(2)), item.box.right, Up(item.box.bottom)};
  dc.FillSolidRect(&band, kHeadingBand);
  Text(dc, item.box.left + m_layout.Px(8), item.box.bottom - m_layout.Px(8), item.text, 14, FW_BOLD,
       kHeadingInk, TA_LEFT);
}

void CLslSheet::DrawCell(CDC& dc, const LslSheetItem& item) {
  const RECT& b = item.box;
  const RECT bottomRule{b.left, Up(b.bottom), b.right, Up(b.bottom - 1)};
  const RECT rightRule{b.right - 1, Up(b.top), b.right, Up(b.bottom)};
  dc.FillSolidRect(&bottomRule, kCellRule);
  dc.FillSolidRect(&rightRule, kCellRule);
  // Drawing changes the style's current widths and colours: use a copy.
  CKpLineStyleObj style = m_lib.GetStyleObj(item.index);
  Clip(dc, RECT{b.left, b.top, b.right - 1, b.bottom - 1});
  DrawLabel(dc, b, style);
  DrawSampleLine(dc, b, style);
  dc.SelectClipRgn(nullptr);
}

void CLslSheet::DrawLabel(CDC& dc, const RECT& box, const CKpLineStyleObj& style) {
  const long baseline = box.top + m_layout.Px(17);
  Text(dc, box.left + m_layout.Px(50), baseline, std::to_string(style.GetID()), 12, FW_NORMAL, kIdInk,
       TA_RIGHT);
  Text(dc, box.left + m_layout.Px(58), baseline, style.GetName(), 13, FW_NORMAL, kNameInk, TA_LEFT);
}

void CLslSheet::DrawSampleLine(CDC& dc, const RECT& box, CKpLineStyleObj& style) {
  LslDeviceShape line;
  line.parts.emplace_back();
  for (const POINT& p : kSampleLine)
    line.parts.back().push_back(
        POINT{static_cast<LONG>(box.left + m_layout.Px(p.x)), Up(box.top + m_layout.Px(p.y))});
  LslDrawOptions options;
  options.ratio = m_layout.Scale();
  options.antiAlias = m_antiAlias;
  CLslStyleDrawer(style, m_symbols, options).Draw(dc, line);
}
