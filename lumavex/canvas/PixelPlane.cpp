#include "lumavex/canvas/PixelPlane.h"

namespace lumavex {

bool PixelPlane::Create(platform::Allocator& allocator, int width, int height, int bytesPerPixel) {
  Release();
  if (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4 && bytesPerPixel != 8)
    platform::Fatal(allocator.Host(), "エラー", "エラー", -1);
  if (width <= 0 || height <= 0) return false;

  const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
  block_ = allocator.AllocateChecked(static_cast<uint64_t>(rowBytes) * height);
  if (!block_) return false;
  rows_.resize(height);
  for (int i = 0; i < height; ++i) rows_[i] = block_.get() + rowBytes * i;
  width_ = width;
  height_ = height;
  bytesPerPixel_ = bytesPerPixel;
  return true;
}

void PixelPlane::Release() {
  block_.reset();
  rows_.clear();
  rows_.shrink_to_fit();
  width_ = height_ = bytesPerPixel_ = 0;
}

}  // namespace lumavex
