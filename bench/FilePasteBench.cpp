// The pastes of whole pictures: a 1600 × 1200 native paste picture pasted whole
// (journal records in memory, and with no journal) against one pass that reads both
// layers of the paste picture and of the canvas and writes the canvas's two back; the paste into 24 dropped native files
// (load, paste, save, per file) against their load and save alone; and a string
// picture of 20 characters at 200 pixels height. Yardsticks run in the same loop;
// the ratios are of the best times.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <type_traits>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/files/SaveFile.h"
#include "lumavex/paint/PictureFilePaste.h"
#include "lumavex/paint/StringPicture.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using bench::kHeight;
using bench::kWidth;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A paste picture of the canvas's size: colours everywhere, a frame over a tenth of
// it, and a twentieth outside its drawing area.
lumavex::PastePicture MakePastePicture(platform::Allocator& allocator) {
  lumavex::PastePicture p;
  if (!p.display.Create(allocator, kWidth, kHeight, 4) ||
      !p.frame.Create(allocator, kWidth, kHeight, 4))
    std::abort();
  p.area = {0, 0, kWidth - 1, kHeight - 1};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t colour = (x * 2654435761u + y * 40503u) >> 8 & lumavex::kColourMask;
      const bool drawn = (x + 3 * y) % 20 != 0;
      p.display.At(x, y) = colour | (drawn ? lumavex::kDrawAreaFlag : 0);
      p.frame.At(x, y) = (x ^ y) % 10 == 0 ? 0x80000000 | colour : 0;
    }
  return p;
}

// The paste as the journal sees nothing of it: the cost of the paste loop alone.
struct UnjournaledContext : bench::BenchContext<bench::MemoryJournal> {
  lumavex::JournalSink* Journal() override { return nullptr; }
};

template <class Context>
void PasteWhole(benchmark::State& state) {
  Context context;
  const lumavex::PastePicture picture = MakePastePicture(context.allocator);
  lumavex::Canvas& canvas = context.canvas;
  std::vector<uint8_t> display(canvas.display.Data(),
                               canvas.display.Data() + canvas.display.SizeBytes());
  platform::NoProgress progress;
  double best = 1e9, bestYardstick = 1e9;
  for (auto _ : state) {
    std::memcpy(canvas.display.Data(), display.data(), display.size());
    if constexpr (requires { context.journal.records; }) context.journal.records.clear();
    const Clock::time_point start = Clock::now();
    {
      lumavex::PaintStep step(context, true);
      lumavex::PasteRectangle(step, picture, 0, 0, progress);
      step.End(true);
    }
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    best = std::min(best, seconds);
    // The yardstick: the paste picture's two layers and the canvas's two layers read,
    // and the canvas's two layers written, once each, pixel by pixel as the paste goes.
    const Clock::time_point yardStart = Clock::now();
    for (int y = kHeight - 1; y >= 0; --y) {
      uint32_t* d = canvas.display.Row32(y);
      uint32_t* f = canvas.frame.Row32(y);
      const uint32_t* sd = picture.display.Row32(y);
      const uint32_t* sf = picture.frame.Row32(y);
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t dw = d[x], fw = f[x];
        d[x] = (dw & 0xFF000000) | (sd[x] & lumavex::kColourMask);
        f[x] = fw ^ sf[x];
      }
      benchmark::DoNotOptimize(d);
      benchmark::DoNotOptimize(f);
    }
    benchmark::ClobberMemory();
    bestYardstick = std::min(bestYardstick, Seconds(yardStart));
  }
  state.counters["paste_ms"] = best * 1e3;
  state.counters["yardstick_ms"] = bestYardstick * 1e3;
  state.counters["ratio"] = best / bestYardstick;
}

