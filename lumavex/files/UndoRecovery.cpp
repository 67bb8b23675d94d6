#include <algorithm>
#include <climits>

#include "lumavex/files/UndoJournal.h"

namespace lumavex {

RecoveryResult UndoJournal::Recover(Canvas& canvas) {
  Reset();
  RecoveryResult result;
  if (!enabled_) return result;
  platform::Block chunk = AllocateReadChunk();
  if (!chunk || !file_.Open(FilePath(0), UndoFile::Mode::Update)) return result;
  uint8_t bytes[kStepHeaderBytes] = {};
  const bool readable = file_.ReadAt(0, bytes, sizeof bytes) == sizeof bytes;
  header_ = DecodeStepHeader(bytes);
  if (!readable || header_.previousFile != -1 || header_.count < 0) {
    // Without a first header there is nothing to replay; the next step starts afresh.
    Reset();
    return result;
  }
  const std::optional<UndoPosition> position = ReadUndoPosition(PositionPath());
  positionKept_ = position.has_value();
  if (position && position->noneApplied && *position == UndoPosition{0, 0, true}) {
    StandBeforeFirstStep(result);
    return result;
  }
  const std::span<uint8_t> buffer{chunk.get(), kReadChunkRecords * kRecordBytes};
  while (RecoverStep(canvas, buffer, result) && !AtPosition(position) && MoveToNext(true)) {
  }
  if (AtPosition(position)) {
    // The steps after the position were undone: they stay to be redone.
    SetMenuState(result.records > 0, header_.nextFile >= 0);
    return result;
  }
  // The journal goes on from the last step replayed, whatever lay beyond it.
  header_.nextFile = -1;
  header_.nextOffset = 0;
  SetMenuState(result.records > 0, false);
  return result;
}

bool UndoJournal::AtPosition(const std::optional<UndoPosition>& position) const {
  return position && !position->noneApplied && position->file == fileNumber_ &&
         position->offset == stepDataPos_ - kStepHeaderBytes;
}

void UndoJournal::StandBeforeFirstStep(RecoveryResult& result) {
  stepDataPos_ = writePos_ = kStepHeaderBytes;
  allUndone_ = true;
  result.steps = 0;
  SetMenuState(false, header_.count > 0 || header_.nextFile >= 0);
}

// Replays the current step. A last step whose header still says 0 records keeps the
// whole records that follow it in the file; a step cut short by the end of the file
// keeps its whole records and ends the journal. False when nothing may follow.
bool UndoJournal::RecoverStep(Canvas& canvas, std::span<uint8_t> chunk, RecoveryResult& result) {
  const int64_t size = file_.Size();
  const int64_t room = std::max<int64_t>(size - stepDataPos_, 0);
  // Offsets in the headers are 32-bit; records beyond them cannot belong to the step.
  const int64_t wholeRecords =
      std::min(room / kRecordBytes, (INT32_MAX - stepDataPos_) / kRecordBytes);
  int64_t count = header_.count;
  if (header_.nextFile < 0 && count == 0) {
    count = wholeRecords;
    result.cutShort = room % kRecordBytes != 0;
  } else if (count > wholeRecords) {
    count = wholeRecords;
    result.cutShort = true;
  }
  const AppliedRecords applied =
      ApplyStepRecords(file_, stepDataPos_, count, canvas, RecordSide::New, chunk);
  header_.count = static_cast<int32_t>(count);
  headerCommitted_ = false;
  writePos_ = stepDataPos_ + count * kRecordBytes;
  ++result.steps;
  result.records += applied.count;
  result.changed.Merge(applied.changed);
  return !result.cutShort && header_.nextFile >= 0;
}

}  // namespace lumavex
