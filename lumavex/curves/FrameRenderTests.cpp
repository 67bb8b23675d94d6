#include "lumavex/curves/FrameRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;

// The frame opacities of rows [top, bottom] and columns [left, right] as text, one
// line a row: '.' no frame, '#' 255, '+' 63, '?' anything else.
std::string OpacityPicture(const Canvas& canvas, int left, int top, int right, int bottom) {
  std::string text;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const uint32_t a = Opacity(canvas.frame.At(x, y));
      text += a == 0 ? '.' : a == 255 ? '#' : a == 63 ? '+' : '?';
    }
    text += '\n';
  }
  return text;
}

// The plane's words, top row first.
std::vector<uint32_t> Layer(const PixelPlane& plane) {
  std::vector<uint32_t> words;
  for (int y = 0; y < plane.Height(); ++y)
    words.insert(words.end(), plane.Row32(y), plane.Row32(y) + plane.Width());
  return words;
}

void AddPoints(std::vector<Sample>& chain, std::initializer_list<Sample> points) {
  chain.insert(chain.end(), points);
}

// Gives pixel (x, y) a frame of opacity `a` and colour `f` over a white bitmap.
void PutFrame(TestDrawingContext& c, int x, int y, uint32_t a, uint32_t f) {
  c.canvas.frame.At(x, y) = (a << 24) | f;
  c.canvas.display.At(x, y) = 0x02000000 | Blend(f, a, 0xFFFFFF);
}

class FrameRenderTest : public ::testing::Test {
 protected:
  FrameRenderTest() : c(32, 24) {}

  // The straight line from (10, 10) to (20, 10) as a frame of `flavour`.
  void DrawExampleLine(FrameFlavour flavour = FrameFlavour::Normal) {
    AddPoints(a, {{10, 10}, {20, 10}});
    RenderFrame(c, flavour, FrameShape::Lines, a);
  }

  // Row 10's frame opacities from x = 10 to 20.
  std::vector<int> RowTenOpacities() {
    std::vector<int> row;
    for (int x = 10; x <= 20; ++x) row.push_back(static_cast<int>(Opacity(c.canvas.frame.At(x, 10))));
    return row;
  }

  TestDrawingContext c;
  std::vector<Sample> a;  // the curve's base points
};

TEST_F(FrameRenderTest, HorizontalLineHasSolidCoreAndRampedEdges) {
  DrawExampleLine();
  EXPECT_EQ(OpacityPicture(c.canvas, 7, 7, 23, 13),
            ".................\n"
            ".................\n"
            "...+++++++++++...\n"
            "..+###########+..\n"
            "...+++++++++++...\n"
            ".................\n"
            ".................\n");
  // The display shows the black frame over white; the work layer is empty again.
  EXPECT_EQ(c.canvas.display.At(15, 10), 0x06000000u);
  EXPECT_EQ(c.canvas.display.At(15, 9), 0x06000000u | Blend(0, 63, 0xFFFFFF));
  EXPECT_EQ(c.canvas.display.At(15, 8), kNewDisplayPixel);
  for (uint32_t w : Layer(c.canvas.work)) ASSERT_EQ(w, 0u);
}

TEST_F(FrameRenderTest, FinishesWithStatusSoundMarksAndRedraw) {
  DrawExampleLine();
  EXPECT_EQ(c.undoSteps, 1);
  EXPECT_EQ(c.statusTexts.front(), "★スプライン曲線計算中...");
  EXPECT_EQ(c.statusTexts[1], "★描画中...");
  EXPECT_EQ(c.statusTexts.back(), "");
  EXPECT_EQ(c.sounds, std::vector<std::string>{"end.wav"});
  // The changed rectangle covers every disc and band box, clipped to the picture.
  const PixelRect expected{9, 8, 21, 11};
  EXPECT_EQ(c.marked, expected);
  EXPECT_EQ(c.redrawn, std::vector<PixelRect>{expected});
}

TEST_F(FrameRenderTest, HeadFadeOverTheWholeLengthRisesLinearly) {
  c.settings.headFade = 10;
  DrawExampleLine();
  // trunc(255.9999 × s / 10) at s = 0 … 9, then the end is past the fade.
  EXPECT_EQ(RowTenOpacities(),
            (std::vector<int>{0, 25, 51, 76, 102, 127, 153, 179, 204, 230, 255}));
}

