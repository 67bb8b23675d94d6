#include "lumavex/paint/LineArtIntake.h"

#include <algorithm>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/SmallDivision.h"

namespace lumavex {
namespace {

// The separation never gives an opacity of 2 or less.
constexpr uint32_t kLeastOpacity = 3;

// The separated frame word of `colour`, or 0 (no frame) for white and near-white.
// The loop works on plain words: an optional returned per pixel costs more than
// the separation itself.
inline uint32_t SeparatedWord(uint32_t colour) {
  const uint32_t least = std::min({Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)});
  const uint32_t a = 255 - least;
  if (a < kLeastOpacity) return 0;
  const uint32_t half = a >> 1;
  uint32_t pen = 0;
  // (255 - c) ≤ a, so the dividend stays within 255 × 255 + 127.
  for (int shift = 0; shift <= 16; shift += 8)
    pen |= (255 - DivideSmall((255 - Channel(colour, shift)) * 255 + half, a)) << shift;
  return (a << 24) | pen;
}

// The new frame word of a pixel, or 0 when it is left as it is.
inline uint32_t IntakeWord(uint32_t display, uint32_t frame) {
  const uint32_t a = Opacity(frame);
  if (a == 0) return SeparatedWord(display & kColourMask);
  const uint32_t separated = SeparatedWord(Unblend(display, frame, a));
  return separated == 0 ? 0 : MergeFrame(frame, Opacity(separated), separated);
}

std::optional<uint32_t> UnlessZero(uint32_t word) {
  return word == 0 ? std::nullopt : std::optional<uint32_t>(word);
}

}  // namespace

std::optional<uint32_t> SeparatedFromWhite(uint32_t colour) {
  return UnlessZero(SeparatedWord(colour));
}

std::optional<uint32_t> IntakeFrame(uint32_t display, uint32_t frame) {
  return UnlessZero(IntakeWord(display, frame));
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
    int first = area.right + 1, last = -1;
    for (int x = area.left; x <= area.right; ++x) {
      if ((display[x] & (kDrawAreaFlag | kNonSelectedFlag)) != kDrawAreaFlag) continue;
      const uint32_t taken = IntakeWord(display[x], frame[x]);
      if (taken == 0) continue;
      step.WriteHeld(display[x], frame[x], x, y, display[x], taken);
      first = std::min(first, x);
      last = x;
    }
    changed.Merge({first, y, last, y});
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  step.Widen(changed);
  step.End(true);
}

}  // namespace lumavex
