#pragma once
// A program under test: an App with a TestHost in a fresh temporary working folder
// that holds a copy of the resource folder.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lumavex/canvas/Journal.h"
#include "lumavex/shell/App.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "platform/TestHost.h"

namespace lumavex::testing {

inline std::string MakeWorkingFolder() {
  namespace fs = std::filesystem;
  static int counter = 0;
  const fs::path dir = fs::temp_directory_path() / ("lumavex-test-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(++counter));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy(fs::path(LUMAVEX_SOURCE_DIR) / "resources/LMV_Resource", dir / "LMV_Resource",
           fs::copy_options::recursive);
  return dir.string();
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One journaled change of the top-left pixel in a step of its own, so that the
// journal holds something to undo.
inline void MakeUndoStep(AppState& state) {
  state.undoJournal.OpenStep(state.canvas);
  uint32_t& display = state.canvas.display.At(0, 0);
  WritePixelJournaled(&state.undoJournal, display, state.canvas.frame.At(0, 0), display ^ 1,
                      state.canvas.frame.At(0, 0), 0, 0);
  state.undoJournal.CloseStep();
}

inline platform::MemoryStatus PlentyOfMemory() {
  platform::MemoryStatus m;
  m.totalPhysical = m.availablePhysical = 8ull << 30;
  m.totalPageFile = m.availablePageFile = 16ull << 30;
  return m;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeWorkingFolder();
    host.trashDirectory = folder + "/trash";
    config.workingDirectory = folder;
    config.memoryStatus = [this] { return memory; };
    config.lockDirectory = folder;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  App& Start(int clientWidth = 400, int clientHeight = 300) {
    app = std::make_unique<App>(host, config);
    app->Create(clientWidth, clientHeight);
    return *app;
  }
  AppState& State() { return app->State(); }
  void Command(int id) { app->HandleEvent(platform::CommandEvent{id}); }
  // A started program holding a blank picture of `width` × `height`.
  AppState& StartWithBlankPicture(int width, int height) {
    Start();
    State().canvasWidth = width;
    State().canvasHeight = height;
    Command(cmd::kCreateBlankPicture);
    return State();
  }
  // The path of `name` in the working folder.
  std::string At(const std::string& name) const { return folder + "/" + name; }

  // A white picture of `width` × `height` through 新規作成 and dialog 111.
  void NewPicture(int width, int height) {
    host.dialogScripts.push_back(
        {{{{1000, std::to_string(width)}, {1001, std::to_string(height)}}, {}, true}});
    Command(40079);
  }
  void Key(int key, platform::Modifiers modifiers = {}) {
    app->HandleEvent(platform::KeyDownEvent{key, modifiers});
  }
  void Press(platform::MouseButton button, int x, int y, platform::Modifiers modifiers = {}) {
    app->HandleEvent(platform::MouseEvent{platform::MouseEvent::Kind::Press, button, x, y,
                                          button == platform::MouseButton::Left,
                                          button == platform::MouseButton::Right, modifiers});
  }
  void Release(platform::MouseButton button, int x, int y, platform::Modifiers modifiers = {}) {
    app->HandleEvent(platform::MouseEvent{platform::MouseEvent::Kind::Release, button, x, y, false,
                                          false, modifiers});
  }
  void Click(int x, int y, platform::Modifiers modifiers = {},
             platform::MouseButton button = platform::MouseButton::Left) {
    Press(button, x, y, modifiers);
    Release(button, x, y, modifiers);
  }
  // Moves the mouse with the left button held.
  void Drag(int x, int y) {
    app->HandleEvent(platform::MouseEvent{
        platform::MouseEvent::Kind::Move, platform::MouseButton::Left, x, y, true, false, {}});
  }
  std::string Resource(const std::string& name) const { return folder + "/LMV_Resource/" + name; }

  platform::TestHost host;
  platform::MemoryStatus memory = PlentyOfMemory();
  AppConfig config;
  std::string folder;
  std::unique_ptr<App> app;
};

}  // namespace lumavex::testing

namespace lumavex {

// The modifier keys held with a click in the program tests.
constexpr platform::Modifiers kShift{true, false};
constexpr platform::Modifiers kCtrl{false, true};
constexpr platform::Modifiers kBoth{true, true};

}  // namespace lumavex
