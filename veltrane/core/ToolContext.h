#pragma once
// What the folder commands work with, and the steps they share: listing files,
// moving files to the recycle bin and turning failures into the tool's messages.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Memory.h"
#include "platform/UiHost.h"
#include "veltrane/codec/CodecResult.h"
#include "veltrane/core/Archiver.h"
#include "platform/ProgressStrip.h"

namespace veltrane {

struct ToolContext {
  platform::UiHost& host;
  const std::filesystem::path& folder;  // the working folder, absolute
  platform::Allocator& allocator;
  const Archiver& archiver;
  platform::ProgressStrip& progress;
  const std::string& backupPath;  // empty when no backup folder is configured
};

// The working folder's files with the three-letter `extension` in descending name
// order. Ends the tool when the list cannot be held in memory.
std::vector<std::string> ListOrEnd(ToolContext& tool, std::string_view extension);

// Moves the file `name` of the working folder to the recycle bin; a failure is
// shown with the file's full path and the command goes on.
void MoveToRecycleBin(ToolContext& tool, const std::string& name);

// Shows what a compression or expansion left to say. Open, read and memory
// failures end the tool; a failed write or an oversized picture is reported and
// false is returned so that the command stops. Refused names are reported one by
// one and the command goes on.
bool ReportCodecResult(ToolContext& tool, const CodecResult& result);

// Shows the specific message, then the generic "エラー" box, and ends the tool.
[[noreturn]] void EndWithError(platform::UiHost& host, const std::string& text, int exitCode);

// Reports each name that was not written because it would leave the working folder.
void ReportRefusedNames(platform::UiHost& host, const std::vector<std::string>& names);
// Reports each archive entry left out because an earlier entry had its name.
void ReportDuplicateNames(platform::UiHost& host, const std::vector<std::string>& names);

}  // namespace veltrane
