#include "veltrane/codec/Delta.h"

#include <algorithm>
#include <cstring>

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

// True when two whole blocks hold the same words; written as one reduction, without
// a branch per word, so that the compiler can use wide registers.
bool SameBlock(const uint8_t* a, const uint8_t* b) {
  uint64_t difference = 0;
  for (size_t i = 0; i < 4 * kBlockWords; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    difference |= x ^ y;
  }
  return difference == 0;
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

}  // namespace

size_t EncodeDelta(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out) {
  uint8_t* end = out;
  for (size_t first = 0; first < words; first += kBlockWords) {
    const size_t count = std::min(kBlockWords, words - first);
    uint8_t* p = previous + 4 * first;
    const uint8_t* c = current + 4 * first;
    // Most blocks of a movie frame are unchanged: settle those with one comparison.
    if (count == kBlockWords && SameBlock(p, c)) {
      StoreWord(end, 0);
      end += 4;
    } else {
      end = EncodeBlock(p, c, count, end);
    }
  }
  return static_cast<size_t>(end - out);
}

bool DecodeDelta(const uint8_t* previous, const uint8_t* delta, size_t deltaLength, uint64_t size,
                 uint8_t* out) {
  const uint64_t words = WordCount(size);
  size_t position = 0;
  for (uint64_t first = 0; first < words; first += kBlockWords) {
    if (deltaLength - position < 4) return false;
    const uint32_t mask = LoadWord(delta + position);
    position += 4;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(kBlockWords, words - first));
    uint8_t* target = out + 4 * first;
    const uint8_t* source = previous + 4 * first;
    if (mask == 0) {
      std::memcpy(target, source, 4 * count);
      continue;
    }
    for (size_t k = 0; k < count; ++k) {
      const bool changed = (mask >> k) & 1;
      if (changed && deltaLength - position < 4) return false;
      std::memcpy(target + 4 * k, changed ? delta + position : source + 4 * k, 4);
      if (changed) position += 4;
    }
  }
  return true;
}

}  // namespace veltrane
