#include "lumavex/files/StepRecords.h"

#include <algorithm>

#include "lumavex/files/UndoFormat.h"

namespace lumavex {

namespace {

void ApplyRecord(const JournalRecord& record, Canvas& canvas, RecordSide side, PixelRect& changed) {
  if (record.x >= canvas.Width() || record.y >= canvas.Height()) return;
  uint32_t& display = canvas.display.At(record.x, record.y);
  uint32_t& frame = canvas.frame.At(record.x, record.y);
  switch (side) {
    case RecordSide::Old:
      display = record.oldDisplay;
      frame = record.oldFrame;
      break;
    case RecordSide::OldFrameOnly:
      frame = record.oldFrame;
      break;
    case RecordSide::New:
      display = record.newDisplay;
      frame = record.newFrame;
      break;
  }
  changed.Merge({record.x, record.y, record.x, record.y});
}

}  // namespace

AppliedRecords ApplyStepRecords(UndoFile& file, int64_t offset, int64_t count, Canvas& canvas,
                                RecordSide side, std::span<uint8_t> chunk) {
  AppliedRecords applied;
  const int64_t chunkRecords = static_cast<int64_t>(chunk.size()) / kRecordBytes;
  if (!canvas.HasPicture() || chunkRecords <= 0) return applied;
  while (applied.count < count) {
    const int64_t wanted = std::min(count - applied.count, chunkRecords);
    const size_t bytes = file.ReadAt(offset + applied.count * kRecordBytes, chunk.data(),
                                     static_cast<size_t>(wanted * kRecordBytes));
    const int64_t whole = static_cast<int64_t>(bytes) / kRecordBytes;
    for (int64_t i = 0; i < whole; ++i)
      ApplyRecord(DecodeRecord(chunk.data() + i * kRecordBytes), canvas, side, applied.changed);
    applied.count += whole;
    if (whole < wanted) break;
  }
  return applied;
}

}  // namespace lumavex
