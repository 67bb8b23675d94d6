#include "lumavex/files/PictureFileHeaders.h"

#include "common/LittleEndian.h"

namespace lumavex {

PictureFileHeaders PictureFileHeaders::Parse(
    const std::array<uint8_t, kPictureHeadersBytes>& bytes) {
  common::LittleEndianReader in(bytes);
  PictureFileHeaders h;
  BitmapFileHeader& f = h.file;
  f.signature = in.U16();
  f.fileSize = in.U32();
  f.reserved1 = in.U16();
  f.reserved2 = in.U16();
  f.dataOffset = in.U32();
  PictureHeader& p = h.info;
  p.headerSize = in.U32();
  p.width = in.I32();
  p.height = in.I32();
  p.planes = in.U16();
  p.bitsPerPixel = in.U16();
  p.compression = in.U32();
  p.imageSize = in.U32();
  p.xPixelsPerMetre = in.I32();
  p.yPixelsPerMetre = in.I32();
  p.coloursUsed = in.U32();
  p.coloursImportant = in.U32();
  return h;
}

std::array<uint8_t, kPictureHeadersBytes> PictureFileHeaders::Bytes() const {
  std::array<uint8_t, kPictureHeadersBytes> out{};
  common::LittleEndianWriter w(out);
  w.U16(file.signature);
  w.U32(file.fileSize);
  w.U16(file.reserved1);
  w.U16(file.reserved2);
  w.U32(file.dataOffset);
  w.U32(info.headerSize);
  w.I32(info.width);
  w.I32(info.height);
  w.U16(info.planes);
  w.U16(info.bitsPerPixel);
  w.U32(info.compression);
  w.U32(info.imageSize);
  w.I32(info.xPixelsPerMetre);
  w.I32(info.yPixelsPerMetre);
  w.U32(info.coloursUsed);
  w.U32(info.coloursImportant);
  return out;
}

}  // namespace lumavex
