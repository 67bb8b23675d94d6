#pragma once
// Whether a freshly made archive is the same as the backup's copy. Archives of the
// same file made at different times may differ in a few bytes of their headers, so
// archives of equal length that differ in fewer than 7 bytes count as identical.

#include <filesystem>
#include <string>

namespace veltrane {

enum class ArchiveComparison { Identical, Different, OpenFailed, ReadFailed };

struct ComparisonResult {
  ArchiveComparison outcome = ArchiveComparison::Different;
  std::string failedFile;  // the file that could not be opened or read
};

// Counts the differing bytes of `fresh` and `backup` side by side; they differ as
// soon as 7 bytes have differed, or when one file is longer than the other.
ComparisonResult CompareArchives(const std::filesystem::path& fresh,
                                 const std::filesystem::path& backup);

}  // namespace veltrane
