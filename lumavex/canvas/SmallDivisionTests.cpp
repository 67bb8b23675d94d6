#include <gtest/gtest.h>

#include "lumavex/canvas/SmallDivision.h"

namespace lumavex {
namespace {

TEST(SmallDivision, EqualsTheIntegerDivisionOverTheWholeDomain) {
  for (uint32_t d = 1; d <= kSmallDivisorLimit; ++d)
    for (uint32_t n = 0; n <= kSmallDividendLimit; ++n)
      ASSERT_EQ(DivideSmall(n, d), n / d) << n << " / " << d;
}

}  // namespace
}  // namespace lumavex
