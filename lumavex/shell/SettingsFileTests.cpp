#include "lumavex/shell/SettingsFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "lumavex/shell/AppTestSupport.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

// Settings with a different value in every field the file holds.
DrawingSettings Distinct() {
  DrawingSettings s;
  s.processingSquareSide = 500;
  s.fattenWidth = 210;
  s.fattenAntiAliasWidth = 30;
  s.characterWidth = 41;
  s.characterHeight = 42;
  s.fontWeight = 700;
  s.italic = true;
  s.vertical = false;
  s.characterSpacing = 7;
  s.loadLimitWidth = 801;
  s.loadLimitHeight = 601;
  s.maxOpacity = 200;
  s.headFade = 1.25;
  s.terminationFade = 2.5;
  s.splinePointCount = 401;
  s.borderFrameOpacity = 101;
  s.areaBorderFrameOpacity = 51;
  s.frameWidth = 0.75;
  s.antiAliasWidth = 1.5;
  s.selectPenWidth = 21;
  s.deselectPenWidth = 22;
  s.frameGradationPenWidth = 23;
  s.frameGradationDegree = 6;
  s.gradationPenWidth = 24;
  s.gradationDegree = 7;
  s.mosaicPenWidth = 11;
  s.mosaicCellWidth = 9;
  s.normalPenWidth = 3;
  s.frameDeletePenWidth = 25;
  s.transparentDeletePenWidth = 26;
  s.colourChangePenWidth = 27;
  s.rgbTolerance = 12;
  s.pasteText = "abc";
  s.fontName = "Sans";
  return s;
}

const DrawingColours kColours{0xFF102030, 0x80403020};

int32_t Int32At(const std::string& b, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(b[offset + i])) << (8 * i);
  return int32_t(v);
}

double DoubleAt(const std::string& b, size_t offset) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= uint64_t(uint8_t(b[offset + i])) << (8 * i);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void PutInt32(std::string& b, size_t offset, int32_t value) {
  for (int i = 0; i < 4; ++i) b[offset + i] = char(uint32_t(value) >> (8 * i));
}

void PutDouble(std::string& b, size_t offset, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) b[offset + i] = char(bits >> (8 * i));
}

std::string Encoded(const DrawingSettings& s, const DrawingColours& c = kColours) {
  std::string error;
  auto bytes = EncodeDrawingSettings(s, c, &error);
  EXPECT_TRUE(bytes) << error;
  return bytes ? *bytes : std::string();
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = testing::MakeWorkingFolder(); }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Put(const std::string& bytes) {
    const std::string path = folder + "/test.draw_define";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // Loads `bytes` over the start settings; true when it was taken.
  bool Load(const std::string& bytes) { return LoadDrawingSettings(host, Put(bytes), loaded, colours); }
  void ExpectUntouched() {
    EXPECT_EQ(Encoded(loaded, colours), Encoded(DrawingSettings{}, DrawingColours{}));
  }
  std::vector<std::string> Messages() const { return host.MessageTexts(); }

  std::string folder;
  platform::TestHost host;
  DrawingSettings loaded;
  DrawingColours colours;
};

TEST_F(SettingsFileTest, RecordLaysOutEveryFieldAtItsOffset) {
  const std::string b = Encoded(Distinct());
  ASSERT_EQ(b.size(), 168u + 4 + 5);
  const std::pair<size_t, int32_t> ints[] = {
      {0, 500},  {4, 210},  {8, 30},   {12, 41},  {16, 42},  {20, 700}, {24, 1},
      {28, 0},   {32, 7},   {36, 4},   {40, 5},   {44, 801}, {48, 601}, {52, int32_t(0xFF102030)},
      {56, int32_t(0x80403020)},       {60, 200}, {80, 401}, {84, 101}, {88, 51},  {92, 0},
      {112, 21}, {116, 22}, {120, 23}, {124, 6},  {128, 24}, {132, 7},  {136, 11}, {140, 9},
      {144, 3},  {148, 25}, {152, 26}, {156, 27}, {160, 12}, {164, 0}};
  for (const auto& [offset, value] : ints) EXPECT_EQ(Int32At(b, offset), value) << offset;
  EXPECT_EQ(DoubleAt(b, 64), 1.25);
  EXPECT_EQ(DoubleAt(b, 72), 2.5);
  EXPECT_EQ(DoubleAt(b, 96), 0.75);
  EXPECT_EQ(DoubleAt(b, 104), 1.5);
  EXPECT_EQ(b.substr(168), std::string("abc\0Sans\0", 9));
}

