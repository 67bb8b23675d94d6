#pragma once
// The fills over the whole selected area inside the processing square: the head
// colour everywhere, the head colour where the colour is near the termination
// colour, and the colour inversion.

#include "lumavex/canvas/DrawingContext.h"
#include "platform/Progress.h"

namespace lumavex {

enum class WholeAreaFill {
  HeadColour,  // every selected pixel
  OneColour,   // selected drawing-area pixels near the termination colour
  Invert,      // selected drawing-area pixels, bitmap and frame colours inverted
};

// Runs `fill` over every pixel of the processing square inside the picture, rows
// from the bottom up, each left to right, with one progress unit per row, in an undo
// step of its own. Pixels already painted since the last command choice are left
// alone. At the end the whole square counts as changed, "end.wav" plays, the status
// text is cleared and the square is redrawn; the caller closes the undo step.
void FillWholeArea(DrawingContext& context, WholeAreaFill fill, platform::Progress& progress);

}  // namespace lumavex
