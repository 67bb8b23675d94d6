#include "lumavex/files/BmpRead.h"

#include "lumavex/files/PictureTestSupport.h"

namespace lumavex::testing {
namespace {

// A 6 × 5 'F', no rotational symmetry: 1 where the letter is.
const std::vector<uint32_t> kLetterF = {
    1, 1, 1, 1, 1, 0,  //
    1, 0, 0, 0, 0, 0,  //
    1, 1, 1, 1, 0, 0,  //
    1, 0, 0, 0, 0, 0,  //
    1, 0, 0, 0, 0, 0,
};

class BmpReadTest : public PictureFileTest {
 protected:
  void ExpectRefused(const Bytes& file, const std::string& message,
                     const std::string& caption = "ロードエラー") {
    EXPECT_FALSE(LoadIntoCanvas("x.bmp", file));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, message);
    EXPECT_EQ(host.messages.back().caption, caption);
    EXPECT_FALSE(canvas.HasPicture());
  }
  // The loaded picture's colours, top line first, flags kept.
  std::vector<uint32_t> Pixels() const {
    std::vector<uint32_t> out;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) out.push_back(canvas.display.At(x, y));
    return out;
  }
  static std::vector<uint32_t> Coloured(const std::vector<uint32_t>& indexes,
                                        const std::vector<uint32_t>& palette) {
    std::vector<uint32_t> out;
    for (uint32_t i : indexes) out.push_back(palette[i] | kDrawAreaFlag);
    return out;
  }
};

// The same picture stored top line first: the rows in the other order and the
// height negative.
Bytes TopDown(const Bytes& bottomUp) {
  const int32_t height = static_cast<int32_t>(Get32(bottomUp, 22));
  const size_t offset = Get32(bottomUp, 10);
  const size_t rowBytes = (bottomUp.size() - offset) / static_cast<size_t>(height);
  Bytes out(bottomUp.begin(), bottomUp.begin() + std::ptrdiff_t(offset));
  Patch32(out, 22, static_cast<uint32_t>(-height));
  for (int32_t row = height - 1; row >= 0; --row) {
    const auto from = bottomUp.begin() + std::ptrdiff_t(offset + rowBytes * size_t(row));
    out.insert(out.end(), from, from + std::ptrdiff_t(rowBytes));
  }
  return out;
}

TEST_F(BmpReadTest, TopDownFilesLoadTheRightWayUp) {
  const std::vector<uint32_t> palette = {0x102030, 0xF0E0D0};
  for (int bits : {1, 4, 8, 16}) {
    SCOPED_TRACE(bits);
    ASSERT_TRUE(LoadIntoCanvas("f.bmp", TopDown(BmpBytes(bits, 6, 5, kLetterF, palette))));
    EXPECT_EQ(Pixels(), Coloured(kLetterF, palette));
  }
  // 24 bits, and heights around the eight-row blocks the rows are read in.
  uint32_t seed = 7;
  for (int height : {2, 8, 9, 21}) {
    SCOPED_TRACE(height);
    std::vector<uint32_t> colours(static_cast<size_t>(5 * height));
    for (uint32_t& c : colours) c = (seed = seed * 1664525u + 1013904223u) >> 8;
    const Bytes bottomUp = BmpBytes(24, 5, height, colours);
    ASSERT_TRUE(LoadIntoCanvas("c.bmp", TopDown(bottomUp)));
    const std::vector<uint32_t> topDown = Pixels();
    ASSERT_TRUE(LoadIntoCanvas("c.bmp", bottomUp));
    EXPECT_EQ(topDown, Pixels());
    EXPECT_EQ(canvas.Height(), height);
  }
}

TEST_F(BmpReadTest, TopDownFilesAreReducedLikeBottomUpOnes) {
  std::vector<uint32_t> colours(static_cast<size_t>(23 * 19));
  for (size_t i = 0; i < colours.size(); ++i) colours[i] = uint32_t(i * 2654435761u) >> 8;
  const Bytes bottomUp = BmpBytes(24, 23, 19, colours);
  LoadSizing sizing;
  sizing.policy = LoadSizePolicy::ReduceToGiven;
  sizing.given = {7, 5};
  std::vector<uint32_t> reduced[2];
  for (int i = 0; i < 2; ++i) {
    WriteBytes(Path("r.bmp"), i ? TopDown(bottomUp) : bottomUp);
    ASSERT_TRUE(LoadCanvasPicture(Services(), Path("r.bmp"), "./r.bmp", canvas, sizing));
    EXPECT_LT(canvas.Width(), 23);
    reduced[i] = Pixels();
  }
  EXPECT_EQ(reduced[0], reduced[1]);
}

TEST_F(BmpReadTest, TopDownFilesKeepTheSizeChecks) {
  const Bytes good = TopDown(BmpBytes(8, 6, 5, kLetterF, {0, 0xFFFFFF}));
  Bytes one = good;
  Patch32(one, 22, uint32_t(-1));
  ExpectRefused(one, "幅は２以上、高さは２以上でなければなりません。");
  Bytes lowest = good;
  Patch32(lowest, 22, 0x80000000u);
  ExpectRefused(lowest, "幅は２以上、高さは２以上でなければなりません。");
  // One line more than the file holds.
  Bytes tall = good;
  Patch32(tall, 22, uint32_t(-6));
  ExpectRefused(tall, "./x.bmp はビットマップサイズが不正です。");
}

