#include "lumavex/files/NativeFile.h"

#include <algorithm>
#include <cstring>

namespace lumavex {
namespace {

constexpr const char* kErrorCaption = "エラー";

// Shows the first header problem of a native file; true when there is none.
bool NativeHeadersAcceptable(PictureInput& input, const PictureFileHeaders& headers) {
  const BitmapFileHeader& f = headers.file;
  const PictureHeader& h = headers.info;
  if (h.width < kMinPictureSide || h.height < kMinPictureSide) {
    input.Refuse("幅は２以上、高さは２以上でなければなりません。", "ロード不可");
    return false;
  }
  if (h.width > kMaxPictureSide || h.height > kMaxPictureSide) {
    input.Refuse("幅と高さは３００００以下でなければなりません。", "ロード不可");
    return false;
  }
  if (!ConfirmPictureArea(input.host, input.allocator.Status(), h.width, h.height)) return false;
  if (h.bitsPerPixel != 32) {
    input.Refuse("LMVではありません。", "ロードエラー");
    return false;
  }
  const uint64_t layerBytes = static_cast<uint64_t>(h.width) * 4 * static_cast<uint64_t>(h.height);
  const char* problem = nullptr;
  if (f.signature != kBitmapSignature) problem = "%s はビットマップファイルではありません。";
  else if (f.fileSize != layerBytes + kPictureHeadersBytes) problem = "%s はLMVサイズが不正です。";
  else if (h.headerSize != 40) problem = "%s は BITMAPINFOHEADER 構造体サイズが不正です。";
  else if (h.planes != 1) problem = "%s はLMVプレーン数が１ではありません。";
  // Both layers must be there in full; a shorter file would leave lines unread.
  else if (input.length < layerBytes * 2 + kPictureHeadersBytes) problem = "%s はLMVサイズが不正です。";
  if (problem) {
    input.Refuse(input.Named(problem), kErrorCaption);
    return false;
  }
  return true;
}

}  // namespace

bool ReadNativePicture(PictureInput& input, const PicturePrepare& prepare,
                       const NativeRowTarget& rowsFor, const NativeLineFinish& finish) {
  std::array<uint8_t, kPictureHeadersBytes> bytes;
  if (!input.ReadExactly(bytes.data(), bytes.size())) {
    input.Refuse(input.Named("%s はLMVサイズが不正です。"), kErrorCaption);
    return false;
  }
  const PictureFileHeaders headers = PictureFileHeaders::Parse(bytes);
  const PictureHeader& h = headers.info;
  if (!NativeHeadersAcceptable(input, headers) || !prepare(h.width, h.height)) return false;

  constexpr int kLinesPerRead = 8;
  const size_t rowBytes = static_cast<size_t>(h.width) * 4;
  std::array<NativeRows, kLinesPerRead> lines;
  std::array<iovec, 2 * kLinesPerRead> parts;
  for (int bottom = h.height - 1; bottom >= 0; bottom -= kLinesPerRead) {
    const int count = std::min(kLinesPerRead, bottom + 1);
    for (int i = 0; i < count; ++i) {
      lines[i] = rowsFor(bottom - i);
      parts[2 * i] = {lines[i].display, rowBytes};
      parts[2 * i + 1] = {lines[i].frame, rowBytes};
    }
    if (!input.ReadScattered({parts.data(), static_cast<size_t>(2 * count)})) {
      input.Refuse(input.Named("%s はLMVサイズが不正です。"), kErrorCaption);
      return false;
    }
    for (int i = 0; i < count; ++i) finish(bottom - i, lines[i].display, lines[i].frame);
  }
  return true;
}

PictureFileHeaders NativeFileHeaders(const Canvas& canvas, int width, int height) {
  PictureFileHeaders h;
  h.file.fileSize =
      static_cast<uint32_t>(static_cast<uint64_t>(width) * height * 4 + kPictureHeadersBytes);
  h.file.dataOffset = canvas.fileHeader.dataOffset;
  h.info = canvas.pictureHeader;
  h.info.headerSize = PictureHeader::kSize;
  h.info.width = width;
  h.info.height = height;
  return h;
}

WriteResult WriteNativeFile(SaveFile& file, const Canvas& canvas, const PictureArea& area,
                            uint8_t* block, size_t capacity) {
  const auto headers = NativeFileHeaders(canvas, area.width, area.height).Bytes();
  if (!file.Write(headers.data(), headers.size()) || !file.Flush())
    return WriteResult::HeadersFailed;

  const size_t segmentBytes = static_cast<size_t>(area.width) * 4;
  RowPacker packer(file, block, capacity);
  for (int y = area.top + area.height - 1; y >= area.top; --y) {
    for (const PixelPlane* plane : {&canvas.display, &canvas.frame}) {
      uint8_t* out = packer.Reserve(segmentBytes);
      if (!out) return WriteResult::RowsFailed;
      std::memcpy(out, plane->Row32(y) + area.left, segmentBytes);
    }
  }
  return packer.Finish() ? WriteResult::Written : WriteResult::RowsFailed;
}

}  // namespace lumavex
