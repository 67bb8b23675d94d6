#include "lumavex/files/PictureFileHeaders.h"

namespace lumavex {

PictureFileHeaders PictureFileHeaders::Parse(
    const std::array<uint8_t, kPictureHeadersBytes>& bytes) {
  const uint8_t* b = bytes.data();
  PictureFileHeaders h;
  h.signature = ReadLe16(b + 0);
  h.fileSize = ReadLe32(b + 2);
  h.reserved1 = ReadLe16(b + 6);
  h.reserved2 = ReadLe16(b + 8);
  h.dataOffset = ReadLe32(b + 10);
  h.headerSize = ReadLe32(b + 14);
  h.width = static_cast<int32_t>(ReadLe32(b + 18));
  h.height = static_cast<int32_t>(ReadLe32(b + 22));
  h.planes = ReadLe16(b + 26);
  h.bitsPerPixel = ReadLe16(b + 28);
  h.compression = ReadLe32(b + 30);
  h.imageSize = ReadLe32(b + 34);
  h.xPixelsPerMetre = static_cast<int32_t>(ReadLe32(b + 38));
  h.yPixelsPerMetre = static_cast<int32_t>(ReadLe32(b + 42));
  h.coloursUsed = ReadLe32(b + 46);
  h.coloursImportant = ReadLe32(b + 50);
  return h;
}

std::array<uint8_t, kPictureHeadersBytes> PictureFileHeaders::Bytes() const {
  std::array<uint8_t, kPictureHeadersBytes> out{};
  uint8_t* b = out.data();
  WriteLe16(b + 0, signature);
  WriteLe32(b + 2, fileSize);
  WriteLe16(b + 6, reserved1);
  WriteLe16(b + 8, reserved2);
  WriteLe32(b + 10, dataOffset);
  WriteLe32(b + 14, headerSize);
  WriteLe32(b + 18, static_cast<uint32_t>(width));
  WriteLe32(b + 22, static_cast<uint32_t>(height));
  WriteLe16(b + 26, planes);
  WriteLe16(b + 28, bitsPerPixel);
  WriteLe32(b + 30, compression);
  WriteLe32(b + 34, imageSize);
  WriteLe32(b + 38, static_cast<uint32_t>(xPixelsPerMetre));
  WriteLe32(b + 42, static_cast<uint32_t>(yPixelsPerMetre));
  WriteLe32(b + 46, coloursUsed);
  WriteLe32(b + 50, coloursImportant);
  return out;
}

}  // namespace lumavex
