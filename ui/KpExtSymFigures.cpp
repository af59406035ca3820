#include "ui/KpExtSymFigures.h"

#include <algorithm>

#include "platform/CBrush.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "ui/KpSymbolCells.h"

namespace kp::ui {

namespace {

constexpr int kMargin = 4;
constexpr int kFigurePen = 2;
constexpr int kPlainPen = 3;
constexpr int kSymbolLineGap = 6;  // the line stops this far before a symbol cell's end
constexpr int kSymbolGrow = 4;     // symbols get a little more room than the figures
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);

// Where a figure goes: the line runs from `left` to the tip at (right, midY);
// the figure sits in the square of side `side` at the right end.
struct FigureBox {
  LONG left, right, midY, side;
  LONG SquareLeft() const { return right - side; }
  LONG Top() const { return midY - side / 2; }
  LONG Bottom() const { return midY + side / 2; }
  POINT Tip() const { return POINT{right, midY}; }
  CRect Square() const { return CRect(SquareLeft(), Top(), right, Bottom()); }
};

// Selects a pen (and optionally a brush) for one figure and puts the DC's
// own back on destruction.
class FigureObjects {
 public:
  FigureObjects(CDC& dc, int penWidth, const COLORREF* fill) : m_dc(dc) {
    m_pen.CreatePen(PS_SOLID, penWidth, kInk);
    m_pOldPen = dc.SelectObject(&m_pen);
    if (fill) {
      m_brush.CreateSolidBrush(*fill);
      m_pOldBrush = dc.SelectObject(&m_brush);
    }
  }
  ~FigureObjects() {
    if (m_pOldBrush) m_dc.SelectObject(m_pOldBrush);
    m_dc.SelectObject(m_pOldPen);
  }
  FigureObjects(const FigureObjects&) = delete;
  FigureObjects& operator=(const FigureObjects&) = delete;

 private:
  CDC& m_dc;
  CPen m_pen;
  CBrush m_brush;
  CPen* m_pOldPen = nullptr;
  CBrush* m_pOldBrush = nullptr;
};

void Line(CDC& dc, LONG x0, LONG x1, LONG y, int width) {
  FigureObjects objects(dc, width, nullptr);
  dc.MoveTo(x0, y);
  dc.LineTo(x1, y);
}

void FilledPolygon(CDC& dc, const POINT* pts, int n, COLORREF fill) {
  FigureObjects objects(dc, kFigurePen, &fill);
  dc.Polygon(pts, n);
}

void OpenArrow(CDC& dc, const FigureBox& b) {
  FigureObjects objects(dc, kFigurePen, nullptr);
  const POINT tip = b.Tip();
  dc.MoveTo(b.SquareLeft(), b.Top());
  dc.LineTo(tip);
  dc.MoveTo(b.SquareLeft(), b.Bottom());
  dc.LineTo(tip);
}

void Triangle(CDC& dc, const FigureBox& b) {
  const POINT pts[3] = {{b.SquareLeft(), b.Top()}, b.Tip(), {b.SquareLeft(), b.Bottom()}};
  FilledPolygon(dc, pts, 3, kInk);
}

void Barbed(CDC& dc, const FigureBox& b, LONG notchX) {
  const POINT pts[4] = {{b.SquareLeft(), b.Top()}, b.Tip(), {b.SquareLeft(), b.Bottom()}, {notchX, b.midY}};
  FilledPolygon(dc, pts, 4, kInk);
}

void Diamond(CDC& dc, const FigureBox& b) {
  const LONG cx = b.SquareLeft() + b.side / 2;
  const POINT pts[4] = {{cx, b.Top()}, b.Tip(), {cx, b.Bottom()}, {b.SquareLeft(), b.midY}};
  FilledPolygon(dc, pts, 4, kInk);
}

void Node(CDC& dc, const FigureBox& b, bool round, COLORREF fill) {
  FigureObjects objects(dc, kFigurePen, &fill);
  const CRect sq = b.Square();
  if (round)
    dc.Ellipse(&sq);
  else
    dc.Rectangle(&sq);
}

void BuiltinFigure(CDC& dc, const FigureBox& b, long value) {
  if (value == 0) {
    Line(dc, b.left, b.right, b.midY, kPlainPen);
    return;
  }
  Line(dc, b.left, b.right, b.midY, kFigurePen);
  switch (value) {
    case 1: OpenArrow(dc, b); break;
    case 2: Triangle(dc, b); break;
    case 3: Barbed(dc, b, b.right - b.side / 3); break;
    case 4: Barbed(dc, b, b.SquareLeft() + b.side / 2); break;
    case 5: Diamond(dc, b); break;
    case 6: Node(dc, b, true, kLightGrey); break;
    case 7: Node(dc, b, false, kLightGrey); break;
    case 8: Node(dc, b, true, kInk); break;
    case 9: Node(dc, b, false, kInk); break;
    default: break;
  }
}

void SymbolFigure(CDC& dc, const FigureBox& b, CKpSymbol* symbol) {
  if (!symbol) {
    Line(dc, b.left, b.right, b.midY, kPlainPen);
    return;
  }
  Line(dc, b.left, b.right - kSymbolLineGap, b.midY, kFigurePen);
  CRect room = b.Square();
  room.InflateRect(kSymbolGrow, kSymbolGrow);
  symbol->Draw(&dc, room, kInk);
}

}  // namespace

void DrawExtSymFigure(CDC& dc, const RECT& cell, long value, CKpSymLib* lineLib, long lineCount,
                      CKpSymLib* resLib) {
  if (value < 0) return;
  CRect r(cell);
  r.NormalizeRect();
  r.DeflateRect(kMargin, kMargin);
  if (r.IsRectEmpty()) return;
  FigureBox box{r.left, r.right, r.top + r.Height() / 2, std::min(r.Width(), r.Height())};
  if (value < kExtSymFirstSymbol)
    BuiltinFigure(dc, box, value);
  else
    SymbolFigure(dc, box, SymbolOfCell(lineLib, lineCount, resLib, value - kExtSymFirstSymbol));
}

}  // namespace kp::ui
