#include "lumavex/canvas/PaintStep.h"

#include "lumavex/canvas/Journal.h"
#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

PaintStep::PaintStep(DrawingContext& context, bool openUndoStep)
    : context_(context),
      canvas_(context.Picture()),
      journal_(context.Journal()),
      area_(PaintArea(canvas_)) {
  if (openUndoStep) context_.OpenUndoStep();
}

void PaintStep::Paint(int x, int y, uint32_t display, uint32_t frame) {
  FlushRecords();
  WritePixelJournaled(journal_, canvas_.display.At(x, y), canvas_.frame.At(x, y),
                      display | kPaintedMark, frame, x, y);
  changed_.Merge({x, y, x, y});
}

void PaintStep::PaintColour(int x, int y, uint32_t colour, uint32_t opacity, bool record) {
  uint32_t& display = canvas_.display.At(x, y);
  uint32_t& frame = canvas_.frame.At(x, y);
  const PixelPair painted = PaintPixel(x, y, colour, display, frame, opacity);
  if (record) {
    Paint(x, y, painted.display, painted.frame);
    return;
  }
  display = painted.display | kPaintedMark;
  frame = painted.frame;
  changed_.Merge({x, y, x, y});
}

void PaintStep::FlushRecords() {
  if (heldCount_ > 0) {
    if (roomIsJournals_)
      journal_->CommitRecords(heldCount_);
    else
      journal_->AppendMany(room_.first(heldCount_));
  }
  heldCount_ = 0;
  room_ = {};
  roomIsJournals_ = false;
}

void PaintStep::NextRoom(size_t count) {
  FlushRecords();
  room_ = journal_->RecordSpace();
  roomIsJournals_ = room_.size() >= count;
  if (roomIsJournals_) return;
  // Too little room (or none) is handed back unused before the records go to held_.
  if (!room_.empty()) journal_->CommitRecords(0);
  room_ = held_;
}

void PaintStep::End(bool endSound) {
  FlushRecords();
  context_.MarkedRectangle().Merge(changed_);
  if (endSound) context_.PlayFeedbackSound("end.wav");
  if (!changed_.Empty()) context_.RedrawPicture(changed_);
}

}  // namespace lumavex
