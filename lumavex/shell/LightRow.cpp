#include "lumavex/shell/LightRow.h"

#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMAVEX_LIGHT_SIMD 1
#endif

namespace lumavex {

void ApplyLightRowPlain(const uint32_t* pixels, const uint32_t* factors, uint32_t* out,
                        int count) {
  for (int i = 0; i < count; ++i) out[i] = ApplyLightFactor(pixels[i], factors[i]);
}

namespace {

#ifdef LUMAVEX_LIGHT_SIMD
// Every byte is widened to 16 bits and multiplied by its factor byte. The product is at
// most 255 × 255, and round255's sum v + (v >> 8) + 128 at most 65407, so the rounding
// runs in 16-bit lanes without overflow. The factor's top byte is set to 255 first, and
// round255(a × 255) = a keeps each pixel's own top byte.
inline __m128i Round255Sse2(__m128i v) {
  v = _mm_add_epi16(v, _mm_srli_epi16(v, 8));
  return _mm_srli_epi16(_mm_add_epi16(v, _mm_set1_epi16(128)), 8);
}

void ApplyLightRowSse2(const uint32_t* pixels, const uint32_t* factors, uint32_t* out,
                       int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i top = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
    const __m128i f =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(factors + i)), top);
    const __m128i low = Round255Sse2(
        _mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi8(f, zero)));
    const __m128i high = Round255Sse2(
        _mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi8(f, zero)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
  }
  ApplyLightRowPlain(pixels + i, factors + i, out + i, count - i);
}

// The same eight pixels at a time. The 256-bit unpacks and the pack each work within
// their 128-bit halves, so together they leave every byte in its place.
[[gnu::target("avx2")]] inline __m256i Round255Avx2(__m256i v) {
  v = _mm256_add_epi16(v, _mm256_srli_epi16(v, 8));
  return _mm256_srli_epi16(_mm256_add_epi16(v, _mm256_set1_epi16(128)), 8);
}

[[gnu::target("avx2")]] void ApplyLightRowAvx2(const uint32_t* pixels, const uint32_t* factors,
                                               uint32_t* out, int count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i top = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i));
    const __m256i f =
        _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(factors + i)), top);
    const __m256i low = Round255Avx2(
        _mm256_mullo_epi16(_mm256_unpacklo_epi8(p, zero), _mm256_unpacklo_epi8(f, zero)));
    const __m256i high = Round255Avx2(
        _mm256_mullo_epi16(_mm256_unpackhi_epi8(p, zero), _mm256_unpackhi_epi8(f, zero)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(low, high));
  }
  ApplyLightRowSse2(pixels + i, factors + i, out + i, count - i);
}
#endif

LightRowFunction ChooseLightRow() {
#ifdef LUMAVEX_LIGHT_SIMD
  if (__builtin_cpu_supports("avx2")) return ApplyLightRowAvx2;
  return ApplyLightRowSse2;
#else
  return ApplyLightRowPlain;
#endif
}

}  // namespace

std::vector<LightRowFunction> LightRowVariants() {
  std::vector<LightRowFunction> variants{ApplyLightRowPlain};
#ifdef LUMAVEX_LIGHT_SIMD
  variants.push_back(ApplyLightRowSse2);
  if (__builtin_cpu_supports("avx2")) variants.push_back(ApplyLightRowAvx2);
#endif
  return variants;
}

void ApplyLightRow(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count) {
  static const LightRowFunction apply = ChooseLightRow();
  apply(pixels, factors, out, count);
}

}  // namespace lumavex
