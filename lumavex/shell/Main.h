#pragma once
// The program entry: one running copy, the main window, the message loop.

#include "lumavex/shell/App.h"

namespace lumavex {

// What the entry needs of the desktop beyond UiHost: a window to create and a
// message loop to run.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Creates and shows the main window and sends it the creation message
  // (App::Create with the client area's size); from then on the window forwards
  // its events to `app`.
  virtual void CreateMainWindow(App& app) = 0;
  // Runs until the quit message; returns its exit code.
  virtual int RunMessageLoop() = 0;
};

// The name of the lock that keeps a second copy from starting.
inline constexpr const char* kInstanceLockName = "LumavexByOrlanmede";

// Refuses a second copy ("二重起動は出来ません。", returns 0), creates the App and
// its window, runs the message loop and returns its exit code.
int ProgramEntry(platform::UiHost& host, WindowSystem& windows, const AppConfig& config);

}  // namespace lumavex
