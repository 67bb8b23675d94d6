#include "lumavex/files/StepRecords.h"

#include <algorithm>

#include "lumavex/files/UndoFormat.h"

namespace lumavex {

namespace {

// The words of `side` of `count` records at `bytes` stored into the layers, the
// side settled outside the loop; the positions written widen `changed`.
template <RecordSide side>
void ApplyRecords(const uint8_t* bytes, int64_t count, Canvas& canvas, PixelRect& changed) {
  const int width = canvas.Width();
  const int height = canvas.Height();
  PixelRect cover = changed;
  for (int64_t i = 0; i < count; ++i) {
    const JournalRecord record = DecodeRecord(bytes + i * kRecordBytes);
    const int x = record.x;
    const int y = record.y;
    if (x >= width || y >= height) continue;
    if constexpr (side == RecordSide::Old) canvas.display.At(x, y) = record.oldDisplay;
    if constexpr (side == RecordSide::New) canvas.display.At(x, y) = record.newDisplay;
    canvas.frame.At(x, y) = side == RecordSide::New ? record.newFrame : record.oldFrame;
    cover.left = std::min(cover.left, x);
    cover.top = std::min(cover.top, y);
    cover.right = std::max(cover.right, x);
    cover.bottom = std::max(cover.bottom, y);
  }
  changed = cover;
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
    switch (side) {
      case RecordSide::Old:
        ApplyRecords<RecordSide::Old>(chunk.data(), whole, canvas, applied.changed);
        break;
      case RecordSide::OldFrameOnly:
        ApplyRecords<RecordSide::OldFrameOnly>(chunk.data(), whole, canvas, applied.changed);
        break;
      case RecordSide::New:
        ApplyRecords<RecordSide::New>(chunk.data(), whole, canvas, applied.changed);
        break;
    }
    applied.count += whole;
    if (whole < wanted) break;
  }
  return applied;
}

}  // namespace lumavex
