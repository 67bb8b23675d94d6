#pragma once
// Keys and mouse buttons as the main window receives them.

#include "platform/Events.h"

namespace lumavex {

class AppState;

// Key presses: ignored while a mouse button is held; most need a picture.
void OnKeyDown(AppState& state, const platform::KeyDownEvent& event);

// Presses, moves and releases of the left and right buttons.
void OnMouse(AppState& state, const platform::MouseEvent& event);

}  // namespace lumavex
