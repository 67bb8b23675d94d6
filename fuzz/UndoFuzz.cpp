// Recovers the packed journal (JournalPack.h) onto a small blank picture, then
// undoes, redoes, draws and undoes as a user would after the restart. A step drawn
// after recovery must be undone exactly, whatever the journal before it held.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/JournalPack.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/UndoJournal.h"
#include "platform/Progress.h"

using namespace lumavex;

namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 5;

std::vector<uint32_t> Snapshot(const Canvas& canvas) {
  std::vector<uint32_t> words;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      words.push_back(canvas.display.At(x, y) & kJournalMask);
      words.push_back(canvas.frame.At(x, y));
    }
  return words;
}

// One operation over three pixels. Undo puts back each record's old words in file
// order, so an operation writes each pixel once.
void Draw(UndoJournal& journal, Canvas& canvas) {
  journal.OpenStep(canvas);
  const int pixels[][2] = {{0, 0}, {kWidth - 1, kHeight - 1}, {2, 3}};
  uint32_t colour = 0x02123456;
  for (const auto& [x, y] : pixels) {
    WritePixelJournaled(&journal, canvas.display.At(x, y), canvas.frame.At(x, y), colour,
                        0x80000000u | colour, x, y);
    ++colour;
  }
  journal.CloseStep();
}

const std::string& Folder() {
  static const std::string folder = fuzz::ScratchFolder("lumavex-journal");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = Folder();
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    std::filesystem::remove(entry.path());
  fuzz::UnpackJournal(data, size, folder);
  platform::TestHost host;
  platform::Allocator allocator(host, fuzz::ModestMachine);
  try {
    Canvas canvas;
    platform::NoProgress progress;
    if (!CreateBlankPicture(canvas, allocator, kWidth, kHeight, progress)) return 0;
    UndoJournal journal(host, allocator, folder);
    journal.Recover(canvas);
    journal.Undo(canvas, UndoMode::Full);
    journal.Redo(canvas);
    const std::vector<uint32_t> before = Snapshot(canvas);
    Draw(journal, canvas);
    const bool recorded = journal.Enabled() && journal.CanUndo();
    const HistoryResult undone = journal.Undo(canvas, UndoMode::Full);
    if (recorded && (!undone.applied || Snapshot(canvas) != before)) std::abort();
  } catch (const platform::ProcessEnded&) {
    // The program ends itself here (memory exhausted): an answer, not a finding.
  }
  return 0;
}
