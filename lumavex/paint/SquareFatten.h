#pragma once
// The square fatten of the selected area: every selected, unmarked pixel takes the
// strongest frame opacity of the selected pixels around it, at full strength within
// the fatten width (square distance) and falling off linearly to 0 over the
// anti-alias width beyond it. The result is laid in as frames of the head colour.

#include <cstdint>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

// The fatten width F and the anti-alias width Wa, both in 1/100 pixel.
struct FattenWidths {
  int width = 100;
  int antiAliasWidth = 0;
};

// The opacity a frame of opacity `opacity` gives at square distance `distance` (in
// 1/100 pixel) from it: in full up to F, scaled by (F + Wa - distance) / Wa beyond F
// (integer division), nothing beyond F + Wa.
int FattenedOpacity(int opacity, int distance, FattenWidths widths);

// Fills the work layer inside `area` (clipped to the picture): each selected,
// unmarked pixel whose fattened opacity o is above 0 gets opacity round255(o ×
// maxOpacity) with `colour` (0xRRGGBB) where that is above 0, every other pixel of
// the area 0. Only selected pixels inside the area count as sources. The work layer
// must be empty there: it holds the intermediate maxima while the pass runs.
void FattenIntoWorkLayer(Canvas& canvas, const PixelRect& area, FattenWidths widths,
                         uint32_t maxOpacity, uint32_t colour);

// The fatten command over the processing square with the settings' widths, maximum
// opacity and head colour: nothing while the maximum opacity is 0; otherwise the
// work layer is filled and then put in as normal frames in one undo step of its own,
// ending with "end.wav". The caller closes the undo step.
void SquareFatten(DrawingContext& context);

}  // namespace lumavex
