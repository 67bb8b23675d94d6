#include "lumavex/shell/LightRow.h"

#include <gtest/gtest.h>

#include <random>

namespace lumavex {
namespace {

// Every colour and factor byte pair in each of the three channels (each channel sees the
// pairs through its own shuffle), with every top byte on both sides.
TEST(LightRowTest, EveryVariantMatchesThePlainRuleForEveryBytePair) {
  std::vector<uint32_t> pixels, factors;
  for (uint32_t c = 0; c < 256; ++c)
    for (uint32_t f = 0; f < 256; ++f) {
      pixels.push_back(((c * 7) & 0xFF) << 24 | c << 16 | ((c + 85) & 0xFF) << 8 | (c ^ 0x5A));
      factors.push_back(((f * 13) & 0xFF) << 24 | f << 16 | ((f + 170) & 0xFF) << 8 | (255 - f));
    }
  const int count = static_cast<int>(pixels.size());
  std::vector<uint32_t> expected(pixels.size());
  ApplyLightRowPlain(pixels.data(), factors.data(), expected.data(), count);
  for (size_t i = 0; i < pixels.size(); ++i)
    ASSERT_EQ(expected[i], ApplyLightFactor(pixels[i], factors[i]));
  const auto variants = LightRowVariants();
  EXPECT_GE(variants.size(), 1u);
  for (size_t v = 0; v < variants.size(); ++v) {
    std::vector<uint32_t> out(pixels.size(), 0xDEADBEEF);
    variants[v](pixels.data(), factors.data(), out.data(), count);
    ASSERT_EQ(out, expected) << "variant " << v;
  }
}

// Short and unaligned rows, in place and apart, leave the words beyond the row alone.
TEST(LightRowTest, RowsOfEveryLengthAndAlignmentStopAtTheirEnd) {
  std::mt19937 random(25);
  constexpr int kRoom = 64;
  for (LightRowFunction apply : LightRowVariants())
    for (int offset = 0; offset < 8; ++offset)
      for (int count = 0; count <= 41; ++count) {
        std::vector<uint32_t> pixels(kRoom), factors(kRoom);
        for (int i = 0; i < kRoom; ++i) {
          pixels[i] = random();
          factors[i] = random();
        }
        std::vector<uint32_t> apart(kRoom, 0x13579BDF), inPlace = pixels;
        apply(pixels.data() + offset, factors.data() + offset, apart.data() + offset, count);
        apply(inPlace.data() + offset, factors.data() + offset, inPlace.data() + offset, count);
        for (int i = 0; i < kRoom; ++i) {
          const bool inside = i >= offset && i < offset + count;
          const uint32_t lit = ApplyLightFactor(pixels[i], factors[i]);
          ASSERT_EQ(apart[i], inside ? lit : 0x13579BDFu) << offset << "+" << count << " @" << i;
          ASSERT_EQ(inPlace[i], inside ? lit : pixels[i]) << offset << "+" << count << " @" << i;
        }
      }
}

}  // namespace
}  // namespace lumavex
