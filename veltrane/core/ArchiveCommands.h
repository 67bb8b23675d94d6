#pragma once
// The two commands between the working folder's files and their ".zip" archives.

#include "veltrane/core/ToolContext.h"

namespace veltrane {

// Packs every ".VTZ" and then every ".wav" file into an archive of its own named
// "<file>.zip", after moving the old archives to the recycle bin. With a backup
// folder configured, a new archive identical to the backup's copy is moved to the
// recycle bin too; a configured folder that does not exist stops the command.
// Returns the one-line result.
std::string ArchiveAll(ToolContext& tool);

// Extracts every ".zip" archive of the working folder into it.
// Returns the one-line result.
std::string ExtractAllArchives(ToolContext& tool);

}  // namespace veltrane
