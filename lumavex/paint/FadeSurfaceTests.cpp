#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/FadeSurface.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;
using Points = std::vector<Sample>;

std::vector<uint32_t> Words(const PixelPlane& plane) {
  std::vector<uint32_t> words;
  for (int y = 0; y < plane.Height(); ++y)
    for (int x = 0; x < plane.Width(); ++x) words.push_back(plane.At(x, y));
  return words;
}

uint32_t Shown(const TestDrawingContext& c, int x, int y) {
  return c.canvas.display.At(x, y) & kColourMask;
}

// A 60 × 30 white picture and a horizontal band from x = 5 to x = 45.
struct FadeFixture {
  FadeFixture() : c(60, 30) { c.settings.pointSpacing = 100; }
  void Draw(FadeProfile profile, const Points& a, const Points& b,
            BandShape shape = BandShape::Spline, QuadScan scan = QuadScan::Spans) {
    platform::NoProgress progress;
    DrawFadeSurface(c, profile, shape, a, b, progress, scan);
  }
  bool Changed(int x, int y) const { return c.canvas.display.At(x, y) & kPaintedMark; }
  TestDrawingContext c;
};

TEST(FadeProfile, ValuesOnTheFadeCurveMidBandAndAtTheBandEdge) {
  const double d = 10, m = 0.5;
  EXPECT_DOUBLE_EQ(FadeProfileValue(FadeProfile::Shadow, d, 0, 99, m), m);
  EXPECT_NEAR(FadeProfileValue(FadeProfile::Shadow, d, 5, 99, m), (1 - std::sqrt(0.5)) * m, 1e-12);
  EXPECT_NEAR(FadeProfileValue(FadeProfile::Shadow, d, 10, 99, m), 0, 1e-12);
  // The gloss is measured from the middle of the band, and ends half a width away.
  EXPECT_DOUBLE_EQ(FadeProfileValue(FadeProfile::Gloss, d, 99, 0, m), m);
  EXPECT_NEAR(FadeProfileValue(FadeProfile::Gloss, d, 99, 2.5, m), std::sqrt(0.5) * m, 1e-12);
  EXPECT_NEAR(FadeProfileValue(FadeProfile::Gloss, d, 99, 5, m), 0, 1e-12);
  EXPECT_DOUBLE_EQ(FadeProfileValue(FadeProfile::Gentle, d, 0, 99, m), m);
  EXPECT_DOUBLE_EQ(FadeProfileValue(FadeProfile::Gentle, d, 5, 99, m), m / 2);
  EXPECT_DOUBLE_EQ(FadeProfileValue(FadeProfile::Gentle, d, 10, 99, m), 0);
}

TEST(FadeProfile, SeriesStayWithinAHundredthOfTheMarginOfTheLibrary) {
  double worst = 0;
  for (double x = -fade_detail::kSeriesReach; x <= fade_detail::kSeriesReach; x += 1e-5) {
    worst = std::max(worst, std::fabs(fade_detail::SeriesCos(x) - std::cos(x)));
    worst = std::max(worst, std::fabs(fade_detail::SeriesSin(x) - std::sin(x)));
  }
  EXPECT_LT(worst, fade_detail::kSeriesMargin / 100);
}

// The quick alpha against the plain one, over pixels across and past the band, with
// fades at both ends and opacities that put many values on alpha boundaries.
template <FadeProfile P>
void ExpectQuickAlphaIsThePlainOne() {
  std::mt19937 random(162);
  std::uniform_real_distribution<double> unit(0, 1);
  int painted = 0;
  for (int trial = 0; trial < 200000; ++trial) {
    const double d = 0.002 + 80 * unit(random) * unit(random);
    const double total = 200 * unit(random);
    const FadeAlphaTerms terms{d,
                               trial % 7 == 0 ? 1.0 : (1 + (trial % 255)) / 255.0,
                               total * unit(random),
                               total,
                               20 * unit(random),
                               trial % 5 == 0 ? 0.0 : 20 * unit(random)};
    // Distances on whole and half pixels as well as anywhere, up to past the band.
    double t = 1.3 * d * unit(random);
    if (trial % 3 == 0) t = std::round(t * 2) / 2;
    const int plain = FadeAlphaOf<P>(terms, t, t);
    ASSERT_EQ(FadeAlphaQuick<P>(terms, t, t), plain) << trial << ": d " << d << " t " << t;
    painted += plain >= 0;
  }
  EXPECT_GT(painted, 50000);
}

