#include <gtest/gtest.h>

#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/Pens.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

using platform::Modifiers;
using platform::MouseButton;

class PenToolTest : public testing::ProgramTest {
 protected:
  // A 60 × 40 white picture shown at 100 %, head colour 0x123456.
  void StartPicture() {
    Start(400, 300);
    NewPicture(60, 40);
    State().headColour = 0x123456;
  }
  int ClientX(double x) { return CanvasToClientX(State(), x); }
  int ClientY(double y) { return CanvasToClientY(State(), y); }
  void PressAt(double x, double y) { Press(MouseButton::Left, ClientX(x), ClientY(y)); }
  void DragTo(double x, double y) { Drag(ClientX(x), ClientY(y)); }
  void ReleaseAt(double x, double y) { Release(MouseButton::Left, ClientX(x), ClientY(y)); }
  void Hover(int x, int y) {
    app->HandleEvent(platform::MouseEvent{
        platform::MouseEvent::Kind::Move, MouseButton::Left, x, y, false, false, {}});
  }
  std::vector<uint32_t> Words(const PixelPlane& plane) {
    std::vector<uint32_t> words;
    for (int y = 0; y < plane.Height(); ++y)
      for (int x = 0; x < plane.Width(); ++x) words.push_back(plane.At(x, y) & ~kProcessingMarks);
    return words;
  }
  std::vector<uint32_t> Screen() {
    const platform::Surface& s = app->Surface();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) pixels.push_back(s.At(x, y));
    return pixels;
  }
  uint32_t Colour(int x, int y) { return State().canvas.display.At(x, y) & kColourMask; }
};

TEST_F(PenToolTest, EveryPenKeyActivatesItsPenWithItsName) {
  StartPicture();
  const struct {
    int key;
    Modifiers modifiers;
    int mode;
    const char* status;
  } pens[] = {
      {'N', {}, cmd::kNormalPen, "★ビットマップペン"},
      {'G', {}, cmd::kGradationPen, "★ビットマップぼかしペン"},
      {'M', {}, cmd::kMosaicPen, "★モザイクペン"},
      {'C', {}, cmd::kColourChangePen, "★フレーム色変更ペン"},
      {'X', {}, cmd::kFrameGradationPen, "★フレームぼかしペン"},
      {'D', {}, cmd::kDeletePen, "★フレーム削除ペン"},
      {'T', {}, cmd::kTransparentDeletePen, "★透明フレーム削除ペン"},
  };
  for (const auto& pen : pens) {
    Key(pen.key, pen.modifiers);
    EXPECT_EQ(State().currentCommand, pen.mode) << pen.status;
    EXPECT_EQ(app->Menu().StatusText(), pen.status);
    EXPECT_TRUE(State().menu.Enabled(pen.mode));
    // The settings command: its dialog, then the pen, even when cancelled.
    host.dialogScripts.push_back({{{}, {}, false}});
    Key(pen.key, kCtrl);
    EXPECT_EQ(State().currentCommand, pen.mode) << pen.status;
    EXPECT_EQ(app->Menu().StatusText(), pen.status);
  }
  host.dialogScripts.push_back({{{}, {}, false}});
  Key('A', kShift);
  EXPECT_EQ(app->Menu().StatusText(), "★領域選択ペン");
  host.dialogScripts.push_back({{{}, {}, false}});
  Key('H', kShift);
  EXPECT_EQ(app->Menu().StatusText(), "★領域非選択ペン");
  Command(cmd::kSelectPen);
  EXPECT_EQ(State().currentCommand, cmd::kSelectPen);
}

TEST_F(PenToolTest, ANormalPenStrokeIsOneUndoStepAndThePenChosenAgainPaintsAgain) {
  StartPicture();
  const std::vector<uint32_t> display = Words(State().canvas.display);
  const std::vector<uint32_t> frame = Words(State().canvas.frame);
  host.dialogScripts.push_back({{{{1000, "2"}}, {}, true}});
  Key('N', kCtrl);
  State().settings.maxOpacity = 128;
  PressAt(10, 10);
  DragTo(12, 10);
  DragTo(10, 10);  // back over painted pixels: unchanged
  ReleaseAt(10, 10);
  EXPECT_EQ(Colour(8, 8), Blend(0x123456, 128, 0xFFFFFF));
  EXPECT_EQ(Colour(12, 10), Blend(0x123456, 128, 0xFFFFFF));
  EXPECT_EQ(Colour(13, 10), 0xFFFFFFu);
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  EXPECT_EQ(State().markedRectangle, (PixelRect{8, 8, 12, 10}));

  Key('N');
  PressAt(10, 10);
  ReleaseAt(10, 10);
  EXPECT_EQ(Colour(10, 10), Blend(0x123456, 128, Blend(0x123456, 128, 0xFFFFFF)));
  Key('U');
  Key('U');
  EXPECT_EQ(Words(State().canvas.display), display);
  EXPECT_EQ(Words(State().canvas.frame), frame);
}

