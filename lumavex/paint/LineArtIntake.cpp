#include "lumavex/paint/LineArtIntake.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/SmallDivision.h"

#if defined(__x86_64__) && defined(__GNUC__)
// The 512-bit intrinsics start from deliberately undefined registers, which this
// compiler reports as maybe used uninitialized once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#define LUMAVEX_INTAKE_SIMD 1
#endif

namespace lumavex {
namespace {

// The separation never gives an opacity of 2 or less.
constexpr uint32_t kLeastOpacity = 3;

// The separated frame word of `colour`, or 0 (no frame) for white and near-white.
// The loop works on plain words: an optional returned per pixel costs more than
// the separation itself.
inline uint32_t SeparatedWord(uint32_t colour) {
  const uint32_t least = std::min({Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)});
  const uint32_t a = 255 - least;
  if (a < kLeastOpacity) return 0;
  const uint32_t half = a >> 1;
  uint32_t pen = 0;
  // (255 - c) ≤ a, so the dividend stays within 255 × 255 + 127.
  for (int shift = 0; shift <= 16; shift += 8)
    pen |= (255 - DivideSmall((255 - Channel(colour, shift)) * 255 + half, a)) << shift;
  return (a << 24) | pen;
}

// The new frame word of a pixel, or 0 when it is left as it is.
inline uint32_t IntakeWord(uint32_t display, uint32_t frame) {
  const uint32_t a = Opacity(frame);
  if (a == 0) return SeparatedWord(display & kColourMask);
  const uint32_t separated = SeparatedWord(Unblend(display, frame, a));
  return separated == 0 ? 0 : MergeFrame(frame, Opacity(separated), separated);
}

std::optional<uint32_t> UnlessZero(uint32_t word) {
  return word == 0 ? std::nullopt : std::optional<uint32_t>(word);
}

}  // namespace

std::optional<uint32_t> SeparatedFromWhite(uint32_t colour) {
  return UnlessZero(SeparatedWord(colour));
}

std::optional<uint32_t> IntakeFrame(uint32_t display, uint32_t frame) {
  return UnlessZero(IntakeWord(display, frame));
}

namespace {

// The changed pixels of one row: the first and last column written, or first > last.
struct RowChange {
  int first;
  int last;
};

// Columns `from` to `to` of row y one pixel at a time.
void TakeInPixels(PaintStep& step, uint32_t* display, uint32_t* frame, int from, int to, int y,
                  RowChange& change) {
  for (int x = from; x <= to; ++x) {
    if ((display[x] & (kDrawAreaFlag | kNonSelectedFlag)) != kDrawAreaFlag) continue;
    const uint32_t taken = IntakeWord(display[x], frame[x]);
    if (taken == 0) continue;
    step.WriteHeld(display[x], frame[x], x, y, display[x], taken);
    change.first = std::min(change.first, x);
    change.last = x;
  }
}

#ifdef LUMAVEX_INTAKE_SIMD
#define LUMAVEX_AVX2_INLINE [[gnu::target("avx2"), gnu::always_inline]] inline

// Eight pixels at a time. The divisions of the separation, the un-blend and the
// frame merge are done in single precision as (n + 1/2) × (1 / d), truncated: n and
// d are integers, so the exact quotient stays at least 1/(2d) away from every
// integer, while the two roundings (of 1/d and of the product) move it by less than
// q × 2^-23 with q ≤ 65153 / d; the truncation thus gives floor(n / d) exactly.

LUMAVEX_AVX2_INLINE __m256i Set(uint32_t v) {
  return _mm256_set1_epi32(static_cast<int>(v));
}

LUMAVEX_AVX2_INLINE __m256 Float(__m256i v) {
  return _mm256_cvtepi32_ps(v);
}

// 1 / d for d = 1..255 (a smaller d is taken as 1; its lanes are not used).
LUMAVEX_AVX2_INLINE __m256 Reciprocal(__m256i d) {
  return _mm256_div_ps(_mm256_set1_ps(1.0f), Float(_mm256_max_epi32(d, Set(1))));
}

// floor(n / d) for the integers n ≥ 0 (as floats) and the reciprocal of d.
LUMAVEX_AVX2_INLINE __m256i Quotient(__m256 n, __m256 reciprocal) {
  return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_add_ps(n, _mm256_set1_ps(0.5f)), reciprocal));
}

