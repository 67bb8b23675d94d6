#include "lumavex/canvas/PictureHeaders.h"

namespace lumavex {

PictureHeader MakePictureHeader(int width, int height) {
  PictureHeader h;
  h.width = width;
  h.height = height;
  return h;
}

BitmapFileHeader MakeFileHeader(int width, int height) {
  BitmapFileHeader h;
  h.fileSize = static_cast<uint32_t>(static_cast<uint64_t>(width) * 4 * height + 54);
  return h;
}

}  // namespace lumavex
