#include "lumavex/shell/LightTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/FileCommands.h"

namespace lumavex {
namespace {

namespace vk = platform::vk;
using testing::BmpBytes;
using testing::WriteBytes;

// The colours of the fixtures: a few greys and colours, different in every picture.
uint32_t FixtureColour(int picture, int x, int y) {
  const uint32_t r = (x * 37 + y * 11 + picture * 53) % 256;
  const uint32_t g = (x * 13 + y * 71 + picture * 29) % 256;
  const uint32_t b = (x * 91 + y * 17 + picture * 7) % 256;
  return r << 16 | g << 8 | b;
}

// The light table as a reader would work it out by hand, in doubles.
int Rounded(double v) { return static_cast<int>(std::lround(v)); }
std::array<int, 3> Factor(uint32_t neighbour, bool earlier, int opacity) {
  const int l = static_cast<int>((((neighbour >> 16) & 255) + ((neighbour >> 8) & 255) +
                                  (neighbour & 255)) / 3);
  const std::array<int, 3> tint = earlier ? std::array{255, l, l} : std::array{l, l, 255};
  std::array<int, 3> f{};
  for (int c = 0; c < 3; ++c) f[c] = 255 - Rounded(opacity * (255 - tint[c]) / 255.0);
  return f;
}
uint32_t Expected(uint32_t current, const std::vector<std::array<int, 3>>& factors) {
  std::array<int, 3> total{255, 255, 255};
  for (const auto& f : factors)
    for (int c = 0; c < 3; ++c) total[c] = Rounded(total[c] * f[c] / 255.0);
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    const int channel = static_cast<int>((current >> (16 - 8 * c)) & 255);
    out |= static_cast<uint32_t>(Rounded(channel * total[c] / 255.0)) << (16 - 8 * c);
  }
  return out;
}

class LightTableTest : public testing::ProgramTest {
 protected:
  static constexpr int kWidth = 9, kHeight = 7;

  void WritePicture(int picture, int width = kWidth, int height = kHeight) {
    std::vector<uint32_t> values;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) values.push_back(FixtureColour(picture, x, y));
    WriteBytes(At(Name(picture)), BmpBytes(24, width, height, values));
  }
  static std::string Name(int picture) { return "000" + std::to_string(picture) + ".bmp"; }
  AppState& StartWith(int pictures, int current) {
    for (int i = 1; i <= pictures; ++i) WritePicture(i);
    Start();
    State().currentFileName = "./" + Name(current);
    Command(cmd::kLoadCurrentFile);
    return State();
  }
  std::vector<uint32_t> ViewPixels() {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < app->Surface().Height(); ++y)
      for (int x = 0; x < ViewWidth(State()); ++x)
        pixels.push_back(app->Surface().At(x, y) & 0xFFFFFF);
    return pixels;
  }
  std::vector<int> Offsets() {
    std::vector<int> offsets;
    for (const Neighbour& n : State().lightTable.Neighbours()) offsets.push_back(n.offset);
    return offsets;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Neighbour& n : State().lightTable.Neighbours()) names.push_back(n.name);
    return names;
  }
  void Settings(int sides, int opacity) {
    host.dialogScripts.push_back(
        {{{{1000, std::to_string(sides)}, {1001, std::to_string(opacity)}}, {}, true}});
    Command(cmd::kLightTableSettings);
  }
  bool Shown(const std::string& status) const {
    return std::find(host.statusTexts.begin(), host.statusTexts.end(), status) !=
           host.statusTexts.end();
  }
};

TEST_F(LightTableTest, FactorsMatchTheHandWorkedTints) {
  // A black line of an earlier picture at full opacity lets only red through.
  EXPECT_EQ(NeighbourFactor(0x000000, true, 255), 0xFF0000u);
  EXPECT_EQ(NeighbourFactor(0x000000, false, 255), 0x0000FFu);
  // White paper gives no tint at all, whatever the opacity.
  EXPECT_EQ(NeighbourFactor(0xFFFFFF, true, 200), 0xFFFFFFu);
  // Half opacity over black: 255 - round(128 * 255 / 255) = 127 in the tinted channels.
  EXPECT_EQ(NeighbourFactor(0x000000, true, 128), 0xFF7F7Fu);
  EXPECT_EQ(CombineFactors(0xFF7F7F, 0x7F7FFF), 0x7F3F7Fu);
  EXPECT_EQ(ApplyLightFactor(0x12646464, 0x7F7F7F), 0x12323232u);  // 100 × 127 / 255 = 49.8
}

