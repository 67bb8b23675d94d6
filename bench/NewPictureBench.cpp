// Creating a blank picture against its floor: allocating three layers of the same
// size and filling them with memset, first touch included.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "lumavex/canvas/Canvas.h"
#include "platform/TestHost.h"

namespace {

void BM_CreateBlankPicture(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  platform::TestHost host;
  platform::Allocator allocator(host, [] { return platform::ReadMemoryStatus(); });
  platform::NoProgress progress;
  for (auto _ : state) {
    lumavex::Canvas canvas;
    lumavex::CreateBlankPicture(canvas, allocator, width, height, progress);
    benchmark::DoNotOptimize(canvas.display.Data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{width} * height * 12);
}

void BM_ThreeBuffersMemset(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * state.range(1) * 4;
  for (auto _ : state) {
    void* layers[3];
    for (auto& layer : layers) {
      layer = std::malloc(bytes);
      std::memset(layer, 0xFF, bytes);
    }
    benchmark::DoNotOptimize(layers[0]);
    benchmark::ClobberMemory();
    for (auto* layer : layers) std::free(layer);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes) * 3);
}

}  // namespace

BENCHMARK(BM_CreateBlankPicture)->Args({1600, 1200})->Args({8000, 8000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeBuffersMemset)->Args({1600, 1200})->Args({8000, 8000})->Unit(benchmark::kMillisecond);
