#pragma once
// The commit step: puts the work layer into the frame and display layers through
// journaled pixel writes, one undo step for the whole stroke, and empties the work
// layer again. Frames, the square fatten and the frame gradation pen share it.

#include <cstdint>
#include <optional>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/RowSpans.h"

namespace lumavex {

// How a stroke is laid into the picture and which pixels it may touch.
enum class FrameFlavour {
  Normal,        // frame merged under the existing one, display re-blended
  Transparent,   // frame merged, display left as it was
  ColourChange,  // existing frame recoloured, display shifted by the change
};

// The display colour after the frame `oldFrame` over it became `newFrame`; true colours.
uint32_t ReblendDisplay(uint32_t displayColour, uint32_t oldFrame, uint32_t newFrame);

// The display colour after the frame colour under opacity A moved from `oldFrame`'s
// colour to `newColour`; true colours.
uint32_t ShiftDisplay(uint32_t displayColour, uint32_t oldFrame, uint32_t newColour);

// What one work pixel makes of a position, painted mark included; nothing when the
// pixel is left alone (a colour change where there is no frame). Non-selected
// positions are computed on their true colours and stored in non-selected form again.
std::optional<PixelPair> CommitPixel(FrameFlavour flavour, uint32_t work, PixelPair pixel);

// Commits every work pixel inside `changed` (clipped to the processing square in the
// picture), rows from the bottom up, each left to right, and resets it to 0, through
// one paint step with its own undo step; the whole clipped rectangle counts as
// changed. Does nothing for an empty rectangle. With `rows`, each row is read only
// inside its span there, which must hold every work pixel of the row.
void CommitFrame(DrawingContext& context, FrameFlavour flavour, const PixelRect& changed,
                 const RowSpans* rows = nullptr);

}  // namespace lumavex
