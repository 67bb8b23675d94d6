#pragma once
// The keys as the main window receives them: which command each key sends with
// which modifiers, and the keys that act without a command.

#include <vector>

#include "platform/Events.h"

namespace lumavex {

class AppState;

// Key presses: ignored while a mouse button is held; most need a picture.
void OnKeyDown(AppState& state, const platform::KeyDownEvent& event);

// Every command identifier some key sends.
std::vector<int> KeyCommands();

}  // namespace lumavex
