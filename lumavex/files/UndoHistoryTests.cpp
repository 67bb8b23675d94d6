// Undo, frame-only undo and redo: the layers they restore, the menu state, the
// headers they complete and the chain of steps across files.

#include <algorithm>
#include <random>

#include "lumavex/files/UndoTestSupport.h"

namespace lumavex::testing {
namespace {

constexpr uint32_t kLand = 0x00808000;

const std::vector<Change> kStepA = {
    {0, 0, 0x06123456, 0xFF123456}, {3, 1, 0x02000000, 0x80000000}, {2, 3, 0x03ABCDEF, 0x00000080}};
const std::vector<Change> kStepB = {
    {1, 0, 0x02111111, 0x11111111}, {0, 0, 0x02222222, 0x22222222}, {3, 3, 0x02333333, 0x33333333}};

using HistoryTest = JournalTest;

TEST_F(HistoryTest, UndoOfTheOnlyStepRestoresItAndOffersRedo) {
  NewPicture(4, 4);
  Journal();
  const Layers blank = Snapshot();
  Draw(kStepA);
  const Layers drawn = Snapshot();
  const HistoryResult undone = journal->Undo(canvas, UndoMode::Full);
  EXPECT_TRUE(undone.applied);
  EXPECT_EQ(undone.changed, (PixelRect{0, 0, 3, 3}));
  EXPECT_EQ(Snapshot(), blank);
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_TRUE(journal->CanRedo());
  // Undo completed the header the crash-safe way: the count is on disk now.
  const Bytes file = FileBytes(0);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), Header(3, -1, 0, -1, 0));

  const HistoryResult redone = journal->Redo(canvas);
  EXPECT_TRUE(redone.applied);
  EXPECT_EQ(redone.changed, (PixelRect{0, 0, 3, 3}));
  EXPECT_EQ(Snapshot(), drawn);
  EXPECT_TRUE(journal->CanUndo());
  EXPECT_FALSE(journal->CanRedo());
  EXPECT_FALSE(journal->Redo(canvas).applied);
}

TEST_F(HistoryTest, DrawingAfterEverythingWasUndoneStartsATruncatedFirstFile) {
  NewPicture(4, 4);
  Journal();
  Draw(kStepA);
  Draw(kStepB);
  journal->Undo(canvas, UndoMode::Full);
  journal->Undo(canvas, UndoMode::Full);
  Draw({{1, 1, 0x02000001, 0x01000001}});
  EXPECT_EQ(FileBytes(0), Join({Header(0, -1, 0, -1, 0),
                                Record(0x02FFFFFF, kLand, 0x02000001, 0x01000001, 1, 1)}));
  EXPECT_FALSE(journal->CanRedo());
  EXPECT_TRUE(journal->CanUndo());
}

TEST_F(HistoryTest, DrawingAfterAPartialUndoDropsTheRedoChain) {
  NewPicture(4, 4);
  Journal();
  const Layers blank = Snapshot();
  Draw(kStepA);
  const Layers afterA = Snapshot();
  Draw(kStepB);
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), afterA);
  Draw({{1, 1, 0x02000001, 0x01000001}});
  EXPECT_FALSE(journal->CanRedo());
  const Bytes file = FileBytes(0);
  ASSERT_EQ(file.size(), 120u);  // the longer dropped step is cut away
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), Header(3, -1, 0, 0, 80));
  EXPECT_EQ(Bytes(file.begin() + 80, file.begin() + 100), Header(0, 0, 0, -1, 0));
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), afterA);
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), blank);
  EXPECT_FALSE(journal->CanUndo());
}

TEST_F(HistoryTest, FrameOnlyUndoLeavesTheDisplayAndRedoRestoresBoth) {
  NewPicture(4, 4);
  Journal();
  const Layers blank = Snapshot();
  Draw(kStepA);
  const Layers drawn = Snapshot();
  journal->Undo(canvas, UndoMode::FrameOnly);
  const Layers undone = Snapshot();
  EXPECT_EQ(undone.frame, blank.frame);
  EXPECT_EQ(undone.display, drawn.display);
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_TRUE(journal->CanRedo());
  journal->Redo(canvas);
  EXPECT_EQ(Snapshot(), drawn);
}

TEST_F(HistoryTest, UndoRestoresTheDisplayWithoutProcessingMarks) {
  NewPicture(4, 4);
  canvas.display.At(1, 0) = 0x7EFFFFFF;  // marks 26-30 set before the step
  Journal();
  Draw({{1, 0, 0x02000000, kLand}});
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(canvas.display.At(1, 0), 0x42FFFFFFu);  // bits 26-29 gone, bit 30 kept
}