void BM_PastePictureWhole_NoJournal(benchmark::State& state) {
  PasteWhole<UnjournaledContext>(state);
}
void BM_PastePictureWhole_MemoryJournal(benchmark::State& state) {
  PasteWhole<bench::BenchContext<bench::MemoryJournal>>(state);
}
void BM_PastePictureWhole_FileJournal(benchmark::State& state) {
  PasteWhole<bench::BenchContext<bench::FileJournal>>(state);
}
BENCHMARK(BM_PastePictureWhole_NoJournal)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PastePictureWhole_MemoryJournal)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PastePictureWhole_FileJournal)->UseManualTime()->Unit(benchmark::kMillisecond);

// The paste into dropped files: 24 native 1600 × 1200 files, each loaded, pasted at
// (0, 0) with its records going to a journal file, and saved under a new name.
void BM_PasteIntoDroppedFiles(benchmark::State& state) {
  constexpr int kFiles = 24;
  bench::BenchContext<bench::FileJournal> context;
  const lumavex::PastePicture picture = MakePastePicture(context.allocator);
  const fs::path folder = fs::current_path() / ("file-paste-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::vector<uint8_t> block(960000);
  const lumavex::PictureArea whole{0, 0, kWidth, kHeight};
  const auto save = [&](const std::string& path) {
    lumavex::SaveFile file(path, {});
    if (!file.Open() ||
        lumavex::WriteNativeFile(file, context.canvas, whole, block.data(), block.size()) !=
            lumavex::WriteResult::Written ||
        !file.Commit())
      std::abort();
  };
  for (int i = 0; i < kFiles; ++i) save((folder / ("f" + std::to_string(1000 + i) + ".lmv")).string());
  const lumavex::LoadServices services{context.host, context.allocator};
  platform::NoProgress progress;
  double best = 1e9, bestYardstick = 1e9;
  for (auto _ : state) {
    const auto run = [&](bool paste) {
      const Clock::time_point start = Clock::now();
      for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(1000 + i) + ".lmv";
        if (!lumavex::LoadCanvasPicture(services, (folder / name).string(), name, context.canvas))
          std::abort();
        context.canvas.processingSquare = {0, 0, kWidth - 1, kHeight - 1};
        // A load starts a new journal, as the program's load resets its undo file.
        context.journal.used = 0;
        std::rewind(context.journal.file);
        if (::ftruncate(::fileno(context.journal.file), 0) != 0) std::abort();
        if (paste) {
          lumavex::PaintStep step(context, true);
          lumavex::PasteRectangle(step, picture, 0, 0, progress);
          step.End(true);
        }
        save((folder / ("g" + std::to_string(1100 + i) + ".lmv")).string());
      }
      return Seconds(start) / kFiles;
    };
    const double perFile = run(true);
    state.SetIterationTime(perFile);
    best = std::min(best, perFile);
    bestYardstick = std::min(bestYardstick, run(false));
  }
  fs::remove_all(folder);
  state.counters["per_file_ms"] = best * 1e3;
  state.counters["load_save_ms"] = bestYardstick * 1e3;
  state.counters["ratio"] = best / bestYardstick;
}
BENCHMARK(BM_PasteIntoDroppedFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A string picture of 20 characters (kana, kanji and Latin) at 200 pixels height.
void BM_StringPicture20At200(benchmark::State& state) {
  platform::FontEngine fonts;
  bench::BenchContext<bench::MemoryJournal> context;
  lumavex::StringSetting setting;
  setting.text = "文字列貼り付けのテストABC123あいう";
  setting.fontName = "IPAGothic";
  setting.characterHeight = 200;
  setting.characterWidth = 200;
  setting.vertical = false;
  lumavex::PastePicture picture;
  for (auto _ : state) {
    if (lumavex::MakeStringPicture(fonts, setting, 0x102030, context.allocator, picture) !=
        lumavex::StringPictureResult::Made)
      std::abort();
    benchmark::DoNotOptimize(picture.display.Data());
  }
  state.counters["width"] = picture.Width();
  state.counters["height"] = picture.Height();
}
BENCHMARK(BM_StringPicture20At200)->Unit(benchmark::kMillisecond);

}  // namespace
