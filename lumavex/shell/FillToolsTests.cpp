#include <gtest/gtest.h>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

using platform::Modifiers;
using platform::MouseButton;

class FillToolTest : public testing::ProgramTest {
 protected:
  // A 100 × 60 white picture split by an opaque black frame column at x = 50.
  void StartWithWall() {
    Start(400, 300);
    NewPicture(100, 60);
    Canvas& c = State().canvas;
    for (int y = 0; y < 60; ++y) {
      c.display.At(50, y) = kDrawAreaFlag;
      c.frame.At(50, y) = 0xFF000000;
    }
    State().headColour = 0x123456;
  }
  uint32_t Colour(int x, int y) { return State().canvas.display.At(x, y) & kColourMask; }
  int Painted() {
    int n = 0;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) n += (c.display.At(x, y) & kColourMask) == 0x123456;
    return n;
  }
  int Mode() { return State().currentCommand; }
  // Answers the next dialog with `value` in its first field.
  void AnswerDialog(const std::string& value) {
    host.dialogScripts.push_back({{{{1000, value}}, {}, true}});
  }
};

TEST_F(FillToolTest, APressAndADragFillInOneUndoStep) {
  StartWithWall();
  Key('P');
  EXPECT_EQ(Mode(), cmd::kFillInFrame);
  EXPECT_EQ(app->Menu().StatusText(), "★フレーム内塗りつぶし");
  Press(MouseButton::Left, 10, 10);
  EXPECT_EQ(Painted(), 50 * 60);
  EXPECT_EQ(app->Menu().StatusText(), "★塗りつぶし中...");
  Drag(80, 20);
  EXPECT_EQ(Painted(), 99 * 60);
  Release(MouseButton::Left, 80, 20);
  EXPECT_EQ(app->Menu().StatusText(), "★フレーム内塗りつぶし");
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  EXPECT_EQ(State().markedRectangle, (PixelRect{0, 0, 99, 59}));
  Key('U');
  EXPECT_EQ(Painted(), 0);
  EXPECT_EQ(Colour(50, 10), 0u);
}

TEST_F(FillToolTest, ChoosingTheFillAgainLetsItRepaintOnce) {
  StartWithWall();
  Key('P');
  Click(10, 10);
  State().headColour = 0xFF0000;
  Click(20, 20);  // the same operation's marks: nothing changes
  EXPECT_EQ(Colour(20, 20), 0x123456u);
  Key(platform::vk::kF1 + 4);  // a dialog command keeps the marks
  Key('P');
  Click(20, 20);
  EXPECT_EQ(Colour(20, 20), 0xFF0000u);
  EXPECT_EQ(Colour(80, 20), 0xFFFFFFu);
}

TEST_F(FillToolTest, TheNonDrawFillTakesPixelsOutOfTheDrawingArea) {
  StartWithWall();
  Key('P', kCtrl);
  EXPECT_EQ(Mode(), cmd::kFillNonDrawAreaInFrame);
  Click(80, 10);
  EXPECT_EQ(State().canvas.display.At(80, 10) & ~kProcessingMarks, 0x00FFFFFFu);
  EXPECT_EQ(State().canvas.frame.At(80, 10), BackdropColour(80, 10, false, false));
  EXPECT_EQ(State().canvas.display.At(50, 10) & ~kProcessingMarks, kDrawAreaFlag);
}

TEST_F(FillToolTest, TheOneColourFillAsksForTheToleranceFirst) {
  StartWithWall();
  Key('P');
  Key('P', kBoth);  // the dialog is cancelled: no mode at all
  EXPECT_EQ(Mode(), cmd::kNone);
  EXPECT_EQ(app->Menu().StatusText(), "");
  AnswerDialog("3");
  Key('P', kBoth);
  EXPECT_EQ(Mode(), cmd::kFillOneColour);
  EXPECT_EQ(State().settings.rgbTolerance, 3);
  EXPECT_EQ(app->Menu().StatusText(), "★単色領域塗りつぶし");
  State().canvas.display.At(5, 5) = kDrawAreaFlag | 0xFCFFFF;
  State().canvas.display.At(6, 5) = kDrawAreaFlag | 0xFBFFFF;
  Click(10, 10);
  EXPECT_EQ(Colour(5, 5), 0x123456u);
  EXPECT_EQ(Colour(6, 5), 0xFBFFFFu);
}

