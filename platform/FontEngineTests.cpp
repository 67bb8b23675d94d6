#include <gtest/gtest.h>
#include <platform/FontEngine.h>

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// The screen-text face: full-width "ＭＳ ゴシック".
const char* const kMsGothic =
    "\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
// "ＭＳ Ｐゴシック"
const char* const kMsPGothic =
    "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

class FontEngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { engine_ = new FontEngine; }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
  }

  static std::unique_ptr<Font> Create(const std::string& face, int height, int width,
                                      int weight = 400, bool italic = false) {
    return engine_->CreateFont({face, height, width, weight, italic});
  }
  static std::unique_ptr<Font> ScreenFont() { return Create(kMsGothic, 16, 8); }

  static FontEngine* engine_;
};

FontEngine* FontEngineTest::engine_ = nullptr;

int Ink(const GlyphBitmap& g) {
  int sum = 0;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) sum += g.Level(x, y);
  return sum;
}

// Coverage-weighted mean column of one row, or -1 when the row is empty.
double RowCentre(const GlyphBitmap& g, int y) {
  double weighted = 0, total = 0;
  for (int x = 0; x < g.width; ++x) {
    weighted += x * g.Level(x, y);
    total += g.Level(x, y);
  }
  return total > 0 ? weighted / total : -1;
}

// --- Face matching ---

TEST_F(FontEngineTest, WindowsGothicNamesResolveToIpaGothic) {
  for (const char* name : {kMsGothic, "MS Gothic"}) {
    auto font = Create(name, 16, 8);
    ASSERT_NE(font, nullptr) << name;
    EXPECT_EQ(font->Family(), "IPAGothic") << name;
  }
  auto proportional = Create(kMsPGothic, 16, 8);
  ASSERT_NE(proportional, nullptr);
  EXPECT_EQ(proportional->Family(), "IPAPGothic");
}

TEST_F(FontEngineTest, UnknownFaceStillGivesUsableFont) {
  auto font = Create("No Such Family 7f3a", 16, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->HasGlyph('A'));
  auto glyph = font->GreyGlyph('A');
  ASSERT_TRUE(glyph.has_value());
  EXPECT_GT(Ink(*glyph), 0);
}

// The dialog lists these names and creates fonts from them, so each must match itself.
TEST_F(FontEngineTest, FamilyListIsSortedUniqueAndEachNameMatchesItself) {
  const std::vector<std::string> families = engine_->TrueTypeFamilies();
  EXPECT_NE(std::find(families.begin(), families.end(), "IPAGothic"), families.end());
  EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
  EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
  for (const std::string& family : families) {
    EXPECT_FALSE(family.empty());
    EXPECT_NE(family.front(), '@') << family;
    auto font = Create(family, 20, 0);
    ASSERT_NE(font, nullptr) << family;
    EXPECT_EQ(font->Family(), family);
  }
}

// --- Sizing ---

TEST_F(FontEngineTest, ScreenFontHasSixteenPixelCellAndEightPixelHalfWidth) {
  auto font = ScreenFont();
  ASSERT_NE(font, nullptr);
  // IPAGothic: win ascent 1802, win descent 401 → ascent round(16 × 1802 / 2203) = 13.
  EXPECT_EQ(font->Metrics().height, 16);
  EXPECT_EQ(font->Metrics().ascent, 13);
  EXPECT_EQ(font->Metrics().descent, 3);
  EXPECT_EQ(font->Metrics().averageCharWidth, 8);
  EXPECT_EQ(font->Metrics().maxCharWidth, 16);
  EXPECT_EQ(font->GreyGlyph('A')->advance, 8);
  EXPECT_EQ(font->GreyGlyph(U'\u3042')->advance, 16);  // あ
}

TEST_F(FontEngineTest, WidthStretchesHorizontallyOnly) {
  auto normal = Create(kMsGothic, 32, 16);
  auto wide = Create(kMsGothic, 32, 32);
  ASSERT_NE(normal, nullptr);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->GreyGlyph('A')->advance, 32);
  EXPECT_EQ(wide->GreyGlyph(U'\u3042')->advance, 64);
  const GlyphBitmap narrowM = *normal->GreyGlyph('M');
  const GlyphBitmap wideM = *wide->GreyGlyph('M');
  EXPECT_EQ(wideM.height, narrowM.height);
  EXPECT_EQ(wideM.originY, narrowM.originY);
  EXPECT_NEAR(wideM.width, 2 * narrowM.width, 2);
}

TEST_F(FontEngineTest, ZeroWidthKeepsTheFaceAspect) {
  auto font = Create(kMsGothic, 32, 0);
  ASSERT_NE(font, nullptr);
  // 32 × 2048 / 2203 ≈ 29.75 pixels per em; IPAGothic's average width is half an em.
  EXPECT_EQ(font->Metrics().averageCharWidth, 15);
  EXPECT_NEAR(font->GreyGlyph(U'\u3042')->advance, 30, 1);
  EXPECT_NEAR(font->GreyGlyph('A')->advance, 15, 1);
}

