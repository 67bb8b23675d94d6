// Compression and expansion of a movie folder against plain buffered I/O of the same
// bytes, and the size of the result against zipping the pictures directly.
// VELTRANE_BENCH_PICTURES sets the number of pictures (default 100, 15.4 MB each).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "MovieFolder.h"
#include "platform/Memory.h"
#include "platform/TestHost.h"
#include "veltrane/codec/FolderList.h"
#include "veltrane/codec/VtzCompress.h"
#include "veltrane/codec/VtzExpand.h"
#include "veltrane/core/Archiver.h"

namespace veltrane::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The best time of each benchmark and the sizes it measured, for the summary.
struct Results {
  double compressSeconds = 0, plainSeconds = 0, expandSeconds = 0, plainExpandSeconds = 0;
  uint64_t vtzBytes = 0, zippedVtzBytes = 0, zippedOriginalBytes = 0;
};

Results& Summary() {
  static Results results;
  return results;
}

MovieFolder& Folder() {
  static MovieFolder folder([] {
    const char* count = std::getenv("VELTRANE_BENCH_PICTURES");
    return count ? std::max(1, std::atoi(count)) : 100;
  }());
  return folder;
}

platform::Allocator& Memory() {
  static platform::TestHost host;
  static platform::Allocator allocator(host, platform::ReadMemoryStatus);
  return allocator;
}

uint64_t FolderBytes(const fs::path& folder, std::string_view extension) {
  uint64_t total = 0;
  for (const auto& name : ListFiles(folder, extension)) total += fs::file_size(folder / name);
  return total;
}

void Keep(double& best, Clock::time_point start) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  best = best == 0 ? seconds : std::min(best, seconds);
}

void BM_Compress(benchmark::State& state) {
  MovieFolder& folder = Folder();
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!CompressPictures(folder.Path(), folder.Names(), Memory()).Ok())
      state.SkipWithError("compression failed");
    Keep(Summary().compressSeconds, start);
  }
  Summary().vtzBytes = FolderBytes(folder.Path(), "VTZ");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * folder.TotalBytes()));
  state.counters["vtz_to_original"] =
      static_cast<double>(Summary().vtzBytes) / static_cast<double>(folder.TotalBytes());
}

// Reads every picture and writes as many bytes as the compression produced.
void BM_PlainReadWrite(benchmark::State& state) {
  MovieFolder& folder = Folder();
  std::vector<char> buffer(MovieFolder::kPictureSize);
  const uint64_t share = Summary().vtzBytes / folder.Names().size();
  const fs::path out = folder.Path() / "plain.out";
  for (auto _ : state) {
    const auto start = Clock::now();
    std::FILE* output = std::fopen(out.c_str(), "wb");
    for (const auto& name : folder.Names()) {
      std::FILE* input = std::fopen((folder.Path() / name).c_str(), "rb");
      const size_t got = std::fread(buffer.data(), 1, buffer.size(), input);
      std::fclose(input);
      std::fwrite(buffer.data(), 1, std::min<uint64_t>(share, got), output);
    }
    std::fclose(output);
    Keep(Summary().plainSeconds, start);
  }
  fs::remove(out);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * folder.TotalBytes()));
}

// The I/O an expansion cannot avoid: reads every ".VTZ" file whole and writes every
// picture at its full size over the file of its name, in a folder of its own.
void BM_PlainExpandIO(benchmark::State& state) {
  MovieFolder& folder = Folder();
  const fs::path target = folder.Path() / "plain-expanded";
  fs::create_directory(target);
  const auto vtzNames = ListFiles(folder.Path(), "VTZ");
  std::vector<char> vtz, picture(MovieFolder::kPictureSize, 0x5A);
  for (auto _ : state) {
    const auto start = Clock::now();
    for (const auto& name : vtzNames) {
      vtz.resize(fs::file_size(folder.Path() / name));
      std::FILE* input = std::fopen((folder.Path() / name).c_str(), "rb");
      benchmark::DoNotOptimize(std::fread(vtz.data(), 1, vtz.size(), input));
      std::fclose(input);
    }
    for (const auto& name : folder.Names()) {
      std::FILE* output = std::fopen((target / name).c_str(), "wb");
      std::fwrite(picture.data(), 1, picture.size(), output);
      std::fclose(output);
    }
    benchmark::ClobberMemory();
    Keep(Summary().plainExpandSeconds, start);
  }
  fs::remove_all(target);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * folder.TotalBytes()));
}

