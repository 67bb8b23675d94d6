#include "lumavex/files/Png.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

namespace {

constexpr size_t kSignatureBytes = 8;

// libpng reports through these; an error never returns to libpng, it ends at the
// return point of the stage that is running. Warnings are not shown.
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

// Everything a read keeps across libpng's error return: plain data only, so that a
// jump skips no destructor.
struct PngReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  int bitsPerPixel = 0;
  uint32_t palette[256] = {};
  int paletteCount = 0;
  // libpng already delivers finished words (blue, green, red, then the draw-area
  // flag or the alpha byte to overwrite).
  bool libraryBuildsWords = false;
};

// Reads the header and sets up the transforms. False when libpng raised an error.
bool ReadHeaderStage(PngReadState& s, std::FILE* file) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_init_io(s.png, file);
  png_set_sig_bytes(s.png, kSignatureBytes);
  png_set_user_limits(s.png, kLargestDecodedSide, kLargestDecodedSide);
  png_read_info(s.png, s.info);
  int interlace = 0;
  png_get_IHDR(s.png, s.info, &s.width, &s.height, &s.bitDepth, &s.colourType, &interlace,
               nullptr, nullptr);
  if (s.colourType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(s.png, s.info, &entries, &count) == 0) count = 0;
    s.paletteCount = count < 0 ? 0 : count > 256 ? 256 : count;
    for (int i = 0; i < s.paletteCount; ++i)
      s.palette[i] = uint32_t(entries[i].red) << 16 | uint32_t(entries[i].green) << 8 |
                     entries[i].blue;
  }
  if (s.bitDepth == 16) {
    png_set_strip_16(s.png);
    s.bitDepth = 8;
  }
  if (s.colourType == PNG_COLOR_TYPE_RGB || s.colourType == PNG_COLOR_TYPE_RGB_ALPHA) {
    png_set_bgr(s.png);
    if (s.colourType == PNG_COLOR_TYPE_RGB) png_set_filler(s.png, kDrawAreaFlag >> 24, PNG_FILLER_AFTER);
    s.libraryBuildsWords = true;
  }
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  s.bitsPerPixel = s.bitDepth * png_get_channels(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) > size_t(s.width) * 4) png_error(s.png, "row too long");
  return true;
}

// Decodes every row into `rows` (top line first). False when libpng raised an error.
bool ReadImageStage(PngReadState& s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_image(s.png, rows);
  png_read_end(s.png, nullptr);
  return true;
}

// Grey sample g of depth d as a display word: (g × 255 + 2^(d−1) − 1) / (2^d − 1).
uint32_t GreyWord(uint32_t g, int depth) {
  const uint32_t top = (1u << depth) - 1;
  const uint32_t v = (g * 255 + (1u << (depth - 1)) - 1) / top;
  return v << 16 | v << 8 | v | kDrawAreaFlag;
}

// Sample x of a row of `depth`-bit samples, most significant bits first.
inline uint32_t PackedSample(const uint8_t* row, uint32_t x, int depth) {
  const uint32_t bit = x * depth;
  return (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1u << depth) - 1);
}

// Turns one decoded row into words in place, from the right so that no sample is
// overwritten before it is read. False on a palette index beyond the palette.
bool ConvertRow(const PngReadState& s, uint8_t* row, const uint32_t* greyWords) {
  uint32_t* words = reinterpret_cast<uint32_t*>(row);
  const uint32_t w = s.width;
  if (s.libraryBuildsWords) {
    if (s.colourType == PNG_COLOR_TYPE_RGB_ALPHA)
      for (uint32_t x = 0; x < w; ++x) words[x] = (words[x] & kColourMask) | kDrawAreaFlag;
    return true;
  }
  switch (s.colourType) {
    case PNG_COLOR_TYPE_GRAY:
      for (uint32_t x = w; x-- > 0;) words[x] = greyWords[PackedSample(row, x, s.bitDepth)];
      return true;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      for (uint32_t x = w; x-- > 0;) words[x] = greyWords[row[2 * x]];
      return true;
    case PNG_COLOR_TYPE_PALETTE:
      for (uint32_t x = w; x-- > 0;) {
        const uint32_t index = PackedSample(row, x, s.bitDepth);
        if (index >= uint32_t(s.paletteCount)) return false;
        words[x] = s.palette[index] | kDrawAreaFlag;
      }
      return true;
    default:
      return false;
  }
}

// The problem, with the file's name on a second line when there is one.
void Refuse(platform::UiHost& host, const char* problem, const std::string& shownName) {
  const std::string text = shownName.empty() ? problem : problem + ("\n" + shownName);
  host.ShowMessage(text, kLoadErrorCaption, platform::MessageButtons::Ok,
                   platform::MessageIcon::Exclamation);
}