TEST_F(FontEngineTest, OutOfRangeRequestsGiveNoFont) {
  EXPECT_EQ(Create(kMsGothic, 0, 8), nullptr);
  EXPECT_EQ(Create(kMsGothic, -16, 8), nullptr);
  EXPECT_EQ(Create(kMsGothic, 100000, 8), nullptr);
  EXPECT_EQ(Create(kMsGothic, 16, -8), nullptr);
  EXPECT_EQ(Create(kMsGothic, 16, 100000), nullptr);
  EXPECT_TRUE(Create(kMsGothic, 1, 1)->GreyGlyph('A').has_value());
  auto largest = Create(kMsGothic, kMaxFontSize, kMaxFontSize / 2);
  ASSERT_NE(largest, nullptr);
  EXPECT_EQ(largest->Metrics().height, kMaxFontSize);
  EXPECT_EQ(largest->Metrics().ascent + largest->Metrics().descent, kMaxFontSize);
}

// --- Glyphs ---

TEST_F(FontEngineTest, GreyGlyphHas65LevelsAndPaddedRows) {
  auto font = ScreenFont();
  const std::optional<GlyphBitmap> glyph = font->GreyGlyph('I');
  ASSERT_TRUE(glyph.has_value());
  ASSERT_GT(glyph->width, 0);
  ASSERT_GT(glyph->height, 0);
  EXPECT_EQ(glyph->stride % 4, 0);
  EXPECT_GE(glyph->stride, glyph->width);
  EXPECT_LT(glyph->stride, glyph->width + 4);
  ASSERT_EQ(glyph->levels.size(), static_cast<size_t>(glyph->stride) * glyph->height);
  EXPECT_LE(*std::max_element(glyph->levels.begin(), glyph->levels.end()), 64);
  EXPECT_NE(std::find(glyph->levels.begin(), glyph->levels.end(), 64), glyph->levels.end());
  for (int y = 0; y < glyph->height; ++y)
    for (int x = glyph->width; x < glyph->stride; ++x) EXPECT_EQ(glyph->Level(x, y), 0);
  // The box lies inside the cell: below the ascent, above the descent.
  EXPECT_GT(glyph->originY, glyph->height / 2);
  EXPECT_LE(glyph->originY, font->Metrics().ascent);
  EXPECT_GE(glyph->originY - glyph->height, -font->Metrics().descent);
  EXPECT_GE(glyph->originX, 0);
  EXPECT_LE(glyph->originX + glyph->width, glyph->advance);
}

TEST_F(FontEngineTest, HasGlyphFollowsTheCharacterMap) {
  auto font = ScreenFont();
  EXPECT_TRUE(font->HasGlyph('A'));
  EXPECT_TRUE(font->HasGlyph(U'\u3042'));
  EXPECT_FALSE(font->HasGlyph(U'\uE000'));  // private use
  EXPECT_FALSE(font->HasGlyph(U'\U0010FFFD'));
}

TEST_F(FontEngineTest, SpaceIsBlankButAdvances) {
  const std::optional<GlyphBitmap> space = ScreenFont()->GreyGlyph(' ');
  ASSERT_TRUE(space.has_value());
  EXPECT_EQ(space->width, 0);
  EXPECT_EQ(space->height, 0);
  EXPECT_TRUE(space->levels.empty());
  EXPECT_EQ(space->advance, 8);
}

// 「 turned by -90 degrees (cos 0, sin -1 in 16.16) reads as the vertical-text
// bracket: its foot, at the bottom left upright, moves to the top right.
TEST_F(FontEngineTest, QuarterTurnRotatesClockwiseOnScreen) {
  auto font = Create(kMsGothic, 40, 20);
  const Matrix2x2 turn{0, -0x10000, 0x10000, 0};
  const GlyphBitmap upright = *font->GreyGlyph(U'\u300C');
  const GlyphBitmap turned = *font->GreyGlyph(U'\u300C', &turn);
  EXPECT_NEAR(turned.width, upright.height, 1);
  EXPECT_NEAR(turned.height, upright.width, 1);
  // The bottom row holds only the end of one stroke: at the left upright, at
  // the right once turned.
  EXPECT_LT(RowCentre(upright, upright.height - 1), upright.width / 4.0);
  EXPECT_GT(RowCentre(turned, turned.height - 1), turned.width * 3 / 4.0);
  EXPECT_EQ(turned.advance, 0);
}

