#include "lumavex/shell/Session.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/NewPicture.h"
#include "lumavex/shell/RecycleBin.h"
#include "lumavex/shell/View.h"
#include "platform/ExclusiveFile.h"

namespace lumavex {

namespace {
constexpr const char* kSessionFile = "CurrentFileInfo.ini";
constexpr size_t kStreamBuffer = 32766;

// The session file cannot be made; when the resource folder itself is missing, a
// second line says which folder was expected and how to get one.
[[noreturn]] void SessionFileUnwritable(AppState& state, const std::string& path) {
  std::string text = "ファイルオープン不可: " + path;
  const std::string folder = state.Resolve("./LMV_Resource");
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    text += "\nNo resource folder " + folder +
            ": Lumavex runs in a working folder that holds LMV_Resource (sounds, session and "
            "undo files); ./tools/run-lumavex.sh makes run/LMV_Resource and starts it there.";
  platform::Fatal(state.host, text, "エラー", 0);
}
}  // namespace

void WriteSessionFresh(AppState& state) {
  const std::string path = state.ResourcePath(kSessionFile);
  std::FILE* file = std::fopen(path.c_str(), "w+b");
  if (!file) SessionFileUnwritable(state, path);
  std::setvbuf(file, nullptr, _IOFBF, kStreamBuffer);

  const bool written =
      std::fprintf(file, "CurrentFileWidth=%05d\r\n", state.canvasWidth) > 0 &&
      std::fprintf(file, "CurrentFileHeight=%05d\r\n", state.canvasHeight) > 0 &&
      std::fprintf(file, "CurrentFileName=%s\r\n", state.currentFileName.c_str()) > 0 &&
      std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  if (!written) {
    std::fclose(file);
    platform::Fatal(state.host, "カレントファイル情報ファイルが不正です。", path, 0);
  }
  if (std::fclose(file) != 0) platform::Fatal(state.host, "エラー", "エラー", -1);
}

}  // namespace lumavex

