#include "lumavex/files/BmpRead.h"

#include <algorithm>
#include <climits>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define LUMAVEX_BYTE_SHUFFLE 1
#endif

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

constexpr const char* kCaption = "ロードエラー";
constexpr const char* kSizeWrong = "%s はビットマップサイズが不正です。";
constexpr const char* kDepthWrong =
    "%s\nは 2, 4, 16, 256, High Color, True Color のビットマップファイルではありません。";
// Marks a palette slot that the file does not define.
constexpr uint32_t kNoColour = 0xFFFFFFFF;

bool IsPalettedDepth(int bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
}

// Shows the first header problem; true when there is none. `coloursUsed` is the
// field with its default for the depth filled in.
bool BmpHeadersAcceptable(PictureInput& input, const PictureFileHeaders& headers,
                          uint64_t coloursUsed) {
  const BitmapFileHeader& f = headers.file;
  const PictureHeader& h = headers.info;
  if (h.width < kMinPictureSide || h.height < kMinPictureSide) {
    input.Refuse("幅は２以上、高さは２以上でなければなりません。", kCaption);
    return false;
  }
  const int bits = h.bitsPerPixel;
  const uint64_t paletteBytes = coloursUsed * 4;
  const uint64_t pixelBytes = BmpRowBytes(h.width, bits) * static_cast<uint64_t>(h.height);
  const char* problem = nullptr;
  if (f.signature != kBitmapSignature) problem = "%s はビットマップファイルではありません。";
  else if (f.fileSize != input.length) problem = kSizeWrong;
  else if (!IsPalettedDepth(bits) && bits != 24 && bits != 32) problem = kDepthWrong;
  else if (h.compression != 0) problem = "%s は圧縮ビットマップデータです。";
  else if (f.fileSize < pixelBytes + paletteBytes + kPictureHeadersBytes) problem = kSizeWrong;
  else if (h.headerSize != 40) problem = "%s は BITMAPINFOHEADER 構造体サイズが不正です。";
  else if (h.planes != 1) problem = "%s はビットマッププレーン数が１ではありません。";
  else if (f.dataOffset != paletteBytes + kPictureHeadersBytes) problem = "%s はデータ開始位置が不正です。";
  if (problem) {
    input.Refuse(input.Named(problem), kCaption);
    return false;
  }
  return true;
}

// The palette as decoded colours, one slot per possible index; slots beyond the
// file's entries hold kNoColour.
bool ReadPalette(PictureInput& input, int bits, uint64_t coloursUsed, std::vector<uint32_t>& out) {
  out.assign(size_t{1} << bits, kNoColour);
  const size_t kept = static_cast<size_t>(std::min<uint64_t>(coloursUsed, out.size()));
  std::vector<uint8_t> bytes(kept * 4);
  if (!input.ReadExactly(bytes.data(), bytes.size())) return false;
  for (size_t i = 0; i < kept; ++i)
    out[i] = bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16 | kDrawAreaFlag;
  return true;
}

#ifdef LUMAVEX_BYTE_SHUFFLE
// Spreads the blue, green and red bytes of four pixels over four words with one byte
// shuffle; returns how many of the row's pixels it did. Each step loads 16 bytes for
// 12, so it stops while 16 bytes remain in the row.
__attribute__((target("ssse3"))) int ExpandTrueColourShuffled(const uint8_t* row, int width,
                                                             uint32_t* out) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i flag = _mm_set1_epi32(static_cast<int>(kDrawAreaFlag));
  int x = 0;
  for (; x + 6 <= width; x += 4, row += 12) {
    const __m128i stored = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                     _mm_or_si128(_mm_shuffle_epi8(stored, spread), flag));
  }
  return x;
}
#endif

// Stored blue, green, red bytes to drawing-area words.
void ExpandTrueColour(const uint8_t* row, int width, uint32_t* out) {
  int x = 0;
#ifdef LUMAVEX_BYTE_SHUFFLE
  static const bool shuffles = __builtin_cpu_supports("ssse3");
  if (shuffles) x = ExpandTrueColourShuffled(row, width, out);
#endif
  for (row += 3 * x; x < width; ++x, row += 3)
    out[x] = row[0] | row[1] << 8 | row[2] << 16 | kDrawAreaFlag;
}

