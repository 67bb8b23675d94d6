#pragma once
// Applying a step's pixel records, read back from its undo file, to the canvas.

#include <cstdint>
#include <span>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/files/UndoFile.h"

namespace lumavex {

// Which words of a record go back into the layers.
enum class RecordSide {
  Old,           // undo: the old display and frame words
  OldFrameOnly,  // frame-only undo: the old frame word, the display left as it is
  New,           // redo: the new display and frame words
};

struct AppliedRecords {
  int64_t count = 0;  // whole records read and applied
  PixelRect changed;  // the positions written
};

// Applies up to `count` records that start at `offset` of `file`, reading them in
// chunks that fit `chunk`. Stops at the end of the file: a record cut short is never
// applied. Records naming a position outside the picture are passed over.
AppliedRecords ApplyStepRecords(UndoFile& file, int64_t offset, int64_t count, Canvas& canvas,
                                RecordSide side, std::span<uint8_t> chunk);

}  // namespace lumavex
