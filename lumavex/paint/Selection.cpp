#include "lumavex/paint/Selection.h"

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

void SelectAll(Canvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    for (int x = 0; x < canvas.Width(); ++x) Select(display[x], frame[x]);
  }
}

}  // namespace lumavex