TEST_F(FrameRenderTest, TerminationFadeFallsToTheEnd) {
  c.settings.terminationFade = 4;
  DrawExampleLine();
  EXPECT_EQ(RowTenOpacities(), (std::vector<int>{255, 255, 255, 255, 255, 255, 255, 191, 127, 63, 0}));
}

TEST_F(FrameRenderTest, ColourRunsFromHeadToTermination) {
  c.head = 0xFF0000;
  c.termination = 0x0000FF;
  DrawExampleLine();
  EXPECT_EQ(c.canvas.frame.At(10, 10), 0xFFFF0000u);
  EXPECT_EQ(c.canvas.frame.At(15, 10), 0xFF800080u);
  EXPECT_EQ(c.canvas.frame.At(20, 10), 0xFF0000FFu);
}

TEST_F(FrameRenderTest, MaximumOpacityLimitsTheCore) {
  c.settings.maxOpacity = 100;
  DrawExampleLine();
  EXPECT_EQ(Opacity(c.canvas.frame.At(15, 10)), 100u);  // trunc(100 / 255 × 255.9999)
  EXPECT_EQ(Opacity(c.canvas.frame.At(15, 9)), 25u);    // a quarter of that, truncated
}

TEST_F(FrameRenderTest, TransparentFrameSkipsFramesAndNonDrawingArea) {
  PutFrame(c, 14, 10, 200, 0x00FF00);
  PutFrame(c, 15, 9, 90, 0x0000FF);
  c.canvas.display.At(17, 10) = 0x00FFFFFF;
  c.canvas.frame.At(17, 10) = BackdropColour(17, 10, false, false);
  const std::vector<uint32_t> display = Layer(c.canvas.display);
  c.head = c.termination = 0x123456;

  DrawExampleLine(FrameFlavour::Transparent);
  EXPECT_EQ(c.canvas.frame.At(14, 10), (200u << 24) | 0x00FF00u);
  EXPECT_EQ(c.canvas.frame.At(15, 9), (90u << 24) | 0x0000FFu);
  EXPECT_EQ(c.canvas.frame.At(17, 10), BackdropColour(17, 10, false, false));
  EXPECT_EQ(c.canvas.display.At(17, 10), 0x00FFFFFFu);
  // Elsewhere the frame is laid, but the display colour stays as it was.
  EXPECT_EQ(c.canvas.frame.At(16, 10), 0xFF123456u);
  EXPECT_EQ(c.canvas.display.At(16, 10), kNewDisplayPixel | kPaintedMark);
  const std::vector<uint32_t> after = Layer(c.canvas.display);
  for (size_t i = 0; i < display.size(); ++i) ASSERT_EQ(after[i] & ~kPaintedMark, display[i]) << i;
}

TEST_F(FrameRenderTest, ColourChangeWithoutFramesChangesNothing) {
  const std::vector<uint32_t> display = Layer(c.canvas.display);
  const std::vector<uint32_t> frame = Layer(c.canvas.frame);
  c.head = c.termination = 0xFF0000;
  DrawExampleLine(FrameFlavour::ColourChange);
  EXPECT_EQ(Layer(c.canvas.display), display);
  EXPECT_EQ(Layer(c.canvas.frame), frame);
  EXPECT_TRUE(c.journal.records.empty());
}

TEST_F(FrameRenderTest, ColourChangeRecoloursExistingFramesOnly) {
  for (int x = 12; x <= 18; ++x) PutFrame(c, x, 10, 128, 0xFF0000);
  c.head = c.termination = 0x0000FF;
  DrawExampleLine(FrameFlavour::ColourChange);
  for (int x = 12; x <= 18; ++x) {
    EXPECT_EQ(c.canvas.frame.At(x, 10), (128u << 24) | 0x0000FFu);
    EXPECT_EQ(c.canvas.display.At(x, 10), 0x06000000u | Blend(0x0000FF, 128, 0xFFFFFF));
  }
  EXPECT_EQ(c.canvas.frame.At(11, 10), BackdropColour(11, 10, true, false));
  EXPECT_EQ(c.journal.records.size(), 7u);
}

TEST_F(FrameRenderTest, NormalFrameGoesUnderAnOpaqueFrame) {
  PutFrame(c, 15, 10, 255, 0x123456);
  c.head = c.termination = 0xFFFFFF;
  DrawExampleLine();
  EXPECT_EQ(c.canvas.frame.At(15, 10), 0xFF123456u);
  EXPECT_EQ(c.canvas.display.At(15, 10), 0x06123456u);
}

