#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/codec/Delta.h"

namespace veltrane {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::Word;

// The delta exactly as the format describes it, one word at a time.
Bytes ReferenceDelta(const Bytes& previous, const Bytes& current, size_t words) {
  Bytes out;
  for (size_t b = 0; 32 * b < words; ++b) {
    uint32_t mask = 0;
    Bytes changed;
    for (size_t k = 0; k < 32 && 32 * b + k < words; ++k) {
      uint32_t p, c;
      std::memcpy(&p, previous.data() + 4 * (32 * b + k), 4);
      std::memcpy(&c, current.data() + 4 * (32 * b + k), 4);
      if (p == c) continue;
      mask |= uint32_t{1} << k;
      const Bytes word = Word(c);
      changed.insert(changed.end(), word.begin(), word.end());
    }
    out = Concat({out, Word(mask), changed});
  }
  return out;
}

// The picture a delta describes, one mask bit at a time as the format reads it;
// nothing when the delta ends early.
std::optional<Bytes> ReferenceDecode(const Bytes& previous, const Bytes& delta, size_t size) {
  const size_t words = WordCount(size);
  Bytes out(previous.begin(), previous.begin() + 4 * words);
  size_t position = 0;
  for (size_t first = 0; first < words; first += 32) {
    if (delta.size() < position + 4) return std::nullopt;
    uint32_t mask;
    std::memcpy(&mask, delta.data() + position, 4);
    position += 4;
    for (size_t k = 0; k < 32 && first + k < words; ++k) {
      if (!((mask >> k) & 1)) continue;
      if (delta.size() < position + 4) return std::nullopt;
      std::memcpy(out.data() + 4 * (first + k), delta.data() + position, 4);
      position += 4;
    }
  }
  return out;
}

// A picture of `size` bytes kept with its 3 zero bytes, as the coder holds it.
Bytes Padded(Bytes picture) {
  picture.resize(picture.size() + 3, 0);
  return picture;
}

Bytes Encode(Bytes previous, const Bytes& current, size_t size) {
  Bytes out(MaxDeltaLength(size));
  out.resize(EncodeDelta(previous.data(), current.data(), WordCount(size), out.data()));
  EXPECT_EQ(previous, current) << "the previous picture is brought up to date";
  return out;
}

TEST(DeltaTest, IdenticalPicturesCostOneZeroMaskPerBlock) {
  const Bytes picture = Padded(testing::RandomBytes(1000, 1));
  const Bytes delta = Encode(picture, picture, 1000);
  EXPECT_EQ(delta, Bytes(32, 0));  // 250 words, 8 blocks
}

TEST(DeltaTest, ChangedWordsFollowTheirBlocksMask) {
  Bytes previous = Padded(Bytes(4 * 40, 0));
  Bytes current = previous;
  current[0] = 1;           // word 0
  current[4 * 31 + 3] = 2;  // word 31
  current[4 * 33 + 1] = 3;  // word 33 = block 1, bit 1
  EXPECT_EQ(Encode(previous, current, 160),
            Concat({Word(0x80000001), Word(1), Word(0x02000000), Word(0x00000002), Word(0x300)}));
}

TEST(DeltaTest, LastPartialWordComparesTheFinalBytesWithZeros) {
  // 1001 bytes: 251 words, the last holding one picture byte and three zeros.
  Bytes previous = Padded(Bytes(1001, 7));
  Bytes current = previous;
  current[1000] = 8;
  const Bytes delta = Encode(previous, current, 1001);
  ASSERT_EQ(delta.size(), 4u * 8 + 4);
  EXPECT_EQ(Bytes(delta.end() - 8, delta.end()), Concat({Word(1u << 26), Word(8)}));
}

TEST(DeltaTest, MatchesTheReferenceAndDecodesBackForManySizes) {
  std::mt19937 random(42);
  for (size_t size : {0u, 1u, 3u, 4u, 127u, 128u, 129u, 1001u, 4096u, 5000u}) {
    for (int changes : {0, 1, 10, 2000}) {
      const Bytes previous = Padded(testing::RandomBytes(size, static_cast<uint32_t>(size)));
      Bytes current = previous;
      for (int i = 0; size && i < changes; ++i) current[random() % size] ^= 0x5A;
      const Bytes delta = Encode(previous, current, size);
      EXPECT_EQ(delta, ReferenceDelta(previous, current, WordCount(size))) << size;
      EXPECT_LE(delta.size(), MaxDeltaLength(size));
      Bytes decoded(4 * WordCount(size) + 4, 0xEE);
      ASSERT_TRUE(DecodeDelta(previous.data(), delta.data(), delta.size(), size, decoded.data()));
      EXPECT_EQ(0, std::memcmp(decoded.data(), current.data(), size)) << size;
    }
  }
}

// Movie-like changes: runs of words, whole changed blocks and the last partial block,
// on both the machine's fast path and the plain one.
TEST(DeltaTest, FastAndPlainEncodingsAgreeWithTheReferenceOnLargePictures) {
  std::mt19937 random(5);
  for (size_t size : {size_t{4 * 32 * 700}, size_t{4 * 32 * 700 + 6}, size_t{100001}}) {
    const Bytes previous = Padded(testing::RandomBytes(size, 3));
    Bytes current = previous;
    for (int patch = 0; patch < 60; ++patch) {
      const size_t at = random() % size, length = 1 + random() % 600;
      for (size_t i = at; i < std::min(size, at + length); ++i) current[i] ^= 0x81;
    }
    current[size - 1] ^= 1;
    const Bytes expected = ReferenceDelta(previous, current, WordCount(size));
    EXPECT_EQ(Encode(previous, current, size), expected) << size;
    Bytes plainPrevious = previous, plain(MaxDeltaLength(size));
    plain.resize(
        EncodeDeltaPlain(plainPrevious.data(), current.data(), WordCount(size), plain.data()));
    EXPECT_EQ(plain, expected) << size;
    EXPECT_EQ(plainPrevious, current) << size;
  }
}

TEST(DeltaTest, InPlaceApplicationMatchesTheReferenceDecoding) {
  std::mt19937 random(9);
  for (size_t size : {1u, 5u, 128u, 1001u, 4096u}) {
    const Bytes previous = Padded(testing::RandomBytes(size, 11));
    Bytes current = previous;
    for (int i = 0; i < 40; ++i) current[random() % size] ^= 0x3C;
    const Bytes delta = Encode(previous, current, size);
    // Every shortened delta, and one with bytes after its last block, which are ignored.
    for (const Bytes& candidate : {delta, Concat({delta, Word(0xFFFFFFFF)})}) {
      for (size_t length = 0; length <= candidate.size(); length += 1 + length / 8) {
        const Bytes cut(candidate.begin(), candidate.begin() + length);
        const auto expected = ReferenceDecode(previous, cut, size);
        Bytes picture = previous;
        ASSERT_EQ(ApplyDelta(picture.data(), cut.data(), cut.size(), size), expected.has_value())
            << size << " " << length;
        if (expected) {
          EXPECT_EQ(Bytes(picture.begin(), picture.begin() + 4 * WordCount(size)), *expected)
              << size;
        }
      }
    }
  }
}

TEST(DeltaTest, MaskBitsPastTheLastWordAreIgnored) {
  // 40 words: the second block holds 8, so bits 8..31 of its mask name nothing.
  const Bytes previous = Padded(Bytes(160, 1));
  const Bytes delta = Concat({Word(0), Word(0xFFFFFF01), Word(0x07070707)});
  Bytes picture = previous;
  ASSERT_TRUE(ApplyDelta(picture.data(), delta.data(), delta.size(), 160));
  EXPECT_EQ(Bytes(picture.begin() + 128, picture.begin() + 132), Word(0x07070707));
  EXPECT_EQ(Bytes(picture.begin() + 132, picture.begin() + 160), Bytes(28, 1));
  EXPECT_EQ(ReferenceDecode(previous, delta, 160),
            std::optional<Bytes>(Bytes(picture.begin(), picture.begin() + 160)));
}

TEST(DeltaTest, WorstCaseFillsTheWholeBound) {
  const Bytes previous = Padded(Bytes(4 * 33, 0));
  const Bytes current = Padded(Bytes(4 * 33, 1));
  EXPECT_EQ(Encode(previous, current, 4 * 33).size(), MaxDeltaLength(4 * 33));
  EXPECT_EQ(MaxDeltaLength(4 * 33), 4u * (33 + 2));
}

TEST(DeltaTest, DeltaEndingEarlyIsRefusedAtEveryLength) {
  const size_t size = 300;
  const Bytes previous = Padded(Bytes(size, 0));
  const Bytes current = Padded(Bytes(size, 9));
  const Bytes delta = Encode(previous, current, size);
  Bytes out(size + 3);
  for (size_t length = 0; length < delta.size(); ++length)
    EXPECT_FALSE(DecodeDelta(previous.data(), delta.data(), length, size, out.data())) << length;
}

}  // namespace
}  // namespace veltrane
