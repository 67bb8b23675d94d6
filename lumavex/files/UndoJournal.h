#pragma once
// The undo journal: every journaled pixel change of a drawing operation goes into
// one undo step in the undo files of the resource folder, from which steps are
// undone and redone one at a time and an interrupted run is rebuilt at start-up.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/files/StepRecords.h"
#include "lumavex/files/UndoFile.h"
#include "lumavex/files/UndoFormat.h"
#include "lumavex/files/UndoPosition.h"
#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

enum class UndoMode {
  Full,       // both layers go back
  FrameOnly,  // only the frame layer goes back; the step still counts as undone
};

// What an undo or redo did, so that the shell can sound it and redraw.
struct HistoryResult {
  bool applied = false;  // a step was undone or redone
  PixelRect changed;     // the picture pixels written
};

// What start-up recovery rebuilt.
struct RecoveryResult {
  int steps = 0;          // steps replayed
  int64_t records = 0;    // pixel records applied
  bool cutShort = false;  // the journal ended inside a record or before a step's last record
  PixelRect changed;
};

struct UndoJournalOptions {
  // Size that no undo file may reach.
  int64_t fileSizeLimit = kUndoFileSizeLimit;
  // Asked before every write and flush of an undo file; false makes that write fail
  // as a full disk would. Empty: only the file system decides.
  std::function<bool()> writeAllowed;
};

class UndoJournal final : public JournalSink {
 public:
  // `resourceFolder` holds the undo files. Failures are reported through `host`;
  // `allocator` provides the buffers and tells how much memory is free.
  UndoJournal(platform::UiHost& host, platform::Allocator& allocator, std::string resourceFolder,
              UndoJournalOptions options = {});
  ~UndoJournal() override;

  // Called when the first step of a fresh journal opens, before anything is written,
  // so that the session file can describe the picture the journal starts from.
  void OnSessionRefresh(std::function<void()> refresh) { sessionRefresh_ = std::move(refresh); }
  // Called whenever CanUndo or CanRedo changes.
  void OnMenuStateChanged(std::function<void()> changed) { menuChanged_ = std::move(changed); }

  // True while a step is open and journaling has not been switched off by a write failure.
  bool Recording() const override { return stepOpen_; }
  void Append(const JournalRecord& record) override;
  void AppendMany(std::span<const JournalRecord> records) override;
  std::span<JournalRecord> RecordSpace() override;
  void CommitRecords(size_t count) override;

  // Forgets the journal (new picture, load): closes the undo file and greys undo and
  // redo. Deletes no file; a write failure's switch-off stays.
  void Reset();
  // Starts the step of an operation on `canvas`, closing a step left open.
  void OpenStep(const Canvas& canvas);
  // Ends the open step, writing its records; a step without records leaves no trace.
  void CloseStep();

  HistoryResult Undo(Canvas& canvas, UndoMode mode);
  HistoryResult Redo(Canvas& canvas);
  // Replays the journal left in the resource folder forward onto `canvas`, which must
  // hold the picture the journal started from. Only whole records are applied; a last
  // step whose header was never completed keeps the records that reached the disk.
  // With a position file, replay stops at the step it names and the steps after it
  // stay available as redo.
  RecoveryResult Recover(Canvas& canvas);

  bool CanUndo() const { return canUndo_; }
  bool CanRedo() const { return canRedo_; }
  // False for the rest of the run after a write failure.
  bool Enabled() const { return enabled_; }

  // The record buffer, lent to the save writers between operations; empty while a
  // step is open. Its contents are not kept across a loan.
  std::span<uint8_t> SharedBuffer();

 private:
  // While a step records, the free part of the buffer is the sink's room, which the
  // journaled pixel writes fill in place; bufferUsed_ is then only brought up to date
  // by TakeBackRoom.
  void RoomFilled() override;
  void OpenBufferRoom();
  void TakeBackRoom();

  std::string FilePath(int number) const;
  std::string PositionPath() const { return folder_ + "/" + kUndoPositionFileName; }
  // Records the applied position after an undo or redo.
  void KeepPosition();
  // Drops the position file once the chain after the position is cut off.
  void ForgetPosition();
  // Sets the journal up at its first step with nothing applied.
  void StandBeforeFirstStep(RecoveryResult& result);
  bool AtPosition(const std::optional<UndoPosition>& position) const;
  void OpenFileOrEnd(UndoFile& file, int number, UndoFile::Mode mode);
  void CloseFileOrEnd();
  void SetMenuState(bool canUndo, bool canRedo);
  void DisableAfterWriteFailure();
  bool WriteBlock(int64_t offset, const void* data, size_t size);
  bool WriteHeader(int64_t offset, const StepHeader& header);
  bool CommitFile();
  bool WritePending();
  bool StartJournal();
  bool StartNextStep(int64_t largestStepBytes);
  platform::Block AllocateReadChunk();
  HistoryResult ApplyCurrent(Canvas& canvas, RecordSide side, std::span<uint8_t> chunk);

  // Moves to the step before or after the current one; false (and nothing changed)
  // when the link is missing or does not lead to a step that links back.
  bool MoveToPrevious();
  bool MoveToNext(bool tolerateMissingFile);
  bool ReadLinkedHeader(UndoFile& file, int64_t offset, int32_t backFile, int64_t backOffset,
                        bool backIsPrevious, StepHeader& header);
  // Makes the step `header` at `offset` of undo file `file` the current one; `other`
  // is that file opened, unless it is the current file (`sameFile`).
  void EnterStep(UndoFile& other, bool sameFile, int32_t file, int64_t offset,
                 const StepHeader& header);

  bool RecoverStep(Canvas& canvas, std::span<uint8_t> chunk, RecoveryResult& result);

  platform::UiHost& host_;
  platform::Allocator& allocator_;
  std::string folder_;
  UndoJournalOptions options_;
  std::function<void()> sessionRefresh_;
  std::function<void()> menuChanged_;

  platform::Block buffer_;
  size_t bufferUsed_ = 0;
  UndoFile file_;
  // The current step: its header as kept in memory, where its records start and
  // where its next record goes. Records still in the buffer are not yet counted in
  // either; WritePending counts them.
  StepHeader header_;
  int32_t fileNumber_ = 0;
  int64_t stepDataPos_ = kStepHeaderBytes;
  int64_t writePos_ = kStepHeaderBytes;
  // The current step's header as kept in memory is known to be on the disk, written
  // and committed by an undo; cleared whenever the header may change.
  bool headerCommitted_ = false;

  bool enabled_ = true;
  // Only ever set while journaling is enabled.
  bool stepOpen_ = false;
  // Every step has been undone; the current step is the first one, not applied.
  bool allUndone_ = false;
  bool canUndo_ = false;
  bool canRedo_ = false;
  // A position file may lie beside the undo files.
  bool positionKept_ = false;
};

}  // namespace lumavex
