#include "lumavex/curves/BasePointEditing.h"

#include <gtest/gtest.h>

#include "lumavex/canvas/DrawingContextTestSupport.h"

namespace lumavex {
namespace {

class BasePointEditingTest : public ::testing::Test {
 protected:
  void Add(double x, double y) { AddBasePoint(chains.lists, chains.a, x, y); }
  std::vector<Sample> Points() { return ChainPoints(chains.lists, chains.a); }

  BasePointChains chains{[](const std::string&) { throw std::logic_error("fatal"); }};
};

TEST_F(BasePointEditingTest, PickFindsTheEarliestPointWithinTheScreenTolerance) {
  Add(10, 10);
  Add(12, 10);
  Add(11, 10);
  EXPECT_EQ(FindBasePoint(chains.lists, chains.a, 11.5, 10, 1, kPickTolerance).index, 0);
  EXPECT_EQ(FindBasePoint(chains.lists, chains.a, 16.5, 10, 1, kPickTolerance).index, 1);
  EXPECT_FALSE(FindBasePoint(chains.lists, chains.a, 17, 10, 1, kPickTolerance));
  // At 2000 % the tolerance is about a quarter of a picture pixel.
  EXPECT_EQ(FindBasePoint(chains.lists, chains.a, 11.24, 10, 20, kPickTolerance).index, 2);
  EXPECT_FALSE(FindBasePoint(chains.lists, chains.a, 11.26, 10.3, 20, kPickTolerance));
  EXPECT_FALSE(FindBasePoint(chains.lists, common::kNoChain, 10, 10, 1, kPickTolerance));
  EXPECT_FALSE(FindBasePoint(chains.lists, chains.b, 10, 10, 1, kPickTolerance));
}

TEST_F(BasePointEditingTest, InsertCopiesAndDeleteKeepsTwoPoints) {
  Add(0, 0);
  Add(50, 0);
  EXPECT_FALSE(InsertBasePoint(chains.lists, chains.a, 25, 0, 1));
  EXPECT_TRUE(InsertBasePoint(chains.lists, chains.a, 3, 4, 1));
  ASSERT_EQ(Points().size(), 3u);
  EXPECT_EQ(Points()[1].x, 0);

  PickedPoint picked = FindBasePoint(chains.lists, chains.a, 50, 0, 1, kPickTolerance);
  EXPECT_TRUE(DeleteBasePoint(chains.lists, chains.a, 50, 0, 1, picked));
  EXPECT_FALSE(picked);
  EXPECT_EQ(Points().size(), 2u);
  EXPECT_FALSE(DeleteBasePoint(chains.lists, chains.a, 0, 0, 1, picked));
  EXPECT_EQ(Points().size(), 2u);
}

TEST_F(BasePointEditingTest, ClampingMovesOnlyThePointsOutside) {
  Add(-3, 5);
  Add(4.5, 6.25);
  Add(120, -0.5);
  EXPECT_EQ(ClampBasePointsIntoPicture(chains.lists, chains.a, 100, 50), 2);
  const auto p = Points();
  EXPECT_EQ(p[0].x, 0);
  EXPECT_EQ(p[1].x, 4.5);
  EXPECT_EQ(p[1].y, 6.25);
  EXPECT_EQ(p[2].x, 99);
  EXPECT_EQ(p[2].y, 0);
}

TEST(QuadCheck, BowTiesAndOverlapsAreRejected) {
  EXPECT_EQ(CheckQuad({0, 0}, {10, 0}, {0, 10}, {10, 10}), QuadCheck::Twisted);
  EXPECT_EQ(CheckQuad({0, 0}, {10, 0}, {10, 10}, {0, 10}), QuadCheck::Accepted);
  EXPECT_EQ(CheckQuad({0, 0}, {10, 0}, {10, 10}, {0, 1e-9}), QuadCheck::Overlapping);
  EXPECT_EQ(CheckQuad({0, 0}, {10, 0}, {20, 0}, {5, 5}), QuadCheck::Accepted);  // touching diagonal
  EXPECT_EQ(QuadCheckMessage(QuadCheck::Twisted), "★基点がねじれています。");
  EXPECT_EQ(QuadCheckMessage(QuadCheck::Overlapping), "★基点が重なっています。");
}

TEST(MarksForEditing, ClearedInsideTheMarkedRectangleOnly) {
  testing::TestDrawingContext c(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) c.canvas.display.At(x, y) |= 0x7C000000;
  c.marked = {1, 1, 2, 9};
  ClearMarksForEditing(c.canvas, c.marked);
  EXPECT_TRUE(c.marked.Empty());
  EXPECT_EQ(c.canvas.display.At(1, 3) & 0x7C000000, 0x40000000u);
  EXPECT_EQ(c.canvas.display.At(3, 3) & 0x7C000000, 0x7C000000u);
  EXPECT_EQ(c.canvas.display.At(1, 0) & 0x7C000000, 0x7C000000u);
}

}  // namespace
}  // namespace lumavex
