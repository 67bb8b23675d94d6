#include "lumavex/files/Png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureTestSupport.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;
using testing::PythonWithPil;
using testing::ReadBytes;
using testing::WriteBytes;

// A PNG written by libpng directly, so that every depth and type can be made:
// `rows` are the packed samples of each line, top first.
struct TestPng {
  int width = 0, height = 0, depth = 8, type = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<std::vector<uint8_t>> rows;
};

void WriteTestPng(const fs::path& path, TestPng& p) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
  png_init_io(png, file);
  png_set_check_for_invalid_index(png, 0);
  png_set_IHDR(png, info, p.width, p.height, p.depth, p.type,
               p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), int(p.palette.size()));
  std::vector<png_bytep> rows;
  for (auto& row : p.rows) rows.push_back(row.data());
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

class PngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("lmv_png_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  bool Load(const fs::path& path, DecodedPicture& out, const DecodeSizeCheck& check = {}) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr);
    if (!file) return false;
    const bool ok = LoadPng(file, host, allocator, check, out);
    std::fclose(file);
    return ok;
  }

  // Loads a libpng-made picture and gives its words, top line first.
  std::vector<uint32_t> LoadWords(TestPng& p) {
    const fs::path path = dir / "t.png";
    WriteTestPng(path, p);
    DecodedPicture out;
    EXPECT_TRUE(Load(path, out));
    std::vector<uint32_t> words;
    for (int y = 0; y < out.plane.Height(); ++y)
      words.insert(words.end(), out.plane.Row32(y), out.plane.Row32(y) + out.plane.Width());
    return words;
  }

  std::string LastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }

  fs::path dir;
  platform::TestHost host;
  platform::Allocator allocator{
      host, [] { return platform::MemoryStatus{1ull << 40, 1ull << 40, 1ull << 40, 1ull << 40}; }};
};

constexpr uint32_t Grey(uint32_t v) { return v << 16 | v << 8 | v | kDrawAreaFlag; }

TEST_F(PngTest, LowDepthGreyIsScaledToTheFullRange) {
  TestPng one{4, 1, 1, PNG_COLOR_TYPE_GRAY, false, {}, {{0b10100000}}};
  EXPECT_EQ(LoadWords(one), (std::vector<uint32_t>{Grey(255), Grey(0), Grey(255), Grey(0)}));
  TestPng two{4, 1, 2, PNG_COLOR_TYPE_GRAY, false, {}, {{0b00011011}}};
  EXPECT_EQ(LoadWords(two), (std::vector<uint32_t>{Grey(0), Grey(85), Grey(170), Grey(255)}));
  TestPng four{16, 1, 4, PNG_COLOR_TYPE_GRAY, false, {}, {{}}};
  std::vector<uint32_t> expected;
  for (int s = 0; s < 16; ++s) {
    if (s % 2 == 0) four.rows[0].push_back(uint8_t(s << 4 | (s + 1)));
    expected.push_back(Grey(17 * s));
  }
  EXPECT_EQ(LoadWords(four), expected);
}

TEST_F(PngTest, SixteenBitSamplesKeepTheirHighByte) {
  TestPng rgb{1, 1, 16, PNG_COLOR_TYPE_RGB, false, {}, {{0x12, 0xFF, 0xAB, 0x80, 0x00, 0x7F}}};
  EXPECT_EQ(LoadWords(rgb), (std::vector<uint32_t>{0x0212AB00}));
  TestPng greyAlpha{1, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, false, {}, {{0x9A, 0xFF, 0, 0}}};
  EXPECT_EQ(LoadWords(greyAlpha), (std::vector<uint32_t>{Grey(0x9A)}));
}

TEST_F(PngTest, AlphaIsIgnored) {
  TestPng rgba{2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, {{255, 0, 0, 0, 1, 2, 3, 128}}};
  EXPECT_EQ(LoadWords(rgba), (std::vector<uint32_t>{0x02FF0000, 0x02010203}));
  TestPng greyAlpha{1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, false, {}, {{77, 0}}};
  EXPECT_EQ(LoadWords(greyAlpha), (std::vector<uint32_t>{Grey(77)}));
}

TEST_F(PngTest, PaletteIndicesLookUpTheirEntries) {
  TestPng p{5, 1, 2, PNG_COLOR_TYPE_PALETTE, false, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
            {{0b00011000, 0b01000000}}};
  EXPECT_EQ(LoadWords(p), (std::vector<uint32_t>{0x02010203, 0x02040506, 0x02070809,
                                                 0x02010203, 0x02040506}));
}

TEST_F(PngTest, PaletteIndexBeyondThePaletteIsRefused) {
  TestPng p{2, 1, 2, PNG_COLOR_TYPE_PALETTE, false, {{1, 2, 3}, {4, 5, 6}}, {{0b00110000}}};
  WriteTestPng(dir / "bad.png", p);
  DecodedPicture out;
  EXPECT_FALSE(Load(dir / "bad.png", out));
  EXPECT_EQ(LastMessage(), "パレットが不正です。");
  EXPECT_EQ(host.messages.back().caption, "ロードエラー");
  EXPECT_TRUE(out.plane.Empty());
}

