#include <gtest/gtest.h>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/FreeFormPaste.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

class FreeFormPasteTest : public ::testing::Test {
 protected:
  PixelPlane Plane(int w, int h, uint32_t fill) {
    PixelPlane p;
    EXPECT_TRUE(p.Create(allocator, w, h, 4));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p.At(x, y) = fill;
    return p;
  }
  // The picture with a one-pixel border of 0 (outside the drawing area) all round.
  PixelPlane Bordered(const PixelPlane& picture) {
    PixelPlane b = Plane(picture.Width() + 2, picture.Height() + 2, 0);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) b.At(x + 1, y + 1) = picture.At(x, y);
    return b;
  }
  static PasteCorners Enlarged(int w, int h, int targetW, int targetH) {
    const double s = double(targetW) / w;
    return {{{-s, -s},
             {targetW - 1 + s, -s},
             {targetW - 1 + s, targetH - 1 + s},
             {-s, targetH - 1 + s}}};
  }

  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
};

TEST_F(FreeFormPasteTest, InverseBilinearFindsThePatchFractions) {
  const PasteCorners square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
  double u = 0, v = 0;
  ASSERT_TRUE(InverseBilinear(square, {2.5, 7.5}, u, v));
  EXPECT_NEAR(u, 0.25, 1e-12);
  EXPECT_NEAR(v, 0.75, 1e-12);
  EXPECT_FALSE(InverseBilinear(square, {10.5, 5}, u, v));
  const PasteCorners skewed{{{0, 0}, {8, 2}, {10, 12}, {-1, 9}}};
  for (double fu : {0.0, 0.3, 1.0})
    for (double fv : {0.0, 0.6, 1.0}) {
      const Sample p{
          (1 - fu) * (1 - fv) * 0 + fu * (1 - fv) * 8 + fu * fv * 10 + (1 - fu) * fv * -1,
          (1 - fu) * (1 - fv) * 0 + fu * (1 - fv) * 2 + fu * fv * 12 + (1 - fu) * fv * 9};
      ASSERT_TRUE(InverseBilinear(skewed, p, u, v));
      EXPECT_NEAR(u, fu, 1e-9);
      EXPECT_NEAR(v, fv, 1e-9);
    }
}

TEST_F(FreeFormPasteTest, EnlargingAtScaleOneCopiesThePictureExactly) {
  PixelPlane picture = Plane(5, 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      picture.At(x, y) = kDrawAreaFlag | (x * 40) << 16 | (y * 70) << 8 | 9;
  PixelPlane target = Plane(5, 3, kNewDisplayPixel);
  PasteIntoQuadrilateral(Bordered(picture), Enlarged(5, 3, 5, 3), target);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(target.At(x, y), picture.At(x, y)) << x << "," << y;
}

TEST_F(FreeFormPasteTest, EnlargingTwiceInterpolatesAndKeepsTheEdgeColours) {
  PixelPlane picture = Plane(2, 1, 0);
  picture.At(0, 0) = kDrawAreaFlag | 0x000000;
  picture.At(1, 0) = kDrawAreaFlag | 0xFFFFFF;
  PixelPlane target = Plane(4, 2, kNewDisplayPixel);
  PasteIntoQuadrilateral(Bordered(picture), Enlarged(2, 1, 4, 2), target);
  EXPECT_EQ(target.At(0, 0), kDrawAreaFlag | 0x000000u);  // the border does not darken or lighten
  EXPECT_EQ(target.At(3, 1), kDrawAreaFlag | 0xFFFFFFu);
  const uint32_t middle = target.At(1, 0) & 0xFF;
  EXPECT_GT(middle, 0u);
  EXPECT_LT(middle, 255u);
  EXPECT_EQ(target.At(1, 0) & 0xFF, target.At(1, 1) & 0xFF);
}

TEST_F(FreeFormPasteTest, EnlargingAColumnInterpolatesDownwardsOverTheWholeHeight) {
  // The enlargement corners are a rectangle up to rounding, the case where a naive
  // quadratic solution falls apart.
  PixelPlane picture = Plane(1, 3, 0);
  picture.At(0, 0) = kDrawAreaFlag | 0x000000;
  picture.At(0, 1) = kDrawAreaFlag | 0x808080;
  picture.At(0, 2) = kDrawAreaFlag | 0xFFFFFF;
  PixelPlane target = Plane(333, 999, kNewDisplayPixel);
  PasteIntoQuadrilateral(Bordered(picture), Enlarged(1, 3, 333, 999), target);
  EXPECT_EQ(target.At(100, 0) & 0xFF, 0u);
  EXPECT_EQ(target.At(100, 998) & 0xFF, 0xFFu);
  EXPECT_NEAR(int(target.At(200, 499) & 0xFF), 0x80, 2);
  for (int y = 1; y < 999; ++y) ASSERT_GE(target.At(7, y) & 0xFF, target.At(7, y - 1) & 0xFF) << y;
}

TEST_F(FreeFormPasteTest, PixelsOutsideTheQuadrilateralOrTheDrawingAreaStay) {
  PixelPlane source = Plane(3, 3, kDrawAreaFlag | 0x123456);
  source.At(2, 2) = 0x00ABCDEF;  // outside the source's drawing area
  PixelPlane target = Plane(10, 10, 0x02FFFFFF);
  PasteIntoQuadrilateral(source, {{{2, 2}, {6, 2}, {6, 6}, {2, 6}}}, target);
  EXPECT_EQ(target.At(1, 4), 0x02FFFFFFu);
  EXPECT_EQ(target.At(7, 4), 0x02FFFFFFu);
  EXPECT_EQ(target.At(2, 2), 0x02123456u);
  EXPECT_EQ(target.At(6, 6), 0x02FFFFFFu);  // only the undrawn source pixel is there
}

}  // namespace
}  // namespace lumavex
