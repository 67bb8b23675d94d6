#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

TEST(PixelRules, Round255StaysWithinOneOfTheQuotientAndIsExactOnMultiples) {
  for (uint32_t v = 0; v <= 65025; ++v) {
    const double exact = v / 255.0;
    ASSERT_LE(std::fabs(Round255(v) - exact), 1.0) << v;
    if (v % 255 == 0) {
      ASSERT_EQ(Round255(v), v / 255) << v;
    }
  }
  EXPECT_EQ(Round255(128 * 255 + 127), 128u);
}

TEST(PixelRules, BlendEndsAtBitmapAndFrame) {
  EXPECT_EQ(Blend(0x123456, 0, 0xABCDEF), 0xABCDEFu);
  EXPECT_EQ(Blend(0x123456, 255, 0xABCDEF), 0x123456u);
  EXPECT_EQ(Blend(0xFF0000, 128, 0x0000FF), 0x80007Fu);
}

TEST(PixelRules, UnblendRecoversTheBitmapUnderTranslucentFrames) {
  for (uint32_t a = 0; a < 255; a += 7)
    for (uint32_t b = 0; b < 256; b += 5)
      for (uint32_t f : {0u, 77u, 255u}) {
        const uint32_t d = Blend(f * 0x010101, a, b * 0x010101);
        const int back = static_cast<int>(Unblend(d, f * 0x010101, a) & 0xFF);
        // Blending loses at most half a step of the display colour.
        ASSERT_LE(std::abs(back - static_cast<int>(b)),
                  a < 128 ? 1 : static_cast<int>(255 / (255 - a)) + 1)
            << "a=" << a << " b=" << b << " f=" << f;
      }
  EXPECT_EQ(Unblend(0x00ABCDEF, 0x123456, 255), 0xABCDEFu);
}

TEST(PixelRules, NonSelectedRepresentation) {
  EXPECT_EQ(BackdropColour(0, 0, false, true), 0x00800000u);
  uint32_t display = kNewDisplayPixel, frame = BackdropColour(0, 0, true, false);
  Deselect(display, frame);
  EXPECT_EQ(display, 0x030000FFu);
  EXPECT_EQ(frame, 0x00000080u);
  EXPECT_EQ(TrueDisplayColour(display), 0xFFFFFFu);
  EXPECT_EQ(TrueFrameWord(frame, display), 0x00808000u);
  Deselect(display, frame);  // already non-selected: unchanged
  EXPECT_EQ(display, 0x030000FFu);
  Select(display, frame);
  EXPECT_EQ(display, 0x02FFFFFFu);
  EXPECT_EQ(frame, 0x00808000u);
}

TEST(PixelRules, FrameShiftKeepsOpacity) {
  EXPECT_EQ(ShiftFrameColour(0x7F102030), 0x7F90A0B0u);
  EXPECT_EQ(ShiftFrameColour(ShiftFrameColour(0xC0FEDCBA)), 0xC0FEDCBAu);
}

TEST(PixelRules, PaintPixelPaintsTheBitmapUnderTheFrame) {
  const uint32_t white = kNewDisplayPixel;
  // Unframed, full opacity: the colour itself; the flags byte stays.
  EXPECT_EQ(PaintPixel(0, 0, 0x123456, white | kPaintedMark, kLandEven, 255),
            (PixelPair{kDrawAreaFlag | kPaintedMark | 0x123456, kLandEven}));
  // Half opacity over white.
  EXPECT_EQ(PaintPixel(0, 0, 0x000000, white, kLandEven, 128).display,
            kDrawAreaFlag | Blend(0, 128, 0xFFFFFF));
  // Under a frame of opacity 100 the frame is laid over the painted colour again.
  const uint32_t frame = 0x64FF0000;
  const uint32_t shown = kDrawAreaFlag | Blend(0xFF0000, 100, 0xFFFFFF);
  EXPECT_EQ(PaintPixel(0, 0, 0x0000FF, shown, frame, 255),
            (PixelPair{kDrawAreaFlag | Blend(0xFF0000, 100, 0x0000FF), frame}));
  // A pixel outside the drawing area enters it with the land of its checker square.
  EXPECT_EQ(PaintPixel(8, 0, 0x0000FF, 0x00FFFFFF, kWaterOdd, 255),
            (PixelPair{kDrawAreaFlag | 0x0000FF, kLandOdd}));
}

TEST(PixelRules, FrameMergeKeepsTheFrontFrameInFront) {
  EXPECT_EQ(MergeFrame(kLandEven, 200, 0x123456), 0xC8123456u);
  EXPECT_EQ(MergeFrame(0xFF00FF00, 200, 0xFF0000), 0xFF00FF00u);
  const uint32_t merged = MergeFrame(0x800000FF, 255, 0xFF0000);
  EXPECT_EQ(Opacity(merged), 255u);
  EXPECT_NEAR(static_cast<int>(Channel(merged, 0)), 128, 1);
  EXPECT_NEAR(static_cast<int>(Channel(merged, 16)), 127, 1);
}

}  // namespace
}  // namespace lumavex
