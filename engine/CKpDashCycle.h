#pragma once
// The dash pattern of the current sub-line as the pattern walker consumes
// it: the length of every entry in device units, their running sums over one
// cycle, and the whole-unit steps the integer walker takes per entry.
//
// The walker places a boundary at a distance computed from these sums
// (whole cycles times the cycle's length plus a partial sum), never by
// adding entry after entry. Passing over whole cycles without walking them
// therefore lands exactly where walking them would, however many there are,
// and the walker can skip the part of a long segment nobody can see while
// keeping the pattern's phase.
#include <cstdint>
#include <vector>

#include "platform/KpTypes.h"

class CKpDashCycle {
 public:
  // Brings the cycle up to date with a pattern and ratio (rebuilt only when
  // they differ from the last ones). False when there is no pattern.
  bool Update(const DWORD* lengths, const BYTE* flags, long count, double ratio);
  // True when the cycle was last brought up to date from these very arrays
  // and ratio. Within one drawing their content cannot change, so this is
  // all the walker checks per segment there.
  bool IsFrom(const DWORD* lengths, const BYTE* flags, long count, double ratio) const {
    return lengths == m_pSourceLengths && flags == m_pSourceFlags && count == m_nCount && ratio == m_dRatio &&
           count > 0;
  }

  long Count() const { return m_nCount; }
  bool IsDrawn(long entry) const { return m_flags[static_cast<size_t>(entry)] != 0; }
  // Length of an entry in device units: its value times the ratio, at least
  // one unit for a nonzero entry (a tiny ratio cannot stall the walk), 0 for
  // a zero entry.
  double Length(long entry) const { return m_length[static_cast<size_t>(entry)]; }
  // Sum of the lengths of one whole cycle; 0 when every entry is 0.
  double Period() const { return m_prefix.back(); }
  // Distance from the start of the cycle to the start of the entry `index`
  // of cycle `cycles` (index 0 .. Count()-1).
  double Distance(std::int64_t cycles, long index) const {
    return static_cast<double>(cycles) * Period() + m_prefix[static_cast<size_t>(index)];
  }

  // The integer walker rounds what is left of a segment after every entry.
  // Expressed in whole units: an entry takes Step(e) units, and the segment
  // ends inside it when fewer than Threshold(e) units are left.
  std::int64_t Step(long entry) const { return m_step[static_cast<size_t>(entry)]; }
  std::int64_t Threshold(long entry) const { return m_threshold[static_cast<size_t>(entry)]; }
  std::int64_t StepPeriod() const { return m_stepPrefix.back(); }
  std::int64_t MaxThreshold() const { return m_nMaxThreshold; }
  std::int64_t StepDistance(std::int64_t cycles, long index) const;

  // The longest an entry counts, in device units: far beyond any polyline a
  // 32-bit plane can hold, and small enough for every sum to stay exact in
  // 64 bits and finite in doubles, whatever the ratio.
  static constexpr double kMaxLength = 70368744177664.0;  // 2^46

 private:
  void Rebuild();

  long m_nCount = 0;
  double m_dRatio = 0;
  const DWORD* m_pSourceLengths = nullptr;
  const BYTE* m_pSourceFlags = nullptr;
  std::vector<DWORD> m_values;
  std::vector<BYTE> m_flags;
  std::vector<double> m_length;
  std::vector<double> m_prefix{0.0};
  std::vector<std::int64_t> m_step;
  std::vector<std::int64_t> m_threshold;
  std::vector<std::int64_t> m_stepPrefix{0};
  std::int64_t m_nMaxThreshold = 0;
};
