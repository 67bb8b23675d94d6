#pragma once
// Moving files to the desktop's trash.

#include <string>

namespace platform::qt {

// Moves the file at `path` to the user's trash; false when it is not there afterwards.
// A trash that would land outside the user's data folder counts as a failure, and the
// file is put back where it was.
bool MoveFileToTrash(const std::string& path);

}  // namespace platform::qt
