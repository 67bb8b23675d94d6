#include "lumavex/paint/SurfaceBand.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lumavex/curves/Polyline.h"

#ifdef LUMAVEX_BAND_SIMD
#include <immintrin.h>
#endif

namespace lumavex {
namespace {

constexpr int kCheckSamples = 100;
// More samples than any curve in a 30000-pixel picture needs at the finest spacing.
constexpr double kMaxBandSamples = 1 << 24;
constexpr double kBorderTolerance = 0.001;

bool Coincide(Sample p, Sample q) {
  return std::fabs(p.x - q.x) <= 1e-8 && std::fabs(p.y - q.y) <= 1e-8;
}

double Cross(Sample o, Sample p, Sample q) {
  return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

int Turn(Sample o, Sample p, Sample q) {
  const double c = Cross(o, p, q);
  return c > 1e-8 ? 1 : c < -1e-8 ? -1 : 0;
}

// Segments pq and rs cross at a point inside both; touching is no crossing.
bool SegmentsCross(Sample p, Sample q, Sample r, Sample s) {
  return Turn(p, q, r) * Turn(p, q, s) < 0 && Turn(r, s, p) * Turn(r, s, q) < 0;
}

// PixelIndex(std::ceil(v)) and PixelIndex(std::floor(v)) by the truncating conversion
// alone: the rounding functions are library calls on the baseline instruction set.
int CeilIndex(double v) {
  if (!(v > -kFarPixel)) return -kFarPixel;
  if (v >= kFarPixel) return kFarPixel;
  const int t = static_cast<int>(v);
  return t + (static_cast<double>(t) < v);
}
int FloorIndex(double v) {
  if (!(v > -kFarPixel)) return -kFarPixel;
  if (v >= kFarPixel) return kFarPixel;
  const int t = static_cast<int>(v);
  return t - (static_cast<double>(t) > v);
}

int CountForLengths(double la, double lb, int pointSpacing) {
  if (pointSpacing < 1) return 0;
  const double count = std::max(la, lb) * 100 / pointSpacing;
  if (!(count > 0)) return 0;
  return static_cast<int>(std::min(count, kMaxBandSamples));
}

}  // namespace

std::pair<std::vector<Sample>, std::vector<Sample>> BandCurvePair(BandShape shape,
                                                                  std::span<const Sample> curveA,
                                                                  std::span<const Sample> curveB,
                                                                  int count) {
  if (shape == BandShape::Spline) return SplineSamplePair(curveA, curveB, count);
  return {PolylineSamples(curveA, count), PolylineSamples(curveB, count)};
}

QuadCheck CheckSurfaceQuad(Sample a, Sample b, Sample c, Sample d) {
  const Sample corners[4] = {a, b, c, d};
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if (Coincide(corners[i], corners[j])) return QuadCheck::Overlapping;
  if (SegmentsCross(a, b, c, d) || SegmentsCross(b, c, d, a)) return QuadCheck::Twisted;
  return QuadCheck::Accepted;
}

BandSamples SampleBand(BandShape shape, std::span<const Sample> curveA,
                       std::span<const Sample> curveB, int pointSpacing) {
  BandSamples band;
  const auto [a, b] = BandCurvePair(shape, curveA, curveB, kCheckSamples);
  if (a.size() != kCheckSamples || b.size() != kCheckSamples) return band;
  for (int i = 0; i + 1 < kCheckSamples; ++i) {
    band.check = CheckSurfaceQuad(a[i], b[i], b[i + 1], a[i + 1]);
    if (band.check != QuadCheck::Accepted) return band;
  }
  const int n = CountForLengths(PolylineLength(a), PolylineLength(b), pointSpacing);
  std::tie(band.a, band.b) = BandCurvePair(shape, curveA, curveB, n);
  return band;
}

SurfaceQuad::SurfaceQuad(Sample a, Sample b, Sample c, Sample d) : corners_{a, b, c, d} {
  double area = 0;
  for (int i = 0; i < 4; ++i) area += Cross({0, 0}, corners_[i], corners_[(i + 1) % 4]);
  orientation_ = area < 0 ? -1 : 1;
  int reflex = -1;
  for (int i = 0; i < 4 && area != 0; ++i) {
    const double turn = Cross(corners_[(i + 3) % 4], corners_[i], corners_[(i + 1) % 4]);
    if (turn * orientation_ < 0) reflex = i;
  }
  concave_ = reflex >= 0;
  if (!concave_) {
    for (int i = 0; i < 4; ++i) edges_[i] = MakeEdge(i, (i + 1) % 4);
  } else {
    const int r = reflex, r1 = (r + 1) % 4, r2 = (r + 2) % 4, r3 = (r + 3) % 4;
    edges_ = {MakeEdge(r, r1), MakeEdge(r1, r2), MakeEdge(r2, r),
              MakeEdge(r, r2), MakeEdge(r2, r3), MakeEdge(r3, r)};
  }
  double minX = a.x, maxX = minX, minY = a.y, maxY = minY;
  for (const Sample& p : corners_) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  box_ = {CeilIndex(minX - kBorderTolerance), CeilIndex(minY - kBorderTolerance),
          FloorIndex(maxX + kBorderTolerance), FloorIndex(maxY + kBorderTolerance)};
  // Quadrilaterals of up to 400 square pixels (`area` is twice that) mostly hold few
  // enough pixels for the column buffer.
  constexpr double kColumnArea = 800;
  // In 64 bits: the corners of a huge quadrilateral give boxes wider than an int.
  const int64_t width = int64_t{box_.right} - box_.left;
  const int64_t height = int64_t{box_.bottom} - box_.top;
  byColumns_ = width < height && std::fabs(area) <= kColumnArea;
  scan_ = Bounds(edges_, concave_, byColumns_);
}

SurfaceQuad::Bounds::Bounds(const std::array<Edge, 6>& edges, bool concave, bool columns)
    : concave_(concave) {
  for (int i = 0; i < (concave ? 3 : 4); ++i) parts_[0].Add(edges[i], columns);
  for (int i = 3; concave && i < 6; ++i) parts_[1].Add(edges[i], columns);
}

SurfaceQuad::Edge SurfaceQuad::MakeEdge(int i, int j) const {
  const Sample p = corners_[i], q = corners_[j];
  const double ex = (q.x - p.x) * orientation_, ey = (q.y - p.y) * orientation_;
  return {p.x, p.y, ex, ey, kBorderTolerance * std::sqrt(ex * ex + ey * ey)};
}

void SurfaceQuad::Bounds::Part::Add(const Edge& e, bool columns) {
  // The edge holds where ex·(y − py) − ey·(x − px) + tol >= 0: along a row that is
  // k·x + c(y) >= 0 with k = −ey, along a column k·y + c(x) >= 0 with k = ex.
  const double k = columns ? e.ex : -e.ey;
  if (std::fabs(k) < 1e-9) return;
  const double reach = std::fabs(k);
  const bool lowerBound = k > 0;
  if (!(reach > (lowerBound ? lowerReach : upperReach))) return;
  const Line line{columns ? e.ey / k : -e.ex / k, (e.ex * e.py - e.ey * e.px - e.tolerance) / k};
  if (lowerBound) {
    lower = line, lowerReach = reach;
  } else {
    upper = line, upperReach = reach;
  }
}

int SurfaceQuad::Bounds::LinesPlain(int v, int count, int min, int max, int* firsts, int* lasts,
                                    int* having) const {
  int lines = 0;
  for (int i = 0; i < count; ++i) {
    const auto [first, last] = Whole(v + i, min, max);
    firsts[i] = first;
    lasts[i] = last;
    having[lines] = i;
    lines += first <= last;
  }
  return lines;
}

#ifdef LUMAVEX_BAND_SIMD
int SurfaceQuad::Bounds::LinesAvx2(int v, int count, int min, int max, int* firsts, int* lasts,
                                   int* having) const {
  const Part& part = parts_[0];
  const __m256d lowerSlope = _mm256_set1_pd(part.lower.slope);
  const __m256d lowerOffset = _mm256_set1_pd(part.lower.offset);
  const __m256d upperSlope = _mm256_set1_pd(part.upper.slope);
  const __m256d upperOffset = _mm256_set1_pd(part.upper.offset);
  const __m256d margin = _mm256_set1_pd(kSpanMargin);
  // Whole's limits: the first position clamped to [min, max + 1], the last to
  // [min − 1, max], so that an empty line gives first > last.
  const __m256d firstLow = _mm256_set1_pd(min), firstHigh = _mm256_set1_pd(max + 1.0);
  const __m256d lastLow = _mm256_set1_pd(min - 1.0), lastHigh = _mm256_set1_pd(max);
  int lines = 0;
  for (int i = 0; i < count; i += 4) {
    const __m256d at = _mm256_add_pd(_mm256_set1_pd(v + i), _mm256_set_pd(3, 2, 1, 0));
    // SpanAt's operations in its order: slope · v + offset, then the margin.
    const __m256d lo =
        _mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(lowerSlope, at), lowerOffset), margin);
    const __m256d hi =
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(upperSlope, at), upperOffset), margin);
    const __m256d some = _mm256_cmp_pd(lo, hi, _CMP_LE_OQ);
    __m256d firstAt = _mm256_round_pd(_mm256_min_pd(_mm256_max_pd(lo, firstLow), firstHigh),
                                      _MM_FROUND_TO_POS_INF | _MM_FROUND_NO_EXC);
    __m256d lastAt = _mm256_round_pd(_mm256_min_pd(_mm256_max_pd(hi, lastLow), lastHigh),
                                     _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    // A line without a span gets Whole's empty pair, 1 and 0.
    firstAt = _mm256_blendv_pd(_mm256_set1_pd(1), firstAt, some);
    lastAt = _mm256_blendv_pd(_mm256_setzero_pd(), lastAt, some);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(firsts + i), _mm256_cvttpd_epi32(firstAt));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lasts + i), _mm256_cvttpd_epi32(lastAt));
    unsigned held =
        static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(firstAt, lastAt, _CMP_LE_OQ)));
    held &= (1u << std::min(4, count - i)) - 1;
    // Without a branch per line: each index is written and counted only if held.
    for (int lane = 0; lane < 4; ++lane) {
      having[lines] = i + lane;
      lines += held >> lane & 1;
    }
  }
  return lines;
}
#endif

int SurfaceQuad::Bounds::Lines(int v, int count, int min, int max, int* firsts, int* lasts,
                               int* having) const {
#ifdef LUMAVEX_BAND_SIMD
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide && !concave_) return LinesAvx2(v, count, min, max, firsts, lasts, having);
#endif
  return LinesPlain(v, count, min, max, firsts, lasts, having);
}

}  // namespace lumavex