TEST_F(PngTest, InterlacedPictureEqualsItsPlainTwin) {
  TestPng plain{13, 11, 8, PNG_COLOR_TYPE_RGB, false, {}, {}};
  for (int y = 0; y < 11; ++y) {
    plain.rows.emplace_back();
    for (int i = 0; i < 13 * 3; ++i) plain.rows.back().push_back(uint8_t(y * 31 + i * 7));
  }
  TestPng interlaced = plain;
  interlaced.interlaced = true;
  const std::vector<uint32_t> words = LoadWords(plain);
  EXPECT_EQ(LoadWords(interlaced), words);
  EXPECT_EQ(words[1], 0x02151C23u);
}

TEST_F(PngTest, PlaneIsBottomUpWithBitmapHeaders) {
  TestPng p{3, 2, 8, PNG_COLOR_TYPE_GRAY, false, {}, {{10, 11, 12}, {20, 21, 22}}};
  WriteTestPng(dir / "g.png", p);
  DecodedPicture out;
  ASSERT_TRUE(Load(dir / "g.png", out));
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(out.plane.TableRow(0))[0], Grey(20));
  EXPECT_EQ(out.pictureHeader.width, 3);
  EXPECT_EQ(out.pictureHeader.height, 2);
  EXPECT_EQ(out.pictureHeader.bitsPerPixel, 32);
  EXPECT_EQ(out.fileHeader.fileSize, 3u * 4 * 2 + 54);
}

TEST_F(PngTest, SizeIsCheckedBeforeThePictureIsAllocated) {
  TestPng p{3, 2, 8, PNG_COLOR_TYPE_GRAY, false, {}, {{1, 2, 3}, {4, 5, 6}}};
  WriteTestPng(dir / "g.png", p);
  DecodedPicture out;
  int askedW = 0, askedH = 0;
  EXPECT_FALSE(Load(dir / "g.png", out, [&](int w, int h) {
    askedW = w;
    askedH = h;
    return false;
  }));
  EXPECT_EQ(askedW, 3);
  EXPECT_EQ(askedH, 2);
  EXPECT_TRUE(host.messages.empty());

  TestPng huge{30001, 1, 1, PNG_COLOR_TYPE_GRAY, false, {}, {std::vector<uint8_t>(3751)}};
  WriteTestPng(dir / "huge.png", huge);
  bool asked = false;
  EXPECT_FALSE(Load(dir / "huge.png", out, [&](int, int) { return asked = true; }));
  EXPECT_FALSE(asked);
  EXPECT_EQ(LastMessage(), "PNG ライブラリ内部エラー。");
}

TEST_F(PngTest, TruncatedAndCorruptFilesEndInALoadMessage) {
  TestPng p{9, 7, 8, PNG_COLOR_TYPE_RGB, true, {}, {}};
  for (int y = 0; y < 7; ++y) p.rows.emplace_back(27, uint8_t(y * 40));
  WriteTestPng(dir / "whole.png", p);
  const std::vector<uint8_t> whole = ReadBytes(dir / "whole.png");
  for (size_t length = 0; length < whole.size(); ++length) {
    WriteBytes(dir / "cut.png", {whole.begin(), whole.begin() + std::ptrdiff_t(length)});
    DecodedPicture out;
    host.messages.clear();
    EXPECT_FALSE(Load(dir / "cut.png", out)) << length;
    ASSERT_EQ(host.messages.size(), 1u) << length;
    EXPECT_EQ(LastMessage(), length < 8 ? "PNG ではありません。" : "PNG ライブラリ内部エラー。")
        << length;
    EXPECT_TRUE(out.plane.Empty());
  }
  for (size_t at = 0; at < whole.size(); ++at) {
    std::vector<uint8_t> bytes = whole;
    bytes[at] ^= 0x5A;
    WriteBytes(dir / "bad.png", bytes);
    DecodedPicture out;
    host.messages.clear();
    if (!Load(dir / "bad.png", out)) {
      ASSERT_EQ(host.messages.size(), 1u) << at;
      EXPECT_EQ(host.messages.back().caption, "ロードエラー");
    }
  }
}

// A 2 × 2 display layer; pixel (x, y) = words[y * 2 + x].
PixelPlane DisplayOf(platform::Allocator& allocator, std::vector<uint32_t> words) {
  PixelPlane plane;
  plane.Create(allocator, 2, 2, 4);
  for (int i = 0; i < 4; ++i) plane.At(i % 2, i / 2) = words[i];
  return plane;
}

