#pragma once
// Fade surfaces: the band between a fade curve and a fade-width curve, cut into
// quadrilaterals at the point spacing, painted with a colour running from the head
// colour to the termination colour and an opacity that follows a cross profile and
// fades in and out over the head and termination fade distances.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <type_traits>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/curves/Spline.h"
#include "lumavex/paint/SurfaceBand.h"
#include "platform/Progress.h"

namespace lumavex {

// The opacity across the band, from the fade curve to the band width d.
enum class FadeProfile {
  Shadow,  // the shadow of a cylinder seen from outside: strongest on the fade curve
  Gloss,   // the gloss of a cylinder seen from inside: strongest mid-band
  Gentle,  // a linear slope from the fade curve to the band width
};

// The profile value of a pixel at distance `t1` from the middle of the fade-curve edge
// and `t2` from the middle of the quadrilateral, in a band `d` wide, at maximum
// opacity `m` (0..1); values at or below 0 paint nothing.
double FadeProfileValue(FadeProfile profile, double d, double t1, double t2, double m);

// FadeProfileValue for one profile, inline for the per-pixel loop; the profile that
// reads only t1 (or only t2) ignores the other.
template <FadeProfile P>
inline double FadeProfileValueOf(double d, double t1, double t2, double m) {
  constexpr double pi = std::numbers::pi;
  if constexpr (P == FadeProfile::Shadow) return (1 - std::cos((d - t1) * pi / (2 * d))) * m;
  if constexpr (P == FadeProfile::Gloss) return std::sin((d / 2 - t2) * pi / d) * m;
  if constexpr (P == FadeProfile::Gentle) return (d - t1) * m / d;
}

// Calls f with `profile` as a compile-time constant, a std::integral_constant, for the
// forms that are templates on the profile; returns what f returns.
template <class F>
decltype(auto) WithProfile(FadeProfile profile, F&& f) {
  switch (profile) {
    case FadeProfile::Gloss:
      return f(std::integral_constant<FadeProfile, FadeProfile::Gloss>{});
    case FadeProfile::Gentle:
      return f(std::integral_constant<FadeProfile, FadeProfile::Gentle>{});
    case FadeProfile::Shadow:
      break;
  }
  return f(std::integral_constant<FadeProfile, FadeProfile::Shadow>{});
}

// The colour ramp: quadrilateral i of a band of n samples (n >= 3) takes the head colour
// plus i 55-bit fixed-point steps per channel; the last one, n − 2, takes the
// termination colour exactly. Colours 0xRRGGBB.
class FadeColourRamp {
 public:
  FadeColourRamp(uint32_t head, uint32_t termination, int sampleCount);
  uint32_t At(int quad) const;

 private:
  uint32_t head_;
  uint32_t termination_;
  int last_;
  int64_t steps_[3];  // red, green, blue
};

// The alpha after the head and termination fades of profile value `o` at position
// `arc` along a band of length `total`, in pixels.
inline int FadeSurfaceAlpha(double o, double arc, double total, double headFade,
                            double terminationFade) {
  constexpr double kAlphaScale = 255.9999;
  const auto truncated = [](double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); };
  const double fadeOut = total - terminationFade;
  if (headFade <= arc && arc <= fadeOut) return truncated(o * kAlphaScale);
  int head = 255, termination = 255;
  if (arc < headFade) head = truncated(o * arc * kAlphaScale / headFade);
  if (arc > fadeOut && terminationFade > 0)
    termination = truncated((total - arc) * o * kAlphaScale / terminationFade);
  return std::min(head, termination);
}

// What the alpha of a pixel needs besides its distances: the band width d, the
// maximum opacity m (0..1) and the place of the quadrilateral along the band.
struct FadeAlphaTerms {
  double d;
  double m;
  double arc;
  double total;
  double headFade;
  double terminationFade;
};

// The alpha a pixel is painted with, or -1 when its profile value is 0 or less and it
// is left: the profile value with the library's cosine and sine, then the fades.
template <FadeProfile P>
inline int FadeAlphaOf(const FadeAlphaTerms& q, double t1, double t2) {
  double o = FadeProfileValueOf<P>(q.d, t1, t2, q.m);
  if (!(o > 0)) return -1;
  return FadeSurfaceAlpha(std::min(o, 1.0), q.arc, q.total, q.headFade, q.terminationFade);
}

