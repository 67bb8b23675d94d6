#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "lumavex/canvas/AsciiPictureTestSupport.h"
#include "lumavex/canvas/DrawingContextTestSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/paint/RegionFill.h"
#include "lumavex/paint/Selection.h"

namespace lumavex {
namespace {

using testing::PictureFromAscii;
using testing::TestDrawingContext;
using Rows = std::vector<std::string>;

// 'P' where the painted mark is set, '-' elsewhere.
Rows PaintedMap(const Canvas& canvas) {
  Rows rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x)
      row += (canvas.display.At(x, y) & kPaintedMark) ? 'P' : '-';
    rows.push_back(row);
  }
  return rows;
}

// The legend with 'l', a light black frame (opacity 40) over white.
testing::AsciiLegend Legend() {
  testing::AsciiLegend legend = testing::DefaultAsciiLegend();
  legend['l'] = {kDrawAreaFlag | Blend(0, 40, 0xFFFFFF), 0x28000000};
  return legend;
}

struct FillFixture {
  FillFixture(const Rows& rows)
      : c(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())) {
    PictureFromAscii(c.canvas, rows, Legend());
    c.head = 0x123456;
  }
  RegionFillStats Fill(FillKind kind, double x, double y, const FillPicture* picture = nullptr) {
    PaintStep step(c, false);
    RegionFillStats stats = RegionFill(step, c, kind, x, y, picture);
    step.End(false);
    return stats;
  }
  TestDrawingContext c;
};

// A closed frame: '#' opaque, 'o' opacity 128, 'l' opacity 40; the threshold is 100.
const Rows kRing = {
    "..........", ".###oo###.", ".#......o.", ".o..l...#.",
    ".#......#.", ".###oo#o#.", "..........",
};

TEST(RegionFill, FillsInsideAFrameAndPaintsItsBorderOnce) {
  FillFixture f(kRing);
  const RegionFillStats stats = f.Fill(FillKind::HeadColour, 3.4, 2.6);
  EXPECT_TRUE(stats.ran);
  EXPECT_EQ(PaintedMap(f.c.canvas), (Rows{
                                        "----------",
                                        "--PPPPPP--",
                                        "-PPPPPPPP-",
                                        "-PPPPPPPP-",
                                        "-PPPPPPPP-",
                                        "--PPPPPP--",
                                        "----------",
                                    }));
  // Each pixel once: one record per pixel taken. The corners touch the inside only
  // across a diagonal.
  EXPECT_EQ(f.c.journal.records.size(), 36u);
  EXPECT_EQ(stats.taken, 36u);
  EXPECT_EQ(f.c.canvas.display.At(3, 3) & kColourMask, 0x123456u);
  // Under the light frame the head colour is painted and the frame laid over it.
  EXPECT_EQ(f.c.canvas.display.At(4, 3) & kColourMask, Blend(0, 40, 0x123456));
  EXPECT_EQ(f.c.canvas.frame.At(4, 3), 0x28000000u);
  EXPECT_EQ(f.c.canvas.display.At(2, 1) & kColourMask, 0u);  // an opaque frame hides it
  EXPECT_EQ(f.c.statusTexts, (std::vector<std::string>{"★塗りつぶし中..."}));
}

TEST(RegionFill, AFrameBelowTheThresholdLetsTheFillThrough) {
  FillFixture f({".....", "#l###", "....."});
  f.Fill(FillKind::HeadColour, 0, 0);
  EXPECT_EQ(PaintedMap(f.c.canvas), (Rows{"PPPPP", "PPPPP", "PPPPP"}));
}

TEST(RegionFill, ASeedOnABorderPaintsOnlyThatPixel) {
  FillFixture f(kRing);
  EXPECT_EQ(f.Fill(FillKind::HeadColour, 4, 1).taken, 1u);
  EXPECT_EQ(f.c.journal.records.size(), 1u);
  EXPECT_TRUE(f.c.canvas.display.At(4, 1) & kPaintedMark);
}

