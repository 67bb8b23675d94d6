#pragma once
// The status item at the right end of the menu bar, and the end of the program when
// memory runs out.

#include <string>

namespace lumavex {

class AppState;

// Replaces the caption of the status item at the right end of the menu bar.
void SetStatusText(AppState& state, const std::string& text);

// Puts back the status text of the current mode.
void RestoreModeStatusText(AppState& state);

// Shows "メモリが確保出来ません。" and ends the program (code 0).
[[noreturn]] void OutOfMemory(AppState& state);

}  // namespace lumavex