template <int Shift>
LUMAVEX_AVX2_INLINE __m256 ChannelFloat(__m256i words) {
  return Float(_mm256_and_si256(_mm256_srli_epi32(words, Shift), Set(0xFF)));
}

// The separated frame words of eight colours (0xRRGGBB), 0 for near-white.
LUMAVEX_AVX2_INLINE __m256i SeparatedWords(__m256i colours) {
  __m256i least = _mm256_min_epu8(colours, _mm256_srli_epi32(colours, 8));
  least = _mm256_and_si256(_mm256_min_epu8(least, _mm256_srli_epi32(colours, 16)), Set(0xFF));
  const __m256i a = _mm256_sub_epi32(Set(255), least);
  const __m256 reciprocal = Reciprocal(a);
  const __m256 half = Float(_mm256_srli_epi32(a, 1));
  // 255 - c per channel, and 255 - pen = ((255 - c) × 255 + a / 2) / a.
  const __m256i inverse = _mm256_xor_si256(colours, Set(kColourMask));
  const __m256 k255 = _mm256_set1_ps(255.0f);
  const __m256i blue = Quotient(_mm256_add_ps(_mm256_mul_ps(ChannelFloat<0>(inverse), k255), half),
                                reciprocal);
  const __m256i green = Quotient(
      _mm256_add_ps(_mm256_mul_ps(ChannelFloat<8>(inverse), k255), half), reciprocal);
  const __m256i red = Quotient(
      _mm256_add_ps(_mm256_mul_ps(ChannelFloat<16>(inverse), k255), half), reciprocal);
  const __m256i pen = _mm256_xor_si256(
      _mm256_or_si256(blue, _mm256_or_si256(_mm256_slli_epi32(green, 8), _mm256_slli_epi32(red, 16))),
      Set(kColourMask));
  const __m256i word = _mm256_or_si256(_mm256_slli_epi32(a, 24), pen);
  return _mm256_and_si256(word, _mm256_cmpgt_epi32(a, Set(kLeastOpacity - 1)));
}

// One channel of the un-blend: min(max(d × 255 + rest / 2 - f × a, 0) / rest, 255).
template <int Shift>
LUMAVEX_AVX2_INLINE __m256i UnblendChannel(__m256i display, __m256i frame, __m256 a,
                                           __m256 halfRest, __m256 reciprocal) {
  const __m256 n =
      _mm256_sub_ps(_mm256_add_ps(_mm256_mul_ps(ChannelFloat<Shift>(display), _mm256_set1_ps(255.0f)),
                                  halfRest),
                    _mm256_mul_ps(ChannelFloat<Shift>(frame), a));
  const __m256i v = Quotient(_mm256_max_ps(n, _mm256_setzero_ps()), reciprocal);
  return _mm256_slli_epi32(_mm256_min_epi32(v, Set(255)), Shift);
}

// One channel of the frame merge: (u × t + f × a) / (a + t).
template <int Shift>
LUMAVEX_AVX2_INLINE __m256i MergeChannel(__m256i under, __m256i frame, __m256 t, __m256 a,
                                         __m256 reciprocal) {
  const __m256 n = _mm256_add_ps(_mm256_mul_ps(ChannelFloat<Shift>(under), t),
                                 _mm256_mul_ps(ChannelFloat<Shift>(frame), a));
  return _mm256_slli_epi32(Quotient(n, reciprocal), Shift);
}

