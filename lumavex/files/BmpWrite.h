#pragma once
// Writing BMP files of what the picture shows: 24 bits per pixel in full colour, or
// 8, 4, 2 and 1 bits as 256-, 16-, 4- and 2-level grey with a grey palette.

#include <cstdint>

#include "lumavex/canvas/PictureHeaders.h"
#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureFileHeaders.h"
#include "lumavex/files/SaveFile.h"

namespace lumavex {

// The grey level of a colour 0xRRGGBB: the rounded mean of its channels.
constexpr uint32_t GreyLevel(uint32_t colour) {
  return (Channel(colour, 16) + Channel(colour, 8) + Channel(colour, 0) + 2) / 3;
}

// Palette entries of a grey save of `bits` bits per pixel (0 for 24 bits).
constexpr uint32_t GreyPaletteEntries(int bits) { return bits == 24 ? 0 : 1u << bits; }

// The 24-bit BMP bytes (blue, green, red) of the `width` display words at `in`, in
// the colour the user sees, written to `out` (3 × `width` bytes).
void PackFullColourRow(const uint32_t* in, int width, uint8_t* out);
// The same one pixel at a time, for comparing against the machine's fast path.
void PackFullColourRowPlain(const uint32_t* in, int width, uint8_t* out);

// Headers of a `bits`-bit BMP of `width` × `height`; the fields a BMP save does not
// decide are taken from `base`.
PictureFileHeaders BmpFileHeaders(const PictureHeader& base, int width, int height, int bits);

// Writes the rows of `picture` (32-bit words, bottom row first) as a BMP of `bits`
// bits per pixel (24, 8, 4, 2 or 1), packing the rows into `block` (`capacity`
// bytes). Pixels are written in the colour the user sees: the inversion of
// non-selected pixels is undone. Row padding is written as 0.
WriteResult WriteBmpFile(SaveFile& file, const PixelPlane& picture, const PictureHeader& base,
                         int bits, uint8_t* block, size_t capacity);

}  // namespace lumavex
