#pragma once
// The straight-line counterpart of the spline: base points joined by straight
// segments, base point i at parameter i, sampled the way SplineSamples samples.

#include <span>
#include <vector>

#include "lumavex/curves/Spline.h"

namespace lumavex {

// The polyline through `points` sampled `m` times: sample r lies at parameter
// r × (n − 1) / (m − 1), between base points trunc(t) and trunc(t) + 1. One point gives
// m copies of it, m = 1 gives P0, no points or m < 1 give no samples. With two points
// the samples are those of the spline through them.
std::vector<Sample> PolylineSamples(std::span<const Sample> points, int m);

}  // namespace lumavex
