#include "lumavex/paint/RegionFill.h"

#include <algorithm>
#include <cmath>

#include "lumavex/paint/FillStack.h"

namespace lumavex {
namespace {

constexpr RegionFillRule kRules[] = {
    {FillKind::HeadColour, &DrawingSettings::borderFrameOpacity, 0, false, "★塗りつぶし中..."},
    {FillKind::NonDraw, &DrawingSettings::borderFrameOpacity, 0, false, "★塗りつぶし中..."},
    {FillKind::Bitmap, &DrawingSettings::borderFrameOpacity, 0, false, "★塗りつぶし中..."},
    {FillKind::OneColour, &DrawingSettings::borderFrameOpacity, 0, true, "★塗りつぶし中..."},
    {FillKind::Select, &DrawingSettings::areaBorderFrameOpacity, kNonSelectedFlag, false,
     "★領域選択中..."},
    {FillKind::Deselect, &DrawingSettings::areaBorderFrameOpacity, 0, false, "★領域非選択中..."},
};

// The marks and flag that decide whether a pixel is open to the fill.
constexpr uint32_t kOpenMask = kNonSelectedFlag | kPaintedMark | kQueuedMark;

// A position waiting in the right or the left slot.
struct Slot {
  bool held = false;
  int x = 0;
  int y = 0;
};

// One row of the picture as the fill reads it; a row outside the area has none.
struct FillRow {
  uint32_t* display = nullptr;
  uint32_t* frame = nullptr;
};

// What the fill reads of one position: its words and whether it is open. A
// position outside the area (or on a row outside it) is closed and reads as 0.
struct Look {
  uint32_t display = 0;
  uint32_t frame = 0;
  bool open = false;
};

// The open and border tests with their constants by value, so that a loop holding a
// copy keeps them in registers across its writes to the picture's words.
struct OpenTest {
  int left = 0;
  int right = 0;
  uint32_t requiredState = 0;
  uint32_t threshold = 0;
  bool tolerance = false;
  const ToleranceReference* reference = nullptr;

  // Selected, neither queued nor painted, and passing the tolerance test where the
  // fill has one: the test of a position inside the area with these words.
  bool OpenWords(uint32_t display, uint32_t frame) const {
    if ((display & kOpenMask) != requiredState) return false;
    return !tolerance || PassesTolerance(display, frame, *reference);
  }
  bool Inside(const FillRow& row, int x) const { return row.display && x >= left && x <= right; }
  bool Open(const FillRow& row, int x) const {
    return Inside(row, x) && OpenWords(row.display[x], row.frame[x]);
  }
  Look LookAt(const FillRow& row, int x) const {
    if (!Inside(row, x)) return {};
    const uint32_t display = row.display[x], frame = row.frame[x];
    return {display, frame, OpenWords(display, frame)};
  }
  bool Border(uint32_t frame) const { return Opacity(frame) >= threshold; }
  bool Border(const FillRow& row, int x) const { return Border(row.frame[x]); }
  // Open and no border: a pixel that a scan along its row will pass through.
  bool Passable(const Look& look) const { return look.open && !Border(look.frame); }
  bool Passable(const FillRow& row, int x) const { return Passable(LookAt(row, x)); }
};

// Paints a taken pixel by its kind's rule.
struct KindPainter {
  static constexpr bool kMayTolerate = true;
  // The kind's rule reads the picture itself, so the run stores each pixel's marks
  // before it paints.
  static constexpr bool kStoresSlots = false;
  PaintStep& step;
  const FillPaint& paint;
  void operator()(uint32_t&, uint32_t&, uint32_t, uint32_t, int x, int y) const {
    paint.Paint(step, x, y);
  }
};

// Paints a taken pixel with the head colour, inlined into the traversal: the same
// words as the head-colour kind's rule. `display` and `frame` are the pixel's slots,
// `oldDisplay` and `oldFrame` the words they hold.
struct HeadColourPainter {
  static constexpr bool kMayTolerate = false;  // the head-colour fill has no tolerance test
  // The display slot gets the new word with the painted mark from the painter alone.
  static constexpr bool kStoresSlots = true;
  PaintStep& step;
  uint32_t colour;
  uint32_t opacity;
  void operator()(uint32_t& display, uint32_t& frame, uint32_t oldDisplay, uint32_t oldFrame,
                  int x, int y) const {
    const PixelPair painted = PaintPixel(x, y, colour, oldDisplay, oldFrame, opacity);
    step.PaintHeldFrom(display, frame, oldDisplay, oldFrame, x, y, painted.display,
                       painted.frame);
  }
};

// Takes pixels in a fixed priority: the seed, the right slot, the left slot, the
// stack below, the stack above. A pixel taken from a slot goes on along its row
// to the same side; one taken from a stack looks to both sides and on in the
// stack's direction. A vertical push is left out where the run on the next row
// reaches the pixel from the side (see Skippable).
template <class Painter>
class RegionFiller {
 public:
  RegionFiller(PaintStep& step, const OpenTest& test, const Painter& painter,
               DrawingContext& context)
      : canvas_(step.Picture()),
        area_(step.Area()),
        test_(test),
        painter_(painter),
        below_(context),
        above_(context) {}

