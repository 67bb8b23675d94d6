#pragma once
// The main window and the message loop of the program on Qt.

#include <memory>

#include "lumavex/shell/Main.h"

namespace lumavex::qt {

class LumavexWindow;
class QtHost;

class QtWindowSystem : public WindowSystem {
 public:
  explicit QtWindowSystem(QtHost& host);
  ~QtWindowSystem() override;

  // Shows the window at its place, sends the creation message with the client size,
  // then forwards the window's events to `app` and mirrors its menu.
  void CreateMainWindow(App& app) override;
  // The event loop; returns at once when the core already asked to quit.
  int RunMessageLoop() override;

  LumavexWindow* Window() const { return window_.get(); }

 private:
  QtHost& host_;
  std::unique_ptr<LumavexWindow> window_;
};

}  // namespace lumavex::qt
