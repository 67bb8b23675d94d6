#include <gtest/gtest.h>

#include <cstring>
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
