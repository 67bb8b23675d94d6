#include <gtest/gtest.h>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/canvas/PixelRules.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

platform::MemoryStatus Plenty() {
  platform::MemoryStatus m;
  m.totalPhysical = m.availablePhysical = 8ull << 30;
  m.totalPageFile = m.availablePageFile = 16ull << 30;
  return m;
}

class CanvasTest : public ::testing::Test {
 protected:
  platform::TestHost host;
  platform::MemoryStatus memory = Plenty();
  platform::Allocator allocator{host, [this] { return memory; }};
  Canvas canvas;
  platform::CountingProgress progress;
};

TEST_F(CanvasTest, BlankTwoByTwoPictureIsWhiteLandAndEmptyWork) {
  ASSERT_TRUE(CreateBlankPicture(canvas, allocator, 2, 2, progress));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(canvas.display.At(x, y), 0x02FFFFFFu);
      EXPECT_EQ(canvas.frame.At(x, y), 0x00808000u);
      EXPECT_EQ(canvas.work.At(x, y), 0u);
    }
  EXPECT_EQ(progress.total, 4u);  // two layers row by row
  EXPECT_EQ(progress.steps, 4u);
  EXPECT_EQ(progress.ends, 1);
}

TEST_F(CanvasTest, BackdropCheckerFollowsEightPixelCells) {
  ASSERT_TRUE(CreateBlankPicture(canvas, allocator, 21, 19, progress));
  EXPECT_EQ(canvas.frame.At(8, 0), 0x00C0C000u);
  EXPECT_EQ(canvas.frame.At(8, 8), 0x00808000u);
  EXPECT_EQ(canvas.frame.At(0, 8), 0x00C0C000u);
  EXPECT_EQ(canvas.frame.At(20, 18), 0x00808000u);  // cells (2, 2)
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 21; ++x)
      ASSERT_EQ(canvas.frame.At(x, y), BackdropFor(x, y, canvas.display.At(x, y))) << x << "," << y;
}

TEST_F(CanvasTest, RowTableStartsAtTheBottomRow) {
  ASSERT_TRUE(CreateBlankPicture(canvas, allocator, 3, 4, progress));
  canvas.display.At(1, 3) = 0x12345678;  // bottom row
  canvas.display.At(2, 0) = 0x0ABCDEF0;  // top row
  const auto* block = reinterpret_cast<const uint32_t*>(canvas.display.Data());
  EXPECT_EQ(block[1], 0x12345678u);
  EXPECT_EQ(block[3 * 3 + 2], 0x0ABCDEF0u);
  EXPECT_EQ(canvas.display.TableRow(0), canvas.display.Data());
}

TEST_F(CanvasTest, HeadersDescribeTheCanvas) {
  ASSERT_TRUE(CreateBlankPicture(canvas, allocator, 5, 3, progress));
  EXPECT_EQ(canvas.fileHeader.fileSize, 5u * 4 * 3 + 54);
  EXPECT_EQ(canvas.fileHeader.dataOffset, 54u);
  const PictureHeader& info = canvas.pictureHeader;
  EXPECT_EQ(info.width, 5);
  EXPECT_EQ(info.height, 3);
  EXPECT_EQ(info.planes, 1);
  EXPECT_EQ(info.bitsPerPixel, 32);
  EXPECT_EQ(info.compression | info.imageSize | info.coloursUsed | info.coloursImportant, 0u);
  EXPECT_EQ(info.xPixelsPerMetre | info.yPixelsPerMetre, 0);
}

TEST_F(CanvasTest, UnknownPixelSizeIsFatal) {
  PixelPlane plane;
  EXPECT_THROW(plane.Create(allocator, 2, 2, 2), platform::ProcessEnded);
  try {
    plane.Create(allocator, 2, 2, 5);
  } catch (const platform::ProcessEnded& e) {
    EXPECT_EQ(e.exitCode, -1);
  }
}

TEST_F(CanvasTest, AllocationThatWouldLeaveLessThanTenMegabytesEndsTheProgram) {
  memory.availablePageFile = 10485760 + 1000;
  try {
    CreateBlankPicture(canvas, allocator, 100, 100, progress);  // 40000 bytes a layer
    FAIL() << "the guard let the allocation through";
  } catch (const platform::ProcessEnded& e) {
    EXPECT_EQ(e.exitCode, 0);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "残り仮想メモリ１０ＭＢ以下。\n再起動して下さい。\n");
  EXPECT_EQ(host.messages[0].caption, "ERROR");
  EXPECT_EQ(host.messages[0].icon, platform::MessageIcon::Exclamation);

  memory.availablePageFile = 10485760 + 40000;  // exactly enough
  EXPECT_TRUE(allocator.AllocateChecked(40000));
}

TEST_F(CanvasTest, AreaAboveTheLimitAsksWithTheLargestSquare) {
  memory.totalPhysical = 16ull * 1000 * 1000 * 1000;  // limit 7e8, side 26457
  host.messageAnswers = {platform::MessageResult::No, platform::MessageResult::Yes};
  EXPECT_FALSE(ConfirmPictureArea(host, memory, 30000, 30000));
  EXPECT_TRUE(ConfirmPictureArea(host, memory, 30000, 30000));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].caption, "面積制限エラー");
  EXPECT_EQ(host.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(
      host.messages[0].text.rfind("面積が 26457 × 26457 ピクセル以下でなければなりません。\n", 0),
      0u);

  EXPECT_TRUE(ConfirmPictureArea(host, memory, 26457, 26457));  // at the limit: no question
  EXPECT_EQ(host.messages.size(), 2u);
}

struct RecordingJournal : JournalSink {
  bool on = true;
  std::vector<JournalRecord> records;
  bool Recording() const override { return on; }
  void Append(const JournalRecord& r) override { records.push_back(r); }
};

TEST(JournaledWrite, RecordsOldAndNewWithoutTheTemporaryMarks) {
  RecordingJournal journal;
  uint32_t display = 0x3EFFFFFF, frame = 0x00808000;
  WritePixelJournaled(&journal, display, frame, 0x7E123456, 0xFF123456, 300, 29999);
  EXPECT_EQ(display, 0x7E123456u);
  EXPECT_EQ(frame, 0xFF123456u);
  ASSERT_EQ(journal.records.size(), 1u);
  const JournalRecord& r = journal.records[0];
  EXPECT_EQ(r.oldDisplay, 0x02FFFFFFu);
  EXPECT_EQ(r.oldFrame, 0x00808000u);
  EXPECT_EQ(r.newDisplay, 0x42123456u);  // bit 30 is kept
  EXPECT_EQ(r.newFrame, 0xFF123456u);
  EXPECT_EQ(r.x, 300);
  EXPECT_EQ(r.y, 29999);

  journal.on = false;
  WritePixelJournaled(&journal, display, frame, 1, 2, 0, 0);
  WritePixelJournaled(nullptr, display, frame, 3, 4, 0, 0);
  EXPECT_EQ(journal.records.size(), 1u);
  EXPECT_EQ(display, 3u);
  EXPECT_EQ(frame, 4u);
}

}  // namespace
}  // namespace lumavex
