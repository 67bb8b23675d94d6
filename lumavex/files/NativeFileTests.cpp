#include "lumavex/files/NativeFile.h"

#include "lumavex/files/PictureTestSupport.h"

namespace lumavex::testing {
namespace {

class NativeFileTest : public PictureFileTest {
 protected:
  // Saves `area` of the canvas and returns the file's bytes.
  Bytes Save(const std::string& name, const PictureArea& area) {
    SaveFile file(Path(name));
    EXPECT_TRUE(file.Open());
    EXPECT_EQ(WriteNativeFile(file, canvas, area, block.data(), block.size()), WriteResult::Written);
    EXPECT_TRUE(file.Commit());
    return ReadBytes(Path(name));
  }
  Bytes SaveWhole(const std::string& name) {
    return Save(name, {0, 0, canvas.Width(), canvas.Height()});
  }
};

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (size_t i = 0; i + 1 < hex.size();) {
    if (hex[i] == ' ' || hex[i] == '\n') {
      ++i;
      continue;
    }
    out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  return out;
}

TEST_F(NativeFileTest, TwoByTwoPictureIsEightySixBytesWithOneLayerInItsSizeField) {
  NewPicture(2, 2);
  Deselect(canvas.display.At(0, 0), canvas.frame.At(0, 0));
  canvas.display.At(1, 1) = 0x02445566;
  canvas.frame.At(1, 1) = 0xC8112233;

  const Bytes expected = FromHex(
      "424D 46000000 0000 0000 36000000"                     // file header, size field 70
      "28000000 02000000 02000000 0100 2000 00000000"        // picture header
      "00000000 00000000 00000000 00000000 00000000"
      "FFFFFF02 66554402 00808000 332211C8"                   // bottom line: display, frame
      "FF000003 FFFFFF02 80000000 00808000");                // top line: display, frame
  const Bytes written = SaveWhole("a.lmv");
  EXPECT_EQ(written.size(), 86u);
  EXPECT_EQ(written, expected);
}

TEST_F(NativeFileTest, RectangleSaveWritesItsSegmentsBottomLineFirst) {
  NewPicture(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      canvas.display.At(x, y) = 0x02000000 | x << 8 | y;
      canvas.frame.At(x, y) = 0x10000000 | x << 8 | y;
    }
  const Bytes b = Save("r.lmv", {1, 1, 2, 2});
  ASSERT_EQ(b.size(), 54u + 2 * 2 * 8);
  EXPECT_EQ(Get32(b, 2), 2u * 2 * 4 + 54);
  EXPECT_EQ(Get32(b, 18), 2u);
  EXPECT_EQ(Get32(b, 22), 2u);
  const uint32_t expected[] = {0x02000102, 0x02000202, 0x10000102, 0x10000202,
                               0x02000101, 0x02000201, 0x10000101, 0x10000201};
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(Get32(b, 54 + 4 * i), expected[i]) << i;
}

TEST_F(NativeFileTest, SavingALoadedPictureGivesTheSameBytes) {
  NewPicture(37, 19);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 37; ++x) {
      uint32_t& d = canvas.display.At(x, y);
      uint32_t& f = canvas.frame.At(x, y);
      d = 0x02000000 | (x * 7) << 16 | (y * 13) << 8 | ((x + y) & 0xFF);
      if ((x + y) % 5 == 0) f = 0x80000000 | (x << 16) | y;  // a frame
      if (x > 30) {                                            // outside the drawing area
        d &= ~kDrawAreaFlag;
        f = BackdropFor(x, y, d);
      }
      if (y > 12) Deselect(d, f);
    }
  const Bytes first = SaveWhole("a.lmv");
  ASSERT_TRUE(LoadCanvasPicture(Services(), Path("a.lmv"), "./a.lmv", canvas));
  EXPECT_EQ(SaveWhole("b.lmv"), first);
}

TEST_F(NativeFileTest, LoadingDropsFramesOutsideTheDrawingAreaAndRestoresBackdrops) {
  const uint32_t nonDrawNonSelected = 0x01123456;
  const Bytes file = NativeBytes(2, 2, {0x00123456, 0x02ABCDEF, nonDrawNonSelected, 0x02000000},
                                 {0xC8AABBCC, 0x00FFFFFF, 0x12345678, 0x7F010203});
  ASSERT_TRUE(LoadIntoCanvas("a.lmv", file));
  EXPECT_EQ(canvas.frame.At(0, 0), kWaterEven);        // a frame of opacity 200 dropped
  EXPECT_EQ(canvas.frame.At(1, 0), kLandEven);         // no frame: land
  EXPECT_EQ(canvas.frame.At(0, 1), 0x00800000u);       // water shifted for non-selected
  EXPECT_EQ(canvas.frame.At(1, 1), 0x7F010203u);       // a frame in the drawing area stays
  EXPECT_EQ(canvas.display.At(0, 0), 0x00123456u);
  EXPECT_EQ(canvas.display.At(0, 1), nonDrawNonSelected);
  EXPECT_EQ(canvas.work.At(1, 1), 0u);
  EXPECT_EQ(canvas.fileHeader.fileSize, 70u);
}

TEST_F(NativeFileTest, CanvasFrameWordFollowsTheBackdropCheckerAcrossCells) {
  EXPECT_EQ(CanvasFrameWord(8, 0, 0x02FFFFFF, 0x00000000), kLandOdd);
  EXPECT_EQ(CanvasFrameWord(8, 8, 0x02FFFFFF, 0x00000000), kLandEven);
  EXPECT_EQ(CanvasFrameWord(8, 0, 0x00FFFFFF, 0xFF000000), kWaterOdd);
  EXPECT_EQ(CanvasFrameWord(0, 0, 0x030000FF, 0x00000000), 0x00000080u);
}

TEST_F(NativeFileTest, LoadedFrameWordsMatchTheOneByOneRuleForAnyStoredWords) {
  const int width = 67, height = 21;
  std::vector<uint32_t> display(width * height), frame(width * height);
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (size_t i = 0; i < display.size(); ++i) {
    display[i] = next();
    frame[i] = next() & (i % 3 ? 0xFFFFFFFF : 0x00FFFFFF);
  }
  ASSERT_TRUE(LoadIntoCanvas("r.lmv", NativeBytes(width, height, display, frame)));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y * width + x);
      ASSERT_EQ(canvas.frame.At(x, y), CanvasFrameWord(x, y, display[i], frame[i])) << x << "," << y;
      ASSERT_EQ(canvas.display.At(x, y), display[i]);
    }
}

