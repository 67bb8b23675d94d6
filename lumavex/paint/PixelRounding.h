#pragma once
// PixelIndex(std::ceil(v)) and PixelIndex(std::floor(v)) without the library calls,
// for the loops that round block bounds to pixels many times over.

#include "lumavex/canvas/Rect.h"

namespace lumavex {

// The same as PixelIndex(std::ceil(v)): ceil(v) ≥ n exactly when v > n − 1.
inline int CeilPixelIndex(double v) {
  if (!(v > -kFarPixel)) return -kFarPixel;
  if (v > kFarPixel - 1) return kFarPixel;
  const int t = static_cast<int>(v);  // toward zero
  return t + (t < v);
}

// The same as PixelIndex(std::floor(v)): floor(v) ≥ n exactly when v ≥ n.
inline int FloorPixelIndex(double v) {
  if (!(v >= -kFarPixel + 1)) return -kFarPixel;
  if (v >= kFarPixel) return kFarPixel;
  const int t = static_cast<int>(v);
  return t - (t > v);
}

}  // namespace lumavex
