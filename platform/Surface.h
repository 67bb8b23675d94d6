#pragma once
// The window's client area as 32-bit pixels (0x00RRGGBB, top row first).
// Core code draws into it; the host only presents the rectangles it is told.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

inline Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) { Resize(width, height); }

  void Resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t& At(int x, int y) { return Row(y)[x]; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }
  const uint32_t* Data() const { return pixels_.data(); }

  // Fills the part of `r` that lies on the surface.
  void Fill(Rect r, uint32_t colour) {
    r = Intersect(r, Bounds());
    if (r.Empty()) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, colour);
  }

  // Inverts the colour bits of the part of `r` that lies on the surface.
  void Invert(Rect r) {
    r = Intersect(r, Bounds());
    if (r.Empty()) return;
    for (int y = r.top; y < r.bottom; ++y)
      for (uint32_t *p = Row(y) + r.left, *end = Row(y) + r.right; p != end; ++p) *p ^= 0x00FFFFFF;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace platform
