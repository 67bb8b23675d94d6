// Area selection on a 1600 × 1200 picture with frames over about a tenth of it: the
// square fatten at F = 200, Wa = 0 and at F = 1000, Wa = 500 against a plain
// separable running-max filter of the same radius over the same opacity plane, and
// the colour line-art intake of the whole picture (journal records kept in memory)
// against one pass that reads both layers and writes the frame layer. Yardsticks run
// in the same loop; the ratios are of the best times.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/LineArtIntake.h"
#include "lumavex/paint/SquareFatten.h"
#include "platform/TestHost.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

struct MemoryJournal : lumavex::JournalSink {
  bool Recording() const override { return true; }
  void Append(const lumavex::JournalRecord& r) override { records.push_back(r); }
  void AppendMany(std::span<const lumavex::JournalRecord> many) override {
    records.insert(records.end(), many.begin(), many.end());
  }
  std::vector<lumavex::JournalRecord> records;
};

class SelectionContext : public lumavex::DrawingContext {
 public:
  SelectionContext() {
    platform::NoProgress progress;
    if (!lumavex::CreateBlankPicture(canvas, allocator, kWidth, kHeight, progress)) std::abort();
    canvas.processingSquare = {0, 0, kWidth - 1, kHeight - 1};
    settings.maxOpacity = 255;
    DrawPicture();
    display.assign(canvas.display.Data(), canvas.display.Data() + canvas.display.SizeBytes());
    frame.assign(canvas.frame.Data(), canvas.frame.Data() + canvas.frame.SizeBytes());
    journal.records.reserve(size_t(kWidth) * kHeight);
  }
  lumavex::Canvas& Picture() override { return canvas; }
  const lumavex::DrawingSettings& Settings() const override { return settings; }
  uint32_t HeadColour() const override { return 0x102030; }
  uint32_t TerminationColour() const override { return 0; }
  lumavex::JournalSink* Journal() override { return journaling ? &journal : nullptr; }
  void OpenUndoStep() override {}
  lumavex::PixelRect& MarkedRectangle() override { return marked; }
  void SetStatusText(const std::string&) override {}
  void PlayFeedbackSound(const std::string&) override {}
  void RedrawPicture(const lumavex::PixelRect&) override {}
  [[noreturn]] void FatalError() override { std::abort(); }

  // Back to the picture before the operation: layers, work layer, journal.
  void Restore() {
    std::memcpy(canvas.display.Data(), display.data(), display.size());
    std::memcpy(canvas.frame.Data(), frame.data(), frame.size());
    std::memset(canvas.work.Data(), 0, canvas.work.SizeBytes());
    journal.records.clear();
    marked = {};
  }

  // A line drawing on white: 120 coloured anti-aliased pen rings in the bitmap, and
  // 40 frame rings of random colours over about a tenth of the picture.
  void DrawPicture() {
    std::mt19937 random(17);
    std::vector<uint32_t> bitmap(size_t(kWidth) * kHeight, 0xFFFFFF);
    for (int i = 0; i < 120; ++i) {
      const uint32_t colour = random() & lumavex::kColourMask;
      Ring(random, 3.0, [&](int x, int y, uint32_t a) {
        uint32_t& b = bitmap[size_t(y) * kWidth + x];
        b = lumavex::Blend(colour, a, b);
      });
    }
    for (int i = 0; i < 40; ++i) {
      const uint32_t colour = random() & lumavex::kColourMask;
      Ring(random, 4.0, [&](int x, int y, uint32_t a) {
        uint32_t& f = canvas.frame.At(x, y);
        if (a > lumavex::Opacity(f)) f = a << 24 | colour;
      });
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t f = canvas.frame.At(x, y), a = lumavex::Opacity(f);
        const uint32_t b = bitmap[size_t(y) * kWidth + x];
        canvas.display.At(x, y) = lumavex::kDrawAreaFlag | (a ? lumavex::Blend(f, a, b) : b);
      }
  }

