#pragma once
// The device-independent-bitmap headers that describe the canvas: a 40-byte
// picture header and a 14-byte bitmap file header. The picture files write them
// byte for byte (lumavex/files/PictureFileHeaders).

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumavex {

struct PictureHeader {
  int32_t width = 0;
  int32_t height = 0;  // positive: rows stored bottom-up
  uint16_t planes = 1;
  uint16_t bitsPerPixel = 32;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  int32_t xPixelsPerMetre = 0;
  int32_t yPixelsPerMetre = 0;
  uint32_t coloursUsed = 0;
  uint32_t coloursImportant = 0;

  static constexpr uint32_t kSize = 40;
};

struct BitmapFileHeader {
  uint32_t fileSize = 0;
  uint32_t dataOffset = 54;

  static constexpr uint32_t kSize = 14;
};

// The headers of a 32-bit canvas of the given size.
PictureHeader MakePictureHeader(int width, int height);
BitmapFileHeader MakeFileHeader(int width, int height);

}  // namespace lumavex