TEST(RegionFill, RefusesSeedsOutsideTheSquareNonSelectedOrPainted) {
  FillFixture f({"x*...", "....."});
  f.c.canvas.processingSquare = {0, 0, 3, 1};
  EXPECT_FALSE(f.Fill(FillKind::HeadColour, 0, 0).ran);
  EXPECT_FALSE(f.Fill(FillKind::HeadColour, 1, 0).ran);
  EXPECT_FALSE(f.Fill(FillKind::HeadColour, 4, 1).ran);
  // A position left of the picture does not round onto its first column.
  EXPECT_FALSE(f.Fill(FillKind::HeadColour, -1, 1).ran);
  EXPECT_FALSE(f.Fill(FillKind::Bitmap, 2, 1).ran);  // no fill picture
  EXPECT_TRUE(f.c.journal.records.empty());
  EXPECT_TRUE(f.c.statusTexts.empty());
}

TEST(RegionFill, FillingAgainChangesNothingUntilTheMarksAreCleared) {
  FillFixture f(kRing);
  f.Fill(FillKind::HeadColour, 3, 3);
  f.c.head = 0xFF0000;
  EXPECT_FALSE(f.Fill(FillKind::HeadColour, 5, 3).ran);
  EXPECT_EQ(f.c.journal.records.size(), 36u);
  ClearMarks(f.c.canvas, f.c.marked, kProcessingMarks);
  EXPECT_EQ(f.Fill(FillKind::HeadColour, 5, 3).taken, 36u);
  EXPECT_EQ(f.c.canvas.display.At(3, 3) & kColourMask, 0xFF0000u);
}

TEST(RegionFill, StopsAtTheProcessingSquareAndFillsPocketsAlongItsEdge) {
  // (5, 1) is reached only from (5, 0) on the square's right edge; the pixels beyond
  // the edge are open but must not count.
  FillFixture f({"........", "#####...", "########"});
  f.c.canvas.processingSquare = {0, 0, 5, 2};
  f.Fill(FillKind::HeadColour, 0, 0);
  EXPECT_EQ(PaintedMap(f.c.canvas), (Rows{"PPPPPP--", "PPPPPP--", "-----P--"}));
}

TEST(RegionFill, OneColourFillTakesColoursWithinTheTolerance) {
  testing::AsciiLegend legend = Legend();
  legend['a'] = {kDrawAreaFlag | 0x808080, 0};
  legend['b'] = {kDrawAreaFlag | 0x818080, 0};
  legend['c'] = {kDrawAreaFlag | 0x000000, 0};
  for (const auto& [tolerance, expected] :
       std::vector<std::pair<int, Rows>>{{0, {"PP---"}}, {1, {"PPP--"}}, {255, {"PPPPP"}}}) {
    TestDrawingContext c(5, 1);
    PictureFromAscii(c.canvas, {"aabc."}, legend);
    c.settings.rgbTolerance = tolerance;
    PaintStep step(c, false);
    RegionFill(step, c, FillKind::OneColour, 0, 0);
    EXPECT_EQ(PaintedMap(c.canvas), expected) << tolerance;
  }
}

TEST(RegionFill, OneColourFillFromOutsideTheDrawingAreaTakesNonDrawAndFramedPixels) {
  FillFixture f({"~~o.~", "~l~~~"});
  f.c.settings.rgbTolerance = 255;
  f.Fill(FillKind::OneColour, 0, 0);
  // The opacity-128 frame is a border; '.' is neither outside nor framed.
  EXPECT_EQ(PaintedMap(f.c.canvas), (Rows{"PPP-P", "PPPPP"}));
  EXPECT_EQ(f.c.journal.records.size(), 9u);  // the border passes the test too
}

