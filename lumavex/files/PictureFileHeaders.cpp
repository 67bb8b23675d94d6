#include "lumavex/files/PictureFileHeaders.h"

#include "common/LittleEndian.h"

namespace lumavex {

PictureFileHeaders PictureFileHeaders::Parse(
    const std::array<uint8_t, kPictureHeadersBytes>& bytes) {
  common::LittleEndianReader in(bytes);
  PictureFileHeaders h;
  h.signature = in.U16();
  h.fileSize = in.U32();
  h.reserved1 = in.U16();
  h.reserved2 = in.U16();
  h.dataOffset = in.U32();
  h.headerSize = in.U32();
  h.width = in.I32();
  h.height = in.I32();
  h.planes = in.U16();
  h.bitsPerPixel = in.U16();
  h.compression = in.U32();
  h.imageSize = in.U32();
  h.xPixelsPerMetre = in.I32();
  h.yPixelsPerMetre = in.I32();
  h.coloursUsed = in.U32();
  h.coloursImportant = in.U32();
  return h;
}

std::array<uint8_t, kPictureHeadersBytes> PictureFileHeaders::Bytes() const {
  std::array<uint8_t, kPictureHeadersBytes> out{};
  common::LittleEndianWriter w(out);
  w.U16(signature);
  w.U32(fileSize);
  w.U16(reserved1);
  w.U16(reserved2);
  w.U32(dataOffset);
  w.U32(headerSize);
  w.I32(width);
  w.I32(height);
  w.U16(planes);
  w.U16(bitsPerPixel);
  w.U32(compression);
  w.U32(imageSize);
  w.I32(xPixelsPerMetre);
  w.I32(yPixelsPerMetre);
  w.U32(coloursUsed);
  w.U32(coloursImportant);
  return out;
}

}  // namespace lumavex
