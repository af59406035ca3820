#pragma once
// One custom symbol: a small vector drawing designed in a 128-unit box
// centred on its anchor point, drawn through a CDC.
#include <vector>

#include "companions/CKpSymbolParameter.h"
#include "platform/CDC.h"
#include "platform/KpExport.h"

class KP_API CKpSymbol {
 public:
  CKpSymbol();
  CKpSymbol(const CKpSymbol& src);
  CKpSymbol& operator=(const CKpSymbol& src);
  virtual ~CKpSymbol();

  // Draws the symbol at the parameter's position, scaled, turned and coloured
  // by it. `printing` is the DC's printing flag; the last two are reserved (0).
  void Draw(CDC* pDC, CKpSymbolParameter& param, int printing, int reserved1, int reserved2);
  // Draws the symbol fitted into a rectangle (previews, pickers).
  void Draw(CDC* pDC, RECT& rect, unsigned long colour);

  long m_nID;          // the library's key; the line-style library renumbers it
  CString m_strName;   // a display name
  // (the vector content is private to the implementation; see CKpSymbol.cpp)

  // --- vector content (design units: a 128-unit box centred on the anchor,
  // x right, y up). See CKpSymbol.cpp for how each kind reads its points.
  enum ElementKind : long {
    kPolyline = 1,       // >= 2 points, stroked
    kPolygon = 2,        // >= 3 points, outline only
    kFilledPolygon = 3,  // >= 3 points, filled and outlined
    kEllipse = 4,        // {centre, (rx, ry)}, outline only
    kFilledEllipse = 5,  // {centre, (rx, ry)}, filled and outlined
    kArc = 6,            // {centre, (rx, ry), (start, sweep)}, tenths of a degree, counter-clockwise
  };
  // Element flags.
  static constexpr long kFlagSharpCorners = 1;  // flat ends and mitred joins instead of round ones
  static constexpr long kKnownFlags = kFlagSharpCorners;

  struct Element {
    long kind = kPolyline;
    long flags = 0;
    long width = 0;  // stroke width in design units; 0 draws one device pixel
    std::vector<POINT> points;
    bool operator==(const Element& o) const;
    bool operator!=(const Element& o) const { return !(*this == o); }
  };

  // False (and nothing added) when the element's kind, flags, width or point
  // count is not one Draw understands.
  bool AddElement(const Element& element);
  const std::vector<Element>& GetElements() const { return m_elements; }
  void RemoveAllElements() { m_elements.clear(); }
  // Whether an element is well formed (the same checks AddElement and the loader make).
  static bool IsValidElement(const Element& element);

  // ID, name and content alike.
  bool operator==(const CKpSymbol& o) const;
  bool operator!=(const CKpSymbol& o) const { return !(*this == o); }

 private:
  std::vector<Element> m_elements;
};
