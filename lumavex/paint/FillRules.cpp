#include "lumavex/paint/FillRules.h"

#include <cstdlib>

namespace lumavex {
namespace {

constexpr uint32_t kFlagsByte = 0xFF000000;

int PositiveMod(int v, int n) {
  const int r = v % n;
  return r < 0 ? r + n : r;
}

// The frame word of a fill-picture frame `q` scaled to opacity `a`, or the land
// backdrop when nothing of it is left.
uint32_t ScaledFillFrame(int x, int y, uint32_t q, uint32_t a) {
  return a > 0 ? (a << 24) | (q & kColourMask) : BackdropColour(x, y, true, false);
}

// A canvas pixel in the drawing area: the fill's bitmap goes over the canvas's
// bitmap, and the fill's frame is merged under the canvas's frame.
PixelPair BitmapFillDrawArea(int x, int y, PixelPair canvas, uint32_t fillBitmap, uint32_t q,
                             uint32_t a, uint32_t m) {
  const uint32_t flags = canvas.display & kFlagsByte;
  const uint32_t canvasAlpha = Opacity(canvas.frame);
  if (canvasAlpha > 0 && a == 0)
    return PaintPixel(x, y, fillBitmap, canvas.display, canvas.frame, m);
  const uint32_t canvasBitmap = Unblend(canvas.display, canvas.frame, canvasAlpha);
  const uint32_t bitmap = m < 255 ? Blend(fillBitmap, m, canvasBitmap) : fillBitmap;
  const uint32_t frame =
      canvasAlpha > 0 ? MergeFrame(canvas.frame, a, q) : ScaledFillFrame(x, y, q, a);
  const uint32_t alpha = Opacity(frame);
  return {flags | (alpha > 0 ? Blend(frame, alpha, bitmap) : bitmap), frame};
}

}  // namespace

bool PassesTolerance(uint32_t display, uint32_t frame, const ToleranceReference& reference) {
  const uint32_t a = Opacity(frame);
  if (reference.nonDraw) return a > 0 || !(display & kDrawAreaFlag);
  const uint32_t colour = a == 0 ? display & kColourMask : Unblend(display, frame, a);
  for (int shift = 0; shift <= 16; shift += 8) {
    const int difference = static_cast<int>(Channel(colour, shift)) -
                           static_cast<int>(Channel(reference.colour, shift));
    if (std::abs(difference) > reference.tolerance) return false;
  }
  return true;
}

PixelPair TiledFillPixel(const FillPicture& picture, int x, int y) {
  const int px = PositiveMod(x - picture.originX, picture.display.Width());
  const int py = PositiveMod(y - picture.originY, picture.display.Height());
  return {picture.display.At(px, py), picture.frame.At(px, py)};
}

std::optional<PixelPair> BitmapFillPixel(int x, int y, PixelPair canvas, PixelPair fill,
                                         uint32_t maxOpacity) {
  const uint32_t p = fill.display, q = fill.frame;
  if (!(p & kDrawAreaFlag)) return std::nullopt;
  constexpr uint32_t kCompared = kDrawAreaFlag | kColourMask;
  if ((p & kCompared) == (canvas.display & kCompared) && q == canvas.frame) return std::nullopt;
  const uint32_t a = Round255(Opacity(q) * maxOpacity);
  const uint32_t fillBitmap = Unblend(p, q, Opacity(q));
  if (canvas.display & kDrawAreaFlag)
    return BitmapFillDrawArea(x, y, canvas, fillBitmap, q, a, maxOpacity);
  return PixelPair{(canvas.display & kFlagsByte) | kDrawAreaFlag | (p & kColourMask),
                   ScaledFillFrame(x, y, q, a)};
}

PixelPair InvertedPixel(PixelPair pixel) {
  const uint32_t flags = (pixel.display & kFlagsByte) | kDrawAreaFlag;
  const uint32_t a = Opacity(pixel.frame);
  if (a == 0) return {flags | (~pixel.display & kColourMask), pixel.frame};
  const uint32_t bitmap = Unblend(pixel.display, pixel.frame, a) ^ kColourMask;
  const uint32_t frame = pixel.frame ^ kColourMask;
  return {flags | Blend(frame, a, bitmap), frame};
}

void FillPaint::Paint(PaintStep& step, int x, int y) const {
  Canvas& canvas = step.Picture();
  uint32_t& display = canvas.display.At(x, y);
  uint32_t& frame = canvas.frame.At(x, y);
  const auto paint = [&](PixelPair painted) {
    step.PaintHeld(display, frame, x, y, painted.display, painted.frame);
  };
  switch (kind) {
    case FillKind::HeadColour:
      paint(PaintPixel(x, y, colour, display, frame, maxOpacity));
      break;
    case FillKind::NonDraw:
      if (Opacity(frame) > 0)
        paint(PaintPixel(x, y, kColourMask, display, frame, 255));
      else
        paint({(display & kFlagsByte & ~kDrawAreaFlag) | kColourMask,
               BackdropColour(x, y, false, false)});
      break;
    case FillKind::Bitmap:
      if (const auto filled =
              BitmapFillPixel(x, y, {display, frame}, TiledFillPixel(*picture, x, y), maxOpacity))
        paint(*filled);
      break;
    case FillKind::OneColour:
      if (PassesTolerance(display, frame, reference))
        paint(PaintPixel(x, y, colour, display, frame, maxOpacity));
      break;
    case FillKind::Select:
    case FillKind::Deselect: {
      // Selection is written straight into the layers; the taken pixel's painted
      // mark, set by the fill, keeps it from being toggled back in the same stroke.
      const uint32_t spreadsThrough = kind == FillKind::Select ? kNonSelectedFlag : 0;
      if ((display & kNonSelectedFlag) == spreadsThrough)
        ToggleSelection(canvas.display.At(x, y), canvas.frame.At(x, y));
      break;
    }
  }
}

}  // namespace lumavex