TEST(FadeProfile, QuickAlphasAreThePlainAlphasOfEveryProfile) {
  ExpectQuickAlphaIsThePlainOne<FadeProfile::Shadow>();
  ExpectQuickAlphaIsThePlainOne<FadeProfile::Gloss>();
  ExpectQuickAlphaIsThePlainOne<FadeProfile::Gentle>();
}

// Every form of the batched alphas against the library's alpha of each pixel: whole
// quadrilaterals' worth of pixels around a centre, counts that leave a partial group
// of four, inside and outside the fades, and centres put so that pixels fall on alpha
// boundaries (the unsettled ones).
TEST(FadeAlphas, EveryFormGivesTheLibrarysAlphaOfEachPixel) {
  std::mt19937 random(4037);
  std::uniform_real_distribution<double> unit(0, 1);
  const auto variants = FadeAlphasVariants();
  std::vector<int32_t> xs(203), ys(203), alphas(203);
  int checked = 0, boundaries = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const bool onBoundary = trial % 5 == 0;
    const auto profile = onBoundary ? FadeProfile::Shadow : static_cast<FadeProfile>(trial % 3);
    const double d = 0.5 + 60 * unit(random);
    const double total = 300;
    const bool inFades = trial % 4 == 0;
    const FadeAlphaTerms terms{d,
                               onBoundary ? 1.0 : (1 + trial % 255) / 255.0,
                               inFades ? 5 * unit(random) : 150,
                               total,
                               10,
                               10};
    Sample centre{800 + 10 * unit(random), 600 + 10 * unit(random)};
    const int count = 1 + trial % 203;
    for (int i = 0; i < count; ++i) {
      xs[i] = 800 + static_cast<int>(std::lround((2 * unit(random) - 1) * 1.2 * d));
      ys[i] = 600 + static_cast<int>(std::lround((2 * unit(random) - 1) * 1.2 * d));
    }
    if (onBoundary) {
      // A centre on the row of the first pixel at the distance of an alpha boundary.
      const double t = d - std::acos(1 - (1 + trial % 254) / 255.9999) * 2 * d / std::numbers::pi;
      centre = {xs[0] + t, static_cast<double>(ys[0])};
      ++boundaries;
    }
    for (const FadeAlphasFunction alphasOf : variants) {
      alphasOf(profile, terms, centre, xs.data(), ys.data(), count, alphas.data());
      for (int i = 0; i < count; ++i) {
        const double dx = centre.x - xs[i], dy = centre.y - ys[i];
        const double t = std::sqrt(dx * dx + dy * dy);
        const int plain = WithProfile(
            profile, [&](auto p) { return FadeAlphaOf<decltype(p)::value>(terms, t, t); });
        ASSERT_EQ(alphas[i], plain) << "trial " << trial << " pixel " << i;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 300000);
  EXPECT_GT(boundaries, 100);
}

// Values right on an alpha boundary fall back to the library and still agree.
TEST(FadeProfile, QuickAlphasOnAnAlphaBoundaryAgreeWithThePlainOnes) {
  const FadeAlphaTerms terms{10, 1, 50, 100, 0, 0};
  int unsettled = 0;
  for (int alpha = 1; alpha < 255; ++alpha) {
    // The distance whose shadow value is closest to alpha / 255.9999.
    const double target = alpha / 255.9999;
    const double t1 = 10 - std::acos(1 - target) * 2 * 10 / std::numbers::pi;
    for (double t : {std::nextafter(t1, 0.0), t1, std::nextafter(t1, 20.0)}) {
      const int plain = FadeAlphaOf<FadeProfile::Shadow>(terms, t, 0);
      EXPECT_EQ(FadeAlphaQuick<FadeProfile::Shadow>(terms, t, 0), plain) << alpha;
    }
    const double c = fade_detail::SeriesCos((10 - t1) * std::numbers::pi / 20);
    unsettled += fade_detail::SettledAlpha(terms, (1 - (c + fade_detail::kSeriesMargin)),
                                           (1 - (c - fade_detail::kSeriesMargin))) ==
                 fade_detail::kUnsettled;
  }
  EXPECT_GT(unsettled, 200);  // the bracket does catch them
}

TEST(FadeColourRamp, OneStepPerQuadrilateralAndTheLastExactlyTheTermination) {
  const FadeColourRamp same(0x123456, 0x123456, 50);
  for (int i = 0; i <= 48; ++i) EXPECT_EQ(same.At(i), 0x123456u);

  // 0 → 255 over 41 quadrilaterals does not divide: literal steps, exact end.
  const int n = 43;
  const FadeColourRamp ramp(0x00FF80, 0xFF0080, n);
  const int64_t step = int64_t{255} * (int64_t{1} << 55) / (n - 2);
  for (int i = 0; i < n - 2; ++i) {
    const uint32_t red = static_cast<uint32_t>((step * i) >> 55);
    const uint32_t green = static_cast<uint32_t>(255 + ((-step * i) >> 55));
    EXPECT_EQ(ramp.At(i), red << 16 | green << 8 | 0x80) << i;
  }
  EXPECT_EQ((step * (n - 2)) >> 55, 254);
  EXPECT_EQ(ramp.At(n - 2), 0xFF0080u);
}

TEST(FadeSurfaceAlpha, FadesOfZeroGiveFullOpacityAtBothEnds) {
  EXPECT_EQ(FadeSurfaceAlpha(1, 0, 40, 0, 0), 255);
  EXPECT_EQ(FadeSurfaceAlpha(1, 40, 40, 0, 0), 255);
  EXPECT_EQ(FadeSurfaceAlpha(0.5, 0, 40, 0, 0), 127);
  // Fading in over 10 pixels and out over 8.
  EXPECT_EQ(FadeSurfaceAlpha(1, 0, 40, 10, 8), 0);
  EXPECT_EQ(FadeSurfaceAlpha(1, 5, 40, 10, 8), 127);
  EXPECT_EQ(FadeSurfaceAlpha(1, 20, 40, 10, 8), 255);
  EXPECT_EQ(FadeSurfaceAlpha(1, 36, 40, 10, 8), 127);
  EXPECT_EQ(FadeSurfaceAlpha(1, 40, 40, 10, 8), 0);
  // Fades that overlap: the smaller alpha.
  EXPECT_EQ(FadeSurfaceAlpha(1, 5, 10, 10, 10), 127);
}

TEST(FadeSurface, OneColourWhenHeadEqualsTerminationAndFullOpacityAtBothEnds) {
  FadeFixture f;
  f.c.head = f.c.termination = 0xFF0000;
  f.Draw(FadeProfile::Gentle, {{5, 5}, {45, 5}}, {{5, 15}, {45, 15}});
  EXPECT_EQ(f.c.undoSteps, 1);
  int painted = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      if (!f.Changed(x, y)) continue;
      ++painted;
      const uint32_t w = Shown(f.c, x, y);
      EXPECT_EQ(w >> 16, 0xFFu);
      EXPECT_EQ((w >> 8) & 0xFF, w & 0xFF);  // red over white: green equals blue
      EXPECT_TRUE(x >= 5 && x <= 45 && y >= 5 && y <= 15) << x << "," << y;
    }
  EXPECT_GT(painted, 300);
  // No fades: the first and last columns are about as strong as the middle (the
  // pixels lie a little differently in their quadrilaterals).
  const int middle = static_cast<int>(Shown(f.c, 25, 6) & 0xFF);
  EXPECT_NEAR(static_cast<int>(Shown(f.c, 5, 6) & 0xFF), middle, 4);
  EXPECT_NEAR(static_cast<int>(Shown(f.c, 44, 6) & 0xFF), middle, 4);
  // A head fade of 20 pixels leaves the start almost untouched.
  FadeFixture faded;
  faded.c.head = faded.c.termination = 0xFF0000;
  faded.c.settings.headFade = 20;
  faded.Draw(FadeProfile::Gentle, {{5, 5}, {45, 5}}, {{5, 15}, {45, 15}});
  EXPECT_GT(static_cast<int>(Shown(faded.c, 5, 6) & 0xFF), 240);
  EXPECT_NEAR(static_cast<int>(Shown(faded.c, 30, 6) & 0xFF), middle, 4);
  // The gentle slope weakens away from the fade curve.
  EXPECT_LT(Shown(f.c, 25, 6) & 0xFF, Shown(f.c, 25, 12) & 0xFF);
}

