#include "lumavex/curves/BasePoints.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace lumavex {
namespace {

TEST(BasePoints, ChainsKeepPointsInOrderAndRefuseTheMissingHandle) {
  BasePointChains chains([](const std::string&) { throw std::logic_error("fatal"); });
  EXPECT_FALSE(AddBasePoint(chains.lists, common::kNoChain, 1, 2));
  EXPECT_TRUE(AddBasePoint(chains.lists, chains.a, 1.5, 2));
  EXPECT_TRUE(AddBasePoint(chains.lists, chains.a, 3, 4.25));
  EXPECT_TRUE(AddBasePoint(chains.lists, chains.b, 9, 9));
  ASSERT_EQ(chains.lists.Count(chains.a), 2);
  const BasePoint* first = PointOf(chains.lists.First(chains.a));
  const BasePoint* last = PointOf(chains.lists.Last(chains.a));
  EXPECT_EQ(first->x, 1.5);
  EXPECT_EQ(last->y, 4.25);
  EXPECT_EQ(chains.lists.Previous(chains.a, chains.lists.Last(chains.a)), &first->link);

  chains.ClearAll();
  EXPECT_EQ(chains.lists.Count(chains.a), 0);
  EXPECT_EQ(chains.lists.Count(chains.b), 0);
  EXPECT_TRUE(AddBasePoint(chains.lists, chains.a, 0, 0));  // still usable after clearing
}

}  // namespace
}  // namespace lumavex