namespace lumavex {
namespace {

constexpr const char* kWidthKey = "CurrentFileWidth=";
constexpr const char* kHeightKey = "CurrentFileHeight=";
constexpr const char* kNameKey = "CurrentFileName=";
constexpr int kLineBytes = 277;

// Reads one line of at most 277 bytes without its line end; false at the end of the file.
bool ReadSessionLine(std::FILE* file, std::string& line) {
  char buffer[kLineBytes + 1];
  if (!std::fgets(buffer, sizeof buffer, file)) return false;
  line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return true;
}

// The picture the previous run's journal started from.
struct SessionRecord {
  int width = 0;
  int height = 0;
  std::string fileName;
};

std::optional<SessionRecord> ReadSession(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string lines[3];
  bool read = true;
  for (auto& line : lines) read = read && ReadSessionLine(file, line);
  std::fclose(file);
  if (!read || !lines[0].starts_with(kWidthKey) || !lines[1].starts_with(kHeightKey) ||
      !lines[2].starts_with(kNameKey))
    return std::nullopt;
  SessionRecord record;
  record.width = std::atoi(lines[0].c_str() + std::strlen(kWidthKey));
  record.height = std::atoi(lines[1].c_str() + std::strlen(kHeightKey));
  record.fileName = lines[2].substr(std::strlen(kNameKey));
  if (record.width < kMinPictureSide || record.width > kMaxPictureSide ||
      record.height < kMinPictureSide || record.height > kMaxPictureSide || record.fileName.empty())
    return std::nullopt;
  return record;
}

// Rebuilds the previous run's picture: its file (or a blank picture of its size)
// with the journal replayed over it.
void Recover(AppState& state, const SessionRecord& record) {
  while (std::filesystem::exists(state.Resolve("./new.lmv")))
    state.host.ShowMessage(
        "Lumavex.exe のあるフォルダに new.lmv ファイルが存在します。\n"
        "リドゥー復帰機能を使用するにはその new.lmv "
        "ファイルを別フォルダに移動するか、消去して下さい。",
        "リドゥー復帰機能", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
  state.currentFileName = record.fileName;
  if (std::filesystem::exists(state.Resolve(record.fileName))) {
    SendCommand(state, cmd::kLoadCurrentFile);
  } else {
    state.canvasWidth = record.width;
    state.canvasHeight = record.height;
    SendCreateBlankPicture(state);
  }
  if (!state.canvas.HasPicture()) return;
  state.undoJournal.Recover(state.canvas);
  Redraw(state);
}

// The three lines as the program writes them.
std::string SessionText(int width, int height, const std::string& fileName) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%s%05d\r\n%s%05d\r\n", kWidthKey, width, kHeightKey,
                height);
  return numbers + std::string(kNameKey) + fileName + "\r\n";
}

// Whether `bytes` begin with both numbers as five digits, each line ended by CR LF,
// and the name key: the bytes the in-place update writes over.
bool HasUpdatableLayout(const std::string& bytes) {
  const std::string layout = SessionText(0, 0, "");
  const size_t length = layout.size() - 2;  // up to the name
  if (bytes.size() < length) return false;
  for (size_t i = 0; i < length; ++i) {
    const bool digit = layout[i] == '0';
    if (digit ? !std::isdigit(static_cast<unsigned char>(bytes[i])) : bytes[i] != layout[i])
      return false;
  }
  return true;
}

// The session file's bytes (at most a few kilobytes are ever meaningful); empty when it
// cannot be opened.
std::optional<std::string> ReadSessionBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string bytes(4096, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  return bytes;
}

// Writes `text` over the start of the file, which is not shortened: a shorter name
// leaves old bytes after its line end, which reading ignores.
bool OverwriteStart(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
            std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

// Puts a new file holding `text` in the session file's place: written to a temporary
// file of its own, on the disk before the rename, so the old file stays until then.
bool ReplaceSessionFile(const std::string& path, const std::string& text) {
  const platform::ExclusiveFile temporary = platform::CreateExclusiveFile(path + ".", ".tmp", 0644);
  if (temporary.fd < 0) return false;
  const bool written = ::write(temporary.fd, text.data(), text.size()) ==
                           static_cast<ssize_t>(text.size()) &&
                       ::fsync(temporary.fd) == 0;
  const bool closed = ::close(temporary.fd) == 0;
  if (written && closed && platform::ReplaceByRename(temporary.path, path)) return true;
  ::unlink(temporary.path.c_str());
  return false;
}

}  // namespace

void UpdateSession(AppState& state) {
  const std::string path = state.ResourcePath(kSessionFile);
  // The session file only serves recovery: a failure is reported and the drawing goes on.
  auto report = [&](const char* text, const std::string& caption) {
    state.host.ShowMessage(text, caption, platform::MessageButtons::Ok,
                           platform::MessageIcon::Exclamation);
  };
  const std::optional<std::string> held = ReadSessionBytes(path);
  if (!held) return report(("ファイルオープン不可: " + path).c_str(), "エラー");
  const std::string text =
      SessionText(state.canvas.Width(), state.canvas.Height(), state.currentFileName);
  // Written over in place only where the bytes replaced are laid out as written here;
  // any other layout the reader accepts gets a whole new file instead.
  const bool ok = HasUpdatableLayout(*held) ? OverwriteStart(path, text)
                                            : ReplaceSessionFile(path, text);
  if (!ok) report("カレントファイル情報ファイルが不正です。", path);
}

void RestoreSession(AppState& state) {
  const std::string path = state.ResourcePath(kSessionFile);
  if (!std::filesystem::exists(path)) return WriteSessionFresh(state);
  const auto answer = state.host.ShowMessage(
      "前回フリーズしています。\nリドゥー復帰機能を使用しますか？\n", "リドゥー復帰機能",
      platform::MessageButtons::OkCancel, platform::MessageIcon::Question);
  const std::optional<SessionRecord> record =
      answer == platform::MessageResult::Ok ? ReadSession(path) : std::nullopt;
  if (!record) {
    // A declined or unreadable session starts afresh; its undo files go to the trash
    // so that a later crash cannot replay them over another picture.
    if (answer == platform::MessageResult::Ok)
      state.host.ShowMessage("カレントファイル情報ファイルが不正です。", path);
    MoveToRecycleBin(state, "./LMV_Resource/UndoFile*.dat");
    return WriteSessionFresh(state);
  }
  Recover(state, *record);
}

}  // namespace lumavex
