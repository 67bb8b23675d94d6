// Pen-up to committed frame of the smoothing curve: a 2,000-sample hand-like stroke on a
// 1600 × 1200 picture, smoothed with 4 and with 1600 base points (the degree-1589 Bezier
// dominates the second), against the 16.7 ms of one frame of a 60 Hz display and against
// rendering the finished curve's samples alone. Times are the thread's CPU time, so that
// other work on a shared machine does not count; best_wall_ms gives the elapsed time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/FrameRender.h"
#include "lumavex/curves/SmoothingStroke.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kDisplayFrameMs = 1000.0 / 60;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec * 1e-9;
}

// A pen's path of `count` samples: a wave across the picture with the hand's jitter, a
// sample about every 0.7 pixel.
std::vector<lumavex::TabletSample> HandStroke(int count) {
  std::vector<lumavex::TabletSample> samples;
  uint32_t noise = 2024;
  for (int i = 0; i < count; ++i) {
    noise = noise * 1103515245u + 12345u;
    const double jitter = ((noise >> 16) % 1000) / 1000.0 - 0.5;
    const double t = double(i) / (count - 1);
    samples.push_back({200 + 1200 * t + jitter, 600 + 250 * std::sin(t * 7) + jitter, 0.6});
  }
  return samples;
}

// Argument: the base points of each stretch.
void BM_SmoothingStrokePenUp(benchmark::State& state) {
  bench::FrameContext context;
  context.settings.frameWidth = 1.5;
  const int basePoints = static_cast<int>(state.range(0));
  const lumavex::BezierTables tables;
  lumavex::StrokeBuffer buffer;
  for (const lumavex::TabletSample& s : HandStroke(2000)) buffer.Append(s);
  double best = 1e9, bestWall = 1e9;
  for (auto _ : state) {
    const Clock::time_point wallStart = Clock::now();
    const double start = ThreadSeconds();
    lumavex::RenderSmoothingStroke(context, tables, buffer.Samples(), basePoints);
    const double seconds = ThreadSeconds() - start;
    bestWall = std::min(bestWall, std::chrono::duration<double>(Clock::now() - wallStart).count());
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    state.counters["pixels"] = static_cast<double>(context.journal.records.size());
    context.Restore();
  }
  // The yardstick: the finished curve's samples rendered and committed on their own.
  const auto blocks = lumavex::SmoothStroke(context, tables, buffer.Samples(), basePoints);
  const int m = lumavex::FrameSampleCountOfBlocks(context, blocks, context.settings.pointSpacing);
  const std::vector<lumavex::Sample> curve = lumavex::BlockSpline(context, blocks, m);
  double frameBest = 1e9;
  for (int run = 0; run < 5; ++run) {
    const double start = ThreadSeconds();
    lumavex::RenderFrameSamples(context, lumavex::FrameFlavour::Normal, curve);
    frameBest = std::min(frameBest, ThreadSeconds() - start);
    context.Restore();
  }
  state.counters["best_ms"] = best * 1e3;
  state.counters["best_wall_ms"] = bestWall * 1e3;
  state.counters["x_display_frame"] = best * 1e3 / kDisplayFrameMs;
  state.counters["frame_only_ms"] = frameBest * 1e3;
  state.counters["x_frame_only"] = best / frameBest;
}
BENCHMARK(BM_SmoothingStrokePenUp)
    ->Arg(4)
    ->Arg(1600)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
