#include "lumavex/canvas/Journal.h"

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

void WritePixelJournaled(JournalSink* journal, uint32_t& display, uint32_t& frame,
                         uint32_t newDisplay, uint32_t newFrame, int x, int y) {
  if (journal && journal->Recording()) {
    journal->Append({display & kJournalMask, frame, newDisplay & kJournalMask, newFrame,
                     static_cast<uint16_t>(x), static_cast<uint16_t>(y)});
  }
  display = newDisplay;
  frame = newFrame;
}

}  // namespace lumavex
