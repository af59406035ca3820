// The group record: name (narrow string), style type (i32), sub-group count
// (i32), the sub-group records, item count (i32), the item IDs as one block
// of little-endian i32, written root first.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "companions/CKpByteArrayEx.h"
#include "format/KpLittleEndian.h"
#include "model/CKpLineStyleGroup.h"

namespace {

// The smallest group record: empty name (its 4-byte count), style type,
// no sub-groups, no items.
constexpr long kMinGroupRecord = 16;

long BytesLeft(const CKpByteArrayEx& stream, int pos) {
  return pos >= 0 && pos <= stream.GetSize() ? stream.GetSize() - pos : 0;
}


void AddItems(CKpByteArrayEx& stream, const std::vector<LONG>& items) {
  // In chunks, so that the byte count of one Add always fits in an int.
  constexpr size_t kChunk = 1 << 16;
  std::vector<unsigned char> block;
  for (size_t first = 0; first < items.size(); first += kChunk) {
    const size_t n = std::min(kChunk, items.size() - first);
    block.resize(4 * n);
    for (size_t i = 0; i < n; ++i) kp::PutI32(block.data() + 4 * i, items[first + i]);
    stream.Add(block.data(), static_cast<int>(block.size()));
  }
}

}  // namespace

int CKpLineStyleGroup::Store(CKpByteArrayEx& stream) const {
  // Each group's items follow its sub-groups, so a group stays on the stack
  // until its last sub-group has been written.
  std::vector<std::pair<const CKpLineStyleGroup*, size_t>> stack;
  auto open = [&](const CKpLineStyleGroup* g) {
    stream.Add(g->m_strName);
    stream.Add(static_cast<long>(g->m_nStyleType));
    stream.Add(static_cast<long>(g->m_SubGroups.size()));
    stack.emplace_back(g, 0);
  };
  open(this);
  while (!stack.empty()) {
    auto& [g, next] = stack.back();
    if (next < g->m_SubGroups.size()) {
      const CKpLineStyleGroup* sub = g->m_SubGroups[next++];
      open(sub);  // may reallocate the stack: g and next are not used after
      continue;
    }
    stream.Add(static_cast<long>(g->m_Items.size()));
    AddItems(stream, g->m_Items);
    stack.pop_back();
  }
  return 1;
}

int CKpLineStyleGroup::Load(CKpByteArrayEx& stream, int& pos) {
  const size_t kept = m_SubGroups.size();
  const StyleType type = m_nStyleType;
  int p = pos;
  if (LoadLevel(stream, p, 1)) {
    pos = p;
    return 1;
  }
  // The groups this read created are ours whatever the delete option says.
  std::vector<CKpLineStyleGroup*> created(m_SubGroups.begin() + static_cast<std::ptrdiff_t>(kept), m_SubGroups.end());
  m_SubGroups.resize(kept);
  DeleteGroups(std::move(created), true);
  RemoveAll();
  m_nStyleType = type;  // what the group holds is emptied, not what it is
  return 0;
}

int CKpLineStyleGroup::LoadLevel(CKpByteArrayEx& stream, int& pos, int depth) {
  if (depth > KP_GROUP_MAX_DEPTH) return 0;
  const int before = pos;
  CString name = stream.GetStringAt(pos);
  if (pos == before) return 0;
  long type = 0;
  long subCount = 0;
  if (!stream.TryGetLongAt(pos, type) || !stream.TryGetLongAt(pos, subCount)) return 0;
  // Every sub-group record takes at least kMinGroupRecord bytes, and this
  // group's item count follows them.
  if (subCount < 0 || subCount > (BytesLeft(stream, pos) - 4) / kMinGroupRecord) return 0;
  m_strName = std::move(name);
  m_nStyleType = static_cast<StyleType>(type);
  for (long i = 0; i < subCount; ++i) {
    auto* g = new CKpLineStyleGroup;
    g->m_pParent = this;
    g->m_pOwnerLib = m_pOwnerLib;
    m_SubGroups.push_back(g);  // owned from here on, also when its read fails
    if (!g->LoadLevel(stream, pos, depth + 1)) return 0;
  }
  long itemCount = 0;
  if (!stream.TryGetLongAt(pos, itemCount)) return 0;
  if (itemCount < 0 || itemCount > BytesLeft(stream, pos) / 4) return 0;
  std::vector<unsigned char> block(static_cast<size_t>(itemCount) * 4);
  if (!stream.GetBytesAt(pos, block.data(), static_cast<int>(block.size()))) return 0;
  m_Items.resize(static_cast<size_t>(itemCount));
  for (size_t i = 0; i < m_Items.size(); ++i) m_Items[i] = kp::GetI32(block.data() + 4 * i);
  return 1;
}
