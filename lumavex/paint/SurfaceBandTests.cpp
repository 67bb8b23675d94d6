#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/SurfaceBand.h"

namespace lumavex {
namespace {

// Crossing number with the border counted in: the obvious point-in-polygon test.
bool ReferenceInside(const std::array<Sample, 4>& c, double x, double y) {
  bool inside = false;
  for (int i = 0, j = 3; i < 4; j = i++) {
    const Sample p = c[i], q = c[j];
    const double ex = q.x - p.x, ey = q.y - p.y;
    const double len = std::hypot(ex, ey);
    const double cross = ex * (y - p.y) - ey * (x - p.x);
    const double along = ex * (x - p.x) + ey * (y - p.y);
    if (std::fabs(cross) <= 1e-9 * len && along >= 0 && along <= len * len) return true;
    if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * ex / ey) inside = !inside;
  }
  return inside;
}

TEST(SurfaceQuadCheck, CoincidingCornersThenCrossingOppositeEdges) {
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {10, 0}, {10, 10}, {0, 10}), QuadCheck::Accepted);
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {10, 0}, {0, 10}, {10, 10}), QuadCheck::Twisted);
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {0, 10}, {10, 0}, {10, 10}), QuadCheck::Twisted);
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {10, 0}, {10, 10}, {1e-9, 0}), QuadCheck::Overlapping);
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {0, 1e-9}, {0, 1e-9}, {0, 0}), QuadCheck::Overlapping);
}

TEST(SurfaceQuadCheck, ConcaveButUntwistedQuadrilateralsAreAccepted) {
  // D is a reflex corner: the diagonals do not meet, yet no edges cross.
  EXPECT_EQ(CheckSurfaceQuad({0, 0}, {10, 0}, {10, 10}, {8, 2}), QuadCheck::Accepted);
  EXPECT_EQ(CheckQuad({0, 0}, {10, 0}, {10, 10}, {8, 2}), QuadCheck::Twisted);
}

TEST(SurfaceQuad, BoxHoldsTheIntegerPositionsBetweenTheCornersWithinATolerance) {
  const SurfaceQuad quad({0.9995, 2.5}, {4.0005, 2.5}, {4.2, 7.999}, {1.5, 6});
  EXPECT_EQ(quad.Box(), (PixelRect{1, 3, 4, 8}));
}

TEST(SurfaceQuad, BoxRoundsAsTheLibraryWouldOnWholeFractionalHugeAndNanCorners) {
  const auto reference = [](const std::array<Sample, 4>& c) {
    double minX = c[0].x, maxX = minX, minY = c[0].y, maxY = minY;
    for (const Sample& p : c) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    return PixelRect{PixelIndex(std::ceil(minX - 0.001)), PixelIndex(std::ceil(minY - 0.001)),
                     PixelIndex(std::floor(maxX + 0.001)), PixelIndex(std::floor(maxY + 0.001))};
  };
  const double values[] = {0,           -0.0005, 0.0005, 3.001,   -3.001,           -2.5,
                           7.999,       1e12,    -1e12,  1 << 30, -(1 << 30) + 0.5, (1 << 30) - 0.5,
                           std::nan("")};
  std::mt19937 random(18);
  std::uniform_int_distribution<int> pick(0, std::size(values) - 1);
  for (int trial = 0; trial < 3000; ++trial) {
    std::array<Sample, 4> c;
    for (Sample& p : c) p = {values[pick(random)], values[pick(random)]};
    ASSERT_EQ(SurfaceQuad(c[0], c[1], c[2], c[3]).Box(), reference(c)) << trial;
  }
}

TEST(SurfaceQuad, InsideTestMatchesTheCrossingNumberOnConvexAndConcaveQuads) {
  const std::array<Sample, 4> quads[] = {
      {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}},
      {{{10, 0}, {0, 0}, {0, 10}, {10, 10}}},  // the other orientation
      {{{0, 0}, {10, 0}, {10, 10}, {8, 2}}},   // concave at D
      {{{2, 1}, {12, 3}, {3, 4}, {0, 9}}},     // concave at C
      {{{0.5, 0.5}, {9.5, 1.5}, {7.25, 8.75}, {1.5, 7.5}}},
  };
  for (const auto& c : quads) {
    const SurfaceQuad quad(c[0], c[1], c[2], c[3]);
    for (double y = -1; y <= 11; y += 0.25)
      for (double x = -1; x <= 13; x += 0.25)
        EXPECT_EQ(quad.Contains(x, y), ReferenceInside(c, x, y))
            << x << "," << y << " in quad with A=" << c[0].x << "," << c[0].y;
  }
}

// A quadrilateral of four corners drawn from `coordinate`, when they pass the check.
std::optional<SurfaceQuad> RandomQuad(std::mt19937& random,
                                      std::uniform_real_distribution<double>& coordinate) {
  const Sample a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)},
      c{coordinate(random), coordinate(random)}, d{coordinate(random), coordinate(random)};
  if (CheckSurfaceQuad(a, b, c, d) != QuadCheck::Accepted) return std::nullopt;
  return SurfaceQuad(a, b, c, d);
}

