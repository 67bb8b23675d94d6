#include "lumavex/shell/QuietPictureRead.h"

#include "lumavex/files/PictureLoad.h"

namespace lumavex {
namespace {

// Passes every request on to the real host except those that would wait for the
// user: messages are kept instead of shown, questions answered No, dialogs cancelled.
class QuietHost : public platform::UiHost {
 public:
  explicit QuietHost(platform::UiHost& host) : host_(host) {}
  std::string firstMessage;

  platform::MessageResult ShowMessage(const std::string& text, const std::string&,
                                      platform::MessageButtons buttons,
                                      platform::MessageIcon) override {
    if (firstMessage.empty()) firstMessage = text;
    switch (buttons) {
      case platform::MessageButtons::Ok: return platform::MessageResult::Ok;
      case platform::MessageButtons::OkCancel: return platform::MessageResult::Cancel;
      case platform::MessageButtons::YesNo: return platform::MessageResult::No;
    }
    return platform::MessageResult::Cancel;
  }
  int RunDialog(platform::DialogModel& model) override { return model.cancelCode; }
  std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  void ShowModelessDialog(const platform::DialogModel&) override {}
  void MenuChanged(const platform::MenuBar& menu) override { host_.MenuChanged(menu); }
  void Present(const platform::Surface& surface, const platform::Rect& area) override {
    host_.Present(surface, area);
  }
  bool PlaySound(const platform::WavSound&) override { return true; }
  bool MoveToTrash(const std::string&) override { return false; }
  void Minimise() override {}
  void SetScrollBar(platform::ScrollEvent::Axis, int, int, int, int) override {}
  void ClipCursor(const platform::Rect*) override {}
  void SetCursorPosition(int, int) override {}
  void PostQuit(int exitCode) override { host_.PostQuit(exitCode); }
  [[noreturn]] void EndProcess(int exitCode) override { host_.EndProcess(exitCode); }

 private:
  platform::UiHost& host_;
};

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
  std::error_code ec;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  stamp.written = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return stamp;
}

bool ReadPictureQuietly(platform::UiHost& host, platform::Allocator& allocator,
                        const std::string& path, const std::string& shownName,
                        PixelPlane& display, std::string& failure) {
  QuietHost quiet(host);
  PixelPlane frame;
  const bool read = LoadPastePicture({quiet, allocator}, path, shownName,
                                     PasteVariant::SameSizeUnmarked, display, frame);
  if (read && !display.Empty()) return true;
  display.Release();
  failure = quiet.firstMessage.empty() ? "読み込めません" : quiet.firstMessage;
  return false;
}

}  // namespace lumavex
