#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/paint/ContinuousPaste.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;
using Points = std::vector<Sample>;

PasteCurves Shifted(const PasteCurves& c, double dx, double dy) {
  PasteCurves out = c;
  for (auto* curve : {&out.curve1, &out.middle, &out.curve2})
    for (Sample& p : *curve) p = {p.x + dx, p.y + dy};
  return out;
}

bool Same(const Points& a, const Points& b) {
  if (a.size() != b.size()) return false;
  for (size_t j = 0; j < a.size(); ++j)
    if (a[j].x != b[j].x || a[j].y != b[j].y) return false;
  return true;
}

TEST(SpanSchedule, CoversEachSpanOnceAndEndsExactlyOnItsGroup) {
  // Span 1～2 with K2 = 7: files 0..7, t by repeated addition, 1 exactly at K2.
  const auto first = SpanSchedule(0, 7, 0, 7);
  ASSERT_EQ(first.size(), 8u);
  double t = 0;
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(first[k].file, k);
    EXPECT_EQ(first[k].t, t);  // the very sum, not k / 7
    t += 1.0 / 7;
  }
  EXPECT_EQ(first.front().t, 0.0);
  EXPECT_EQ(first.back().t, 1.0);

  // Span 2～3 starts one picture after K2: no picture gets two pastes.
  const auto second = SpanSchedule(7, 10, 8, 10);
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second.front().file, 8);
  EXPECT_DOUBLE_EQ(second.front().t, 1.0 / 3);
  EXPECT_EQ(second.back().t, 1.0);

  // The loop span of a 13-picture movie from K3 = 10: the last picture sits one step
  // before group 1, which is the picture after it.
  const auto loop = SpanSchedule(10, 13, 11, 12);
  ASSERT_EQ(loop.size(), 2u);
  EXPECT_EQ(loop.back().file, 12);
  EXPECT_DOUBLE_EQ(loop.back().t, 2.0 / 3);
  EXPECT_LT(loop.back().t, 1.0);

  EXPECT_TRUE(SpanSchedule(5, 5, 5, 5).empty());
  EXPECT_TRUE(SpanSchedule(3, 2, 3, 2).empty());
  EXPECT_TRUE(SpanSchedule(0, 4, 0, 5).empty());
}

TEST(ScheduleOfSpan, TheThreeSpansMeetWithoutOverlapAndRefuseFilesOutOfOrder) {
  // 12 pictures, group 2 on file 4, group 3 on file 8: every picture exactly once.
  std::vector<int> pasted(12, 0);
  for (PasteSpan span : {PasteSpan::OneToTwo, PasteSpan::TwoToThree, PasteSpan::ThreeToFour})
    for (const SpanStep& step : ScheduleOfSpan(span, 4, 8, 12)) ++pasted[step.file];
  EXPECT_EQ(pasted, std::vector<int>(12, 1));

  const auto first = ScheduleOfSpan(PasteSpan::OneToTwo, 4, 8, 12);
  EXPECT_EQ(first.front().t, 0.0);
  EXPECT_EQ(first.back().file, 4);
  EXPECT_EQ(first.back().t, 1.0);
  const auto loop = ScheduleOfSpan(PasteSpan::ThreeToFour, 4, 8, 12);
  EXPECT_EQ(loop.back().file, 11);
  EXPECT_DOUBLE_EQ(loop.back().t, 0.75);  // one step before group 1 at t = 1

  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::OneToTwo, 0, 8, 12).empty());
  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::OneToTwo, 12, 8, 12).empty());
  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::TwoToThree, 8, 8, 12).empty());
  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::TwoToThree, 4, 12, 12).empty());
  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::ThreeToFour, 4, 11, 12).empty());
  EXPECT_TRUE(ScheduleOfSpan(PasteSpan::ThreeToFour, 4, -1, 12).empty());
}

