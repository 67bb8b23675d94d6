#pragma once
// The directional gradation surface: the band between two curves blurred along the
// direction that a third curve gives, sample by sample from the picture as it was
// before the operation; the results wait in the work layer and go in at the end.

#include <cstdint>
#include <optional>
#include <span>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/curves/Spline.h"
#include "lumavex/paint/SurfaceBand.h"
#include "platform/Progress.h"

namespace lumavex {

// The average bitmap colour of pixel (x, y) over 2k + 1 samples p − k·u + j·u
// (j = 0 .. 2k), each interpolated bilinearly from the un-blended bitmap colours of
// the four pixels of its cell; samples outside the picture or touching a non-selected
// pixel are dropped. Nothing when every sample was dropped.
std::optional<uint32_t> DirectionalAverage(const Canvas& canvas, int x, int y, int k, Sample u);

// The samples on each side and the step between them for quadrilateral direction
// `v`: k = trunc(|v|), u along v with length `spacing` pixels (0 when v is 0).
struct DirectionSteps {
  int k = 0;
  Sample u;
};
DirectionSteps StepsOf(Sample v, double spacing);

// Blurs the band between `curve1` and `curve2` (their base points) along the
// directions from `direction` to curve 1, in one undo step with progress over the
// quadrilaterals; "★描画中..." while the work layer goes in, then the end sound.
// Rejected quadrilaterals stop the drawing with their status text, as for the fade
// surfaces; fewer than three samples draw nothing. Returns the check that stopped
// the drawing, Accepted when none did.
QuadCheck DrawDirectionalGradation(DrawingContext& context, std::span<const Sample> curve1,
                                   std::span<const Sample> curve2,
                                   std::span<const Sample> direction, platform::Progress& progress,
                                   QuadScan scan = QuadScan::Spans);

// The direction curve's start: base point j one third of the way from curve 1's
// point j to curve 2's (the curves having equal counts).
std::vector<Sample> InitialDirectionPoints(std::span<const Sample> curve1,
                                           std::span<const Sample> curve2);

}  // namespace lumavex
