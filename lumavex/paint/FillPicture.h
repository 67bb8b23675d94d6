#pragma once
// The picture the bitmap fill tiles the canvas with: its own display and frame
// planes in true colours, the file it came from and the canvas position of its
// top-left pixel. The bitmap fill command loads it; a paste from memory leaves one.

#include <string>

#include "lumavex/canvas/PixelPlane.h"

namespace lumavex {

struct FillPicture {
  PixelPlane display;
  PixelPlane frame;
  // The file the planes were loaded from; empty when they came from elsewhere.
  std::string path;
  // The canvas position at which the picture's pixel (0, 0) lies; the tiling repeats
  // it from there in every direction.
  int originX = 0;
  int originY = 0;

  bool Held() const { return !display.Empty() && display.Width() > 0 && display.Height() > 0; }
};

}  // namespace lumavex