namespace fade_detail {

// Cosine and sine by their Taylor series up to x^16 and x^17, for |x| <= kSeriesReach:
// the first term left out bounds the error of these alternating series, below 1e-12
// there, and the rounding of the sums adds less than 1e-14.
constexpr double kSeriesReach = 1.6;
// Evaluated in Estrin's order, pairs of terms first, so that the sums of one pixel
// do not wait on each other.
inline double SeriesCos(double x) {
  const double u = x * x, u2 = u * u, u4 = u2 * u2;
  const double p01 = 1.0 - u * (1.0 / 2.0), p23 = 1.0 / 24.0 - u * (1.0 / 720.0);
  const double p45 = 1.0 / 40320.0 - u * (1.0 / 3628800.0);
  const double p67 = 1.0 / 479001600.0 - u * (1.0 / 87178291200.0);
  const double p8 = 1.0 / 20922789888000.0;  // 1/16!
  return (p01 + u2 * p23) + u4 * ((p45 + u2 * p67) + u4 * p8);
}
inline double SeriesSin(double x) {
  const double u = x * x, u2 = u * u, u4 = u2 * u2;
  const double p01 = 1.0 - u * (1.0 / 6.0), p23 = 1.0 / 120.0 - u * (1.0 / 5040.0);
  const double p45 = 1.0 / 362880.0 - u * (1.0 / 39916800.0);
  const double p67 = 1.0 / 6227020800.0 - u * (1.0 / 1307674368000.0);
  const double p8 = 1.0 / 355687428096000.0;  // 1/17!
  return ((p01 + u2 * p23) + u4 * ((p45 + u2 * p67) + u4 * p8)) * x;
}
// How far the series value may lie from the library's: theirs within 1e-12 of the
// true value plus rounding, the library's within an ulp; a wide margin over both.
constexpr double kSeriesMargin = 1e-10;

// The alpha from a profile value known only to lie in [lo, hi]: FadeAlphaOf's steps
// from the value on never decrease, so equal alphas at both ends are the alpha of every
// value between. kUnsettled when they differ.
constexpr int kUnsettled = -2;
inline int SettledAlpha(const FadeAlphaTerms& q, double lo, double hi) {
  if (q.headFade <= q.arc && q.arc <= q.total - q.terminationFade) {
    // Between the fades, where most quadrilaterals lie, FadeSurfaceAlpha is the value
    // scaled and truncated; the test of the place is made once for both ends.
    const auto alpha = [](double o) {
      if (!(o > 0)) return -1;
      return static_cast<int>(std::clamp(std::min(o, 1.0) * 255.9999, 0.0, 255.0));
    };
    const int low = alpha(lo);
    return low == alpha(hi) ? low : kUnsettled;
  }
  const auto alpha = [&q](double o) {
    if (!(o > 0)) return -1;
    return FadeSurfaceAlpha(std::min(o, 1.0), q.arc, q.total, q.headFade, q.terminationFade);
  };
  const int low = alpha(lo);
  return low == alpha(hi) ? low : kUnsettled;
}

}  // namespace fade_detail

// FadeAlphaOf, the same alpha for every pixel, with the cosine and sine of the shadow
// and gloss profiles from short series rather than library calls. The series brackets
// the library's value within a margin; where the bracket leaves the alpha unsettled
// (an alpha boundary within about 1e-10 of the value, or an angle out of the series'
// reach), the library decides.
template <FadeProfile P>
inline int FadeAlphaQuick(const FadeAlphaTerms& q, double t1, double t2) {
  using namespace fade_detail;
  constexpr double pi = std::numbers::pi;
  if constexpr (P == FadeProfile::Gentle) {
    return FadeAlphaOf<P>(q, t1, t2);
  } else {
    // The angles exactly as FadeProfileValueOf computes them.
    const double angle =
        P == FadeProfile::Shadow ? (q.d - t1) * pi / (2 * q.d) : (q.d / 2 - t2) * pi / q.d;
    if (!(std::fabs(angle) <= kSeriesReach)) return FadeAlphaOf<P>(q, t1, t2);
    int alpha;
    if constexpr (P == FadeProfile::Shadow) {
      const double c = SeriesCos(angle);
      alpha = SettledAlpha(q, (1 - (c + kSeriesMargin)) * q.m, (1 - (c - kSeriesMargin)) * q.m);
    } else {
      const double s = SeriesSin(angle);
      alpha = SettledAlpha(q, (s - kSeriesMargin) * q.m, (s + kSeriesMargin) * q.m);
    }
    return alpha != kUnsettled ? alpha : FadeAlphaOf<P>(q, t1, t2);
  }
}

// The alphas of `count` pixels (xs[i], ys[i]) of one quadrilateral: FadeAlphaQuick of
// each, its distance taken from `centre`, the middle of the fade-curve edge for the
// shadow and gentle profiles and the middle of the quadrilateral for the gloss.
// Between the fades, four pixels at a time where the processor can.
void FadeAlphas(FadeProfile profile, const FadeAlphaTerms& terms, Sample centre, const int32_t* xs,
                const int32_t* ys, int count, int32_t* alphas);

// Every form of FadeAlphas this processor runs, the plain pixel-by-pixel one first,
// for the tests to hold the others to it.
using FadeAlphasFunction = void (*)(FadeProfile, const FadeAlphaTerms&, Sample, const int32_t*,
                                    const int32_t*, int, int32_t*);
std::vector<FadeAlphasFunction> FadeAlphasVariants();

// Draws the fade surface between `fadeCurve` and `widthCurve` (their base points) in
// `shape` with `profile`, the colours and settings of `context`, in one undo step with
// progress over the quadrilaterals. A rejected quadrilateral shows its status text and
// stops the drawing (what is drawn stays); one among the 100-sample check draws
// nothing. Fewer than three samples draw nothing and open no undo step. Returns the
// check of the quadrilateral that stopped the drawing, Accepted when none did.
QuadCheck DrawFadeSurface(DrawingContext& context, FadeProfile profile, BandShape shape,
                          std::span<const Sample> fadeCurve, std::span<const Sample> widthCurve,
                          platform::Progress& progress, QuadScan scan = QuadScan::Spans);

}  // namespace lumavex
