#pragma once
// Base of the drawing objects a device context selects: pens, brushes, fonts
// and regions. An object is empty until one of its Create functions succeeds;
// selecting an empty object fails and leaves the previous selection.
//
// A device context keeps a copy of the logical record of what it selects, so
// deleting or destroying a selected object never leaves the context with a
// dangling description; the object's pointer is kept only to hand it back
// from SelectObject.
#include "platform/KpExport.h"
#include "platform/KpGdiTypes.h"

enum class KpGdiKind { None, Pen, Brush, Font, Region };

class KP_API CGdiObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject() = default;

  bool IsValid() const { return m_bValid; }
  // Empties the object; stock objects cannot be deleted.
  BOOL DeleteObject();
  virtual KpGdiKind GetKind() const = 0;
  bool IsStock() const { return m_bStock; }

  // The shared stock objects (WHITE_BRUSH ... NULL_PEN); nullptr for an unknown index.
  static CGdiObject* GetStockObject(int index);

 protected:
  void MarkStock() { m_bStock = true; }
  bool m_bValid = false;

 private:
  bool m_bStock = false;
};
