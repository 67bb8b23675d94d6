#pragma once
// Mapping a picture into a quadrilateral of the canvas: the free-form paste's
// geometry. Every target pixel whose centre lies inside the quadrilateral takes the
// source colour at the matching point, interpolated between the four source pixels
// around it.

#include <array>

#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

// The quadrilateral's corners in target pixels, matching the source picture's
// top-left, top-right, bottom-right and bottom-left pixel centres.
using PasteCorners = std::array<Sample, 4>;

// Where target point `p` lies in the quadrilateral, as fractions (u across, v down)
// of the bilinear patch; false when it lies outside (0.001 tolerance on the border).
bool InverseBilinear(const PasteCorners& corners, const Sample& p, double& u, double& v);

// The pixels of `clip` whose centres lie inside the quadrilateral, row by row from
// the top, each with its place in the patch: `visit(x, y, u, v)` with u and v held to
// 0..1. `rowDone(y)` follows each row of the quadrilateral's box inside `clip`.
template <class Visit, class RowDone>
void ForEachQuadrilateralPixel(const PasteCorners& corners, const PixelRect& clip, Visit&& visit,
                               RowDone&& rowDone);
// The quadrilateral's bounding box: every pixel a centre inside it can have.
PixelRect QuadrilateralBox(const PasteCorners& corners);

// Pastes the display words of `source` into `target` within `corners`. Source pixels
// outside the source's drawing area do not take part; a target pixel whose
// neighbourhood holds none of the source's drawing area is left as it is. The pasted
// words carry the drawing-area flag.
void PasteIntoQuadrilateral(const PixelPlane& source, const PasteCorners& corners,
                            PixelPlane& target);

template <class Visit, class RowDone>
void ForEachQuadrilateralPixel(const PasteCorners& corners, const PixelRect& clip, Visit&& visit,
                               RowDone&& rowDone) {
  const PixelRect box = QuadrilateralBox(corners).Intersect(clip);
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      double u = 0, v = 0;
      if (InverseBilinear(corners, {double(x), double(y)}, u, v))
        visit(x, y, u < 0 ? 0.0 : u > 1 ? 1.0 : u, v < 0 ? 0.0 : v > 1 ? 1.0 : v);
    }
    rowDone(y);
  }
}

}  // namespace lumavex
