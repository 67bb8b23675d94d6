#pragma once
// Editing base point chains: picking a point under the cursor, inserting and
// deleting points, pulling every point back into the picture, and the check that
// two chains form proper quadrilaterals between them.

#include <string>

#include "lumavex/curves/BasePoints.h"
#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

// Pick tolerances in screen pixels.
constexpr double kPickTolerance = 4.999;
constexpr double kEditTolerance = 5.0;

// A chain point and its position in the chain.
struct PickedPoint {
  int index = -1;
  BasePoint* point = nullptr;
  explicit operator bool() const { return point != nullptr; }
};

// The first point of `chain`, in chain order, within `tolerance` screen pixels of
// picture position (x, y) on each axis at `zoom` screen pixels per picture pixel.
PickedPoint FindBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                          double zoom, double tolerance);

// Clears processing marks bits 26-29 inside `marked` and empties it, so that a
// curve whose points move can be drawn again over its old place.
void ClearMarksForEditing(Canvas& canvas, PixelRect& marked);

// Inserts a copy of the point under (x, y) right after it; false when none is there.
bool InsertBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                     double zoom);

// Removes the point under (x, y) when the chain keeps at least two; clears
// `picked` when it was that point. False when nothing was removed.
bool DeleteBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y,
                     double zoom, PickedPoint& picked);

// Moves every point outside 0..width-1 × 0..height-1 onto the nearest edge;
// returns the number of points moved.
int ClampBasePointsIntoPicture(common::ChainList& lists, common::ChainHandle chain, int width,
                               int height);

enum class QuadCheck { Accepted, Overlapping, Twisted };

// Checks the quadrilateral P0 P1 P2 P3 (two corresponding segments of two chains).
QuadCheck CheckQuad(const Sample& p0, const Sample& p1, const Sample& p2, const Sample& p3);

// The status text of a rejected quad; empty when accepted.
std::string QuadCheckMessage(QuadCheck result);

}  // namespace lumavex