// The new frame words of eight pixels of which some carry a frame, 0 where left as
// they are (selection and draw-area flags not yet applied).
LUMAVEX_AVX2_INLINE __m256i IntakeWordsUnderFrames(__m256i display, __m256i frame) {
  const __m256i a = _mm256_srli_epi32(frame, 24);
  const __m256 af = Float(a);
  const __m256i rest = _mm256_sub_epi32(Set(255), a);
  const __m256 restReciprocal = Reciprocal(rest);
  const __m256 halfRest = Float(_mm256_srli_epi32(rest, 1));
  const __m256i unblended = _mm256_or_si256(
      UnblendChannel<0>(display, frame, af, halfRest, restReciprocal),
      _mm256_or_si256(UnblendChannel<8>(display, frame, af, halfRest, restReciprocal),
                      UnblendChannel<16>(display, frame, af, halfRest, restReciprocal)));
  // Under an opaque frame, or none, the source is the display colour itself.
  const __m256i plain = _mm256_or_si256(_mm256_cmpeq_epi32(a, _mm256_setzero_si256()),
                                        _mm256_cmpeq_epi32(a, Set(255)));
  const __m256i source =
      _mm256_blendv_epi8(unblended, _mm256_and_si256(display, Set(kColourMask)), plain);
  const __m256i separated = SeparatedWords(source);
  const __m256i under = _mm256_srli_epi32(separated, 24);
  // t = Round255((255 - a) × under); the product fits 16 bits.
  const __m256i v = _mm256_mullo_epi16(rest, under);
  const __m256i t =
      _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(v, _mm256_srli_epi32(v, 8)), Set(128)), 8);
  const __m256 tf = Float(t);
  const __m256 sumReciprocal = Reciprocal(_mm256_add_epi32(a, t));
  const __m256i colour = _mm256_or_si256(
      MergeChannel<0>(separated, frame, tf, af, sumReciprocal),
      _mm256_or_si256(MergeChannel<8>(separated, frame, tf, af, sumReciprocal),
                      MergeChannel<16>(separated, frame, tf, af, sumReciprocal)));
  const __m256i merged =
      _mm256_or_si256(_mm256_slli_epi32(_mm256_max_epi32(a, under), 24), colour);
  const __m256i noFrame = _mm256_cmpeq_epi32(a, _mm256_setzero_si256());
  const __m256i taken = _mm256_blendv_epi8(merged, separated, noFrame);
  return _mm256_andnot_si256(_mm256_cmpeq_epi32(separated, _mm256_setzero_si256()), taken);
}

// Writes the records of the lanes of `changed` (a bit per lane) into `room`, in lane
// order: every lane's record is written, and the place moves on past the changed
// ones only, so that no branch depends on the pixels.
LUMAVEX_AVX2_INLINE size_t PutRecords(JournalRecord* room, __m256i display, __m256i frame,
                                      __m256i taken, unsigned changed, uint32_t position) {
  const __m256i kept = _mm256_and_si256(display, Set(kJournalMask));
  const __m256i low = _mm256_unpacklo_epi32(kept, frame);    // d0 f0 d1 f1 | d4 f4 d5 f5
  const __m256i high = _mm256_unpackhi_epi32(kept, frame);   // d2 f2 d3 f3 | d6 f6 d7 f7
  const __m256i lowNew = _mm256_unpacklo_epi32(kept, taken);
  const __m256i highNew = _mm256_unpackhi_epi32(kept, taken);
  const __m256i words[4] = {_mm256_unpacklo_epi64(low, lowNew), _mm256_unpackhi_epi64(low, lowNew),
                            _mm256_unpacklo_epi64(high, highNew),
                            _mm256_unpackhi_epi64(high, highNew)};
  auto* place = reinterpret_cast<unsigned char*>(room);
  for (int lane = 0; lane < 8; ++lane) {
    const __m256i four = words[lane & 3];
    const __m128i record =
        lane < 4 ? _mm256_castsi256_si128(four) : _mm256_extracti128_si256(four, 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(place), record);
    const uint32_t xy = position + static_cast<uint32_t>(lane);
    std::memcpy(place + 16, &xy, 4);
    place += sizeof(JournalRecord) * ((changed >> lane) & 1);
  }
  return static_cast<size_t>(std::popcount(changed));
}

