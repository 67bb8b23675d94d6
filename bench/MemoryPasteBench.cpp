// Memory copy and paste on a 1600 × 1200 picture: the copy of a band about 600 × 200
// pixels, its paste at the copy position and enlarged 2 ×, and the warp alone. The
// yardstick in the same run is a bilinear remap of a 32-bit picture over a box of the
// same size as the paste's target: cv::remap where OpenCV is built in, else a plain
// bilinear remap loop. The grid's memory per copied pixel is reported as a counter.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/MemorySurface.h"

#ifdef LUMAVEX_BENCH_OPENCV
#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

using bench::kHeight;
using bench::kWidth;
using lumavex::Sample;

const std::vector<Sample> kCurve1 = {{500, 500}, {800, 470}, {1100, 500}};
const std::vector<Sample> kCurve2 = {{500, 700}, {800, 670}, {1100, 700}};

class PasteContext : public bench::BenchContext<bench::MemoryJournal> {
 public:
  PasteContext() {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        canvas.display.At(x, y) = lumavex::kDrawAreaFlag | ((x * 7 + y * 3) & 0xFF) << 16 |
                                  ((x ^ y) & 0xFF) << 8 | ((x * y) & 0xFF);
    saved.assign(canvas.display.Data(), canvas.display.Data() + canvas.display.SizeBytes());
    if (lumavex::CopySurface(canvas, kCurve1, kCurve2, settings.pointSpacing, {}, {}, 1ull << 40,
                             surface) != lumavex::CopyOutcome::Copied)
      std::abort();
  }
  // Whites the pixels a paste may change and drops the journal, so that every run
  // pastes onto the same picture.
  void Whiten(const lumavex::PixelRect& box) {
    for (int y = std::max(box.top, 0); y <= std::min(box.bottom, kHeight - 1); ++y)
      for (int x = std::max(box.left, 0); x <= std::min(box.right, kWidth - 1); ++x)
        canvas.display.At(x, y) = lumavex::kNewDisplayPixel;
    journal.records.clear();
  }
  lumavex::PasteCurves Curves(double scale) const {
    lumavex::PasteCurves c = lumavex::CopyPosition(surface);
    for (auto* curve : {&c.curve1, &c.middle, &c.curve2})
      for (Sample& p : *curve) p = {800 + (p.x - 800) * scale, 600 + (p.y - 600) * scale};
    return c;
  }

  std::vector<uint8_t> saved;
  lumavex::MemorySurface surface;
};

PasteContext& Context() {
  static PasteContext context;
  return context;
}

void BM_MemoryCopy(benchmark::State& state) {
  PasteContext& c = Context();
  lumavex::MemorySurface surface;
  for (auto _ : state) {
    lumavex::CopySurface(c.canvas, kCurve1, kCurve2, c.settings.pointSpacing, {}, {}, 1ull << 40,
                         surface);
    benchmark::DoNotOptimize(surface.cells.data());
  }
  size_t copied = 0;
  for (const lumavex::SurfaceCell& cell : surface.cells) copied += !cell.Empty();
  state.counters["grid_cells"] = static_cast<double>(surface.cells.size());
  state.counters["copied_pixels"] = static_cast<double>(copied);
  state.counters["bytes_per_copied_pixel"] =
      static_cast<double>(surface.SizeBytes()) / static_cast<double>(copied);
}
BENCHMARK(BM_MemoryCopy)->Unit(benchmark::kMillisecond);

