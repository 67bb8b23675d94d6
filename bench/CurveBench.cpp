// The curve mathematics at the sizes the tools reach: splines through thousands of base points
// (the banded solve must stay linear in their number) and a Bezier of the highest tablet degree.

#include <benchmark/benchmark.h>

#include <vector>

#include "lumavex/curves/Bezier.h"
#include "lumavex/curves/Spline.h"

namespace {

std::vector<lumavex::Sample> ZigZagPoints(int n) {
  std::vector<lumavex::Sample> points;
  points.reserve(n);
  for (int i = 0; i < n; ++i) points.push_back({i * 3.0, (i % 7) * 5.0 - (i % 3) * 2.0});
  return points;
}

// n base points sampled 10 × n times.
void BM_SplineSamples(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<lumavex::Sample> points = ZigZagPoints(n);
  for (auto _ : state) {
    std::vector<lumavex::Sample> samples = lumavex::SplineSamples(points, 10 * n);
    benchmark::DoNotOptimize(samples.data());
  }
  state.SetItemsProcessed(state.iterations() * 10 * n);
}
BENCHMARK(BM_SplineSamples)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The control points alone: factorisation and the two solves.
void BM_SplineControlPoints(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<lumavex::Sample> points = ZigZagPoints(n);
  for (auto _ : state) {
    std::vector<lumavex::Sample> control = lumavex::SplineControlPoints(points);
    benchmark::DoNotOptimize(control.data());
  }
}
BENCHMARK(BM_SplineControlPoints)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A stretch of 1601 tablet samples (degree 1600) sampled 1,000 times.
void BM_BezierSamples(benchmark::State& state) {
  const lumavex::BezierTables tables;
  std::vector<lumavex::TabletSample> control;
  for (int i = 0; i <= 1600; ++i) control.push_back({i * 0.5, (i % 13) * 1.5, 0.5});
  for (auto _ : state) {
    std::vector<lumavex::TabletSample> samples = lumavex::BezierSamples(tables, control, 1000);
    benchmark::DoNotOptimize(samples.data());
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_BezierSamples)->Unit(benchmark::kMillisecond);

void BM_BezierTables(benchmark::State& state) {
  for (auto _ : state) {
    lumavex::BezierTables tables;
    benchmark::DoNotOptimize(&tables);
  }
}
BENCHMARK(BM_BezierTables)->Unit(benchmark::kMicrosecond);

}  // namespace
