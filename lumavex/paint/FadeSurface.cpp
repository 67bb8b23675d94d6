#include "lumavex/paint/FadeSurface.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "lumavex/canvas/PaintStep.h"

namespace lumavex {
namespace {

constexpr int kRampShift = 55;
constexpr double kNoBand = 0.001;

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
    const bool quick = scan == QuadScan::Spans;
    switch (profile) {
      case FadeProfile::Shadow:
        return quick ? QuadWith<FadeProfile::Shadow, true>(i, quad)
                     : QuadWith<FadeProfile::Shadow, false>(i, quad);
      case FadeProfile::Gloss:
        return quick ? QuadWith<FadeProfile::Gloss, true>(i, quad)
                     : QuadWith<FadeProfile::Gloss, false>(i, quad);
      case FadeProfile::Gentle:
        return quick ? QuadWith<FadeProfile::Gentle, true>(i, quad)
                     : QuadWith<FadeProfile::Gentle, false>(i, quad);
    }
  }

  // One quadrilateral with the profile fixed, so that the pixel loop computes only the
  // distance the profile reads. The whole-box scan keeps the library's cosine and sine
  // throughout, as the plain reference of the quick form.
  template <FadeProfile P, bool Quick>
  void QuadWith(int i, const SurfaceQuad& quad) {
    const auto& [a, b, c, d] = quad.Corners();
    const Sample m1 = Middle(a, d), m2 = Middle(a, c);
    const FadeAlphaTerms terms{Distance(m1, b.x, b.y), m,        i * spacing,
                               total,                  headFade, terminationFade};
    const uint32_t colour = ramp.At(i);
    const PixelRect reached = ForEachQuadPixel(
        step.Picture(), quad, step.Area(), scan,
        [&](int x, int y, uint32_t& display, uint32_t& frame) {
          if (terms.d <= kNoBand) return;
          const double t1 = P == FadeProfile::Gloss ? 0 : Distance(m1, x, y);
          const double t2 = P == FadeProfile::Gloss ? Distance(m2, x, y) : 0;
          const int alpha =
              Quick ? FadeAlphaQuick<P>(terms, t1, t2) : FadeAlphaOf<P>(terms, t1, t2);
          if (alpha < 0) return;
          const PixelPair painted =
              PaintPixel(x, y, colour, display, frame, static_cast<uint32_t>(alpha));
          step.PaintHeld(display, frame, x, y, painted.display, painted.frame);
        });
    step.Widen(reached);
  }
};

}  // namespace

double FadeProfileValue(FadeProfile profile, double d, double t1, double t2, double m) {
  switch (profile) {
    case FadeProfile::Shadow:
      return FadeProfileValueOf<FadeProfile::Shadow>(d, t1, t2, m);
    case FadeProfile::Gloss:
      return FadeProfileValueOf<FadeProfile::Gloss>(d, t1, t2, m);
    case FadeProfile::Gentle:
      return FadeProfileValueOf<FadeProfile::Gentle>(d, t1, t2, m);
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
