#pragma once
// The word-level difference between two pictures of one run: the pictures are read
// as little-endian 32-bit words in blocks of 32; each block is stored as a 32-bit
// mask (bit k set when word k changed) followed by the changed words of the newer
// picture in increasing k.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace veltrane {

static_assert(std::endian::native == std::endian::little,
              "the pictures' words are compared and stored in the machine's byte order");

constexpr size_t kBlockWords = 32;

// The words a picture of `size` bytes is compared in; the last one is completed
// with zero bytes.
constexpr uint64_t WordCount(uint64_t size) {
  return (size + 3) / 4;
}

// The length of the largest delta of a picture of `size` bytes: every mask and
// every word.
constexpr uint64_t MaxDeltaLength(uint64_t size) {
  const uint64_t words = WordCount(size);
  return 4 * (words + (words + kBlockWords - 1) / kBlockWords);
}

// Writes the delta of `current` against `previous`, both `words` words long, to
// `out`, which has room for MaxDeltaLength bytes, and copies the changed words into
// `previous`, which afterwards holds `current`. Returns the delta's length.
// `words` must be a multiple of 32 unless these are the picture's last words.
size_t EncodeDelta(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out);

// The same delta computed one word at a time without wide registers, for comparing
// against the machine's fast path.
size_t EncodeDeltaPlain(uint8_t* previous, const uint8_t* current, size_t words, uint8_t* out);

// Brings `picture`, which holds the previous picture of `size` bytes in
// WordCount(size) words, up to the picture the delta describes, touching only the
// changed words. Bytes of the delta after the last block needed are ignored. Returns
// false when the delta ends before its masks are satisfied; the picture is then
// partly updated.
bool ApplyDelta(uint8_t* picture, const uint8_t* delta, size_t deltaLength, uint64_t size);

// The same into a separate picture `out` (room for WordCount(size) words), leaving
// `previous` as it is.
bool DecodeDelta(const uint8_t* previous, const uint8_t* delta, size_t deltaLength, uint64_t size,
                 uint8_t* out);

}  // namespace veltrane
