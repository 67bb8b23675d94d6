#include <gtest/gtest.h>

#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/BasePoints.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"

namespace lumavex {
namespace {

using platform::Modifiers;
using platform::MouseButton;

class SurfaceToolTest : public testing::ProgramTest {
 protected:
  void StartWithPicture() {
    Start(400, 300);
    NewPicture(100, 60);
  }
  int Mode() { return State().currentCommand; }
  int Points(common::ChainHandle chain) { return State().chains.lists.Count(chain); }
  std::string Status() { return app->Menu().StatusText(); }
  int ChangedPixels() {
    int changed = 0;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) changed += (c.display.At(x, y) & kColourMask) != 0xFFFFFF;
    return changed;
  }
  std::vector<uint32_t> Display() {
    std::vector<uint32_t> words;
    const Canvas& c = State().canvas;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) words.push_back(c.display.At(x, y) & kJournalMask);
    return words;
  }
  // Places curve 1 at y = 10 and curve 2 at y = 30, `second` points on curve 2.
  void PlaceBand(int second = 2) {
    Click(10, 10);
    Click(80, 10);
    Click(0, 0, kBoth);
    for (int i = 0; i < second; ++i) Click(10 + 70 * i / (second - 1), 30);
    Click(0, 0, kBoth);
  }
};

TEST_F(SurfaceToolTest, AFadeSurfaceIsEnteredPlacedDrawnAndUndoneInOneStep) {
  StartWithPicture();
  Key('Z', {false, true});
  EXPECT_EQ(Mode(), cmd::kFadeShadow);
  EXPECT_EQ(Status(), "★フェード曲面描画( 円筒の影を外から描画)");
  Click(10, 10);
  Click(0, 0, kBoth);  // one point is no curve yet
  EXPECT_EQ(Mode(), cmd::kFadeShadow);
  Click(80, 10);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kFadeShadowSecondCurve);
  Click(10, 30);
  Click(80, 30);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kFadeShadowEdit);
  EXPECT_EQ(ChangedPixels(), 0);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kFadeShadowEdit);
  EXPECT_GT(ChangedPixels(), 500);
  EXPECT_EQ(Status(), "★フェード曲面描画( 円筒の影を外から描画)");
  EXPECT_EQ(Points(State().chains.a), 2);
  EXPECT_EQ(Points(State().chains.b), 2);
  Key('U');
  EXPECT_EQ(ChangedPixels(), 0);
  EXPECT_FALSE(app->Menu().Enabled(cmd::kUndo));
}

TEST_F(SurfaceToolTest, ChoosingAToolAgainEntersThePhaseItsListsCallFor) {
  StartWithPicture();
  Key('Z');
  Click(10, 10);
  Click(80, 10);
  Click(0, 0, kBoth);
  Key('Z', kShift);
  EXPECT_EQ(Mode(), cmd::kFadeGlossSecondCurve);
  Click(10, 30);
  Click(80, 30);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kFadeGlossEdit);
  Key('Z');
  EXPECT_EQ(Mode(), cmd::kFadeGentleEdit);
  EXPECT_EQ(Status(), "★フェード曲面描画( なだらかに描画)");
  // Shift+Ctrl right press clears both lists and starts over.
  Click(0, 0, kBoth, MouseButton::Right);
  EXPECT_EQ(Mode(), cmd::kFadeGentle);
  EXPECT_EQ(Points(State().chains.a), 0);
  EXPECT_EQ(Points(State().chains.b), 0);
}

TEST_F(SurfaceToolTest, DrawingTwiceWithoutAChoiceBetweenPaintsNothingNew) {
  StartWithPicture();
  Key('Z');
  PlaceBand();
  Click(0, 0, kBoth);
  const std::vector<uint32_t> once = Display();
  State().headColour = 0xFF0000;
  Click(0, 0, kBoth);
  EXPECT_EQ(Display(), once);
  // Choosing the tool again clears the marks: the same band takes the new colour.
  Key('Z');
  Click(0, 0, kBoth);
  EXPECT_NE(Display(), once);
}

TEST_F(SurfaceToolTest, ShiftRightPressDrawsThePolygonSurface) {
  StartWithPicture();
  Key('Z');
  PlaceBand();
  Click(0, 0, kShift, MouseButton::Right);
  EXPECT_EQ(Mode(), cmd::kFadeGentleEdit);
  EXPECT_GT(ChangedPixels(), 500);
  EXPECT_EQ(State().recentCommands.back(), cmd::kFadeGentleCommitPolygon);
}

TEST_F(SurfaceToolTest, ADirectionalGradationNeedsEqualCountsAndStartsItsDirectionList) {
  StartWithPicture();
  Key('G', kShift);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradation);
  EXPECT_EQ(Status(), "★方向ぼかし");
  PlaceBand(3);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradationEdit);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradation);
  EXPECT_EQ(Status(), "★基点数が異なります");
  EXPECT_EQ(Points(State().chains.a), 0);
  EXPECT_EQ(Points(State().chains.b), 0);

  PlaceBand(2);
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradationCommitEdit);
  EXPECT_EQ(Status(), "★方向ぼかし幅基点設定");
  ASSERT_EQ(Points(State().chains.direction), 2);
  const BasePoint* first = PointOf(State().chains.lists.First(State().chains.direction));
  const BasePoint* a = PointOf(State().chains.lists.First(State().chains.a));
  const BasePoint* b = PointOf(State().chains.lists.First(State().chains.b));
  EXPECT_DOUBLE_EQ(first->y, a->y + (b->y - a->y) / 3);

  // Black rows across the direction: the gradation blurs them in one undo step.
  Canvas& c = State().canvas;
  for (int y = 0; y < c.Height(); y += 4)
    for (int x = 0; x < c.Width(); ++x) c.display.At(x, y) &= ~kColourMask;
  const std::vector<uint32_t> striped = Display();
  State().settings.pointSpacing = 100;
  Click(0, 0, kBoth);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradationCommitEdit);
  EXPECT_NE(Display(), striped);
  Key('U');
  EXPECT_EQ(Display(), striped);
  // Choosing the tool again goes straight back to the direction phase.
  Key('G', kShift);
  EXPECT_EQ(Mode(), cmd::kDirectionalGradationCommitEdit);
}

}  // namespace
}  // namespace lumavex
