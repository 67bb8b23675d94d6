#pragma once
// What a drawing operation needs of the program around it: the picture and the
// settings it draws with, the undo journal, the marked rectangle, the status text
// and the feedback sounds. The shell implements it; tests use a recording double.

#include <climits>
#include <cstdint>
#include <string>

#include "lumavex/curves/Canvas.h"
#include "lumavex/curves/DrawingSettings.h"
#include "lumavex/curves/Journal.h"

namespace lumavex {

// An inclusive rectangle of picture pixels; empty when right < left or bottom < top.
struct PixelRect {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = -1;
  int bottom = -1;

  bool Empty() const { return right < left || bottom < top; }
  // Grows to cover `other` as well.
  void Merge(const PixelRect& other) {
    if (other.Empty()) return;
    if (other.left < left) left = other.left;
    if (other.top < top) top = other.top;
    if (other.right > right) right = other.right;
    if (other.bottom > bottom) bottom = other.bottom;
  }
  bool operator==(const PixelRect&) const = default;
};

class DrawingContext {
 public:
  virtual ~DrawingContext() = default;

  virtual Canvas& Picture() = 0;
  virtual const DrawingSettings& Settings() const = 0;
  // The drawing colours as 0xRRGGBB.
  virtual uint32_t HeadColour() const = 0;
  virtual uint32_t TerminationColour() const = 0;

  // The journal that the journaled pixel writes feed; null when there is none.
  virtual JournalSink* Journal() = 0;
  // Opens a new undo step; the next button release closes it.
  virtual void OpenUndoStep() = 0;

  // The union of the pixels changed since the last command choice, whose
  // processing marks the next command clears.
  virtual PixelRect& MarkedRectangle() = 0;

  virtual void SetStatusText(const std::string& text) = 0;
  virtual void PlayFeedbackSound(const std::string& fileName) = 0;
  // Asks the view to show the changed picture pixels.
  virtual void RedrawPicture(const PixelRect& changed) = 0;

  // An impossible internal state: shows "エラー" and ends the program.
  [[noreturn]] virtual void FatalError() = 0;
};

}  // namespace lumavex
