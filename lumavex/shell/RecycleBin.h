#pragma once
// Files of the working folder moved to the desktop's trash.

#include <string>

namespace lumavex {

class AppState;

// Moves the files that `relativePath` (starting with "./", the last part may hold
// '*' and '?') names inside the working folder to the trash. A failure is shown
// with the full path and "File をゴミ箱に移動できません"; nothing matching is no failure.
void MoveToRecycleBin(AppState& state, const std::string& relativePath);

}  // namespace lumavex
