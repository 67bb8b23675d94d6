#pragma once
// The native picture file (.lmv): a 32-bit bitmap layout whose headers describe one
// layer (the file size field is width × height × 4 + 54), followed, for every
// picture line from the bottom up, by its display row and its frame row, the plane
// words exactly as the canvas holds them.

#include <cstdint>
#include <functional>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureFileHeaders.h"
#include "lumavex/files/PictureInput.h"
#include "lumavex/files/SaveFile.h"

namespace lumavex {

// Told the picture size once the headers are accepted; false abandons the read.
using PicturePrepare = std::function<bool(int width, int height)>;
// Where the stored rows of picture line `y` (counted from the top) go: room for
// `width` display words and `width` frame words.
struct NativeRows {
  uint32_t* display;
  uint32_t* frame;
};
using NativeRowTarget = std::function<NativeRows(int y)>;
// Given line `y` once its stored rows have arrived where `NativeRowTarget` said,
// to turn them into what the reader's caller keeps.
using NativeLineFinish = std::function<void(int y, uint32_t* display, uint32_t* frame)>;

// Reads a native file from the start of `input`, checking its headers in a fixed
// order and showing the first problem. Lines arrive bottom line first, eight at a
// time straight into their rows, so that a picture of any height needs no buffer.
bool ReadNativePicture(PictureInput& input, const PicturePrepare& prepare,
                       const NativeRowTarget& rowsFor, const NativeLineFinish& finish);

// The frame word the canvas keeps for a stored pair at (x, y): outside the drawing
// area any frame is dropped for the water backdrop, a drawing-area position without
// a frame gets the land backdrop, and a frame that is there is kept as stored.
constexpr uint32_t CanvasFrameWord(int x, int y, uint32_t display, uint32_t frame) {
  if ((display & kDrawAreaFlag) && Opacity(frame) != 0) return frame;
  return BackdropFor(x, y, display);
}

// A picture rectangle: left and top column and line, width and height in pixels.
struct PictureArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The headers of a native file of `width` × `height` taken from `canvas`.
PictureFileHeaders NativeFileHeaders(const Canvas& canvas, int width, int height);

// Writes `area` of the canvas's display and frame layers as a native file, packing
// the rows into `block` (`capacity` bytes).
WriteResult WriteNativeFile(SaveFile& file, const Canvas& canvas, const PictureArea& area,
                            uint8_t* block, size_t capacity);

}  // namespace lumavex
