#include "lumavex/paint/FadeSurface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "lumavex/canvas/PaintStep.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define LUMAVEX_FADE_SIMD
#include <immintrin.h>
#endif

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

// FadeAlphas one pixel at a time, the plain form the others are held to.
template <FadeProfile P>
void FadeAlphasPlainOf(const FadeAlphaTerms& terms, Sample centre, const int32_t* xs,
                       const int32_t* ys, int count, int32_t* alphas) {
  for (int i = 0; i < count; ++i) {
    const double t = Distance(centre, xs[i], ys[i]);
    alphas[i] = FadeAlphaQuick<P>(terms, t, t);
  }
}

void FadeAlphasPlain(FadeProfile profile, const FadeAlphaTerms& terms, Sample centre,
                     const int32_t* xs, const int32_t* ys, int count, int32_t* alphas) {
  WithProfile(profile, [&](auto p) {
    FadeAlphasPlainOf<decltype(p)::value>(terms, centre, xs, ys, count, alphas);
  });
}

#ifdef LUMAVEX_FADE_SIMD
bool BetweenTheFades(const FadeAlphaTerms& q) {
  return q.headFade <= q.arc && q.arc <= q.total - q.terminationFade;
}

[[gnu::target("avx2")]] inline __m256d Wide(double v) {
  return _mm256_set1_pd(v);
}

// The alphas of four profile values between the fades: -1 where the value is not above
// 0, else the value (at most 1) scaled and truncated, as SettledAlpha's steps.
[[gnu::target("avx2")]] inline __m128i AlphasOf4(__m256d o) {
  const __m256d positive = _mm256_cmp_pd(o, _mm256_setzero_pd(), _CMP_GT_OQ);
  __m256d v = _mm256_mul_pd(_mm256_min_pd(o, _mm256_set1_pd(1.0)), _mm256_set1_pd(255.9999));
  v = _mm256_min_pd(v, _mm256_set1_pd(255.0));
  return _mm256_cvttpd_epi32(_mm256_blendv_pd(_mm256_set1_pd(-1.0), v, positive));
}

// SeriesCos and SeriesSin of four angles, the same operations in the same order.
[[gnu::target("avx2")]] inline __m256d SeriesSum4(__m256d u, const double (&c)[9]) {
  const __m256d u2 = _mm256_mul_pd(u, u), u4 = _mm256_mul_pd(u2, u2);
  const __m256d p01 = _mm256_sub_pd(Wide(c[0]), _mm256_mul_pd(u, Wide(c[1])));
  const __m256d p23 = _mm256_sub_pd(Wide(c[2]), _mm256_mul_pd(u, Wide(c[3])));
  const __m256d p45 = _mm256_sub_pd(Wide(c[4]), _mm256_mul_pd(u, Wide(c[5])));
  const __m256d p67 = _mm256_sub_pd(Wide(c[6]), _mm256_mul_pd(u, Wide(c[7])));
  const __m256d inner =
      _mm256_add_pd(_mm256_add_pd(p45, _mm256_mul_pd(u2, p67)), _mm256_mul_pd(u4, Wide(c[8])));
  return _mm256_add_pd(_mm256_add_pd(p01, _mm256_mul_pd(u2, p23)), _mm256_mul_pd(u4, inner));
}
constexpr double kCosTerms[9] = {1.0,
                                 1.0 / 2.0,
                                 1.0 / 24.0,
                                 1.0 / 720.0,
                                 1.0 / 40320.0,
                                 1.0 / 3628800.0,
                                 1.0 / 479001600.0,
                                 1.0 / 87178291200.0,
                                 1.0 / 20922789888000.0};
constexpr double kSinTerms[9] = {1.0,
                                 1.0 / 6.0,
                                 1.0 / 120.0,
                                 1.0 / 5040.0,
                                 1.0 / 362880.0,
                                 1.0 / 39916800.0,
                                 1.0 / 6227020800.0,
                                 1.0 / 1307674368000.0,
                                 1.0 / 355687428096000.0};