TEST(FadeSurface, ColourChangesStepByStepAlongTheBand) {
  FadeFixture f;
  f.c.head = 0x000000;
  f.c.termination = 0x0000FF;
  f.c.settings.maxOpacity = 255;
  f.Draw(FadeProfile::Shadow, {{5, 5}, {45, 5}}, {{5, 25}, {45, 25}});
  // Black to blue over white: red and green show the opacity alone, blue the colour
  // on top of it, which grows from the head to the termination.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint32_t w = Shown(f.c, x, y);
      EXPECT_EQ(w >> 16, (w >> 8) & 0xFF) << x << "," << y;
    }
  const auto colourPart = [&](int x) {
    const uint32_t w = Shown(f.c, x, 6);
    return static_cast<int>(w & 0xFF) - static_cast<int>(w >> 16);
  };
  EXPECT_LT(colourPart(6), 20);
  EXPECT_GT(colourPart(25), 80);
  EXPECT_GT(colourPart(44), 150);
}

TEST(FadeSurface, AWidthCurveOnTheOtherSideShadesTheOtherSide) {
  FadeFixture below, above;
  below.Draw(FadeProfile::Gentle, {{5, 15}, {45, 15}}, {{5, 25}, {45, 25}});
  above.Draw(FadeProfile::Gentle, {{5, 15}, {45, 15}}, {{5, 5}, {45, 5}});
  EXPECT_TRUE(below.Changed(25, 20));
  EXPECT_FALSE(below.Changed(25, 10));
  EXPECT_TRUE(above.Changed(25, 10));
  EXPECT_FALSE(above.Changed(25, 20));
}

