#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureTestSupport.h"
#include "lumavex/shell/AppTestSupport.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FilePasteByDrop.h"
#include "lumavex/shell/tools/FilePasteTools.h"

namespace lumavex {
namespace {

using testing::Bytes;
using testing::NativeBytes;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr uint32_t kRed = kDrawAreaFlag | 0xFF0000;
constexpr uint32_t kOutside = 0x00FFFFFF;  // white outside the drawing area
constexpr int kPlusZero = 1007;            // the "+0" button of dialog 155

class FilePasteTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // A 3 × 2 paste picture whose top-left pixel lies outside its drawing area.
    WriteBytes(At("p.lmv"), NativeBytes(3, 2, {kOutside, kRed, kRed, kRed, kRed, kRed},
                                        std::vector<uint32_t>(6, 0)));
  }
  // Chooses p.lmv with the top-left corner at (x, y), 1-based as the dialog shows it.
  void ChoosePaste(int x, int y) {
    host.fileDialogAnswers = {At("p.lmv")};
    host.dialogScripts.push_back(
        {{{{1000, std::to_string(x)}, {1001, std::to_string(y)}}, {}, true}});
    Command(cmd::kPasteFromFile);
  }
  uint32_t Colour(int x, int y) { return State().canvas.display.At(x, y) & 0x03FFFFFF; }
  // The display word of pixel (x, y) of a saved 4 × 3 native file, flags 0-1 only.
  static uint32_t SavedDisplay(const Bytes& file, int x, int y) {
    const size_t at = 54 + ((2 - y) * 8 + x) * 4;
    return (file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24) & 0x03FFFFFF;
  }
  std::vector<uint8_t> Layers() {
    const Canvas& c = State().canvas;
    std::vector<uint8_t> bytes(c.display.Data(), c.display.Data() + c.display.SizeBytes());
    bytes.insert(bytes.end(), c.frame.Data(), c.frame.Data() + c.frame.SizeBytes());
    for (size_t i = 3; i < c.display.SizeBytes(); i += 4) bytes[i] &= 0x03;  // no marks
    return bytes;
  }
  // A white native picture of 4 × 3 under `name`.
  void WriteTarget(const std::string& name) {
    WriteBytes(At(name), NativeBytes(4, 3, std::vector<uint32_t>(12, kNewDisplayPixel),
                                     std::vector<uint32_t>(12, 0)));
  }
  // Arms the paste into dropped files with p.lmv and the step the dialog leaves.
  void ArmDrop(bool plusZero = false) {
    host.dialogScripts.push_back({{{}, plusZero ? std::map<int, bool>{{kPlusZero, true}}
                                                : std::map<int, bool>{},
                                   true}});
    host.fileDialogAnswers = {At("p.lmv")};
    Command(cmd::kPasteFromFilesByDrop);
  }
  void Drop(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& n : names) paths.push_back(At(n));
    app->HandleEvent(platform::DropEvent{paths});
  }
};

TEST_F(FilePasteTest, PastesTheDrawnPartOverTheSelectionInOneUndoStep) {
  AppState& s = StartWithBlankPicture(8, 6);
  Deselect(s.canvas.display.At(3, 2), s.canvas.frame.At(3, 2));
  const auto before = Layers();
  ChoosePaste(3, 2);  // 0-based (2, 1)
  EXPECT_EQ(s.currentCommand, cmd::kSimplePastePosition);
  EXPECT_EQ(s.view.zoomCode, 1);
  EXPECT_EQ(host.statusTexts.back(), "★ペースト位置指定");
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].startTexts.at(1000), "1");  // the last position, 1-based

  Click(100, 100, kBoth);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(Colour(2, 1), kNewDisplayPixel);  // outside the picture's drawing area
  EXPECT_EQ(Colour(3, 1), kRed);
  EXPECT_EQ(Colour(4, 1), kRed);
  EXPECT_EQ(Colour(2, 2), kRed);
  EXPECT_TRUE(s.canvas.display.At(3, 2) & kNonSelectedFlag);  // not selected: unchanged
  EXPECT_EQ(Colour(4, 2), kRed);
  EXPECT_EQ(Colour(5, 2), kNewDisplayPixel);
  EXPECT_NE(std::find_if(host.soundsPlayed.begin(), host.soundsPlayed.end(),
                         [](const std::string& n) { return n.find("end") != std::string::npos; }),
            host.soundsPlayed.end());

  Command(cmd::kUndo);
  EXPECT_EQ(Layers(), before);
  // The next paste starts from where this one went.
  ChoosePaste(1, 1);
  EXPECT_EQ(host.dialogs.back().startTexts.at(1000), "3");
  EXPECT_EQ(host.dialogs.back().startTexts.at(1001), "2");
}

