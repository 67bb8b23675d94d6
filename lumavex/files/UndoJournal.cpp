#include "lumavex/files/UndoJournal.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace lumavex {

namespace {
// Below this much free page file every block written is pushed to the disk at once.
constexpr uint64_t kLowMemoryBytes = 0xA00000;
}  // namespace

UndoJournal::UndoJournal(platform::UiHost& host, platform::Allocator& allocator,
                         std::string resourceFolder, UndoJournalOptions options)
    : host_(host),
      allocator_(allocator),
      folder_(std::move(resourceFolder)),
      options_(std::move(options)),
      buffer_(allocator.AllocateChecked(kJournalBufferBytes)) {
  if (!buffer_) platform::Fatal(host_, "エラー", "エラー", 0);
}

UndoJournal::~UndoJournal() = default;

std::string UndoJournal::FilePath(int number) const {
  return folder_ + "/" + UndoFileName(number);
}

void UndoJournal::OpenFileOrEnd(UndoFile& file, int number, UndoFile::Mode mode) {
  const std::string path = FilePath(number);
  if (!file.Open(path, mode))
    platform::Fatal(host_, "ファイルオープン不可: " + path, "エラー", 0,
                    platform::MessageIcon::Exclamation);
}

void UndoJournal::CloseFileOrEnd() {
  if (!file_.Close()) platform::Fatal(host_, "エラー", "エラー", -1);
}

void UndoJournal::SetMenuState(bool canUndo, bool canRedo) {
  if (canUndo == canUndo_ && canRedo == canRedo_) return;
  canUndo_ = canUndo;
  canRedo_ = canRedo;
  if (menuChanged_) menuChanged_();
}

// The file is abandoned rather than closed: its buffered bytes cannot be written
// either, and the run goes on without a journal.
void UndoJournal::DisableAfterWriteFailure() {
  enabled_ = false;
  stepOpen_ = false;
  CloseRoom();
  bufferUsed_ = 0;
  file_.Abandon();
  SetMenuState(false, false);
  host_.ShowMessage("アンドゥーを無効化します。", "書き込み失敗");
}

bool UndoJournal::WriteBlock(int64_t offset, const void* data, size_t size) {
  if (options_.writeAllowed && !options_.writeAllowed()) return false;
  if (!file_.WriteAt(offset, data, size)) return false;
  if (allocator_.Status().availablePageFile < kLowMemoryBytes) return CommitFile();
  return true;
}

bool UndoJournal::WriteHeader(int64_t offset, const StepHeader& header) {
  uint8_t bytes[kStepHeaderBytes];
  EncodeStepHeader(header, bytes);
  return WriteBlock(offset, bytes, sizeof bytes);
}

bool UndoJournal::CommitFile() {
  if (options_.writeAllowed && !options_.writeAllowed()) return false;
  return file_.Commit();
}

// Counts the buffered records into the current step and writes them.
bool UndoJournal::WritePending() {
  if (bufferUsed_ == 0) return true;
  const int64_t start = writePos_;
  writePos_ += static_cast<int64_t>(bufferUsed_);
  header_.count += static_cast<int32_t>(bufferUsed_ / kRecordBytes);
  headerCommitted_ = false;
  // Offsets in the headers are 32-bit: a step that outgrows them cannot be kept.
  if (writePos_ > INT32_MAX || !WriteBlock(start, buffer_.get(), bufferUsed_)) {
    DisableAfterWriteFailure();
    return false;
  }
  bufferUsed_ = 0;
  return true;
}

void UndoJournal::Reset() {
  CloseFileOrEnd();
  header_ = {};
  headerCommitted_ = false;
  fileNumber_ = 0;
  stepDataPos_ = writePos_ = kStepHeaderBytes;
  CloseRoom();
  bufferUsed_ = 0;
  stepOpen_ = false;
  allUndone_ = false;
  SetMenuState(false, false);
}

std::span<uint8_t> UndoJournal::SharedBuffer() {
  if (stepOpen_) return {};
  return {buffer_.get(), kJournalBufferBytes};
}

// The buffer as records, which lie in it as they lie in memory: that is their file
// layout (EncodeRecord), and the buffer only ever holds whole records.
static_assert(kJournalBufferBytes % kRecordBytes == 0 && alignof(JournalRecord) <= 4);

void UndoJournal::OpenBufferRoom() {
  auto* records = reinterpret_cast<JournalRecord*>(buffer_.get());
  OpenRoom(records + bufferUsed_ / kRecordBytes, records + kJournalBufferBytes / kRecordBytes);
}

void UndoJournal::TakeBackRoom() {
  if (!RoomOpen()) return;
  const auto* next = reinterpret_cast<const uint8_t*>(CloseRoom());
  bufferUsed_ = static_cast<size_t>(next - buffer_.get());
}

void UndoJournal::RoomFilled() {
  TakeBackRoom();
  WritePending();
  if (stepOpen_) OpenBufferRoom();
}

void UndoJournal::Append(const JournalRecord& record) {
  if (!stepOpen_) return;
  TakeBackRoom();
  EncodeRecord(record, buffer_.get() + bufferUsed_);
  bufferUsed_ += kRecordBytes;
  if (bufferUsed_ == kJournalBufferBytes) WritePending();
  if (stepOpen_) OpenBufferRoom();
}

// Fills the buffer as many Append calls would, writing it out whenever it is full;
// after a write failure the rest is dropped.
void UndoJournal::AppendMany(std::span<const JournalRecord> records) {
  TakeBackRoom();
  while (!records.empty() && stepOpen_) {
    const size_t room = (kJournalBufferBytes - bufferUsed_) / kRecordBytes;
    const size_t count = std::min(room, records.size());
    for (const JournalRecord& record : records.first(count)) {
      EncodeRecord(record, buffer_.get() + bufferUsed_);
      bufferUsed_ += kRecordBytes;
    }
    records = records.subspan(count);
    if (bufferUsed_ == kJournalBufferBytes) WritePending();
  }
  if (stepOpen_) OpenBufferRoom();
}

// The free part of the buffer, taken out of the room until it is committed.
std::span<JournalRecord> UndoJournal::RecordSpace() {
  if (!stepOpen_) return {};
  TakeBackRoom();
  auto* free = reinterpret_cast<JournalRecord*>(buffer_.get() + bufferUsed_);
  return {free, (kJournalBufferBytes - bufferUsed_) / kRecordBytes};
}

void UndoJournal::CommitRecords(size_t count) {
  if (!stepOpen_) return;
  TakeBackRoom();
  bufferUsed_ += count * kRecordBytes;
  if (bufferUsed_ == kJournalBufferBytes) WritePending();
  if (stepOpen_) OpenBufferRoom();
}

}  // namespace lumavex
