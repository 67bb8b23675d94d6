#include "lumavex/shell/SaveCommands.h"

#include <string>
#include <vector>

#include "lumavex/files/Png.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/SettingsFile.h"
#include "lumavex/shell/Status.h"

namespace lumavex {
namespace {

bool AppendBytes(void* context, const void* data, size_t size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(context);
  const auto* from = static_cast<const uint8_t*>(data);
  bytes->insert(bytes->end(), from, from + size);
  return true;
}

// Writes bytes prepared in memory; the pipeline reports a failure.
WriteResult WriteAll(SaveFile& file, const void* data, size_t size) {
  return file.Write(data, size) ? WriteResult::Written : WriteResult::RowsFailed;
}

}  // namespace

void SavePngCommand(AppState& state, int commandId) {
  if (!state.canvas.HasPicture()) return;
  const bool grey = commandId == cmd::kSavePngGrey;
  SetStatusText(state, grey ? "★PNG２５６色グレーセーブ" : "★PNGセーブ");
  // The picture is encoded in memory first so that only the file's own writes can
  // fail inside the pipeline, which reports them once.
  std::vector<uint8_t> encoded;
  const PngByteSink sink{&encoded, AppendBytes};
  if (!WritePng(state.canvas.display, grey ? PngColour::Grey : PngColour::Rgb, sink, state.host)) {
    RestoreModeStatusText(state);
    return;
  }
  if (SaveThroughPipeline(state, state.currentFileName, ".png",
                          grey ? "PNG２５６色グレービットマップセーブ" : "PNGセーブ",
                          [&](SaveFile& file) { return WriteAll(file, encoded.data(), encoded.size()); },
                          true))
    RestoreModeStatusText(state);
}

void SaveDrawingSettingsCommand(AppState& state) {
  SetStatusText(state, "★描画設定セーブ");
  std::string error;
  const auto encoded = EncodeDrawingSettings(
      state.settings, DrawingColours{state.headColour, state.terminationColour}, &error);
  if (!encoded) {
    state.host.ShowMessage(error, "書き込み失敗", platform::MessageButtons::Ok,
                           platform::MessageIcon::Exclamation);
    return;
  }
  std::string name = state.currentFileName;
  if (SaveThroughPipeline(state, name, ".draw_define", "描画設定セーブ",
                          [&](SaveFile& file) { return WriteAll(file, encoded->data(), encoded->size()); },
                          true))
    RestoreModeStatusText(state);
}

}  // namespace lumavex
