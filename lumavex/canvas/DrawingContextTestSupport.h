#pragma once
// A DrawingContext for tests: a canvas of its own, default settings, and a record
// of every step, status text and sound.

#include <stdexcept>
#include <string>
#include <vector>

#include "lumavex/canvas/DrawingContext.h"
#include "platform/TestHost.h"

namespace lumavex::testing {

struct RecordedJournal : JournalSink {
  bool recording = true;
  std::vector<JournalRecord> records;
  bool Recording() const override { return recording; }
  void Append(const JournalRecord& r) override { records.push_back(r); }
};

class TestDrawingContext : public DrawingContext {
 public:
  // A blank picture of `width` × `height`.
  TestDrawingContext(int width, int height) {
    platform::NoProgress progress;
    if (!CreateBlankPicture(canvas, allocator, width, height, progress))
      throw std::runtime_error("no memory for the test picture");
    canvas.processingSquare = {0, 0, width - 1, height - 1};
  }

  Canvas& Picture() override { return canvas; }
  const DrawingSettings& Settings() const override { return settings; }
  uint32_t HeadColour() const override { return head; }
  uint32_t TerminationColour() const override { return termination; }
  JournalSink* Journal() override { return &journal; }
  void OpenUndoStep() override { ++undoSteps; }
  PixelRect& MarkedRectangle() override { return marked; }
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void PlayFeedbackSound(const std::string& fileName) override { sounds.push_back(fileName); }
  void RedrawPicture(const PixelRect& changed) override { redrawn.push_back(changed); }
  [[noreturn]] void FatalError() override { throw platform::ProcessEnded(-1); }

  platform::TestHost host;
  platform::Allocator allocator{host, [] {
    platform::MemoryStatus m;
    m.totalPhysical = m.availablePhysical = 8ull << 30;
    m.totalPageFile = m.availablePageFile = 16ull << 30;
    return m;
  }};
  Canvas canvas;
  DrawingSettings settings;
  uint32_t head = 0x000000;
  uint32_t termination = 0x000000;
  RecordedJournal journal;
  int undoSteps = 0;
  PixelRect marked;
  std::vector<std::string> statusTexts;
  std::vector<std::string> sounds;
  std::vector<PixelRect> redrawn;
};

}  // namespace lumavex::testing
