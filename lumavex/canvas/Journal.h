#pragma once
// The journaled pixel write: the one way drawing changes a position's display and
// frame words, leaving a record from which the change can be undone and redone.

#include <cstddef>
#include <cstdint>
#include <span>

#include "lumavex/canvas/PixelRules.h"

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

 protected:
  // Free room in the sink's own buffer that WritePixelJournaled fills in place,
  // without a call per record, while the sink records. Empty (the default) sends
  // every record through Recording and Append. A sink that opens room must take
  // back what was written there before anything else reaches it, and must keep the
  // room empty while it does not record.
  void OpenRoom(JournalRecord* next, JournalRecord* end) {
    roomNext_ = next;
    roomEnd_ = end;
  }
  // Empties the room and returns where its next record would have gone.
  JournalRecord* CloseRoom() {
    JournalRecord* const next = roomNext_;
    roomNext_ = roomEnd_ = nullptr;
    return next;
  }
  bool RoomOpen() const { return roomEnd_ != nullptr; }
  // Called as the last free record of the room is written, with the room still open.
  virtual void RoomFilled() {}

 private:
  friend void WritePixelJournaled(JournalSink*, uint32_t&, uint32_t&, uint32_t, uint32_t, int, int);
  JournalRecord* roomNext_ = nullptr;
  JournalRecord* roomEnd_ = nullptr;
};

// Stores `newDisplay` and `newFrame` into the two slots of position (x, y), first
// handing the change to `journal` when there is one and it records. Inline: it runs
// once for every pixel an operation changes.
inline void WritePixelJournaled(JournalSink* journal, uint32_t& display, uint32_t& frame,
                                uint32_t newDisplay, uint32_t newFrame, int x, int y) {
  if (journal) {
    const uint32_t oldDisplay = display & kJournalMask;
    const uint32_t oldFrame = frame;
    // Field by field into the room: a record put together elsewhere and copied over
    // would be read back before its parts have left the store queue.
    if (JournalRecord* const room = journal->roomNext_; room != journal->roomEnd_) {
      room->oldDisplay = oldDisplay;
      room->oldFrame = oldFrame;
      room->newDisplay = newDisplay & kJournalMask;
      room->newFrame = newFrame;
      room->x = static_cast<uint16_t>(x);
      room->y = static_cast<uint16_t>(y);
      journal->roomNext_ = room + 1;
      if (room + 1 == journal->roomEnd_) journal->RoomFilled();
    } else if (journal->Recording()) {
      journal->Append({oldDisplay, oldFrame, newDisplay & kJournalMask, newFrame,
                       static_cast<uint16_t>(x), static_cast<uint16_t>(y)});
    }
  }
  display = newDisplay;
  frame = newFrame;
}

}  // namespace lumavex
