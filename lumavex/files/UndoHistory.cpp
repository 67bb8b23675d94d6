#include "lumavex/files/UndoJournal.h"

namespace lumavex {

platform::Block UndoJournal::AllocateReadChunk() {
  return allocator_.AllocateChecked(kReadChunkRecords * kRecordBytes);
}

HistoryResult UndoJournal::ApplyCurrent(Canvas& canvas, RecordSide side, std::span<uint8_t> chunk) {
  const AppliedRecords applied =
      ApplyStepRecords(file_, stepDataPos_, header_.count, canvas, side, chunk);
  return {true, applied.changed};
}

HistoryResult UndoJournal::Undo(Canvas& canvas, UndoMode mode) {
  if (stepOpen_) CloseStep();
  if (!enabled_ || !canUndo_) return {};
  platform::Block chunk = AllocateReadChunk();
  if (!chunk) return {};
  if (stepDataPos_ < writePos_ && !allUndone_) {
    // The current step is applied; its header on disk may still say count 0. Undone
    // again after a redo, the step's header and records are on the disk already.
    if (!headerCommitted_) {
      if (!WriteHeader(stepDataPos_ - kStepHeaderBytes, header_) || !CommitFile()) {
        DisableAfterWriteFailure();
        return {};
      }
      headerCommitted_ = true;
    }
    writePos_ = stepDataPos_;
  } else if (!MoveToPrevious()) {
    SetMenuState(false, canRedo_);
    return {};
  }
  const RecordSide side = mode == UndoMode::Full ? RecordSide::Old : RecordSide::OldFrameOnly;
  const HistoryResult result =
      ApplyCurrent(canvas, side, {chunk.get(), kReadChunkRecords * kRecordBytes});
  if (header_.previousFile < 0 || !MoveToPrevious()) {
    writePos_ = stepDataPos_;
    allUndone_ = true;
    SetMenuState(false, true);
  } else {
    SetMenuState(true, true);
  }
  KeepPosition();
  return result;
}

HistoryResult UndoJournal::Redo(Canvas& canvas) {
  if (stepOpen_) CloseStep();
  if (!enabled_ || !canRedo_) return {};
  platform::Block chunk = AllocateReadChunk();
  if (!chunk) return {};
  if (allUndone_) {
    writePos_ = stepDataPos_ + int64_t{header_.count} * kRecordBytes;
    allUndone_ = false;
  } else if (!MoveToNext(false)) {
    SetMenuState(canUndo_, false);
    return {};
  }
  const HistoryResult result =
      ApplyCurrent(canvas, RecordSide::New, {chunk.get(), kReadChunkRecords * kRecordBytes});
  SetMenuState(true, header_.nextFile >= 0);
  KeepPosition();
  return result;
}

void UndoJournal::KeepPosition() {
  positionKept_ = true;
  if (!WriteUndoPosition(PositionPath(), {fileNumber_, static_cast<int32_t>(stepDataPos_ - kStepHeaderBytes),
                                          allUndone_}))
    positionKept_ = false;
}

void UndoJournal::ForgetPosition() {
  if (!positionKept_) return;
  RemoveUndoPosition(PositionPath());
  positionKept_ = false;
}

// Reads the header at `offset` and accepts it only when its own link in the other
// direction names (backFile, backOffset), so that a damaged chain ends instead of
// leading anywhere.
bool UndoJournal::ReadLinkedHeader(UndoFile& file, int64_t offset, int32_t backFile,
                                   int64_t backOffset, bool backIsPrevious, StepHeader& header) {
  uint8_t bytes[kStepHeaderBytes];
  if (file.ReadAt(offset, bytes, sizeof bytes) != sizeof bytes) return false;
  const StepHeader read = DecodeStepHeader(bytes);
  const int32_t linkFile = backIsPrevious ? read.previousFile : read.nextFile;
  const int32_t linkOffset = backIsPrevious ? read.previousOffset : read.nextOffset;
  if (read.count < 0 || linkFile != backFile || linkOffset != backOffset) return false;
  header = read;
  return true;
}

namespace {

// True when the whole of a step with `header` at `offset` lies in `file`.
bool StepFits(UndoFile& file, int64_t offset, const StepHeader& header) {
  const int64_t end = offset + kStepHeaderBytes + int64_t{header.count} * kRecordBytes;
  return end <= file.Size();
}

}  // namespace

void UndoJournal::EnterStep(UndoFile& other, bool sameFile, int32_t file, int64_t offset,
                            const StepHeader& header) {
  if (!sameFile) {
    CloseFileOrEnd();
    file_ = std::move(other);
    fileNumber_ = file;
  }
  header_ = header;
  headerCommitted_ = false;
  stepDataPos_ = offset + kStepHeaderBytes;
  writePos_ = stepDataPos_ + int64_t{header.count} * kRecordBytes;
}

bool UndoJournal::MoveToPrevious() {
  const int64_t here = stepDataPos_ - kStepHeaderBytes;
  const int32_t file = header_.previousFile;
  const int64_t offset = header_.previousOffset;
  const bool sameFile = file == fileNumber_;
  if (file < 0 || (!sameFile && file != fileNumber_ - 1) || offset < 0 ||
      offset % kRecordBytes != 0 || (sameFile && offset >= here))
    return false;
  UndoFile other;
  if (!sameFile) OpenFileOrEnd(other, file, UndoFile::Mode::Update);
  UndoFile& source = sameFile ? file_ : other;
  StepHeader previous;
  if (!ReadLinkedHeader(source, offset, fileNumber_, here, false, previous) ||
      !StepFits(source, offset, previous))
    return false;
  EnterStep(other, sameFile, file, offset, previous);
  return true;
}

bool UndoJournal::MoveToNext(bool forRecovery) {
  const int64_t here = stepDataPos_ - kStepHeaderBytes;
  const int32_t file = header_.nextFile;
  const int64_t offset = header_.nextOffset;
  const bool sameFile = file == fileNumber_;
  const int64_t stepEnd = stepDataPos_ + int64_t{header_.count} * kRecordBytes;
  if (sameFile ? offset != stepEnd : (file != fileNumber_ + 1 || offset != 0)) return false;
  UndoFile other;
  if (!sameFile) {
    if (!forRecovery)
      OpenFileOrEnd(other, file, UndoFile::Mode::Update);
    else if (!other.Open(FilePath(file), UndoFile::Mode::Update))
      return false;
  }
  UndoFile& source = sameFile ? file_ : other;
  StepHeader next;
  if (!ReadLinkedHeader(source, offset, fileNumber_, here, true, next) ||
      (!forRecovery && !StepFits(source, offset, next)))
    return false;
  EnterStep(other, sameFile, file, offset, next);
  return true;
}

}  // namespace lumavex
