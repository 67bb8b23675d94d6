#pragma once
// The one picture being edited: its size, the display, frame and work layers, the
// headers that describe it, the drawing colours and the processing square.

#include <cstdint>

#include "lumavex/canvas/PictureHeaders.h"
#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/canvas/Rect.h"
#include "platform/Memory.h"
#include "platform/Progress.h"

namespace lumavex {

// Smallest and largest picture side.
constexpr int kMinPictureSide = 2;
constexpr int kMaxPictureSide = 30000;

class Canvas {
 public:
  bool HasPicture() const { return !display.Empty(); }
  int Width() const { return display.Width(); }
  int Height() const { return display.Height(); }
  // The whole picture; empty without one.
  PixelRect Bounds() const {
    return HasPicture() ? PixelRect{0, 0, Width() - 1, Height() - 1} : PixelRect{};
  }

  // Frees the three layers; afterwards there is no picture.
  void Release();

  // The display layer: composite colour of frame over bitmap, plus flags and marks.
  PixelPlane display;
  // The frame layer: frame opacity in the top byte, frame colour or backdrop below.
  PixelPlane frame;
  // The work layer: a stroke being drawn; all 0 between operations.
  PixelPlane work;

  PictureHeader pictureHeader;
  BitmapFileHeader fileHeader;

  // The square that drawing operations work in, inside the picture.
  PixelRect processingSquare{0, 0, -1, -1};
};

// Replaces the picture with a blank one of `width` × `height`: white drawing area,
// selected, land backdrop, empty work layer. Reports one progress unit per row.
// Returns false when a layer could not be allocated (the canvas then has no picture).
bool CreateBlankPicture(Canvas& canvas, platform::Allocator& allocator, int width, int height,
                        platform::Progress& progress);

// Sets every work pixel to 0.
void ClearWorkLayer(Canvas& canvas);

// The largest picture area (in pixels) that this machine's memory allows.
uint64_t PictureAreaLimit(const platform::MemoryStatus& memory);

// True when a `width` × `height` picture fits the area limit, or when the user
// chooses to go on after the "面積制限エラー" question.
bool ConfirmPictureArea(platform::UiHost& host, const platform::MemoryStatus& memory, int width,
                        int height);

}  // namespace lumavex
