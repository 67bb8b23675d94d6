#pragma once
// What the two programs' hosts share: the requests that only forward to the main
// window (menu, client area, minimising, the cursor), sounds, the trash and the end
// of the event loop. Each program's host adds its dialogs and its own requests.

#include <optional>

#include "platform/UiHost.h"
#include "platform/qt/SoundPlayer.h"

class QWidget;

namespace platform::qt {

class MenuMirror;
class SurfaceWidget;

// The main window as the host forwards to it.
class HostWindow {
 public:
  virtual QWidget& Widget() = 0;
  virtual MenuMirror& Menu() const = 0;
  virtual SurfaceWidget& Client() const = 0;

 protected:
  ~HostWindow() = default;
};

class WindowHost : public UiHost {
 public:
  WindowHost();
  ~WindowHost() override;

  // The exit code of a quit asked for before the event loop ran.
  std::optional<int> PendingQuit() const { return pendingQuit_; }

  void MenuChanged(const MenuBar& menu) override;
  void Present(const Surface& surface, const Rect& area) override;
  bool PlaySound(const WavSound& sound) override;
  bool MoveToTrash(const std::string& path) override;
  void Minimise() override;
  void SetCursorPosition(int clientX, int clientY) override;
  void PostQuit(int exitCode) override;

 protected:
  // Until a window is attached, window requests do nothing and boxes have no owner.
  void AttachHostWindow(HostWindow* window) { hostWindow_ = window; }
  // The owner of the boxes and dialogs the host shows; null before a window exists.
  QWidget* Owner() const { return hostWindow_ ? &hostWindow_->Widget() : nullptr; }

 private:
  HostWindow* hostWindow_ = nullptr;
  SoundPlayer sounds_;
  std::optional<int> pendingQuit_;
};

}  // namespace platform::qt
