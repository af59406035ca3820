#include "engine/CKpDashCycle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/KpSaturate.h"

namespace {

double EffectiveLength(DWORD value, double ratio) {
  if (value == 0) return 0.0;
  const double m = value * ratio;
  if (!(m > 1.0)) return 1.0;  // a ratio that is no number counts as tiny
  return std::min(m, CKpDashCycle::kMaxLength);
}

bool SameRatio(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool CKpDashCycle::Update(const DWORD* lengths, const BYTE* flags, long count, double ratio) {
  if (lengths == nullptr || flags == nullptr || count <= 0) return false;
  m_pSourceLengths = lengths;
  m_pSourceFlags = flags;
  const size_t n = static_cast<size_t>(count);
  const bool same = count == m_nCount && SameRatio(ratio, m_dRatio) &&
                    std::memcmp(lengths, m_values.data(), n * sizeof(DWORD)) == 0 &&
                    std::memcmp(flags, m_flags.data(), n) == 0;
  if (same) return true;
  m_nCount = count;
  m_dRatio = ratio;
  m_values.assign(lengths, lengths + n);
  m_flags.assign(flags, flags + n);
  Rebuild();
  return true;
}

void CKpDashCycle::Rebuild() {
  const size_t n = m_values.size();
  m_length.resize(n);
  m_prefix.assign(n + 1, 0.0);
  m_step.resize(n);
  m_threshold.resize(n);
  m_stepPrefix.assign(n + 1, 0);
  m_nMaxThreshold = 0;
  for (size_t e = 0; e < n; ++e) {
    const double m = EffectiveLength(m_values[e], m_dRatio);
    m_length[e] = m;
    m_prefix[e + 1] = m_prefix[e] + m;
    // Rounding x - m half away from zero, for a whole number x of units
    // left, gives x - ceil(m - 1/2) while that stays at least 0, and a
    // negative value (the segment ends inside the entry) exactly when
    // x < floor(m + 1/2).
    m_step[e] = static_cast<std::int64_t>(std::ceil(m - 0.5));
    m_threshold[e] = static_cast<std::int64_t>(std::floor(m + 0.5));
    m_stepPrefix[e + 1] = std::min(m_stepPrefix[e] + m_step[e], kp::kWideMax);
    m_nMaxThreshold = std::max(m_nMaxThreshold, m_threshold[e]);
  }
}

std::int64_t CKpDashCycle::StepDistance(std::int64_t cycles, long index) const {
  // Whole cycles beyond 2^62 units are further than any walk goes; holding
  // the product there keeps the sum exact.
  const std::int64_t period = StepPeriod();
  const std::int64_t whole =
      period == 0 || cycles <= kp::kWideMax / period ? cycles * period : kp::kWideMax;
  const std::int64_t part = m_stepPrefix[static_cast<size_t>(index)];
  return whole <= kp::kWideMax - part ? whole + part : kp::kWideMax;
}
