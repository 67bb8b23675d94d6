#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/SmoothingStroke.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

// Samples numbered by their x: x = first, first + 1, ...; y = 0.
std::vector<TabletSample> Numbered(int count, int first = 0) {
  std::vector<TabletSample> samples;
  for (int i = 0; i < count; ++i) samples.push_back({double(first + i), 0, 0.5});
  return samples;
}

std::vector<int> Numbers(const std::vector<TabletSample>& samples) {
  std::vector<int> numbers;
  for (const TabletSample& s : samples) numbers.push_back(static_cast<int>(s.x));
  return numbers;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> numbers;
  for (int i = from; i <= to; ++i) numbers.push_back(i);
  return numbers;
}

TEST(SmoothingStroke, PenMachineTable) {
  using S = PenState;
  struct Row {
    S from;
    S pressed, released;
  };
  const Row rows[] = {{S::Initial, S::WentDown, S::Up},
                      {S::WentDown, S::Held, S::Held},
                      {S::Held, S::Held, S::WentUp},
                      {S::WentUp, S::Up, S::Up},
                      {S::Up, S::WentDown, S::Up}};
  for (const Row& row : rows) {
    EXPECT_EQ(StepPen(row.from, 1), row.pressed) << int(row.from);
    EXPECT_EQ(StepPen(row.from, 0), row.released) << int(row.from);
    EXPECT_EQ(StepPen(row.from, -5), row.released) << int(row.from);
  }
  EXPECT_FALSE(StepPen(static_cast<S>(3), 1));
}

TEST(SmoothingStroke, BufferKeepsItsBlocksAndReusesThem) {
  StrokeBuffer buffer;
  const std::vector<TabletSample> samples = Numbered(2 * StrokeBuffer::kBlockSamples + 5);
  for (const TabletSample& s : samples) buffer.Append(s);
  EXPECT_EQ(buffer.BlockCount(), 3u);
  EXPECT_EQ(Numbers(buffer.Samples()), Numbers(samples));

  buffer.Reset();
  EXPECT_EQ(buffer.Size(), 0u);
  EXPECT_EQ(buffer.BlockCount(), 3u);
  // Exactly one block full: the next write position is the next block, and the last
  // sample is written over in the full one.
  for (const TabletSample& s : Numbered(StrokeBuffer::kBlockSamples, 100)) buffer.Append(s);
  buffer.OverwriteLast({7, 7, 7});
  const std::vector<TabletSample> again = buffer.Samples();
  ASSERT_EQ(again.size(), size_t(StrokeBuffer::kBlockSamples));
  EXPECT_EQ(again.front().x, 100);
  EXPECT_EQ(again.back().x, 7);
  EXPECT_EQ(buffer.BlockCount(), 3u);
}

TEST(SmoothingStroke, TurningPointsSplitFromTheSixthSampleOn) {
  auto withMarker = [](int count, int at) {
    std::vector<TabletSample> samples = Numbered(count);
    samples.insert(samples.begin() + at, TurningPointMarker());
    return samples;
  };
  // A marker after sample 6 of 12: two stretches, the marker left out.
  auto split = SplitIntoStretches(withMarker(12, 6));
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(Numbers(split[0]), Range(0, 5));
  EXPECT_EQ(Numbers(split[1]), Range(6, 11));

  // Among the first five samples, or in the last two, a marker splits nothing.
  for (int at : {0, 4, 11, 12}) {
    split = SplitIntoStretches(withMarker(12, at));
    ASSERT_EQ(split.size(), 1u) << at;
    EXPECT_EQ(Numbers(split[0]), Range(0, 11)) << at;
  }
  // Short strokes are one stretch; markers alone are none.
  split = SplitIntoStretches(withMarker(4, 2));
  ASSERT_EQ(split.size(), 1u);
  EXPECT_EQ(Numbers(split[0]), Range(0, 3));
  const std::vector<TabletSample> markers(8, TurningPointMarker());
  EXPECT_TRUE(SplitIntoStretches(markers).empty());
}

TEST(SmoothingStroke, LongStretchesAreThinnedWithTheirEnds) {
  const auto split = SplitIntoStretches(Numbered(4000));
  ASSERT_EQ(split.size(), 1u);
  const std::vector<int> kept = Numbers(split[0]);
  EXPECT_GE(kept.size(), size_t(kMaxStretchSamples));
  EXPECT_LE(kept.size(), size_t(kMaxStretchSamples + 1));
  EXPECT_EQ(kept.front(), 0);
  EXPECT_EQ(kept.back(), 3999);
  for (size_t i = 1; i < kept.size(); ++i) ASSERT_GT(kept[i], kept[i - 1]);
  EXPECT_EQ(SplitIntoStretches(Numbered(kMaxStretchSamples))[0].size(), size_t(kMaxStretchSamples));
}

