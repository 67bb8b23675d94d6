#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/paint/MemorySurface.h"
#include "lumavex/paint/PixelRounding.h"

namespace lumavex {
namespace {

using testing::TestDrawingContext;
using Points = std::vector<Sample>;

constexpr uint64_t kPlenty = 1ull << 32;

// A colour that differs from pixel to pixel in all three channels.
uint32_t Pattern(int x, int y) {
  return (static_cast<uint32_t>(x * 37 + y * 11) & 0xFF) << 16 |
         (static_cast<uint32_t>(x * 5 + y * 29) & 0xFF) << 8 |
         (static_cast<uint32_t>(x * y + 3 * x) & 0xFF);
}

// An 80 × 60 picture drawn with the pattern, and a gently curved band across it.
struct PasteFixture {
  PasteFixture() : c(80, 60) {
    c.settings.pointSpacing = 100;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) c.canvas.display.At(x, y) = kDrawAreaFlag | Pattern(x, y);
  }
  CopyOutcome Copy(const Points& a, const Points& b, const GreyMap& border = {},
                   const GreyMap& opacity = {}) {
    return CopySurface(c.canvas, a, b, c.settings.pointSpacing, border, opacity, kPlenty, surface);
  }
  // Whites the picture, then pastes with `curves`.
  PixelRect Paste(const PasteCurves& curves) {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) c.canvas.display.At(x, y) = kDrawAreaFlag | 0xFFFFFF;
    PaintStep step(c, true);
    const PixelRect box = PasteSurface(step, surface, curves, 255, c.allocator, image);
    step.End(false);
    return box;
  }
  uint32_t Shown(int x, int y) const { return c.canvas.display.At(x, y) & kColourMask; }
  // Cells whose eight neighbours were copied too: every block around them is whole.
  bool Interior(int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int cx = x + dx - surface.box.left, cy = y + dy - surface.box.top;
        if (cx < 0 || cy < 0 || cx >= surface.Width() || cy >= surface.Height() ||
            surface.At(cx, cy).Empty())
          return false;
      }
    return true;
  }

  TestDrawingContext c;
  MemorySurface surface;
  FillPicture image;
};

const Points kCurve1 = {{10, 12}, {40, 8}, {70, 14}};
const Points kCurve2 = {{12, 44}, {40, 50}, {68, 42}};

PasteCurves Moved(PasteCurves curves, double dx, double dy, double scale = 1) {
  for (auto* curve : {&curves.curve1, &curves.middle, &curves.curve2})
    for (Sample& p : *curve) p = {p.x * scale + dx, p.y * scale + dy};
  return curves;
}

