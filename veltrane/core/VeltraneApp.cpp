#include "veltrane/core/VeltraneApp.h"

#include <variant>

#include "veltrane/core/ArchiveCommands.h"
#include "veltrane/core/CommandIds.h"
#include "veltrane/core/CompressIni.h"
#include "veltrane/core/HelpText.h"
#include "veltrane/core/Messages.h"
#include "veltrane/core/PictureCommands.h"
#include "veltrane/core/ResultLine.h"
#include "veltrane/core/ToolContext.h"

namespace veltrane {

platform::MenuBar BuildMenu() {
  platform::MenuBar menu;
  menu.popups.push_back(
      {kMenuCaption,
       {{cmd::kCompressPictures, "カレントフォルダの全 *.bmp *.lmv を *.VTZ に圧縮", ""},
        {cmd::kArchiveAll, "カレントフォルダの全 *.VTZ *.wav を *.zip に圧縮", ""},
        {cmd::kExtractArchives, "カレントフォルダの全 *.zip を展開", ""},
        {cmd::kExpandPictures, "カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開", ""},
        {cmd::kHelp, "ヘルプ", ""},
        {cmd::kQuit, "終了", ""}}});
  return menu;
}

VeltraneApp::VeltraneApp(platform::UiHost& host, VeltraneConfig config)
    : host_(host),
      folder_(std::filesystem::absolute(config.workingDirectory)),
      allocator_(host, std::move(config.memoryStatus)),
      archiver_(folder_),
      progress_(surface_, host),
      menu_(BuildMenu()),
      font_(fonts_.CreateFont({"ＭＳ ゴシック", kStatusLineHeight - 2, 7, 400, false})) {}

void VeltraneApp::Start(int clientWidth, int clientHeight) {
  Resize(clientWidth, clientHeight);
  host_.MenuChanged(menu_);
  ReadSettings();
  started_ = true;
  ShowStatusLines();
}

std::vector<std::string> VeltraneApp::StatusLines() const {
  return result::StatusLines(folder_.string(), backupPath_, lastResult_);
}

void VeltraneApp::ShowStatusLines() {
  if (!started_ || !font_) return;
  int y = kStatusTop;
  for (const std::string& line : StatusLines()) {
    surface_.Fill({0, y, surface_.Width(), y + kStatusLineHeight}, kWindowColour);
    font_->DrawText(surface_, kStatusLeft, y, line, kStatusTextColour, kWindowColour);
    y += kStatusLineHeight;
  }
  host_.Present(surface_,
                platform::Intersect({0, kStatusTop, surface_.Width(), y}, surface_.Bounds()));
}

void VeltraneApp::ReadSettings() {
  const IniSettings settings = ReadCompressIni(folder_ / kCompressIniName);
  std::error_code error;
  if (settings.status == IniStatus::OpenFailed)
    platform::Fatal(host_,
                    std::filesystem::exists(folder_ / kCompressIniName, error)
                        ? text::OpenFailed(kCompressIniName)
                        : text::CompressIniMissing(folder_.string()),
                    text::kCaptionError, kExitResourceFailure);
  if (settings.status == IniStatus::ReadFailed)
    platform::Fatal(host_, text::kError, text::kCaptionError, kExitResourceFailure,
                    platform::MessageIcon::None);
  backupPath_ = settings.backupPath;
}

void VeltraneApp::Resize(int clientWidth, int clientHeight) {
  surface_.Resize(clientWidth, clientHeight);
  surface_.Fill(surface_.Bounds(), kWindowColour);
  ShowStatusLines();
}

void VeltraneApp::HandleEvent(const platform::WindowEvent& event) {
  if (const auto* command = std::get_if<platform::CommandEvent>(&event)) {
    HandleCommand(command->id);
  } else if (const auto* size = std::get_if<platform::SizeEvent>(&event)) {
    Resize(size->clientWidth, size->clientHeight);
    host_.Present(surface_, surface_.Bounds());
  } else if (std::holds_alternative<platform::PaintEvent>(event)) {
    host_.Present(surface_, surface_.Bounds());
  }
}

void VeltraneApp::HandleCommand(int id) {
  ToolContext tool{host_, folder_, allocator_, archiver_, progress_, backupPath_};
  switch (id) {
    case cmd::kCompressPictures:
      return ShowResult(CompressAllPictures(tool));
    case cmd::kArchiveAll:
      return ShowResult(ArchiveAll(tool));
    case cmd::kExtractArchives:
      return ShowResult(ExtractAllArchives(tool));
    case cmd::kExpandPictures:
      return ShowResult(ExpandAllPictures(tool));
    case cmd::kHelp:
      host_.ShowMessage(HelpText(), text::kCaptionHelp);
      return;
    case cmd::kQuit:
      host_.PostQuit(kExitQuit);
      return;
    default:
      return;
  }
}

void VeltraneApp::ShowResult(std::string line) {
  lastResult_ = std::move(line);
  ShowStatusLines();
}

}  // namespace veltrane
