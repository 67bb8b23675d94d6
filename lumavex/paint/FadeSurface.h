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
