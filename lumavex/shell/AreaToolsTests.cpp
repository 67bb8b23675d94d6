#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

using platform::MouseButton;

constexpr platform::Modifiers kCtrl{false, true};
constexpr platform::Modifiers kBoth{true, true};

class AreaToolTest : public testing::ProgramTest {
 protected:
  // A 100 × 60 white picture split by an opaque black frame column at x = 50, with
  // a grey pen line at y = 30 left of it.
  void StartWithWall() {
    Start(400, 300);
    NewPicture(100, 60);
    Canvas& c = State().canvas;
    for (int y = 0; y < 60; ++y) {
      c.display.At(50, y) = kDrawAreaFlag;
      c.frame.At(50, y) = 0xFF000000;
    }
    for (int x = 0; x < 50; ++x) c.display.At(x, 30) = kDrawAreaFlag | 0x808080;
  }
  std::vector<uint32_t> Words() {
    std::vector<uint32_t> words;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        words.push_back(c.display.At(x, y) & ~kProcessingMarks);
        words.push_back(c.frame.At(x, y));
      }
    return words;
  }
  bool Selected(int x, int y) { return !(State().canvas.display.At(x, y) & kNonSelectedFlag); }
  int SelectedCount() {
    int n = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 100; ++x) n += Selected(x, y);
    return n;
  }
  bool StatusShown(const std::string& text) {
    return std::ranges::find(host.statusTexts, text) != host.statusTexts.end();
  }
  void AnswerFatten(const std::string& width, const std::string& antiAlias) {
    host.dialogScripts.push_back({{{{1000, width}, {1001, antiAlias}}, {}, true}});
  }
};

TEST_F(AreaToolTest, WholeAreaKeysRestoreEveryWordAndActOnlyInTheProcessingSquare) {
  StartWithWall();
  const std::vector<uint32_t> before = Words();
  Key('H', kBoth);  // deselect all, then the select fill's mode
  EXPECT_EQ(SelectedCount(), 0);
  EXPECT_TRUE(StatusShown("★全領域非選択中..."));
  EXPECT_EQ(State().currentCommand, cmd::kSelectArea);
  EXPECT_EQ(app->Menu().StatusText(), "★領域選択");
  EXPECT_EQ(State().canvas.display.At(0, 0), 0x030000FFu);
  Key('A', kBoth);
  EXPECT_EQ(Words(), before);
  EXPECT_TRUE(StatusShown("★全領域選択中..."));
  Key('H', kCtrl);
  EXPECT_TRUE(StatusShown("★領域反転"));
  EXPECT_EQ(SelectedCount(), 0);
  EXPECT_EQ(State().currentCommand, cmd::kSelectArea);  // the mode chosen before stays
  EXPECT_EQ(app->Menu().StatusText(), "★領域選択");
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  Key('H', kCtrl);
  EXPECT_EQ(Words(), before);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));  // selection is never journaled

  State().canvas.processingSquare = {10, 5, 19, 14};
  Command(cmd::kDeselectAll);
  EXPECT_EQ(SelectedCount(), 100 * 60 - 100);
  EXPECT_FALSE(Selected(10, 5));
  EXPECT_FALSE(Selected(19, 14));
  EXPECT_TRUE(Selected(20, 14));
  EXPECT_TRUE(Selected(10, 4));
}

TEST_F(AreaToolTest, SelectAndDeselectFillsFollowThePressAndTheDragWithoutUndo) {
  StartWithWall();
  Key('H');
  EXPECT_EQ(State().currentCommand, cmd::kDeselectArea);
  EXPECT_EQ(app->Menu().StatusText(), "★領域非選択");
  Press(MouseButton::Left, 10, 10);
  EXPECT_EQ(app->Menu().StatusText(), "★領域非選択中...");
  EXPECT_FALSE(Selected(10, 10));
  EXPECT_FALSE(Selected(50, 10));  // the frame border is taken too
  EXPECT_TRUE(Selected(80, 10));
  Drag(80, 20);
  Release(MouseButton::Left, 80, 20);
  EXPECT_EQ(SelectedCount(), 0);
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  EXPECT_EQ(app->Menu().StatusText(), "★領域非選択");
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));

  Key('A');
  Click(80, 10);
  EXPECT_TRUE(Selected(80, 10));
  EXPECT_TRUE(Selected(50, 10));
  EXPECT_FALSE(Selected(10, 10));
  Click(80, 10);  // already selected: nothing
  EXPECT_FALSE(Selected(10, 10));
}

