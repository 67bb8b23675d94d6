#include <gtest/gtest.h>

#include <cmath>

#include "lumavex/curves/Bezier.h"

namespace lumavex {
namespace {

// Control samples whose weighted sums are easy to predict: x sums the weights, y = i / d gives
// u itself (the Bernstein weights reproduce linear functions), w wanders.
std::vector<TabletSample> IndicatorControl(int d) {
  std::vector<TabletSample> control;
  for (int i = 0; i <= d; ++i)
    control.push_back({1, static_cast<double>(i) / d, (i * 37 % 11) - 5.0});
  return control;
}

// A slow obvious Bezier: binomials from log-gamma and powers from powl, all in long double.
TabletSample ReferencePoint(std::span<const TabletSample> control, long double u) {
  const int d = static_cast<int>(control.size()) - 1;
  long double x = 0, y = 0, w = 0;
  for (int i = 0; i <= d; ++i) {
    const long double logBinomial =
        std::lgamma(d + 1.0L) - std::lgamma(i + 1.0L) - std::lgamma(d - i + 1.0L);
    const long double weight = std::exp(logBinomial) * std::pow(u, i) * std::pow(1 - u, d - i);
    x += weight * control[i].x;
    y += weight * control[i].y;
    w += weight * control[i].w;
  }
  return {static_cast<double>(x), static_cast<double>(y), static_cast<double>(w)};
}

class Bezier : public ::testing::Test {
 protected:
  BezierTables tables;
};

TEST_F(Bezier, TablesFactoriseEveryIntegerUpTo1613) {
  ASSERT_EQ(tables.Primes().size(), 255u);
  EXPECT_EQ(tables.Primes().back(), 1613);
  EXPECT_TRUE(tables.FactorsOf(0).empty());
  EXPECT_TRUE(tables.FactorsOf(1).empty());
  EXPECT_TRUE(tables.FactorsOf(1614).empty());
  for (int value = 2; value <= 1613; ++value) {
    long product = 1;
    for (const auto& factor : tables.FactorsOf(value)) {
      for (int e = 0; e < factor.exponent; ++e) product *= tables.Primes()[factor.primeIndex];
    }
    EXPECT_EQ(product, value);
  }
}

TEST_F(Bezier, ScaledBinomialsMatchLogGamma) {
  for (int d : {1, 2, 7, 40, 333, 1000, 1600, 1613}) {
    const std::vector<double> binomials = ScaledBinomials(tables, d);
    ASSERT_EQ(binomials.size(), static_cast<size_t>(d + 1));
    for (int i = 0; i <= d; ++i) {
      const long double expected =
          std::exp(std::lgamma(d + 1.0L) - std::lgamma(i + 1.0L) - std::lgamma(d - i + 1.0L)) *
          1e-307L;
      EXPECT_NEAR(binomials[i] / expected, 1, 1e-12) << d << " " << i;
      EXPECT_EQ(binomials[i], binomials[d - i]);
    }
  }
  EXPECT_DOUBLE_EQ(ScaledBinomials(tables, 6)[3], 20e-307);
  EXPECT_TRUE(ScaledBinomials(tables, 0).empty());
  EXPECT_TRUE(ScaledBinomials(tables, 1614).empty());
}

TEST_F(Bezier, TwoControlSamplesGiveTheSegmentWithExactEnds) {
  const std::vector<TabletSample> control{{1.1, 2.3, 0.7}, {5.9, 10.2, 1.3}};
  const std::vector<TabletSample> samples = BezierSamples(tables, control, 6);
  ASSERT_EQ(samples.size(), 6u);
  EXPECT_EQ(samples[0].x, 1.1);
  EXPECT_EQ(samples[0].w, 0.7);
  EXPECT_EQ(samples[5].y, 10.2);
  EXPECT_EQ(samples[5].w, 1.3);
  for (int r = 1; r < 5; ++r) {
    const double u = r / 5.0;
    EXPECT_NEAR(samples[r].x, 1.1 + 4.8 * u, 1e-12) << r;
    EXPECT_NEAR(samples[r].y, 2.3 + 7.9 * u, 1e-12) << r;
    EXPECT_NEAR(samples[r].w, 0.7 + 0.6 * u, 1e-12) << r;
  }
}

TEST_F(Bezier, ModerateDegreesMatchTheSlowReference) {
  for (int d : {2, 3, 10, 61, 250}) {
    std::vector<TabletSample> control;
    for (int i = 0; i <= d; ++i)
      control.push_back({i * 3.0 + (i * 7 % 5), 100.0 - (i * 13 % 17), i % 3 * 0.5});
    const int m = 37;
    const std::vector<TabletSample> samples = BezierSamples(tables, control, m);
    double u = 1.0 / (m - 1);
    for (int r = 1; r < m - 1; ++r, u += 1.0 / (m - 1)) {
      const TabletSample expected = ReferencePoint(control, u);
      EXPECT_NEAR(samples[r].x, expected.x, 1e-9) << d << " " << r;
      EXPECT_NEAR(samples[r].y, expected.y, 1e-9) << d << " " << r;
      EXPECT_NEAR(samples[r].w, expected.w, 1e-9) << d << " " << r;
    }
  }
}

TEST_F(Bezier, Degree1599KeepsFiniteWeightsThatSumToOne) {
  const std::vector<TabletSample> control = IndicatorControl(1599);
  const std::vector<TabletSample> middle = BezierSamples(tables, control, 3);
  EXPECT_NEAR(middle[1].x, 1, 1e-9);
  EXPECT_NEAR(middle[1].y, 0.5, 1e-9);

  const std::vector<TabletSample> samples = BezierSamples(tables, control, 1001);
  for (int r : {499, 500, 501}) {
    EXPECT_NEAR(samples[r].x, 1, 1e-9) << r;
    EXPECT_NEAR(samples[r].y, r / 1000.0, 1e-9) << r;
  }
  // Near u = 1 the product uⁱ × C(d, i) alone passes the double range; the weights must not.
  for (int r : {600, 700, 900, 990, 999}) {
    EXPECT_TRUE(std::isfinite(samples[r].w)) << r;
    EXPECT_NEAR(samples[r].x, 1, 1e-9) << r;
    EXPECT_NEAR(samples[r].y, r / 1000.0, 1e-9) << r;
  }
  // Squares at or below 1e-290 are dropped: near u = 0.27 that loses a tail of about 1e-5.
  for (int r = 1; r < 1000; ++r) {
    ASSERT_TRUE(std::isfinite(samples[r].x) && std::isfinite(samples[r].w)) << r;
    EXPECT_NEAR(samples[r].x, 1, 1e-4) << r;
  }
}

TEST_F(Bezier, DegenerateRequests) {
  const std::vector<TabletSample> control{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const std::vector<TabletSample> ends = BezierSamples(tables, control, 2);
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[1].x, 7);
  EXPECT_EQ(BezierSamples(tables, control, 1).size(), 1u);
  EXPECT_TRUE(BezierSamples(tables, control, 0).empty());
  EXPECT_TRUE(BezierSamples(tables, {}, 4).empty());
  const std::vector<TabletSample> single = BezierSamples(tables, std::span(control).first(1), 4);
  ASSERT_EQ(single.size(), 4u);
  EXPECT_EQ(single[3].w, 3);
  EXPECT_TRUE(BezierSamples(tables, std::vector<TabletSample>(1615), 4).empty());
  EXPECT_EQ(BezierSamples(tables, std::vector<TabletSample>(1614, {2, 2, 2}), 4).size(), 4u);
}

}  // namespace
}  // namespace lumavex
