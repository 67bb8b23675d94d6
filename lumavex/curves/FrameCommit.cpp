#include "lumavex/curves/FrameCommit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

uint32_t ReblendDisplay(uint32_t displayColour, uint32_t oldFrame, uint32_t newFrame) {
  const int a = static_cast<int>(Opacity(oldFrame));
  const int merged = static_cast<int>(Opacity(newFrame));
  if (merged == 255) return newFrame & kColourMask;
  // The bitmap under the old frame, scaled by 255 and weighted for the new opacity.
  const int rest = 255 - a;
  uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = static_cast<int>(Channel(displayColour, shift));
    const int f = static_cast<int>(Channel(oldFrame, shift));
    const int fNew = static_cast<int>(Channel(newFrame, shift));
    const int v = ((d * 255 - f * a) * (255 - merged) + (rest >> 1)) / rest + fNew * merged;
    const uint32_t c = v <= 0 ? 0 : std::min<uint32_t>(255, Round255(static_cast<uint32_t>(v)));
    colour |= c << shift;
  }
  return colour;
}

uint32_t ShiftDisplay(uint32_t displayColour, uint32_t oldFrame, uint32_t newColour) {
  const uint32_t a = Opacity(oldFrame);
  uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int w = static_cast<int>(Channel(newColour, shift));
    const int f = static_cast<int>(Channel(oldFrame, shift));
    // Rounded on the magnitude so that a change and its reverse move by the same step.
    const int step = static_cast<int>(Round255(static_cast<uint32_t>(std::abs(w - f)) * a));
    const int d = static_cast<int>(Channel(displayColour, shift)) + (w < f ? -step : step);
    colour |= static_cast<uint32_t>(std::clamp(d, 0, 255)) << shift;
  }
  return colour;
}

std::optional<PixelPair> CommitPixel(FrameFlavour flavour, uint32_t work, PixelPair pixel) {
  const bool nonSelected = pixel.display & kNonSelectedFlag;
  const uint32_t oldFrame = TrueFrameWord(pixel.frame, pixel.display);
  const uint32_t oldColour = TrueDisplayColour(pixel.display);
  const uint32_t workColour = work & kColourMask;
  uint32_t newFrame = 0;
  uint32_t newColour = oldColour;
  uint32_t flags = (pixel.display & 0xFF000000) | kPaintedMark;
  switch (flavour) {
    case FrameFlavour::Normal:
      newFrame = MergeFrame(oldFrame, work >> 24, workColour);
      newColour = ReblendDisplay(oldColour, oldFrame, newFrame);
      flags |= kDrawAreaFlag;
      break;
    case FrameFlavour::Transparent:
      newFrame = MergeFrame(oldFrame, work >> 24, workColour);
      break;
    case FrameFlavour::ColourChange:
      // Without a frame there is nothing to recolour, and the backdrop must stay.
      if (Opacity(oldFrame) == 0) return std::nullopt;
      newFrame = (oldFrame & 0xFF000000) | workColour;
      newColour = ShiftDisplay(oldColour, oldFrame, workColour);
      break;
  }
  if (nonSelected) {
    newColour ^= kNonSelectedDisplayXor;
    newFrame = ShiftFrameColour(newFrame);
  }
  return PixelPair{flags | newColour, newFrame};
}

namespace {

void CommitRow(PaintStep& step, FrameFlavour flavour, int y, int left, int right) {
  Canvas& canvas = step.Picture();
  uint32_t* work = canvas.work.Row32(y);
  uint32_t* display = canvas.display.Row32(y);
  uint32_t* frame = canvas.frame.Row32(y);
  for (int x = left; x <= right; ++x) {
    if (work[x] <= kColourMask) continue;
    const std::optional<PixelPair> result = CommitPixel(flavour, work[x], {display[x], frame[x]});
    if (result) step.PaintHeld(display[x], frame[x], x, y, result->display, result->frame);
    work[x] = 0;
  }
}

}  // namespace

void CommitFrame(DrawingContext& context, FrameFlavour flavour, const PixelRect& changed,
                 const RowSpans* rows) {
  const PixelRect area = changed.Intersect(PaintArea(context.Picture()));
  if (area.Empty()) return;

  PaintStep step(context, true);
  context.SetStatusText("★描画中...");
  for (int y = area.bottom; y >= area.top; --y) {
    const auto [left, right] =
        rows ? rows->Within(y, area.left, area.right) : std::pair{area.left, area.right};
    CommitRow(step, flavour, y, left, right);
  }
  step.Widen(area);
  context.SetStatusText("");
  step.End(true);
}

}  // namespace lumavex
