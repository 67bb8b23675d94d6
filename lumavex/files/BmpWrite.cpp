#include "lumavex/files/BmpWrite.h"

#include <cstring>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMAVEX_BMP_SSSE3 1
#endif

namespace lumavex {

void PackFullColourRowPlain(const uint32_t* in, int width, uint8_t* out) {
  for (int x = 0; x < width; ++x, out += 3) {
    const uint32_t colour = TrueDisplayColour(in[x]);
    out[0] = static_cast<uint8_t>(colour);
    out[1] = static_cast<uint8_t>(colour >> 8);
    out[2] = static_cast<uint8_t>(colour >> 16);
  }
}

namespace {

#ifdef LUMAVEX_BMP_SSSE3
// Four pixels at a time: the non-selected ones are flipped back with a compare and an
// exclusive or, then one byte shuffle drops every fourth byte. Each store writes 16
// bytes of which the next group overwrites the last 4, so the groups stop while 4
// bytes of the row are still ahead; the rest goes the plain way.
[[gnu::target("ssse3")]] void PackFullColourRowSsse3(const uint32_t* in, int width, uint8_t* out) {
  const __m128i flag = _mm_set1_epi32(static_cast<int>(kNonSelectedFlag));
  const __m128i flip = _mm_set1_epi32(static_cast<int>(kNonSelectedDisplayXor));
  const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 6 <= width; x += 4) {
    const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    const __m128i outside = _mm_cmpeq_epi32(_mm_and_si128(words, flag), flag);
    const __m128i colours = _mm_xor_si128(words, _mm_and_si128(outside, flip));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(colours, drop));
  }
  PackFullColourRowPlain(in + x, width - x, out + 3 * x);
}

// Eight pixels at a time: the shuffle drops every fourth byte within each 16-byte half
// and the permutation closes the gap between the halves, leaving 24 packed bytes at the
// front of the 32 stored. As above, the groups stop while 8 bytes of the row are ahead.
[[gnu::target("avx2")]] void PackFullColourRowAvx2(const uint32_t* in, int width, uint8_t* out) {
  const __m256i flag = _mm256_set1_epi32(static_cast<int>(kNonSelectedFlag));
  const __m256i flip = _mm256_set1_epi32(static_cast<int>(kNonSelectedDisplayXor));
  const __m256i drop = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i close = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
  int x = 0;
  for (; x + 11 <= width; x += 8) {
    const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x));
    const __m256i outside = _mm256_cmpeq_epi32(_mm256_and_si256(words, flag), flag);
    const __m256i colours = _mm256_xor_si256(words, _mm256_and_si256(outside, flip));
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(colours, drop), close);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 3 * x), packed);
  }
  PackFullColourRowSsse3(in + x, width - x, out + 3 * x);
}
#endif

using PackFunction = void (*)(const uint32_t*, int, uint8_t*);

PackFunction ChoosePack() {
#ifdef LUMAVEX_BMP_SSSE3
  if (__builtin_cpu_supports("avx2")) return PackFullColourRowAvx2;
  if (__builtin_cpu_supports("ssse3")) return PackFullColourRowSsse3;
#endif
  return PackFullColourRowPlain;
}

}  // namespace

void PackFullColourRow(const uint32_t* in, int width, uint8_t* out) {
  static const PackFunction pack = ChoosePack();
  pack(in, width, out);
}

namespace {

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
