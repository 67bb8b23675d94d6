#pragma once
// The interpolating spline of the curve tools: a not-a-knot B-spline (cubic from four points
// on, a parabola through three, a segment through two) that passes through every base point,
// base point i at parameter i, sampled into as many points as the caller asks for.
//
// Every call allocates its own work storage and frees it before returning; the functions
// without a DrawingContext let std::bad_alloc reach the caller, the block functions turn it
// into the program's fatal end.

#include <span>
#include <utility>
#include <vector>

#include "common/ChainList.h"
#include "lumavex/canvas/DrawingContext.h"

namespace lumavex {

struct Sample {
  double x = 0;
  double y = 0;
};

// A pen sample: position and the pen's width factor w, which the curves carry along unused.
struct TabletSample {
  double x = 0;
  double y = 0;
  double w = 0;
};

// The interpolating not-a-knot spline through `points` (n >= 2), sampled `m` times (m >= 1).
// Sample r lies at parameter r × (n − 1) / (m − 1); m = 1 gives P0. Fewer than two points are no
// curve: one point gives m copies of it, none gives no samples; m < 1 gives no samples.
std::vector<Sample> SplineSamples(std::span<const Sample> points, int m);
// SplineSamples of two curves through the same number of points, word for word, with
// the weights of each parameter worked out once for both. Curves of different point
// counts are sampled one after the other.
std::pair<std::vector<Sample>, std::vector<Sample>> SplineSamplePair(
    std::span<const Sample> first, std::span<const Sample> second, int m);

// One sample at parameter t = (n - 1) * fraction. No points give (0, 0), one point gives it.
Sample SplineSampleAt(std::span<const Sample> points, double fraction);

// The points of a base point chain, in order.
std::vector<Sample> ChainPoints(const common::ChainList& lists, common::ChainHandle chain);

// The sample count that puts consecutive samples about one point spacing (1/100 pixel) apart:
// trunc(L × 100 / pointSpacing) with L the length of the 100-sample polyline of the spline.
// Fewer than two points or a spacing below 1 give 0.
int FrameSampleCount(std::span<const Sample> basePoints, int pointSpacing);

// The length of the polyline through `samples`, 0 for fewer than two.
double PolylineLength(std::span<const Sample> samples);

// Tablet strokes: each block through the spline with m samples (1-sample blocks repeat it m
// times; an empty block is fatal), the blocks' samples one after another.
std::vector<Sample> BlockSpline(DrawingContext& context,
                                std::span<const std::vector<TabletSample>> blocks, int m);

// FrameSampleCount for a tablet stroke, measured on its block spline with 100 samples a block
// (the jumps between blocks included). The count applies to every block.
int FrameSampleCountOfBlocks(DrawingContext& context,
                             std::span<const std::vector<TabletSample>> blocks, int pointSpacing);

// How the collocation matrix is held: Automatic is dense n × n when n <= k (the order) and banded
// otherwise; Dense forces the n × n layout, a slow form that must give the same values.
enum class CollocationLayout { Automatic, Dense };

// The B-spline control points that make the spline pass through `points` (n >= 2), one per point.
std::vector<Sample> SplineControlPoints(std::span<const Sample> points,
                                        CollocationLayout layout = CollocationLayout::Automatic);

}  // namespace lumavex
