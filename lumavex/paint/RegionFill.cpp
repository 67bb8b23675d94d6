#include "lumavex/paint/RegionFill.h"

#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

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

// Where a taken pixel came from; it decides the directions the pixel spreads in.
enum class Origin { Seed, RightSlot, LeftSlot, BelowStack, AboveStack };

// The marks and flag that decide whether a pixel is open to the fill.
constexpr uint32_t kOpenMask = kNonSelectedFlag | kPaintedMark | kQueuedMark;

class RegionFiller {
 public:
  RegionFiller(PaintStep& step, DrawingContext& context, const RegionFillRule& rule,
               const FillPaint& paint)
      : step_(step),
        canvas_(step.Picture()),
        area_(step.Area()),
        rule_(rule),
        paint_(paint),
        threshold_(static_cast<uint32_t>(context.Settings().*rule.threshold)),
        below_(context),
        above_(context) {}

  void Run(int seedX, int seedY);
  RegionFillStats Stats() const { return {true, taken_, below_.Peak(), above_.Peak()}; }
  const PixelRect& Touched() const { return touched_; }

 private:
  bool Open(int x, int y) const {
    if (!area_.Contains(x, y)) return false;
    const uint32_t display = canvas_.display.At(x, y);
    if ((display & kOpenMask) != rule_.requiredState) return false;
    return !rule_.tolerance || PassesTolerance(display, canvas_.frame.At(x, y), paint_.reference);
  }
  // Open and no border: a pixel that a scan along its row will pass through.
  bool Passable(int x, int y) const {
    return Open(x, y) && Opacity(canvas_.frame.At(x, y)) < threshold_;
  }
  // The push of (x, y + dy) may be left out when the side pixel towards `side` and
  // the one above or below it are passable: the scan goes on to the side pixel, and
  // the run it enters on the next row reaches (x, y + dy) from there.
  bool Skippable(int x, int y, int dy, int side) const {
    return Passable(x + side, y) && Passable(x + side, y + dy);
  }
  void Queue(int x, int y) { canvas_.display.At(x, y) |= kQueuedMark; }
  bool QueueSlot(std::optional<std::pair<int, int>>& slot, int x, int y);
  void PushIfOpen(FillStack& stack, int x, int y, bool skipped);
  bool Next(int& x, int& y, Origin& origin);
  void Take(int x, int y, Origin origin);
  void Spread(int x, int y, Origin origin);

  PaintStep& step_;
  Canvas& canvas_;
  const PixelRect area_;
  const RegionFillRule& rule_;
  const FillPaint& paint_;
  const uint32_t threshold_;
  FillStack below_;
  FillStack above_;
  std::optional<std::pair<int, int>> seed_;
  std::optional<std::pair<int, int>> right_;
  std::optional<std::pair<int, int>> left_;
  uint64_t taken_ = 0;
  PixelRect touched_;
};

bool RegionFiller::QueueSlot(std::optional<std::pair<int, int>>& slot, int x, int y) {
  if (!Open(x, y)) return false;
  Queue(x, y);
  slot.emplace(x, y);
  return true;
}

void RegionFiller::PushIfOpen(FillStack& stack, int x, int y, bool skipped) {
  if (skipped || !Open(x, y)) return;
  Queue(x, y);
  stack.Push(x, y);
}

bool RegionFiller::Next(int& x, int& y, Origin& origin) {
  auto fromSlot = [&](std::optional<std::pair<int, int>>& slot, Origin from) {
    if (!slot) return false;
    std::tie(x, y) = *slot;
    slot.reset();
    origin = from;
    return true;
  };
  if (fromSlot(seed_, Origin::Seed) || fromSlot(right_, Origin::RightSlot) ||
      fromSlot(left_, Origin::LeftSlot))
    return true;
  if (below_.Pop(x, y)) {
    origin = Origin::BelowStack;
    return true;
  }
  origin = Origin::AboveStack;
  return above_.Pop(x, y);
}

void RegionFiller::Run(int seedX, int seedY) {
  Queue(seedX, seedY);
  seed_.emplace(seedX, seedY);
  int x = 0, y = 0;
  Origin origin = Origin::Seed;
  while (Next(x, y, origin)) Take(x, y, origin);
}

void RegionFiller::Take(int x, int y, Origin origin) {
  uint32_t& display = canvas_.display.At(x, y);
  if (display & kPaintedMark) return;
  // The border is judged on the frame as it was before the pixel was painted, so
  // that a fill which lays frames cannot close the region it is spreading through.
  const uint32_t opacity = Opacity(canvas_.frame.At(x, y));
  display |= kPaintedMark;
  ++taken_;
  touched_.Merge({x, y, x, y});
  paint_.Paint(step_, x, y);
  if (opacity < threshold_) Spread(x, y, origin);
}

void RegionFiller::Spread(int x, int y, Origin origin) {
  switch (origin) {
    case Origin::Seed:
      QueueSlot(right_, x + 1, y);
      QueueSlot(left_, x - 1, y);
      PushIfOpen(below_, x, y + 1, false);
      PushIfOpen(above_, x, y - 1, false);
      break;
    case Origin::RightSlot:
    case Origin::LeftSlot: {
      const int side = origin == Origin::RightSlot ? 1 : -1;
      const bool skipBelow = Skippable(x, y, 1, side);
      const bool skipAbove = Skippable(x, y, -1, side);
      QueueSlot(side > 0 ? right_ : left_, x + side, y);
      PushIfOpen(below_, x, y + 1, skipBelow);
      PushIfOpen(above_, x, y - 1, skipAbove);
      break;
    }
    case Origin::BelowStack:
    case Origin::AboveStack: {
      const int dy = origin == Origin::BelowStack ? 1 : -1;
      const bool skip = Skippable(x, y, dy, 1) || Skippable(x, y, dy, -1);
      QueueSlot(left_, x - 1, y);
      QueueSlot(right_, x + 1, y);
      PushIfOpen(dy > 0 ? below_ : above_, x, y + dy, skip);
      break;
    }
  }
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
  RegionFiller filler(step, context, rule, paint);
  filler.Run(x, y);
  step.Widen(filler.Touched());
  return filler.Stats();
}

}  // namespace lumavex
