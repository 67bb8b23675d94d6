#pragma once
// The byte layout of the undo files: a chain of steps, each a 20-byte header
// followed by its 20-byte pixel records, all little-endian, linked forwards and
// backwards across files named "UndoFile%02d.dat".

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "lumavex/canvas/Journal.h"

namespace lumavex {

static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(JournalRecord) == 20);

constexpr int64_t kStepHeaderBytes = 20;
constexpr int64_t kRecordBytes = 20;
// No undo file may reach this size; the next step then starts a new file.
constexpr int64_t kUndoFileSizeLimit = 0x7FFFFFE0;
// Records wait in memory until this many bytes (48000 records) are gathered.
constexpr size_t kJournalBufferBytes = 960000;
// Steps are read back at most this many records at a time.
constexpr size_t kReadChunkRecords = 65535;

// One step's header. A file number of -1 means there is no such step.
struct StepHeader {
  int32_t count = 0;
  int32_t previousFile = -1;
  int32_t previousOffset = 0;
  int32_t nextFile = -1;
  int32_t nextOffset = 0;
  bool operator==(const StepHeader&) const = default;
};

void EncodeStepHeader(const StepHeader& header, uint8_t* out);
StepHeader DecodeStepHeader(const uint8_t* in);

// Records are copied as they lie in memory, which is their file layout on a
// little-endian machine; inline, as they run once per pixel.
inline void EncodeRecord(const JournalRecord& record, uint8_t* out) {
  std::memcpy(out, &record, kRecordBytes);
}
inline JournalRecord DecodeRecord(const uint8_t* in) {
  JournalRecord record;
  std::memcpy(&record, in, kRecordBytes);
  return record;
}

// "UndoFileNN.dat" for file number `number`.
std::string UndoFileName(int number);

}  // namespace lumavex
