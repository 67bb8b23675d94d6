#include "lumavex/files/Jpeg.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstddef>
#include <vector>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

namespace {

// Everything a decode keeps across libjpeg's error return: plain data only, so
// that a jump skips no destructor.
struct JpegReadState {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf jump;
  bool created = false;
  bool cmyk = false;      // four-channel output that is turned into colours here
  bool inverted = false;  // CMYK samples stored inverted, as Adobe writes them
};

JpegReadState& StateOf(j_common_ptr common) {
  return *reinterpret_cast<JpegReadState*>(reinterpret_cast<char*>(common) -
                                           offsetof(JpegReadState, info));
}

[[noreturn]] void ErrorExit(j_common_ptr common) { std::longjmp(StateOf(common).jump, 1); }

// A file that ends early would otherwise decode with the rest filled grey; that
// is a failure here. Other warnings are not shown.
void EmitMessage(j_common_ptr common, int level) {
  if (level < 0 && common->err->msg_code == JWRN_JPEG_EOF) std::longjmp(StateOf(common).jump, 1);
}

// Reads the header and chooses the output colours. False on any decoder error.
bool HeaderStage(JpegReadState& s, std::FILE* file, bool toWords) {
  if (setjmp(s.jump)) return false;
  s.info.err = jpeg_std_error(&s.errors);
  s.errors.error_exit = ErrorExit;
  s.errors.emit_message = EmitMessage;
  jpeg_create_decompress(&s.info);
  s.created = true;
  jpeg_stdio_src(&s.info, file);
  jpeg_read_header(&s.info, TRUE);
  s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
  s.inverted = s.cmyk && s.info.saw_Adobe_marker;
  s.info.out_color_space = s.cmyk ? JCS_CMYK : toWords ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&s.info);
  return true;
}

// A CMYK row as blue, green, red: each colour is (255 − C)(255 − K) / 255, rounded.
void CmykToBgr(const uint8_t* in, uint8_t* out, JDIMENSION width, bool inverted) {
  const uint8_t flip = inverted ? 0 : 255;
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    const uint32_t k = in[3] ^ flip;
    out[0] = static_cast<uint8_t>(((in[2] ^ flip) * k + 127) / 255);
    out[1] = static_cast<uint8_t>(((in[1] ^ flip) * k + 127) / 255);
    out[2] = static_cast<uint8_t>(((in[0] ^ flip) * k + 127) / 255);
  }
}

// Where decoded rows go: BGR rows of the decoder's block, or display words.
struct RowTarget {
  uint8_t* block = nullptr;  // rows of width × 3 bytes, or null for words
  PixelPlane* plane = nullptr;
  uint8_t* cmykRow = nullptr;  // one row of four-channel samples for CMYK files
};

// Turns the blue, green, red, filler row that libjpeg wrote into display words.
void FinishWords(uint32_t* words, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x) words[x] = (words[x] & kColourMask) | kDrawAreaFlag;
}

void CmykToWords(const uint8_t* in, uint32_t* out, JDIMENSION width, bool inverted) {
  const uint8_t flip = inverted ? 0 : 255;
  for (JDIMENSION x = 0; x < width; ++x, in += 4) {
    const uint32_t k = in[3] ^ flip;
    out[x] = ((in[0] ^ flip) * k + 127) / 255 << 16 | ((in[1] ^ flip) * k + 127) / 255 << 8 |
             ((in[2] ^ flip) * k + 127) / 255 | kDrawAreaFlag;
  }
}

