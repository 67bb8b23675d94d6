#pragma once
// Bezier curves of very high degree, for the smoothing of tablet strokes (up to 1600 control
// samples). Binomial coefficients are carried scaled by 1e-307 and powers scaled by 1e307, so
// that degrees in the thousands neither overflow nor underflow; the scales cancel in each term.

#include <span>
#include <vector>

#include "lumavex/curves/Spline.h"

namespace lumavex {

// The prime factorisations of 0..1613, built once per run (at start-up) and shared by every
// evaluation.
class BezierTables {
 public:
  static constexpr int kLargestInteger = 1613;

  struct PrimePower {
    int primeIndex = 0;
    int exponent = 0;
  };

  BezierTables();

  // The primes up to kLargestInteger, ascending.
  const std::vector<int>& Primes() const { return primes_; }
  // The factorisation of `value` (0..kLargestInteger), ascending primes; empty for 0 and 1.
  std::span<const PrimePower> FactorsOf(int value) const;

 private:
  std::vector<int> primes_;
  std::vector<PrimePower> factors_;
  // Where each integer's factors start in factors_, with one end entry.
  std::vector<int> firstFactor_;
};

// 1e-307 × C(degree, i) for i = 0..degree (1 <= degree <= 1613), symmetric; empty otherwise.
std::vector<double> ScaledBinomials(const BezierTables& tables, int degree);

// Bezier samples of control samples Q0..Qd (2 <= d+1 <= 1614), m >= 2 samples; first and last
// exactly Q0 and Qd. Sample r lies at u = r / (m − 1), u accumulated by repeated addition; x, y and
// w are all weighted. A single control sample gives m copies, m = 1 gives Q0, and no control
// samples, m < 1 or a degree above 1613 give no samples.
std::vector<TabletSample> BezierSamples(const BezierTables& tables,
                                        std::span<const TabletSample> control, int m);

}  // namespace lumavex
