#include "lumavex/curves/PictureHeaders.h"

namespace lumavex {
namespace {

template <size_t N>
void Put(std::array<uint8_t, N>& out, size_t offset, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<uint8_t, PictureHeader::kSize> PictureHeader::Bytes() const {
  std::array<uint8_t, kSize> out{};
  Put(out, 0, kSize, 4);
  Put(out, 4, static_cast<uint32_t>(width), 4);
  Put(out, 8, static_cast<uint32_t>(height), 4);
  Put(out, 12, planes, 2);
  Put(out, 14, bitsPerPixel, 2);
  Put(out, 16, compression, 4);
  Put(out, 20, imageSize, 4);
  Put(out, 24, static_cast<uint32_t>(xPixelsPerMetre), 4);
  Put(out, 28, static_cast<uint32_t>(yPixelsPerMetre), 4);
  Put(out, 32, coloursUsed, 4);
  Put(out, 36, coloursImportant, 4);
  return out;
}

std::array<uint8_t, BitmapFileHeader::kSize> BitmapFileHeader::Bytes() const {
  std::array<uint8_t, kSize> out{};
  Put(out, 0, 0x4D42, 2);  // "BM"
  Put(out, 2, fileSize, 4);
  Put(out, 10, dataOffset, 4);
  return out;
}

PictureHeader MakePictureHeader(int width, int height) {
  PictureHeader h;
  h.width = width;
  h.height = height;
  return h;
}

BitmapFileHeader MakeFileHeader(int width, int height) {
  BitmapFileHeader h;
  h.fileSize = static_cast<uint32_t>(static_cast<uint64_t>(width) * 4 * height + 54);
  return h;
}

}  // namespace lumavex
