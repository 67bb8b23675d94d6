#pragma once
// One drawing operation's pass over the picture. Every tool that changes pixels
// opens a paint step, asks it which pixels it may paint, writes through it and ends
// it; the step keeps the journal, the painted marks, the changed and marked
// rectangles, the end sound and the redraw the same for all of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/canvas/Rect.h"

namespace lumavex {

// The pixels drawing operations may change: the processing square inside the picture.
inline PixelRect PaintArea(const Canvas& canvas) {
  return canvas.processingSquare.Intersect(canvas.Bounds());
}

class PaintStep {
 public:
  // Opens the step over the processing square inside the picture. With
  // `openUndoStep` a new undo step opens too (an operation started by a press or a
  // commit); without it the writes join the step already open.
  PaintStep(DrawingContext& context, bool openUndoStep);
  ~PaintStep() { FlushRecords(); }
  PaintStep(const PaintStep&) = delete;
  PaintStep& operator=(const PaintStep&) = delete;

  // The pixels the step may paint: the processing square inside the picture.
  const PixelRect& Area() const { return area_; }
  Canvas& Picture() { return canvas_; }
  // Whether pixel (x, y) may be painted: inside the area, selected and not yet
  // painted since the last command choice.
  bool MayPaint(int x, int y) const {
    return area_.Contains(x, y) && Paintable(canvas_.display.At(x, y));
  }

  // Stores the new words of pixel (x, y) through the journaled write, with the
  // painted mark set, and widens the changed rectangle to cover it.
  void Paint(int x, int y, uint32_t display, uint32_t frame);

  // Paints `colour` with `opacity` on pixel (x, y) by the paint primitive. With
  // `record` the change goes through the journaled write as Paint does; without it
  // the words are stored directly (painted mark set, changed rectangle widened).
  void PaintColour(int x, int y, uint32_t colour, uint32_t opacity, bool record = true);

  // Stores the new words into `display` and `frame`, the words of pixel (x, y), as
  // Paint does, but holds the record in the step and leaves the changed rectangle to
  // the caller's Widen; for loops that write many pixels. The held records reach the
  // journal in the order of the writes, before any later record of the step.
  void PaintHeld(uint32_t& display, uint32_t& frame, int x, int y, uint32_t newDisplay,
                 uint32_t newFrame) {
    WriteHeld(display, frame, x, y, newDisplay | kPaintedMark, newFrame);
  }
  // As PaintHeld, but stores `newDisplay` as given, without the painted mark: for the
  // operations that neither test nor set it.
  void WriteHeld(uint32_t& display, uint32_t& frame, int x, int y, uint32_t newDisplay,
                 uint32_t newFrame) {
    Hold(display, frame, x, y, newDisplay, newFrame);
    display = newDisplay;
    frame = newFrame;
  }
  // As PaintHeld, for a loop that has read the words `oldDisplay` and `oldFrame` of
  // the slots `display` and `frame` already: they are not read again, and a frame
  // word that stays the same is not stored again.
  void PaintHeldFrom(uint32_t& display, uint32_t& frame, uint32_t oldDisplay, uint32_t oldFrame,
                     int x, int y, uint32_t newDisplay, uint32_t newFrame) {
    Hold(oldDisplay, oldFrame, x, y, newDisplay, newFrame);
    display = newDisplay | kPaintedMark;
    if (newFrame != oldFrame) frame = newFrame;
  }
  // For loops that put whole records together themselves: room for `count` (at
  // most 256) more held records, laid out as Hold would write them, the first of
  // which is the next one held. The loop may write into all of it and then hands
  // over how many of the records it wrote are real with Held; those reach the
  // journal as held writes do. Only while Journaling.
  JournalRecord* HeldRoom(size_t count) {
    if (room_.size() - heldCount_ < count) NextRoom(count);
    return room_.data() + heldCount_;
  }
  void Held(size_t count) { heldCount_ += count; }
  // Whether the writes go to a journal; without one a loop that stores the words
  // itself need not gather what HoldWritten or HeldRoom would take.
  bool Journaling() const { return journal_ != nullptr; }

  // Holds the record of a write from the old words to the new ones that the caller
  // has stored itself, as PaintHeldFrom would have: for loops that store many pixels
  // at once. The records must come in the order of the writes.
  void HoldWritten(uint32_t oldDisplay, uint32_t oldFrame, int x, int y, uint32_t newDisplay,
                   uint32_t newFrame) {
    Hold(oldDisplay, oldFrame, x, y, newDisplay, newFrame);
  }
  // Hands the held records to the journal. The step holds them in the journal's
  // own buffer where it offers room, so they must reach it before anything else
  // writes to the journal: a loop of PaintHeld calls ends with this or with End.
  void FlushRecords();

  // Widens the changed rectangle by `rect` inside the area, for operations whose
  // changed rectangle is the whole region they worked over.
  void Widen(const PixelRect& rect) { changed_.Merge(rect.Intersect(area_)); }
  const PixelRect& Changed() const { return changed_; }

  // Ends the step: the changed rectangle joins the marked rectangle, "end.wav"
  // plays when `endSound` is set, and the changed pixels (if any) are redrawn.
  void End(bool endSound);

 private:
  DrawingContext& context_;
  Canvas& canvas_;
  JournalSink* journal_;
  PixelRect area_;
  PixelRect changed_;
  // Flushes the held records and takes new room for at least `count` records: the
  // journal's where it offers that much, else held_.
  void NextRoom(size_t count = 1);
  // Holds the record of a write from the old words to the new ones.
  void Hold(uint32_t oldDisplay, uint32_t oldFrame, int x, int y, uint32_t newDisplay,
            uint32_t newFrame) {
    if (!journal_) return;
    if (heldCount_ == room_.size()) NextRoom();
    room_[heldCount_++] = {oldDisplay & kJournalMask, oldFrame,
                           newDisplay & kJournalMask, newFrame,
                           static_cast<uint16_t>(x),  static_cast<uint16_t>(y)};
  }

  std::array<JournalRecord, 256> held_;
  // Where PaintHeld writes: room in the journal's buffer, or held_.
  std::span<JournalRecord> room_;
  bool roomIsJournals_ = false;
  size_t heldCount_ = 0;
};

}  // namespace lumavex
