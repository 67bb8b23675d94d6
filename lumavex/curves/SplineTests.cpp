#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "lumavex/curves/BasePoints.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {
namespace {

// Points that wander irregularly, the same on every run.
std::vector<Sample> WanderingPoints(int n) {
  std::vector<Sample> points;
  unsigned state = 12345;
  for (int i = 0; i < n; ++i) {
    state = state * 1103515245u + 12345u;
    const double jitterX = static_cast<double>((state >> 8) % 1000) / 100;
    state = state * 1103515245u + 12345u;
    const double jitterY = static_cast<double>((state >> 8) % 1000) / 100;
    points.push_back({i * 7.0 + jitterX, 50 + jitterY * (i % 2 ? 1 : -1)});
  }
  return points;
}

// A slow obvious spline: the explicit not-a-knot knot vector, recursive basis functions over the
// whole vector, and a dense long double solve with partial pivoting.
class ReferenceSpline {
 public:
  explicit ReferenceSpline(std::span<const Sample> points)
      : n_(static_cast<int>(points.size())), degree_(n_ >= 4 ? 3 : n_ - 1) {
    knots_.assign(degree_ + 1, 0);
    if (degree_ == 3) {
      for (int i = 2; i <= n_ - 3; ++i) knots_.push_back(i);
    }
    knots_.insert(knots_.end(), degree_ + 1, n_ - 1);
    std::vector<std::vector<long double>> a(n_, std::vector<long double>(n_ + 2));
    for (int row = 0; row < n_; ++row) {
      for (int column = 0; column < n_; ++column) a[row][column] = Basis(column, degree_, row);
      a[row][n_] = points[row].x;
      a[row][n_ + 1] = points[row].y;
    }
    for (int column = 0; column < n_; ++column) {
      int best = column;
      for (int row = column + 1; row < n_; ++row) {
        if (std::fabs(a[row][column]) > std::fabs(a[best][column])) best = row;
      }
      std::swap(a[column], a[best]);
      for (int row = 0; row < n_; ++row) {
        if (row == column) continue;
        const long double factor = a[row][column] / a[column][column];
        for (int j = column; j < n_ + 2; ++j) a[row][j] -= factor * a[column][j];
      }
    }
    for (int i = 0; i < n_; ++i) control_.push_back({a[i][n_] / a[i][i], a[i][n_ + 1] / a[i][i]});
  }

  Sample At(long double t) const {
    long double x = 0;
    long double y = 0;
    for (int i = 0; i < n_; ++i) {
      x += Basis(i, degree_, t) * control_[i].first;
      y += Basis(i, degree_, t) * control_[i].second;
    }
    return {static_cast<double>(x), static_cast<double>(y)};
  }

 private:
  long double Basis(int i, int degree, long double t) const {
    if (degree == 0) {
      const long double last = knots_.back();
      if (knots_[i] <= t && t < knots_[i + 1]) return 1;
      return t == last && knots_[i] < last && knots_[i + 1] == last ? 1 : 0;
    }
    long double value = 0;
    if (knots_[i + degree] > knots_[i])
      value += (t - knots_[i]) / (knots_[i + degree] - knots_[i]) * Basis(i, degree - 1, t);
    if (knots_[i + degree + 1] > knots_[i + 1])
      value += (knots_[i + degree + 1] - t) / (knots_[i + degree + 1] - knots_[i + 1]) *
               Basis(i + 1, degree - 1, t);
    return value;
  }

  int n_;
  int degree_;
  std::vector<long double> knots_;
  std::vector<std::pair<long double, long double>> control_;
};

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Spline, TwoPointsGiveTheStraightSegmentWithUniformParameter) {
  const std::vector<Sample> points{{0, 0}, {10, 0}};
  const std::vector<Sample> samples = SplineSamples(points, 11);
  ASSERT_EQ(samples.size(), 11u);
  for (int r = 0; r < 11; ++r) {
    EXPECT_NEAR(samples[r].x, r, 1e-12) << r;
    EXPECT_EQ(samples[r].y, 0) << r;
  }
}

