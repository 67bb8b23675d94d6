#pragma once
// Mapping a picture into a quadrilateral of the canvas: the free-form paste's
// geometry. Every target pixel whose centre lies inside the quadrilateral takes the
// source colour at the matching point, interpolated between the four source pixels
// around it.

#include <array>

#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

// The quadrilateral's corners in target pixels, matching the source picture's
// top-left, top-right, bottom-right and bottom-left pixel centres.
using PasteCorners = std::array<Sample, 4>;

// Where target point `p` lies in the quadrilateral, as fractions (u across, v down)
// of the bilinear patch; false when it lies outside (0.001 tolerance on the border).
bool InverseBilinear(const PasteCorners& corners, const Sample& p, double& u, double& v);

// Pastes the display words of `source` into `target` within `corners`. Source pixels
// outside the source's drawing area do not take part; a target pixel whose
// neighbourhood holds none of the source's drawing area is left as it is. The pasted
// words carry the drawing-area flag.
void PasteIntoQuadrilateral(const PixelPlane& source, const PasteCorners& corners,
                            PixelPlane& target);

}  // namespace lumavex
