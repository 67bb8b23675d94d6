#include <gtest/gtest.h>

#include <sstream>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/TabletTestSupport.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/TabletTools.h"

namespace lumavex {
namespace {

using platform::LoggedPacket;
using platform::MouseButton;
using testing::PacketAt;
using testing::ReplayPackets;
using testing::WavyStrokeLog;
namespace vk = platform::vk;

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 300;

class TabletTest : public testing::ProgramTest {
 protected:
  void StartInSmoothingMode() {
    Start(kClientWidth, kClientHeight);
    NewPicture(360, 280);
    Key('L');
    ASSERT_EQ(State().currentCommand, cmd::kSmoothingCurve);
  }
  std::vector<uint32_t> FrameWords() {
    const Canvas& c = State().canvas;
    std::vector<uint32_t> words;
    for (int y = 0; y < c.Height(); ++y)
      words.insert(words.end(), c.frame.Row32(y), c.frame.Row32(y) + c.Width());
    return words;
  }
  int FramePixels() {
    int count = 0;
    for (uint32_t w : FrameWords()) count += Opacity(w) > 0;
    return count;
  }
  void Packet(double x, double y, int pressure, int buttons = 0) {
    platform::TabletPacket p = PacketAt(x, y, kClientWidth, kClientHeight, pressure);
    p.buttons = buttons;
    app->HandleEvent(platform::TabletEvent{p, {}});
  }
  int Threshold() { return State().settings.tabletMinPressure; }
  TabletState& Tablet() { return State().tablet; }
};

TEST_F(TabletTest, PacketsMapTheTabletOntoTheClientAreaWithItsYAxisUp) {
  const platform::TabletDevice device{1000, 500, 255};
  const PenInput corner = PenInputOf({1000, 0, 7, 1}, device, 401, 301);
  EXPECT_DOUBLE_EQ(corner.x, 400);
  EXPECT_DOUBLE_EQ(corner.y, 300);
  EXPECT_EQ(corner.pressure, 7);
  EXPECT_EQ(corner.buttons, 1);
  const PenInput origin = PenInputOf({0, 500, 0, 0}, device, 401, 301);
  EXPECT_DOUBLE_EQ(origin.x, 0);
  EXPECT_DOUBLE_EQ(origin.y, 0);
}

TEST_F(TabletTest, TheThresholdStartsAtThirtyPercentAndFollowsANewDevice) {
  Start(kClientWidth, kClientHeight);
  EXPECT_EQ(Threshold(), 307);  // 30 % of 1023 levels
  NewPicture(100, 100);
  app->HandleEvent(platform::TabletEvent{{}, {1000, 1000, 2047}});
  EXPECT_EQ(Tablet().PressureRange(), 2049);
  EXPECT_EQ(Threshold(), 614);
}

TEST_F(TabletTest, AReplayedStrokeDrawsOneFrameAndTheSameWordsEachTime) {
  const std::string text =
      platform::WritePacketLog(WavyStrokeLog(300, kClientWidth, kClientHeight, 150));
  std::istringstream in(text);
  const auto log = platform::ReadPacketLog(in, nullptr);
  ASSERT_TRUE(log);

  StartInSmoothingMode();
  ReplayPackets(*app, *log);
  const std::vector<uint32_t> first = FrameWords();
  EXPECT_GT(FramePixels(), 300);
  EXPECT_TRUE(State().undoJournal.CanUndo());
  EXPECT_EQ(Tablet().pressure, PenState::Up);
  EXPECT_EQ(Tablet().stroke.Size(), 0u);
  EXPECT_EQ(app->Menu().StatusText(), "★スムージング曲線描画");
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");

  app.reset();
  StartInSmoothingMode();
  ReplayPackets(*app, *log);
  EXPECT_EQ(FrameWords(), first);
}

TEST_F(TabletTest, PressureAtOrBelowTheThresholdNeverStartsAStroke) {
  StartInSmoothingMode();
  for (int x = 50; x < 250; x += 5) Packet(x, 100, Threshold());
  EXPECT_EQ(Tablet().pressure, PenState::Up);
  EXPECT_EQ(Tablet().stroke.Size(), 0u);
  EXPECT_EQ(FramePixels(), 0);
  EXPECT_FALSE(State().undoJournal.CanUndo());
}

TEST_F(TabletTest, HeldPacketsThatStayOnTheSameRoundedPositionAreIgnored) {
  StartInSmoothingMode();
  Packet(100, 100, 900);
  EXPECT_EQ(Tablet().pressure, PenState::WentDown);
  Packet(100.2, 100.3, 900);
  Packet(100.4, 99.8, 900);
  EXPECT_EQ(Tablet().stroke.Size(), 1u);
  Packet(101, 100, 900);
  EXPECT_EQ(Tablet().stroke.Size(), 2u);
  // Zoomed in, a step is a canvas pixel: 4 screen pixels at 400 %.
  State().view.zoomCode = 4;
  Packet(104, 100, 900);
  EXPECT_EQ(Tablet().stroke.Size(), 3u);
  Packet(105.5, 100, 900);
  EXPECT_EQ(Tablet().stroke.Size(), 3u);
  Packet(106.1, 100, 900);
  EXPECT_EQ(Tablet().stroke.Size(), 4u);
}

TEST_F(TabletTest, AOnePacketStrokeDrawsNothingVisible) {
  StartInSmoothingMode();
  Packet(100, 100, 0);
  Packet(100, 100, 900);
  Packet(100, 100, 0);
  EXPECT_EQ(Tablet().pressure, PenState::Held);
  Packet(100, 100, 0);
  EXPECT_EQ(Tablet().pressure, PenState::WentUp);
  EXPECT_EQ(FramePixels(), 0);
  EXPECT_FALSE(State().undoJournal.CanUndo());
  EXPECT_EQ(Tablet().stroke.Size(), 0u);
}

TEST_F(TabletTest, PacketsAreIgnoredOnceAnotherToolIsChosen) {
  StartInSmoothingMode();
  Key('S');
  EXPECT_FALSE(Tablet().contextOpen);
  ReplayPackets(*app, WavyStrokeLog(50, kClientWidth, kClientHeight));
  EXPECT_EQ(FramePixels(), 0);
  Key('L');
  EXPECT_TRUE(Tablet().contextOpen);
  ReplayPackets(*app, WavyStrokeLog(50, kClientWidth, kClientHeight));
  EXPECT_GT(FramePixels(), 0);
}

TEST_F(TabletTest, TheSideButtonDragsTheViewAsTheRightButton) {
  Start(kClientWidth, kClientHeight);
  NewPicture(2000, 2000);
  Key('L');
  const int before = State().view.horizontal.position;
  Packet(200, 150, 0, 1);
  EXPECT_TRUE(State().rightHeld);
  Packet(150, 150, 0, 1);
  Packet(100, 150, 0, 1);
  EXPECT_EQ(State().view.horizontal.position, before + 100);
  Packet(100, 150, 0, 0);
  EXPECT_FALSE(State().rightHeld);
  EXPECT_EQ(FramePixels(), 0);
}

TEST_F(TabletTest, TheMouseStandsInForThePen) {
  StartInSmoothingMode();
  Press(MouseButton::Left, 50, 100);
  for (int x = 52; x <= 250; x += 2) Drag(x, 100 + (x % 6 == 0 ? 1 : 0));
  EXPECT_EQ(FramePixels(), 0);  // nothing before the pen-up
  Release(MouseButton::Left, 250, 100);
  EXPECT_GT(FramePixels(), 150);
  EXPECT_GT(Opacity(State().canvas.frame.At(150, 100)), 0u);
  EXPECT_EQ(Opacity(State().canvas.frame.At(150, 110)), 0u);
  EXPECT_TRUE(State().undoJournal.CanUndo());

  // Shift while the button is held: a turning point, and a frame of two stretches.
  Press(MouseButton::Left, 50, 200);
  for (int x = 52; x <= 150; x += 2) Drag(x, 200);
  Key(vk::kShift, kShift);
  for (int y = 198; y >= 120; y -= 2) Drag(150, y);
  EXPECT_EQ(Tablet().stroke.Samples().size(), 1u + 50 + 1 + 40);
  Release(MouseButton::Left, 150, 120);
  // The sharp turn survives: the corner is drawn, and so is the middle of each leg.
  EXPECT_GT(Opacity(State().canvas.frame.At(150, 200)), 0u);
  EXPECT_GT(Opacity(State().canvas.frame.At(100, 200)), 0u);
  EXPECT_GT(Opacity(State().canvas.frame.At(150, 160)), 0u);
  EXPECT_EQ(Opacity(State().canvas.frame.At(125, 175)), 0u);
}

TEST_F(TabletTest, PressesMadeFromThePenDoNotDrawAgain) {
  StartInSmoothingMode();
  platform::MouseEvent press{
      platform::MouseEvent::Kind::Press, MouseButton::Left, 50, 50, true, false, {}};
  press.fromPen = true;
  app->HandleEvent(press);
  Drag(120, 60);
  Release(MouseButton::Left, 120, 60);
  EXPECT_EQ(Tablet().stroke.Size(), 0u);
  EXPECT_EQ(Tablet().pressure, PenState::Initial);
}

TEST_F(TabletTest, CtrlLSetsBothValuesAndReturnsToTheMode) {
  StartInSmoothingMode();
  host.dialogScripts.push_back({{{{1000, "1601"}, {1001, "50"}}}, {{{1000, "8"}, {1001, "50"}}}});
  Key('L', kCtrl);
  EXPECT_EQ(host.dialogs.back().startTexts.at(1001), "30");
  EXPECT_EQ(host.dialogs.back().refusals.size(), 1u);
  EXPECT_EQ(State().settings.tabletMaxBasePoints, 8);
  EXPECT_EQ(Threshold(), RawPressureOfPercent(50, 1025));
  EXPECT_EQ(State().currentCommand, cmd::kSmoothingCurve);
  EXPECT_TRUE(Tablet().contextOpen);
}

}  // namespace
}  // namespace lumavex
