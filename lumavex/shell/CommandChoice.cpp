#include "lumavex/shell/CommandChoice.h"

#include <algorithm>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"

namespace lumavex {

void NoteCommand(AppState& state, int previous, int id) {
  const CommandSpec* chosen = FindCommand(id);
  const Choice choice = chosen ? chosen->choice : Choice::Ordinary;
  if (choice == Choice::Neutral) return;
  if (choice == Choice::RepeatableMarking && id == previous) return;
  if (IsMarking(previous)) ClearProcessingMarks(state.canvas, state.markedRectangle);
  state.markedRectangle = PixelRect{};
}

void ClearProcessingMarks(Canvas& canvas, const PixelRect& marked) {
  if (!canvas.HasPicture() || marked.Empty()) return;
  const int left = std::max(marked.left, 0), right = std::min(marked.right, canvas.Width() - 1);
  const int top = std::max(marked.top, 0), bottom = std::min(marked.bottom, canvas.Height() - 1);
  for (int y = top; y <= bottom; ++y) {
    uint32_t* row = canvas.display.Row32(y);
    for (int x = left; x <= right; ++x) row[x] &= ~kProcessingMarks;
  }
}

}  // namespace lumavex
