#pragma once
// The desktop as the core sees it (platform::UiHost), on Qt 6 Widgets and Multimedia:
// the shared window host with the program's dialogs, scroll bars and cursor area.

#include <optional>

#include "platform/qt/DialogPresenter.h"
#include "platform/qt/WindowHost.h"

namespace lumavex::qt {

class LumavexWindow;

class QtHost : public platform::qt::WindowHost {
 public:
  QtHost();
  ~QtHost() override;

  // The main window that dialogs belong to and that shows the client area and menu.
  // Until one is attached, window requests do nothing and boxes have no owner.
  void AttachWindow(LumavexWindow* window);

  // Replaces the message box that shows a dialog's refused value (tests).
  void SetRefusalPresenter(platform::qt::RefusalPresenter presenter) {
    refusalPresenter_ = std::move(presenter);
  }

  // The area the core asked the cursor to stay in.
  std::optional<platform::Rect> CursorClip() const { return cursorClip_; }

  platform::MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons,
                                      platform::MessageIcon icon) override;
  int RunDialog(platform::DialogModel& model) override;
  std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest& request) override;
  std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest& request) override;
  void ShowModelessDialog(const platform::DialogModel& model) override;
  void SetScrollBar(platform::ScrollEvent::Axis axis, int minimum, int maximum, int page,
                    int position) override;
  void ClipCursor(const platform::Rect* area) override;
  void StartTicks(int perSecond) override;
  void StopTicks() override;
  [[noreturn]] void EndProcess(int exitCode) override;

 private:
  // After a message box or dialog: the buttons it took and the area it uncovered.
  void AfterModal();

  LumavexWindow* window_ = nullptr;
  platform::qt::RefusalPresenter refusalPresenter_;
  std::optional<platform::Rect> cursorClip_;
};

}  // namespace lumavex::qt
