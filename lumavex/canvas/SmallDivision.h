#pragma once
// Division by a small divisor as a multiply and a shift, for per-pixel loops where a
// hardware division per channel would dominate.

#include <array>
#include <cstdint>

namespace lumavex {

// The largest dividend DivideSmall is exact for.
constexpr uint32_t kSmallDividendLimit = 0xFFFF;
// The largest divisor DivideSmall takes.
constexpr uint32_t kSmallDivisorLimit = 510;

// floor(2^32 / d) + 1 for every divisor d; entry 0 is unused.
inline constexpr std::array<uint64_t, kSmallDivisorLimit + 1> kSmallReciprocals = [] {
  std::array<uint64_t, kSmallDivisorLimit + 1> table{};
  for (uint64_t d = 1; d <= kSmallDivisorLimit; ++d) table[d] = (uint64_t{1} << 32) / d + 1;
  return table;
}();

// n / d for n ≤ kSmallDividendLimit and 1 ≤ d ≤ kSmallDivisorLimit, exactly as the
// integer division gives it.
constexpr uint32_t DivideSmall(uint32_t n, uint32_t d) {
  return static_cast<uint32_t>((n * kSmallReciprocals[d]) >> 32);
}

}  // namespace lumavex
