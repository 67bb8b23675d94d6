#pragma once
// The 54 bytes that open a native picture file and a BMP file: the bitmap file
// header and the picture header, read and written field by field.

#include <array>
#include <cstddef>
#include <cstdint>

#include "lumavex/canvas/PictureHeaders.h"

namespace lumavex {

constexpr size_t kPictureHeadersBytes = BitmapFileHeader::kSize + PictureHeader::kSize;
static_assert(kPictureHeadersBytes == 54);

struct PictureFileHeaders {
  BitmapFileHeader file;
  PictureHeader info;

  static PictureFileHeaders Parse(const std::array<uint8_t, kPictureHeadersBytes>& bytes);
  std::array<uint8_t, kPictureHeadersBytes> Bytes() const;
};

// Bytes in one stored BMP row of `width` pixels of `bits` bits, padded to 4 bytes.
constexpr uint64_t BmpRowBytes(int64_t width, int bits) {
  return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) >> 5) * 4;
}

}  // namespace lumavex
