#include "lumavex/shell/Flipbook.h"

#include <gtest/gtest.h>

#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppTestSupport.h"

namespace lumavex {
namespace {

using testing::BmpBytes;
using testing::WriteBytes;

// Every picture is one flat colour, so that the view tells which one is shown.
uint32_t ColourOf(int picture) { return 0x101010u * static_cast<uint32_t>(picture) + 0x000005u; }

class FlipbookTest : public testing::ProgramTest {
 protected:
  static constexpr int kWidth = 30, kHeight = 20;

  AppState& StartWith(int pictures, int current) {
    for (int i = 1; i <= pictures; ++i) WritePicture(i, ColourOf(i));
    Start();
    State().currentFileName = "./" + Name(current);
    Command(cmd::kLoadCurrentFile);
    return State();
  }
  void WritePicture(int picture, uint32_t colour) {
    WriteBytes(At(Name(picture)),
               BmpBytes(24, kWidth, kHeight, std::vector<uint32_t>(kWidth * kHeight, colour)));
  }
  static std::string Name(int picture) { return "f" + std::to_string(picture) + ".bmp"; }
  void Tick() { app->HandleEvent(platform::TickEvent{}); }
  uint32_t Shown() { return app->Surface().At(3, 3) & 0xFFFFFF; }
  void Settings(const std::string& rate, const std::string& first, const std::string& last,
                bool loop) {
    host.dialogScripts.push_back(
        {{{{1000, rate}, {1001, first}, {1002, last}}, {{1003, loop}}, true}});
    Command(cmd::kFlipbookSettings);
  }
  std::vector<uint32_t> Client() {
    const platform::Surface& s = app->Surface();
    return std::vector<uint32_t>(s.Row(0), s.Row(0) + size_t(s.Width()) * s.Height());
  }
};

TEST_F(FlipbookTest, PlaysTheFolderInOrderOnTheTicksAndStopsAtTheEnd) {
  StartWith(4, 2);
  Key('J');
  EXPECT_TRUE(State().flipbook.Playing());
  EXPECT_EQ(host.tickRate, 12);
  std::vector<uint32_t> seen{Shown()};
  for (int i = 0; i < 3; ++i) {
    Tick();
    seen.push_back(Shown());
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{ColourOf(1), ColourOf(2), ColourOf(3), ColourOf(4)}));
  EXPECT_EQ(app->Menu().StatusText(), "★パラパラ再生中... 4/4 f4.bmp");
  Tick();
  EXPECT_FALSE(State().flipbook.Playing());
  EXPECT_EQ(host.tickRate, 0);
  EXPECT_EQ(Shown(), ColourOf(2));
}

TEST_F(FlipbookTest, AKeyOrAClickStopsAndRestoresTheViewExactly) {
  AppState& s = StartWith(3, 2);
  Command(cmd::kZoom200);
  s.view.horizontal.position = 5;
  s.view.vertical.position = 2;
  PaintScrolled(s);
  const auto before = Client();
  const std::string status = app->Menu().StatusText();
  const int mode = s.currentCommand;
  for (bool byKey : {true, false}) {
    Key('J');
    Tick();
    EXPECT_EQ(Shown(), ColourOf(2)) << "shown at the same zoom and place";
    EXPECT_NE(Client(), before);
    if (byKey) Key('S');
    else Click(10, 10);
    EXPECT_FALSE(s.flipbook.Playing());
    EXPECT_EQ(Client(), before);
    EXPECT_EQ(app->Menu().StatusText(), status);
    EXPECT_EQ(s.currentCommand, mode) << "the stopping key chose no tool";
    EXPECT_FALSE(s.leftHeld);
    EXPECT_EQ(s.view.horizontal.position, 5);
    EXPECT_EQ(s.view.zoomCode, 2);
  }
}

TEST_F(FlipbookTest, TheEditedPictureIsShownAsItIsInTheCanvas) {
  AppState& s = StartWith(3, 2);
  s.canvas.display.At(3, 3) = 0x00ABCDEF;
  Key('J');
  Tick();
  EXPECT_EQ(Shown(), 0xABCDEFu);
  EXPECT_EQ(s.canvas.display.At(3, 3), 0x00ABCDEFu);
}

TEST_F(FlipbookTest, RangeRateAndLoopComeFromTheDialog) {
  StartWith(5, 1);
  Settings("24", "2", "3", true);
  EXPECT_EQ(State().flipbook.options.picturesPerSecond, 24);
  Key('J');
  EXPECT_EQ(host.tickRate, 24);
  std::vector<uint32_t> seen{Shown()};
  for (int i = 0; i < 4; ++i) {
    Tick();
    seen.push_back(Shown());
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{ColourOf(2), ColourOf(3), ColourOf(2), ColourOf(3),
                                         ColourOf(2)}));
  EXPECT_TRUE(State().flipbook.Playing());
  Key('J');
  EXPECT_FALSE(State().flipbook.Playing());
}

TEST_F(FlipbookTest, TheDialogRefusesOtherRatesAndAnInvertedRange) {
  Start();
  host.dialogScripts.push_back({{{{1000, "10"}, {1001, "1"}, {1002, "0"}}, {}, true},
                                {{{1000, "6"}, {1001, "5"}, {1002, "2"}}, {}, true},
                                {{{1000, "6"}, {1001, "0"}, {1002, "0"}}, {}, true},
                                {{{1000, "6"}, {1001, "2"}, {1002, "0"}}, {}, true}});
  Command(cmd::kFlipbookSettings);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].refusals.size(), 3u);
  EXPECT_EQ(State().flipbook.options.picturesPerSecond, 6);
  EXPECT_EQ(State().flipbook.options.first, 2);
}

TEST_F(FlipbookTest, AnUnreadablePictureIsSkippedAndNothingIsWritten) {
  StartWith(3, 1);
  WriteBytes(At("f2.bmp"), {'B', 'M', 0, 0});
  const auto before = testing::ReadBytes(At("f3.bmp"));
  Key('J');
  Tick();
  EXPECT_EQ(Shown(), ColourOf(1)) << "the last picture that could be read stays";
  EXPECT_EQ(app->Menu().StatusText(), "★パラパラ再生：f2.bmp を読み込めません。");
  Tick();
  EXPECT_EQ(Shown(), ColourOf(3));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(testing::ReadBytes(At("f3.bmp")), before);
}

TEST_F(FlipbookTest, WithoutAFolderListNothingPlays) {
  StartWithBlankPicture(10, 10);
  Key('J');
  EXPECT_FALSE(State().flipbook.Playing());
  EXPECT_EQ(host.tickRate, 0);
  Tick();  // a stray beat does nothing
  EXPECT_TRUE(State().canvas.HasPicture());
}

TEST_F(FlipbookTest, AResizeOrACommandStopsThePlayFirst) {
  StartWith(3, 2);
  Key('J');
  app->HandleEvent(platform::SizeEvent{300, 200});
  EXPECT_FALSE(State().flipbook.Playing());
  EXPECT_EQ(app->Surface().Width(), 300);
  Key('J');
  Command(cmd::kZoom200);
  EXPECT_FALSE(State().flipbook.Playing());
  EXPECT_EQ(State().view.zoomCode, 2);
}

}  // namespace
}  // namespace lumavex
