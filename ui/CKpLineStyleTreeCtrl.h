#pragma once
// The drop-down tree of a line-style picker: a pop-up under the picker that
// shows the root group with its sub-groups and, below the one leading to the
// current group, the chain of groups down to it. Choosing a node (click,
// Enter, or the picker's arrow keys) emits groupChanged with the group's
// address - the owner's WM_LSL_GROUP_CHANGED. Escape hides it silently.
//
// Each item keeps its group's address (quintptr) under Qt::UserRole and its
// folder image (0 closed, 1 open) under KP_TREE_IMAGE_ROLE.
#include <QTreeWidget>

#include "platform/KpExport.h"

class CKpLineStyleGroup;
class CKpLineStylePicker;

constexpr int KP_TREE_IMAGE_ROLE = Qt::UserRole + 1;

class KP_API CKpLineStyleTreeCtrl : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CKpLineStyleTreeCtrl(QWidget* owner = nullptr);
  ~CKpLineStyleTreeCtrl() override;

  // Remembers the picker that gets the focus back after a choice.
  void Init(CKpLineStylePicker* picker);
  // Sets the folder icons (image 0 closed, 1 open) of the items.
  void CreateImageList();
  // Sets the current group and rebuilds the tree around it.
  void AttachStyleGroup(CKpLineStyleGroup* group);
  // Rebuilds the items for the current group (empty for a null group).
  void InitStyleGroup();

  // Moves the window to the rectangle (screen coordinates) and shows it.
  void Display(const QRect& screenRect);
  // Hides the window, then Inform().
  void HideAndInform();
  // Emits groupChanged(group address of the selected item or 0, 0) and gives
  // the focus back to the picker.
  void Inform();

  void SelectItem(QTreeWidgetItem* item);
  QTreeWidgetItem* GetSelectedItem() const { return m_hSelectedItem; }
  // Moves the selected item to the next (true) or previous (false) visible
  // item and informs; nothing happens when there is no such item.
  void SelectNextItem(bool next);
  // The group of the item last chosen with the mouse or Enter.
  CKpLineStyleGroup* GetCurSelGroup() const { return m_pCurSelGroup; }
  CKpLineStyleGroup* GetCurGroup() const { return m_pCurGroup; }

  // The group of an item (null for null or an item without one).
  static CKpLineStyleGroup* ItemGroup(const QTreeWidgetItem* item);
  // The folder image of an item: 0 closed, 1 open, -1 for null.
  static int ItemImage(const QTreeWidgetItem* item);
  // The item of a group, or null.
  QTreeWidgetItem* FindItem(const CKpLineStyleGroup* group) const;

 signals:
  void groupChanged(quintptr wparam, long lparam);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, CKpLineStyleGroup* group, int image);
  static void SetItemImage(QTreeWidgetItem* item, int image);

  CKpLineStylePicker* m_pPicker = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  QTreeWidgetItem* m_hSelectedItem = nullptr;
  CKpLineStyleGroup* m_pCurSelGroup = nullptr;
};
