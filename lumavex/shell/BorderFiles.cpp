#include "lumavex/shell/BorderFiles.h"

#include <filesystem>

#include "lumavex/files/BmpWrite.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr char kBorderExtension[] = ".border.bmp";
constexpr char kOpacityExtension[] = ".opacity.bmp";
constexpr char kNameCheck[] = "ファイル名チェック";

// The map in the file `name` beside the picture; empty when there is none, when it
// cannot be read or when its size is not the picture's.
GreyMap LoadMap(AppState& s, const std::string& name) {
  const std::string path = s.Resolve(name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  PixelPlane display, frame;
  if (!LoadPastePicture({s.host, s.allocator}, path, name, PasteVariant::SameSizeUnmarked,
                        display, frame))
    return {};
  if (display.Width() != s.canvas.Width() || display.Height() != s.canvas.Height()) {
    s.host.ShowMessage(name + "\nの大きさが画像と一致しないので使いません。", "ロードエラー",
                       platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return {};
  }
  GreyMap map{display.Width(), display.Height(), {}};
  map.levels.reserve(static_cast<size_t>(map.width) * map.height);
  for (int y = 0; y < map.height; ++y)
    for (int x = 0; x < map.width; ++x)
      map.levels.push_back(static_cast<uint8_t>(GreyLevel(display.At(x, y) & kColourMask)));
  return map;
}

bool HasFrame(const Canvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    const uint32_t* row = canvas.frame.Row32(y);
    for (int x = 0; x < canvas.Width(); ++x)
      if (Opacity(row[x]) > 0) return true;
  }
  return false;
}

// Selects the whole processing square and fills it as the one-colour fill over all
// selected area does, with the current settings.
void SelectAndFillOneColour(AppState& s) {
  SendCommand(s, cmd::kSelectAll);
  SendCommand(s, cmd::kFillOneColourSelectionStep);
}

}  // namespace

std::string SiblingName(const std::string& name, const std::string& extension) {
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? name.substr(0, dot) : name) + extension;
}

void LoadSurfaceMaps(AppState& s, GreyMap& border, GreyMap& opacity) {
  border = LoadMap(s, SiblingName(s.currentFileName, kBorderExtension));
  opacity = border.Empty() ? GreyMap{} : LoadMap(s, SiblingName(s.currentFileName, kOpacityExtension));
}

void MakeBorderFileCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  if (s.host.ShowMessage("ＬＭＶセーブしましたか？", "セーブ確認", platform::MessageButtons::YesNo,
                         platform::MessageIcon::Question) != platform::MessageResult::Yes)
    return;
  SelectAndFillOneColour(s);
  std::string name = SiblingName(s.currentFileName, ".lmv");
  SaveThroughPipeline(
      s, name, kBorderExtension, "２５６色グレービットマップセーブ",
      [&](SaveFile& file) {
        return WriteBmpFile(file, s.canvas.display, s.canvas.pictureHeader, 8, s.workBlock.get(),
                            kWorkBlockBytes);
      },
      false);
}

void MakeOpacityCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  if (!EndsWithIgnoringCase(s.currentFileName, kBorderExtension)) {
    s.host.ShowMessage("*.border.bmp ファイルではありません。", kNameCheck);
    return;
  }
  if (HasFrame(s.canvas)) {
    s.host.ShowMessage("フレームが存在します。", "フレームが存在しないことをチェック");
    return;
  }
  SelectAndFillOneColour(s);
  const std::string& name = s.currentFileName;
  s.currentFileName = name.substr(0, name.size() - std::size(kBorderExtension) + 1) +
                      kOpacityExtension;
}

void SaveOpacityFileCommand(AppState& s, int) {
  if (!s.canvas.HasPicture()) return;
  if (!EndsWithIgnoringCase(s.currentFileName, kOpacityExtension)) {
    s.host.ShowMessage("*.opacity.bmp ファイルではありません。", kNameCheck);
    return;
  }
  SendCommand(s, cmd::kSaveGrey256);
}

}  // namespace lumavex
