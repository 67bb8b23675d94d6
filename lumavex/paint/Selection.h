#pragma once
// Whole-picture selection changes. Selection is written straight into the layers,
// without the undo journal.

#include "lumavex/canvas/Canvas.h"

namespace lumavex {

// Makes every pixel selected: the non-selected marking is taken off the display
// words and the frame colours.
void SelectAll(Canvas& canvas);

}  // namespace lumavex
