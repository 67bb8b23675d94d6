#include "lumavex/paint/PictureFilePaste.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumavex {
namespace {

constexpr uint32_t kFlagsByte = 0xFF000000;

// A pasted frame word at canvas position (x, y): a picture position without frame
// carries its own backdrop, which the canvas position's backdrop replaces.
uint32_t PastedFrame(int x, int y, uint32_t frame) {
  return Opacity(frame) > 0 ? frame : BackdropColour(x, y, true, false);
}

}  // namespace

void PastePicture::Release() {
  display.Release();
  frame.Release();
  area = {};
  path.clear();
}

std::optional<PixelPair> PastedPixel(int x, int y, PixelPair canvas, PixelPair paste) {
  if (!(paste.display & kDrawAreaFlag)) return std::nullopt;
  const uint32_t flags = (canvas.display & kFlagsByte) | kDrawAreaFlag;
  const uint32_t canvasAlpha = Opacity(canvas.frame);
  if ((canvas.display & kDrawAreaFlag) || canvasAlpha == 0)
    return PixelPair{flags | (paste.display & kColourMask), PastedFrame(x, y, paste.frame)};
  const uint32_t pasteAlpha = Opacity(paste.frame);
  const uint32_t bitmap = Unblend(paste.display, paste.frame, pasteAlpha);
  const uint32_t frame = MergeFrame(canvas.frame, pasteAlpha, paste.frame);
  return PixelPair{flags | Blend(frame, Opacity(frame), bitmap), frame};
}

PixelRect PasteRectangle(PaintStep& step, const PastePicture& picture, int left, int top,
                         platform::Progress& progress) {
  // The placed rectangle in 64 bits, since a typed corner may lie anywhere.
  const PixelRect area = step.Area();
  const int64_t right = int64_t{left} + picture.Width() - 1;
  const int64_t bottom = int64_t{top} + picture.Height() - 1;
  if (area.Empty() || right < area.left || bottom < area.top || left > area.right ||
      top > area.bottom)
    return {};
  const PixelRect rect{std::max(left, area.left), std::max(top, area.top),
                       static_cast<int>(std::min<int64_t>(right, area.right)),
                       static_cast<int>(std::min<int64_t>(bottom, area.bottom))};
  Canvas& canvas = step.Picture();
  const int dx = picture.area.left - left, dy = picture.area.top - top;
  progress.ProgressStart(static_cast<uint64_t>(rect.bottom - rect.top + 1));
  for (int y = rect.bottom; y >= rect.top; --y) {
    uint32_t* display = canvas.display.Row32(y);
    uint32_t* frame = canvas.frame.Row32(y);
    const uint32_t* sourceDisplay = picture.display.Row32(y + dy) + dx;
    const uint32_t* sourceFrame = picture.frame.Row32(y + dy) + dx;
    // The land backdrop of the row: even where x's and y's eight-pixel squares agree.
    const uint32_t rowParity = static_cast<uint32_t>(y) & 8;
    for (int x = rect.left; x <= rect.right; ++x) {
      const uint32_t paste = sourceDisplay[x], old = display[x];
      if (!(paste & kDrawAreaFlag) || !Paintable(old)) continue;
      const uint32_t oldFrame = frame[x];
      uint32_t newDisplay, newFrame;
      if ((old & kDrawAreaFlag) || Opacity(oldFrame) == 0) {
        // The pasted colour and frame replace the canvas's: PastedPixel's first case.
        const uint32_t pasteFrame = sourceFrame[x];
        newDisplay = (old & kFlagsByte) | kDrawAreaFlag | (paste & kColourMask);
        newFrame = Opacity(pasteFrame) > 0 ? pasteFrame
                   : ((static_cast<uint32_t>(x) & 8) == rowParity) ? kLandEven
                                                                   : kLandOdd;
      } else {
        const PixelPair pasted = *PastedPixel(x, y, {old, oldFrame}, {paste, sourceFrame[x]});
        newDisplay = pasted.display, newFrame = pasted.frame;
      }
      step.PaintHeldFrom(display[x], frame[x], old, oldFrame, x, y, newDisplay, newFrame);
    }
    progress.ProgressStep();
  }
  step.FlushRecords();
  step.Widen(rect);
  progress.ProgressEnd();
  return rect;
}

PixelRect PasteQuadrilateral(PaintStep& step, const PastePicture& picture,
                             const PasteCorners& corners, platform::Progress& progress) {
  const PixelRect box = QuadrilateralBox(corners).Intersect(step.Area());
  if (box.Empty()) return {};
  Canvas& canvas = step.Picture();
  const double spanX = picture.Width() - 1, spanY = picture.Height() - 1;
  progress.ProgressStart(static_cast<uint64_t>(box.bottom - box.top + 1));
  ForEachQuadrilateralPixel(
      corners, box,
      [&](int x, int y, double u, double v) {
        uint32_t& display = canvas.display.At(x, y);
        if (!Paintable(display)) return;
        const int sx = picture.area.left + static_cast<int>(std::floor(u * spanX + 0.5));
        const int sy = picture.area.top + static_cast<int>(std::floor(v * spanY + 0.5));
        uint32_t& frame = canvas.frame.At(x, y);
        const auto pasted =
            PastedPixel(x, y, {display, frame}, {picture.display.At(sx, sy), picture.frame.At(sx, sy)});
        if (pasted) step.PaintHeld(display, frame, x, y, pasted->display, pasted->frame);
      },
      [&](int) { progress.ProgressStep(); });
  step.FlushRecords();
  step.Widen(box);
  progress.ProgressEnd();
  return box;
}

PasteCorners RectangleCorners(const PastePicture& picture, int left, int top) {
  const double l = left, t = top, r = left + picture.Width() - 1, b = top + picture.Height() - 1;
  return {Sample{l, t}, Sample{r, t}, Sample{r, b}, Sample{l, b}};
}

std::optional<std::pair<int, int>> UnchangedRectangleAt(const PastePicture& picture,
                                                         const PasteCorners& corners) {
  const double left = corners[0].x, top = corners[0].y;
  if (left != std::floor(left) || top != std::floor(top) || std::fabs(left) > kFarPixel ||
      std::fabs(top) > kFarPixel)
    return std::nullopt;
  const PasteCorners laid = RectangleCorners(picture, static_cast<int>(left), static_cast<int>(top));
  for (size_t i = 0; i < laid.size(); ++i)
    if (laid[i].x != corners[i].x || laid[i].y != corners[i].y) return std::nullopt;
  return std::pair{static_cast<int>(left), static_cast<int>(top)};
}

}  // namespace lumavex
