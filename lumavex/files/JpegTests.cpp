#include "lumavex/files/Jpeg.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

// Pictures of every kind written by PIL, each with PIL's own decoding beside it
// as raw RGB: grey, colour, progressive colour, Adobe CMYK, and one too wide.
constexpr char kMakeJpegs[] = R"(
import sys, random
from PIL import Image, ImageFilter
d = sys.argv[1]
random.seed(9)
base = Image.new('RGB', (45, 29))
base.putdata([(random.randrange(256), random.randrange(256), random.randrange(256)) for _ in range(45 * 29)])
base = base.resize((90, 58)).filter(ImageFilter.GaussianBlur(2))
base.convert('L').save(d + '/grey.jpg', quality=90)
base.save(d + '/colour.jpg', quality=90)
base.save(d + '/progressive.jpg', quality=90, progressive=True)
base.save(d + '/subsampled.jpg', quality=75, subsampling=2)
base.convert('CMYK').save(d + '/cmyk.jpg', quality=95)
for name in ['grey', 'colour', 'progressive', 'subsampled', 'cmyk']:
  open(d + '/' + name + '.rgb', 'wb').write(Image.open(d + '/' + name + '.jpg').convert('RGB').tobytes())
Image.new('RGB', (30001, 8)).save(d + '/wide.jpg')
)";

class JpegTest : public ::testing::Test {
 protected:
  // The fixtures are made once for all tests of the suite.
  static void SetUpTestSuite() {
    const std::string python = PythonWithPil();
    if (python.empty()) return;
    fixtures = new fs::path(fs::temp_directory_path() /
                            ("lmv_jpeg_" + std::to_string(::getpid())));
    fs::create_directories(*fixtures);
    const fs::path script = *fixtures / "make.py";
    std::ofstream(script) << kMakeJpegs;
    made = std::system((python + " " + script.string() + " " + fixtures->string()).c_str()) == 0;
  }
  static void TearDownTestSuite() {
    if (fixtures) fs::remove_all(*fixtures);
    delete fixtures;
    fixtures = nullptr;
  }
  void SetUp() override {
    if (!fixtures) GTEST_SKIP() << "python3 with PIL is not installed";
    ASSERT_TRUE(made);
    dir = *fixtures;
  }

  static inline fs::path* fixtures = nullptr;
  static inline bool made = false;

  bool Load(const fs::path& path, DecodedPicture& out, const DecodeSizeCheck& check = {}) {
    return LoadJpeg(path.string(), path.filename().string(), host, allocator, check, out);
  }

  fs::path dir;
  platform::TestHost host;
  platform::Allocator allocator{
      host, [] { return platform::MemoryStatus{1ull << 40, 1ull << 40, 1ull << 40, 1ull << 40}; }};
};

TEST_F(JpegTest, EveryKindDecodesAsAnotherDecoderDecodesIt) {
  for (const char* name : {"grey", "colour", "progressive", "subsampled", "cmyk"}) {
    SCOPED_TRACE(name);
    DecodedPicture out;
    ASSERT_TRUE(Load(dir / (std::string(name) + ".jpg"), out));
    ASSERT_EQ(out.plane.Width(), 90);
    ASSERT_EQ(out.plane.Height(), 58);
    EXPECT_EQ(out.fileHeader.fileSize, 90u * 58 * 4 + 54);
    const std::vector<uint8_t> rgb = ReadBytes(dir / (std::string(name) + ".rgb"));
    ASSERT_EQ(rgb.size(), 90u * 58 * 3);
    int worst = 0;
    for (int i = 0; i < 90 * 58; ++i) {
      const uint32_t word = out.plane.At(i % 90, i / 90);
      ASSERT_EQ(word & 0xFF000000, kDrawAreaFlag);
      for (int ch = 0; ch < 3; ++ch)
        worst = std::max(worst, std::abs(int((word >> (16 - 8 * ch)) & 0xFF) - rgb[i * 3 + ch]));
    }
    EXPECT_LE(worst, 2);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(JpegTest, DecoderBlockHoldsTheSameColoursTopRowFirst) {
  for (const char* name : {"grey", "colour", "cmyk"}) {
    SCOPED_TRACE(name);
    const fs::path path = dir / (std::string(name) + ".jpg");
    BitmapFileHeader fileHeader;
    PictureHeader pictureHeader;
    platform::Block pixels;
    int width = 0, height = 0;
    ASSERT_NE(DecodeJpeg(allocator, path.c_str(), &fileHeader, &pictureHeader, &pixels, &width,
                         &height),
              0);
    EXPECT_EQ(pictureHeader.width, width);
    EXPECT_EQ(pictureHeader.bitsPerPixel, 32);
    EXPECT_EQ(fileHeader.fileSize, uint32_t(width) * 4 * height + 54);
    DecodedPicture out;
    ASSERT_TRUE(Load(path, out));
    const uint8_t* bgr = pixels.get();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x, bgr += 3)
        ASSERT_EQ(out.plane.At(x, y),
                  uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0] | kDrawAreaFlag);
  }
}

TEST_F(JpegTest, TruncatedFilesFailWithTheLoadMessage) {
  const std::vector<uint8_t> whole = ReadBytes(dir / "colour.jpg");
  for (size_t length = 0; length < whole.size(); ++length) {
    WriteBytes(dir / "cut.jpg", {whole.begin(), whole.begin() + std::ptrdiff_t(length)});
    DecodedPicture out;
    host.messages.clear();
    EXPECT_FALSE(Load(dir / "cut.jpg", out)) << length;
    ASSERT_EQ(host.messages.size(), 1u) << length;
    EXPECT_EQ(host.messages[0].text, "cut.jpg の読み込みに失敗しました。");
    EXPECT_EQ(host.messages[0].caption, "読み込み失敗");
    EXPECT_TRUE(out.plane.Empty());
  }
}

TEST_F(JpegTest, CorruptFilesNeverCrash) {
  const std::vector<uint8_t> whole = ReadBytes(dir / "progressive.jpg");
  for (size_t at = 0; at < whole.size(); at += 3) {
    std::vector<uint8_t> bytes = whole;
    bytes[at] ^= 0xA5;
    WriteBytes(dir / "bad.jpg", bytes);
    DecodedPicture out;
    host.messages.clear();
    if (!Load(dir / "bad.jpg", out)) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].caption, "読み込み失敗");
    } else {
      EXPECT_EQ(out.plane.Width(), 90);
    }
  }
}

TEST_F(JpegTest, SizeLimitsComeBeforeTheAllocation) {
  DecodedPicture out;
  bool asked = false;
  EXPECT_FALSE(Load(dir / "wide.jpg", out, [&](int, int) { return asked = true; }));
  EXPECT_FALSE(asked);
  ASSERT_EQ(host.messages.size(), 1u);
  host.messages.clear();
  EXPECT_FALSE(Load(dir / "colour.jpg", out, [](int w, int h) { return w * h < 100; }));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(Load(dir / "missing.jpg", out));
  EXPECT_EQ(host.messages.back().text, "missing.jpg の読み込みに失敗しました。");
}

}  // namespace
}  // namespace lumavex