TEST(FadeSurface, StopsAtTheSelectionEdge) {
  FadeFixture f;
  for (int y = 0; y < 30; ++y)
    for (int x = 30; x < 60; ++x) Deselect(f.c.canvas.display.At(x, y), f.c.canvas.frame.At(x, y));
  const std::vector<uint32_t> outside = Words(f.c.canvas.display);
  f.Draw(FadeProfile::Gentle, {{5, 5}, {45, 5}}, {{5, 15}, {45, 15}});
  const std::vector<uint32_t> after = Words(f.c.canvas.display);
  for (int y = 0; y < 30; ++y)
    for (int x = 30; x < 60; ++x) EXPECT_EQ(after[y * 60 + x], outside[y * 60 + x]);
  EXPECT_TRUE(f.Changed(29, 6));
}

TEST(FadeSurface, DrawingTwiceWithoutACommandBetweenPaintsNothingNew) {
  FadeFixture f;
  f.Draw(FadeProfile::Gloss, {{5, 5}, {45, 5}}, {{5, 15}, {45, 15}});
  const std::vector<uint32_t> once = Words(f.c.canvas.display);
  const size_t records = f.c.journal.records.size();
  f.c.head = 0x00FF00;
  f.Draw(FadeProfile::Gloss, {{5, 5}, {45, 5}}, {{5, 15}, {45, 15}});
  EXPECT_EQ(Words(f.c.canvas.display), once);
  EXPECT_EQ(f.c.journal.records.size(), records);
  // Every queued pixel lies in the marked rectangle, so the next choice clears it.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (f.c.canvas.display.At(x, y) & kQueuedMark) {
        EXPECT_TRUE(f.c.marked.Contains(x, y));
      }
}