// FadeAlphasPlainOf four pixels at a time for a quadrilateral between the fades. A
// pixel whose series bracket leaves its alpha unsettled, or whose angle lies beyond the
// series' reach, gets the library's alpha afterwards, as FadeAlphaQuick gives it.
template <FadeProfile P>
[[gnu::target("avx2")]] void FadeAlphasAvx2Of(const FadeAlphaTerms& q, Sample centre,
                                              const int32_t* xs, const int32_t* ys, int count,
                                              int32_t* alphas) {
  using namespace fade_detail;
  constexpr double pi = std::numbers::pi;
  const __m256d cx = Wide(centre.x), cy = Wide(centre.y), d = Wide(q.d), m = Wide(q.m);
  const __m256d margin = Wide(kSeriesMargin), sign = Wide(-0.0);
  for (int i = 0; i < count; i += 4) {
    // The last group of a count that is no multiple of four repeats its last pixel.
    const int lanes = std::min(4, count - i);
    const int32_t* groupXs = xs + i;
    const int32_t* groupYs = ys + i;
    int32_t* groupAlphas = alphas + i;
    int32_t partXs[4], partYs[4], partAlphas[4];
    if (lanes < 4) {
      for (int lane = 0; lane < 4; ++lane) {
        partXs[lane] = xs[i + std::min(lane, lanes - 1)];
        partYs[lane] = ys[i + std::min(lane, lanes - 1)];
      }
      groupXs = partXs, groupYs = partYs, groupAlphas = partAlphas;
    }
    const __m256d x =
        _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(groupXs)));
    const __m256d y =
        _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(groupYs)));
    const __m256d dx = _mm256_sub_pd(cx, x), dy = _mm256_sub_pd(cy, y);
    const __m256d t = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)));
    __m128i alpha;
    int unsettled = 0;
    if constexpr (P == FadeProfile::Gentle) {
      alpha = AlphasOf4(_mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(d, t), m), d));
    } else {
      __m256d angle, lo, hi;
      if constexpr (P == FadeProfile::Shadow) {
        angle = _mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(d, t), Wide(pi)), Wide(2 * q.d));
        const __m256d c = SeriesSum4(_mm256_mul_pd(angle, angle), kCosTerms);
        lo = _mm256_mul_pd(_mm256_sub_pd(Wide(1.0), _mm256_add_pd(c, margin)), m);
        hi = _mm256_mul_pd(_mm256_sub_pd(Wide(1.0), _mm256_sub_pd(c, margin)), m);
      } else {
        angle = _mm256_div_pd(_mm256_mul_pd(_mm256_sub_pd(Wide(q.d / 2), t), Wide(pi)), d);
        const __m256d s = _mm256_mul_pd(SeriesSum4(_mm256_mul_pd(angle, angle), kSinTerms), angle);
        lo = _mm256_mul_pd(_mm256_sub_pd(s, margin), m);
        hi = _mm256_mul_pd(_mm256_add_pd(s, margin), m);
      }
      alpha = AlphasOf4(lo);
      const __m128i same = _mm_cmpeq_epi32(alpha, AlphasOf4(hi));
      const __m256d reach =
          _mm256_cmp_pd(_mm256_andnot_pd(sign, angle), Wide(kSeriesReach), _CMP_LE_OQ);
      // One bit per pixel that keeps its bracketed alpha.
      const int kept = _mm_movemask_ps(_mm_castsi128_ps(same)) & _mm256_movemask_pd(reach);
      unsettled = ~kept & 0xF;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(groupAlphas), alpha);
    if (unsettled &= (1 << lanes) - 1) {
      alignas(32) double ts[4];
      _mm256_store_pd(ts, t);
      for (int lane = 0; lane < lanes; ++lane)
        if (unsettled >> lane & 1) groupAlphas[lane] = FadeAlphaOf<P>(q, ts[lane], ts[lane]);
    }
    if (lanes < 4) std::copy(partAlphas, partAlphas + lanes, alphas + i);
  }
}

void FadeAlphasAvx2(FadeProfile profile, const FadeAlphaTerms& terms, Sample centre,
                    const int32_t* xs, const int32_t* ys, int count, int32_t* alphas) {
  // The fades make every alpha a few more steps; the quadrilaterals in them go plain.
  if (!BetweenTheFades(terms))
    return FadeAlphasPlain(profile, terms, centre, xs, ys, count, alphas);
  WithProfile(profile, [&](auto p) {
    FadeAlphasAvx2Of<decltype(p)::value>(terms, centre, xs, ys, count, alphas);
  });
}
#endif

