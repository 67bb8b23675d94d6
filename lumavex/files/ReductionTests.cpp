#include "lumavex/files/Reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top line first
  const uint32_t* Line(int y) const { return pixels.data() + size_t(y) * width; }
};

Picture RandomPicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Picture p{width, height, std::vector<uint32_t>(size_t(width) * height)};
  for (uint32_t& v : p.pixels) v = random();  // flags in the top byte must not matter
  return p;
}

// The resampling written out directly over whole-picture sums, in 64 bits.
std::vector<uint32_t> ReferenceReduce(const Picture& p, int tw, int th) {
  std::vector<uint64_t> sums(size_t(tw) * th * 4, 0);
  for (int y = 0; y <= p.height - 2; ++y) {
    const uint32_t Y = ReductionPosition(y, p.height, th);
    for (int x = 0; x <= p.width - 2; ++x) {
      const uint32_t X = ReductionPosition(x, p.width, tw);
      const uint32_t c = X >> 11, fx = X - c * 2048, r = Y >> 11, fy = Y - r * 2048;
      const uint32_t pixel = p.Line(y)[x];
      const struct { uint32_t col, row, w; } parts[4] = {
          {c, r, (2048 - fx) * (2048 - fy)}, {c + 1, r, fx * (2048 - fy)},
          {c, r + 1, (2048 - fx) * fy}, {c + 1, r + 1, fx * fy}};
      for (const auto& part : parts) {
        uint64_t* s = &sums[(size_t(part.row) * tw + part.col) * 4];
        for (int ch = 0; ch < 3; ++ch)
          s[ch] += (uint64_t(part.w) * ((pixel >> (8 * ch)) & 0xFF) + 0x200000) >> 22;
        s[3] += (part.w + 1024) >> 11;
      }
    }
  }
  std::vector<uint32_t> out(size_t(tw) * th);
  for (size_t i = 0; i < out.size(); ++i) {
    const uint64_t* s = &sums[i * 4];
    uint32_t word = kDrawAreaFlag;
    for (int ch = 0; ch < 3; ++ch) {
      const uint64_t v = s[3] ? std::min<uint64_t>(255, ((s[ch] << 11) + s[3] / 2) / s[3]) : 0;
      word |= uint32_t(v) << (8 * ch);
    }
    out[i] = word;
  }
  return out;
}

class ReductionTest : public ::testing::Test {
 protected:
  // Reduces through the row source, checking it is asked bottom line first.
  std::vector<uint32_t> Reduce(const Picture& p, int tw, int th) {
    PixelPlane target;
    EXPECT_TRUE(target.Create(allocator, tw, th, 4));
    int expected = p.height - 1;
    const bool ok = ReducePicture(
        [&](int y) {
          EXPECT_EQ(y, expected--);
          return p.Line(y);
        },
        p.width, p.height, target);
    EXPECT_TRUE(ok);
    std::vector<uint32_t> out;
    for (int y = 0; y < th; ++y) out.insert(out.end(), target.Row32(y), target.Row32(y) + tw);
    return out;
  }

  platform::TestHost host;
  platform::Allocator allocator{host, [] { return platform::MemoryStatus{1ull << 40, 1ull << 40, 1ull << 40, 1ull << 40}; }};
};

TEST_F(ReductionTest, PositionsOfAFourByFourToTwoByTwo) {
  EXPECT_EQ(ReductionPosition(0, 4, 2), 0u);
  EXPECT_EQ(ReductionPosition(1, 4, 2), 1023u);
  EXPECT_EQ(ReductionPosition(2, 4, 2), 2047u);
}