  template <typename Put>
  void Ring(std::mt19937& random, double halfWidth, Put put) {
    std::uniform_real_distribution<double> cx(0, kWidth), cy(0, kHeight), r(20, 200);
    const double x0 = cx(random), y0 = cy(random), radius = r(random);
    const int reach = static_cast<int>(radius + halfWidth + 2);
    for (int y = std::max(0, int(y0) - reach); y <= std::min(kHeight - 1, int(y0) + reach); ++y)
      for (int x = std::max(0, int(x0) - reach); x <= std::min(kWidth - 1, int(x0) + reach); ++x) {
        const double off = std::fabs(std::hypot(x - x0, y - y0) - radius);
        const double coverage = std::clamp(halfWidth + 0.5 - off, 0.0, 1.0);
        const uint32_t a = static_cast<uint32_t>(coverage * 255.9999);
        if (a) put(x, y, a);
      }
  }

  double FrameShare() const {
    size_t count = 0;
    for (size_t i = 0; i < frame.size() / 4; ++i)
      count += reinterpret_cast<const uint32_t*>(frame.data())[i] >> 24 != 0;
    return double(count) / (double(kWidth) * kHeight);
  }

  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
  lumavex::Canvas canvas;
  lumavex::DrawingSettings settings;
  MemoryJournal journal;
  bool journaling = true;
  lumavex::PixelRect marked;
  std::vector<uint8_t> display, frame;
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The running maximum of radius k over n values spaced `stride` apart, ends
// clipped, with a deque of the candidates (each value enters and leaves once).
void DequeMax(const uint8_t* in, uint8_t* out, int n, int stride, int k, std::deque<int>& window) {
  window.clear();
  for (int j = 0; j < n + k; ++j) {
    if (j < n) {
      while (!window.empty() && in[window.back() * stride] <= in[j * stride]) window.pop_back();
      window.push_back(j);
    }
    const int i = j - k;
    if (i < 0) continue;
    if (window.front() < i - k) window.pop_front();
    out[i * stride] = in[window.front() * stride];
  }
}

// The same by reading all 2k + 1 values of each window.
void NaiveMax(const uint8_t* in, uint8_t* out, int n, int stride, int k) {
  for (int i = 0; i < n; ++i) {
    uint8_t v = 0;
    for (int j = std::max(0, i - k); j <= std::min(n - 1, i + k); ++j)
      v = std::max(v, in[j * stride]);
    out[i * stride] = v;
  }
}

// The yardstick of the fatten: the selected pixels' opacities gathered into a plane,
// maximised along the rows and then along the columns.
struct SeparableMax {
  explicit SeparableMax(const lumavex::Canvas& canvas)
      : plane(size_t(kWidth) * kHeight), rows(plane.size()), out(plane.size()) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        plane[size_t(y) * kWidth + x] = canvas.display.At(x, y) & lumavex::kNonSelectedFlag
                                            ? 0
                                            : lumavex::Opacity(canvas.frame.At(x, y));
  }
  void Run(int k, bool naive) {
    for (int y = 0; y < kHeight; ++y) {
      const size_t row = size_t(y) * kWidth;
      if (naive)
        NaiveMax(&plane[row], &rows[row], kWidth, 1, k);
      else
        DequeMax(&plane[row], &rows[row], kWidth, 1, k, window);
    }
    for (int x = 0; x < kWidth; ++x) {
      if (naive)
        NaiveMax(&rows[x], &out[x], kHeight, kWidth, k);
      else
        DequeMax(&rows[x], &out[x], kHeight, kWidth, k, window);
    }
  }
  std::vector<uint8_t> plane, rows, out;
  std::deque<int> window;
};

