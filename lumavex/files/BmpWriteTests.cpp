#include "lumavex/files/BmpWrite.h"

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <sstream>
#include <vector>

#include "lumavex/files/PictureTestSupport.h"

namespace lumavex::testing {
namespace {

class BmpWriteTest : public PictureFileTest {
 protected:
  Bytes Save(const std::string& name, int bits) {
    SaveFile file(Path(name));
    EXPECT_TRUE(file.Open());
    EXPECT_EQ(WriteBmpFile(file, canvas.display, canvas.pictureHeader, bits, block.data(),
                           block.size()),
              WriteResult::Written);
    EXPECT_TRUE(file.Commit());
    return ReadBytes(Path(name));
  }
  // A 6 × 5 picture of varied colours; (1, 1) and (4, 3) are non-selected.
  void PaintSample() {
    NewPicture(6, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x)
        canvas.display.At(x, y) = kDrawAreaFlag | (x * 51) << 16 | (y * 63) << 8 | ((x * y * 17) & 0xFF);
    Deselect(canvas.display.At(1, 1), canvas.frame.At(1, 1));
    Deselect(canvas.display.At(4, 3), canvas.frame.At(4, 3));
  }
  uint32_t Shown(int x, int y) const { return TrueDisplayColour(canvas.display.At(x, y)); }
};

TEST_F(BmpWriteTest, GreyLevelIsTheRoundedMeanOfTheChannels) {
  EXPECT_EQ(GreyLevel(0xFFFFFF), 255u);
  EXPECT_EQ(GreyLevel(0x7F8080), 128u);
  EXPECT_EQ(GreyLevel(0x000001), 1u);  // (1 + 2) / 3
  EXPECT_EQ(GreyLevel(0x000000), 0u);
}

TEST_F(BmpWriteTest, WhiteIsTheLastLevelAtEveryDepthAndMidGreyIsUpperHalf) {
  NewPicture(2, 2);
  canvas.display.At(1, 1) = 0x027F8080;  // grey 128, bottom line, second pixel
  struct Depth {
    int bits;
    uint8_t bottomLine;  // first byte of the bottom row: white then (127,128,128)
  };
  for (const Depth d : {Depth{1, 0xC0}, Depth{2, 0xE0}, Depth{4, 0xF8}}) {
    SCOPED_TRACE(d.bits);
    const Bytes b = Save("g.bmp", d.bits);
    const size_t data = 54 + (size_t{1} << d.bits) * 4;
    ASSERT_EQ(b.size(), data + 2 * 4);
    EXPECT_EQ(b[data], d.bottomLine);
  }
  const Bytes b = Save("g8.bmp", 8);
  EXPECT_EQ(b[1078], 255);
  EXPECT_EQ(b[1079], 128);
}

TEST_F(BmpWriteTest, GreyPaletteStepsEvenlyFromBlackToWhite) {
  NewPicture(2, 2);
  const Bytes b = Save("p.bmp", 2);
  EXPECT_EQ(Get32(b, 46), 4u);        // colours used
  EXPECT_EQ(Get32(b, 10), 54u + 16);  // data offset
  const Bytes palette(b.begin() + 54, b.begin() + 70);
  EXPECT_EQ(palette, (Bytes{0, 0, 0, 0, 85, 85, 85, 0, 170, 170, 170, 0, 255, 255, 255, 0}));
}

TEST_F(BmpWriteTest, NonSelectedWhiteIsWrittenWhite) {
  NewPicture(2, 2);
  Deselect(canvas.display.At(0, 1), canvas.frame.At(0, 1));
  ASSERT_EQ(canvas.display.At(0, 1), 0x030000FFu);
  const Bytes b = Save("w.bmp", 24);
  EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 57), (Bytes{255, 255, 255}));
}

