#include "lumavex/paint/NeighbourSums.h"

#include <algorithm>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {
namespace {

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

uint32_t AverageColour(const ColourSum& sum) {
  const uint32_t n = sum.count, half = n / 2;
  if (n >= 4096) {
    return ((sum.red + half) / n) << 16 | ((sum.green + half) / n) << 8 | (sum.blue + half) / n;
  }
  // One division instead of three: v * ceil(2^32 / n) >> 32 is v / n exactly while
  // v * n stays below 2^32, which 256 × n² < 2^32 guarantees here.
  const uint64_t m = ((uint64_t{1} << 32) + n - 1) / n;
  const auto divide = [m](uint32_t v) { return static_cast<uint32_t>((v * m) >> 32); };
  return divide(sum.red + half) << 16 | divide(sum.green + half) << 8 | divide(sum.blue + half);
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

void NeighbourSums::Start(const Canvas& canvas, NeighbourRule rule) {
  canvas_ = &canvas;
  rule_ = rule;
  tilesAcross_ = (canvas.Width() + kTile - 1) / kTile;
  const int tilesDown = (canvas.Height() + kTile - 1) / kTile;
  index_.assign(static_cast<size_t>(tilesAcross_) * tilesDown, -1);
  used_ = 0;
}

const NeighbourSums::Tile& NeighbourSums::TileAt(int tx, int ty) {
  int& slot = index_[static_cast<size_t>(ty) * tilesAcross_ + tx];
  if (slot < 0) {
    if (used_ == pool_.size()) pool_.push_back(std::make_unique<Tile>());
    slot = static_cast<int>(used_++);
    Build(*pool_[slot], tx, ty);
  }
  return *pool_[slot];
}

namespace {

// One tile row of summed-table entries: `out[i]` is `above[i]` plus the counted
// colours of columns 0..i of the row; the rule is fixed so the test inlines.
template <NeighbourRule rule>
void SumRow(const uint32_t* display, const uint32_t* frame, int columns, const ColourSum* above,
            ColourSum* out) {
  uint32_t blue = 0, green = 0, red = 0, count = 0;
  for (int i = 0; i < columns; ++i) {
    if (const auto colour = CountedColour(rule, display[i], frame[i])) {
      blue += *colour & 0xFF;
      green += (*colour >> 8) & 0xFF;
      red += (*colour >> 16) & 0xFF;
      ++count;
    }
    out[i] = {above[i].blue + blue, above[i].green + green, above[i].red + red,
              above[i].count + count};
  }
}

}  // namespace

void NeighbourSums::Build(Tile& tile, int tx, int ty) const {
  const int x0 = tx * kTile, y0 = ty * kTile;
  const int columns = std::min(kTile, canvas_->Width() - x0);
  const int rows = std::min(kTile, canvas_->Height() - y0);
  const auto sumRow = rule_ == NeighbourRule::Gradation ? SumRow<NeighbourRule::Gradation>
                      : rule_ == NeighbourRule::Mosaic  ? SumRow<NeighbourRule::Mosaic>
                                                        : SumRow<NeighbourRule::FrameGradation>;
  for (int j = 0; j < rows; ++j)
    sumRow(canvas_->display.Row32(y0 + j) + x0, canvas_->frame.Row32(y0 + j) + x0, columns,
           &tile.at[j * kSide + 1], &tile.at[(j + 1) * kSide + 1]);
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
