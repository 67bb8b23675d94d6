// Start-up recovery: replaying a journal that a run left behind, including the
// ragged ends a crash leaves and files damaged beyond that.

#include <random>

#include "lumavex/files/UndoTestSupport.h"

namespace lumavex::testing {
namespace {

constexpr uint32_t kLand = 0x00808000;

const std::vector<Change> kStepA = {
    {0, 0, 0x02123456, 0xFF123456}, {5, 1, 0x02000000, 0x80000000}, {2, 4, 0x03ABCDEF, 0x00000080}};
const std::vector<Change> kStepB = {
    {1, 0, 0x02111111, 0x11111111}, {0, 0, 0x02222222, 0x22222222}, {3, 3, 0x02333333, 0x33333333}};
const std::vector<Change> kStepC = {{4, 4, 0x02444444, 0x44444444}, {5, 0, 0x02555555, 0x55555555}};

class RecoveryTest : public JournalTest {
 protected:
  // A run that drew `steps` and then died: the journal object goes without a Reset.
  void RunAndCrash(const std::vector<std::vector<Change>>& steps) {
    NewPicture(6, 5);
    Journal(options);
    for (const auto& step : steps) Draw(step);
    journal.reset();
  }

  // The layers a blank 6 × 5 picture has after `changes`, written directly.
  Layers Expected(const std::vector<Change>& changes) {
    NewPicture(6, 5);
    for (const Change& c : changes) {
      canvas.display.At(c.x, c.y) = c.display;
      canvas.frame.At(c.x, c.y) = c.frame;
    }
    return Snapshot();
  }

  RecoveryResult RecoverOntoBlank() {
    NewPicture(6, 5);
    Journal(options);
    return journal->Recover(canvas);
  }

