#pragma once
// The main window procedure and everything the program keeps for its whole run.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Events.h"
#include "platform/Memory.h"
#include "platform/MemoryStatus.h"
#include "platform/Menu.h"
#include "platform/Surface.h"
#include "platform/UiHost.h"

namespace lumavex {

struct AppConfig {
  // The folder the program works in; LMV_Resource lies in it and relative paths
  // such as "./new.lmv" are resolved against it.
  std::string workingDirectory = ".";
  platform::MemoryStatusSource memoryStatus = platform::ReadMemoryStatus;
  // Folder of the single-instance lock; empty for the user's runtime folder.
  std::string lockDirectory;
};

class AppState;

class App {
 public:
  App(platform::UiHost& host, AppConfig config);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The window's creation message: the start-up steps, given the client area's size.
  void Create(int clientWidth, int clientHeight);

  // The main window procedure: every event the host forwards comes in here.
  void HandleEvent(const platform::WindowEvent& event);

  // What the window shows: the client area and the menu bar.
  const platform::Surface& Surface() const;
  const platform::MenuBar& Menu() const;

  // The whole state, for the modules of the shell and for program tests.
  AppState& State() { return *state_; }

 private:
  std::unique_ptr<AppState> state_;
};

}  // namespace lumavex