TEST_F(LightTableTest, ComposesBothNeighboursUnderThePictureAtEveryZoom) {
  StartWith(3, 2);
  Command(cmd::kSightOff);  // the sight's inverted marks would lie over the corner
  Key('K');
  ASSERT_TRUE(app->Menu().Checked(cmd::kLightTable));
  EXPECT_EQ(Names(), (std::vector<std::string>{"0001.bmp", "0003.bmp"}));
  const int opacity = State().lightTable.options.opacity;
  for (int code : {1, 2, 200}) {
    SetZoom(State(), code, true);
    State().view.horizontal.position = State().view.vertical.position = 0;
    Redraw(State());
    const int n = code < 100 ? code : 1, f = code < 100 ? 1 : code / 100;
    for (int vy = 0; vy < kHeight * n / f; ++vy)
      for (int vx = 0; vx < kWidth * n / f; ++vx) {
        const int x = vx * f / n, y = vy * f / n;
        const uint32_t expected =
            Expected(FixtureColour(2, x, y), {Factor(FixtureColour(1, x, y), true, opacity),
                                              Factor(FixtureColour(3, x, y), false, opacity)});
        ASSERT_EQ(app->Surface().At(vx, vy) & 0xFFFFFF, expected)
            << "zoom " << code << " at " << vx << "," << vy;
      }
    // Outside the canvas the view stays black.
    EXPECT_EQ(app->Surface().At(kWidth * n / f + 1, 0) & 0xFFFFFF, 0u);
  }
}

TEST_F(LightTableTest, TheSecondNeighboursComeAtHalfOpacity) {
  StartWith(5, 3);
  Settings(2, 200);
  Key('K');
  EXPECT_EQ(Offsets(), (std::vector<int>{-2, -1, 1, 2}));
  const uint32_t expected = Expected(
      FixtureColour(3, 4, 5), {Factor(FixtureColour(1, 4, 5), true, 100),
                               Factor(FixtureColour(5, 4, 5), false, 100),
                               Factor(FixtureColour(2, 4, 5), true, 200),
                               Factor(FixtureColour(4, 4, 5), false, 200)});
  // Farthest first, each step rounded: the order the reference lists them in.
  EXPECT_EQ(app->Surface().At(4, 5) & 0xFFFFFF, expected);
}

TEST_F(LightTableTest, OffOrWithoutNeighboursTheViewIsUnchanged) {
  StartWith(3, 2);
  const auto plain = ViewPixels();
  Key('K');
  EXPECT_NE(ViewPixels(), plain);
  Key('K');
  EXPECT_FALSE(app->Menu().Checked(cmd::kLightTable));
  EXPECT_EQ(ViewPixels(), plain);
  EXPECT_TRUE(State().lightTable.Neighbours().empty());

  // A folder with the one picture: on, but nothing to show under it.
  std::filesystem::remove(At("0001.bmp"));
  std::filesystem::remove(At("0003.bmp"));
  Command(cmd::kLoadCurrentFile);
  const auto alone = ViewPixels();
  Key('K');
  EXPECT_EQ(ViewPixels(), alone);
}