// Columns `from` to `to` of row y, eight at a time where they allow. A group with
// no frame whose pixels are all near-white (or not selected drawing-area pixels)
// produces nothing and is passed over after a few tests.
[[gnu::target("avx2")]] void TakeInRowAvx2(PaintStep& step, uint32_t* display, uint32_t* frame,
                                           int from, int to, int y, RowChange& change) {
  const bool journaling = step.Journaling();
  const __m256i flags = Set(kDrawAreaFlag | kNonSelectedFlag);
  const __m256i selectedDrawArea = Set(kDrawAreaFlag);
  const __m256i nearWhiteLift = Set(0x020202);
  const __m256i flagsAndColour = Set(kDrawAreaFlag | kNonSelectedFlag | kColourMask);
  const __m256i selectedWhite = Set(kDrawAreaFlag | kColourMask);
  const __m256i opacity = Set(0xFF000000);
  // Kept in registers over the row: stores through `change` would be read back
  // every group, as the compiler cannot tell them from the frame stores.
  int firstChanged = change.first, lastChanged = change.last;
  int x = from;
  for (; x + 8 <= to + 1; x += 8) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(display + x));
    const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frame + x));
    const __m256i eligible = _mm256_cmpeq_epi32(_mm256_and_si256(d, flags), selectedDrawArea);
    // Each channel at 253 or more saturates to 255 when 2 is added.
    const __m256i nearWhite = _mm256_cmpeq_epi32(
        _mm256_and_si256(_mm256_adds_epu8(d, nearWhiteLift), flagsAndColour), selectedWhite);
    const bool anyFrame = !_mm256_testz_si256(f, opacity);
    if (!anyFrame && _mm256_testc_si256(nearWhite, eligible)) continue;
    __m256i taken = anyFrame ? IntakeWordsUnderFrames(d, f)
                             : SeparatedWords(_mm256_and_si256(d, Set(kColourMask)));
    taken = _mm256_and_si256(taken, eligible);
    const __m256i same = _mm256_cmpeq_epi32(taken, _mm256_setzero_si256());
    const unsigned changed =
        ~static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(same))) & 0xFF;
    // From here on nothing branches on the result: it comes late (after three
    // divisions under frames), and a branch waiting for it would keep the next
    // groups from starting. Unchanged words are stored back as they were.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(frame + x), _mm256_blendv_epi8(taken, f, same));
    if (journaling) {
      const uint32_t position = static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 16;
      step.Held(PutRecords(step.HeldRoom(8), d, f, taken, changed, position));
    }
    const int first = x + std::countr_zero(changed | 0x100u);
    const int last = x + 31 - std::countl_zero(changed | 1u);
    firstChanged = changed ? std::min(firstChanged, first) : firstChanged;
    lastChanged = changed ? last : lastChanged;
  }
  change = {firstChanged, lastChanged};
  TakeInPixels(step, display, frame, x, to, y, change);
}

// The same sixteen pixels at a time, with the lane masks in mask registers.
#define LUMAVEX_AVX512_INLINE [[gnu::target("avx512f,avx512bw"), gnu::always_inline]] inline

LUMAVEX_AVX512_INLINE __m512i Set16(uint32_t v) {
  return _mm512_set1_epi32(static_cast<int>(v));
}

LUMAVEX_AVX512_INLINE __m512 Float16(__m512i v) {
  return _mm512_cvtepi32_ps(v);
}

LUMAVEX_AVX512_INLINE __m512 Reciprocal16(__m512i d) {
  return _mm512_div_ps(_mm512_set1_ps(1.0f), Float16(_mm512_max_epi32(d, Set16(1))));
}

LUMAVEX_AVX512_INLINE __m512i Quotient16(__m512 n, __m512 reciprocal) {
  return _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_add_ps(n, _mm512_set1_ps(0.5f)), reciprocal));
}

template <int Shift>
LUMAVEX_AVX512_INLINE __m512 ChannelFloat16(__m512i words) {
  return Float16(_mm512_and_si512(_mm512_srli_epi32(words, Shift), Set16(0xFF)));
}