TEST_F(BmpWriteTest, TrueColourHeaderAndPaddedRowsAreExact) {
  NewPicture(3, 2);
  canvas.display.At(0, 1) = 0x02010203;
  const Bytes b = Save("c.bmp", 24);
  Bytes expected = Headers(54 + 12 * 2, 54, 3, 2, 24, 0);
  const Bytes rows = {3, 2, 1, 255, 255, 255, 255, 255, 255, 0, 0, 0,
                      255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0};
  expected.insert(expected.end(), rows.begin(), rows.end());
  EXPECT_EQ(b, expected);
}

TEST_F(BmpWriteTest, OurReaderGetsBackTheShownColours) {
  PaintSample();
  std::vector<uint32_t> shown;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) shown.push_back(Shown(x, y) | kDrawAreaFlag);
  Save("s.bmp", 24);
  ASSERT_TRUE(LoadCanvasPicture(Services(), Path("s.bmp"), "./s.bmp", canvas));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.display.At(x, y), shown[y * 6 + x]);
}

// Another decoder's view of the files: python3 with PIL prints every pixel, top line
// first, as "r,g,b" (true colour) or the grey level.
std::string DecodeWithPil(const std::string& path) {
  const std::string script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1])\n"
      "im = im.convert('RGB' if im.mode == 'RGB' else 'L')\n"
      "print(' '.join((','.join(map(str, p)) if isinstance(p, tuple) else str(p)) for p in im.getdata()))\n";
  const std::string scriptPath = path + ".py";
  const std::string outPath = path + ".txt";
  WriteBytes(scriptPath, Bytes(script.begin(), script.end()));
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command = std::string(python) + " " + scriptPath + " " + path + " > " +
                                outPath + " 2>/dev/null";
    if (std::system(command.c_str()) == 0) {
      const Bytes out = ReadBytes(outPath);
      return std::string(out.begin(), out.end());
    }
  }
  return {};
}

TEST_F(BmpWriteTest, AnotherDecoderSeesTheSamePixels) {
  PaintSample();
  Save("probe.bmp", 24);
  if (DecodeWithPil(Path("probe.bmp")).empty()) GTEST_SKIP() << "python3 with PIL is not available";

  // 2 bits per pixel is left out: PIL, like most decoders, does not read that depth.
  for (int bits : {24, 8, 4, 1}) {
    SCOPED_TRACE(bits);
    const std::string name = "pil" + std::to_string(bits) + ".bmp";
    Save(name, bits);
    std::ostringstream expected;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) {
        if (y || x) expected << ' ';
        const uint32_t c = Shown(x, y);
        if (bits == 24) {
          expected << Channel(c, 16) << ',' << Channel(c, 8) << ',' << Channel(c, 0);
        } else {
          const uint32_t levels = (1u << bits) - 1;
          expected << (GreyLevel(c) >> (8 - bits)) * (255 / levels);
        }
      }
    expected << '\n';
    EXPECT_EQ(DecodeWithPil(Path(name)), expected.str());
  }
}

// The row packing's fast path against the plain per-pixel loop: every width up to
// a few groups past the fast loop's tail and a full picture row, words with any bits
// set, and nothing written past the row's 3 × width bytes.
TEST(BmpRowPacking, FastPathWritesExactlyThePlainBytes) {
  std::mt19937 random(26);
  std::vector<int> widths(41);
  std::iota(widths.begin(), widths.end(), 0);
  widths.insert(widths.end(), {64, 1599, 1600});
  for (int width : widths) {
    SCOPED_TRACE(width);
    std::vector<uint32_t> words(static_cast<size_t>(width));
    for (uint32_t& w : words) {
      w = random();
      if (random() % 3 == 0) w |= kNonSelectedFlag;  // plenty of both kinds
    }
    const size_t bytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> fast(bytes + 16, 0xA5), plain(bytes + 16, 0xA5);
    PackFullColourRow(words.data(), width, fast.data());
    PackFullColourRowPlain(words.data(), width, plain.data());
    EXPECT_EQ(fast, plain);
  }
}

}  // namespace
}  // namespace lumavex::testing
