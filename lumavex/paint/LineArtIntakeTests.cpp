#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <span>
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

// The intake as written: every pixel of the processing square in turn, rows from
// the bottom up, its new frame and journal record from IntakeFrame.
struct ReferenceIntake {
  std::vector<uint32_t> frames;
  std::vector<JournalRecord> records;
  PixelRect changed;
};

ReferenceIntake ReferenceTakeIn(const Canvas& k) {
  ReferenceIntake out;
  const int width = k.Bounds().right + 1, height = k.Bounds().bottom + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.frames.push_back(k.frame.At(x, y));
  const PixelRect area = k.processingSquare.Intersect(k.Bounds());
  for (int y = area.bottom; y >= area.top; --y)
    for (int x = area.left; x <= area.right; ++x) {
      const uint32_t display = k.display.At(x, y), frame = k.frame.At(x, y);
      if ((display & (kDrawAreaFlag | kNonSelectedFlag)) != kDrawAreaFlag) continue;
      const std::optional<uint32_t> taken = IntakeFrame(display, frame);
      if (!taken) continue;
      out.frames[size_t(y) * width + x] = *taken;
      out.records.push_back({display & kJournalMask, frame, display & kJournalMask, *taken,
                             static_cast<uint16_t>(x), static_cast<uint16_t>(y)});
      out.changed.Merge({x, y, x, y});
    }
  return out;
}

// A sink that offers room of a fixed size in its own buffer.
struct RoomJournal : JournalSink {
  explicit RoomJournal(size_t size) : room(size) { records.reserve(1 << 14); }
  bool Recording() const override { return true; }
  void Append(const JournalRecord& r) override { records.push_back(r); }
  std::span<JournalRecord> RecordSpace() override { return room; }
  void CommitRecords(size_t count) override {
    records.insert(records.end(), room.begin(), room.begin() + count);
  }
  std::vector<JournalRecord> room;
  std::vector<JournalRecord> records;
};

struct RoomContext : TestDrawingContext {
  RoomContext(int width, int height, size_t room) : TestDrawingContext(width, height), sink(room) {}
  JournalSink* Journal() override { return &sink; }
  RoomJournal sink;
};

// Runs the intake with each row loop the processor has on the picture of `c`
// and checks frames, displays, records (as `records` of `c`'s journal receives
// them) and the marked rectangle against the reference.
void ExpectEveryLoopSameAsReference(TestDrawingContext& c, std::vector<JournalRecord>& records) {
  Canvas& k = c.canvas;
  const int width = k.Bounds().right + 1, height = k.Bounds().bottom + 1;
  const ReferenceIntake expected = ReferenceTakeIn(k);
  std::vector<uint32_t> displays, frames;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      displays.push_back(k.display.At(x, y));
      frames.push_back(k.frame.At(x, y));
    }
  for (int lanes : {1, 8, 16}) {
    SCOPED_TRACE(lanes);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) k.frame.At(x, y) = frames[size_t(y) * width + x];
    records.clear();
    c.marked = {};
    platform::NoProgress progress;
    if (!TakeInColourLineArtWith(lanes, c, progress)) continue;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const size_t i = size_t(y) * width + x;
        ASSERT_EQ(k.frame.At(x, y), expected.frames[i])
            << x << "," << y << std::hex << " display " << displays[i] << " frame " << frames[i];
        ASSERT_EQ(k.display.At(x, y), displays[i]) << x << "," << y;
      }
    ASSERT_EQ(records.size(), expected.records.size());
    for (size_t i = 0; i < records.size(); ++i)
      ASSERT_EQ(std::memcmp(&records[i], &expected.records[i], sizeof(JournalRecord)), 0) << i;
    EXPECT_EQ(c.marked, expected.changed);
  }
}

