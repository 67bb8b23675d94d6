#include "lumavex/shell/LightRow.h"

#include <cstdint>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMAVEX_LIGHT_SIMD 1
#endif

namespace lumavex {

void ApplyLightRowPlain(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = ApplyLightFactor(pixels[i], factors[i]);
}

namespace {

#ifdef LUMAVEX_LIGHT_SIMD
// Each 32-bit word is two 16-bit lanes, (top, red) and (green, blue). Masking keeps the
// low bytes of both lanes (red, blue) and a shift by 8 within each lane brings down
// the high ones (top, green); the same is done to the factors, whose top byte is set to
// 255 first, so that round255(top × 255) = top keeps each pixel's own top byte. Each
// product is at most 255 × 255 and round255's sum v + (v >> 8) + 128 at most 65407, so
// the rounding runs in the 16-bit lanes without overflow. The low results are shifted
// down into place and the high ones masked where they already lie.
#define LUMAVEX_LIGHT_BYTES(NAME, TARGET, V, and_, or_, srli16, add16, mullo16, set1_32, set1_16) \
  TARGET inline V NAME(V p, V f) {                                                                \
    const V lowBytes = set1_32(0x00FF00FF);                                                       \
    const V highBytes = set1_32(static_cast<int>(0xFF00FF00u));                                   \
    f = or_(f, set1_32(static_cast<int>(0xFF000000u)));                                           \
    const V low = mullo16(and_(p, lowBytes), and_(f, lowBytes));                                  \
    const V high = mullo16(srli16(p, 8), srli16(f, 8));                                           \
    const V half = set1_16(128);                                                                  \
    const V lowSum = add16(add16(low, srli16(low, 8)), half);                                     \
    const V highSum = add16(add16(high, srli16(high, 8)), half);                                  \
    return or_(srli16(lowSum, 8), and_(highSum, highBytes));                                      \
  }

LUMAVEX_LIGHT_BYTES(LightBytesSse2, , __m128i, _mm_and_si128, _mm_or_si128, _mm_srli_epi16,
                    _mm_add_epi16, _mm_mullo_epi16, _mm_set1_epi32, _mm_set1_epi16)
LUMAVEX_LIGHT_BYTES(LightBytesAvx2, [[gnu::target("avx2")]], __m256i, _mm256_and_si256,
                    _mm256_or_si256, _mm256_srli_epi16, _mm256_add_epi16, _mm256_mullo_epi16,
                    _mm256_set1_epi32, _mm256_set1_epi16)
LUMAVEX_LIGHT_BYTES(LightBytesAvx512, [[gnu::target("avx512f,avx512bw")]], __m512i,
                    _mm512_and_si512, _mm512_or_si512, _mm512_srli_epi16, _mm512_add_epi16,
                    _mm512_mullo_epi16, _mm512_set1_epi32, _mm512_set1_epi16)
#undef LUMAVEX_LIGHT_BYTES

// Rows of pixels and factors come from two planes of several megabytes each, and
// the hardware does not fetch both far enough ahead while the multiplies keep the
// loads waiting; asking for the line 2 KB ahead in each keeps them coming. A prefetch
// never faults, so it may look past the end of the row.
constexpr uintptr_t kPrefetchAhead = 2048;
inline void PrefetchAhead(const uint32_t* words) {
  _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(words) + kPrefetchAhead),
               _MM_HINT_T0);
}

void ApplyLightRowSse2(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4)
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(out + i),
        LightBytesSse2(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i)),
                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(factors + i))));
  ApplyLightRowPlain(pixels + i, factors + i, out + i, count - i);
}

[[gnu::target("avx2")]] void ApplyLightRowAvx2(const uint32_t* pixels, const uint32_t* factors,
                                               uint32_t* out, int count) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    PrefetchAhead(pixels + i);
    PrefetchAhead(factors + i);
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(out + i),
        LightBytesAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i)),
                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(factors + i))));
  }
  ApplyLightRowSse2(pixels + i, factors + i, out + i, count - i);
}

[[gnu::target("avx512f,avx512bw")]] void ApplyLightRowAvx512(const uint32_t* pixels,
                                                             const uint32_t* factors, uint32_t* out,
                                                             int count) {
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    PrefetchAhead(pixels + i);
    PrefetchAhead(factors + i);
    _mm512_storeu_si512(
        out + i, LightBytesAvx512(_mm512_loadu_si512(pixels + i), _mm512_loadu_si512(factors + i)));
  }
  ApplyLightRowAvx2(pixels + i, factors + i, out + i, count - i);
}
#endif

LightRowFunction ChooseLightRow() {
#ifdef LUMAVEX_LIGHT_SIMD
  if (__builtin_cpu_supports("avx512bw")) return ApplyLightRowAvx512;
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
  if (__builtin_cpu_supports("avx512bw")) variants.push_back(ApplyLightRowAvx512);
#endif
  return variants;
}

void ApplyLightRow(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count) {
  // The narrow bands of a scroll are a word or a few on each row: no call for them.
  if (count < 8) return ApplyLightRowPlain(pixels, factors, out, count);
  static const LightRowFunction apply = ChooseLightRow();
  apply(pixels, factors, out, count);
}

}  // namespace lumavex
