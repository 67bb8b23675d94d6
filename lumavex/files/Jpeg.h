#pragma once
// JPEG loading. The decoder keeps the shape of an outside decoding library: a file
// name goes in; the bitmap headers, the size and a block of blue-green-red rows
// come out. Grey, colour, CMYK and progressive files decode; any problem, a
// truncated file included, is a failure.

#include <string>

#include "lumavex/canvas/PictureHeaders.h"
#include "lumavex/files/Png.h"
#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

// Decodes `fileName`. On success (non-zero) it has filled the file header, a
// 32-bit picture header whose width is `*width`, and `*pixels`: `*height` rows of
// `*width` × 3 bytes, top row first, no padding, each pixel blue, green, red.
// Returns 0 on any failure, also when a side exceeds 30000 or `sizeCheck` (asked
// before the block is allocated) declines.
int DecodeJpeg(platform::Allocator& allocator, const char* fileName,
               BitmapFileHeader* fileHeader, PictureHeader* pictureHeader,
               platform::Block* pixels, int* width, int* height,
               const DecodeSizeCheck* sizeCheck = nullptr);

inline constexpr char kJpegFailed[] = "%s の読み込みに失敗しました。";
inline constexpr char kJpegFailedCaption[] = "読み込み失敗";

// Decodes `fileName` into `out`. A decoding failure shows "<shownName> の読み込み
// に失敗しました。" / "読み込み失敗"; a size declined by `sizeCheck` shows
// nothing more. Either gives false with no picture in `out`.
bool LoadJpeg(const std::string& fileName, const std::string& shownName, platform::UiHost& host,
              platform::Allocator& allocator, const DecodeSizeCheck& sizeCheck,
              DecodedPicture& out);

}  // namespace lumavex
