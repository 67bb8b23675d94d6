// The undo journal on a 1600 × 1200 picture: recording one step that changes every
// pixel (1.92 M records), undoing it and redoing it, each against its floor measured
// in the same run: writing the same bytes to a file, and reading them back while
// storing the pixel words.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/files/UndoFormat.h"
#include "lumavex/files/UndoJournal.h"
#include "platform/TestHost.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int64_t kStepBytes = int64_t{kWidth} * kHeight * lumavex::kRecordBytes;

std::string MakeFolder() {
  char pattern[] = "/tmp/journal-bench-XXXXXX";
  return ::mkdtemp(pattern);
}

struct Bench {
  Bench() {
    platform::NoProgress progress;
    lumavex::CreateBlankPicture(canvas, allocator, kWidth, kHeight, progress);
  }
  ~Bench() { std::filesystem::remove_all(folder); }

  // One operation that gives every pixel a new display and frame word.
  void RecordFullStep(uint32_t salt) {
    journal.OpenStep(canvas);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        lumavex::WritePixelJournaled(&journal, canvas.display.At(x, y), canvas.frame.At(x, y),
                                     0x02000000u | (x * 7919u + y + salt), 0x80000000u | salt, x,
                                     y);
    journal.CloseStep();
  }

  std::string folder = MakeFolder();
  platform::TestHost host;
  platform::Allocator allocator{host, [] { return platform::ReadMemoryStatus(); }};
  lumavex::Canvas canvas;
  lumavex::UndoJournal journal{host, allocator, folder};
};

void BM_RecordStep(benchmark::State& state) {
  Bench bench;
  uint32_t salt = 0;
  for (auto _ : state) {
    bench.journal.Reset();
    bench.RecordFullStep(++salt);
  }
  state.SetBytesProcessed(state.iterations() * kStepBytes);
}

// The same bytes, 960000 at a time, into a truncated file.
void BM_WriteSameBytes(benchmark::State& state) {
  Bench bench;
  const std::string path = bench.folder + "/plain.dat";
  std::vector<uint8_t> block(lumavex::kJournalBufferBytes, 0x5A);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    std::setvbuf(file, nullptr, _IOFBF, 32766);
    std::fwrite(block.data(), 1, lumavex::kStepHeaderBytes, file);
    for (int64_t done = 0; done < kStepBytes; done += block.size())
      std::fwrite(block.data(), 1, block.size(), file);
    std::fclose(file);
  }
  state.SetBytesProcessed(state.iterations() * kStepBytes);
}

void BM_UndoStep(benchmark::State& state) {
  Bench bench;
  bench.RecordFullStep(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(bench.journal.Undo(bench.canvas, lumavex::UndoMode::Full));
    state.PauseTiming();
    bench.journal.Redo(bench.canvas);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kStepBytes);
}

void BM_RedoStep(benchmark::State& state) {
  Bench bench;
  bench.RecordFullStep(1);
  for (auto _ : state) {
    state.PauseTiming();
    bench.journal.Undo(bench.canvas, lumavex::UndoMode::Full);
    state.ResumeTiming();
    benchmark::DoNotOptimize(bench.journal.Redo(bench.canvas));
  }
  state.SetBytesProcessed(state.iterations() * kStepBytes);
}

// Reading the step's records back 65535 at a time and storing both words of each.
void BM_ReadBackAndStore(benchmark::State& state) {
  Bench bench;
  bench.RecordFullStep(1);
  const std::string path = bench.folder + "/" + lumavex::UndoFileName(0);
  std::vector<uint8_t> chunk(lumavex::kReadChunkRecords * lumavex::kRecordBytes);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, lumavex::kStepHeaderBytes, SEEK_SET);
    size_t bytes;
    while ((bytes = std::fread(chunk.data(), 1, chunk.size(), file)) >= lumavex::kRecordBytes) {
      for (size_t i = 0; i + lumavex::kRecordBytes <= bytes; i += lumavex::kRecordBytes) {
        const lumavex::JournalRecord r = lumavex::DecodeRecord(chunk.data() + i);
        bench.canvas.display.At(r.x, r.y) = r.oldDisplay;
        bench.canvas.frame.At(r.x, r.y) = r.oldFrame;
      }
    }
    std::fclose(file);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kStepBytes);
}

}  // namespace

BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBackAndStore)->Unit(benchmark::kMillisecond);
