#include <gtest/gtest.h>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/CurveTools.h"
#include "lumavex/shell/tools/RectangleTools.h"

namespace lumavex {
namespace {

using platform::KeyDownEvent;
using platform::Modifiers;
using platform::MouseButton;
using platform::MouseEvent;
namespace vk = platform::vk;

constexpr Modifiers kPlain{false, false};

class ToolTest : public testing::ProgramTest {
 protected:
  void StartWithPicture(int width = 100, int height = 60) {
    Start(400, 300);
    NewPicture(width, height);
  }
  int Mode() { return State().currentCommand; }
  int PointsInA() { return State().chains.lists.Count(State().chains.a); }
  int ChangedDisplayPixels() {
    int changed = 0;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) changed += (c.display.At(x, y) & 0x00FFFFFF) != 0xFFFFFF;
    return changed;
  }
  std::vector<int> Sent() { return {State().recentCommands.begin(), State().recentCommands.end()}; }
};

TEST_F(ToolTest, BeforeAPictureOnlyTheLoadPolicyKeysAct) {
  Start(400, 300);
  Key('S');
  Key(vk::kUp);
  EXPECT_EQ(Mode(), -1);
  EXPECT_EQ(State().view.zoomCode, 1);
  Key('2');
  EXPECT_TRUE(app->Menu().Checked(cmd::kLoadPolicy2));
  EXPECT_FALSE(app->Menu().Checked(cmd::kLoadSameSize));
}

TEST_F(ToolTest, ACurveDrawnWithTheMouseChangesThePictureInOneStep) {
  StartWithPicture();
  Key('S');
  EXPECT_EQ(Mode(), cmd::kCurve);
  EXPECT_EQ(app->Menu().StatusText(), "★フレーム曲線描画");
  Click(10, 20);
  Click(10, 20, kBoth);  // one point is not a curve yet
  EXPECT_EQ(Mode(), cmd::kCurve);
  Click(60, 25);
  Click(90, 40);
  EXPECT_EQ(PointsInA(), 3);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kCurveEdit);
  EXPECT_EQ(ChangedDisplayPixels(), 0);
  Click(0, 0, kBoth);  // commit
  EXPECT_EQ(Mode(), cmd::kCurveEdit);
  EXPECT_GT(ChangedDisplayPixels(), 60);
  EXPECT_TRUE(app->Menu().Enabled(cmd::kUndo));
  EXPECT_EQ(PointsInA(), 3);
  // The curve is one step: a single undo brings back the white picture.
  Key('U');
  EXPECT_EQ(ChangedDisplayPixels(), 0);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));
  EXPECT_TRUE(app->Menu().Enabled(cmd::kRedo));
  Key('U', kShift);
  EXPECT_GT(ChangedDisplayPixels(), 60);
  // Pressing S again returns to the edit phase with the same points.
  Key('S');
  EXPECT_EQ(Mode(), cmd::kCurveEdit);
  EXPECT_EQ(PointsInA(), 3);
  // Shift+Ctrl right press clears the points and starts over.
  Click(5, 5, kBoth, MouseButton::Right);
  EXPECT_EQ(Mode(), cmd::kCurve);
  EXPECT_EQ(PointsInA(), 0);
}

TEST_F(ToolTest, EachCurveToolCommitsInItsOwnFlavour) {
  StartWithPicture();
  auto drawLine = [&](int key, Modifiers modifiers) {
    Key(key, modifiers);
    Click(10, 30);
    Click(90, 30);
    Click(0, 0, kBoth);
    Click(0, 0, kShift, MouseButton::Right);  // straight lines
    Click(0, 0, kBoth, MouseButton::Right);   // the points go, ready for the next tool
  };
  // A colour change finds no frame to recolour; a transparent frame leaves the bitmap.
  drawLine('S', kShift);
  EXPECT_EQ(Opacity(State().canvas.frame.At(50, 30)), 0u);
  drawLine('S', kCtrl);
  EXPECT_EQ(Opacity(State().canvas.frame.At(50, 30)), 255u);
  EXPECT_EQ(ChangedDisplayPixels(), 0);
  drawLine('S', kPlain);
  EXPECT_GT(ChangedDisplayPixels(), 60);
  // A command that is no commit of a curve tool is an impossible internal state.
  EXPECT_THROW(CommitCurve(State(), cmd::kCurveEdit), platform::ProcessEnded);
}

TEST_F(ToolTest, ASecondPressWhileHeldIsIgnored) {
  StartWithPicture();
  Key('S');
  Press(MouseButton::Left, 10, 10);
  Press(MouseButton::Left, 20, 10);
  Release(MouseButton::Left, 20, 10);
  EXPECT_EQ(PointsInA(), 1);
  EXPECT_EQ(host.soundsPlayed.size(), 1u);
  Key('S', kCtrl);  // keys are ignored while a button is held
  Press(MouseButton::Right, 1, 1);
  Key(vk::kUp);
  EXPECT_EQ(State().view.zoomCode, 1);
  Release(MouseButton::Right, 1, 1);
}

