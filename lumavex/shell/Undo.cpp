#include "lumavex/shell/Undo.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/Session.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {

void SyncUndoMenu(AppState& state) {
  state.menu.Enable(cmd::kUndo, state.undoJournal.CanUndo());
  state.menu.Enable(cmd::kUndoFrameOnly, state.undoJournal.CanUndo());
  state.menu.Enable(cmd::kRedo, state.undoJournal.CanRedo());
  state.host.MenuChanged(state.menu);
}

void WireUndoJournal(AppState& state) {
  state.undoJournal.OnMenuStateChanged([&state] { SyncUndoMenu(state); });
  state.undoJournal.OnSessionRefresh([&state] { UpdateSession(state); });
}

void ResetUndoJournal(AppState& state) {
  state.undoJournal.Reset();
  SyncUndoMenu(state);
}

bool UndoDataExists(const AppState& state) {
  return state.undoJournal.CanUndo();
}

void CloseUndoStep(AppState& state) { state.undoJournal.CloseStep(); }

void UndoCommand(AppState& state, UndoMode mode) {
  if (!state.canvas.HasPicture() || !state.undoJournal.CanUndo()) return;
  SetStatusText(state, "★アンドゥー中...");
  const HistoryResult result = state.undoJournal.Undo(state.canvas, mode);
  if (result.applied) state.sound.PlayFeedbackSound("undo.wav");
  RestoreModeStatusText(state);
  Redraw(state);
}

void RedoCommand(AppState& state) {
  if (!state.canvas.HasPicture() || !state.undoJournal.CanRedo()) return;
  SetStatusText(state, "★リドゥー中...");
  const HistoryResult result = state.undoJournal.Redo(state.canvas);
  if (result.applied) state.sound.PlayFeedbackSound("redo.wav");
  RestoreModeStatusText(state);
  Redraw(state);
}

}  // namespace lumavex