TEST(RegionFill, NonDrawFillClearsUnframedPixelsAndWhitensFramedOnes) {
  FillFixture f({"..l", "###"});
  f.c.canvas.display.At(0, 0) = kDrawAreaFlag | 0x00FF00;
  f.Fill(FillKind::NonDraw, 0, 0);
  const Canvas& k = f.c.canvas;
  EXPECT_EQ(k.display.At(0, 0) & ~kProcessingMarks, 0x00FFFFFFu);
  EXPECT_EQ(k.frame.At(0, 0), BackdropColour(0, 0, false, false));
  EXPECT_EQ(k.display.At(2, 0) & ~kProcessingMarks, kDrawAreaFlag | Blend(0, 40, 0xFFFFFF));
  EXPECT_EQ(k.frame.At(2, 0), 0x28000000u);
  EXPECT_EQ(k.display.At(1, 1) & ~kProcessingMarks, kDrawAreaFlag);  // white under black
}

TEST(RegionFill, BitmapFillTilesThePictureFromItsOrigin) {
  TestDrawingContext c(5, 3);
  FillPicture picture;
  ASSERT_TRUE(picture.display.Create(c.allocator, 2, 1, 4));
  ASSERT_TRUE(picture.frame.Create(c.allocator, 2, 1, 4));
  picture.display.At(0, 0) = kDrawAreaFlag | 0xAA0000;
  picture.display.At(1, 0) = 0x00BB00;  // outside the picture's drawing area
  picture.frame.At(0, 0) = picture.frame.At(1, 0) = kLandEven;
  picture.originX = 1;
  PaintStep step(c, false);
  RegionFill(step, c, FillKind::Bitmap, 2, 1, &picture);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t expected = (x - 1) % 2 == 0 ? 0xAA0000 : 0xFFFFFF;
      EXPECT_EQ(c.canvas.display.At(x, y) & kColourMask, expected) << x << "," << y;
    }
  EXPECT_EQ(c.journal.records.size(), 6u);  // the non-draw pixels leave the canvas alone
}

TEST(RegionFill, BitmapFillJudgesBordersOnTheFramesBeforeItPaints) {
  // The fill picture lays an opaque frame on every pixel; the region must still be
  // the whole picture, as the frames were when the fill began.
  TestDrawingContext c(6, 4);
  FillPicture picture;
  ASSERT_TRUE(picture.display.Create(c.allocator, 1, 1, 4));
  ASSERT_TRUE(picture.frame.Create(c.allocator, 1, 1, 4));
  picture.display.At(0, 0) = kDrawAreaFlag;
  picture.frame.At(0, 0) = 0xFF000000;
  PaintStep step(c, false);
  EXPECT_EQ(RegionFill(step, c, FillKind::Bitmap, 2, 2, &picture).taken, 24u);
  EXPECT_EQ(c.canvas.frame.At(5, 0), 0xFF000000u);
}

TEST(RegionFill, StacksHoldAboutOneEntryPerRun) {
  TestDrawingContext c(300, 200);
  PaintStep step(c, false);
  const RegionFillStats stats = RegionFill(step, c, FillKind::HeadColour, 150, 100);
  EXPECT_EQ(stats.taken, 60000u);
  EXPECT_LE(stats.peakBelow + stats.peakAbove, 400u);
  EXPECT_EQ(step.Changed(), (PixelRect{0, 0, 299, 199}));
}

// A plain breadth-first flood with the same open test and border rule.
Rows ReferenceFill(Canvas& canvas, const PixelRect& area, const FillPaint& paint, int threshold,
                   bool tolerance, int sx, int sy) {
  std::vector<char> seen(static_cast<size_t>(canvas.Width()) * canvas.Height(), 0);
  auto at = [&](int x, int y) -> char& {
    return seen[static_cast<size_t>(y) * canvas.Width() + x];
  };
  auto open = [&](int x, int y) {
    if (!area.Contains(x, y) || at(x, y)) return false;
    const uint32_t d = canvas.display.At(x, y);
    if (d & (kNonSelectedFlag | kPaintedMark)) return false;
    return !tolerance || PassesTolerance(d, canvas.frame.At(x, y), paint.reference);
  };
  std::deque<std::pair<int, int>> queue{{sx, sy}};
  at(sx, sy) = 1;
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    if (static_cast<int>(Opacity(canvas.frame.At(x, y))) >= threshold) continue;
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      if (open(x + dx, y + dy)) {
        at(x + dx, y + dy) = 1;
        queue.emplace_back(x + dx, y + dy);
      }
  }
  Rows rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x) row += at(x, y) ? 'P' : '-';
    rows.push_back(row);
  }
  return rows;
}

