#include "lumavex/curves/Bezier.h"

#include <array>
#include <cmath>

namespace lumavex {
namespace {

constexpr double kBinomialScale = 1e-307;
constexpr double kPowerScale = 1e307;
// A square of a power table at or below this is taken as 0, and so is every later square.
constexpr double kSquareFloor = 1e-290;
// Enough squares for every exponent up to BezierTables::kLargestInteger (below 2^11).
constexpr int kSquareCount = 11;

using Squares = std::array<double, kSquareCount>;

// v, v², v⁴, … v^(2^10), each square at or below the floor replaced by 0.
Squares SquaresOf(double v) {
  Squares squares{};
  squares[0] = v;
  for (int b = 1; b < kSquareCount; ++b) {
    const double square = squares[b - 1] * squares[b - 1];
    squares[b] = square > kSquareFloor ? square : 0;
  }
  return squares;
}

// 1e307 × v^e, multiplied together from the squares of the set bits of e.
double ScaledPower(const Squares& squares, int e) {
  double power = kPowerScale;
  for (int b = 0; e != 0; ++b, e >>= 1) {
    if (e & 1) power *= squares[b];
  }
  return power;
}

double IntegerPower(int base, int exponent) {
  double power = 1;
  for (int i = 0; i < exponent; ++i) power *= base;
  return power;
}

// The Bernstein weight of control sample i at u, from scaled powers and coefficients. Where u is
// near 1 and the degree high, uⁱ × C(d, i) can pass the double range before the (1 − u) factor
// brings it back; that term is then formed from the (1 − u) side first, which cannot overflow
// there.
double Term(const Squares& u, const Squares& v, const std::vector<double>& binomials, int d,
            int i) {
  if (i == 0) return ScaledPower(v, d) * kBinomialScale;
  if (i == d) return ScaledPower(u, d) * kBinomialScale;
  const double uPower = ScaledPower(u, i);
  const double uPart = uPower * binomials[i];
  if (!std::isinf(uPart)) return ScaledPower(v, d - i) * (uPart * kBinomialScale);
  return uPower * (ScaledPower(v, d - i) * binomials[i] * kBinomialScale);
}

TabletSample BezierPoint(std::span<const TabletSample> control,
                         const std::vector<double>& binomials, double u) {
  const int d = static_cast<int>(control.size()) - 1;
  const Squares uSquares = SquaresOf(u);
  const Squares vSquares = SquaresOf(1 - u);
  TabletSample point;
  for (int i = 0; i <= d; ++i) {
    const double weight = Term(uSquares, vSquares, binomials, d, i);
    point.x += weight * control[i].x;
    point.y += weight * control[i].y;
    point.w += weight * control[i].w;
  }
  return point;
}

}  // namespace

BezierTables::BezierTables() {
  std::vector<bool> composite(kLargestInteger + 1, false);
  for (int i = 2; i <= kLargestInteger; ++i) {
    if (composite[i]) continue;
    primes_.push_back(i);
    for (int multiple = i * i; multiple <= kLargestInteger; multiple += i)
      composite[multiple] = true;
  }
  firstFactor_.reserve(kLargestInteger + 2);
  for (int value = 0; value <= kLargestInteger; ++value) {
    firstFactor_.push_back(static_cast<int>(factors_.size()));
    int rest = value;
    for (int index = 0; rest > 1; ++index) {
      int exponent = 0;
      for (; rest % primes_[index] == 0; rest /= primes_[index]) ++exponent;
      if (exponent > 0) factors_.push_back({index, exponent});
    }
  }
  firstFactor_.push_back(static_cast<int>(factors_.size()));
}

std::span<const BezierTables::PrimePower> BezierTables::FactorsOf(int value) const {
  if (value < 0 || value > kLargestInteger) return {};
  return std::span<const PrimePower>(factors_).subspan(
      firstFactor_[value], firstFactor_[value + 1] - firstFactor_[value]);
}

std::vector<double> ScaledBinomials(const BezierTables& tables, int degree) {
  if (degree < 1 || degree > BezierTables::kLargestInteger) return {};
  const std::vector<int>& primes = tables.Primes();
  std::vector<double> binomials(degree + 1);
  binomials[0] = binomials[degree] = kBinomialScale;
  // The exponents of C(degree, i) = C(degree, i − 1) × (degree − i + 1) / i, prime by prime.
  std::vector<int> exponents(primes.size(), 0);
  for (int i = 1; i <= degree / 2; ++i) {
    for (const auto& factor : tables.FactorsOf(degree - i + 1))
      exponents[factor.primeIndex] += factor.exponent;
    for (const auto& factor : tables.FactorsOf(i)) exponents[factor.primeIndex] -= factor.exponent;
    double coefficient = kBinomialScale;
    for (size_t index = 0; index < primes.size() && primes[index] <= degree; ++index) {
      if (exponents[index] > 0) coefficient *= IntegerPower(primes[index], exponents[index]);
    }
    binomials[i] = binomials[degree - i] = coefficient;
  }
  return binomials;
}

std::vector<TabletSample> BezierSamples(const BezierTables& tables,
                                        std::span<const TabletSample> control, int m) {
  if (m < 1 || control.empty()) return {};
  if (m == 1 || control.size() == 1) return std::vector<TabletSample>(m, control.front());
  const int degree = static_cast<int>(control.size()) - 1;
  const std::vector<double> binomials = ScaledBinomials(tables, degree);
  if (binomials.empty()) return {};
  std::vector<TabletSample> samples(m);
  samples.front() = control.front();
  samples.back() = control.back();
  const double step = 1.0 / (m - 1);
  double u = step;
  for (int r = 1; r <= m - 2; ++r) {
    samples[r] = BezierPoint(control, binomials, u);
    u += step;
  }
  return samples;
}

}  // namespace lumavex
