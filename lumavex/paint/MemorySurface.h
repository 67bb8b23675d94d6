#pragma once
// Copy and paste of a curved surface through memory: the band between two spline
// curves is copied into a dense grid of cells, one per picture pixel of the band's
// box, each knowing where in the band it lies (the curve segment, the fraction along
// it and the fraction across the band). A paste maps every cell onto the band between
// three live curves (curve 1, a middle curve that bends the band across, curve 2),
// warps each 2 × 2 block of cells bilinearly into a picture over the target box, and
// lays that picture into the canvas.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/curves/Spline.h"
#include "lumavex/paint/FillPicture.h"
#include "platform/Memory.h"

namespace lumavex {

// Set on a pixel laid in as the inside of a pasted figure, until the next command
// choice: a later figure pasted there merges its frame with this one.
constexpr uint32_t kFigureMark = 0x20000000;

// Border bytes below this are the inside of the figure; 255 is never pasted.
constexpr uint32_t kFigureBorder = 30;
constexpr uint32_t kOutsideBorder = 255;
// Inside the figure, pixels whose opacity byte is below this become non-selected.
constexpr uint32_t kProtectedOpacity = 128;

// An 8-bit grey picture of the source picture's size: the border or the opacity map.
// An empty map reads 0 everywhere.
struct GreyMap {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> levels;  // rows from the top

  bool Empty() const { return levels.empty(); }
  uint8_t At(int x, int y) const {
    return Empty() ? 0 : levels[static_cast<size_t>(y) * width + x];
  }
};

// One picture pixel of the copied band. An empty cell has segment −1.
struct SurfaceCell {
  double along = 0;      // f: the fraction from sample i to sample i + 1
  double across = 0;     // v: the fraction from curve 1 (0) to curve 2 (1)
  int32_t segment = -1;  // the curve segment i: from sample i to sample i + 1
  uint32_t display = 0;  // the selected representation, marks removed
  uint32_t frame = 0;
  uint8_t border = 0;
  uint8_t opacity = 0;

  bool Empty() const { return segment < 0; }
};

// The result of a copy, kept until the next copy or until memory is cleaned.
struct MemorySurface {
  // The copy curves' base points, where a paste starts from.
  std::vector<Sample> curve1;
  std::vector<Sample> curve2;
  int sampleCount = 0;  // nU: the samples along each curve
  bool hasBorder = false;  // a border map was loaded: the figure rules apply
  // The cells cover this box of picture pixels, row by row from its top-left.
  PixelRect box;
  std::vector<SurfaceCell> cells;

  bool Empty() const { return cells.empty(); }
  int Width() const { return box.right - box.left + 1; }
  int Height() const { return box.bottom - box.top + 1; }
  const SurfaceCell& At(int column, int row) const {
    return cells[static_cast<size_t>(row) * Width() + column];
  }
  size_t SizeBytes() const { return cells.size() * sizeof(SurfaceCell); }
};

enum class CopyOutcome {
  Copied,
  CountsDiffer,  // the curves have different numbers of base points
  Overlapping,   // coinciding corners, or curves too short to give a segment
  Twisted,       // a band quadrilateral whose opposite edges cross
  NoMemory,      // the grid would not fit in memory
};

// The status text (or, for NoMemory, the message) of a refused copy; empty for Copied.
std::string CopyOutcomeText(CopyOutcome outcome);

// Copies the band between the splines through `curve1` and `curve2` (the same number
// of base points) at `pointSpacing` (1/100 pixel) into `surface`: each curve is checked
// at 100 samples, then sampled at nU = trunc(max length × 100 / spacing) samples; every
// picture pixel inside a band quadrilateral (border included, the first quadrilateral
// wins) gets its segment and the inverse of the quadrilateral's bilinear patch as its
// fractions. `border` and `opacity` are empty or of the picture's size. `availableBytes`
// bounds the grid. A refused copy leaves `surface` as it was.
CopyOutcome CopySurface(const Canvas& canvas, std::span<const Sample> curve1,
                        std::span<const Sample> curve2, int pointSpacing, const GreyMap& border,
                        const GreyMap& opacity, uint64_t availableBytes, MemorySurface& surface);

// The three live curves of a paste, as base points: all three have the same count.
struct PasteCurves {
  std::vector<Sample> curve1;
  std::vector<Sample> middle;
  std::vector<Sample> curve2;

  bool Empty() const { return curve1.empty(); }
};

// The live curves at the copy position: the copy curves with the middle curve at
// their midline.
PasteCurves CopyPosition(const MemorySurface& surface);

// Mirrors all three curves left to right about the vertical line through the mean x
// of their base points.
void MirrorLeftRight(PasteCurves& curves);

// How the target pixels of a block are found: Fast passes over the pixels an earlier
// block has already covered before solving anything; Reference solves the inverse of
// the block's bilinear patch for every pixel of its box and only then keeps the first
// block's value, the slow and obvious form. Both give the same picture.
enum class WarpScan { Fast, Reference };

// The deformed picture of a paste over its target box: display and frame words in
// true colours (display with the drawing-area flag where the warp covered the pixel,
// 0 elsewhere) and the border and opacity bytes.
struct WarpedPicture {
  PixelRect box;
  std::vector<uint32_t> display;
  std::vector<uint32_t> frame;
  std::vector<uint8_t> border;
  std::vector<uint8_t> opacity;

  int Width() const { return box.right - box.left + 1; }
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y - box.top) * Width() + (x - box.left);
  }
  bool Covered(int x, int y) const { return display[Index(x, y)] & kDrawAreaFlag; }
};

// Maps every cell of `surface` onto the band between `curves` and warps the blocks of
// cells into a picture over the target box, clipped to `clip`. Cells outside the
// copied picture's drawing area take no part. Empty (box empty) when nothing lands
// inside `clip` or the curves do not match the surface.
WarpedPicture WarpSurface(const MemorySurface& surface, const PasteCurves& curves,
                          const PixelRect& clip, WarpScan scan = WarpScan::Fast);

// Lays `warped` into the canvas through `step`: every covered pixel whose canvas pixel
// may be painted (selected, not painted, inside the step's area) and is not queued.
// Border 255 leaves the pixel alone; otherwise the pasted pixel goes in as the bitmap
// fill lays a fill-picture pixel, at `maxOpacity` reduced by the opacity byte. With
// `figure` (a border map was copied), inside the figure (border below 30) the canvas
// frame is replaced by the pasted one unless the pixel carries kFigureMark, and a
// pixel whose opacity byte is below 128 becomes non-selected. Every pixel laid in gets
// the queued and painted marks. The changed rectangle is the box widened by one pixel.
void LayInWarpedPicture(PaintStep& step, const WarpedPicture& warped, uint32_t maxOpacity,
                        bool figure);

// The whole paste: the warp over the step's area, laid in, and the deformed picture
// left in `image` with its origin at the box's top-left (for painting with it later).
// Returns the target box; empty when nothing was pasted (`image` then stays).
PixelRect PasteSurface(PaintStep& step, const MemorySurface& surface, const PasteCurves& curves,
                       uint32_t maxOpacity, platform::Allocator& allocator, FillPicture& image);

}  // namespace lumavex
