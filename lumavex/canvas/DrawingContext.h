#pragma once
// What a drawing operation needs of the program around it: the picture and the
// settings it draws with, the undo journal, the marked rectangle, the status text
// and the feedback sounds. The shell implements it; tests use a recording double.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingSettings.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

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
  // Memory for the work of an operation ran out: shows `text` with the title
  // "エラー" and ends the program.
  [[noreturn]] virtual void OutOfMemory(const std::string& text) {
    FatalError();
    std::abort();  // not reached: FatalError does not return
  }
};

}  // namespace lumavex
