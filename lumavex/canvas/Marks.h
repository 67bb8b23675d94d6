#pragma once
// The processing marks kept in the spare bits of the display words.

#include <cstdint>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

// Clears the bits of `mask` (kPaintingMarks, kProcessingMarks) in every display word
// inside `rect`, clipped to the picture.
void ClearMarks(Canvas& canvas, const PixelRect& rect, uint32_t mask);

// Clears the bits of `mask` in the pixels of `old` that `now` does not cover.
void ClearMarksLeftBehind(Canvas& canvas, const PixelRect& old, const PixelRect& now,
                          uint32_t mask);

}  // namespace lumavex
