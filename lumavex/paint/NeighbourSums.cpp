#include "lumavex/paint/NeighbourSums.h"

#include <algorithm>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

constexpr uint32_t kCountedMask = kDrawAreaFlag | kNonSelectedFlag;

ColourSum Difference(const ColourSum& a, const ColourSum& b) {
  return {a.blue - b.blue, a.green - b.green, a.red - b.red, a.count - b.count};
}

void Accumulate(ColourSum& into, const ColourSum& other) {
  into.blue += other.blue;
  into.green += other.green;
  into.red += other.red;
  into.count += other.count;
}

}  // namespace

std::optional<uint32_t> CountedColour(NeighbourRule rule, uint32_t display, uint32_t frame) {
  if ((display & kCountedMask) != kDrawAreaFlag) return std::nullopt;
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

uint32_t AverageColour(const ColourSum& sum) {
  const uint32_t n = sum.count, half = n / 2;
  return ((sum.red + half) / n) << 16 | ((sum.green + half) / n) << 8 | (sum.blue + half) / n;
}

ColourSum SumDirectly(const Canvas& canvas, NeighbourRule rule, const PixelRect& rect) {
  ColourSum sum;
  for (int y = rect.top; y <= rect.bottom; ++y) {
    const uint32_t* display = canvas.display.Row32(y);
    const uint32_t* frame = canvas.frame.Row32(y);
    for (int x = rect.left; x <= rect.right; ++x)
      if (const auto colour = CountedColour(rule, display[x], frame[x])) sum.Add(*colour);
  }
  return sum;
}

NeighbourSums::NeighbourSums(const Canvas& canvas, NeighbourRule rule)
    : canvas_(canvas), rule_(rule), tilesAcross_((canvas.Width() + kTile - 1) / kTile) {
  const int tilesDown = (canvas.Height() + kTile - 1) / kTile;
  tiles_.resize(static_cast<size_t>(tilesAcross_) * tilesDown);
}

const NeighbourSums::Tile& NeighbourSums::TileAt(int tx, int ty) {
  std::unique_ptr<Tile>& slot = tiles_[static_cast<size_t>(ty) * tilesAcross_ + tx];
  if (!slot) {
    slot = std::make_unique<Tile>();
    Build(*slot, tx, ty);
  }
  return *slot;
}

void NeighbourSums::Build(Tile& tile, int tx, int ty) const {
  const int x0 = tx * kTile, y0 = ty * kTile;
  const int columns = std::min(kTile, canvas_.Width() - x0);
  const int rows = std::min(kTile, canvas_.Height() - y0);
  for (int j = 0; j < rows; ++j) {
    const uint32_t* display = canvas_.display.Row32(y0 + j);
    const uint32_t* frame = canvas_.frame.Row32(y0 + j);
    ColourSum row;
    for (int i = 0; i < columns; ++i) {
      if (const auto colour = CountedColour(rule_, display[x0 + i], frame[x0 + i]))
        row.Add(*colour);
      ColourSum& entry = tile.at[(j + 1) * kSide + i + 1];
      entry = tile.at[j * kSide + i + 1];
      Accumulate(entry, row);
    }
  }
}

ColourSum NeighbourSums::Sum(const PixelRect& rect) {
  ColourSum sum;
  for (int ty = rect.top / kTile; ty <= rect.bottom / kTile; ++ty) {
    const int y0 = ty * kTile;
    const int top = std::max(rect.top, y0) - y0,
              bottom = std::min(rect.bottom, y0 + kTile - 1) - y0;
    for (int tx = rect.left / kTile; tx <= rect.right / kTile; ++tx) {
      const int x0 = tx * kTile;
      const int left = std::max(rect.left, x0) - x0;
      const int right = std::min(rect.right, x0 + kTile - 1) - x0;
      const ColourSum* at = TileAt(tx, ty).at;
      ColourSum part =
          Difference(at[(bottom + 1) * kSide + right + 1], at[(bottom + 1) * kSide + left]);
      part = Difference(part, Difference(at[top * kSide + right + 1], at[top * kSide + left]));
      Accumulate(sum, part);
    }
  }
  return sum;
}

}  // namespace lumavex
