#pragma once
// Adding one file to a zip archive.

#include <filesystem>

#include "veltrane/core/Archiver.h"

namespace veltrane {

// Adds `file` to `archive` under its base name, replacing an entry of that name and
// creating the archive when it is missing. The entry is deflated (stored when that does not help)
// and keeps the file's modification time. The archive is rewritten through a temporary file, so a
// failure leaves the previous archive as it was.
ArchiverResult AddFileToArchive(const std::filesystem::path& archive,
                                const std::filesystem::path& file);

}  // namespace veltrane
