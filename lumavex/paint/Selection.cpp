#include "lumavex/paint/Selection.h"

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

// Whether `change` toggles a pixel whose display word is `display`.
bool Toggles(SelectionChange change, uint32_t display) {
  const bool nonSelected = display & kNonSelectedFlag;
  switch (change) {
    case SelectionChange::SelectAll:
      return nonSelected;
    case SelectionChange::DeselectAll:
      return !nonSelected;
    case SelectionChange::Reverse:
      return true;
  }
  return false;
}

}  // namespace

uint64_t ChangeSelection(Canvas& canvas, SelectionChange change, const PixelRect& area) {
  const PixelRect clipped = area.Intersect(canvas.Bounds());
  uint64_t toggled = 0;
  if (clipped.Empty()) return toggled;
  for (int y = clipped.bottom; y >= clipped.top; --y) {
    uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    for (int x = clipped.left; x <= clipped.right; ++x) {
      if (!Toggles(change, display[x])) continue;
      ToggleSelection(display[x], frame[x]);
      ++toggled;
    }
  }
  return toggled;
}

}  // namespace lumavex