TEST_F(PngTest, SavedPicturesLoadBackAsTheirShownColours) {
  uint32_t white = kNewDisplayPixel, frame = 0;
  Deselect(white, frame);
  ASSERT_EQ(white, 0x030000FFu);
  const PixelPlane display =
      DisplayOf(allocator, {0x020A141F, white, 0x06123456 | kNonSelectedFlag, 0x02000000});
  for (PngColour colour : {PngColour::Rgb, PngColour::Grey}) {
    std::FILE* file = std::fopen((dir / "s.png").c_str(), "wb");
    ASSERT_TRUE(WritePng(display, colour, FileByteSink(file), host));
    std::fclose(file);
    const std::vector<uint8_t> bytes = ReadBytes(dir / "s.png");
    EXPECT_EQ(bytes[24], 8);                                           // bit depth
    EXPECT_EQ(bytes[25], colour == PngColour::Grey ? 0 : 2);          // colour type
    DecodedPicture out;
    ASSERT_TRUE(Load(dir / "s.png", out));
    const uint32_t shown = (0x06123456 ^ kNonSelectedDisplayXor) & kColourMask;
    if (colour == PngColour::Grey) {
      EXPECT_EQ(out.plane.At(0, 0), Grey(21));  // (10 + 20 + 31 + 2) / 3
      EXPECT_EQ(out.plane.At(1, 0), Grey(255));
      EXPECT_EQ(out.plane.At(0, 1),
                Grey(((shown >> 16) + ((shown >> 8) & 0xFF) + (shown & 0xFF) + 2) / 3));
    } else {
      EXPECT_EQ(out.plane.At(0, 0), 0x020A141Fu);
      EXPECT_EQ(out.plane.At(1, 0), 0x02FFFFFFu);
      EXPECT_EQ(out.plane.At(0, 1), shown | kDrawAreaFlag);
      EXPECT_EQ(out.plane.At(1, 1), 0x02000000u);
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PngTest, FailedWriteIsReported) {
  const PixelPlane display = DisplayOf(allocator, {1, 2, 3, 4});
  int calls = 0;
  PngByteSink failing{&calls, [](void* context, const void*, size_t) {
                        return ++*static_cast<int*>(context) < 3;
                      }};
  EXPECT_FALSE(WritePng(display, PngColour::Rgb, failing, host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "別の位置にセーブして下さい。");
  EXPECT_EQ(host.messages[0].caption, "書き込み失敗");
}

// Python with PIL, if this machine has it.
TEST_F(PngTest, FilesOfAnotherEncoderDecodeAsItDecodesThem) {
  const std::string python = PythonWithPil();
  if (python.empty()) GTEST_SKIP() << "python3 with PIL is not installed";
  const fs::path script = dir / "make.py";
  std::ofstream(script) << R"(
import sys, random
from PIL import Image
d = sys.argv[1]
random.seed(5)
base = Image.new('RGB', (37, 23))
base.putdata([(random.randrange(256), random.randrange(256), random.randrange(256)) for _ in range(37 * 23)])
pics = {
  'mode1': base.convert('1'), 'modeL': base.convert('L'), 'modeLA': base.convert('LA'),
  'modeP': base.convert('P', palette=Image.ADAPTIVE, colors=200),
  'modeP16': base.convert('P', palette=Image.ADAPTIVE, colors=16),
  'modeRGB': base, 'modeRGBA': base.convert('RGBA'),
}
pics['modeRGBA'].putalpha(0)
for name, im in pics.items():
  im.save(d + '/' + name + '.png', interlace=(name == 'modeRGB'))
  open(d + '/' + name + '.rgb', 'wb').write(Image.open(d + '/' + name + '.png').convert('RGB').tobytes())
)";
  ASSERT_EQ(std::system((python + " " + script.string() + " " + dir.string()).c_str()), 0);
  for (const char* name : {"mode1", "modeL", "modeLA", "modeP", "modeP16", "modeRGB", "modeRGBA"}) {
    SCOPED_TRACE(name);
    DecodedPicture out;
    ASSERT_TRUE(Load(dir / (std::string(name) + ".png"), out));
    const std::vector<uint8_t> rgb = ReadBytes(dir / (std::string(name) + ".rgb"));
    ASSERT_EQ(rgb.size(), 37u * 23 * 3);
    int mismatches = 0;
    for (int i = 0; i < 37 * 23; ++i) {
      const uint32_t expected =
          uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
      mismatches += out.plane.At(i % 37, i / 37) != (expected | kDrawAreaFlag);
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST_F(PngTest, SixteenBitFilesOfAnotherEncoder) {
  if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  const fs::path png = dir / "deep.png";
  const fs::path raw = dir / "deep.rgb";
  ASSERT_EQ(std::system(("convert -seed 3 -size 31x17 plasma:fractal -depth 16 png48:" +
                         png.string() + " && convert " + png.string() + " -depth 16 -endian MSB rgb:" +
                         raw.string())
                            .c_str()),
            0);
  DecodedPicture out;
  ASSERT_TRUE(Load(png, out));
  const std::vector<uint8_t> rgb = ReadBytes(raw);  // 16-bit samples, most significant first
  ASSERT_EQ(rgb.size(), 31u * 17 * 6);
  for (int i = 0; i < 31 * 17; ++i) {
    const uint32_t expected =
        uint32_t(rgb[i * 6]) << 16 | uint32_t(rgb[i * 6 + 2]) << 8 | rgb[i * 6 + 4];
    ASSERT_EQ(out.plane.At(i % 31, i / 31), expected | kDrawAreaFlag) << i;
  }
}

}  // namespace
}  // namespace lumavex
