#include <gtest/gtest.h>

#include <vector>

#include "lumavex/curves/Polyline.h"

namespace lumavex {
namespace {

TEST(Polyline, SamplesRunStraightBetweenBasePointsWithParameterI) {
  const std::vector<Sample> points = {{0, 0}, {10, 0}, {10, 20}};
  // Five samples: t = 0, 0.5, 1, 1.5, 2.
  const std::vector<Sample> samples = PolylineSamples(points, 5);
  ASSERT_EQ(samples.size(), 5u);
  const double expected[5][2] = {{0, 0}, {5, 0}, {10, 0}, {10, 10}, {10, 20}};
  for (int r = 0; r < 5; ++r) {
    EXPECT_DOUBLE_EQ(samples[r].x, expected[r][0]) << r;
    EXPECT_DOUBLE_EQ(samples[r].y, expected[r][1]) << r;
  }
}

TEST(Polyline, TwoPointsGiveExactlyTheSplineSamples) {
  const std::vector<Sample> points = {{1.25, 7.5}, {93.75, -3.125}};
  for (int m : {2, 3, 7, 101, 998}) {
    const std::vector<Sample> line = PolylineSamples(points, m);
    const std::vector<Sample> spline = SplineSamples(points, m);
    ASSERT_EQ(line.size(), spline.size());
    for (size_t r = 0; r < line.size(); ++r) {
      EXPECT_EQ(line[r].x, spline[r].x) << m << " " << r;
      EXPECT_EQ(line[r].y, spline[r].y) << m << " " << r;
    }
  }
}

TEST(Polyline, DegenerateInputs) {
  const std::vector<Sample> one = {{3, 4}};
  EXPECT_TRUE(PolylineSamples({}, 5).empty());
  EXPECT_TRUE(PolylineSamples(one, 0).empty());
  EXPECT_EQ(PolylineSamples(one, 3).size(), 3u);
  const std::vector<Sample> two = {{3, 4}, {5, 6}};
  const std::vector<Sample> first = PolylineSamples(two, 1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].x, 3);
}

}  // namespace
}  // namespace lumavex
