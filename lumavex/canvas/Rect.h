#pragma once
// Rectangles of picture pixels.

#include <climits>

namespace lumavex {

// An inclusive rectangle of picture pixels; empty when right < left or bottom < top.
struct PixelRect {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = -1;
  int bottom = -1;

  bool Empty() const { return right < left || bottom < top; }
  // Grows to cover `other` as well.
  void Merge(const PixelRect& other) {
    if (other.Empty()) return;
    if (other.left < left) left = other.left;
    if (other.top < top) top = other.top;
    if (other.right > right) right = other.right;
    if (other.bottom > bottom) bottom = other.bottom;
  }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace lumavex
