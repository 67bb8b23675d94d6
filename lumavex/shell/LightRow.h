#pragma once
// The light factors of the light table multiplied into composed view pixels: the one
// pixel rule, and whole rows of it.

#include <cstdint>
#include <vector>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

// A composed pixel under a light factor word: each of red, green and blue becomes
// round255(colour × factor) with the factor's channel of the same place; the top byte
// stays the pixel's own.
inline uint32_t ApplyLightFactor(uint32_t pixel, uint32_t factor) {
  auto channel = [](uint32_t c, uint32_t f) { return Round255(c * f); };
  return (pixel & 0xFF000000u) | channel((pixel >> 16) & 0xFF, (factor >> 16) & 0xFF) << 16 |
         channel((pixel >> 8) & 0xFF, (factor >> 8) & 0xFF) << 8 |
         channel(pixel & 0xFF, factor & 0xFF);
}

// out[i] = ApplyLightFactor(pixels[i], factors[i]) for `count` words, several at a time
// where the processor allows. `out` may be `pixels` itself but may not otherwise overlap
// either input.
void ApplyLightRow(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count);

// The same one word at a time: the reference the vector loops are checked against.
void ApplyLightRowPlain(const uint32_t* pixels, const uint32_t* factors, uint32_t* out, int count);

using LightRowFunction = void (*)(const uint32_t* pixels, const uint32_t* factors, uint32_t* out,
                                  int count);
// Every way of ApplyLightRow this processor can run, the plain one first.
std::vector<LightRowFunction> LightRowVariants();

}  // namespace lumavex
