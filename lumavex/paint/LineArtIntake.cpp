#include "lumavex/paint/LineArtIntake.h"

#include <algorithm>

#include "lumavex/canvas/PaintStep.h"

namespace lumavex {
namespace {

// The separation never gives an opacity of 2 or less.
constexpr uint32_t kLeastOpacity = 3;

}  // namespace

std::optional<uint32_t> SeparatedFromWhite(uint32_t colour) {
  const uint32_t least = std::min({Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)});
  const uint32_t a = 255 - least;
  if (a < kLeastOpacity) return std::nullopt;
  const uint32_t half = a >> 1;
  uint32_t pen = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    pen |= (255 - ((255 - Channel(colour, shift)) * 255 + half) / a) << shift;
  return (a << 24) | pen;
}

std::optional<uint32_t> IntakeFrame(uint32_t display, uint32_t frame) {
  const uint32_t a = Opacity(frame);
  const uint32_t source = a == 0 ? display & kColourMask : Unblend(display, frame, a);
  const std::optional<uint32_t> separated = SeparatedFromWhite(source);
  if (!separated || a == 0) return separated;
  return MergeFrame(frame, Opacity(*separated), *separated);
}

void TakeInColourLineArt(DrawingContext& context, platform::Progress& progress) {
  PaintStep step(context, true);
  Canvas& canvas = step.Picture();
  const PixelRect area = step.Area();
  PixelRect changed;
  progress.ProgressStart(area.Empty() ? 0 : static_cast<uint64_t>(area.bottom - area.top + 1));
  for (int y = area.bottom; y >= area.top; --y) {
    uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    for (int x = area.left; x <= area.right; ++x) {
      if ((display[x] & (kDrawAreaFlag | kNonSelectedFlag)) != kDrawAreaFlag) continue;
      const std::optional<uint32_t> taken = IntakeFrame(display[x], frame[x]);
      if (!taken) continue;
      step.WriteHeld(display[x], frame[x], x, y, display[x], *taken);
      changed.Merge({x, y, x, y});
    }
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  step.Widen(changed);
  step.End(true);
}

}  // namespace lumavex
