#include <gtest/gtest.h>

#include <filesystem>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

using platform::MouseButton;

// A 100 × 60 picture with a dark square in the band that the copy takes.
class PasteToolTest : public testing::ProgramTest {
 protected:
  void StartWithPicture() {
    Start(400, 300);
    NewPicture(100, 60);
    for (int y = 20; y < 30; ++y)
      for (int x = 30; x < 40; ++x) State().canvas.display.At(x, y) = kDrawAreaFlag | 0x203040;
  }
  int Mode() { return State().currentCommand; }
  std::string Status() { return app->Menu().StatusText(); }
  uint32_t Shown(int x, int y) { return State().canvas.display.At(x, y) & kColourMask; }
  // Copies the band between y = 10 and y = 40, x = 10 to 80 (`second` points on curve 2).
  void CopyBand(int second = 2) {
    Command(cmd::kCopyToMemory);
    Click(10, 10);
    Click(80, 10);
    Click(0, 0, kBoth);
    for (int i = 0; i < second; ++i) Click(10 + 70 * i / (second - 1), 40);
    Click(0, 0, kBoth);
    Click(0, 0, kBoth);
  }
  void DragBy(int fromX, int fromY, int dx, int dy) {
    Press(MouseButton::Left, fromX, fromY);
    Drag(fromX + dx, fromY + dy);
    Release(MouseButton::Left, fromX + dx, fromY + dy);
  }
};

TEST_F(PasteToolTest, TheCopyIsATwoCurveToolThatEnablesThePaste) {
  StartWithPicture();
  EXPECT_FALSE(app->Menu().Enabled(cmd::kPasteFromMemory));
  EXPECT_FALSE(app->Menu().Enabled(cmd::kPaintPreviousPixels));
  Key('Q');  // greyed: nothing
  EXPECT_NE(Mode(), cmd::kPasteFromMemory);

  Command(cmd::kCopyToMemory);
  EXPECT_EQ(Mode(), cmd::kCopyToMemory);
  EXPECT_EQ(Status(), "★曲面をメモリへコピー");
  Click(10, 10);
  Click(80, 10);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kCopyToMemorySecondCurve);
  Click(10, 40);
  Click(45, 40);
  Click(80, 40);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kCopyToMemoryEdit);
  Click(0, 0, kBoth);
  EXPECT_EQ(Status(), "★基点個数を一致させて下さい。");
  EXPECT_TRUE(State().memorySurface.Empty());
  EXPECT_FALSE(app->Menu().Enabled(cmd::kPasteFromMemory));

  Click(45, 40, kCtrl);  // delete the extra point: the counts agree
  Click(0, 0, kBoth);
  EXPECT_FALSE(State().memorySurface.Empty());
  EXPECT_TRUE(app->Menu().Enabled(cmd::kPasteFromMemory));
  EXPECT_EQ(Mode(), cmd::kCopyToMemoryEdit);
  EXPECT_EQ(Status(), "★曲面をメモリへコピー");
}

TEST_F(PasteToolTest, QMovesWithFivePastesInOneUndoStepAndShiftQPaintsWithTheImage) {
  StartWithPicture();
  CopyBand();
  Key('Q');
  EXPECT_EQ(Mode(), cmd::kPasteFromMemory);
  EXPECT_EQ(Status(), "★曲面をメモリからペースト");
  Key('5');
  EXPECT_EQ(Status(), "★移動モード");
  DragBy(50, 25, 20, 5);
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve1[0].x, 30);
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve2[1].y, 45);
  EXPECT_EQ(Shown(55, 27), 0xFFFFFFu);  // nothing is pasted yet
  Click(0, 0, kBoth);
  for (int y = 20; y < 30; ++y)
    for (int x = 30; x < 40; ++x) EXPECT_EQ(Shown(x + 20, y + 5), 0x203040u) << x << "," << y;
  EXPECT_EQ(Shown(35, 25), 0xFFFFFFu);  // the band's white came along over the source
  EXPECT_TRUE(app->Menu().Enabled(cmd::kPaintPreviousPixels));

  Key('U');
  for (int y = 20; y < 30; ++y)
    for (int x = 30; x < 40; ++x) EXPECT_EQ(Shown(x + 20, y + 5), 0xFFFFFFu);
  EXPECT_EQ(Shown(35, 25), 0x203040u);

  // The image of the paste tiles from its box's corner.
  Key('Q', kShift);
  EXPECT_EQ(Mode(), cmd::kFillBitmapInFrame);
  EXPECT_EQ(Status(), "★以前の画像で塗りつぶし");
  const FillPicture& image = State().fillPicture;
  ASSERT_TRUE(image.Held());
  EXPECT_EQ(image.display.At(55 - image.originX, 27 - image.originY) & kColourMask, 0x203040u);
  Click(55, 27);
  EXPECT_EQ(Shown(55, 27), 0x203040u);
}

