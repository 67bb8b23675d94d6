// Saving and loading a 1600 × 1200 picture, native and 24-bit BMP, against plain
// buffered file I/O of the same number of bytes: fwrite of a ready buffer followed by
// the same flush to the disk that a save makes, and fread into a fresh buffer.
// Reads are measured twice: with the file in the system's cache, as when a picture
// is loaded again, and with the file dropped from the cache before every read, so
// that its bytes come from the disk, as when a movie's frames are first walked.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/files/BmpWrite.h"
#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/files/SaveFile.h"
#include "platform/TestHost.h"

namespace {

namespace fs = std::filesystem;
using lumavex::Canvas;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr size_t kNativeBytes = size_t{kWidth} * kHeight * 8 + 54;
constexpr size_t kBmpBytes = size_t{kWidth} * 3 * kHeight + 54;

// The folder the benchmark files live in, beside the build, on a real disk.
std::string BenchFolder() {
  const fs::path folder = fs::current_path() / ("picture-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  return folder.string();
}

struct Fixture {
  platform::TestHost host;
  platform::Allocator allocator{host, [] { return platform::ReadMemoryStatus(); }};
  Canvas canvas;
  std::vector<uint8_t> block = std::vector<uint8_t>(960000);
  std::string folder = BenchFolder();

  Fixture() {
    platform::NoProgress progress;
    lumavex::CreateBlankPicture(canvas, allocator, kWidth, kHeight, progress);
    // Some of everything a picture holds: colours, frames, non-selected parts.
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        uint32_t& d = canvas.display.At(x, y);
        uint32_t& f = canvas.frame.At(x, y);
        d = 0x02000000 | (x * 2654435761u + y * 40503u) >> 8;
        if ((x ^ y) % 7 == 0) f = 0x80000000 | (d & 0xFFFFFF);
        if (y > kHeight / 2) lumavex::Deselect(d, f);
      }
  }
  ~Fixture() { fs::remove_all(folder); }
  std::string Path(const char* name) const { return folder + "/" + name; }
};

void PlainWrite(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fflush(f);
  ::fsync(::fileno(f));
  std::fclose(f);
}

// Makes the next read of `path` come from the disk.
void DropFromCache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0 || ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) std::abort();
  ::close(fd);
}

// Readies the next iteration's read: outside the timing, the file leaves the cache
// when `fromDisk`.
void BeforeRead(benchmark::State& state, bool fromDisk, const std::string& path) {
  if (!fromDisk) return;
  state.PauseTiming();
  DropFromCache(path);
  state.ResumeTiming();
}

std::vector<uint8_t> PlainRead(const std::string& path, size_t size) {
  std::vector<uint8_t> bytes(size);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  benchmark::DoNotOptimize(std::fread(bytes.data(), 1, size, f));
  std::fclose(f);
  return bytes;
}

template <typename Writer>
void Save(Fixture& fx, const std::string& path, Writer write) {
  lumavex::SaveFile file(path);
  if (!file.Open() || write(file) != lumavex::WriteResult::Written || !file.Commit()) std::abort();
}

void BM_SaveNative(benchmark::State& state) {
  Fixture fx;
  for (auto _ : state)
    Save(fx, fx.Path("save.lmv"), [&](lumavex::SaveFile& file) {
      return lumavex::WriteNativeFile(file, fx.canvas, {0, 0, kWidth, kHeight}, fx.block.data(),
                                      fx.block.size());
    });
  state.SetBytesProcessed(state.iterations() * int64_t{kNativeBytes});
}

void BM_SaveBmp24(benchmark::State& state) {
  Fixture fx;
  for (auto _ : state)
    Save(fx, fx.Path("save.bmp"), [&](lumavex::SaveFile& file) {
      return lumavex::WriteBmpFile(file, fx.canvas.display, fx.canvas.pictureHeader, 24,
                                   fx.block.data(), fx.block.size());
    });
  state.SetBytesProcessed(state.iterations() * int64_t{kBmpBytes});
}

void BM_PlainWrite(benchmark::State& state) {
  Fixture fx;
  const std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)), 0x5A);
  for (auto _ : state) PlainWrite(fx.Path("plain.bin"), bytes);
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Loads `name` again and again: into the same canvas, as walking the frames of a movie
// with the arrow keys does, or into a fresh canvas (`fresh`), as the first load does;
// from the cache or (`disk`) from the disk.
void LoadRepeatedly(benchmark::State& state, Fixture& fx, const char* name, size_t bytes) {
  const bool fresh = state.range(0) != 0;
  const bool fromDisk = state.range(1) != 0;
  Canvas canvas;
  for (auto _ : state) {
    BeforeRead(state, fromDisk, fx.Path(name));
    if (fresh) canvas.Release();
    if (!lumavex::LoadCanvasPicture({fx.host, fx.allocator}, fx.Path(name), name, canvas))
      std::abort();
    benchmark::DoNotOptimize(canvas.display.Data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

void BM_LoadNative(benchmark::State& state) {
  Fixture fx;
  Save(fx, fx.Path("load.lmv"), [&](lumavex::SaveFile& file) {
    return lumavex::WriteNativeFile(file, fx.canvas, {0, 0, kWidth, kHeight}, fx.block.data(),
                                    fx.block.size());
  });
  LoadRepeatedly(state, fx, "load.lmv", kNativeBytes);
}

void BM_LoadBmp24(benchmark::State& state) {
  Fixture fx;
  Save(fx, fx.Path("load.bmp"), [&](lumavex::SaveFile& file) {
    return lumavex::WriteBmpFile(file, fx.canvas.display, fx.canvas.pictureHeader, 24,
                                 fx.block.data(), fx.block.size());
  });
  LoadRepeatedly(state, fx, "load.bmp", kBmpBytes);
}

void BM_PlainRead(benchmark::State& state) {
  Fixture fx;
  const size_t size = static_cast<size_t>(state.range(0));
  const bool fromDisk = state.range(1) != 0;
  const std::string path = fx.Path("plain.bin");
  PlainWrite(path, std::vector<uint8_t>(size, 0x5A));
  for (auto _ : state) {
    BeforeRead(state, fromDisk, path);
    benchmark::DoNotOptimize(PlainRead(path, size).data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_SaveNative)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Arg(kNativeBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBmp24)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Arg(kBmpBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
// Each load beside the plain read of its bytes from the same place.
void LoadArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"fresh", "disk"})->Args({0, 0})->Args({1, 0})->Args({0, 1});
}
void PlainReadArguments(benchmark::internal::Benchmark* b, size_t bytes) {
  b->ArgNames({"bytes", "disk"})->Args({static_cast<int64_t>(bytes), 0});
  b->Args({static_cast<int64_t>(bytes), 1});
}

BENCHMARK(BM_LoadNative)->Apply(LoadArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)
    ->Apply([](auto* b) { PlainReadArguments(b, kNativeBytes); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadBmp24)->Apply(LoadArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)
    ->Apply([](auto* b) { PlainReadArguments(b, kBmpBytes); })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