TEST_F(PenToolTest, TheGradationPenPutsItsStrokeInAtTheReleaseAsItsOwnStep) {
  StartPicture();
  for (int y = 0; y < 40; ++y)
    for (int x = 30; x < 60; ++x) State().canvas.display.At(x, y) = kDrawAreaFlag;  // black half
  const std::vector<uint32_t> display = Words(State().canvas.display);
  Key('G');
  PressAt(32, 10);
  DragTo(33, 11);
  EXPECT_EQ(Colour(30, 10), 0u);  // nothing shows before the release
  host.statusTexts.clear();
  ReleaseAt(33, 11);
  EXPECT_EQ(host.statusTexts, (std::vector<std::string>{"★描画中...", ""}));
  EXPECT_EQ(host.soundsPlayed.back(), "end.wav");
  // At (30, 10) the 11 × 11 square holds 5 white and 6 black columns.
  EXPECT_EQ(Colour(30, 10), 0x747474u);  // (55 × 255 + 60) / 121 per channel
  EXPECT_EQ(State().canvas.work.At(30, 10), 0u);
  Key('U');
  EXPECT_EQ(Words(State().canvas.display), display);
}

TEST_F(PenToolTest, TheBrushOutlineFollowsTheMouseAtEveryZoom) {
  StartPicture();
  for (int zoom : {cmd::kZoom100, cmd::kZoom400, cmd::kZoom1of4}) {
    Command(zoom);
    State().view.horizontal.position = State().view.vertical.position = 0;
    Key('D');
    const std::vector<uint32_t> plain = Screen();
    const int x = ClientX(30), y = ClientY(25);
    Hover(x, y);
    const std::vector<uint32_t> shown = Screen();
    Hover(x + 50, y + 20);
    Hover(x, y);
    EXPECT_EQ(Screen(), shown);
    Command(cmd::kBitmapView);  // a redraw keeps the outline where it is
    EXPECT_EQ(Screen(), shown);
    // The outline surrounds the 21 × 21 pixels that end at the cursor pixel.
    const auto [cx, cy] = ClientToCanvas(State(), x, y);
    const int px = BrushPixel(cx), py = BrushPixel(cy);
    const int w = app->Surface().Width();
    const int left = ClientX(px - 20), right = std::max(left, ClientX(px + 1) - 1);
    const int top = ClientY(py - 20), bottom = std::max(top, ClientY(py + 1) - 1);
    for (int corner : {bottom * w + left, bottom * w + right, top * w + left, top * w + right})
      EXPECT_EQ(shown[corner], plain[corner] ^ 0x00FFFFFFu) << zoom;
    EXPECT_EQ(shown[(bottom + 1) * w + left], plain[(bottom + 1) * w + left]) << zoom;
    EXPECT_EQ(shown[bottom * w + right + 1], plain[bottom * w + right + 1]) << zoom;
  }
}

TEST_F(PenToolTest, PensLeaveNonSelectedPixelsAlone) {
  StartPicture();
  Canvas& c = State().canvas;
  ToggleSelection(c.display.At(10, 10), c.frame.At(10, 10));
  const uint32_t display = c.display.At(10, 10);
  for (int key : {'N', 'G', 'M', 'C', 'X', 'D', 'T'}) {
    Key(key);
    PressAt(11, 11);
    ReleaseAt(11, 11);
    EXPECT_EQ(c.display.At(10, 10), display) << char(key);
  }
  Command(cmd::kSelectPen);
  PressAt(11, 11);
  ReleaseAt(11, 11);
  EXPECT_EQ(c.display.At(10, 10), kNewDisplayPixel | kPaintedMark);
}

}  // namespace
}  // namespace lumavex
