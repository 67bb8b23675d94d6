// Fade surfaces on a 1600 × 1200 picture: a 1,000-pixel arc with a 50-pixel band at
// the default point spacing (5,000 quadrilaterals), each profile, and the directional
// gradation over the same band with a 10-pixel direction. Yardsticks in the same run:
// a plain loop painting the same pixels with the same paint primitive, and (where
// cairo is built in) cairo filling the band polygon with a linear gradient on a
// 1600 × 1200 ARGB32 surface.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/DirectionalGradation.h"
#include "lumavex/paint/FadeSurface.h"

#ifdef LUMAVEX_BENCH_CAIRO
#include <cairo.h>
#endif

namespace {

using bench::kHeight;
using bench::kWidth;
using lumavex::Sample;

constexpr double kRadius = 400;    // the fade curve: 2.5 radians, 1,000 pixels
constexpr double kBand = 50;       // the width curve runs 50 pixels inside it
constexpr double kDirection = 10;  // the direction curve 10 pixels outside curve 1

// The shared bench picture filled with a pattern of colours, which Restore puts back
// with an empty journal before each run.
class SurfaceContext : public bench::BenchContext<bench::MemoryJournal> {
 public:
  SurfaceContext() {
    termination = 0xF0C020;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        canvas.display.At(x, y) =
            lumavex::kDrawAreaFlag | ((x * 2654435761u ^ y * 40503u) & lumavex::kColourMask);
    display_.assign(canvas.display.Data(), canvas.display.Data() + canvas.display.SizeBytes());
  }
  void Restore() {
    std::memcpy(canvas.display.Data(), display_.data(), display_.size());
    journal.records.clear();
    marked = {};
  }

