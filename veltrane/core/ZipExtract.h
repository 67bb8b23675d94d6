#pragma once
// Extracting every entry of a zip archive into one folder, without its paths.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "veltrane/core/Archiver.h"

namespace veltrane {

// The name an entry is extracted under: its last path component ('/' and '\'
// both separate). Empty for a folder entry, which is skipped. Nothing when the name
// points outside the extraction folder: an absolute path, a drive prefix or a ".."
// component.
std::optional<std::string> FlattenedEntryName(std::string_view entryName);

// Writes every file entry of `archive` into `folder` under its flattened name,
// replacing existing files; each file keeps the entry's modification time and is
// written through a temporary file. Refused names are listed in the result.
ArchiverResult ExtractFlattened(const std::filesystem::path& archive,
                                const std::filesystem::path& folder);

}  // namespace veltrane
