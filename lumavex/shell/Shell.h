#pragma once
// The shell's commands and services, each a function over the program's state.

#include <string>

#include "lumavex/shell/AppState.h"

namespace lumavex {

// Carries out command `id` as the window's command case does; every path into a
// tool (menu, key, later phases) comes through here.
void SendCommand(AppState& state, int id);

// Closes the undo step that the last press opened (every button release does).
void CloseUndoStep(AppState& state);

// Greys or enables undo, undo frame only and redo as the journal allows.
void SyncUndoMenu(AppState& state);
// Connects the journal to the menu (undo and redo items) and to the session file.
void WireUndoJournal(AppState& state);
// 40008 / 40284: takes back the last step, both layers or the frames only.
void UndoCommand(AppState& state, UndoMode mode);
// 40180: puts the last undone step back.
void RedoCommand(AppState& state);

// Rewrites the session file's size and file name in place (the first step of a
// fresh journal): the picture the journal starts from.
void UpdateSession(AppState& state);
// The start-up end of the session: a fresh session file, or, after a run that did
// not end through the End command, the offer to rebuild its picture from the journal.
void RestoreSession(AppState& state);

// Replaces the caption of the status item at the right end of the menu bar.
void SetStatusText(AppState& state, const std::string& text);

// Puts back the status text of the current mode.
void RestoreModeStatusText(AppState& state);

// Shows "メモリが確保出来ません。" and ends the program (code 0).
[[noreturn]] void OutOfMemory(AppState& state);

// 40079: dialog 111, the area question, then a blank picture of the chosen size.
void NewPictureCommand(AppState& state);
// 40080: a blank picture of the current canvas size, with the progress bar.
void CreateBlankPictureCommand(AppState& state);

// 40052: pages other programs out by briefly taking two thirds of physical memory.
void CleanMemoryCommand(AppState& state);
// The small form run before file dialogs: takes and frees `megabytes`.
void FlushMemory(AppState& state, int megabytes);
// 40181: shows the free page file and physical memory.
void FreeMemoryCommand(AppState& state);

// 40006: frees everything, moves the session and undo files to the trash, quits with 1.
void EndCommand(AppState& state);

// Writes the session file anew with the canvas size and the current file name.
void WriteSessionFresh(AppState& state);

// Moves the files that `relativePath` (starting with "./", the last part may hold
// '*' and '?') names inside the working folder to the trash. A failure is shown
// with the full path and "File をゴミ箱に移動できません"; nothing matching is no failure.
void MoveToRecycleBin(AppState& state, const std::string& relativePath);

}  // namespace lumavex
