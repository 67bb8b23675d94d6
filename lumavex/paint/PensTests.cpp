#include <gtest/gtest.h>

#include <random>
#include <set>

#include "lumavex/canvas/AsciiPictureTestSupport.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/curves/FrameCommit.h"
#include "lumavex/paint/Pens.h"

namespace lumavex {
namespace {

using testing::AsciiFromPicture;
using testing::PictureFromAscii;
using testing::TestDrawingContext;
using Rows = std::vector<std::string>;
using Position = std::pair<double, double>;

// The default legend with 'B', black painted by a pen (painted mark set), and 'W',
// white taken out of the draw area by a pen.
testing::AsciiLegend Legend() {
  testing::AsciiLegend legend = testing::DefaultAsciiLegend();
  legend['B'] = {kDrawAreaFlag | kPaintedMark, 0};
  legend['W'] = {kPaintedMark | kColourMask, 0};
  return legend;
}

struct PenFixture {
  explicit PenFixture(const Rows& rows)
      : c(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())) {
    PictureFromAscii(c.canvas, rows, Legend());
  }
  void Stroke(const Pen& pen, std::initializer_list<Position> positions) {
    PenStroke stroke(c, pen);
    for (const auto& [x, y] : positions) stroke.Apply(x, y);
    stroke.Finish();
  }
  Rows Picture() const { return AsciiFromPicture(c.canvas, Legend()); }
  TestDrawingContext c;
};

// Every word of `plane`, top row first.
std::vector<uint32_t> Words(const PixelPlane& plane) {
  std::vector<uint32_t> words;
  for (int y = 0; y < plane.Height(); ++y)
    for (int x = 0; x < plane.Width(); ++x) words.push_back(plane.At(x, y));
  return words;
}

void PutWords(PixelPlane& plane, const std::vector<uint32_t>& words) {
  size_t i = 0;
  for (int y = 0; y < plane.Height(); ++y)
    for (int x = 0; x < plane.Width(); ++x) plane.At(x, y) = words[i++];
}

Pen Normal(int width, uint32_t opacity = 255) {
  return {.kind = PenKind::Normal, .width = width, .colour = 0x000000, .opacity = opacity};
}

const Rows kBlank = {"......", "......", "......", "......", "......"};

TEST(PenBrush, CoversTheSquareEndingAtTheCursorPixelClippedToTheSquare) {
  EXPECT_EQ(BrushPixel(2.49), 2);
  EXPECT_EQ(BrushPixel(2.5), 3);
  EXPECT_EQ(BrushPixel(-0.49), 0);
  EXPECT_EQ(BrushPixel(-0.5), -1);
  EXPECT_EQ(BrushPixel(-7.0), -1);

  PenFixture one(kBlank);
  one.Stroke(Normal(0), {{2.4, 1.6}});
  EXPECT_EQ(one.Picture(), (Rows{"......", "......", "..B...", "......", "......"}));
  EXPECT_EQ(one.c.journal.records.size(), 1u);

  PenFixture square(kBlank);
  square.Stroke(Normal(2), {{3.0, 3.0}});
  EXPECT_EQ(square.Picture(), (Rows{"......", ".BBB..", ".BBB..", ".BBB..", "......"}));
  // Rows from the bottom of the brush upwards, each from the left.
  const auto& records = square.c.journal.records;
  EXPECT_EQ(records.front().x, 1);
  EXPECT_EQ(records.front().y, 3);
  EXPECT_EQ(records.back().x, 3);
  EXPECT_EQ(records.back().y, 1);

  PenFixture clipped(kBlank);
  clipped.c.canvas.processingSquare = {2, 0, 5, 2};
  clipped.Stroke(Normal(3), {{3.0, 4.0}, {-3.0, 0.0}});
  EXPECT_EQ(clipped.Picture(), (Rows{"......", "..BB..", "..BB..", "......", "......"}));
  EXPECT_EQ(clipped.c.marked, (PixelRect{2, 1, 3, 2}));
}

TEST(PenStroke, ChangesEachPixelOnceUntilTheMarksAreCleared) {
  PenFixture f(kBlank);
  const Pen pen = Normal(1, 128);
  {
    PenStroke stroke(f.c, pen);
    stroke.Apply(2, 2);
    stroke.Apply(3, 2);  // overlaps the first application in column 2
    stroke.Apply(2, 2);
    stroke.Finish();
  }
  EXPECT_EQ(f.c.journal.records.size(), 6u);
  const uint32_t once = f.c.canvas.display.At(2, 2) & kColourMask;
  EXPECT_EQ(once, Blend(0, 128, 0xFFFFFF));
  EXPECT_EQ(f.c.undoSteps, 1);
  EXPECT_EQ(f.c.sounds, std::vector<std::string>{"end.wav"});

  ClearMarks(f.c.canvas, f.c.marked, kProcessingMarks);
  f.Stroke(pen, {{2, 2}});
  EXPECT_EQ(f.c.canvas.display.At(2, 2) & kColourMask, Blend(0, 128, once));
}

TEST(PenStroke, LeavesGapsBetweenPositionsFarApart) {
  PenFixture f(kBlank);
  f.Stroke(Normal(0), {{0, 0}, {5, 4}});
  EXPECT_EQ(f.Picture(), (Rows{"B.....", "......", "......", "......", ".....B"}));
}

TEST(PenStroke, NormalPenPaintsNonDrawPixelsButNeverNonSelectedOrMarkedOnes) {
  PenFixture f({"~~x", "~*.", "..."});
  f.Stroke(Normal(2), {{2, 2}});
  EXPECT_EQ(f.Picture(), (Rows{"BBx", "B*B", "BBB"}));
  EXPECT_EQ(f.c.canvas.frame.At(0, 0), BackdropColour(0, 0, true, false));
}

TEST(PenStroke, DeletePenMakesDrawPixelsTransparentFramedOrNot) {
  PenFixture f({"#o.~", "x*.."});
  f.Stroke({.kind = PenKind::Delete, .width = 3}, {{3, 1}});
  EXPECT_EQ(f.Picture(), (Rows{"WWW~", "x*WW"}));
  EXPECT_EQ(f.c.canvas.frame.At(0, 0), BackdropColour(0, 0, false, false));
}

TEST(PenStroke, TransparentDeletePenRemovesFramesButKeepsTheLook) {
  PenFixture f({"#o.~", "o*x."});
  const uint32_t halfLook = f.c.canvas.display.At(1, 0);
  f.Stroke({.kind = PenKind::TransparentDelete, .width = 3}, {{3, 1}});
  const Canvas& c = f.c.canvas;
  EXPECT_EQ(c.display.At(0, 0), kDrawAreaFlag | kPaintedMark);
  EXPECT_EQ(c.display.At(1, 0), halfLook | kPaintedMark);
  for (int x : {0, 1}) EXPECT_EQ(c.frame.At(x, 0), BackdropColour(x, 0, true, false));
  EXPECT_EQ(c.frame.At(0, 1), BackdropColour(0, 1, true, false));
  // Unframed, non-draw and non-selected pixels keep their words and get no mark.
  EXPECT_EQ(f.Picture()[0].substr(2), ".~");
  EXPECT_EQ(f.Picture()[1].substr(1), "*x.");
  EXPECT_EQ(f.c.journal.records.size(), 3u);
}

TEST(PenStroke, ColourChangePenRecoloursFramesAndCanRemoveThemAfter) {
  const Rows rows = {"o.#"};
  const uint32_t half = 0x80000000;
  const uint32_t expected = ShiftDisplay(Blend(0, 128, 0xFFFFFF), half, 0x4080FF);
  for (bool deletes : {false, true}) {
    PenFixture f(rows);
    f.Stroke(
        {.kind = PenKind::ColourChange, .width = 2, .deletesFrame = deletes, .colour = 0x4080FF},
        {{2, 0}});
    const Canvas& c = f.c.canvas;
    EXPECT_EQ(c.display.At(0, 0), kDrawAreaFlag | kPaintedMark | expected);
    EXPECT_EQ(c.display.At(2, 0), kDrawAreaFlag | kPaintedMark | 0x4080FF);
    EXPECT_EQ(c.display.At(1, 0), kNewDisplayPixel);
    EXPECT_EQ(c.frame.At(0, 0), deletes ? BackdropColour(0, 0, true, false) : 0x804080FFu);
    EXPECT_EQ(c.frame.At(2, 0), deletes ? BackdropColour(2, 0, true, false) : 0xFF4080FFu);
  }
}

TEST(PenStroke, AreaPensToggleTheSelectionWithoutJournal) {
  PenFixture f({"x.x", "..x"});
  const uint32_t display = f.c.canvas.display.At(0, 0), frame = f.c.canvas.frame.At(0, 0);
  f.Stroke({.kind = PenKind::Select, .width = 2}, {{2, 1}});
  EXPECT_EQ(f.Picture(), (Rows{"*.*", "..*"}));
  EXPECT_TRUE(f.c.journal.records.empty());
  EXPECT_EQ(f.c.undoSteps, 0);

  ClearMarks(f.c.canvas, f.c.marked, kProcessingMarks);
  f.Stroke({.kind = PenKind::Deselect, .width = 2}, {{2, 1}});
  EXPECT_EQ(f.c.canvas.display.At(0, 0), display | kPaintedMark);
  EXPECT_EQ(f.c.canvas.frame.At(0, 0), frame);
  EXPECT_TRUE(f.c.journal.records.empty());
}

// A 2 × 1 picture per case: (0, 0) is brushed, (1, 0) is its only other neighbour.
uint32_t GradedColour(PenKind kind, uint32_t neighbourDisplay, uint32_t neighbourFrame) {
  TestDrawingContext c(2, 1);
  c.canvas.display.At(0, 0) = kDrawAreaFlag | 0x000000;
  c.canvas.frame.At(0, 0) = kind == PenKind::FrameGradation ? 0xFF000000 : 0;
  c.canvas.display.At(1, 0) = neighbourDisplay;
  c.canvas.frame.At(1, 0) = neighbourFrame;
  PenStroke stroke(c, {.kind = kind, .width = 0, .degree = 2});
  stroke.Apply(0, 0);
  stroke.Finish();
  return c.canvas.display.At(0, 0) & kColourMask;
}

TEST(NeighbourPens, CountOnlyTheNeighboursTheirRulesAllow) {
  const uint32_t white = kNewDisplayPixel;
  EXPECT_EQ(GradedColour(PenKind::Gradation, white, 0), 0x808080u);  // (255 + 1) / 2
  const uint32_t under249 = kDrawAreaFlag | Blend(0xFFFFFF, 249, 0xFFFFFF);
  EXPECT_EQ(GradedColour(PenKind::Gradation, under249, 0xF9FFFFFF), 0x808080u);
  EXPECT_EQ(GradedColour(PenKind::Gradation, white, 0xFAFFFFFF), 0u);
  EXPECT_EQ(GradedColour(PenKind::Gradation, white | kNonSelectedFlag, 0), 0u);
  EXPECT_EQ(GradedColour(PenKind::Gradation, kColourMask, 0), 0u);  // outside the draw area
  EXPECT_EQ(GradedColour(PenKind::Mosaic, white, 0xFEFFFFFF), 0x808080u);
  EXPECT_EQ(GradedColour(PenKind::Mosaic, white, 0xFFFFFFFF), 0u);
  // The frame gradation takes frame colours of framed neighbours; the brushed
  // pixel's opaque frame shows its new colour.
  EXPECT_EQ(GradedColour(PenKind::FrameGradation, white, 0x01FFFFFF), 0x808080u);
  EXPECT_EQ(GradedColour(PenKind::FrameGradation, white, 0), 0u);
}

// The blue value one-pixel mosaic strokes at `at` give in a fresh 8 × 2 picture whose
// top row runs 0, 20, ... 140 and whose bottom row is white.
uint32_t MosaicAt(Position at) {
  TestDrawingContext c(8, 2);
  for (int x = 0; x < 8; ++x) c.canvas.display.At(x, 0) = kDrawAreaFlag | (x * 20);
  PenStroke stroke(c, {.kind = PenKind::Mosaic, .width = 0, .degree = 4});
  stroke.Apply(at.first, at.second);
  stroke.Finish();
  return c.canvas.display.At(BrushPixel(at.first), BrushPixel(at.second)) & 0xFF;
}

TEST(NeighbourPens, MosaicCellsStayOnTheGridOfThePictureOrigin) {
  // Cell x 0..3: (0 + 20 + 40 + 60 + 4 × 255 + 4) / 8; cell x 4..7 likewise.
  EXPECT_EQ(MosaicAt({1, 0}), (120u + 1020 + 4) / 8);
  EXPECT_EQ(MosaicAt({3, 1}), (120u + 1020 + 4) / 8);
  EXPECT_EQ(MosaicAt({4, 1}), (440u + 1020 + 4) / 8);
  EXPECT_EQ(MosaicAt({7, 0}), (440u + 1020 + 4) / 8);
}

// A random picture: draw and non-draw, selected and not, marked here and there,
// frames of every opacity with the extremes 0, 249..255 favoured.
void RandomPicture(Canvas& canvas, std::mt19937& random) {
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF), percent(0, 99), any(1, 254);
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      uint32_t& d = canvas.display.At(x, y);
      uint32_t& f = canvas.frame.At(x, y);
      if (percent(random) < 10) {
        d = colour(random);
        f = BackdropColour(x, y, false, false);
      } else {
        const int p = static_cast<int>(percent(random));
        const uint32_t a = p < 40 ? 0 : p < 70 ? any(random) : 249 + p % 7;
        f = a ? a << 24 | colour(random) : BackdropColour(x, y, true, false);
        d = kDrawAreaFlag | (a ? Blend(f, a, colour(random)) : colour(random));
      }
      if (percent(random) < 10) ToggleSelection(d, f);
      if (percent(random) < 3) d |= kPaintedMark;
    }
}