TEST_F(FilePasteTest, PastesOnlyAtFullSizeAndLeavesWithoutPastingOnRightClick) {
  AppState& s = StartWithBlankPicture(8, 6);
  ChoosePaste(1, 1);
  Command(cmd::kZoom200);
  Click(10, 10, kBoth);
  EXPECT_EQ(host.statusTexts.back(), "★表示倍率を１００％にして下さい。");
  EXPECT_EQ(s.currentCommand, cmd::kSimplePastePosition);
  EXPECT_EQ(Colour(1, 0), kNewDisplayPixel);
  Click(10, 10, kBoth, platform::MouseButton::Right);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(Colour(1, 0), kNewDisplayPixel);
  // A cancelled file choice or position dialog enters no mode.
  host.fileDialogAnswers = {std::nullopt};
  Command(cmd::kPasteFromFile);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  host.fileDialogAnswers = {At("p.lmv")};
  host.dialogScripts.push_back({{{}, {}, false}});
  Command(cmd::kPasteFromFile);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
}

TEST_F(FilePasteTest, DraggingACornerDeformsThePaste) {
  AppState& s = StartWithBlankPicture(12, 8);
  ChoosePaste(1, 1);
  Press(platform::MouseButton::Left, 2, 0);  // the top-right corner
  Drag(9, 0);
  Release(platform::MouseButton::Left, 9, 0);
  EXPECT_EQ(s.tools.Get<FilePasteTools>().Corners()[1].x, 9.0);
  Click(0, 0, kBoth);
  EXPECT_EQ(Colour(8, 0), kRed);  // the stretched top row
  EXPECT_EQ(Colour(0, 0), kNewDisplayPixel);
}

TEST_F(FilePasteTest, RenumberedNamesKeepTheirFolderAndExtension) {
  EXPECT_EQ(RenumberedName("./cut/a0003.lmv", 100), "./cut/a0103.lmv");
  EXPECT_EQ(RenumberedName("/m/9999.LMV", 1000), "/m/10999.LMV");
  EXPECT_EQ(RenumberedName("/m/0042.lmv", 0), "/m/0042.lmv");
  EXPECT_FALSE(RenumberedName("/m/a003x.lmv", 10));
  EXPECT_FALSE(RenumberedName("/m0001/ab.lmv", 10));  // the folder's digits do not count
}

TEST_F(FilePasteTest, DroppedFilesArePastedAndSavedUnderTheirNewNumbers) {
  AppState& s = StartWithBlankPicture(8, 6);
  WriteTarget("c0003.lmv");
  WriteTarget("c0004.lmv");
  const Bytes original = ReadBytes(At("c0003.lmv"));
  ArmDrop();
  EXPECT_EQ(s.currentCommand, cmd::kPasteFromFilesByDrop);
  EXPECT_EQ(s.settings.fileNumberStep, 100);
  Drop({"c0003.lmv", "c0004.lmv"});
  EXPECT_EQ(ReadBytes(At("c0003.lmv")), original);
  for (const char* name : {"c0103.lmv", "c0104.lmv"}) {
    const Bytes saved = ReadBytes(At(name));
    ASSERT_EQ(saved.size(), original.size()) << name;
    EXPECT_EQ(SavedDisplay(saved, 0, 0), kNewDisplayPixel);
    EXPECT_EQ(SavedDisplay(saved, 1, 0), kRed);
    EXPECT_EQ(SavedDisplay(saved, 2, 1), kRed);
    EXPECT_EQ(SavedDisplay(saved, 3, 1), kNewDisplayPixel);
  }
  // The run ends as the other runs over dropped files do.
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(s.surface.At(0, 0) & 0xFFFFFF, 0xFF00FFu);
}

