#include <gtest/gtest.h>

#include <algorithm>

#include "lumavex/canvas/AsciiPictureTestSupport.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/PictureFilePaste.h"

namespace lumavex {
namespace {

using testing::AsciiFromPicture;
using testing::AsciiLegend;
using testing::PictureFromAscii;

constexpr uint32_t kRed = 0xFF0000;

// '.' white, '~' outside the drawing area, '#' opaque black frame, 'x' non-selected,
// 'R' a red bitmap pixel, 'r' a red pixel with the painted mark, 'F' an opaque green
// frame, 'f' the same with the painted mark.
const AsciiLegend& Legend() {
  static const AsciiLegend legend = [] {
    AsciiLegend l = testing::DefaultAsciiLegend();
    l['R'] = {kDrawAreaFlag | kRed, 0};
    l['r'] = {kDrawAreaFlag | kPaintedMark | kRed, 0};
    l['F'] = {kDrawAreaFlag | 0x00FF00, 0xFF00FF00};
    l['f'] = {kDrawAreaFlag | kPaintedMark | 0x00FF00, 0xFF00FF00};
    return l;
  }();
  return legend;
}

class PictureFilePasteTest : public ::testing::Test {
 protected:
  // A paste picture drawn with Legend(), as loaded in true colours.
  PastePicture Picture(const std::vector<std::string>& rows) {
    Canvas c;
    platform::NoProgress none;
    EXPECT_TRUE(CreateBlankPicture(c, context.allocator, int(rows[0].size()), int(rows.size()),
                                   none));
    PictureFromAscii(c, rows, Legend());
    PastePicture p;
    p.display = std::move(c.display);
    p.frame = std::move(c.frame);
    p.area = {0, 0, p.display.Width() - 1, p.display.Height() - 1};
    return p;
  }
  std::vector<std::string> Shown() { return AsciiFromPicture(context.canvas, Legend()); }