TEST(FadeSurface, ATwistedQuadrilateralStopsTheDrawingAndKeepsWhatWasDrawn) {
  // The width curve dips across the fade curve between two 100-sample positions:
  // only the fine quadrilateral at x = 49 .. 50 is twisted.
  // Both curves get 101 samples, which puts sample 50 at x = 50 on both.
  platform::NoProgress progress;
  const Points a = {{0, 0}, {100, 0}}, b = {{0, 8.65}, {50, -0.05}, {100, 8.65}};
  TestDrawingContext wide(110, 20);
  wide.settings.pointSpacing = 100;
  DrawFadeSurface(wide, FadeProfile::Gentle, BandShape::Polygon, a, b, progress);
  EXPECT_EQ(wide.statusTexts.back(), "★基点がねじれています。");
  EXPECT_EQ(wide.undoSteps, 1);
  EXPECT_TRUE(wide.canvas.display.At(20, 1) & kPaintedMark);
  EXPECT_FALSE(wide.canvas.display.At(70, 1) & kPaintedMark);

  TestDrawingContext touching(110, 20);
  touching.settings.pointSpacing = 100;
  const Points meets = {{0, 8.7}, {50, 0}, {100, 8.7}};
  DrawFadeSurface(touching, FadeProfile::Gentle, BandShape::Polygon, a, meets, progress);
  EXPECT_EQ(touching.statusTexts.back(), "★基点が重なっています。");
  EXPECT_TRUE(touching.canvas.display.At(20, 1) & kPaintedMark);
  EXPECT_FALSE(touching.canvas.display.At(70, 1) & kPaintedMark);
}

TEST(FadeSurface, ABandTwistedAtTheCoarseCheckDrawsNothing) {
  FadeFixture f;
  f.Draw(FadeProfile::Gentle, {{5, 5}, {45, 5}}, {{45, 15}, {5, 15}});
  EXPECT_EQ(f.c.statusTexts.back(), "★基点がねじれています。");
  EXPECT_EQ(f.c.undoSteps, 0);
  EXPECT_TRUE(f.c.journal.records.empty());
}

TEST(FadeSurface, FewerThanThreeSamplesDrawNothingSilently) {
  FadeFixture f;
  f.Draw(FadeProfile::Gentle, {{5, 5}, {6.5, 5}}, {{5, 15}, {6.5, 15}});
  EXPECT_EQ(f.c.undoSteps, 0);
  EXPECT_TRUE(f.c.statusTexts.empty());
  EXPECT_TRUE(f.c.journal.records.empty());
}

TEST(FadeSurface, ThePolygonOfTwoPointsPerListIsTheCurvedSurface) {
  FadeFixture curved, polygon;
  const Points a = {{3.5, 4}, {51, 9.25}}, b = {{6, 21}, {47.5, 27}};
  curved.Draw(FadeProfile::Shadow, a, b, BandShape::Spline);
  polygon.Draw(FadeProfile::Shadow, a, b, BandShape::Polygon);
  EXPECT_EQ(Words(polygon.c.canvas.display), Words(curved.c.canvas.display));
}

