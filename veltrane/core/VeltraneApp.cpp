#include "veltrane/core/VeltraneApp.h"

#include <variant>

#include "veltrane/core/ArchiveCommands.h"
#include "veltrane/core/CommandIds.h"
#include "veltrane/core/CompressIni.h"
#include "veltrane/core/HelpText.h"
#include "veltrane/core/Messages.h"
#include "veltrane/core/PictureCommands.h"
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
      menu_(BuildMenu()) {}

void VeltraneApp::Start(int clientWidth, int clientHeight) {
  Resize(clientWidth, clientHeight);
  host_.MenuChanged(menu_);
  ReadSettings();
}

void VeltraneApp::ReadSettings() {
  const IniSettings settings = ReadCompressIni(folder_ / kCompressIniName);
  if (settings.status == IniStatus::OpenFailed)
    platform::Fatal(host_, text::OpenFailed(kCompressIniName), text::kCaptionError,
                    kExitResourceFailure);
  if (settings.status == IniStatus::ReadFailed)
    platform::Fatal(host_, text::kError, text::kCaptionError, kExitResourceFailure,
                    platform::MessageIcon::None);
  backupPath_ = settings.backupPath;
}

void VeltraneApp::Resize(int clientWidth, int clientHeight) {
  surface_.Resize(clientWidth, clientHeight);
  surface_.Fill(surface_.Bounds(), kWindowColour);
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
      return CompressAllPictures(tool);
    case cmd::kArchiveAll:
      return ArchiveAll(tool);
    case cmd::kExtractArchives:
      return ExtractAllArchives(tool);
    case cmd::kExpandPictures:
      return ExpandAllPictures(tool);
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

}  // namespace veltrane
