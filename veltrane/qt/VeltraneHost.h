#pragma once
// The desktop as the tool's core sees it (platform::UiHost): the shared window host
// with message boxes over the main window and the end of the process.

#include <functional>
#include <optional>
#include <string>

#include "platform/qt/WindowHost.h"

namespace veltrane::qt {

class VeltraneWindow;

class VeltraneHost : public platform::qt::WindowHost {
 public:
  // Shows one message box and returns the answer. The default is a modal box over
  // the main window; tests substitute one that records and answers at once.
  using MessagePresenter = std::function<platform::MessageResult(
      const std::string& text, const std::string& caption, platform::MessageButtons buttons,
      platform::MessageIcon icon)>;
  // Ends the process. The default ends it at once; a replacement that returns is
  // followed by that default, so tests substitute one that throws.
  using ProcessEnder = std::function<void(int exitCode)>;

  VeltraneHost();
  ~VeltraneHost() override;

  // The main window that boxes belong to and that shows the client area and menu.
  // Until one is attached, window requests do nothing and boxes have no owner.
  void AttachWindow(VeltraneWindow* window);
  VeltraneWindow* Window() const { return window_; }

  void SetMessagePresenter(MessagePresenter presenter) { presentMessage_ = std::move(presenter); }
  void SetProcessEnder(ProcessEnder ender) { endProcess_ = std::move(ender); }

  platform::MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons,
                                      platform::MessageIcon icon) override;
  int RunDialog(platform::DialogModel& model) override;
  // The tool opens no modeless dialog.
  void ShowModelessDialog(const platform::DialogModel&) override {}
  // The tool reads and writes only its working folder; it never asks for a file.
  std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  // The window has no scroll bars and the tool never confines the cursor.
  void SetScrollBar(platform::ScrollEvent::Axis, int, int, int, int) override {}
  void ClipCursor(const platform::Rect*) override {}
  [[noreturn]] void EndProcess(int exitCode) override;

 private:
  VeltraneWindow* window_ = nullptr;
  MessagePresenter presentMessage_;
  ProcessEnder endProcess_;
};

}  // namespace veltrane::qt
