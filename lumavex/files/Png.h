#pragma once
// PNG exchange through libpng: loading every colour type and bit depth into a
// whole decoded picture, and saving the shown colours of the display layer as
// 8-bit RGB or 8-bit grey.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "lumavex/canvas/PictureHeaders.h"
#include "lumavex/canvas/PixelPlane.h"
#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

// A picture decoded whole, described like a 32-bit bottom-up bitmap so that the
// load pipeline treats it as it treats a BMP file.
struct DecodedPicture {
  // Words (R << 16) | (G << 8) | B | draw-area flag; row-table entry 0 is the bottom line.
  PixelPlane plane;
  PictureHeader pictureHeader;
  BitmapFileHeader fileHeader;  // file size field = width × 4 × height + 54
};

// Asked with the picture's size once the decoder knows it, before the picture is
// allocated. False abandons the load without a further message (the check shows
// its own, e.g. the area question).
using DecodeSizeCheck = std::function<bool(int width, int height)>;

// Largest side a decoder accepts; larger pictures fail like a corrupt file.
constexpr int kLargestDecodedSide = 30000;

inline constexpr char kLoadErrorCaption[] = "ロードエラー";
inline constexpr char kNotPng[] = "PNG ではありません。";
inline constexpr char kNoPngReadStruct[] = "PNG 構造体を取得できません。";
inline constexpr char kNoPngInfoStruct[] = "PNG 情報構造体を取得できません。";
inline constexpr char kPngLibraryError[] = "PNG ライブラリ内部エラー。";
inline constexpr char kBadPalette[] = "パレットが不正です。";

// Decodes the PNG file `file` (positioned at its start) into `out`. Every problem
// is shown through `host` with caption "ロードエラー", followed by `shownName` on a
// second line when it is given, and gives false; `out` then holds no picture. The
// file stays open.
bool LoadPng(std::FILE* file, platform::UiHost& host, platform::Allocator& allocator,
             const DecodeSizeCheck& sizeCheck, DecodedPicture& out,
             const std::string& shownName = {});

enum class PngColour { Rgb, Grey };

// Where a PNG writer puts its bytes; `write` returns false when they could not be
// written. Plain data, because it is reached from inside libpng.
struct PngByteSink {
  void* context = nullptr;
  bool (*write)(void* context, const void* data, size_t size) = nullptr;
};

// A sink writing to an open stdio stream.
PngByteSink FileByteSink(std::FILE* file);

inline constexpr char kSaveFailedText[] = "別の位置にセーブして下さい。";
inline constexpr char kSaveFailedCaption[] = "書き込み失敗";

// Writes the shown colours of `display` (a canvas display layer: non-selected
// marking undone, flags dropped) as an 8-bit, non-interlaced PNG with default
// compression and filtering, top line first. Grey is (R + G + B + 2) / 3. If
// libpng's structures cannot be made, shows "エラー" / "エラー"; if the bytes cannot
// be written, shows "別の位置にセーブして下さい。" / "書き込み失敗". Either gives false.
bool WritePng(const PixelPlane& display, PngColour colour, const PngByteSink& sink,
              platform::UiHost& host);

}  // namespace lumavex