  void Run(int seedX, int seedY);
  RegionFillStats Stats() const { return {true, taken_, below_.Peak(), above_.Peak()}; }
  const PixelRect& Touched() const { return touched_; }

 private:
  // The test as the loops hold it; for a painter whose fills have no tolerance test
  // the compiler then leaves that test out of them.
  OpenTest LoopTest() const {
    OpenTest test = test_;
    if constexpr (!Painter::kMayTolerate) test.tolerance = false;
    return test;
  }
  FillRow RowOf(int y) {
    if (y < area_.top || y > area_.bottom) return {};
    return {canvas_.display.Row32(y), canvas_.frame.Row32(y)};
  }
  // The push of (x, y + dy) may be left out when the side pixel and the one above
  // or below it are passable: the scan goes on to the side pixel, and the run it
  // enters on the next row reaches (x, y + dy) from there.
  static bool Skippable(bool sidePassable, bool nextSidePassable) {
    return sidePassable && nextSidePassable;
  }
  static void Queue(FillRow& row, int x) { row.display[x] |= kQueuedMark; }
  // Queues (x, y) into `slot` when `open`.
  static void QueueSlot(Slot& slot, bool open, FillRow& row, int x, int y) {
    if (!open) return;
    Queue(row, x);
    slot = {true, x, y};
  }
  static void PushIfOpen(const OpenTest& test, FillStack& stack, bool skipped, FillRow& row, int x,
                         int y) {
    if (skipped || !test.Open(row, x)) return;
    Queue(row, x);
    stack.Push(x, y);
  }
  // Marks pixel (x, y) taken and paints it; true when it spreads on, false when it
  // was painted already or is a border.
  [[gnu::always_inline]] bool Take(const OpenTest& test, FillRow& row, int x, int y);
  void TakeSeed(int x, int y);
  void TakeFromStack(int x, int y, int dy);
  void RunAlongRow(Slot& slot, int side);