TEST(SurfaceQuad, RowAndColumnSpansHoldEveryContainedPixelOfRandomQuads) {
  std::mt19937 random(18);
  std::uniform_real_distribution<double> coordinate(-3, 40);
  int checked = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    const std::optional<SurfaceQuad> found = RandomQuad(random, coordinate);
    if (!found) continue;
    const SurfaceQuad& quad = *found;
    const PixelRect box = quad.Box();
    for (int y = box.top; y <= box.bottom; ++y) {
      const auto [lo, hi] = quad.RowSpan(y);
      for (int x = box.left; x <= box.right; ++x) {
        if (!quad.Contains(x, y)) continue;
        ++checked;
        ASSERT_TRUE(lo <= x && x <= hi) << trial << ": " << x << "," << y;
        const auto [top, bottom] = quad.ColumnSpan(x);
        ASSERT_TRUE(top <= y && y <= bottom) << trial << ": " << x << "," << y;
      }
    }
  }
  EXPECT_GT(checked, 10000);
}

TEST(SurfaceQuad, RowColumnsAreTheWholeColumnsOfTheRowSpanWithinTheLimits) {
  std::mt19937 random(55);
  std::uniform_real_distribution<double> coordinate(-30, 60);
  std::uniform_int_distribution<int> limit(0, 30);
  for (int trial = 0; trial < 2000; ++trial) {
    const std::optional<SurfaceQuad> found = RandomQuad(random, coordinate);
    if (!found) continue;
    const SurfaceQuad& quad = *found;
    const int left = limit(random), right = left + limit(random);
    for (int y = -32; y <= 62; ++y) {
      const auto [lo, hi] = quad.RowSpan(y);
      const auto [first, last] = quad.RowColumns(y, left, right);
      for (int x = left - 2; x <= right + 2; ++x) {
        const bool inSpan = lo <= x && x <= hi && left <= x && x <= right;
        ASSERT_EQ(first <= x && x <= last, inSpan) << trial << ": " << x << "," << y;
      }
    }
  }
}

// Lines, four lines at a time where the processor can, gives Whole of every line along
// rows and columns, for random quadrilaterals (concave ones among them), limits and runs.
TEST(SurfaceQuad, LinesGiveTheWholePositionsOfEachLineAndTheLinesHoldingAny) {
  std::mt19937 random(56);
  std::uniform_real_distribution<double> coordinate(-30, 60);
  std::uniform_int_distribution<int> limit(-5, 30), run(1, 64);
  int held = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    const std::optional<SurfaceQuad> found = RandomQuad(random, coordinate);
    if (!found) continue;
    const SurfaceQuad& quad = *found;
    const SurfaceQuad::Bounds bounds = quad.BoundsAlong(trial % 2 == 1);
    const int min = limit(random), max = min + limit(random), v = limit(random) - 10;
    const int count = run(random);
    std::array<int, 64> firsts, lasts, having, plainFirsts, plainLasts, plainHaving;
    const int lines = bounds.Lines(v, count, min, max, firsts.data(), lasts.data(), having.data());
    ASSERT_EQ(lines, bounds.LinesPlain(v, count, min, max, plainFirsts.data(), plainLasts.data(),
                                       plainHaving.data()));
    int expected = 0;
    for (int i = 0; i < count; ++i) {
      const auto [first, last] = bounds.Whole(v + i, min, max);
      ASSERT_EQ(firsts[i], first) << trial << " line " << i;
      ASSERT_EQ(lasts[i], last) << trial << " line " << i;
      if (first <= last) {
        ASSERT_EQ(having[expected++], i) << trial;
      }
    }
    ASSERT_EQ(lines, expected) << trial;
    held += lines;
  }
  EXPECT_GT(held, 10000);
}

// The pixels ForEachQuadPixel visits on a blank picture, in visiting order, with the
// picture's pixels at `skipped` carrying the flag or mark that keeps them from a visit.
std::vector<std::pair<int, int>> Visited(const SurfaceQuad& quad, QuadScan scan, int height = 200,
                                         const std::vector<std::pair<int, int>>& skipped = {}) {
  testing::TestDrawingContext context(40, height);
  for (size_t i = 0; i < skipped.size(); ++i)
    context.canvas.display.At(skipped[i].first, skipped[i].second) |=
        i % 2 ? kQueuedMark : kNonSelectedFlag;
  std::vector<std::pair<int, int>> pixels;
  ForEachQuadPixel(context.canvas, quad, {0, 0, 39, height - 1}, scan,
                   [&](int x, int y, uint32_t& display, uint32_t&) {
                     EXPECT_TRUE(display & kQueuedMark);
                     pixels.push_back({x, y});
                   });
  return pixels;
}

