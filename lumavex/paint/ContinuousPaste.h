#pragma once
// Continuous paste: one memory surface pasted into every picture of a span of a
// movie, its three live curves travelling from a start position S through a middle
// position M to an end position E. Every base point follows the quadratic through
// its three positions at t = 0, ½ and 1.

#include <cstdint>
#include <span>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/paint/MemorySurface.h"
#include "platform/Memory.h"
#include "platform/Progress.h"

namespace lumavex {

// One picture of a span and where on the path its curves lie.
struct SpanStep {
  int file = 0;
  double t = 0;
};

// The pictures `firstFile` .. `lastFile` of the span from the group at `startFile`
// (t = 0) to the group at `endFile` (t = 1). t starts at 0 on `startFile` and grows
// by 1 / (endFile − startFile) per picture, by addition; on `endFile` it is exactly 1.
// A loop span ends before its end group (lastFile = endFile − 1), so t stays below 1.
std::vector<SpanStep> SpanSchedule(int startFile, int endFile, int firstFile, int lastFile);

// The three spans between the base point groups: 1～2 from file 0 to K2, 2～3 from K2
// to K3, and the loop span 3～4 from K3 to the picture after the last (group 1 again).
enum class PasteSpan { OneToTwo, TwoToThree, ThreeToFour };

// The pictures and parameters of `span` in a group of `count` pictures with groups 2
// and 3 on files `k2` and `k3`: 1～2 pastes files 0 .. K2, 2～3 files K2 + 1 .. K3 and
// 3～4 files K3 + 1 .. count − 1, each picture once. Empty when the files are out of
// order (0 < K2 < K3 < count is needed; K3 < count − 1 for the loop span).
std::vector<SpanStep> ScheduleOfSpan(PasteSpan span, int k2, int k3, int count);

// Each base point of the three curves at the midpoint of its start and end places.
// Where the curves' counts differ, only the points both have are taken.
PasteCurves MidpointCurves(const PasteCurves& start, const PasteCurves& end);

// The curves at `t` on the quadratic through `start` (t = 0), `middle` (t = ½) and
// `end` (t = 1), written into `out` (resized as needed). t = 0 and t = 1 give the
// start and end positions exactly. Where the counts of the three differ, only the
// points all three have are taken (the paste then refuses curves that do not match
// its surface).
void CurvesOnPath(const PasteCurves& start, const PasteCurves& middle, const PasteCurves& end,
                  double t, PasteCurves& out);

// Pastes `surface` into the pictures of `schedule`, in order: each picture in turn
// becomes the canvas of `context` (which must hold no picture meanwhile), borrowing
// `work` as its work layer, and gets the paste of the curves at its t; the paste's
// processing marks are cleared afterwards, so a picture stores no marks. Journaling
// is the context's. One progress unit per picture. Returns the pictures pasted into.
int PasteAlongSpan(DrawingContext& context, std::span<Canvas> pictures, PixelPlane& work,
                   std::span<const SpanStep> schedule, const PasteCurves& start,
                   const PasteCurves& middle, const PasteCurves& end, const MemorySurface& surface,
                   uint32_t maxOpacity, platform::Allocator& allocator,
                   platform::Progress& progress);

}  // namespace lumavex