TEST_F(SettingsFileTest, SavedFileLoadsBackAndSavesByteForByte) {
  const std::string path = folder + "/round.draw_define";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::string error;
  ASSERT_TRUE(WriteDrawingSettings(out, Distinct(), kColours, &error)) << error;
  std::fclose(out);
  const std::string written = testing::ReadFile(path);
  EXPECT_EQ(written, Encoded(Distinct()));

  ASSERT_TRUE(LoadDrawingSettings(host, path, loaded, colours));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Encoded(loaded, colours), written);
  EXPECT_EQ(colours.head, 0xFF102030u);
  EXPECT_EQ(loaded.pasteText, "abc");
  EXPECT_EQ(loaded.fontName, "Sans");
}

TEST_F(SettingsFileTest, JapaneseTextIsShiftJisInTheFileAndUtf8InMemory) {
  DrawingSettings s = Distinct();
  s.pasteText = "「こんにちは」、世界。";
  s.fontName = "ＭＳ ゴシック";
  const std::string b = Encoded(s);
  EXPECT_EQ(Int32At(b, 36), 23);  // eleven double-byte characters and the zero
  EXPECT_EQ(b.substr(168, 2), "\x81\x75");
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(loaded.pasteText, s.pasteText);
  EXPECT_EQ(loaded.fontName, s.fontName);
  EXPECT_EQ(Encoded(loaded), b);
}

TEST_F(SettingsFileTest, TextsThatDoNotFitTheFileAreNotWritten) {
  DrawingSettings s;
  std::string error;
  s.pasteText = "😀";
  EXPECT_FALSE(EncodeDrawingSettings(s, {}, &error));
  EXPECT_FALSE(error.empty());
  s.pasteText = std::string(4095, 'a');
  EXPECT_TRUE(EncodeDrawingSettings(s, {}, &error));
  s.pasteText = std::string(4096, 'a');
  EXPECT_FALSE(EncodeDrawingSettings(s, {}, &error));
  s.pasteText.clear();
  s.fontName = std::string(260, 'f');
  EXPECT_FALSE(EncodeDrawingSettings(s, {}, &error));
}

TEST_F(SettingsFileTest, ProcessingSquareAbove10000IsTakenAs10000) {
  std::string b = Encoded(Distinct());
  PutInt32(b, 0, 20000);
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(loaded.processingSquareSide, 10000);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsFileTest, EveryFieldOutOfRangeRefusesTheWholeFile) {
  const std::pair<size_t, int32_t> badInts[] = {
      {0, 9},    {4, 99},   {8, -1},   {12, 1},   {12, 30001}, {16, 1},  {16, 30001},
      {20, -1},  {20, 901}, {24, 2},   {28, -1},  {32, -1},    {32, 30001},
      {36, 4097}, {36, -1}, {40, 261}, {40, -5},  {44, 1},     {44, 30001}, {48, 1},
      {48, 30001}, {60, 0}, {60, 256}, {80, 1},   {84, 0},     {84, 256}, {88, 0},
      {88, 256}, {112, -1}, {116, -1}, {120, -1}, {124, 0},    {128, -1}, {132, 0},
      {136, -1}, {140, 1},  {144, -1}, {148, -1}, {152, -1},   {156, -1}, {160, -1},
      {160, 256}};
  const std::string good = Encoded(Distinct());
  for (const auto& [offset, value] : badInts) {
    std::string b = good;
    PutInt32(b, offset, value);
    EXPECT_FALSE(Load(b)) << offset << " " << value;
    ExpectUntouched();
  }
  const std::pair<size_t, double> badDoubles[] = {
      {64, -0.01}, {72, -1.0}, {96, -0.5}, {104, 0.99}, {96, std::nan("")}};
  for (const auto& [offset, value] : badDoubles) {
    std::string b = good;
    PutDouble(b, offset, value);
    EXPECT_FALSE(Load(b)) << offset << " " << value;
    ExpectUntouched();
  }
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.text, "描画設定ファイルが不正です。");
    EXPECT_EQ(m.caption, "ロードチェック");
  }
  EXPECT_EQ(host.messages.size(), std::size(badInts) + std::size(badDoubles));
}

