#include "lumavex/shell/SaveCommands.h"

#include <gtest/gtest.h>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;
using platform::KeyDownEvent;
using platform::MessageResult;
using platform::MouseButton;
using platform::MouseEvent;

// The file commands reached the way a user reaches them: keys, menu commands, drops.
class FileWiringTest : public testing::ProgramTest {
 protected:
  void DrawCurve() {
    State().headColour = 0xFF20C040;
    Key('S');
    Click(5, 5);
    Click(30, 20);
    Click(0, 0, {true, true});
    Click(0, 0, {true, true});
  }
  std::vector<uint32_t> Display() {
    const Canvas& c = State().canvas;
    std::vector<uint32_t> words;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) words.push_back(c.display.At(x, y) & 0x03FFFFFF);
    return words;
  }
};

TEST_F(FileWiringTest, F12SavesAndTheLoadCommandBringsThePictureBack) {
  Start();
  NewPicture(40, 30);
  DrawCurve();
  const std::vector<uint32_t> drawn = Display();
  host.fileDialogAnswers = {At("0001.lmv")};
  app->HandleEvent(KeyDownEvent{platform::vk::kF12, {}});
  ASSERT_TRUE(fs::exists(At("0001.lmv")));
  EXPECT_EQ(fs::file_size(At("0001.lmv")), 40u * 30 * 8 + 54);

  NewPicture(10, 10);
  host.fileDialogAnswers = {At("0001.lmv")};
  host.messageAnswers = {MessageResult::Yes};
  Command(cmd::kLoad);
  ASSERT_EQ(State().canvas.Width(), 40);
  EXPECT_EQ(Display(), drawn);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));  // a load starts a fresh journal
}

TEST_F(FileWiringTest, PngSavedAndLoadedKeepsTheShownColours) {
  Start();
  NewPicture(40, 30);
  DrawCurve();
  const std::vector<uint32_t> drawn = Display();
  host.fileDialogAnswers = {At("frame.png")};
  Command(cmd::kSavePng);
  ASSERT_TRUE(fs::exists(At("frame.png")));
  EXPECT_EQ(State().currentFileName, "./frame.png");

  NewPicture(10, 10);
  app->HandleEvent(platform::DropEvent{{At("frame.png")}});
  ASSERT_EQ(State().canvas.Width(), 40);
  EXPECT_EQ(Display(), drawn);
  EXPECT_EQ(State().canvas.frame.At(0, 0), kLandEven);
}

TEST_F(FileWiringTest, DrawingSettingsSaveAndLoadThroughTheCommands) {
  Start();
  NewPicture(10, 10);
  State().settings.maxOpacity = 77;
  State().settings.pasteText = "文字";
  host.fileDialogAnswers = {At("pens.draw_define")};
  Command(cmd::kSaveDrawingSettings);
  ASSERT_TRUE(fs::exists(At("pens.draw_define")));
  EXPECT_EQ(fs::file_size(At("pens.draw_define")), 168u + 5 + 1);

  State().settings.maxOpacity = 255;
  State().settings.pasteText.clear();
  host.fileDialogAnswers = {At("pens.draw_define")};
  host.messageAnswers = {MessageResult::Yes};
  Command(cmd::kLoad);
  EXPECT_EQ(State().settings.maxOpacity, 77);
  EXPECT_EQ(State().settings.pasteText, "文字");
  EXPECT_EQ(State().canvas.Width(), 10);  // the picture stays
}

TEST_F(FileWiringTest, RecoveryLoadsTheSavedFileAndReplaysWhatCameAfter) {
  Start();
  NewPicture(40, 30);
  host.fileDialogAnswers = {At("cut.lmv")};
  Command(cmd::kSaveNative);
  DrawCurve();
  const std::vector<uint32_t> drawn = Display();
  app.reset();

  host.messageAnswers = {MessageResult::Ok};
  Start();
  ASSERT_TRUE(State().canvas.HasPicture());
  EXPECT_EQ(State().currentFileName, "./cut.lmv");
  EXPECT_EQ(Display(), drawn);
}

}  // namespace
}  // namespace lumavex

namespace lumavex {
namespace {

TEST_F(FileWiringTest, DroppedNativeFilesAreSavedReducedAndTheRunEndsInMagenta) {
  Start();
  NewPicture(40, 20);
  for (const char* name : {"0000.lmv", "0001.lmv"}) {
    host.fileDialogAnswers = {At(name)};
    Command(cmd::kSaveNative);
  }
  Command(cmd::kSaveReducedBmpByDrop);
  EXPECT_EQ(State().currentCommand, cmd::kSaveReducedBmpByDrop);
  app->HandleEvent(platform::DropEvent{{At("0000.lmv"), At("0001.lmv")}});
  EXPECT_TRUE(fs::exists(At("0000.bmp")));
  EXPECT_TRUE(fs::exists(At("0001.bmp")));
  EXPECT_EQ(State().currentCommand, cmd::kNone);
  EXPECT_EQ(app->Surface().At(5, 5) & 0xFFFFFF, 0xFF00FFu);
  EXPECT_TRUE(State().canvas.HasPicture());
}

}  // namespace
}  // namespace lumavex
