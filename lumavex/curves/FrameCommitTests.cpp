#include "lumavex/curves/FrameCommit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

// ---- A literal per-channel reading of the merge rules, in wide signed arithmetic. ----

int64_t RefRound255(int64_t v) { return (v + (v >> 8) + 128) >> 8; }
int64_t Ch(uint32_t word, int i) { return (word >> (8 * i)) & 0xFF; }

uint32_t RefMerge(uint32_t frame, int64_t as, uint32_t w) {
  const int64_t a = frame >> 24;
  if (a == 0) return static_cast<uint32_t>(as << 24) | (w & 0xFFFFFF);
  const int64_t merged = std::max(a, as);
  const int64_t t = RefRound255((255 - a) * as);
  uint32_t out = static_cast<uint32_t>(merged) << 24;
  for (int i = 0; i < 3; ++i)
    out |= static_cast<uint32_t>((Ch(w, i) * t + Ch(frame, i) * a) / (a + t)) << (8 * i);
  return out;
}

uint32_t RefReblend(uint32_t d, uint32_t oldFrame, uint32_t newFrame) {
  const int64_t a = oldFrame >> 24, merged = newFrame >> 24;
  if (merged == 255) return newFrame & 0xFFFFFF;
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const int64_t v = ((Ch(d, i) * 255 - Ch(oldFrame, i) * a) * (255 - merged) + ((255 - a) >> 1)) /
                          (255 - a) +
                      Ch(newFrame, i) * merged;
    out |= static_cast<uint32_t>(std::clamp<int64_t>(RefRound255(v), 0, 255)) << (8 * i);
  }
  return out;
}

uint32_t RefShift(uint32_t d, uint32_t oldFrame, uint32_t w) {
  const int64_t a = oldFrame >> 24;
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const int64_t diff = Ch(w, i) - Ch(oldFrame, i);
    const int64_t step = RefRound255((diff < 0 ? -diff : diff) * a);
    const int64_t v = Ch(d, i) + (diff < 0 ? -step : step);
    out |= static_cast<uint32_t>(std::clamp<int64_t>(v, 0, 255)) << (8 * i);
  }
  return out;
}

TEST(FrameMergeRules, MatchTheLiteralRulesForRandomPixels) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<uint32_t> word;
  std::uniform_int_distribution<int> alpha(0, 255);
  for (int i = 0; i < 200000; ++i) {
    // Every fourth case an edge opacity, so that 0 and 255 are well covered.
    const int pick = i % 4;
    const uint32_t a = pick == 0 ? (i / 4) % 2 * 255 : alpha(random);
    const uint32_t as = pick == 1 ? 255 : std::max(1, alpha(random));
    const uint32_t frame = (a << 24) | (word(random) & 0xFFFFFF);
    const uint32_t w = word(random) & 0xFFFFFF;
    const uint32_t d = word(random) & 0xFFFFFF;
    const uint32_t merged = MergeFrame(frame, as, w);
    ASSERT_EQ(merged, RefMerge(frame, as, w)) << std::hex << frame << " " << as << " " << w;
    ASSERT_EQ(ReblendDisplay(d, frame, merged), RefReblend(d, frame, merged))
        << std::hex << d << " " << frame << " " << merged;
    ASSERT_EQ(ShiftDisplay(d, frame, w), RefShift(d, frame, w)) << std::hex << d << " " << frame;
  }
}

TEST(FrameMergeRules, OpaqueFrameStaysInFront) {
  const uint32_t frame = 0xFF123456;
  EXPECT_EQ(MergeFrame(frame, 200, 0xABCDEF), frame);
  EXPECT_EQ(ReblendDisplay(0x123456, frame, frame), 0x123456u);
}

TEST(CommitPixel, NonSelectedPixelsAreComputedOnTheirTrueColours) {
  for (FrameFlavour flavour :
       {FrameFlavour::Normal, FrameFlavour::Transparent, FrameFlavour::ColourChange}) {
    uint32_t display = 0x02000000 | Blend(0x3060A0, 90, 0xE0C0A0);
    uint32_t frame = (90u << 24) | 0x3060A0;
    const uint32_t work = (200u << 24) | 0x10F020;
    const PixelPair selected = *CommitPixel(flavour, work, {display, frame});

    Deselect(display, frame);
    PixelPair nonSelected = *CommitPixel(flavour, work, {display, frame});
    EXPECT_TRUE(nonSelected.display & kNonSelectedFlag);
    Select(nonSelected.display, nonSelected.frame);
    EXPECT_EQ(nonSelected, selected) << static_cast<int>(flavour);
  }
}

