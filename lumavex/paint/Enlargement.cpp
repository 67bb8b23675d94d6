#include "lumavex/paint/Enlargement.h"

#include <cstring>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/FreeFormPaste.h"
#include "platform/Progress.h"

namespace lumavex {

bool EnlargePicture(Canvas& canvas, platform::Allocator& allocator, PictureSize target) {
  const PictureSize picture{canvas.Width(), canvas.Height()};
  // The picture with a one-pixel border outside the drawing area, so that the edge
  // pixels keep their own colour up to the edge of the enlarged picture.
  PixelPlane bordered;
  if (!bordered.Create(allocator, picture.width + 2, picture.height + 2, 4)) return false;
  std::memset(bordered.Data(), 0, bordered.SizeBytes());
  for (int y = 0; y < picture.height; ++y) {
    const uint32_t* from = canvas.display.Row32(y);
    uint32_t* to = bordered.Row32(y + 1) + 1;
    for (int x = 0; x < picture.width; ++x) to[x] = TrueDisplayColour(from[x]) | kDrawAreaFlag;
  }
  platform::NoProgress progress;
  if (!CreateBlankPicture(canvas, allocator, target.width, target.height, progress)) return false;
  const auto corners = EnlargementCorners(picture, target);
  PasteCorners quad;
  for (size_t i = 0; i < corners.size(); ++i) quad[i] = {corners[i].x, corners[i].y};
  PasteIntoQuadrilateral(bordered, quad, canvas.display);
  return true;
}

}  // namespace lumavex