TEST_F(FilePasteTest, StepZeroWritesOverTheDroppedFileWithoutAsking) {
  StartWithBlankPicture(8, 6);
  WriteTarget("c0003.lmv");
  const Bytes original = ReadBytes(At("c0003.lmv"));
  ArmDrop(true);
  EXPECT_EQ(State().settings.fileNumberStep, 0);
  Drop({"c0003.lmv"});
  EXPECT_TRUE(host.messages.empty());
  EXPECT_NE(ReadBytes(At("c0003.lmv")), original);
}

TEST_F(FilePasteTest, ASetWithOneBadFileIsRefusedWholeBeforeAnyFileChanges) {
  StartWithBlankPicture(8, 6);
  WriteTarget("c0003.lmv");
  WriteTarget("c0103.lmv");
  WriteTarget("last.lmv");
  WriteBytes(At("c0005.bmp"), testing::BmpBytes(24, 2, 2, {0, 0, 0, 0}));
  const Bytes original = ReadBytes(At("c0003.lmv"));
  struct Case {
    std::vector<std::string> names;
    std::string message;
  };
  const Case cases[] = {
      {{"c0004.lmv", "c0005.bmp"}, "*.lmv ファイル以外が含まれています。"},
      {{"c0004.lmv", "last.lmv"}, kNotFourDigits},
      {{"c0004.lmv", "c0003.lmv"}, kRenamedFileExists},
  };
  WriteTarget("c0004.lmv");
  for (const Case& c : cases) {
    ArmDrop();
    host.messages.clear();
    Drop(c.names);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].caption, "エラー");
    EXPECT_FALSE(std::filesystem::exists(At("c0104.lmv")));
    EXPECT_EQ(ReadBytes(At("c0003.lmv")), original);
    EXPECT_EQ(State().canvas.Width(), 8);  // nothing was loaded
  }
}

}  // namespace
}  // namespace lumavex