TEST(CommitPixel, FlavoursSetTheirFlagsAndKeepTheRest) {
  const PixelPair blank{0x02FFFFFF, 0x00808000};
  const uint32_t work = (255u << 24) | 0x0000FF;
  EXPECT_EQ(*CommitPixel(FrameFlavour::Normal, work, blank), (PixelPair{0x060000FF, 0xFF0000FF}));
  EXPECT_EQ(*CommitPixel(FrameFlavour::Transparent, work, blank),
            (PixelPair{0x06FFFFFF, 0xFF0000FF}));
  EXPECT_FALSE(CommitPixel(FrameFlavour::ColourChange, work, blank));
  // A normal frame brings a pixel into the drawing area.
  const PixelPair outside{0x00FFFFFF, 0x00008080};
  EXPECT_EQ(CommitPixel(FrameFlavour::Normal, work, outside)->display, 0x060000FFu);
  // A colour change keeps the opacity and moves the display by the change seen through it.
  const PixelPair framed{0x02000000 | Blend(0xFF0000, 128, 0xFFFFFF), (128u << 24) | 0xFF0000};
  const PixelPair recoloured = *CommitPixel(FrameFlavour::ColourChange, work, framed);
  EXPECT_EQ(recoloured.frame, (128u << 24) | 0x0000FFu);
  EXPECT_EQ(recoloured.display, 0x06000000 | Blend(0x0000FF, 128, 0xFFFFFF));
}

class CommitFrameTest : public ::testing::Test {
 protected:
  CommitFrameTest() : c(12, 10) {}

  void PutWork(int x, int y, uint32_t value) { c.canvas.work.At(x, y) = value; }

  TestDrawingContext c;
};

TEST_F(CommitFrameTest, EmptyRectangleDoesNothing) {
  PutWork(3, 3, 0xFF000000);
  CommitFrame(c, FrameFlavour::Normal, PixelRect{});
  EXPECT_EQ(c.undoSteps, 0);
  EXPECT_TRUE(c.statusTexts.empty());
  EXPECT_TRUE(c.sounds.empty());
  EXPECT_EQ(c.canvas.work.At(3, 3), 0xFF000000u);
}

TEST_F(CommitFrameTest, CommitsInsideTheRectangleBottomUpAndFinishes) {
  PutWork(2, 2, (255u << 24) | 0x112233);
  PutWork(5, 4, (128u << 24) | 0x445566);
  PutWork(9, 9, (255u << 24) | 0x778899);  // outside the rectangle
  const PixelRect rect{1, 1, 6, 5};
  c.marked = PixelRect{8, 8, 8, 8};
  CommitFrame(c, FrameFlavour::Normal, rect);

  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_EQ(c.statusTexts, (std::vector<std::string>{"★描画中...", ""}));
  EXPECT_EQ(c.sounds, std::vector<std::string>{"end.wav"});
  EXPECT_EQ(c.marked, (PixelRect{1, 1, 8, 8}));
  EXPECT_EQ(c.redrawn, std::vector<PixelRect>{rect});
  EXPECT_EQ(c.canvas.work.At(2, 2), 0u);
  EXPECT_EQ(c.canvas.work.At(5, 4), 0u);
  EXPECT_EQ(c.canvas.work.At(9, 9), (255u << 24) | 0x778899);
  EXPECT_EQ(c.canvas.display.At(2, 2), 0x06112233u);
  EXPECT_EQ(c.canvas.frame.At(5, 4), (128u << 24) | 0x445566u);
  EXPECT_EQ(c.canvas.display.At(5, 4), 0x06000000u | Blend(0x445566, 128, 0xFFFFFF));
  EXPECT_EQ(c.canvas.display.At(9, 9), kNewDisplayPixel);

  ASSERT_EQ(c.journal.records.size(), 2u);
  const JournalRecord& first = c.journal.records[0];
  EXPECT_EQ(first.x, 5);
  EXPECT_EQ(first.y, 4);
  EXPECT_EQ(first.oldDisplay, kNewDisplayPixel);
  EXPECT_EQ(first.oldFrame, BackdropColour(5, 4, true, false));
  EXPECT_EQ(first.newDisplay, c.canvas.display.At(5, 4) & kJournalMask);
  EXPECT_EQ(first.newFrame, c.canvas.frame.At(5, 4));
  EXPECT_EQ(c.journal.records[1].y, 2);
}

