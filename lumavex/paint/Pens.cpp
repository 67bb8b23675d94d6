#include "lumavex/paint/Pens.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/FrameCommit.h"

namespace lumavex {
namespace {

// A pixel the non-area pens may change: in the draw area, selected and unmarked.
constexpr uint32_t kEligibleMask = kPaintedMark | kDrawAreaFlag | kNonSelectedFlag;
constexpr bool Eligible(uint32_t display) {
  return (display & kEligibleMask) == kDrawAreaFlag;
}

constexpr uint32_t kPendingOpacity = 255;

// Stores a pending result where the work layer holds a smaller opacity.
void PendWork(uint32_t& work, uint32_t opacity, uint32_t colour) {
  if (Opacity(work) < opacity) work = opacity << 24 | (colour & kColourMask);
}

std::optional<NeighbourRule> RuleOf(PenKind kind) {
  switch (kind) {
    case PenKind::Gradation:
      return NeighbourRule::Gradation;
    case PenKind::FrameGradation:
      return NeighbourRule::FrameGradation;
    default:
      return std::nullopt;
  }
}

// The first multiple of `m` at or below `v` (v >= 0).
int CellStart(int v, int m) {
  return v / m * m;
}

}  // namespace

int BrushPixel(double v) {
  if (!(v > -0.5)) return -1;
  return static_cast<int>(std::min(v + 0.5, 1e9));
}

PixelRect BrushRect(int px, int py, int width) {
  const int w = std::max(width, 0);
  const auto low = [w](int v) {
    return static_cast<int>(std::max<int64_t>(int64_t{v} - w, INT32_MIN));
  };
  return {low(px), low(py), px, py};
}

PenStroke::PenStroke(DrawingContext& context, const Pen& pen) : PenStroke(context, pen, ownSums_) {}

PenStroke::PenStroke(DrawingContext& context, const Pen& pen, NeighbourSums& sums)
    : context_(context),
      pen_(pen),
      step_(context, OpensStepAtPress(pen.kind)),
      width_(context.Picture().Width()),
      height_(context.Picture().Height()),
      sums_(sums) {
  if (const auto rule = RuleOf(pen.kind)) sums_.Start(context.Picture(), *rule);
  if (UsesWorkLayer(pen.kind)) brushRows_.Reset(height_);
}

void PenStroke::Apply(double x, double y) {
  Canvas& canvas = context_.Picture();
  // A picture replaced during the stroke is left alone.
  if (canvas.Width() != width_ || canvas.Height() != height_) return;
  const PixelRect brush =
      BrushRect(BrushPixel(x), BrushPixel(y), pen_.width).Intersect(step_.Area());
  if (brush.Empty()) return;
  step_.Widen(brush);
  if (UsesWorkLayer(pen_.kind))
    for (int py = brush.top; py <= brush.bottom; ++py) brushRows_.Add(py, brush.left, brush.right);
  bool shown = false;
  for (int py = brush.bottom; py >= brush.top; --py)
    for (int px = brush.left; px <= brush.right; ++px) shown |= ApplyAt(px, py);
  if (shown) context_.RedrawPicture(brush);
}

bool PenStroke::ApplyAt(int x, int y) {
  Canvas& canvas = context_.Picture();
  uint32_t& display = canvas.display.Row32(y)[x];
  uint32_t& frame = canvas.frame.Row32(y)[x];
  switch (pen_.kind) {
    case PenKind::Select:
      if ((display & kUntouchable) != kNonSelectedFlag) return false;
      ToggleSelection(display, frame);
      display |= kPaintedMark;
      return true;
    case PenKind::Deselect:
      if (display & kUntouchable) return false;
      ToggleSelection(display, frame);
      display |= kPaintedMark;
      return true;
    case PenKind::Normal:
      if (!Paintable(display)) return false;
      step_.PaintColour(x, y, pen_.colour, pen_.opacity);
      return true;
    default:
      break;
  }
  if (!Eligible(display)) return false;
  if (UsesWorkLayer(pen_.kind)) {
    Average(x, y, frame);
    return false;
  }
  return ApplyImmediate(x, y, display, frame);
}

bool PenStroke::ApplyImmediate(int x, int y, uint32_t display, uint32_t frame) {
  const bool framed = Opacity(frame) > 0;
  switch (pen_.kind) {
    case PenKind::ColourChange: {
      if (!framed) return false;
      const auto recoloured =
          CommitPixel(FrameFlavour::ColourChange, 0xFF000000 | pen_.colour, {display, frame});
      const uint32_t newFrame =
          pen_.deletesFrame ? BackdropColour(x, y, true, false) : recoloured->frame;
      step_.Paint(x, y, recoloured->display, newFrame);
      return true;
    }
    case PenKind::Delete:
      step_.Paint(x, y, (display & 0xFF000000 & ~kDrawAreaFlag) | kColourMask,
                  BackdropColour(x, y, false, false));
      return true;
    case PenKind::TransparentDelete:
      if (!framed) return false;
      step_.Paint(x, y, display, BackdropColour(x, y, true, false));
      return true;
    default:
      return false;
  }
}

void PenStroke::Average(int x, int y, uint32_t frame) {
  Canvas& canvas = context_.Picture();
  if (pen_.kind == PenKind::FrameGradation && Opacity(frame) == 0) return;
  canvas.display.Row32(y)[x] |= kPaintedMark;
  std::optional<uint32_t> average;
  if (pen_.kind == PenKind::Mosaic) {
    average = MosaicCell(x, y);
  } else {
    // No picture is wider than 30000 pixels, so a larger radius reaches no further.
    const int r = std::clamp(pen_.degree, 0, 30000);
    const PixelRect square = PixelRect{x - r, y - r, x + r, y + r}.Intersect(canvas.Bounds());
    const ColourSum sum = sums_.Sum(square);
    if (sum.count > 0) average = AverageColour(sum);
  }
  if (average) PendWork(canvas.work.Row32(y)[x], kPendingOpacity, *average);
}

std::optional<uint32_t> PenStroke::MosaicCell(int x, int y) {
  const int m = std::max(pen_.degree, 1);
  const auto [it, added] = cells_.try_emplace({x / m, y / m});
  if (!added) return it->second;
  const Canvas& canvas = context_.Picture();
  const int left = CellStart(x, m), top = CellStart(y, m);
  const PixelRect cell =
      PixelRect{left, top, left + (m - 1), top + (m - 1)}.Intersect(canvas.Bounds());
  const ColourSum sum = SumDirectly(canvas, NeighbourRule::Mosaic, cell);
  if (sum.count > 0) it->second = AverageColour(sum);
  return it->second;
}

void PenStroke::Finish() {
  if (pen_.kind == PenKind::FrameGradation) {
    CommitFrame(context_, FrameFlavour::ColourChange, step_.Changed(), &brushRows_);
  } else if (UsesWorkLayer(pen_.kind)) {
    PutWorkIntoBitmap(context_, step_.Changed(), &brushRows_);
  } else {
    step_.End(true);
  }
}

void PutWorkIntoBitmap(DrawingContext& context, const PixelRect& changed, const RowSpans* rows) {
  const PixelRect area = changed.Intersect(PaintArea(context.Picture()));
  if (area.Empty()) return;
  PaintStep step(context, true);
  context.SetStatusText("★描画中...");
  Canvas& canvas = step.Picture();
  for (int y = area.bottom; y >= area.top; --y) {
    uint32_t* work = canvas.work.Row32(y);
    uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    const auto [left, right] =
        rows ? rows->Within(y, area.left, area.right) : std::pair{area.left, area.right};
    for (int x = left; x <= right; ++x) {
      if (Opacity(work[x]) == 0) continue;
      const PixelPair painted =
          PaintPixel(x, y, work[x] & kColourMask, display[x], frame[x], Opacity(work[x]));
      step.PaintHeld(display[x], frame[x], x, y, painted.display, painted.frame);
      work[x] = 0;
    }
  }
  step.Widen(area);
  context.SetStatusText("");
  step.End(true);
}

}  // namespace lumavex