  void Truncate(int number, size_t size) {
    Bytes bytes = FileBytes(number);
    bytes.resize(size);
    WriteFileBytes(number, bytes);
  }
};

std::vector<Change> Concat(std::initializer_list<std::vector<Change>> parts) {
  std::vector<Change> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A run that undid steps before it died comes back as the user last saw it, with the
// undone steps still to be redone; a step drawn after the undo cuts them off.
TEST_F(RecoveryTest, UndoneStepsStayUndoneAndCanBeRedone) {
  NewPicture(6, 5);
  Journal(options);
  for (const auto& step : {kStepA, kStepB, kStepC}) Draw(step);
  journal->Undo(canvas, UndoMode::Full);
  journal->Undo(canvas, UndoMode::Full);
  journal.reset();

  RecoverOntoBlank();
  EXPECT_EQ(Snapshot(), Expected(kStepA));
  RecoverOntoBlank();
  EXPECT_TRUE(journal->CanUndo());
  ASSERT_TRUE(journal->CanRedo());
  journal->Redo(canvas);
  EXPECT_EQ(Snapshot(), Expected(Concat({kStepA, kStepB})));
  journal->Redo(canvas);
  EXPECT_EQ(Snapshot(), Expected(Concat({kStepA, kStepB, kStepC})));
  EXPECT_FALSE(journal->CanRedo());
  journal->Undo(canvas, UndoMode::Full);
  journal->Undo(canvas, UndoMode::Full);
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_FALSE(journal->CanUndo());
  journal.reset();

  // Everything undone: the blank picture, with the first step to redo.
  RecoverOntoBlank();
  EXPECT_EQ(Snapshot(), Expected({}));
  EXPECT_FALSE(journal->CanUndo());
  ASSERT_TRUE(journal->CanRedo());
  journal->Redo(canvas);
  EXPECT_EQ(Snapshot(), Expected(kStepA));
  Draw(kStepC);  // cuts off B and C
  journal.reset();

  RecoverOntoBlank();
  EXPECT_EQ(Snapshot(), Expected(Concat({kStepA, kStepC})));
  EXPECT_FALSE(journal->CanRedo());
  EXPECT_FALSE(std::filesystem::exists(folder + "/UndoFilePosition.dat"));
}

// The position file changes nothing in the undo files themselves.
TEST_F(RecoveryTest, UndoFilesKeepTheirBytesWhateverThePosition) {
  RunAndCrash({kStepA, kStepB});
  const Bytes crashed = FileBytes(0);
  RecoverOntoBlank();
  journal->Undo(canvas, UndoMode::Full);
  journal->Redo(canvas);
  journal.reset();
  EXPECT_EQ(FileBytes(0).size(), crashed.size());
  RecoverOntoBlank();
  EXPECT_EQ(Snapshot(), Expected(Concat({kStepA, kStepB})));
}

TEST_F(RecoveryTest, ReplaysEveryStepIncludingTheLastWhoseHeaderSaysZero) {
  RunAndCrash({kStepA, kStepB, kStepC});
  const Bytes file = FileBytes(0);
  ASSERT_EQ(Bytes(file.begin() + 160, file.begin() + 180), Header(0, 0, 80, -1, 0));
  const Layers expected = Expected(Concat({kStepA, kStepB, kStepC}));
  const RecoveryResult result = RecoverOntoBlank();
  EXPECT_EQ(result.steps, 3);
  EXPECT_EQ(result.records, 8);
  EXPECT_FALSE(result.cutShort);
  EXPECT_EQ(result.changed, (PixelRect{0, 0, 5, 4}));
  EXPECT_EQ(Snapshot(), expected);
  EXPECT_TRUE(journal->CanUndo());
  EXPECT_FALSE(journal->CanRedo());
  EXPECT_TRUE(host.messages.empty());

  const Layers blank = Expected({});
  NewPicture(6, 5);
  journal->Recover(canvas);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(journal->Undo(canvas, UndoMode::Full).applied);
  EXPECT_EQ(Snapshot(), blank);
  EXPECT_FALSE(journal->CanUndo());
}

TEST_F(RecoveryTest, DrawingAfterRecoveryCompletesTheRecoveredHeader) {
  RunAndCrash({kStepA, kStepC});
  RecoverOntoBlank();
  sessionRefreshes = 0;
  Draw({{1, 1, 0x02000001, 0x01000001}});
  EXPECT_EQ(sessionRefreshes, 0);  // the session still describes the starting picture
  const Bytes file = FileBytes(0);
  ASSERT_EQ(file.size(), 80u + 60 + 40);
  EXPECT_EQ(Bytes(file.begin() + 80, file.begin() + 100), Header(2, 0, 0, 0, 140));
  EXPECT_EQ(Bytes(file.begin() + 140, file.begin() + 160), Header(0, 0, 80, -1, 0));
}

TEST_F(RecoveryTest, RecordTornByTheCrashIsNotApplied) {
  RunAndCrash({kStepA, kStepB});
  Truncate(0, 160 - 7);
  const Layers expected = Expected(Concat({kStepA, {kStepB[0], kStepB[1]}}));
  const RecoveryResult result = RecoverOntoBlank();
  EXPECT_TRUE(result.cutShort);
  EXPECT_EQ(result.records, 5);
  EXPECT_EQ(Snapshot(), expected);

  // The journal goes on over the torn bytes, and a second crash recovers it all.
  Draw(kStepC);
  journal.reset();
  EXPECT_EQ(FileBytes(0).size(), 80u + 20 + 40 + 20 + 40);
  const Layers expectedAgain = Expected(Concat({kStepA, {kStepB[0], kStepB[1]}, kStepC}));
  EXPECT_EQ(RecoverOntoBlank().records, 7);
  EXPECT_EQ(Snapshot(), expectedAgain);
}

TEST_F(RecoveryTest, CompletedStepCutShortEndsTheJournalAfterItsWholeRecords) {
  RunAndCrash({kStepA, kStepB, kStepC});
  Truncate(0, 80 + 20 + 20 + 5);  // step B's header says 3, one record and a bit remain
  const Layers expected = Expected(Concat({kStepA, {kStepB[0]}}));
  const RecoveryResult result = RecoverOntoBlank();
  EXPECT_EQ(result.steps, 2);
  EXPECT_TRUE(result.cutShort);
  EXPECT_EQ(Snapshot(), expected);
  EXPECT_FALSE(journal->CanRedo());
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), Expected(kStepA));
}

TEST_F(RecoveryTest, ChainAcrossFilesIsReplayedAndAMissingFileEndsIt) {
  options.fileSizeLimit = 700;  // 6 × 5 × 20 + 20 = 620: a new file after any 3rd record
  RunAndCrash({kStepA, kStepB, kStepC});
  ASSERT_TRUE(fs::exists(Path(2)));
  EXPECT_EQ(RecoverOntoBlank().steps, 3);
  EXPECT_EQ(Snapshot(), Expected(Concat({kStepA, kStepB, kStepC})));
  journal.reset();
  fs::remove(Path(2));
  const Layers expected = Expected(Concat({kStepA, kStepB}));
  EXPECT_EQ(RecoverOntoBlank().steps, 2);
  EXPECT_EQ(Snapshot(), expected);
  EXPECT_TRUE(host.messages.empty());
  journal->Undo(canvas, UndoMode::Full);
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), Expected({}));
}