namespace lumavex {
namespace {

class StringPasteTest : public testing::ProgramTest {
 protected:
  AppState& StartWithBlankPicture() {
    Start();
    State().canvasWidth = 120;
    State().canvasHeight = 80;
    Command(cmd::kCreateBlankPicture);
    State().settings.fontName = "IPAGothic";
    State().headColour = 0x7F102030;  // the brightness byte stays out of the picture
    return State();
  }
  // Shift+F with `attempts` in dialog 136, then (0, 0) in dialog 142.
  void PasteString(std::vector<platform::DialogAttempt> attempts) {
    host.dialogScripts.push_back(std::move(attempts));
    host.dialogScripts.push_back({{{{1000, "1"}, {1001, "1"}}, {}, true}});
    Key('F', kShift);
  }
  int FramedPixels() {
    int n = 0;
    for (int y = 0; y < State().canvas.Height(); ++y)
      for (int x = 0; x < State().canvas.Width(); ++x) {
        const uint32_t f = State().canvas.frame.At(x, y);
        if (Opacity(f) > 0) {
          EXPECT_EQ(f & kColourMask, 0x102030u);
          ++n;
        }
      }
    return n;
  }
};

TEST_F(StringPasteTest, ShiftFSetsTheTextAndPastesItAsFramesInOneStep) {
  AppState& s = StartWithBlankPicture();
  PasteString({{{{1000, "Ab"}}, {}, true}});
  ASSERT_EQ(host.dialogs.size(), 2u);
  EXPECT_EQ(host.dialogs[0].id, 136);
  EXPECT_EQ(s.currentCommand, cmd::kStringPasteAtTopLeft);
  EXPECT_EQ(s.settings.pasteText, "Ab");
  EXPECT_EQ(FramedPixels(), 0);
  Click(50, 50, kBoth);
  EXPECT_GT(FramedPixels(), 50);
  EXPECT_EQ(s.currentCommand, cmd::kStringPasteAtTopLeft);  // the mode stays
  Command(cmd::kUndo);
  EXPECT_EQ(FramedPixels(), 0);
}

TEST_F(StringPasteTest, AMissingGlyphPastesNothingAndKeepsTheSettings) {
  AppState& s = StartWithBlankPicture();
  PasteString({{{{1000, "A\U0001F600"}}, {}, true}});
  EXPECT_EQ(host.statusTexts.back(), "▼フォントデータに無いサイズの文字があります。");
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(s.settings.pasteText, "A\U0001F600");
  EXPECT_EQ(host.dialogs.size(), 1u);  // no position asked
}

TEST_F(StringPasteTest, TheDialogRefusesInOrderAndTheGlyphCheckBlanksWeights) {
  AppState& s = StartWithBlankPicture();
  platform::DialogAttempt empty{{{1000, ""}}, {}, true};
  platform::DialogAttempt width{{{1000, "A"}, {1001, "1"}}, {}, true};
  platform::DialogAttempt height{{{1001, "40"}, {1002, "x"}}, {}, true};
  platform::DialogAttempt spacing{{{1002, "40"}, {1003, "30001"}}, {}, true};
  platform::DialogAttempt check{{{1000, "\U0001F600"}, {1003, "0"}}, {}, true, {}, {1007}};
  host.dialogScripts.push_back({empty, width, height, spacing, check});
  Key('F', kShift);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].refusals,
            (std::vector<platform::DialogMessage>{
                {"文字列を入力して下さい。", "指定エラー"},
                {"文字幅に２以上の数値を入力して下さい。", "指定エラー"},
                {"文字高さに数値を入力して下さい。", "指定エラー"},
                {"文字間隔に３００００以下の数値を入力して下さい。", "指定エラー"},
                {"文字の太さを選択して下さい。", "指定エラー"}}));
  EXPECT_EQ(s.currentCommand, cmd::kNone);
  EXPECT_EQ(s.settings.fontWeight, 400);
}

TEST_F(StringPasteTest, TheTextIsRefusedBeyond4095ShiftJisBytes) {
  AppState& s = StartWithBlankPicture();
  std::string kana;
  for (int i = 0; i < 2047; ++i) kana += "あ";  // two bytes each in Shift-JIS
  const std::string fits = kana + "a";
  platform::DialogAttempt tooLong{{{1000, kana + "ab"}}, {}, true};
  platform::DialogAttempt unknownCharacter{{{1000, kana + "\U0001F600"}}, {}, true};
  // The glyph check stores the text that fits; cancelling then keeps it.
  platform::DialogAttempt longest{{{1000, fits}}, {}, false, {}, {1007}};
  host.dialogScripts.push_back({tooLong, unknownCharacter, longest});
  s.settings.pasteText = "before";
  Key('F', kShift);
  ASSERT_EQ(host.dialogs.size(), 1u);
  const platform::DialogMessage refusal{"文字列を４０９５バイト以内にして下さい。", "指定エラー"};
  EXPECT_EQ(host.dialogs[0].refusals, (std::vector<platform::DialogMessage>{refusal, refusal}));
  EXPECT_EQ(s.settings.pasteText, fits);
  EXPECT_EQ(s.currentCommand, cmd::kNone);
}

}  // namespace
}  // namespace lumavex