// The averaging pens as plain loops: every pixel of any brush that was eligible
// before the stroke takes the average of its neighbours in the unchanged picture.
void ReferenceStroke(Canvas& canvas, const Pen& pen, const std::vector<Position>& positions) {
  const std::vector<uint32_t> displays = Words(canvas.display), frames = Words(canvas.frame);
  const auto index = [&](int x, int y) { return static_cast<size_t>(y) * canvas.Width() + x; };
  std::set<std::pair<int, int>> brushed;
  for (const auto& [cx, cy] : positions) {
    const PixelRect r =
        BrushRect(BrushPixel(cx), BrushPixel(cy), pen.width).Intersect(PaintArea(canvas));
    for (int y = r.top; y <= r.bottom; ++y)
      for (int x = r.left; x <= r.right; ++x) brushed.insert({x, y});
  }
  const int w = canvas.Width(), h = canvas.Height();
  for (const auto& [x, y] : brushed) {
    const uint32_t d = displays[index(x, y)], f = frames[index(x, y)];
    const bool eligible = (d & 0x07000000) == 0x02000000;
    if (!eligible || (pen.kind == PenKind::FrameGradation && (f >> 24) == 0)) continue;
    canvas.display.At(x, y) |= kPaintedMark;
    int left = x - pen.degree, right = x + pen.degree, top = y - pen.degree,
        bottom = y + pen.degree;
    if (pen.kind == PenKind::Mosaic) {
      left = x / pen.degree * pen.degree, top = y / pen.degree * pen.degree;
      right = left + pen.degree - 1, bottom = top + pen.degree - 1;
    }
    uint64_t sum[3] = {}, n = 0;
    for (int j = std::max(top, 0); j <= std::min(bottom, h - 1); ++j)
      for (int i = std::max(left, 0); i <= std::min(right, w - 1); ++i) {
        const uint32_t nd = displays[index(i, j)], nf = frames[index(i, j)], a = nf >> 24;
        if ((nd & 0x03000000) != 0x02000000) continue;
        if (pen.kind == PenKind::Gradation && a >= 250) continue;
        if (pen.kind == PenKind::Mosaic && a == 255) continue;
        if (pen.kind == PenKind::FrameGradation && a == 0) continue;
        const uint32_t c = pen.kind == PenKind::FrameGradation ? nf : Unblend(nd, nf, a);
        for (int k = 0; k < 3; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
        ++n;
      }
    if (n == 0) continue;
    uint32_t average = 0;
    for (int k = 0; k < 3; ++k) average |= static_cast<uint32_t>((sum[k] + n / 2) / n) << (8 * k);
    uint32_t& display = canvas.display.At(x, y);
    uint32_t& frame = canvas.frame.At(x, y);
    if (pen.kind == PenKind::FrameGradation) {
      const auto p =
          CommitPixel(FrameFlavour::ColourChange, 0xFF000000 | average, {display, frame});
      display = p->display, frame = p->frame;
    } else {
      const PixelPair p = PaintPixel(x, y, average, display, frame, 255);
      display = p.display | kPaintedMark, frame = p.frame;
    }
  }
}

TEST(NeighbourPens, MatchTheirPlainLoopsWordForWordOnRandomPictures) {
  std::mt19937 random(16);
  NeighbourSums sums;  // reused over pictures of other sizes, as the pen tool does
  for (PenKind kind : {PenKind::Gradation, PenKind::FrameGradation, PenKind::Mosaic})
    for (int round = 0; round < 6; ++round) {
      std::uniform_int_distribution<int> width(40, 90), height(30, 80), small(0, 7);
      TestDrawingContext c(width(random), height(random));
      RandomPicture(c.canvas, random);
      c.canvas.processingSquare = {3, 2, c.canvas.Width() - 4, c.canvas.Height() - 1};
      const Pen pen{.kind = kind, .width = small(random), .degree = 1 + small(random)};
      std::vector<Position> positions;
      std::uniform_real_distribution<double> x(-3, c.canvas.Width() + 3),
          y(-3, c.canvas.Height() + 3);
      for (int i = 0; i < 40; ++i) positions.push_back({x(random), y(random)});

      TestDrawingContext expected(c.canvas.Width(), c.canvas.Height());
      PutWords(expected.canvas.display, Words(c.canvas.display));
      PutWords(expected.canvas.frame, Words(c.canvas.frame));
      expected.canvas.processingSquare = c.canvas.processingSquare;
      ReferenceStroke(expected.canvas, pen, positions);

      PenStroke stroke(c, pen, sums);
      for (const auto& [px, py] : positions) stroke.Apply(px, py);
      stroke.Finish();
      for (int py = 0; py < c.canvas.Height(); ++py)
        for (int px = 0; px < c.canvas.Width(); ++px) {
          ASSERT_EQ(c.canvas.display.At(px, py), expected.canvas.display.At(px, py))
              << static_cast<int>(kind) << " at " << px << "," << py;
          ASSERT_EQ(c.canvas.frame.At(px, py), expected.canvas.frame.At(px, py));
          ASSERT_EQ(c.canvas.work.At(px, py), 0u);
        }
      EXPECT_EQ(c.undoSteps, 1);
    }
}

TEST(NeighbourPens, ResultDoesNotDependOnTheOrderOfTheBrushPositions) {
  std::mt19937 random(7);
  TestDrawingContext forward(30, 20), backward(30, 20);
  RandomPicture(forward.canvas, random);
  PutWords(backward.canvas.display, Words(forward.canvas.display));
  PutWords(backward.canvas.frame, Words(forward.canvas.frame));
  const Pen pen{.kind = PenKind::Gradation, .width = 4, .degree = 3};
  const std::vector<Position> positions = {{5, 5}, {8, 6}, {11, 8}, {14, 9}, {17, 12}};
  PenStroke one(forward, pen), other(backward, pen);
  for (const auto& [x, y] : positions) one.Apply(x, y);
  for (auto it = positions.rbegin(); it != positions.rend(); ++it)
    other.Apply(it->first, it->second);
  one.Finish();
  other.Finish();
  EXPECT_EQ(Words(forward.canvas.display), Words(backward.canvas.display));
  EXPECT_EQ(Words(forward.canvas.frame), Words(backward.canvas.frame));
}

// Undoing a stroke's records, last first, gives back every word of the picture.
TEST(PenStroke, UndoingItsRecordsRestoresThePictureExactly) {
  for (PenKind kind :
       {PenKind::Normal, PenKind::Gradation, PenKind::Mosaic, PenKind::FrameGradation,
        PenKind::ColourChange, PenKind::Delete, PenKind::TransparentDelete}) {
    std::mt19937 random(3);
    TestDrawingContext c(40, 30);
    RandomPicture(c.canvas, random);
    ClearMarks(c.canvas, c.canvas.Bounds(), kProcessingMarks);
    const auto display = Words(c.canvas.display), frame = Words(c.canvas.frame);
    PenStroke stroke(c, {.kind = kind, .width = 6, .degree = 3, .colour = 0x3366CC, .opacity = 90});
    for (int i = 0; i < 20; ++i) stroke.Apply(5 + i, 8 + i / 2);
    stroke.Finish();
    EXPECT_FALSE(c.journal.records.empty());
    for (auto it = c.journal.records.rbegin(); it != c.journal.records.rend(); ++it) {
      c.canvas.display.At(it->x, it->y) = it->oldDisplay;
      c.canvas.frame.At(it->x, it->y) = it->oldFrame;
    }
    ClearMarks(c.canvas, c.canvas.Bounds(), kProcessingMarks);
    EXPECT_EQ(Words(c.canvas.display), display) << static_cast<int>(kind);
    EXPECT_EQ(Words(c.canvas.frame), frame) << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace lumavex
