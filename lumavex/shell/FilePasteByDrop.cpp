#include "lumavex/shell/FilePasteByDrop.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "lumavex/files/PictureLoad.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/paint/PictureFilePaste.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/FilePasteTools.h"

namespace lumavex {
namespace {

constexpr char kCheckCaption[] = "エラー";
constexpr int kZoom100 = 1;

void ShowCheckFailure(AppState& s, const char* text) {
  s.host.ShowMessage(text, kCheckCaption, platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
}

// Checks the whole set in the order native, digits, free target; false after the
// first failure's message.
bool DroppedSetAcceptable(AppState& s, const std::vector<std::string>& paths, int step) {
  if (!AllNativeFileNames(paths)) {
    ShowCheckFailure(s, kNotAllNativeFiles);
    return false;
  }
  for (const std::string& path : paths)
    if (!RenumberedName(path, step)) {
      ShowCheckFailure(s, kNotFourDigits);
      return false;
    }
  if (step == 0) return true;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (std::filesystem::exists(s.Resolve(*RenumberedName(path, step)), ec) || ec) {
      ShowCheckFailure(s, kRenamedFileExists);
      return false;
    }
  }
  return true;
}

bool PasteAndSave(AppState& s, const PastePicture& picture, const std::string& path, int step) {
  s.currentFileName = path;
  if (!LoadCurrentFile(s)) return false;
  {
    PaintStep paint(s.drawing, true);
    PasteRectangle(paint, picture, 0, 0, s.progress);
    paint.End(true);
  }
  CloseUndoStep(s);
  Redraw(s);
  if (s.workBlock == nullptr) return false;
  std::string target = *RenumberedName(path, step);
  const Canvas& canvas = s.canvas;
  const PictureArea whole{0, 0, canvas.Width(), canvas.Height()};
  // With step 0 the user chose to write over the dropped files: no question each.
  if (!SaveThroughPipeline(
          s, target, PictureExtension(path), "LMVセーブ",
          [&](SaveFile& file) {
            return WriteNativeFile(file, canvas, whole, s.workBlock.get(), kWorkBlockBytes);
          },
          false, false))
    return false;
  s.currentFileName = target;
  return true;
}

}  // namespace

std::optional<std::string> RenumberedName(const std::string& name, int step) {
  const std::string extension = PictureExtension(name);
  const size_t slash = name.find_last_of('/');
  const size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t stemEnd = name.size() - extension.size();
  if (stemEnd < fileStart + 4) return std::nullopt;
  int number = 0;
  for (size_t i = stemEnd - 4; i < stemEnd; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
    number = number * 10 + (name[i] - '0');
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", number + step);
  return name.substr(0, stemEnd - 4) + digits + extension;
}

void PasteFromFilesByDropCommand(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  const char* status = FindCommand(id)->status;
  SetStatusText(s, status);
  if (!AskSetting(s, dialog::kFileNumberStep)) {
    LeavePasteMode(s);
    return;
  }
  SetZoom(s, kZoom100, true);
  if (!s.tools.Get<FilePasteTools>().ChoosePicture(s, "連続でファイルから単純ペースト")) {
    LeavePasteMode(s);
    return;
  }
  s.currentCommand = id;
  s.modeStatusText = status;
  SetStatusText(s, status);
}

int PasteIntoDroppedFiles(AppState& s, const std::vector<std::string>& paths) {
  const PastePicture& picture = s.tools.Get<FilePasteTools>().Picture();
  const int step = s.settings.fileNumberStep;
  if (!picture.Held() || step < 0 || !DroppedSetAcceptable(s, paths, step)) return 0;
  if (UndoDataExists(s) &&
      s.host.ShowMessage("画像が編集されています。ロードしますか？", "アンドゥーデータが存在",
                         platform::MessageButtons::YesNo,
                         platform::MessageIcon::Question) != platform::MessageResult::Yes)
    return 0;
  int saved = 0;
  for (const std::string& path : paths) {
    if (!PasteAndSave(s, picture, path, step)) break;
    ++saved;
  }
  RestoreModeStatusText(s);
  return saved;
}

}  // namespace lumavex
