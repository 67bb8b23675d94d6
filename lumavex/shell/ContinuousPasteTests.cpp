#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/shell/FilePasteByDrop.h"

namespace lumavex {
namespace {

using platform::DialogAttempt;
using platform::MouseButton;

constexpr int kList = 1000;
constexpr int kLoopBox = 1000;

PasteCurves Shifted(const PasteCurves& c, double dx, double dy) {
  PasteCurves out = c;
  for (auto* curve : {&out.curve1, &out.middle, &out.curve2})
    for (Sample& p : *curve) p = {p.x + dx, p.y + dy};
  return out;
}

std::vector<uint32_t> Words(const Canvas& canvas) {
  std::vector<uint32_t> words;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      words.push_back(canvas.display.At(x, y) & ~kProcessingMarks);
      words.push_back(canvas.frame.At(x, y));
    }
  return words;
}

// A 100 × 60 picture with a dark square, saved as "init.lmv", and the band around
// the square copied to memory.
class ContinuousPasteTest : public testing::ProgramTest {
 protected:
  AppState& StartWithCopy() {
    Start(400, 300);
    NewPicture(100, 60);
    for (int y = 20; y < 30; ++y)
      for (int x = 30; x < 40; ++x) State().canvas.display.At(x, y) = kDrawAreaFlag | 0x203040;
    SaveHere("./init.lmv");
    CopyBand();
    return State();
  }
  // Copies the band between y = 10 and y = 40 to memory.
  void CopyBand() {
    Command(cmd::kCopyToMemory);
    Click(10, 10);
    Click(80, 10);
    Click(0, 0, kBoth);
    Click(10, 40);
    Click(80, 40);
    Click(0, 0, kBoth);
    Click(0, 0, kBoth);
  }
  void SaveHere(std::string name) {
    const Canvas& c = State().canvas;
    ASSERT_TRUE(SaveNative(State(), name, {0, 0, c.Width(), c.Height()}, false));
  }
  void Drop(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(At(name));
    app->HandleEvent(platform::DropEvent{paths});
  }
  void CreateGroup(int count) {
    host.dialogScripts.push_back({{{{1000, "walk0001"}, {1001, std::to_string(count)}}, {}, true}});
    Command(cmd::kCreatePasteFiles);
    Drop({"init.lmv"});
  }
  void ChooseFile(int command, int file) {
    host.dialogScripts.push_back({{{}, {}, true, {{kList, file}}}});
    Command(command);
  }
  void SetLoop(bool loop) {
    host.dialogScripts.push_back({{{}, {{kLoopBox, loop}}, true}});
    Command(cmd::kSetPasteGroup4);
  }
  // Sets group 1 on file 0 and groups 2 and 3 on files `k2` and `k3` (if any),
  // each shifted on from the copy position.
  void SetGroups(int k2, int k3 = -1) {
    Command(cmd::kSetPasteGroup1);
    State().pasteCurves = G(1);
    ChooseFile(cmd::kSetPasteGroup2, k2);
    State().pasteCurves = G(2);
    if (k3 >= 0) {
      ChooseFile(cmd::kSetPasteGroup3, k3);
      State().pasteCurves = G(3);
    }
    Key('N');  // moving on stores the last group
  }
  PasteCurves G(int group) const {
    return Shifted(app->State().pasteResetCurves, 4.0 * (group - 1), 3.0 * (group - 1));
  }
  void RunSpan(int command) {
    Command(command);
    Click(0, 0, kBoth);
  }
  // Picture `file` of the group as a single paste at `curves` on the initial picture.
  std::vector<uint32_t> PastedAt(const PasteCurves& curves) {
    const Canvas& initial = State().pasteGroup.pictures[0];
    testing::TestDrawingContext one(initial.Width(), initial.Height());
    std::memcpy(one.canvas.display.Data(), initial.display.Data(), initial.display.SizeBytes());
    std::memcpy(one.canvas.frame.Data(), initial.frame.Data(), initial.frame.SizeBytes());
    FillPicture image;
    PaintStep step(one, false);
    PasteSurface(step, State().memorySurface, curves,
                 static_cast<uint32_t>(State().settings.maxOpacity), one.allocator, image);
    step.End(false);
    return Words(one.canvas);
  }
  std::vector<uint32_t> File(int k) { return Words(State().pasteGroup.pictures[k]); }
  const std::vector<platform::DialogMessage>& Refusals() { return host.dialogs.back().refusals; }
  std::string LastMessage() { return host.messages.back().text; }
};

TEST_F(ContinuousPasteTest, TheGroupIsMadeFromTheDroppedPictureAfterTheDialogsChecks) {
  AppState& s = StartWithCopy();
  std::filesystem::copy_file(At("init.lmv"), At("walk0003.lmv"));
  host.dialogScripts.push_back({
      {{{1000, ""}, {1001, "5"}}, {}, true},
      {{{1000, "walk"}, {1001, "5"}}, {}, true},
      {{{1000, "../walk0001"}, {1001, "5"}}, {}, true},
      {{{1000, "walk0001"}, {1001, "five"}}, {}, true},
      {{{1000, "walk0001"}, {1001, "2"}}, {}, true},
      {{{1000, "walk9998"}, {1001, "3"}}, {}, true},  // would need walk10000
      {{{1000, "walk0001"}, {1001, "5"}}, {}, true},  // walk0003 exists
      {{{1000, "walk0004.lmv"}, {1001, "3"}}, {}, true},
  });
  Command(cmd::kCreatePasteFiles);
  const std::vector<std::string> shown = [&] {
    std::vector<std::string> texts;
    for (const auto& r : Refusals()) texts.push_back(r.text);
    return texts;
  }();
  ASSERT_EQ(shown.size(), 7u);
  EXPECT_EQ(shown[0], "メモリから貼り付け用先頭ファイル名に文字列を入力して下さい。");
  EXPECT_EQ(shown[1], "メモリから貼り付け用先頭ファイル名の下位４桁を数値にして下さい。");
  EXPECT_EQ(shown[2], shown[1]);
  EXPECT_EQ(shown[3], "貼り付け先ファイル数に数値を入力して下さい。");
  EXPECT_EQ(shown[4], "貼り付け先ファイル数に３以上の数値を入力して下さい。");
  EXPECT_EQ(shown[6], "メモリから貼り付け用ファイル郡は存在しないようにして下さい。");
  EXPECT_EQ(Refusals()[0].caption, "指定エラー");
  EXPECT_EQ(s.currentCommand, cmd::kCreatePasteFiles);

  std::filesystem::copy_file(At("init.lmv"), At("init.bmp"));
  Drop({"init.bmp"});
  EXPECT_EQ(LastMessage(), "*.lmv ファイルではありません。");
  EXPECT_FALSE(s.pasteGroup.Held());
  EXPECT_EQ(s.currentCommand, cmd::kCreatePasteFiles);  // waits for another drop

  Drop({"init.lmv"});
  ASSERT_EQ(s.pasteGroup.Count(), 3);
  EXPECT_EQ(s.pasteGroup.names,
            (std::vector<std::string>{"./walk0004.lmv", "./walk0005.lmv", "./walk0006.lmv"}));
  EXPECT_EQ(File(2), Words(s.canvas));  // every picture starts from the dropped one
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_FALSE(std::filesystem::exists(At("walk0004.lmv")));  // nothing written yet
  EXPECT_TRUE(s.menu.Enabled(cmd::kSavePasteFiles));
}

TEST_F(ContinuousPasteTest, ALoadTakesNumberedNativeFilesInNumberOrderAndABadSetChangesNothing) {
  AppState& s = StartWithCopy();
  CreateGroup(3);
  const auto before = s.pasteGroup.names;
  for (const char* name : {"b0012.lmv", "a0010.lmv", "c0011.lmv", "d0013.lmv", "take.lmv"})
    std::filesystem::copy_file(At("init.lmv"), At(name));
  std::filesystem::copy_file(At("init.lmv"), At("e0014.bmp"));

  struct Case {
    std::vector<std::string> names;
    std::string message;
  };
  const Case refused[] = {
      {{"a0010.lmv", "b0012.lmv"}, kTooFewFiles},
      {{"a0010.lmv", "b0012.lmv", "e0014.bmp"}, kNotAllNativeFiles},
      {{"a0010.lmv", "b0012.lmv", "take.lmv"}, kNotFourDigits},
      {{"a0010.lmv", "b0012.lmv", "missing0001.lmv"}, ""},  // the load fails
  };
  for (const Case& c : refused) {
    Command(cmd::kLoadPasteFiles);
    const size_t shownBefore = host.messages.size();
    Drop(c.names);
    EXPECT_GT(host.messages.size(), shownBefore);
    if (!c.message.empty()) {
      EXPECT_EQ(LastMessage(), c.message);
    }
    EXPECT_EQ(s.pasteGroup.names, before);
  }

  Command(cmd::kLoadPasteFiles);
  Drop({"d0013.lmv", "b0012.lmv", "a0010.lmv", "c0011.lmv"});
  EXPECT_EQ(s.pasteGroup.names, (std::vector<std::string>{"./a0010.lmv", "./c0011.lmv",
                                                          "./b0012.lmv", "./d0013.lmv"}));
  EXPECT_EQ(s.currentCommand, cmd::kNone);
}

TEST_F(ContinuousPasteTest, GroupCommandsNeedTheirPrerequisitesAndFilesInOrder) {
  AppState& s = StartWithCopy();
  Command(cmd::kSetPasteGroup1);
  EXPECT_EQ(LastMessage(), kNoPasteFileGroup);
  EXPECT_EQ(host.messages.back().caption, "エラー");
  EXPECT_FALSE(s.menu.Enabled(cmd::kPasteSpan1To2));

  CreateGroup(6);
  host.dialogScripts.push_back({{{}, {}, true, {{kList, 0}}},
                                {{}, {}, true, {{kList, -1}}},
                                {{}, {}, true, {{kList, 3}}}});
  Command(cmd::kSetPasteGroup2);
  ASSERT_EQ(Refusals().size(), 2u);
  EXPECT_EQ(Refusals()[0].text, kNotBetweenGroups);
  EXPECT_EQ(Refusals()[1].text, kNoFileChosen);
  EXPECT_EQ(s.pasteGroup.k2, 3);
  EXPECT_EQ(s.currentCommand, cmd::kSetPasteGroup2);

  host.dialogScripts.push_back({{{}, {}, true, {{kList, 3}}}, {{}, {}, true, {{kList, 5}}}});
  Command(cmd::kSetPasteGroup3);
  EXPECT_EQ(Refusals()[0].text, kNotBetweenGroups);  // not after group 2
  EXPECT_EQ(s.pasteGroup.k3, 5);
  Key('N');

  // The loop check refuses group 3 on the last file and clears its box.
  host.dialogScripts.push_back({{{}, {{kLoopBox, true}}, true}, {{}, {}, false}});
  Command(cmd::kSetPasteGroup4);
  EXPECT_EQ(Refusals()[0].text, kLastFileInLoop);
  EXPECT_FALSE(s.pasteGroup.loop);

  host.dialogScripts.push_back({{{}, {}, true, {{kList, 4}}}});
  Command(cmd::kSetPasteGroup3);
  Key('N');
  SetLoop(true);
  EXPECT_TRUE(s.pasteGroup.loop);
  host.dialogScripts.push_back({{{}, {}, true, {{kList, 5}}}, {{}, {}, false}});
  Command(cmd::kSetPasteGroup3);
  EXPECT_EQ(Refusals()[0].text, kLastFileInLoop);
  EXPECT_EQ(s.pasteGroup.k3, 4);

  // Group 2 may not move onto or past group 3.
  host.dialogScripts.push_back({{{}, {}, true, {{kList, 4}}}, {{}, {}, false}});
  Command(cmd::kSetPasteGroup2);
  EXPECT_EQ(Refusals()[0].text, kNotBetweenGroups);
  EXPECT_EQ(s.pasteGroup.k2, 3);
}

TEST_F(ContinuousPasteTest, AGroupShowsItsFileAndIsStoredWhenTheUserMovesOn) {
  AppState& s = StartWithCopy();
  CreateGroup(4);
  s.pasteGroup.pictures[0].display.At(1, 1) = kDrawAreaFlag | 0x123456;
  const std::vector<uint32_t> own = Words(s.canvas);
  const std::string name = s.currentFileName;
  const bool couldUndo = s.undoJournal.CanUndo();

  Command(cmd::kSetPasteGroup1);
  EXPECT_EQ(s.currentCommand, cmd::kSetPasteGroup1);
  EXPECT_EQ(s.canvas.display.At(1, 1) & kColourMask, 0x123456u);  // file 0 is shown
  Key('5');
  const PasteCurves start = s.pasteCurves;
  Press(MouseButton::Left, 30, 20);
  Drag(36, 24);
  Release(MouseButton::Left, 36, 24);
  Click(0, 0, kBoth);  // no paste in a group mode
  Key('L');            // another command
  ASSERT_TRUE(s.pasteGroup.positions[0]);
  EXPECT_DOUBLE_EQ(s.pasteGroup.positions[0]->curve1[0].x, start.curve1[0].x + 6);
  EXPECT_EQ(Words(s.canvas), own);
  EXPECT_EQ(s.currentFileName, name);
  EXPECT_EQ(s.undoJournal.CanUndo(), couldUndo);
  EXPECT_EQ(s.pasteGroup.pictures[0].display.At(1, 1) & kColourMask, 0x123456u);
  EXPECT_EQ(File(1), File(2));  // nothing pasted

  // A new copy forgets the positions.
  CopyBand();
  EXPECT_FALSE(s.pasteGroup.positions[0]);
}

TEST_F(ContinuousPasteTest, SpansPasteEveryPictureOnceFromGroupToGroup) {
  AppState& s = StartWithCopy();
  CreateGroup(7);
  SetGroups(3, 6);
  EXPECT_TRUE(s.menu.Enabled(cmd::kPasteSpan1To2));
  EXPECT_FALSE(s.menu.Enabled(cmd::kPasteSpan3To4));  // no loop movie
  const std::vector<uint32_t> own = Words(s.canvas);
  const bool couldUndo = s.undoJournal.CanUndo();

  Command(cmd::kPasteSpan1To2);
  EXPECT_EQ(s.currentCommand, cmd::kPasteSpan1To2);
  const PasteCurves mid = MidpointCurves(G(1), G(2));
  EXPECT_DOUBLE_EQ(s.pasteCurves.middle[0].x, mid.middle[0].x);
  s.pasteCurves = Shifted(mid, 9, 0);
  Click(0, 0, kBoth, MouseButton::Right);  // back to the midpoint
  EXPECT_DOUBLE_EQ(s.pasteCurves.curve2[1].x, mid.curve2[1].x);
  Click(0, 0, kBoth);

  EXPECT_EQ(File(0), PastedAt(G(1)));
  EXPECT_EQ(File(3), PastedAt(G(2)));
  // Left at the midpoint the curves go straight at constant speed: a third per file.
  EXPECT_EQ(File(1), PastedAt(Shifted(G(1), 4.0 / 3, 1)));
  EXPECT_NE(File(4), File(3));
  const std::vector<uint32_t> groupTwo = File(3);
  EXPECT_EQ(Words(s.canvas), own);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(s.undoJournal.CanUndo(), couldUndo);  // the group is not the undo files' picture
  EXPECT_FALSE(s.menu.Enabled(cmd::kPasteSpan1To2));

  RunSpan(cmd::kPasteSpan2To3);
  EXPECT_EQ(File(3), groupTwo);  // K2 is not pasted twice
  EXPECT_EQ(File(6), PastedAt(G(3)));
  EXPECT_FALSE(s.menu.Enabled(cmd::kPasteSpan2To3));

  // Setting group 2 again opens both spans that touch it, already while it is being
  // positioned: the menu is opened from that mode.
  ChooseFile(cmd::kSetPasteGroup2, 3);
  EXPECT_TRUE(s.menu.Enabled(cmd::kPasteSpan1To2));
  EXPECT_TRUE(s.menu.Enabled(cmd::kPasteSpan2To3));
  s.pasteCurves = Shifted(G(2), 2, 0);
  Command(cmd::kPasteSpan1To2);  // straight from the group mode
  EXPECT_DOUBLE_EQ(s.pasteGroup.positions[1]->curve1[0].x, G(2).curve1[0].x + 2);
  EXPECT_EQ(s.currentCommand, cmd::kPasteSpan1To2);
}

TEST_F(ContinuousPasteTest, TheLoopSpanEndsOneStepBeforeGroupOne) {
  AppState& s = StartWithCopy();
  CreateGroup(8);
  SetGroups(2, 4);
  const int mode = s.currentCommand;
  Command(cmd::kPasteSpan3To4);
  EXPECT_EQ(s.currentCommand, mode);  // not a loop movie: refused, the mode stays
  EXPECT_EQ(LastMessage(), "[メモリから連続貼り付け用基点郡設定４] コマンドを先に実行して下さい。");
  SetLoop(true);
  EXPECT_TRUE(s.menu.Enabled(cmd::kPasteSpan3To4));
  const std::vector<uint32_t> first = File(0);
  RunSpan(cmd::kPasteSpan3To4);
  // Files 5, 6, 7 at t = 1/4, 2/4, 3/4 from group 3 back to group 1.
  const PasteCurves g3 = G(3);
  EXPECT_EQ(File(7), PastedAt(Shifted(g3, -8 * 0.75, -6 * 0.75)));
  EXPECT_EQ(File(4), PastedAt({}));  // group 3's own file is span 2～3's
  EXPECT_EQ(File(0), first);
}

TEST_F(ContinuousPasteTest, SavingWritesEveryFileAndAFailedWriteKeepsTheOldFile) {
  AppState& s = StartWithCopy();
  CreateGroup(4);
  SetGroups(3);
  RunSpan(cmd::kPasteSpan1To2);
  EXPECT_EQ(SavePasteFilesCommand(s), 4);
  for (int k = 0; k < 4; ++k) {
    const std::string name = "walk000" + std::to_string(k + 1) + ".lmv";
    host.dialogScripts.clear();
    ASSERT_EQ(LoadDroppedFile(s, At(name)), LoadOutcome::Loaded) << name;
    EXPECT_EQ(Words(s.canvas), File(k)) << name;
  }

  // A second pass whose third file's write fails as a full disk would: the first
  // two are written, the third keeps its old contents and the series ends there.
  const std::string third = testing::ReadFile(At("walk0003.lmv"));
  const std::string fourth = testing::ReadFile(At("walk0004.lmv"));
  int writes = 0;
  s.files.saveOptions.writeAllowed = [&] { return ++writes > 0; };
  ASSERT_EQ(SavePasteFilesCommand(s), 4);
  const int perFile = writes / 4;
  ASSERT_GT(perFile, 0);
  for (int k : {0, 1, 2, 3}) s.pasteGroup.pictures[k].display.At(0, 0) ^= 0xFF;
  writes = 0;
  s.files.saveOptions.writeAllowed = [&] { return ++writes <= 2 * perFile; };
  EXPECT_EQ(SavePasteFilesCommand(s), 2);
  EXPECT_EQ(testing::ReadFile(At("walk0003.lmv")), third);
  EXPECT_EQ(testing::ReadFile(At("walk0004.lmv")), fourth);
  host.dialogScripts.clear();
  ASSERT_EQ(LoadDroppedFile(s, At("walk0002.lmv")), LoadOutcome::Loaded);
  EXPECT_EQ(Words(s.canvas), File(1));
}

}  // namespace
}  // namespace lumavex
