#include "lumavex/shell/ReducedSave.h"

#include "lumavex/files/BmpWrite.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Status.h"

namespace lumavex {
namespace {

constexpr char kReducedSaveTitle[] = "縮小BMPセーブ";

void ShowError(AppState& state, const char* text, const char* caption) {
  state.host.ShowMessage(text, caption, platform::MessageButtons::Ok,
                         platform::MessageIcon::Exclamation);
}

}  // namespace

bool SaveReducedBmp(AppState& state, bool ask) {
  const Canvas& canvas = state.canvas;
  if (!canvas.HasPicture() || state.workBlock == nullptr) return false;
  const int w = canvas.Width(), h = canvas.Height();
  const ReducedSaveSize target = ReducedSaveTarget({w, h}, state.settings.reductionNumerator,
                                                   state.settings.reductionDenominator);
  if (!target.ok) {
    ShowError(state, target.message, kReducedSaveErrorCaption);
    return false;
  }
  if (!ConfirmPictureArea(state.host, state.allocator.Status(), target.size.width,
                          target.size.height))
    return false;

  PixelPlane reduced;
  if (!reduced.Create(state.allocator, target.size.width, target.size.height, 4)) return false;
  // Rows in the colours the user sees, so that a selection does not show in the copy.
  std::vector<uint32_t> line(static_cast<size_t>(w));
  const auto source = [&](int y) {
    const uint32_t* row = canvas.display.Row32(y);
    for (int x = 0; x < w; ++x) line[x] = TrueDisplayColour(row[x]);
    return line.data();
  };
  if (!ReducePicture(source, w, h, reduced)) return false;

  return SaveThroughPipeline(
      state, state.currentFileName, ".bmp", kReducedSaveTitle,
      [&](SaveFile& file) {
        return WriteBmpFile(file, reduced, canvas.pictureHeader, 24, state.workBlock.get(),
                            kWorkBlockBytes);
      },
      ask);
}

void SaveReducedBmpCommand(AppState& state) {
  if (!state.canvas.HasPicture()) return;
  SendCommand(state, cmd::kSelectAll);  // the whole picture is saved, all of it selected
  SetStatusText(state, std::string("★") + kReducedSaveTitle);
  SaveReducedBmp(state, true);
  RestoreModeStatusText(state);
}

int SaveReducedBatch(AppState& state, const std::vector<std::string>& names) {
  if (!AllNativeFileNames(names)) {
    ShowError(state, kNotAllNativeFiles, kNotAllNativeFilesCaption);
    return 0;
  }
  int saved = 0;
  for (const std::string& name : names) {
    state.currentFileName = name;
    if (LoadCurrentFile(state) && SaveReducedBmp(state, false)) ++saved;
  }
  return saved;
}

}  // namespace lumavex
