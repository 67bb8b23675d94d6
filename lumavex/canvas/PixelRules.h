#pragma once
// The per-pixel rules every drawing operation shares: the display and frame words,
// their flags, blending of a frame over the bitmap and the frame-layer backdrop.

#include <algorithm>
#include <cstdint>

#include "lumavex/canvas/SmallDivision.h"

namespace lumavex {

// Display-layer flags.
constexpr uint32_t kNonSelectedFlag = 0x01000000;  // outside the selected area
constexpr uint32_t kDrawAreaFlag = 0x02000000;     // inside the drawing area
constexpr uint32_t kPaintedMark = 0x04000000;      // changed since the last command choice
constexpr uint32_t kSurfaceMark = 0x08000000;      // reached by a surface accumulation
constexpr uint32_t kQueuedMark = 0x10000000;       // waiting in a region fill's queue
// Bits 26-29: the marks with which an operation keeps from changing a pixel twice.
// Clearing them lets the pixel be painted again; the journal never keeps them.
constexpr uint32_t kPaintingMarks = 0x3C000000;
// Bits 26-30: every processing mark; the next command choice clears them all.
constexpr uint32_t kProcessingMarks = 0x7C000000;
constexpr uint32_t kJournalMask = ~kPaintingMarks;
constexpr uint32_t kColourMask = 0x00FFFFFF;

// Pixels a drawing never touches: outside the selection or already changed.
constexpr uint32_t kUntouchable = kNonSelectedFlag | kPaintedMark;

// Whether a drawing may change the pixel whose display word is `display`.
constexpr bool Paintable(uint32_t display) {
  return !(display & kUntouchable);
}

// A new picture's display pixel: white, drawing area, selected.
constexpr uint32_t kNewDisplayPixel = 0x02FFFFFF;

// Non-selected pixels store red and green inverted in the display layer and the
// frame colour with 128 added to each channel (modulo 256) in the frame layer.
constexpr uint32_t kNonSelectedDisplayXor = 0x00FFFF00;

// Land shows where the drawing area has no frame, water outside the drawing area.
constexpr uint32_t kLandEven = 0x808000;
constexpr uint32_t kLandOdd = 0xC0C000;
constexpr uint32_t kWaterEven = 0x008080;
constexpr uint32_t kWaterOdd = 0x00C0C0;

// Division of a 0..65025 product by 255, rounded.
constexpr uint32_t Round255(uint32_t v) {
  return (v + (v >> 8) + 128) >> 8;
}

constexpr uint32_t Opacity(uint32_t frameWord) {
  return frameWord >> 24;
}
constexpr uint32_t Channel(uint32_t word, int shift) {
  return (word >> shift) & 0xFF;
}

// Adds 128 to each of red, green and blue modulo 256; applying it twice restores.
constexpr uint32_t ShiftFrameColour(uint32_t frameWord) {
  return (frameWord & 0xFF000000) | ((frameWord ^ 0x00808080) & kColourMask);
}

// The colour of frame colour `f` with opacity `a` over bitmap colour `b`.
constexpr uint32_t Blend(uint32_t f, uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    out |= Round255(Channel(f, shift) * a + Channel(b, shift) * (255 - a)) << shift;
  return out;
}

// The bitmap colour under frame colour `f` with opacity `a`, recovered from the
// displayed colour `d`. Under an opaque frame the bitmap is lost and `d` is returned.
constexpr uint32_t Unblend(uint32_t d, uint32_t f, uint32_t a) {
  if (a == 0 || a >= 255) return d & kColourMask;
  // The dividend is at most 255 × 255 + 127 and the divisor at most 254, within
  // DivideSmall's range; a negative dividend clamps to 0.
  const uint32_t rest = 255 - a;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int n = static_cast<int>(Channel(d, shift) * 255 + (rest >> 1)) -
                  static_cast<int>(Channel(f, shift) * a);
    const uint32_t v =
        n <= 0 ? 0 : std::min<uint32_t>(DivideSmall(static_cast<uint32_t>(n), rest), 255);
    out |= v << shift;
  }
  return out;
}

