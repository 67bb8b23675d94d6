#include "lumavex/paint/WholeAreaFills.h"

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/paint/FillRules.h"

namespace lumavex {
namespace {

const char* StatusOf(WholeAreaFill fill) {
  switch (fill) {
    case WholeAreaFill::HeadColour:
      return "★全選択領域塗りつぶし中...";
    case WholeAreaFill::OneColour:
      return "★全選択領域単色領域塗りつぶし中...";
    case WholeAreaFill::Invert:
      return "★全選択領域 XOR 塗りつぶし中...";
  }
  return "";
}

struct WholeAreaPass {
  PaintStep& step;
  WholeAreaFill fill;
  uint32_t colour;
  uint32_t maxOpacity;
  ToleranceReference reference;

  void Pixel(int x, int y) const {
    Canvas& canvas = step.Picture();
    uint32_t& display = canvas.display.At(x, y);
    if (!Paintable(display)) return;
    if (fill == WholeAreaFill::HeadColour) {
      step.PaintColour(x, y, colour, maxOpacity);
      return;
    }
    if (!(display & kDrawAreaFlag)) return;
    const PixelPair pixel{display, canvas.frame.At(x, y)};
    if (fill == WholeAreaFill::Invert) {
      const PixelPair inverted = InvertedPixel(pixel);
      step.Paint(x, y, inverted.display, inverted.frame);
    } else {
      display |= kPaintedMark;
      if (PassesTolerance(pixel.display, pixel.frame, reference))
        step.PaintColour(x, y, colour, maxOpacity);
    }
  }
};

}  // namespace

void FillWholeArea(DrawingContext& context, WholeAreaFill fill, platform::Progress& progress) {
  const DrawingSettings& settings = context.Settings();
  if (fill == WholeAreaFill::HeadColour && settings.maxOpacity == 0) return;
  PaintStep step(context, true);
  const WholeAreaPass pass{step,
                           fill,
                           context.HeadColour(),
                           static_cast<uint32_t>(settings.maxOpacity),
                           {false, context.TerminationColour(), settings.rgbTolerance}};
  context.SetStatusText(StatusOf(fill));
  const PixelRect area = step.Area();
  progress.ProgressStart(area.Empty() ? 0 : static_cast<uint64_t>(area.bottom - area.top + 1));
  for (int y = area.bottom; y >= area.top; --y) {
    for (int x = area.left; x <= area.right; ++x) pass.Pixel(x, y);
    progress.ProgressStep();
  }
  progress.ProgressEnd();
  step.Widen(area);
  context.SetStatusText("");
  step.End(true);
}

}  // namespace lumavex
