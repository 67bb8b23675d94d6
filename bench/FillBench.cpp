// Region fills on a 1600 × 1200 picture with their journal records written out, the
// whole empty picture and the region between 40 anti-aliased circles, against a
// plain scanline flood fill of the same region with the same border rule followed
// by an fwrite of as many 20-byte records, measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/paint/RegionFill.h"

namespace {

using Clock = std::chrono::steady_clock;

using bench::kHeight;
using bench::kWidth;
using FillContext = bench::BenchContext<bench::FileJournal>;

// 40 anti-aliased black rings (2 pixels wide with a 1-pixel ramp) laid into the frame
// layer, kept away from the top-left corner where the fills start.
void DrawCircles(lumavex::Canvas& canvas) {
  std::mt19937 random(40);
  std::uniform_real_distribution<double> cx(200, kWidth - 40), cy(200, kHeight - 40), r(20, 160);
  for (int i = 0; i < 40; ++i) {
    const double x0 = cx(random), y0 = cy(random), radius = r(random);
    for (int y = std::max(0, int(y0 - radius - 3));
         y <= std::min(kHeight - 1, int(y0 + radius + 3)); ++y)
      for (int x = std::max(0, int(x0 - radius - 3));
           x <= std::min(kWidth - 1, int(x0 + radius + 3)); ++x) {
        const double off = std::fabs(std::hypot(x - x0, y - y0) - radius);
        const double coverage = std::clamp(2.0 - off, 0.0, 1.0);
        const uint32_t a = static_cast<uint32_t>(coverage * 255.9999);
        uint32_t& frame = canvas.frame.At(x, y);
        if (a > lumavex::Opacity(frame)) frame = a << 24;
      }
  }
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t a = lumavex::Opacity(canvas.frame.At(x, y));
      if (a) canvas.display.At(x, y) = lumavex::kDrawAreaFlag | lumavex::Blend(0, a, 0xFFFFFF);
    }
}

// The yardstick: a scanline flood fill over its own copy of the opacities, painting
// the region and its border pixels, then one fwrite of a 20-byte record per pixel.
struct ScanlineFill {
  explicit ScanlineFill(const lumavex::Canvas& canvas)
      : opacity(size_t(kWidth) * kHeight), colour(size_t(kWidth) * kHeight), out(std::tmpfile()) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        opacity[size_t(y) * kWidth + x] = lumavex::Opacity(canvas.frame.At(x, y));
  }
  ~ScanlineFill() { std::fclose(out); }

  uint64_t Run(int sx, int sy, uint8_t threshold) {
    std::fill(colour.begin(), colour.end(), 0);
    uint64_t painted = 0;
    std::vector<std::pair<int, int>> stack{{sx, sy}};
    auto open = [&](int x, int y) { return !colour[size_t(y) * kWidth + x]; };
    while (!stack.empty()) {
      auto [x, y] = stack.back();
      stack.pop_back();
      if (!open(x, y)) continue;
      int left = x, right = x;
      // A border pixel is painted but ends the run.
      while (left > 0 && open(left - 1, y) && opacity[size_t(y) * kWidth + left] < threshold)
        --left;
      while (right < kWidth - 1 && open(right + 1, y) &&
             opacity[size_t(y) * kWidth + right] < threshold)
        ++right;
      for (int i = left; i <= right; ++i) {
        colour[size_t(y) * kWidth + i] = 1;
        ++painted;
        if (opacity[size_t(y) * kWidth + i] >= threshold) continue;
        for (int dy : {-1, 1}) {
          const int ny = y + dy;
          if (ny < 0 || ny >= kHeight || !open(i, ny)) continue;
          // The run entered from the left neighbour reaches this pixel.
          if (i > left && open(i - 1, ny) && opacity[size_t(y) * kWidth + i - 1] < threshold &&
              opacity[size_t(ny) * kWidth + i - 1] < threshold)
            continue;
          stack.emplace_back(i, ny);
        }
      }
    }
    records.resize(painted);
    std::fwrite(records.data(), sizeof(lumavex::JournalRecord), records.size(), out);
    std::fflush(out);
    return painted;
  }

  std::vector<uint8_t> opacity;
  std::vector<uint8_t> colour;
  std::vector<lumavex::JournalRecord> records;
  std::FILE* out;
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void RunFillBenchmark(benchmark::State& state, bool circles) {
  FillContext context;
  if (circles) DrawCircles(context.canvas);
  ScanlineFill yardstick(context.canvas);
  const auto threshold = static_cast<uint8_t>(context.settings.borderFrameOpacity);
  double best = 1e9, bestYardstick = 1e9;
  lumavex::RegionFillStats stats;
  uint64_t yardstickPixels = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    {
      lumavex::PaintStep step(context, false);
      stats = lumavex::RegionFill(step, context, lumavex::FillKind::HeadColour, 0, 0);
      step.End(false);
    }
    context.journal.Flush();
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    const Clock::time_point yardstickStart = Clock::now();
    yardstickPixels = yardstick.Run(0, 0, threshold);
    bestYardstick = std::min(bestYardstick, Seconds(yardstickStart));
    lumavex::ClearMarks(context.canvas, context.marked, lumavex::kProcessingMarks);
    context.marked = {};
    std::rewind(context.journal.file);
    std::rewind(yardstick.out);
  }
  state.counters["pixels"] = static_cast<double>(stats.taken);
  state.counters["yardstick_pixels"] = static_cast<double>(yardstickPixels);
  state.counters["best_ms"] = best * 1e3;
  state.counters["yardstick_ms"] = bestYardstick * 1e3;
  state.counters["x_yardstick"] = best / bestYardstick;
  state.counters["peak_entries"] = static_cast<double>(stats.peakBelow + stats.peakAbove);
}

void BM_RegionFillEmptyPicture(benchmark::State& state) {
  RunFillBenchmark(state, false);
}
void BM_RegionFillBetweenCircles(benchmark::State& state) {
  RunFillBenchmark(state, true);
}
BENCHMARK(BM_RegionFillEmptyPicture)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionFillBetweenCircles)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