TEST_F(NativeFileTest, PasteSourcesComeWithTrueColoursOrABorderOfZero) {
  // A white drawing-area pixel marked non-selected, and a selected one with a frame.
  const Bytes file = NativeBytes(2, 2, {0x030000FF, 0x02FFFFFF, 0x02FFFFFF, 0x02FFFFFF},
                                 {0x00000080, 0x90102030, 0x00808000, 0x00C0C000});
  WriteBytes(Path("p.lmv"), file);
  PixelPlane display, frame;

  ASSERT_TRUE(LoadPastePicture(Services(), Path("p.lmv"), "./p.lmv", PasteVariant::SameSizeUnmarked,
                               display, frame));
  EXPECT_EQ(display.At(0, 0), 0x02FFFFFFu);
  EXPECT_EQ(frame.At(0, 0), 0x00808000u);
  EXPECT_EQ(frame.At(1, 0), 0x90102030u);
  EXPECT_EQ(frame.At(1, 1), 0x00C0C000u);  // as stored: no backdrop rule applied

  ASSERT_TRUE(LoadPastePicture(Services(), Path("p.lmv"), "./p.lmv", PasteVariant::SameSize,
                               display, frame));
  EXPECT_EQ(display.At(0, 0), 0x030000FFu);
  EXPECT_EQ(frame.At(0, 0), 0x00000080u);

  ASSERT_TRUE(LoadPastePicture(Services(), Path("p.lmv"), "./p.lmv", PasteVariant::Bordered,
                               display, frame));
  ASSERT_EQ(display.Width(), 4);
  ASSERT_EQ(display.Height(), 4);
  EXPECT_EQ(display.At(1, 1), 0x02FFFFFFu);
  EXPECT_EQ(frame.At(2, 1), 0x90102030u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(display.At(i, 0), 0u);
    EXPECT_EQ(display.At(0, i), 0u);
    EXPECT_EQ(frame.At(i, 3), 0u);
    EXPECT_EQ(frame.At(3, i), 0u);
  }
}

}  // namespace
}  // namespace lumavex::testing