TEST(CurvesOnPath, CurvesOfDifferentCountsGiveOnlyThePointsAllHave) {
  const PasteCurves two{{{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}, {{0, 10}, {10, 10}}};
  PasteCurves three = Shifted(two, 4, 4);
  three.curve1.push_back({20, 4});
  PasteCurves out;
  for (double t : {0.0, 0.3, 1.0}) {
    CurvesOnPath(two, MidpointCurves(two, three), three, t, out);
    EXPECT_EQ(out.curve1.size(), 2u);
    EXPECT_EQ(out.curve2.size(), 2u);
  }
  EXPECT_EQ(MidpointCurves(three, two).curve1.size(), 2u);
}

TEST(CurvesOnPath, PassesThroughItsThreePlacesAndIsStraightThroughTheMidpoint) {
  const PasteCurves s{{{10, 20}, {30, 25}}, {{10, 30}, {30, 35}}, {{10, 40}, {30, 45}}};
  const PasteCurves e = Shifted(s, 90, -15);
  PasteCurves m = MidpointCurves(s, e);
  EXPECT_EQ(m.curve1[0].x, 55);
  EXPECT_EQ(m.curve1[0].y, 12.5);
  m.middle[1] = {70, 70};  // an adjusted middle

  PasteCurves out;
  CurvesOnPath(s, m, e, 0, out);
  EXPECT_TRUE(Same(out.curve2, s.curve2));
  CurvesOnPath(s, m, e, 1, out);
  EXPECT_TRUE(Same(out.curve1, e.curve1));
  CurvesOnPath(s, m, e, 0.5, out);
  EXPECT_NEAR(out.middle[1].x, 70, 1e-12);
  EXPECT_NEAR(out.middle[1].y, 70, 1e-12);

  // Left at the midpoint, every point moves on the line S–E at constant speed.
  const PasteCurves mid = MidpointCurves(s, e);
  for (double t : {0.1, 0.25, 0.6, 0.9}) {
    CurvesOnPath(s, mid, e, t, out);
    for (size_t j = 0; j < 2; ++j) {
      EXPECT_NEAR(out.curve1[j].x, s.curve1[j].x + 90 * t, 1e-9);
      EXPECT_NEAR(out.curve2[j].y, s.curve2[j].y - 15 * t, 1e-9);
    }
  }
}

// Four 60 × 40 white pictures and a pattern band copied from a picture of that size.
struct SpanFixture {
  SpanFixture() : source(60, 40), c(60, 40) {
    source.settings.pointSpacing = 100;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x)
        source.canvas.display.At(x, y) = kDrawAreaFlag | static_cast<uint32_t>(x * 4 << 16 | y * 6);
    const Points a{{5, 5}, {15, 4}, {25, 5}}, b{{5, 15}, {15, 14}, {25, 15}};
    if (CopySurface(source.canvas, a, b, 100, {}, {}, 1ull << 32, surface) != CopyOutcome::Copied)
      throw std::runtime_error("copy refused");
    start = CopyPosition(surface);
    end = Shifted(start, 24, 18);
    for (int i = 0; i < 4; ++i) pictures.push_back(Blank());
    work = std::move(c.canvas.work);
    c.canvas = Canvas{};
  }
  Canvas Blank() {
    Canvas blank;
    platform::NoProgress none;
    CreateBlankPicture(blank, c.allocator, 60, 40, none);
    blank.processingSquare = blank.Bounds();
    blank.work.Release();
    return blank;
  }
  // A single paste at `curves` on a blank picture of its own, marks removed.
  std::vector<uint32_t> SinglePaste(const PasteCurves& curves) {
    TestDrawingContext one(60, 40);
    FillPicture image;
    PaintStep step(one, false);
    PasteSurface(step, surface, curves, 255, one.allocator, image);
    step.End(false);
    return Words(one.canvas, ~kProcessingMarks);
  }
  static std::vector<uint32_t> Words(const Canvas& canvas, uint32_t mask = ~0u) {
    std::vector<uint32_t> words;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) words.push_back(canvas.display.At(x, y) & mask);
    return words;
  }

  TestDrawingContext source;
  TestDrawingContext c;
  MemorySurface surface;
  PasteCurves start, end;
  std::vector<Canvas> pictures;
  PixelPlane work;
};

TEST(PasteAlongSpan, PastesEachPictureOfTheSpanAtItsPlaceWithoutMarks) {
  SpanFixture f;
  const auto schedule = SpanSchedule(0, 3, 1, 3);  // pictures 1..3 of the span 0～3
  const PasteCurves middle = MidpointCurves(f.start, f.end);
  const std::vector<uint32_t> untouched = SpanFixture::Words(f.pictures[0]);
  platform::NoProgress none;
  EXPECT_EQ(PasteAlongSpan(f.c, f.pictures, f.work, schedule, f.start, middle, f.end, f.surface,
                           255, f.c.allocator, none),
            3);
  EXPECT_FALSE(f.c.canvas.HasPicture());
  EXPECT_EQ(f.work.Width(), 60);
  EXPECT_FALSE(f.c.journal.records.empty());  // journaling is the context's
  EXPECT_EQ(SpanFixture::Words(f.pictures[0]), untouched);
  EXPECT_EQ(SpanFixture::Words(f.pictures[3]), f.SinglePaste(f.end));
  EXPECT_EQ(SpanFixture::Words(f.pictures[1]), f.SinglePaste(Shifted(f.start, 8, 6)));
  for (const Canvas& p : f.pictures)
    for (uint32_t w : SpanFixture::Words(p)) ASSERT_EQ(w & kProcessingMarks, 0u);
}

}  // namespace
}  // namespace lumavex