TEST_F(ToolTest, EditPhaseDragsInsertsAndDeletesPoints) {
  StartWithPicture();
  Key('S');
  Click(10, 10);
  Click(50, 10);
  Click(10, 10, kBoth);
  Press(MouseButton::Left, 51, 11);
  Drag(70, 30);
  Release(MouseButton::Left, 70, 30);
  const auto& chains = State().chains;
  EXPECT_EQ(PointOf(chains.lists.Last(chains.a))->x, 70);
  EXPECT_EQ(PointOf(chains.lists.Last(chains.a))->y, 30);
  Click(10, 10, kShift);  // insert a copy after the first point
  EXPECT_EQ(PointsInA(), 3);
  Click(70, 30, kCtrl);
  EXPECT_EQ(PointsInA(), 2);
  Click(10, 10, kCtrl);  // a curve keeps two points
  EXPECT_EQ(PointsInA(), 2);
}

TEST_F(ToolTest, NumericKeypadNudgesThePickedPointByOneScreenPixel) {
  StartWithPicture();
  Key('S');
  Click(20, 20);
  Click(40, 20);
  Click(0, 0, kBoth);
  Command(cmd::kZoom2000);
  State().view.horizontal.position = 0;
  State().view.vertical.position = 0;
  // Canvas (20, 20) is at screen (410, 410) at 2000 %: press there, release, then nudge.
  Click(410, 410);
  Key(vk::kNumpad0 + 6);
  Key(vk::kNumpad0 + 2, kCtrl);
  const BasePoint* first = PointOf(State().chains.lists.First(State().chains.a));
  EXPECT_DOUBLE_EQ(first->x, 411 / 20.0 - 0.5);
  EXPECT_DOUBLE_EQ(first->y, 420 / 20.0 - 0.5);
}

TEST_F(ToolTest, KeysWithoutAMeaningDoNothingAndShiftCtrlHSendsTwoCommands) {
  StartWithPicture();
  const int before = static_cast<int>(Sent().size());
  Key('A', kCtrl);
  Key('Z', kBoth);
  EXPECT_EQ(static_cast<int>(Sent().size()), before);
  Key('H', kBoth);
  Key(vk::kF11, kBoth);
  const auto sent = Sent();
  // The reduced save selects everything first.
  EXPECT_EQ(std::vector<int>(sent.end() - 5, sent.end()),
            (std::vector<int>{40063, 40064, cmd::kSaveBmp, cmd::kSaveReducedBmp, cmd::kSelectAll}));
}

TEST_F(ToolTest, MarksSurviveZoomButNotTheNextCommandChoice) {
  StartWithPicture();
  Key('S');
  Click(10, 10);
  Click(60, 10);
  Click(0, 0, kBoth);
  Click(0, 0, kBoth);
  const int drawn = ChangedDisplayPixels();
  ASSERT_GT(drawn, 0);
  auto marked = [&] {
    int n = 0;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) n += (c.display.At(x, y) & kPaintedMark) != 0;
    return n;
  };
  EXPECT_GT(marked(), 0);
  Command(cmd::kZoom200);
  Command(cmd::kZoom100);
  EXPECT_GT(marked(), 0);
  Click(0, 0, kBoth);  // the same curve again: the marks keep the pixels unchanged
  EXPECT_EQ(ChangedDisplayPixels(), drawn);
  Key('S');  // a command choice ends the marks
  EXPECT_EQ(marked(), 0);

  // Clearing the points with Shift+Ctrl right press re-enters the tool as a command
  // choice, so the marks of the curve drawn in the edit phase end too.
  Click(0, 0, kBoth);
  ASSERT_GT(marked(), 0);
  Click(0, 0, kBoth, MouseButton::Right);
  EXPECT_EQ(Mode(), cmd::kCurve);
  EXPECT_EQ(marked(), 0);
}

TEST_F(ToolTest, EllipseFromADraggedRectangle) {
  StartWithPicture();
  Key('S', kBoth);
  EXPECT_EQ(Mode(), cmd::kEllipse);
  Press(MouseButton::Left, 20, 10);
  EXPECT_EQ(Mode(), cmd::kEllipseDrag);
  Drag(60, 40);
  Release(MouseButton::Left, 60, 40);
  EXPECT_EQ(Mode(), cmd::kEllipseEdit);
  EXPECT_EQ(State().chains.lists.Count(State().chains.ellipse), 2);
  Click(30, 30, kBoth);
  EXPECT_GT(ChangedDisplayPixels(), 50);
  EXPECT_EQ(State().canvas.display.At(40, 25) & 0xFFFFFF, 0xFFFFFFu);  // inside stays white
}