TEST_F(CommitFrameTest, RectangleIsClippedToThePicture) {
  PutWork(0, 0, (255u << 24) | 0x010203);
  CommitFrame(c, FrameFlavour::Normal, PixelRect{-5, -5, 100, 100});
  EXPECT_EQ(c.redrawn, std::vector<PixelRect>{(PixelRect{0, 0, 11, 9})});
  EXPECT_EQ(c.canvas.frame.At(0, 0), 0xFF010203u);
}

TEST_F(CommitFrameTest, FrameGradationPenRecoloursOnlyFramedPixels) {
  c.canvas.frame.At(3, 3) = (200u << 24) | 0x000000;
  c.canvas.display.At(3, 3) = 0x02000000 | Blend(0x000000, 200, 0xFFFFFF);
  PutWork(3, 3, (255u << 24) | 0xFFFFFF);
  PutWork(4, 3, (255u << 24) | 0xFFFFFF);
  CommitFrame(c, FrameFlavour::ColourChange, PixelRect{0, 0, 11, 9});
  EXPECT_EQ(c.canvas.frame.At(3, 3), (200u << 24) | 0xFFFFFFu);
  EXPECT_EQ(c.canvas.display.At(3, 3), 0x06FFFFFFu);
  // No frame at (4, 3): the backdrop and the display stay, no record is made.
  EXPECT_EQ(c.canvas.frame.At(4, 3), BackdropColour(4, 3, true, false));
  EXPECT_EQ(c.canvas.display.At(4, 3), kNewDisplayPixel);
  EXPECT_EQ(c.canvas.work.At(4, 3), 0u);
  EXPECT_EQ(c.journal.records.size(), 1u);
}

// The commit as a plain loop over the rectangle: each work pixel through the pixel
// rule and the journaled write, rows bottom up.
void ReferenceCommit(TestDrawingContext& c, FrameFlavour flavour, const PixelRect& area,
                     std::vector<JournalRecord>& records) {
  testing::RecordedJournal journal;
  for (int y = area.bottom; y >= area.top; --y)
    for (int x = area.left; x <= area.right; ++x) {
      uint32_t& work = c.canvas.work.At(x, y);
      if (work <= kColourMask) continue;
      const auto result = CommitPixel(flavour, work, {c.canvas.display.At(x, y), c.canvas.frame.At(x, y)});
      if (result)
        WritePixelJournaled(&journal, c.canvas.display.At(x, y), c.canvas.frame.At(x, y),
                            result->display, result->frame, x, y);
      work = 0;
    }
  records = journal.records;
}

TEST(CommitFrameThroughThePaintStep, MatchesThePlainLoopWordForWord) {
  std::mt19937 random(7);
  std::uniform_int_distribution<uint32_t> word;
  for (const FrameFlavour flavour :
       {FrameFlavour::Normal, FrameFlavour::Transparent, FrameFlavour::ColourChange}) {
    TestDrawingContext fast(23, 17), slow(23, 17);
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 23; ++x) {
        // Display words with any flags, but no marks: the renderer never lays work
        // on painted or non-selected pixels, the commit takes what it is given.
        const uint32_t display = word(random) & 0x03FFFFFF;
        const uint32_t frame = word(random);
        const uint32_t work = random() % 3 == 0 ? 0 : word(random);
        for (TestDrawingContext* c : {&fast, &slow}) {
          c->canvas.display.At(x, y) = display;
          c->canvas.frame.At(x, y) = frame;
          c->canvas.work.At(x, y) = work;
        }
      }
    const PixelRect area{2, 1, 20, 15};
    CommitFrame(fast, flavour, area);
    std::vector<JournalRecord> records;
    ReferenceCommit(slow, flavour, area, records);
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 23; ++x) {
        ASSERT_EQ(fast.canvas.display.At(x, y), slow.canvas.display.At(x, y)) << x << "," << y;
        ASSERT_EQ(fast.canvas.frame.At(x, y), slow.canvas.frame.At(x, y)) << x << "," << y;
        ASSERT_EQ(fast.canvas.work.At(x, y), slow.canvas.work.At(x, y)) << x << "," << y;
      }
    ASSERT_EQ(fast.journal.records.size(), records.size());
    for (size_t i = 0; i < records.size(); ++i)
      ASSERT_EQ(std::memcmp(&fast.journal.records[i], &records[i], sizeof records[i]), 0) << i;
    EXPECT_EQ(fast.marked, area);
  }
}

}  // namespace
}  // namespace lumavex