FadeAlphasFunction ChooseFadeAlphas() {
#ifdef LUMAVEX_FADE_SIMD
  if (__builtin_cpu_supports("avx2")) return FadeAlphasAvx2;
#endif
  return FadeAlphasPlain;
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

  FadeAlphaTerms Terms(int i, const SurfaceQuad& quad) const {
    const auto& [a, b, c, d] = quad.Corners();
    return {Distance(Middle(a, d), b.x, b.y), m, i * spacing, total, headFade, terminationFade};
  }
  // The point the profile measures from: the middle of the fade-curve edge A D, or for
  // the gloss the middle of the quadrilateral (of its diagonal A C).
  Sample Centre(const SurfaceQuad& quad) const {
    const auto& [a, b, c, d] = quad.Corners();
    return profile == FadeProfile::Gloss ? Middle(a, c) : Middle(a, d);
  }

  // The pixels of each quadrilateral are gathered, their alphas found together and
  // painted in the order they came. With the row-span scan the alphas come four at a
  // time where the processor can; the whole-box scan, the plain reference, takes each
  // alpha with the library's cosine and sine.
  void Quad(int i, const SurfaceQuad& quad) {
    const FadeAlphaTerms terms = Terms(i, quad);
    const Sample centre = Centre(quad);
    const uint32_t colour = ramp.At(i);
    const PixelRect reached =
        ForEachQuadPixel(step.Picture(), quad, step.Area(), scan,
                         [&](int x, int y, uint32_t& display, uint32_t& frame) {
                           if (terms.d <= kNoBand) return;
                           xs_[pending_] = x;
                           ys_[pending_] = y;
                           displays_[pending_] = &display;
                           frames_[pending_] = &frame;
                           if (++pending_ == kGathered) PaintGathered(terms, centre, colour);
                         });
    PaintGathered(terms, centre, colour);
    step.Widen(reached);
  }

  // Paints the gathered pixels, their alphas found together, in the order they came.
  void PaintGathered(const FadeAlphaTerms& terms, Sample centre, uint32_t colour) {
    if (scan == QuadScan::Spans) {
      FadeAlphas(profile, terms, centre, xs_.data(), ys_.data(), pending_, alphas_.data());
    } else {
      for (int j = 0; j < pending_; ++j) alphas_[j] = LibraryAlpha(terms, centre, xs_[j], ys_[j]);
    }
    for (int j = 0; j < pending_; ++j) {
      if (alphas_[j] < 0) continue;
      uint32_t& display = *displays_[j];
      uint32_t& frame = *frames_[j];
      const PixelPair painted =
          PaintPixel(xs_[j], ys_[j], colour, display, frame, static_cast<uint32_t>(alphas_[j]));
      step.PaintHeld(display, frame, xs_[j], ys_[j], painted.display, painted.frame);
    }
    pending_ = 0;
  }

  // FadeAlphaOf of the pixel at (x, y).
  int LibraryAlpha(const FadeAlphaTerms& terms, Sample centre, int x, int y) const {
    const double t = Distance(centre, x, y);
    return WithProfile(profile,
                       [&](auto p) { return FadeAlphaOf<decltype(p)::value>(terms, t, t); });
  }

  static constexpr int kGathered = 256;
  std::array<int32_t, kGathered> xs_, ys_, alphas_;
  std::array<uint32_t*, kGathered> displays_, frames_;
  int pending_ = 0;
};

}  // namespace

double FadeProfileValue(FadeProfile profile, double d, double t1, double t2, double m) {
  return WithProfile(profile,
                     [&](auto p) { return FadeProfileValueOf<decltype(p)::value>(d, t1, t2, m); });
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

void FadeAlphas(FadeProfile profile, const FadeAlphaTerms& terms, Sample centre, const int32_t* xs,
                const int32_t* ys, int count, int32_t* alphas) {
  static const FadeAlphasFunction alphasOf = ChooseFadeAlphas();
  alphasOf(profile, terms, centre, xs, ys, count, alphas);
}

std::vector<FadeAlphasFunction> FadeAlphasVariants() {
  std::vector<FadeAlphasFunction> variants{FadeAlphasPlain};
#ifdef LUMAVEX_FADE_SIMD
  if (__builtin_cpu_supports("avx2")) variants.push_back(FadeAlphasAvx2);
#endif
  return variants;
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
