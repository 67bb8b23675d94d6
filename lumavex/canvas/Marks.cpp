#include "lumavex/canvas/Marks.h"

#include <algorithm>

namespace lumavex {

void ClearMarks(Canvas& canvas, const PixelRect& rect, uint32_t mask) {
  const PixelRect area = rect.Intersect(canvas.Bounds());
  if (area.Empty()) return;
  const uint32_t keep = ~mask;
  for (int y = area.top; y <= area.bottom; ++y) {
    uint32_t* row = canvas.display.Row32(y);
    for (int x = area.left; x <= area.right; ++x) row[x] &= keep;
  }
}

void ClearMarksLeftBehind(Canvas& canvas, const PixelRect& old, const PixelRect& now,
                          uint32_t mask) {
  // Above and below `now` whole rows of `old` are left; between them the parts of
  // the rows left and right of it.
  const int middleTop = std::max(old.top, now.top);
  const int middleBottom = std::min(old.bottom, now.bottom);
  ClearMarks(canvas, {old.left, old.top, old.right, std::min(old.bottom, now.top - 1)}, mask);
  ClearMarks(canvas, {old.left, std::max(old.top, now.bottom + 1), old.right, old.bottom}, mask);
  ClearMarks(canvas, {old.left, middleTop, std::min(old.right, now.left - 1), middleBottom}, mask);
  ClearMarks(canvas, {std::max(old.left, now.right + 1), middleTop, old.right, middleBottom}, mask);
}

}  // namespace lumavex
