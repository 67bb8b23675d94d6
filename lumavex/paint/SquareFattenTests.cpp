#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/SquareFatten.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

// The fatten read literally: for each selected, unmarked pixel the strongest
// fall-off value over the whole square of the search radius.
std::vector<uint32_t> ReferenceWork(const Canvas& canvas, const PixelRect& area,
                                    FattenWidths widths, uint32_t maxOpacity, uint32_t colour) {
  const int f = widths.width, t = f + widths.antiAliasWidth, r = (t + 99) / 100;
  std::vector<uint32_t> work;
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x) {
      uint32_t o = 0;
      for (int qy = std::max(area.top, y - r); qy <= std::min(area.bottom, y + r); ++qy)
        for (int qx = std::max(area.left, x - r); qx <= std::min(area.right, x + r); ++qx) {
          if (canvas.display.At(qx, qy) & kNonSelectedFlag) continue;
          const int d = 100 * std::max(std::abs(qx - x), std::abs(qy - y));
          if (d > t) continue;
          const int a = static_cast<int>(Opacity(canvas.frame.At(qx, qy)));
          const int v = d <= f ? a : a * (t - d) / widths.antiAliasWidth;
          o = std::max<uint32_t>(o, static_cast<uint32_t>(v));
        }
      const uint32_t a = Paintable(canvas.display.At(x, y)) ? Round255(o * maxOpacity) : 0;
      work.push_back(a > 0 ? (a << 24) | colour : 0);
    }
  return work;
}

std::vector<uint32_t> WorkOf(const Canvas& canvas, const PixelRect& area) {
  std::vector<uint32_t> work;
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x) work.push_back(canvas.work.At(x, y));
  return work;
}

// A picture with a few frame pixels of random opacity, some pixels non-selected and
// some painted.
void Scatter(Canvas& canvas, std::mt19937& random) {
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      uint32_t& display = canvas.display.At(x, y);
      if (random() % 9 == 0) canvas.frame.At(x, y) = (1 + random() % 255) << 24 | 0x102030;
      if (random() % 7 == 0) ToggleSelection(display, canvas.frame.At(x, y));
      if (random() % 11 == 0) display |= kPaintedMark;
    }
}

TEST(SquareFatten, EqualsTheLiteralSquareSearchOnRandomPictures) {
  std::mt19937 random(5);
  const FattenWidths cases[] = {{100, 0},   {140, 0},   {250, 0},    {100, 50},   {150, 250},
                                {200, 300}, {300, 100}, {1000, 500}, {100, 2000}, {4000, 0}};
  for (int round = 0; round < 40; ++round) {
    const int w = 3 + static_cast<int>(random() % 30), h = 3 + static_cast<int>(random() % 20);
    TestDrawingContext c(w, h);
    Scatter(c.canvas, random);
    const PixelRect area{static_cast<int>(random() % 3) - 1, static_cast<int>(random() % 3) - 1,
                         w - 2 + static_cast<int>(random() % 3),
                         h - 2 + static_cast<int>(random() % 3)};
    const PixelRect clipped = area.Intersect(c.canvas.Bounds());
    const FattenWidths widths = cases[round % std::size(cases)];
    const uint32_t maxOpacity = round % 3 == 0 ? 100 : 255;
    const std::vector<uint32_t> expected =
        ReferenceWork(c.canvas, clipped, widths, maxOpacity, 0xABCDEF);
    FattenIntoWorkLayer(c.canvas, area, widths, maxOpacity, 0xABCDEF);
    ASSERT_EQ(WorkOf(c.canvas, clipped), expected)
        << "round " << round << " F " << widths.width << " Wa " << widths.antiAliasWidth;
  }
}