void BM_MemoryPaste(benchmark::State& state) {
  PasteContext& c = Context();
  const lumavex::PasteCurves curves = c.Curves(state.range(0));
  lumavex::FillPicture image;
  lumavex::PixelRect box;
  for (auto _ : state) {
    state.PauseTiming();
    c.Whiten(box);
    state.ResumeTiming();
    lumavex::PaintStep step(c, false);
    box = lumavex::PasteSurface(step, c.surface, curves, 255, c.allocator, image);
    step.End(false);
  }
  c.Whiten(box);
  state.counters["target_pixels"] =
      static_cast<double>(box.right - box.left + 1) * (box.bottom - box.top + 1);
  state.SetLabel(std::to_string(box.right - box.left + 1) + "x" +
                 std::to_string(box.bottom - box.top + 1));
}
BENCHMARK(BM_MemoryPaste)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_MemoryWarp(benchmark::State& state) {
  PasteContext& c = Context();
  const lumavex::PasteCurves curves = c.Curves(state.range(0));
  for (auto _ : state) {
    lumavex::WarpedPicture w = lumavex::WarpSurface(c.surface, curves, c.canvas.Bounds());
    benchmark::DoNotOptimize(w.display.data());
  }
}
BENCHMARK(BM_MemoryWarp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The yardstick: a bilinear remap of the picture into a `width` × `height` box (the
// paste's target box at scale 1 and 2), the map a gentle scaling about the centre.
// It remaps one 32-bit layer (four 8-bit channels); the paste interpolates two such
// layers and two grey bytes and lays them in. The second argument is cv::remap's
// thread count: 1 puts it on the single-threaded paste's footing, 0 leaves OpenCV
// its default (every core).
void BM_RemapYardstick(benchmark::State& state) {
  PasteContext& c = Context();
  const int scale = static_cast<int>(state.range(0));
  const lumavex::WarpedPicture w =
      lumavex::WarpSurface(c.surface, c.Curves(scale), c.canvas.Bounds());
  const int width = w.Width(), height = w.box.bottom - w.box.top + 1;
  std::vector<float> mapX(size_t(width) * height), mapY(mapX.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      mapX[size_t(y) * width + x] = static_cast<float>(500 + x / double(scale) + 0.25);
      mapY[size_t(y) * width + x] = static_cast<float>(470 + y / double(scale) + 0.25);
    }
  std::vector<uint32_t> out(mapX.size());
#ifdef LUMAVEX_BENCH_OPENCV
  // The canvas rows are bottom-up; the remap reads the block as it lies.
  const cv::Mat source(kHeight, kWidth, CV_8UC4, c.canvas.display.Data());
  const cv::Mat mx(height, width, CV_32FC1, mapX.data()), my(height, width, CV_32FC1, mapY.data());
  cv::Mat target(height, width, CV_8UC4, out.data());
  const int threads = cv::getNumThreads();
  if (state.range(1) > 0) cv::setNumThreads(static_cast<int>(state.range(1)));
  for (auto _ : state) {
    cv::remap(source, target, mx, my, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    benchmark::DoNotOptimize(out.data());
  }
  cv::setNumThreads(threads);
  state.SetLabel("cv::remap " + std::to_string(width) + "x" + std::to_string(height) +
                 (state.range(1) > 0 ? " 1 thread" : " default threads"));
#else
  const uint8_t* source = c.canvas.display.Data();
  for (auto _ : state) {
    for (size_t k = 0; k < out.size(); ++k) {
      const float sx = mapX[k], sy = mapY[k];
      const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
      const float fx = sx - x0, fy = sy - y0;
      const uint8_t* p = source + (size_t(y0) * kWidth + x0) * 4;
      uint32_t word = 0;
      for (int ch = 0; ch < 4; ++ch) {
        const float top = p[ch] + fx * (p[4 + ch] - p[ch]);
        const float bottom = p[kWidth * 4 + ch] + fx * (p[kWidth * 4 + 4 + ch] - p[kWidth * 4 + ch]);
        word |= static_cast<uint32_t>(top + fy * (bottom - top) + 0.5f) << (8 * ch);
      }
      out[k] = word;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel("plain bilinear loop " + std::to_string(width) + "x" + std::to_string(height));
#endif
}
BENCHMARK(BM_RemapYardstick)
    ->ArgsProduct({{1, 2}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
