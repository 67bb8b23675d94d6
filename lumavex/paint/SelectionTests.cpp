#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/Selection.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

TEST(Selection, SelectAllRestoresTheTrueColoursOfEveryPixel) {
  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
  Canvas canvas;
  platform::NoProgress progress;
  ASSERT_TRUE(CreateBlankPicture(canvas, allocator, 3, 2, progress));
  Deselect(canvas.display.At(1, 1), canvas.frame.At(1, 1));
  ChangeSelection(canvas, SelectionChange::SelectAll, canvas.Bounds());
  EXPECT_EQ(canvas.display.At(1, 1), 0x02FFFFFFu);
  EXPECT_EQ(canvas.frame.At(1, 1), 0x00808000u);
  EXPECT_EQ(canvas.display.At(0, 0), 0x02FFFFFFu);
}

// A 7 × 5 picture of random words: colours, frames, flags and marks of every kind.
struct RandomPicture {
  RandomPicture() : c(7, 5) {
    std::mt19937 random(17);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        c.canvas.display.At(x, y) = random() & 0x7FFFFFFF;
        c.canvas.frame.At(x, y) = random();
      }
  }
  std::vector<uint32_t> Words() const {
    std::vector<uint32_t> words;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        words.push_back(c.canvas.display.At(x, y));
        words.push_back(c.canvas.frame.At(x, y));
      }
    return words;
  }
  TestDrawingContext c;
};

TEST(Selection, SelectAllThenDeselectAllAndReverseTwiceRestoreEveryWord) {
  RandomPicture p;
  Canvas& canvas = p.c.canvas;
  // Make every pixel selected, take the words, then go round and back.
  ChangeSelection(canvas, SelectionChange::SelectAll, canvas.Bounds());
  const std::vector<uint32_t> selected = p.Words();
  EXPECT_EQ(ChangeSelection(canvas, SelectionChange::DeselectAll, canvas.Bounds()), 35u);
  EXPECT_EQ(ChangeSelection(canvas, SelectionChange::DeselectAll, canvas.Bounds()), 0u);
  EXPECT_EQ(ChangeSelection(canvas, SelectionChange::SelectAll, canvas.Bounds()), 35u);
  EXPECT_EQ(p.Words(), selected);

  RandomPicture mixed;
  const std::vector<uint32_t> before = mixed.Words();
  ChangeSelection(mixed.c.canvas, SelectionChange::Reverse, mixed.c.canvas.Bounds());
  EXPECT_NE(mixed.Words(), before);
  ChangeSelection(mixed.c.canvas, SelectionChange::Reverse, mixed.c.canvas.Bounds());
  EXPECT_EQ(mixed.Words(), before);
}

TEST(Selection, ADeselectedPixelShowsRedAndGreenInvertedAndItsFrameShifted) {
  TestDrawingContext c(4, 2);
  Canvas& canvas = c.canvas;
  canvas.display.At(1, 0) = kDrawAreaFlag | kPaintedMark | 0x123456;
  canvas.frame.At(1, 0) = 0x40A0B0C0;
  ChangeSelection(canvas, SelectionChange::DeselectAll, {1, 0, 1, 0});
  EXPECT_EQ(canvas.display.At(1, 0), kDrawAreaFlag | kPaintedMark | kNonSelectedFlag | 0xEDCB56);
  EXPECT_EQ(canvas.frame.At(1, 0), 0x40203040u);
  ChangeSelection(canvas, SelectionChange::DeselectAll, {0, 0, 0, 0});
  EXPECT_EQ(canvas.display.At(0, 0), 0x030000FFu);  // white at (0, 0), no frame
  EXPECT_EQ(canvas.frame.At(0, 0), 0x00000080u);
  ChangeSelection(canvas, SelectionChange::SelectAll, canvas.Bounds());
  EXPECT_EQ(canvas.display.At(1, 0), kDrawAreaFlag | kPaintedMark | 0x123456);
  EXPECT_EQ(canvas.frame.At(1, 0), 0x40A0B0C0u);
  EXPECT_EQ(canvas.display.At(0, 0), 0x02FFFFFFu);
  EXPECT_EQ(canvas.frame.At(0, 0), 0x00808000u);
}

TEST(Selection, ChangesStayInsideTheRectangleAndThePicture) {
  RandomPicture p;
  Canvas& canvas = p.c.canvas;
  const std::vector<uint32_t> before = p.Words();
  EXPECT_EQ(ChangeSelection(canvas, SelectionChange::Reverse, {5, 3, 40, 40}), 4u);
  const std::vector<uint32_t> after = p.Words();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const size_t i = 2 * static_cast<size_t>(y * 7 + x);
      const bool inside = x >= 5 && y >= 3;
      EXPECT_EQ(after[i] != before[i], inside) << x << "," << y;
      EXPECT_EQ(after[i] & ~kColourMask & ~kNonSelectedFlag,
                before[i] & ~kColourMask & ~kNonSelectedFlag);
    }
  EXPECT_EQ(ChangeSelection(canvas, SelectionChange::Reverse, {8, 0, 9, 4}), 0u);
}

}  // namespace
}  // namespace lumavex
