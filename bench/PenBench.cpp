// Pen strokes on a 1600 × 1200 picture: 2,000 brush positions one pixel apart along
// a circular arc, width 20, for each of the nine pens, journal records kept in
// memory. The picture is restored between runs outside the timing.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/Pens.h"

namespace {

using lumavex::PenKind;

using bench::kHeight;
using bench::kWidth;
constexpr int kPositions = 2000;

// The bench picture with a varied bitmap, kept so that every run starts from it.
class PenContext : public bench::BenchContext<bench::MemoryJournal> {
 public:
  PenContext() {
    DrawPicture();
    display.assign(canvas.display.Data(), canvas.display.Data() + canvas.display.SizeBytes());
    frame.assign(canvas.frame.Data(), canvas.frame.Data() + canvas.frame.SizeBytes());
  }

  // Back to the picture before the stroke: layers, marks, journal.
  void Restore() {
    std::memcpy(canvas.display.Data(), display.data(), display.size());
    std::memcpy(canvas.frame.Data(), frame.data(), frame.size());
    journal.records.clear();
    marked = {};
  }

  // A varied bitmap with frames of every opacity over half of it.
  void DrawPicture() {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t bitmap = (x * 2654435761u ^ y * 40503u) & lumavex::kColourMask;
        const uint32_t a = (x * 7 + y * 13) % 512;
        if (a < 256) {
          const uint32_t f = a << 24 | ((x * 31 + y * 17) * 977u & lumavex::kColourMask);
          canvas.frame.At(x, y) = f;
          canvas.display.At(x, y) = lumavex::kDrawAreaFlag | lumavex::Blend(f, a, bitmap);
        } else {
          canvas.display.At(x, y) = lumavex::kDrawAreaFlag | bitmap;
        }
      }
  }

  std::vector<uint8_t> display, frame;
};

// Positions one pixel apart on an arc of radius 400 around the picture's centre.
const std::vector<std::pair<double, double>>& StrokePositions() {
  static const auto positions = [] {
    std::vector<std::pair<double, double>> p;
    constexpr double kRadius = 400;
    for (int i = 0; i < kPositions; ++i) {
      const double angle = i / kRadius;
      p.push_back(
          {kWidth / 2 + kRadius * std::cos(angle), kHeight / 2 + kRadius * std::sin(angle)});
    }
    return p;
  }();
  return positions;
}

void PenStrokeBench(benchmark::State& state, PenKind kind) {
  static PenContext context;
  static lumavex::NeighbourSums sums;
  const lumavex::Pen pen{.kind = kind,
                         .width = 20,
                         .degree = kind == PenKind::Mosaic ? 8 : 5,
                         .deletesFrame = true,
                         .colour = 0x102030,
                         .opacity = 200};
  for (auto _ : state) {
    state.PauseTiming();
    context.Restore();
    state.ResumeTiming();
    lumavex::PenStroke stroke(context, pen, sums);
    for (const auto& [x, y] : StrokePositions()) stroke.Apply(x, y);
    stroke.Finish();
    benchmark::DoNotOptimize(context.journal.records.size());
  }
  state.counters["records"] = static_cast<double>(context.journal.records.size());
}

BENCHMARK_CAPTURE(PenStrokeBench, Normal, PenKind::Normal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, Gradation, PenKind::Gradation)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, Mosaic, PenKind::Mosaic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, FrameGradation, PenKind::FrameGradation)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, ColourChange, PenKind::ColourChange)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, Delete, PenKind::Delete)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, TransparentDelete, PenKind::TransparentDelete)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, Select, PenKind::Select)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PenStrokeBench, Deselect, PenKind::Deselect)->Unit(benchmark::kMillisecond);

}  // namespace
