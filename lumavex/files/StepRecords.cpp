#include "lumavex/files/StepRecords.h"

#include <algorithm>
#include <cstring>

#include "lumavex/files/UndoFormat.h"

namespace lumavex {

namespace {

uint32_t WordAt(const uint8_t* bytes, size_t offset) {
  uint32_t word;
  std::memcpy(&word, bytes + offset, sizeof word);
  return word;
}

// The words of `side` of `count` records at `bytes` stored into the layers, the
// side settled outside the loop; the positions written widen `changed`. Each
// record's fields are read straight from the chunk, and a position is found from the
// layers' first rows: a plane's rows lie in its block bottom row first, one row
// apart, so picture row y starts (height - 1 - y) rows into the block.
template <RecordSide side>
void ApplyRecords(const uint8_t* bytes, int64_t count, Canvas& canvas, PixelRect& changed) {
  const auto width = static_cast<uint32_t>(canvas.Width());
  const auto height = static_cast<uint32_t>(canvas.Height());
  uint32_t* const display = reinterpret_cast<uint32_t*>(canvas.display.TableRow(0));
  uint32_t* const frame = reinterpret_cast<uint32_t*>(canvas.frame.TableRow(0));
  constexpr size_t kDisplayOffset = side == RecordSide::New ? 8 : 0;
  constexpr size_t kFrameOffset = side == RecordSide::New ? 12 : 4;
  int left = changed.left, top = changed.top, right = changed.right, bottom = changed.bottom;
  for (int64_t i = 0; i < count; ++i) {
    const uint8_t* record = bytes + i * kRecordBytes;
    const uint32_t position = WordAt(record, 16);
    const uint32_t x = position & 0xFFFF;
    const uint32_t y = position >> 16;
    if (x >= width || y >= height) continue;
    const size_t at = static_cast<size_t>(height - 1 - y) * width + x;
    if constexpr (side != RecordSide::OldFrameOnly) display[at] = WordAt(record, kDisplayOffset);
    frame[at] = WordAt(record, kFrameOffset);
    left = std::min(left, static_cast<int>(x));
    top = std::min(top, static_cast<int>(y));
    right = std::max(right, static_cast<int>(x));
    bottom = std::max(bottom, static_cast<int>(y));
  }
  changed = {left, top, right, bottom};
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
