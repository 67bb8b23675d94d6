// Rendering and committing a 1,500-pixel frame curve on a 1600 × 1200 picture at
// several frame widths, against cairo stroking the same samples anti-aliased at the
// same total width on a 1600 × 1200 ARGB32 surface.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/curves/FrameRender.h"
#include "lumavex/curves/Spline.h"

#ifdef LUMAVEX_BENCH_CAIRO
#include <cairo.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

using bench::kHeight;
using bench::kWidth;

// A smooth wave of about 1,500 pixels through twelve base points, sampled at the
// default point spacing.
std::vector<lumavex::Sample> CurveSamples(int pointSpacing) {
  std::vector<lumavex::Sample> points;
  for (int i = 0; i < 12; ++i) points.push_back({250 + i * 100.0, 600 + 150 * std::sin(i * 0.9)});
  return lumavex::SplineSamples(points, lumavex::FrameSampleCount(points, pointSpacing));
}

double CurveLength(const std::vector<lumavex::Sample>& samples) {
  return lumavex::CumulativeLengths(samples).back();
}

#ifdef LUMAVEX_BENCH_CAIRO
// Seconds for one anti-aliased stroke of `samples` at `lineWidth`, best of `runs`.
double CairoStrokeSeconds(const std::vector<lumavex::Sample>& samples, double lineWidth, int runs) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    std::memset(cairo_image_surface_get_data(surface), 0,
                static_cast<size_t>(cairo_image_surface_get_stride(surface)) * kHeight);
    cairo_surface_mark_dirty(surface);
    const Clock::time_point start = Clock::now();
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgba(cr, 0.1, 0.2, 0.3, 1.0);
    cairo_move_to(cr, samples[0].x + 0.5, samples[0].y + 0.5);
    for (size_t i = 1; i < samples.size(); ++i)
      cairo_line_to(cr, samples[i].x + 0.5, samples[i].y + 0.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  cairo_surface_destroy(surface);
  return best;
}
#endif

// Argument: frame width in 1/100 pixel; anti-alias width 1 pixel.
void BM_FrameRenderCommit(benchmark::State& state) {
  bench::FrameContext context;
  context.settings.frameWidth = state.range(0) / 100.0;
  context.settings.antiAliasWidth = 1.0;
  const std::vector<lumavex::Sample> samples = CurveSamples(context.settings.pointSpacing);
  double best = 1e9;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    lumavex::RenderFrameSamples(context, lumavex::FrameFlavour::Normal, samples);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    benchmark::DoNotOptimize(context.journal.records.data());
    state.counters["pixels"] = static_cast<double>(context.journal.records.size());
    context.Restore();
  }
  state.counters["length"] = CurveLength(samples);
  state.counters["samples"] = static_cast<double>(samples.size());
  state.counters["best_ms"] = best * 1e3;
#ifdef LUMAVEX_BENCH_CAIRO
  const double radius = context.settings.frameWidth + context.settings.antiAliasWidth;
  const double cairo = CairoStrokeSeconds(samples, 2 * radius, 30);
  state.counters["cairo_ms"] = cairo * 1e3;
  state.counters["x_cairo"] = best / cairo;
#endif
}
BENCHMARK(BM_FrameRenderCommit)
    ->Arg(25)
    ->Arg(250)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

#ifdef LUMAVEX_BENCH_CAIRO
void BM_CairoStroke(benchmark::State& state) {
  const std::vector<lumavex::Sample> samples =
      CurveSamples(lumavex::DrawingSettings{}.pointSpacing);
  const double lineWidth = 2 * (state.range(0) / 100.0 + 1.0);
  for (auto _ : state) state.SetIterationTime(CairoStrokeSeconds(samples, lineWidth, 1));
}
BENCHMARK(BM_CairoStroke)
    ->Arg(25)
    ->Arg(250)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