TEST_F(FrameRenderTest, ZeroLengthCurveDrawsNothing) {
  AddPoints(a, {{5, 5}, {5.0003, 5}, {5, 5.0002}});
  const std::vector<uint32_t> display = Layer(c.canvas.display);
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Lines, a);
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Spline, a);
  EXPECT_EQ(c.undoSteps, 0);
  EXPECT_EQ(Layer(c.canvas.display), display);
  EXPECT_EQ(c.statusTexts.back(), "");

  // A curve needs two points; the status text does not stay behind.
  a.clear();
  AddPoints(a, {{5, 5}});
  c.statusTexts.clear();
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Spline, a);
  EXPECT_EQ(c.undoSteps, 0);
  EXPECT_EQ(c.statusTexts, (std::vector<std::string>{"★スプライン曲線計算中...", ""}));
}

TEST_F(FrameRenderTest, NonSelectedPixelsAreSkipped) {
  for (int x = 12; x <= 14; ++x) Deselect(c.canvas.display.At(x, 10), c.canvas.frame.At(x, 10));
  const uint32_t before = c.canvas.display.At(13, 10);
  DrawExampleLine();
  EXPECT_EQ(c.canvas.display.At(13, 10), before);
  EXPECT_EQ(c.canvas.frame.At(13, 10), ShiftFrameColour(BackdropColour(13, 10, true, false)));
  EXPECT_EQ(Opacity(c.canvas.frame.At(15, 10)), 255u);
}

TEST_F(FrameRenderTest, PaintedMarksMakeASecondDrawChangeNothing) {
  DrawExampleLine();
  const std::vector<uint32_t> display = Layer(c.canvas.display);
  const std::vector<uint32_t> frame = Layer(c.canvas.frame);
  const size_t records = c.journal.records.size();
  c.head = c.termination = 0xFF00FF;
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Lines, a);
  EXPECT_EQ(Layer(c.canvas.display), display);
  EXPECT_EQ(Layer(c.canvas.frame), frame);
  EXPECT_EQ(c.journal.records.size(), records);
}

TEST_F(FrameRenderTest, JournalRecordsMatchThePixelChanges) {
  PutFrame(c, 14, 10, 120, 0x00FF00);
  const std::vector<uint32_t> display = Layer(c.canvas.display);
  const std::vector<uint32_t> frame = Layer(c.canvas.frame);
  AddPoints(a, {{3, 3}, {20, 12}, {28, 4}});
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Lines, a);

  const int width = c.canvas.Width();
  std::map<int, const JournalRecord*> byPosition;
  int previousRow = c.canvas.Height();
  for (const JournalRecord& r : c.journal.records) {
    ASSERT_LE(r.y, previousRow);  // rows from the bottom up
    previousRow = r.y;
    ASSERT_TRUE(byPosition.emplace(r.y * width + r.x, &r).second);
  }
  for (size_t i = 0; i < display.size(); ++i) {
    const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    const auto it = byPosition.find(static_cast<int>(i));
    if (it == byPosition.end()) {
      ASSERT_EQ(c.canvas.display.At(x, y), display[i]);
      ASSERT_EQ(c.canvas.frame.At(x, y), frame[i]);
      continue;
    }
    EXPECT_EQ(it->second->oldDisplay, display[i] & kJournalMask);
    EXPECT_EQ(it->second->oldFrame, frame[i]);
    EXPECT_EQ(it->second->newDisplay, c.canvas.display.At(x, y) & kJournalMask);
    EXPECT_EQ(it->second->newFrame, c.canvas.frame.At(x, y));
  }
  EXPECT_GT(byPosition.size(), 40u);
}

TEST_F(FrameRenderTest, NothingIsDrawnOutsideTheProcessingSquare) {
  c.canvas.processingSquare = {12, 9, 17, 10};
  DrawExampleLine();
  for (int y = 0; y < c.canvas.Height(); ++y)
    for (int x = 0; x < c.canvas.Width(); ++x) {
      const bool inside = x >= 12 && x <= 17 && y >= 9 && y <= 10;
      if (!inside) {
        ASSERT_EQ(c.canvas.display.At(x, y), kNewDisplayPixel) << x << "," << y;
      }
    }
  EXPECT_EQ(c.marked, (PixelRect{12, 9, 17, 10}));
}

