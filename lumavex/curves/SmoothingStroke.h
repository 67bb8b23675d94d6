#pragma once
// Tablet strokes: the pen's samples collected in a buffer of blocks, split into stretches at
// the turning points, each stretch smoothed by its Bezier curve into a few points, and those
// points drawn as one normal frame through the block spline.

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/curves/Bezier.h"
#include "lumavex/curves/Spline.h"

namespace lumavex {

// The w of a turning-point marker; its x and y mean nothing.
constexpr double kTurningPointW = -1000000.0;

constexpr TabletSample TurningPointMarker() {
  return {0, 0, kTurningPointW};
}
constexpr bool IsTurningPoint(const TabletSample& s) {
  return s.w == kTurningPointW;
}

// The states of the pen's pressure and button machines.
enum class PenState { Initial = 0, WentDown = 1, Held = 2, WentUp = 4, Up = 8 };

// One step of a pen machine on input `input` (above 0: pressed). A press of a single packet
// still passes through Held before WentUp. Nothing for a state outside the machine.
std::optional<PenState> StepPen(PenState state, int input);

// The samples of the stroke being drawn, in blocks that are kept for the whole run and
// reused by the next stroke.
class StrokeBuffer {
 public:
  // A block counts as full at this many samples; the next one is taken then.
  static constexpr int kBlockSamples = 1613;

  // Appends `sample`, taking the next block (a new one when there is none) when the
  // current one is full. Lets std::bad_alloc through.
  void Append(const TabletSample& sample);
  // Writes `sample` over the last appended sample (appends it when there is none).
  void OverwriteLast(const TabletSample& sample);
  // Moves the write position back to the first block; the blocks stay.
  void Reset();

  // Every sample written since the reset, in order.
  std::vector<TabletSample> Samples() const;
  size_t Size() const;
  size_t BlockCount() const { return blocks_.size(); }

 private:
  struct Block {
    // The sample area holds a little more than the full mark.
    std::array<TabletSample, kBlockSamples + 2> samples;
    int end = 0;
  };
  std::vector<std::unique_ptr<Block>> blocks_;
  size_t current_ = 0;
};

// Stretches of more samples than this are thinned to about this many.
constexpr int kMaxStretchSamples = 1600;

// The stroke's samples split at its turning points, markers left out: from the sixth sample
// on, the second non-marker after a marker ends the stretch before the marker and the next
// starts just after it. Markers among the first five or in the last two split nothing; empty
// stretches are dropped; stretches above kMaxStretchSamples are thinned evenly, ends kept.
std::vector<std::vector<TabletSample>> SplitIntoStretches(std::span<const TabletSample> samples);

// Stretches of 14 samples or more lose samples 1-5 and the five before the last; shorter
// ones are kept whole.
std::vector<TabletSample> TrimStretch(std::span<const TabletSample> stretch);

// The stretch trimmed and replaced by `basePoints` points of its Bezier curve, the ends
// exactly its (trimmed) end samples; one sample gives `basePoints` copies. An empty stretch
// is an impossible state and ends the program.
std::vector<TabletSample> SmoothStretch(DrawingContext& context, const BezierTables& tables,
                                        std::span<const TabletSample> stretch, int basePoints);

// The smoothed stretches of a whole stroke, in order.
std::vector<std::vector<TabletSample>> SmoothStroke(DrawingContext& context,
                                                    const BezierTables& tables,
                                                    std::span<const TabletSample> samples,
                                                    int basePoints);

// Draws the stroke as one normal frame: the block spline through the smoothed stretches, at
// the point spacing measured over the whole stroke, committed as one undo step. A stroke too
// short to measure draws nothing.
void RenderSmoothingStroke(DrawingContext& context, const BezierTables& tables,
                           std::span<const TabletSample> samples, int basePoints);

}  // namespace lumavex
