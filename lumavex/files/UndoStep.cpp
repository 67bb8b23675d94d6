#include "lumavex/files/UndoJournal.h"

namespace lumavex {

void UndoJournal::OpenStep(const Canvas& canvas) {
  if (stepOpen_) CloseStep();
  if (!enabled_) return;
  // The new step cuts off every step after the current one: recovery replays to the end.
  ForgetPosition();
  if (!canUndo_ && !canRedo_ && sessionRefresh_) sessionRefresh_();
  SetMenuState(canUndo_, false);
  if (!file_.IsOpen() || allUndone_) {
    if (!StartJournal()) return;
  } else if (header_.count > 0) {
    const int64_t largestStep =
        static_cast<int64_t>(canvas.Width()) * canvas.Height() * kRecordBytes + kStepHeaderBytes;
    if (!StartNextStep(largestStep)) return;
  }
  stepOpen_ = true;
  OpenBufferRoom();
}

// A fresh journal: "UndoFile00.dat" truncated to the empty first header.
bool UndoJournal::StartJournal() {
  Reset();
  OpenFileOrEnd(file_, 0, UndoFile::Mode::Create);
  if (!WriteHeader(0, header_) || !CommitFile()) {
    DisableAfterWriteFailure();
    return false;
  }
  return true;
}

// Completes the current step's header with its count and the link to a new empty
// step, which starts a new file when a step as large as the picture might not fit.
// Whatever followed the current step (a chain that can no longer be redone) is cut
// off, so that the file ends where its last step's records end.
bool UndoJournal::StartNextStep(int64_t largestStepBytes) {
  const int64_t headerOffset = stepDataPos_ - kStepHeaderBytes;
  headerCommitted_ = false;
  const int64_t stepEnd = stepDataPos_ + int64_t{header_.count} * kRecordBytes;
  const bool newFile = writePos_ + largestStepBytes >= options_.fileSizeLimit;
  header_.nextFile = newFile ? fileNumber_ + 1 : fileNumber_;
  header_.nextOffset = newFile ? 0 : static_cast<int32_t>(stepEnd);
  bool written = WriteHeader(headerOffset, header_);
  if (written && newFile) {
    written = CommitFile();
    if (written) {
      CloseFileOrEnd();
      OpenFileOrEnd(file_, ++fileNumber_, UndoFile::Mode::Create);
    }
  }
  header_ = {0, newFile ? fileNumber_ - 1 : fileNumber_, static_cast<int32_t>(headerOffset), -1, 0};
  stepDataPos_ = writePos_ = (newFile ? 0 : stepEnd) + kStepHeaderBytes;
  written = written && WriteHeader(stepDataPos_ - kStepHeaderBytes, header_) && CommitFile();
  if (written && !newFile && file_.Size() > stepDataPos_) written = file_.Truncate(stepDataPos_);
  if (!written) DisableAfterWriteFailure();
  return written;
}

void UndoJournal::CloseStep() {
  if (!enabled_ || !stepOpen_) return;
  stepOpen_ = false;
  TakeBackRoom();
  if (!WritePending()) return;
  // Handing the records to the system here means a crash of the program alone
  // loses none of them; the disk commit follows with the next header.
  if ((options_.writeAllowed && !options_.writeAllowed()) || !file_.Flush()) {
    DisableAfterWriteFailure();
    return;
  }
  if (header_.count > 0) SetMenuState(true, canRedo_);
}

}  // namespace lumavex
