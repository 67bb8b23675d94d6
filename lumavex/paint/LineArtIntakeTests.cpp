#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/LineArtIntake.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

TEST(LineArtIntake, SeparatesPenColoursFromWhite) {
  EXPECT_EQ(SeparatedFromWhite(0xFFFFFF), std::nullopt);
  EXPECT_EQ(SeparatedFromWhite(0xFF0000), 0xFFFF0000u);
  EXPECT_EQ(SeparatedFromWhite(0xFF8080), 0x7FFF0000u);
  EXPECT_EQ(SeparatedFromWhite(0x808080), 0x7F000000u);
  EXPECT_EQ(SeparatedFromWhite(0xFCFCFC), 0x03000000u);
  EXPECT_EQ(SeparatedFromWhite(0xFF8000), 0xFFFF8000u);
}

// The separation as written, with plain divisions.
std::optional<uint32_t> ReferenceSeparation(uint32_t colour) {
  const uint32_t least = std::min({Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)});
  const uint32_t a = 255 - least;
  if (a <= 2) return std::nullopt;
  uint32_t pen = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    pen |= (255 - ((255 - Channel(colour, shift)) * 255 + (a >> 1)) / a) << shift;
  return (a << 24) | pen;
}

TEST(LineArtIntake, SeparationEqualsThePlainDivisionForEveryColour) {
  for (uint32_t c = 0; c < 0x1000000; ++c)
    ASSERT_EQ(SeparatedFromWhite(c), ReferenceSeparation(c)) << std::hex << c;
}

TEST(LineArtIntake, UnderAFrameEqualsTheRulesComposedByHand) {
  for (uint32_t a = 1; a < 256; a += 2)
    for (uint32_t c = 0; c < 0x1000000; c += 0x0F0B07) {
      const uint32_t frame = (a << 24) | (c * 7 & kColourMask);
      const uint32_t display = kDrawAreaFlag | Blend(frame, a, c);
      const std::optional<uint32_t> separated = ReferenceSeparation(Unblend(display, frame, a));
      const std::optional<uint32_t> expected =
          separated ? std::optional<uint32_t>(MergeFrame(frame, Opacity(*separated), *separated))
                    : std::nullopt;
      ASSERT_EQ(IntakeFrame(display, frame), expected) << std::hex << display << " " << frame;
    }
}

TEST(LineArtIntake, NeverAFrameWhereTheSmallestChannelIs253OrMore) {
  for (uint32_t r = 0; r < 256; r += 3)
    for (uint32_t g = 253; g < 256; ++g)
      for (uint32_t b = 0; b < 256; b += 5) {
        const uint32_t c = (std::max(r, g) << 16) | (g << 8) | std::max(b, g);
        EXPECT_EQ(SeparatedFromWhite(c), std::nullopt) << std::hex << c;
      }
  // Laid over white, every separated frame gives its colour back.
  for (uint32_t c = 0; c < 0x1000000; c += 0x010305) {
    const std::optional<uint32_t> frame = SeparatedFromWhite(c);
    if (!frame) continue;
    const uint32_t shown = Blend(*frame, Opacity(*frame), 0xFFFFFF);
    for (int shift = 0; shift <= 16; shift += 8)
      EXPECT_LE(
          std::abs(static_cast<int>(Channel(shown, shift)) - static_cast<int>(Channel(c, shift))),
          1)
          << std::hex << c;
  }
}

TEST(LineArtIntake, TakesTheBitmapUnderAFrameAndKeepsTheFrameInFront) {
  // A half-opaque blue frame over a grey bitmap (128, 128, 128).
  const uint32_t frame = 0x800000FF;
  const uint32_t display = kDrawAreaFlag | Blend(frame, 128, 0x808080);
  const std::optional<uint32_t> taken = IntakeFrame(display, frame);
  ASSERT_TRUE(taken);
  // The bitmap is found as (129, 129, 129): black at 126, laid under the blue frame.
  EXPECT_EQ(*taken, 0x800000AAu);
}

TEST(LineArtIntake, ChangesOnlySelectedDrawAreaFramesInOneStepAndKeepsTheDisplay) {
  TestDrawingContext c(4, 3);
  Canvas& k = c.canvas;
  k.display.At(0, 0) = kDrawAreaFlag | 0xFF0000;
  k.display.At(1, 0) = kDrawAreaFlag | kPaintedMark | 0x808080;  // marks are not tested
  k.display.At(2, 0) = 0x808080;                                 // outside the draw area
  k.display.At(3, 0) = kDrawAreaFlag | kNonSelectedFlag | (0x808080 ^ kNonSelectedDisplayXor);
  k.display.At(0, 2) = kDrawAreaFlag | 0xFF8000;  // outside the processing square
  k.processingSquare = {0, 0, 3, 1};
  std::vector<uint32_t> displays;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) displays.push_back(k.display.At(x, y));
  platform::CountingProgress progress;
  TakeInColourLineArt(c, progress);

  EXPECT_EQ(k.frame.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(k.frame.At(1, 0), 0x7F000000u);
  EXPECT_EQ(k.frame.At(2, 0), BackdropColour(2, 0, true, false));
  EXPECT_EQ(Opacity(k.frame.At(3, 0)), 0u);
  EXPECT_EQ(Opacity(k.frame.At(0, 2)), 0u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(k.display.At(x, y), displays[y * 4 + x]) << x << y;
  ASSERT_EQ(c.journal.records.size(), 2u);
  EXPECT_EQ(c.journal.records[0].newDisplay, c.journal.records[0].oldDisplay);
  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_EQ(c.marked, (PixelRect{0, 0, 1, 0}));
  EXPECT_EQ(c.sounds, (std::vector<std::string>{"end.wav"}));
  EXPECT_EQ(progress.total, 2u);
  EXPECT_EQ(progress.steps, 2u);
  EXPECT_EQ(progress.ends, 1);
}

}  // namespace
}  // namespace lumavex