// Decodes every row into `target`. False on any decoder error.
bool ImageStage(JpegReadState& s, const RowTarget& target) {
  if (setjmp(s.jump)) return false;
  jpeg_start_decompress(&s.info);
  const JDIMENSION width = s.info.output_width;
  while (s.info.output_scanline < s.info.output_height) {
    const JDIMENSION y = s.info.output_scanline;
    uint8_t* row = target.block ? target.block + size_t(width) * 3 * y
                                : target.plane->Row(int(y));
    JSAMPROW decoded = s.cmyk ? target.cmykRow : row;
    if (jpeg_read_scanlines(&s.info, &decoded, 1) != 1) return false;
    uint32_t* words = reinterpret_cast<uint32_t*>(row);
    if (s.cmyk && target.block) CmykToBgr(target.cmykRow, row, width, s.inverted);
    else if (s.cmyk) CmykToWords(target.cmykRow, words, width, s.inverted);
    else if (!target.block) FinishWords(words, width);
  }
  jpeg_finish_decompress(&s.info);
  return true;
}

// Opens and decodes `fileName`. `allocate` is asked, with the size, for the row
// target once the header is read; it gives false to stop.
template <typename Allocate>
bool DecodeFile(const char* fileName, bool toWords, const DecodeSizeCheck* sizeCheck,
                Allocate&& allocate, JDIMENSION& width, JDIMENSION& height) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return false;
  JpegReadState s;
  bool ok = HeaderStage(s, file, toWords);
  width = ok ? s.info.output_width : 0;
  height = ok ? s.info.output_height : 0;
  ok = ok && width >= 1 && height >= 1 && width <= JDIMENSION(kLargestDecodedSide) &&
       height <= JDIMENSION(kLargestDecodedSide) &&
       (!sizeCheck || !*sizeCheck || (*sizeCheck)(int(width), int(height)));
  std::vector<uint8_t> cmykRow;
  RowTarget target;
  if (ok) {
    if (s.cmyk) cmykRow.resize(size_t(width) * 4);
    target.cmykRow = cmykRow.data();
    ok = allocate(width, height, target) && ImageStage(s, target);
  }
  if (s.created) jpeg_destroy_decompress(&s.info);
  std::fclose(file);
  return ok;
}

}  // namespace

int DecodeJpeg(platform::Allocator& allocator, const char* fileName,
               BitmapFileHeader* fileHeader, PictureHeader* pictureHeader,
               platform::Block* pixels, int* width, int* height,
               const DecodeSizeCheck* sizeCheck) {
  platform::Block block;
  auto allocate = [&](JDIMENSION w, JDIMENSION h, RowTarget& target) {
    block = allocator.AllocateChecked(uint64_t(w) * h * 3);
    target.block = block.get();
    return block != nullptr;
  };
  JDIMENSION w = 0, h = 0;
  if (!DecodeFile(fileName, false, sizeCheck, allocate, w, h)) return 0;
  *fileHeader = MakeFileHeader(int(w), int(h));
  *pictureHeader = MakePictureHeader(int(w), int(h));
  *width = int(w);
  *height = int(h);
  *pixels = std::move(block);
  return 1;
}

bool LoadJpeg(const std::string& fileName, const std::string& shownName, platform::UiHost& host,
              platform::Allocator& allocator, const DecodeSizeCheck& sizeCheck,
              DecodedPicture& out) {
  out.plane.Release();
  bool declined = false;
  const DecodeSizeCheck check = [&](int w, int h) {
    declined = sizeCheck && !sizeCheck(w, h);
    return !declined;
  };
  // The rows go straight into the plane (four bytes a pixel), which gives the
  // same words as copying the decoder's blue-green-red block, without the block.
  auto allocate = [&](JDIMENSION w, JDIMENSION h, RowTarget& target) {
    target.plane = &out.plane;
    return out.plane.Create(allocator, int(w), int(h), 4);
  };
  JDIMENSION w = 0, h = 0;
  if (DecodeFile(fileName.c_str(), true, &check, allocate, w, h)) {
    out.fileHeader = MakeFileHeader(int(w), int(h));
    out.pictureHeader = MakePictureHeader(int(w), int(h));
    return true;
  }
  out.plane.Release();
  if (!declined) {
    const std::string format = kJpegFailed;
    const size_t at = format.find("%s");
    const std::string text = format.substr(0, at) + shownName + format.substr(at + 2);
    host.ShowMessage(text, kJpegFailedCaption, platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
  }
  return false;
}

}  // namespace lumavex