TEST_F(RecoveryTest, NoJournalOrAnUnreadableOneRecoversNothing) {
  RecoverOntoBlank();
  EXPECT_FALSE(journal->CanUndo() || journal->CanRedo());
  WriteFileBytes(0, {1, 2, 3, 4, 5, 6, 7});
  const RecoveryResult result = RecoverOntoBlank();
  EXPECT_EQ(result.steps, 0);
  EXPECT_EQ(Snapshot(), Expected({}));
  // The next step starts a fresh journal over the unreadable file.
  Draw({{1, 1, 0x02000001, 0x01000001}});
  EXPECT_EQ(FileBytes(0).size(), 40u);
  EXPECT_EQ(sessionRefreshes, 1);
}

TEST_F(RecoveryTest, RecordsOutsideThePictureArePassedOver) {
  WriteFileBytes(
      0, Join({Header(0, -1, 0, -1, 0), Record(0x02FFFFFF, kLand, 0x02000000, 0x01000000, 6, 0),
               Record(0x02FFFFFF, kLand, 0x02000000, 0x01000000, 0, 5),
               Record(0x02FFFFFF, kLand, 0x02000000, 0x01000000, 65535, 65535),
               Record(0x02FFFFFF, kLand, 0x02ABCDEF, 0x01ABCDEF, 5, 4)}));
  const RecoveryResult result = RecoverOntoBlank();
  EXPECT_EQ(result.records, 4);
  EXPECT_EQ(result.changed, (PixelRect{5, 4, 5, 4}));
  EXPECT_EQ(Snapshot(), Expected({{5, 4, 0x02ABCDEF, 0x01ABCDEF}}));
}

// Damaged journals: random bytes overwritten and files cut anywhere. Recovery and the
// undos and redos after it must stay inside the picture and the files, and end.
TEST_F(RecoveryTest, DamagedJournalsNeverCrash) {
  options.fileSizeLimit = 700;
  RunAndCrash({kStepA, kStepB, kStepC, kStepA, kStepB});
  std::vector<Bytes> originals;
  for (int n = 0; fs::exists(Path(n)); ++n) originals.push_back(FileBytes(n));
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    for (size_t n = 0; n < originals.size(); ++n) {
      Bytes bytes = originals[n];
      for (int i = 0, hits = int(random() % 4); i < hits && !bytes.empty(); ++i)
        bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
      if (random() % 4 == 0) bytes.resize(random() % (bytes.size() + 1));
      WriteFileBytes(static_cast<int>(n), bytes);
    }
    RecoverOntoBlank();
    for (int op = 0; op < 12; ++op) {
      if (random() % 2)
        journal->Undo(canvas, UndoMode::Full);
      else
        journal->Redo(canvas);
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace lumavex::testing
