#pragma once
// A picture-sized block of pixels with a table of row pointers. Row-table entry 0
// is the bottom row, so the block has the order of a bottom-up bitmap and a layer
// can go to a file or the journal block by block.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Memory.h"

namespace lumavex {

class PixelPlane {
 public:
  // Frees any pixels held, then allocates `width` × `height` pixels of
  // `bytesPerPixel` bytes (1, 3, 4 or 8; anything else is a fatal internal error).
  // Returns false when the block could not be allocated; the plane is then empty.
  bool Create(platform::Allocator& allocator, int width, int height, int bytesPerPixel);
  void Release();

  bool Empty() const { return !block_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BytesPerPixel() const { return bytesPerPixel_; }
  size_t RowBytes() const { return static_cast<size_t>(width_) * bytesPerPixel_; }
  size_t SizeBytes() const { return RowBytes() * height_; }

  // Row-table entry `index`; 0 is the bottom row of the picture.
  uint8_t* TableRow(int index) { return rows_[index]; }
  const uint8_t* TableRow(int index) const { return rows_[index]; }

  // Picture row `y`, counted from the top.
  uint8_t* Row(int y) { return rows_[height_ - 1 - y]; }
  const uint8_t* Row(int y) const { return rows_[height_ - 1 - y]; }
  uint32_t* Row32(int y) { return reinterpret_cast<uint32_t*>(Row(y)); }
  const uint32_t* Row32(int y) const { return reinterpret_cast<const uint32_t*>(Row(y)); }

  // 32-bit pixel (x, y); no bounds checks.
  uint32_t& At(int x, int y) { return Row32(y)[x]; }
  uint32_t At(int x, int y) const { return Row32(y)[x]; }

  uint8_t* Data() { return block_.get(); }
  const uint8_t* Data() const { return block_.get(); }

 private:
  platform::Block block_;
  std::vector<uint8_t*> rows_;
  int width_ = 0;
  int height_ = 0;
  int bytesPerPixel_ = 0;
};

}  // namespace lumavex
