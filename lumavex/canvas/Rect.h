#pragma once
// Rectangles of picture pixels.

#include <algorithm>
#include <climits>

namespace lumavex {

// The farthest pixel coordinate a conversion gives: far outside every picture, yet far
// enough from the ends of int that adding a picture side to it cannot overflow.
constexpr int kFarPixel = 1 << 30;

// `v` truncated towards zero and clamped to ±kFarPixel; NaN gives -kFarPixel, which
// lies outside every picture. Every double-to-integer pixel conversion goes through it,
// since a conversion of a value out of the range of int is undefined.
inline int PixelIndex(double v) {
  if (!(v > -kFarPixel)) return -kFarPixel;
  if (v >= kFarPixel) return kFarPixel;
  return static_cast<int>(v);
}

// An inclusive rectangle of picture pixels; empty when right < left or bottom < top.
struct PixelRect {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = -1;
  int bottom = -1;

  bool Empty() const { return right < left || bottom < top; }
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }

  // Grows to cover `other` as well.
  void Merge(const PixelRect& other) {
    if (other.Empty()) return;
    if (other.left < left) left = other.left;
    if (other.top < top) top = other.top;
    if (other.right > right) right = other.right;
    if (other.bottom > bottom) bottom = other.bottom;
  }

  // The pixels this rectangle shares with `other`; empty (possibly with crossed
  // bounds) when they share none.
  PixelRect Intersect(const PixelRect& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }

  bool operator==(const PixelRect&) const = default;
};

}  // namespace lumavex
