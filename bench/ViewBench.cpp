// Composing the view of a 1600 × 1200 picture into a 1880 × 1052 screen buffer,
// against a memcpy of the same number of bytes.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/shell/LightTable.h"
#include "lumavex/shell/ScreenBuffer.h"
#include "platform/TestHost.h"

namespace {

constexpr int kViewWidth = 1880;
constexpr int kViewHeight = 1052;

struct Picture {
  Picture() {
    layer.Create(allocator, 1600, 1200, 4);
    for (int y = 0; y < 1200; ++y)
      for (int x = 0; x < 1600; ++x) layer.At(x, y) = 0x02000000u | (x * 7919u + y * 104729u);
  }
  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
  lumavex::PixelPlane layer;
};

Picture& SharedPicture() {
  static Picture picture;
  return picture;
}

void BM_FullRecompose(benchmark::State& state) {
  const int code = static_cast<int>(state.range(0));
  lumavex::ScreenBuffer buffer;
  buffer.Resize(kViewWidth, kViewHeight);
  const lumavex::ViewPlacement placement{&SharedPicture().layer, code, 0, 0};
  for (auto _ : state) {
    buffer.Invalidate();
    benchmark::DoNotOptimize(buffer.Update(placement));
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kViewWidth} * kViewHeight * 4);
}

void BM_OnePixelScroll(benchmark::State& state) {
  lumavex::ScreenBuffer buffer;
  buffer.Resize(kViewWidth, kViewHeight);
  lumavex::ViewPlacement placement{&SharedPicture().layer, 1, 0, 0};
  buffer.Update(placement);
  int step = 1;
  for (auto _ : state) {
    placement.positionX += step;
    step = -step;
    benchmark::DoNotOptimize(buffer.Update(placement));
  }
}

void BM_CopyToWindow(benchmark::State& state) {
  lumavex::ScreenBuffer buffer;
  buffer.Resize(kViewWidth, kViewHeight);
  lumavex::ViewPlacement placement{&SharedPicture().layer, 1, 0, 0};
  buffer.Update(placement);
  placement.positionX = 333;
  placement.positionY = 222;
  buffer.Update(placement);  // origins inside the buffer: four parts
  platform::Surface surface(kViewWidth + 40, kViewHeight);
  for (auto _ : state) benchmark::DoNotOptimize(buffer.CopyTo(surface));
  state.SetBytesProcessed(state.iterations() * int64_t{kViewWidth} * kViewHeight * 4);
}