TEST_F(LightTableTest, NeighboursFollowLeftAndRight) {
  StartWith(5, 3);
  Settings(2, 128);
  Key('K');
  EXPECT_EQ(Names(), (std::vector<std::string>{"0001.bmp", "0002.bmp", "0004.bmp", "0005.bmp"}));
  Key(vk::kRight);
  EXPECT_EQ(State().currentFileName, "./0004.bmp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"0002.bmp", "0003.bmp", "0005.bmp"}));
  EXPECT_EQ(Offsets(), (std::vector<int>{-2, -1, 1}));
  Key(vk::kLeft);
  Key(vk::kLeft);
  Key(vk::kLeft);
  EXPECT_EQ(State().currentFileName, "./0001.bmp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"0002.bmp", "0003.bmp"}));
}

TEST_F(LightTableTest, ANeighbourIsReadAgainOnlyWhenItsFileChanges) {
  StartWith(3, 2);
  Key('K');
  const uint32_t before = app->Surface().At(1, 1);
  const PixelPlane* kept = &State().lightTable.Neighbours()[1].display;
  const uint8_t* keptData = kept->Data();
  Redraw(State());
  EXPECT_EQ(State().lightTable.Neighbours()[1].display.Data(), keptData);  // not read again

  // 0003 becomes black: its blue shows more strongly after the next whole redraw.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  WriteBytes(At("0003.bmp"),
             BmpBytes(24, kWidth, kHeight, std::vector<uint32_t>(kWidth * kHeight, 0)));
  app->HandleEvent(platform::ActivateEvent{true});
  const int opacity = State().lightTable.options.opacity;
  EXPECT_EQ(app->Surface().At(1, 1) & 0xFFFFFF,
            Expected(FixtureColour(2, 1, 1), {Factor(FixtureColour(1, 1, 1), true, opacity),
                                              Factor(0, false, opacity)}));
  EXPECT_NE(app->Surface().At(1, 1), before);
}

TEST_F(LightTableTest, ACorruptNeighbourIsLeftOutWithAStatusText) {
  StartWith(3, 2);
  WriteBytes(At("0001.bmp"), {'B', 'M', 1, 2, 3});
  Key('K');
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(std::ranges::any_of(host.statusTexts, [](const std::string& t) {
    return t.starts_with("★ライトテーブル：0001.bmp を読み込めません。");
  }));
  const int opacity = State().lightTable.options.opacity;
  EXPECT_EQ(app->Surface().At(2, 3) & 0xFFFFFF,
            Expected(FixtureColour(2, 2, 3), {Factor(FixtureColour(3, 2, 3), false, opacity)}));
  EXPECT_TRUE(State().canvas.HasPicture());
}

TEST_F(LightTableTest, NeighboursOfAnotherSizeAreClippedToTheCanvas) {
  StartWith(2, 2);
  WritePicture(1, 3, 40);  // narrower and taller than the canvas
  Command(cmd::kLoadCurrentFile);
  Key('K');
  const int opacity = State().lightTable.options.opacity;
  EXPECT_EQ(app->Surface().At(2, 6) & 0xFFFFFF,
            Expected(FixtureColour(2, 2, 6), {Factor(FixtureColour(1, 2, 6), true, opacity)}));
  EXPECT_EQ(app->Surface().At(5, 6) & 0xFFFFFF, FixtureColour(2, 5, 6));
}

TEST_F(LightTableTest, TheDialogRefusesAbsurdValuesAndKeepsTheOldOnes) {
  Start();
  host.dialogScripts.push_back({{{{1000, "3"}, {1001, "100"}}, {}, true},
                                {{{1000, "2"}, {1001, "256"}}, {}, true},
                                {{{1000, "x"}, {1001, "100"}}, {}, false}});
  Command(cmd::kLightTableSettings);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].refusals.size(), 2u);
  EXPECT_EQ(State().lightTable.options.picturesEachSide, 1);
  EXPECT_EQ(State().lightTable.options.opacity, 128);
}

// Drawing and saving see the canvas only: the same strokes write the same files (the
// pictures, the journal, the session) whether the light table is on or off.
TEST_F(LightTableTest, DrawingAndSavingWriteTheSameFiles) {
  namespace fs = std::filesystem;
  auto run = [&](bool on) {
    StartWith(3, 2);
    if (on) Key('K');
    Key('N');
    Press(platform::MouseButton::Left, 2, 2);
    Drag(6, 5);
    Release(platform::MouseButton::Left, 6, 5);
    app->HandleEvent(platform::MouseEvent{platform::MouseEvent::Kind::Move,
                                          platform::MouseButton::Left, 3, 3, false, false, {}});
    Key(vk::kF1);
    EXPECT_EQ(State().headColour & 0xFFFFFF, State().canvas.display.At(3, 3) & 0xFFFFFF);
    EXPECT_TRUE(SaveBmp(State(), 24, false));
    State().currentFileName = "./out.lmv";
    EXPECT_TRUE(SaveNative(State(), State().currentFileName, PictureArea{0, 0, kWidth, kHeight}, false));
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file())
        files[fs::relative(entry.path(), folder).string()] = testing::ReadBytes(entry.path().string());
    return files;
  };
  const auto off = run(false);
  app.reset();
  fs::remove_all(folder);
  folder = testing::MakeWorkingFolder();
  config.workingDirectory = config.lockDirectory = folder;
  const auto on = run(true);
  EXPECT_TRUE(off.contains("out.lmv"));
  EXPECT_TRUE(off.contains("0002.bmp"));
  EXPECT_EQ(off, on);
}

}  // namespace
}  // namespace lumavex