  testing::TestDrawingContext context{6, 4};
  platform::NoProgress progress;
};

TEST_F(PictureFilePasteTest, PastesOnlySelectedPixelsAndOnlyTheDrawnPart) {
  PictureFromAscii(context.canvas, {"......", ".xx...", "......", "......"}, Legend());
  const PastePicture picture = Picture({"RR~", "RRF", "~RR"});
  PaintStep step(context, true);
  PasteRectangle(step, picture, 1, 0, progress);
  step.End(true);
  EXPECT_EQ(Shown(), (std::vector<std::string>{".rr...", ".xxf..", "..rr..", "......"}));
  EXPECT_EQ(context.undoSteps, 1);
  EXPECT_EQ(context.journal.records.size(), 5u);
  EXPECT_EQ(context.sounds, std::vector<std::string>{"end.wav"});
}

TEST_F(PictureFilePasteTest, ClipsAtEveryEdgeAndTakesTheRowsBottomUp) {
  const PastePicture picture = Picture({"RRR", "RRR", "RRR"});
  PaintStep step(context, false);
  PasteRectangle(step, picture, -2, 2, progress);
  PasteRectangle(step, picture, 5, -2, progress);
  PasteRectangle(step, picture, 1 << 30, -(1 << 30), progress);
  step.End(false);
  EXPECT_EQ(Shown(), (std::vector<std::string>{".....r", "......", "r.....", "r....."}));
  ASSERT_EQ(context.journal.records.size(), 3u);
  EXPECT_EQ(context.journal.records[0].y, 3);  // the bottom row first
}

TEST_F(PictureFilePasteTest, PastedFrameGoesUnderACanvasFrameOutsideTheDrawingArea) {
  // A half-opaque red frame over the non-drawing area, an opaque blue one pasted.
  const PixelPair canvas{kColourMask, 0x80FF0000};
  const PixelPair paste{kDrawAreaFlag | 0x0000FF, 0xFF0000FF};
  const auto merged = PastedPixel(3, 2, canvas, paste);
  ASSERT_TRUE(merged);
  EXPECT_EQ(merged->frame, MergeFrame(0x80FF0000, 255, 0x0000FF));
  EXPECT_EQ(merged->display & kDrawAreaFlag, kDrawAreaFlag);
  // In the drawing area the pasted pixel replaces the canvas's frame.
  const auto replaced = PastedPixel(3, 2, {kDrawAreaFlag | 0xFF0000, 0x80FF0000}, paste);
  EXPECT_EQ(*replaced, (PixelPair{kDrawAreaFlag | 0x0000FF, 0xFF0000FF}));
  // A picture pixel without frame brings the canvas position's backdrop.
  const auto plain = PastedPixel(9, 0, {kColourMask, 0}, {kDrawAreaFlag | kRed, 0x00123456});
  EXPECT_EQ(plain->frame, BackdropColour(9, 0, true, false));
  EXPECT_FALSE(PastedPixel(0, 0, canvas, {kRed, 0}));
}

TEST_F(PictureFilePasteTest, UnchangedCornersPasteAsTheRectangle) {
  const PastePicture picture = Picture({"RRF", "R~R"});
  EXPECT_EQ(UnchangedRectangleAt(picture, RectangleCorners(picture, -3, 7)),
            (std::pair<int, int>{-3, 7}));
  PasteCorners moved = RectangleCorners(picture, 1, 1);
  moved[2].x += 0.5;
  EXPECT_FALSE(UnchangedRectangleAt(picture, moved));

  testing::TestDrawingContext other{6, 4};
  {
    PaintStep step(context, false);
    PasteRectangle(step, picture, 2, 1, progress);
    step.End(false);
  }
  {
    PaintStep step(other, false);
    PasteQuadrilateral(step, picture, RectangleCorners(picture, 2, 1), progress);
    step.End(false);
  }
  EXPECT_EQ(AsciiFromPicture(other.canvas, Legend()), Shown());
}

// Every pixel whose centre lies strictly inside a deformed quadrilateral is pasted:
// no holes, and nothing outside its box.
TEST_F(PictureFilePasteTest, DeformedPasteCoversItsQuadrilateralWithoutHoles) {
  testing::TestDrawingContext big{40, 30};
  PastePicture picture;
  ASSERT_TRUE(picture.display.Create(big.allocator, 5, 4, 4));
  ASSERT_TRUE(picture.frame.Create(big.allocator, 5, 4, 4));
  picture.area = {0, 0, 4, 3};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      picture.display.At(x, y) = kDrawAreaFlag | kRed;
      picture.frame.At(x, y) = 0;
    }
  const PasteCorners q{{{3.2, 2.5}, {33.7, 6.1}, {27.4, 26.8}, {5.9, 21.3}}};
  PaintStep step(big, true);
  const PixelRect worked = PasteQuadrilateral(step, picture, q, progress);
  step.End(true);
  EXPECT_EQ(worked, (PixelRect{3, 2, 34, 27}));
  int pasted = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      double u = 0, v = 0;
      const bool inside = InverseBilinear(q, {double(x), double(y)}, u, v);
      const bool red = (big.canvas.display.At(x, y) & kColourMask) == kRed;
      if (inside && u > 0.01 && u < 0.99 && v > 0.01 && v < 0.99) {
        EXPECT_TRUE(red) << x << "," << y;
      }
      if (!inside) {
        EXPECT_FALSE(red) << x << "," << y;
      }
      pasted += red;
    }
  EXPECT_GT(pasted, 400);
}

// A drawing context whose writes go to no journal, as while nothing is recorded.
struct UnjournaledContext : testing::TestDrawingContext {
  using TestDrawingContext::TestDrawingContext;
  JournalSink* Journal() override { return nullptr; }
};

// The rectangle paste's row loop against the pixel rule applied pixel by pixel, bottom
// row first, over canvas and picture words with every mix of flags and frames: rows
// where any canvas pixel may need the merge under its frame, rows where none does
// (the canvas in its drawing area or without frame), and rows mixing the two.
class RectanglePasteAgainstPixelRule : public PictureFilePasteTest {
 protected:
  static constexpr int kW = 43, kH = 30;

  uint32_t Next() { return seed_ = seed_ * 1664525u + 1013904223u; }
  PixelPair Word(bool canvasFlags, int row) {
    static constexpr uint32_t kOpacities[] = {0, 0, 1, 128, 254, 255};
    const uint32_t r = Next();
    uint32_t flags = (r >> 28 & 1 ? kDrawAreaFlag : 0);
    if (canvasFlags) flags |= (r >> 29 & 3) == 0 ? kNonSelectedFlag : 0;
    if (canvasFlags) flags |= (r >> 31) && (r >> 27 & 1) ? kPaintedMark : 0;
    PixelPair p{flags | (Next() & kColourMask), kOpacities[Next() % 6] << 24 | (Next() & kColourMask)};
    if (canvasFlags && row % 3 == 1) p.display |= kDrawAreaFlag;
    if (canvasFlags && row % 3 == 2 && Next() % 17 != 0) p.frame &= kColourMask;
    return p;
  }

