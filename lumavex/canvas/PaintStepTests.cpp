#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "lumavex/canvas/AsciiPictureTestSupport.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PaintStep.h"

namespace lumavex {
namespace {

using testing::AsciiFromPicture;
using testing::PictureFromAscii;
using testing::TestDrawingContext;
using Rows = std::vector<std::string>;

// Every pixel the step lets a tool paint becomes black.
void PaintEveryPaintable(PaintStep& step) {
  const PixelRect& area = step.Area();
  for (int y = area.bottom; y >= area.top; --y)
    for (int x = area.left; x <= area.right; ++x)
      if (step.MayPaint(x, y)) step.Paint(x, y, kDrawAreaFlag, 0xFF000000);
}

TEST(PaintStep, PaintsOnlySelectedUnpaintedPixelsInsideTheSquare) {
  TestDrawingContext c(7, 5);
  PictureFromAscii(c.canvas, {
                                 ".......",
                                 ".x..*..",
                                 ".......",
                                 "..~x...",
                                 ".......",
                             });
  c.canvas.processingSquare = {1, 1, 9, 3};  // reaches past the right edge
  PaintStep step(c, true);
  EXPECT_EQ(step.Area(), (PixelRect{1, 1, 6, 3}));
  EXPECT_FALSE(step.MayPaint(0, 2));
  EXPECT_FALSE(step.MayPaint(7, 2));
  PaintEveryPaintable(step);

  // The painted pixels carry the painted mark, which the legend's '#' does not.
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) c.canvas.display.At(x, y) &= ~kPaintedMark;
  EXPECT_EQ(AsciiFromPicture(c.canvas), (Rows{
                                            ".......",
                                            ".x##.##",
                                            ".######",
                                            ".##x###",
                                            ".......",
                                        }));
  EXPECT_EQ(step.Changed(), (PixelRect{1, 1, 6, 3}));
  EXPECT_EQ(c.undoSteps, 1);
}

TEST(PaintStep, WritesAreJournaledWithThePaintedMark) {
  TestDrawingContext c(3, 2);
  PaintStep step(c, false);
  step.Paint(2, 1, kDrawAreaFlag | 0x123456, 0xFF123456);
  EXPECT_EQ(c.undoSteps, 0);  // the writes join the step already open
  EXPECT_EQ(c.canvas.display.At(2, 1), kDrawAreaFlag | kPaintedMark | 0x123456);
  EXPECT_FALSE(step.MayPaint(2, 1));
  ASSERT_EQ(c.journal.records.size(), 1u);
  const JournalRecord& r = c.journal.records[0];
  EXPECT_EQ(r.oldDisplay, kNewDisplayPixel);
  EXPECT_EQ(r.newDisplay, kDrawAreaFlag | 0x123456u);  // marks never reach the journal
  EXPECT_EQ(r.newFrame, 0xFF123456u);
  EXPECT_EQ(r.x, 2);
  EXPECT_EQ(r.y, 1);
}

// Held writes store the words at once and reach the journal in the order of the
// writes, also when they fill the held block many times over or mix with Paint.
TEST(PaintStep, HeldWritesAreJournaledInOrderBeforeLaterWrites) {
  TestDrawingContext c(40, 30);
  {
    PaintStep step(c, false);
    for (int i = 0; i < 1000; ++i) {
      const int x = i % 40, y = i / 40;
      if (i % 333 == 0) {
        step.Paint(x, y, kDrawAreaFlag | uint32_t(i), 0x80000000);
        continue;
      }
      step.PaintHeld(c.canvas.display.At(x, y), c.canvas.frame.At(x, y), x, y,
                     kDrawAreaFlag | uint32_t(i), 0x80000000);
      ASSERT_EQ(c.canvas.display.At(x, y), kDrawAreaFlag | kPaintedMark | uint32_t(i));
    }
    EXPECT_EQ(step.Changed(), (PixelRect{0, 0, 39, 24}));  // only Paint widened it
  }  // the step's end hands over what is still held
  ASSERT_EQ(c.journal.records.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    const JournalRecord& r = c.journal.records[i];
    ASSERT_EQ(r.newDisplay, kDrawAreaFlag | uint32_t(i)) << i;
    EXPECT_EQ(r.oldDisplay, kNewDisplayPixel);
    EXPECT_EQ(r.newFrame, 0x80000000u);
    EXPECT_EQ(r.x, i % 40);
    EXPECT_EQ(r.y, i / 40);
  }
  c.journal.recording = false;
  PaintStep step(c, false);
  step.PaintHeld(c.canvas.display.At(0, 29), c.canvas.frame.At(0, 29), 0, 29, kDrawAreaFlag, 0);
  step.End(false);
  EXPECT_EQ(c.journal.records.size(), 1000u);
  EXPECT_EQ(c.canvas.display.At(0, 29), kDrawAreaFlag | kPaintedMark);
}

// A sink that hands out room for a few records at a time and keeps what is
// committed, checking that nothing reaches it while room is out.
struct RoomJournal : JournalSink {
  bool Recording() const override { return true; }
  void Append(const JournalRecord& r) override {
    EXPECT_FALSE(roomOut);
    records.push_back(r);
  }
  std::span<JournalRecord> RecordSpace() override {
    EXPECT_FALSE(roomOut);
    roomOut = true;
    return {room.data(), room.size()};
  }
  void CommitRecords(size_t count) override {
    EXPECT_TRUE(roomOut);
    EXPECT_LE(count, room.size());
    records.insert(records.end(), room.begin(), room.begin() + count);
    roomOut = false;
  }
  std::array<JournalRecord, 7> room;
  bool roomOut = false;
  std::vector<JournalRecord> records;
};

// Held writes into a journal's own room give the records that the held block
// gives, in the same order, with Paint between them.
TEST(PaintStep, HeldWritesIntoTheJournalsRoomMatchTheHeldBlock) {
  TestDrawingContext plain(40, 30);
  RoomJournal room;
  struct RoomContext : TestDrawingContext {
    RoomContext(RoomJournal& j) : TestDrawingContext(40, 30), j(j) {}
    JournalSink* Journal() override { return &j; }
    RoomJournal& j;
  } withRoom(room);
  for (TestDrawingContext* c : {&plain, static_cast<TestDrawingContext*>(&withRoom)}) {
    PaintStep step(*c, false);
    for (int i = 0; i < 500; ++i) {
      const int x = i % 40, y = i / 40;
      if (i % 45 == 0)
        step.Paint(x, y, kDrawAreaFlag | uint32_t(i), 0x40000000);
      else
        step.PaintHeld(c->canvas.display.At(x, y), c->canvas.frame.At(x, y), x, y,
                       kDrawAreaFlag | uint32_t(i), 0x80000000 | uint32_t(i));
    }
    step.End(false);
  }
  EXPECT_FALSE(room.roomOut);
  ASSERT_EQ(room.records.size(), plain.journal.records.size());
  for (size_t i = 0; i < room.records.size(); ++i)
    ASSERT_EQ(std::memcmp(&room.records[i], &plain.journal.records[i], sizeof(JournalRecord)), 0)
        << i;
}

// Records a loop puts into the held room itself reach the journal in order with
// the step's other writes, whether the journal's room holds them or is too small
// and goes back unused.
TEST(PaintStep, RecordsWrittenIntoTheHeldRoomJoinTheOtherWrites) {
  RoomJournal room;
  struct RoomContext : TestDrawingContext {
    RoomContext(RoomJournal& j) : TestDrawingContext(40, 30), j(j) {}
    JournalSink* Journal() override { return &j; }
    RoomJournal& j;
  } c(room);
  std::vector<JournalRecord> expected;
  {
    PaintStep step(c, false);
    ASSERT_TRUE(step.Journaling());
    for (uint16_t i = 0; i < 60; ++i) {
      if (i % 7 == 0) {
        const int x = i % 40;
        expected.push_back({kNewDisplayPixel, c.canvas.frame.At(x, 0), kDrawAreaFlag | i,
                            0x10000000, static_cast<uint16_t>(x), 0});
        step.PaintHeld(c.canvas.display.At(x, 0), c.canvas.frame.At(x, 0), x, 0,
                       kDrawAreaFlag | i, 0x10000000);
        continue;
      }
      // Three records fit the journal's room of seven; for eight the step takes its own block.
      const size_t count = i % 2 ? 3 : 8;
      JournalRecord* place = step.HeldRoom(count);
      for (size_t j = 0; j < count; ++j)
        place[j] = {i, uint32_t(j), i, 0, static_cast<uint16_t>(j), 2};
      step.Held(count - 1);
      for (size_t j = 0; j + 1 < count; ++j) expected.push_back(place[j]);
    }
    step.End(false);
  }
  EXPECT_FALSE(room.roomOut);
  ASSERT_EQ(room.records.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    ASSERT_EQ(std::memcmp(&room.records[i], &expected[i], sizeof(JournalRecord)), 0) << i;
}

TEST(PaintStep, EndMergesTheChangedRectangleSoundsAndRedraws) {
  TestDrawingContext c(10, 10);
  c.marked = {8, 8, 9, 9};
  PaintStep step(c, true);
  step.Paint(2, 3, kDrawAreaFlag, 0xFF000000);
  step.Paint(4, 1, kDrawAreaFlag, 0xFF000000);
  step.Widen({-3, 2, 3, 12});  // clipped to the picture
  step.End(true);
  EXPECT_EQ(step.Changed(), (PixelRect{0, 1, 4, 9}));
  EXPECT_EQ(c.marked, (PixelRect{0, 1, 9, 9}));
  EXPECT_EQ(c.sounds, std::vector<std::string>{"end.wav"});
  EXPECT_EQ(c.redrawn, std::vector<PixelRect>{(PixelRect{0, 1, 4, 9})});
}

TEST(PaintStep, AStepThatChangedNothingRedrawsNothing) {
  TestDrawingContext c(4, 4);
  PaintStep step(c, true);
  step.End(false);
  EXPECT_TRUE(c.marked.Empty());
  EXPECT_TRUE(c.sounds.empty());
  EXPECT_TRUE(c.redrawn.empty());
}

TEST(Marks, ClearedByMaskInsideTheRectangleClippedToThePicture) {
  TestDrawingContext c(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) c.canvas.display.At(x, y) |= kProcessingMarks;
  ClearMarks(c.canvas, {3, -2, 9, 1}, kPaintingMarks);
  ClearMarks(c.canvas, {0, 2, 0, 2}, kProcessingMarks);
  ClearMarks(c.canvas, {}, kProcessingMarks);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t marks = c.canvas.display.At(x, y) & kProcessingMarks;
      const uint32_t expected = x == 0 && y == 2   ? 0
                                : x >= 3 && y <= 1 ? kProcessingMarks & ~kPaintingMarks
                                                   : kProcessingMarks;
      EXPECT_EQ(marks, expected) << x << "," << y;
      EXPECT_EQ(c.canvas.display.At(x, y) & ~kProcessingMarks, kNewDisplayPixel);
    }
}

TEST(Marks, LeftBehindAreTheOldSquaresPixelsOutsideTheNewOne) {
  for (const PixelRect now : {PixelRect{3, 2, 8, 6}, PixelRect{0, 0, 2, 1}, PixelRect{5, 5, 11, 9},
                              PixelRect{1, 1, 10, 8}, PixelRect{4, 0, 5, 9}}) {
    TestDrawingContext c(12, 10);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x) c.canvas.display.At(x, y) |= kPaintedMark;
    const PixelRect old{2, 1, 9, 7};
    ClearMarksLeftBehind(c.canvas, old, now, kPaintingMarks);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool cleared = old.Contains(x, y) && !now.Contains(x, y);
        ASSERT_EQ((c.canvas.display.At(x, y) & kPaintedMark) == 0, cleared) << x << "," << y;
      }
  }
}

TEST(PixelRect, IntersectKeepsTheSharedPixels) {
  const PixelRect a{0, 0, 9, 4};
  EXPECT_EQ(a.Intersect({5, 2, 20, 20}), (PixelRect{5, 2, 9, 4}));
  EXPECT_TRUE(a.Intersect({10, 0, 12, 4}).Empty());
  EXPECT_TRUE(a.Intersect(PixelRect{}).Empty());
}

}  // namespace
}  // namespace lumavex