// The frame-layer word of a position that carries no frame.
constexpr uint32_t BackdropColour(int x, int y, bool drawArea, bool nonSelected) {
  const bool sameParity = ((x >> 3) & 1) == ((y >> 3) & 1);
  uint32_t colour =
      drawArea ? (sameParity ? kLandEven : kLandOdd) : (sameParity ? kWaterEven : kWaterOdd);
  return nonSelected ? ShiftFrameColour(colour) : colour;
}

// The backdrop for a position whose display word is `display`.
constexpr uint32_t BackdropFor(int x, int y, uint32_t display) {
  return BackdropColour(x, y, display & kDrawAreaFlag, display & kNonSelectedFlag);
}

// The true (shown to the user) colour of a display word.
constexpr uint32_t TrueDisplayColour(uint32_t display) {
  return (display & kNonSelectedFlag) ? (display ^ kNonSelectedDisplayXor) & kColourMask
                                      : display & kColourMask;
}

// The true frame colour and opacity of a frame word at a position with `display`.
constexpr uint32_t TrueFrameWord(uint32_t frame, uint32_t display) {
  return (display & kNonSelectedFlag) ? ShiftFrameColour(frame) : frame;
}

// A position's display and frame words.
struct PixelPair {
  uint32_t display = 0;
  uint32_t frame = 0;
  bool operator==(const PixelPair&) const = default;
};

// The frame merge: the frame word after laying the frame (alpha `underAlpha`, colour
// `underColour`) under `frame`; true colours in, true colours out. The existing frame
// stays in front, so its opacity counts in full and the one under it only where the
// front one lets it through.
constexpr uint32_t MergeFrame(uint32_t frame, uint32_t underAlpha, uint32_t underColour) {
  const uint32_t a = Opacity(frame);
  if (a == 0) return (underAlpha << 24) | (underColour & kColourMask);
  const uint32_t merged = std::max(a, underAlpha);
  const uint32_t t = Round255((255 - a) * underAlpha);
  // t is at most 255 - a, so the divisor a + t stays within 255 and the dividend
  // within 255 × 255: DivideSmall's range.
  const uint32_t sum = a + t;
  uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    colour |= DivideSmall(Channel(underColour, shift) * t + Channel(frame, shift) * a, sum)
              << shift;
  return (merged << 24) | colour;
}

// The paint primitive: the words of a selected position after `colour` is painted on
// its bitmap with opacity `opacity` (1..255). The colour goes over the bitmap found
// under the frame, the frame is laid over the result again, and a position outside
// the drawing area enters it with the land backdrop. The flags byte is kept.
constexpr PixelPair PaintPixel(int x, int y, uint32_t colour, uint32_t display, uint32_t frame,
                               uint32_t opacity) {
  const uint32_t a = Opacity(frame);
  const uint32_t bitmap = Unblend(display, frame, a);
  const uint32_t painted = opacity < 255 ? Blend(colour, opacity, bitmap) : colour & kColourMask;
  const uint32_t shown = a > 0 ? Blend(frame, a, painted) : painted;
  if (display & kDrawAreaFlag) return {(display & 0xFF000000) | shown, frame};
  return {(display & 0xFF000000) | kDrawAreaFlag | shown,
          BackdropColour(x, y, true, display & kNonSelectedFlag)};
}

// Switches a pixel pair between the selected and the non-selected representation:
// red and green of the display inverted, 128 added to each frame colour channel and
// the non-selected flag flipped. Applying it twice restores the pair exactly.
constexpr void ToggleSelection(uint32_t& display, uint32_t& frame) {
  display = (display ^ kNonSelectedDisplayXor) ^ kNonSelectedFlag;
  frame = ShiftFrameColour(frame);
}

// Marks a selected pixel pair as non-selected; does nothing if it already is.
constexpr void Deselect(uint32_t& display, uint32_t& frame) {
  if (!(display & kNonSelectedFlag)) ToggleSelection(display, frame);
}

// Marks a non-selected pixel pair as selected; does nothing if it already is.
constexpr void Select(uint32_t& display, uint32_t& frame) {
  if (display & kNonSelectedFlag) ToggleSelection(display, frame);
}

}  // namespace lumavex
