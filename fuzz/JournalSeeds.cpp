// Session files and journals written by the program itself for the seeds.
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/JournalPack.h"
#include "fuzz/Seeds.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/files/UndoJournal.h"
#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "platform/Progress.h"
#include "platform/TestHost.h"

namespace lumavex::fuzz {

namespace fs = std::filesystem;

namespace {

fs::path MakeTemporaryFolder() {
  char pattern[] = "/tmp/lumavex-seeds-XXXXXX";
  return ::mkdtemp(pattern);
}

void CopyAs(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

platform::MemoryStatus Plenty() {
  platform::MemoryStatus status;
  status.totalPhysical = status.availablePhysical = 1ull << 30;
  status.totalPageFile = status.availablePageFile = 1ull << 30;
  return status;
}

// Draws `steps` operations of a few pixels each on `canvas` through `journal`.
void DrawSteps(UndoJournal& journal, Canvas& canvas, int steps) {
  for (int step = 0; step < steps; ++step) {
    journal.OpenStep(canvas);
    for (int i = 0; i <= step; ++i) {
      const int x = (step + i * 2) % canvas.Width(), y = (step * 3 + i) % canvas.Height();
      WritePixelJournaled(&journal, canvas.display.At(x, y), canvas.frame.At(x, y),
                          0x02000000u | (step * 0x111111u + i), 0x80000000u | step, x, y);
    }
    journal.CloseStep();
  }
}

// One run that draws `steps`, undoes `undos` of them and dies; its files packed.
void WriteJournal(const fs::path& target, int steps, int undos, int64_t fileSizeLimit) {
  const fs::path folder = MakeTemporaryFolder();
  {
    platform::TestHost host;
    platform::Allocator allocator(host, Plenty);
    Canvas canvas;
    platform::NoProgress progress;
    CreateBlankPicture(canvas, allocator, 6, 5, progress);
    UndoJournalOptions options;
    options.fileSizeLimit = fileSizeLimit;
    UndoJournal journal(host, allocator, folder.string(), options);
    DrawSteps(journal, canvas, steps);
    for (int i = 0; i < undos; ++i) journal.Undo(canvas, UndoMode::Full);
  }
  WriteBytes(target, PackJournal(folder.string()));
  fs::remove_all(folder);
}

}  // namespace

void WriteSessionSeeds(const fs::path& folder) {
  const fs::path working = MakeTemporaryFolder();
  fs::copy(fs::path(LUMAVEX_SOURCE_DIR) / "resources/LMV_Resource", working / "LMV_Resource",
           fs::copy_options::recursive);
  const fs::path session = working / "LMV_Resource/CurrentFileInfo.ini";
  {
    platform::TestHost host;
    AppConfig config;
    config.workingDirectory = working.string();
    config.memoryStatus = Plenty;
    config.lockDirectory = working.string();
    App app(host, config);
    app.Create(64, 48);
    CopyAs(session, folder / "fresh.ini");
    host.dialogScripts.push_back({{{{1000, "50"}, {1001, "40"}}, {}, true}});
    app.HandleEvent(platform::CommandEvent{cmd::kNewPicture});
    AppState& state = app.State();
    state.currentFileName = "./picture.lmv";
    state.undoJournal.OpenStep(state.canvas);
    WritePixelJournaled(&state.undoJournal, state.canvas.display.At(0, 0),
                        state.canvas.frame.At(0, 0), 0x02000000, 0x80000000, 0, 0);
    state.undoJournal.CloseStep();
    CopyAs(session, folder / "updated.ini");
  }
  // A layout the reader accepts but the program does not write.
  std::ofstream(folder / "lf-only.ini", std::ios::binary)
      << "CurrentFileWidth=64\nCurrentFileHeight=00048\nCurrentFileName=./new.lmv\n";
  fs::remove_all(working);
}

void WriteJournalSeeds(const fs::path& folder) {
  WriteJournal(folder / "drawn", 3, 0, kUndoFileSizeLimit);
  WriteJournal(folder / "undone", 4, 2, kUndoFileSizeLimit);
  WriteJournal(folder / "all-undone", 2, 2, kUndoFileSizeLimit);
  WriteJournal(folder / "several-files", 5, 1, 200);
}

}  // namespace lumavex::fuzz
