#pragma once
// The screen buffer: the composed view kept as a torus. Its origin says where the
// view's top-left pixel lies; scrolling moves the origin and recomposes only the
// newly exposed bands, and the buffer reaches the window in at most four copies.

#include <cstdint>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/LightRow.h"
#include "lumavex/shell/Zoom.h"
#include "platform/Surface.h"

namespace lumavex {

class PixelPlane;

// Where the view looks: the layer shown, the zoom and the scroll position.
struct ViewPlacement {
  const PixelPlane* layer = nullptr;  // null: nothing to show (black)
  int zoomCode = 1;
  int positionX = 0;  // canvas pixel at the view's left edge (may be negative)
  int positionY = 0;
  // Light factors of the same size as `layer` (see ApplyLightFactor), multiplied into the
  // composed pixels; null, or of another size, for the plain view.
  const PixelPlane* light = nullptr;

  bool SameScale(const ViewPlacement& o) const {
    return layer == o.layer && zoomCode == o.zoomCode && light == o.light;
  }
};

class ScreenBuffer {
 public:
  // Allocates a buffer for a view of `width` × `height` screen pixels; everything
  // is recomposed at the next Update.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The next Update recomposes the whole view.
  void Invalidate() { valid_ = false; }

  // Brings the buffer up to date with `placement`: after a scroll only the exposed
  // bands, after anything else the whole view. `dirty` (view coordinates) is
  // recomposed too. Returns the number of pixels composed.
  uint64_t Update(const ViewPlacement& placement, platform::Rect dirty = {});

  // Copies the view from the buffer into `surface` at (0, 0) in at most four
  // rectangles, split where the buffer wraps; returns them.
  std::vector<platform::Rect> CopyTo(platform::Surface& surface) const;

  // The composed pixel at view position (x, y).
  uint32_t At(int x, int y) const;

 private:
  void Compose(const ViewPlacement& p, platform::Rect area);
  // The layer row shown on view row `viewY`; null outside the canvas.
  const uint32_t* SourceRow(const ViewPlacement& p, int viewY) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  int originX_ = 0;  // buffer column of view column 0
  int originY_ = 0;  // buffer row of view row 0
  bool valid_ = false;
  ViewPlacement last_;
  std::vector<uint32_t> lightRow_;  // one view row of light factors while composing
};

}  // namespace lumavex
