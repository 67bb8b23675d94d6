#pragma once
// Everything the core shows or asks of the desktop goes through this interface:
// the Qt front end implements it for the real window, TestHost for tests.

#include <optional>
#include <string>
#include <vector>

#include "platform/DialogModel.h"
#include "platform/Events.h"
#include "platform/Menu.h"
#include "platform/Surface.h"
#include "platform/WavFile.h"

namespace platform {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

// What a file dialog shows: its title, the folder it opens in, the name it proposes
// and the filters, each written as its text followed by the patterns in braces,
// e.g. ".lmv files {*.lmv}".
struct FileDialogRequest {
  std::string title;
  std::string folder;
  std::vector<std::string> filters;
  std::string defaultName;
  std::string defaultExtension;  // added by a save dialog to a name typed without one
};

class UiHost {
 public:
  virtual ~UiHost() = default;

  // A modal message box; returns the button the user chose.
  virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons = MessageButtons::Ok,
                                    MessageIcon icon = MessageIcon::None) = 0;

  // Runs a modal dialog until its validation accepts OK or the user cancels;
  // returns the model's okCode or cancelCode.
  virtual int RunDialog(DialogModel& model) = 0;

  // The standard dialogs that choose a file to read or to write; the full path of the
  // chosen file, or nothing when the user cancels. The save dialog does not ask about
  // an existing file: the caller does.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;

  // Opens a dialog that stays open while the user goes on working; OK closes it.
  // Nothing is validated or returned, and several may be open at once.
  virtual void ShowModelessDialog(const DialogModel& model) = 0;

  // The menu's status text or item states changed; the host mirrors them.
  virtual void MenuChanged(const MenuBar& menu) = 0;

  // Shows the rectangle `area` of the client area from `surface` at once.
  virtual void Present(const Surface& surface, const Rect& area) = 0;

  // Starts playing the sound asynchronously; false when it cannot be played
  // (no device, device busy). Never blocks until the sound ends.
  virtual bool PlaySound(const WavSound& sound) = 0;

  // Moves one file to the user's trash; false on failure.
  virtual bool MoveToTrash(const std::string& path) = 0;

  virtual void Minimise() = 0;

  // Sets a scroll bar's range (minimum to maximum inclusive, in canvas pixels), the
  // page (visible part) and the position.
  virtual void SetScrollBar(ScrollEvent::Axis axis, int minimum, int maximum, int page,
                            int position) = 0;

  // Keeps the mouse cursor inside `area` (client coordinates); nullptr releases it.
  virtual void ClipCursor(const Rect* area) = 0;

  // Moves the mouse cursor to a client position.
  virtual void SetCursorPosition(int clientX, int clientY) = 0;

  // Sends a TickEvent `perSecond` times a second until StopTicks; a later start
  // replaces the rate. Hosts without a timer send none.
  virtual void StartTicks(int perSecond) { (void)perSecond; }
  virtual void StopTicks() {}

  // Ends the message loop in order; the program returns `exitCode`.
  virtual void PostQuit(int exitCode) = 0;

  // Ends the process at once with `exitCode` (the fatal paths). Does not return.
  [[noreturn]] virtual void EndProcess(int exitCode) = 0;
};

// Shows `text` with `caption` and ends the process with `exitCode`.
[[noreturn]] void Fatal(UiHost& host, const std::string& text, const std::string& caption,
                        int exitCode, MessageIcon icon = MessageIcon::Exclamation);

}  // namespace platform
