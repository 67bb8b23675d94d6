#pragma once
// The undo and redo commands over the App's undo journal, and the journal's menu state.

#include "lumavex/files/UndoJournal.h"

namespace lumavex {

class AppState;

// Closes the undo step that the last press opened (every button release does).
void CloseUndoStep(AppState& state);

// Greys or enables undo, undo frame only and redo as the journal allows.
void SyncUndoMenu(AppState& state);
// Connects the journal to the menu (undo and redo items) and to the session file.
void WireUndoJournal(AppState& state);
// Forgets the journal for a new or loaded picture and greys undo and redo.
void ResetUndoJournal(AppState& state);
// Whether the journal holds a step to undo, so that replacing the picture loses work.
bool UndoDataExists(const AppState& state);

// 40008 / 40284: takes back the last step, both layers or the frames only.
void UndoCommand(AppState& state, UndoMode mode);
// 40180: puts the last undone step back.
void RedoCommand(AppState& state);

}  // namespace lumavex
