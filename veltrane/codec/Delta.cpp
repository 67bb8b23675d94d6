#include "veltrane/codec/Delta.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace veltrane {

namespace {

uint32_t LoadWord(const uint8_t* p) {
  uint32_t word;
  std::memcpy(&word, p, 4);
  return word;
}

void StoreWord(uint8_t* p, uint32_t word) {
  std::memcpy(p, &word, 4);
}

// Writes the mask and changed words of one block of `count` words and copies the
// changed words into `previous`; returns the end of the written delta.
uint8_t* EncodeBlock(uint8_t* previous, const uint8_t* current, size_t count, uint8_t* out) {
  uint8_t* maskAt = out;
  out += 4;
  uint32_t mask = 0;
  for (size_t k = 0; k < count; ++k) {
    const uint32_t word = LoadWord(current + 4 * k);
    if (word == LoadWord(previous + 4 * k)) continue;
    mask |= uint32_t{1} << k;
    StoreWord(out, word);
    StoreWord(previous + 4 * k, word);
    out += 4;
  }
  StoreWord(maskAt, mask);
  return out;
}

// Stores the mask of a whole block whose changed words `mask` names, then those words
// of `current`, and brings `previous` up to date; returns the end of the delta.
[[gnu::always_inline]] inline uint8_t* StoreChanges(uint8_t* previous, const uint8_t* current,
                                                    uint32_t mask, uint8_t* out) {
  StoreWord(out, mask);
  out += 4;
  if (mask == 0) return out;
  std::memcpy(previous, current, 4 * kBlockWords);
  for (; mask != 0; mask &= mask - 1) {
    std::memcpy(out, current + 4 * std::countr_zero(mask), 4);
    out += 4;
  }
  return out;
}

// The delta of `words` words in whole blocks first, `changed` giving each whole
// block's mask, then the last partial block word by word.
template <typename Changed>
[[gnu::always_inline]] inline size_t EncodeWith(uint8_t* previous, const uint8_t* current,
                                                size_t words, uint8_t* out, Changed changed) {
  uint8_t* end = out;
  size_t first = 0;
  for (; first + kBlockWords <= words; first += kBlockWords) {
    uint8_t* p = previous + 4 * first;
    const uint8_t* c = current + 4 * first;
    end = StoreChanges(p, c, changed(p, c), end);
  }
  if (first < words)
    end = EncodeBlock(previous + 4 * first, current + 4 * first, words - first, end);
  return static_cast<size_t>(end - out);
}

// The mask of the words that differ between two whole blocks; an unchanged block is
// settled by one reduction over 64-bit words that the compiler can widen.
struct ChangedWordsPlain {
  uint32_t operator()(const uint8_t* a, const uint8_t* b) const {
    uint64_t difference = 0;
    for (size_t i = 0; i < 4 * kBlockWords; i += 8) {
      uint64_t x, y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      difference |= x ^ y;
    }
    if (difference == 0) return 0;
    uint32_t mask = 0;
    for (size_t k = 0; k < kBlockWords; ++k)
      if (LoadWord(a + 4 * k) != LoadWord(b + 4 * k)) mask |= uint32_t{1} << k;
    return mask;
  }
};

size_t EncodePlain(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out) {
  return EncodeWith(previous, current, words, out, ChangedWordsPlain{});
}

#if defined(__x86_64__) && defined(__GNUC__)
#define VELTRANE_DELTA_AVX2 1

// The same mask with four 32-byte registers per block.
struct ChangedWordsAvx2 {
  [[gnu::target("avx2"), gnu::always_inline]] uint32_t operator()(const uint8_t* a,
                                                                  const uint8_t* b) const {
    __m256i x[4], y[4];
    for (int i = 0; i < 4; ++i) {
      x[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + 32 * i));
      y[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32 * i));
    }
    const __m256i difference = _mm256_or_si256(
        _mm256_or_si256(_mm256_xor_si256(x[0], y[0]), _mm256_xor_si256(x[1], y[1])),
        _mm256_or_si256(_mm256_xor_si256(x[2], y[2]), _mm256_xor_si256(x[3], y[3])));
    if (_mm256_testz_si256(difference, difference)) return 0;
    uint32_t same = 0;
    for (int i = 0; i < 4; ++i) {
      const __m256i equal = _mm256_cmpeq_epi32(x[i], y[i]);
      same |= static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(equal))) << (8 * i);
    }
    return ~same;
  }
};

// EncodeWith's loop, written out again: a function for other instructions cannot be
// inlined into the generic template.
[[gnu::target("avx2")]] size_t EncodeAvx2(uint8_t* previous, const uint8_t* current, size_t words,
                                          uint8_t* out) {
  const ChangedWordsAvx2 changed;
  uint8_t* end = out;
  size_t first = 0;
  for (; first + kBlockWords <= words; first += kBlockWords) {
    uint8_t* p = previous + 4 * first;
    const uint8_t* c = current + 4 * first;
    end = StoreChanges(p, c, changed(p, c), end);
  }
  if (first < words)
    end = EncodeBlock(previous + 4 * first, current + 4 * first, words - first, end);
  return static_cast<size_t>(end - out);
}
#endif

using EncodeFunction = size_t (*)(uint8_t*, const uint8_t*, size_t, uint8_t*);

EncodeFunction ChooseEncode() {
#ifdef VELTRANE_DELTA_AVX2
  if (__builtin_cpu_supports("avx2")) return EncodeAvx2;
#endif
  return EncodePlain;
}

}  // namespace

size_t EncodeDelta(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out) {
  static const EncodeFunction encode = ChooseEncode();
  return encode(previous, current, words, out);
}

size_t EncodeDeltaPlain(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out) {
  return EncodePlain(previous, current, words, out);
}

bool DecodeDelta(const uint8_t* previous, const uint8_t* delta, size_t deltaLength, uint64_t size,
                 uint8_t* out) {
  std::memcpy(out, previous, 4 * WordCount(size));
  return ApplyDelta(out, delta, deltaLength, size);
}

bool ApplyDelta(uint8_t* picture, const uint8_t* delta, size_t deltaLength, uint64_t size) {
  const uint64_t words = WordCount(size);
  size_t position = 0;
  for (uint64_t first = 0; first < words; first += kBlockWords) {
    if (deltaLength - position < 4) return false;
    uint32_t mask = LoadWord(delta + position);
    position += 4;
    // Bits past the picture's last word name no word and take none from the delta.
    const uint64_t count = std::min<uint64_t>(kBlockWords, words - first);
    if (count < kBlockWords) mask &= (uint32_t{1} << count) - 1;
    if (mask == 0) continue;
    const size_t changed = 4 * static_cast<size_t>(std::popcount(mask));
    if (deltaLength - position < changed) return false;
    uint8_t* target = picture + 4 * first;
    for (; mask != 0; mask &= mask - 1) {
      std::memcpy(target + 4 * std::countr_zero(mask), delta + position, 4);
      position += 4;
    }
  }
  return true;
}

}  // namespace veltrane
