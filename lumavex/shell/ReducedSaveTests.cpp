#include <gtest/gtest.h>

#include <filesystem>

#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/ReducedSave.h"

namespace lumavex {
namespace {

using testing::Bytes;
using testing::Get32;
using testing::ReadBytes;
using testing::WriteBytes;

class ReducedSaveTest : public testing::ProgramTest {
 protected:
  AppState& StartWithPicture(int width, int height, uint32_t display = 0x02336699) {
    Start();
    State().canvasWidth = width;
    State().canvasHeight = height;
    Command(cmd::kCreateBlankPicture);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) State().canvas.display.At(x, y) = display;
    return State();
  }
  void Ratio(int numerator, int denominator) {
    State().settings.reductionNumerator = numerator;
    State().settings.reductionDenominator = denominator;
  }
  // The BGR bytes of pixel (x, y) (counted from the top) of a 24-bit BMP.
  static uint32_t BmpPixel(const Bytes& bmp, int x, int y) {
    const int width = static_cast<int>(Get32(bmp, 18)), height = static_cast<int>(Get32(bmp, 22));
    const size_t row = ((width * 24 + 31) >> 5) * 4;
    const size_t at = Get32(bmp, 10) + row * (height - 1 - y) + 3 * x;
    return uint32_t(bmp[at + 2]) << 16 | uint32_t(bmp[at + 1]) << 8 | bmp[at];
  }
};

TEST_F(ReducedSaveTest, ARatioThatDoesNotDivideTheWidthSavesNothing) {
  AppState& s = StartWithPicture(1000, 800);
  Ratio(1, 3);
  host.fileDialogAnswers = {At("never.bmp")};
  Command(cmd::kSaveReducedBmp);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "★縮小率で幅が割り切れません");
  EXPECT_EQ(host.messages[0].caption, "エラー");
  EXPECT_TRUE(host.fileDialogs.empty());
  EXPECT_FALSE(std::filesystem::exists(At("never.bmp")));
  EXPECT_EQ(s.currentFileName, "./new.lmv");
}

TEST_F(ReducedSaveTest, ARatioThatDoesNotDivideTheHeightNamesTheHeight) {
  StartWithPicture(999, 800);
  Ratio(2, 3);
  EXPECT_FALSE(SaveReducedBmp(State(), false));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "★縮小率で高さが割り切れません");
}

TEST_F(ReducedSaveTest, HalfOfA1000By800PictureIsA500By400BmpAndTheCanvasStays) {
  AppState& s = StartWithPicture(1000, 800);
  Ratio(1, 2);
  host.fileDialogAnswers = {At("half.bmp")};
  Command(cmd::kSaveReducedBmp);
  EXPECT_NE(std::find(host.statusTexts.begin(), host.statusTexts.end(), "★縮小BMPセーブ"),
            host.statusTexts.end());
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_TRUE(host.fileDialogs[0].save);
  EXPECT_EQ(host.fileDialogs[0].request.title, "縮小BMPセーブ");
  const Bytes bmp = ReadBytes(At("half.bmp"));
  ASSERT_EQ(bmp.size(), 54u + 1500u * 400u);
  EXPECT_EQ(Get32(bmp, 18), 500u);
  EXPECT_EQ(Get32(bmp, 22), 400u);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(BmpPixel(bmp, 0, 0), 0x336699u);
  EXPECT_EQ(BmpPixel(bmp, 499, 399), 0x336699u);
  EXPECT_EQ(s.canvas.Width(), 1000);
  EXPECT_EQ(s.canvas.display.At(999, 799), 0x02336699u);
  EXPECT_EQ(s.currentFileName, "./half.bmp");
}

TEST_F(ReducedSaveTest, NonSelectedPixelsAreReducedInTheirTrueColour) {
  const uint32_t marked = kDrawAreaFlag | kNonSelectedFlag | (0x336699 ^ kNonSelectedDisplayXor);
  AppState& s = StartWithPicture(40, 20, marked);
  s.currentFileName = "./0007.lmv";
  Ratio(1, 4);
  ASSERT_TRUE(SaveReducedBmp(s, false));
  const Bytes bmp = ReadBytes(At("0007.bmp"));
  ASSERT_EQ(Get32(bmp, 18), 10u);
  EXPECT_EQ(BmpPixel(bmp, 5, 2), 0x336699u);
  EXPECT_EQ(s.canvas.display.At(5, 2), marked);
}

TEST_F(ReducedSaveTest, ARefusedAreaQuestionSavesNothing) {
  StartWithPicture(400, 400);
  Ratio(1, 2);
  memory.totalPhysical = uint64_t(100) * 100 * 160 / 7;
  host.messageAnswers = {platform::MessageResult::No};
  EXPECT_FALSE(SaveReducedBmp(State(), false));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "面積制限エラー");
  EXPECT_FALSE(std::filesystem::exists(At("new.bmp")));
}

TEST_F(ReducedSaveTest, ADroppedBatchSavesEveryNativeFileBesideItself) {
  Start();
  for (const char* name : {"0001.lmv", "0002.LMV"})
    WriteBytes(At(name), testing::NativeBytes(8, 6, std::vector<uint32_t>(48, 0x02804020),
                                              std::vector<uint32_t>(48, 0)));
  Ratio(1, 2);
  EXPECT_EQ(SaveReducedBatch(State(), {"./0001.lmv", "./0002.LMV"}), 2);
  EXPECT_TRUE(host.fileDialogs.empty());
  for (const char* name : {"0001.bmp", "0002.bmp"}) {
    const Bytes bmp = ReadBytes(At(name));
    ASSERT_EQ(bmp.size(), 54u + 12u * 3u) << name;
    EXPECT_EQ(BmpPixel(bmp, 1, 1), 0x804020u);
  }
}

TEST_F(ReducedSaveTest, ABatchWithAnotherKindOfFileDoesNothing) {
  Start();
  WriteBytes(At("0001.lmv"), testing::NativeBytes(8, 6, std::vector<uint32_t>(48, 0x02804020),
                                                  std::vector<uint32_t>(48, 0)));
  EXPECT_EQ(SaveReducedBatch(State(), {"./0001.lmv", "./0002.bmp"}), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "*.lmv ファイル以外が含まれています。");
  EXPECT_EQ(host.messages[0].caption, "エラー");
  EXPECT_EQ(State().currentFileName, "./new.lmv");
  EXPECT_FALSE(std::filesystem::exists(At("0001.bmp")));
}

}  // namespace
}  // namespace lumavex