LUMAVEX_AVX512_INLINE __m512i SeparatedWords16(__m512i colours) {
  __m512i least = _mm512_min_epu8(colours, _mm512_srli_epi32(colours, 8));
  least = _mm512_and_si512(_mm512_min_epu8(least, _mm512_srli_epi32(colours, 16)), Set16(0xFF));
  const __m512i a = _mm512_sub_epi32(Set16(255), least);
  const __m512 reciprocal = Reciprocal16(a);
  const __m512 half = Float16(_mm512_srli_epi32(a, 1));
  const __m512i inverse = _mm512_xor_si512(colours, Set16(kColourMask));
  const __m512 k255 = _mm512_set1_ps(255.0f);
  const __m512i blue = Quotient16(
      _mm512_add_ps(_mm512_mul_ps(ChannelFloat16<0>(inverse), k255), half), reciprocal);
  const __m512i green = Quotient16(
      _mm512_add_ps(_mm512_mul_ps(ChannelFloat16<8>(inverse), k255), half), reciprocal);
  const __m512i red = Quotient16(
      _mm512_add_ps(_mm512_mul_ps(ChannelFloat16<16>(inverse), k255), half), reciprocal);
  // pen | a << 24, with pen = (blue | green << 8 | red << 16) ^ 0xFFFFFF: one ternary op.
  const __m512i channels =
      _mm512_or_si512(blue, _mm512_or_si512(_mm512_slli_epi32(green, 8), _mm512_slli_epi32(red, 16)));
  const __m512i word = _mm512_xor_si512(channels, _mm512_or_si512(_mm512_slli_epi32(a, 24), Set16(kColourMask)));
  return _mm512_maskz_mov_epi32(_mm512_cmpgt_epi32_mask(a, Set16(kLeastOpacity - 1)), word);
}

template <int Shift>
LUMAVEX_AVX512_INLINE __m512i UnblendChannel16(__m512i display, __m512i frame, __m512 a,
                                               __m512 halfRest, __m512 reciprocal) {
  const __m512 n = _mm512_sub_ps(
      _mm512_add_ps(_mm512_mul_ps(ChannelFloat16<Shift>(display), _mm512_set1_ps(255.0f)), halfRest),
      _mm512_mul_ps(ChannelFloat16<Shift>(frame), a));
  const __m512i v = Quotient16(_mm512_max_ps(n, _mm512_setzero_ps()), reciprocal);
  return _mm512_slli_epi32(_mm512_min_epi32(v, Set16(255)), Shift);
}

template <int Shift>
LUMAVEX_AVX512_INLINE __m512i MergeChannel16(__m512i under, __m512i frame, __m512 t, __m512 a,
                                             __m512 reciprocal) {
  const __m512 n = _mm512_add_ps(_mm512_mul_ps(ChannelFloat16<Shift>(under), t),
                                 _mm512_mul_ps(ChannelFloat16<Shift>(frame), a));
  return _mm512_slli_epi32(Quotient16(n, reciprocal), Shift);
}