// Pictures of every kind of pixel the loop tells apart: white, near-white, pen
// colours, frames of every opacity (none, faint, opaque), pixels outside the
// selection or the drawing area, marks set, in runs so that groups of neighbours
// are all alike as well as mixed.
void DrawRandomPicture(Canvas& k, std::mt19937& random) {
  const int width = k.Bounds().right + 1, height = k.Bounds().bottom + 1;
  std::uniform_int_distribution<int> kind(0, 9), run(1, 20);
  auto channel = [&](int low) { return uint32_t(std::uniform_int_distribution<int>(low, 255)(random)); };
  for (int y = 0; y < height; ++y) {
    int left = 0, current = 0;
    for (int x = 0; x < width; ++x) {
      if (left-- == 0) {
        left = run(random);
        current = kind(random);
      }
      uint32_t colour = 0xFFFFFF, frame = 0;
      switch (current) {
        case 0: case 1: case 2: break;  // white
        case 3: colour = channel(250) << 16 | channel(250) << 8 | channel(250); break;
        case 4: case 5: colour = random() & kColourMask; break;
        case 6: case 7: {
          colour = kind(random) < 5 ? 0xFFFFFF : random() & kColourMask;
          const uint32_t opacities[] = {1, 2, 3, 128, 254, 255};
          const uint32_t a = kind(random) < 6 ? opacities[kind(random) % 6] : channel(1);
          frame = a << 24 | (random() & kColourMask);
          break;
        }
        default: colour = channel(200) << 16 | channel(200) << 8 | channel(200); break;
      }
      uint32_t flags = kDrawAreaFlag;
      const int f = kind(random);
      if (f == 0) flags = 0;
      if (f == 1) flags |= kNonSelectedFlag;
      if (f == 2) flags |= kPaintedMark | kSurfaceMark;
      k.frame.At(x, y) = frame ? frame : BackdropColour(x, y, flags & kDrawAreaFlag, false);
      k.display.At(x, y) = flags | (frame ? Blend(frame, Opacity(frame), colour) : colour);
    }
  }
}

TEST(LineArtIntake, WholePicturesEqualThePixelByPixelIntake) {
  std::mt19937 random(23);
  for (int round = 0; round < 6; ++round) {
    const int width = 37 + round * 29, height = 11 + round * 3;
    // The held block of the step, a journal room too small for a group of eight,
    // and one that is large enough.
    TestDrawingContext plain(width, height);
    RoomContext small(width, height, 5), large(width, height, 100);
    for (TestDrawingContext* c : {&plain, static_cast<TestDrawingContext*>(&small),
                                  static_cast<TestDrawingContext*>(&large)}) {
      std::mt19937 same(random());
      DrawRandomPicture(c->canvas, same);
      c->canvas.processingSquare = {round, 1, width - 1 - 2 * round, height - 2};
    }
    ExpectEveryLoopSameAsReference(plain, plain.journal.records);
    ExpectEveryLoopSameAsReference(small, small.sink.records);
    ExpectEveryLoopSameAsReference(large, large.sink.records);
  }
}

// Every colour with no frame, and under frames of every opacity every pair of
// display and frame channel values, in each channel: the whole domain of the
// separation, the un-blend and the merge as the row loop reaches it.
TEST(LineArtIntake, EveryColourAndEveryFramedChannelPairEqualThePixelByPixelIntake) {
  constexpr int kWidth = 4096, kHeight = 64;
  TestDrawingContext c(kWidth, kHeight);
  Canvas& k = c.canvas;
  auto run = [&](auto fill) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) fill(x, y, k.display.At(x, y), k.frame.At(x, y));
    ExpectEveryLoopSameAsReference(c, c.journal.records);
  };
  for (uint32_t block = 0; block < 64; ++block)
    run([&](int x, int y, uint32_t& display, uint32_t& frame) {
      display = kDrawAreaFlag | (block << 18 | uint32_t(y) << 12 | uint32_t(x));
      frame = BackdropColour(x, y, true, false);
    });
  // Sixteen rows to each opacity, four opacities to a run.
  for (uint32_t first = 1; first < 256; first += 4) {
    if (HasFailure()) return;
    run([&](int x, int y, uint32_t& display, uint32_t& frame) {
      const uint32_t a = std::min<uint32_t>(first + uint32_t(y >> 4), 255);
      const uint32_t d = uint32_t(x) & 0xFF, f = uint32_t(x) >> 8 | uint32_t(y & 15) << 4;
      display = kDrawAreaFlag | d | f << 8 | (255 - d) << 16;
      frame = a << 24 | f | d << 8 | (255 - f) << 16;
    });
  }
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
