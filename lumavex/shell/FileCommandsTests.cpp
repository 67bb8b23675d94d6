#include <gtest/gtest.h>

#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FileCommands.h"

namespace lumavex {
namespace {

using platform::MessageResult;
using testing::Bytes;
using testing::Get32;
using testing::ReadBytes;
using testing::WriteBytes;

class FileCommandsTest : public testing::ProgramTest {
 protected:
  bool Shown(const std::string& status) const {
    return std::find(host.statusTexts.begin(), host.statusTexts.end(), status) !=
           host.statusTexts.end();
  }
  static bool Played(const std::vector<std::string>& sounds, const std::string& family) {
    return !sounds.empty() && sounds.back().starts_with(family) && sounds.back().ends_with(".wav");
  }
  void WriteNative(const std::string& name, int width, int height, uint32_t display) {
    WriteBytes(At(name), testing::NativeBytes(width, height,
                                             std::vector<uint32_t>(width * height, display),
                                             std::vector<uint32_t>(width * height, 0)));
  }
};

TEST_F(FileCommandsTest, SavingWithoutTheDialogWritesBesideUnderTheNewExtension) {
  AppState& s = StartWithBlankPicture(3, 2);
  s.currentFileName = "./0003.lmv";
  ASSERT_TRUE(SaveBmp(s, 24, false));
  const Bytes bmp = ReadBytes(At("0003.bmp"));
  ASSERT_EQ(bmp.size(), 54u + 12 * 2);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(s.currentFileName, "./0003.bmp");
  EXPECT_TRUE(Played(host.soundsPlayed, "save"));
  EXPECT_TRUE(Shown("★セーブファイルの属性を調べています..."));
  EXPECT_TRUE(Shown("★セーブ中..."));
  EXPECT_EQ(s.files.folderPictures.Names(), std::vector<std::string>{"0003.bmp"});
}

TEST_F(FileCommandsTest, NativeSaveAsksForTheNameAndBeforeReplacingAFile) {
  AppState& s = StartWithBlankPicture(2, 2);
  host.fileDialogAnswers = {At("frame.lmv")};
  SaveNativeCommand(s);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  const auto& request = host.fileDialogs[0].request;
  EXPECT_TRUE(host.fileDialogs[0].save);
  EXPECT_EQ(request.filters, std::vector<std::string>{".lmv files {*.lmv}"});
  EXPECT_EQ(request.defaultName, "new.lmv");
  EXPECT_EQ(request.folder, folder);
  EXPECT_TRUE(Shown("★LMVセーブ"));
  EXPECT_EQ(s.currentFileName, "./frame.lmv");
  const Bytes first = ReadBytes(At("frame.lmv"));
  EXPECT_EQ(first.size(), 86u);

  s.canvas.display.At(0, 0) = 0x02000000;
  host.fileDialogAnswers = {At("frame.lmv")};
  host.messageAnswers = {MessageResult::Cancel};
  SaveNativeCommand(s);
  EXPECT_EQ(host.messages.back().caption, "ファイルが存在します。上書きしますか？");
  EXPECT_EQ(host.messages.back().text, "./frame.lmv");
  EXPECT_EQ(ReadBytes(At("frame.lmv")), first);

  host.fileDialogAnswers = {At("frame.lmv")};
  SaveNativeCommand(s);  // OK this time
  EXPECT_NE(ReadBytes(At("frame.lmv")), first);
}

TEST_F(FileCommandsTest, AFailedWriteKeepsThePreviousFileAndTheName) {
  AppState& s = StartWithBlankPicture(400, 700);  // rows fill more than one work block
  s.currentFileName = "./keep.lmv";
  WriteBytes(At("keep.lmv"), Bytes{7, 7, 7});
  int writes = 0;
  s.files.saveOptions.writeAllowed = [&] { return writes++ < 3; };
  host.soundsPlayed.clear();
  EXPECT_FALSE(SaveNative(s, s.currentFileName, {0, 0, 400, 700}, false));
  EXPECT_EQ(ReadBytes(At("keep.lmv")), (Bytes{7, 7, 7}));
  ASSERT_GE(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[host.messages.size() - 2].text, "書き込み失敗。");
  EXPECT_EQ(host.messages.back().text, "別の位置にセーブして下さい。");
  EXPECT_EQ(host.messages.back().caption, "書き込み失敗");
  EXPECT_EQ(s.currentFileName, "./keep.lmv");
  EXPECT_TRUE(host.soundsPlayed.empty());
}

TEST_F(FileCommandsTest, AFolderThatCannotTakeTheFileIsReportedNotFatal) {
  AppState& s = StartWithBlankPicture(2, 2);
  host.fileDialogAnswers = {At("missing/a.lmv")};
  SaveNativeCommand(s);
  EXPECT_EQ(host.messages.back().text, "ファイルオープン不可: " + At("missing/a.lmv"));
  EXPECT_EQ(host.messages.back().caption, "エラー");
  EXPECT_EQ(s.currentFileName, "./new.lmv");
}

TEST_F(FileCommandsTest, GreySavesWriteTheirDepthsWithTheirStatusTexts) {
  AppState& s = StartWithBlankPicture(2, 2);
  const std::pair<int, int> saves[] = {{cmd::kSaveGrey256, 8}, {cmd::kSaveGrey16, 4},
                                       {cmd::kSaveGrey4, 2}, {cmd::kSaveGrey2, 1},
                                       {cmd::kSaveBmp, 24}};
  for (const auto& [command, bits] : saves) {
    const std::string name = "g" + std::to_string(bits) + ".bmp";
    host.fileDialogAnswers = {At(name)};
    SaveBmpCommand(s, command);
    EXPECT_EQ(ReadBytes(At(name))[28], bits);
    EXPECT_EQ(host.fileDialogs.back().request.filters, std::vector<std::string>{".bmp files {*.bmp}"});
  }
  for (const char* status : {"★BMPセーブ", "★２５６色グレービットマップセーブ",
                             "★１６色グレービットマップセーブ", "★４色グレービットマップセーブ",
                             "★白黒BMPセーブ"})
    EXPECT_TRUE(Shown(status)) << status;
}

TEST_F(FileCommandsTest, RectangleSaveTakesThePixelsTheCornersRoundToAndKeepsTheName) {
  AppState& s = StartWithBlankPicture(5, 4);
  host.fileDialogAnswers = {At("part.lmv")};
  SaveRectangle(s, 3.4, 2.6, 0.6, 0.4);
  const Bytes b = ReadBytes(At("part.lmv"));
  ASSERT_EQ(b.size(), 54u + 3 * 4 * 8);
  EXPECT_EQ(Get32(b, 18), 3u);
  EXPECT_EQ(Get32(b, 22), 4u);
  EXPECT_EQ(Get32(b, 2), 3u * 4 * 4 + 54);
  EXPECT_EQ(s.currentFileName, "./new.lmv");
  EXPECT_TRUE(Shown("★矩形部分セーブ中..."));
}

TEST_F(FileCommandsTest, LoadCommandLoadsTheChosenPictureAndResetsTheJournal) {
  StartWithBlankPicture(2, 2);
  WriteNative("a.lmv", 3, 2, 0x02123456);
  testing::MakeUndoStep(State());
  host.fileDialogAnswers = {At("a.lmv")};
  EXPECT_EQ(LoadCommand(State()), LoadOutcome::Loaded);
  const int resets = State().undoJournal.CanUndo() ? 0 : 1;
  EXPECT_FALSE(host.fileDialogs[0].save);
  // Every picture the program reads shows at first; the native files' own filter follows.
  EXPECT_EQ(host.fileDialogs[0].request.filters[0], "picture files {*.lmv *.bmp *.png *.jpg}");
  EXPECT_EQ(host.fileDialogs[0].request.filters[1], "lmv files {*.lmv}");
  const AppState& s = State();
  EXPECT_EQ(s.currentFileName, "./a.lmv");
  ASSERT_TRUE(s.canvas.HasPicture());
  EXPECT_EQ(s.canvas.display.At(2, 1), 0x02123456u);
  EXPECT_EQ(s.canvasWidth, 3);
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(s.menu.Enabled(cmd::kSaveNative));
  EXPECT_TRUE(Played(host.soundsPlayed, "load"));
  EXPECT_TRUE(Shown("★ロード"));
  EXPECT_TRUE(Shown("★ロード中..."));
  EXPECT_EQ(s.files.folderPictures.CurrentIndex(), 0u);
}

TEST_F(FileCommandsTest, AnEditedPictureIsReplacedOnlyAfterTheQuestion) {
  AppState& s = StartWithBlankPicture(2, 2);
  WriteNative("a.lmv", 3, 2, 0x02123456);
  testing::MakeUndoStep(s);
  host.fileDialogAnswers = {At("a.lmv")};
  host.messageAnswers = {MessageResult::No};
  EXPECT_EQ(LoadCommand(s), LoadOutcome::Cancelled);
  EXPECT_EQ(host.messages.back().text, "画像が編集されています。ロードしますか？");
  EXPECT_EQ(host.messages.back().caption, "アンドゥーデータが存在");
  EXPECT_EQ(s.canvas.Width(), 2);
  EXPECT_EQ(LoadDroppedFile(s, At("a.lmv")), LoadOutcome::Loaded);  // Yes
  EXPECT_EQ(s.canvas.Width(), 3);
}

TEST_F(FileCommandsTest, ADrawingSettingsFileIsHandedOn) {
  Start();
  host.fileDialogAnswers = {At("pen.draw_define")};
  EXPECT_EQ(LoadCommand(State()), LoadOutcome::SettingsFile);
  EXPECT_EQ(State().files.drawingSettingsFileName, "./pen.draw_define");
  EXPECT_EQ(State().recentCommands.back(), cmd::kReadDrawingSettings);
  EXPECT_EQ(State().currentFileName, "./new.lmv");
}

// Every reader's failure keeps what was shown: the picture, its journal and its name.
TEST_F(FileCommandsTest, AFailedLoadKeepsThePictureTheJournalAndTheName) {
  AppState& s = StartWithBlankPicture(2, 2);
  WriteNative("a.lmv", 3, 2, 0x02123456);
  ASSERT_EQ(LoadDroppedFile(s, At("a.lmv")), LoadOutcome::Loaded);
  testing::MakeUndoStep(s);
  const auto displayWords = [&s] {
    std::vector<uint32_t> words;
    for (int y = 0; y < s.canvas.Height(); ++y)
      for (int x = 0; x < s.canvas.Width(); ++x) words.push_back(s.canvas.display.At(x, y));
    return words;
  };
  const std::vector<uint32_t> display = displayWords();
  WriteBytes(At("bad.lmv"), Bytes(60, 0x42));
  WriteBytes(At("bad.bmp"), Bytes(60, 0x42));
  WriteBytes(At("bad.png"), Bytes(60, 0x42));
  WriteBytes(At("bad.jpg"), Bytes(60, 0x42));
  for (const char* bad : {"bad.lmv", "bad.bmp", "bad.png", "bad.jpg"}) {
    SCOPED_TRACE(bad);
    host.messages.clear();
    host.messageAnswers = {MessageResult::Yes};  // replace the edited picture
    EXPECT_EQ(LoadDroppedFile(s, At(bad)), LoadOutcome::Failed);
    EXPECT_GE(host.messages.size(), 2u);  // the question, then the reader's message
    ASSERT_TRUE(s.canvas.HasPicture());
    EXPECT_EQ(displayWords(), display);
    EXPECT_EQ(s.currentFileName, "./a.lmv");
    EXPECT_EQ(s.canvasWidth, 3);
    EXPECT_TRUE(s.undoJournal.CanUndo());
    EXPECT_TRUE(s.menu.Enabled(cmd::kSaveNative));
  }
}

TEST_F(FileCommandsTest, LeftAndRightWalkPastAFileThatFailsToLoad) {
  Start();
  WriteNative("0000.lmv", 2, 2, 0x02000000);
  WriteBytes(At("0001.lmv"), Bytes(60, 0x42));
  WriteNative("0002.lmv", 2, 2, 0x02000002);
  AppState& s = State();
  ASSERT_EQ(LoadDroppedFile(s, At("0000.lmv")), LoadOutcome::Loaded);
  LoadNextPicture(s);
  EXPECT_EQ(s.currentFileName, "./0000.lmv");
  EXPECT_EQ(s.canvas.display.At(0, 0), 0x02000000u);
  LoadNextPicture(s);
  EXPECT_EQ(s.currentFileName, "./0002.lmv");
  EXPECT_EQ(s.canvas.display.At(0, 0), 0x02000002u);
}

TEST_F(FileCommandsTest, LeftAndRightWalkTheFolderAndStopAtItsEnds) {
  Start();
  WriteNative("0000.lmv", 2, 2, 0x02000000);
  WriteNative("0001.lmv", 2, 2, 0x02000001);
  WriteBytes(At("0002.BMP"), testing::BmpBytes(24, 2, 2, {2, 2, 2, 2}));
  WriteBytes(At("notes.txt"), Bytes{1});
  AppState& s = State();
  LoadNextPicture(s);  // no list yet
  EXPECT_FALSE(s.canvas.HasPicture());

  ASSERT_EQ(LoadDroppedFile(s, At("0001.lmv")), LoadOutcome::Loaded);
  LoadNextPicture(s);
  EXPECT_EQ(s.currentFileName, "./0002.BMP");
  EXPECT_EQ(s.canvas.display.At(0, 0), 0x02000002u);
  host.soundsPlayed.clear();
  LoadNextPicture(s);
  EXPECT_EQ(s.currentFileName, "./0002.BMP");
  EXPECT_TRUE(host.soundsPlayed.empty());

  LoadPreviousPicture(s);
  LoadPreviousPicture(s);
  EXPECT_EQ(s.currentFileName, "./0000.lmv");
  LoadPreviousPicture(s);
  EXPECT_EQ(s.currentFileName, "./0000.lmv");

  s.currentCommand = cmd::kCurveEdit;  // the arrows belong to the picked point
  LoadNextPicture(s);
  EXPECT_EQ(s.currentFileName, "./0000.lmv");
}

}  // namespace
}  // namespace lumavex
