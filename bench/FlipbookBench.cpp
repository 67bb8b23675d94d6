// The flipbook over 48 pictures of 1600 × 1200 at 50 %, from a cold start: the play
// reads every picture (one beat ahead) and composes it at view size. The pictures
// shown a second are set against the 24 a second the fastest rate needs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "platform/TestHost.h"

namespace {

namespace fs = std::filesystem;
constexpr int kPictures = 48, kWidth = 1600, kHeight = 1200;

void WriteBmp(const fs::path& path, uint32_t seed) {
  const uint32_t rowBytes = kWidth * 3;
  std::vector<uint8_t> bytes(54 + size_t{rowBytes} * kHeight);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, kWidth);
  put32(22, kHeight);
  bytes[26] = 1;
  bytes[28] = 24;
  for (size_t i = 54; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed * 13);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

struct Folder {
  Folder() {
    path = fs::temp_directory_path() / ("lumavex-flipbook-bench-" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
    fs::copy(fs::path(LUMAVEX_SOURCE_DIR) / "resources/LMV_Resource", path / "LMV_Resource",
             fs::copy_options::recursive);
    for (int i = 0; i < kPictures; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d.bmp", i);
      WriteBmp(path / name, static_cast<uint32_t>(i));
    }
  }
  ~Folder() { fs::remove_all(path); }
  fs::path path;
};

void BM_FlipbookColdStart(benchmark::State& state) {
  static Folder folder;
  platform::TestHost host;
  lumavex::AppConfig config;
  config.workingDirectory = folder.path.string();
  config.lockDirectory = folder.path.string();
  config.memoryStatus = [] {
    platform::MemoryStatus m;
    m.totalPhysical = m.availablePhysical = 8ull << 30;
    m.totalPageFile = m.availablePageFile = 16ull << 30;
    return m;
  };
  lumavex::App app(host, config);
  app.Create(800 + 40, 600);
  lumavex::AppState& s = app.State();
  s.currentFileName = "./0000.bmp";
  app.HandleEvent(platform::CommandEvent{lumavex::cmd::kLoadCurrentFile});
  app.HandleEvent(platform::CommandEvent{lumavex::cmd::kZoom1of2});
  int64_t shown = 0;
  for (auto _ : state) {
    app.HandleEvent(platform::KeyDownEvent{'J', {}});  // reads the first two pictures
    while (s.flipbook.Playing()) app.HandleEvent(platform::TickEvent{});
    shown += kPictures;
  }
  state.counters["pictures_per_second"] = benchmark::Counter(double(shown), benchmark::Counter::kIsRate);
  state.counters["needed"] = 24;
}

}  // namespace

BENCHMARK(BM_FlipbookColdStart)->Unit(benchmark::kMillisecond)->UseRealTime();
