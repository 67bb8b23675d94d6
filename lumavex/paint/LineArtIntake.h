#pragma once
// The colour line-art intake: a line drawing made with pure pens on a white ground,
// as the picture shows it, becomes frames of the same look. Each pixel's colour is
// separated from white into a pen colour and the opacity that colour needs over
// white; the display stays as it was, only the frame layer changes.

#include <cstdint>
#include <optional>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "platform/Progress.h"

namespace lumavex {

// The frame (opacity in the top byte, colour below) that laid over white gives
// `colour` (0xRRGGBB); nothing for white and near-white colours (smallest channel
// 253 or more).
std::optional<uint32_t> SeparatedFromWhite(uint32_t colour);

// The new frame word of a selected drawing-area pixel (display, frame), or nothing
// when it is left as it is. The source colour is the display colour where there is
// no frame and the bitmap under the frame otherwise; an existing frame stays in
// front of the separated one.
std::optional<uint32_t> IntakeFrame(uint32_t display, uint32_t frame);

// Runs the intake over the processing square, rows from the bottom up, each left to
// right, with one progress unit per row, in an undo step of its own: every selected
// drawing-area pixel (painted or not) with a separated colour gets its new frame
// through the journaled write, its display word unchanged and no mark set. At the
// end the changed pixels join the marked rectangle, "end.wav" plays and they are
// redrawn; the caller restores the status text and closes the undo step.
void TakeInColourLineArt(DrawingContext& context, platform::Progress& progress);

// The same with the row loop that takes `lanes` pixels at a time (1, 8 or 16)
// instead of the widest one the processor runs, so that the loops can be compared;
// false, without doing anything, when the processor runs no such loop.
bool TakeInColourLineArtWith(int lanes, DrawingContext& context, platform::Progress& progress);

}  // namespace lumavex
