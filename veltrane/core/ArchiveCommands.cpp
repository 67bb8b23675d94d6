#include "veltrane/core/ArchiveCommands.h"

#include <algorithm>
#include <memory>
#include <new>

#include "veltrane/codec/FileStream.h"
#include "veltrane/core/BackupCompare.h"
#include "veltrane/core/CommandLine.h"
#include "veltrane/core/Messages.h"
#include "veltrane/core/ResultLine.h"

namespace veltrane {

namespace {

namespace fs = std::filesystem;

fs::path BackupFolder(const ToolContext& tool) {
  return tool.folder / tool.backupPath;
}

// Runs "u <archive> <name>" with an output block as large as the file, as the
// archiver has always been called.
void UpdateArchive(ToolContext& tool, const std::string& archive, const std::string& name) {
  FileStream file;
  if (!file.Open(tool.folder / name, "rb"))
    platform::Fatal(tool.host, text::OpenFailed(name), text::kCaptionError, kExitResourceFailure);
  const size_t length = static_cast<size_t>(std::max<uint64_t>(file.Length().value_or(0), 1));
  file.Close();
  std::unique_ptr<char[]> output(new (std::nothrow) char[length]);
  if (!output) EndWithError(tool.host, text::kOutputBlockFailed, kExitArchiverFailure);
  const std::string command = "u " + QuoteArgument(archive) + " " + QuoteArgument(name);
  if (!tool.archiver.Run(command, {output.get(), length}).Ok())
    EndWithError(tool.host, text::ArchiverFailed(archive), kExitArchiverFailure);
}

// Moves the new archive to the recycle bin when the backup folder holds the same;
// true when it did.
bool DropIfBackedUp(ToolContext& tool, const std::string& archive) {
  if (tool.backupPath.empty()) return false;
  const fs::path backup = BackupFolder(tool) / archive;
  std::error_code error;
  if (!fs::is_regular_file(backup, error)) return false;
  const ComparisonResult comparison = CompareArchives(tool.folder / archive, backup);
  switch (comparison.outcome) {
    case ArchiveComparison::Identical:
      MoveToRecycleBin(tool, archive);
      return true;
    case ArchiveComparison::Different:
      return false;
    case ArchiveComparison::OpenFailed:
      platform::Fatal(tool.host, text::OpenFailed(comparison.failedFile), text::kCaptionError,
                      kExitResourceFailure);
    case ArchiveComparison::ReadFailed:
      platform::Fatal(tool.host, text::kError, text::kCaptionError, kExitResourceFailure,
                      platform::MessageIcon::None);
  }
  return false;
}

}  // namespace

std::string ArchiveAll(ToolContext& tool) {
  std::error_code error;
  if (!tool.backupPath.empty() && !fs::exists(BackupFolder(tool), error)) {
    tool.host.ShowMessage(text::kBackupMissing, text::kCaptionAborted);
    return result::BackupMissing();
  }
  for (const std::string& name : ListOrEnd(tool, "zip")) MoveToRecycleBin(tool, name);
  size_t kept = 0, identical = 0;
  for (const char* extension : {"VTZ", "wav"}) {
    for (const std::string& name : ListOrEnd(tool, extension)) {
      const std::string archive = name + ".zip";
      UpdateArchive(tool, archive, name);
      ++(DropIfBackedUp(tool, archive) ? identical : kept);
    }
  }
  tool.host.ShowMessage(text::kCompressed, text::kCaptionCompressed);
  return result::Archived(kept, identical);
}

std::string ExtractAllArchives(ToolContext& tool) {
  const std::vector<std::string> names = ListOrEnd(tool, "zip");
  tool.progress.ProgressStart(names.size());
  for (const std::string& name : names) {
    tool.progress.BeforeItem();
    const ArchiverResult result = tool.archiver.Run("e -aoa " + QuoteArgument(name));
    if (!result.Ok()) EndWithError(tool.host, text::ArchiverFailed(name), kExitArchiverFailure);
    ReportRefusedNames(tool.host, result.refusedNames);
    ReportDuplicateNames(tool.host, result.duplicateNames);
  }
  tool.progress.ProgressEnd();
  tool.host.ShowMessage(text::kArchivesExtracted, text::kCaptionExpanded);
  return result::Extracted(names.size());
}

}  // namespace veltrane