// Wider than one strip of the pass down the columns, with a last strip part-filled.
TEST(SquareFatten, EqualsTheLiteralSquareSearchAcrossSeveralColumnStrips) {
  std::mt19937 random(6);
  const FattenWidths cases[] = {{300, 0}, {1000, 500}, {200, 1300}};
  for (const FattenWidths& widths : cases) {
    TestDrawingContext c(150, 17);
    Scatter(c.canvas, random);
    const PixelRect area{3, 1, 141, 15};
    const std::vector<uint32_t> expected = ReferenceWork(c.canvas, area, widths, 255, 0x123456);
    FattenIntoWorkLayer(c.canvas, area, widths, 255, 0x123456);
    ASSERT_EQ(WorkOf(c.canvas, area), expected) << "F " << widths.width;
  }
}

TEST(SquareFatten, HardEdgedSquareAndLinearFallOff) {
  TestDrawingContext c(11, 11);
  c.canvas.frame.At(5, 5) = 0xC8000000;  // opacity 200
  FattenIntoWorkLayer(c.canvas, c.canvas.Bounds(), {250, 0}, 255, 0x0000FF);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x) {
      const bool inside = std::abs(x - 5) <= 2 && std::abs(y - 5) <= 2;
      EXPECT_EQ(c.canvas.work.At(x, y), inside ? 0xC80000FFu : 0u) << x << "," << y;
    }
  ClearWorkLayer(c.canvas);
  // F = 100, Wa = 300: full at distance 1, then 200 × 2/3, 200 × 1/3, nothing at 4.
  FattenIntoWorkLayer(c.canvas, c.canvas.Bounds(), {100, 300}, 255, 0);
  const uint32_t expected[] = {200, 200, 133, 66, 0, 0};
  for (int d = 0; d <= 5; ++d) EXPECT_EQ(Opacity(c.canvas.work.At(5 + d, 5 - d)), expected[d]);
}

TEST(SquareFatten, NeverGrowsIntoOrFromNonSelectedPixels) {
  TestDrawingContext c(6, 1);
  c.canvas.frame.At(0, 0) = 0xFF000000;
  c.canvas.frame.At(5, 0) = 0x80000000;
  ToggleSelection(c.canvas.display.At(0, 0), c.canvas.frame.At(0, 0));
  ToggleSelection(c.canvas.display.At(3, 0), c.canvas.frame.At(3, 0));
  FattenIntoWorkLayer(c.canvas, c.canvas.Bounds(), {300, 0}, 255, 0);
  const uint32_t expected[] = {0, 0, 0x80000000, 0, 0x80000000, 0x80000000};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(c.canvas.work.At(x, 0), expected[x]) << x;
}

TEST(SquareFatten, PutsTheFramesInOneUndoStepAndNothingWithoutOpacity) {
  TestDrawingContext c(5, 5);
  c.settings.fattenWidth = 100;
  c.head = 0xFF0000;
  c.canvas.frame.At(2, 2) = 0xFF000000;
  c.canvas.display.At(2, 2) = kDrawAreaFlag;
  c.settings.maxOpacity = 0;
  SquareFatten(c);
  EXPECT_TRUE(c.journal.records.empty());
  EXPECT_TRUE(c.statusTexts.empty());

  c.settings.maxOpacity = 255;
  SquareFatten(c);
  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_EQ(c.journal.records.size(), 9u);
  // The frame already there stays in front: the fatten cannot feed itself.
  EXPECT_EQ(c.canvas.frame.At(2, 2), 0xFF000000u);
  EXPECT_EQ(c.canvas.frame.At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(c.canvas.display.At(3, 3), kDrawAreaFlag | kPaintedMark | 0xFF0000);
  EXPECT_EQ(c.canvas.frame.At(0, 0), BackdropColour(0, 0, true, false));
  EXPECT_EQ(c.canvas.work.At(1, 1), 0u);
  EXPECT_EQ(c.statusTexts.front(), "★全選択領域正方形太らせ中...");
  EXPECT_EQ(c.sounds, (std::vector<std::string>{"end.wav"}));
  EXPECT_EQ(c.marked, c.canvas.Bounds());
}

}  // namespace
}  // namespace lumavex
