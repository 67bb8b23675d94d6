#pragma once
// The geometry of the paste tools: how a drag from one position to the next changes
// the three live curves of a paste from memory. A cross line j is the base point j of
// each of the three curves (curve 1, middle, curve 2).

#include "lumavex/curves/Spline.h"
#include "lumavex/paint/MemorySurface.h"

namespace lumavex {

// The tools of the paste mode, by their keys.
enum class PasteTransform {
  Move,            // 5: every base point follows the drag
  FreeDeformation, // W: the picked base point alone follows it
  Scale,           // E: every base point, about the centre of all of them
  Rotate,          // R: every base point, about the centre of all of them
  TwoPointMove,    // 6: the picked cross line follows the drag
  FourPointMove,   // 7: the picked cross line and the next one (the previous at the end)
  TwoPointScale,   // 8: the picked cross line, about its own centre
  FourPointScale,  // 9: the picked cross line and the next, about their centre
};

// A base point of the live curves: curve 0 (curve 1), 1 (middle) or 2 (curve 2).
struct PastePoint {
  int curve = -1;
  int index = -1;
  explicit operator bool() const { return curve >= 0; }
};

// The base point nearest to `at` within `tolerance` on each axis; none when no point
// is that near.
PastePoint NearestPastePoint(const PasteCurves& curves, Sample at, double tolerance);

// Applies one drag step from `from` to `to` of `transform`; `picked` names the base
// point the free deformation moves and the cross line the point tools act on.
// Nothing happens when the tool needs a picked point and none is.
void ApplyPasteTransform(PasteCurves& curves, PasteTransform transform, PastePoint picked,
                         Sample from, Sample to);

}  // namespace lumavex