TEST_F(FrameRenderTest, CurveCommandDrawsTheSplineAtThePointSpacing) {
  AddPoints(a, {{4, 4}, {12, 18}, {24, 6}});
  RenderFrame(c, FrameFlavour::Normal, FrameShape::Spline, a);
  const std::vector<uint32_t> frame = Layer(c.canvas.frame);

  TestDrawingContext other(32, 24);
  const std::vector<Sample> points{{4, 4}, {12, 18}, {24, 6}};
  const std::vector<Sample> samples =
      SplineSamples(points, FrameSampleCount(points, other.settings.pointSpacing));
  RenderFrameSamples(other, FrameFlavour::Normal, samples);
  EXPECT_EQ(frame, Layer(other.canvas.frame));
  EXPECT_EQ(Opacity(c.canvas.frame.At(12, 18)), 255u);
}

// Widths far beyond int (which the settings refuse, but the renderer must not trust)
// give boxes clamped to reach, not undefined conversions: the picture is covered.
TEST(FrameRenderBoxes, WidthsBeyondIntCoverThePicture) {
  for (double radius : {3e9, 1e300}) {
    SCOPED_TRACE(radius);
    const PixelRect disc = DiscBox({5, 5}, radius);
    EXPECT_TRUE(disc.Contains(0, 0));
    EXPECT_TRUE(disc.Contains(29999, 29999));
    const auto band = MakeBandSegment({5, 5}, {9, 5}, radius, 4);
    ASSERT_TRUE(band);
    const PixelRect box = BandBox(*band);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 9);
    EXPECT_TRUE(box.Contains(5, -29999));
    EXPECT_TRUE(box.Contains(9, 29999));
  }
  EXPECT_TRUE(DiscBox({std::nan(""), 0}, 1).Intersect({0, 0, 10, 10}).Empty());
}

TEST_F(FrameRenderTest, FrameWiderThanIntCoversTheWholePicture) {
  c.settings.frameWidth = 1e10;
  DrawExampleLine();
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(Opacity(c.canvas.frame.At(x, y)), 255u) << x << "," << y;
}

TEST(Ellipse, OutlineOfNineByNineCornersIsACircleOfRadiusFive) {
  const std::vector<Sample> outline = EllipseOutline({9, 0}, {0, 9});
  ASSERT_EQ(outline.size(), 361u);
  EXPECT_DOUBLE_EQ(outline[0].x, 10);
  EXPECT_DOUBLE_EQ(outline[0].y, 5);
  for (const Sample& p : outline) ASSERT_NEAR(std::hypot(p.x - 5, p.y - 5), 5, 1e-12);
  EXPECT_NEAR(outline[90].y, 10, 1e-9);
}

TEST(Ellipse, DrawsARingAroundTheCentre) {
  TestDrawingContext c(16, 16);
  const std::vector<Sample> corners{{0, 0}, {9, 9}};
  DrawEllipse(c, corners);
  for (auto [x, y] : {std::pair{10, 5}, {0, 5}, {5, 0}, {5, 10}})
    EXPECT_EQ(Opacity(c.canvas.frame.At(x, y)), 255u) << x << "," << y;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const double r = std::hypot(x - 5, y - 5);
      if (r < 3.7 || r > 6.3) {
        ASSERT_EQ(Opacity(c.canvas.frame.At(x, y)), 0u) << x << "," << y;
      }
    }
  EXPECT_EQ(c.undoSteps, 1);
}

TEST(Ellipse, ListWithoutTwoCornersDrawsNothing) {
  TestDrawingContext c(16, 16);
  const std::vector<Sample> corners{{3, 3}};
  DrawEllipse(c, corners);
  EXPECT_EQ(c.undoSteps, 0);
}

// ---- The row-span loops against a walk over every pixel of every box. ----