// Numbers no picture needs, which the drawing would otherwise try to allocate or convert
// to integers: each refuses the file, and the largest accepted value still loads.
TEST_F(SettingsFileTest, NumbersBeyondTheirUpperBoundRefuseTheWholeFile) {
  const std::pair<size_t, int32_t> tooLarge[] = {
      {4, 3000001},   {8, 3000001},  {80, 100001},   {80, INT32_MAX}, {112, 30001},
      {116, 30001},   {120, 30001},  {124, 30001},   {128, 30001},    {132, 30001},
      {136, 30001},   {140, 30001},  {144, 30001},   {148, 30001},    {152, 30001},
      {156, INT32_MAX}};
  const std::string good = Encoded(Distinct());
  for (const auto& [offset, value] : tooLarge) {
    std::string b = good;
    PutInt32(b, offset, value);
    EXPECT_FALSE(Load(b)) << offset << " " << value;
    ExpectUntouched();
  }
  const std::pair<size_t, double> tooFar[] = {
      {64, 100000.01}, {72, 1e300}, {96, 3e9}, {96, 30000.01}, {104, 1e300}, {104, 3e9}};
  for (const auto& [offset, value] : tooFar) {
    std::string b = good;
    PutDouble(b, offset, value);
    EXPECT_FALSE(Load(b)) << offset << " " << value;
    ExpectUntouched();
  }
  EXPECT_EQ(host.messages.size(), std::size(tooLarge) + std::size(tooFar));
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.text, "描画設定ファイルが不正です。");
    EXPECT_EQ(m.caption, "ロードチェック");
  }

  std::string largest = good;
  PutInt32(largest, 80, 100000);
  PutDouble(largest, 96, 30000.0);
  PutDouble(largest, 104, 30000.0);
  PutInt32(largest, 156, 30000);
  ASSERT_TRUE(Load(largest));
  EXPECT_EQ(loaded.splinePointCount, 100000);
  EXPECT_EQ(loaded.frameWidth, 30000.0);
  EXPECT_EQ(loaded.colourChangePenWidth, 30000);
}

TEST_F(SettingsFileTest, ReservedFieldsAndColoursAreNotChecked) {
  std::string b = Encoded(Distinct());
  PutInt32(b, 92, -7);
  PutInt32(b, 164, 12345);
  PutInt32(b, 52, -1);
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(colours.head, 0xFFFFFFFFu);
}

TEST_F(SettingsFileTest, ShortRecordOrBlockIsRefusedWithNothingStored) {
  const std::string good = Encoded(Distinct());
  for (size_t cut : {size_t(0), size_t(167), size_t(170), good.size() - 1}) {
    EXPECT_FALSE(Load(good.substr(0, cut))) << cut;
    ExpectUntouched();
  }
  ASSERT_EQ(Messages().size(), 4u);
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.text, "描画設定ファイルサイズが不正です。");
    EXPECT_EQ(m.caption, "ロードチェック");
  }
}

TEST_F(SettingsFileTest, BlockThatIsNotShiftJisIsRefused) {
  std::string b = Encoded(Distinct());
  b[168] = '\x82';  // a lead byte followed by a line feed is no character
  b[169] = '\x0A';
  EXPECT_FALSE(Load(b));
  ExpectUntouched();
  EXPECT_EQ(Messages(), std::vector<std::string>{"描画設定ファイルが不正です。"});
}

TEST_F(SettingsFileTest, EmptyBlocksGiveEmptyTexts) {
  DrawingSettings s = Distinct();
  std::string b = Encoded(s).substr(0, 168);
  PutInt32(b, 36, 0);
  PutInt32(b, 40, 0);
  loaded.pasteText = "old";
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(loaded.pasteText, "");
  EXPECT_EQ(loaded.fontName, "");
}

TEST_F(SettingsFileTest, FileThatCannotBeOpenedIsReportedAndTheProgramGoesOn) {
  const std::string path = folder + "/missing.draw_define";
  EXPECT_FALSE(LoadDrawingSettings(host, path, loaded, colours));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ファイルオープン不可: " + path);
  EXPECT_EQ(host.messages[0].caption, "エラー");
  ExpectUntouched();
}

class ReadSettingsCommandTest : public testing::ProgramTest {};

TEST_F(ReadSettingsCommandTest, LoadsIntoTheProgramsSettingsAndColours) {
  Start();
  const std::string path = folder + "/pens.draw_define";
  std::ofstream(path, std::ios::binary) << Encoded(Distinct());
  ReadDrawingSettingsCommand(State(), path);
  EXPECT_EQ(State().settings.maxOpacity, 200);
  EXPECT_EQ(State().headColour, 0xFF102030u);
  EXPECT_EQ(State().terminationColour, 0x80403020u);

  ReadDrawingSettingsCommand(State(), folder + "/none.draw_define");
  EXPECT_EQ(State().settings.maxOpacity, 200);
  EXPECT_EQ(host.messages.back().caption, "エラー");
}

}  // namespace
}  // namespace lumavex