TEST_F(PasteToolTest, LeavingThePasteClearsTheMarksOfItsPastes) {
  StartWithPicture();
  CopyBand();
  Key('Q');
  Key('5');
  DragBy(50, 25, 20, 5);
  Click(0, 0, kBoth);
  ASSERT_TRUE(State().canvas.display.At(55, 27) & kPaintedMark);
  Key('N');  // the normal pen may paint the pasted pixels again
  EXPECT_FALSE(State().canvas.display.At(55, 27) & kProcessingMarks);
}

TEST_F(PasteToolTest, TheToolKeysTheResetAndTheMirror) {
  StartWithPicture();
  Key('6');  // only in the paste phases
  EXPECT_EQ(State().pasteTransformMode, '5');
  Key('R');
  EXPECT_EQ(Status(), "★回転モード");
  CopyBand();
  Key('Q');
  for (const auto& [key, status] :
       {std::pair{'W', "★自由変形モード"}, {'E', "★拡縮モード"}, {'6', "★２点移動モード"},
        {'7', "★４点移動モード"}, {'8', "★２点拡縮モード"}, {'9', "★４点拡縮モード"}}) {
    Key(key);
    EXPECT_EQ(State().pasteTransformMode, key);
    EXPECT_EQ(Status(), status);
  }
  Key('W');
  DragBy(80, 40, 5, 5);  // only the picked point of curve 2 moves
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve2[1].x, 85);
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve2[0].x, 10);
  Key(platform::vk::kNumpad0 + 6);  // the keypad drags it on
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve2[1].x, 86);
  Click(0, 0, kBoth, MouseButton::Right);
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve2[1].x, 80);

  Command(cmd::kMirrorOnPaste);  // about x = 45
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve1[0].x, 80);
  EXPECT_DOUBLE_EQ(State().pasteCurves.middle[1].x, 10);
  Command(cmd::kMirrorOnPaste);
  EXPECT_DOUBLE_EQ(State().pasteCurves.curve1[0].x, 10);
}

TEST_F(PasteToolTest, CleaningMemoryFreesTheSurface) {
  memory.totalPhysical = 12288ull * 10;
  StartWithPicture();
  CopyBand();
  Key('Q');
  Command(cmd::kCleanMemory);
  EXPECT_TRUE(State().memorySurface.Empty());
  EXPECT_FALSE(app->Menu().Enabled(cmd::kPasteFromMemory));
  EXPECT_NE(Mode(), cmd::kPasteFromMemory);
}

TEST_F(PasteToolTest, TheBorderAndOpacityFilesAreMadeCheckedAndRead) {
  StartWithPicture();
  host.messageAnswers.push_back(platform::MessageResult::No);
  Command(cmd::kMakeBorderFile);
  EXPECT_EQ(host.messages.back().text, "ＬＭＶセーブしましたか？");
  EXPECT_EQ(host.messages.back().caption, "セーブ確認");
  EXPECT_FALSE(std::filesystem::exists(folder + "/new.border.bmp"));

  Command(cmd::kMakeOpacity);
  EXPECT_EQ(host.messages.back().text, "*.border.bmp ファイルではありません。");
  EXPECT_EQ(host.messages.back().caption, "ファイル名チェック");
  Command(cmd::kSaveOpacityFile);
  EXPECT_EQ(host.messages.back().text, "*.opacity.bmp ファイルではありません。");

  // The border file: the dark square black, the rest white (never pasted).
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x)
      State().canvas.display.At(x, y) =
          kDrawAreaFlag | (State().canvas.display.At(x, y) == (kDrawAreaFlag | 0x203040) ? 0 : 0xFFFFFF);
  Command(cmd::kMakeBorderFile);
  ASSERT_TRUE(std::filesystem::exists(folder + "/new.border.bmp"));
  for (int y = 20; y < 30; ++y)
    for (int x = 30; x < 40; ++x) State().canvas.display.At(x, y) = kDrawAreaFlag | 0x203040;
  CopyBand();
  EXPECT_TRUE(State().memorySurface.hasBorder);
  for (int y = 0; y < 60; ++y)
    for (int x = 41; x < 100; ++x) State().canvas.display.At(x, y) = kDrawAreaFlag | 0x405060;
  Key('Q');
  Key('5');
  DragBy(50, 25, 20, 5);
  Click(0, 0, kBoth);
  EXPECT_EQ(Shown(45, 27), 0x405060u);  // white in the border file: never pasted
  EXPECT_EQ(TrueDisplayColour(State().canvas.display.At(55, 27)), 0x203040u);
  EXPECT_TRUE(State().canvas.display.At(55, 27) & kNonSelectedFlag);  // the figure is kept
}

}  // namespace
}  // namespace lumavex
