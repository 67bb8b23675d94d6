#pragma once
// The pens: a square brush applied at each mouse position of a stroke, and what each
// pen does to the pixels under it. The bitmap pens paint or average the bitmap, the
// frame pens recolour, average or remove frames, the area pens change the
// selection. The averaging pens keep their results in the work layer until the
// stroke ends, so every average reads the picture as it was before the stroke.

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/canvas/RowSpans.h"
#include "lumavex/paint/NeighbourSums.h"

namespace lumavex {

enum class PenKind {
  Normal,             // paints the colour with the opacity, non-draw pixels included
  Gradation,          // the average bitmap colour of the square of radius `degree`
  Mosaic,             // the average bitmap colour of a `degree`-wide grid cell
  FrameGradation,     // the average frame colour of the square of radius `degree`
  ColourChange,       // recolours frames, optionally removing them afterwards
  Delete,             // takes pixels out of the draw area: white, no frame
  TransparentDelete,  // removes frames, keeping how the pixel looks
  Select,             // makes non-selected pixels selected; not journaled
  Deselect,           // makes selected pixels non-selected; not journaled
};

struct Pen {
  PenKind kind = PenKind::Normal;
  int width = 0;              // the brush covers (width + 1) × (width + 1) pixels
  int degree = 1;             // the radius of the gradations, the cell width of the mosaic
  bool deletesFrame = false;  // the colour change removes the recoloured frame
  uint32_t colour = 0;        // 0xRRGGBB
  uint32_t opacity = 255;     // of the normal pen's paint, 1..255
};

// Whether the pen's results wait in the work layer until the stroke ends.
constexpr bool UsesWorkLayer(PenKind kind) {
  return kind == PenKind::Gradation || kind == PenKind::Mosaic || kind == PenKind::FrameGradation;
}

// Whether a stroke of the pen opens its undo step at the press; the averaging pens
// open theirs when the work layer goes in, the area pens journal nothing.
constexpr bool OpensStepAtPress(PenKind kind) {
  return kind == PenKind::Normal || kind == PenKind::ColourChange || kind == PenKind::Delete ||
         kind == PenKind::TransparentDelete;
}

// The pixel column or row of cursor coordinate `v`: trunc(v + 0.5), −1 for
// positions at −0.5 and below.
int BrushPixel(double v);

// The brush at cursor pixel (px, py): x in [px − width, px], y in [py − width, py].
PixelRect BrushRect(int px, int py, int width);

// One stroke: from the press to the release of the button.
class PenStroke {
 public:
  // Starts a stroke with `pen`, opening the undo step where the pen asks for it.
  // The averaging pens build their sums in `sums`, which a caller keeps from stroke
  // to stroke so that their memory is reused; without it the stroke has its own.
  PenStroke(DrawingContext& context, const Pen& pen);
  PenStroke(DrawingContext& context, const Pen& pen, NeighbourSums& sums);

  // Applies the brush once at cursor position (x, y) in picture coordinates.
  void Apply(double x, double y);

  // Ends the stroke: the work layer goes into the picture in an undo step of its
  // own for the averaging pens; the changed rectangle joins the marked rectangle,
  // the end sound plays and the changed pixels are redrawn.
  void Finish();

  const PixelRect& Changed() const { return step_.Changed(); }

 private:
  // Whether the pen changed the pixel (x, y) of the brush.
  bool ApplyAt(int x, int y);
  bool ApplyImmediate(int x, int y, uint32_t display, uint32_t frame);
  void Average(int x, int y, uint32_t frame);
  std::optional<uint32_t> MosaicCell(int x, int y);

  DrawingContext& context_;
  Pen pen_;
  PaintStep step_;
  int width_;
  int height_;
  NeighbourSums ownSums_;
  NeighbourSums& sums_;
  // The columns of each row under the brush so far, for the work layer's put-in.
  RowSpans brushRows_;
  // The mosaic cells averaged so far, by cell column and row.
  std::map<std::pair<int, int>, std::optional<uint32_t>> cells_;
};

// Puts the pending work pixels of `changed` (clipped to the processing square in the
// picture) into the bitmap with the paint primitive, the work opacity as opacity,
// rows from the bottom up, and resets them to 0; one undo step, "★描画中..." while
// it runs, the end sound and the redraw after it. With `rows`, each row is read
// only inside its span there, which must hold every pending pixel of the row.
void PutWorkIntoBitmap(DrawingContext& context, const PixelRect& changed,
                       const RowSpans* rows = nullptr);

}  // namespace lumavex