// A random picture: walls of frames of random opacity, scattered frame pixels, some
// non-selected pixels, grey levels for the one-colour fill.
void RandomPicture(Canvas& canvas, std::mt19937& random) {
  std::uniform_int_distribution<int> percent(0, 99), byte(0, 255);
  const int density = percent(random) / 2;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const uint32_t grey = static_cast<uint32_t>(byte(random) & 0xC0) * 0x010101;
      uint32_t display = kDrawAreaFlag | grey, frame = 0;
      if (percent(random) < density) frame = static_cast<uint32_t>(byte(random)) << 24;
      if (percent(random) < 3) display = grey;
      if (percent(random) < 4) display = (display ^ kNonSelectedDisplayXor) | kNonSelectedFlag;
      canvas.display.At(x, y) = display;
      canvas.frame.At(x, y) = Opacity(frame) ? frame : BackdropFor(x, y, display);
    }
}

TEST(RegionFill, PaintsTheSamePixelsAsAPlainFloodOnRandomPictures) {
  std::mt19937 random(20240615);
  constexpr FillKind kKinds[] = {FillKind::HeadColour, FillKind::NonDraw, FillKind::Bitmap,
                                 FillKind::OneColour};
  for (int round = 0; round < 400; ++round) {
    TestDrawingContext c(24 + round % 17, 16 + round % 13);
    RandomPicture(c.canvas, random);
    FillPicture picture;
    ASSERT_TRUE(picture.display.Create(c.allocator, 5, 3, 4));
    ASSERT_TRUE(picture.frame.Create(c.allocator, 5, 3, 4));
    for (int i = 0; i < 15; ++i) {
      picture.display.At(i % 5, i / 5) = kDrawAreaFlag | (random() & 0xFFFFFF);
      picture.frame.At(i % 5, i / 5) = static_cast<uint32_t>(random() % 3 == 0 ? random() : 0);
    }
    const int w = c.canvas.Width(), h = c.canvas.Height();
    c.canvas.processingSquare = {
        static_cast<int>(random() % 8) - 3, static_cast<int>(random() % 8) - 3,
        w - 6 + static_cast<int>(random() % 9), h - 6 + static_cast<int>(random() % 9)};
    c.settings.borderFrameOpacity = 1 + static_cast<int>(random() % 255);
    c.settings.rgbTolerance = static_cast<int>(random() % 100);
    const FillKind kind = kKinds[round % 4];
    const int sx = static_cast<int>(random() % w), sy = static_cast<int>(random() % h);

    Canvas& k = c.canvas;
    const uint32_t seed = k.display.At(sx, sy);
    FillPaint paint;
    paint.reference = {!(seed & kDrawAreaFlag), seed & kColourMask, c.settings.rgbTolerance};
    PaintStep step(c, false);
    if (!step.Area().Contains(sx, sy) || (seed & kNonSelectedFlag)) continue;
    const Rows expected = ReferenceFill(k, step.Area(), paint, c.settings.borderFrameOpacity,
                                        kind == FillKind::OneColour, sx, sy);
    RegionFill(step, c, kind, sx, sy, &picture);
    ASSERT_EQ(PaintedMap(k), expected) << "round " << round;
  }
}

