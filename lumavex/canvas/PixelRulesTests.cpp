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

// The rules divide by multiply and shift; these are the same rules with the plain
// integer divisions, to check them against.
uint32_t PlainUnblend(uint32_t d, uint32_t f, uint32_t a) {
  if (a == 0 || a >= 255) return d & kColourMask;
  const int rest = 255 - static_cast<int>(a);
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int v = (static_cast<int>(Channel(d, shift)) * 255 -
             static_cast<int>(Channel(f, shift)) * static_cast<int>(a) + (rest >> 1)) /
            rest;
    v = v < 0 ? 0 : v > 255 ? 255 : v;
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

uint32_t PlainMergeFrame(uint32_t frame, uint32_t underAlpha, uint32_t underColour) {
  const uint32_t a = Opacity(frame);
  if (a == 0) return (underAlpha << 24) | (underColour & kColourMask);
  const uint32_t t = Round255((255 - a) * underAlpha);
  uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    colour |= ((Channel(underColour, shift) * t + Channel(frame, shift) * a) / (a + t)) << shift;
  return (std::max(a, underAlpha) << 24) | colour;
}

// Each channel is computed alone, so one channel value repeated in all three covers
// every input of the un-blend; the merge's divisor a + t never passes 255.
TEST(PixelRules, ShiftedDivisionsEqualThePlainDivisions) {
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t d = 0; d < 256; ++d)
      for (uint32_t f = 0; f < 256; ++f) {
        const uint32_t display = d * 0x010101, frame = (a << 24) | f * 0x010101;
        ASSERT_EQ(Unblend(display, frame, a), PlainUnblend(display, frame, a))
            << a << " " << d << " " << f;
      }
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t under = 0; under < 256; ++under) {
      ASSERT_LE(a + Round255((255 - a) * under), 255u) << a << " " << under;
      for (uint32_t c = 0; c < 256; c += 5) {
        const uint32_t frame = (a << 24) | c * 0x010203 % 0x1000000;
        const uint32_t colour = (255 - c) * 0x030201 % 0x1000000;
        ASSERT_EQ(MergeFrame(frame, under, colour), PlainMergeFrame(frame, under, colour))
            << a << " " << under << " " << c;
      }
    }
}

}  // namespace
}  // namespace lumavex
