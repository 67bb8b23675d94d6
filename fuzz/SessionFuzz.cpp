// Starts the program over the input as its session file and accepts the recovery.
// Whenever a picture comes back, the session update its first drawing step makes
// must leave a file that the next start accepts again: the program never refuses a
// session file it wrote itself.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/Session.h"

using namespace lumavex;
namespace fs = std::filesystem;

namespace {

constexpr const char* kRefused = "カレントファイル情報ファイルが不正です。";

// A working folder with the resource folder, made once per process.
const std::string& WorkingFolder() {
  static const std::string folder = [] {
    const fs::path dir = fuzz::ScratchFolder("lumavex-session");
    fs::copy(fs::path(LUMAVEX_SOURCE_DIR) / "resources/LMV_Resource", dir / "LMV_Resource",
             fs::copy_options::recursive);
    return dir.string();
  }();
  return folder;
}

// The session's picture memory is kept small, so that a session of a huge picture
// is refused quickly instead of being filled.
platform::MemoryStatus SmallMachine() {
  platform::MemoryStatus status = fuzz::ModestMachine();
  status.availablePageFile = 64ull << 20;
  return status;
}

struct Run {
  platform::TestHost host;
  std::unique_ptr<App> app;

  Run() {
    host.trashDirectory = WorkingFolder() + "/trash";
    AppConfig config;
    config.workingDirectory = WorkingFolder();
    config.memoryStatus = SmallMachine;
    config.lockDirectory = WorkingFolder();
    app = std::make_unique<App>(host, config);
    app->Create(64, 48);
  }
  bool Refused() const {
    for (const auto& message : host.messages)
      if (message.text == kRefused) return true;
    return false;
  }
};

// Clears what the previous input left and puts the input in as the session file.
void PrepareFolder(const uint8_t* data, size_t size) {
  const fs::path resources = fs::path(WorkingFolder()) / "LMV_Resource";
  for (const auto& entry : fs::directory_iterator(resources)) {
    const std::string name = entry.path().filename();
    if (name.starts_with("UndoFile") || name.starts_with("CurrentFileInfo"))
      fs::remove(entry.path());
  }
  fs::remove_all(fs::path(WorkingFolder()) / "trash");
  std::FILE* file = std::fopen((resources / "CurrentFileInfo.ini").c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PrepareFolder(data, size);
  try {
    auto first = std::make_unique<Run>();
    AppState& state = first->app->State();
    if (!state.canvas.HasPicture()) return 0;
    const int width = state.canvas.Width(), height = state.canvas.Height();
    UpdateSession(state);
    first.reset();  // the process dies: no End command
    Run second;
    if (second.Refused() || !second.app->State().canvas.HasPicture() ||
        second.app->State().canvas.Width() != width ||
        second.app->State().canvas.Height() != height)
      std::abort();
  } catch (const platform::ProcessEnded&) {
    // The program ends itself here (memory exhausted): an answer, not a finding.
  }
  return 0;
}