TEST_F(BmpReadTest, TopDownFilesAgreeWithPil) {
  const std::string python = PythonWithPil();
  if (python.empty()) GTEST_SKIP() << "no python3 with PIL";
  std::vector<uint32_t> colours(7 * 11);
  for (size_t i = 0; i < colours.size(); ++i)
    colours[i] = uint32_t(i * 0x030507 + 0x102030) & 0xFFFFFF;
  const Bytes file = TopDown(BmpBytes(24, 7, 11, colours));
  WriteBytes(Path("pil.bmp"), file);
  ASSERT_TRUE(LoadIntoCanvas("mine.bmp", file));
  // PIL writes the pixels it decoded, top line first, as 0xRRGGBB words in hex.
  const std::string script =
      "from PIL import Image\n"
      "im = Image.open('" +
      Path("pil.bmp") +
      "').convert('RGB')\n"
      "print(' '.join('%06x' % (r << 16 | g << 8 | b) for r, g, b in im.getdata()))\n";
  const std::string command = python + " -c \"" + script + "\" > " + Path("pil.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(Path("pil.txt"));
  std::vector<uint32_t> pil;
  for (std::string word; in >> word;) pil.push_back(std::stoul(word, nullptr, 16) | kDrawAreaFlag);
  EXPECT_EQ(Pixels(), pil);
}

TEST_F(BmpReadTest, EveryPalettedDepthDecodesTheLetter) {
  const std::vector<uint32_t> palette = {0x102030, 0xF0E0D0};
  for (int bits : {1, 2, 4, 8, 16}) {
    SCOPED_TRACE(bits);
    ASSERT_TRUE(LoadIntoCanvas("f.bmp", BmpBytes(bits, 6, 5, kLetterF, palette)));
    EXPECT_EQ(Pixels(), Coloured(kLetterF, palette));
  }
}

TEST_F(BmpReadTest, HighIndexesOfPackedDepthsUseTheirLastPaletteEntries) {
  std::vector<uint32_t> palette(16);
  for (uint32_t i = 0; i < 16; ++i) palette[i] = i * 0x111111;
  const std::vector<uint32_t> indexes = {15, 14, 3, 0, 9, 1, 2, 15, 12, 5};
  ASSERT_TRUE(LoadIntoCanvas("n.bmp", BmpBytes(4, 5, 2, indexes, palette)));
  EXPECT_EQ(Pixels(), Coloured(indexes, palette));
  std::vector<uint32_t> twoBit = {3, 2, 1, 0, 3, 3, 0, 1, 2, 1};
  ASSERT_TRUE(LoadIntoCanvas("t.bmp", BmpBytes(2, 5, 2, twoBit, {0, 0x555555, 0xAAAAAA, 0xFFFFFF})));
  EXPECT_EQ(Pixels(), Coloured(twoBit, {0, 0x555555, 0xAAAAAA, 0xFFFFFF}));
}

TEST_F(BmpReadTest, TrueColourTakesBlueGreenRedWithDrawAreaAndLandBackdrop) {
  const std::vector<uint32_t> colours = {0x010203, 0xFFFFFF, 0x800000, 0x00FF00, 0x0000FF, 0x7F8080};
  ASSERT_TRUE(LoadIntoCanvas("c.bmp", BmpBytes(24, 3, 2, colours)));
  EXPECT_EQ(Pixels(), Coloured({0, 1, 2, 3, 4, 5}, colours));
  EXPECT_EQ(canvas.frame.At(2, 1), kLandEven);
  EXPECT_EQ(canvas.work.At(2, 1), 0u);
  EXPECT_EQ(canvas.fileHeader.fileSize, 3u * 2 * 4 + 54);
}

TEST_F(BmpReadTest, TrueColourRowsOfEveryWidthKeepEachPixelAndNoPadding) {
  // Widths around the four-pixel steps of the row expansion, with their row padding.
  uint32_t seed = 99;
  for (int width = 2; width <= 23; ++width) {
    SCOPED_TRACE(width);
    std::vector<uint32_t> colours(static_cast<size_t>(width) * 3);
    for (uint32_t& c : colours) c = (seed = seed * 1664525u + 1013904223u) >> 8;
    ASSERT_TRUE(LoadIntoCanvas("w.bmp", BmpBytes(24, width, 3, colours)));
    EXPECT_EQ(Pixels(), Coloured([&] {
                std::vector<uint32_t> i(colours.size());
                for (size_t k = 0; k < i.size(); ++k) i[k] = static_cast<uint32_t>(k);
                return i;
              }(), colours));
  }
}

TEST_F(BmpReadTest, TrueColourDataMustStartRightAfterTheHeaders) {
  Bytes file = BmpBytes(24, 2, 2, {1, 2, 3, 4});
  ASSERT_TRUE(LoadIntoCanvas("c.bmp", file));
  Patch32(file, 10, 58);
  ExpectRefused(file, "./x.bmp はデータ開始位置が不正です。");
}

TEST_F(BmpReadTest, EightBitsWithoutColourCountNeedTheWholePalette) {
  const Bytes file = BmpBytes(8, 2, 2, {0, 255, 7, 1}, {0x000000, 0x010101});
  EXPECT_EQ(Get32(file, 10), 1078u);
  ASSERT_TRUE(LoadIntoCanvas("e.bmp", file));
  EXPECT_EQ(canvas.display.At(0, 1), 0x02000000u);

  Bytes shortPalette = BmpBytes(8, 2, 2, {0, 1, 1, 0}, {0x000000, 0x010101}, 2);
  EXPECT_EQ(Get32(shortPalette, 10), 62u);
  Patch32(shortPalette, 46, 0);
  ExpectRefused(shortPalette, "./x.bmp はビットマップサイズが不正です。");
}

TEST_F(BmpReadTest, SixteenBitsWithoutPaletteAreRefusedAtTheDataOffset) {
  Bytes file = Headers(54 + 8, 54, 2, 2, 16, 0);
  file.resize(54 + 8, 0);
  Patch32(file, 2, 54 + 8);
  ExpectRefused(file, "./x.bmp はビットマップサイズが不正です。");
  // With the field naming a true size the data offset is what gives it away.
  Bytes big = Headers(0, 54, 2, 2, 16, 0);
  big.resize(54 + 65536 * 4 + 8, 0);
  Patch32(big, 2, uint32_t(big.size()));
  ExpectRefused(big, "./x.bmp はデータ開始位置が不正です。");
}

TEST_F(BmpReadTest, ThirtyTwoBitFilesAreRefused) {
  Bytes file = Headers(54 + 16, 54, 2, 2, 32, 0);
  file.resize(54 + 16, 0);
  ExpectRefused(file,
                "./x.bmp\nは 2, 4, 16, 256, High Color, True Color のビットマップファイルではありません。");
  Bytes counted = Headers(54 + 4 + 16, 58, 2, 2, 32, 1);
  counted.resize(54 + 4 + 16, 0);
  ExpectRefused(counted, "./x.bmp\nは High Color または True Color のビットマップファイルではありません。");
}

TEST_F(BmpReadTest, AnIndexBeyondThePaletteStopsTheLoad) {
  const Bytes file = BmpBytes(8, 2, 2, {0, 1, 2, 1}, {0x000000, 0xFFFFFF}, 2);
  ExpectRefused(file, "パレットが不正です。");
  const Bytes packed = BmpBytes(4, 3, 2, {0, 1, 1, 1, 1, 3}, {0x000000, 0xFFFFFF, 0x808080}, 3);
  ExpectRefused(packed, "パレットが不正です。");
}

TEST_F(BmpReadTest, HeaderChecksComeInTheirOrder) {
  const Bytes good = BmpBytes(24, 2, 2, {1, 2, 3, 4});
  struct Case {
    size_t at;
    int bytes;
    uint32_t value;
    const char* message;
  };
  const Case cases[] = {
      {18, 4, 1, "幅は２以上、高さは２以上でなければなりません。"},
      {22, 4, uint32_t(-1), "幅は２以上、高さは２以上でなければなりません。"},
      {0, 2, 0x4D43, "./x.bmp はビットマップファイルではありません。"},
      {2, 4, 71, "./x.bmp はビットマップサイズが不正です。"},
      {28, 2, 12, "./x.bmp\nは 2, 4, 16, 256, High Color, True Color のビットマップファイルではありません。"},
      {30, 4, 1, "./x.bmp は圧縮ビットマップデータです。"},
      {14, 4, 12, "./x.bmp は BITMAPINFOHEADER 構造体サイズが不正です。"},
      {26, 2, 2, "./x.bmp はビットマッププレーン数が１ではありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Bytes file = good;
    if (c.bytes == 2) Patch16(file, c.at, c.value);
    else Patch32(file, c.at, c.value);
    ExpectRefused(file, c.message);
  }
  // Signature and size both wrong: the signature is named.
  Bytes both = good;
  Patch16(both, 0, 0);
  Patch32(both, 2, 9);
  ExpectRefused(both, "./x.bmp はビットマップファイルではありません。");
}

TEST_F(BmpReadTest, RowsTimesHeightBeyondThirtyTwoBitsIsASizeError) {
  // 65536 × 65536 at 24 bits needs 12 GB of rows: the product must not wrap.
  Bytes file = Headers(0, 54, 65536, 65536, 24, 0);
  file.resize(64, 0);
  Patch32(file, 2, 64);
  ExpectRefused(file, "./x.bmp はビットマップサイズが不正です。");
  // 65536 × 16384 wraps to exactly 0 bytes of rows in 32 bits.
  Bytes wraps = Headers(0, 54, 65536, 16384, 32, 1);
  wraps.resize(58, 0);
  Patch32(wraps, 2, 58);
  Patch32(wraps, 10, 58);
  ExpectRefused(wraps, "./x.bmp はビットマップサイズが不正です。");
}

}  // namespace
}  // namespace lumavex::testing
