#include "lumavex/files/BmpWrite.h"

#include <cstring>
#include <vector>

namespace lumavex {
namespace {

void PackFullColourRow(const uint32_t* in, int width, uint8_t* out) {
  for (int x = 0; x < width; ++x, out += 3) {
    const uint32_t colour = TrueDisplayColour(in[x]);
    out[0] = static_cast<uint8_t>(colour);
    out[1] = static_cast<uint8_t>(colour >> 8);
    out[2] = static_cast<uint8_t>(colour >> 16);
  }
}

// Grey levels reduced to `bits` bits, most significant bits first in each byte.
// `out` must be zeroed.
void PackGreyRow(const uint32_t* in, int width, int bits, uint8_t* out) {
  if (bits == 8) {
    for (int x = 0; x < width; ++x)
      out[x] = static_cast<uint8_t>(GreyLevel(TrueDisplayColour(in[x])));
    return;
  }
  const int perByte = 8 / bits;
  for (int x = 0; x < width; ++x) {
    const uint32_t level = GreyLevel(TrueDisplayColour(in[x])) >> (8 - bits);
    out[x / perByte] |= static_cast<uint8_t>(level << (8 - bits * (x % perByte + 1)));
  }
}

}  // namespace

PictureFileHeaders BmpFileHeaders(const PictureHeader& base, int width, int height, int bits) {
  const uint32_t paletteBytes = GreyPaletteEntries(bits) * 4;
  PictureFileHeaders h;
  h.file.fileSize = static_cast<uint32_t>(BmpRowBytes(width, bits) * static_cast<uint64_t>(height) +
                                          paletteBytes + kPictureHeadersBytes);
  h.file.dataOffset = paletteBytes + kPictureHeadersBytes;
  PictureHeader& p = h.info;
  p.headerSize = PictureHeader::kSize;
  p.width = width;
  p.height = height;
  p.planes = 1;
  p.bitsPerPixel = static_cast<uint16_t>(bits);
  p.compression = 0;
  p.imageSize = base.imageSize;
  p.xPixelsPerMetre = base.xPixelsPerMetre;
  p.yPixelsPerMetre = base.yPixelsPerMetre;
  p.coloursUsed = GreyPaletteEntries(bits);
  p.coloursImportant = base.coloursImportant;
  return h;
}

WriteResult WriteBmpFile(SaveFile& file, const PixelPlane& picture, const PictureHeader& base,
                         int bits, uint8_t* block, size_t capacity) {
  const int width = picture.Width();
  const int height = picture.Height();
  const auto headers = BmpFileHeaders(base, width, height, bits).Bytes();
  if (!file.Write(headers.data(), headers.size()) || !file.Flush())
    return WriteResult::HeadersFailed;

  if (const uint32_t entries = GreyPaletteEntries(bits)) {
    const uint32_t step = 255 / (entries - 1);
    std::vector<uint8_t> palette(entries * 4, 0);
    for (uint32_t i = 0; i < entries; ++i)
      std::memset(&palette[i * 4], static_cast<int>(i * step), 3);
    if (!file.Write(palette.data(), palette.size()) || !file.Flush())
      return WriteResult::HeadersFailed;
  }

  const size_t rowBytes = static_cast<size_t>(BmpRowBytes(width, bits));
  RowPacker packer(file, block, capacity);
  for (int i = 0; i < height; ++i) {
    uint8_t* out = packer.Reserve(rowBytes);
    if (!out) return WriteResult::RowsFailed;
    const auto* in = reinterpret_cast<const uint32_t*>(picture.TableRow(i));
    const size_t used = bits == 24 ? static_cast<size_t>(width) * 3 : 0;
    std::memset(out + used, 0, rowBytes - used);
    if (bits == 24)
      PackFullColourRow(in, width, out);
    else
      PackGreyRow(in, width, bits, out);
  }
  return packer.Finish() ? WriteResult::Written : WriteResult::RowsFailed;
}

}  // namespace lumavex