// Every pixel of the box that the warp left uncovered can reach the box's edge through
// uncovered pixels: the covered area has no hole.
bool HasHole(const WarpedPicture& w) {
  const PixelRect& b = w.box;
  std::vector<uint8_t> outside(w.display.size(), 0);
  std::deque<std::pair<int, int>> open;
  for (int y = b.top; y <= b.bottom; ++y)
    for (int x = b.left; x <= b.right; ++x)
      if ((x == b.left || x == b.right || y == b.top || y == b.bottom) && !w.Covered(x, y)) {
        outside[w.Index(x, y)] = 1;
        open.push_back({x, y});
      }
  while (!open.empty()) {
    const auto [x, y] = open.front();
    open.pop_front();
    for (const auto& [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
      if (!b.Contains(nx, ny) || w.Covered(nx, ny) || outside[w.Index(nx, ny)]) continue;
      outside[w.Index(nx, ny)] = 1;
      open.push_back({nx, ny});
    }
  }
  for (int y = b.top; y <= b.bottom; ++y)
    for (int x = b.left; x <= b.right; ++x)
      if (!w.Covered(x, y) && !outside[w.Index(x, y)]) return true;
  return false;
}

TEST(MemorySurface, UnequalCountsAndTwistedCurvesCopyNothing) {
  PasteFixture f;
  EXPECT_EQ(f.Copy(kCurve1, {{12, 44}, {68, 42}}), CopyOutcome::CountsDiffer);
  EXPECT_EQ(f.Copy({{10, 10}, {70, 10}}, {{70, 40}, {10, 40}}), CopyOutcome::Twisted);
  EXPECT_TRUE(f.surface.Empty());
  EXPECT_EQ(CopyOutcomeText(CopyOutcome::CountsDiffer), "★基点個数を一致させて下さい。");
  EXPECT_EQ(CopyOutcomeText(CopyOutcome::Twisted), "★基点がねじれています。");

  // A refused copy keeps the surface copied before.
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  const size_t cells = f.surface.cells.size();
  EXPECT_EQ(f.Copy({{10, 10}, {70, 10}}, {{70, 40}, {10, 40}}), CopyOutcome::Twisted);
  EXPECT_EQ(f.surface.cells.size(), cells);
  EXPECT_EQ(CopySurface(f.c.canvas, kCurve1, kCurve2, 100, {}, {}, 1000, f.surface),
            CopyOutcome::NoMemory);
}

TEST(MemorySurface, CellsStoreNonSelectedPixelsInTheirSelectedFormWithoutMarks) {
  PasteFixture f;
  uint32_t& display = f.c.canvas.display.At(40, 30);
  uint32_t& frame = f.c.canvas.frame.At(40, 30);
  frame = 0x80123456;
  const PixelPair selected{display, frame};
  ToggleSelection(display, frame);
  display |= kPaintedMark;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  const SurfaceCell& cell = f.surface.At(40 - f.surface.box.left, 30 - f.surface.box.top);
  EXPECT_EQ((PixelPair{cell.display, cell.frame}), selected);
  EXPECT_GE(cell.across, 0.3);
  EXPECT_LE(cell.across, 0.7);
}

// At the copy position every cell maps back onto its own pixel, so every block is the
// unit square of its cells and each pixel takes its own cell's words with weight 1:
// the band comes back word for word, without rounding, wherever its blocks are whole.
TEST(MemorySurface, APasteAtTheCopyPositionGivesTheBandBackWordForWord) {
  PasteFixture f;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  const PixelRect box = f.Paste(CopyPosition(f.surface));
  ASSERT_FALSE(box.Empty());
  int interior = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      const bool painted = f.c.canvas.display.At(x, y) & kPaintedMark;
      if (f.Interior(x, y)) {
        ++interior;
        EXPECT_EQ(f.Shown(x, y), Pattern(x, y)) << x << "," << y;
      } else if (painted) {
        EXPECT_EQ(f.Shown(x, y), Pattern(x, y)) << x << "," << y;  // band edge
      } else if (f.surface.box.Contains(x, y) &&
                 f.surface.At(x - f.surface.box.left, y - f.surface.box.top).Empty()) {
        EXPECT_EQ(f.Shown(x, y), 0xFFFFFFu) << x << "," << y;  // outside the band
      }
    }
  EXPECT_GT(interior, 1500);
  EXPECT_EQ(f.c.undoSteps, 1);
  EXPECT_EQ(f.image.originX, box.left);
  EXPECT_EQ(f.image.originY, box.top);
}

// Pastes one after another, of the same size and of new sizes: the image is always
// the last paste's warped picture at its box, loaded from no file.
TEST(MemorySurface, TheImageIsTheLastPastesPictureWhateverCameBefore) {
  PasteFixture f;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x)
      f.c.canvas.frame.At(x, y) = (x + y) % 3 ? 0 : (0x40u + x) << 24 | Pattern(y, x);
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  const PasteCurves at = CopyPosition(f.surface);
  // A picture from a file of the first paste's size, then a smaller one.
  const PixelRect first = WarpSurface(f.surface, at, {0, 0, 79, 59}).box;
  ASSERT_TRUE(f.image.display.Create(f.c.allocator, first.right - first.left + 1,
                                     first.bottom - first.top + 1, 4));
  ASSERT_TRUE(f.image.frame.Create(f.c.allocator, first.right - first.left + 1,
                                   first.bottom - first.top + 1, 4));
  std::fill_n(f.image.frame.Data(), f.image.frame.SizeBytes(), 0x5A);
  f.image.path = "old.png";
  for (const PasteCurves& curves : {at, Moved(at, 3, 2), Moved(at, 3, 2, 0.5), Moved(at, -4, 1),
                                    Moved(at, 2, 2, 1.3), Moved(at, 6, -3, 1.3)}) {
    const WarpedPicture warped = WarpSurface(f.surface, curves, {0, 0, 79, 59});
    const PixelRect box = f.Paste(curves);
    ASSERT_EQ(box, warped.box);
    EXPECT_EQ(f.image.originX, box.left);
    EXPECT_EQ(f.image.originY, box.top);
    EXPECT_EQ(f.image.path, "");
    ASSERT_EQ(f.image.display.Width(), warped.Width());
    ASSERT_EQ(f.image.display.Height(), box.bottom - box.top + 1);
    for (int y = box.top; y <= box.bottom; ++y)
      for (int x = box.left; x <= box.right; ++x) {
        ASSERT_EQ(f.image.display.At(x - box.left, y - box.top), warped.display[warped.Index(x, y)]);
        ASSERT_EQ(f.image.frame.At(x - box.left, y - box.top), warped.frame[warped.Index(x, y)]);
      }
  }
}

