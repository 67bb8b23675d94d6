#include "veltrane/core/ToolContext.h"

#include <new>

#include "veltrane/codec/FolderList.h"
#include "veltrane/core/Messages.h"

namespace veltrane {

using platform::MessageButtons;
using platform::MessageIcon;

std::vector<std::string> ListOrEnd(ToolContext& tool, std::string_view extension) {
  try {
    return ListFiles(tool.folder, extension);
  } catch (const std::bad_alloc&) {
    platform::Fatal(tool.host, text::kListMemoryFailed, text::kCaptionError, kExitResourceFailure,
                    MessageIcon::None);
  }
}

void MoveToRecycleBin(ToolContext& tool, const std::string& name) {
  const std::string path = (tool.folder / name).string();
  if (!tool.host.MoveToTrash(path)) tool.host.ShowMessage(path, text::kCaptionTrashFailed);
}

void EndWithError(platform::UiHost& host, const std::string& text, int exitCode) {
  host.ShowMessage(text, text::kCaptionError);
  platform::Fatal(host, text::kError, text::kCaptionError, exitCode, MessageIcon::None);
}

void ReportRefusedNames(platform::UiHost& host, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    host.ShowMessage(text::NameRefused(name), text::kCaptionNameRefused, MessageButtons::Ok,
                     MessageIcon::Exclamation);
}

void ReportDuplicateNames(platform::UiHost& host, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    host.ShowMessage(text::NameDuplicated(name), text::kCaptionNameRefused, MessageButtons::Ok,
                     MessageIcon::Exclamation);
}

bool ReportCodecResult(ToolContext& tool, const CodecResult& result) {
  ReportRefusedNames(tool.host, result.refusedNames);
  platform::UiHost& host = tool.host;
  switch (result.failure) {
    case CodecFailure::None:
      return true;
    case CodecFailure::Open:
      platform::Fatal(host, text::OpenFailed(result.fileName), text::kCaptionError,
                      kExitResourceFailure);
    case CodecFailure::Read:
      platform::Fatal(host, text::kCorruptFile, text::kCaptionErrorLatin, kExitResourceFailure);
    case CodecFailure::Memory:
      platform::Fatal(host, text::kError, text::kCaptionError, kExitResourceFailure,
                      MessageIcon::None);
    case CodecFailure::Write:
      host.ShowMessage(text::WriteFailed(result.fileName), text::kCaptionError, MessageButtons::Ok,
                       MessageIcon::Exclamation);
      return false;
    case CodecFailure::TooLarge:
      host.ShowMessage(text::PictureTooLarge(result.fileName), text::kCaptionError,
                       MessageButtons::Ok, MessageIcon::Exclamation);
      return false;
  }
  return false;
}

}  // namespace veltrane
