#pragma once
// Reading uncompressed BMP files with the 40-byte header: 1, 2, 4, 8 and 16 bits
// per pixel through a palette, 24 bits as blue, green, red. Every pixel arrives as
// its colour 0xRRGGBB with the draw-area flag set, selected.

#include <cstdint>
#include <functional>

#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureInput.h"

namespace lumavex {

// Where picture line `y` (counted from the top) is decoded to: room for `width` words.
using PictureRowTarget = std::function<uint32_t*(int y)>;

// Reads a BMP file from the start of `input`, checking its headers in a fixed order
// and showing the first problem. Lines are decoded bottom line first, whichever
// order the file stores them in (a negative height stores them top line first).
bool ReadBmpPicture(PictureInput& input, const PicturePrepare& prepare,
                    const PictureRowTarget& rowFor);

}  // namespace lumavex
