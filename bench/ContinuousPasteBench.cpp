// The continuous paste over a movie of 24 pictures of 1600 × 1200 with a band of
// about 600 × 200 copied to memory: span 1～2 from file 0 to file 23, against the
// yardstick of 24 single pastes of the same surface at the same places; and the save
// of the group of 24 pictures against 24 plain native saves of a picture of that size,
// both through the program's save pipeline into a temporary folder.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/paint/ContinuousPaste.h"
#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/FileCommands.h"

namespace {

using bench::kHeight;
using bench::kWidth;
using lumavex::Sample;

constexpr int kPictures = 24;
const std::vector<Sample> kCurve1 = {{500, 500}, {800, 470}, {1100, 500}};
const std::vector<Sample> kCurve2 = {{500, 700}, {800, 670}, {1100, 700}};

lumavex::PasteCurves Shifted(const lumavex::PasteCurves& c, double dx, double dy) {
  lumavex::PasteCurves out = c;
  for (auto* curve : {&out.curve1, &out.middle, &out.curve2})
    for (Sample& p : *curve) p = {p.x + dx, p.y + dy};
  return out;
}

// The source picture and its copied band, 24 blank pictures and the path's groups.
struct Movie {
  Movie() {
    lumavex::Canvas& source = context.canvas;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        source.display.At(x, y) = lumavex::kDrawAreaFlag | ((x * 7 + y * 3) & 0xFF) << 16 |
                                  ((x ^ y) & 0xFF) << 8 | ((x * y) & 0xFF);
    if (lumavex::CopySurface(source, kCurve1, kCurve2, context.settings.pointSpacing, {}, {},
                             1ull << 40, surface) != lumavex::CopyOutcome::Copied)
      std::abort();
    start = lumavex::CopyPosition(surface);
    end = Shifted(start, -300, 350);
    middle = Shifted(lumavex::MidpointCurves(start, end), 120, -60);
    work = std::move(source.work);
    source = lumavex::Canvas{};
    platform::NoProgress none;
    pictures.resize(kPictures);
    for (lumavex::Canvas& p : pictures) {
      if (!lumavex::CreateBlankPicture(p, context.allocator, kWidth, kHeight, none)) std::abort();
      p.work.Release();
      p.processingSquare = p.Bounds();
    }
    schedule = lumavex::ScheduleOfSpan(lumavex::PasteSpan::OneToTwo, kPictures - 1, -1, kPictures);
  }
  // Whites every picture where a paste may have changed it.
  void Whiten() {
    for (lumavex::Canvas& p : pictures)
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) p.display.At(x, y) = lumavex::kNewDisplayPixel;
    context.journal.records.clear();
  }

  bench::BenchContext<bench::MemoryJournal> context;
  lumavex::MemorySurface surface;
  lumavex::PasteCurves start, middle, end;
  std::vector<lumavex::Canvas> pictures;
  std::vector<lumavex::SpanStep> schedule;
  lumavex::PixelPlane work;
};

Movie& TheMovie() {
  static Movie movie;
  return movie;
}

void BM_PasteSpan24(benchmark::State& state) {
  Movie& m = TheMovie();
  platform::NoProgress none;
  for (auto _ : state) {
    state.PauseTiming();
    m.Whiten();
    state.ResumeTiming();
    const int pasted =
        lumavex::PasteAlongSpan(m.context, m.pictures, m.work, m.schedule, m.start, m.middle,
                                m.end, m.surface, 255, m.context.allocator, none);
    if (pasted != kPictures) std::abort();
  }
  state.counters["pictures"] = kPictures;
  state.counters["group_MB"] =
      static_cast<double>(lumavex::PasteGroupBytes(kPictures, kWidth, kHeight)) / (1 << 20);
}
BENCHMARK(BM_PasteSpan24)->Unit(benchmark::kMillisecond);

