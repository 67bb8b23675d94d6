#pragma once
// A UiHost for tests: answers message boxes and dialogs from a script and records
// everything the core showed, played, presented and moved to the trash.

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Progress.h"
#include "platform/UiHost.h"

namespace platform {

// Progress that counts what it is told.
struct CountingProgress : Progress {
  uint64_t total = 0, steps = 0;
  int ends = 0;
  void ProgressStart(uint64_t t) override { total = t; }
  void ProgressStep() override { ++steps; }
  void ProgressEnd() override { ++ends; }
};

// Thrown by EndProcess so that a test can assert how the program would have ended.
struct ProcessEnded : std::runtime_error {
  explicit ProcessEnded(int code) : std::runtime_error("process ended"), exitCode(code) {}
  int exitCode;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// One press of OK or cancel in a dialog, after typing the given texts.
// List choices are made after the texts and checks; the buttons are pressed after
// them, in order, before OK or cancel.
struct DialogAttempt {
  std::map<int, std::string> texts;
  std::map<int, bool> checks;
  bool ok = true;
  std::map<int, int> selections;
  std::vector<int> presses;
};

// What a scripted dialog saw: its title and the texts it opened with.
struct OpenedDialog {
  int id = 0;
  std::string title;
  std::map<int, std::string> startTexts;
  std::vector<DialogMessage> refusals;  // validation messages shown while it was open
};

// A modeless dialog as it was opened: its id, title and read-only text.
struct ModelessDialog {
  int id = 0;
  std::string title;
  std::string text;
};

// A file dialog as it was opened.
struct RecordedFileDialog {
  bool save = false;
  FileDialogRequest request;
};

class TestHost : public UiHost {
 public:
  // Message boxes take their answers from here in order; when it is empty the first
  // button (OK or Yes) is chosen.
  std::deque<MessageResult> messageAnswers;
  // Each RunDialog takes the next script; an exhausted script cancels the dialog.
  std::deque<std::vector<DialogAttempt>> dialogScripts;
  // File dialogs take their answers from here in order; when it is empty they are
  // cancelled.
  std::deque<std::optional<std::string>> fileDialogAnswers;
  bool soundFails = false;     // PlaySound reports a busy or missing device
  bool trashFails = false;     // MoveToTrash reports failure
  std::string trashDirectory;  // where MoveToTrash moves files; empty: files are removed

  std::vector<ShownMessage> messages;
  std::vector<OpenedDialog> dialogs;
  std::vector<ModelessDialog> modelessDialogs;
  std::vector<RecordedFileDialog> fileDialogs;
  std::vector<std::string> statusTexts;  // every status text shown, in order
  std::vector<std::string> soundsPlayed;
  std::vector<std::string> trashed;
  std::vector<Rect> presented;
  std::optional<int> quitCode;
  int minimiseCount = 0;
  struct ScrollBarState {
    int minimum = 0, maximum = 0, page = 0, position = 0;
  };
  ScrollBarState horizontalBar, verticalBar;
  std::optional<Rect> cursorClip;
  std::optional<std::pair<int, int>> cursor;
  const MenuBar* lastMenu = nullptr;
  int tickRate = 0;  // the ticks a second asked for; 0 while stopped

  MessageResult ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override;
  int RunDialog(DialogModel& model) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
  void ShowModelessDialog(const DialogModel& model) override;
  void MenuChanged(const MenuBar& menu) override;
  void Present(const Surface& surface, const Rect& area) override;
  bool PlaySound(const WavSound& sound) override;
  bool MoveToTrash(const std::string& path) override;
  void Minimise() override { ++minimiseCount; }
  void SetScrollBar(ScrollEvent::Axis axis, int minimum, int maximum, int page,
                    int position) override;
  void ClipCursor(const Rect* area) override;
  void SetCursorPosition(int clientX, int clientY) override { cursor = {clientX, clientY}; }
  void StartTicks(int perSecond) override { tickRate = perSecond; }
  void StopTicks() override { tickRate = 0; }
  void PostQuit(int exitCode) override { quitCode = exitCode; }
  [[noreturn]] void EndProcess(int exitCode) override { throw ProcessEnded(exitCode); }

  // The texts of the messages shown, in order.
  std::vector<std::string> MessageTexts() const;
};

}  // namespace platform
