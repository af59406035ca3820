#include "model/CKpLineStyleObjExt.h"

namespace {

// Bits 0..4 of the token name decorated positions; the rest are carried along
// from files without meaning to this class.
constexpr BYTE kPositionBits = (1u << KP_EXT_POS_COUNT) - 1u;

bool IsValidPos(long pos) { return pos >= 0 && pos < KP_EXT_POS_COUNT; }

BYTE BitOf(long pos) { return static_cast<BYTE>(1u << pos); }

}  // namespace

CKpLineStyleObjExt::CKpLineStyleObjExt() : m_byToken(0) {}

CKpLineStyleObjExt::CKpLineStyleObjExt(const CKpLineStyleObjExt& other) : m_byToken(0) {
  CopyFrom(other);
}

CKpLineStyleObjExt& CKpLineStyleObjExt::operator=(const CKpLineStyleObjExt& other) {
  CopyFrom(other);
  return *this;
}

CKpLineStyleObjExt::~CKpLineStyleObjExt() { Release(); }

void CKpLineStyleObjExt::CopyFrom(const CKpLineStyleObjExt& other) {
  if (&other == this) return;
  // Build the copies first so that this object is never seen half-copied.
  std::vector<std::unique_ptr<tagLineStyleObjExt>> copies;
  copies.reserve(other.m_Records.size());
  for (const auto& rec : other.m_Records) {
    copies.push_back(std::make_unique<tagLineStyleObjExt>(*rec));
  }
  Release();
  m_Records.swap(copies);
  m_byToken = other.m_byToken;
}

void CKpLineStyleObjExt::Release() {
  m_byToken = 0;
  m_Records.clear();
}

void CKpLineStyleObjExt::SetObjExtToken(unsigned char token) {
  m_byToken = static_cast<BYTE>((m_byToken & kPositionBits) | (token & ~kPositionBits));
}

std::size_t CKpLineStyleObjExt::RankOf(long pos) const {
  std::size_t rank = 0;
  for (long i = 0; i < pos; ++i) {
    if (m_byToken & BitOf(i)) ++rank;
  }
  return rank;
}

tagLineStyleObjExt* CKpLineStyleObjExt::GetObjExt(long pos) {
  if (!IsValidPos(pos) || !(m_byToken & BitOf(pos))) return nullptr;
  return m_Records[RankOf(pos)].get();
}

const tagLineStyleObjExt* CKpLineStyleObjExt::GetObjExt(long pos) const {
  return const_cast<CKpLineStyleObjExt*>(this)->GetObjExt(pos);
}

int CKpLineStyleObjExt::SetObjExt(long pos, tagLineStyleObjExt* rec) {
  if (!IsValidPos(pos)) return 0;
  const BYTE bit = BitOf(pos);
  const bool decorated = (m_byToken & bit) != 0;
  const std::size_t rank = RankOf(pos);

  // A record already stored for another position would end up with two
  // owners and be freed twice.
  if (rec != nullptr) {
    for (std::size_t k = 0; k < m_Records.size(); ++k) {
      if (m_Records[k].get() == rec && !(decorated && k == rank)) return 0;
    }
  }

  if (decorated) {
    std::unique_ptr<tagLineStyleObjExt>& stored = m_Records[rank];
    // rec may be the stored record itself: that is how the editor commits a
    // change made in place. It is then owned already and must not be adopted.
    std::unique_ptr<tagLineStyleObjExt> incoming(rec == stored.get() ? nullptr : rec);
    if (rec != nullptr && rec->nShape != 0) {
      if (incoming) stored = std::move(incoming);
      return 1;
    }
    m_Records.erase(m_Records.begin() + static_cast<std::ptrdiff_t>(rank));
    m_byToken = static_cast<BYTE>(m_byToken & ~bit);
    return 1;  // a separate rec of shape 0 is freed with incoming
  }

  std::unique_ptr<tagLineStyleObjExt> incoming(rec);
  if (incoming && incoming->nShape != 0) {
    m_Records.insert(m_Records.begin() + static_cast<std::ptrdiff_t>(rank), std::move(incoming));
    m_byToken = static_cast<BYTE>(m_byToken | bit);
  }
  return 1;
}

void CKpLineStyleObjExt::MoveObjExtID(long delta) {
  for (auto& rec : m_Records) {
    if (rec->nShape >= KP_EXT_SHAPE_FIRST_SYMBOL) {
      rec->nShape = static_cast<std::int32_t>(rec->nShape + delta);
    }
  }
}

int CKpLineStyleObjExt::IsUsedSymbol(long id) const {
  // Records exist only for bits 0..4, so a token of 0 (or one with only the
  // file's extra bits) finds nothing here.
  for (const auto& rec : m_Records) {
    if (rec->nShape == id) return 1;
  }
  return 0;
}

const tagLineStyleObjExt* CKpLineStyleObjExt::GetRecordAt(int k) const {
  if (k < 0 || k >= GetCount()) return nullptr;
  return m_Records[static_cast<std::size_t>(k)].get();
}
