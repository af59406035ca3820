#pragma once
// The group selector: a drop-down-list combo box that shows the current
// group (folder icon and name) and drops down a CKpLineStyleTreeCtrl instead
// of its own list. The arrow keys step through the tree's visible groups,
// each step reported at once through groupChanged.
#include <QComboBox>

#include "platform/KpExport.h"

class CKpLineStyleGroup;
class CKpLineStyleTreeCtrl;

class KP_API CKpLineStylePicker : public QComboBox {
  Q_OBJECT

 public:
  explicit CKpLineStylePicker(QWidget* parent = nullptr);
  ~CKpLineStylePicker() override;

  // Sets the root and the current group; call before Init.
  void AttachStyleGroup(CKpLineStyleGroup* group);
  // Creates the tree. Width <= 0 takes the picker's width; height <= 0 takes 100.
  void Init(int droppedWidth, int droppedHeight);
  // Sets the current group and rebuilds the tree around it.
  void ReAttachStyleGroup(CKpLineStyleGroup* group);

  CKpLineStyleGroup* GetCurSelGroup() const;
  CKpLineStyleGroup* GetCurGroup() const { return m_pCurGroup; }
  CKpLineStyleGroup* GetRootGroup() const { return m_pRootGroup; }
  CKpLineStyleTreeCtrl* GetTreeCtrl() const { return m_pTreeCtrl; }

  // Shows the tree under the picker (left edge, bottom + 1).
  void DisplayTree();
  // Hides the tree without informing.
  void HideTree();
  bool GetDroppedState() const;

  int GetDroppedWidth() const { return m_nDroppedWidth; }
  void SetDroppedWidth(int width) { m_nDroppedWidth = width; }
  int GetDroppedHeight() const { return m_nDroppedHeight; }
  void SetDroppedHeight(int height) { m_nDroppedHeight = height; }
  int GetIconSize() const { return m_nIconSize; }

  // The combo box's own list never opens: these toggle the tree.
  void showPopup() override;
  void hidePopup() override;

 signals:
  // Re-emitted from the tree: the chosen group's address, and 0.
  void groupChanged(quintptr wparam, long lparam);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ToggleTree();

  CKpLineStyleGroup* m_pRootGroup = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  int m_nIconSize = 16;
  int m_nDroppedWidth = 100;
  int m_nDroppedHeight = 100;
  CKpLineStyleTreeCtrl* m_pTreeCtrl = nullptr;
};