TEST(SmoothingStroke, TrimmingDropsFiveAfterTheStartAndFiveBeforeTheEnd) {
  std::vector<int> expected{0};
  for (int i = 6; i <= 13; ++i) expected.push_back(i);
  expected.push_back(19);
  EXPECT_EQ(Numbers(TrimStretch(Numbered(20))), expected);
  EXPECT_EQ(Numbers(TrimStretch(Numbered(13))), Range(0, 12));
  EXPECT_EQ(Numbers(TrimStretch(Numbered(14))), (std::vector<int>{0, 6, 7, 13}));
}

TEST(SmoothingStroke, SmoothingKeepsTheTrimmedEndsExactly) {
  TestDrawingContext context(4, 4);
  const BezierTables tables;
  // A wobbly stretch of 20: the end points survive the trimming and the Bezier exactly.
  std::vector<TabletSample> stretch;
  for (int i = 0; i < 20; ++i) stretch.push_back({i * 1.5, (i % 2) * 3.0 + 0.25, i * 0.01});
  const std::vector<TabletSample> two = SmoothStretch(context, tables, stretch, 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].x, stretch.front().x);
  EXPECT_EQ(two[0].y, stretch.front().y);
  EXPECT_EQ(two[1].x, stretch.back().x);
  EXPECT_EQ(two[1].y, stretch.back().y);
  EXPECT_EQ(two[1].w, stretch.back().w);

  const std::vector<TabletSample> one{{5, 6, 0.5}};
  EXPECT_EQ(Numbers(SmoothStretch(context, tables, one, 4)), (std::vector<int>{5, 5, 5, 5}));
  EXPECT_THROW(SmoothStretch(context, tables, {}, 4), platform::ProcessEnded);
}

TEST(SmoothingStroke, TwoBasePointsDrawTheStraightSegmentBetweenTheTrimmedEnds) {
  TestDrawingContext context(60, 40);
  const BezierTables tables;
  std::vector<TabletSample> stroke;
  for (int i = 0; i <= 30; ++i) stroke.push_back({10.0 + i, 20 + (i % 3 == 1 ? 4.0 : 0.0), 0.5});
  const auto blocks = SmoothStroke(context, tables, stroke, 2);
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].size(), 2u);
  // Only the end samples are left: the frame is the horizontal band along y = 20.
  context.settings.frameWidth = 0.25;
  context.settings.antiAliasWidth = 1;
  RenderSmoothingStroke(context, tables, stroke, 2);
  for (int x = 10; x <= 40; ++x) {
    EXPECT_EQ(Opacity(context.canvas.frame.At(x, 20)), 255u) << x;
    EXPECT_EQ(Opacity(context.canvas.frame.At(x, 22)), 0u) << x;
    EXPECT_EQ(Opacity(context.canvas.frame.At(x, 18)), 0u) << x;
  }
  EXPECT_EQ(context.undoSteps, 1);
  EXPECT_EQ(context.statusTexts.front(), "★ベジェ＆スプライン曲線計算中...");
}

TEST(SmoothingStroke, StretchesSplitAtATurningPointAreOneFrameWithOneFadeEachWay) {
  TestDrawingContext context(140, 40);
  const BezierTables tables;
  context.settings.frameWidth = 1;
  context.settings.antiAliasWidth = 1;
  context.settings.headFade = 20;
  context.settings.terminationFade = 20;
  std::vector<TabletSample> stroke;
  for (int x = 10; x <= 60; ++x) stroke.push_back({double(x), 20, 0.5});
  stroke.push_back(TurningPointMarker());
  for (int x = 61; x <= 110; ++x) stroke.push_back({double(x), 20, 0.5});
  EXPECT_EQ(SmoothStroke(context, tables, stroke, 4).size(), 2u);

  RenderSmoothingStroke(context, tables, stroke, 4);
  EXPECT_EQ(context.undoSteps, 1);
  // Full opacity across the joint; the fades only at the stroke's own two ends.
  for (int x = 40; x <= 80; ++x) EXPECT_EQ(Opacity(context.canvas.frame.At(x, 20)), 255u) << x;
  EXPECT_LT(Opacity(context.canvas.frame.At(15, 20)), 128u);
  EXPECT_LT(Opacity(context.canvas.frame.At(105, 20)), 128u);
}

}  // namespace
}  // namespace lumavex
