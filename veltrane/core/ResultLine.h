#pragma once
// The one-line results the window shows after each folder command, and the lines
// that say what the tool works on.

#include <cstddef>
#include <string>
#include <vector>

namespace veltrane::result {

std::string Compressed(size_t pictures, size_t vtzFiles);
std::string Archived(size_t kept, size_t identical);
std::string BackupMissing();
std::string Extracted(size_t archives);
std::string Expanded(size_t vtzFiles);
// A command that stopped at a reported failure; `what` names the work, e.g. "compression".
std::string Stopped(const std::string& what);

// The client area's lines: the working folder, the backup path ("none" when empty)
// and the last command's result (a hint to the menu before the first command).
std::vector<std::string> StatusLines(const std::string& folder, const std::string& backupPath,
                                     const std::string& lastResult);

}  // namespace veltrane::result
