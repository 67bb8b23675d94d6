#pragma once
// Enlarging a loaded picture to a larger size: the picture is mapped onto the whole
// of a new blank canvas through the free-form paste, so each pixel of the result
// takes the colour interpolated between the source pixels around its centre.

#include "lumavex/canvas/Canvas.h"
#include "lumavex/files/LoadSize.h"
#include "platform/Memory.h"

namespace lumavex {

// Replaces the canvas's picture by its enlargement to `target`; the edge pixels keep
// their own colour up to the edge of the result. False when memory runs out, with the
// canvas then holding either the original or a blank picture of the target size.
bool EnlargePicture(Canvas& canvas, platform::Allocator& allocator, PictureSize target);

}  // namespace lumavex