TEST_F(ToolTest, MoveAllBasePointsBringsOnlyOutsidePointsIn) {
  StartWithPicture(50, 40);
  auto& chains = State().chains;
  AddBasePoint(chains.lists, chains.a, -5, 10);
  AddBasePoint(chains.lists, chains.b, 20.5, 30.25);
  AddBasePoint(chains.lists, chains.ellipse, 60, 99);
  Command(cmd::kMoveAllBasePoints);
  EXPECT_EQ(PointOf(chains.lists.First(chains.a))->x, 0);
  EXPECT_EQ(PointOf(chains.lists.First(chains.b))->x, 20.5);
  EXPECT_EQ(PointOf(chains.lists.First(chains.ellipse))->x, 49);
  EXPECT_EQ(PointOf(chains.lists.First(chains.ellipse))->y, 39);
}

TEST_F(ToolTest, EachModeTakesTheMouseThroughItsOwnTool) {
  StartWithPicture();
  Tool* curves = &State().tools.Get<CurveTools>();
  Tool* rectangles = &State().tools.Get<RectangleTools>();
  EXPECT_EQ(CurrentTool(State()), nullptr);
  Key('S');
  EXPECT_EQ(CurrentTool(State()), curves);
  Click(10, 10);
  Click(30, 10);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kCurveEdit);
  EXPECT_EQ(CurrentTool(State()), curves);
  Key('S', kBoth);
  EXPECT_EQ(CurrentTool(State()), rectangles);
  Press(MouseButton::Left, 20, 20);
  EXPECT_EQ(Mode(), cmd::kEllipseDrag);
  EXPECT_EQ(CurrentTool(State()), rectangles);
  Release(MouseButton::Left, 40, 30);
  // A mode without a tool leaves the chains alone.
  Command(cmd::kSaveReducedBmpByDrop);
  EXPECT_EQ(CurrentTool(State()), nullptr);
  Click(50, 50);
  Click(0, 0, kBoth, MouseButton::Right);
  EXPECT_EQ(PointsInA(), 2);
  EXPECT_EQ(State().chains.lists.Count(State().chains.ellipse), 2);
}

TEST_F(ToolTest, EveryToolCommandEntersItsFirstPhaseWithItsStatusText) {
  StartWithPicture();
  int tools = 0;
  for (const CommandEntry& entry : CommandEntries()) {
    // The paste from memory enters only with a copy to paste (see PasteToolsTests).
    if (entry.handler != EnterTool || entry.id == cmd::kPasteFromMemory) continue;
    ++tools;
    Command(entry.id);
    EXPECT_EQ(Mode(), entry.id);
    EXPECT_EQ(CurrentTool(State()), ToolOfMode(State(), entry.id)) << entry.id;
    ASSERT_NE(entry.status, nullptr) << entry.id;
    EXPECT_EQ(app->Menu().StatusText(), entry.status) << entry.id;
    EXPECT_EQ(CurrentTool(State())->StatusText(entry.id), entry.status) << entry.id;
  }
  EXPECT_EQ(tools, 20);
}

TEST_F(ToolTest, KeypadAndArrowKeysFollowThePhaseOfTheMode) {
  Start(400, 300);
  const std::string folderPath = folder + "/";
  for (const char* name : {"0000.lmv", "0001.lmv"})
    testing::WriteBytes(folderPath + name,
                        testing::NativeBytes(4, 4, std::vector<uint32_t>(16, 0x02FFFFFF),
                                             std::vector<uint32_t>(16, 0)));
  ASSERT_EQ(LoadDroppedFile(State(), folderPath + "0000.lmv"), LoadOutcome::Loaded);
  struct Case {
    int mode;
    bool phase;
  };
  for (const Case c : {Case{cmd::kCurveEdit, true}, Case{cmd::kFilePastePosition, true},
                       Case{cmd::kCurve, false}, Case{cmd::kNone, false}}) {
    State().currentCommand = c.mode;
    State().view.mouseX = State().view.mouseY = 5;
    host.cursor.reset();
    Key(vk::kNumpad0 + 6);
    EXPECT_EQ(host.cursor.has_value(), c.phase) << c.mode;
    State().currentFileName = "./0000.lmv";
    Key(vk::kRight);
    EXPECT_EQ(State().currentFileName, c.phase ? "./0000.lmv" : "./0001.lmv") << c.mode;
    Key(vk::kLeft);
    EXPECT_EQ(State().currentFileName, "./0000.lmv") << c.mode;
  }
}

TEST_F(ToolTest, APointPickedBeforeANewPictureIsNotDraggedAfterIt) {
  StartWithPicture();
  Key('S');
  Click(10, 10);
  Click(50, 10);
  Click(0, 0, kBoth);
  Click(10, 10);  // picks the first point
  NewPicture(100, 60);
  ASSERT_EQ(Mode(), cmd::kCurveEdit);
  ASSERT_EQ(PointsInA(), 0);
  const size_t presented = host.presented.size();
  Key(vk::kNumpad0 + 6);
  EXPECT_EQ(host.presented.size(), presented);
  EXPECT_EQ(PointsInA(), 0);
}

}  // namespace
}  // namespace lumavex
