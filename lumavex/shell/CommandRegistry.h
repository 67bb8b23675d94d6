#pragma once
// The window's command case: every command identifier, from the menu, a key or a
// tool's later phase, is carried out here.

namespace lumavex {

class AppState;

// Carries out command `id` as the window's command case does; every path into a
// tool (menu, key, later phases) comes through here.
void SendCommand(AppState& state, int id);

}  // namespace lumavex
