#include <gtest/gtest.h>

#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

TEST(ColourWords, BrightnessIsTheLargestComponentAndRescalesProportionally) {
  EXPECT_EQ(WithBrightness(0x102030), 0x30102030u);
  EXPECT_EQ(RescaleBrightness(0x00000000, 128), 0x80808080u);  // black becomes grey
  EXPECT_EQ(RescaleBrightness(WithBrightness(0x804020), 64), 0x40402010u);
  // (c × b + old / 2) / old, rounded down: 0x33 × 200 + 127 over 255 is 40.
  EXPECT_EQ(RescaleBrightness(WithBrightness(0xFF3300), 200), WithBrightness(0xC82800));
  EXPECT_EQ(RescaleBrightness(WithBrightness(0x123456), 0), 0u);
}

class ColourPanelTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Start(400, 800);
    host.dialogScripts.push_back({{{{1000, "50"}, {1001, "40"}}, {}, true}});
    Command(cmd::kNewPicture);
  }
  void Right(platform::MouseEvent::Kind kind, int x, int y) {
    platform::MouseEvent e{kind, platform::MouseButton::Right, x, y};
    e.rightDown = kind != platform::MouseEvent::Kind::Release;
    app->HandleEvent(e);
  }
  uint32_t Pixel(int x, int y) { return app->Surface().At(x, y) & 0xFFFFFF; }
  void Move(int x, int y) {
    app->HandleEvent(
        platform::MouseEvent{platform::MouseEvent::Kind::Move, platform::MouseButton::Left, x, y});
  }
  // The pixels of the XY text's area, (w − 69, 303) to the right edge and y 383.
  std::vector<uint32_t> XyArea() {
    std::vector<uint32_t> pixels;
    for (int y = 303; y < 383; ++y)
      for (int x = 400 - 69; x < 400; ++x) pixels.push_back(Pixel(x, y));
    return pixels;
  }
};

TEST_F(ColourPanelTest, BarsFollowTheRightDragAndThePanelShowsThem) {
  Right(platform::MouseEvent::Kind::Press, 400 - 25, 287 - 100);  // red bar of the head colour
  Right(platform::MouseEvent::Kind::Move, 400 - 25, 287 - 200);
  Right(platform::MouseEvent::Kind::Move, 400 - 25, 10);  // above the bar's heights: no change
  EXPECT_EQ(State().headColour, 0xC8C80000u);
  Right(platform::MouseEvent::Kind::Move, 400 - 25, 25);  // 287 - 25 is above 255
  EXPECT_EQ(State().headColour, 0xFFFF0000u);
  Right(platform::MouseEvent::Kind::Move, 400 - 25, 287 - 100);
  EXPECT_EQ(State().headColour, 0x64640000u);
  Right(platform::MouseEvent::Kind::Release, 400 - 25, 0);

  // The brightness bar of the termination colour, 400 pixels lower.
  Right(platform::MouseEvent::Kind::Press, 400 - 35, 687 - 128);
  Right(platform::MouseEvent::Kind::Release, 400 - 35, 0);
  EXPECT_EQ(State().terminationColour, 0x80808080u);

  EXPECT_EQ(Pixel(400 - 15, 10), 0x640000u);         // head swatch
  EXPECT_EQ(Pixel(400 - 25, 287 - 1), 0xFF0000u);    // red bar, 100 high
  EXPECT_EQ(Pixel(400 - 25, 287 - 100), 0xFF0000u);
  EXPECT_EQ(Pixel(400 - 25, 287 - 101), 0u);
  EXPECT_EQ(Pixel(400 - 15, 31), 0xFFFFFFu);         // separator
  EXPECT_EQ(Pixel(400 - 15, 410), 0x808080u);        // termination swatch
  EXPECT_EQ(Pixel(400 - 5, 687 - 128), 0x0000FFu);   // its blue bar
  EXPECT_EQ(Pixel(400 - 5, 687 - 129), 0u);
}

TEST_F(ColourPanelTest, XyTextStandsStillWhileTheMouseIsOverTheStrip) {
  Move(10, 10);
  const std::vector<uint32_t> atTen = XyArea();
  Move(20, 10);
  ASSERT_NE(XyArea(), atTen);  // the text follows the mouse over the view
  Move(10, 10);

  // Over the strip: a move, a repaint, and a right drag of a bar with its release,
  // which repaints the view.
  Move(400 - 25, 10);
  app->HandleEvent(platform::PaintEvent{});
  EXPECT_EQ(XyArea(), atTen);
  Right(platform::MouseEvent::Kind::Press, 400 - 25, 200);
  Right(platform::MouseEvent::Kind::Move, 400 - 25, 150);
  Right(platform::MouseEvent::Kind::Release, 400 - 25, 150);
  EXPECT_EQ(XyArea(), atTen);
  // F1 there still picks nothing.
  const uint32_t head = State().headColour;
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1, {}});
  EXPECT_EQ(State().headColour, head);
}

TEST_F(ColourPanelTest, ColourKeysPickMixAndCopy) {
  State().canvas.display.At(3, 2) = 0x03000000 | (0x102030 ^ 0xFFFF00);  // non-selected
  platform::MouseEvent move{platform::MouseEvent::Kind::Move, platform::MouseButton::Left, 3, 2};
  app->HandleEvent(move);
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1, {}});
  EXPECT_EQ(State().headColour, WithBrightness(0x102030));
  State().terminationColour = WithBrightness(0x2030FF);
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1 + 2, {}});
  EXPECT_EQ(State().headColour, WithBrightness(0x182897));
  EXPECT_EQ(State().terminationColour, State().headColour);
  State().headColour = WithBrightness(0x010203);
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1 + 3, {true, false}});  // Shift+F4
  EXPECT_EQ(State().headColour, WithBrightness(0x182897));
  State().headColour = WithBrightness(0x010203);
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1 + 3, {}});
  EXPECT_EQ(State().terminationColour, WithBrightness(0x010203));
  // F2 off the canvas changes nothing.
  move.x = 300;
  app->HandleEvent(move);
  app->HandleEvent(platform::KeyDownEvent{platform::vk::kF1 + 1, {}});
  EXPECT_EQ(State().terminationColour, WithBrightness(0x010203));
}

}  // namespace
}  // namespace lumavex
