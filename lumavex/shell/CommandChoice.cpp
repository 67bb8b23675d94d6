#include <algorithm>
#include <array>

#include "lumavex/curves/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/Tools.h"

namespace lumavex {
namespace {

// Commands that leave the marks and the marked rectangle alone: undo, zoom, view
// switches, help, parameter dialogs without a following mode, the commits of
// curves and surfaces, redo and the load-size policy.
constexpr std::array kNeutral = {
    40008, 40018, 40019, 40020, 40021, 40023, 40025, 40026, 40029, 40030, 40031, 40044, 40045,
    40048, 40049, 40052, 40061, 40066, 40067, 40075, 40077, 40078, 40090, 40092, 40093, 40095,
    40096, 40105, 40109, 40111, 40112, 40131, 40132, 40136, 40137, 40143, 40144, 40145, 40146,
    40147, 40148, 40152, 40153, 40156, 40157, 40166, 40167, 40168, 40169, 40174, 40176, 40177,
    40178, 40179, 40180, 40193, 40194, 40195, 40196, 40197, 40215, 40221, 40284};

// Commands whose processing marks the next command choice clears.
constexpr std::array kMarking = {
    40035, 40050, 40051, 40053, 40064, 40065, 40076, 40086, 40089, 40104, 40107, 40120, 40121,
    40122, 40123, 40124, 40125, 40127, 40128, 40130, 40133, 40134, 40135, 40140, 40151, 40154,
    40155, 40158, 40159, 40160, 40161, 40163, 40164, 40165, 40182, 40192, 40200, 40207, 40210,
    40212, 40214, 40220, 40222, 40223, 40239, 40242, 40245, 40256, 40263, 40267};

template <size_t N>
bool In(const std::array<int, N>& list, int id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

}  // namespace

void NoteCommand(AppState& state, int previous, int id) {
  if (In(kNeutral, id)) return;
  if (id == previous && (id == 40107 || id == 40135 || id == 40140)) return;
  if (In(kMarking, previous)) ClearProcessingMarks(state.canvas, state.markedRectangle);
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
