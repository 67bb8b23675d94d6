#pragma once
// What the fills do to one pixel: the one-colour fills' tolerance test, the bitmap
// fill's tiling and frame merge, the colour inversion, and the painting (or the
// selection change) of a pixel that a region fill takes, per kind of fill.

#include <cstdint>
#include <optional>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/paint/FillPicture.h"

namespace lumavex {

// The kinds of region fill.
enum class FillKind {
  HeadColour,  // the head colour inside frames
  NonDraw,     // unframed pixels leave the drawing area, framed ones turn white
  Bitmap,      // the fill picture, tiled, with its frames merged under the canvas's
  OneColour,   // the head colour where the colour is near the seed's
  Select,      // non-selected pixels become selected; not journaled
  Deselect,    // selected pixels become non-selected; not journaled
};

// The colour the one-colour fills compare with. The non-draw reference takes every
// framed pixel and every pixel outside the drawing area.
struct ToleranceReference {
  bool nonDraw = false;
  uint32_t colour = 0;  // 0xRRGGBB
  int tolerance = 0;    // 0..255, per channel, ends included
};

// Whether the pixel (display, frame) passes the tolerance test: its bitmap colour
// (under a frame, the colour found under it) lies within the tolerance of the
// reference colour in each channel.
bool PassesTolerance(uint32_t display, uint32_t frame, const ToleranceReference& reference);

// The fill picture's pixel that canvas pixel (x, y) takes, tiling the picture from
// its origin.
PixelPair TiledFillPixel(const FillPicture& picture, int x, int y);

// The bitmap fill of canvas pixel (x, y) with fill-picture pixel `fill` at maximum
// opacity `maxOpacity`; nothing when the fill pixel lies outside the fill picture's
// drawing area or the canvas pixel already shows it. Canvas flags are kept.
std::optional<PixelPair> BitmapFillPixel(int x, int y, PixelPair canvas, PixelPair fill,
                                         uint32_t maxOpacity);

// The colour inversion of a pixel in the drawing area: its bitmap and its frame
// colour inverted, the frame's opacity kept, the display recomposed. The drawing-area
// flag is set and the other flags kept.
PixelPair InvertedPixel(PixelPair pixel);

// What a region fill paints at the pixels it takes.
struct FillPaint {
  FillKind kind = FillKind::HeadColour;
  uint32_t colour = 0;  // the head colour
  uint32_t maxOpacity = 255;
  ToleranceReference reference;          // the one-colour fill's
  const FillPicture* picture = nullptr;  // the bitmap fill's

  // Paints pixel (x, y), already marked as painted, through `step`, holding the
  // record in the step (PaintHeld) and leaving the changed rectangle to the caller.
  void Paint(PaintStep& step, int x, int y) const;
};

}  // namespace lumavex