 private:
  std::vector<uint8_t> display_;
};

SurfaceContext& Context() {
  static SurfaceContext context;
  return context;
}

// Five base points on an arc of `radius` around the picture's centre.
std::vector<Sample> Arc(double radius) {
  std::vector<Sample> points;
  for (int i = 0; i < 5; ++i) {
    const double angle = 0.3 + 2.5 * i / 4;
    points.push_back(
        {kWidth / 2 + radius * std::cos(angle), kHeight / 2 + radius * std::sin(angle)});
  }
  return points;
}

// The pixels one shadow surface paints, for the plain loop.
const std::vector<std::pair<int, int>>& BandPixels() {
  static const auto pixels = [] {
    SurfaceContext& c = Context();
    c.Restore();
    platform::NoProgress progress;
    lumavex::DrawFadeSurface(c, lumavex::FadeProfile::Shadow, lumavex::BandShape::Spline,
                             Arc(kRadius), Arc(kRadius - kBand), progress);
    std::vector<std::pair<int, int>> p;
    for (const lumavex::JournalRecord& r : c.journal.records) p.push_back({r.x, r.y});
    c.Restore();
    return p;
  }();
  return pixels;
}

#ifdef LUMAVEX_BENCH_CAIRO
// The band's outline: the fade curve out, the width curve back, as spline samples.
std::vector<Sample> BandOutline() {
  std::vector<Sample> outline = lumavex::SplineSamples(Arc(kRadius), 1000);
  const std::vector<Sample> inner = lumavex::SplineSamples(Arc(kRadius - kBand), 1000);
  outline.insert(outline.end(), inner.rbegin(), inner.rend());
  return outline;
}

// The yardstick: cairo filling the band polygon with a linear gradient on a white
// 1600 × 1200 ARGB32 surface, in seconds.
class CairoGradientFill {
 public:
  CairoGradientFill()
      : outline_(BandOutline()),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)) {}
  ~CairoGradientFill() { cairo_surface_destroy(surface_); }
  CairoGradientFill(const CairoGradientFill&) = delete;
  CairoGradientFill& operator=(const CairoGradientFill&) = delete;

  double Seconds() {
    std::memset(cairo_image_surface_get_data(surface_), 0xFF,
                static_cast<size_t>(cairo_image_surface_get_stride(surface_)) * kHeight);
    cairo_surface_mark_dirty(surface_);
    const auto start = std::chrono::steady_clock::now();
    cairo_t* cr = cairo_create(surface_);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(outline_.front().x, outline_.front().y,
                                                            outline_[999].x, outline_[999].y);
    cairo_pattern_add_color_stop_rgba(gradient, 0, 0.06, 0.12, 0.19, 0.8);
    cairo_pattern_add_color_stop_rgba(gradient, 1, 0.94, 0.75, 0.12, 0.8);
    cairo_set_source(cr, gradient);
    cairo_move_to(cr, outline_[0].x + 0.5, outline_[0].y + 0.5);
    for (size_t i = 1; i < outline_.size(); ++i)
      cairo_line_to(cr, outline_[i].x + 0.5, outline_[i].y + 0.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

 private:
  std::vector<Sample> outline_;
  cairo_surface_t* surface_;
};

void BM_CairoGradientFill(benchmark::State& state) {
  CairoGradientFill fill;
  for (auto _ : state) state.SetIterationTime(fill.Seconds());
}
BENCHMARK(BM_CairoGradientFill)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

template <class F>
void Timed(benchmark::State& state, F&& run) {
  SurfaceContext& c = Context();
  for (auto _ : state) {
    c.Restore();
    const auto start = std::chrono::steady_clock::now();
    run(c);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["records"] = static_cast<double>(c.journal.records.size());
}

// With cairo, each run of the surface is followed by one of the yardstick, and
// x_cairo is the ratio of their sums: the machine's slow and fast spells then weigh
// on both alike.
void BM_FadeSurface(benchmark::State& state, lumavex::FadeProfile profile) {
  SurfaceContext& c = Context();
#ifdef LUMAVEX_BENCH_CAIRO
  CairoGradientFill fill;
  double surface = 0, cairo = 0;
#endif
  for (auto _ : state) {
    c.Restore();
    const auto start = std::chrono::steady_clock::now();
    platform::NoProgress progress;
    lumavex::DrawFadeSurface(c, profile, lumavex::BandShape::Spline, Arc(kRadius),
                             Arc(kRadius - kBand), progress);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
#ifdef LUMAVEX_BENCH_CAIRO
    surface += seconds;
    cairo += fill.Seconds();
#endif
  }
  state.counters["records"] = static_cast<double>(c.journal.records.size());
#ifdef LUMAVEX_BENCH_CAIRO
  state.counters["cairo_ms"] = cairo * 1e3 / static_cast<double>(state.iterations());
  state.counters["x_cairo"] = surface / cairo;
#endif
}
BENCHMARK_CAPTURE(BM_FadeSurface, Shadow, lumavex::FadeProfile::Shadow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FadeSurface, Gloss, lumavex::FadeProfile::Gloss)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FadeSurface, Gentle, lumavex::FadeProfile::Gentle)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_FadeSurfaceWholeBoxes(benchmark::State& state) {
  Timed(state, [](SurfaceContext& c) {
    platform::NoProgress progress;
    lumavex::DrawFadeSurface(c, lumavex::FadeProfile::Shadow, lumavex::BandShape::Spline,
                             Arc(kRadius), Arc(kRadius - kBand), progress,
                             lumavex::QuadScan::WholeBox);
  });
}
BENCHMARK(BM_FadeSurfaceWholeBoxes)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DirectionalGradation(benchmark::State& state) {
  Timed(state, [](SurfaceContext& c) {
    platform::NoProgress progress;
    lumavex::DrawDirectionalGradation(c, Arc(kRadius), Arc(kRadius - kBand),
                                      Arc(kRadius + kDirection), progress);
  });
}
BENCHMARK(BM_DirectionalGradation)->UseManualTime()->Unit(benchmark::kMillisecond);

// Yardstick: the same pixels painted with the same primitive in a plain loop.
void BM_PlainPaintLoop(benchmark::State& state) {
  const auto& pixels = BandPixels();
  Timed(state, [&pixels](SurfaceContext& c) {
    lumavex::PaintStep step(c, true);
    lumavex::Canvas& canvas = c.canvas;
    for (const auto& [x, y] : pixels) {
      uint32_t& display = canvas.display.At(x, y);
      uint32_t& frame = canvas.frame.At(x, y);
      const lumavex::PixelPair painted = lumavex::PaintPixel(x, y, 0x102030, display, frame, 200);
      step.PaintHeld(display, frame, x, y, painted.display, painted.frame);
    }
    step.End(false);
  });
}
BENCHMARK(BM_PlainPaintLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
