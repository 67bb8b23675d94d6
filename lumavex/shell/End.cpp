#include "lumavex/shell/End.h"

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/RecycleBin.h"

namespace lumavex {

void EndCommand(AppState& state) {
  state.chains.ClearAll();
  state.workBlock.reset();
  state.textBlock.reset();
  state.canvas.Release();
  state.undoJournal.Reset();  // closes the undo file before it goes to the trash
  // Without these files the next start knows that this run ended in order.
  MoveToRecycleBin(state, "./LMV_Resource/CurrentFileInfo.ini");
  MoveToRecycleBin(state, "./LMV_Resource/UndoFile*.dat");
  state.surface.Resize(0, 0);
  state.ended = true;
  state.host.PostQuit(1);
}

}  // namespace lumavex
