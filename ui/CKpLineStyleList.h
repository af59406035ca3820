#pragma once
// The style list of the library editor: one 25-pixel row per entry of the
// current group. A group other than the root starts with a "ParentGroup"
// entry, then come its sub-groups (folder and name), then its styles (each
// drawn as the style's sample with its ID).
//
// The entries before the styles number k = sub-groups + 1 outside the root
// (EntriesBeforeStyles); entry i >= k is the group's item i - k. Every user
// of the list goes through EntryKindOf so that the rule lives in one place.
//
// The list emits selChange when the selected entry changes and dblClk on a
// double click or Enter on an entry.
#include <QListView>

#include "platform/KpExport.h"

class CKpLineStyleLib;
class CKpLineStyleGroup;
class CKpLineStyleListModel;

class KP_API CKpLineStyleList : public QListView {
  Q_OBJECT

 public:
  enum EntryKind { EntryNone = -1, EntryParent = 0, EntryGroup = 1, EntryStyle = 2 };
  static constexpr int kItemHeight = 25;
  // The selected entry's frame (0x8000FF as a COLORREF: red 255, blue 128).
  static constexpr unsigned kSelectedFrame = 0x8000FFu;

  explicit CKpLineStyleList(QWidget* parent = nullptr);
  ~CKpLineStyleList() override;

  void AttachLineStyleLib(CKpLineStyleLib* lib);
  CKpLineStyleLib* GetLineStyleLib() const { return m_pLineStyleLib; }
  // Sets the group and rebuilds the entries (InitContent); nothing is selected.
  void AttachStyleGroup(CKpLineStyleGroup* group);
  CKpLineStyleGroup* GetCurGroup() const { return m_pCurGroup; }
  // Rebuilds the entries; 0 (and empty) without a library, else 1.
  int InitContent();

  // The count of entries before the styles (0 for no group).
  static long EntriesBeforeStyles(const CKpLineStyleGroup* group);
  // Number of entries of a group.
  static long EntryCountOf(const CKpLineStyleGroup* group);
  // What entry `index` of `group` is: EntryParent, EntryGroup (out =
  // sub-group index), EntryStyle (out = item index) or EntryNone (out = -1).
  static int EntryKindOf(const CKpLineStyleGroup* group, long index, long& out);
  int EntryKind(long index, long& out) const { return EntryKindOf(m_pCurGroup, index, out); }

  long GetCount() const;
  // The selected entry or -1; SetCurSel(-1) clears the selection.
  long GetCurSel() const;
  void SetCurSel(long index);
  // Repaints one entry.
  void RedrawEntry(long index);

  // Draws entry `index` into `rect` (viewport coordinates of the painter);
  // the painter's state is the same afterwards.
  void OnDrawContent(QPainter* painter, long index, const QRect& rect, bool selected);

 signals:
  void selChange();
  void dblClk(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CKpLineStyleLib* m_pLineStyleLib = nullptr;
  CKpLineStyleGroup* m_pCurGroup = nullptr;
  CKpLineStyleListModel* m_pModel = nullptr;
};