TEST(ForEachQuadPixel, RowSpansVisitWhatTheWholeBoxVisitsInTheSameOrder) {
  const std::array<Sample, 4> quads[] = {
      {{{-5, -4}, {20.5, 3}, {44, 35}, {2, 20}}},          // reaching past every side
      {{{0, 0}, {30, 0}, {30, 20}, {25, 4}}},              // concave, level top edge
      {{{3, 2}, {3.2, 2}, {30.2, 28}, {30, 28}}},          // thin and steep, level ends
      {{{10.5, 5}, {10.5, 25}, {10.7, 25}, {10.7, 5}}},    // upright, no whole column
      {{{1, 14.99}, {38, 15.001}, {38, 15.01}, {1, 15}}},  // nearly level, one row
      // Thin and tall: rows in several runs of the scan, most of them without a pixel.
      {{{2, 1}, {2.3, 1}, {37.3, 190}, {37, 190}}},
      {{{36, 3.5}, {36.2, 3.5}, {4.2, 128.5}, {4, 128.5}}},
      // Taller than wide and small, so scanned by columns: leaning either way, several
      // pixels to a row, concave.
      {{{5, 2}, {5.6, 2.3}, {9.1, 30}, {8.4, 29.6}}},
      {{{30, 1.5}, {31.2, 1.5}, {20.2, 40.7}, {19, 40.5}}},
      {{{10, 10}, {14, 12}, {11, 40}, {12, 14}}},
      {{{20.25, 3}, {20.75, 3}, {25.75, 190}, {25.25, 190}}},  // tall, a pixel a few rows
  };
  for (const auto& c : quads) {
    const SurfaceQuad quad(c[0], c[1], c[2], c[3]);
    EXPECT_EQ(Visited(quad, QuadScan::Spans), Visited(quad, QuadScan::WholeBox))
        << "A=" << c[0].x << "," << c[0].y;
  }
}

TEST(ForEachQuadPixel, ASliverAlongAColumnHoldingMorePixelsThanTheColumnBufferIsVisitedWhole) {
  // Area 0.7, yet 700 pixels on column 20.
  const SurfaceQuad quad({19.9995, 0}, {20.0005, 0}, {20.0005, 699}, {19.9995, 699});
  const auto visited = Visited(quad, QuadScan::Spans, 700);
  EXPECT_EQ(visited.size(), 700u);
  EXPECT_EQ(visited, Visited(quad, QuadScan::WholeBox, 700));
}

TEST(ForEachQuadPixel, RandomThinQuadsOfEveryLeanVisitTheWholeBoxPixelsInOrder) {
  std::mt19937 random(40162);
  std::uniform_real_distribution<double> unit(0, 1);
  int visits = 0;
  for (int trial = 0; trial < 600; ++trial) {
    // A band piece: two long edges `length` apart across the band, `width` along it.
    const double angle = unit(random) * 2 * std::numbers::pi;
    const double length = 2 + unit(random) * 60, width = 0.05 + unit(random) * 3;
    const double ux = std::cos(angle), uy = std::sin(angle);
    const Sample a{5 + unit(random) * 30, 5 + unit(random) * 60};
    const double skew = (unit(random) - 0.5) * width;
    const Sample b{a.x + ux * length, a.y + uy * length};
    const Sample c{b.x - uy * (width + skew), b.y + ux * (width + skew)};
    const Sample d{a.x - uy * width, a.y + ux * width};
    if (CheckSurfaceQuad(a, b, c, d) != QuadCheck::Accepted) continue;
    std::vector<std::pair<int, int>> skipped;
    for (int i = 0; i < 40; ++i)
      skipped.push_back({static_cast<int>(unit(random) * 40), static_cast<int>(unit(random) * 80)});
    const SurfaceQuad quad(a, b, c, d);
    const auto spans = Visited(quad, QuadScan::Spans, 80, skipped);
    ASSERT_EQ(spans, Visited(quad, QuadScan::WholeBox, 80, skipped)) << trial;
    visits += static_cast<int>(spans.size());
  }
  EXPECT_GT(visits, 10000);
}

TEST(SampleBand, CountFollowsTheLongerCurveAndTheFirstBadQuadrilateralCancels) {
  const std::vector<Sample> a = {{0, 0}, {100, 0}};
  const std::vector<Sample> b = {{0, 10}, {50, 10}};
  const BandSamples band = SampleBand(BandShape::Spline, a, b, 20);
  EXPECT_EQ(band.check, QuadCheck::Accepted);
  EXPECT_EQ(band.Count(), 500);  // 100 pixels at 0.2 pixel
  EXPECT_EQ(band.b.size(), 500u);

  const std::vector<Sample> crossed = {{100, 10}, {0, 10}};
  const BandSamples twisted = SampleBand(BandShape::Spline, a, crossed, 20);
  EXPECT_EQ(twisted.check, QuadCheck::Twisted);
  EXPECT_EQ(twisted.Count(), 0);
}

}  // namespace
}  // namespace lumavex
