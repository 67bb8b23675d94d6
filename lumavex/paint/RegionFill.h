#pragma once
// The region fill: from a seed pixel, the 4-connected region of open pixels inside
// the paint step's area, bounded by frame pixels whose opacity reaches the fill's
// threshold; those border pixels are painted too but spread no further. Per-pixel
// state lives in the marks of the display words (queued, painted), and two chunked
// stacks with a right and a left slot keep about one entry per run of pixels.

#include <cstddef>
#include <cstdint>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/paint/FillPicture.h"
#include "lumavex/paint/FillRules.h"

namespace lumavex {

// What one kind of region fill reads of the settings and of the pixels: one row per
// kind, so that another kind adds a row and its painting.
struct RegionFillRule {
  FillKind kind;
  // The border threshold: frames of at least this opacity stop the fill.
  int DrawingSettings::*threshold;
  // The state of the non-selected flag that the fill spreads through.
  uint32_t requiredState;
  // Whether the tolerance test decides which pixels are open.
  bool tolerance;
  // The status text while the fill runs.
  const char* status;
};

const RegionFillRule& RegionFillRuleOf(FillKind kind);

struct RegionFillStats {
  bool ran = false;      // the seed was taken
  uint64_t taken = 0;    // pixels taken and painted
  size_t peakBelow = 0;  // the most entries each stack held
  size_t peakAbove = 0;
};

// Runs a region fill of `kind` from the picture position (seedX, seedY), rounded to
// the nearest pixel, through `step`, with the head colour, maximum opacity and
// thresholds of `context`'s settings. Nothing happens for a seed outside the step's
// area, a seed that is not open to the fill, or a bitmap fill without `picture`.
RegionFillStats RegionFill(PaintStep& step, DrawingContext& context, FillKind kind, double seedX,
                           double seedY, const FillPicture* picture = nullptr);

}  // namespace lumavex