bool SameRecords(const std::vector<JournalRecord>& p, const std::vector<JournalRecord>& q) {
  return std::equal(p.begin(), p.end(), q.begin(), q.end(), [](const auto& r, const auto& s) {
    return r.oldDisplay == s.oldDisplay && r.oldFrame == s.oldFrame &&
           r.newDisplay == s.newDisplay && r.newFrame == s.newFrame && r.x == s.x && r.y == s.y;
  });
}

TEST(FadeSurface, RowSpansPaintExactlyWhatTestingTheWholeBoxPaints) {
  std::mt19937 random(40037);
  std::uniform_real_distribution<double> x(0, 59), y(0, 29), offset(-14, 14);
  std::uniform_int_distribution<int> points(3, 5);
  const int spacings[] = {7, 20, 60, 150};
  size_t painted = 0;
  for (FadeProfile profile : {FadeProfile::Shadow, FadeProfile::Gloss, FadeProfile::Gentle}) {
    for (int trial = 0; trial < 12; ++trial) {
      // Random curves with a width curve shifted any way, thin to wide bands, so that
      // quadrilaterals lean every way and some are scanned by rows, some by columns.
      Points a(points(random));
      for (Sample& p : a) p = {x(random), y(random)};
      Points b = a;
      const double dx = offset(random), dy = offset(random);
      for (Sample& p : b) p = {p.x + dx, p.y + dy};
      FadeFixture fast, slow;
      for (FadeFixture* f : {&fast, &slow}) {
        f->c.settings.pointSpacing = spacings[trial % 4];
        f->c.settings.headFade = 3;
        f->c.settings.terminationFade = 4;
        f->c.head = 0x102030;
        f->c.termination = 0xF0A010;
      }
      fast.Draw(profile, a, b, BandShape::Spline, QuadScan::Spans);
      slow.Draw(profile, a, b, BandShape::Spline, QuadScan::WholeBox);
      EXPECT_EQ(Words(fast.c.canvas.display), Words(slow.c.canvas.display)) << trial;
      EXPECT_EQ(Words(fast.c.canvas.frame), Words(slow.c.canvas.frame)) << trial;
      EXPECT_TRUE(SameRecords(fast.c.journal.records, slow.c.journal.records)) << trial;
      EXPECT_EQ(fast.c.statusTexts, slow.c.statusTexts) << trial;
      painted += fast.c.journal.records.size();
    }
  }
  EXPECT_GT(painted, 10000u);
}

// An arc of five base points around (cx, cy), as the drawing benchmark draws.
Points Arc(double cx, double cy, double radius) {
  Points points;
  for (int i = 0; i < 5; ++i) {
    const double angle = 0.3 + 5.5 * i / 4;
    points.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
  return points;
}

TEST(FadeSurface, RowSpansWriteTheWholeBoxJournalRecordByRecordAroundAnArc) {
  for (FadeProfile profile : {FadeProfile::Shadow, FadeProfile::Gloss, FadeProfile::Gentle}) {
    for (BandShape shape : {BandShape::Spline, BandShape::Polygon}) {
      FadeFixture fast, slow;
      for (FadeFixture* f : {&fast, &slow}) {
        f->c.settings.pointSpacing = 7;
        f->c.settings.headFade = 5;
        f->c.settings.terminationFade = 9;
        f->c.head = 0x102030;
        f->c.termination = 0xF0C020;
      }
      const Points outer = Arc(30, 15, 13), inner = Arc(30, 15, 5);
      fast.Draw(profile, outer, inner, shape, QuadScan::Spans);
      slow.Draw(profile, outer, inner, shape, QuadScan::WholeBox);
      EXPECT_GT(fast.c.journal.records.size(), 200u);
      EXPECT_TRUE(SameRecords(fast.c.journal.records, slow.c.journal.records));
      EXPECT_EQ(Words(fast.c.canvas.display), Words(slow.c.canvas.display));
    }
  }
}

}  // namespace
}  // namespace lumavex