LUMAVEX_AVX512_INLINE __m512i IntakeWordsUnderFrames16(__m512i display, __m512i frame) {
  const __m512i a = _mm512_srli_epi32(frame, 24);
  const __m512 af = Float16(a);
  const __m512i rest = _mm512_sub_epi32(Set16(255), a);
  const __m512 restReciprocal = Reciprocal16(rest);
  const __m512 halfRest = Float16(_mm512_srli_epi32(rest, 1));
  const __m512i unblended = _mm512_or_si512(
      UnblendChannel16<0>(display, frame, af, halfRest, restReciprocal),
      _mm512_or_si512(UnblendChannel16<8>(display, frame, af, halfRest, restReciprocal),
                      UnblendChannel16<16>(display, frame, af, halfRest, restReciprocal)));
  const __mmask16 noFrame = _mm512_cmpeq_epi32_mask(a, _mm512_setzero_si512());
  const __mmask16 plain = noFrame | _mm512_cmpeq_epi32_mask(a, Set16(255));
  const __m512i source =
      _mm512_mask_and_epi32(unblended, plain, display, Set16(kColourMask));
  const __m512i separated = SeparatedWords16(source);
  const __m512i under = _mm512_srli_epi32(separated, 24);
  const __m512i v = _mm512_mullo_epi16(rest, under);
  const __m512i t = _mm512_srli_epi32(
      _mm512_add_epi32(_mm512_add_epi32(v, _mm512_srli_epi32(v, 8)), Set16(128)), 8);
  const __m512 tf = Float16(t);
  const __m512 sumReciprocal = Reciprocal16(_mm512_add_epi32(a, t));
  const __m512i colour = _mm512_or_si512(
      MergeChannel16<0>(separated, frame, tf, af, sumReciprocal),
      _mm512_or_si512(MergeChannel16<8>(separated, frame, tf, af, sumReciprocal),
                      MergeChannel16<16>(separated, frame, tf, af, sumReciprocal)));
  const __m512i merged =
      _mm512_or_si512(_mm512_slli_epi32(_mm512_max_epi32(a, under), 24), colour);
  const __m512i taken = _mm512_mask_mov_epi32(merged, noFrame, separated);
  return _mm512_maskz_mov_epi32(_mm512_test_epi32_mask(separated, separated), taken);
}

// Where the dwords of sixteen records come from: dword m of the 64-byte block k
// of the records is field g % 5 of record g / 5 (g = 16 k + m). The display and the
// old frame are gathered by one two-source permutation, the new frame and the
// position by another, and the mask picks between them.
struct RecordLayout {
  std::array<std::array<int32_t, 16>, 5> firstIndex{}, secondIndex{};
  std::array<uint16_t, 5> second{};
};

constexpr RecordLayout kRecordLayout = [] {
  RecordLayout layout;
  for (int k = 0; k < 5; ++k)
    for (int m = 0; m < 16; ++m) {
      const int g = 16 * k + m, record = g / 5, field = g % 5;
      // Fields: old display, old frame, new display (the same), new frame, position.
      layout.firstIndex[k][m] = field == 1 ? 16 + record : record;
      layout.secondIndex[k][m] = field == 4 ? 16 + record : record;
      if (field >= 3) layout.second[k] |= static_cast<uint16_t>(1u << m);
    }
  return layout;
}();

// Writes the records of the lanes of `changed` (a bit per lane) into `room` (room
// for sixteen), in lane order: the changed lanes are packed together first, then
// spread into records, and all five blocks are stored whatever the count.
LUMAVEX_AVX512_INLINE size_t PutRecords16(JournalRecord* room, __m512i display, __m512i frame,
                                          __m512i taken, unsigned changed, uint32_t position) {
  const __mmask16 lanes = static_cast<__mmask16>(changed);
  const __m512i kept = _mm512_maskz_compress_epi32(lanes, _mm512_and_si512(display, Set16(kJournalMask)));
  const __m512i old = _mm512_maskz_compress_epi32(lanes, frame);
  const __m512i now = _mm512_maskz_compress_epi32(lanes, taken);
  const __m512i places = _mm512_maskz_compress_epi32(
      lanes, _mm512_add_epi32(Set16(position),
                              _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)));
  auto* block = reinterpret_cast<unsigned char*>(room);
  for (int k = 0; k < 5; ++k) {
    const __m512i first = _mm512_permutex2var_epi32(
        kept, _mm512_loadu_si512(kRecordLayout.firstIndex[k].data()), old);
    const __m512i second = _mm512_permutex2var_epi32(
        now, _mm512_loadu_si512(kRecordLayout.secondIndex[k].data()), places);
    _mm512_storeu_si512(block + 64 * k, _mm512_mask_mov_epi32(first, kRecordLayout.second[k], second));
  }
  return static_cast<size_t>(std::popcount(changed));
}

