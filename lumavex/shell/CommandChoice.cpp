#include "lumavex/shell/CommandChoice.h"

#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"

namespace lumavex {

void NoteCommand(AppState& state, int previous, int id) {
  const CommandEntry* chosen = FindCommand(id);
  const Choice choice = chosen ? chosen->choice : Choice::Ordinary;
  if (choice == Choice::Neutral) return;
  if (choice == Choice::RepeatableMarking && id == previous) return;
  if (IsMarking(previous)) {
    ClearMarks(state.canvas, state.markedRectangle, kProcessingMarks);
    state.tablet.contextOpen = false;
  }
  state.markedRectangle = PixelRect{};
}

}  // namespace lumavex