TEST(Spline, ThreePointsGiveTheParabolaThroughAllThree) {
  // x is linear in t and y = 8t(2 − t): both are reproduced exactly by a parabola.
  const std::vector<Sample> symmetric{{0, 0}, {4, 8}, {8, 0}};
  const std::vector<Sample> samples = SplineSamples(symmetric, 21);
  for (int r = 0; r < 21; ++r) {
    const double t = r * 0.1;
    EXPECT_NEAR(samples[r].x, 4 * t, 1e-12) << r;
    EXPECT_NEAR(samples[r].y, 8 * t * (2 - t), 1e-12) << r;
  }

  const std::vector<Sample> skewed{{0, 0}, {1, 3}, {5, 1}};
  const std::vector<Sample> odd = SplineSamples(skewed, 9);
  EXPECT_NEAR(odd[0].x, 0, 1e-12);
  EXPECT_NEAR(odd[4].x, 1, 1e-12);
  EXPECT_NEAR(odd[4].y, 3, 1e-12);
  EXPECT_NEAR(odd[8].x, 5, 1e-12);
  EXPECT_NEAR(odd[8].y, 1, 1e-12);
  // A parabola sampled at a uniform parameter has constant second differences.
  for (int r = 2; r < 9; ++r) {
    EXPECT_NEAR(odd[r].x - 2 * odd[r - 1].x + odd[r - 2].x, odd[2].x - 2 * odd[1].x + odd[0].x,
                1e-12);
    EXPECT_NEAR(odd[r].y - 2 * odd[r - 1].y + odd[r - 2].y, odd[2].y - 2 * odd[1].y + odd[0].y,
                1e-12);
  }
}

TEST(Spline, CollinearEquallySpacedPointsStayEquallySpaced) {
  for (int n = 4; n <= 40; n += 3) {
    std::vector<Sample> points;
    for (int i = 0; i < n; ++i) points.push_back({2.0 * i + 1, 3.0 * i - 2});
    const std::vector<Sample> samples = SplineSamples(points, 57);
    const double step = (n - 1.0) / 56;
    for (int r = 0; r < 57; ++r) {
      EXPECT_NEAR(samples[r].x, 1 + 2 * r * step, 1e-9) << n << " " << r;
      EXPECT_NEAR(samples[r].y, -2 + 3 * r * step, 1e-9) << n << " " << r;
    }
  }
}

TEST(Spline, SamplesAtWholeParametersHitTheBasePoints) {
  for (int n : {4, 5, 6, 7, 8, 13, 64, 1000}) {
    const std::vector<Sample> points = WanderingPoints(n);
    for (int perSpan : {1, 3}) {
      const int m = (n - 1) * perSpan + 1;
      const std::vector<Sample> samples = SplineSamples(points, m);
      for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(samples[i * perSpan].x, points[i].x, 1e-9) << n << " " << i;
        EXPECT_NEAR(samples[i * perSpan].y, points[i].y, 1e-9) << n << " " << i;
      }
    }
  }
}

TEST(Spline, BandedAndDenseLayoutsAgreeWithTheReference) {
  for (int n = 2; n <= 30; ++n) {
    const std::vector<Sample> points = WanderingPoints(n);
    const std::vector<Sample> banded = SplineControlPoints(points);
    const std::vector<Sample> dense = SplineControlPoints(points, CollocationLayout::Dense);
    ASSERT_EQ(banded.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      EXPECT_TRUE(SameBits(banded[i].x, dense[i].x) && SameBits(banded[i].y, dense[i].y))
          << n << " " << i;
    }

    const ReferenceSpline reference(points);
    const int m = 4 * n + 3;
    const std::vector<Sample> samples = SplineSamples(points, m);
    for (int r = 0; r < m; ++r) {
      const Sample expected = reference.At(static_cast<long double>(r) * (n - 1) / (m - 1));
      EXPECT_NEAR(samples[r].x, expected.x, 1e-9) << n << " " << r;
      EXPECT_NEAR(samples[r].y, expected.y, 1e-9) << n << " " << r;
    }
    const Sample at = SplineSampleAt(points, 0.3);
    const Sample expected = reference.At((n - 1) * 0.3L);
    EXPECT_NEAR(at.x, expected.x, 1e-9) << n;
    EXPECT_NEAR(at.y, expected.y, 1e-9) << n;
  }
}

TEST(Spline, DegenerateCountsGiveTheFirstPointOrNothing) {
  const std::vector<Sample> points{{3, 4}, {9, 1}, {0, 2}, {5, 5}};
  const std::vector<Sample> one = SplineSamples(points, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].x, 3);
  EXPECT_EQ(one[0].y, 4);
  EXPECT_TRUE(SplineSamples(points, 0).empty());
  EXPECT_TRUE(SplineSamples({}, 5).empty());

  const std::vector<Sample> single{{7, 8}};
  const std::vector<Sample> repeated = SplineSamples(single, 3);
  ASSERT_EQ(repeated.size(), 3u);
  EXPECT_EQ(repeated[2].x, 7);
  EXPECT_EQ(SplineSampleAt(single, 0.5).y, 8);
  EXPECT_EQ(SplineSampleAt({}, 0.5).x, 0);

  // Ends of the sample range and of the fraction are the end points.
  const std::vector<Sample> two = SplineSamples(points, 2);
  EXPECT_NEAR(two[1].x, 5, 1e-9);
  EXPECT_NEAR(SplineSampleAt(points, 1).y, 5, 1e-9);
  EXPECT_TRUE(std::isnan(SplineSampleAt(points, std::nan("")).x));
}