// Decodes one stored row; false when an index has no palette entry.
bool DecodeRow(const uint8_t* row, int width, int bits, const std::vector<uint32_t>& palette,
               uint32_t* out) {
  if (bits == 24) {
    ExpandTrueColour(row, width, out);
    return true;
  }
  const uint32_t* colours = palette.data();
  uint32_t missing = 0;
  if (bits == 16) {
    for (int x = 0; x < width; ++x) missing |= (out[x] = colours[row[2 * x] | row[2 * x + 1] << 8]) == kNoColour;
  } else if (bits == 8) {
    for (int x = 0; x < width; ++x) missing |= (out[x] = colours[row[x]]) == kNoColour;
  } else {
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bits * (x % perByte + 1);
      missing |= (out[x] = colours[(row[x / perByte] >> shift) & mask]) == kNoColour;
    }
  }
  return missing == 0;
}

// The rows of a picture stored top line first, handed out bottom line first: blocks
// of up to eight rows are read from the end of the pixel data towards its start.
class TopDownRowReader {
 public:
  TopDownRowReader(PictureInput& input, uint64_t dataOffset, int height)
      : input_(input), dataOffset_(dataOffset), next_(height), blockStart_(height) {}

  bool Start(size_t rowBytes) {
    rowBytes_ = rowBytes;
    buffer_ = input_.allocator.AllocateChecked(uint64_t{rowBytes} * EightRowReader::kRows);
    return buffer_ != nullptr;
  }

  // The row above the last one given; null when the file cannot give it.
  const uint8_t* Next() {
    if (next_ == blockStart_) {
      blockStart_ = std::max(next_ - EightRowReader::kRows, 0);
      const size_t count = static_cast<size_t>(next_ - blockStart_);
      const uint64_t at = dataOffset_ + uint64_t{rowBytes_} * static_cast<uint64_t>(blockStart_);
      if (std::fseek(input_.file, static_cast<long>(at), SEEK_SET) != 0 ||
          !input_.ReadExactly(buffer_.get(), rowBytes_ * count))
        return nullptr;
    }
    --next_;
    return buffer_.get() + rowBytes_ * static_cast<size_t>(next_ - blockStart_);
  }

 private:
  PictureInput& input_;
  uint64_t dataOffset_;
  size_t rowBytes_ = 0;
  platform::Block buffer_;
  int next_;        // the stored row after the one to give next
  int blockStart_;  // the first stored row in the buffer
};

}  // namespace

bool ReadBmpPicture(PictureInput& input, const PicturePrepare& prepare,
                    const PictureRowTarget& rowFor) {
  std::array<uint8_t, kPictureHeadersBytes> bytes;
  if (!input.ReadExactly(bytes.data(), bytes.size())) {
    input.Refuse(input.Named(kSizeWrong), kCaption);
    return false;
  }
  PictureFileHeaders headers = PictureFileHeaders::Parse(bytes);
  PictureHeader& h = headers.info;
  // A negative height stores the picture top line first; the checks take its magnitude.
  const bool topDown = h.height < 0 && h.height != INT32_MIN;
  if (topDown) h.height = -h.height;
  const int bits = h.bitsPerPixel;
  uint64_t coloursUsed = h.coloursUsed;
  if (coloursUsed == 0) {
    if (IsPalettedDepth(bits)) {
      coloursUsed = uint64_t{1} << bits;
    } else if (bits != 24) {
      input.Refuse(input.Named(kDepthWrong), kCaption);
      return false;
    }
  }
  if (!BmpHeadersAcceptable(input, headers, coloursUsed)) return false;

  std::vector<uint32_t> palette;
  if (bits == 32) {
    input.Refuse(input.Named("%s\nは High Color または True Color のビットマップファイルではありません。"),
                 kCaption);
    return false;
  }
  if (bits != 24 && !ReadPalette(input, bits, coloursUsed, palette)) {
    input.Refuse(input.Named(kSizeWrong), kCaption);
    return false;
  }
  if (std::fseek(input.file, static_cast<long>(headers.file.dataOffset), SEEK_SET) != 0)
    return false;
  if (!prepare(h.width, h.height)) return false;

  const size_t rowBytes = static_cast<size_t>(BmpRowBytes(h.width, bits));
  EightRowReader bottomUp;
  TopDownRowReader topDownRows(input, headers.file.dataOffset, h.height);
  if (topDown ? !topDownRows.Start(rowBytes) : !bottomUp.Start(input, rowBytes)) return false;
  for (int y = h.height - 1; y >= 0; --y) {
    const uint8_t* row = topDown ? topDownRows.Next() : bottomUp.Next();
    if (!row) {
      input.Refuse(input.Named(kSizeWrong), kCaption);
      return false;
    }
    if (!DecodeRow(row, h.width, bits, palette, rowFor(y))) {
      input.Refuse("パレットが不正です。", kCaption);
      return false;
    }
  }
  return true;
}

}  // namespace lumavex