TEST(MemorySurface, ATranslatedPasteIsTheBandShifted) {
  PasteFixture f;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  f.Paste(Moved(CopyPosition(f.surface), 5, -4));
  int checked = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x)
      if (f.Interior(x, y) && x + 5 < 80 && y - 4 >= 0) {
        ++checked;
        EXPECT_EQ(f.Shown(x + 5, y - 4), Pattern(x, y)) << x << "," << y;
      }
  EXPECT_GT(checked, 1500);
}

TEST(MemorySurface, AnEnlargedOrBentPasteLeavesNoHole) {
  PasteFixture f;
  ASSERT_EQ(f.Copy({{30, 20}, {45, 18}, {50, 22}}, {{30, 32}, {45, 33}, {50, 34}}),
            CopyOutcome::Copied);
  const PasteCurves big = Moved(CopyPosition(f.surface), -70, -45, 3);
  const WarpedPicture enlarged = WarpSurface(f.surface, big, {0, 0, 199, 199});
  ASSERT_FALSE(enlarged.box.Empty());
  EXPECT_GE(enlarged.Width(), 55);
  EXPECT_FALSE(HasHole(enlarged));

  PasteCurves bent = CopyPosition(f.surface);
  for (Sample& p : bent.middle) p.y += 9;  // the band bends across
  bent.curve2[2] = {58, 40};
  EXPECT_FALSE(HasHole(WarpSurface(f.surface, bent, {0, 0, 79, 59})));
}

TEST(MemorySurface, TheFastWarpGivesTheReferencesPicture) {
  PasteFixture f;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  PasteCurves deformed = Moved(CopyPosition(f.surface), 3.3, 1.7, 0.8);
  deformed.middle[1].x += 6;
  deformed.curve2[0] = {4, 40};
  PasteCurves bent = Moved(CopyPosition(f.surface), 1.5, 2.25, 2);
  for (Sample& p : bent.middle) p.y += 7;
  for (const PasteCurves& curves : {CopyPosition(f.surface), deformed,
                                    Moved(CopyPosition(f.surface), -20, -20, 1.9),
                                    Moved(CopyPosition(f.surface), 20, 15, 0.3),
                                    Moved(CopyPosition(f.surface), 0.5, 0.5, 2), bent})
    for (const PixelRect clip : {PixelRect{0, 0, 79, 59}, PixelRect{17, 9, 52, 38}}) {
      const WarpedPicture fast = WarpSurface(f.surface, curves, clip, WarpScan::Fast);
      const WarpedPicture slow = WarpSurface(f.surface, curves, clip, WarpScan::Reference);
      EXPECT_EQ(fast.box, slow.box);
      EXPECT_EQ(fast.display, slow.display);
      EXPECT_EQ(fast.frame, slow.frame);
      EXPECT_EQ(fast.border, slow.border);
      EXPECT_EQ(fast.opacity, slow.opacity);
    }
}

TEST(MemorySurface, MirroringTwiceIsTheIdentity) {
  PasteFixture f;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  const PasteCurves start = CopyPosition(f.surface);
  PasteCurves curves = start;
  MirrorLeftRight(curves);
  // The axis is the mean x of the base points of curves 1 and 2: x = 40.
  EXPECT_DOUBLE_EQ(curves.curve1[0].x, 70);
  EXPECT_DOUBLE_EQ(curves.curve2[2].x, 12);
  MirrorLeftRight(curves);
  const WarpedPicture twice = WarpSurface(f.surface, curves, {0, 0, 79, 59});
  const WarpedPicture once = WarpSurface(f.surface, start, {0, 0, 79, 59});
  EXPECT_EQ(twice.display, once.display);
  EXPECT_EQ(twice.box, once.box);
}

