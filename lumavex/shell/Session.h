#pragma once
// The session file "CurrentFileInfo.ini": the picture the undo journal starts from,
// so that a run that did not end in order can be rebuilt at the next start.

namespace lumavex {

class AppState;

// Rewrites the session file's size and file name in place (the first step of a
// fresh journal): the picture the journal starts from.
void UpdateSession(AppState& state);
// The start-up end of the session: a fresh session file, or, after a run that did
// not end through the End command, the offer to rebuild its picture from the journal.
void RestoreSession(AppState& state);
// Writes the session file anew with the canvas size and the current file name.
void WriteSessionFresh(AppState& state);

}  // namespace lumavex
