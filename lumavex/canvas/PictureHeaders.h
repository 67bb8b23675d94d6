#pragma once
// The device-independent-bitmap headers: the 14-byte bitmap file header and the
// 40-byte picture header, every field as a native picture file and a BMP file hold
// it. The canvas keeps the ones that describe it; the picture files read and write
// their bytes (lumavex/files/PictureFileHeaders).

#include <cstdint>

namespace lumavex {

constexpr uint16_t kBitmapSignature = 0x4D42;  // "BM"

struct BitmapFileHeader {
  uint16_t signature = kBitmapSignature;
  uint32_t fileSize = 0;
  uint16_t reserved1 = 0;
  uint16_t reserved2 = 0;
  uint32_t dataOffset = 54;

  static constexpr uint32_t kSize = 14;
};

struct PictureHeader {
  uint32_t headerSize = kSize;
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

// The headers of a 32-bit canvas of the given size.
PictureHeader MakePictureHeader(int width, int height);
BitmapFileHeader MakeFileHeader(int width, int height);

}  // namespace lumavex
