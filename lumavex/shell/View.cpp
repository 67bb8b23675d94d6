#include <algorithm>
#include <cstring>

#include "lumavex/shell/Shell.h"

namespace lumavex {

// Shows the display layer at 100 % from the top-left corner, black elsewhere.
void Redraw(AppState& state) {
  platform::Surface& surface = state.surface;
  if (surface.Width() == 0 || surface.Height() == 0) return;
  const int viewWidth = std::max(surface.Width() - kColourStripWidth, 0);
  surface.Fill(surface.Bounds(), 0);
  if (state.canvas.HasPicture()) {
    const int width = std::min(viewWidth, state.canvas.Width());
    const int height = std::min(surface.Height(), state.canvas.Height());
    for (int y = 0; y < height; ++y)
      std::memcpy(surface.Row(y), state.canvas.display.Row32(y), width * sizeof(uint32_t));
  }
  state.host.Present(surface, surface.Bounds());
}

}  // namespace lumavex
