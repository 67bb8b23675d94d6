#pragma once
// The 54 bytes that open a native picture file and a BMP file: the 14-byte bitmap
// file header and the 40-byte picture header, every field as the file holds it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumavex {

constexpr size_t kPictureHeadersBytes = 54;
constexpr uint16_t kBitmapSignature = 0x4D42;  // "BM"

struct PictureFileHeaders {
  uint16_t signature = 0;
  uint32_t fileSize = 0;
  uint16_t reserved1 = 0;
  uint16_t reserved2 = 0;
  uint32_t dataOffset = 0;
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitsPerPixel = 0;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  int32_t xPixelsPerMetre = 0;
  int32_t yPixelsPerMetre = 0;
  uint32_t coloursUsed = 0;
  uint32_t coloursImportant = 0;

  static PictureFileHeaders Parse(const std::array<uint8_t, kPictureHeadersBytes>& bytes);
  std::array<uint8_t, kPictureHeadersBytes> Bytes() const;
};

// Bytes in one stored BMP row of `width` pixels of `bits` bits, padded to 4 bytes.
constexpr uint64_t BmpRowBytes(int64_t width, int bits) {
  return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) >> 5) * 4;
}

}  // namespace lumavex
