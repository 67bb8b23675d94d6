#pragma once
// The mouse buttons as the main window receives them.

#include "platform/Events.h"

namespace lumavex {

class AppState;

// Presses, moves and releases of the left and right buttons.
void OnMouse(AppState& state, const platform::MouseEvent& event);

}  // namespace lumavex