// The engine's traversal in its obvious form: one pixel at a time from the slots
// and stacks in their priority order, every open test read afresh.
class ReferenceFiller {
 public:
  ReferenceFiller(PaintStep& step, const FillPaint& paint, uint32_t threshold, bool tolerance)
      : step_(step),
        k_(step.Picture()),
        paint_(paint),
        threshold_(threshold),
        tolerance_(tolerance) {}

  void Run(int x, int y) {
    Queue(x, y);
    Take(x, y, Origin::Seed);
    for (;;) {
      Origin origin;
      if (right_) {
        std::tie(x, y) = *right_;
        right_.reset();
        origin = Origin::Right;
      } else if (left_) {
        std::tie(x, y) = *left_;
        left_.reset();
        origin = Origin::Left;
      } else if (!below_.empty()) {
        std::tie(x, y) = below_.back();
        below_.pop_back();
        origin = Origin::Below;
      } else if (!above_.empty()) {
        std::tie(x, y) = above_.back();
        above_.pop_back();
        origin = Origin::Above;
      } else {
        return;
      }
      Take(x, y, origin);
    }
  }

 private:
  enum class Origin { Seed, Right, Left, Below, Above };
  using Position = std::pair<int, int>;

  bool Open(int x, int y) const {
    if (!step_.Area().Contains(x, y)) return false;
    const uint32_t d = k_.display.At(x, y);
    if (d & (kNonSelectedFlag | kPaintedMark | kQueuedMark)) return false;
    return !tolerance_ || PassesTolerance(d, k_.frame.At(x, y), paint_.reference);
  }
  bool Passable(int x, int y) const {
    return Open(x, y) && Opacity(k_.frame.At(x, y)) < threshold_;
  }
  bool Skippable(int x, int y, int dy, int side) const {
    return Passable(x + side, y) && Passable(x + side, y + dy);
  }
  void Queue(int x, int y) { k_.display.At(x, y) |= kQueuedMark; }
  void ToSlot(std::optional<Position>& slot, int x, int y) {
    if (!Open(x, y)) return;
    Queue(x, y);
    slot = Position{x, y};
  }
  void ToStack(std::vector<Position>& stack, int x, int y, bool skipped) {
    if (skipped || !Open(x, y)) return;
    Queue(x, y);
    stack.emplace_back(x, y);
  }
  void Take(int x, int y, Origin origin) {
    const uint32_t opacity = Opacity(k_.frame.At(x, y));
    k_.display.At(x, y) |= kPaintedMark;
    paint_.Paint(step_, x, y);
    if (opacity >= threshold_) return;
    if (origin == Origin::Seed) {
      ToSlot(right_, x + 1, y);
      ToSlot(left_, x - 1, y);
      ToStack(below_, x, y + 1, false);
      ToStack(above_, x, y - 1, false);
    } else if (origin == Origin::Right || origin == Origin::Left) {
      const int side = origin == Origin::Right ? 1 : -1;
      const bool skipBelow = Skippable(x, y, 1, side), skipAbove = Skippable(x, y, -1, side);
      ToSlot(side > 0 ? right_ : left_, x + side, y);
      ToStack(below_, x, y + 1, skipBelow);
      ToStack(above_, x, y - 1, skipAbove);
    } else {
      const int dy = origin == Origin::Below ? 1 : -1;
      const bool skip = Skippable(x, y, dy, 1) || Skippable(x, y, dy, -1);
      ToSlot(left_, x - 1, y);
      ToSlot(right_, x + 1, y);
      ToStack(dy > 0 ? below_ : above_, x, y + dy, skip);
    }
  }

  PaintStep& step_;
  Canvas& k_;
  const FillPaint& paint_;
  const uint32_t threshold_;
  const bool tolerance_;
  std::optional<Position> right_, left_;
  std::vector<Position> below_, above_;
};

bool SameRecords(const std::vector<JournalRecord>& a, const std::vector<JournalRecord>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const auto& r, const auto& s) {
           return std::memcmp(&r, &s, sizeof r) == 0;
         });
}