// Walks the whole clipped box of every disc and band, bottom row up.
PixelRect ReferenceWork(TestDrawingContext& c, FrameFlavour flavour,
                        const std::vector<Sample>& samples) {
  const std::vector<double> lengths = CumulativeLengths(samples);
  if (lengths.back() <= 0.001) return {};
  const FrameStroke stroke = MakeFrameStroke(c, flavour, lengths.back());
  Canvas& canvas = c.canvas;
  const PixelRect& sq = canvas.processingSquare;
  PixelRect changed;
  auto walk = [&](PixelRect box, auto shade) {
    box = {std::max(box.left, sq.left), std::max(box.top, sq.top), std::min(box.right, sq.right),
           std::min(box.bottom, sq.bottom)};
    if (box.Empty()) return;
    changed.Merge(box);
    for (int y = box.bottom; y >= box.top; --y)
      for (int x = box.left; x <= box.right; ++x)
        OfferWork(stroke, canvas.work.At(x, y),
                  shade(x, y, canvas.display.At(x, y), canvas.frame.At(x, y)));
  };
  auto disc = [&](Sample p, double arc) {
    walk(DiscBox(p, stroke.radius), [&](int x, int y, uint32_t d, uint32_t f) {
      return DiscPixel(stroke, p, arc, x, y, d, f);
    });
  };
  for (size_t i = 1; i < samples.size(); ++i) {
    const auto band = MakeBandSegment(samples[i - 1], samples[i], stroke.radius, lengths[i]);
    if (!band) continue;
    disc(samples[i - 1], lengths[i - 1]);
    walk(BandBox(*band), [&](int x, int y, uint32_t d, uint32_t f) {
      return BandPixel(stroke, *band, x, y, d, f);
    });
  }
  disc(samples.back(), lengths.back());
  return changed;
}

// A picture with frames, marks, non-selected and non-drawing-area pixels.
void Scatter(TestDrawingContext& c, std::mt19937& random) {
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<uint32_t> word;
  for (int y = 0; y < c.canvas.Height(); ++y)
    for (int x = 0; x < c.canvas.Width(); ++x) {
      uint32_t& d = c.canvas.display.At(x, y);
      uint32_t& f = c.canvas.frame.At(x, y);
      switch (pick(random)) {
        case 0: f = word(random) | 0x01000000; break;
        case 1: d &= ~kDrawAreaFlag; f = BackdropColour(x, y, false, false); break;
        case 2: Deselect(d, f); break;
        case 3: d |= kPaintedMark; break;
        case 4: c.canvas.work.At(x, y) = word(random); break;
        default: break;
      }
    }
}

TEST(FrameRenderLoops, MatchTheFullBoxWalkOnRandomCurves) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coord(-6, 46);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int round = 0; round < 600; ++round) {
    TestDrawingContext fast(40, 30), slow(40, 30);
    std::mt19937 scatter(round);
    Scatter(fast, scatter);
    scatter.seed(round);
    Scatter(slow, scatter);
    DrawingSettings settings;
    settings.frameWidth = round % 3 == 0 ? 0 : unit(random) * 6;
    settings.antiAliasWidth = 1 + unit(random) * 3;
    settings.maxOpacity = 1 + round % 255;
    settings.headFade = round % 4 == 1 ? unit(random) * 12 : 0;
    settings.terminationFade = round % 5 == 2 ? unit(random) * 12 : 0;
    for (TestDrawingContext* c : {&fast, &slow}) {
      c->settings = settings;
      c->head = 0x102030 * (round % 7);
      c->termination = 0xFEDCBA;
      c->canvas.processingSquare = round % 2 ? PixelRect{3, 2, 33, 27}
                                             : PixelRect{0, 0, 39, 29};
    }
    std::vector<Sample> samples;
    const int count = 2 + round % 9;
    for (int i = 0; i < count; ++i) {
      // Short steps, repeats and axis-parallel pieces next to long diagonals.
      Sample p{coord(random), coord(random)};
      if (i > 0 && round % 3 == 1) p = {samples.back().x + unit(random) * 0.4, samples.back().y};
      if (i > 0 && round % 6 == 4) p = {samples.back().x, samples.back().y + coord(random) / 4};
      if (i > 0 && round % 11 == 5) p = samples.back();
      samples.push_back(p);
    }
    const FrameFlavour flavour = static_cast<FrameFlavour>(round % 3);
    const PixelRect fastRect = RenderFrameWork(fast, flavour, samples);
    const PixelRect slowRect = ReferenceWork(slow, flavour, samples);
    ASSERT_EQ(fastRect, slowRect) << round;
    ASSERT_EQ(Layer(fast.canvas.work), Layer(slow.canvas.work)) << round;
  }
}

}  // namespace
}  // namespace lumavex
