#pragma once
// What the drawing benchmarks share: a 1600 × 1200 blank picture with the whole
// picture as processing square, behind a DrawingContext that keeps its journal
// records in memory or writes them to a temporary file as the undo journal does.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/PixelRules.h"
#include "platform/TestHost.h"

namespace bench {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// Keeps the records in memory, as the journal buffer does between flushes, taking
// them one at a time or in bulk as the undo journal does.
struct MemoryJournal : lumavex::JournalSink {
  MemoryJournal() { records.reserve(1 << 20); }
  bool Recording() const override { return true; }
  void Append(const lumavex::JournalRecord& r) override { records.push_back(r); }
  void AppendMany(std::span<const lumavex::JournalRecord> block) override {
    records.insert(records.end(), block.begin(), block.end());
  }
  std::vector<lumavex::JournalRecord> records;
};

// Gathers the records in a buffer that goes to a temporary file whenever it is
// full and at the end, taking them as the undo journal does: one at a time, in
// bulk, or written in place into the buffer's free room.
struct FileJournal : lumavex::JournalSink {
  static constexpr size_t kBufferRecords = 1 << 16;
  FileJournal() : file(std::tmpfile()), buffer(new lumavex::JournalRecord[kBufferRecords]) {
    if (!file) std::abort();
  }
  ~FileJournal() override { std::fclose(file); }
  bool Recording() const override { return true; }
  void Append(const lumavex::JournalRecord& r) override {
    buffer[used++] = r;
    if (used == kBufferRecords) Flush();
  }
  void AppendMany(std::span<const lumavex::JournalRecord> records) override {
    for (const lumavex::JournalRecord& r : records) Append(r);
  }
  std::span<lumavex::JournalRecord> RecordSpace() override {
    return {buffer.get() + used, kBufferRecords - used};
  }
  void CommitRecords(size_t count) override {
    used += count;
    if (used == kBufferRecords) Flush();
  }
  void Flush() {
    std::fwrite(buffer.get(), sizeof(lumavex::JournalRecord), used, file);
    std::fflush(file);
    used = 0;
  }
  std::FILE* file;
  std::unique_ptr<lumavex::JournalRecord[]> buffer;
  size_t used = 0;
};

template <class JournalType>
class BenchContext : public lumavex::DrawingContext {
 public:
  BenchContext() {
    platform::NoProgress progress;
    if (!lumavex::CreateBlankPicture(canvas, allocator, kWidth, kHeight, progress)) std::abort();
    canvas.processingSquare = {0, 0, kWidth - 1, kHeight - 1};
  }
  lumavex::Canvas& Picture() override { return canvas; }
  const lumavex::DrawingSettings& Settings() const override { return settings; }
  uint32_t HeadColour() const override { return 0x102030; }
  uint32_t TerminationColour() const override { return termination; }
  lumavex::JournalSink* Journal() override { return &journal; }
  void OpenUndoStep() override {}
  lumavex::PixelRect& MarkedRectangle() override { return marked; }
  void SetStatusText(const std::string&) override {}
  void PlayFeedbackSound(const std::string&) override {}
  void RedrawPicture(const lumavex::PixelRect&) override {}
  [[noreturn]] void FatalError() override { std::abort(); }

  platform::TestHost host;
  platform::Allocator allocator{host, [] {
                                  platform::MemoryStatus m;
                                  m.availablePageFile = 1ull << 40;
                                  return m;
                                }};
  lumavex::Canvas canvas;
  lumavex::DrawingSettings settings;
  uint32_t termination = 0;
  JournalType journal;
  lumavex::PixelRect marked;
};

// The blank bench picture for the frame benches, with a termination colour of its own,
// put back after each run inside what the run marked.
class FrameContext : public BenchContext<MemoryJournal> {
 public:
  FrameContext() { termination = 0xC08040; }

  void Restore() {
    for (int y = marked.top; y <= marked.bottom; ++y)
      for (int x = marked.left; x <= marked.right; ++x) {
        canvas.display.At(x, y) = lumavex::kNewDisplayPixel;
        canvas.frame.At(x, y) = lumavex::BackdropColour(x, y, true, false);
      }
    marked = {};
    journal.records.clear();
  }
};

}  // namespace bench
