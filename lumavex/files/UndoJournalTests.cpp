// Recording: the bytes a step leaves in the undo file, the buffer, the callbacks and
// what happens when the disk refuses a write.

#include <sys/stat.h>

#include <algorithm>
#include <array>

#include "lumavex/files/UndoTestSupport.h"

namespace lumavex::testing {
namespace {

constexpr uint32_t kLand = 0x00808000;

const std::vector<Change> kThreePixels = {
    {0, 0, 0x06123456, 0xFF123456},  // painted mark set: the journal drops it
    {3, 1, 0x02000000, 0x80000000},
    {2, 3, 0x03ABCDEF, 0x00000080},
};

const Bytes kThreeRecords = Join({Record(0x02FFFFFF, kLand, 0x02123456, 0xFF123456, 0, 0),
                                  Record(0x02FFFFFF, kLand, 0x02000000, 0x80000000, 3, 1),
                                  Record(0x02FFFFFF, kLand, 0x03ABCDEF, 0x00000080, 2, 3)});

using RecordingTest = JournalTest;

TEST_F(RecordingTest, FreshJournalIsAnEmptyHeaderThenRecordsWithTheCountStillZero) {
  NewPicture(4, 4);
  Journal();
  journal->OpenStep(canvas);
  EXPECT_EQ(FileBytes(0), Header(0, -1, 0, -1, 0));
  for (const Change& c : kThreePixels)
    WritePixelJournaled(journal.get(), canvas.display.At(c.x, c.y), canvas.frame.At(c.x, c.y),
                        c.display, c.frame, c.x, c.y);
  journal->CloseStep();
  EXPECT_EQ(FileBytes(0), Join({Header(0, -1, 0, -1, 0), kThreeRecords}));
  EXPECT_EQ(canvas.display.At(0, 0), 0x06123456u);  // the layers keep the mark
  EXPECT_TRUE(journal->CanUndo());
  EXPECT_FALSE(journal->CanRedo());
}

TEST_F(RecordingTest, NextStepCompletesThePreviousHeaderAndLinksBothWays) {
  NewPicture(4, 4);
  Journal();
  Draw(kThreePixels);
  Draw({{1, 1, 0x02000001, 0x01000001}});
  EXPECT_EQ(FileBytes(0), Join({Header(3, -1, 0, 0, 80), kThreeRecords, Header(0, 0, 0, -1, 0),
                                Record(0x02FFFFFF, kLand, 0x02000001, 0x01000001, 1, 1)}));
}

TEST_F(RecordingTest, StepWithoutRecordsWritesNothing) {
  NewPicture(4, 4);
  Journal();
  Draw({});
  EXPECT_FALSE(journal->CanUndo());
  Draw(kThreePixels);
  const Bytes afterFirst = Join({Header(3, -1, 0, 0, 80), kThreeRecords, Header(0, 0, 0, -1, 0)});
  Draw({});
  EXPECT_EQ(FileBytes(0), afterFirst);
  Draw({});
  Draw({});
  EXPECT_EQ(FileBytes(0), afterFirst);
  EXPECT_TRUE(journal->CanUndo());
}

TEST_F(RecordingTest, SessionIsRefreshedOnlyWhenAFreshJournalStarts) {
  NewPicture(4, 4);
  Journal();
  Draw(kThreePixels);
  Draw(kThreePixels);
  EXPECT_EQ(sessionRefreshes, 1);
  journal->Undo(canvas, UndoMode::Full);
  Draw(kThreePixels);  // redo was possible: the journal goes on
  EXPECT_EQ(sessionRefreshes, 1);
  journal->Reset();
  Draw(kThreePixels);
  EXPECT_EQ(sessionRefreshes, 2);
}

TEST_F(RecordingTest, MenuCallbackFollowsUndoAndRedoAvailability) {
  NewPicture(4, 4);
  Journal();
  Draw(kThreePixels);
  EXPECT_EQ(menuChanges, 1);  // undo enabled
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(menuChanges, 2);  // undo greyed, redo enabled
  journal->Redo(canvas);
  EXPECT_EQ(menuChanges, 3);
  journal->Reset();
  EXPECT_EQ(menuChanges, 4);
  EXPECT_FALSE(journal->CanUndo() || journal->CanRedo());
}

TEST_F(RecordingTest, WritesOutsideAStepAreNotRecorded) {
  NewPicture(4, 4);
  Journal();
  EXPECT_FALSE(journal->Recording());
  WritePixelJournaled(journal.get(), canvas.display.At(0, 0), canvas.frame.At(0, 0), 1, 2, 0, 0);
  EXPECT_EQ(canvas.frame.At(0, 0), 2u);
  EXPECT_FALSE(fs::exists(Path(0)));
}

TEST_F(RecordingTest, BufferIsLentOnlyBetweenSteps) {
  NewPicture(4, 4);
  Journal();
  EXPECT_EQ(journal->SharedBuffer().size(), kJournalBufferBytes);
  journal->OpenStep(canvas);
  EXPECT_TRUE(journal->SharedBuffer().empty());
  journal->CloseStep();
  EXPECT_EQ(journal->SharedBuffer().size(), kJournalBufferBytes);
}

// 48000 records fill the buffer once; with little memory free the block is on disk
// before the operation ends.
TEST_F(RecordingTest, FullBufferIsWrittenAndFlushedWhenMemoryIsLow) {
  NewPicture(240, 201);
  Journal();
  memory.availablePageFile = 0x9FFFFF;
  journal->OpenStep(canvas);
  for (int i = 0; i < 48001; ++i) {
    const int x = i % 240, y = i / 240;
    WritePixelJournaled(journal.get(), canvas.display.At(x, y), canvas.frame.At(x, y), 0x02000000,
                        kLand, x, y);
  }
  struct stat info;
  ASSERT_EQ(::stat(Path(0).c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 20 + 960000);
  journal->CloseStep();
  EXPECT_EQ(FileBytes(0).size(), 20u + 48001 * 20);
}

// A step of exactly one full buffer leaves nothing for the close to write; it can
// be undone all the same.
TEST_F(RecordingTest, StepOfExactlyOneBufferCanBeUndone) {
  NewPicture(240, 200);
  Journal();
  journal->OpenStep(canvas);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 240; ++x)
      WritePixelJournaled(journal.get(), canvas.display.At(x, y), canvas.frame.At(x, y), 0x02000000,
                          kLand, x, y);
  journal->CloseStep();
  EXPECT_TRUE(journal->CanUndo());
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(canvas.display.At(239, 199), 0x02FFFFFFu);
}

TEST_F(RecordingTest, WriteFailureMidStepSwitchesJournalingOffButDrawingGoesOn) {
  NewPicture(240, 201);
  Journal({.writeAllowed = FailAtWrite(3)});  // header, its commit, then the first block
  journal->OpenStep(canvas);
  for (int i = 0; i < 48001; ++i) {
    const int x = i % 240, y = i / 240;
    WritePixelJournaled(journal.get(), canvas.display.At(x, y), canvas.frame.At(x, y), 0x02000000,
                        0x7F000000 | uint32_t(i), x, y);
  }
  journal->CloseStep();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "アンドゥーを無効化します。");
  EXPECT_EQ(host.messages[0].caption, "書き込み失敗");
  EXPECT_FALSE(journal->Recording());
  EXPECT_FALSE(journal->CanUndo() || journal->CanRedo());
  EXPECT_EQ(canvas.frame.At(0, 0), 0x7F000000u);
  EXPECT_EQ(canvas.frame.At(0, 200), 0x7F000000u | 48000);
  // Off for the rest of the run, a new picture included.
  journal->Reset();
  Draw(kThreePixels);
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_FALSE(journal->Undo(canvas, UndoMode::Full).applied);
  EXPECT_EQ(host.messages.size(), 1u);
}

// Records handed over in blocks of uneven sizes, or written into the room the
// journal hands out, leave the same file as one Append each: across full buffers,
// and with a write that fails part way. So do journaled pixel writes, which fill the
// buffer in place, alone and taking turns with every other way in.
TEST_F(RecordingTest, RecordsInBlocksLeaveTheBytesOfSingleAppends) {
  enum class Way { Single, Blocks, Room, Pixels, Mixed };
  for (const int failingWrite : {0, 3}) {
    std::vector<JournalRecord> records;
    for (int i = 0; i < 98765; ++i)
      records.push_back({0x02FFFFFF, kLand, 0x02000000 | uint32_t(i), 0x7F000000, uint16_t(i % 240),
                         uint16_t(i / 240)});
    // Hands `block` records into the room; false when the journal offers none.
    auto intoRoom = [&](std::span<const JournalRecord> block) {
      const std::span<JournalRecord> room = journal->RecordSpace();
      if (room.empty()) return false;
      const size_t count = std::min(block.size(), room.size());
      std::copy_n(block.begin(), count, room.begin());
      journal->CommitRecords(count);
      return true;
    };
    auto record = [&](Way way) {
      fs::remove_all(folder);
      fs::create_directory(folder);
      NewPicture(240, 412);
      Journal({.writeAllowed = failingWrite ? FailAtWrite(failingWrite) : nullptr});
      journal->OpenStep(canvas);
      std::span<const JournalRecord> rest(records);
      for (size_t block = 1, turn = 0; !rest.empty(); block = block * 7 % 4099, ++turn) {
        constexpr std::array kTurns{Way::Pixels, Way::Single, Way::Blocks, Way::Room};
        const Way now = way == Way::Mixed ? kTurns[turn % kTurns.size()] : way;
        size_t count = now == Way::Single ? 1 : std::min(block, rest.size());
        if (now == Way::Pixels) {
          for (const JournalRecord& r : rest.first(count)) {
            // The position first takes the record's old words, so that its write
            // records exactly them.
            canvas.display.At(r.x, r.y) = r.oldDisplay;
            canvas.frame.At(r.x, r.y) = r.oldFrame;
            WritePixelJournaled(journal.get(), canvas.display.At(r.x, r.y),
                                canvas.frame.At(r.x, r.y), r.newDisplay, r.newFrame, r.x, r.y);
          }
        } else if (now == Way::Room) {
          const size_t room = journal->RecordSpace().size();
          count = std::min(count, std::max<size_t>(room, 1));
          if (!intoRoom(rest.first(count))) journal->AppendMany(rest.first(count));
        } else if (now == Way::Blocks) {
          journal->AppendMany(rest.first(count));
        } else {
          journal->Append(rest.front());
        }
        rest = rest.subspan(count);
      }
      const bool recording = journal->Recording();
      journal->CloseStep();
      return std::pair{FileBytes(0), recording};
    };
    const auto single = record(Way::Single);
    EXPECT_EQ(single.second, failingWrite == 0);
    EXPECT_EQ(record(Way::Blocks), single) << failingWrite;
    EXPECT_EQ(record(Way::Room), single) << failingWrite;
    EXPECT_EQ(record(Way::Pixels), single) << failingWrite;
    EXPECT_EQ(record(Way::Mixed), single) << failingWrite;
  }
}

TEST_F(RecordingTest, FailedCloseOfAStepGreysEverything) {
  NewPicture(4, 4);
  Journal({.writeAllowed = FailAtWrite(3)});  // the records at the close
  Draw(kThreePixels);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"アンドゥーを無効化します。"});
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_EQ(canvas.display.At(2, 3), 0x03ABCDEFu);
}

TEST_F(RecordingTest, FullDiskAtTheFirstHeaderSwitchesJournalingOff) {
  NewPicture(4, 4);
  Journal();
  fs::create_symlink("/dev/full", Path(0));
  Draw(kThreePixels);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"アンドゥーを無効化します。"});
  EXPECT_FALSE(journal->Enabled());
  EXPECT_EQ(canvas.frame.At(0, 0), 0xFF123456u);
}

TEST_F(RecordingTest, UndoFileThatCannotBeCreatedEndsTheProgram) {
  NewPicture(4, 4);
  fs::remove_all(folder);
  Journal();
  try {
    journal->OpenStep(canvas);
    FAIL() << "the program should have ended";
  } catch (const platform::ProcessEnded& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ファイルオープン不可: " + Path(0));
  EXPECT_EQ(host.messages[0].caption, "エラー");
  EXPECT_EQ(host.messages[0].icon, platform::MessageIcon::Exclamation);
}

}  // namespace
}  // namespace lumavex::testing