void BM_Expand(benchmark::State& state) {
  MovieFolder& folder = Folder();
  const fs::path target = folder.Path() / "expanded";
  fs::create_directory(target);
  const auto vtzNames = ListFiles(folder.Path(), "VTZ");
  for (const auto& name : vtzNames) fs::copy_file(folder.Path() / name, target / name);
  for (auto _ : state) {
    const auto start = Clock::now();
    for (const auto& name : vtzNames)
      if (!ExpandVtz(target, name, Memory()).Ok()) state.SkipWithError("expansion failed");
    Keep(Summary().expandSeconds, start);
  }
  const std::string& last = folder.Names().back();
  if (fs::file_size(target / last) != MovieFolder::kPictureSize)
    state.SkipWithError("expanded picture has the wrong size");
  fs::remove_all(target);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * folder.TotalBytes()));
}

// Packs each file of one kind into its own archive, as the archive command does.
uint64_t ZipEach(const fs::path& folder, std::string_view extension, const char* subfolder) {
  fs::create_directory(folder / subfolder);
  const Archiver archiver(folder);
  for (const auto& name : ListFiles(folder, extension))
    archiver.Run(std::string("u ") + subfolder + "/" + name + ".zip " + name);
  const uint64_t bytes = FolderBytes(folder / subfolder, "zip");
  fs::remove_all(folder / subfolder);
  return bytes;
}

void BM_ZipVtz(benchmark::State& state) {
  for (auto _ : state) Summary().zippedVtzBytes = ZipEach(Folder().Path(), "VTZ", "zip-vtz");
  state.counters["zipped_vtz_bytes"] = static_cast<double>(Summary().zippedVtzBytes);
}

void BM_ZipOriginals(benchmark::State& state) {
  for (auto _ : state) Summary().zippedOriginalBytes = ZipEach(Folder().Path(), "lmv", "zip-lmv");
  state.counters["zipped_original_bytes"] = static_cast<double>(Summary().zippedOriginalBytes);
}

BENCHMARK(BM_Compress)->Iterations(6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainReadWrite)->Iterations(6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainExpandIO)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Expand)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZipVtz)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZipOriginals)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintSummary() {
  const Results& r = Summary();
  const double megabytes = static_cast<double>(Folder().TotalBytes()) / 1e6;
  if (r.compressSeconds == 0 || r.plainSeconds == 0) return;
  std::printf("\n%zu pictures, %.1f MB\n", Folder().Names().size(), megabytes);
  std::printf("compress  %8.1f MB/s (best run)\n", megabytes / r.compressSeconds);
  std::printf("plain I/O %8.1f MB/s (best run)\n", megabytes / r.plainSeconds);
  if (r.expandSeconds > 0)
    std::printf("expand    %8.1f MB/s (best run)\n", megabytes / r.expandSeconds);
  std::printf("compress speed / plain I/O speed: %.0f %%\n",
              100 * r.plainSeconds / r.compressSeconds);
  if (r.expandSeconds > 0) {
    std::printf("expand speed / plain I/O speed: %.0f %%\n",
                100 * r.plainSeconds / r.expandSeconds);
    if (r.plainExpandSeconds > 0)
      std::printf("expand speed / plain expansion I/O speed: %.0f %%\n",
                  100 * r.plainExpandSeconds / r.expandSeconds);
  }
  std::printf(".VTZ size / original size: %.2f %%\n",
              100.0 * static_cast<double>(r.vtzBytes) / (megabytes * 1e6));
  if (r.zippedOriginalBytes > 0 && r.zippedVtzBytes > 0)
    std::printf(
        "zipped .VTZ / zipped originals: %.1f %% (%llu vs %llu bytes)\n",
        100.0 * static_cast<double>(r.zippedVtzBytes) / static_cast<double>(r.zippedOriginalBytes),
        static_cast<unsigned long long>(r.zippedVtzBytes),
        static_cast<unsigned long long>(r.zippedOriginalBytes));
}

}  // namespace
}  // namespace veltrane::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  veltrane::bench::PrintSummary();
  return 0;
}
