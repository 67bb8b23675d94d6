#pragma once
// Selection changes over a rectangle: select, deselect or reverse every pixel. The
// selection is written straight into the layers, without the undo journal and
// without marks, through the one toggle of the pixel rules.

#include <cstdint>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

enum class SelectionChange {
  SelectAll,    // every non-selected pixel becomes selected
  DeselectAll,  // every selected pixel becomes non-selected
  Reverse,      // every pixel is toggled
};

// Applies `change` to every pixel of `area` clipped to the picture, rows from the
// bottom up, each left to right. Returns the number of pixels toggled.
uint64_t ChangeSelection(Canvas& canvas, SelectionChange change, const PixelRect& area);

}  // namespace lumavex
