#pragma once
// The sums behind the neighbourhood averages of the gradation pens: which neighbours
// count and with which colour, and box sums over them read from summed tables that
// are built tile by tile as a stroke reaches them. The picture must not change while
// the sums are in use; the pens hold their results in the work layer for that.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

// Which neighbours an average counts and which of their colours it takes.
enum class NeighbourRule {
  Gradation,       // bitmap colour of draw-area, selected pixels under frames below 250
  Mosaic,          // bitmap colour of draw-area, selected pixels not under opaque frames
  FrameGradation,  // frame colour of draw-area, selected pixels that carry a frame
};

// The colour that pixel (display, frame) adds to an average under `rule`, or nothing
// when it does not count.
inline std::optional<uint32_t> CountedColour(NeighbourRule rule, uint32_t display, uint32_t frame) {
  if ((display & (kDrawAreaFlag | kNonSelectedFlag)) != kDrawAreaFlag) return std::nullopt;
  const uint32_t a = Opacity(frame);
  switch (rule) {
    case NeighbourRule::Gradation:
      if (a >= 250) return std::nullopt;
      return Unblend(display, frame, a);
    case NeighbourRule::Mosaic:
      if (a == 255) return std::nullopt;
      return Unblend(display, frame, a);
    case NeighbourRule::FrameGradation:
      if (a == 0) return std::nullopt;
      return frame & kColourMask;
  }
  return std::nullopt;
}

// Per-channel sums of counted colours and their number.
struct ColourSum {
  uint32_t blue = 0;
  uint32_t green = 0;
  uint32_t red = 0;
  uint32_t count = 0;

  void Add(uint32_t colour) {
    blue += colour & 0xFF;
    green += (colour >> 8) & 0xFF;
    red += (colour >> 16) & 0xFF;
    ++count;
  }
};

// The rounded average (sum + n / 2) / n per channel; `sum.count` must be above 0.
uint32_t AverageColour(const ColourSum& sum);

// The sum of the counted colours of every pixel of `rect` (inside the picture),
// reading each pixel: the obvious form of the sums, for small areas.
ColourSum SumDirectly(const Canvas& canvas, NeighbourRule rule, const PixelRect& rect);

// Box sums under one rule over a picture that stays unchanged. The summed tables
// are kept after a stroke, so that the next stroke reuses their memory.
class NeighbourSums {
 public:
  // Forgets the tables of any earlier picture and starts over on `canvas`.
  void Start(const Canvas& canvas, NeighbourRule rule);

  // The sum over `rect`, which must lie inside the picture given to Start.
  ColourSum Sum(const PixelRect& rect);

 private:
  static constexpr int kTile = 16;
  static constexpr int kSide = kTile + 1;
  // Summed table of one tile: entry (i, j) sums the tile's pixels left of column i
  // and above row j, both counted from the tile's corner. Row 0 and column 0 are
  // never written and stay 0.
  struct Tile {
    ColourSum at[kSide * kSide];
  };

  const Tile& TileAt(int tx, int ty);
  void Build(Tile& tile, int tx, int ty) const;

  const Canvas* canvas_ = nullptr;
  NeighbourRule rule_ = NeighbourRule::Gradation;
  int tilesAcross_ = 0;
  // The pool's index of each tile built for the current picture, −1 where none is.
  std::vector<int> index_;
  std::vector<std::unique_ptr<Tile>> pool_;
  size_t used_ = 0;
};

}  // namespace lumavex
