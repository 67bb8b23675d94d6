#pragma once
// The journaled pixel write: the one way drawing changes a position's display and
// frame words, leaving a record from which the change can be undone and redone.

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumavex {

// One pixel change as the undo files keep it: 20 bytes, little-endian.
struct JournalRecord {
  uint32_t oldDisplay;  // bits 26-29 cleared
  uint32_t oldFrame;
  uint32_t newDisplay;  // bits 26-29 cleared
  uint32_t newFrame;
  uint16_t x;
  uint16_t y;
};
static_assert(sizeof(JournalRecord) == 20);

// Receives the records of the journaled pixel writes.
class JournalSink {
 public:
  virtual ~JournalSink() = default;
  // False while journaling is off; the write then stores the values without a record.
  virtual bool Recording() const = 0;
  virtual void Append(const JournalRecord& record) = 0;
  // Takes `records` in order as that many Append calls would, each one only while
  // the sink records, for a sink whose recording changes only through Append.
  virtual void AppendMany(std::span<const JournalRecord> records) {
    for (const JournalRecord& record : records)
      if (Recording()) Append(record);
  }
  // Room in the sink's own buffer for records written in place and handed over by
  // CommitRecords, so that they are written once; empty when the sink offers none
  // or does not record. Nothing else may reach the sink until the room is committed.
  virtual std::span<JournalRecord> RecordSpace() { return {}; }
  // Takes the first `count` records of the last RecordSpace, in order, as that many
  // Append calls would.
  virtual void CommitRecords(size_t count) {}
};

// Stores `newDisplay` and `newFrame` into the two slots of position (x, y), first
// handing the change to `journal` when there is one and it records.
void WritePixelJournaled(JournalSink* journal, uint32_t& display, uint32_t& frame,
                         uint32_t newDisplay, uint32_t newFrame, int x, int y);

}  // namespace lumavex