[[gnu::target("avx512f,avx512bw")]] void TakeInRowAvx512(PaintStep& step, uint32_t* display,
                                                         uint32_t* frame, int from, int to, int y,
                                                         RowChange& change) {
  const bool journaling = step.Journaling();
  int firstChanged = change.first, lastChanged = change.last;
  int x = from;
  for (; x + 16 <= to + 1; x += 16) {
    const __m512i d = _mm512_loadu_si512(display + x);
    const __m512i f = _mm512_loadu_si512(frame + x);
    const __mmask16 eligible = _mm512_cmpeq_epi32_mask(
        _mm512_and_si512(d, Set16(kDrawAreaFlag | kNonSelectedFlag)), Set16(kDrawAreaFlag));
    const __mmask16 nearWhite = _mm512_cmpeq_epi32_mask(
        _mm512_and_si512(_mm512_adds_epu8(d, Set16(0x020202)),
                         Set16(kDrawAreaFlag | kNonSelectedFlag | kColourMask)),
        Set16(kDrawAreaFlag | kColourMask));
    const __mmask16 framed = _mm512_test_epi32_mask(f, Set16(0xFF000000));
    if (framed == 0 && nearWhite == eligible) continue;
    const __m512i taken = _mm512_maskz_mov_epi32(
        eligible, framed ? IntakeWordsUnderFrames16(d, f)
                         : SeparatedWords16(_mm512_and_si512(d, Set16(kColourMask))));
    const __mmask16 changedMask = _mm512_test_epi32_mask(taken, taken);
    const unsigned changed = changedMask;
    _mm512_storeu_si512(frame + x, _mm512_mask_mov_epi32(f, changedMask, taken));
    if (journaling) {
      const uint32_t position = static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 16;
      step.Held(PutRecords16(step.HeldRoom(16), d, f, taken, changed, position));
    }
    const int first = x + std::countr_zero(changed | 0x10000u);
    const int last = x + 31 - std::countl_zero(changed | 1u);
    firstChanged = changed ? std::min(firstChanged, first) : firstChanged;
    lastChanged = changed ? last : lastChanged;
  }
  change = {firstChanged, lastChanged};
  TakeInRowAvx2(step, display, frame, x, to, y, change);
}
#endif

using RowFunction = void (*)(PaintStep&, uint32_t*, uint32_t*, int, int, int, RowChange&);

// The row loop of `lanes` pixels at a time, or null when the processor runs none.
RowFunction RowLoop(int lanes) {
  switch (lanes) {
    case 1:
      return TakeInPixels;
#ifdef LUMAVEX_INTAKE_SIMD
    case 8:
      return __builtin_cpu_supports("avx2") ? TakeInRowAvx2 : nullptr;
    case 16:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
                 ? TakeInRowAvx512
                 : nullptr;
#endif
    default:
      return nullptr;
  }
}

RowFunction WidestRowLoop() {
  for (int lanes : {16, 8})
    if (RowFunction loop = RowLoop(lanes)) return loop;
  return TakeInPixels;
}

void TakeInWith(RowFunction takeInRow, DrawingContext& context, platform::Progress& progress) {
  PaintStep step(context, true);
  Canvas& canvas = step.Picture();
  const PixelRect area = step.Area();
  PixelRect changed;
  progress.ProgressStart(area.Empty() ? 0 : static_cast<uint64_t>(area.bottom - area.top + 1));
  for (int y = area.bottom; y >= area.top; --y) {
    RowChange change{area.right + 1, -1};
    takeInRow(step, canvas.display.Row32(y), canvas.frame.Row32(y), area.left, area.right, y, change);
    changed.Merge({change.first, y, change.last, y});
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  step.Widen(changed);
  step.End(true);
}

}  // namespace

void TakeInColourLineArt(DrawingContext& context, platform::Progress& progress) {
  static const RowFunction widest = WidestRowLoop();
  TakeInWith(widest, context, progress);
}

bool TakeInColourLineArtWith(int lanes, DrawingContext& context, platform::Progress& progress) {
  const RowFunction loop = RowLoop(lanes);
  if (!loop) return false;
  TakeInWith(loop, context, progress);
  return true;
}

}  // namespace lumavex