TEST(Spline, SamplePairsAreWordForWordTheSamplesOfEachCurve) {
  const auto same = [](const std::vector<Sample>& p, const std::vector<Sample>& q) {
    return p.size() == q.size() &&
           (p.empty() || std::memcmp(p.data(), q.data(), p.size() * sizeof(Sample)) == 0);
  };
  std::vector<Sample> first, second;
  for (int points = 1; points <= 7; ++points) {
    first.push_back({3.0 * points + 0.37 * points * points, 11.0 / points});
    second.push_back({7.25 - points, 2.5 * points - 0.1 * points * points});
    for (int m : {0, 1, 2, 3, 100, 997, 5003}) {
      const auto [a, b] = SplineSamplePair(first, second, m);
      EXPECT_TRUE(same(a, SplineSamples(first, m))) << points << " points, " << m;
      EXPECT_TRUE(same(b, SplineSamples(second, m))) << points << " points, " << m;
    }
  }
  // Different point counts: each curve on its own.
  const std::span<const Sample> shorter(first.data(), 4);
  const auto [a, b] = SplineSamplePair(shorter, second, 50);
  EXPECT_TRUE(same(a, SplineSamples(shorter, 50)));
  EXPECT_TRUE(same(b, SplineSamples(second, 50)));
}

TEST(Spline, ChainPointsComeOutInOrder) {
  BasePointChains chains([](const std::string&) { throw std::logic_error("fatal"); });
  AddBasePoint(chains.lists, chains.a, 1, 2);
  AddBasePoint(chains.lists, chains.a, 3.5, -4);
  AddBasePoint(chains.lists, chains.a, 6, 7);
  const std::vector<Sample> points = ChainPoints(chains.lists, chains.a);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[1].x, 3.5);
  EXPECT_EQ(points[1].y, -4);
  EXPECT_EQ(points[2].x, 6);
  EXPECT_TRUE(ChainPoints(chains.lists, chains.b).empty());
  EXPECT_TRUE(ChainPoints(chains.lists, common::kNoChain).empty());
}

TEST(Spline, FrameSampleCountSpacesSamplesByThePointSpacing) {
  const std::vector<Sample> segment{{0, 0}, {10, 0}};
  EXPECT_EQ(FrameSampleCount(segment, 30), 33);  // 10 px at 0.3 px
  EXPECT_EQ(FrameSampleCount(segment, 1000), 1);
  EXPECT_EQ(FrameSampleCount(segment, 0), 0);
  EXPECT_EQ(FrameSampleCount(std::span<const Sample>(segment).first(1), 30), 0);

  // A circle of radius 100 through 73 points is about 628.3 px long.
  std::vector<Sample> circle;
  for (int i = 0; i <= 72; ++i)
    circle.push_back(
        {100 * std::cos(i * std::numbers::pi / 36), 100 * std::sin(i * std::numbers::pi / 36)});
  const int count = FrameSampleCount(circle, 100);
  EXPECT_GE(count, 626);
  EXPECT_LE(count, 628);
}

TEST(Spline, BlockSplineJoinsTheBlocksAndRepeatsSingleSamples) {
  testing::TestDrawingContext context(4, 4);
  const std::vector<std::vector<TabletSample>> blocks{
      {{2, 3, 0.5}}, {{0, 0, 1}, {10, 0, 1}}, {{0, 0, 0}, {4, 8, 0}, {8, 0, 0}}};
  const std::vector<Sample> samples = BlockSpline(context, blocks, 11);
  ASSERT_EQ(samples.size(), 33u);
  for (int r = 0; r < 11; ++r) {
    EXPECT_EQ(samples[r].x, 2);
    EXPECT_EQ(samples[r].y, 3);
    EXPECT_NEAR(samples[11 + r].x, r, 1e-12);
  }
  EXPECT_NEAR(samples[22 + 5].y, 8, 1e-12);
  EXPECT_NEAR(samples[32].x, 8, 1e-12);
  EXPECT_EQ(BlockSpline(context, blocks, 1).size(), 3u);

  // 3 px, a 4 px jump to the next block, 6 px: 13 px at 0.3 px.
  const std::vector<std::vector<TabletSample>> stroke{{{0, 0, 0}, {3, 0, 0}},
                                                      {{3, 4, 0}, {3, 10, 0}}};
  EXPECT_EQ(FrameSampleCountOfBlocks(context, stroke, 30), 43);
}

TEST(Spline, AnEmptyBlockIsFatal) {
  testing::TestDrawingContext context(4, 4);
  const std::vector<std::vector<TabletSample>> blocks{{{1, 1, 0}, {2, 2, 0}}, {}};
  EXPECT_THROW(BlockSpline(context, blocks, 5), platform::ProcessEnded);
  EXPECT_THROW(FrameSampleCountOfBlocks(context, blocks, 100), platform::ProcessEnded);
}

}  // namespace
}  // namespace lumavex
