#pragma once
// Pasting a whole picture into the canvas: a picture loaded from a file, or the
// picture a text was set into, laid as a rectangle with its top-left corner at a
// canvas pixel, or mapped into a quadrilateral whose corners the user dragged.

#include <optional>
#include <string>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"
#include "lumavex/paint/FreeFormPaste.h"
#include "platform/Progress.h"

namespace lumavex {

// A picture waiting to be pasted: its display and frame planes in true colours (the
// drawing-area flag marks the pixels that take part) and the part of the planes that
// is the picture; the string picture keeps a one-pixel empty border around it.
struct PastePicture {
  PixelPlane display;
  PixelPlane frame;
  PixelRect area;
  // The file the planes were loaded from; empty for a picture made by the program.
  std::string path;

  bool Held() const { return !display.Empty() && !area.Empty(); }
  int Width() const { return area.right - area.left + 1; }
  int Height() const { return area.bottom - area.top + 1; }
  // Frees both planes; afterwards nothing is held.
  void Release();
};

// The words of selected canvas pixel (x, y) after paste-picture pixel `paste` is laid
// on `canvas`: nothing when `paste` lies outside its picture's drawing area. The
// pasted bitmap colour and frame replace the canvas's, except outside the canvas's
// drawing area, where a frame the canvas already has stays in front and the pasted
// frame is merged under it. The canvas's flags are kept; the pixel joins the drawing
// area.
std::optional<PixelPair> PastedPixel(int x, int y, PixelPair canvas, PixelPair paste);

// Pastes the whole picture with its top-left pixel at canvas pixel (left, top), into
// the pixels the step may paint; one progress unit per row of the rectangle inside
// the step's area, bottom row first. Returns the canvas rectangle worked over.
PixelRect PasteRectangle(PaintStep& step, const PastePicture& picture, int left, int top,
                         platform::Progress& progress);

// Pastes the picture into the quadrilateral `corners` (the picture's top-left,
// top-right, bottom-right and bottom-left pixel centres) through the free-form
// paste's mapping: every paintable pixel whose centre lies inside takes the picture
// pixel nearest to the point the mapping gives, frame and all. One progress unit per
// row of the quadrilateral's box inside the step's area.
PixelRect PasteQuadrilateral(PaintStep& step, const PastePicture& picture,
                             const PasteCorners& corners, platform::Progress& progress);

// The corners of the picture laid unchanged with its top-left pixel at (left, top).
PasteCorners RectangleCorners(const PastePicture& picture, int left, int top);

// The top-left pixel when `corners` are those of the picture laid unchanged at a
// whole pixel, so that the paste is a plain copy; nothing when they were moved.
std::optional<std::pair<int, int>> UnchangedRectangleAt(const PastePicture& picture,
                                                         const PasteCorners& corners);

}  // namespace lumavex
