#pragma once
// The orderly end of the program.

namespace lumavex {

class AppState;

// 40006: frees everything, moves the session and undo files to the trash, quits with 1.
void EndCommand(AppState& state);

}  // namespace lumavex