// The yardstick: the same 24 pastes one by one, each picture in the context in turn
// with the curves of its place computed beforehand (outside the timing).
void BM_SinglePastes24(benchmark::State& state) {
  Movie& m = TheMovie();
  std::vector<lumavex::PasteCurves> places(m.schedule.size());
  for (size_t i = 0; i < places.size(); ++i)
    lumavex::CurvesOnPath(m.start, m.middle, m.end, m.schedule[i].t, places[i]);
  lumavex::FillPicture image;
  for (auto _ : state) {
    state.PauseTiming();
    m.Whiten();
    state.ResumeTiming();
    for (size_t i = 0; i < places.size(); ++i) {
      lumavex::Canvas& stage = m.context.canvas;
      stage = std::move(m.pictures[i]);
      stage.work = std::move(m.work);
      {
        lumavex::PaintStep step(m.context, false);
        lumavex::PasteSurface(step, m.surface, places[i], 255, m.context.allocator, image);
        step.End(false);
      }
      m.work = std::move(stage.work);
      m.pictures[i] = std::move(stage);
      stage = lumavex::Canvas{};
    }
  }
}
BENCHMARK(BM_SinglePastes24)->Unit(benchmark::kMillisecond);

// A program in a temporary folder holding a 1600 × 1200 picture and a group of 24.
struct Saving {
  Saving() {
    namespace fs = std::filesystem;
    folder = (fs::temp_directory_path() / ("lumavex-bench-" + std::to_string(::getpid()))).string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(fs::path(LUMAVEX_SOURCE_DIR) / "resources/LMV_Resource",
             fs::path(folder) / "LMV_Resource", fs::copy_options::recursive);
    config.workingDirectory = folder;
    config.lockDirectory = folder;
    config.memoryStatus = [] {
      platform::MemoryStatus m;
      m.totalPhysical = m.availablePhysical = 16ull << 30;
      m.totalPageFile = m.availablePageFile = 32ull << 30;
      return m;
    };
    app = std::make_unique<lumavex::App>(host, config);
    app->Create(400, 300);
    lumavex::AppState& s = app->State();
    s.canvasWidth = kWidth;
    s.canvasHeight = kHeight;
    lumavex::SendCommand(s, lumavex::cmd::kCreateBlankPicture);
    platform::NoProgress none;
    for (int k = 0; k < kPictures; ++k) {
      lumavex::Canvas p;
      if (!lumavex::CreateBlankPicture(p, s.allocator, kWidth, kHeight, none)) std::abort();
      p.work.Release();
      s.pasteGroup.pictures.push_back(std::move(p));
      char name[32];
      std::snprintf(name, sizeof name, "./g%04d.lmv", k);
      s.pasteGroup.names.push_back(name);
    }
  }
  ~Saving() { std::filesystem::remove_all(folder); }

  platform::TestHost host;
  lumavex::AppConfig config;
  std::string folder;
  std::unique_ptr<lumavex::App> app;
};

Saving& TheSaving() {
  static Saving saving;
  return saving;
}

void BM_GroupSave24(benchmark::State& state) {
  lumavex::AppState& s = TheSaving().app->State();
  for (auto _ : state)
    if (lumavex::SavePasteFilesCommand(s) != kPictures) std::abort();
}
BENCHMARK(BM_GroupSave24)->Unit(benchmark::kMillisecond);

// The yardstick: 24 native saves of the shown picture, each to a file of its own.
void BM_NativeSaves24(benchmark::State& state) {
  lumavex::AppState& s = TheSaving().app->State();
  const lumavex::PictureArea whole{0, 0, kWidth, kHeight};
  for (auto _ : state)
    for (int k = 0; k < kPictures; ++k) {
      char name[32];
      std::snprintf(name, sizeof name, "./n%04d.lmv", k);
      std::string kept = name;
      if (!lumavex::SaveNative(s, kept, whole, false)) std::abort();
    }
}
BENCHMARK(BM_NativeSaves24)->Unit(benchmark::kMillisecond);

}  // namespace