// Step sizes chosen so that the chain crosses two file boundaries.
TEST_F(HistoryTest, ChainAcrossFilesIsUndoneAndRedoneToBothEnds) {
  NewPicture(8, 8);  // the largest step is 8 × 8 × 20 + 20 = 1300 bytes
  Journal({.fileSizeLimit = 1400});
  std::vector<Layers> states{Snapshot()};
  const std::vector<int> sizes = {2, 5, 1, 6, 3};
  int pixel = 0;
  for (int size : sizes) {
    std::vector<Change> step;
    for (int i = 0; i < size; ++i, ++pixel)
      step.push_back({pixel % 8, pixel / 8, 0x02000000u + pixel, 0x40000000u + pixel});
    Draw(step);
    states.push_back(Snapshot());
  }
  // File 0: steps of 2 and 5 records; file 1: 1 and 6; file 2: 3.
  const Bytes file0 = FileBytes(0);
  ASSERT_EQ(file0.size(), 20 + 40 + 20 + 100u);
  EXPECT_EQ(Bytes(file0.begin(), file0.begin() + 20), Header(2, -1, 0, 0, 60));
  EXPECT_EQ(Bytes(file0.begin() + 60, file0.begin() + 80), Header(5, 0, 0, 1, 0));
  const Bytes file1 = FileBytes(1);
  ASSERT_EQ(file1.size(), 40 + 140u);
  EXPECT_EQ(Bytes(file1.begin(), file1.begin() + 20), Header(1, 0, 60, 1, 40));
  EXPECT_EQ(Bytes(file1.begin() + 40, file1.begin() + 60), Header(6, 1, 0, 2, 0));
  EXPECT_EQ(FileBytes(2).size(), 20 + 60u);
  EXPECT_FALSE(fs::exists(Path(3)));

  for (int round = 0; round < 2; ++round) {
    for (int i = static_cast<int>(sizes.size()) - 1; i >= 0; --i) {
      ASSERT_TRUE(journal->Undo(canvas, UndoMode::Full).applied);
      ASSERT_EQ(Snapshot(), states[i]) << "undo to " << i;
    }
    EXPECT_FALSE(journal->CanUndo());
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_TRUE(journal->Redo(canvas).applied);
      ASSERT_EQ(Snapshot(), states[i]) << "redo to " << i;
    }
    EXPECT_FALSE(journal->CanRedo());
  }
}

// Random strokes, undos and redos on an odd-sized picture, against a reference that
// keeps a copy of the layers after every step.
TEST_F(HistoryTest, RandomHistoryMatchesLayerCopies) {
  NewPicture(13, 11);
  Journal({.fileSizeLimit = 3500});  // every few steps a new file
  std::mt19937 random(20240611);
  std::vector<Layers> states{Snapshot()};
  size_t position = 0;
  for (int op = 0; op < 400; ++op) {
    const int choice = static_cast<int>(random() % 10);
    if (choice < 4) {
      std::vector<int> pixels(13 * 11);
      for (int i = 0; i < 13 * 11; ++i) pixels[i] = i;
      std::shuffle(pixels.begin(), pixels.end(), random);
      std::vector<Change> step;
      for (int i = 0, n = static_cast<int>(random() % 40); i < n; ++i)
        step.push_back({pixels[i] % 13, pixels[i] / 13, uint32_t(random()), uint32_t(random())});
      Draw(step);
      states.resize(position + 1);
      if (!step.empty()) {
        states.push_back(Snapshot());
        ++position;
      }
    } else if (choice < 7) {
      ASSERT_EQ(journal->Undo(canvas, UndoMode::Full).applied, position > 0);
      if (position > 0) --position;
    } else {
      ASSERT_EQ(journal->Redo(canvas).applied, position + 1 < states.size());
      if (position + 1 < states.size()) ++position;
    }
    ASSERT_EQ(Snapshot(), states[position]) << "operation " << op;
    ASSERT_EQ(journal->CanUndo(), position > 0);
    ASSERT_EQ(journal->CanRedo(), position + 1 < states.size());
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(HistoryTest, FailedHeaderWriteAtUndoSwitchesJournalingOff) {
  NewPicture(4, 4);
  Journal({.writeAllowed = FailAtWrite(5)});  // header, commit, records, flush, then undo
  Draw(kStepA);
  const Layers drawn = Snapshot();
  EXPECT_FALSE(journal->Undo(canvas, UndoMode::Full).applied);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"アンドゥーを無効化します。"});
  EXPECT_FALSE(journal->CanUndo() || journal->CanRedo());
  EXPECT_EQ(Snapshot(), drawn);
}

// Undone again after its redo, a step's header is on the disk already: the undo
// writes nothing. A step drawn on top of it still gets its header completed.
TEST_F(HistoryTest, UndoAfterRedoWritesNothingAndLaterStepsStillGetTheirCount) {
  NewPicture(4, 4);
  int writes = 0;
  Journal({.writeAllowed = [&writes] { return ++writes > 0; }});
  const Layers blank = Snapshot();
  Draw(kStepA);
  const Layers drawnA = Snapshot();
  journal->Undo(canvas, UndoMode::Full);
  journal->Redo(canvas);
  const int beforeSecondUndo = writes;
  EXPECT_TRUE(journal->Undo(canvas, UndoMode::Full).applied);
  EXPECT_EQ(writes, beforeSecondUndo);
  EXPECT_EQ(Snapshot(), blank);

  journal->Redo(canvas);
  Draw(kStepB);
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), drawnA);
  const Bytes file = FileBytes(0);
  ASSERT_EQ(file.size(), 160u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), Header(3, -1, 0, 0, 80));
  EXPECT_EQ(Bytes(file.begin() + 80, file.begin() + 100), Header(3, 0, 0, -1, 0));
  journal->Undo(canvas, UndoMode::Full);
  EXPECT_EQ(Snapshot(), blank);
}

TEST_F(HistoryTest, BrokenBackLinkEndsUndoInsteadOfWanderingOff) {
  NewPicture(4, 4);
  Journal();
  Draw(kStepA);
  Draw(kStepB);
  const Layers afterA = [&] {
    journal->Undo(canvas, UndoMode::Full);
    Layers s = Snapshot();
    journal->Redo(canvas);
    return s;
  }();
  Bytes file = FileBytes(0);
  file[16] = 0x40;  // step A's next offset no longer names step B
  WriteFileBytes(0, file);
  EXPECT_TRUE(journal->Undo(canvas, UndoMode::Full).applied);
  EXPECT_EQ(Snapshot(), afterA);
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_TRUE(journal->Redo(canvas).applied);
}

}  // namespace
}  // namespace lumavex::testing
