#pragma once
// The command choice that runs before every command: the marks of the previous
// drawing command end, and the marked rectangle starts empty.

namespace lumavex {

class AppState;

// Runs before every command: ends the previous drawing command's life by clearing
// the processing marks inside the marked rectangle, then empties it.
void NoteCommand(AppState& state, int previous, int id);

}  // namespace lumavex