  // Pastes a picture of (kW - 3) × (kH - 2) with its top-left pixel at (left, top)
  // into `target` with `square` as processing square, and checks the words, and the
  // records when the target keeps a journal, against the pixel rule.
  void Check(testing::TestDrawingContext& target, int left, int top, PixelRect square) {
    SCOPED_TRACE(::testing::Message() << "at " << left << "," << top);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const PixelPair p = Word(true, y);
        target.canvas.display.At(x, y) = p.display;
        target.canvas.frame.At(x, y) = p.frame;
      }
    target.canvas.processingSquare = square;
    PastePicture picture = Picture(std::vector<std::string>(kH - 2, std::string(kW - 3, '.')));
    for (int y = 0; y < kH - 2; ++y)
      for (int x = 0; x < kW - 3; ++x) {
        const PixelPair p = Word(false, y);
        picture.display.At(x, y) = p.display;
        picture.frame.At(x, y) = p.frame;
      }
    Canvas slow;
    platform::NoProgress none;
    ASSERT_TRUE(CreateBlankPicture(slow, target.allocator, kW, kH, none));
    std::copy_n(target.canvas.display.Data(), slow.display.SizeBytes(), slow.display.Data());
    std::copy_n(target.canvas.frame.Data(), slow.frame.SizeBytes(), slow.frame.Data());
    std::vector<JournalRecord> records;
    const PixelRect placed{left, top, left + kW - 4, top + kH - 3};
    const PixelRect worked = placed.Intersect(square.Intersect(slow.Bounds()));
    for (int y = worked.bottom; y >= worked.top; --y)
      for (int x = worked.left; x <= worked.right; ++x) {
        uint32_t& d = slow.display.At(x, y);
        uint32_t& f = slow.frame.At(x, y);
        const uint32_t pd = picture.display.At(x - left, y - top);
        const uint32_t pf = picture.frame.At(x - left, y - top);
        if (!Paintable(d)) continue;
        const auto pasted = PastedPixel(x, y, {d, f}, {pd, pf});
        if (!pasted) continue;
        records.push_back({d & kJournalMask, f, pasted->display & kJournalMask, pasted->frame,
                           uint16_t(x), uint16_t(y)});
        d = pasted->display | kPaintedMark;
        f = pasted->frame;
      }
    target.journal.records.clear();
    PaintStep step(target, true);
    EXPECT_EQ(PasteRectangle(step, picture, left, top, progress), worked);
    step.End(true);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        ASSERT_EQ(target.canvas.display.At(x, y), slow.display.At(x, y)) << x << "," << y;
        ASSERT_EQ(target.canvas.frame.At(x, y), slow.frame.At(x, y)) << x << "," << y;
      }
    if (target.Journal() == nullptr) return;
    ASSERT_EQ(target.journal.records.size(), records.size());
    EXPECT_GT(records.size(), 100u);
    for (size_t i = 0; i < records.size(); ++i) {
      const JournalRecord &a = target.journal.records[i], &b = records[i];
      ASSERT_TRUE(a.oldDisplay == b.oldDisplay && a.oldFrame == b.oldFrame &&
                  a.newDisplay == b.newDisplay && a.newFrame == b.newFrame && a.x == b.x &&
                  a.y == b.y)
          << i;
    }
  }

  uint32_t seed_ = 12345;
};

TEST_F(RectanglePasteAgainstPixelRule, WithTheJournalAtEveryAlignment) {
  testing::TestDrawingContext target{kW, kH};
  for (int left = -5; left <= 5; ++left) Check(target, left, 1, {0, 0, kW - 1, kH - 1});
  Check(target, 2, -3, {3, 2, kW - 6, kH - 4});
  Check(target, 7, 4, {0, 0, kW - 1, kH - 1});
}

TEST_F(RectanglePasteAgainstPixelRule, WithoutJournalAtEveryAlignment) {
  UnjournaledContext target{kW, kH};
  for (int left = -5; left <= 5; ++left) Check(target, left, 1, {0, 0, kW - 1, kH - 1});
  Check(target, 2, -3, {3, 2, kW - 6, kH - 4});
  Check(target, 7, 4, {0, 0, kW - 1, kH - 1});
}

}  // namespace
}  // namespace lumavex