TEST_F(AreaToolTest, FillsPensFattenAndIntakeLeaveNonSelectedPixelsAlone) {
  StartWithWall();
  Key('H');
  Click(10, 10);  // the left half and the wall become non-selected
  State().headColour = 0xFF0000;
  const std::vector<uint32_t> before = Words();
  auto leftUnchanged = [&](const char* what) {
    const std::vector<uint32_t> now = Words();
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x <= 50; ++x) {
        const size_t i = 2 * static_cast<size_t>(y * 100 + x);
        ASSERT_EQ(now[i], before[i]) << what << " " << x << "," << y;
        ASSERT_EQ(now[i + 1], before[i + 1]) << what << " " << x << "," << y;
      }
  };
  Key('P');
  Click(10, 10);
  Click(80, 10);
  leftUnchanged("fill");
  Key('N');
  Press(MouseButton::Left, 45, 40);
  Drag(60, 40);
  Release(MouseButton::Left, 60, 40);
  leftUnchanged("pen");
  Command(cmd::kXorFillSelection);
  leftUnchanged("whole-area fill");
  AnswerFatten("500", "200");
  Command(cmd::kSquareFatten);
  leftUnchanged("fatten");
  EXPECT_EQ(Opacity(State().canvas.frame.At(51, 10)), 0u);  // nothing grew out of the wall
  Command(cmd::kColourLineArtIntake);
  leftUnchanged("intake");
}

TEST_F(AreaToolTest, FattenRunsAfterTheDialogAndUndoesInOneStep) {
  StartWithWall();
  const std::vector<uint32_t> before = Words();
  State().headColour = 0x0000FF;
  host.dialogScripts.push_back({{{}, {}, false}});
  Command(cmd::kSquareFatten);
  EXPECT_EQ(State().currentCommand, cmd::kNone);
  EXPECT_EQ(Words(), before);

  AnswerFatten("200", "0");
  Command(cmd::kSquareFatten);
  const Canvas& c = State().canvas;
  EXPECT_EQ(c.frame.At(52, 7), 0xFF0000FFu);
  EXPECT_EQ(c.display.At(48, 7) & kColourMask, 0x0000FFu);
  EXPECT_EQ(Opacity(c.frame.At(53, 7)), 0u);
  EXPECT_EQ(c.frame.At(50, 7), 0xFF000000u);  // the wall stays in front
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  EXPECT_EQ(app->Menu().StatusText(), "");
  EXPECT_TRUE(app->Menu().Enabled(cmd::kUndo));
  Key('U');
  EXPECT_EQ(Words(), before);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));
}

TEST_F(AreaToolTest, IntakeTakesTheLineIntoFramesKeepsTheStatusAndUndoesInOneStep) {
  StartWithWall();
  Key('N');
  const std::vector<uint32_t> before = Words();
  Command(cmd::kColourLineArtIntake);
  const Canvas& c = State().canvas;
  EXPECT_EQ(c.frame.At(20, 30), 0x7F000000u);
  EXPECT_EQ(c.display.At(20, 30) & ~kProcessingMarks, kDrawAreaFlag | 0x808080u);
  EXPECT_EQ(Opacity(c.frame.At(20, 31)), 0u);  // white gets no frame
  EXPECT_EQ(c.frame.At(50, 30), 0xFF000000u);  // black under an opaque frame: the same
  EXPECT_EQ(app->Menu().StatusText(), "★ビットマップペン");
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  Key('U');
  EXPECT_EQ(Words(), before);
}

}  // namespace
}  // namespace lumavex
