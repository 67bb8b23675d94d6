#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/DirectionalGradation.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;
using Points = std::vector<Sample>;

void PutColour(Canvas& canvas, int x, int y, uint32_t colour) {
  canvas.display.At(x, y) = kDrawAreaFlag | colour;
}

uint32_t Shown(const Canvas& canvas, int x, int y) {
  return canvas.display.At(x, y) & kColourMask;
}

void Draw(TestDrawingContext& c, const Points& one, const Points& two, const Points& direction) {
  platform::NoProgress progress;
  DrawDirectionalGradation(c, one, two, direction, progress);
}

TEST(DirectionalAverage, SamplesAlongTheStepAndDropsWhatLeavesThePictureOrTheSelection) {
  TestDrawingContext c(6, 3);
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 3; ++y) PutColour(c.canvas, x, y, static_cast<uint32_t>(x * 30));
  // k = 1, a step of one pixel to the right: the pixel and its two neighbours.
  EXPECT_EQ(DirectionalAverage(c.canvas, 2, 1, 1, {1, 0}), 60u);
  // At the left edge the sample at x = -1 is dropped.
  EXPECT_EQ(DirectionalAverage(c.canvas, 0, 1, 1, {1, 0}), 15u);
  // Half a pixel: the samples at 1.5 and 2.5 are interpolated (45 and 75).
  EXPECT_EQ(DirectionalAverage(c.canvas, 2, 1, 1, {0.5, 0}), 60u);
  EXPECT_EQ(DirectionalAverage(c.canvas, 2, 1, 1, {0.25, 0}), 60u);
  // A non-selected pixel in a sample's cell drops that sample.
  Deselect(c.canvas.display.At(3, 1), c.canvas.frame.At(3, 1));
  EXPECT_EQ(DirectionalAverage(c.canvas, 2, 1, 1, {1, 0}), 30u);
  EXPECT_EQ(DirectionalAverage(c.canvas, 3, 1, 0, {0, 0}), std::nullopt);
}

TEST(DirectionalAverage, StepsFollowTheDirectionAtThePointSpacing) {
  const DirectionSteps steps = StepsOf({-6, 8}, 0.2);
  EXPECT_EQ(steps.k, 10);
  EXPECT_NEAR(steps.u.x, -0.12, 1e-12);
  EXPECT_NEAR(steps.u.y, 0.16, 1e-12);
  EXPECT_EQ(StepsOf({0, 0}, 0.2).k, 0);
}

TEST(DirectionalGradation, TheDirectionListStartsAThirdOfTheWayToCurveTwo) {
  const Points one = {{0, 0}, {30, 3}}, two = {{0, 9}, {60, 3}};
  const Points e = InitialDirectionPoints(one, two);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_DOUBLE_EQ(e[0].y, 3);
  EXPECT_DOUBLE_EQ(e[1].x, 40);
}

TEST(DirectionalGradation, DirectionOnCurveOneAveragesOnlyThePixelsOwnCell) {
  TestDrawingContext c(40, 20);
  std::mt19937 random(40218);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) PutColour(c.canvas, x, y, random() & kColourMask);
  std::vector<uint32_t> before;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) before.push_back(Shown(c.canvas, x, y));
  const Points one = {{2, 3}, {37, 4}}, two = {{2, 16}, {37, 15}};
  Draw(c, one, two, one);
  int changed = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(Shown(c.canvas, x, y), before[y * 40 + x]) << x << "," << y;
      changed += (c.canvas.display.At(x, y) & kPaintedMark) != 0;
    }
  EXPECT_GT(changed, 300);
}

TEST(DirectionalGradation, EverySampleIsReadBeforeAnythingIsWritten) {
  // Black and white columns blurred across them by one pixel each side: a pixel
  // reading results already written would not give the thirds.
  TestDrawingContext c(40, 20);
  c.settings.pointSpacing = 100;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) PutColour(c.canvas, x, y, x % 2 ? 0xFFFFFF : 0x000000);
  const Points one = {{5, 4}, {35, 4}}, two = {{5, 16}, {35, 16}};
  // v = (−1.5, 0): k = 1, u one pixel along the row.
  const Points direction = {{6.5, 4}, {36.5, 4}};
  Draw(c, one, two, direction);
  for (int x = 10; x <= 30; ++x) {
    const uint32_t expected = x % 2 ? 0x555555 : 0xAAAAAA;
    EXPECT_EQ(Shown(c.canvas, x, 10), expected) << x;
  }
  EXPECT_EQ(Shown(c.canvas, 20, 2), 0x000000u);  // outside the band
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) EXPECT_EQ(c.canvas.work.At(x, y), 0u);
}

TEST(DirectionalGradation, OneUndoStepTheWorkingTextAndTheEndSound) {
  TestDrawingContext c(40, 20);
  const Points one = {{5, 4}, {35, 4}}, two = {{5, 16}, {35, 16}};
  Draw(c, one, two, InitialDirectionPoints(one, two));
  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_NE(std::find(c.statusTexts.begin(), c.statusTexts.end(), "★描画中..."),
            c.statusTexts.end());
  EXPECT_EQ(c.statusTexts.back(), "");
  EXPECT_EQ(c.sounds, std::vector<std::string>{"end.wav"});
  EXPECT_TRUE(c.marked.Contains(20, 10));
}

TEST(DirectionalGradation, ATwistedBandDrawsNothing) {
  TestDrawingContext c(40, 20);
  const Points one = {{5, 4}, {35, 4}}, two = {{35, 16}, {5, 16}};
  Draw(c, one, two, one);
  EXPECT_EQ(c.statusTexts.back(), "★基点がねじれています。");
  EXPECT_EQ(c.undoSteps, 0);
  EXPECT_TRUE(c.sounds.empty());
}

}  // namespace
}  // namespace lumavex