void BM_MemcpyOfTheView(benchmark::State& state) {
  const size_t bytes = size_t{kViewWidth} * kViewHeight * 4;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// The full recomposition at 100 % and the copy to the window, each timed beside a
// memcpy of the view's bytes in the same loop, so that machine and load differences
// cancel out of the two ratios it reports.
void BM_ViewOverMemcpy(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  lumavex::ScreenBuffer recomposed, copied;
  recomposed.Resize(kViewWidth, kViewHeight);
  copied.Resize(kViewWidth, kViewHeight);
  const lumavex::ViewPlacement full{&SharedPicture().layer, 1, 0, 0};
  lumavex::ViewPlacement moved = full;
  copied.Update(moved);
  moved.positionX = 333;
  moved.positionY = 222;
  copied.Update(moved);
  platform::Surface surface(kViewWidth + 40, kViewHeight);
  const size_t bytes = size_t{kViewWidth} * kViewHeight * 4;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
  Clock::duration recompose{}, copy{}, memcpy{};
  // Each is repeated in a batch of its own, after one untimed run that brings its
  // buffers back into the cache, so that all three run with warm caches as the separate
  // benches do: whichever ran last would otherwise find its buffers still cached while
  // the others pay for the eviction.
  constexpr int kBatch = 8;
  const auto recomposeOnce = [&] {
    recomposed.Invalidate();
    benchmark::DoNotOptimize(recomposed.Update(full));
  };
  const auto copyOnce = [&] { benchmark::DoNotOptimize(copied.CopyTo(surface)); };
  const auto memcpyOnce = [&] {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  };
  const auto batch = [&](const auto& once) {
    once();
    const auto start = Clock::now();
    for (int i = 0; i < kBatch; ++i) once();
    return Clock::now() - start;
  };
  for (auto _ : state) {
    recompose += batch(recomposeOnce);
    copy += batch(copyOnce);
    memcpy += batch(memcpyOnce);
  }
  const double yardstick = std::chrono::duration<double>(memcpy).count();
  state.counters["recompose_over_memcpy"] =
      std::chrono::duration<double>(recompose).count() / yardstick;
  state.counters["copy_over_memcpy"] = std::chrono::duration<double>(copy).count() / yardstick;
}

// The light factors of two pictures on each side of the shared picture, folded as the
// light table folds them.
const lumavex::PixelPlane& SharedLightFactors() {
  static lumavex::PixelPlane factors = [] {
    Picture& p = SharedPicture();
    lumavex::PixelPlane f;
    f.Create(p.allocator, 1600, 1200, 4);
    for (int y = 0; y < 1200; ++y)
      for (int x = 0; x < 1600; ++x) {
        uint32_t light = 0x00FFFFFF;
        for (int offset : {-2, -1, 1, 2}) {
          const uint32_t neighbour = (x * 31u + y * 17u + offset * 5000u) * 2654435761u;
          light = lumavex::CombineFactors(
              light, lumavex::NeighbourFactor(neighbour, offset < 0, offset == 1 || offset == -1 ? 128 : 64));
        }
        f.At(x, y) = light;
      }
    return f;
  }();
  return factors;
}

// A full recomposition and a run of 1-pixel scrolls at 100 %, each with the light table
// off and on, in the same loop; the counters are the on / off ratios.
void BM_LightTableOverPlain(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  lumavex::ScreenBuffer buffer;
  buffer.Resize(kViewWidth, kViewHeight);
  const lumavex::ViewPlacement off{&SharedPicture().layer, 1, 0, 0};
  lumavex::ViewPlacement on = off;
  on.light = &SharedLightFactors();
  Clock::duration fullOff{}, fullOn{}, scrollOff{}, scrollOn{};
  constexpr int kBatch = 8, kScrolls = 64;
  auto full = [&](const lumavex::ViewPlacement& p, Clock::duration& total) {
    const auto start = Clock::now();
    for (int i = 0; i < kBatch; ++i) {
      buffer.Invalidate();
      benchmark::DoNotOptimize(buffer.Update(p));
    }
    total += Clock::now() - start;
  };
  auto scroll = [&](lumavex::ViewPlacement p, Clock::duration& total) {
    buffer.Invalidate();
    buffer.Update(p);
    const auto start = Clock::now();
    for (int i = 0; i < kScrolls; ++i) {
      p.positionX += i % 2 ? -1 : 1;
      benchmark::DoNotOptimize(buffer.Update(p));
    }
    total += Clock::now() - start;
  };
  for (auto _ : state) {
    full(off, fullOff);
    full(on, fullOn);
    scroll(off, scrollOff);
    scroll(on, scrollOn);
  }
  auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  state.counters["full_on_over_off"] = seconds(fullOn) / seconds(fullOff);
  state.counters["scroll_on_over_off"] = seconds(scrollOn) / seconds(scrollOff);
  state.counters["full_off_ms"] = seconds(fullOff) * 1000 / (kBatch * state.iterations());
  state.counters["full_on_ms"] = seconds(fullOn) * 1000 / (kBatch * state.iterations());
}

}  // namespace

BENCHMARK(BM_LightTableOverPlain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewOverMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRecompose)->Arg(1)->Arg(20)->Arg(3200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnePixelScroll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyToWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyOfTheView)->Unit(benchmark::kMicrosecond);