bool StdioWrite(void* context, const void* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<std::FILE*>(context)) == size;
}

void SinkWrite(png_structp png, png_bytep data, size_t length) {
  const auto* sink = static_cast<const PngByteSink*>(png_get_io_ptr(png));
  if (!sink->write(sink->context, data, length)) png_error(png, "write failed");
}

void SinkFlush(png_structp) {}

// Writes the header, every row (built into `row` from the display layer) and the
// end. False when libpng raised an error, a failed write included.
bool WriteStage(png_structp png, png_infop info, const PixelPlane& display, PngColour colour,
                const PngByteSink* sink, uint8_t* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int width = display.Width();
  const int height = display.Height();
  png_set_write_fn(png, const_cast<PngByteSink*>(sink), SinkWrite, SinkFlush);
  png_set_IHDR(png, info, width, height, 8,
               colour == PngColour::Grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* words = display.Row32(y);
    uint8_t* out = row;
    if (colour == PngColour::Grey) {
      for (int x = 0; x < width; ++x) {
        const uint32_t c = TrueDisplayColour(words[x]);
        *out++ = static_cast<uint8_t>(((c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF) + 2) / 3);
      }
    } else {
      for (int x = 0; x < width; ++x) {
        const uint32_t c = TrueDisplayColour(words[x]);
        out[0] = static_cast<uint8_t>(c >> 16);
        out[1] = static_cast<uint8_t>(c >> 8);
        out[2] = static_cast<uint8_t>(c);
        out += 3;
      }
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool LoadPng(std::FILE* file, platform::UiHost& host, platform::Allocator& allocator,
             const DecodeSizeCheck& sizeCheck, DecodedPicture& out, const std::string& shownName) {
  out.plane.Release();
  png_byte signature[kSignatureBytes] = {};
  if (std::fread(signature, 1, kSignatureBytes, file) != kSignatureBytes ||
      png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
    Refuse(host, kNotPng, shownName);
    return false;
  }
  PngReadState s;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  if (!s.png) {
    Refuse(host, kNoPngReadStruct, shownName);
    return false;
  }
  s.info = png_create_info_struct(s.png);
  if (!s.info) {
    png_destroy_read_struct(&s.png, nullptr, nullptr);
    Refuse(host, kNoPngInfoStruct, shownName);
    return false;
  }

  const char* problem = nullptr;
  std::vector<png_bytep> rows;
  if (!ReadHeaderStage(s, file)) {
    problem = kPngLibraryError;
  } else if (sizeCheck && !sizeCheck(int(s.width), int(s.height))) {
    // The check has shown its own message.
  } else if (!out.plane.Create(allocator, int(s.width), int(s.height), 4)) {
    problem = kPngLibraryError;
  } else {
    // Entry 0 of this table is the top line, so libpng's rows land in the
    // bottom-up plane where they belong.
    rows.resize(s.height);
    for (png_uint_32 y = 0; y < s.height; ++y) rows[y] = out.plane.Row(int(y));
    if (!ReadImageStage(s, rows.data())) problem = kPngLibraryError;
  }
  png_destroy_read_struct(&s.png, &s.info, nullptr);

  bool converted = !problem && !out.plane.Empty();
  if (converted) {
    uint32_t greyWords[256];
    if (!s.libraryBuildsWords && s.colourType != PNG_COLOR_TYPE_PALETTE)
      for (uint32_t g = 0; g < (1u << s.bitDepth); ++g) greyWords[g] = GreyWord(g, s.bitDepth);
    for (png_uint_32 y = 0; y < s.height && converted; ++y)
      converted = ConvertRow(s, rows[y], greyWords);
    if (!converted) problem = kBadPalette;
  }
  if (!converted) {
    out.plane.Release();
    if (problem) Refuse(host, problem, shownName);
    return false;
  }
  out.pictureHeader = MakePictureHeader(int(s.width), int(s.height));
  out.fileHeader = MakeFileHeader(int(s.width), int(s.height));
  return true;
}

PngByteSink FileByteSink(std::FILE* file) { return {file, StdioWrite}; }

bool WritePng(const PixelPlane& display, PngColour colour, const PngByteSink& sink,
              platform::UiHost& host) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    if (png) png_destroy_write_struct(&png, nullptr);
    host.ShowMessage("エラー", "エラー", platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
    return false;
  }
  std::vector<uint8_t> row(size_t(display.Width()) * 3);
  const bool written = WriteStage(png, info, display, colour, &sink, row.data());
  png_destroy_write_struct(&png, &info);
  if (!written)
    host.ShowMessage(kSaveFailedText, kSaveFailedCaption, platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
  return written;
}

}  // namespace lumavex
