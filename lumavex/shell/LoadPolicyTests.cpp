#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/files/Png.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/LoadPolicy.h"

namespace lumavex {
namespace {

using testing::WriteBytes;

// A client of 1241 × 900 gives the policies a view of 1200 × 900.
constexpr int kClientWidth = 1241;
constexpr int kClientHeight = 900;
constexpr uint32_t kLeftColour = 0xC01020;
constexpr uint32_t kRightColour = 0x2040E0;

class LoadPolicyTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Start(kClientWidth, kClientHeight);
  }
  bool Shown(const std::string& status) const {
    return std::find(host.statusTexts.begin(), host.statusTexts.end(), status) !=
           host.statusTexts.end();
  }
  // A picture whose left half is one colour and right half another.
  static std::vector<uint32_t> Halves(int width, int height) {
    std::vector<uint32_t> v(size_t(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        v[size_t(y) * width + x] = x < width / 2 ? kLeftColour : kRightColour;
    return v;
  }
  void WriteBmp(const std::string& name, int width, int height) {
    WriteBytes(At(name), testing::BmpBytes(24, width, height, Halves(width, height)));
  }
  void WritePicturePng(const std::string& name, int width, int height) {
    PixelPlane plane;
    ASSERT_TRUE(plane.Create(State().allocator, width, height, 4));
    const auto values = Halves(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        plane.At(x, y) = values[size_t(y) * width + x] | kDrawAreaFlag;
    std::FILE* f = std::fopen(At(name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(WritePng(plane, PngColour::Rgb, FileByteSink(f), host));
    std::fclose(f);
  }
  bool Load(const std::string& name) {
    return LoadDroppedFile(State(), At(name)) == LoadOutcome::Loaded;
  }
  static bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) return false;
    return true;
  }
  // The reduced picture keeps its two halves and is ready to draw on.
  void ExpectReducedHalves(int width, int height) {
    const Canvas& c = State().canvas;
    ASSERT_EQ(c.Width(), width);
    ASSERT_EQ(c.Height(), height);
    EXPECT_EQ(State().canvasWidth, width);
    for (int y : {0, height / 2, height - 1}) {
      EXPECT_TRUE(Near(c.display.At(2, y), kLeftColour)) << std::hex << c.display.At(2, y);
      EXPECT_TRUE(Near(c.display.At(width - 3, y), kRightColour))
          << std::hex << c.display.At(width - 3, y);
      EXPECT_EQ(c.display.At(2, y) & 0xFF000000u, kDrawAreaFlag);
      EXPECT_EQ(c.frame.At(width - 1, y), BackdropColour(width - 1, y, true, false));
      EXPECT_EQ(c.work.At(width / 2, y), 0u);
    }
    EXPECT_TRUE(Shown(kReducingStatus));
    EXPECT_FALSE(Shown(kEnlargingStatus));
  }
};

TEST_F(LoadPolicyTest, ChoosingAPolicyChecksOnlyItAndShowsItsStatus) {
  EXPECT_EQ(CurrentLoadPolicy(State()), LoadSizePolicy::SameSize);
  const std::pair<int, const char*> items[] = {
      {cmd::kLoadPolicy2, "★ビューサイズより大きいものを縮小"},
      {cmd::kLoadPolicy3, "★ビューサイズに拡縮"},
      {cmd::kLoadPolicy4, "★指定サイズより大きいものを縮小"},
      {cmd::kLoadSameSize, "★同じサイズで読み込み"},
  };
  for (const auto& [id, status] : items) {
    Command(id);
    EXPECT_EQ(host.statusTexts.back(), status);
    EXPECT_EQ(LoadPolicyCommand(CurrentLoadPolicy(State())), id);
    for (const auto& [other, unused] : items) EXPECT_EQ(State().menu.Checked(other), other == id);
  }
}

TEST_F(LoadPolicyTest, SameSizeKeepsALargePicture) {
  WriteBmp("big.bmp", 2400, 1200);
  ASSERT_TRUE(Load("big.bmp"));
  EXPECT_EQ(State().canvas.Width(), 2400);
  EXPECT_EQ(State().canvas.Height(), 1200);
  EXPECT_EQ(State().canvas.display.At(0, 0), kLeftColour | kDrawAreaFlag);
  EXPECT_FALSE(Shown(kReducingStatus));
}

TEST_F(LoadPolicyTest, ReduceToViewReducesALargeBmpLineByLineAndKeepsASmallOne) {
  Command(cmd::kLoadPolicy2);
  WriteBmp("big.bmp", 2400, 1200);
  ASSERT_TRUE(Load("big.bmp"));
  ExpectReducedHalves(1200, 600);

  WriteBmp("small.bmp", 300, 200);
  ASSERT_TRUE(Load("small.bmp"));
  EXPECT_EQ(State().canvas.Width(), 300);
  EXPECT_EQ(State().canvas.display.At(299, 199), kRightColour | kDrawAreaFlag);
}

TEST_F(LoadPolicyTest, AReducedBmpLoadIsTheReductionOfEveryLineInOrder) {
  // Each line and column differs, so a line fed twice, skipped or out of turn shows.
  const int w = 1500, h = 1100;
  std::vector<uint32_t> values(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      values[size_t(y) * w + x] = uint32_t((x * 7 + y * 3) & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 |
                                  uint32_t((x ^ y) & 0xFF);
  WriteBytes(At("lines.bmp"), testing::BmpBytes(24, w, h, values));
  Command(cmd::kLoadPolicy2);
  ASSERT_TRUE(Load("lines.bmp"));
  const PictureSize target = FitIntoBox({w, h}, {1200, 900});
  ASSERT_EQ(State().canvas.Width(), target.width);
  ASSERT_EQ(State().canvas.Height(), target.height);

  PixelPlane expected;
  ASSERT_TRUE(expected.Create(State().allocator, target.width, target.height, 4));
  ASSERT_TRUE(ReducePicture([&](int y) { return values.data() + size_t(y) * w; }, w, h, expected));
  for (int y = 0; y < target.height; ++y)
    ASSERT_EQ(std::memcmp(State().canvas.display.Row32(y), expected.Row32(y), expected.RowBytes()),
              0)
        << "line " << y;
}

TEST_F(LoadPolicyTest, ThinPicturesWiderThanTheViewStayLoadable) {
  Command(cmd::kLoadPolicy2);
  // Two lines: too few to resample, each reduced line copies its nearest source line.
  WriteBmp("strip.bmp", 2400, 2);
  ASSERT_TRUE(Load("strip.bmp"));
  EXPECT_EQ(State().canvas.Width(), 1200);
  EXPECT_EQ(State().canvas.Height(), 2);
  EXPECT_EQ(State().canvas.display.At(0, 1), kLeftColour | kDrawAreaFlag);
  EXPECT_EQ(State().canvas.display.At(1199, 0), kRightColour | kDrawAreaFlag);
  // One line cannot be fitted at a height of 2: it keeps its own size.
  WritePicturePng("line.png", 1300, 1);
  ASSERT_TRUE(Load("line.png"));
  EXPECT_EQ(State().canvas.Width(), 1300);
  EXPECT_EQ(State().canvas.Height(), 1);
}

TEST_F(LoadPolicyTest, FitToViewReducesAPngAndEnlargesASmallPicture) {
  Command(cmd::kLoadPolicy3);
  WritePicturePng("big.png", 2400, 1200);
  ASSERT_TRUE(Load("big.png"));
  ExpectReducedHalves(1200, 600);

  // A smaller picture is enlarged to fit the view, its halves keeping their colours.
  WriteBmp("small.bmp", 300, 200);
  host.statusTexts.clear();
  ASSERT_TRUE(Load("small.bmp"));
  const Canvas& c = State().canvas;
  EXPECT_EQ(c.Width(), 1200);
  EXPECT_EQ(c.Height(), 800);
  EXPECT_TRUE(Shown(kEnlargingStatus));
  EXPECT_TRUE(Near(c.display.At(0, 0), kLeftColour));
  EXPECT_TRUE(Near(c.display.At(1199, 799), kRightColour));
  EXPECT_EQ(c.frame.At(1199, 799), BackdropColour(1199, 799, true, false));
}

TEST_F(LoadPolicyTest, TheAreaQuestionIsAskedForTheReducedSize) {
  // An area limit between 1200 × 600 and 2400 × 1200 pixels.
  memory.totalPhysical = uint64_t(1600) * 1200 * 160 / 7;
  WriteBmp("big.bmp", 2400, 1200);
  host.messageAnswers = {platform::MessageResult::No};
  EXPECT_FALSE(Load("big.bmp"));
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().caption, "面積制限エラー");

  host.messages.clear();
  Command(cmd::kLoadPolicy2);
  ASSERT_TRUE(Load("big.bmp"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(State().canvas.Width(), 1200);
}

TEST_F(LoadPolicyTest, GivenSizeAsksDialog134BeforeEveryPictureLoad) {
  Command(cmd::kLoadPolicy4);
  WriteBmp("big.bmp", 2400, 1200);
  host.dialogScripts = {{platform::DialogAttempt{{{1000, "300"}, {1001, "300"}}, {}, true}}};
  ASSERT_TRUE(Load("big.bmp"));
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "ロード時サイズ指定");
  EXPECT_TRUE(Shown("★ロード時サイズ指定"));
  EXPECT_EQ(State().settings.loadLimitWidth, 300);
  ExpectReducedHalves(300, 150);

  // A picture within the given size keeps its own.
  WriteBmp("small.bmp", 200, 100);
  host.dialogScripts = {{platform::DialogAttempt{}}};
  ASSERT_TRUE(Load("small.bmp"));
  EXPECT_EQ(State().canvas.Width(), 200);
}

TEST_F(LoadPolicyTest, CancellingDialog134AbandonsTheLoadAndKeepsThePicture) {
  State().canvasWidth = 40;
  State().canvasHeight = 30;
  Command(cmd::kCreateBlankPicture);
  Command(cmd::kLoadPolicy4);
  WriteBmp("big.bmp", 2400, 1200);
  testing::MakeUndoStep(State());
  host.dialogScripts = {{platform::DialogAttempt{{{1000, "300"}}, {}, false}}};
  EXPECT_FALSE(Load("big.bmp"));
  const int resets = State().undoJournal.CanUndo() ? 0 : 1;
  EXPECT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(State().settings.loadLimitWidth, 800);
  EXPECT_EQ(State().canvas.Width(), 40);
  EXPECT_TRUE(State().menu.Enabled(cmd::kSaveNative));
  EXPECT_EQ(resets, 0);
  EXPECT_FALSE(Shown("★ロード中..."));
}

TEST_F(LoadPolicyTest, NativeFilesIgnoreThePolicyAndAskNothing) {
  Command(cmd::kLoadPolicy4);
  WriteBytes(At("a.lmv"), testing::NativeBytes(1300, 4, std::vector<uint32_t>(1300 * 4, 0x02123456),
                                               std::vector<uint32_t>(1300 * 4, 0)));
  ASSERT_TRUE(Load("a.lmv"));
  EXPECT_TRUE(host.dialogs.empty());
  EXPECT_EQ(State().canvas.Width(), 1300);
  Command(cmd::kLoadPolicy2);
  ASSERT_TRUE(Load("a.lmv"));
  EXPECT_EQ(State().canvas.Width(), 1300);
}

}  // namespace
}  // namespace lumavex
