#include <gtest/gtest.h>

#include "lumavex/canvas/AsciiPictureTestSupport.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/paint/FillRules.h"
#include "lumavex/paint/WholeAreaFills.h"

namespace lumavex {
namespace {

using testing::PictureFromAscii;
using testing::TestDrawingContext;

TEST(WholeAreaFills, HeadColourPaintsEverySelectedPixelOfTheSquareOnce) {
  TestDrawingContext c(5, 4);
  PictureFromAscii(c.canvas, {".....", ".x~..", ".#o..", "....."});
  c.canvas.processingSquare = {1, 1, 3, 2};
  c.head = 0x123456;
  platform::CountingProgress progress;
  FillWholeArea(c, WholeAreaFill::HeadColour, progress);
  EXPECT_EQ(c.journal.records.size(), 5u);  // all but the non-selected pixel
  EXPECT_EQ(c.canvas.display.At(2, 1) & ~kProcessingMarks, kDrawAreaFlag | 0x123456);
  EXPECT_EQ(c.canvas.display.At(0, 0), kNewDisplayPixel);
  // Rows from the bottom of the square up.
  EXPECT_EQ(c.journal.records.front().y, 2);
  EXPECT_EQ(c.journal.records.back().y, 1);
  EXPECT_EQ(progress.total, 2u);
  EXPECT_EQ(progress.steps, 2u);
  EXPECT_EQ(progress.ends, 1);
  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_EQ(c.marked, (PixelRect{1, 1, 3, 2}));
  EXPECT_EQ(c.sounds, (std::vector<std::string>{"end.wav"}));
  EXPECT_EQ(c.statusTexts, (std::vector<std::string>{"★全選択領域塗りつぶし中...", ""}));

  // Again without clearing the marks: nothing changes.
  FillWholeArea(c, WholeAreaFill::HeadColour, progress);
  EXPECT_EQ(c.journal.records.size(), 5u);
}

TEST(WholeAreaFills, OneColourPaintsDrawAreaPixelsNearTheTerminationColour) {
  TestDrawingContext c(4, 1);
  PictureFromAscii(c.canvas, {"..~."});
  c.canvas.display.At(1, 0) = kDrawAreaFlag | 0xF0FFFF;
  c.termination = 0xFFFFFF;
  c.settings.rgbTolerance = 10;
  c.head = 0x000001;
  platform::CountingProgress progress;
  FillWholeArea(c, WholeAreaFill::OneColour, progress);
  EXPECT_EQ(c.journal.records.size(), 2u);
  EXPECT_EQ(c.canvas.display.At(1, 0) & kColourMask, 0xF0FFFFu);
  EXPECT_EQ(c.canvas.display.At(3, 0) & kColourMask, 1u);
  // Every draw-area pixel looked at is marked, painted or not.
  EXPECT_TRUE(c.canvas.display.At(1, 0) & kPaintedMark);
  EXPECT_FALSE(c.canvas.display.At(2, 0) & kPaintedMark);
}

TEST(WholeAreaFills, InvertingTwiceRestoresThePictureWhereTheRoundingAllows) {
  TestDrawingContext c(4, 2);
  PictureFromAscii(c.canvas, {".#~x", "...."});
  c.canvas.display.At(1, 1) = kDrawAreaFlag | 0x123456;
  const Canvas before = [&] {
    Canvas copy;
    copy.display.Create(c.allocator, 4, 2, 4);
    copy.frame.Create(c.allocator, 4, 2, 4);
    std::copy_n(c.canvas.display.Data(), c.canvas.display.SizeBytes(), copy.display.Data());
    std::copy_n(c.canvas.frame.Data(), c.canvas.frame.SizeBytes(), copy.frame.Data());
    return copy;
  }();
  platform::CountingProgress progress;
  FillWholeArea(c, WholeAreaFill::Invert, progress);
  EXPECT_EQ(c.canvas.display.At(1, 1) & kColourMask, 0xEDCBA9u);
  EXPECT_EQ(c.journal.records.size(), 6u);  // not the non-draw or the non-selected pixel
  ClearMarks(c.canvas, c.marked, kProcessingMarks);
  FillWholeArea(c, WholeAreaFill::Invert, progress);
  ClearMarks(c.canvas, c.marked, kProcessingMarks);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(c.canvas.display.At(x, y), before.display.At(x, y)) << x << "," << y;
      EXPECT_EQ(c.canvas.frame.At(x, y), before.frame.At(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace lumavex
