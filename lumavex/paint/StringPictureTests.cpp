#include <gtest/gtest.h>

#include "lumavex/paint/StringPicture.h"
#include "platform/TestHost.h"

namespace lumavex {
namespace {

constexpr uint32_t kColour = 0x123456;

class StringPictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { fonts_ = new platform::FontEngine; }
  static void TearDownTestSuite() {
    delete fonts_;
    fonts_ = nullptr;
  }

  static StringSetting Setting(const std::string& text, bool vertical = false, int spacing = 0) {
    StringSetting s;
    s.text = text;
    s.fontName = "IPAGothic";
    s.characterWidth = 40;
    s.characterHeight = 40;
    s.spacing = spacing;
    s.vertical = vertical;
    return s;
  }
  PastePicture Make(const StringSetting& s) {
    PastePicture p;
    EXPECT_EQ(MakeStringPicture(*fonts_, s, kColour, allocator, p), StringPictureResult::Made);
    return p;
  }
  // The picture's frame opacities inside its border.
  static std::vector<std::vector<int>> Coverage(const PastePicture& p) {
    std::vector<std::vector<int>> rows(p.Height(), std::vector<int>(p.Width()));
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x)
        rows[y][x] = int(Opacity(p.frame.At(x + p.area.left, y + p.area.top)));
    return rows;
  }

  static platform::FontEngine* fonts_;
  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
};

platform::FontEngine* StringPictureTest::fonts_ = nullptr;

TEST_F(StringPictureTest, OneCharacterIsAtLeastACellHighAndItsAdvanceWide) {
  const StringSetting s = Setting("g");
  const auto font = CreateStringFont(*fonts_, s, 400);
  ASSERT_NE(font, nullptr);
  const auto glyph = font->GreyGlyph(U'g');
  ASSERT_TRUE(glyph);
  const PastePicture p = Make(s);
  EXPECT_GE(p.Height(), font->Metrics().height);
  EXPECT_GE(p.Width(), glyph->advance);
  EXPECT_EQ(p.display.Width(), p.Width() + 2);  // the empty border
  EXPECT_EQ(p.area, (PixelRect{1, 1, p.Width(), p.Height()}));
  for (int x = 0; x < p.display.Width(); ++x) {
    EXPECT_EQ(p.display.At(x, 0), 0u);
    EXPECT_EQ(p.frame.At(x, p.display.Height() - 1), 0u);
  }
}

TEST_F(StringPictureTest, CoverageBecomesFrameOpacityInTheColour) {
  const PastePicture p = Make(Setting("■"));
  int full = 0, empty = 0;
  for (int y = 0; y < p.display.Height(); ++y)
    for (int x = 0; x < p.display.Width(); ++x) {
      const uint32_t d = p.display.At(x, y), f = p.frame.At(x, y);
      if (f == 0) {
        EXPECT_EQ(d, 0u);
        ++empty;
        continue;
      }
      EXPECT_EQ(d, kDrawAreaFlag | kColour);
      EXPECT_EQ(f & kColourMask, kColour);
      EXPECT_EQ(Opacity(f) % 4, 3u);  // level × 4 − 1
      full += Opacity(f) == 255;
    }
  EXPECT_GT(full, 100);
  EXPECT_GT(empty, 0);
}

TEST_F(StringPictureTest, SpacingWidensByItsValuePerCharacter) {
  const PastePicture plain = Make(Setting("AB"));
  const PastePicture spaced = Make(Setting("AB", false, 10));
  EXPECT_EQ(spaced.Width(), plain.Width() + 20);
  EXPECT_EQ(spaced.Height(), plain.Height());
  const PastePicture tall = Make(Setting("AB", true, 10));
  const PastePicture tallPlain = Make(Setting("AB", true));
  EXPECT_EQ(tall.Height(), tallPlain.Height() + 20);
}

TEST_F(StringPictureTest, VerticalBracketsAreTurned) {
  // Upright, the opening bracket is taller than wide; turned, wider than tall.
  const auto extent = [](const PastePicture& p) {
    int left = p.Width(), right = -1, top = p.Height(), bottom = -1;
    const auto c = Coverage(p);
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x)
        if (c[y][x]) left = std::min(left, x), right = std::max(right, x),
                     top = std::min(top, y), bottom = std::max(bottom, y);
    return std::pair{right - left + 1, bottom - top + 1};
  };
  for (const char* bracket : {"「", "」"}) {
    const auto [w, h] = extent(Make(Setting(bracket)));
    const auto [tw, th] = extent(Make(Setting(bracket, true)));
    EXPECT_GT(h, w) << bracket;
    EXPECT_GT(tw, th) << bracket;
    EXPECT_NEAR(tw, h, 1) << bracket;
  }
}

TEST_F(StringPictureTest, VerticalCommaAndFullStopSitInTheUpperRightOfTheirCell) {
  // The centre of the covered pixels, as fractions of the picture's width and height.
  const auto centre = [](const PastePicture& p) {
    double sumX = 0, sumY = 0, count = 0;
    const auto c = Coverage(p);
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x)
        if (c[y][x]) sumX += x + 0.5, sumY += y + 0.5, ++count;
    return std::pair{sumX / count / p.Width(), sumY / count / p.Height()};
  };
  for (const char* mark : {"、", "。"}) {
    const auto [x, y] = centre(Make(Setting(mark)));
    EXPECT_LT(x, 0.5) << mark;  // set across, lower left
    EXPECT_GT(y, 0.5) << mark;
    // Set down, the one cell is the whole picture: the mark stays inside it.
    const PastePicture tall = Make(Setting(mark, true));
    const auto [tx, ty] = centre(tall);
    EXPECT_GT(tx, 0.5) << mark;
    EXPECT_LT(ty, 0.5) << mark;
    EXPECT_EQ(tall.Height(), Make(Setting("口", true)).Height()) << mark;
  }
}

TEST_F(StringPictureTest, AMissingGlyphMakesNoPictureAndBlanksEveryWeightOfTheFace) {
  PastePicture p = Make(Setting("A"));
  EXPECT_EQ(MakeStringPicture(*fonts_, Setting("A\U0001F600"), kColour, allocator, p),
            StringPictureResult::MissingGlyph);
  EXPECT_FALSE(p.Held());
  for (int weight = 0; weight <= 900; weight += 100) {
    EXPECT_TRUE(HasEveryGlyph(*fonts_, Setting("あ「A」"), weight));
    EXPECT_FALSE(HasEveryGlyph(*fonts_, Setting("あ\U0001F600"), weight));
  }
}

}  // namespace
}  // namespace lumavex
