#pragma once
// Conversions that cannot overflow. Coordinates are 32-bit, but sums,
// products and lengths of coordinates are not (the diagonal of the 32-bit
// plane is about 6.07e9), and converting an out-of-range double to an
// integer is undefined. Intermediate values are therefore kept in 64 bits,
// bounded by +-2^62 so that adding a coordinate or a second such value never
// overflows, and results saturate at the 32-bit limits instead of wrapping.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/KpTypes.h"

namespace kp {

constexpr std::int64_t kLongMin = std::numeric_limits<LONG>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<LONG>::max();
constexpr std::int64_t kWideMax = std::int64_t{1} << 62;
constexpr double kWideLimit = 4611686018427387904.0;  // 2^62, exact in double

// A 64-bit value held to +-2^62.
inline std::int64_t BoundWide(std::int64_t v) { return v > kWideMax ? kWideMax : (v < -kWideMax ? -kWideMax : v); }

// Truncation toward zero into +-2^62; NaN gives 0.
inline std::int64_t TruncWide(double v) {
  if (std::isnan(v)) return 0;
  if (v >= kWideLimit) return kWideMax;
  if (v <= -kWideLimit) return -kWideMax;
  return static_cast<std::int64_t>(v);
}

// The engine's rounding (half away from zero) into +-2^62.
inline std::int64_t RoundWide(double v) { return TruncWide(v > 0 ? v + 0.5 : v - 0.5); }

// A 64-bit value saturated to the 32-bit range.
inline LONG SaturateToLong(std::int64_t v) {
  if (v > kLongMax) return static_cast<LONG>(kLongMax);
  if (v < kLongMin) return static_cast<LONG>(kLongMin);
  return static_cast<LONG>(v);
}

// The engine's rounding into a 32-bit coordinate.
inline LONG RoundToLong(double v) { return SaturateToLong(RoundWide(v)); }

// Length of the segment a-b from 64-bit differences.
inline double SegmentLength(const POINT& a, const POINT& b) {
  const double dx = static_cast<double>(std::int64_t{b.x} - std::int64_t{a.x});
  const double dy = static_cast<double>(std::int64_t{b.y} - std::int64_t{a.y});
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace kp
