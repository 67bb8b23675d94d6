#include <algorithm>

#include "lumavex/files/PictureInput.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/files/PictureTestSupport.h"

namespace lumavex::testing {
namespace {

class PictureLoadTest : public PictureFileTest {};

// Every file of the corrupt folder, with what it breaks.
std::vector<std::pair<std::string, Bytes>> CorruptFiles() {
  std::vector<std::pair<std::string, Bytes>> files;
  const Bytes native = NativeBytes(3, 2, std::vector<uint32_t>(6, 0x02FFFFFF),
                                   std::vector<uint32_t>(6, 0x00808000));
  const Bytes bmp8 = BmpBytes(8, 3, 2, {0, 1, 1, 0, 1, 0}, {0, 0xFFFFFF}, 2);
  const Bytes bmp24 = BmpBytes(24, 3, 2, {1, 2, 3, 4, 5, 6});
  auto add = [&](std::string name, Bytes b) { files.emplace_back(std::move(name), std::move(b)); };
  auto patched = [](Bytes b, size_t at, uint32_t v) {
    Patch32(b, at, v);
    return b;
  };
  auto cut = [](Bytes b, size_t size) {
    b.resize(size);
    return b;
  };
  for (const auto& [ext, good] : {std::pair{std::string(".lmv"), native},
                                  std::pair{std::string(".bmp"), bmp24}}) {
    add("empty" + ext, {});
    add("ten-bytes" + ext, cut(good, 10));
    add("headers-only" + ext, cut(good, 54));
    add("one-line-short" + ext, cut(good, good.size() - 1));
    add("zero-width" + ext, patched(good, 18, 0));
    // A BMP of height -2 is a picture stored top line first; -1 is too low for either.
    add("negative-height" + ext, patched(good, 22, uint32_t(ext == ".bmp" ? -1 : -2)));
    add("huge-width" + ext, patched(good, 18, 0x7FFFFFFF));
    add("huge-height" + ext, patched(good, 22, 0x40000000));
    add("size-field-max" + ext, patched(good, 2, 0xFFFFFFFF));
  }
  // The native reader takes the pixels at 54 whatever the offset field says.
  add("offset-max.bmp", patched(bmp24, 10, 0xFFFFFFFF));
  add("wide-and-short.lmv", patched(patched(native, 18, 40000), 2, 40000 * 2 * 4 + 54));
  add("overflowing-size.lmv", patched(patched(patched(native, 18, 32768), 22, 32768), 2, 0 + 54));
  add("palette-count-max.bmp", patched(bmp8, 46, 0xFFFFFFFF));
  add("palette-count-beyond-index.bmp", patched(patched(bmp8, 46, 1), 10, 58));
  add("palette-index-high.bmp", BmpBytes(8, 3, 2, {0, 1, 2, 3, 200, 1}, {0, 0xFFFFFF}, 2));
  add("sixteen-bit-short.bmp", cut(BmpBytes(16, 3, 2, {0, 1, 2, 3, 4, 5}, {0, 1}, 2), 70));
  add("compressed.bmp", patched(bmp24, 30, 1));
  add("thirty-two-bit.bmp", patched(bmp24, 28 - 2, 0x00200001));
  add("no-extension", native);
  add("unknown.png", bmp24);
  return files;
}

TEST_F(PictureLoadTest, EveryCorruptFileIsRefusedWithAMessageOrQuietly) {
  fs::create_directories(folder / "corrupt");
  for (const auto& [name, bytes] : CorruptFiles()) {
    SCOPED_TRACE(name);
    const std::string path = (folder / "corrupt" / name).string();
    WriteBytes(path, bytes);
    host.messages.clear();
    host.messageAnswers.assign(4, platform::MessageResult::No);  // refuse the area question
    EXPECT_FALSE(LoadCanvasPicture(Services(), path, name, canvas));
    EXPECT_FALSE(canvas.HasPicture());
    EXPECT_EQ(host.messages.empty(), name == "no-extension");
    for (PasteVariant variant :
         {PasteVariant::SameSize, PasteVariant::SameSizeUnmarked, PasteVariant::Bordered}) {
      PixelPlane display, frame;
      EXPECT_FALSE(LoadPastePicture(Services(), path, name, variant, display, frame));
      EXPECT_TRUE(display.Empty());
      EXPECT_TRUE(frame.Empty());
    }
  }
}

TEST_F(PictureLoadTest, ATruncatedNativeFileIsASizeError) {
  Bytes file = NativeBytes(2, 2, std::vector<uint32_t>(4, 0x02FFFFFF), std::vector<uint32_t>(4, 0));
  file.resize(file.size() - 4);
  EXPECT_FALSE(LoadIntoCanvas("t.lmv", file));
  EXPECT_EQ(LastMessage(), "./t.lmv はLMVサイズが不正です。");
  EXPECT_EQ(host.messages.back().caption, "エラー");
}

TEST_F(PictureLoadTest, ScatteredReadsFillTheirPartsInOrderAndTheStreamGoesOnAfterThem) {
  Bytes bytes(100000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
  WriteBytes(Path("s.bin"), bytes);
  std::FILE* file = std::fopen(Path("s.bin").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  PictureInput input{host, allocator, file, bytes.size(), "s.bin"};
  uint8_t head[5];
  ASSERT_TRUE(input.ReadExactly(head, sizeof head));  // the stream has read ahead by now

  Bytes a(40000), c(50000);
  iovec parts[] = {{a.data(), a.size()}, {nullptr, 0}, {c.data(), c.size()}};
  ASSERT_TRUE(input.ReadScattered(parts));
  EXPECT_TRUE(std::equal(a.begin(), a.end(), bytes.begin() + 5));
  EXPECT_TRUE(std::equal(c.begin(), c.end(), bytes.begin() + 40005));
  uint8_t next[3];
  ASSERT_TRUE(input.ReadExactly(next, sizeof next));
  EXPECT_TRUE(std::equal(next, next + 3, bytes.begin() + 90005));

  Bytes beyond(20000);
  iovec tail{beyond.data(), beyond.size()};
  EXPECT_FALSE(input.ReadScattered({&tail, 1}));
  std::fclose(file);
}

TEST_F(PictureLoadTest, NativeHeaderChecksComeInTheirOrder) {
  const Bytes good = NativeBytes(2, 2, std::vector<uint32_t>(4, 0x02FFFFFF),
                                 std::vector<uint32_t>(4, 0x00808000));
  struct Case {
    size_t at;
    int bytes;
    uint32_t value;
    const char* message;
    const char* caption;
  };
  const Case cases[] = {
      {22, 4, 1, "幅は２以上、高さは２以上でなければなりません。", "ロード不可"},
      {18, 4, 30001, "幅と高さは３００００以下でなければなりません。", "ロード不可"},
      {28, 2, 24, "LMVではありません。", "ロードエラー"},
      {0, 2, 0x4D41, "./x.lmv はビットマップファイルではありません。", "エラー"},
      // A plain 32-bit BMP's size field (its true length) is not a native file's.
      {2, 4, 86, "./x.lmv はLMVサイズが不正です。", "エラー"},
      {14, 4, 108, "./x.lmv は BITMAPINFOHEADER 構造体サイズが不正です。", "エラー"},
      {26, 2, 0, "./x.lmv はLMVプレーン数が１ではありません。", "エラー"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Bytes file = good;
    if (c.bytes == 2) Patch16(file, c.at, c.value);
    else Patch32(file, c.at, c.value);
    EXPECT_FALSE(LoadIntoCanvas("x.lmv", file));
    EXPECT_EQ(LastMessage(), c.message);
    EXPECT_EQ(host.messages.back().caption, c.caption);
  }
}

TEST_F(PictureLoadTest, TheAreaQuestionComesBeforeTheOtherChecksAndNoRefusesTheLoad) {
  memory.totalPhysical = 160;  // allows 7 pixels
  Bytes file = NativeBytes(2, 4, std::vector<uint32_t>(8, 0x02FFFFFF), std::vector<uint32_t>(8, 0));
  Patch16(file, 28, 24);
  host.messageAnswers = {platform::MessageResult::No};
  EXPECT_FALSE(LoadIntoCanvas("a.lmv", file));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "面積制限エラー");
  host.messageAnswers = {platform::MessageResult::Yes};
  EXPECT_FALSE(LoadIntoCanvas("a.lmv", file));
  EXPECT_EQ(LastMessage(), "LMVではありません。");
}

TEST_F(PictureLoadTest, TheExtensionChoosesTheReaderWithoutRegardToCase) {
  WriteBytes(Path("A.LMV"), NativeBytes(2, 2, std::vector<uint32_t>(4, 0x02ABCDEF),
                                       std::vector<uint32_t>(4, 0)));
  WriteBytes(Path("b.Bmp"), BmpBytes(24, 2, 2, {1, 2, 3, 4}));
  ASSERT_TRUE(LoadCanvasPicture(Services(), Path("A.LMV"), "./A.LMV", canvas));
  EXPECT_EQ(canvas.display.At(1, 1), 0x02ABCDEFu);
  ASSERT_TRUE(LoadCanvasPicture(Services(), Path("b.Bmp"), "./b.Bmp", canvas));
  EXPECT_EQ(canvas.display.At(1, 1), 0x02000004u);
  EXPECT_EQ(PictureExtension("./dir.v2/name"), "");
  EXPECT_EQ(PictureExtension("./a.b.lmv"), ".lmv");
}

TEST_F(PictureLoadTest, PngLoadErrorsNameTheFileOnASecondLine) {
  Bytes random(300);
  uint32_t seed = 5;
  for (uint8_t& b : random) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
  EXPECT_FALSE(LoadIntoCanvas("random.png", random));
  EXPECT_EQ(LastMessage(), "PNG ではありません。\n./random.png");
  EXPECT_EQ(host.messages.back().caption, "ロードエラー");
  // A PNG signature over nothing more: libpng gives up.
  EXPECT_FALSE(LoadIntoCanvas("cut.png", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}));
  EXPECT_EQ(LastMessage(), "PNG ライブラリ内部エラー。\n./cut.png");
  PixelPlane display, frame;
  EXPECT_FALSE(LoadPastePicture(Services(), Path("random.png"), "./random.png",
                                PasteVariant::SameSize, display, frame));
  EXPECT_EQ(LastMessage(), "PNG ではありません。\n./random.png");
}

TEST_F(PictureLoadTest, AnUnknownExtensionOrAMissingFileKeepsTheCanvas) {
  NewPicture(4, 4);
  WriteBytes(Path("a.gif"), Bytes{1, 2, 3});
  EXPECT_FALSE(LoadCanvasPicture(Services(), Path("a.gif"), "./a.gif", canvas));
  EXPECT_EQ(LastMessage(), "True Color のビットマップまたは LMV ではありません。");
  EXPECT_EQ(host.messages.back().caption, "ロード不可");
  EXPECT_FALSE(LoadCanvasPicture(Services(), Path("gone.lmv"), "./gone.lmv", canvas));
  EXPECT_EQ(LastMessage(), "ファイルが存在しません。");
  EXPECT_EQ(host.messages.back().caption, "ファイル属性エラー");
  fs::create_directory(Path("dir.lmv"));
  EXPECT_FALSE(LoadCanvasPicture(Services(), Path("dir.lmv"), "./dir.lmv", canvas));
  EXPECT_EQ(LastMessage(), "これはディレクトリです。");
  EXPECT_TRUE(canvas.HasPicture());
}

TEST_F(PictureLoadTest, ThirtyThousandLinePicturesLoad) {
  const int height = 30000;
  std::vector<uint32_t> display(2 * height, 0x02FFFFFF), frame(2 * height, 0x00808000);
  display[0] = 0x02000001;                   // top-left
  display[2 * height - 1] = 0x02000002;      // bottom-right
  frame[2 * height - 1] = 0x40123456;
  ASSERT_TRUE(LoadIntoCanvas("tall.lmv", NativeBytes(2, height, display, frame)));
  EXPECT_EQ(canvas.display.At(0, 0), 0x02000001u);
  EXPECT_EQ(canvas.display.At(1, height - 1), 0x02000002u);
  EXPECT_EQ(canvas.frame.At(1, height - 1), 0x40123456u);
  EXPECT_EQ(canvas.frame.At(0, 8), kLandOdd);

  std::vector<uint32_t> colours(2 * height, 0x808080);
  colours[1] = 0x010203;
  ASSERT_TRUE(LoadIntoCanvas("tall.bmp", BmpBytes(24, 2, height, colours)));
  EXPECT_EQ(canvas.display.At(1, 0), 0x02010203u);
  EXPECT_EQ(canvas.display.At(0, height - 1), 0x02808080u);
}

TEST_F(PictureLoadTest, BmpPasteSourcesGetLandBackdropOrRepeatedEdges) {
  WriteBytes(Path("p.bmp"), BmpBytes(24, 2, 2, {0x11, 0x22, 0x33, 0x44}));
  PixelPlane display, frame;
  ASSERT_TRUE(LoadPastePicture(Services(), Path("p.bmp"), "./p.bmp", PasteVariant::SameSize,
                               display, frame));
  EXPECT_EQ(display.At(1, 0), 0x02000022u);
  EXPECT_EQ(frame.At(1, 1), kLandEven);
  ASSERT_TRUE(LoadPastePicture(Services(), Path("p.bmp"), "./p.bmp", PasteVariant::Bordered,
                               display, frame));
  EXPECT_TRUE(frame.Empty());
  const uint32_t expected[4][4] = {{0x11, 0x11, 0x22, 0x22},
                                   {0x11, 0x11, 0x22, 0x22},
                                   {0x33, 0x33, 0x44, 0x44},
                                   {0x33, 0x33, 0x44, 0x44}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(display.At(x, y), expected[y][x] | kDrawAreaFlag);
}

}  // namespace
}  // namespace lumavex::testing
