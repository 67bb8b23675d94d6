#pragma once
// The Veltrane tool without its window: the window procedure of the main window,
// its menu and its client area. A front end creates the window from the constants
// below, calls Start once, forwards menu clicks to HandleCommand (or any event to
// HandleEvent) and presents the rectangles of Surface() the core names.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Events.h"
#include "platform/FontEngine.h"
#include "platform/Memory.h"
#include "platform/MemoryStatus.h"
#include "platform/Menu.h"
#include "platform/Surface.h"
#include "platform/UiHost.h"
#include "veltrane/core/Archiver.h"
#include "platform/ProgressStrip.h"

namespace veltrane {

inline constexpr const char* kWindowTitle = "Veltrane";
inline constexpr const char* kMenuCaption = "コマンド";
constexpr int kWindowX = 0;
constexpr int kWindowY = 0;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 100;
// The system window colour the client area is cleared to.
constexpr uint32_t kWindowColour = 0xFFFFFF;
// The lines under the progress strip that say what the tool works on.
constexpr int kStatusLeft = 4;
constexpr int kStatusTop = platform::ProgressStrip::kHeight + 4;
constexpr int kStatusLineHeight = 16;
constexpr uint32_t kStatusTextColour = 0x000000;

struct VeltraneConfig {
  // The folder the tool works on: "Compress.ini" is read from it, and every file
  // the tool makes or moves to the recycle bin lies in it.
  std::string workingDirectory = ".";
  platform::MemoryStatusSource memoryStatus = platform::ReadMemoryStatus;
};

class VeltraneApp {
 public:
  VeltraneApp(platform::UiHost& host, VeltraneConfig config);
  VeltraneApp(const VeltraneApp&) = delete;
  VeltraneApp& operator=(const VeltraneApp&) = delete;

  // The window's creation message, given the client area's size: clears the client
  // area, publishes the menu and reads "Compress.ini". Without that file the tool
  // reports it and ends through UiHost::EndProcess.
  void Start(int clientWidth = kWindowWidth, int clientHeight = kWindowHeight);

  // The window procedure: menu commands, size changes and exposure; other events
  // are ignored.
  void HandleEvent(const platform::WindowEvent& event);

  // Runs one menu command (veltrane/core/CommandIds.h) to its end. Unknown
  // identifiers are ignored. Quit asks the host to end the message loop with 1.
  void HandleCommand(int id);

  const platform::Surface& Surface() const { return surface_; }
  const platform::MenuBar& Menu() const { return menu_; }
  const std::string& BackupPath() const { return backupPath_; }
  const std::filesystem::path& WorkingDirectory() const { return folder_; }
  // What the client area shows under the progress strip: the working folder, the
  // backup path and the last command's one-line result.
  std::vector<std::string> StatusLines() const;

 private:
  void Resize(int clientWidth, int clientHeight);
  void ReadSettings();
  void ShowStatusLines();
  void ShowResult(std::string line);

  platform::UiHost& host_;
  std::filesystem::path folder_;
  platform::Allocator allocator_;
  Archiver archiver_;
  platform::Surface surface_;
  platform::ProgressStrip progress_;
  platform::MenuBar menu_;
  std::string backupPath_;
  platform::FontEngine fonts_;
  std::unique_ptr<platform::Font> font_;
  std::string lastResult_;
  bool started_ = false;
};

// The menu bar: the popup "コマンド" with the six commands.
platform::MenuBar BuildMenu();

}  // namespace veltrane