TEST_F(FontEngineTest, BoldWeightAddsInk) {
  auto regular = Create(kMsGothic, 32, 16, 400);
  auto bold = Create(kMsGothic, 32, 16, 700);
  const GlyphBitmap r = *regular->GreyGlyph('I');
  const GlyphBitmap b = *bold->GreyGlyph('I');
  EXPECT_GT(Ink(b), Ink(r) * 5 / 4);
  EXPECT_GE(b.advance, r.advance);
}

TEST_F(FontEngineTest, ItalicLeansToTheRight) {
  auto upright = Create(kMsGothic, 40, 20);
  auto italic = Create(kMsGothic, 40, 20, 400, true);
  // Rows through the stem of 'I', clear of its serifs.
  const GlyphBitmap u = *upright->GreyGlyph('I');
  const GlyphBitmap i = *italic->GreyGlyph('I');
  EXPECT_NEAR(RowCentre(u, 3), RowCentre(u, u.height - 4), 0.5);
  EXPECT_GT(RowCentre(i, 3) - RowCentre(i, i.height - 4), 3.0);
}

TEST_F(FontEngineTest, FontOutlivesItsEngine) {
  auto engine = std::make_unique<FontEngine>();
  auto font = engine->CreateFont({kMsGothic, 16, 8});
  ASSERT_NE(font, nullptr);
  engine.reset();
  EXPECT_GT(Ink(*font->GreyGlyph('A')), 0);
}

// --- Text drawing ---

TEST_F(FontEngineTest, DrawTextPaintsOnlyInsideTheReturnedCells) {
  Surface surface(100, 60);
  const Rect changed = ScreenFont()->DrawText(surface, 10, 20, "R:255");
  EXPECT_EQ(changed, (Rect{10, 20, 50, 36}));
  int white = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      const uint32_t p = surface.At(x, y);
      const bool inside =
          x >= changed.left && x < changed.right && y >= changed.top && y < changed.bottom;
      if (!inside) {
        ASSERT_EQ(p, 0u) << x << "," << y;
        continue;
      }
      EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << "grey expected at " << x << "," << y;
      EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
      white += p == 0xFFFFFF;
    }
  }
  EXPECT_GT(white, 20);
}

TEST_F(FontEngineTest, DrawTextCoversEachCellWithTheBackground) {
  Surface surface(64, 20);
  surface.Fill(surface.Bounds(), 0x123456);
  const Rect changed = ScreenFont()->DrawText(surface, 0, 2, "A\xE3\x81\x82", 0xFF0000, 0x0000FF);
  EXPECT_EQ(changed, (Rect{0, 2, 24, 18}));
  for (int y = changed.top; y < changed.bottom; ++y) {
    for (int x = changed.left; x < changed.right; ++x) {
      const uint32_t p = surface.At(x, y);
      EXPECT_EQ(p & 0x00FF00, 0u) << x << "," << y;  // only the two colours mixed
      EXPECT_NEAR(static_cast<int>(((p >> 16) & 0xFF) + (p & 0xFF)), 0xFF, 1) << x << "," << y;
    }
  }
  EXPECT_EQ(surface.At(24, 2), 0x123456u);
  EXPECT_EQ(surface.At(0, 1), 0x123456u);
  EXPECT_EQ(surface.At(0, 18), 0x123456u);
}

TEST_F(FontEngineTest, DrawTextClipsToTheSurface) {
  auto font = ScreenFont();
  Surface surface(100, 60);
  EXPECT_EQ(font->DrawText(surface, -4, -5, "AB"), (Rect{0, 0, 12, 11}));
  EXPECT_EQ(font->DrawText(surface, 90, 50, "ABC"), (Rect{90, 50, 100, 60}));
  EXPECT_TRUE(font->DrawText(surface, 200, 10, "A").Empty());
  EXPECT_TRUE(font->DrawText(surface, 10, -40, "A").Empty());
  EXPECT_TRUE(font->DrawText(surface, 10, 10, "").Empty());
}

TEST_F(FontEngineTest, MalformedUtf8DrawsOneCellPerBadByte) {
  auto font = ScreenFont();
  Surface surface(200, 20);
  const int replacement = font->GreyGlyph(0xFFFD)->advance;
  // A truncated sequence, a stray continuation byte, an overlong slash and an encoded surrogate.
  EXPECT_EQ(font->DrawText(surface, 0, 0, "A\xE3\x81").Width(), 8 + 2 * replacement);
  EXPECT_EQ(font->DrawText(surface, 0, 0, "\x80").Width(), replacement);
  EXPECT_EQ(font->DrawText(surface, 0, 0, "\xC0\xAF").Width(), 2 * replacement);
  EXPECT_EQ(font->DrawText(surface, 0, 0, "\xED\xA0\x80").Width(), 3 * replacement);
}

}  // namespace
}  // namespace platform