  Canvas& canvas_;
  const PixelRect area_;
  const OpenTest test_;
  const Painter painter_;
  FillStack below_;
  FillStack above_;
  Slot right_;
  Slot left_;
  uint64_t taken_ = 0;
  PixelRect touched_;
};

template <class Painter>
inline bool RegionFiller<Painter>::Take(const OpenTest& test, FillRow& row, int x, int y) {
  uint32_t& display = row.display[x];
  if (display & kPaintedMark) return false;
  // The border is judged on the frame as it was before the pixel was painted, so
  // that a fill which lays frames cannot close the region it is spreading through.
  const uint32_t frame = row.frame[x];
  display |= kPaintedMark;
  ++taken_;
  painter_(display, row.frame[x], display, frame, x, y);
  return !test.Border(frame);
}

template <class Painter>
void RegionFiller<Painter>::TakeSeed(int x, int y) {
  const OpenTest test = LoopTest();
  FillRow row = RowOf(y);
  Queue(row, x);
  touched_ = {x, y, x, y};
  if (!Take(test, row, x, y)) return;
  FillRow below = RowOf(y + 1), above = RowOf(y - 1);
  QueueSlot(right_, test.Open(row, x + 1), row, x + 1, y);
  QueueSlot(left_, test.Open(row, x - 1), row, x - 1, y);
  PushIfOpen(test, below_, false, below, x, y + 1);
  PushIfOpen(test, above_, false, above, x, y - 1);
}

template <class Painter>
void RegionFiller<Painter>::TakeFromStack(int x, int y, int dy) {
  const OpenTest test = LoopTest();
  FillRow row = RowOf(y);
  touched_.Merge({x, y, x, y});
  if (!Take(test, row, x, y)) return;
  FillRow next = RowOf(y + dy);
  const bool openLeft = test.Open(row, x - 1), openRight = test.Open(row, x + 1);
  const bool skip = Skippable(openRight && !test.Border(row, x + 1), test.Passable(next, x + 1)) ||
                    Skippable(openLeft && !test.Border(row, x - 1), test.Passable(next, x - 1));
  QueueSlot(left_, openLeft, row, x - 1, y);
  QueueSlot(right_, openRight, row, x + 1, y);
  PushIfOpen(test, dy > 0 ? below_ : above_, skip, next, x, y + dy);
}

// Takes the slot's pixel and goes on along its row to `side` for as long as the
// next pixel is open, with the rows above and below read once for the whole run.
// What the look at the next pixel and at the pixels above and below it finds still
// holds when the run gets there, since taking a pixel changes only that pixel and
// queues only the ones beside it; so each position's words are read once, and the
// loop keeps them in registers.
template <class Painter>
void RegionFiller<Painter>::RunAlongRow(Slot& slot, int side) {
  const OpenTest test = LoopTest();
  const int y = slot.y;
  int x = slot.x;
  slot.held = false;
  FillRow row = RowOf(y), below = RowOf(y + 1), above = RowOf(y - 1);
  const int start = x;
  uint32_t display = row.display[x], frame = row.frame[x];
  if (!(display & kPaintedMark)) {
    bool openBelow = test.Open(below, x), openAbove = test.Open(above, x);
    uint64_t taken = 0;
    for (;;) {
      const bool border = test.Border(frame);
      display |= kPaintedMark;
      if constexpr (!Painter::kStoresSlots) row.display[x] = display;
      ++taken;
      painter_(row.display[x], row.frame[x], display, frame, x, y);
      if (border) break;
      const int next = x + side;
      const Look ahead = test.LookAt(row, next);
      const Look belowAhead = test.LookAt(below, next), aboveAhead = test.LookAt(above, next);
      const bool passable = test.Passable(ahead);
      const bool skipBelow = Skippable(passable, test.Passable(belowAhead));
      const bool skipAbove = Skippable(passable, test.Passable(aboveAhead));
      // An open pixel ahead is the next one the run takes; a painter that stores the
      // slot itself leaves nothing in between to see its queued mark.
      if constexpr (!Painter::kStoresSlots)
        if (ahead.open) row.display[next] = ahead.display | kQueuedMark;
      if (openBelow && !skipBelow) {
        Queue(below, x);
        below_.Push(x, y + 1);
      }
      if (openAbove && !skipAbove) {
        Queue(above, x);
        above_.Push(x, y - 1);
      }
      if (!ahead.open) break;
      x = next;
      display = ahead.display | kQueuedMark;
      frame = ahead.frame;
      openBelow = belowAhead.open;
      openAbove = aboveAhead.open;
    }
    taken_ += taken;
  }
  touched_.Merge({std::min(start, x), y, std::max(start, x), y});
}

template <class Painter>
void RegionFiller<Painter>::Run(int seedX, int seedY) {
  TakeSeed(seedX, seedY);
  int x = 0, y = 0;
  for (;;) {
    if (right_.held) {
      RunAlongRow(right_, 1);
    } else if (left_.held) {
      RunAlongRow(left_, -1);
    } else if (below_.Pop(x, y)) {
      TakeFromStack(x, y, 1);
    } else if (above_.Pop(x, y)) {
      TakeFromStack(x, y, -1);
    } else {
      break;
    }
  }
}

// Runs the traversal from (x, y) with `painter` and widens the step by what it took.
template <class Painter>
RegionFillStats RunFiller(PaintStep& step, DrawingContext& context, const OpenTest& test,
                          const Painter& painter, int x, int y) {
  RegionFiller<Painter> filler(step, test, painter, context);
  filler.Run(x, y);
  step.Widen(filler.Touched());
  step.FlushRecords();
  return filler.Stats();
}

// The seed's pixel: the nearest pixel of the position; positions left of or above
// the picture stay outside it.
int SeedPixel(double v) {
  return static_cast<int>(std::floor(v + 0.5));
}

FillPaint PaintOf(DrawingContext& context, FillKind kind, const FillPicture* picture) {
  FillPaint paint;
  paint.kind = kind;
  paint.colour = context.HeadColour();
  paint.maxOpacity = static_cast<uint32_t>(context.Settings().maxOpacity);
  paint.reference.tolerance = context.Settings().rgbTolerance;
  paint.picture = picture;
  return paint;
}

}  // namespace

const RegionFillRule& RegionFillRuleOf(FillKind kind) {
  for (const RegionFillRule& rule : kRules)
    if (rule.kind == kind) return rule;
  return kRules[0];
}

RegionFillStats RegionFill(PaintStep& step, DrawingContext& context, FillKind kind, double seedX,
                           double seedY, const FillPicture* picture) {
  const int x = SeedPixel(seedX), y = SeedPixel(seedY);
  if (!step.Area().Contains(x, y)) return {};
  const RegionFillRule& rule = RegionFillRuleOf(kind);
  Canvas& canvas = step.Picture();
  const uint32_t seed = canvas.display.At(x, y);
  if ((seed & (kNonSelectedFlag | kPaintedMark)) != rule.requiredState) return {};
  if (kind == FillKind::Bitmap && (!picture || !picture->Held())) return {};
  FillPaint paint = PaintOf(context, kind, picture);
  paint.reference.nonDraw = !(seed & kDrawAreaFlag);
  paint.reference.colour = seed & kColourMask;
  context.SetStatusText(rule.status);
  const OpenTest test{step.Area().left,   step.Area().right,
                      rule.requiredState, static_cast<uint32_t>(context.Settings().*rule.threshold),
                      rule.tolerance,     &paint.reference};
  if (kind == FillKind::HeadColour)
    return RunFiller(step, context, test, HeadColourPainter{step, paint.colour, paint.maxOpacity},
                     x, y);
  return RunFiller(step, context, test, KindPainter{step, paint}, x, y);
}

}  // namespace lumavex