void RunFattenBenchmark(benchmark::State& state, lumavex::FattenWidths widths) {
  SelectionContext context;
  SeparableMax yardstick(context.canvas);
  const int radius = (widths.width + widths.antiAliasWidth + 99) / 100;
  const lumavex::PixelRect area = context.canvas.processingSquare;
  double best = 1e9, bestDeque = 1e9, bestNaive = 1e9;
  for (auto _ : state) {
    context.Restore();
    const Clock::time_point start = Clock::now();
    lumavex::FattenIntoWorkLayer(context.canvas, area, widths, 255, context.HeadColour());
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    const Clock::time_point dequeStart = Clock::now();
    yardstick.Run(radius, false);
    bestDeque = std::min(bestDeque, Seconds(dequeStart));
    const Clock::time_point naiveStart = Clock::now();
    yardstick.Run(radius, true);
    bestNaive = std::min(bestNaive, Seconds(naiveStart));
  }
  // With a hard edge the fatten is the square dilation itself.
  if (widths.antiAliasWidth == 0)
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (lumavex::Opacity(context.canvas.work.At(x, y)) != yardstick.out[size_t(y) * kWidth + x])
          std::abort();
  const double bestYardstick = std::min(bestDeque, bestNaive);
  state.counters["frame_share"] = context.FrameShare();
  state.counters["best_ms"] = best * 1e3;
  state.counters["deque_ms"] = bestDeque * 1e3;
  state.counters["naive_ms"] = bestNaive * 1e3;
  state.counters["x_yardstick"] = best / bestYardstick;
}

// The yardstick of the intake: each pixel's display and frame words read and a
// frame word written from them, as the compiler vectorises it. Like the intake it
// runs right after Restore has copied both layers in, so where the cache holds the
// two layers (15 MB) both work from it rather than from memory.
void ReadBothWriteFrame(lumavex::Canvas& canvas) {
  for (int y = kHeight - 1; y >= 0; --y) {
    const uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    for (int x = 0; x < kWidth; ++x) frame[x] = (frame[x] ^ display[x]) | 0x01000000;
  }
}

// The same pass one pixel at a time, as the intake's loop runs.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
void ReadBothWriteFrameScalar(lumavex::Canvas& canvas) {
  for (int y = kHeight - 1; y >= 0; --y) {
    const uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
#if defined(__clang__)
#pragma clang loop vectorize(disable)
#endif
    for (int x = 0; x < kWidth; ++x) frame[x] = (frame[x] ^ display[x]) | 0x01000000;
  }
}

void BM_SquareFattenF200Wa0(benchmark::State& state) {
  RunFattenBenchmark(state, {200, 0});
}
void BM_SquareFattenF1000Wa500(benchmark::State& state) {
  RunFattenBenchmark(state, {1000, 500});
}

// The intake with its journal records kept in memory, or (for the share of the time
// the records take) with no journal at all.
void RunIntakeBenchmark(benchmark::State& state, bool journaling) {
  SelectionContext context;
  context.journaling = journaling;
  double best = 1e9, bestYardstick = 1e9, bestScalar = 1e9;
  size_t records = 0;
  platform::NoProgress progress;
  for (auto _ : state) {
    context.Restore();
    const Clock::time_point start = Clock::now();
    lumavex::TakeInColourLineArt(context, progress);
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    records = context.journal.records.size();
    context.Restore();
    const Clock::time_point yardstickStart = Clock::now();
    ReadBothWriteFrame(context.canvas);
    benchmark::DoNotOptimize(context.canvas.frame.Data());
    bestYardstick = std::min(bestYardstick, Seconds(yardstickStart));
    const Clock::time_point scalarStart = Clock::now();
    ReadBothWriteFrameScalar(context.canvas);
    benchmark::DoNotOptimize(context.canvas.frame.Data());
    bestScalar = std::min(bestScalar, Seconds(scalarStart));
  }
  state.counters["frame_share"] = context.FrameShare();
  state.counters["scalar_ms"] = bestScalar * 1e3;
  state.counters["x_scalar"] = best / bestScalar;
  if (journaling) state.counters["written_share"] = double(records) / (double(kWidth) * kHeight);
  state.counters["best_ms"] = best * 1e3;
  state.counters["yardstick_ms"] = bestYardstick * 1e3;
  state.counters["x_yardstick"] = best / bestYardstick;
}

void BM_ColourLineArtIntake(benchmark::State& state) {
  RunIntakeBenchmark(state, true);
}
void BM_ColourLineArtIntakeWithoutJournal(benchmark::State& state) {
  RunIntakeBenchmark(state, false);
}

BENCHMARK(BM_SquareFattenF200Wa0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareFattenF1000Wa500)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourLineArtIntake)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourLineArtIntakeWithoutJournal)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
