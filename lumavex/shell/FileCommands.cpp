#include "lumavex/shell/FileCommands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "lumavex/files/BmpWrite.h"
#include "lumavex/files/PictureFileChecks.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/LoadPolicy.h"
#include "lumavex/shell/MemoryCommands.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;

// Megabytes taken and freed before a file dialog opens, so that it opens quickly.
constexpr int kDialogFlushMegabytes = 5;

struct BmpSave {
  int command;
  int bits;
  const char* title;
};

constexpr BmpSave kBmpSaves[] = {
    {cmd::kSaveBmp, 24, "BMPセーブ"},
    {cmd::kSaveGrey256, 8, "２５６色グレービットマップセーブ"},
    {cmd::kSaveGrey16, 4, "１６色グレービットマップセーブ"},
    {cmd::kSaveGrey4, 2, "４色グレービットマップセーブ"},
    {cmd::kSaveGrey2, 1, "白黒BMPセーブ"},
};

// The folder part of a kept name, with its final "/" ("./" for "./0003.lmv").
std::string FolderPart(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

std::string FilePart(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}


platform::FileDialogRequest DialogRequest(const AppState& s, const std::string& name,
                                          const std::string& title) {
  platform::FileDialogRequest request;
  request.title = title;
  request.folder = fs::path(s.Resolve(name)).parent_path().string();
  return request;
}

// True when there is nothing to lose or the user agrees to replace the edited picture.
bool MayReplaceEditedPicture(AppState& s) {
  if (!UndoDataExists(s)) return true;
  return s.host.ShowMessage("画像が編集されています。ロードしますか？", "アンドゥーデータが存在",
                            platform::MessageButtons::YesNo,
                            platform::MessageIcon::Question) == platform::MessageResult::Yes;
}

// Loads `name` as the current file. A load that fails or is abandoned while the old
// picture stays keeps the old name too.
bool LoadNamed(AppState& s, const std::string& name) {
  const std::string previous = s.currentFileName;
  s.currentFileName = name;
  const bool loaded = LoadCurrentFile(s);
  if (!loaded && s.canvas.HasPicture()) s.currentFileName = previous;
  return loaded;
}

LoadOutcome LoadChosenFile(AppState& s, const std::string& name) {
  if (EndsWithIgnoringCase(name, ".draw_define")) {
    s.files.drawingSettingsFileName = name;
    SendCommand(s, cmd::kReadDrawingSettings);
    return LoadOutcome::SettingsFile;
  }
  if (!MayReplaceEditedPicture(s)) {
    RestoreModeStatusText(s);
    return LoadOutcome::Cancelled;
  }
  return LoadNamed(s, name) ? LoadOutcome::Loaded : LoadOutcome::Failed;
}

void LoadNeighbour(AppState& s, bool next) {
  const FolderPictureList& list = s.files.folderPictures;
  if (!list.Exists() || KeepsArrowKeys(s.currentCommand)) return;
  const auto name = next ? list.Next() : list.Previous();
  if (!name || !MayReplaceEditedPicture(s)) return;
  // After a failure the walk goes on from the file that failed, not back to it.
  if (!LoadNamed(s, FolderPart(s.currentFileName) + *name)) s.files.folderPictures.StandAt(*name);
}

// Moves the canvas's picture out and leaves a canvas without picture that keeps the
// headers and the processing square, as a load into the same canvas would find them.
Canvas SetAsideCanvas(Canvas& canvas) {
  Canvas kept = std::move(canvas);
  canvas = Canvas{};
  canvas.pictureHeader = kept.pictureHeader;
  canvas.fileHeader = kept.fileHeader;
  canvas.processingSquare = kept.processingSquare;
  return kept;
}

// Shows the first picture line at the top-left again, as a new picture does.
void ResetView(AppState& s) {
  s.markedRectangle = {};
  s.view.lastSquare.reset();
  s.view.vertical.position = 0;
  s.view.horizontal.position = 0;
  SetZoom(s, s.view.zoomCode, true);
}

std::string WithExtension(const std::string& name, const std::string& extension) {
  const std::string extensionNow = PictureExtension(name);
  return name.substr(0, name.size() - extensionNow.size()) + extension;
}

// The name a save writes to; empty when the user cancelled the dialog.
std::string SaveName(AppState& s, const std::string& name, const std::string& extension,
                     const std::string& title, bool ask) {
  if (!ask) return (name.size() >= 4 ? name.substr(0, name.size() - 4) : name) + extension;
  FlushMemory(s, kDialogFlushMegabytes);
  platform::FileDialogRequest request = DialogRequest(s, name, title);
  request.filters = {extension + " files {*" + extension + "}"};
  request.defaultName = WithExtension(FilePart(name), extension);
  request.defaultExtension = extension;
  const auto chosen = s.host.SaveFileDialog(request);
  return chosen ? KeptName(s, *chosen) : std::string();
}

// The existing-file question and the attribute checks; true when the save may go on.
bool MayWriteTo(AppState& s, const std::string& name, const std::string& path, bool ask) {
  std::error_code ec;
  if (ask && fs::exists(path, ec) &&
      s.host.ShowMessage(name, "ファイルが存在します。上書きしますか？",
                         platform::MessageButtons::OkCancel,
                         platform::MessageIcon::Question) == platform::MessageResult::Cancel)
    return false;
  return CheckFileForSave(s.host, path);
}

void ShowWriteFailure(AppState& s, WriteResult result) {
  if (result == WriteResult::RowsFailed)
    s.host.ShowMessage("書き込み失敗。", "ERROR", platform::MessageButtons::Ok,
                       platform::MessageIcon::Error);
  s.host.ShowMessage("別の位置にセーブして下さい。", "書き込み失敗", platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
}

bool CanSavePicture(const AppState& s) {
  return s.canvas.HasPicture() && s.workBlock != nullptr;
}

}  // namespace

std::string KeptName(const AppState& s, const std::string& path) {
  std::error_code ec;
  const fs::path chosen = fs::weakly_canonical(fs::absolute(path), ec);
  const fs::path working = fs::weakly_canonical(s.config.workingDirectory, ec);
  if (!ec && chosen.parent_path() == working) return "./" + chosen.filename().string();
  return path;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

LoadOutcome LoadCommand(AppState& state) {
  SetStatusText(state, "★ロード");
  FlushMemory(state, kDialogFlushMegabytes);
  platform::FileDialogRequest request = DialogRequest(state, state.currentFileName, "ロード");
  request.filters = {kPictureFilesFilter, "lmv files {*.lmv}",
                     "Pictures and drawing settings {*.lmv *.bmp *.png *.jpg *.draw_define}"};
  const auto chosen = state.host.OpenFileDialog(request);
  if (!chosen) {
    RestoreModeStatusText(state);
    return LoadOutcome::Cancelled;
  }
  return LoadChosenFile(state, KeptName(state, *chosen));
}

std::optional<std::string> AskFileToOpen(AppState& state, const std::string& title,
                                         const std::vector<std::string>& filters) {
  FlushMemory(state, kDialogFlushMegabytes);
  platform::FileDialogRequest request = DialogRequest(state, state.currentFileName, title);
  request.filters = filters;
  const auto chosen = state.host.OpenFileDialog(request);
  if (!chosen) return std::nullopt;
  return KeptName(state, *chosen);
}

LoadOutcome LoadDroppedFile(AppState& state, const std::string& path) {
  return LoadChosenFile(state, KeptName(state, path));
}

bool LoadCurrentFile(AppState& state) {
  const auto sizing = SizingForLoad(state, state.currentFileName);
  if (!sizing) return false;
  SetStatusText(state, "★ロード中...");
  // The shown picture is set aside while the file is read: the user agreed to replace
  // it with the file, so a load that fails puts it back as it was, journal and all.
  Canvas previous = SetAsideCanvas(state.canvas);
  const bool loaded = LoadCanvasPicture({state.host, state.allocator},
                                        state.Resolve(state.currentFileName),
                                        state.currentFileName, state.canvas, *sizing) &&
                      EnlargeLoadedPicture(state, state.currentFileName, *sizing);
  if (!loaded) {
    state.canvas = std::move(previous);
    return false;
  }
  previous.Release();
  state.canvasWidth = state.canvas.Width();
  state.canvasHeight = state.canvas.Height();
  state.sound.PlayRandomFeedbackSound("load");
  EnablePictureCommands(state.menu, true);
  EnableContinuousPasteCommands(state);
  RebuildFolderPictureList(state);
  state.host.MenuChanged(state.menu);
  ResetUndoJournal(state);
  ResetView(state);
  return true;
}

void LoadPreviousPicture(AppState& state) {
  LoadNeighbour(state, false);
}
void LoadNextPicture(AppState& state) {
  LoadNeighbour(state, true);
}

bool SaveThroughPipeline(AppState& state, std::string& name, const std::string& extension,
                         const std::string& title, const SaveWriter& writer, bool ask,
                         bool askReplace) {
  const std::string chosen = SaveName(state, name, extension, title, ask);
  if (chosen.empty()) return false;
  SetStatusText(state, "★セーブファイルの属性を調べています...");
  const std::string path = state.Resolve(chosen);
  if (!MayWriteTo(state, chosen, path, askReplace)) return false;

  SetStatusText(state, "★セーブ中...");
  SaveFile file(path, state.files.saveOptions);
  if (!file.Open()) {
    state.host.ShowMessage("ファイルオープン不可: " + chosen, "エラー",
                           platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return false;
  }
  const WriteResult result = writer(file);
  if (result != WriteResult::Written || !file.Commit()) {
    file.Abandon();
    ShowWriteFailure(state, result);
    return false;
  }
  name = chosen;
  state.sound.PlayRandomFeedbackSound("save");
  RebuildFolderPictureList(state);
  return true;
}

bool SaveNative(AppState& state, std::string& name, const PictureArea& area, bool ask) {
  if (!CanSavePicture(state)) return false;
  return SaveThroughPipeline(
      state, name, ".lmv", "LMVセーブ",
      [&](SaveFile& file) {
        return WriteNativeFile(file, state.canvas, area, state.workBlock.get(), kWorkBlockBytes);
      },
      ask);
}

bool SaveBmp(AppState& state, int bits, bool ask) {
  const auto save = std::ranges::find(kBmpSaves, bits, &BmpSave::bits);
  if (!CanSavePicture(state) || save == std::end(kBmpSaves)) return false;
  return SaveThroughPipeline(
      state, state.currentFileName, ".bmp", save->title,
      [&](SaveFile& file) {
        return WriteBmpFile(file, state.canvas.display, state.canvas.pictureHeader, bits,
                            state.workBlock.get(), kWorkBlockBytes);
      },
      ask);
}

void SaveNativeCommand(AppState& state) {
  if (!CanSavePicture(state)) return;
  SetStatusText(state, "★LMVセーブ");
  SaveNative(state, state.currentFileName, {0, 0, state.canvas.Width(), state.canvas.Height()},
             true);
  RestoreModeStatusText(state);
}

void SaveBmpCommand(AppState& state, int commandId) {
  const auto save = std::ranges::find(kBmpSaves, commandId, &BmpSave::command);
  if (!CanSavePicture(state) || save == std::end(kBmpSaves)) return;
  SetStatusText(state, std::string("★") + save->title);
  SaveBmp(state, save->bits, true);
  RestoreModeStatusText(state);
}

void SaveRectangle(AppState& state, double x1, double y1, double x2, double y2) {
  if (!CanSavePicture(state)) return;
  SetStatusText(state, "★矩形部分セーブ中...");
  // Corners are pixel centres; the rectangle takes every pixel they round to. Points
  // placed outside the picture are held to its edges.
  auto side = [](double a, double b, int size, int& start, int& length) {
    start = std::clamp(static_cast<int>(std::floor(std::min(a, b) + 0.5)), 0, size - 1);
    const int end = std::clamp(static_cast<int>(std::floor(std::max(a, b) + 0.5)), 0, size - 1);
    length = end - start + 1;
  };
  PictureArea area;
  side(x1, x2, state.canvas.Width(), area.left, area.width);
  side(y1, y2, state.canvas.Height(), area.top, area.height);
  std::string name = state.currentFileName;
  SaveNative(state, name, area, true);
  RestoreModeStatusText(state);
}

void SaveRectangleCommand(AppState& state) {
  common::ChainList& lists = state.chains.lists;
  const common::ChainHandle chain = state.chains.rectangle;
  if (lists.Count(chain) < 2) return;
  const BasePoint* first = PointOf(lists.First(chain));
  const BasePoint* last = PointOf(lists.Last(chain));
  SaveRectangle(state, first->x, first->y, last->x, last->y);
}

void RebuildFolderPictureList(AppState& state) {
  const fs::path current(state.Resolve(state.currentFileName));
  state.files.folderPictures.Rebuild(current.parent_path().string(), current.filename().string());
}

}  // namespace lumavex
