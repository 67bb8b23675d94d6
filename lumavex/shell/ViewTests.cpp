#include "lumavex/shell/View.h"

#include <gtest/gtest.h>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/Zoom.h"

namespace lumavex {
namespace {

using platform::ScrollEvent;

class ViewTest : public testing::ProgramTest {
 protected:
  // A 400 × 300 client area: the view is 360 × 300.
  void NewPicture(int width, int height) {
    Start(400, 300);
    host.dialogScripts.push_back({{{{1000, std::to_string(width)}, {1001, std::to_string(height)}}, {}, true}});
    Command(cmd::kNewPicture);
  }
  const ScrollRecord& H() { return State().view.horizontal; }
  const ScrollRecord& V() { return State().view.vertical; }
  void Key(int key, bool shift = false) { app->HandleEvent(platform::KeyDownEvent{key, {shift, false}}); }
  void Scroll(ScrollEvent::Axis axis, ScrollEvent::Request request, int position = 0) {
    app->HandleEvent(ScrollEvent{axis, request, position});
  }
};

TEST_F(ViewTest, ZoomSetsPageAndRangeAroundTheSameCentre) {
  NewPicture(1600, 1200);
  EXPECT_EQ(H().page, 360);
  EXPECT_EQ(H().position, 0);
  Command(cmd::kZoom1of32);
  EXPECT_EQ(H().page, 360 * 32);
  EXPECT_EQ(H().minimum, -(360 * 32 / 2));
  EXPECT_EQ(H().maximum, 1600 + 360 * 32 / 2 - 1);
  EXPECT_EQ(V().page, 300 * 32);
  EXPECT_EQ(H().position + H().page / 2, 180);  // centre kept
  EXPECT_EQ(app->Menu().StatusText(), "★拡大率 3.125%");
  EXPECT_TRUE(app->Menu().Checked(cmd::kZoom1of32));
  EXPECT_FALSE(app->Menu().Checked(cmd::kZoom100));
  EXPECT_EQ(host.horizontalBar.page, 360 * 32);

  Command(cmd::kZoom2000);
  EXPECT_EQ(H().page, 18);
  EXPECT_EQ(app->Menu().StatusText(), "★拡大率 2000%");
  Command(cmd::kZoom300);
  EXPECT_EQ(app->Menu().StatusText(), "★拡大率  300%");
  EXPECT_EQ(H().page, 120);
}

TEST_F(ViewTest, ZoomKeysFollowTheTableAndStopAtTheEnds) {
  NewPicture(100, 100);
  Key(platform::vk::kUp, true);
  EXPECT_EQ(State().view.zoomCode, 6);
  Key(platform::vk::kUp, true);
  Key(platform::vk::kUp);
  EXPECT_EQ(State().view.zoomCode, 20);
  const size_t texts = host.statusTexts.size();
  Key(platform::vk::kUp);
  EXPECT_EQ(State().view.zoomCode, 20);
  EXPECT_EQ(host.statusTexts.size(), texts);
  Key(platform::vk::kDown, true);
  EXPECT_EQ(State().view.zoomCode, 6);
  for (int i = 0; i < 10; ++i) Key(platform::vk::kDown);
  EXPECT_EQ(State().view.zoomCode, 3200);
  Key(platform::vk::kDown, true);
  EXPECT_EQ(State().view.zoomCode, 3200);
  EXPECT_EQ(ZoomStep(800, true, true), 1);
  EXPECT_EQ(ZoomStep(1, false, true), 800);
}

TEST_F(ViewTest, AnUnknownZoomCodeEndsTheProgram) {
  NewPicture(10, 10);
  EXPECT_THROW(SetZoom(State(), 5, true), platform::ProcessEnded);
  EXPECT_EQ(host.messages.back().text, "エラー");
}

TEST_F(ViewTest, ClientToCanvasAtEachKindOfZoom) {
  NewPicture(1000, 1000);
  using P = std::pair<double, double>;
  EXPECT_EQ(ClientToCanvas(State(), 10, 20), (P{10, 20}));
  Command(cmd::kZoom200);
  const int px = H().position, py = V().position;
  EXPECT_EQ(ClientToCanvas(State(), 10, 21), (P{5 + px - 0.5, 10.5 + py - 0.5}));
  Command(cmd::kZoom1of4);
  EXPECT_EQ(ClientToCanvas(State(), 10, 20), (P{40.0 + H().position, 80.0 + V().position}));
}

TEST_F(ViewTest, ScrollBarsKeepTheirLimits) {
  NewPicture(400, 300);
  using A = ScrollEvent::Axis;
  using R = ScrollEvent::Request;
  const int last = H().maximum - H().page + 1;
  Scroll(A::Horizontal, R::LineUp);
  EXPECT_EQ(H().position, -1);
  for (int i = 0; i < 500; ++i) Scroll(A::Horizontal, R::LineUp);
  EXPECT_EQ(H().position, H().minimum);
  Scroll(A::Horizontal, R::ThumbTrack, 17);
  EXPECT_EQ(H().position, 17);
  for (int i = 0; i < 10; ++i) Scroll(A::Horizontal, R::PageDown);
  EXPECT_EQ(H().position, last);
  Scroll(A::Horizontal, R::LineDown);
  EXPECT_EQ(H().position, last);
  Scroll(A::Vertical, R::PageUp);
  EXPECT_EQ(V().position, V().minimum);
  EXPECT_EQ(host.horizontalBar.position, last);
  // The shown picture follows: the view's left edge is canvas column `last`.
  EXPECT_EQ(app->Surface().At(0, 200) & 0xFFFFFF, last < 400 ? 0xFFFFFFu : 0u);
}

TEST_F(ViewTest, RightDragMovesThePictureWithTheMouse) {
  NewPicture(2000, 2000);
  Command(cmd::kZoom200);
  const int x0 = H().position, y0 = V().position;
  platform::MouseEvent e{platform::MouseEvent::Kind::Press, platform::MouseButton::Right, 100, 100};
  app->HandleEvent(e);
  e.kind = platform::MouseEvent::Kind::Move;
  e.rightDown = true;
  e.x = 60;
  e.y = 130;
  app->HandleEvent(e);
  EXPECT_EQ(H().position, x0 + 20);
  EXPECT_EQ(V().position, y0 - 15);
  e.x = -5000;
  app->HandleEvent(e);
  EXPECT_EQ(H().position, 2000 - H().page / 2 - 1);
}

TEST_F(ViewTest, SpaceTwiceReturnsToTheSameZoomAndPosition) {
  NewPicture(1600, 1200);
  Scroll(ScrollEvent::Axis::Horizontal, ScrollEvent::Request::ThumbPosition, 300);
  platform::MouseEvent move{platform::MouseEvent::Kind::Move, platform::MouseButton::Left, 123, 77};
  app->HandleEvent(move);
  const int x0 = H().position, y0 = V().position;
  Key(platform::vk::kSpace);
  EXPECT_EQ(State().view.zoomCode, 20);
  ASSERT_TRUE(host.cursor);
  // The point that was under the mouse is now at the view's centre.
  const auto [cx, cy] = ClientToCanvas(State(), host.cursor->first, host.cursor->second);
  EXPECT_NEAR(cx, 300 + 123, 1.0);
  EXPECT_NEAR(cy, 77, 1.0);
  Key(platform::vk::kSpace);
  EXPECT_EQ(State().view.zoomCode, 1);
  EXPECT_EQ(H().position, x0);
  EXPECT_EQ(V().position, y0);
  EXPECT_EQ(*host.cursor, (std::pair<int, int>{123, 77}));
}

TEST_F(ViewTest, ProcessingSquareIsClampedAndMarksLeavingItAreCleared) {
  NewPicture(300, 200);
  State().settings.processingSquareSide = 100;
  Redraw(State());
  // Aim point: the view centre, canvas (180, 150); clamped at the bottom edge.
  EXPECT_EQ(State().canvas.processingSquare, (PixelRect{130, 100, 229, 199}));
  Canvas& canvas = State().canvas;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) canvas.display.At(x, y) |= 0x7C000000;
  Scroll(ScrollEvent::Axis::Horizontal, ScrollEvent::Request::ThumbPosition, -100);
  EXPECT_EQ(canvas.processingSquare, (PixelRect{30, 100, 129, 199}));
  EXPECT_EQ(canvas.display.At(129, 150) & 0x7C000000, 0x7C000000u);  // still inside
  EXPECT_EQ(canvas.display.At(130, 150) & 0x7C000000, 0x40000000u);  // left it: 26-29 cleared
  EXPECT_EQ(canvas.display.At(229, 199) & 0x7C000000, 0x40000000u);
  EXPECT_EQ(canvas.display.At(230, 150) & 0x7C000000, 0x7C000000u);  // never inside
  EXPECT_EQ(canvas.display.At(130, 99) & 0x7C000000, 0x7C000000u);
}

TEST_F(ViewTest, FrameViewShowsTheFrameLayer) {
  NewPicture(40, 40);
  Key('F');
  EXPECT_TRUE(app->Menu().Checked(cmd::kFrameView));
  EXPECT_EQ(app->Surface().At(20, 3) & 0xFFFFFF, kLandEven);
  EXPECT_EQ(app->Surface().At(12, 3) & 0xFFFFFF, kLandOdd);
  Key('B');
  EXPECT_EQ(app->Surface().At(12, 3) & 0xFFFFFF, 0xFFFFFFu);
  Command(cmd::kSightOff);
  EXPECT_FALSE(State().view.sightShown);
  EXPECT_EQ(app->Surface().At(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // no corner mark
  Command(cmd::kSightOn);
  EXPECT_EQ(app->Surface().At(0, 0) & 0xFFFFFF, 0u);  // the corner mark inverts it
}

}  // namespace
}  // namespace lumavex
