#pragma once
// Loading a picture file into the canvas or into the planes of a paste source. The
// extension, compared without regard to case, chooses the reader: ".lmv" native,
// ".bmp" BMP, ".png" PNG, ".jpg" JPEG. BMP, PNG and JPEG pictures enter the canvas at
// the size their load-size policy gives; native pictures always at their own size.

#include <functional>
#include <string>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelPlane.h"
#include "lumavex/files/LoadSize.h"
#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

struct LoadServices {
  platform::UiHost& host;
  platform::Allocator& allocator;
};

// The planes a paste source can be loaded as.
enum class PasteVariant {
  // Picture size; native pictures converted as the canvas converts them.
  SameSize,
  // Picture size; native pictures with their true colours: the non-selected marking
  // is undone and the stored frames are kept as they are.
  SameSizeUnmarked,
  // Width + 2 by height + 2 with the picture at (1, 1) in true colours. Native
  // pictures get a border of 0 in both planes; other pictures fill only the display
  // plane, whose border repeats the nearest edge pixel.
  Bordered,
};

// The extension of `name`: the text from the last "." after the last "/"; empty
// when there is none.
std::string PictureExtension(const std::string& name);

// How a BMP, PNG or JPEG picture is sized on its way into the canvas.
struct LoadSizing {
  LoadSizePolicy policy = LoadSizePolicy::SameSize;
  PictureSize view;   // the view size the policies fit into
  PictureSize given;  // the size of the given-size policy
  // Shows a status text while the picture is resized; may be empty.
  std::function<void(const std::string&)> showStatus;
};

// True when the load-size policy applies to `name`: a BMP, PNG or JPEG picture.
bool LoadSizeApplies(const std::string& name);

// Loads the file at `path` into the canvas; the messages name it `shownName`. Once a
// reader has started, a failure leaves the canvas without a picture. Layers of the
// new picture's size are reused; others are released before the new ones are made.
// A reduced BMP is resampled line by line as it is read. A policy that would enlarge
// a picture loads it at its own size. Returns success.
bool LoadCanvasPicture(const LoadServices& services, const std::string& path,
                       const std::string& shownName, Canvas& canvas,
                       const LoadSizing& sizing = {});

// Loads the file at `path` as a paste source. A failure releases both planes; the
// canvas is never touched.
bool LoadPastePicture(const LoadServices& services, const std::string& path,
                      const std::string& shownName, PasteVariant variant, PixelPlane& display,
                      PixelPlane& frame);

}  // namespace lumavex
