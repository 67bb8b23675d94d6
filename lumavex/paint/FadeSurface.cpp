#include "lumavex/paint/FadeSurface.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "lumavex/canvas/PaintStep.h"

namespace lumavex {
namespace {

constexpr int kRampShift = 55;
constexpr double kAlphaScale = 255.9999;
constexpr double kNoBand = 0.001;

int Truncated(double v) {
  return static_cast<int>(std::clamp(v, 0.0, 255.0));
}

Sample Middle(Sample p, Sample q) {
  return {(p.x + q.x) / 2, (p.y + q.y) / 2};
}

// std::sqrt rather than std::hypot: the coordinates stay far from overflow, and hypot's
// care costs a tenth of the drawing.
double Distance(Sample p, double x, double y) {
  const double dx = p.x - x, dy = p.y - y;
  return std::sqrt(dx * dx + dy * dy);
}

// What every quadrilateral of one surface shares.
struct FadePass {
  PaintStep& step;
  FadeProfile profile;
  QuadScan scan;
  FadeColourRamp ramp;
  double m;
  double spacing;  // pixels between samples
  double total;
  double headFade;
  double terminationFade;

  void Quad(int i, const SurfaceQuad& quad) {
    const auto& [a, b, c, d] = quad.Corners();
    const Sample m1 = Middle(a, d), m2 = Middle(a, c);
    const double width = Distance(m1, b.x, b.y);
    const uint32_t colour = ramp.At(i);
    const double arc = i * spacing;
    const PixelRect reached = ForEachQuadPixel(
        step.Picture(), quad, step.Area(), scan,
        [&](int x, int y, uint32_t& display, uint32_t& frame) {
          if (width <= kNoBand) return;
          double o = FadeProfileValue(profile, width, Distance(m1, x, y), Distance(m2, x, y), m);
          if (!(o > 0)) return;
          o = std::min(o, 1.0);
          const int alpha = FadeSurfaceAlpha(o, arc, total, headFade, terminationFade);
          const PixelPair painted =
              PaintPixel(x, y, colour, display, frame, static_cast<uint32_t>(alpha));
          step.PaintHeld(display, frame, x, y, painted.display, painted.frame);
        });
    step.Widen(reached);
  }
};

}  // namespace

double FadeProfileValue(FadeProfile profile, double d, double t1, double t2, double m) {
  constexpr double pi = std::numbers::pi;
  switch (profile) {
    case FadeProfile::Shadow:
      return (1 - std::cos((d - t1) * pi / (2 * d))) * m;
    case FadeProfile::Gloss:
      return std::sin((d / 2 - t2) * pi / d) * m;
    case FadeProfile::Gentle:
      return (d - t1) * m / d;
  }
  return 0;
}

FadeColourRamp::FadeColourRamp(uint32_t head, uint32_t termination, int sampleCount)
    : head_(head & kColourMask), termination_(termination & kColourMask), last_(sampleCount - 2) {
  const int64_t divisor = std::max(last_, 1);
  for (int c = 0; c < 3; ++c) {
    const int shift = 16 - 8 * c;
    const int64_t difference =
        static_cast<int64_t>(Channel(termination_, shift)) - Channel(head_, shift);
    steps_[c] = difference * (int64_t{1} << kRampShift) / divisor;
  }
}

uint32_t FadeColourRamp::At(int quad) const {
  if (quad >= last_) return termination_;
  uint32_t colour = 0;
  for (int c = 0; c < 3; ++c) {
    const int shift = 16 - 8 * c;
    const int64_t value = Channel(head_, shift) + ((steps_[c] * quad) >> kRampShift);
    colour |= static_cast<uint32_t>(std::clamp<int64_t>(value, 0, 255)) << shift;
  }
  return colour;
}

int FadeSurfaceAlpha(double o, double arc, double total, double headFade, double terminationFade) {
  const double fadeOut = total - terminationFade;
  if (headFade <= arc && arc <= fadeOut) return Truncated(o * kAlphaScale);
  int head = 255, termination = 255;
  if (arc < headFade) head = Truncated(o * arc * kAlphaScale / headFade);
  if (arc > fadeOut && terminationFade > 0)
    termination = Truncated((total - arc) * o * kAlphaScale / terminationFade);
  return std::min(head, termination);
}

QuadCheck DrawFadeSurface(DrawingContext& context, FadeProfile profile, BandShape shape,
                          std::span<const Sample> fadeCurve, std::span<const Sample> widthCurve,
                          platform::Progress& progress, QuadScan scan) {
  const DrawingSettings& settings = context.Settings();
  const BandSamples band = SampleBand(shape, fadeCurve, widthCurve, settings.pointSpacing);
  if (band.check != QuadCheck::Accepted) {
    context.SetStatusText(QuadCheckMessage(band.check));
    return band.check;
  }
  const int n = band.Count();
  if (n < 3) return QuadCheck::Accepted;
  PaintStep step(context, true);
  const double spacing = settings.pointSpacing / 100.0;
  FadePass pass{step,
                profile,
                scan,
                FadeColourRamp(context.HeadColour(), context.TerminationColour(), n),
                settings.maxOpacity / 255.0,
                spacing,
                (n - 2) * spacing,
                settings.headFade,
                settings.terminationFade};
  progress.ProgressStart(static_cast<uint64_t>(n - 1));
  QuadCheck check = QuadCheck::Accepted;
  for (int i = 0; i + 1 < n && check == QuadCheck::Accepted; ++i) {
    const Sample a = band.a[i], b = band.b[i], c = band.b[i + 1], d = band.a[i + 1];
    check = CheckSurfaceQuad(a, b, c, d);
    if (check == QuadCheck::Accepted) pass.Quad(i, SurfaceQuad(a, b, c, d));
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  context.SetStatusText(QuadCheckMessage(check));
  step.End(false);
  return check;
}

}  // namespace lumavex
