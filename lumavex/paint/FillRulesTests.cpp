#include <gtest/gtest.h>

#include "lumavex/paint/FillRules.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

TEST(FillRules, ToleranceComparesTheBitmapColourWithEndsIncluded) {
  const ToleranceReference reference{false, 0x806040, 16};
  EXPECT_TRUE(PassesTolerance(kDrawAreaFlag | 0x907030, kLandEven, reference));
  EXPECT_FALSE(PassesTolerance(kDrawAreaFlag | 0x917030, kLandEven, reference));
  EXPECT_FALSE(PassesTolerance(kDrawAreaFlag | 0x80602F, kLandEven, reference));
  // Under a translucent frame the colour found under it counts, not the shown one.
  const uint32_t shown = Blend(0x000000, 100, 0x806040);
  EXPECT_TRUE(PassesTolerance(kDrawAreaFlag | shown, 0x64000000, reference));
  EXPECT_FALSE(PassesTolerance(kDrawAreaFlag | shown, kLandEven, reference));
}

TEST(FillRules, TheNonDrawReferenceTakesFramedAndNonDrawPixels) {
  const ToleranceReference nonDraw{true, 0, 0};
  EXPECT_TRUE(PassesTolerance(0x00FFFFFF, kWaterEven, nonDraw));
  EXPECT_TRUE(PassesTolerance(kDrawAreaFlag, 0x01000000, nonDraw));
  EXPECT_FALSE(PassesTolerance(kDrawAreaFlag | 0xFFFFFF, kLandEven, nonDraw));
}

TEST(FillRules, TilingRepeatsTheFillPictureFromItsOrigin) {
  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.totalPageFile = m.availablePageFile = 1ull << 32;
                                  return m;
                                }};
  FillPicture picture;
  ASSERT_TRUE(picture.display.Create(allocator, 3, 2, 4));
  ASSERT_TRUE(picture.frame.Create(allocator, 3, 2, 4));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) picture.display.At(x, y) = static_cast<uint32_t>(y * 3 + x);
  picture.originX = 4;
  picture.originY = -1;
  EXPECT_EQ(TiledFillPixel(picture, 4, 1).display, 0u);
  EXPECT_EQ(TiledFillPixel(picture, 0, 0).display, 5u);  // (-4 mod 3, 1 mod 2)
  EXPECT_EQ(TiledFillPixel(picture, 9, 4).display, 5u);
}

TEST(FillRules, BitmapFillWithoutFramesCopiesColoursExactly) {
  const PixelPair white{kNewDisplayPixel, kLandEven};
  EXPECT_EQ(BitmapFillPixel(0, 0, white, {kDrawAreaFlag | 0x123456, kLandOdd}, 255),
            (PixelPair{kDrawAreaFlag | 0x123456, kLandEven}));
  // Outside the drawing area the canvas pixel enters it, with its own flags kept.
  EXPECT_EQ(BitmapFillPixel(0, 0, {0x00FFFFFF | kQueuedMark, kWaterEven},
                            {kDrawAreaFlag | 0x123456, kLandOdd}, 255),
            (PixelPair{kDrawAreaFlag | kQueuedMark | 0x123456, kLandEven}));
  // Under a canvas frame the fill colour goes under it.
  const PixelPair framed{kDrawAreaFlag | Blend(0xFF0000, 100, 0xFFFFFF), 0x64FF0000};
  EXPECT_EQ(BitmapFillPixel(0, 0, framed, {kDrawAreaFlag | 0x0000FF, kLandOdd}, 255)->display,
            kDrawAreaFlag | Blend(0xFF0000, 100, 0x0000FF));
}

TEST(FillRules, BitmapFillLeavesNonDrawAndEqualPixelsAlone) {
  const PixelPair pixel{kDrawAreaFlag | 0x123456, kLandEven};
  EXPECT_FALSE(BitmapFillPixel(0, 0, pixel, {0x00ABCDEF, kWaterEven}, 255));
  EXPECT_FALSE(BitmapFillPixel(0, 0, {pixel.display | kPaintedMark, kLandEven}, pixel, 255));
}

TEST(FillRules, BitmapFillMergesItsFrameUnderTheCanvasFrame) {
  const PixelPair canvas{kDrawAreaFlag | Blend(0x0000FF, 128, 0xFFFFFF), 0x800000FF};
  const PixelPair fill{kDrawAreaFlag | Blend(0xFF0000, 255, 0), 0xFFFF0000};
  const PixelPair merged = *BitmapFillPixel(0, 0, canvas, fill, 255);
  EXPECT_EQ(merged.frame, MergeFrame(canvas.frame, 255, 0xFF0000));
  EXPECT_EQ(merged.display & kColourMask, merged.frame & kColourMask);  // opaque now
  // At maximum opacity 128 the fill frame counts half.
  EXPECT_EQ(BitmapFillPixel(0, 0, {kNewDisplayPixel, kLandEven}, fill, 128)->frame, 0x80FF0000u);
}

TEST(FillRules, InvertingTwiceRestoresUnframedPixelsAndFrames) {
  for (uint32_t colour : {0x000000u, 0x123456u, 0xFFFFFFu}) {
    const PixelPair pixel{kDrawAreaFlag | colour, kLandOdd};
    EXPECT_EQ(InvertedPixel(InvertedPixel(pixel)), pixel);
    const PixelPair opaque{kDrawAreaFlag | colour, 0xFF000000 | colour};
    EXPECT_EQ(InvertedPixel(InvertedPixel(opaque)), opaque);
  }
  // Under a translucent frame the frame word comes back exactly; the bitmap under it
  // only within the rounding of the un-blend.
  const PixelPair half{kDrawAreaFlag | Blend(0x204060, 127, 0x00FF80), 0x7F204060};
  const PixelPair twice = InvertedPixel(InvertedPixel(half));
  EXPECT_EQ(twice.frame, half.frame);
  EXPECT_EQ(InvertedPixel(half).frame, 0x7FDFBF9Fu);
  for (int shift = 0; shift <= 16; shift += 8)
    EXPECT_NEAR(static_cast<int>(Channel(twice.display, shift)),
                static_cast<int>(Channel(half.display, shift)), 1);
}

}  // namespace
}  // namespace lumavex
