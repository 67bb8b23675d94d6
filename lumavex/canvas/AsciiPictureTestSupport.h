#pragma once
// Small pixel-exact pictures drawn as text in a test: one character per pixel, top
// row first, each character standing for a display word and a frame word.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex::testing {

// A character's pixel. A frame word of opacity 0 stands for the backdrop of the
// position, so one character serves the whole checker.
struct AsciiPixel {
  uint32_t display = kNewDisplayPixel;
  uint32_t frame = 0;
};

using AsciiLegend = std::map<char, AsciiPixel>;

// '.' white drawing area, '~' white outside the drawing area, '#' an opaque black
// frame, 'o' a half-opaque black frame over white, 'x' a non-selected white pixel,
// '*' a white pixel carrying the painted mark.
inline const AsciiLegend& DefaultAsciiLegend() {
  static const AsciiLegend legend = {
      {'.', {kNewDisplayPixel, 0}},
      {'~', {kColourMask, 0}},
      {'#', {kDrawAreaFlag, 0xFF000000}},
      {'o', {kDrawAreaFlag | Blend(0x000000, 128, 0xFFFFFF), 0x80000000}},
      {'x', {kDrawAreaFlag | kNonSelectedFlag | (0xFFFFFF ^ kNonSelectedDisplayXor), 0}},
      {'*', {kNewDisplayPixel | kPaintedMark, 0}},
  };
  return legend;
}

// The words `pixel` gives position (x, y).
inline void PutAsciiPixel(Canvas& canvas, int x, int y, const AsciiPixel& pixel) {
  canvas.display.At(x, y) = pixel.display;
  canvas.frame.At(x, y) = Opacity(pixel.frame) ? pixel.frame : BackdropFor(x, y, pixel.display);
}

// Paints `rows` into the canvas, which must have their size.
inline void PictureFromAscii(Canvas& canvas, const std::vector<std::string>& rows,
                             const AsciiLegend& legend = DefaultAsciiLegend()) {
  if (static_cast<int>(rows.size()) != canvas.Height())
    throw std::invalid_argument("the picture has another height");
  for (int y = 0; y < canvas.Height(); ++y) {
    if (static_cast<int>(rows[y].size()) != canvas.Width())
      throw std::invalid_argument("row " + std::to_string(y) + " has another width");
    for (int x = 0; x < canvas.Width(); ++x) PutAsciiPixel(canvas, x, y, legend.at(rows[y][x]));
  }
}

// The picture as rows of the legend's characters; '?' where no character matches
// both words exactly, so a failing comparison shows where the picture went wrong.
inline std::vector<std::string> AsciiFromPicture(const Canvas& canvas,
                                                 const AsciiLegend& legend = DefaultAsciiLegend()) {
  std::vector<std::string> rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row(canvas.Width(), '?');
    for (int x = 0; x < canvas.Width(); ++x)
      for (const auto& [c, pixel] : legend) {
        const uint32_t frame =
            Opacity(pixel.frame) ? pixel.frame : BackdropFor(x, y, pixel.display);
        if (canvas.display.At(x, y) == pixel.display && canvas.frame.At(x, y) == frame) row[x] = c;
      }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace lumavex::testing