// Fills one random picture of round `round` with `kind` by the engine and by the
// pixel-by-pixel traversal and compares their journal records and pixels.
void ExpectSameRecordsAsTraversal(std::mt19937& random, int round, FillKind kind) {
  TestDrawingContext fast(20 + round % 23, 14 + round % 11),
      slow(fast.canvas.Width(), fast.canvas.Height());
  RandomPicture(fast.canvas, random);
  FillPicture picture;
  ASSERT_TRUE(picture.display.Create(fast.allocator, 3, 2, 4));
  ASSERT_TRUE(picture.frame.Create(fast.allocator, 3, 2, 4));
  for (int i = 0; i < 6; ++i) {
    picture.display.At(i % 3, i / 3) = kDrawAreaFlag | (random() & 0xFFFFFF);
    picture.frame.At(i % 3, i / 3) = static_cast<uint32_t>(random() % 2 ? random() : 0);
  }
  const int w = fast.canvas.Width(), h = fast.canvas.Height();
  fast.canvas.processingSquare = {
      static_cast<int>(random() % 5) - 2, static_cast<int>(random() % 5) - 2,
      w - 4 + static_cast<int>(random() % 6), h - 4 + static_cast<int>(random() % 6)};
  fast.settings.borderFrameOpacity = 1 + static_cast<int>(random() % 255);
  fast.settings.rgbTolerance = static_cast<int>(random() % 120);
  fast.settings.maxOpacity = round % 3 ? 255 : 1 + static_cast<int>(random() % 254);
  fast.head = random() & 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      slow.canvas.display.At(x, y) = fast.canvas.display.At(x, y);
      slow.canvas.frame.At(x, y) = fast.canvas.frame.At(x, y);
    }
  slow.canvas.processingSquare = fast.canvas.processingSquare;
  slow.settings = fast.settings;
  slow.head = fast.head;
  const int sx = static_cast<int>(random() % w), sy = static_cast<int>(random() % h);
  const uint32_t seed = fast.canvas.display.At(sx, sy);

  PaintStep fastStep(fast, false);
  if (!RegionFill(fastStep, fast, kind, sx, sy, &picture).ran) return;
  fastStep.End(false);
  FillPaint paint{kind,
                  slow.head,
                  static_cast<uint32_t>(slow.settings.maxOpacity),
                  {!(seed & kDrawAreaFlag), seed & kColourMask, slow.settings.rgbTolerance},
                  &picture};
  PaintStep slowStep(slow, false);
  ReferenceFiller(slowStep, paint, static_cast<uint32_t>(slow.settings.borderFrameOpacity),
                  kind == FillKind::OneColour)
      .Run(sx, sy);
  slowStep.End(false);
  ASSERT_TRUE(SameRecords(fast.journal.records, slow.journal.records)) << "round " << round;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ((PixelPair{fast.canvas.display.At(x, y), fast.canvas.frame.At(x, y)}),
                (PixelPair{slow.canvas.display.At(x, y), slow.canvas.frame.At(x, y)}))
          << "round " << round << " at " << x << "," << y;
}

TEST(RegionFill, WritesTheSameRecordsInTheSameOrderAsThePixelByPixelTraversal) {
  std::mt19937 random(7);
  constexpr FillKind kKinds[] = {FillKind::HeadColour, FillKind::NonDraw, FillKind::Bitmap,
                                 FillKind::OneColour};
  for (int round = 0; round < 200; ++round) {
    ExpectSameRecordsAsTraversal(random, round, kKinds[round % 4]);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// The head-colour fill paints inline in the traversal; its records must match the
// kind's own painting rule under every frame, opacity and selection state.
TEST(RegionFill, HeadColourFillWritesTheSameRecordsAsThePixelByPixelTraversal) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    ExpectSameRecordsAsTraversal(random, round, FillKind::HeadColour);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// 'S' where the pixel is selected, 'x' where it is not.
Rows SelectionMap(const Canvas& canvas) {
  Rows rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x)
      row += (canvas.display.At(x, y) & kNonSelectedFlag) ? 'x' : 'S';
    rows.push_back(row);
  }
  return rows;
}

