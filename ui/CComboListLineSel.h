#pragma once
// A drop-down list of line styles: six "System" entries for the built-in pens
// 0 to 5 (solid, dash, dot, dash-dot, dash-dot-dot, null), then one entry per
// style of the attached library, named after the style.
//
// Entry i <= 5 is drawn as a one-pixel black line of pen style i on white,
// with i as "%06d" at the left; entry i >= 6 as the library's sample of style
// i - 6. The selected entry has a black frame, the others a white one. The
// closed box shows the current entry the same way.
#include <QComboBox>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class CDC;
class CKpLineStyleLib;

class KP_API CComboListLineSel : public QComboBox {
  Q_OBJECT

 public:
  static constexpr long kSystemCount = 6;
  static constexpr int kItemHeight = 24;

  explicit CComboListLineSel(QWidget* parent = nullptr);
  ~CComboListLineSel() override;

  void AttachLineStyleLib(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetLineStyleLib() const { return m_pLineStyleLib; }
  // Rebuilds the entries; 0 (and empty) without a library.
  int InitContent();

  // The number a system entry shows ("%06d"); empty for other entries.
  static CString SystemLabel(long index);

  // Draws entry `index` into `rect` of a device context; entries beyond the
  // library draw nothing.
  void DrawItem(CDC& dc, long index, const RECT& rect, bool selected) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static void DrawSystemPen(CDC& dc, long index, const RECT& rect);

  CKpLineStyleLib* m_pLineStyleLib = nullptr;
};