TEST_F(FillToolTest, TheBitmapFillLoadsItsPictureOnceAndKeepsTheModeWhenCancelled) {
  StartWithWall();
  Key('P');
  Key('P', kShift);  // cancelled: the mode stays
  EXPECT_EQ(Mode(), cmd::kFillInFrame);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].request.filters,
            (std::vector<std::string>{"lmv files {*.lmv}", "bmp files {*.bmp}", "png files {*.png}",
                                      "jpg files {*.jpg}"}));
  host.fileDialogAnswers.push_back(folder + "/missing.lmv");
  Key('P', kShift);  // a failed load: the mode stays too
  EXPECT_EQ(Mode(), cmd::kFillInFrame);
  EXPECT_FALSE(host.messages.empty());

  const std::string path = folder + "/tile.lmv";
  testing::WriteBytes(
      path,
      testing::NativeBytes(2, 2, {0x02AA0000, 0x0200BB00, 0x02AA0000, 0x0200BB00}, {0, 0, 0, 0}));
  host.fileDialogAnswers.push_back(path);
  Key('P', kShift);
  EXPECT_EQ(Mode(), cmd::kFillBitmapInFrame);
  EXPECT_EQ(app->Menu().StatusText(), "★フレーム内ビットマップ塗りつぶし");
  Click(10, 10);
  EXPECT_EQ(Colour(10, 10), 0xAA0000u);
  EXPECT_EQ(Colour(11, 10), 0x00BB00u);
  // The same path again is not loaded again.
  testing::WriteBytes(path, testing::NativeBytes(2, 2, std::vector<uint32_t>(4, 0x02000001),
                                                 std::vector<uint32_t>(4, 0)));
  host.fileDialogAnswers.push_back(path);
  Key('P', kShift);
  Click(70, 10);
  EXPECT_EQ(Colour(70, 10), 0xAA0000u);
}

TEST_F(FillToolTest, WholeAreaFillsRunAtOnceAndRepeatNothing) {
  StartWithWall();
  Command(cmd::kFillSelection);
  EXPECT_EQ(Painted(), 99 * 60);
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  EXPECT_EQ(app->Menu().StatusText(), "");
  State().headColour = 0xFF0000;
  Command(cmd::kFillSelection);
  EXPECT_EQ(Colour(3, 3), 0x123456u);
  Key('U');
  EXPECT_EQ(Painted(), 0);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));
}

TEST_F(FillToolTest, TheWholeAreaOneColourFillAsksAndCancellingFillsNothing) {
  StartWithWall();
  Key('P');
  Command(cmd::kFillOneColourSelection);
  EXPECT_EQ(Mode(), cmd::kNone);
  EXPECT_EQ(Painted(), 0);
  State().terminationColour = 0xFFFFFF;
  AnswerDialog("0");
  Command(cmd::kFillOneColourSelection);
  EXPECT_EQ(Painted(), 99 * 60);  // the frame column is black
  EXPECT_EQ(Mode(), cmd::kFillOneColourSelection);
}

TEST_F(FillToolTest, InvertingTwiceWithACommandBetweenRestoresThePicture) {
  StartWithWall();
  Command(cmd::kXorFillSelection);
  EXPECT_EQ(Colour(10, 10), 0u);
  EXPECT_EQ(State().canvas.frame.At(50, 10), 0xFFFFFFFFu);
  Command(cmd::kXorFillSelection);  // right after itself: nothing
  EXPECT_EQ(Colour(10, 10), 0u);
  Key('P');
  Command(cmd::kXorFillSelection);
  EXPECT_EQ(Colour(10, 10), 0xFFFFFFu);
  EXPECT_EQ(State().canvas.frame.At(50, 10), 0xFF000000u);
}

}  // namespace
}  // namespace lumavex