TEST(MemorySurface, OpacityWhiteIsTransparentAndBorderWhiteIsNeverPasted) {
  PasteFixture f;
  GreyMap border{80, 60, std::vector<uint8_t>(80 * 60, 0)};
  GreyMap opacity = border;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      if (x < 30) opacity.levels[y * 80 + x] = 255;      // transparent
      else if (x < 40) opacity.levels[y * 80 + x] = 128;  // half
      if (x >= 60) border.levels[y * 80 + x] = 255;       // never pasted
      else if (x >= 50) border.levels[y * 80 + x] = 100;  // outside the figure
    }
  ASSERT_EQ(f.Copy(kCurve1, kCurve2, border, opacity), CopyOutcome::Copied);
  f.Paste(CopyPosition(f.surface));
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      if (!f.Interior(x, y)) continue;
      const uint32_t display = f.c.canvas.display.At(x, y);
      const uint32_t shown = TrueDisplayColour(display);
      if (x < 30 || x >= 60) {
        EXPECT_EQ(shown, 0xFFFFFFu) << x << "," << y;
      } else if (x < 40) {
        // Half opacity over white, and the figure protected only where mostly opaque.
        EXPECT_EQ(shown, Blend(Pattern(x, y), Round255(255 * 127), 0xFFFFFF)) << x << "," << y;
        EXPECT_FALSE(display & kNonSelectedFlag);
      } else {
        EXPECT_EQ(shown, Pattern(x, y)) << x << "," << y;
        EXPECT_EQ(bool(display & kNonSelectedFlag), x < 50) << x << "," << y;
      }
    }
}

TEST(MemorySurface, NonSelectedTargetPixelsAreLeftAlone) {
  PasteFixture f;
  ASSERT_EQ(f.Copy(kCurve1, kCurve2), CopyOutcome::Copied);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) f.c.canvas.display.At(x, y) = kDrawAreaFlag | 0xFFFFFF;
  for (int y = 20; y < 30; ++y)
    for (int x = 20; x < 60; ++x) Deselect(f.c.canvas.display.At(x, y), f.c.canvas.frame.At(x, y));
  PaintStep step(f.c, true);
  const WarpedPicture warped = WarpSurface(f.surface, CopyPosition(f.surface), {0, 0, 79, 59});
  LayInWarpedPicture(step, warped, 255, false);
  step.End(false);
  for (int y = 20; y < 30; ++y)
    for (int x = 20; x < 60; ++x) {
      EXPECT_EQ(f.c.canvas.display.At(x, y) & kJournalMask,
                (kDrawAreaFlag | kNonSelectedFlag | (0xFFFFFF ^ kNonSelectedDisplayXor)));
    }
  EXPECT_EQ(f.Shown(40, 35), Pattern(40, 35));
}

// The block bounds' rounding against the library's ceil and floor, at and around
// whole numbers, halves, tiny fractions, the far-pixel limits and beyond them.
TEST(PixelRoundingTest, MatchesTheLibraryRounding) {
  std::vector<double> values = {NAN, INFINITY, -INFINITY, 0.0, -0.0, 1e300, -1e300};
  for (double base : {0.0, 1.0, -1.0, 599.0, -3.0, double(kFarPixel), double(-kFarPixel),
                      double(kFarPixel - 1), double(-kFarPixel + 1), 2.5, -2.5})
    for (double d : {0.0, 1e-12, -1e-12, 0.001, -0.001, 0.5, -0.5, 0.999, -0.999, 1.0, -1.0})
      values.push_back(base + d);
  for (int i = 0; i < 10000; ++i) values.push_back((i * 7919 % 20011 - 10005) * 0.0137);
  for (double v : values) {
    EXPECT_EQ(CeilPixelIndex(v), PixelIndex(std::ceil(v))) << v;
    EXPECT_EQ(FloorPixelIndex(v), PixelIndex(std::floor(v))) << v;
  }
}

}  // namespace
}  // namespace lumavex