TEST_F(ReductionTest, MatchesTheDirectFormulaForManyShapes) {
  const struct { int w, h, tw, th; } shapes[] = {
      {4, 4, 2, 2},     {5, 7, 3, 2},     {64, 48, 16, 12},  {100, 37, 99, 36},
      {33, 33, 33, 33}, {3, 3, 2, 2},     {257, 129, 64, 5}, {640, 480, 213, 160},
      {1000, 9, 7, 9},  {3000, 3000, 2, 2}};  // the last needs 64-bit sums
  unsigned seed = 1;
  for (const auto& s : shapes) {
    SCOPED_TRACE(testing::Message() << s.w << "x" << s.h << " -> " << s.tw << "x" << s.th);
    const Picture p = RandomPicture(s.w, s.h, seed++);
    EXPECT_EQ(Reduce(p, s.tw, s.th), ReferenceReduce(p, s.tw, s.th));
  }
}

TEST_F(ReductionTest, FlatColourStaysFlat) {
  Picture p{90, 70, std::vector<uint32_t>(90 * 70, 0x01336699)};
  // Every share is rounded on its own, so a flat colour may come out one lower.
  for (uint32_t v : Reduce(p, 31, 17)) {
    EXPECT_EQ(v & 0xFF000000, kDrawAreaFlag);
    for (int shift = 0; shift <= 16; shift += 8)
      EXPECT_LE(int(Channel(0x336699, shift)) - int(Channel(v, shift)), 1);
  }
}

TEST_F(ReductionTest, NarrowSourcesAreCopiedNotResampled) {
  Picture p = RandomPicture(2, 6, 7);
  const std::vector<uint32_t> out = Reduce(p, 2, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(out[y * 2 + x], (p.Line(y * 2)[x] & kColourMask) | kDrawAreaFlag);
  Picture wide = RandomPicture(9, 2, 8);
  const std::vector<uint32_t> copy = Reduce(wide, 9, 2);
  for (size_t i = 0; i < copy.size(); ++i)
    EXPECT_EQ(copy[i], (wide.pixels[i] & kColourMask) | kDrawAreaFlag);
}

TEST_F(ReductionTest, RefusesImpossibleSizesAndStopsOnAFailedRead) {
  PixelPlane target;
  ASSERT_TRUE(target.Create(allocator, 10, 10, 4));
  Reduction reduction;
  EXPECT_FALSE(reduction.Start(9, 20, target));  // wider target than source
  ASSERT_TRUE(target.Create(allocator, 1, 5, 4));
  EXPECT_FALSE(reduction.Start(9, 20, target));
  ASSERT_TRUE(target.Create(allocator, 4, 4, 4));
  int calls = 0;
  EXPECT_FALSE(ReducePicture([&](int) -> const uint32_t* {
                               ++calls;
                               return nullptr;
                             },
                             20, 20, target));
  EXPECT_EQ(calls, 1);
}

TEST(ReducedSaveTest, RatioMustDivideBothSides) {
  const ReducedSaveSize third = ReducedSaveTarget({1000, 800}, 1, 3);
  EXPECT_FALSE(third.ok);
  EXPECT_STREQ(third.message, "★縮小率で幅が割り切れません");
  const ReducedSaveSize half = ReducedSaveTarget({1000, 800}, 1, 2);
  ASSERT_TRUE(half.ok);
  EXPECT_EQ(half.size, (PictureSize{500, 400}));
  EXPECT_STREQ(ReducedSaveTarget({900, 1000}, 1, 3).message, "★縮小率で高さが割り切れません");
  EXPECT_FALSE(ReducedSaveTarget({29999, 29999}, 1, 2).ok);
  EXPECT_EQ(ReducedSaveTarget({4, 4}, 1, 4).size, (PictureSize{2, 2}));
  EXPECT_EQ(ReducedSaveTarget({30000, 15000}, 2, 3).size, (PictureSize{20000, 10000}));
}

TEST(ReducedSaveTest, DroppedBatchMustBeNativeFiles) {
  EXPECT_TRUE(AllNativeFileNames({"0000.lmv", "dir/0001.LMV"}));
  EXPECT_FALSE(AllNativeFileNames({"0000.lmv", "0001.bmp"}));
  EXPECT_FALSE(AllNativeFileNames({"lmv"}));
}

}  // namespace
}  // namespace lumavex