TEST(RegionFill, SelectAndDeselectFillsStopAtTheAreaBorderOpacityWithoutAJournal) {
  // An opaque ring split by a light wall (opacity 40), all of it non-selected.
  const Rows ring = {".......", ".#####.", ".#.l.#.", ".#.l.#.", ".#####.", "......."};
  FillFixture f(ring);
  ChangeSelection(f.c.canvas, SelectionChange::DeselectAll, f.c.canvas.Bounds());
  f.c.settings.borderFrameOpacity = 10;  // the other fills' threshold plays no part
  f.c.settings.areaBorderFrameOpacity = 40;
  EXPECT_TRUE(f.Fill(FillKind::Select, 2, 2).ran);
  EXPECT_EQ(SelectionMap(f.c.canvas),
            (Rows{"xxxxxxx", "xxSxxxx", "xSSSxxx", "xSSSxxx", "xxSxxxx", "xxxxxxx"}));
  EXPECT_EQ(f.c.statusTexts, (std::vector<std::string>{"★領域選択中..."}));
  EXPECT_TRUE(f.c.journal.records.empty());
  EXPECT_EQ(f.c.undoSteps, 0);
  // A selected pixel holds its true colours again: white, and black in the frame.
  EXPECT_EQ(f.c.canvas.display.At(2, 2) & ~kPaintingMarks, kDrawAreaFlag | 0xFFFFFF);
  EXPECT_EQ(f.c.canvas.frame.At(2, 1), 0xFF000000u);

  FillFixture g(ring);
  ChangeSelection(g.c.canvas, SelectionChange::DeselectAll, g.c.canvas.Bounds());
  g.c.settings.areaBorderFrameOpacity = 41;  // the wall no longer stops it
  EXPECT_TRUE(g.Fill(FillKind::Select, 2, 2).ran);
  EXPECT_EQ(SelectionMap(g.c.canvas),
            (Rows{"xxxxxxx", "xxSSSxx", "xSSSSSx", "xSSSSSx", "xxSSSxx", "xxxxxxx"}));

  ClearMarks(g.c.canvas, g.c.canvas.Bounds(), kPaintingMarks);
  g.c.settings.areaBorderFrameOpacity = 40;
  EXPECT_TRUE(g.Fill(FillKind::Deselect, 4, 2).ran);
  EXPECT_EQ(SelectionMap(g.c.canvas),
            (Rows{"xxxxxxx", "xxSSxxx", "xSSxxxx", "xSSxxxx", "xxSSxxx", "xxxxxxx"}));
  EXPECT_EQ(g.c.statusTexts.back(), "★領域非選択中...");
  EXPECT_TRUE(g.c.journal.records.empty());
}

TEST(RegionFill, SelectFillOnASelectedPixelAndDeselectFillOnANonSelectedOneDoNothing) {
  FillFixture f({"x..", "x..", "xx*"});
  const Rows before = SelectionMap(f.c.canvas);
  EXPECT_FALSE(f.Fill(FillKind::Select, 1, 1).ran);
  EXPECT_FALSE(f.Fill(FillKind::Deselect, 0, 0).ran);
  EXPECT_FALSE(f.Fill(FillKind::Deselect, 2, 2).ran);  // painted
  EXPECT_EQ(SelectionMap(f.c.canvas), before);
  EXPECT_TRUE(f.c.statusTexts.empty());
  // A deselect fill spreads through the selected pixels, not into the others.
  EXPECT_TRUE(f.Fill(FillKind::Deselect, 2, 0).ran);
  EXPECT_EQ(SelectionMap(f.c.canvas), (Rows{"xxx", "xxx", "xxS"}));
}

}  // namespace
}  // namespace lumavex
